#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/ui/dialog.h"
#include "platform/ui/window.h"
#include "tests/ui/ui_fixture.h"

namespace kwtest {
namespace {

using namespace kw::ui;
using ::testing::ElementsAre;

class CRecorder : public CWnd {
public:
    std::vector<std::string> seen;

protected:
    void OnMessage(unsigned msg, uintptr_t wparam, intptr_t) override {
        seen.push_back("message " + std::to_string(msg) + " " + std::to_string(wparam));
    }
    void OnCommand(int id, Notify) override { seen.push_back("command " + std::to_string(id)); }
    void OnTimer(int id) override { seen.push_back("timer " + std::to_string(id)); }
    void OnEndSession(bool ending) override { seen.push_back(ending ? "end session" : "session goes on"); }
    void OnDestroy() override { seen.push_back("destroy"); }
};

// Runs a modal loop until everything queued has been delivered.
void DeliverQueued() {
    CDialog pump(DialogTemplate{1, u"pump", {}});
    pump.DoModal();
}

class WindowTest : public UiTest {};

TEST_F(WindowTest, PostedMessagesReachLiveWindowsInOrder) {
    CRecorder a, b;
    ASSERT_TRUE(a.Create(u"A", Rect{0, 0, 10, 10}));
    ASSERT_TRUE(b.Create(u"B", Rect{0, 0, 10, 10}));
    EXPECT_FALSE(a.Create(u"again", Rect{}));
    unsigned taskbar = RegisterWindowMessage(u"TaskbarCreated");
    EXPECT_GE(taskbar, kFirstRegisteredMessage);
    EXPECT_EQ(RegisterWindowMessage(u"TaskbarCreated"), taskbar);
    EXPECT_NE(RegisterWindowMessage(u"CTrayIcon"), taskbar);
    EXPECT_EQ(RegisterWindowMessage(u""), 0u);

    BroadcastMessage(taskbar, 3);
    a.PostCommand(32771);
    PostMessage(a.Handle(), kMsgEndSession, 1);
    b.PostCommand(32773);
    EXPECT_FALSE(PostMessage(0, kMsgCommand, 1));
    b.Destroy();  // what was queued for it is dropped
    b.Destroy();
    DeliverQueued();

    const std::string broadcast = "message " + std::to_string(taskbar) + " 3";
    EXPECT_THAT(a.seen, ElementsAre(broadcast, "command 32771", "end session"));
    EXPECT_THAT(b.seen, ElementsAre("destroy"));
    EXPECT_EQ(FromHandle(b.Handle()), nullptr);
    EXPECT_THAT(ThreadWindows(), ElementsAre(&a));
}

TEST_F(WindowTest, TimersOfEveryWindowFollowTheShortestPeriod) {
    CRecorder fast, slow;
    fast.Create(u"fast", Rect{});
    slow.Create(u"slow", Rect{});
    EXPECT_EQ(fast.SetTimer(7, 500), 7);
    slow.SetTimer(1, 2000);
    CRecorder notCreated;
    EXPECT_EQ(notCreated.SetTimer(1, 100), 0);
    QueueTicks(4);
    DeliverQueued();
    EXPECT_THAT(fast.seen, ElementsAre("timer 7", "timer 7", "timer 7", "timer 7"));
    EXPECT_THAT(slow.seen, ElementsAre("timer 1"));
    EXPECT_EQ(PendingTicks(), 0u);
}

TEST_F(WindowTest, PropertiesPlacementAndSystemCommands) {
    CRecorder window;
    EXPECT_FALSE(window.SetProp(u"AfxOldWndProc423", 1));
    window.Create(u"Main", Rect{0, 0, 300, 200});
    EXPECT_TRUE(window.SetProp(u"AfxOldWndProc423", 0x1234));
    EXPECT_EQ(window.GetProp(u"AfxOldWndProc423"), 0x1234);
    EXPECT_EQ(window.GetProp(u"afxoldwndproc423"), 0);
    EXPECT_THAT(window.PropNames(), ElementsAre(u"AfxOldWndProc423"));
    EXPECT_EQ(window.RemoveProp(u"AfxOldWndProc423"), 0x1234);
    EXPECT_EQ(window.RemoveProp(u"AfxOldWndProc423"), 0);

    window.MoveTo(30000, 30000);
    EXPECT_EQ(window.Position().x, 30000);
    window.Center();
    EXPECT_EQ(window.Position().x, (kScreen.width - 300) / 2);
    EXPECT_EQ(window.Position().y, (kScreen.height - 200) / 2);
    EXPECT_EQ(window.Position().width, 300);

    CRecorder other;
    other.Create(u"Other", Rect{});
    EXPECT_TRUE(other.IsTop());
    window.SetForeground();
    EXPECT_TRUE(window.IsForeground());
    EXPECT_TRUE(window.IsTop());
    EXPECT_EQ(ForegroundWindow(), &window);
    SetMainWindow(&window);
    EXPECT_EQ(MainWindow(), &window);

    window.SendMessage(kMsgSysCommand, kSysCommandMinimize, 0);
    EXPECT_TRUE(window.IsMinimized());
    window.Show(true);
    EXPECT_FALSE(window.IsMinimized());
    window.SendMessage(kMsgSysCommand, kSysCommandClose, 0x00100010);
    EXPECT_FALSE(window.IsCreated());  // a plain window's close destroys it
    EXPECT_EQ(ForegroundWindow(), nullptr);
    EXPECT_EQ(MainWindow(), &window);  // named until the object is gone
    {
        CRecorder shortLived;
        SetMainWindow(&shortLived);
    }
    EXPECT_EQ(MainWindow(), nullptr);
}

}  // namespace
}  // namespace kwtest
