#include "platform/paths.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kw {

std::string ExecutablePath() {
    std::error_code ec;
    auto path = std::filesystem::canonical("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string StemOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".";
    return path.substr(0, dot + 1);
}

std::string ProgramNameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {

std::string StateRootName() {
    if (const char* env = std::getenv("KWCONFIG_ROOT"); env && *env) return env;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/state/kwconfig";
}

// Empty when the folder was there or could be made; else the reason.
std::string CreateFolder(const std::string& root) {
    std::error_code ec;
    if (std::filesystem::exists(root, ec)) return {};
    std::filesystem::create_directories(root, ec);
    if (ec) return ec.message();
    ::chmod(root.c_str(), 0700);
    return {};
}

bool ProcessHasEnded(const std::string& pidText) {
    if (pidText.empty() || pidText.size() > 9 || pidText.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    pid_t pid = static_cast<pid_t>(std::stol(pidText));
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string StateRoot() {
    std::string root = StateRootName();
    CreateFolder(root);
    return root;
}

std::string StateRootProblem() {
    std::string root = StateRootName();
    std::string reason = CreateFolder(root);
    struct stat st {};
    if (reason.empty() && ::stat(root.c_str(), &st) != 0) reason = std::strerror(errno);
    if (reason.empty() && !S_ISDIR(st.st_mode)) reason = "not a folder";
    if (reason.empty() && st.st_uid != ::geteuid()) reason = "it belongs to another user";
    if (reason.empty() && (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) reason = "other users may write to it";
    return reason.empty() ? reason : "KWConfig: state folder " + root + " cannot be used: " + reason;
}

int CreateUniqueFile(const std::string& prefix, std::string& path) {
    std::string pattern = prefix + std::to_string(::getpid()) + ".XXXXXX";
    // mkostemp creates with O_EXCL and mode 0600, so a link planted under the name makes it fail.
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) path = pattern;
    return fd;
}

int OpenPrivateFile(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void RemoveStaleUniqueFiles(const std::string& prefix) {
    std::filesystem::path folder = std::filesystem::path(prefix).parent_path();
    std::string namePrefix = std::filesystem::path(prefix).filename().string();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() <= namePrefix.size() || name.compare(0, namePrefix.size(), namePrefix) != 0) continue;
        std::string rest = name.substr(namePrefix.size());
        size_t dot = rest.find('.');
        if (dot != std::string::npos && ProcessHasEnded(rest.substr(0, dot))) ::unlink(entry.path().c_str());
    }
}

}  // namespace kw
