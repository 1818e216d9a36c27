#include "src/settings/restore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "src/security/authentication.h"
#include "tests/support/sim_env.h"

namespace {

using kwtest::SimTest;

class RestoreTest : public SimTest {
protected:
    void Store(std::u16string_view key, std::u16string_view value, int mode = 0) {
        ASSERT_EQ(kw::WriteSettingText(mode, key, value), 0);
    }
    // The first logged call of a function, or "" when it was not called.
    static std::string First(const std::string& name) {
        auto calls = Calls(name + "(");
        return calls.empty() ? "" : calls.front();
    }
};

TEST_F(RestoreTest, FreshStationAdapterGetsEveryDefaultAndStoresIt) {
    OpenAdapter();
    EXPECT_EQ(kw::RestoreSettings(kw::Adapter()), 0);
    EXPECT_EQ(kw::BandCapability(), 0);
    EXPECT_TRUE(kw::BandSelectionSupported());
    const char* expected[] = {
        "SetWL_KWWirelessMode(3) = 0",        "SetWL_802_11_NetworkTypeInUse(3) = 0",
        "SetWL_NetworkType(1) = 0",           "SetWL_AuthenticationMode(2) = 0",
        "SetWL_WEPStatus(1) = 0",             "SetWL_PreambleMode(2) = 0",
        "SetWL_FragmentationThreshold(2346) = 0", "SetWL_RTS_CTS_Threshold(2347) = 0",
        "SetWL_PSMode(0) = 0",                "SetWL_MultiDomainCapability(0) = 0",
        "SetWL_OperationRegionCode(0) = 0",   "SetWL_SSID([], 0) = 0",
        "SetWL_KWPSPXLinkMode(0) = 0",        "SetWL_KWWMMQosMode(0) = 0",
    };
    for (const char* line : expected) EXPECT_TRUE(Called(line)) << line;
    EXPECT_EQ(First("SetWL_Channel"), "");  // infrastructure: no channel
    auto keys = Calls("SetWL_WriteKey(");
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0], "SetWL_WriteKey(0, 0, 1, [21 22 23 24 25]) = 0");
    EXPECT_EQ(keys[3], "SetWL_WriteKey(3, 0, 0, [21 22 23 24 25]) = 0");
    EXPECT_EQ(First("SetWL_DesiredRate"), "SetWL_DesiredRate([82 84 8B 96 0C 12 18 24 30 48 60 6C 00 00 00 00]) = 0");
    auto ssids = Calls("SetWL_SSID(");
    ASSERT_EQ(ssids.size(), 2u);
    EXPECT_NE(ssids[0].find(", 32) = 0"), std::string::npos);  // the throw-away name first

    struct Stored_ {
        const char16_t* key;
        const char16_t* value;
    } stored[] = {{u"NetworkType", u"1"},          {u"AuthenticationMode", u"2"},      {u"WEPStatus", u"1"},
                  {u"WEPKeyLength", u"64"},        {u"WEPDefaultKeyId", u"0"},         {u"WEPKey64_3", u"21 22 23 24 25"},
                  {u"PreambleMode", u"2"},         {u"FragmentationThreshold", u"2346"}, {u"RTSThreshold", u"2347"},
                  {u"PowerSaveMode", u"0"},        {u"MultiDomainCapability", u"0"},   {u"OperationRegion", u"0"},
                  {u"PSPXLinkMode", u"0"},         {u"WMMQosMode", u"0"},              {u"SSID", u""}};
    for (const auto& s : stored) EXPECT_EQ(Stored(s.key), s.value) << kw::ToUtf8(s.key);
}

