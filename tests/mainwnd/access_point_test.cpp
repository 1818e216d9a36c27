// Access-point mode in the main window: the stored mode brought back at opening, choosing the
// current mode, the panel's repairs written back, sixteen stations and the five-tick refresh.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/control.h"
#include "src/mainwnd/bluetooth_utility.h"
#include "src/settings/setting_keys.h"
#include "tests/mainwnd/main_window_fixture.h"
#include "tests/support/child_records.h"

namespace kwtest {
namespace {

using namespace kw;
using namespace kw::mainwnd;
using ::testing::ElementsAre;

class AccessPointTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        config.enableAccessPoint = 1;
        SetReleaseChipMode(u"KW7100");
    }
    void StoreMode(int mode) { WriteChipText(kValueOperationMode, FormatW("%d", mode)); }
    static std::string Stations(int count) {
        std::string text;
        for (int i = 1; i <= count; ++i) text += Format("[Station%d]\nMAC=02 33 00 00 00 %02X\n", i, i);
        return text;
    }
};

TEST_F(AccessPointTest, StoredAccessPointModeSwitchesAStationDriverAndOpensOnThePage) {
    World(kOneAdapter + Stations(16));
    StoreMode(1);
    Read([](CKWConfigDlg& w) {
        return Format("mode=%d icon=%d combo=%d list=%s panel=%s", OperationMode(), w.ShownTrayIcon(), Shown(w, kModeCombo) ? 1 : 0,
                      ToUtf8(w.ListView(kNetworkList).Column(0)->title).c_str(), Text(w, kPanelGroup).c_str());
    });
    Each(5, [](CKWConfigDlg& w) { return std::to_string(w.ListView(kNetworkList).ItemCount()); });
    Read([](CKWConfigDlg& w) { return ToUtf8(w.ListView(kNetworkList).ItemText(15, 0)); });
    Run();
    EXPECT_THAT(trace, ElementsAre("mode=1 icon=3 combo=1 list=Station MAC Address panel=Current Network Setting", "0", "0",
                                   "0", "0", "16", "02 33 00 00 00 10"));
    EXPECT_TRUE(Called("SetWL_OperationMode_STA_AP(1) = 0"));
}

TEST_F(AccessPointTest, ChoosingTheCurrentModeDoesNothing) {
    World(kOneAdapter);
    user.Tick(5);
    Do([](CKWConfigDlg&) { sim::ClearCallLog(); });
    user.Select(kModeCombo, 0);
    Read([](CKWConfigDlg&) { return Format("mode=%d calls=%zu", OperationMode(), sim::CallLog().size()); });
    Run();
    EXPECT_THAT(trace, ElementsAre("mode=0 calls=0"));
}

TEST_F(AccessPointTest, ThePanelRepairsBadStoredValuesThroughTheAppliers) {
    struct Case {
        const char16_t* channel;
        const char16_t* ssid;
        std::string shownChannel, shownSsid, storedChannel;
    } cases[] = {
        {u"0", u"", "---", "WLAN_AP", "0"},
        {u"250", u"Mine", "6", "Mine", "6"},
        {u"-3", u"Mine", "6", "Mine", "6"},
        {u"11", u"Mine", "11", "Mine", "11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownChannel);
        World(kOneAdapter);
        WriteSettingText(kModeAccessPoint, key::kChannel, c.channel);
        WriteSettingText(kModeAccessPoint, key::kSsid, c.ssid);
        WriteSettingText(kModeAccessPoint, key::kWepStatus, u"9");
        StoreMode(1);
        // Read right after opening, before a tick shows the driver's channel.
        Read([](CKWConfigDlg& w) {
            return Text(w, kPanelChannel) + "|" + Text(w, kPanelType) + "|" + Text(w, kPanelSsid) + "|" + Text(w, kPanelRate);
        });
        Run();
        EXPECT_EQ(trace.back(), c.shownChannel + "|" + c.shownSsid + "|Disable|Level 0");
        EXPECT_EQ(ReadSettingText(kModeAccessPoint, key::kChannel), FromUtf8(c.storedChannel));
        EXPECT_EQ(ReadSettingText(kModeAccessPoint, key::kSsid), FromUtf8(c.shownSsid));
        EXPECT_EQ(ReadSettingText(kModeAccessPoint, key::kWepStatus), u"1");
        trace.clear();
    }
}

}  // namespace
}  // namespace kwtest
