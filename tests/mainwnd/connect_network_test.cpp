// Joining a surveyed network: the element parse, the path it picks and what the appliers leave in
// the driver and the store, against the simulated world.
#include "src/mainwnd/connect_network.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "src/security/authentication.h"
#include "src/mainwnd/survey_buffer.h"
#include "src/settings/setting_keys.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using Bytes = std::basic_string<uint8_t>;

// An RSN element with one pairwise and one key-management suite.
Bytes Rsn(uint8_t pairwise, uint8_t akm) {
    return {48, 20, 1, 0, 0, 0x0F, 0xAC, 4, 1, 0, 0, 0x0F, 0xAC, pairwise, 1, 0, 0, 0x0F, 0xAC, akm, 0, 0};
}
// A vendor WPA element; pairwise suites in order.
Bytes Wpa(std::initializer_list<uint8_t> pairwise, uint8_t akm) {
    Bytes body = {0, 0x50, 0xF2, 1, 1, 0, 0, 0x50, 0xF2, 2, static_cast<uint8_t>(pairwise.size()), 0};
    for (uint8_t p : pairwise) body += Bytes{0, 0x50, 0xF2, p};
    body += Bytes{1, 0, 0, 0x50, 0xF2, akm, 0, 0};
    return Bytes{221, static_cast<uint8_t>(body.size())} + body;
}
// A vendor element of the given length whose OUI is no WPA one; read as WPA with TKIP and PSK
// when it is long enough.
Bytes Vendor(uint8_t length) {
    Bytes body = {0x00, 0x10, 0x18, 2, 1, 0, 0, 0x50, 0xF2, 2, 1, 0, 0, 0x50, 0xF2, 2, 1, 0, 0, 0x50, 0xF2, 2, 0, 0};
    body.resize(length);
    return Bytes{221, length} + body;
}

TEST(ParseSecurityElementsTest, BoundedWalk) {
    struct Case {
        const char* name;
        Bytes elements;
        bool wpa2Mode;
        bool rsn, wpa;
        int pairwise, akm;
    };
    Bytes rsn = Rsn(4, 2);
    Bytes cutSuites = rsn;
    cutSuites[8] = 5;  // five pairwise suites announced, room for three
    Bytes cutAkm = rsn;
    cutAkm[14] = 2;  // two key-management suites announced, one there
    const Case cases[] = {
        {"nothing", {}, true, false, false, 0, 0},
        {"ssid only", {0, 3, 'a', 'b', 'c'}, true, false, false, 0, 0},
        {"rsn", rsn, true, true, false, 4, 2},
        {"wpa after rsn skipped with wpa2", rsn + Wpa({2}, 1), true, true, false, 4, 2},
        {"wpa after rsn decides without wpa2", rsn + Wpa({2}, 1), false, true, true, 2, 1},
        {"rsn after wpa decides", Wpa({2}, 1) + rsn, true, true, true, 4, 2},
        {"first of two pairwise", Wpa({2, 4}, 2), true, false, true, 2, 2},
        {"vendor 21 ignored", Vendor(21), true, false, false, 0, 0},
        {"vendor 22 read whatever its OUI", Vendor(22), true, false, true, 2, 2},
        {"element past the end", rsn.substr(0, 10), true, false, false, 0, 0},
        {"pairwise count past the end", cutSuites, true, true, false, 0, 0},
        {"akm count past the end", cutAkm, true, true, false, 4, 0},
        {"rsn too short for counts", Bytes{48, 2, 1, 0}, true, true, false, 0, 0},
        {"lone id byte", rsn + Bytes{48}, true, true, false, 4, 2},
    };
    for (const Case& c : cases) {
        kw::NetworkSecurity s = kw::ParseSecurityElements(c.elements.data(), c.elements.size(), c.wpa2Mode);
        EXPECT_EQ(s.rsnFound, c.rsn) << c.name;
        EXPECT_EQ(s.wpaFound, c.wpa) << c.name;
        EXPECT_EQ(s.pairwise, c.pairwise) << c.name;
        EXPECT_EQ(s.akm, c.akm) << c.name;
    }
}

TEST(ConnectChannelTest, FromFrequency) {
    EXPECT_EQ(kw::ConnectChannel(2437000), 6);
    EXPECT_EQ(kw::ConnectChannel(2484000), 14);
    EXPECT_EQ(kw::ConnectChannel(5180000), 36);
    EXPECT_EQ(kw::ConnectChannel(4920000), 184);
    // Outside the bands the formulas still give a number, without overflow.
    EXPECT_EQ(kw::ConnectChannel(0), -800);
    EXPECT_EQ(kw::ConnectChannel(6000000), 200);
}

class ConnectTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
};

kw::SurveyNetwork Entry(uint32_t infrastructureMode, uint32_t privacy, uint32_t frequencyKhz, Bytes elements) {
    kw::SurveyNetwork n;
    n.bssid = {0x02, 0x1A, 0, 0, 0, 0x42};
    n.ssid = "Probe";
    n.privacy = privacy;
    n.frequencyKhz = frequencyKhz;
    n.infrastructureMode = infrastructureMode;
    n.networkTypeInUse = 3;
    n.elements = std::move(elements);
    return n;
}