TEST_F(RestoreTest, RangeRulesReplaceCorruptValues) {
    OpenAdapter();
    Store(u"NetworkType", u"0");
    Store(u"Channel", u"40");
    Store(u"WEPKeyLength", u"100");
    Store(u"AuthenticationMode", u"9");
    Store(u"DesiredRate", u"02 04 0B 16");
    Store(u"PreambleMode", u"1");
    Store(u"FragmentationThreshold", u"junk");
    kw::RestoreSettings(kw::Adapter());
    EXPECT_TRUE(Called("SetWL_Channel(6) = 0"));
    EXPECT_TRUE(Called("SetWL_AuthenticationMode(2) = 0"));
    EXPECT_EQ(Calls("SetWL_WriteKey(0, 0, 1, ").size(), 1u);  // 64-bit keys
    EXPECT_TRUE(Called("SetWL_PreambleMode(2) = 0"));  // a station always uses 2
    EXPECT_TRUE(Called("SetWL_FragmentationThreshold(2346) = 0"));
    EXPECT_EQ(First("SetWL_DesiredRate"), "SetWL_DesiredRate([82 84 8B 96 0C 12 18 24 30 48 60 6C 00 00 00 00]) = 0");
}

TEST_F(RestoreTest, FixedRateInAdHocFollowsTheAdHocMode) {
    ASSERT_TRUE(kw::sim::LoadWorldText("[Adapter1]\nDeviceName=dev\nInstanceKey=0007\nAdhocMode=0\n"
                                       "SupportedRates=82 84 8B 96 0C 12 18 24 30 48 60 6C\n"));
    OpenAdapter("dev");
    Store(u"NetworkType", u"0");
    Store(u"STATxRate", u"108");
    kw::RestoreSettings(kw::Adapter());
    auto rates = Calls("SetWL_DesiredRate(");
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_EQ(rates[1], "SetWL_DesiredRate([16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]) = 0");
}

TEST_F(RestoreTest, AccessPointBranchRules) {
    OpenAdapter();
    kw::SetOperationMode(1);
    Store(u"MACFilterAddr2", u"00 11 22 33 44 55", 1);
    Store(u"ApWirelessMode", u"0", 1);
    Store(u"AuthenticationMode", u"5", 1);
    kw::RestoreSettings(kw::Adapter());
    EXPECT_EQ(Stored(u"SSID", 1), u"WLAN_AP");
    EXPECT_TRUE(Called("SetWL_SSID([57 4C 41 4E 5F 41 50], 7) = 0"));
    EXPECT_EQ(Calls("SetWL_SSID(").size(), 1u);  // no throw-away name for an access point
    EXPECT_TRUE(Called("SetWL_AuthenticationMode(0) = 0"));
    EXPECT_TRUE(Called("SetWL_ApWirelessMode(1) = 0"));
    EXPECT_TRUE(Called("SetWL_Channel(6) = 0"));
    auto filter = First("SetWLAP_FilterList");
    EXPECT_NE(filter.find("01 00 11 22 33 44 55"), std::string::npos) << filter;
    EXPECT_EQ(First("SetWL_NetworkType"), "");
    EXPECT_EQ(First("SetWL_PSMode"), "");
}

TEST_F(RestoreTest, StoredWpa2PskBringsTheLinkUpWithKeysAndStopsPromptly) {
    OpenAdapter();
    Store(u"SSID", u"HomeWPA2");
    Store(u"AuthenticationMode", u"7");
    Store(u"WEPStatus", u"6");
    Store(u"Dot1xPassphrase", u"correct horse battery");
    Store(u"Dot1xPassphraseFormat", u"0");
    kw::RestoreSettings(kw::Adapter());
    ASSERT_TRUE(kw::AuthenticationWanted());
    EXPECT_TRUE(kwtest::WaitInVirtualTime([] { return Calls("WriteOid(0xFF12FF1D").size() >= 2; }));
    EXPECT_EQ(::QueryWL_ConnectState(kw::Adapter()), 0);

    uint64_t before = kw::clock::NowMs();
    kw::StopAuthentication();
    EXPECT_FALSE(kw::AuthenticationWanted());
    EXPECT_LE(kw::clock::NowMs() - before, 1000u);
}

}  // namespace
