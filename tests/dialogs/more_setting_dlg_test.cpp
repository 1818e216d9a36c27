// The general settings dialog: lists and load, the enabling rules, Apply through the appliers in
// order (checked in the call log and the station branch), the profile buttons and the child
// dialogs with their chain ids.
#include "src/dialogs/more_setting_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "src/dialogs/dialog_chain.h"
#include "src/lang/language_table.h"
#include "src/settings/profiles.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using namespace kw::moredlg;
using kw::ui::CDialog;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// One dual-band adapter whose driver offers 2.4 and 5 GHz channels.
const char kDualBandWorld[] = R"([Adapter1]
DeviceName=\DEVICE\{5A1C7100-3E2B-4D61-9A07-6B5771000001}
Description=Talvo KW7100 Dual Band
InstanceKey=0007
ChipType=1
BandCode=4
MAC=02 6B 57 71 00 01
Channels=1 2 3 4 5 6 7 8 9 10 11 255 36 40 44 48
SupportedRates=82 84 8B 96 0C 12 18 24 30 48 60 6C
[Network1]
SSID=Talvo-Guest
BSSID=02 1A 00 00 00 01
Frequency=2412000
Security=open
)";

class MoreSettingDlgTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_TRUE(kw::Language().Load(std::string(KW_TEST_DATA_DIR) + "/KWMLa.INI", u"LANGUAGES"));
        kw::ProgramConfig config;
        config.wpaMode = 1;
        config.wpa2Mode = 1;
        InstallConfig(config);
        OpenAdapter();
    }
    void TearDown() override {
        kw::Language().Load("", u"LANGUAGES");
        SimTest::TearDown();
    }
    void UseDualBand() {
        kw::sim::Reset();
        ASSERT_TRUE(kw::sim::LoadWorldText(kDualBandWorld));
        kw::ProgramConfig config;
        config.wpaMode = 1;
        config.wpa2Mode = 1;
        config.wirelessMode = 2;  // dual band
        InstallConfig(config);
        kw::ResetAdapterContext();
        OpenAdapter();
        kw::RestoreSettings(kw::Adapter());
        kw::StopAuthentication();
        kw::sim::ClearCallLog();
    }
    void RunDialog() {
        kw::CMoreSettingDlg dialog;
        dialog.SetParentDialogId(kw::kDialogIdMain);
        dialog.DoModal();
    }
    void Probe(std::function<std::string(CDialog&)> probe) {
        user.Run([this, probe](CDialog& d) { trace.push_back(probe(d)); });
    }
    static std::string Field(CDialog& d, int id) { return kw::ToUtf8(d.ItemText(id)); }
    // The setters Apply called, names only, from the network type on.
    static std::vector<std::string> Setters() {
        std::vector<std::string> names;
        for (const auto& line : Log()) {
            if (line.rfind("SetWL_", 0) == 0) names.push_back(line.substr(0, line.find('(')));
        }
        return names;
    }

    kw::ui::CTestDriver user;
    std::vector<std::string> trace;
};

