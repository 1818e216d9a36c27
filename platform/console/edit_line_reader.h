// Lines from a terminal with line editing and history (libedit): the arrow keys move in the line
// and recall earlier ones, and lines printed meanwhile appear above the one being typed without
// splitting it. One reader at a time: the library keeps its state per process.
#pragma once

#include <mutex>
#include <string>

#include "platform/console/line_reader.h"

namespace kw::console {

class EditLineReader : public LineReader {
public:
    explicit EditLineReader(int fd);
    ~EditLineReader() override;
    EditLineReader(const EditLineReader&) = delete;
    EditLineReader& operator=(const EditLineReader&) = delete;

    ReadResult Read(std::string& line, int timeoutMs) override;
    bool ShowsPrompt() const override { return true; }
    void SetPrompt(const std::string& prompt) override;
    void PrintAbove(std::ostream& out, const std::string& text) override;

private:
    static void TakeLine(char* line);

    int fd_;
    std::mutex mutex_;  // the library's state: the reading thread and any printing thread
    std::string prompt_ = "> ";
};

}  // namespace kw::console
