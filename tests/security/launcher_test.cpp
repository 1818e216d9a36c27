#include "src/security/authentication.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/ui/test_driver.h"
#include "tests/support/sim_env.h"

namespace {

std::string KeyText(const kw::PreSharedKey& key) { return reinterpret_cast<const char*>(key.bytes); }

TEST(PreSharedKeys, PassPhraseLengthsAndHexKeys) {
    struct Case {
        std::u16string stored;
        std::string used;
    } passphrases[] = {
        {u"1234567", "59260481"},
        {std::u16string(64, u'a'), "59260481"},
        {u"12345678", "12345678"},
        {std::u16string(63, u'b'), std::string(63, 'b')},
        {u"", "59260481"},
    };
    for (const auto& c : passphrases) {
        kw::PreSharedKey key = kw::PreparePreSharedKey(c.stored, 0);
        EXPECT_EQ(key.format, 0);
        EXPECT_EQ(KeyText(key), c.used);
    }
    EXPECT_EQ(kw::PreparePreSharedKey(u"12345678", -1).format, 0);  // a missing format means ASCII

    kw::PreSharedKey hex = kw::PreparePreSharedKey(u"0a1B 2c3D x 44", 1);
    EXPECT_EQ(hex.format, 1);
    const uint8_t expected[] = {0x0A, 0x1B, 0x2C, 0x3D};
    EXPECT_EQ(0, std::memcmp(hex.bytes, expected, 4));
    for (int i = 4; i < 68; ++i) EXPECT_EQ(hex.bytes[i], 0) << i;

    kw::PreSharedKey full = kw::PreparePreSharedKey(std::u16string(70, u'f'), 1);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(full.bytes[i], 0xFF);
    EXPECT_EQ(full.bytes[32], 0);
}

TEST(NarrowTexts, LowBytesWithinTheRoom) {
    EXPECT_EQ(kw::NarrowText(u"caf\u00E9\u4E2D", 256), "caf\xE9\x2D");
    EXPECT_EQ(kw::NarrowText(std::u16string(300, u'x'), 256).size(), 255u);
}

class LauncherTest : public kwtest::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
    void Store(std::u16string_view key, std::u16string_view value) { ASSERT_EQ(kw::WriteSettingText(0, key, value), 0); }
    // Lets virtual time pass until the log has a line starting with prefix.
    static bool WaitFor(const std::string& prefix, uint64_t ms = 5000) {
        return kwtest::WaitInVirtualTime([&] { return !Calls(prefix).empty(); }, ms);
    }
};

TEST_F(LauncherTest, StopWhenIdleDoesNothing) {
    kw::StopAuthentication();
    EXPECT_TRUE(Log().empty());
}

TEST_F(LauncherTest, SharedKeyModeStartsNoWorkerAndStaysRunning) {
    Store(u"AuthenticationMode", u"1");
    kw::StartAuthentication();
    EXPECT_TRUE(kw::AuthenticationWanted());
    EXPECT_TRUE(kw::ZeroConfigStoppedForAuthentication());
    EXPECT_TRUE(Called("KWStopWZCService() = 0"));
    kw::StopAuthentication();
    EXPECT_FALSE(kw::AuthenticationWanted());
    EXPECT_TRUE(Called("KWStartWZCService() = 0"));
    EXPECT_TRUE(Calls("do_eapol").empty());
}

TEST_F(LauncherTest, RestartEndsTheOldWorkerFirstAndKeepsTheServiceStopped) {
    Store(u"SSID", u"NotInRange");
    Store(u"AuthenticationMode", u"4");
    kw::sim::SetZeroConfigStatus(0);
    kw::StartAuthentication();
    ASSERT_TRUE(WaitFor("SetWL_SSID("));
    kw::StartAuthentication();
    EXPECT_TRUE(kw::ZeroConfigStoppedForAuthentication());
    EXPECT_TRUE(Calls("KWStartWZCService").empty());
    EXPECT_EQ(Calls("KWStopWZCService").size(), 2u);
    kw::StopAuthentication();
    EXPECT_EQ(Calls("KWStartWZCService").size(), 1u);
}

TEST_F(LauncherTest, LinkDownSendsAThrowAwayNameBeforeTheStoredSettings) {
    Store(u"SSID", u"HomeWPA");
    Store(u"AuthenticationMode", u"4");
    Store(u"WEPStatus", u"4");
    Store(u"Dot1xPassphrase", u"sunflower42");
    kw::StartAuthentication();
    ASSERT_TRUE(WaitFor("SetWL_SSID([48 6F 6D 65 57 50 41], 7)"));
    kw::StopAuthentication();
    auto log = Log();
    auto random = std::find_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("SetWL_SSID(", 0) == 0; });
    ASSERT_NE(random, log.end());
    EXPECT_NE(random->find(", 32) = 0"), std::string::npos) << *random;
    auto auth = std::find(random, log.end(), "SetWL_AuthenticationMode(4) = 0");
    auto status = std::find(auth, log.end(), "SetWL_WEPStatus(4) = 0");
    EXPECT_NE(status, log.end());
}

TEST_F(LauncherTest, UnexportableCertificateIsReportedFromTheWorkerThread) {
    Store(u"AuthenticationMode", u"6");
    Store(u"Dot1xProtocol", u"0");
    Store(u"Dot1xCertSubject", u"Bob Example");
    Store(u"Dot1xCertIssuer", u"Talvo Test Root CA");
    kw::ui::CTestDriver user;
    user.Answer(kw::ui::IDOK);
    kw::StartAuthentication();
    ASSERT_TRUE(WaitFor("genMyCertFile("));
    kw::StopAuthentication();
    EXPECT_TRUE(Calls("genMySSLFile").empty());
    EXPECT_TRUE(Calls("do_eapol_init").empty());
    const std::string box = std::string("messagebox: \"\" \"") + kw::kExportFailedText + "\" [ok] -> ok";
    EXPECT_EQ(user.Lines(), std::vector<std::string>{box});
}

}  // namespace