TEST_F(MoreSettingDlgTest, OpensViewingWithTheStoredValuesAndChangeEnablesByNetworkType) {
    kw::WriteSettingText(0, u"NetworkType", u"0");
    kw::WriteSettingText(0, u"Channel", u"11");
    kw::WriteSettingText(0, u"SSID", u"Cafe");
    kw::WriteSettingText(0, u"AuthenticationMode", u"1");
    kw::WriteSettingText(0, u"WEPStatus", u"0");
    kw::WriteSettingText(0, u"DesiredRate", u"16 00 00");
    auto state = [](CDialog& d) {
        std::string line;
        for (int id : {kNetworkType, kChannel, kSsid, kAnySsid, kTxRate, kAuthentication, kEncryption, kWirelessMode}) {
            const auto* item = d.Item(id);
            line += kw::Format("%d%s ", id, item->IsEnabled() ? "+" : "-");
        }
        return line + Field(d, kChangeApply);
    };
    Probe([](CDialog& d) {
        return Field(d, kNetworkType) + "|" + Field(d, kChannel) + "|" + Field(d, kSsid) + "|" + Field(d, kTxRate) + "|" +
               Field(d, kAuthentication) + "|" + Field(d, kEncryption) + kw::Format("|%zu", d.Combo(kEncryption).Items().size());
    });
    Probe(state);
    user.Click(kChangeApply);
    Probe(state);
    user.Select(kNetworkType, 1);
    Probe(state);
    Probe([](CDialog& d) { return Field(d, kEncryption) + kw::Format("|%zu", d.Combo(kEncryption).Items().size()); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("Ad-Hoc|11|Cafe|11 Mbps|Shared Key|Enable|2",
                                   "1017- 1014- 1016- 1235- 1015- 1500- 1294- 1021- Change",
                                   "1017+ 1014+ 1016+ 1235+ 1015+ 1500+ 1294+ 1021+ Apply",
                                   "1017+ 1014- 1016+ 1235+ 1015+ 1500+ 1294+ 1021- Apply",
                                   "WEP|4"));
}

TEST_F(MoreSettingDlgTest, ApplySendsEveryValueThroughItsApplierInOrder) {
    struct Case {
        const char* name;
        bool dualBand;
        int networkType;  // list positions
        int band;
        int channel;
        int authentication;
        int encryption;
        std::vector<std::string> setters;
        std::vector<std::pair<const char16_t*, const char16_t*>> stored;
    };
    const std::vector<std::string> kWep = {"SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WEPStatus"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b, std::vector<std::string> c) {
        a.insert(a.end(), b.begin(), b.end());
        a.insert(a.end(), c.begin(), c.end());
        return a;
    };
    const std::vector<std::string> kTail = {"SetWL_SSID", "SetWL_SSID", "SetWL_DesiredRate"};
    const Case cases[] = {
        {"infrastructure WPA2-PSK AES", false, 1, 0, 3, 6, 3,
         {"SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_AuthenticationMode", "SetWL_WEPStatus", "SetWL_SSID",
          "SetWL_SSID", "SetWL_DesiredRate"},
         {{u"NetworkType", u"1"}, {u"WirelessMode", u"3"}, {u"AuthenticationMode", u"7"}, {u"WEPStatus", u"6"}}},
        {"ad hoc shared WEP", false, 0, 0, 4, 1, 0,
         join({"SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_Channel", "SetWL_AuthenticationMode"}, kWep, kTail),
         {{u"NetworkType", u"0"}, {u"Channel", u"5"}, {u"AuthenticationMode", u"1"}, {u"WEPStatus", u"0"}}},
        {"pseudo IBSS WPA-PSK TKIP", false, 2, 0, 0, 4, 2,
         {"SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_Channel", "SetWL_AuthenticationMode", "SetWL_WEPStatus",
          "SetWL_SSID", "SetWL_SSID", "SetWL_DesiredRate"},
         {{u"NetworkType", u"3"}, {u"Channel", u"1"}, {u"AuthenticationMode", u"4"}, {u"WEPStatus", u"4"}}},
        {"infrastructure open WEP off", false, 1, 0, 0, 0, 0,
         join({"SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_AuthenticationMode"}, kWep, kTail),
         {{u"AuthenticationMode", u"0"}, {u"WEPStatus", u"1"}}},
        {"dual band ad hoc 5 GHz", true, 0, 1, 2, 0, 1,
         join({"SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_Channel", "SetWL_AuthenticationMode"}, kWep, kTail),
         {{u"WirelessMode", u"2"}, {u"Channel", u"44"}, {u"WEPStatus", u"1"}}},
        {"dual band infrastructure", true, 1, 1, 0, 2, 0,
         join({"SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_AuthenticationMode"}, kWep, kTail),
         {{u"WirelessMode", u"4"}, {u"AuthenticationMode", u"2"}}},
    };
    for (const Case& c : cases) {
        if (c.dualBand) UseDualBand();
        kw::WriteSettingText(0, u"SSID", u"");
        user.Click(kChangeApply).Select(kNetworkType, c.networkType);
        // In Infrastructure the band and the channel are the access point's and stay disabled.
        if (c.dualBand && c.networkType != 1) user.Select(kWirelessMode, c.band);
        if (c.networkType != 1) user.Select(kChannel, c.channel);
        user.Select(kAuthentication, c.authentication).Select(kEncryption, c.encryption);
        user.Click(kAnySsid).Type(kSsid, u"  Home Net ").Select(kTxRate, 0);
        user.Run([](CDialog&) { kw::sim::ClearCallLog(); });
        user.Click(kChangeApply);
        Probe([](CDialog& d) { return Field(d, kChangeApply); });
        RunDialog();
        EXPECT_THAT(trace, ElementsAre("Change")) << c.name;
        EXPECT_EQ(Setters(), c.setters) << c.name;
        for (const auto& [key, value] : c.stored) EXPECT_EQ(Stored(key), value) << c.name << " " << kw::ToUtf8(key);
        EXPECT_EQ(Stored(u"SSID"), u"  Home Net ") << c.name;
        EXPECT_EQ(Stored(u"STATxRate"), u"0") << c.name;
        EXPECT_THAT(user.Errors(), ::testing::IsEmpty()) << c.name;
        kw::StopAuthentication();
        trace.clear();
    }
}

TEST_F(MoreSettingDlgTest, AFixedRateIsStoredAndAThrowAwayNameGoesFirst) {
    user.Click(kChangeApply).Select(kTxRate, 3).Click(kChangeApply);
    RunDialog();
    EXPECT_EQ(Stored(u"STATxRate"), u"11");
    EXPECT_EQ(Stored(u"DesiredRate"), u"0B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    auto ssids = Calls("SetWL_SSID");
    ASSERT_EQ(ssids.size(), 2u);
    EXPECT_THAT(ssids[0], ::testing::StartsWith("SetWL_SSID(["));
    EXPECT_THAT(ssids[0], ::testing::HasSubstr("], 32) = "));
    EXPECT_EQ(ssids[1], "SetWL_SSID([], 0) = 0");
}

TEST_F(MoreSettingDlgTest, ProfileButtonsSaveLoadDeleteAndTellWhatIsWrong) {
    kw::WriteSettingText(0, u"SSID", u"HomeWPA2");
    user.Type(kProfileName, u"Home").Click(kSaveProfile);
    user.Run([](CDialog&) { kw::WriteSettingText(0, u"SSID", u"Other"); });
    user.Type(kProfileName, u"  ").Click(kSaveProfile);
    user.Type(kProfileName, u"a\\b").Click(kSaveProfile);
    user.Type(kProfileName, u"Nowhere").Click(kLoadProfile);
    user.Type(kProfileName, u" HOME ").Click(kLoadProfile);
    Probe([](CDialog& d) { return Field(d, kSsid) + kw::Format(" %zu", d.Combo(kProfileName).Items().size()); });
    user.Type(kProfileName, u"home").Click(kDeleteProfile);
    user.Type(kProfileName, u"home").Click(kDeleteProfile);
    Probe([](CDialog& d) { return kw::Format("%zu", d.Combo(kProfileName).Items().size()); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("HomeWPA2 1", "0"));
    std::vector<std::string> boxes;
    for (const auto& line : user.Lines()) {
        if (line.rfind("messagebox:", 0) == 0) boxes.push_back(line);
    }
    EXPECT_THAT(boxes, ElementsAre(::testing::HasSubstr("\"Profile\" \"Please specify or input a profile name!\""),
                                   ::testing::HasSubstr("\"Profile\" \"A profile name may not hold a backslash"),
                                   ::testing::HasSubstr("\"Can't found the specified profile: \\\"Nowhere\\\".\""),
                                   ::testing::HasSubstr("\"Can't found the specified profile: \\\"home\\\".\"")));
    EXPECT_TRUE(kw::ProfileNames().empty());
}

TEST_F(MoreSettingDlgTest, ChildDialogsOpenWithTheirChainIdsAndGiveItBack) {
    std::vector<std::string> seen;
    for (int resource : {157, 195, 159, 161}) {
        user.WhenOpened(resource, [&seen, this, resource](CDialog& d) {
            seen.push_back(kw::Format("%d id=%d", resource, kw::CurrentDialogId()));
            user.Close();
            (void)d;
        });
    }
    for (int button : {kWepButton, kWpaButton, kAdvancedButton, kInformationButton}) {
        user.Click(button);
        Probe([](CDialog&) { return kw::Format("back id=%d", kw::CurrentDialogId()); });
    }
    RunDialog();
    EXPECT_THAT(seen, ElementsAre("157 id=3", "195 id=1", "159 id=2", "161 id=4"));
    EXPECT_THAT(trace, ElementsAre("back id=1", "back id=1", "back id=1", "back id=1"));
    EXPECT_EQ(kw::CurrentDialogId(), kw::kDialogIdMain);
}

}  // namespace
}  // namespace kwtest
