// The program refuses a state folder it cannot use, in words and with its exit code.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/test_env.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string output;
};

ProgramRun RunProgram(const std::string& root) {
    std::string command = "KWCONFIG_ROOT='" + root + "' '" KW_TEST_BINARY_DIR "/KWConfig' </dev/null 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof(buffer), pipe)) run.output.append(buffer, n);
    int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(StateFolder, UnusableRootIsNamedAndTheProgramFails) {
    kwtest::TempDir dir;
    const std::string file = dir.Write("plain", "x");
    const std::string shared = dir.File("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    for (const std::string& root : {file, file + "/below", shared}) {
        ProgramRun run = RunProgram(root);
        EXPECT_NE(run.exitCode, 0) << root;
        EXPECT_NE(run.output.find("state folder " + root + " cannot be used"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("window:"), std::string::npos) << run.output;
    }
}

}  // namespace
