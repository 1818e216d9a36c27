#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <thread>

#include "platform/clock.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/window_text.h"
#include "tests/ui/test_dialogs.h"
#include "tests/ui/ui_fixture.h"

namespace kwtest {
namespace {

using ::testing::ElementsAre;

class DialogTest : public UiTest {};

TEST_F(DialogTest, NestedDialogsEndInnermostFirstWithTheirResults) {
    CTestDlg dialog;
    CTestDriver user;
    int childOpenings = 0;
    user.WhenOpened(kChildDialogId, [&](CDialog& child) {
        EXPECT_EQ(ActiveDialog(), &child);
        if (++childOpenings == 1) {
            EXPECT_EQ(child.Owner(), &dialog);
            user.Click(kChildOpenGrandchild).Click(kChildEnd42);
        } else {
            EXPECT_EQ(ModalDepth(), 3u);
            EXPECT_EQ(child.Owner()->Owner(), &dialog);
            user.Press(Key::Enter);  // the default button, OK
        }
    });
    user.Click(kOpenChild).Click(IDOK);

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.childResult, 42);
    EXPECT_EQ(childOpenings, 2);
    EXPECT_EQ(ModalDepth(), 0u);
    EXPECT_FALSE(dialog.IsCreated());
    EXPECT_THAT(user.Lines(), ElementsAre("window: open \"Test Dialog\"", "window: open \"Child\"",
                                          "window: open \"Child\"", "window: close \"Child\"",
                                          "window: close \"Child\"", "window: close \"Test Dialog\""));
}

TEST_F(DialogTest, EndingAnOuterDialogWaitsForTheInnerLoop) {
    CTestDlg dialog;
    CTestDriver user;
    user.WhenOpened(kChildDialogId, [&](CDialog&) {
        user.Run([&](CDialog& child) {
            dialog.EndDialog(5);
            EXPECT_EQ(ActiveDialog(), &child);  // the child's loop still runs
        });
        user.Close();
    });
    user.Click(kOpenChild).Click(kCheck);

    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_EQ(dialog.childResult, IDCANCEL);
    EXPECT_EQ(user.PendingActions(), 1u);  // the outer loop took no further step
    EXPECT_FALSE(dialog.IsItemChecked(kCheck));
}

TEST_F(DialogTest, LoopsEndWithCancelWhenInputRunsOut) {
    {
        CTestDlg dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // no input source at all
    }
    CTestDlg dialog;
    CTestDriver user;
    user.Click(kOpenChild);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.childResult, IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // a dialog object can run again
}

TEST_F(DialogTest, UserEditsNotifyAndProgramEditsDoNot) {
    CTestDlg dialog;
    CTestDriver user;
    user.Type(kHexEdit, u"12 G4zz5");
    user.Run([](CDialog& d) {
        auto& self = static_cast<CTestDlg&>(d);
        EXPECT_THAT(self.seen, ElementsAre("command 40 editchange"));  // the filter's own change is silent
        EXPECT_EQ(d.Edit(kHexEdit).Text(), u"1245");
        EXPECT_EQ(d.Edit(kHexEdit).SelStart(), 2);
        EXPECT_EQ(d.Edit(kHexEdit).SelEnd(), 2);
        d.Edit(kHexEdit).SetText(u"zz");  // the program may set anything, beyond the limit too
        d.Edit(kHexEdit).SetText(u"0123456789ABCDEF");
        EXPECT_EQ(self.seen.size(), 1u);
        EXPECT_EQ(d.Edit(kHexEdit).Text(), u"0123456789ABCDEF");
    });
    user.Type(kHexEdit, u"0123456789ABCDEF");  // the user is held to the limit of 10
    user.Type(kMaskedEdit, u"secret");
    user.Type(kReadOnlyEdit, u"changed");
    user.Type(kCheck, u"x");
    user.Click(IDOK);

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.Edit(kHexEdit).Text(), u"0123456789");
    EXPECT_EQ(dialog.Edit(kMaskedEdit).Text(), u"secret");
    EXPECT_EQ(DescribeControl(dialog.Edit(kMaskedEdit)), "41 edit \"******\"");
    EXPECT_EQ(dialog.Edit(kReadOnlyEdit).Text(), u"fixed");
    EXPECT_THAT(user.Errors(), ElementsAre("error: control 42 (edit) is read-only",
                                           "error: control 21 (check) takes no typing"));
    EXPECT_THAT(dialog.seen, ElementsAre("command 40 editchange", "command 40 editchange", "command 41 editchange"));
}

