// The main window's life: hidden start, discovery and removal, the deferred open, the requests of
// a second start, system commands and keys, log-off, the language switch and the dialog chain.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "src/app/language_switch.h"
#include "src/lang/language_table.h"
#include "src/dialogs/dialog_chain.h"
#include "tests/mainwnd/main_window_fixture.h"

namespace kwtest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace kw;

// A settings dialog stand-in for the chain.
ui::DialogTemplate ChildTemplate(int resourceId) {
    ui::DialogTemplate t;
    t.resourceId = resourceId;
    t.caption = u"Child";
    return t;
}

std::string WindowState(CKWConfigDlg& w) {
    return Format("open=%d visible=%d at=%d icon=%u", w.AdapterOpen() ? 1 : 0, w.IsVisible() ? 1 : 0, w.Position().x,
                  TrayPicture());
}

TEST_F(MainWindowTest, StartsHiddenOffScreenAndShowsTheIconOnceAnAdapterIsFound) {
    World(kOneAdapter + "Present=0\n" + kOpenNetwork);
    Read(WindowState);
    Each(1, WindowState);
    Do([](CKWConfigDlg&) { sim::PlugAdapter(1); });
    Each(1, WindowState);
    Do([](CKWConfigDlg&) { EXPECT_EQ(shell::UseIcon(shell::IconMouse::DoubleClick), ""); });
    Read([](CKWConfigDlg& w) { return WindowState(w) + Format(" foreground=%d", w.IsForeground() ? 1 : 0); });
    Run();
    EXPECT_THAT(trace, ElementsAre("open=0 visible=0 at=30000 icon=0", "open=0 visible=0 at=30000 icon=0",
                                   "open=1 visible=0 at=30000 icon=193", "open=1 visible=1 at=302 icon=193 foreground=1"));
    const std::string tip = " tip=\"KWWlan -- Wireless LAN Configuration Tool\"";
    EXPECT_THAT(Events("tray:"),
                ElementsAre("tray: add icon=189" + tip, "tray: delete", "tray: add icon=193" + tip, "tray: delete"));
    EXPECT_FALSE(StartHidden());
}

TEST_F(MainWindowTest, RemovalIsNoticedWithinOneTickAndTheAdapterIsOpenedAgain) {
    World(kOneAdapter + kOpenNetwork);
    std::vector<std::string> removalLog;
    Do([](CKWConfigDlg& w) { w.PostCommand(kCmdOpenUtilityWindow); });
    Each(1, WindowState);
    Do([](CKWConfigDlg&) {
        sim::UnplugAdapter(1);
        sim::ClearCallLog();
    });
    Each(1, WindowState);
    Do([&](CKWConfigDlg&) { removalLog = sim::CallLog(); });
    Each(1, WindowState);
    Do([](CKWConfigDlg&) { sim::PlugAdapter(1); });
    Each(1, WindowState);
    Run();
    EXPECT_THAT(trace, ElementsAre("open=1 visible=1 at=302 icon=193", "open=0 visible=0 at=302 icon=0",
                                   "open=0 visible=0 at=302 icon=0", "open=1 visible=0 at=302 icon=193"));
    // The saved status (0) goes back to the service; the gone adapter refuses it.
    EXPECT_THAT(removalLog, ElementsAre("QueryWL_DriverVersion() = -1", "SetWL_WZCStatus(0) = -1", "KwCloseAdapter() = 1"));
    EXPECT_EQ(SavedZeroConfigStatus(), 0);  // the second opening saved it again
}

