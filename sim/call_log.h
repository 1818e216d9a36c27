// The call log: one line per library call, "Name(arg, arg, ...) = result", appended to the file
// named by KWWLAN_LOG and, for tests that read it, kept in memory. The context argument is left out; integers are
// decimal, request codes 0x and eight upper-case hex digits, byte strings hex byte text in
// brackets, texts in double quotes (backslash, quote and bytes outside printable ASCII escaped).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kw::sim {

class CallLine {
public:
    explicit CallLine(std::string_view name);
    CallLine& Int(long long value);
    CallLine& Code(uint32_t code);
    CallLine& Bytes(const uint8_t* data, size_t count);   // null data shows as null
    CallLine& Text(const char* text, size_t room);        // 8-bit, ends at NUL or room
    CallLine& Text16(const char16_t* text, size_t room);  // UTF-16, shown as UTF-8
    CallLine& Piece(std::string_view formatted);          // an argument formatted by the caller
    // Appends " = result", records the line and hands the result back.
    int Result(int result);

private:
    void Separate();
    std::string line_;
    bool first_ = true;
};

std::string QuoteText(std::string_view bytes);

// Lines are kept in memory (the newest 200000) only while someone asked to read them.
void KeepCallLogLines(bool keep);
std::vector<std::string> CallLogLines();
void ClearCallLogLines();

}  // namespace kw::sim