TEST_F(DialogTest, RadioGroupsReadAsAnIndexAndStayApart) {
    CTestDlg dialog;
    CTestDriver user;
    user.Run([](CDialog& d) {
        EXPECT_EQ(d.RadioIndex(kRadioAlpha), 0);
        EXPECT_EQ(d.RadioIndex(kRadioOne), -1);
        d.EnableItem(kRadioBeta, false);
    });
    user.Click(kRadioGamma).Click(kRadioTwo).Click(kRadioTwo).Click(kRadioBeta).Click(kGroupBreak);
    user.Run([](CDialog& d) {
        EXPECT_EQ(d.RadioIndex(kRadioAlpha), 2);
        EXPECT_EQ(d.RadioIndex(kRadioBeta), 2);  // any member names the group
        EXPECT_EQ(d.RadioIndex(kRadioOne), 1);
        d.SetRadioIndex(kRadioAlpha, 7);
        EXPECT_EQ(d.RadioIndex(kRadioAlpha), -1);
        EXPECT_EQ(d.RadioIndex(kRadioTwo), 1);
        d.SetRadioIndex(kRadioOne, 0);
        EXPECT_TRUE(d.IsItemChecked(kRadioOne));
        EXPECT_FALSE(d.IsItemChecked(kRadioTwo));
    });
    dialog.DoModal();
    // A click on a checked radio button still tells the dialog.
    EXPECT_THAT(dialog.seen, ElementsAre("command 32 clicked", "command 35 clicked", "command 35 clicked"));
    EXPECT_THAT(user.Errors(), ElementsAre("error: control 31 (radio) is disabled",
                                           "error: control 33 (label) cannot be clicked"));
}

TEST_F(DialogTest, ListViewClicksMoveTheSelectionMark) {
    CTestDlg dialog;
    CTestDriver user;
    user.Select(kListView, 2).DoubleClick(kListView, 0).Select(kListView, 3).DoubleClick(kListBox, 0);
    user.Run([](CDialog& d) {
        CListView& view = d.ListView(kListView);
        EXPECT_EQ(view.SelectionMark(), 0);
        EXPECT_TRUE(view.IsItemSelected(0));
        EXPECT_FALSE(view.IsItemSelected(2));
        EXPECT_EQ(view.NextSelected(-1), 0);
        EXPECT_THAT(DescribeItems(view), ElementsAre("0: Home | 50%", "1: Office | 50%", "2: Cafe | 50%"));
        view.InsertItem(0, u"New");  // rows inserted above the mark move it down
        EXPECT_EQ(view.SelectionMark(), 1);
        view.DeleteAllItems();
        EXPECT_EQ(view.SelectionMark(), -1);
        EXPECT_EQ(DescribeControl(view), "60 listview \"SSID | Strength\" sel=-1");
    });
    dialog.DoModal();
    EXPECT_THAT(dialog.seen, ElementsAre("click 60 2", "click 60 0", "dblclick 60 0"));
    EXPECT_THAT(user.Errors(), ElementsAre("error: control 60 (listview) has no item 3",
                                           "error: control 52 (listbox) is not a list view"));
}

TEST_F(DialogTest, CombosSelectByIndexPrefixAndTyping) {
    CTestDlg dialog;
    CTestDriver user;
    user.Select(kListCombo, 2).Type(kListCombo, u"#1").Type(kEditCombo, u"peap").Select(kListBox, 1);
    user.Run([](CDialog& d) {
        CComboBox& edit = d.Combo(kEditCombo);
        EXPECT_EQ(edit.CurSel(), -1);  // typed text is no item
        EXPECT_EQ(edit.Text(), u"peap");
        EXPECT_EQ(edit.SelectString(-1, u"tt"), 2);
        EXPECT_EQ(edit.Text(), u"TTLS");
        EXPECT_EQ(edit.SelectString(-1, u"x"), -1);
        EXPECT_EQ(edit.CurSel(), 2);  // a failed search leaves the selection
        EXPECT_EQ(edit.SetCurSel(9), -1);
        EXPECT_EQ(edit.Text(), u"");
        EXPECT_EQ(d.Combo(kListCombo).Text(), u"#3");
    });
    dialog.DoModal();
    EXPECT_THAT(dialog.seen, ElementsAre("command 51 selchange", "command 50 editchange", "command 52 selchange"));
    EXPECT_THAT(user.Errors(), ElementsAre("error: control 51 (combo) has no edit field"));
    EXPECT_EQ(dialog.ListBox(kListBox).Text(), u"second");
}

TEST_F(DialogTest, TrackBarScrollsAreClampedToTheRange) {
    CTestDlg dialog;
    CTestDriver user;
    user.Scroll(kTrackBar, 100).Scroll(kTrackBar, 1000).Scroll(kProgress, 5);
    dialog.DoModal();
    EXPECT_THAT(dialog.seen, ElementsAre("scroll 71 256", "scroll 71 1000"));
    EXPECT_EQ(dialog.ItemText(kTrackValue), u"< 1000 >");
    EXPECT_EQ(DescribeControl(dialog.TrackBar(kTrackBar)), "71 trackbar \"\" pos=1000 range=256..2346");
    EXPECT_THAT(user.Errors(), ElementsAre("error: control 70 (progress) is not a track bar"));
}

