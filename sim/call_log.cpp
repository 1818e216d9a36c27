#include "sim/call_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/paths.h"
#include "platform/text.h"

namespace kw::sim {

namespace {

// A worker that loops for hours must not eat the memory: the oldest lines go first.
constexpr size_t kMaxLinesInMemory = 200000;

struct CallLog {
    std::mutex mutex;
    bool keepInMemory = false;
    std::deque<std::string> lines;
    std::string filePath;  // the KWWLAN_LOG the file was opened for
    int fd = -1;
};

CallLog& Log() {
    static CallLog log;
    return log;
}

// The file stays open from the first line on; a new KWWLAN_LOG opens the new file.
void AppendToFile(CallLog& log, const std::string& line) {
    const char* path = std::getenv("KWWLAN_LOG");
    std::string wanted = path ? path : "";
    if (wanted != log.filePath) {
        if (log.fd >= 0) ::close(log.fd);
        log.fd = -1;
        log.filePath = wanted;
        // The lines hold key material: a new log is the user's alone.
        if (!wanted.empty()) log.fd = ::open(wanted.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    }
    if (log.fd >= 0) WriteAll(log.fd, line + "\n");
}

void Record(std::string line) {
    CallLog& log = Log();
    std::lock_guard lock(log.mutex);
    AppendToFile(log, line);
    if (!log.keepInMemory) return;
    log.lines.push_back(std::move(line));
    if (log.lines.size() > kMaxLinesInMemory) log.lines.pop_front();
}

void AppendEscaped(std::string& out, unsigned char c, bool keepHighBytes) {
    if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
    } else if ((c >= 0x20 && c < 0x7F) || (keepHighBytes && c >= 0x80)) {
        out += static_cast<char>(c);
    } else {
        out += Format("\\x%02X", c);
    }
}

}  // namespace

std::string QuoteText(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) AppendEscaped(out, static_cast<unsigned char>(c), false);
    return out + "\"";
}

CallLine::CallLine(std::string_view name) : line_(name) { line_ += '('; }

void CallLine::Separate() {
    if (!first_) line_ += ", ";
    first_ = false;
}

CallLine& CallLine::Int(long long value) {
    Separate();
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::Code(uint32_t code) {
    Separate();
    line_ += Format("0x%08X", code);
    return *this;
}

CallLine& CallLine::Bytes(const uint8_t* data, size_t count) {
    Separate();
    if (!data) {
        line_ += "null";
        return *this;
    }
    line_ += '[';
    for (size_t i = 0; i < count; ++i) {
        if (i) line_ += ' ';
        line_ += Format("%02X", data[i]);
    }
    line_ += ']';
    return *this;
}

CallLine& CallLine::Text(const char* text, size_t room) {
    Separate();
    line_ += text ? QuoteText(std::string_view(text, strnlen(text, room))) : std::string("null");
    return *this;
}

CallLine& CallLine::Text16(const char16_t* text, size_t room) {
    Separate();
    if (!text) {
        line_ += "null";
        return *this;
    }
    size_t length = 0;
    while (length < room && text[length]) ++length;
    std::string utf8 = ToUtf8(std::u16string_view(text, length));
    line_ += '"';
    for (char c : utf8) AppendEscaped(line_, static_cast<unsigned char>(c), true);
    line_ += '"';
    return *this;
}

CallLine& CallLine::Piece(std::string_view formatted) {
    Separate();
    line_ += formatted;
    return *this;
}

int CallLine::Result(int result) {
    line_ += ") = ";
    line_ += std::to_string(result);
    Record(std::move(line_));
    return result;
}

std::vector<std::string> CallLogLines() {
    CallLog& log = Log();
    std::lock_guard lock(log.mutex);
    return {log.lines.begin(), log.lines.end()};
}

void KeepCallLogLines(bool keep) {
    CallLog& log = Log();
    std::lock_guard lock(log.mutex);
    log.keepInMemory = keep;
    if (!keep) log.lines.clear();
}

void ClearCallLogLines() {
    CallLog& log = Log();
    std::lock_guard lock(log.mutex);
    log.lines.clear();
}

}  // namespace kw::sim
