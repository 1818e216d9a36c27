#include "platform/console/line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kw::console {

namespace {

void DropCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

}  // namespace

ReadResult StreamLineReader::Read(std::string& line, int /*timeoutMs*/) {
    line.clear();
    std::istream::int_type c;
    bool any = false;
    while ((c = in_.get()) != std::istream::traits_type::eof()) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxLineBytes) line.push_back(static_cast<char>(c));
    }
    if (!any) return ReadResult::End;
    DropCarriageReturn(line);
    return ReadResult::Line;
}

bool FdLineReader::TakeLine(std::string& line) {
    while (true) {
        size_t end = buffer_.find('\n');
        if (end == std::string::npos) {
            if (skipping_) {
                buffer_.clear();
            } else if (buffer_.size() >= kMaxLineBytes || (ended_ && !buffer_.empty())) {
                // An overlong line is cut here and its rest skipped; a last line may lack its break.
                line = buffer_.substr(0, std::min(buffer_.size(), kMaxLineBytes));
                skipping_ = buffer_.size() >= kMaxLineBytes && !ended_;
                buffer_.clear();
                DropCarriageReturn(line);
                return true;
            }
            return false;
        }
        if (skipping_) {
            buffer_.erase(0, end + 1);
            skipping_ = false;
            continue;
        }
        line = buffer_.substr(0, std::min(end, kMaxLineBytes));
        buffer_.erase(0, end + 1);
        DropCarriageReturn(line);
        return true;
    }
}

ReadResult FdLineReader::Read(std::string& line, int timeoutMs) {
    line.clear();
    while (true) {
        if (TakeLine(line)) return ReadResult::Line;
        if (ended_) return ReadResult::End;
        pollfd waiter{fd_, POLLIN, 0};
        int ready = ::poll(&waiter, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) return ReadResult::Timeout;
        if (ready == 0) return ReadResult::Timeout;
        char chunk[4096];
        ssize_t got = ready < 0 ? -1 : ::read(fd_, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) return ReadResult::Timeout;
        if (got <= 0) {
            ended_ = true;
        } else {
            buffer_.append(chunk, static_cast<size_t>(got));
        }
    }
}

}  // namespace kw::console
