#include "src/security/pmk_cache.h"

#include <cstring>

namespace kw {

void PmkCache::Clear() {
    count_ = 0;
    zero_.fill(0);
}

void PmkCache::Update(const uint8_t* bssid, uint8_t* derivedKey) {
    Entry* found = nullptr;
    for (int i = 0; i < count_; ++i) {
        if (std::memcmp(entries_[i].bssid.data(), bssid, 6) == 0) {
            found = &entries_[i];
            break;
        }
    }
    bool zeroKey = std::memcmp(derivedKey, zero_.data(), kKeyBytes) == 0;
    if (zeroKey && found) std::memcpy(derivedKey, found->key.data(), kKeyBytes);
    if (found) {
        std::memcpy(found->key.data(), derivedKey, kKeyBytes);
    } else if (count_ < kCapacity) {
        Entry& entry = entries_[count_++];
        std::memcpy(entry.bssid.data(), bssid, 6);
        std::memcpy(entry.key.data(), derivedKey, kKeyBytes);
    } else {
        count_ = 0;
    }
}

}  // namespace kw
