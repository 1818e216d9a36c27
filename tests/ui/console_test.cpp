#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <unistd.h>

#include <sstream>
#include <thread>

#include "platform/console/console.h"
#include "platform/console/line_reader.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "tests/ui/test_dialogs.h"
#include "tests/ui/tray_window.h"
#include "tests/ui/ui_fixture.h"

namespace kwtest {
namespace {

using kw::console::CConsole;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::vector<std::string> kInitialShow = {
    "window \"Test Dialog\"",
    "10 label \"Name:\"",
    "11 group \"Options\"",
    "12 icon \"175\"",
    "20 button \"Open Child\"",
    "21 check \"Enabled\"",
    "22 button \"Ask\"",
    "30 radio \"Alpha\" checked",
    "31 radio \"Beta\"",
    "32 radio \"Gamma\"",
    "33 label \"Second:\"",
    "34 radio \"One\"",
    "35 radio \"Two\"",
    "40 edit \"\"",
    "41 edit \"\"",
    "42 edit \"fixed\"",
    "50 combo \"\" sel=-1",
    "51 combo \"#1\" sel=0",
    "52 listbox \"\" sel=-1",
    "60 listview \"SSID | Strength\" sel=-1",
    "70 progress \"\" pos=0 range=0..100",
    "71 trackbar \"\" pos=2346 range=256..2346",
    "72 label \"\"",
    "1 button \"OK\"",
    "2 button \"Cancel\"",
};

class ConsoleTest : public UiTest {
protected:
    // Runs the test dialog under a console reading the script; returns the printed lines.
    std::vector<std::string> Run(const std::string& script, CTestDlg& dialog,
                                 const std::function<void(CConsole&)>& prepare = nullptr) {
        std::istringstream in(script);
        std::ostringstream out;
        CConsole console(in, out);
        console.Attach();
        if (prepare) prepare(console);
        result = dialog.DoModal();
        return SplitLines(out.str());
    }
    int result = 0;
};

TEST_F(ConsoleTest, AScriptDrivesTheActiveWindowAndReadsItBack) {
    CTestDlg dialog;
    auto lines = Run(R"(# a comment line
show
   # an indented comment
type 40 12 G4
get 40
type 41 pass word
get 41
items 60
select 60 1
get 60
click 31      # a comment after the command
get 31
answer no
click 22
tick 2
get 70
scroll 71 300
get 72
items 51
select 51 3
get 51
close
)",
                     dialog);
    std::vector<std::string> expected{"window: open \"Test Dialog\""};
    expected.insert(expected.end(), kInitialShow.begin(), kInitialShow.end());
    expected.insert(expected.end(), {
        "40 edit \"124\"",
        "41 edit \"*********\"",
        "0: Home | 50%",
        "1: Office | 50%",
        "2: Cafe | 50%",
        "60 listview \"SSID | Strength\" sel=1",
        "31 radio \"Beta\" checked",
        "messagebox: \"Question\" \"Use the previous setting?\\nReally?\" [yes/no] -> no",
        "70 progress \"\" pos=20 range=0..100",
        "72 label \"< 300 >\"",
        "0: #1",
        "1: #2",
        "2: #3",
        "3: #4",
        "51 combo \"#4\" sel=3",
        "window: close \"Test Dialog\"",
    });
    EXPECT_THAT(lines, ElementsAreArray(expected));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.Edit(kMaskedEdit).Text(), u"pass word");
    EXPECT_EQ(dialog.ticks, 2);
}

TEST_F(ConsoleTest, EveryBadCommandPrintsOneErrorAndChangesNothing) {
    const std::vector<std::string> bad = {
        "bogus",          "click",          "click abc",      "click 999",     "click 10",
        "click 2 3",      "select 51 9",    "select 51 x",    "select 51",     "dblclick 52 0",
        "type 42 x",      "type",           "scroll 70 5",    "scroll 71",     "key space",
        "key",            "answer maybe",   "answer",         "tick -1",       "tick 1 2",
        "tick 99999999",  "tick x",         "get 12a",        "get",           "items 40",
        "tray click",     "tray menu x",    "tray menu 0",    "tray wiggle",   "tray",
        "show extra",     "close now",      "quit now",       "sim remove 1",  "click 2147483648",
    };
    std::string script;
    for (const auto& command : bad) script += command + "\n";
    script += "show\n";
    CTestDlg dialog;
    auto lines = Run(script, dialog);
    ASSERT_EQ(lines.size(), 1 + bad.size() + kInitialShow.size() + 1);
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(lines[1 + i].rfind("error: ", 0), 0u) << bad[i] << ": " << lines[1 + i];
    EXPECT_EQ(lines[1 + 3], "error: no control 999 in \"Test Dialog\"");
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 1 + static_cast<long>(bad.size()), lines.end() - 1),
                ElementsAreArray(kInitialShow));
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_EQ(dialog.ticks, 0);
}