TEST_F(MainWindowTest, RemovalClosesTheOpenDialogsAlongTheChain) {
    World(kOneAdapter + kOpenNetwork);
    ui::CDialog general(ChildTemplate(900));
    ui::CDialog wepKeys(ChildTemplate(901));
    int results[2] = {-1, -1};
    Do([](CKWConfigDlg& w) { w.PostCommand(kCmdOpenUtilityWindow); });
    user.Run([&](ui::CDialog&) {
        CChainedDialogScope scope(kDialogIdGeneral, &general, kDialogIdMain);
        results[0] = general.DoModal();
    });
    user.Run([&](ui::CDialog&) {
        CChainedDialogScope scope(kDialogIdWepKeys, &wepKeys, kDialogIdGeneral);
        results[1] = wepKeys.DoModal();
    });
    Read([](CKWConfigDlg&) { return Format("active=%d current=%d", ui::ActiveDialog()->ResourceId(), CurrentDialogId()); });
    Do([](CKWConfigDlg&) { sim::UnplugAdapter(1); });
    Each(1, [](CKWConfigDlg& w) {
        return Format("active=%d current=%d visible=%d", ui::ActiveDialog()->ResourceId(), CurrentDialogId(),
                      w.IsVisible() ? 1 : 0);
    });
    Run();
    EXPECT_THAT(trace, ElementsAre("active=901 current=3", "active=156 current=0 visible=0"));
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 0);
}

TEST_F(MainWindowTest, RebuiltNotificationAreaGetsTheIconBackOnlyWhileTheAdapterAnswers) {
    World(kOneAdapter + kOpenNetwork);
    auto picture = [](CKWConfigDlg&) { return std::to_string(TrayPicture()); };
    user.Tick(6);
    Read(picture);
    Do([](CKWConfigDlg&) { shell::RebuildNotificationArea(); });
    Read(picture);
    Do([](CKWConfigDlg&) {
        sim::UnplugAdapter(1);
        shell::RebuildNotificationArea();
    });
    Read(picture);
    Run();
    EXPECT_THAT(trace, ElementsAre("192", "192", "0"));
}

TEST_F(MainWindowTest, DeferredOpenWaitsTwentyTicks) {
    World("[System]\nFixWindisPnPBug=1\n[Adapter1]\nDeviceName=\\DEVICE\\KWTEST2\nInstanceKey=0012\n"
          "MatchingDeviceId=PCI\\VEN_6B57&DEV_7200\nChipType=2\n" +
          kOpenNetwork);
    config.matchingDeviceIds[0] = u"pci\\ven_6b57&dev_7200";
    Each(21, [](CKWConfigDlg& w) { return std::string(w.AdapterOpen() ? "open" : "-"); });
    Run();
    std::vector<std::string> expected(19, "-");
    expected.insert(expected.end(), {"open", "open"});
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(ToUtf8(ReleaseChipMode()), "KW7200");
}

TEST_F(MainWindowTest, ExitRequestEndsTheProgramWithinOneTick) {
    World(kOneAdapter + kOpenNetwork);
    Each(1, [](CKWConfigDlg&) { return std::string("tick"); });
    Do([](CKWConfigDlg&) {
        WriteChipDword(kValueExitRequest, 1);
        sim::ClearCallLog();
    });
    Each(2, [](CKWConfigDlg&) { return std::string("still running"); });
    Run();
    EXPECT_THAT(trace, ElementsAre("tick"));
    EXPECT_EQ(ReadChipDword(kValueExitRequest), 0u);
    EXPECT_THAT(Events("window:").back(), HasSubstr("window: close"));
    // Exit gives the adapter back: the extended requests off, the saved status returned and checked.
    EXPECT_THAT(Log(), ElementsAre("SetWL_KWUseKWXOidState(0) = 0", "KW_GetOSVersion() = 7", "SetWL_WZCStatus(0) = 0",
                                   "KW_GetOSVersion() = 7", "QueryWL_CheckWZCStatus() = 0"));
}

class WakeUpRequestTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WakeUpRequestTest, ShowsTheWindowOnlyWhenAnAdapterIsOpen) {
    const bool present = GetParam();
    World(kOneAdapter + (present ? "" : "Present=0\n") + kOpenNetwork);
    Do([](CKWConfigDlg&) { WriteChipDword(kValueWakeUpRequest, 1); });
    Each(1, [](CKWConfigDlg& w) {
        return Format("visible=%d request=%u", w.IsVisible() ? 1 : 0, ReadChipDword(kValueWakeUpRequest).value_or(9));
    });
    Run();
    EXPECT_THAT(trace, ElementsAre(present ? "visible=1 request=0" : "visible=0 request=0"));
}

