#include <fcntl.h>
#include <pty.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/shell/window_lookup.h"
#include "sim/control.h"
#include "src/app/kwconfig_app.h"
#include "src/device/identity.h"
#include "src/settings/app_key.h"
#include "tests/support/test_env.h"

namespace {

using kw::reg::Hive;
const std::u16string kAppKey = u"Software\\Talvo\\KWConfig";

std::optional<uint32_t> Dword(const std::u16string& name) {
    kw::reg::ResetForTests();
    return kw::reg::ReadDword(Hive::CurrentUser, kAppKey, name);
}

// A program folder of its own: the executable, its language and world files, and a
// configuration file with the given ADAPTER_INFORMATION lines.
class ProgramFolder {
public:
    // Without adapter information, the shipped configuration file.
    explicit ProgramFolder(const std::string& adapterInformation = "") {
        namespace fs = std::filesystem;
        const std::string built = KW_TEST_BINARY_DIR;
        for (const char* file : {"KWConfig", "KWMLu.INI", "KWMLa.INI", "DefaultWorld.INI"}) {
            fs::copy_file(built + "/" + file, dir_.File(file));
        }
        fs::permissions(dir_.File("KWConfig"), fs::perms::owner_all);
        if (adapterInformation.empty()) {
            fs::copy_file(built + "/KWConfig.INI", dir_.File("KWConfig.INI"));
            return;
        }
        dir_.Write("KWConfig.INI", "[ADAPTER_INFORMATION]\n" + adapterInformation +
                                       "MatchingDeviceId0=USB\\VID_6B57&PID_7100\n");
    }
    std::string Executable() const { return dir_.File("KWConfig"); }

private:
    kwtest::TempDir dir_;
};

// A running KWConfig whose console reads from a pipe the test writes (a script, in virtual
// time), or from a pseudo-terminal (a person, in real time).
class Program {
public:
    enum class Console { Script, Terminal };
    Program(const std::string& executable, std::vector<std::string> args, Console console = Console::Script) {
        // A program that ended early must fail the test, not kill it.
        ::signal(SIGPIPE, SIG_IGN);
        std::vector<char*> argv{const_cast<char*>(executable.c_str())};
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (console == Console::Terminal) {
            pid_ = ::forkpty(&input_, nullptr, nullptr, nullptr);
            if (pid_ == 0) {
                ::execv(executable.c_str(), argv.data());
                ::_exit(127);
            }
            return;
        }
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[0], STDIN_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, STDOUT_FILENO);
            ::execv(executable.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(fds[0]);
        input_ = fds[1];
    }
    ~Program() {
        if (input_ >= 0) ::close(input_);
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    void Send(const std::string& line) {
        ASSERT_EQ(::write(input_, line.data(), line.size()), static_cast<ssize_t>(line.size())) << "the program has ended";
    }
    void CloseInput() {
        ::close(input_);
        input_ = -1;
    }
    // The exit code, or -1 when it has not ended within the time.
    int WaitForExit(int seconds = 20) {
        for (int i = 0; i < seconds * 100; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    bool exited_ = false;
};

class SingleInstanceTest : public kwtest::IsolatedTest {};

TEST_F(SingleInstanceTest, ExitFlagsAskTheRunningCopyToExitAndEndAtOnce) {
    struct Case {
        std::vector<std::string> args;
        bool requestsExit;
    } cases[] = {{{"KWConfig", "/exit"}, true}, {{"KWConfig", "-EXIT"}, true}, {{"KWConfig", "/Exit"}, true},
                 {{"KWConfig", "EXIT"}, false}, {{"KWConfig", "/exits"}, false}};
    for (const auto& c : cases) {
        kw::CKWConfigApp app(nullptr);
        app.ParseCommandLine(c.args);
        EXPECT_EQ(app.ExitRequested(), c.requestsExit) << c.args[1];
    }

    ProgramFolder folder("ReleaseChipMode=GENERAL\n");
    Program program(folder.Executable(), {"/exit"});
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_EQ(Dword(u"GENERAL\\KWWLanExit"), 1u);
    EXPECT_EQ(Dword(u"GENERAL\\KWWLanWakeUp"), std::nullopt);
}

TEST_F(SingleInstanceTest, BranchesOfAPlainStart) {
    ProgramFolder folder("ReleaseChipMode=TEST\n");
    ASSERT_TRUE(kw::sim::LoadWorldFile(std::string(KW_TEST_DATA_DIR) + "/DefaultWorld.INI"));
    struct Case {
        const char* name;
        std::optional<std::u16string> recordedTitle;
        bool windowFound;
        bool continues;
        uint32_t exitValue;  // after the start
        std::optional<uint32_t> wakeUp;
        uint64_t waitedMs;
    } cases[] = {
        {"title changed", u"Old title", false, true, 0, 0u, 2000},
        {"running copy found", std::nullopt, true, false, 0, 1u, 0},
        {"no window", std::nullopt, false, true, 0, 0u, 2000},
    };
    const std::u16string current = u"Vivurori DOD Ivirodevovove Dede Viva   ";
    for (const auto& c : cases) {
        kw::reg::WriteString(Hive::CurrentUser, kAppKey, u"TEST\\KWConfigProgramTitle", c.recordedTitle.value_or(current));
        kw::reg::WriteDword(Hive::CurrentUser, kAppKey, u"TEST\\KWWLanExit", 0);
        kw::reg::WriteDword(Hive::CurrentUser, kAppKey, u"TEST\\KWWLanWakeUp", 0);
        std::u16string looked;
        kw::CKWConfigApp app([&](const std::u16string& caption) {
            looked = caption;
            return c.windowFound;
        });
        uint64_t before = kw::clock::NowMs();
        bool continues = app.StartUp({"KWConfig"}, folder.Executable());
        uint64_t waited = kw::clock::NowMs() - before;
        EXPECT_EQ(continues, c.continues) << c.name;
        EXPECT_GE(waited, c.waitedMs) << c.name;
        EXPECT_LT(waited, c.waitedMs + 1000) << c.name;
        EXPECT_EQ(Dword(u"TEST\\KWWLanExit"), c.exitValue) << c.name;
        EXPECT_EQ(Dword(u"TEST\\KWWLanWakeUp"), c.wakeUp) << c.name;
        EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, kAppKey, u"TEST\\KWConfigProgramTitle"), current) << c.name;
        if (!c.recordedTitle) {
            EXPECT_EQ(looked, current) << c.name;
        }
    }
    kw::SetReleaseChipMode(u"GENERAL");
    kw::sim::Reset();
}

TEST_F(SingleInstanceTest, SecondStartWakesTheRunningCopyWhenChipModesAgree) {
    ProgramFolder folder("ReleaseChipMode=KW7100\n");
    Program first(folder.Executable(), {});
    // The running copy's window is there once its caption is published. No tick is sent before
    // the second start: a tick still queued would read the requests out of turn.
    const std::u16string caption = u"Vivurori DOD Ivirodevovove Dede Viva   ";
    bool published = false;
    for (int i = 0; i < 500 && !published; ++i) {
        published = kw::shell::FindWindowByCaption(caption).has_value();
        if (!published) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(published);

    Program second(folder.Executable(), {});
    second.CloseInput();
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_EQ(Dword(u"KW7100\\KWWLanWakeUp"), 1u);

    first.Send("tick\n");
    bool consumed = false;
    for (int i = 0; i < 500 && !consumed; ++i) {
        consumed = Dword(u"KW7100\\KWWLanWakeUp") == 0u;
        if (!consumed) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(consumed);

    // A start that asks for exit reaches it too: the next tick ends the running copy.
    Program third(folder.Executable(), {"/exit"});
    EXPECT_EQ(third.WaitForExit(), 0);
    first.Send("tick\n");
    EXPECT_EQ(first.WaitForExit(), 0);
    EXPECT_FALSE(kw::shell::FindWindowByCaption(caption).has_value());
}

// With the shipped files, a person who starts the program a second time gets the first copy's
// window, and /exit ends the first copy within one timer period of real time.
TEST_F(SingleInstanceTest, WithTheShippedFilesOneCopyStays) {
    ProgramFolder folder;
    Program first(folder.Executable(), {}, Program::Console::Terminal);
    const std::u16string caption = u"Vivurori DOD Ivirodevovove Dede Viva   ";
    ASSERT_TRUE(kwtest::WaitInRealTime([&] { return kw::shell::FindWindowByCaption(caption).has_value(); }));

    Program second(folder.Executable(), {});
    second.CloseInput();
    EXPECT_EQ(second.WaitForExit(), 0);
    // The first copy takes the wake-up request at its next tick and shows its window.
    EXPECT_TRUE(kwtest::WaitInRealTime([] { return Dword(u"KW7100\\KWWLanWakeUp") == 0u; }, 3000));

    Program third(folder.Executable(), {"/exit"});
    EXPECT_EQ(third.WaitForExit(), 0);
    // One timer period, with room for a loaded machine.
    EXPECT_EQ(first.WaitForExit(5), 0);
    EXPECT_FALSE(kw::shell::FindWindowByCaption(caption).has_value());
}

}  // namespace
