#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kw::reg {

namespace {

constexpr char16_t kHeader5[] = u"Windows Registry Editor Version 5.00";
constexpr char16_t kHeader4[] = u"REGEDIT4";
constexpr size_t kMaxHiveBytes = 256u << 20;

// ---------------------------------------------------------------- the tree

struct Value {
    enum class Kind { String, Dword, Raw };
    std::u16string name;  // empty: the key's default value ("@")
    Kind kind = Kind::String;
    std::u16string text;  // String: the text; Raw: the data as written after '='
    uint32_t dword = 0;

    bool SameData(const Value& other) const {
        return kind == other.kind && text == other.text && (kind != Kind::Dword || dword == other.dword);
    }
};

// Values and subkeys keep the order they were first written in; lookups go through an index by
// upper-cased name, so a key with thousands of values is written in linear time.
struct Node {
    std::u16string name;
    std::vector<Value> values;
    std::vector<std::unique_ptr<Node>> children;

    Node* Child(std::u16string_view childName) const {
        auto found = childIndex_.find(ToUpperAscii(childName));
        return found == childIndex_.end() ? nullptr : children[found->second].get();
    }
    Node* AddChild(std::u16string_view childName) {
        if (Node* existing = Child(childName)) return existing;
        childIndex_.emplace(ToUpperAscii(childName), children.size());
        children.push_back(std::make_unique<Node>());
        children.back()->name = childName;
        return children.back().get();
    }
    bool RemoveChild(std::u16string_view childName) {
        auto found = childIndex_.find(ToUpperAscii(childName));
        if (found == childIndex_.end()) return false;
        children.erase(children.begin() + static_cast<std::ptrdiff_t>(found->second));
        Reindex(children, childIndex_, [](const auto& child) { return child->name; });
        return true;
    }
    Value* FindValue(std::u16string_view valueName) {
        auto found = valueIndex_.find(ToUpperAscii(valueName));
        return found == valueIndex_.end() ? nullptr : &values[found->second];
    }
    const Value* FindValue(std::u16string_view valueName) const {
        return const_cast<Node*>(this)->FindValue(valueName);
    }
    // The value's name is the one it keeps from then on.
    Value& AddValue(const Value& value) {
        valueIndex_.emplace(ToUpperAscii(value.name), values.size());
        values.push_back(value);
        return values.back();
    }
    bool RemoveValue(std::u16string_view valueName) {
        auto found = valueIndex_.find(ToUpperAscii(valueName));
        if (found == valueIndex_.end()) return false;
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(found->second));
        Reindex(values, valueIndex_, [](const Value& value) { return value.name; });
        return true;
    }

private:
    template <typename List, typename NameOf>
    static void Reindex(const List& list, std::unordered_map<std::u16string, size_t>& index, NameOf nameOf) {
        index.clear();
        for (size_t i = 0; i < list.size(); ++i) index.emplace(ToUpperAscii(nameOf(list[i])), i);
    }

    std::unordered_map<std::u16string, size_t> childIndex_;
    std::unordered_map<std::u16string, size_t> valueIndex_;
};

std::vector<std::u16string> SplitPath(std::u16string_view path) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::u16string JoinPath(const std::vector<std::u16string>& parts) {
    std::u16string out;
    for (const auto& part : parts) {
        if (!out.empty()) out += u'\\';
        out += part;
    }
    return out;
}

// Windows' answer to a name it cannot take.
constexpr long kInvalidParameter = 87;

// A line break cannot stand inside a key or value name of the export file.
bool FitsTheFile(std::u16string_view name) { return name.find_first_of(u"\r\n") == std::u16string_view::npos; }

const char16_t* RootName(Hive hive) { return hive == Hive::CurrentUser ? u"HKEY_CURRENT_USER" : u"HKEY_LOCAL_MACHINE"; }

std::vector<std::u16string> FullPath(Hive hive, std::u16string_view path) {
    std::vector<std::u16string> parts = SplitPath(path);
    parts.insert(parts.begin(), RootName(hive));
    return parts;
}

Node* Walk(Node& root, const std::vector<std::u16string>& parts, bool create) {
    Node* node = &root;
    for (const auto& part : parts) {
        Node* next = create ? node->AddChild(part) : node->Child(part);
        if (!next) return nullptr;
        node = next;
    }
    return node;
}