TEST_F(DialogTest, TimersFireOnlyWhenTicksAreQueued) {
    CTestDlg dialog;
    CTestDriver user;
    uint64_t start = 0;
    user.Run([&](CDialog&) { start = kw::clock::NowMs(); });
    user.Tick(3);
    user.Run([&](CDialog&) {
        EXPECT_EQ(dialog.ticks, 3);
        EXPECT_EQ(kw::clock::NowMs() - start, 3u * kTimerPeriodMs);
        // Work on another thread that sleeps in virtual time moves the clock, not the timers.
        std::thread([] { kw::clock::SleepMs(60000); }).join();
    });
    user.Run([&](CDialog&) { EXPECT_EQ(dialog.ticks, 3); });
    // The timer keeps running under a modal child.
    user.WhenOpened(kChildDialogId, [&](CDialog&) {
        user.Tick(2).Run([&](CDialog&) { EXPECT_EQ(dialog.ticks, 5); }).Close();
    });
    user.Click(kOpenChild);
    user.Run([&](CDialog& d) {
        EXPECT_TRUE(d.KillTimer(kTimerId));
        start = kw::clock::NowMs();
    });
    user.Tick(2);
    user.Run([&](CDialog&) { EXPECT_EQ(kw::clock::NowMs() - start, 2u * kFallbackTickMs); });
    dialog.DoModal();
    EXPECT_EQ(dialog.ticks, 5);
    EXPECT_EQ(dialog.Progress(kProgress).Pos(), 50);
    EXPECT_TRUE(user.Errors().empty());
}

TEST_F(DialogTest, MessageBoxAnswersAreTakenInOrder) {
    CTestDlg dialog;
    CTestDriver user;
    user.Answer(IDNO).Answer(IDOK);  // the second does not fit a yes/no box
    user.Click(kAsk).Click(kAsk).Click(kAsk);
    int fromWorker = 0;
    user.Run([&](CDialog&) {
        // A worker thread's box is answered while the user-interface thread waits for it.
        std::thread worker([&] { fromWorker = ShowMessageBox(nullptr, u"Done", u"Worker"); });
        worker.join();
    });
    dialog.DoModal();
    EXPECT_THAT(dialog.answers, ElementsAre(IDNO, IDYES, IDYES));
    EXPECT_EQ(fromWorker, IDOK);
    auto lines = user.Lines();
    const std::string question = "messagebox: \"Question\" \"Use the previous setting?\\nReally?\" [yes/no] -> ";
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 1, lines.end() - 1),
                ElementsAre(question + "no", question + "yes", question + "yes",
                            "messagebox: \"Worker\" \"Done\" [ok] -> ok"));
}

TEST_F(DialogTest, EnterEscapeAndTheCloseBox) {
    struct Case {
        const char* name;
        std::function<void(CTestDriver&, CTestDlg&)> script;
        int result;
    };
    const Case cases[] = {
        {"esc", [](CTestDriver& u, CTestDlg&) { u.Press(Key::Escape); }, IDCANCEL},
        {"close box", [](CTestDriver& u, CTestDlg&) { u.Close(); }, IDCANCEL},
        {"enter presses OK", [](CTestDriver& u, CTestDlg&) { u.Press(Key::Enter); }, IDOK},
        {"swallowed enter",
         [](CTestDriver& u, CTestDlg& d) {
             d.swallowEnter = true;
             u.Press(Key::Enter).Run([](CDialog& self) { self.EndDialog(77); });
         },
         77},
        {"enter with OK disabled",
         [](CTestDriver& u, CTestDlg&) {
             u.Run([](CDialog& d) { d.EnableItem(IDOK, false); }).Press(Key::Enter).Run([](CDialog& d) {
                 d.EndDialog(78);
             });
         },
         78},
    };
    for (const Case& c : cases) {
        CTestDlg dialog;
        CTestDriver user;
        c.script(user, dialog);
        EXPECT_EQ(dialog.DoModal(), c.result) << c.name;
    }
}

TEST_F(DialogTest, MissingOrMistypedIdsReachADetachedControl) {
    CTestDlg dialog;
    CEdit& missing = dialog.Edit(9999);
    missing.SetText(u"ignored");
    CEdit& wrongKind = dialog.Edit(kCheck);
    EXPECT_EQ(&missing, &wrongKind);
    EXPECT_EQ(missing.Dialog(), nullptr);
    dialog.SetItemText(9999, u"x");
    EXPECT_EQ(dialog.ItemText(9999), u"");
    EXPECT_EQ(dialog.RadioIndex(kCheck), -1);
}

}  // namespace
}  // namespace kwtest
