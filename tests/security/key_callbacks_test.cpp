#include "src/security/key_callbacks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "src/device/records.h"
#include "src/security/pmk_cache.h"

namespace {

// An association-information buffer: the request elements at 100, the response ones at end.
std::vector<uint8_t> AssociationInfo(const std::vector<uint8_t>& requestElements, uint32_t responseOffset = 0) {
    std::vector<uint8_t> info(1000, 0);
    uint32_t begin = 100;
    uint32_t end = responseOffset ? responseOffset : begin + static_cast<uint32_t>(requestElements.size());
    std::memcpy(info.data() + 20, &begin, 4);
    std::memcpy(info.data() + 36, &end, 4);
    std::copy(requestElements.begin(), requestElements.end(), info.begin() + begin);
    return info;
}

TEST(AssociationElements, LastMatchWinsAndEveryWalkStaysInside) {
    std::vector<uint8_t> out(kw::kElementBufferSize, 0xEE);
    auto info = AssociationInfo({221, 2, 0xAA, 0xBB, 48, 1, 0x01, 221, 3, 1, 2, 3});
    ASSERT_TRUE(kw::FindRequestElement(info.data(), info.size(), 221, out.data()));
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 6), (std::vector<uint8_t>{221, 3, 1, 2, 3, 0}));

    // An element running past the request area ends the walk.
    out.assign(out.size(), 0xEE);
    info = AssociationInfo({48, 10, 1, 2}, 104);
    EXPECT_FALSE(kw::FindRequestElement(info.data(), info.size(), 48, out.data()));
    EXPECT_EQ(out[0], 0xEE);

    struct BadOffsets {
        uint32_t begin, end;
    } cases[] = {{0xFFFFFFFF, 0xFFFFFFFF}, {999, 2000}, {500, 100}, {998, 0xFFFFFFFE}};
    for (const auto& c : cases) {
        std::vector<uint8_t> buffer(1000, 221);
        std::memcpy(buffer.data() + 20, &c.begin, 4);
        std::memcpy(buffer.data() + 36, &c.end, 4);
        kw::FindRequestElement(buffer.data(), buffer.size(), 221, out.data());  // must not read outside
    }
    EXPECT_FALSE(kw::FindRequestElement(info.data(), 30, 48, out.data()));  // too short to hold the offsets
}

TEST(CipherSuites, SuiteTypesMapToCipherCodes) {
    struct Case {
        uint8_t type;
        int32_t wpaGroup, rsnGroup, wpaPairwise, rsnPairwise;
    } cases[] = {
        {0, 1, 1, 1, -7},  // RSN pairwise "use group" takes the group code (here -7)
        {1, 2, 2, 2, 2}, {2, 8, 8, 8, 8}, {3, 8, 16, 8, 16}, {4, 16, 16, 16, 16}, {5, 4, 4, 4, 4}, {9, 8, 16, 8, 16},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kw::GroupCipherCode(221, c.type), c.wpaGroup) << int(c.type);
        EXPECT_EQ(kw::GroupCipherCode(48, c.type), c.rsnGroup) << int(c.type);
        EXPECT_EQ(kw::PairwiseCipherCode(221, c.type, -7), c.wpaPairwise) << int(c.type);
        EXPECT_EQ(kw::PairwiseCipherCode(48, c.type, -7), c.rsnPairwise) << int(c.type);
    }
}

TEST(PmkCacheRules, ZeroKeysReuseAndAFullCacheEmpties) {
    kw::PmkCache cache;
    cache.Clear();
    uint8_t bssid[6] = {1, 2, 3, 4, 5, 6};
    uint8_t key[128];
    std::memset(key, 0x11, sizeof key);
    cache.Update(bssid, key);
    EXPECT_EQ(cache.Count(), 1);

    uint8_t zero[128] = {};
    cache.Update(bssid, zero);  // a zero key takes the cached one
    EXPECT_EQ(zero[0], 0x11);
    EXPECT_EQ(cache.Count(), 1);

    uint8_t other[6] = {9, 9, 9, 9, 9, 9};
    uint8_t zero2[128] = {};
    cache.Update(other, zero2);  // nothing cached for it: the zero key is used and stored
    EXPECT_EQ(zero2[0], 0);
    EXPECT_EQ(cache.Count(), 2);

    for (uint8_t i = 0; i < 14; ++i) {
        uint8_t b[6] = {0xA0, i, 0, 0, 0, 0};
        cache.Update(b, key);
    }
    EXPECT_EQ(cache.Count(), 16);
    uint8_t seventeenth[6] = {0xB0, 0, 0, 0, 0, 0};
    cache.Update(seventeenth, key);
    EXPECT_EQ(cache.Count(), 0);
}

TEST(DumpHexOutput, SixteenBytesALineWhenDebugging) {
    ::setenv("KWCONFIG_DEBUG", "1", 1);
    uint8_t bytes[18];
    for (int i = 0; i < 18; ++i) bytes[i] = static_cast<uint8_t>(i * 15);
    testing::internal::CaptureStderr();
    kw::DumpHex(bytes, sizeof bytes);
    std::string out = testing::internal::GetCapturedStderr();
    ::unsetenv("KWCONFIG_DEBUG");
    EXPECT_EQ(out, "\n 0  f 1e 2d 3c 4b 5a 69 78 87 96 a5 b4 c3 d2 e1 \nf0 ff \n");
    testing::internal::CaptureStderr();
    kw::DumpHex(bytes, 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // silent without KWCONFIG_DEBUG
}

}  // namespace
