// A private simulated world per test, and the driver-side halves of key negotiation (the
// callbacks a supplicant worker hands to the library), written from the request layouts.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "sim/control.h"
#include "src/device/dot1x.h"
#include "src/device/kwwlan.h"
#include "tests/support/test_env.h"

namespace simtest {

using Bytes = std::vector<uint8_t>;

// The context the callbacks below use, as the program's callbacks use its process-wide one.
inline AdapterContext g_ctx{};

class SimTest : public kwtest::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        kw::sim::Reset();
        kw::sim::KeepCallLog(true);
        g_ctx = AdapterContext{};
        g_ctx.handle = -1;
    }
    void TearDown() override {
        kw::sim::Reset();
        IsolatedTest::TearDown();
    }

    void Load(const std::string& text) { ASSERT_TRUE(kw::sim::LoadWorldText(text)); }

    // Opens the adapter with this device name into g_ctx.
    bool Open(const char* deviceName) {
        g_ctx = AdapterContext{};
        g_ctx.handle = -1;
        std::strncpy(g_ctx.deviceName, deviceName, sizeof(g_ctx.deviceName) - 1);
        return KwOpenAdapter(&g_ctx) != 0;
    }

    bool LogHas(const std::string& line) const {
        for (const auto& l : kw::sim::CallLog()) {
            if (l == line) return true;
        }
        return false;
    }
    bool LogHasPrefix(const std::string& prefix) const {
        for (const auto& l : kw::sim::CallLog()) {
            if (l.rfind(prefix, 0) == 0) return true;
        }
        return false;
    }
};

inline void PutLe32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, 4); }
inline uint32_t GetLe32(const uint8_t* at) {
    uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

// Add key: length, index word, key length, BSSID, 6 zero bytes, counter, key, 7 zero bytes.
inline void InstallKey(const uint8_t* counter, const uint8_t* key, int length, int index, int kind) {
    Bytes request(static_cast<size_t>(length) + 39, 0);
    uint32_t word = kind == 0   ? 0xC0000000u | 0x20000000u
                    : kind == 1 ? 0x20000000u | static_cast<uint32_t>(index)
                                : 0x20000000u;
    PutLe32(&request[0], static_cast<uint32_t>(request.size()));
    PutLe32(&request[4], word);
    PutLe32(&request[8], static_cast<uint32_t>(length));
    QueryWL_BSSID(&g_ctx, &request[12]);
    std::memcpy(&request[24], counter, 8);
    std::memcpy(&request[32], key, static_cast<size_t>(length));
    WriteOid(&g_ctx, kw::kRequestAddKey, request.data(), static_cast<int>(request.size()));
}

// Add WEP key: length, index word, key length, key, 3 zero bytes.
inline void InstallWepKey(const uint8_t*, const uint8_t* key, int length, int index, int kind) {
    Bytes request(static_cast<size_t>(length) + 15, 0);
    PutLe32(&request[0], static_cast<uint32_t>(request.size()));
    PutLe32(&request[4], static_cast<uint32_t>(index) | (kind == 0 ? 0x80000000u : 0u));
    PutLe32(&request[8], static_cast<uint32_t>(length));
    std::memcpy(&request[12], key, static_cast<size_t>(length));
    WriteOid(&g_ctx, kw::kRequestAddWepKey, request.data(), static_cast<int>(request.size()));
}

// The station's own element from the association request elements; the last match wins.
inline void CopyOwnElement(int id, uint8_t* out) {
    uint8_t info[1000] = {};
    if (ReadOid(&g_ctx, kw::kRequestAssociationInfo, info, sizeof(info)) != 0) return;
    size_t at = GetLe32(info + 20);
    size_t end = std::min<size_t>(GetLe32(info + 36), sizeof(info));
    while (at + 2 <= end && at + 2 + info[at + 1] <= end) {
        size_t size = 2u + info[at + 1];
        if (info[at] == id) {
            std::memcpy(out, info + at, size);
            out[size] = 0;
        }
        at += size;
    }
}

// A negotiation block as a worker fills it.
inline KeyNegotiationBlock MakeBlock(const uint8_t* pmk, int pairwise, int group, KeyInstallCallback keys,
                                     ElementCallback element) {
    KeyNegotiationBlock block{};
    GetNICAdapterMAC(&g_ctx, block.ownMac);
    std::memcpy(block.pmk, pmk, 32);
    block.pairwiseCipher = pairwise;
    block.groupCipher = group;
    block.keyCallback = keys;
    block.elementCallback = element;
    return block;
}

// Runs the negotiation for a few steps, as a worker does while the link holds.
inline void Negotiate(KeyNegotiationBlock& block, int steps = 4) {
    do_key_negotiation_init(&g_ctx, &block);
    for (int i = 0; i < steps; ++i) do_key_negotiation_run(&block);
}

inline std::array<uint8_t, 32> PskOf(const char* passphrase, const std::string& ssid) {
    std::array<uint8_t, 32> pmk{};
    Get_PSK_Key_32byte(passphrase, reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()), 4096,
                       pmk.data(), 32);
    return pmk;
}

inline int JoinSsid(const std::string& ssid) {
    return SetWL_SSID(&g_ctx, reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()));
}

inline uint32_t TxFrames() {
    uint32_t tx = 0, rx = 0;
    GetTxRxFrameCount(&g_ctx, &tx, &rx);
    return tx;
}

}  // namespace simtest
