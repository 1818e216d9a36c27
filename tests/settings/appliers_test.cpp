#include "src/settings/appliers.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "src/settings/setting_keys.h"
#include "src/settings/wep_keys.h"
#include "tests/support/sim_env.h"

namespace {

using kwtest::SimTest;

class AppliersTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
};

TEST_F(AppliersTest, DriverFirstThenTheStoreOnlyOnSuccess) {
    AdapterContext* ctx = kw::Adapter();
    struct Case {
        int (*apply)(AdapterContext*, int);
        const char16_t* key;
        const char* call;
        int value;
        int (*query)(AdapterContext*);  // the driver's getter, where it has one
    } cases[] = {
        {kw::ApplyChannel, u"Channel", "SetWL_Channel(11) = 0", 11, QueryWL_Channel},
        {kw::ApplyAuthenticationMode, u"AuthenticationMode", "SetWL_AuthenticationMode(7) = 0", 7, QueryWL_AuthenticationMode},
        {kw::ApplyEncryptionStatus, u"WEPStatus", "SetWL_WEPStatus(0) = 0", 0, QueryWL_WEPStatus},
        {kw::ApplyPowerSaveMode, u"PowerSaveMode", "SetWL_PSMode(2) = 0", 2, QueryWL_PSMode},
        {kw::ApplyFragmentationThreshold, u"FragmentationThreshold", "SetWL_FragmentationThreshold(1024) = 0", 1024,
         QueryWL_FragmentationThreshold},
        {kw::ApplyRtsThreshold, u"RTSThreshold", "SetWL_RTS_CTS_Threshold(500) = 0", 500, QueryWL_RTS_CTS_Threshold},
        {kw::ApplyPreambleMode, u"PreambleMode", "SetWL_PreambleMode(2) = 0", 2, nullptr},
        {kw::ApplyMultiDomainCapability, u"MultiDomainCapability", "SetWL_MultiDomainCapability(1) = 0", 1,
         QueryWL_MultiDomainCapability},
        {kw::ApplyPspXLinkMode, u"PSPXLinkMode", "SetWL_KWPSPXLinkMode(1) = 0", 1, nullptr},
        {kw::ApplyWmmQosMode, u"WMMQosMode", "SetWL_KWWMMQosMode(1) = 0", 1, nullptr},
        {kw::ApplyWirelessMode, u"WirelessMode", "SetWL_802_11_NetworkTypeInUse(3) = 0", 3, QueryWL_802_11_NetworkTypeInUse},
        {kw::ApplyNetworkType, u"NetworkType", "SetWL_NetworkType(0) = 0", 0, QueryWL_NetworkType},
        {kw::ApplyHideSsid, u"HideSSID", "SetWLAP_HideSSIDState(1) = 0", 1, nullptr},
        {kw::ApplyApWirelessMode, u"ApWirelessMode", "SetWL_ApWirelessMode(2) = 0", 2, nullptr},
        {kw::ApplyApProtectionMode, u"ApProtectionMode", "SetWL_ApProtectionMode(3) = 0", 3, nullptr},
        {kw::ApplyMacFilterMode, u"MACFilterMode", "SetWLAP_FilterMode(1) = 0", 1, nullptr},
        {kw::ApplyTxPowerLevel, u"TxPowerLevel", "SetWLAP_TxPowerLevel(2) = 0", 2, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.apply(ctx, c.value), 0) << c.call;
        EXPECT_TRUE(Called(c.call)) << c.call;
        if (c.query) {
            EXPECT_EQ(c.query(ctx), c.value) << c.call;
        }
        EXPECT_EQ(kw::reg::ReadString(kw::reg::Hive::CurrentUser,
                                      u"Software\\Talvo\\KWConfig\\LastSetting\\KW7100\\0007\\Station", c.key),
                  kw::FormatW("%d", c.value))
            << c.call;
    }
    EXPECT_EQ(kw::CurrentNetworkType(), 0);
}

