// The main window and the Zero Configuration service: taking the adapter over at opening, the
// service taking it back during operation, reclaiming it, and handing it back at exit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "src/dialogs/dialog_chain.h"
#include "tests/mainwnd/main_window_fixture.h"

namespace kwtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using namespace kw;
using namespace kw::mainwnd;

const std::string kServiceControls = "[System]\nWZCStatus=1\n";
const std::string kQuestion =
    "messagebox: \"Wireless Zero Configuration\" \"Wireless LAN is Controlled by the Windows Zero Configuration.\\n"
    "Do you want to use KWWLan as the Wireless LAN configuration tool?\" [yes/no] -> ";

std::string State(CKWConfigDlg& w) {
    return Format("icon=%u visible=%d control=%d button=%d frame=%u", TrayPicture(), w.IsVisible() ? 1 : 0,
                  w.ZeroConfig().ControlState(), Shown(w, kPanelButton), w.Static(kActivityIcon).Icon());
}

TEST_F(MainWindowTest, OpeningTakesTheAdapterFromTheServiceAndRestores) {
    World(kServiceControls + kOneAdapter + kOpenNetwork);
    user.Tick(5);
    Read(State);
    Run();
    EXPECT_THAT(trace, ElementsAre("icon=189 visible=0 control=0 button=1 frame=176"));
    auto zeroConfig = Calls("QueryWL_CheckWZCStatus");
    ASSERT_GE(zeroConfig.size(), 2u);
    EXPECT_EQ(zeroConfig[0], "QueryWL_CheckWZCStatus() = 1");
    EXPECT_EQ(zeroConfig[1], "QueryWL_CheckWZCStatus() = 0");
    EXPECT_THAT(Calls("SetWL_WZCStatus"), ElementsAre("SetWL_WZCStatus(0) = 0"));
    EXPECT_FALSE(Calls("SetWL_SSID").empty());  // the stored settings went to the driver
    EXPECT_EQ(SavedZeroConfigStatus(), 1);
}

TEST_F(MainWindowTest, WithoutClassKeyAccessTheServiceKeepsTheAdapter) {
    World(kServiceControls + kOneAdapter + "ClassKeyAccess=0\n" + kOpenNetwork);
    Each(6, State);
    Do([](CKWConfigDlg& w) { w.PostCommand(kCmdOpenUtilityWindow); });
    Read(State);
    Run();
    // Every tick ends after the tracking: the activity picture does not move.
    EXPECT_EQ(trace, std::vector<std::string>(7, "icon=174 visible=0 control=1 button=0 frame=0"));
    EXPECT_TRUE(Calls("SetWL_WZCStatus").empty());
    EXPECT_TRUE(Calls("SetWL_SSID").empty());
    EXPECT_TRUE(Called("KWStopWZCService() = 0"));
    EXPECT_THAT(Events("messagebox:"),
                ElementsAre("messagebox: \"Wireless Zero Configuration\" \"Wireless LAN is Controlled by the Windows "
                            "Zero Configuration.\" [ok] -> ok"));
}

TEST_F(MainWindowTest, ServiceTakingTheAdapterClosesTheWindowsAndTheUserTakesItBack) {
    World(kServiceControls + kOneAdapter + kOpenNetwork);
    ui::DialogTemplate child;
    child.resourceId = 900;
    child.caption = u"Child";
    ui::CDialog general(child);
    int childResult = -1;
    user.Tick(6);
    Do([](CKWConfigDlg& w) { w.PostCommand(kCmdOpenUtilityWindow); });
    user.Run([&](ui::CDialog&) {
        CChainedDialogScope scope(kDialogIdGeneral, &general, kDialogIdMain);
        childResult = general.DoModal();
    });
    Do([](CKWConfigDlg&) {
        sim::SetZeroConfigStatus(1);
        sim::ClearCallLog();
    });
    Each(2, State);
    Read([&](CKWConfigDlg&) {
        return Format("child=%d active=%d", childResult, ui::ActiveDialog()->ResourceId()) + " " +
               (Called("SetWL_KWUseKWXOidState(0) = 0") ? "extended off" : "") + " " +
               (Called("SetWL_WZCStatus(1) = 0") ? "status back" : "");
    });
    user.Answer(ui::IDNO);
    Do([](CKWConfigDlg& w) { w.PostCommand(kCmdOpenUtilityWindow); });
    Read(State);
    user.Answer(ui::IDYES);
    Do([](CKWConfigDlg& w) {
        w.PostCommand(kCmdOpenUtilityWindow);
        sim::ClearCallLog();
    });
    Read(State);
    Each(1, [](CKWConfigDlg& w) { return State(w) + (Called("SetWL_SSID([], 0) = 0") ? " restored" : ""); });
    Run();
    // While the service has the adapter each tick ends before the activity picture moves.
    EXPECT_THAT(trace, ElementsAre("icon=174 visible=0 control=1 button=1 frame=177",
                                   "icon=174 visible=0 control=1 button=1 frame=177",
                                   "child=0 active=156 extended off status back",
                                   "icon=174 visible=0 control=1 button=1 frame=177",
                                   "icon=174 visible=1 control=1 button=1 frame=177",
                                   "icon=189 visible=1 control=0 button=1 frame=175 restored"));
    EXPECT_THAT(Events("messagebox:"), ElementsAre(kQuestion + "no", kQuestion + "yes"));
}

struct HandBackCase {
    const char* name;
    std::string world;
    std::vector<std::string> expected;  // the calls of Exit
};

class HandBackTest : public MainWindowTest, public ::testing::WithParamInterface<HandBackCase> {};

const HandBackCase kHandBackCases[] = {
    {"SavedStatusReturned", kServiceControls + kOneAdapter,
     {"SetWL_KWUseKWXOidState(0) = 0", "KW_GetOSVersion() = 7", "SetWL_WZCStatus(1) = 0", "KW_GetOSVersion() = 7",
      "QueryWL_CheckWZCStatus() = 1"}},
    {"ServiceRestarted", "[System]\nOSVersionCode=8\nWZCStatus=1\n" + kOneAdapter,
     {"SetWL_KWUseKWXOidState(0) = 0", "KW_GetOSVersion() = 8", "KWStartWZCService() = 0"}},
    {"OtherSystemsPassOnlyAKnownStatus", "[System]\nOSVersionCode=5\nWZCStatus=2\n" + kOneAdapter,
     {"SetWL_KWUseKWXOidState(0) = 0", "KW_GetOSVersion() = 5", "KW_GetOSVersion() = 5", "KW_GetOSVersion() = 5"}},
    {"NoClassKeyAccess", kServiceControls + kOneAdapter + "ClassKeyAccess=0\n", {"SetWL_KWUseKWXOidState(0) = 0"}},
};

TEST_P(HandBackTest, ExitFromTheTrayMenuHandsTheAdapterBack) {
    const HandBackCase& c = GetParam();
    World(c.world);
    user.Tick(2);
    user.ChooseMenu(kCmdExit);
    Do([](CKWConfigDlg&) {
        sim::ClearCallLog();
        EXPECT_EQ(shell::UseIcon(shell::IconMouse::RightClick), "");
    });
    Each(1, [](CKWConfigDlg&) { return std::string("still running"); });
    Run();
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(Log(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, HandBackTest, ::testing::ValuesIn(kHandBackCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