TEST_F(ConnectTest, PathsAndSettingsTable) {
    struct Case {
        const char* name;
        int wpaMode, wpa2Mode;
        kw::SurveyNetwork network;
        const char* question;  // the caption asked, "" for none
        const char* auth;
        const char* wep;
        const char* netType;
        bool authenticates;
    };
    const uint32_t infra = 1, adhoc = 0;
    const Case cases[] = {
        {"RSN then WPA, both modes: WPA2 with the RSN types", 1, 1, Entry(infra, 1, 2412000, Rsn(4, 2) + Wpa({2}, 1)),
         "Use Previous WPA2 Setting", "7", "6", "1", true},
        {"WPA then RSN, both modes", 1, 1, Entry(infra, 1, 2412000, Wpa({2}, 1) + Rsn(4, 2)), "Use Previous WPA2 Setting", "7",
         "6", "1", true},
        {"RSN then WPA, WPA only: the later WPA decides", 1, 0, Entry(infra, 1, 2412000, Rsn(4, 2) + Wpa({2}, 1)),
         "Use Previous WPA Setting", "3", "4", "1", true},
        {"WPA then RSN, WPA only: the later RSN decides", 1, 0, Entry(infra, 1, 2412000, Wpa({2}, 1) + Rsn(4, 2)),
         "Use Previous WPA Setting", "4", "6", "1", true},
        {"RSN only without WPA2: WEP", 1, 0, Entry(infra, 1, 2412000, Rsn(4, 2)), "Use Previous WEP Setting", "2", "0", "1",
         false},
        {"RSN only without WPA2, no privacy: open", 1, 0, Entry(infra, 0, 2412000, Rsn(4, 2)), "", "2", "1", "1", false},
        {"first of two pairwise suites", 1, 1, Entry(infra, 1, 2412000, Wpa({2, 4}, 2)), "Use Previous WPA Setting", "4", "4",
         "1", true},
        {"vendor element of 21 ignored", 1, 1, Entry(infra, 1, 2412000, Vendor(21)), "Use Previous WEP Setting", "2", "0", "1",
         false},
        {"vendor element of 22 is WPA", 1, 1, Entry(infra, 1, 2412000, Vendor(22)), "Use Previous WPA Setting", "4", "4", "1",
         true},
        {"ad hoc WPA-None", 1, 1, Entry(adhoc, 1, 2437000, Wpa({2}, 2)), "Use Previous WPA Setting", "5", "4", "0", true},
        {"ad hoc RSN with WPA2 asks the WPA2 question", 1, 1, Entry(adhoc, 1, 2437000, Rsn(4, 2)), "Use Previous WPA2 Setting",
         "5", "6", "0", true},
        {"open ad hoc", 1, 1, Entry(adhoc, 0, 2437000, {}), "", "2", "1", "0", false},
        {"truncated RSN element", 1, 1, Entry(infra, 1, 2412000, Rsn(4, 2).substr(0, 12)), "Use Previous WEP Setting", "2",
         "0", "1", false},
        {"WPA with no pairwise cipher: encryption off, no question", 1, 1, Entry(infra, 1, 2412000, Wpa({0}, 2)), "", "4",
         "1", "1", false},
        {"WRAP changes no encryption", 1, 1, Entry(infra, 1, 2412000, Wpa({3}, 2)), "", "4", "", "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kw::ProgramConfig config;
        config.wpaMode = c.wpaMode;
        config.wpa2Mode = c.wpa2Mode;
        InstallConfig(config);
        kw::ui::CTestDriver user;
        user.Answer(kw::ui::IDYES);
        for (const char* key : {"AuthenticationMode", "WEPStatus", "NetworkType"}) {
            kw::WriteSettingText(0, kw::FromUtf8(key), u"");
        }
        kw::sim::ClearCallLog();
        kw::JoinNetwork(c.network, nullptr);
        bool authenticating = kw::AuthenticationWanted();
        kw::StopAuthentication();
        std::string asked;
        for (const auto& line : user.Lines()) {
            if (line.rfind("messagebox: ", 0) == 0) asked = line.substr(13, line.find('"', 13) - 13);
        }
        EXPECT_EQ(asked, c.question);
        EXPECT_EQ(kw::ToUtf8(Stored(u"AuthenticationMode")), c.auth);
        EXPECT_EQ(kw::ToUtf8(Stored(u"WEPStatus")), c.wep);
        EXPECT_EQ(kw::ToUtf8(Stored(u"NetworkType")), c.netType);
        EXPECT_EQ(authenticating, c.authenticates);
        EXPECT_TRUE(Called("SetWL_BSSID([02 1A 00 00 00 42]) = 0"));
        EXPECT_EQ(Stored(u"SSID"), u"Probe");
        EXPECT_EQ(Stored(u"WirelessMode"), u"3");
        bool adhocEntry = c.network.infrastructureMode == 0;
        EXPECT_EQ(Calls("SetWL_Channel(").size(), adhocEntry ? 1u : 0u);
        EXPECT_EQ(Stored(u"Channel"), adhocEntry ? u"6" : u"1");
    }
}

// The driver's own mode is re-applied, so that it is stored too.
TEST_F(ConnectTest, AuthenticationModeFromTheDriverWhenNoSuiteNamesOne) {
    kw::ProgramConfig config;
    config.wpa2Mode = 1;
    InstallConfig(config);
    kw::ui::CTestDriver user;
    Bytes noAkm = {48, 14, 1, 0, 0, 0x0F, 0xAC, 4, 1, 0, 0, 0x0F, 0xAC, 4, 0, 0};
    for (int driverMode : {kw::kAuthWpa2, kw::kAuthShared}) {
        ::SetWL_AuthenticationMode(kw::Adapter(), driverMode);
        kw::JoinNetwork(Entry(1, 1, 2412000, noAkm), nullptr);
        kw::StopAuthentication();
        EXPECT_EQ(Stored(u"AuthenticationMode"), kw::FormatW("%d", driverMode));
    }
}

TEST_F(ConnectTest, DesiredRatesKeepASingleRateOrAFullListAndOtherwiseTakeTheSupportedOnes) {
    const std::u16string supported = u"82 84 8B 96 0C 12 18 24 30 48 60 6C 00 00 00 00";
    struct Case {
        std::u16string stored;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"", supported},
        {u"  ", supported},
        {u"6C", u"6C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {u"02 04", supported},
        {u"00 6C", supported},  // a list that starts empty is no rate to ask for
        {u"02 04 0B 16 0C 12 18 24 30 48 60 6C 02 04 0B 16", u"02 04 0B 16 0C 12 18 24 30 48 60 6C 02 04 0B 16"},
    };
    kw::ui::CTestDriver user;
    for (const Case& c : cases) {
        kw::WriteSettingText(0, u"DesiredRate", c.stored);
        kw::JoinNetwork(Entry(1, 0, 2412000, {}), nullptr);
        EXPECT_EQ(Stored(u"DesiredRate"), c.expected) << kw::ToUtf8(c.stored);
    }
}

}  // namespace
}  // namespace kwtest

