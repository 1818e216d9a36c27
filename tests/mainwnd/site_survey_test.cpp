// The site survey in the main window: the five-tick wait, the list's strengths, a clicked
// network's details and the eight-tick hold, failed and empty results.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/mainwnd/main_window_fixture.h"

namespace kwtest {
namespace {

using ::testing::ElementsAre;
using namespace kw;
using namespace kw::mainwnd;

std::string ListState(CKWConfigDlg& w) {
    return Format("%s|%s|list=%d refresh=%d button=%d rows=%d", Text(w, kNetworkLabel).c_str(),
                  Text(w, kRefreshButton).c_str(), Enabled(w, kNetworkList), Enabled(w, kRefreshButton),
                  Shown(w, kPanelButton), w.ListView(kNetworkList).ItemCount());
}

const std::string kScanning = "Scanning Avaliable Network...|Scanning......|list=0 refresh=0 button=0 rows=0";
const std::string kCollected = "Avaliable Network:|Refresh|list=1 refresh=1 button=1 rows=1";

TEST_F(MainWindowTest, SurveyIsCollectedOnTheFifthTickAfterTheStart) {
    World(kOneAdapter + kOpenNetwork);
    Read(ListState);
    Each(5, ListState);
    Do([](CKWConfigDlg& w) { w.UserClick(kRefreshButton); });
    Each(5, [](CKWConfigDlg& w) { return ListState(w) + Format(" pending=%d", w.ScanPending()); });
    Run();
    const std::string rescanning = "Scanning Avaliable Network...|Scanning......|list=0 refresh=0 button=0 rows=1";
    EXPECT_THAT(trace, ElementsAre(kScanning, kScanning, kScanning, kScanning, kScanning, kCollected,
                                   rescanning + " pending=1", rescanning + " pending=1", rescanning + " pending=1",
                                   rescanning + " pending=1", kCollected + " pending=0"));
    EXPECT_EQ(Calls("WL_SiteSurveyStart").size(), 2u);
    EXPECT_EQ(Calls("WL_RetrieveSiteSurveyData").size(), 2u);
}

// The user can scan again: Refresh comes back; the list stays off while it has no rows.
TEST_F(MainWindowTest, FailedRetrievalLetsTheUserScanAgain) {
    World(kOneAdapter + "Refuse=WL_RetrieveSiteSurveyData\n" + kOpenNetwork);
    Each(6, [](CKWConfigDlg& w) {
        return ListState(w) + Format(" pending=%d view=%d link=%s", w.ScanPending(), w.PanelView(),
                                     Text(w, kLinkStatus).c_str());
    });
    user.Click(kRefreshButton);
    Read([](CKWConfigDlg& w) { return ListState(w) + Format(" pending=%d", w.ScanPending()); });
    Run();
    EXPECT_EQ(trace[4], "Avaliable Network:|Refresh|list=0 refresh=1 button=1 rows=0 pending=0 "
                        "view=0 link=Connected to Access Point.");
    EXPECT_EQ(trace[5], trace[4]);
    EXPECT_EQ(trace[6], "Scanning Avaliable Network...|Scanning......|list=0 refresh=0 button=0 rows=0 pending=1");
}

TEST_F(MainWindowTest, EmptySurveyLeavesTheListDisabled) {
    World(kOneAdapter);
    user.Tick(5);
    Read(ListState);
    Run();
    EXPECT_THAT(trace, ElementsAre("Avaliable Network:|Refresh|list=0 refresh=1 button=1 rows=0"));
}

// Networks in world order: strength clamped to the fixed list scale, channels from frequencies.
const std::string kSurveyWorld =
    "[Adapter1]\nDeviceName=\\DEVICE\\KWTEST1\nInstanceKey=0007\nMatchingDeviceId=USB\\VID_6B57&PID_7100\nBandCode=4\n" +
    Network(1, "SSID=Strong\nBSSID=02 00 00 00 00 0E\nFrequency=2484000\nRSSI=-30\nSecurity=wep\nWEPKey=11 22 33 44 55\n") +
    Network(2, "SSID=Floor\nBSSID=02 00 00 00 00 06\nFrequency=2437000\nRSSI=-105\nMode=adhoc\n") +
    Network(3, "SSID=Below\nBSSID=02 00 00 00 00 01\nFrequency=2412000\nRSSI=-110\n") +
    Network(4, "SSID=Middle\nBSSID=0A BC DE F0 12 34\nFrequency=5180000\nRSSI=-72\n") +
    Network(5, "SSID=Japan\nBSSID=02 00 00 00 00 B8\nFrequency=4920000\nRSSI=-41\n") +
    Network(6, "SSID=\nBSSID=02 00 00 00 00 0B\nFrequency=2462000\nRSSI=-60\n") +
    // Bytes above 127 widen one to one; the name fills all 32 bytes.
    Network(7, "SSID=\xE9t\xE9 0123456789012345678901234567\nFrequency=2472000\nRSSI=-40\n");

std::vector<std::string> Rows(CKWConfigDlg& w) {
    std::vector<std::string> rows;
    const ui::CListView& list = w.ListView(kNetworkList);
    for (int row = 0; row < list.ItemCount(); ++row) {
        rows.push_back(ToUtf8(list.ItemText(row, 0)) + " | " + ToUtf8(list.ItemText(row, 1)));
    }
    return rows;
}

class SurveyListTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        World(kSurveyWorld);
        config.wirelessMode = 2;  // dual band
    }
};

