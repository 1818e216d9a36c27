// What the recording stand-in program (support/record_args.cpp) wrote about each start.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_env.h"

namespace kwtest {

struct ChildRecord {
    pid_t pid = -1;
    std::string cwd;
    std::vector<std::string> args;
};

inline std::vector<ChildRecord> ReadChildRecords(const std::string& file) {
    std::vector<ChildRecord> records;
    std::istringstream in(ReadFileBytes(file));
    ChildRecord current;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("pid=", 0) == 0) current.pid = static_cast<pid_t>(std::atoi(line.c_str() + 4));
        if (line.rfind("cwd=", 0) == 0) current.cwd = line.substr(4);
        if (line.rfind("arg=", 0) == 0) current.args.push_back(line.substr(4));
        if (line == "end") {
            records.push_back(current);
            current = {};
        }
    }
    return records;
}

// Whether a process exists at all (a zombie still does).
inline bool ProcessExists(pid_t pid) { return pid > 0 && ::kill(pid, 0) == 0; }

// Whether a process is gone or only a zombie (state Z in /proc).
inline bool ProcessIsZombie(pid_t pid) {
    std::string stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

}  // namespace kwtest