const Node* Find(const Node& root, const std::vector<std::u16string>& parts) {
    const Node* node = &root;
    for (const auto& part : parts) {
        node = node->Child(part);
        if (!node) return nullptr;
    }
    return node;
}

// ---------------------------------------------------------------- reading the export format

// Reads an export as the registry editor imports one. A line the editor would reject is dropped
// and its number noted; everything else is kept.
class Parser {
public:
    explicit Parser(Node& root) : root_(root) {}

    // False when the text is not a registry export at all.
    bool Parse(std::u16string_view text) {
        std::vector<LogicalLine> lines = LogicalLines(text);
        size_t i = 0;
        while (i < lines.size() && Trim(lines[i].text).empty()) ++i;
        if (i == lines.size()) return true;  // an empty file is an empty hive
        std::u16string header = Trim(lines[i].text);
        if (header != kHeader5 && header != kHeader4) return false;
        for (++i; i < lines.size(); ++i) {
            if (!ParseLine(Trim(lines[i].text))) dropped_.push_back(lines[i].number);
        }
        return true;
    }

    // One-based numbers of the lines that were dropped.
    const std::vector<size_t>& dropped() const { return dropped_; }

private:
    struct LogicalLine {
        std::u16string text;
        size_t number;  // of its first physical line
    };

    static std::vector<LogicalLine> LogicalLines(std::u16string_view text) {
        std::vector<LogicalLine> lines;
        std::u16string pending;
        size_t pendingNumber = 0;
        size_t number = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find_first_of(u"\r\n", start);
            if (end == std::u16string_view::npos) end = text.size();
            std::u16string line = Trim(text.substr(start, end - start));
            ++number;
            start = end + 1;
            if (end < text.size() && text[end] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
            // Hex data may continue on the next line after a trailing backslash.
            bool continues = !line.empty() && line.back() == u'\\' && line.find(u"=hex") != std::u16string::npos;
            if (!pending.empty()) {
                pending += line;
                continues = !pending.empty() && pending.back() == u'\\';
            } else {
                pending = line;
                pendingNumber = number;
            }
            if (continues) {
                pending.pop_back();
                if (start <= text.size()) continue;
            }
            lines.push_back({std::move(pending), pendingNumber});
            pending.clear();
        }
        return lines;
    }

    bool ParseLine(const std::u16string& line) {
        if (line.empty() || line[0] == u';' || line[0] == u'#') return true;
        if (line[0] == u'[') return ParseKeyLine(line);
        if (current_ == nullptr && !skipping_) return false;
        return ParseValueLine(line);
    }

    bool ParseKeyLine(const std::u16string& line) {
        // Until a good key line comes, the values that follow belong nowhere.
        current_ = nullptr;
        skipping_ = false;
        if (line.back() != u']') return false;
        std::u16string_view inner = std::u16string_view(line).substr(1, line.size() - 2);
        bool remove = !inner.empty() && inner[0] == u'-';
        if (remove) inner.remove_prefix(1);
        std::vector<std::u16string> parts = SplitPath(inner);
        if (parts.empty()) return false;
        if (remove) {
            std::u16string last = parts.back();
            parts.pop_back();
            if (Node* parent = Walk(root_, parts, false)) parent->RemoveChild(last);
            skipping_ = true;  // values under a removed key are ignored, as on import
            return true;
        }
        current_ = Walk(root_, parts, true);
        return true;
    }

    // "name"=data or @=data.
    bool ParseValueLine(const std::u16string& line) {
        size_t pos = 0;
        std::u16string name;
        if (line[0] == u'@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, name)) {
            return false;
        }
        while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t')) ++pos;
        if (pos >= line.size() || line[pos] != u'=') return false;
        std::u16string data = Trim(std::u16string_view(line).substr(pos + 1));
        Value value;
        value.name = name;
        bool remove = false;
        if (!ParseData(data, value, remove)) return false;
        if (skipping_) return true;
        if (remove) {
            current_->RemoveValue(name);
        } else if (Value* existing = current_->FindValue(name)) {
            *existing = value;
        } else {
            current_->AddValue(value);
        }
        return true;
    }

    // After a complete value only blanks and a ';' comment may follow.
    static bool OnlyCommentFollows(std::u16string_view rest) {
        std::u16string trimmed = Trim(rest);
        return trimmed.empty() || trimmed[0] == u';';
    }

    static std::u16string_view BeforeComment(std::u16string_view data) {
        return data.substr(0, data.find(u';'));
    }