TEST_F(SurveyListTest, StrengthPercentOnTheFixedScale) {
    config.strengthMinDb = -90;  // the list does not follow the configured scale
    std::vector<std::string> rows;
    user.Tick(5);
    Do([&](CKWConfigDlg& w) { rows = Rows(w); });
    Run();
    EXPECT_THAT(rows, ElementsAre("Strong | 100%", "Floor | 0%", "Below | 0%", "Middle | 50%", "Japan | 98%", " | 69%",
                                  "\u00e9t\u00e9 0123456789012345678901234567 | 100%"));
}

TEST_F(SurveyListTest, StrengthInDbmWhenConfigured) {
    config.showDbm = 1;
    std::vector<std::string> rows;
    user.Tick(5);
    Do([&](CKWConfigDlg& w) { rows = Rows(w); });
    Run();
    EXPECT_THAT(rows, ElementsAre("Strong | -30 dBm", "Floor | -105 dBm", "Below | -110 dBm", "Middle | -72 dBm",
                                  "Japan | -41 dBm", " | -60 dBm", "\u00e9t\u00e9 0123456789012345678901234567 | -40 dBm"));
}

TEST_F(SurveyListTest, AClickShowsTheNetworksDetails) {
    user.Tick(5);
    for (int row = 0; row < 6; ++row) {
        user.Select(kNetworkList, row);
        Read([](CKWConfigDlg& w) {
            return Text(w, kPanelChannel) + "|" + Text(w, kPanelType) + "|" + Text(w, kPanelSsid) + "|" +
                   Text(w, kPanelRate);
        });
    }
    Read([](CKWConfigDlg& w) {
        std::string labels = Text(w, kPanelGroup);
        for (int id = kPanelLabelFirst; id < kPanelLabelFirst + kPanelLines; ++id) labels += "|" + Text(w, id);
        return labels + "|" + Text(w, kPanelButton);
    });
    Run();
    EXPECT_THAT(trace, ElementsAre("14|Infrastructure|On|02 00 00 00 00 0E", "6|Ad-Hoc|Off|02 00 00 00 00 06",
                                   "1|Infrastructure|Off|02 00 00 00 00 01", "36|Infrastructure|Off|0A BC DE F0 12 34",
                                   "184|Infrastructure|Off|02 00 00 00 00 B8", "11|Infrastructure|Off|02 00 00 00 00 0B",
                                   "Selected Network Information|Channel:|Type:|WEP:|BSSID:||Connect this site"));
}

TEST_F(MainWindowTest, SelectionHoldsForEightTicksAndASecondClickRestartsIt) {
    World(kOneAdapter + kOpenNetwork + Network(2, "SSID=Other\nFrequency=2412000\n"));
    auto panel = [](CKWConfigDlg& w) {
        return Format("view=%d hold=%d channel=%s", w.PanelView(), w.SelectionHold(), Text(w, kPanelChannel).c_str());
    };
    user.Tick(6);
    user.Select(kNetworkList, 1);
    Each(3, panel);
    user.Select(kNetworkList, 1);  // again: eight more ticks
    Each(9, panel);
    user.DoubleClick(kNetworkList, 1);  // connects, and the current network returns at once
    Read(panel);
    Run();
    std::vector<std::string> expected(3, "view=1 hold=1 channel=1");
    expected.insert(expected.end(), 7, "view=1 hold=1 channel=1");
    // The hold runs out: the current-network view returns, its values from the next tick on.
    expected.push_back("view=0 hold=0 channel=");
    expected.push_back("view=0 hold=0 channel=6");
    expected.push_back("view=0 hold=0 channel=");
    EXPECT_EQ(trace, expected);
}

}  // namespace
}  // namespace kwtest