TEST_F(ConsoleTest, NestedWindowsAnswersAndTheEndOfInput) {
    CTestDlg dialog;
    int endings = 0;
    auto lines = Run(R"(click 20
show
key enter
click 22
answer yes
answer no
click 22
click 22
quit
click 21
)",
                     dialog, [&](CConsole& console) {
                         console.SetEndOfInputHandler([&] {
                             ++endings;
                             dialog.PostCommand(IDOK);
                         });
                     });
    const std::string question = "messagebox: \"Question\" \"Use the previous setting?\\nReally?\" [yes/no] -> ";
    EXPECT_THAT(lines, ElementsAre("window: open \"Test Dialog\"", "window: open \"Child\"", "window \"Child\"",
                                   "1 button \"OK\"", "4 button \"End 42\"",
                                   "5 button \"Nest\"", "window: close \"Child\"", question + "yes", question + "yes",
                                   question + "no", "window: close \"Test Dialog\""));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(endings, 1);
    EXPECT_EQ(dialog.childResult, IDOK);
    EXPECT_FALSE(dialog.IsItemChecked(kCheck));  // nothing is read after quit
}

TEST_F(ConsoleTest, ExtraCommandWordsGoToTheirHandlers) {
    CTestDlg dialog;
    std::vector<std::vector<std::string>> calls;
    auto lines = Run("sim remove 1   # unplug\nsim wzc\n", dialog, [&](CConsole& console) {
        console.RegisterCommand("sim", "sim ...", "world events", [&](const std::vector<std::string>& args) {
            calls.push_back(args);
            return args.size() == 2 ? std::string() : std::string("sim wzc takes a status");
        });
    });
    EXPECT_THAT(calls, ElementsAre(ElementsAre("remove", "1"), ElementsAre("wzc")));
    EXPECT_THAT(lines, ElementsAre("window: open \"Test Dialog\"", "error: sim wzc takes a status",
                                   "window: close \"Test Dialog\""));
}

TEST_F(ConsoleTest, TrayCommandsUseTheIconAndItsMenu) {
    RegisterTrayMenu();
    CIconWindow icon;
    CTestDlg dialog;
    auto lines = Run("tray click\ntray dblclick\ntray rclick\ntray menu 32773\ntray menu 5\n", dialog,
                     [&](CConsole&) {
                         SetMainWindow(&dialog);
                         icon.Create(u"", Rect{0, 0, 10, 10});
                         NotifyIcon(NotifyAction::Add, Record(icon.Handle(), kNotifyMessage | kNotifyTip, 0, u"KWWlan"));
                     });
    const std::string menu = "tray: menu 32771 \"Open Utility Window\" default | 32773 \"Exit KWConfig\" -> ";
    EXPECT_THAT(lines, ElementsAre("tray: add tip=\"KWWlan\"", "window: open \"Test Dialog\"", menu + "none",
                                   menu + "32773", "error: the menu has no command 5", menu + "none",
                                   "window: close \"Test Dialog\""));
    EXPECT_THAT(dialog.seen, ElementsAre("command 32771 clicked", "command 32773 clicked"));
}

TEST_F(ConsoleTest, AMenuChoiceWithoutAMenuIsAnError) {
    CIconWindow icon;  // no menu template: right clicks show nothing
    CTestDlg dialog;
    auto lines = Run("tray menu 32773\nshow\n", dialog, [&](CConsole&) {
        SetMainWindow(&dialog);
        icon.Create(u"", Rect{});
        NotifyIcon(NotifyAction::Add, Record(icon.Handle(), kNotifyMessage, 0, u""));
    });
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], "error: no menu was shown");
    EXPECT_EQ(lines[3], "window \"Test Dialog\"");
}

