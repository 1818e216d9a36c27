#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/shell/window_lookup.h"
#include "platform/ui/window.h"
#include "tests/ui/ui_fixture.h"

namespace kwtest {
namespace {

using kw::shell::FindWindowByCaption;

// The helper process with a window of the given caption, talked to through two pipes.
class WindowProcess {
public:
    explicit WindowProcess(const std::string& caption) {
        int toChild[2], fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(toChild[0], 0);
            ::dup2(fromChild[1], 1);
            ::close(toChild[1]);
            ::close(fromChild[0]);
            ::execl(KW_UI_WINDOW_HELPER, KW_UI_WINDOW_HELPER, caption.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        in_ = ::fdopen(toChild[1], "w");
        out_ = ::fdopen(fromChild[0], "r");
    }
    ~WindowProcess() {
        if (in_) std::fclose(in_);
        if (out_) std::fclose(out_);
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    int pid() const { return pid_; }
    // The next line the helper writes ("ready", "done"), or empty when it has gone.
    std::string Read() {
        char line[64];
        if (!out_ || !std::fgets(line, sizeof line, out_)) return {};
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    void Say(const std::string& command) {
        std::fprintf(in_, "%s\n", command.c_str());
        std::fflush(in_);
    }
    int WaitForExit() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return status;
    }
    void Kill() {
        ::kill(pid_, SIGKILL);
        WaitForExit();
    }

private:
    int pid_ = -1;
    bool reaped_ = false;
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
};

class WindowLookupTest : public UiTest {};

TEST_F(WindowLookupTest, AnotherProcessesWindowIsFoundByItsExactCaption) {
    const std::string caption = "Vivurori DOD Ivirodevovove Dede Viva   ";
    WindowProcess other(caption);
    ASSERT_EQ(other.Read(), "ready");

    auto found = FindWindowByCaption(kw::FromUtf8(caption));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->pid, other.pid());
    EXPECT_FALSE(FindWindowByCaption(u"Vivurori DOD Ivirodevovove Dede Viva"));  // blanks count
    EXPECT_FALSE(FindWindowByCaption(u"vivurori dod ivirodevovove dede viva   "));  // so does case

    other.Say("caption Renamed");
    ASSERT_EQ(other.Read(), "done");
    EXPECT_FALSE(FindWindowByCaption(kw::FromUtf8(caption)));
    EXPECT_TRUE(FindWindowByCaption(u"Renamed"));

    other.Say("exit");
    EXPECT_EQ(other.WaitForExit(), 0);
    EXPECT_FALSE(FindWindowByCaption(u"Renamed"));
}

TEST_F(WindowLookupTest, ACrashedProcessLeavesNothingThatIsFound) {
    WindowProcess other("Crashing");
    ASSERT_EQ(other.Read(), "ready");
    ASSERT_TRUE(FindWindowByCaption(u"Crashing"));
    const std::string folder = kw::StateRoot() + "/windows";
    auto windowFiles = [&] {
        size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            count += entry.path().extension() == ".window";
        return count;
    };
    EXPECT_EQ(windowFiles(), 1u);
    other.Kill();
    EXPECT_EQ(windowFiles(), 1u);  // the file outlives the process ...
    EXPECT_FALSE(FindWindowByCaption(u"Crashing"));
    EXPECT_EQ(windowFiles(), 0u);  // ... until a lookup meets it
}

// A link planted where the window file is staged must not be written through.
TEST_F(WindowLookupTest, PlantedLinkAtTheStagingNameLeavesItsTargetUntouched) {
    TempDir outside;
    const std::string victim = outside.Write("victim", "precious");
    const std::string folder = kw::StateRoot() + "/windows";
    std::filesystem::create_directories(folder);
    const std::string file = folder + "/mine.window";
    std::filesystem::create_symlink(victim, file + ".tmp");
    EXPECT_EQ(kw::shell::PublishWindow(7, u"Planted", file), file);
    EXPECT_EQ(ReadFileBytes(victim), "precious");
    EXPECT_TRUE(FindWindowByCaption(u"Planted").has_value());
    kw::shell::WithdrawWindow(file);
}

TEST_F(WindowLookupTest, OwnWindowsCountUntilDestroyedAndBadFilesAreIgnored) {
    const std::string folder = kw::StateRoot() + "/windows";
    std::filesystem::create_directories(folder);
    const std::string self = std::to_string(::getpid());
    const std::string start = std::to_string(kw::shell::ProcessStartTime(::getpid()).value_or(0));
    const std::pair<const char*, std::string> badFiles[] = {
        {"empty.window", ""},
        {"magic.window", "KWWINDOW 2\n" + self + " " + start + " 1\nBad"},
        {"fields.window", "KWWINDOW 1\n" + self + " " + start + "\nBad"},
        {"letters.window", "KWWINDOW 1\n" + self + " x" + start + " 1\nBad"},
        {"huge.window", "KWWINDOW 1\n" + self + " " + start + " 1\nBad" + std::string(5000, ' ')},
        {"overflow.window", "KWWINDOW 1\n99999999999999999999999 " + start + " 1\nBad"},
        {"ignored.txt", "KWWINDOW 1\n" + self + " " + start + " 1\nBad"},
    };
    for (const auto& [name, bytes] : badFiles) std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    EXPECT_FALSE(FindWindowByCaption(u"Bad"));

    kw::ui::CWnd window;
    window.Create(u"Bad", kw::ui::Rect{});  // the same caption, for real this time
    auto found = FindWindowByCaption(u"Bad");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->pid, ::getpid());
    EXPECT_EQ(found->handle, window.Handle());
    window.Destroy();
    EXPECT_FALSE(FindWindowByCaption(u"Bad"));
}

TEST_F(WindowLookupTest, ProcessStartTimesTellRunningProcessesApart) {
    EXPECT_TRUE(kw::shell::ProcessStartTime(::getpid()).has_value());
    EXPECT_FALSE(kw::shell::ProcessStartTime(0).has_value());
    EXPECT_FALSE(kw::shell::ProcessStartTime(-5).has_value());
    WindowProcess other("Short-lived");
    ASSERT_EQ(other.Read(), "ready");
    int pid = other.pid();
    EXPECT_TRUE(kw::shell::ProcessStartTime(pid).has_value());
    other.Kill();
    EXPECT_FALSE(kw::shell::ProcessStartTime(pid).has_value());
}

}  // namespace
}  // namespace kwtest
