#include "platform/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/paths.h"
#include "platform/text.h"

extern char** environ;

namespace kw::process {

namespace {

constexpr size_t kMaxArguments = 1024;

std::mutex g_detachedLock;
std::vector<pid_t> g_detached;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TakeProgramName(std::string_view& rest) {
    std::string_view name;
    if (!rest.empty() && rest.front() == '"') {
        size_t close = rest.find('"', 1);
        name = rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        rest.remove_prefix(close == std::string_view::npos ? rest.size() : close + 1);
    } else {
        size_t end = 0;
        while (end < rest.size() && !IsBlank(rest[end])) ++end;
        name = rest.substr(0, end);
        rest.remove_prefix(end);
    }
    return name;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string CurrentDirectory() {
    std::string buffer(4096, '\0');
    if (!::getcwd(buffer.data(), buffer.size())) return {};
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

std::string Joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

Started Spawn(std::u16string_view commandLine, const std::string& workingFolder) {
    ReapDetached();
    std::vector<std::string> arguments = SplitCommandLine(ToUtf8(commandLine));
    if (arguments.empty() || arguments.front().empty()) return {-1, ENOENT};
    std::string program = FindProgram(arguments.front());
    if (program.empty()) return {-1, ENOENT};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A process group of its own, as a new console would give it; signals meant for us pass it by.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    pid_t pid = -1;
    int error = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return {-1, error};
    return {pid, 0};
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty()) return arguments;
    arguments.emplace_back(TakeProgramName(line));
    size_t i = 0;
    while (arguments.size() < kMaxArguments) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            char c = line[i];
            if (c == '\\') {
                size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        argument.push_back('"');
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument.push_back('"');
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument.push_back(c);
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) {
        std::string path = name.front() == '/' ? name : Joined(CurrentDirectory(), name);
        return IsExecutableFile(path) ? path : std::string();
    }
    std::vector<std::string> folders = {DirectoryOf(ExecutablePath()), CurrentDirectory()};
    if (const char* path = std::getenv("PATH")) {
        std::string_view rest(path);
        while (true) {
            size_t colon = rest.find(':');
            std::string folder(rest.substr(0, colon));
            if (!folder.empty()) folders.push_back(folder);
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
    }
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        std::string candidate = Joined(folder, name);
        if (IsExecutableFile(candidate)) return candidate.front() == '/' ? candidate : Joined(CurrentDirectory(), candidate);
    }
    return {};
}

Started Start(std::u16string_view commandLine, const std::string& workingFolder) { return Spawn(commandLine, workingFolder); }

Started StartDetached(std::u16string_view commandLine, const std::string& workingFolder) {
    Started started = Spawn(commandLine, workingFolder);
    if (started.pid > 0) {
        std::lock_guard lock(g_detachedLock);
        g_detached.push_back(started.pid);
    }
    return started;
}

int End(pid_t pid) {
    if (pid <= 0) return -1;
    {
        std::lock_guard lock(g_detachedLock);
        if (std::find(g_detached.begin(), g_detached.end(), pid) != g_detached.end()) return -1;
    }
    // The child stays ours (a zombie at worst) until reaped, so its id cannot name another process.
    if (::kill(pid, SIGKILL) != 0 && errno != ESRCH) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return 0;
}

size_t ReapDetached() {
    std::lock_guard lock(g_detachedLock);
    std::erase_if(g_detached, [](pid_t pid) {
        int status = 0;
        pid_t result = ::waitpid(pid, &status, WNOHANG);
        return result == pid || (result < 0 && errno == ECHILD);
    });
    return g_detached.size();
}

std::u16string SystemErrorText(int error) {
    char buffer[256] = {};
    // The GNU variant may return a static text instead of filling the buffer.
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return FromUtf8(text ? text : "");
}

CCurrentDirectoryScope::CCurrentDirectoryScope(const std::string& folder) : previous_(CurrentDirectory()) {
    changed_ = !folder.empty() && ::chdir(folder.c_str()) == 0;
}

CCurrentDirectoryScope::~CCurrentDirectoryScope() {
    // Nothing better to do when the old folder went away meanwhile.
    if (changed_ && !previous_.empty() && ::chdir(previous_.c_str()) != 0) changed_ = false;
}

}  // namespace kw::process
