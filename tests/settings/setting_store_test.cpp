#include "src/settings/setting_store.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "src/device/identity.h"
#include "src/settings/app_key.h"
#include "src/settings/hex_bytes.h"
#include "tests/support/test_env.h"

namespace {

class SettingStoreTest : public kwtest::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        kw::SetRegistryRoot(u"Talvo", u"KWConfig");
        kw::SetReleaseChipMode(u"GENERAL");
        kw::SetAdapterKey("0007");
        kw::SetOperationMode(0);
    }
    void TearDown() override {
        kw::SetAdapterKey("");
        kw::SetOperationMode(0);
        IsolatedTest::TearDown();
    }
};

TEST_F(SettingStoreTest, BranchPathFollowsChipModeAdapterAndMode) {
    ASSERT_EQ(kw::WriteSettingText(0, u"SSID", u"Home"), 0);
    EXPECT_EQ(kw::reg::ReadString(kw::reg::Hive::CurrentUser, u"Software\\Talvo\\KWConfig\\LastSetting\\GENERAL\\0007\\Station",
                                  u"SSID"),
              u"Home");
    ASSERT_EQ(kw::WriteSettingText(1, u"SSID", u"AP"), 0);
    EXPECT_EQ(kw::ReadSettingText(1, u"ssid"), u"AP");
    EXPECT_EQ(kw::ReadSettingText(0, u"SSID"), u"Home");

    kw::SetReleaseChipMode(u"KW7100");  // redirects every later access
    EXPECT_EQ(kw::ReadSettingText(0, u"SSID"), u"");
    kw::SetReleaseChipMode(u"GENERAL");
    kw::SetAdapterKey("0008");
    EXPECT_EQ(kw::ReadSettingText(0, u"SSID"), u"");
}

TEST_F(SettingStoreTest, BadModesAndNumberConversions) {
    EXPECT_EQ(kw::ReadSettingText(2, u"SSID"), u"");
    EXPECT_EQ(kw::WriteSettingText(2, u"SSID", u"x"), -1);
    EXPECT_EQ(kw::WriteSettingText(-1, u"SSID", u"x"), -1);
    struct Case {
        const char16_t* text;
        int value;
    } cases[] = {{u"12abc", 12}, {u"abc", 0}, {u"  -5", -5}, {u"99999999999999999999999", INT32_MAX}};
    for (const auto& c : cases) {
        ASSERT_EQ(kw::WriteSettingText(0, u"Channel", c.text), 0);
        EXPECT_EQ(kw::ReadSettingNumber(u"Channel"), c.value);
    }
    EXPECT_EQ(kw::ReadSettingNumber(u"Absent"), -1);
    kw::SetOperationMode(1);
    EXPECT_EQ(kw::ReadSettingNumber(u"Channel"), -1);  // the access-point branch has none
}

TEST(HexBytes, ReadingRules) {
    struct Case {
        const char* text;
        size_t n;
        std::vector<uint8_t> bytes;  // the whole buffer afterwards
    } cases[] = {
        {"1 2 3", 6, {1, 2, 3, 0, 0, 0}},
        {"0A3FZ4", 6, {0x0A, 0x3F, 0, 0, 0, 0}},
        {"00 11 22 33 44 55 66", 6, {0, 0x11, 0x22, 0x33, 0x44, 0x55}},
        {"ab\tCD 7", 4, {0xAB, 0xCD, 7, 0}},
        {"12 3Z", 3, {0x12, 0, 0}},   // a lone digit before a stop character is dropped
        {"123", 3, {0x12, 3, 0}},      // the odd digit at the end makes a byte
        {"", 2, {0, 0}},
        {"  ", 2, {0, 0}},
        {"FFFF", 1, {0xFF}},
        {"\xE9 12", 2, {0, 0}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> out(c.n, 0xEE);
        kw::ParseHexBytes(c.text, out.data(), out.size());
        EXPECT_EQ(out, c.bytes) << c.text;
    }
}

TEST(HexBytes, WritingRules) {
    const uint8_t bytes[] = {0x02, 0x04, 0x0B, 0x16};
    EXPECT_EQ(kw::FormatHexBytes(bytes, 4), u"02 04 0B 16");
    EXPECT_EQ(kw::FormatHexBytes(bytes, 4, false), u"02040B16");
    EXPECT_EQ(kw::FormatHexBytes(bytes, 0), u"");
}

}  // namespace
