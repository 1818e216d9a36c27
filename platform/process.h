// Processes: a command line in the Windows manner, started as a child that inherits no handles
// but the standard ones, and ended with a signal. Children the caller does not track are reaped
// here, so none stays behind as a zombie.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace kw::process {

// Splits a command line as the C runtime does: blanks and tabs separate arguments; double quotes
// group; 2n backslashes before a quote give n backslashes and the quote groups, 2n+1 give n and a
// literal quote; "" inside a quoted part is a literal quote. The program name (first argument)
// ends at the next blank or, when quoted, at the next quote; backslashes in it are plain.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Where a program name is found: a name with a slash as given (made absolute), else the running
// program's folder, the current directory, then each folder of PATH. Empty when nowhere.
std::string FindProgram(const std::string& name);

struct Started {
    pid_t pid = -1;
    int error = 0;  // errno-style code when pid is -1
};

// Starts the command line. workingFolder (empty: the current one) is changed in the child only.
Started Start(std::u16string_view commandLine, const std::string& workingFolder = "");
// As Start, for a child nobody will end: it is reaped once it has ended.
Started StartDetached(std::u16string_view commandLine, const std::string& workingFolder = "");
// Kills a child of Start and waits for it. 0, or -1 when it was not ours or already gone.
int End(pid_t pid);
// Collects the detached children that have ended; returns how many are still running.
size_t ReapDetached();

// The system's text for an error code.
std::u16string SystemErrorText(int error);

// Makes a folder current and gives the previous one back when it goes.
class CCurrentDirectoryScope {
public:
    explicit CCurrentDirectoryScope(const std::string& folder);
    ~CCurrentDirectoryScope();
    CCurrentDirectoryScope(const CCurrentDirectoryScope&) = delete;
    CCurrentDirectoryScope& operator=(const CCurrentDirectoryScope&) = delete;
    bool Changed() const { return changed_; }

private:
    std::string previous_;
    bool changed_ = false;
};

}  // namespace kw::process
