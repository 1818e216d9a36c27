// A private scratch folder for one fuzzing process, and a file in it whose every version looks
// new to readers that cache by inode, size and time.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace kwfuzz {

inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kwfuzz-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return folder;
}

inline void WriteVersion(const std::string& path, const uint8_t* data, size_t size) {
    static int64_t version = 0;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    struct timespec times[2] = {{++version, 0}, {version, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace kwfuzz
