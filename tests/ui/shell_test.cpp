#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/shell/menu.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/test_driver.h"
#include "tests/ui/test_dialogs.h"
#include "tests/ui/tray_window.h"
#include "tests/ui/ui_fixture.h"

namespace kwtest {
namespace {

using namespace kw::shell;
using ::testing::ElementsAre;

class ShellTest : public UiTest {};

TEST_F(ShellTest, IconsAreAddedModifiedAndDeletedByTheShellsRules) {
    CTestDriver user;
    const kw::ui::WindowHandle window = 5;
    EXPECT_TRUE(
        NotifyIcon(NotifyAction::Add, Record(window, kNotifyMessage | kNotifyIcon | kNotifyTip, 189, u"KWWlan")));
    EXPECT_FALSE(NotifyIcon(NotifyAction::Add, Record(window, kNotifyIcon, 189, u"")));
    EXPECT_TRUE(NotifyIcon(NotifyAction::Modify, Record(window, kNotifyIcon, 192, u"")));
    EXPECT_TRUE(NotifyIcon(NotifyAction::Modify, Record(window, kNotifyTip, 0, u"New tip")));
    NotifyIconData wrongSize = Record(window, kNotifyIcon, 193, u"");
    wrongSize.size = 88;
    EXPECT_FALSE(NotifyIcon(NotifyAction::Modify, wrongSize));
    ASSERT_EQ(NotificationIcons().size(), 1u);
    EXPECT_EQ(NotificationIcons()[0].icon, 192u);
    EXPECT_EQ(NotificationIcons()[0].tip, u"New tip");
    EXPECT_TRUE(NotifyIcon(NotifyAction::Delete, Record(window, 0, 0, u"")));
    EXPECT_FALSE(NotifyIcon(NotifyAction::Delete, Record(window, 0, 0, u"")));
    EXPECT_FALSE(NotifyIcon(NotifyAction::Modify, Record(window, kNotifyIcon, 189, u"")));
    EXPECT_THAT(user.Lines(), ElementsAre("tray: add icon=189 tip=\"KWWlan\"", "tray: modify icon=192",
                                          "tray: modify tip=\"New tip\"", "tray: delete"));
}

TEST_F(ShellTest, TipsKeepAtMost63UnitsAndWholeCharacters) {
    NotifyIconData data;
    EXPECT_EQ(SetTipText(data, std::u16string(70, u'x')), 63u);
    EXPECT_EQ(TipText(data), std::u16string(63, u'x'));
    EXPECT_EQ(data.tip[63], u'\0');
    std::u16string pairAtTheEdge = std::u16string(62, u'y') + u"\U0001F600";
    EXPECT_EQ(SetTipText(data, pairAtTheEdge), 62u);
    EXPECT_EQ(TipText(data), std::u16string(62, u'y'));
    EXPECT_EQ(SetTipText(data, u"short"), 5u);
    EXPECT_EQ(TipText(data), u"short");
}

TEST_F(ShellTest, IconClicksReachTheIconWindowAndItsMenuReachesTheMainWindow) {
    RegisterTrayMenu();
    CIconWindow icon;
    CTestDlg main;
    CTestDriver user;
    EXPECT_FALSE(UseIcon(IconMouse::Click).empty());  // nothing in the notification area yet
    user.Run([&](CDialog& d) {
        SetMainWindow(&d);
        icon.Create(u"", Rect{0, 0, 10, 10});
        NotifyIcon(NotifyAction::Add, Record(icon.Handle(), kNotifyMessage | kNotifyIcon | kNotifyTip, 189, u"tip"));
        EXPECT_EQ(UseIcon(IconMouse::Click), "");
    });
    user.Run([&](CDialog&) { EXPECT_EQ(UseIcon(IconMouse::DoubleClick), ""); });
    user.ChooseMenu(kExitCommand).ChooseMenu(5);
    user.Run([&](CDialog&) { EXPECT_EQ(UseIcon(IconMouse::RightClick), ""); });
    user.Run([&](CDialog&) {
        EXPECT_EQ(icon.lastChoice, kExitCommand);
        EXPECT_EQ(UseIcon(IconMouse::RightClick), "");  // 5 is not on the menu: dismissed
    });
    user.Run([&](CDialog&) {
        EXPECT_EQ(icon.lastChoice, 0);
        EXPECT_EQ(UseIcon(IconMouse::RightClick), "");  // nothing queued: dismissed
    });
    main.DoModal();

    // A single click does nothing; the release after a double click opens; the menu's choice
    // arrives as a command.
    EXPECT_THAT(main.seen, ElementsAre("command 32771 clicked", "command 32773 clicked"));
    EXPECT_THAT(icon.mouse, ElementsAre("513", "514", "513", "514", "515", "514", "516", "517", "516", "517", "516", "517"));
    EXPECT_EQ(CursorPosition().x, kScreen.width - 40);
    const std::string menu = "tray: menu 32771 \"Open Utility Window\" default | 32773 \"Exit KWConfig\" -> ";
    auto lines = user.Lines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 2, lines.end() - 1),
                ElementsAre(menu + "32773", menu + "none", menu + "none"));
}

TEST_F(ShellTest, MenusLoadIndependentCopiesOfTheirTemplate) {
    CMenu menu;
    EXPECT_FALSE(menu.Load(kMenuId));
    RegisterTrayMenu();
    ASSERT_TRUE(menu.Load(kMenuId));
    EXPECT_EQ(menu.SubMenu(1), nullptr);
    CPopupMenu* popup = menu.SubMenu(0);
    EXPECT_FALSE(popup->SetDefaultItem(2, true));
    EXPECT_EQ(popup->DefaultCommand(), -1);
    EXPECT_TRUE(popup->SetDefaultItem(1, true));
    EXPECT_EQ(popup->DefaultCommand(), kExitCommand);
    EXPECT_TRUE(popup->ModifyItem(kOpenCommand, false, 40000, u"Renamed"));
    EXPECT_FALSE(popup->ModifyItem(kOpenCommand, false, 1, u"gone"));
    CMenu fresh;
    ASSERT_TRUE(fresh.Load(kMenuId));
    EXPECT_EQ(fresh.SubMenu(0)->TextAt(0), u"Open");
    EXPECT_EQ(fresh.SubMenu(0)->DefaultCommand(), -1);
    EXPECT_EQ(popup->TextAt(0), u"Renamed");
    EXPECT_EQ(popup->Track(Point{}, 0, true), 0);  // no input source: dismissed
}

TEST_F(ShellTest, RebuildingTheAreaDropsIconsAndTellsEveryWindow) {
    class CListener : public CWnd {
    public:
        int rebuilt = 0;

    protected:
        void OnMessage(unsigned msg, uintptr_t, intptr_t) override {
            if (msg == RegisterWindowMessage(kTaskbarCreatedMessage)) ++rebuilt;
        }
    } listener;
    listener.Create(u"listener", Rect{});
    NotifyIcon(NotifyAction::Add, Record(listener.Handle(), kNotifyIcon, 189, u""));
    RebuildNotificationArea();
    EXPECT_TRUE(NotificationIcons().empty());
    CDialog pump(DialogTemplate{1, u"pump", {}});
    pump.DoModal();
    EXPECT_EQ(listener.rebuilt, 1);
}

}  // namespace
}  // namespace kwtest
