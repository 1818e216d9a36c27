#include "platform/shell/window_lookup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/paths.h"
#include "platform/text.h"

namespace kw::shell {

namespace {

constexpr char kMagic[] = "KWWINDOW 1";
// A window file is a few dozen bytes; anything longer is not one of ours.
constexpr size_t kMaxFileBytes = 4096;

std::string WindowsFolder() {
    std::string folder = StateRoot() + "/windows";
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        ::chmod(folder.c_str(), 0700);
    }
    return folder;
}

std::string ReadBounded(const std::string& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string bytes(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    const std::string prefix = path + ".tmp.";
    RemoveStaleUniqueFiles(prefix);
    std::string temporary;
    int fd = CreateUniqueFile(prefix, temporary);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    ::close(fd);
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool ParseNumber(const std::string& text, uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        uint64_t next = value * 10 + static_cast<uint64_t>(c - '0');
        if (next / 10 != value) return false;
        value = next;
    }
    return true;
}

struct WindowFile {
    int pid = 0;
    uint64_t startTime = 0;
    ui::WindowHandle handle = 0;
    std::u16string caption;
};

// "KWWINDOW 1\n<pid> <start time> <handle>\n<caption in UTF-8>"
std::optional<WindowFile> ParseWindowFile(const std::string& bytes) {
    if (bytes.size() > kMaxFileBytes) return std::nullopt;
    size_t first = bytes.find('\n');
    if (first == std::string::npos || bytes.compare(0, first, kMagic) != 0) return std::nullopt;
    size_t second = bytes.find('\n', first + 1);
    if (second == std::string::npos) return std::nullopt;
    std::istringstream numbers(bytes.substr(first + 1, second - first - 1));
    std::string pidText, startText, handleText, extra;
    if (!(numbers >> pidText >> startText >> handleText) || (numbers >> extra)) return std::nullopt;
    uint64_t pid = 0, start = 0, handle = 0;
    if (!ParseNumber(pidText, pid) || !ParseNumber(startText, start) || !ParseNumber(handleText, handle)) {
        return std::nullopt;
    }
    if (pid == 0 || pid > 0x7FFFFFFF || handle > 0xFFFFFFFF) return std::nullopt;
    return WindowFile{static_cast<int>(pid), start, static_cast<ui::WindowHandle>(handle),
                      FromUtf8(bytes.substr(second + 1))};
}

}  // namespace

std::optional<uint64_t> ProcessStartTime(int pid) {
    if (pid <= 0) return std::nullopt;
    std::string stat = ReadBounded("/proc/" + std::to_string(pid) + "/stat", 2048);
    // The command name in parentheses may hold anything, so fields are counted after the last ')'.
    size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    // After the name: state is field 3; the start time is field 22.
    for (int index = 3; index <= 22; ++index) {
        if (!(fields >> field)) return std::nullopt;
    }
    if (field.empty()) return std::nullopt;
    uint64_t start = 0;
    if (!ParseNumber(field, start)) return std::nullopt;
    // A zombie has ended; its windows are gone.
    std::istringstream state(stat.substr(close + 1));
    std::string letter;
    state >> letter;
    if (letter == "Z" || letter == "X") return std::nullopt;
    return start;
}

std::string PublishWindow(ui::WindowHandle handle, std::u16string_view caption, const std::string& previousFile) {
    const std::optional<uint64_t> ownStart = ProcessStartTime(::getpid());
    std::string path = previousFile;
    if (path.empty()) {
        path = WindowsFolder() + "/" + std::to_string(::getpid()) + "-" + std::to_string(ownStart.value_or(0)) + "-" +
               std::to_string(handle) + ".window";
    }
    std::string bytes = std::string(kMagic) + "\n" + std::to_string(::getpid()) + " " +
                        std::to_string(ownStart.value_or(0)) + " " + std::to_string(handle) + "\n" + ToUtf8(caption);
    return WriteWhole(path, bytes) ? path : std::string();
}

void WithdrawWindow(const std::string& file) {
    if (!file.empty()) ::unlink(file.c_str());
}

std::optional<FoundWindow> FindWindowByCaption(std::u16string_view caption) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(WindowsFolder(), ec)) {
        if (entry.path().extension() == ".window") files.push_back(entry.path());
    }
    std::optional<FoundWindow> found;
    for (const auto& path : files) {
        auto window = ParseWindowFile(ReadBounded(path.string(), kMaxFileBytes));
        if (!window) continue;
        auto start = ProcessStartTime(window->pid);
        if (!start || *start != window->startTime) {
            ::unlink(path.c_str());  // left by a process that has ended
            continue;
        }
        if (!found && window->caption == caption) found = FoundWindow{window->pid, window->handle};
    }
    return found;
}

}  // namespace kw::shell
