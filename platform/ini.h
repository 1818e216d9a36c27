// Initialisation files, read by the rules of Windows' own reader: section and key names match
// without regard to case, blanks around names and values are dropped, the first matching key
// wins, one pair of double quotes around a whole value is dropped, a value longer than the
// caller's room is cut to room - 1 characters, and a missing file, section or key yields the
// caller's default. A file that starts with the UTF-16LE byte-order
// mark is UTF-16; a UTF-8 byte-order mark marks UTF-8; anything else is 8-bit text in the system
// code page. Files are re-read when they change on disk.
#pragma once

#include <memory>
#include <string>

namespace kw {

struct IniContents;

// One reading of a file for many lookups in a row, as a loader that reads every key needs: the
// file is looked at once, when the object is made.
class CIniFile {
public:
    explicit CIniFile(const std::string& path);
    bool Exists() const { return contents_ != nullptr; }
    std::u16string Text(std::u16string_view section, std::u16string_view key, std::u16string_view defaultText,
                        size_t room) const;

private:
    std::shared_ptr<const IniContents> contents_;
};

std::u16string ReadIniText(const std::string& path, std::u16string_view section, std::u16string_view key,
                           std::u16string_view defaultText, size_t room);
// Optional sign and leading decimal digits of the value (no digits: 0); default when absent.
int ReadIniInt(const std::string& path, std::u16string_view section, std::u16string_view key, int defaultValue);

}  // namespace kw
