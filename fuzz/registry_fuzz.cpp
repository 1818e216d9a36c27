// The hive reader on any bytes: whatever it keeps survives a write and a fresh read unchanged.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "fuzz/fuzz_files.h"
#include "platform/registry.h"

namespace {

using namespace kw::reg;

using Snapshot = std::map<std::u16string, std::u16string>;

void Collect(const std::u16string& path, Snapshot& out, int depth) {
    Key key;
    if (depth > 64 || Key::Open(Hive::CurrentUser, path, Access::Read, key) != kSuccess) return;
    out[u"[" + path + u"]"] = u"";
    for (const auto& name : key.ValueNames()) {
        std::u16string id = path + u"|" + name;
        if (auto text = key.ReadString(name)) out[id + u"|s"] = *text;
        if (auto number = key.ReadDword(name)) out[id + u"|d"] = std::u16string(1, static_cast<char16_t>(*number >> 16)) +
                                                                 static_cast<char16_t>(*number & 0xFFFF);
    }
    for (const auto& child : key.SubKeyNames()) Collect(path.empty() ? child : path + u"\\" + child, out, depth + 1);
}

Snapshot Read() {
    ResetForTests();
    Snapshot snapshot;
    Collect(u"", snapshot, 0);
    return snapshot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        ::setenv("KWCONFIG_ROOT", kwfuzz::ScratchFolder().c_str(), 1);
        SkipDurableWritesForFuzzing(true);
        return true;
    }();
    (void)ready;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(kwfuzz::ScratchFolder(), ec)) {
        std::filesystem::remove(entry.path(), ec);
    }
    kwfuzz::WriteVersion(HiveFilePath(Hive::CurrentUser), data, size);
    Snapshot first = Read();
    // A value under a key of its own makes the store write the whole hive back.
    if (WriteDword(Hive::CurrentUser, u"FuzzMarker", u"m", 1) != kSuccess) std::abort();
    Snapshot second = Read();
    second.erase(u"[FuzzMarker]");
    second.erase(u"FuzzMarker|m|d");
    first.erase(u"[]");  // the hive's root key exists once anything is written
    second.erase(u"[]");
    if (first != second) std::abort();
    return 0;
}
