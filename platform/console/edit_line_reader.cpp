#include "platform/console/edit_line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// clang-format off
#include <editline/readline.h>
// clang-format on

namespace kw::console {

namespace {

// What the library's line handler last received: a line, or end of input.
struct Completed {
    bool ready = false;
    bool ended = false;
    std::string line;
};
Completed g_completed;

}  // namespace

EditLineReader::EditLineReader(int fd) : fd_(fd) {
    std::lock_guard lock(mutex_);
    rl_instream = ::fdopen(::dup(fd_), "r");
    rl_outstream = stdout;
    using_history();
    rl_callback_handler_install(prompt_.c_str(), &EditLineReader::TakeLine);
}

EditLineReader::~EditLineReader() {
    std::lock_guard lock(mutex_);
    rl_callback_handler_remove();
    if (rl_instream) std::fclose(rl_instream);
    rl_instream = nullptr;
}

void EditLineReader::TakeLine(char* line) {
    g_completed.ready = true;
    g_completed.ended = line == nullptr;
    g_completed.line.clear();
    if (line) {
        g_completed.line.assign(line, strnlen(line, kMaxLineBytes));
        if (!g_completed.line.empty()) add_history(line);
        std::free(line);
    }
}

ReadResult EditLineReader::Read(std::string& line, int timeoutMs) {
    line.clear();
    while (true) {
        pollfd waiter{fd_, POLLIN, 0};
        int ready = ::poll(&waiter, 1, timeoutMs);
        if (ready <= 0) return ReadResult::Timeout;
        std::lock_guard lock(mutex_);
        g_completed = Completed{};
        rl_callback_read_char();
        if (!g_completed.ready) {
            if (waiter.revents & (POLLHUP | POLLERR)) return ReadResult::End;
            continue;
        }
        if (g_completed.ended) return ReadResult::End;
        line = std::move(g_completed.line);
        // The handler is removed once it has a line; the next line gets it anew.
        rl_callback_handler_install(prompt_.c_str(), &EditLineReader::TakeLine);
        return ReadResult::Line;
    }
}

void EditLineReader::SetPrompt(const std::string& prompt) {
    std::lock_guard lock(mutex_);
    if (prompt == prompt_) return;
    prompt_ = prompt;
    rl_set_prompt(prompt_.c_str());
    // The old prompt is wiped first; the library would draw the new one after it.
    std::fputs("\r\033[K", stdout);
    std::fflush(stdout);
    rl_forced_update_display();
}

void EditLineReader::PrintAbove(std::ostream& out, const std::string& text) {
    std::lock_guard lock(mutex_);
    // Wipe the line being typed, print, then draw the prompt and the typed text again below.
    out << "\r\033[K" << text << '\n' << std::flush;
    rl_forced_update_display();
}

}  // namespace kw::console
