// The supplicant workers against the simulated world, through the launcher.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/clock.h"
#include "src/security/authentication.h"
#include "tests/support/sim_env.h"

namespace {

class WorkersTest : public kwtest::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
    void Store(std::u16string_view key, std::u16string_view value) { ASSERT_EQ(kw::WriteSettingText(0, key, value), 0); }
    void StoreAll(std::initializer_list<std::pair<const char16_t*, const char16_t*>> values) {
        for (const auto& [key, value] : values) Store(key, value);
    }
    static bool WaitFor(const std::string& prefix, size_t count = 1, uint64_t ms = 8000) {
        return kwtest::WaitInVirtualTime([&] { return Calls(prefix).size() >= count; }, ms);
    }
    // Stops authentication and returns the platform time it took.
    static uint64_t Stop() {
        uint64_t before = kw::clock::NowMs();
        kw::StopAuthentication();
        return kw::clock::NowMs() - before;
    }
    static bool Associated() { return ::QueryWL_ConnectState(kw::Adapter()) == 0; }
};

struct SecurityCase {
    const char* name;
    std::vector<std::pair<const char16_t*, const char16_t*>> settings;
    const char* keyRequest;  // the driver request that installs its keys
};

TEST_F(WorkersTest, EachSecurityKindGetsItsKeysInstalled) {
    const SecurityCase cases[] = {
        {"WPA-PSK",
         {{u"SSID", u"HomeWPA"}, {u"AuthenticationMode", u"4"}, {u"WEPStatus", u"4"}, {u"Dot1xPassphrase", u"sunflower42"}},
         "WriteOid(0xFF12FF1D"},
        {"WPA2-PSK",
         {{u"SSID", u"HomeWPA2"}, {u"AuthenticationMode", u"7"}, {u"WEPStatus", u"6"},
          {u"Dot1xPassphrase", u"correct horse battery"}},
         "WriteOid(0xFF12FF1D"},
        {"WPA2 PEAP",
         {{u"SSID", u"CorpNet"}, {u"AuthenticationMode", u"6"}, {u"WEPStatus", u"6"}, {u"Dot1xProtocol", u"1"},
          {u"Dot1xUsername", u"alice"}, {u"Dot1xPassword", u"Wonderland1"}},
         "WriteOid(0xFF12FF1D"},
        {"WPA2 TTLS",
         {{u"SSID", u"CorpNet"}, {u"AuthenticationMode", u"6"}, {u"WEPStatus", u"6"}, {u"Dot1xProtocol", u"2"},
          {u"Dot1xUsername", u"alice"}, {u"Dot1xPassword", u"Wonderland1"}, {u"Dot1xPhase2Auth", u"MSCHAPv2"}},
         "WriteOid(0xFF12FF1D"},
        {"802.1X dynamic WEP",
         {{u"SSID", u"LabDot1x"}, {u"AuthenticationMode", u"0"}, {u"WEPStatus", u"0"}, {u"Dot1xProtocol", u"1"},
          {u"Dot1xUsername", u"bob"}, {u"Dot1xPassword", u"Builder22"}},
         "WriteOid(0xFF12FF13"},
    };
    for (const auto& c : cases) {
        // Each case starts from a fresh world, with the adapter in no network.
        ASSERT_TRUE(kw::sim::LoadWorldFile(kwtest::DefaultWorldFile()));
        kw::ResetAdapterContext();
        OpenAdapter();
        for (const auto& [key, value] : c.settings) Store(key, value);
        kw::StartAuthentication();
        EXPECT_TRUE(WaitFor(c.keyRequest, 2)) << c.name;
        EXPECT_TRUE(Associated()) << c.name;
        EXPECT_LE(Stop(), 1000u) << c.name;
        EXPECT_FALSE(Calls("Shutdown_Dot1x_Module").empty()) << c.name;
    }
}

