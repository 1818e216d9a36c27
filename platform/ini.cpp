#include "platform/ini.h"

#include <sys/stat.h>

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/text.h"

namespace kw {

struct IniEntry {
    std::u16string key;  // upper-cased
    std::u16string value;
};

struct IniSection {
    std::u16string name;  // upper-cased
    std::vector<IniEntry> entries;
};

struct IniContents {
    std::vector<IniSection> sections;
    // Section, then key, both upper-cased, to the first value given for them in the file.
    std::unordered_map<std::u16string, std::unordered_map<std::u16string, const std::u16string*>> index;

    void BuildIndex() {
        for (const auto& section : sections) {
            auto& keys = index[section.name];
            for (const auto& entry : section.entries) keys.emplace(entry.key, &entry.value);
        }
    }
};

namespace {

// Larger files are read only this far; nothing of ours comes close.
constexpr size_t kMaxFileBytes = 64u << 20;

std::u16string DecodeFile(const std::string& bytes) {
    std::string_view view(bytes);
    if (view.size() >= 2 && static_cast<unsigned char>(view[0]) == 0xFF && static_cast<unsigned char>(view[1]) == 0xFE) {
        return FromUtf16LeBytes(view.substr(2));
    }
    if (view.size() >= 3 && view.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(view.substr(3));
    return FromCodePage(view);
}

// The profile functions drop one pair of double quotes around a whole value.
std::u16string WithoutMatchedQuotes(std::u16string value) {
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') return value.substr(1, value.size() - 2);
    return value;
}

void ParseLine(std::u16string_view line, IniContents& ini) {
    std::u16string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == u';') return;
    if (trimmed[0] == u'[') {
        auto close = trimmed.find(u']');
        std::u16string_view name = std::u16string_view(trimmed).substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1);
        ini.sections.push_back({ToUpperAscii(Trim(name)), {}});
        return;
    }
    auto equals = trimmed.find(u'=');
    if (equals == std::u16string::npos || ini.sections.empty()) return;
    std::u16string_view view(trimmed);
    ini.sections.back().entries.push_back(
        {ToUpperAscii(Trim(view.substr(0, equals))), WithoutMatchedQuotes(Trim(view.substr(equals + 1)))});
}

IniContents Parse(const std::u16string& text) {
    IniContents ini;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        ParseLine(std::u16string_view(text).substr(start, end - start), ini);
        start = end + 1;
    }
    return ini;
}

struct CacheEntry {
    ino_t inode = 0;
    off_t size = -1;
    struct timespec mtime {};
    std::shared_ptr<const IniContents> ini;
};

std::shared_ptr<const IniContents> LoadCached(const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, CacheEntry> cache;

    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    std::lock_guard lock(mutex);
    CacheEntry& entry = cache[path];
    if (entry.ini && entry.inode == st.st_ino && entry.size == st.st_size &&
        entry.mtime.tv_sec == st.st_mtim.tv_sec && entry.mtime.tv_nsec == st.st_mtim.tv_nsec) {
        return entry.ini;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::string bytes;
    bytes.resize(std::min<size_t>(static_cast<size_t>(st.st_size), kMaxFileBytes));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    auto parsed = std::make_shared<IniContents>(Parse(DecodeFile(bytes)));
    parsed->BuildIndex();
    entry.inode = st.st_ino;
    entry.size = st.st_size;
    entry.mtime = st.st_mtim;
    entry.ini = std::move(parsed);
    return entry.ini;
}

const std::u16string* FindValue(const IniContents& ini, std::u16string_view section, std::u16string_view key) {
    auto keys = ini.index.find(ToUpperAscii(Trim(section)));
    if (keys == ini.index.end()) return nullptr;
    auto value = keys->second.find(ToUpperAscii(Trim(key)));
    return value == keys->second.end() ? nullptr : value->second;
}

const std::u16string* Lookup(const std::string& path, std::u16string_view section, std::u16string_view key,
                             std::shared_ptr<const IniContents>& holder) {
    holder = LoadCached(path);
    return holder ? FindValue(*holder, section, key) : nullptr;
}

std::u16string CutToRoom(std::u16string text, size_t room) {
    if (room == 0) return {};
    if (text.size() > room - 1) text.resize(room - 1);
    return text;
}

}  // namespace

CIniFile::CIniFile(const std::string& path) : contents_(LoadCached(path)) {}

std::u16string CIniFile::Text(std::u16string_view section, std::u16string_view key, std::u16string_view defaultText,
                              size_t room) const {
    const std::u16string* value = contents_ ? FindValue(*contents_, section, key) : nullptr;
    return CutToRoom(std::u16string(value ? std::u16string_view(*value) : defaultText), room);
}

std::u16string ReadIniText(const std::string& path, std::u16string_view section, std::u16string_view key,
                           std::u16string_view defaultText, size_t room) {
    return CIniFile(path).Text(section, key, defaultText, room);
}

int ReadIniInt(const std::string& path, std::u16string_view section, std::u16string_view key, int defaultValue) {
    std::shared_ptr<const IniContents> holder;
    const std::u16string* value = Lookup(path, section, key, holder);
    if (!value) return defaultValue;
    long long number = ParseLeadingInt(*value);
    return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(number)));
}

}  // namespace kw