INSTANTIATE_TEST_SUITE_P(Cases, WakeUpRequestTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "AdapterOpen" : "NoAdapter"; });

TEST_F(MainWindowTest, SystemCommandsAndKeysNeverEndTheWindow) {
    World(kOneAdapter + kOpenNetwork);
    ui::CWnd other;
    struct Case {
        const char* name;
        std::function<void(CKWConfigDlg&)> act;
    };
    const Case cases[] = {
        {"close box", [](CKWConfigDlg& w) { w.SendMessage(ui::kMsgSysCommand, ui::kSysCommandClose, 0x00050100); }},
        {"minimise box", [](CKWConfigDlg& w) { w.SendMessage(ui::kMsgSysCommand, ui::kSysCommandMinimize, 0x00050100); }},
        {"close key", [](CKWConfigDlg& w) { w.SendMessage(ui::kMsgSysCommand, ui::kSysCommandClose | 0x3, 0); }},
        {"minimise key", [](CKWConfigDlg& w) { w.SendMessage(ui::kMsgSysCommand, ui::kSysCommandMinimize, 0); }},
        {"code 16", [](CKWConfigDlg& w) { w.SendMessage(ui::kMsgSysCommand, 16, 0x00050100); }},
        {"enter", [](CKWConfigDlg& w) { w.UserKey(ui::Key::Enter); }},
        {"esc", [](CKWConfigDlg& w) { w.UserKey(ui::Key::Escape); }},
    };
    Do([&](CKWConfigDlg&) { other.Create(u"Other", {0, 0, 10, 10}, true); });
    for (const Case& c : cases) {
        Do([&](CKWConfigDlg& w) {
            w.PostCommand(kCmdOpenUtilityWindow);
        });
        Do([&](CKWConfigDlg& w) {
            other.SetForeground();
            c.act(w);
        });
        Each(1, [&](CKWConfigDlg& w) {
            return Format("%s: visible=%d foreground=%d", c.name, w.IsVisible() ? 1 : 0, w.IsForeground() ? 1 : 0);
        });
    }
    user.Close();  // the close box as the console gives it
    Each(1, [](CKWConfigDlg& w) { return Format("console close: visible=%d", w.IsVisible() ? 1 : 0); });
    Run();
    EXPECT_THAT(trace, ElementsAre("close box: visible=0 foreground=0", "minimise box: visible=0 foreground=0",
                                   "close key: visible=1 foreground=1", "minimise key: visible=1 foreground=1",
                                   "code 16: visible=1 foreground=0", "enter: visible=1 foreground=0",
                                   "esc: visible=1 foreground=0", "console close: visible=0"));
}

// Runs the log-off handler with a second window carrying the subclassing property; returns
// which of the two windows still carry it afterwards.
class EndSessionTest : public MainWindowTest {
protected:
    std::string PropertiesAfterEndSession() {
        ui::CWnd other;
        std::string left;
        Do([&](CKWConfigDlg& w) {
            other.Create(u"Other", {0, 0, 10, 10});
            other.SetProp(u"AfxOldWndProc423", 7);
            w.SetProp(u"AfxOldWndProc423", 8);
            w.SendMessage(ui::kMsgEndSession, 1);
            left = Format("main=%d other=%d", static_cast<int>(w.GetProp(u"AfxOldWndProc423")),
                          static_cast<int>(other.GetProp(u"AfxOldWndProc423")));
        });
        Run();
        return left;
    }
};

