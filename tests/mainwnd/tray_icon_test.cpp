// The notification-area icon: its record, showing and hiding, and the mouse turned into commands.
#include "src/app/tray_icon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/shell/menu.h"
#include "platform/text.h"
#include "platform/ui/test_driver.h"
#include "tests/support/test_env.h"

namespace {

using ::testing::ElementsAre;
using namespace kw;

// The window the icon's commands go to.
class CTargetDlg : public ui::CDialog {
public:
    CTargetDlg() : CDialog(ui::DialogTemplate{}) {}
    std::vector<int> commands;

protected:
    void OnCommand(int id, ui::Notify) override { commands.push_back(id); }
};

class TrayIconTest : public kwtest::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ui::ResetMessageQueue();
        shell::ResetNotificationArea();
        shell::ForgetMenuTemplates();
        RegisterTrayMenu();
    }
    void TearDown() override {
        ui::ResetMessageQueue();
        IsolatedTest::TearDown();
    }

    std::vector<shell::ShownIcon> Icons() const { return shell::NotificationIcons(); }

    CTrayIcon tray;
};

TEST_F(TrayIconTest, CreateAddsTheIconWithItsRecord) {
    ASSERT_TRUE(tray.CreateIcon(u"Tip", ui::LoadIcon(189), kCmdOpenUtilityWindow, false));
    EXPECT_TRUE(tray.IsIconCreated());
    const shell::NotifyIconData& record = tray.Record();
    EXPECT_EQ(record.size, 152u);
    EXPECT_EQ(record.id, 173u);
    EXPECT_EQ(record.window, tray.Handle());
    EXPECT_EQ(record.callbackMessage, ui::RegisterWindowMessage(u"CTrayIcon"));
    EXPECT_FALSE(tray.IsVisible());
    EXPECT_EQ(tray.Caption(), u"");
    EXPECT_EQ(tray.Position().width, 10);
    auto icons = Icons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].icon, 189u);
    EXPECT_EQ(icons[0].tip, u"Tip");
    EXPECT_EQ(icons[0].callbackMessage, record.callbackMessage);
}

TEST_F(TrayIconTest, HiddenShownRenamedAndDestroyed) {
    ASSERT_TRUE(tray.CreateIcon(u"Tip", ui::LoadIcon(189), kCmdOpenUtilityWindow, false));
    EXPECT_TRUE(tray.HideIcon());
    EXPECT_TRUE(Icons().empty());
    EXPECT_FALSE(tray.SetIcon(ui::LoadIcon(192)));  // nothing shown to change
    EXPECT_TRUE(tray.ShowIcon(ui::LoadIcon(193)));
    ASSERT_EQ(Icons().size(), 1u);
    EXPECT_EQ(Icons()[0].icon, 193u);
    EXPECT_EQ(Icons()[0].tip, u"Tip");
    // A tip longer than the record holds is cut to 63 characters.
    std::u16string longTip(70, u'T');
    EXPECT_TRUE(tray.SetTip(longTip));
    EXPECT_EQ(Icons()[0].tip, longTip.substr(0, 63));
    EXPECT_TRUE(tray.SetIcon(ui::LoadIcon(174)));
    EXPECT_EQ(Icons()[0].icon, 174u);
    tray.DestroyIcon();
    EXPECT_TRUE(Icons().empty());
    EXPECT_FALSE(tray.IsIconCreated());
    EXPECT_FALSE(tray.IsCreated());
    EXPECT_FALSE(tray.ShowIcon(ui::LoadIcon(193)));
    EXPECT_FALSE(tray.SetDefaultItem(kCmdExit, false));
    EXPECT_TRUE(Icons().empty());
}

struct MouseCase {
    const char* name;
    std::vector<shell::IconMouse> mouse;
    int menuChoice;
    bool defaultByPosition;
    std::vector<int> expected;  // commands that reach the main window
};

class TrayMouseTest : public TrayIconTest, public ::testing::WithParamInterface<MouseCase> {};

const MouseCase kMouseCases[] = {
    {"SingleClickDoesNothing", {shell::IconMouse::Click}, 0, false, {}},
    {"DoubleClickOpens", {shell::IconMouse::DoubleClick}, 0, false, {kCmdOpenUtilityWindow}},
    {"DoubleClickWithDefaultByPosition", {shell::IconMouse::DoubleClick}, 0, true, {kCmdOpenUtilityWindow}},
    {"MenuExit", {shell::IconMouse::RightClick}, kCmdExit, false, {kCmdExit}},
    {"MenuDismissed", {shell::IconMouse::RightClick}, 0, false, {}},
};

TEST_P(TrayMouseTest, TurnsTheMouseIntoCommands) {
    const MouseCase& c = GetParam();
    CTargetDlg main;
    ui::SetMainWindow(&main);
    ASSERT_TRUE(tray.CreateIcon(u"Tip", ui::LoadIcon(189), kCmdOpenUtilityWindow, false));
    if (c.defaultByPosition) {
        ASSERT_TRUE(tray.SetDefaultItem(0, true));
    }
    tray.SetMenuTexts(u"Open it", u"Leave");
    ui::CTestDriver user;
    if (c.menuChoice != 0) user.ChooseMenu(c.menuChoice);
    bool foreground = false;
    for (shell::IconMouse mouse : c.mouse) {
        user.Run([mouse](ui::CDialog&) { EXPECT_EQ(shell::UseIcon(mouse), ""); });
    }
    user.Run([&](ui::CDialog&) { foreground = main.IsForeground(); });
    main.DoModal();
    ui::SetMainWindow(nullptr);
    EXPECT_EQ(main.commands, c.expected);
    if (!c.expected.empty()) {
        EXPECT_TRUE(foreground);
    }
    if (c.mouse[0] == shell::IconMouse::RightClick) {
        std::string chosen = c.menuChoice ? std::to_string(c.menuChoice) : "none";
        EXPECT_THAT(user.Lines(), ElementsAre("window: open \"\"",
                                              "tray: menu 32771 \"Open it\" default | 32773 \"Leave\" -> " + chosen,
                                              "window: close \"\""));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TrayMouseTest, ::testing::ValuesIn(kMouseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayIconTest, DefaultItemIsStoredOnlyWhenItChanges) {
    ASSERT_TRUE(tray.CreateIcon(u"Tip", ui::LoadIcon(189), kCmdOpenUtilityWindow, false));
    shell::ForgetMenuTemplates();  // no menu to load from now on
    EXPECT_TRUE(tray.SetDefaultItem(kCmdOpenUtilityWindow, false));  // unchanged: no load needed
    EXPECT_FALSE(tray.SetDefaultItem(kCmdExit, false));
}

}  // namespace