#include "tests/mainwnd/main_window_fixture.h"

namespace kwtest {
namespace {

const std::string kTwoNetworks =
    kOneAdapter + kOpenNetwork + Network(2, "SSID=Second\nBSSID=02 1A 00 00 00 02\nFrequency=2462000\n");

// The double click and "Connect this site" both join the row under the mark; the panel and the
// link follow at once.
TEST_F(MainWindowTest, DoubleClickAndConnectButtonJoinTheMarkedNetwork) {
    World(kTwoNetworks);
    auto state = [](kw::CKWConfigDlg& w) {
        return kw::Format("view=%d hold=%d ssid=%s", w.PanelView(), w.SelectionHold(), kw::ToUtf8(kw::ReadSettingText(0, u"SSID")).c_str());
    };
    user.Tick(6);
    user.DoubleClick(kw::mainwnd::kNetworkList, 1);
    Read(state);
    user.Select(kw::mainwnd::kNetworkList, 0);
    user.Click(kw::mainwnd::kPanelButton);
    Read(state);
    user.Tick(2);
    Read([](kw::CKWConfigDlg& w) { return Text(w, kw::mainwnd::kPanelSsid) + "|" + Text(w, kw::mainwnd::kLinkStatus); });
    Run();
    EXPECT_THAT(trace, ::testing::ElementsAre("view=0 hold=0 ssid=Second", "view=0 hold=0 ssid=Open1",
                                              "Open1|Connected to Access Point."));
}

TEST_F(MainWindowTest, ConnectDoesNothingWhileZeroConfigurationIsInControl) {
    World(kTwoNetworks);
    user.Tick(6);
    user.Run([](kw::ui::CDialog&) { kw::sim::ClearCallLog(); });
    user.Run([](kw::ui::CDialog&) { kw::sim::SetZeroConfigStatus(1); });
    user.Tick(1);
    user.Run([](kw::ui::CDialog&) { kw::sim::ClearCallLog(); });
    Read([](kw::CKWConfigDlg& w) {
        return kw::Format("zc=%d list=%d", w.ZeroConfig().ControlState(), Enabled(w, kw::mainwnd::kNetworkList));
    });
    user.DoubleClick(kw::mainwnd::kNetworkList, 1);
    Run();
    EXPECT_THAT(trace, ::testing::ElementsAre(kw::Format("zc=%d list=1", kw::kZeroConfigInControl)));
    EXPECT_THAT(Calls("SetWL_SSID"), ::testing::IsEmpty());
    EXPECT_THAT(Calls("SetWL_BSSID"), ::testing::IsEmpty());
}

}  // namespace
}  // namespace kwtest
