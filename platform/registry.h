// The registry stand-in: two hives, each kept as a registry export file ("HKCU.reg",
// "HKLM.reg") in the state root. Key and value names are case-insensitive and keep the case they
// were first written with. A write outside a WriteGroup is durable when the call returns (whole
// file replaced under an exclusive lock), one inside at the group's end; a write that changes
// nothing is not written. Reads see other processes' writes from the next instant of the clock. A hive file that cannot be parsed
// is moved aside, never overwritten. A state folder that others could plant links in is not used:
// it reads as empty and writes fail.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kw::reg {

enum class Hive { CurrentUser, LocalMachine };
enum class Access { Read, Full };

// Results, as the Windows registry functions give them.
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;

// A key path under a hive, components separated by '\'. Empty components (doubled or trailing
// separators) are ignored, so "A\B\" and "A\B" name the same key.
class Key {
public:
    // Opens an existing key (kFileNotFound when it does not exist).
    static long Open(Hive hive, std::u16string_view path, Access access, Key& out);
    // Opens the key, creating it and its missing parents.
    static long Create(Hive hive, std::u16string_view path, Key& out);

    Hive hive() const { return hive_; }
    const std::u16string& path() const { return path_; }

    std::optional<std::u16string> ReadString(std::u16string_view name) const;
    std::optional<uint32_t> ReadDword(std::u16string_view name) const;
    long WriteString(std::u16string_view name, std::u16string_view value) const;
    long WriteDword(std::u16string_view name, uint32_t value) const;
    long DeleteValue(std::u16string_view name) const;
    // Deletes a subkey with all its subkeys and values.
    long DeleteTree(std::u16string_view subkey) const;
    std::vector<std::u16string> SubKeyNames() const;
    std::vector<std::u16string> ValueNames() const;

private:
    Hive hive_ = Hive::CurrentUser;
    std::u16string path_;
};

// Convenience wrappers over Key for one-off accesses.
std::optional<std::u16string> ReadString(Hive hive, std::u16string_view path, std::u16string_view name);
std::optional<uint32_t> ReadDword(Hive hive, std::u16string_view path, std::u16string_view name);
long WriteString(Hive hive, std::u16string_view path, std::u16string_view name, std::u16string_view value);
long WriteDword(Hive hive, std::u16string_view path, std::u16string_view name, uint32_t value);
bool KeyExists(Hive hive, std::u16string_view path);

// Makes opening the key for full access fail with kAccessDenied in this process (the simulated
// world uses it for adapters whose class key the user may not change). Reading still works.
void DenyFullAccess(Hive hive, std::u16string_view path, bool deny);

// Groups the writes of one operation (the start-up, the restore, one dialog's Apply, one tick)
// into one save per hive when the group ends, as the Windows registry flushes lazily. Writes of
// the thread inside a group change what every reader sees at once, reach the disk together, and
// are lost together if the process dies before the end. Groups may nest; the end of each flushes.
class WriteGroup {
public:
    WriteGroup();
    ~WriteGroup();
    WriteGroup(const WriteGroup&) = delete;
    WriteGroup& operator=(const WriteGroup&) = delete;
};
// Saves every grouped write now (as RegFlushKey); kSuccess, or the first failure.
long Flush();

// Hive file of a hive in the current state root.
std::string HiveFilePath(Hive hive);
// Forgets cached contents and access rules; the next access reads the files again (tests that
// switch KWCONFIG_ROOT call it).
void ResetForTests();
// How many times this process has saved the hive's file since the last reset.
int SavesForTests(Hive hive);
// Writes skip fsync; only for the fuzz target, which writes far too often to wait for the disk.
void SkipDurableWritesForFuzzing(bool skip);

}  // namespace kw::reg
