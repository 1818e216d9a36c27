// A private world for one test: a temporary state root (so no test touches the real home
// folder), virtual time, and a fresh registry cache.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/registry.h"

namespace kwtest {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kwtest-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string file = File(name);
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::string path_;
};

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lets virtual time pass in steps of stepMs until done() holds, for at most ms; the program's
// threads run as far as their own sleeps allow meanwhile.
template <typename Done>
bool WaitInVirtualTime(Done done, uint64_t ms = 8000, uint64_t stepMs = 10) {
    for (uint64_t waited = 0; !done(); waited += stepMs) {
        if (waited >= ms) return false;
        kw::clock::SleepMs(stepMs);
    }
    return true;
}

// Polls done() every 10 ms of real time, for at most ms: for other processes only.
template <typename Done>
bool WaitInRealTime(Done done, int ms = 5000) {
    for (int waited = 0; !done(); waited += 10) {
        if (waited >= ms) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class IsolatedTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("KWCONFIG_ROOT", root_.path().c_str(), 1);
        kw::reg::ResetForTests();
        kw::clock::UseVirtualTime(true);
    }
    void TearDown() override { kw::reg::ResetForTests(); }

    TempDir root_;
};

}  // namespace kwtest
