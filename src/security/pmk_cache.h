// The WPA2 EAP workers' cache of derived keys by access point, kept for one worker run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kw {

class PmkCache {
public:
    static constexpr int kCapacity = 16;
    static constexpr size_t kKeyBytes = 128;

    // An all-zero derived key takes the cached key of the same access point. Then the key is
    // stored for the access point: over its entry, appended, or, with the cache full, the cache is
    // emptied without storing it.
    void Update(const uint8_t* bssid, uint8_t* derivedKey);
    int Count() const { return count_; }
    void Clear();

private:
    struct Entry {
        std::array<uint8_t, 6> bssid{};
        std::array<uint8_t, kKeyBytes> key{};
    };
    std::array<Entry, kCapacity> entries_{};
    uint16_t count_ = 0;
    std::array<uint8_t, kKeyBytes> zero_{};
};

}  // namespace kw