TEST_F(ConsoleTest, ATerminalPromptsPrintsWhatACommandChangedAndFiresTheTimerInRealTime) {
    class CFastTimerDlg : public CDialog {
    public:
        CFastTimerDlg() : CDialog(DialogTemplate{1, u"Fast", {{kCheck, ControlKind::CheckBox, u"Box", 0}}}) {}
        int ticks = 0;

    protected:
        bool OnInitDialog() override {
            SetTimer(1, 10);
            return true;
        }
        void OnTimer(int) override { ++ticks; }
    } dialog;
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    std::ostringstream out;
    {
        CConsole console(pipeEnds[0], out);
        console.Attach();
        EXPECT_FALSE(kw::clock::IsVirtual());
        std::thread typist([&] {
            ASSERT_EQ(::write(pipeEnds[1], "click 21\n", 9), 9);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::close(pipeEnds[1]);
        });
        dialog.DoModal();
        typist.join();
    }
    ::close(pipeEnds[0]);
    kw::clock::UseVirtualTime(true);
    EXPECT_GE(dialog.ticks, 2);  // the timer ran while nobody typed
    EXPECT_TRUE(dialog.IsItemChecked(kCheck));
    EXPECT_EQ(out.str(),
              "window: open \"Fast\"\n"
              "> 21 check \"Box\" checked\n"  // the line the click changed, not the whole window
              "> window: close \"Fast\"\n");
}

TEST_F(ConsoleTest, LinesAreBoundedAndLoseTheirCarriageReturn) {
    const std::string longLine(kw::console::kMaxLineBytes + 100, 'x');
    const std::string input = "one\r\n" + longLine + "\ntwo\nlast";
    auto readAll = [](kw::console::LineReader& reader) {
        std::vector<std::string> lines;
        std::string line;
        while (reader.Read(line, 1000) == kw::console::ReadResult::Line) lines.push_back(line);
        return lines;
    };
    std::istringstream stream(input);
    kw::console::StreamLineReader fromStream(stream);
    auto streamLines = readAll(fromStream);

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    std::thread writer([&] {
        size_t written = 0;
        while (written < input.size()) {
            ssize_t n = ::write(pipeEnds[1], input.data() + written, std::min<size_t>(1000, input.size() - written));
            if (n <= 0) break;
            written += static_cast<size_t>(n);
        }
        ::close(pipeEnds[1]);
    });
    kw::console::FdLineReader fromFd(pipeEnds[0]);
    auto fdLines = readAll(fromFd);
    writer.join();
    ::close(pipeEnds[0]);

    const std::string cut(kw::console::kMaxLineBytes, 'x');
    for (const auto& lines : {streamLines, fdLines}) {
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], "one");
        EXPECT_EQ(lines[1], cut);
        EXPECT_EQ(lines[2], "two");
        EXPECT_EQ(lines[3], "last");
    }
}

}  // namespace
}  // namespace kwtest

namespace kwtest {
namespace {

// True when the wanted lines appear in this order among the printed ones.
bool AppearInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    size_t next = 0;
    for (const auto& line : lines) {
        if (next < wanted.size() && line == wanted[next]) ++next;
    }
    return next == wanted.size();
}

class TerminalConsoleTest : public ConsoleTest {
protected:
    // Runs the test dialog under a console reading a terminal-like pipe that holds the script.
    std::vector<std::string> RunTerminal(const std::string& script, CTestDlg& dialog) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        EXPECT_EQ(::write(ends[1], script.data(), script.size()), static_cast<ssize_t>(script.size()));
        ::close(ends[1]);
        std::ostringstream out;
        {
            CConsole console(ends[0], out);
            console.Attach();
            result = dialog.DoModal();
        }
        ::close(ends[0]);
        kw::clock::UseVirtualTime(true);
        return SplitLines(out.str());
    }
};

