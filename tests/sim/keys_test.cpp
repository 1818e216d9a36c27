// The supplicant's key derivations against published vectors and its argument checks.
#include "platform/text.h"
#include "tests/sim/sim_support.h"

namespace simtest {
namespace {

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string hex;
    for (size_t i = 0; i < count; ++i) hex += kw::Format("%02x", bytes[i]);
    return hex;
}

class SimKeysTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Load("");  // the derivations need no adapter
    }
};

TEST_F(SimKeysTest, PreSharedKeyMatchesTheIeee80211iVectors) {
    struct Vector {
        const char* passphrase;
        const char* ssid;
        const char* psk;
    };
    const Vector vectors[] = {
        {"password", "IEEE", "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e"},
        {"ThisIsAPassword", "ThisIsASSID", "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af"},
    };
    for (const Vector& v : vectors) {
        auto psk = PskOf(v.passphrase, v.ssid);
        EXPECT_EQ(Hex(psk.data(), psk.size()), v.psk) << v.passphrase;
    }
}

TEST_F(SimKeysTest, BadArgumentsFailWithoutTouchingTheOutput) {
    uint8_t out[64];
    std::memset(out, 0xAB, sizeof(out));
    const uint8_t ssid[33] = {};
    EXPECT_EQ(Get_PSK_Key_32byte("password", ssid, 33, 4096, out, 32), -1);
    EXPECT_EQ(Get_PSK_Key_32byte(nullptr, ssid, 4, 4096, out, 32), -1);
    EXPECT_EQ(Get_PSK_Key_32byte("password", ssid, 4, 0, out, 32), -1);
    EXPECT_EQ(Get_PSK_Key_32byte("password", ssid, 4, 4096, out, 0), -1);
    EXPECT_EQ(out[0], 0xAB);
    EXPECT_EQ(Get_PMKID(nullptr, ssid, ssid, out), -1);
}

// The widely published PMKID example: pass phrase "hashcat!", the SSID below, AA 46 04 BA 73 4D 4E,
// SPA 89 AC F0 E7 61 F4.
TEST_F(SimKeysTest, PmkidMatchesThePublishedExample) {
    const uint8_t ssid[] = {0xed, 0x48, 0x71, 0x62, 0x46, 0x5a, 0x77, 0x4b,
                            0xfb, 0xa6, 0x0e, 0xb6, 0x03, 0xa3, 0x9f, 0x3a};
    const uint8_t authenticator[6] = {0x46, 0x04, 0xba, 0x73, 0x4d, 0x4e};
    const uint8_t supplicant[6] = {0x89, 0xac, 0xf0, 0xe7, 0x61, 0xf4};
    uint8_t pmk[32];
    ASSERT_EQ(Get_PSK_Key_32byte("hashcat!", ssid, sizeof(ssid), 4096, pmk, 32), 0);
    uint8_t pmkid[16];
    ASSERT_EQ(Get_PMKID(pmk, authenticator, supplicant, pmkid), 0);
    EXPECT_EQ(Hex(pmkid, 16), "2582a8281bf9d4308d6f5731d0e61c61");
}

}  // namespace
}  // namespace simtest