TEST_F(EndSessionTest, TheServiceKeyPutsBackTheWindowProcedures) {
    World(kOneAdapter);
    reg::Key key;
    ASSERT_EQ(reg::Key::Create(reg::Hive::LocalMachine, u"SYSTEM\\CurrentControlSet\\Services\\KWWlan", key), reg::kSuccess);
    EXPECT_EQ(PropertiesAfterEndSession(), "main=0 other=0");
}

TEST_F(EndSessionTest, WithoutTheServiceKeyNothingChanges) {
    World(kOneAdapter);
    EXPECT_EQ(PropertiesAfterEndSession(), "main=8 other=7");
}

TEST_F(EndSessionTest, TheWindows95FamilyLeavesTheWindowsAlone) {
    World("[System]\nIsWindows95=1\n" + kOneAdapter);
    reg::Key key;
    ASSERT_EQ(reg::Key::Create(reg::Hive::LocalMachine, u"SYSTEM\\CurrentControlSet\\Services\\KWWlan", key), reg::kSuccess);
    EXPECT_EQ(PropertiesAfterEndSession(), "main=8 other=7");
}

class LanguageSwitchTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::string file = root_.Write("lang.INI",
                                       "[LANGUAGES]\nLanguage_1_Section=English\nLanguage_2_Section=Other\n"
                                       "[English]\nMP_Dialog_Title=Title One\n"
                                       "[Other]\nMP_Dialog_Title=Title Two\nMP_Network_Adapter=Karte:\n"
                                       "MP_STA_Net_List_SSID=Name\nMP_Small_Icon_Tip=Tip Two\n"
                                       "MP_Small_Icon_Item_1=Oeffnen\nMP_Small_Icon_Item_2=Beenden\n");
        ASSERT_TRUE(Language().Load(file, kLanguageIndexSection));
    }
    void TearDown() override {
        Language().Load(root_.File("none.INI"), kLanguageIndexSection);
        MainWindowTest::TearDown();
    }
};

TEST_F(LanguageSwitchTest, RelabelsTheOpenDialogsTheWindowAndTheTray) {
    World(kOneAdapter + kOpenNetwork);
    ui::CDialog general(ChildTemplate(900));
    ui::CDialog advanced(ChildTemplate(901));
    std::vector<std::string> relocalised;
    Each(1, [](CKWConfigDlg& w) { return ToUtf8(w.Caption()); });
    Do([&](CKWConfigDlg& w) {
        // While the advanced settings are open from the general settings, the main window's
        // caption reads what it read before the switch until the walk reaches it.
        CChainedDialogScope first(kDialogIdGeneral, &general, kDialogIdMain,
                                  [&] { relocalised.push_back("general " + ToUtf8(w.Caption())); });
        CChainedDialogScope second(kDialogIdAdvanced, &advanced, kDialogIdGeneral,
                                   [&] { relocalised.push_back("advanced " + ToUtf8(w.Caption())); });
        ApplyLanguageSwitch(1);
    });
    Read([](CKWConfigDlg& w) {
        return ToUtf8(w.Caption()) + "|" + Text(w, mainwnd::kAdapterLabel) + "|" +
               ToUtf8(w.ListView(mainwnd::kNetworkList).Column(0)->title);
    });
    user.ChooseMenu(kCmdExit);
    Do([](CKWConfigDlg&) { EXPECT_EQ(shell::UseIcon(shell::IconMouse::RightClick), ""); });
    Each(1, [](CKWConfigDlg&) { return std::string("not ended"); });
    Run();
    EXPECT_THAT(trace, ElementsAre("Title One   ", "Title Two   |Karte:|Name"));
    EXPECT_THAT(relocalised, ElementsAre("advanced Title One   ", "general Title One   "));
    EXPECT_THAT(Events("tray: modify tip"), ElementsAre("tray: modify tip=\"Tip Two\""));
    EXPECT_THAT(Events("tray: menu"), ElementsAre("tray: menu 32771 \"Oeffnen\" default | 32773 \"Beenden\" -> 32773"));
    EXPECT_EQ(ReadChipDword(kValueLanguageId), 2u);
}

}  // namespace
}  // namespace kwtest