    static bool ParseData(const std::u16string& data, Value& value, bool& remove) {
        std::u16string_view view(data);
        if (!view.empty() && view[0] == u'-') {
            remove = true;
            return OnlyCommentFollows(view.substr(1));
        }
        if (!view.empty() && view[0] == u'"') {
            size_t pos = 0;
            value.kind = Value::Kind::String;
            return ReadQuoted(data, pos, value.text) && OnlyCommentFollows(view.substr(pos));
        }
        if (view.rfind(u"dword:", 0) == 0) {
            value.kind = Value::Kind::Dword;
            return ParseDword(Trim(BeforeComment(view.substr(6))), value.dword);
        }
        if (view.rfind(u"hex(1):", 0) == 0) {
            std::string bytes;
            if (!ParseHexList(BeforeComment(view.substr(7)), bytes)) return false;
            value.text = FromUtf16LeBytes(bytes);
            // The data ends with one terminating NUL; any before it belong to the text.
            if (!value.text.empty() && value.text.back() == u'\0') value.text.pop_back();
            value.kind = Value::Kind::String;
            return true;
        }
        size_t colon = view.find(u':');
        if (view.rfind(u"hex", 0) == 0 && colon != std::u16string_view::npos && IsHexType(view.substr(3, colon - 3))) {
            std::string bytes;
            std::u16string_view list = BeforeComment(view.substr(colon + 1));
            if (!ParseHexList(list, bytes)) return false;
            value.text = Trim(view.substr(0, colon + 1 + list.size()));  // other types are kept as written
            value.kind = Value::Kind::Raw;
            return true;
        }
        return false;
    }

    // "" (binary) or "(N)" with a hexadecimal type number.
    static bool IsHexType(std::u16string_view type) {
        if (type.empty()) return true;
        if (type.size() < 3 || type.front() != u'(' || type.back() != u')') return false;
        uint32_t unused = 0;
        return ParseDword(type.substr(1, type.size() - 2), unused);
    }

    static bool ReadQuoted(const std::u16string& line, size_t& pos, std::u16string& out) {
        if (pos >= line.size() || line[pos] != u'"') return false;
        for (++pos; pos < line.size(); ++pos) {
            char16_t c = line[pos];
            if (c == u'\\' && pos + 1 < line.size()) {
                out += line[++pos];
            } else if (c == u'"') {
                ++pos;
                return true;
            } else {
                out += c;
            }
        }
        return false;
    }

    static bool ParseDword(std::u16string_view digits, uint32_t& out) {
        if (digits.empty() || digits.size() > 8) return false;
        out = 0;
        for (char16_t c : digits) {
            int d = HexDigitValue(c);
            if (d < 0) return false;
            out = (out << 4) | static_cast<uint32_t>(d);
        }
        return true;
    }

    static bool ParseHexList(std::u16string_view list, std::string& bytes) {
        std::vector<std::u16string> items = SplitOn(list);
        for (size_t i = 0; i < items.size(); ++i) {
            std::u16string part = Trim(items[i]);
            if (part.empty()) {
                if (i + 1 == items.size()) continue;  // nothing, or a trailing comma
                return false;
            }
            if (part.size() > 2 || HexDigitValue(part[0]) < 0 || (part.size() == 2 && HexDigitValue(part[1]) < 0)) return false;
            int value = part.size() == 1 ? HexDigitValue(part[0]) : HexDigitValue(part[0]) * 16 + HexDigitValue(part[1]);
            bytes += static_cast<char>(value);
        }
        return true;
    }

    static std::vector<std::u16string> SplitOn(std::u16string_view list) {
        std::vector<std::u16string> items;
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(u',', start);
            if (end == std::u16string_view::npos) end = list.size();
            items.emplace_back(list.substr(start, end - start));
            start = end + 1;
        }
        return items;
    }

    Node& root_;
    Node* current_ = nullptr;
    bool skipping_ = false;
    std::vector<size_t> dropped_;
};

// ---------------------------------------------------------------- writing the export format

std::u16string Escape(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') out += u'\\';
        out += c;
    }
    return out;
}