TEST_F(TerminalConsoleTest, AMessageBoxWaitsForTheAnswerWithItsQuestionInThePrompt) {
    CTestDlg dialog;
    auto lines = RunTerminal("answer yes\nclick 22\nclick 21\nget 21\nanswer ok\nanswer no\nanswer yes\n", dialog);
    const std::string prompt = "messagebox \"Question\" answer yes/no> ";
    EXPECT_TRUE(AppearInOrder(lines, {
                                         "> error: no message box waits for an answer",
                                         "> messagebox: \"Question\" \"Use the previous setting?\\nReally?\" [yes/no] waits "
                                         "for an answer",
                                         prompt + "error: a message box waits: answer yes/no first",
                                         prompt + "21 check \"Enabled\"",  // looking is allowed meanwhile
                                         prompt + "error: the message box takes yes/no",
                                         prompt + "messagebox: \"Question\" \"Use the previous setting?\\nReally?\" "
                                                  "[yes/no] -> no",
                                         "> error: no message box waits for an answer",
                                     }))
        << ::testing::PrintToString(lines);
    EXPECT_EQ(dialog.answers, std::vector<int>{kw::ui::IDNO});
    EXPECT_FALSE(dialog.IsItemChecked(kCheck));  // the click while the box waited did nothing
}

TEST_F(TerminalConsoleTest, AnAnimationFrameIsShownOnlyToAScript) {
    std::ostringstream scriptOut;
    std::istringstream none;
    CConsole script(none, scriptOut);
    script.OnFrameEvent("tray: modify icon=192");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::ostringstream terminalOut;
    {
        CConsole terminal(ends[0], terminalOut);
        terminal.OnFrameEvent("tray: modify icon=192");
        terminal.OnEvent("tray: modify icon=178");
    }
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_EQ(scriptOut.str(), "tray: modify icon=192\n");
    EXPECT_EQ(terminalOut.str(), "tray: modify icon=178\n");
}

TEST_F(ConsoleTest, HelpListsEveryCommandAndGivesTheFormOfOne) {
    CTestDlg dialog;
    auto lines = Run("help\nhelp select\nhelp sim\nhelp nothing\nfrobnicate\n", dialog, [](CConsole& console) {
        console.RegisterCommand("sim", "sim remove N", "unplug adapter N",
                                [](const std::vector<std::string>&) { return std::string(); });
    });
    std::vector<std::string> firstWords;
    for (const auto& line : lines) firstWords.push_back(line.substr(0, line.find(' ')));
    for (const char* command : {"help", "show", "get", "items", "click", "select", "dblclick", "type", "scroll",
                                "close", "key", "answer", "tray", "tick", "quit", "sim"}) {
        EXPECT_EQ(std::count(firstWords.begin(), firstWords.end(), command), 1) << command;
    }
    EXPECT_TRUE(AppearInOrder(lines, {"usage: select ID N",
                                      "  choose item N of a combo box or list, or click row N of a list view",
                                      "usage: sim remove N", "  unplug adapter N",
                                      "error: unknown command nothing (help lists the commands)",
                                      "error: unknown command frobnicate (help lists the commands)"}))
        << ::testing::PrintToString(lines);
}

TEST(VisibleTextTest, ControlCharactersFromOutsideCannotReachTheTerminal) {
    using kw::console::VisibleText;
    EXPECT_EQ(VisibleText("plain \"text\" \xC3\xA4"), "plain \"text\" \xC3\xA4");
    EXPECT_EQ(VisibleText("a\x1B[2Jb\x07"), "a\\x1B[2Jb\\x07");
    EXPECT_EQ(VisibleText(std::string("n\0l", 3)), "n\\x00l");
    EXPECT_EQ(VisibleText("del\x7F"), "del\\x7F");
    EXPECT_EQ(VisibleText("c1 \xC2\x9B" "31m \xC2\x85"), "c1 \\u009B31m \\u0085");
    EXPECT_EQ(VisibleText("nbsp \xC2\xA0 cut \xC2"), "nbsp \xC2\xA0 cut \xC2");
}

TEST(ConsolePrintTest, EveryPrintedLineShowsControlCharactersVisibly) {
    std::istringstream in;
    std::ostringstream out;
    CConsole console(in, out);
    console.PrintLine("0: " + kw::ToUtf8(u"Evil\x1B]0;title\x07") + " | 50%");
    console.OnEvent("window: open " + kw::ui::QuoteText(u"Cap\x9Btion"));
    EXPECT_EQ(out.str(), "0: Evil\\x1B]0;title\\x07 | 50%\nwindow: open \"Cap\\u009Btion\"\n");
}

}  // namespace
}  // namespace kwtest