// Every applier whose driver setter refuses leaves the stored value as it was; only the transmit
// power is kept whatever the driver says.
TEST_F(AppliersTest, RefusedSettingsAreNotStoredExceptTransmitPower) {
    static const uint8_t ssid[] = {'N', 'e', 'w'};
    static uint8_t rates[16] = {2, 4};
    static uint8_t filter[kw::kMacFilterListBytes] = {1, 0, 0x0A, 0x3F, 0x12, 0xC4, 0x7E};
    struct Case {
        const char* refused;
        const char16_t* key;
        int (*apply)(AdapterContext*);
        bool storedAnyway;
    } cases[] = {
        {"SetWL_SSID", u"SSID", [](AdapterContext* c) { return kw::ApplySsid(c, ssid, 3); }, false},
        {"SetWLAP_HideSSIDState", u"HideSSID", [](AdapterContext* c) { return kw::ApplyHideSsid(c, 1); }, false},
        {"SetWL_802_11_NetworkTypeInUse", u"WirelessMode", [](AdapterContext* c) { return kw::ApplyWirelessMode(c, 3); }, false},
        {"SetWL_Channel", u"Channel", [](AdapterContext* c) { return kw::ApplyChannel(c, 11); }, false},
        {"SetWL_ApWirelessMode", u"ApWirelessMode", [](AdapterContext* c) { return kw::ApplyApWirelessMode(c, 2); }, false},
        {"SetWL_ApProtectionMode", u"ApProtectionMode", [](AdapterContext* c) { return kw::ApplyApProtectionMode(c, 3); }, false},
        {"SetWL_NetworkType", u"NetworkType", [](AdapterContext* c) { return kw::ApplyNetworkType(c, 0); }, false},
        {"SetWL_DesiredRate", u"DesiredRate", [](AdapterContext* c) { return kw::ApplyDesiredRates(c, rates); }, false},
        {"SetWL_WEPStatus", u"WEPStatus", [](AdapterContext* c) { return kw::ApplyEncryptionStatus(c, 0); }, false},
        {"SetWL_AuthenticationMode", u"AuthenticationMode", [](AdapterContext* c) { return kw::ApplyAuthenticationMode(c, 7); }, false},
        {"SetWL_PSMode", u"PowerSaveMode", [](AdapterContext* c) { return kw::ApplyPowerSaveMode(c, 2); }, false},
        {"SetWL_FragmentationThreshold", u"FragmentationThreshold",
         [](AdapterContext* c) { return kw::ApplyFragmentationThreshold(c, 1024); }, false},
        {"SetWL_RTS_CTS_Threshold", u"RTSThreshold", [](AdapterContext* c) { return kw::ApplyRtsThreshold(c, 500); }, false},
        {"SetWL_PreambleMode", u"PreambleMode", [](AdapterContext* c) { return kw::ApplyPreambleMode(c, 2); }, false},
        {"SetWLAP_FilterMode", u"MACFilterMode", [](AdapterContext* c) { return kw::ApplyMacFilterMode(c, 1); }, false},
        {"SetWLAP_FilterList", u"MACFilterAddr0",
         [](AdapterContext* c) { return kw::ApplyMacFilterList(c, filter, sizeof filter); }, false},
        {"SetWL_MultiDomainCapability", u"MultiDomainCapability",
         [](AdapterContext* c) { return kw::ApplyMultiDomainCapability(c, 1); }, false},
        {"SetWL_OperationRegionCode", u"OperationRegion", [](AdapterContext* c) { return kw::ApplyRegion(c, 48); }, false},
        {"SetWL_KWPSPXLinkMode", u"PSPXLinkMode", [](AdapterContext* c) { return kw::ApplyPspXLinkMode(c, 1); }, false},
        {"SetWL_KWWMMQosMode", u"WMMQosMode", [](AdapterContext* c) { return kw::ApplyWmmQosMode(c, 1); }, false},
        {"SetWLAP_TxPowerLevel", u"TxPowerLevel", [](AdapterContext* c) { return kw::ApplyTxPowerLevel(c, 3); }, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(kw::sim::LoadWorldText(std::string("[Adapter1]\nDeviceName=dev\nInstanceKey=0007\nRefuse=") +
                                           c.refused + "\n"));
        kw::ResetAdapterContext();
        OpenAdapter("dev");
        ASSERT_EQ(kw::WriteSettingText(0, c.key, u"before"), 0) << c.refused;
        EXPECT_EQ(c.apply(kw::Adapter()), -1) << c.refused;
        auto calls = Calls(std::string(c.refused) + "(");
        ASSERT_FALSE(calls.empty()) << c.refused;
        EXPECT_TRUE(calls.back().ends_with(" = -1")) << calls.back();
        EXPECT_EQ(Stored(c.key) == u"before", !c.storedAnyway) << c.refused;
    }
    EXPECT_EQ(Stored(u"TxPowerLevel"), u"3");

    ASSERT_TRUE(kw::sim::LoadWorldText("[Adapter1]\nDeviceName=dev\nInstanceKey=0007\nRefuse=SetWL_WriteKey\n"));
    kw::ResetAdapterContext();
    OpenAdapter("dev");
    const uint8_t key[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(kw::WriteWepKey(kw::Adapter(), 0, 0, 1, key), -1);
    EXPECT_EQ(Stored(u"WEPKey64_0"), u"");
}

TEST_F(AppliersTest, RegionGoesIntoBothBranchesWhateverTheMode) {
    kw::SetOperationMode(1);
    EXPECT_EQ(kw::ApplyRegion(kw::Adapter(), 48), 0);
    EXPECT_EQ(Stored(u"OperationRegion", 0), u"48");
    EXPECT_EQ(Stored(u"OperationRegion", 1), u"48");
}

TEST_F(AppliersTest, SsidRatesAndFilterListAreStoredAsTextAndHexBytes) {
    AdapterContext* ctx = kw::Adapter();
    kw::SetAddressRenewalPending(true);
    const uint8_t ssid[] = {'C', 'a', 'f', 0xE9};
    EXPECT_EQ(kw::ApplySsid(ctx, ssid, 4), 0);
    EXPECT_FALSE(kw::AddressRenewalPending());
    EXPECT_EQ(Stored(u"SSID"), u"Caf\u00E9");
    EXPECT_TRUE(Called("SetWL_SSID([43 61 66 E9], 4) = 0"));

    uint8_t rates[16] = {2, 4, 11, 22};
    EXPECT_EQ(kw::ApplyDesiredRates(ctx, rates), 0);
    EXPECT_EQ(Stored(u"DesiredRate"), u"02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00");

    uint8_t list[kw::kMacFilterListBytes] = {};
    list[0] = 1;
    const uint8_t mac[6] = {0x00, 0x0A, 0x3F, 0x12, 0xC4, 0x7E};
    std::memcpy(list + 1, mac, 6);
    EXPECT_EQ(kw::ApplyMacFilterList(ctx, list, sizeof list), 0);
    EXPECT_EQ(Stored(u"MACFilterAddr0"), u"00 0A 3F 12 C4 7E");
    EXPECT_EQ(Stored(u"MACFilterAddr15"), u"00 00 00 00 00 00");
}

TEST_F(AppliersTest, WepKeyRecordsNamesDefaultsAndLimits) {
    EXPECT_EQ(kw::WepKeyRecordName(256, 3), u"WEPKey256_3");
    uint8_t buffer[29];
    EXPECT_EQ(kw::ReadWepKeyRecord(64, 0, buffer, sizeof buffer), 0);  // absent: the built-in key
    EXPECT_EQ(0, std::memcmp(buffer, kw::DefaultWepKey(), 5));
    for (size_t i = 5; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0);
    EXPECT_EQ(kw::ReadWepKeyRecord(128, 0, buffer, 12), -1);
    EXPECT_EQ(kw::ReadWepKeyRecord(100, 0, buffer, sizeof buffer), -1);
    EXPECT_EQ(kw::ReadWepKeyRecord(64, 4, buffer, sizeof buffer), -1);

    ASSERT_EQ(kw::WriteSettingText(0, u"WEPKey128_1", u"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D"), 0);
    EXPECT_EQ(kw::ReadWepKeyRecord(128, 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[12], 0x0D);
    EXPECT_EQ(buffer[13], 0);
    ASSERT_EQ(kw::WriteSettingText(0, u"WEPKey64_2", u"AA BB CC DD 5"), 0);  // a lone last digit
    EXPECT_EQ(kw::ReadWepKeyRecord(64, 2, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[4], 5);

    const uint8_t key[5] = {0x31, 0x32, 0x33, 0x34, 0x35};
    EXPECT_EQ(kw::WriteWepKey(kw::Adapter(), 2, 0, 1, key), 0);
    EXPECT_EQ(Stored(u"WEPKey64_2"), u"31 32 33 34 35");  // 14 characters
    EXPECT_EQ(Stored(u"WEPKeyLength"), u"64");
    EXPECT_EQ(Stored(u"WEPDefaultKeyId"), u"2");
    EXPECT_TRUE(Called("SetWL_WriteKey(2, 0, 1, [31 32 33 34 35]) = 0"));
}

TEST_F(AppliersTest, WepEnableWritesTheFourStoredKeysThenTheStatus) {
    ASSERT_EQ(kw::WriteSettingText(0, u"WEPKeyLength", u"128"), 0);
    ASSERT_EQ(kw::WriteSettingText(0, u"WEPDefaultKeyId", u"1"), 0);
    kw::ApplyWepEnabled(kw::Adapter(), true, -1);
    auto writes = Calls("SetWL_WriteKey(");
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[1].rfind("SetWL_WriteKey(1, 1, 1, ", 0), 0u) << writes[1];
    EXPECT_EQ(writes[0].rfind("SetWL_WriteKey(0, 1, 0, ", 0), 0u) << writes[0];
    EXPECT_EQ(Log().back(), "SetWL_WEPStatus(0) = 0");
}

}  // namespace