std::u16string HexList(std::string_view bytes) {
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += u',';
        out += FormatW("%02x", static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

std::u16string ValueData(const Value& value) {
    switch (value.kind) {
        case Value::Kind::Dword:
            return FormatW("dword:%08x", value.dword);
        case Value::Kind::Raw:
            return value.text;
        case Value::Kind::String:
            break;
    }
    // Line breaks and NULs cannot stand in a quoted line: such texts go out in the hex form.
    if (value.text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string::npos) {
        std::u16string withNul = value.text + u'\0';
        return u"hex(1):" + HexList(ToUtf16LeBytes(withNul));
    }
    return u"\"" + Escape(value.text) + u"\"";
}

void WriteNode(const Node& node, std::u16string path, std::u16string& out) {
    path = path.empty() ? node.name : path + u"\\" + node.name;
    out += u"[" + path + u"]\r\n";
    for (const auto& value : node.values) {
        out += value.name.empty() ? std::u16string(u"@") : u"\"" + Escape(value.name) + u"\"";
        out += u"=" + ValueData(value) + u"\r\n";
    }
    out += u"\r\n";
    for (const auto& child : node.children) WriteNode(*child, path, out);
}

std::string Serialise(const Node& root) {
    std::u16string text = std::u16string(kHeader5) + u"\r\n\r\n";
    for (const auto& child : root.children) WriteNode(*child, u"", text);
    return "\xFF\xFE" + ToUtf16LeBytes(text);
}

std::u16string DecodeHiveFile(const std::string& bytes) {
    std::string_view view(bytes);
    if (view.size() >= 2 && static_cast<unsigned char>(view[0]) == 0xFF && static_cast<unsigned char>(view[1]) == 0xFE) {
        return FromUtf16LeBytes(view.substr(2));
    }
    if (view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
    return FromUtf8(view);
}

// ---------------------------------------------------------------- one hive file

struct FileSignature {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec mtime {};

    bool operator==(const FileSignature& other) const {
        return exists == other.exists && inode == other.inode && size == other.size &&
               mtime.tv_sec == other.mtime.tv_sec && mtime.tv_nsec == other.mtime.tv_nsec;
    }
};

FileSignature SignatureOf(const std::string& path) {
    FileSignature sig;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        sig.exists = true;
        sig.inode = st.st_ino;
        sig.size = st.st_size;
        sig.mtime = st.st_mtim;
    }
    return sig;
}

// An advisory lock on a companion file, shared for reading and exclusive for writing, so that
// processes never interleave a read-modify-write.
class FileLock {
public:
    FileLock(const std::string& hivePath, bool exclusive) {
        fd_ = OpenPrivateFile(hivePath + ".lock", O_RDWR);
        if (fd_ >= 0) {
            while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Cleared only by the fuzz target, whose millions of writes need no crash safety.
std::atomic<bool> durableWrites{true};

// Writes of this thread inside a WriteGroup wait for the group's end.
thread_local int t_groupDepth = 0;

// A change to the tree that can be made again on a fresh copy read from the file; true when it
// changed anything.
using Change = std::function<bool(Node&)>;

struct WriteResult {
    long status = kSuccess;
    bool changed = false;
};

class HiveFile {
public:
    explicit HiveFile(std::string path) : path_(std::move(path)), usable_(StateRootProblem().empty()) {}

    // A file replaced by rename is read whole or not at all, so reading needs no lock. The file
    // is looked at once per instant of the clock: a tick's many reads cost one stat.
    template <typename Fn>
    auto Read(Fn&& fn) {
        std::lock_guard lock(mutex_);
        RefreshOncePerInstant();
        return fn(static_cast<const Node&>(root_));
    }

    WriteResult Write(Change change) {
        std::lock_guard lock(mutex_);
        if (!usable_) return {kAccessDenied, false};
        if (t_groupDepth > 0) {
            // The group's end reads the file again under the lock before it saves.
            RefreshOncePerInstant();
            bool changed = change(root_);
            if (changed) pending_.push_back(std::move(change));
            return {kSuccess, changed};
        }
        FileLock fileLock(path_, true);
        if (!fileLock.held()) return {kAccessDenied, false};
        Refresh();
        bool changed = change(root_);
        if (!changed && pending_.empty() && !repairDue_) return {kSuccess, false};
        return {Save(), changed};
    }

    // The group's writes reach the disk together, made again on the file as it is now so that
    // another process's writes meanwhile are kept.
    long Flush() {
        std::lock_guard lock(mutex_);
        if (pending_.empty()) return kSuccess;
        FileLock fileLock(path_, true);
        if (!fileLock.held()) {
            pending_.clear();
            loaded_ = false;
            return kAccessDenied;
        }
        Refresh();
        return Save();
    }

    int Saves() const { return saves_; }

private:
    void RefreshOncePerInstant() {
        uint64_t now = clock::NowMs();
        if (loaded_ && now == checkedAt_) return;
        Refresh();
        checkedAt_ = now;
        if (repairDue_) RewriteWithoutDroppedLines();
    }

    void RewriteWithoutDroppedLines() {
        FileLock fileLock(path_, true);
        if (fileLock.held() && SignatureOf(path_) == signature_) Save();
    }

    void Refresh() {
        if (!usable_) return;  // an empty hive: the folder is not safe to read from
        FileSignature sig = SignatureOf(path_);
        if (loaded_ && sig == signature_) return;
        root_ = Node();
        loaded_ = true;
        signature_ = sig;
        repairDue_ = false;
        if (sig.exists) Load(sig);
        for (const auto& change : pending_) change(root_);
    }

    void Load(const FileSignature& sig) {
        std::ifstream in(path_, std::ios::binary);
        std::string bytes;
        if (in) {
            bytes.resize(std::min<size_t>(static_cast<size_t>(sig.size), kMaxHiveBytes));
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            bytes.resize(static_cast<size_t>(in.gcount()));
        }
        Parser parser(root_);
        if (!in || !parser.Parse(DecodeHiveFile(bytes))) {
            MoveAside();
        } else if (!parser.dropped().empty()) {
            ReportDroppedLines(bytes, parser.dropped());
            repairDue_ = true;
        }
    }

    std::string AsideName() const {
        return path_ + ".corrupt." + std::to_string(static_cast<long long>(std::time(nullptr)));
    }

    // The file as it was is kept beside it; the hive is written again at once without the lines.
    void ReportDroppedLines(const std::string& bytes, const std::vector<size_t>& lines) const {
        std::string numbers;
        for (size_t line : lines) numbers += (numbers.empty() ? "" : ", ") + std::to_string(line);
        std::string aside = AsideName();
        int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            aside += "." + std::to_string(::getpid());
            fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        }
        bool kept = fd >= 0 && WriteAll(fd, bytes);
        if (fd >= 0) kept = ::close(fd) == 0 && kept;
        std::fprintf(stderr, "KWConfig: registry file %s: line%s %s could not be read and %s dropped%s%s\n",
                     path_.c_str(), lines.size() > 1 ? "s" : "", numbers.c_str(), lines.size() > 1 ? "were" : "was",
                     kept ? "; the file as it was is kept as " : "", kept ? aside.c_str() : "");
    }

    void MoveAside() {
        root_ = Node();
        std::string aside = AsideName();
        if (::access(aside.c_str(), F_OK) == 0) aside += "." + std::to_string(::getpid());
        if (::rename(path_.c_str(), aside.c_str()) == 0) {
            std::fprintf(stderr, "KWConfig: registry file %s could not be read; kept as %s\n", path_.c_str(),
                         aside.c_str());
        } else {
            std::fprintf(stderr, "KWConfig: registry file %s could not be read\n", path_.c_str());
        }
        signature_ = SignatureOf(path_);
    }

    long Save() {
        std::string bytes = Serialise(root_);
        const std::string tempPrefix = path_ + ".tmp.";
        RemoveStaleUniqueFiles(tempPrefix);
        std::string temp;
        int fd = CreateUniqueFile(tempPrefix, temp);
        if (fd < 0) return kAccessDenied;
        const bool durable = durableWrites.load();
        bool ok = WriteAll(fd, bytes) && (!durable || ::fsync(fd) == 0);
        ok = ::close(fd) == 0 && ok;
        if (!ok || ::rename(temp.c_str(), path_.c_str()) != 0) {
            ::unlink(temp.c_str());
            loaded_ = false;  // the tree no longer matches the file
            pending_.clear();
            return kAccessDenied;
        }
        if (durable) SyncDirectory();
        signature_ = SignatureOf(path_);
        pending_.clear();
        repairDue_ = false;
        ++saves_;
        return kSuccess;
    }

    void SyncDirectory() const {
        std::string dir = DirectoryOf(path_);
        int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }

    std::mutex mutex_;
    std::string path_;
    bool usable_;
    Node root_;
    bool loaded_ = false;
    bool repairDue_ = false;  // lines were dropped: the file should be written without them
    uint64_t checkedAt_ = 0;
    FileSignature signature_;
    std::vector<Change> pending_;
    int saves_ = 0;
};

// ---------------------------------------------------------------- process-wide state

struct Registry {
    std::mutex mutex;
    std::string root;  // the state root, found once
    std::map<std::string, std::unique_ptr<HiveFile>> files;
    std::set<std::pair<Hive, std::u16string>> denied;  // upper-cased key paths
};

Registry& State() {
    static Registry registry;
    return registry;
}

const char* HiveFileName(Hive hive) { return hive == Hive::CurrentUser ? "/HKCU.reg" : "/HKLM.reg"; }

HiveFile& FileOf(Hive hive) {
    Registry& state = State();
    std::lock_guard lock(state.mutex);
    if (state.root.empty()) state.root = StateRoot();
    auto& slot = state.files[state.root + HiveFileName(hive)];
    if (!slot) slot = std::make_unique<HiveFile>(state.root + HiveFileName(hive));
    return *slot;
}

std::vector<HiveFile*> OpenedFiles() {
    Registry& state = State();
    std::lock_guard lock(state.mutex);
    std::vector<HiveFile*> files;
    for (auto& [path, file] : state.files) files.push_back(file.get());
    return files;
}

bool IsDenied(Hive hive, const std::u16string& path) {
    Registry& state = State();
    std::lock_guard lock(state.mutex);
    return state.denied.count({hive, ToUpperAscii(path)}) != 0;
}

}  // namespace

std::string HiveFilePath(Hive hive) { return StateRoot() + HiveFileName(hive); }

WriteGroup::WriteGroup() { ++t_groupDepth; }

WriteGroup::~WriteGroup() {
    Flush();
    --t_groupDepth;
}

long Flush() {
    long result = kSuccess;
    for (HiveFile* file : OpenedFiles()) {
        if (long r = file->Flush(); r != kSuccess) result = r;
    }
    if (result != kSuccess) std::fprintf(stderr, "KWConfig: settings could not be saved to the registry files\n");
    return result;
}

int SavesForTests(Hive hive) { return FileOf(hive).Saves(); }

void SkipDurableWritesForFuzzing(bool skip) { durableWrites = !skip; }

void ResetForTests() {
    Registry& state = State();
    std::lock_guard lock(state.mutex);
    state.root.clear();
    state.files.clear();
    state.denied.clear();
}

void DenyFullAccess(Hive hive, std::u16string_view path, bool deny) {
    Registry& state = State();
    std::lock_guard lock(state.mutex);
    auto entry = std::make_pair(hive, ToUpperAscii(JoinPath(SplitPath(path))));
    if (deny) {
        state.denied.insert(entry);
    } else {
        state.denied.erase(entry);
    }
}

long Key::Open(Hive hive, std::u16string_view path, Access access, Key& out) {
    std::u16string normal = JoinPath(SplitPath(path));
    std::vector<std::u16string> parts = FullPath(hive, normal);
    bool exists = FileOf(hive).Read([&](const Node& root) { return Find(root, parts) != nullptr; });
    if (!exists) return kFileNotFound;
    if (access == Access::Full && IsDenied(hive, normal)) return kAccessDenied;
    out.hive_ = hive;
    out.path_ = normal;
    return kSuccess;
}

long Key::Create(Hive hive, std::u16string_view path, Key& out) {
    std::u16string normal = JoinPath(SplitPath(path));
    if (!FitsTheFile(normal)) return kInvalidParameter;
    std::vector<std::u16string> parts = FullPath(hive, normal);
    long result = FileOf(hive).Write([parts](Node& root) {
        if (Walk(root, parts, false)) return false;
        Walk(root, parts, true);
        return true;
    }).status;
    if (result != kSuccess) return result;
    out.hive_ = hive;
    out.path_ = normal;
    return kSuccess;
}

std::optional<std::u16string> Key::ReadString(std::u16string_view name) const {
    auto parts = FullPath(hive_, path_);
    return FileOf(hive_).Read([&](const Node& root) -> std::optional<std::u16string> {
        const Node* node = Find(root, parts);
        const Value* value = node ? node->FindValue(name) : nullptr;
        if (!value || value->kind != Value::Kind::String) return std::nullopt;
        return value->text;
    });
}

std::optional<uint32_t> Key::ReadDword(std::u16string_view name) const {
    auto parts = FullPath(hive_, path_);
    return FileOf(hive_).Read([&](const Node& root) -> std::optional<uint32_t> {
        const Node* node = Find(root, parts);
        const Value* value = node ? node->FindValue(name) : nullptr;
        if (!value || value->kind != Value::Kind::Dword) return std::nullopt;
        return value->dword;
    });
}

namespace {
long SetValue(Hive hive, const std::u16string& path, std::u16string_view name, const Value& newValue) {
    if (!FitsTheFile(name)) return kInvalidParameter;
    auto parts = FullPath(hive, path);
    return FileOf(hive).Write([parts, name = std::u16string(name), newValue](Node& root) {
        Node* node = Walk(root, parts, true);
        if (Value* existing = node->FindValue(name)) {
            if (existing->SameData(newValue)) return false;
            std::u16string keptName = existing->name;
            *existing = newValue;
            existing->name = keptName;
        } else {
            Value named = newValue;
            named.name = name;
            node->AddValue(named);
        }
        return true;
    }).status;
}
}  // namespace

long Key::WriteString(std::u16string_view name, std::u16string_view value) const {
    Value v;
    v.kind = Value::Kind::String;
    v.text = value;
    return SetValue(hive_, path_, name, v);
}

long Key::WriteDword(std::u16string_view name, uint32_t value) const {
    Value v;
    v.kind = Value::Kind::Dword;
    v.dword = value;
    return SetValue(hive_, path_, name, v);
}

long Key::DeleteValue(std::u16string_view name) const {
    auto parts = FullPath(hive_, path_);
    WriteResult result = FileOf(hive_).Write([parts, name = std::u16string(name)](Node& root) {
        Node* node = Walk(root, parts, false);
        return node && node->RemoveValue(name);
    });
    return result.status != kSuccess ? result.status : (result.changed ? kSuccess : kFileNotFound);
}

long Key::DeleteTree(std::u16string_view subkey) const {
    auto parts = FullPath(hive_, path_);
    auto sub = SplitPath(subkey);
    if (sub.empty()) return kFileNotFound;
    parts.insert(parts.end(), sub.begin(), sub.end() - 1);
    WriteResult result = FileOf(hive_).Write([parts, child = sub.back()](Node& root) {
        Node* parent = Walk(root, parts, false);
        return parent && parent->RemoveChild(child);
    });
    return result.status != kSuccess ? result.status : (result.changed ? kSuccess : kFileNotFound);
}

std::vector<std::u16string> Key::SubKeyNames() const {
    auto parts = FullPath(hive_, path_);
    return FileOf(hive_).Read([&](const Node& root) {
        std::vector<std::u16string> names;
        if (const Node* node = Find(root, parts)) {
            for (const auto& child : node->children) names.push_back(child->name);
        }
        return names;
    });
}

std::vector<std::u16string> Key::ValueNames() const {
    auto parts = FullPath(hive_, path_);
    return FileOf(hive_).Read([&](const Node& root) {
        std::vector<std::u16string> names;
        if (const Node* node = Find(root, parts)) {
            for (const auto& value : node->values) names.push_back(value.name);
        }
        return names;
    });
}

std::optional<std::u16string> ReadString(Hive hive, std::u16string_view path, std::u16string_view name) {
    Key key;
    if (Key::Open(hive, path, Access::Read, key) != kSuccess) return std::nullopt;
    return key.ReadString(name);
}

std::optional<uint32_t> ReadDword(Hive hive, std::u16string_view path, std::u16string_view name) {
    Key key;
    if (Key::Open(hive, path, Access::Read, key) != kSuccess) return std::nullopt;
    return key.ReadDword(name);
}

long WriteString(Hive hive, std::u16string_view path, std::u16string_view name, std::u16string_view value) {
    Key key;
    long result = Key::Create(hive, path, key);
    return result != kSuccess ? result : key.WriteString(name, value);
}

long WriteDword(Hive hive, std::u16string_view path, std::u16string_view name, uint32_t value) {
    Key key;
    long result = Key::Create(hive, path, key);
    return result != kSuccess ? result : key.WriteDword(name, value);
}

bool KeyExists(Hive hive, std::u16string_view path) {
    Key key;
    return Key::Open(hive, path, Access::Read, key) == kSuccess;
}

}  // namespace kw::reg
