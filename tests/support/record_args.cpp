// A stand-in for the outside programs the system starts: it appends its process id, its working
// folder and its arguments to the file named by KW_RECORD_ARGS (one record, one write), then waits
// to be ended by a signal, for at most KW_RECORD_WAIT_MS (default 30000) so nothing outlives a test.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    std::string record = "pid=" + std::to_string(::getpid()) + "\n";
    char cwd[4096] = {};
    record += std::string("cwd=") + (::getcwd(cwd, sizeof cwd) ? cwd : "?") + "\n";
    for (int i = 1; i < argc; ++i) record += std::string("arg=") + argv[i] + "\n";
    record += "end\n";
    if (const char* file = std::getenv("KW_RECORD_ARGS")) {
        int fd = ::open(file, O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd >= 0) {
            if (::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) return 2;
            ::close(fd);
        }
    }
    long waitMs = 30000;
    if (const char* wait = std::getenv("KW_RECORD_WAIT_MS")) waitMs = std::strtol(wait, nullptr, 10);
    for (long waited = 0; waited < waitMs; waited += 10) {
        struct timespec step = {0, 10 * 1000 * 1000};
        ::nanosleep(&step, nullptr);
    }
    return 0;
}