TEST_F(WorkersTest, TlsUsesTheGeneratedCertificateFiles) {
    StoreAll({{u"SSID", u"CorpNet"}, {u"AuthenticationMode", u"6"}, {u"WEPStatus", u"6"}, {u"Dot1xProtocol", u"0"},
              {u"Dot1xUsername", u"alice"}, {u"Dot1xCertSubject", u"Alice Example"},
              {u"Dot1xCertIssuer", u"Talvo Test Root CA"}});
    kw::StartAuthentication();
    EXPECT_TRUE(WaitFor("WriteOid(0xFF12FF1D", 2));
    Stop();
    EXPECT_TRUE(std::filesystem::exists(root_.File("Talvo.pem")));
    auto init = Calls("do_eapol_init(");
    ASSERT_FALSE(init.empty());
    EXPECT_NE(init[0].find("\"EAP\", \"TLS\", \"alice\""), std::string::npos) << init[0];
    EXPECT_FALSE(Calls("WriteOid(0xFF12FF23").empty());  // the PMKID of WPA2
}

TEST_F(WorkersTest, WrongPassPhraseKeepsRejoiningUntilStopped) {
    StoreAll({{u"SSID", u"HomeWPA2"}, {u"AuthenticationMode", u"7"}, {u"WEPStatus", u"6"},
              {u"Dot1xPassphrase", u"not the right one"}});
    kw::StartAuthentication();
    EXPECT_TRUE(WaitFor("do_eapol_start(", 2, 15000));  // a second attempt after the link dropped
    EXPECT_LE(Stop(), 1000u);
    EXPECT_TRUE(Calls("WriteOid(0xFF12FF1D").empty());
}

TEST_F(WorkersTest, StopWhileWaitingForTheLinkNeedsNoLibrary) {
    StoreAll({{u"SSID", u"NotInRange"}, {u"AuthenticationMode", u"7"}, {u"WEPStatus", u"6"}});
    kw::StartAuthentication();
    ASSERT_TRUE(WaitFor("QueryWL_ConnectState(", 3));
    EXPECT_LE(Stop(), 1000u);
    EXPECT_TRUE(Calls("do_eapol").empty());
    EXPECT_TRUE(Calls("Shutdown_Dot1x_Module").empty());
}

TEST_F(WorkersTest, StopDuringEapCountsAsAFailedExchange) {
    ASSERT_TRUE(kw::sim::LoadWorldText("[Adapter1]\nDeviceName=dev\nInstanceKey=0007\n"
                                       "[Network1]\nSSID=WpaEap\nBSSID=02 00 00 00 00 01\nSecurity=wpa-eap\n"
                                       "Cipher=tkip\nUser=carol\nPassword=right\n"));
    kw::ResetAdapterContext();
    OpenAdapter("dev");
    StoreAll({{u"SSID", u"WpaEap"}, {u"AuthenticationMode", u"3"}, {u"WEPStatus", u"4"}, {u"Dot1xProtocol", u"1"},
              {u"Dot1xUsername", u"carol"}, {u"Dot1xPassword", u"wrong"}});
    kw::StartAuthentication();
    ASSERT_TRUE(WaitFor("do_eapol_run(", 3));
    EXPECT_LE(Stop(), 1000u);
    auto log = Log();
    auto halt = std::find(log.begin(), log.end(), "do_eapol_halt() = 0");
    ASSERT_NE(halt, log.end());
    // The WPA workers rejoin after a failed exchange, also when it was stopped.
    auto rejoin = std::find_if(halt, log.end(), [](const std::string& l) { return l.rfind("SetWL_SSID(", 0) == 0; });
    EXPECT_NE(rejoin, log.end());
    EXPECT_NE(std::find(rejoin, log.end(), "Shutdown_Dot1x_Module() = 0"), log.end());
}

TEST_F(WorkersTest, StopDuringKeyNegotiationEndsPromptly) {
    StoreAll({{u"SSID", u"HomeWPA"}, {u"AuthenticationMode", u"4"}, {u"WEPStatus", u"4"},
              {u"Dot1xPassphrase", u"sunflower42"}});
    kw::StartAuthentication();
    ASSERT_TRUE(WaitFor("do_key_negotiation_run(", 4));
    EXPECT_LE(Stop(), 1000u);
    auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "Shutdown_Dot1x_Module() = 0");
    EXPECT_EQ(log.back(), "KWStartWZCService() = 0");
}

}  // namespace
