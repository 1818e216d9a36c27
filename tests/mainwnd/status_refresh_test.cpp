// The current-network and link-status panels tick by tick: texts, averaged signal and quality,
// rates, encryption, the tray pictures and the address renewal of the Windows 95 family.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/ip_helper.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"
#include "tests/mainwnd/main_window_fixture.h"

namespace kwtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using namespace kw;
using namespace kw::mainwnd;

// Ticks that see the first survey collected.
constexpr int kPastScan = 5;

void Join(const std::string& ssid) {
    SetWL_SSID(Adapter(), reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()));
}

// ---- link status line ----

struct LinkCase {
    const char* name;
    std::string world;  // after the adapter section
    std::function<void(ProgramConfig&)> configure;
    std::function<void()> step;  // once the survey is in
    const char* expected;
};

class LinkStatusTest : public MainWindowTest, public ::testing::WithParamInterface<LinkCase> {};

const std::string kAdHocNetwork =
    Network(1, "SSID=Peers\nBSSID=02 1A 00 00 00 07\nFrequency=2412000\nMode=adhoc\n");
const std::string kWepNetwork = Network(1, "SSID=Locked\nSecurity=wep\nWEPKey=11 22 33 44 55\n");

const LinkCase kLinkCases[] = {
    {"Infrastructure", kOpenNetwork, nullptr, nullptr, "Connected to Access Point."},
    {"InfrastructureBssid", kOpenNetwork, [](ProgramConfig& c) { c.showBssid = 1; }, nullptr,
     "Connected to Access Point. BSSID=02 1A 00 00 00 01"},
    {"UnreadableBssid", "Refuse=QueryWL_BSSID\n" + kOpenNetwork, [](ProgramConfig& c) { c.showBssid = 1; }, nullptr,
     "Connected to Access Point. BSSID=00 00 00 00 00 00"},
    {"AdHocBssid", kAdHocNetwork, [](ProgramConfig& c) { c.showBssid = 1; },
     [] {
         SetWL_NetworkType(Adapter(), 0);
         Join("Peers");
     },
     "Connected to Ad-Hoc. BSSID=02 1A 00 00 00 07"},
    {"PseudoIbss", kOpenNetwork, nullptr, [] { SetWL_NetworkType(Adapter(), 3); }, "Connected to Pseudo IBSS."},
    {"PseudoIbssBssid", kOpenNetwork, [](ProgramConfig& c) { c.showBssid = 1; },
     [] { SetWL_NetworkType(Adapter(), 3); }, "Connected to Pseudo IBSS. BSSID=02 1A 00 00 00 01"},
    {"PseudoIbssNotSupported", kOpenNetwork,
     [](ProgramConfig& c) {
         c.pseudoIbssSupport = 0;
         c.showBssid = 1;
     },
     [] { SetWL_NetworkType(Adapter(), 3); }, "Unknown"},
    {"Wds", kOpenNetwork, [](ProgramConfig& c) { c.showBssid = 1; }, [] { SetWL_NetworkType(Adapter(), 2); }, "Unknown"},
    {"AloneInAdHoc", kWepNetwork, nullptr, [] { SetWL_NetworkType(Adapter(), 0); }, "In Ad-Hoc Mode."},
    // An unreadable state leaves the line as the last refresh wrote it.
    {"StateUnreadable", "Refuse=QueryWL_ConnectState\n" + kOpenNetwork, nullptr, nullptr, ""},
};

