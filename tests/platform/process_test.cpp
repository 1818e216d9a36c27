// Processes: the command-line splitting rules, the program lookup, a started child seeing its
// arguments and working folder, and End leaving neither a running child nor a zombie.
#include "platform/process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/text.h"
#include "tests/support/child_records.h"

namespace kwtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(SplitCommandLineTest, FollowsTheQuotingRules) {
    struct Case {
        const char* line;
        std::vector<std::string> arguments;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"prog", {"prog"}},
        {"  prog  a\tb  ", {"prog", "a", "b"}},
        {R"(KWBrgApp.EXE -W "\DEVICE\{A}" -E "\DEVICE\{B}")", {"KWBrgApp.EXE", "-W", R"(\DEVICE\{A})", "-E", R"(\DEVICE\{B})"}},
        {R"("C:\Program Files\x.exe" a)", {R"(C:\Program Files\x.exe)", "a"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {R"(p a\b\c)", {"p", R"(a\b\c)"}},
        {R"(p "a""b")", {"p", R"(a"b)"}},
        {R"(p "" x)", {"p", "", "x"}},
        {R"(p "unterminated arg)", {"p", "unterminated arg"}},
        {R"("unterminated)", {"unterminated"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
    };
    for (const Case& c : cases) EXPECT_THAT(kw::process::SplitCommandLine(c.line), ElementsAreArray(c.arguments)) << c.line;
}

class ProcessTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        records_ = root_.File("records.txt");
        ::setenv("KW_RECORD_ARGS", records_.c_str(), 1);
        program_ = root_.File("Recorder.EXE");
        std::filesystem::copy_file(KW_RECORD_ARGS_PROGRAM, program_);
    }
    void TearDown() override {
        ::unsetenv("KW_RECORD_ARGS");
        IsolatedTest::TearDown();
    }
    std::vector<ChildRecord> WaitForRecords(size_t count) {
        EXPECT_TRUE(WaitInRealTime([&] { return ReadChildRecords(records_).size() >= count; }));
        return ReadChildRecords(records_);
    }
    std::string records_;
    std::string program_;
};

TEST_F(ProcessTest, StartsWithTheArgumentsInTheGivenFolderAndEndsWithoutZombie) {
    std::string folder = root_.File("work");
    std::filesystem::create_directory(folder);
    auto started = kw::process::Start(kw::FromUtf8(program_ + R"( -W "\DEVICE\{A B}" plain)"), folder);
    ASSERT_GT(started.pid, 0);
    auto records = WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].pid, started.pid);
    EXPECT_EQ(records[0].cwd, std::filesystem::canonical(folder).string());
    EXPECT_THAT(records[0].args, ElementsAre("-W", R"(\DEVICE\{A B})", "plain"));
    // Our own folder is untouched by the child's.
    EXPECT_NE(std::filesystem::current_path(), std::filesystem::path(folder));
    EXPECT_EQ(kw::process::End(started.pid), 0);
    EXPECT_FALSE(ProcessExists(started.pid));
    EXPECT_EQ(kw::process::End(started.pid), -1);
}

TEST_F(ProcessTest, FindsAProgramByNameInTheCurrentFolderThenOnThePath) {
    {
        kw::process::CCurrentDirectoryScope scope(root_.path());
        ASSERT_TRUE(scope.Changed());
        EXPECT_EQ(kw::process::FindProgram("Recorder.EXE"), program_);
    }
    EXPECT_EQ(kw::process::FindProgram("Recorder.EXE"), "");
    EXPECT_EQ(kw::process::FindProgram("sh").empty(), false);
    EXPECT_EQ(kw::process::FindProgram("no-such-program-kw"), "");
    auto started = kw::process::Start(u"no-such-program-kw arg");
    EXPECT_EQ(started.pid, -1);
    EXPECT_NE(started.error, 0);
    EXPECT_FALSE(kw::process::SystemErrorText(started.error).empty());
}

TEST_F(ProcessTest, ADetachedChildIsReapedOnceItEnds) {
    ::setenv("KW_RECORD_WAIT_MS", "0", 1);
    auto started = kw::process::StartDetached(kw::FromUtf8(program_));
    ::unsetenv("KW_RECORD_WAIT_MS");
    ASSERT_GT(started.pid, 0);
    EXPECT_EQ(kw::process::End(started.pid), -1);  // not ours to end
    EXPECT_TRUE(WaitInRealTime([&] { return kw::process::ReapDetached() == 0; }));
    EXPECT_FALSE(ProcessExists(started.pid));
}

}  // namespace
}  // namespace kwtest
