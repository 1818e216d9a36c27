#include "platform/paths.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

std::string StateRoot() {
    std::string root;
    if (const char* env = std::getenv("KWCONFIG_ROOT"); env && *env) {
        root = env;
    } else {
        const char* home = std::getenv("HOME");
        root = std::string(home && *home ? home : "/tmp") + "/.local/state/kwconfig";
    }
    std::error_code ec;
    if (!std::filesystem::exists(root, ec)) {
        std::filesystem::create_directories(root, ec);
        ::chmod(root.c_str(), 0700);
    }
    return root;
}

}  // namespace kw