TEST_P(LinkStatusTest, ShowsTheLinkOfTheNetworkType) {
    const LinkCase& c = GetParam();
    World(kOneAdapter + c.world);
    if (c.configure) c.configure(config);
    user.Tick(kPastScan + 1);
    if (c.step) Do([&](CKWConfigDlg&) { c.step(); });
    Each(1, [](CKWConfigDlg& w) { return Text(w, kLinkStatus); });
    Run();
    EXPECT_THAT(trace, ElementsAre(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkStatusTest, ::testing::ValuesIn(kLinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ConnectingDotsGrowEachTickAndStartAgainAfterEighteen) {
    World(kOneAdapter + kWepNetwork);
    Each(24, [](CKWConfigDlg& w) {
        return Format("%s|%d%d%d", Text(w, kLinkStatus).c_str(), Shown(w, kSignalText), Shown(w, kQualityBar),
                      Shown(w, kTxFrameText));
    });
    Run();
    std::vector<std::string> expected(4, "|111");  // the link waits for the survey
    auto line = [](int additions) {
        std::string text = "Connecting...";
        for (int i = 0; i < additions; ++i) text += "...";
        return text + "|000";
    };
    // The tick that collects the survey refreshes the link twice.
    for (int tick = 5; tick <= 22; ++tick) expected.push_back(line(tick - 4));
    expected.push_back(line(0));
    expected.push_back(line(1));
    EXPECT_EQ(trace, expected);
}

// ---- signal and quality ----

std::string SignalAndQuality(CKWConfigDlg& w) {
    return Format("%s %s bars=%d/%d", Text(w, kSignalText).c_str(), Text(w, kQualityText).c_str(),
                  w.Progress(kSignalBar).Pos(), w.Progress(kQualityBar).Pos());
}

TEST_F(MainWindowTest, SignalAndQualityAreAveragedOverTheSamplesTaken) {
    World(kOneAdapter + Network(1, "SSID=Strong\nRSSI=-40\nQuality=100\n") +
          Network(2, "SSID=Weak\nRSSI=-105\nQuality=0\n"));
    user.Tick(kPastScan - 1);
    Each(1, SignalAndQuality);
    Do([](CKWConfigDlg&) { Join("Weak"); });
    Each(6, SignalAndQuality);
    Run();
    // Two samples of the strong network (the collecting tick takes two), then the weak one
    // fills the ring; averages truncate toward zero.
    EXPECT_THAT(trace, ElementsAre("100% 100% bars=100/100", "67% 66% bars=67/66", "50% 50% bars=50/50",
                                   "40% 40% bars=40/40", "33% 33% bars=33/33", "16% 16% bars=16/16", "0% 0% bars=0/0"));
}

struct BoundsCase {
    const char* name;
    int strengthMin, strengthMax, qualityMin, qualityMax;
    const char* refuse;
    const char* expected;
};

class SignalBoundsTest : public MainWindowTest, public ::testing::WithParamInterface<BoundsCase> {};

const BoundsCase kBoundsCases[] = {
    {"Default", -105, -40, 0, 100, "", "50% 50% bars=50/50 rows=11"},
    {"Narrow", -80, -60, 40, 60, "", "40% 50% bars=40/50 rows=11"},
    // Equal bounds leave no scale: the percentage shows 0 and the bar stays empty.
    {"EqualBounds", -72, -72, 50, 50, "", "0% 0% bars=0/0 rows=11"},
    {"QualityUnreadable", -105, -40, 0, 100, "Refuse=QueryWL_CommQuality\n", "50% 0% bars=50/0 rows=10"},
};

TEST_P(SignalBoundsTest, PercentOfTheConfiguredScale) {
    const BoundsCase& c = GetParam();
    World(kOneAdapter + c.refuse + kOpenNetwork);  // -72 dBm, quality 50
    config.strengthMinDb = c.strengthMin;
    config.strengthMaxDb = c.strengthMax;
    config.qualityMin = c.qualityMin;
    config.qualityMax = c.qualityMax;
    user.Tick(kPastScan + 2);
    Read([](CKWConfigDlg& w) {
        return SignalAndQuality(w) + Format(" rows=%d%d", Shown(w, kSignalBar), Shown(w, kQualityBar));
    });
    Run();
    EXPECT_THAT(trace, ElementsAre(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, SignalBoundsTest, ::testing::ValuesIn(kBoundsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- current network panel ----

struct RateCase {
    const char* name;
    const char* networkRates;
    int autoShowMax;
    int showMaxLimit;
    const char* expected;
};

class RateTextTest : public MainWindowTest, public ::testing::WithParamInterface<RateCase> {};

const RateCase kRateCases[] = {
    {"HalfMegabit", "0B", 0, 0, "5.5 Mbps"},
    {"Whole", "6C", 0, 0, "54 Mbps"},
    {"BasicRateBit", "82", 0, 0, "1 Mbps"},
    // Little traffic since the last toggle: the highest supported rate is shown instead.
    {"LowTrafficShowsMaximum", "82", 1, 1000, "54 Mbps"},
    {"BusyLinkShowsActual", "82", 1, 0, "1 Mbps"},
    {"MaximumNotWanted", "82", 0, 1000, "1 Mbps"},
};

TEST_P(RateTextTest, ShowsTheLinkSpeed) {
    const RateCase& c = GetParam();
    World(kOneAdapter + kOpenNetwork + "Rates=" + c.networkRates + "\n");
    config.txRateAutoShowMax = c.autoShowMax;
    config.txRateShowMaxLimit = c.showMaxLimit;
    user.Tick(kPastScan + 3);
    Read([](CKWConfigDlg& w) { return Text(w, kPanelRate); });
    Run();
    EXPECT_THAT(trace, ElementsAre(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, RateTextTest, ::testing::ValuesIn(kRateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, EncryptionTextFollowsTheDriverStatus) {
    World(kOneAdapter + kOpenNetwork);
    user.Tick(kPastScan + 1);
    for (int status = -1; status <= 7; ++status) {
        // -1: refused by the driver, the text stays.
        Do([status](CKWConfigDlg&) { SetWL_WEPStatus(Adapter(), status); });
        Each(1, [](CKWConfigDlg& w) { return Text(w, kPanelEncryption); });
    }
    Run();
    EXPECT_THAT(trace, ElementsAre("NONE", "WEP", "NONE", "WEP", "Unknown", "TKIP", "TKIP", "AES", "AES"));
}

TEST_F(MainWindowTest, DebugModeShowsDriverAndStoredEncryptionAsLetters) {
    World(kOneAdapter + kOpenNetwork);
    config.debugMode = 1;
    const struct {
        int driver, stored;
    } cases[] = {{0, 1}, {1, 0}, {4, 7}};
    user.Tick(kPastScan + 1);
    for (const auto& c : cases) {
        Do([c](CKWConfigDlg&) {
            SetWL_WEPStatus(Adapter(), c.driver);
            WriteSettingNumber(0, key::kWepStatus, c.stored);
        });
        Each(1, [](CKWConfigDlg& w) { return Text(w, kPanelEncryption); });
    }
    Run();
    EXPECT_THAT(trace, ElementsAre("Q:E S:D", "Q:D S:E", "Q:? S:?"));
}

TEST_F(MainWindowTest, CurrentNetworkPanelShowsTypeChannelAndSsid) {
    World(kOneAdapter + kOpenNetwork);
    auto panel = [](CKWConfigDlg& w) {
        return Text(w, kPanelType) + "|" + Text(w, kPanelChannel) + "|" + Text(w, kPanelSsid);
    };
    user.Tick(kPastScan + 1);
    for (int type = 0; type <= 4; ++type) {
        Do([type](CKWConfigDlg&) { SetWL_NetworkType(Adapter(), type); });
        Each(1, panel);
    }
    // Not connected: the stored name of the network wanted, cut to 32 characters.
    Do([](CKWConfigDlg&) {
        SetWL_NetworkType(Adapter(), 1);
        Join("Nowhere");
    });
    Each(1, panel);
    Do([](CKWConfigDlg&) { WriteSettingText(0, key::kSsid, u"Caf\u00e9 0123456789012345678901234567890"); });
    Each(1, panel);
    Run();
    EXPECT_THAT(trace, ElementsAre("Ad-Hoc|6|Open1", "Infrastructure|6|Open1", "WDS|6|Open1", "Pseudo IBSS|6|Open1",
                                   "Unknown type(4)|6|Open1", "Infrastructure|6|<any>",
                                   "Infrastructure|6|Caf\u00e9 012345678901234567890123456"));
}

// ---- tray pictures ----

struct PictureCase {
    const char* name;
    std::string world;
    std::function<void(ProgramConfig&)> configure;
    std::vector<unsigned> expected;  // after ticks 1 to 8
};

class TrayPictureTest : public MainWindowTest, public ::testing::WithParamInterface<PictureCase> {};

const PictureCase kPictureCases[] = {
    // Not connected until the survey is in; then every tick with traffic flips the two pictures.
    {"Traffic", kOpenNetwork, nullptr, {193, 193, 193, 193, 189, 192, 189, 192}},
    {"NotConnected", kWepNetwork, nullptr, {193, 193, 193, 193, 193, 193, 193, 193}},
    {"AnimationOff", kOpenNetwork, [](ProgramConfig& c) { c.trayIconAnimation = 0; },
     {193, 193, 193, 193, 193, 193, 193, 193}},
};

TEST_P(TrayPictureTest, FollowsTheLink) {
    const PictureCase& c = GetParam();
    World(kOneAdapter + c.world);
    if (c.configure) c.configure(config);
    Each(8, [](CKWConfigDlg&) { return std::to_string(TrayPicture()); });
    Run();
    std::vector<std::string> expected;
    for (unsigned picture : c.expected) expected.push_back(std::to_string(picture));
    EXPECT_EQ(trace, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrayPictureTest, ::testing::ValuesIn(kPictureCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct StoredModeCase {
    const char* name;
    int enableAccessPoint;
    const char* storedMode;
    const char* expected;
    const char* driverCall;  // empty: the driver's mode is left alone
};

class StoredModeTest : public MainWindowTest, public ::testing::WithParamInterface<StoredModeCase> {};

const StoredModeCase kStoredModeCases[] = {
    {"AccessPoint", 1, "1", "mode=1 icon=178 panel=2 button=11 refresh=0 modeCombo=1 scans=0",
     "SetWL_OperationMode_STA_AP(1) = 0"},
    {"Station", 1, "0", "mode=0 icon=193 panel=0 button=01 refresh=0 modeCombo=1 scans=1", ""},
    // Without access-point support the stored mode is never looked at.
    {"AccessPointNotOffered", 0, "1", "mode=0 icon=193 panel=0 button=01 refresh=0 modeCombo=0 scans=1", ""},
};

TEST_P(StoredModeTest, OpeningBringsBackTheStoredMode) {
    const StoredModeCase& c = GetParam();
    World(kOneAdapter + kOpenNetwork);
    config.enableAccessPoint = c.enableAccessPoint;
    WriteChipText(kValueOperationMode, FromUtf8(c.storedMode));
    Read([](CKWConfigDlg& w) {
        return Format("mode=%d icon=%u panel=%d button=%d%d refresh=%d modeCombo=%d scans=%zu", OperationMode(),
                      TrayPicture(), w.PanelView(), Shown(w, kPanelButton), Enabled(w, kPanelButton),
                      Enabled(w, kRefreshButton), Shown(w, kModeCombo), Calls("WL_SiteSurveyStart").size());
    });
    Run();
    EXPECT_THAT(trace, ElementsAre(c.expected));
    EXPECT_EQ(Calls("SetWL_OperationMode_STA_AP"),
              std::string(c.driverCall).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.driverCall});
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredModeTest, ::testing::ValuesIn(kStoredModeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- address renewal ----

class AddressRenewalTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(AddressRenewalTest, RenewsEveryInterfaceAfterAReconnectionOnTheWindows95Family) {
    const bool windows95 = GetParam();
    World(std::string("[System]\nIsWindows95=") + (windows95 ? "1" : "0") + "\n" + kOneAdapter + kOpenNetwork);
    ip::ClearAddressRequests();
    user.Tick(kPastScan + 1);
    Do([](CKWConfigDlg&) { Join("Nowhere"); });
    user.Tick(1);
    Do([](CKWConfigDlg&) { Join("Open1"); });
    user.Tick(2);
    Run();
    ASSERT_TRUE(kwtest::WaitInVirtualTime([] { return !AddressRenewalRunning(); }));
    std::vector<std::string> expected;
    if (windows95) {
        ASSERT_FALSE(ip::InterfaceList().empty());
        for (const auto& entry : ip::InterfaceList()) {
            expected.push_back("release " + entry.name);
            expected.push_back("renew " + entry.name);
        }
    }
    EXPECT_EQ(ip::AddressRequests(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AddressRenewalTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Windows95" : "WindowsNT"; });

}  // namespace
}  // namespace kwtest
