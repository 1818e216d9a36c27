// Lines of input for the console, from a stream (a script) or from a terminal's file descriptor
// (which can be waited on with a time limit, so the timer keeps firing while nobody types).
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

namespace kw::console {

// Lines longer than this are cut; the rest of such a line is skipped.
constexpr size_t kMaxLineBytes = 64 * 1024;

enum class ReadResult { Line, Timeout, End };

class LineReader {
public:
    virtual ~LineReader() = default;
    // One line without its line break (a CR before it is dropped too). timeoutMs < 0 waits for
    // as long as it takes.
    virtual ReadResult Read(std::string& line, int timeoutMs) = 0;
    // A reader that edits lines shows the prompt itself and keeps it below what is printed.
    virtual bool ShowsPrompt() const { return false; }
    virtual void SetPrompt(const std::string& /*prompt*/) {}
    // Prints one line above the line being typed; any thread.
    virtual void PrintAbove(std::ostream& out, const std::string& text) { out << text << '\n' << std::flush; }
};

class StreamLineReader : public LineReader {
public:
    explicit StreamLineReader(std::istream& in) : in_(in) {}
    ReadResult Read(std::string& line, int timeoutMs) override;

private:
    std::istream& in_;
};

class FdLineReader : public LineReader {
public:
    explicit FdLineReader(int fd) : fd_(fd) {}
    ReadResult Read(std::string& line, int timeoutMs) override;

private:
    bool TakeLine(std::string& line);
    int fd_;
    std::string buffer_;
    bool skipping_ = false;  // inside the rest of an overlong line
    bool ended_ = false;
};

}  // namespace kw::console
