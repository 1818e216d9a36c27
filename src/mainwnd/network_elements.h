// The security a surveyed network advertises in its information elements: an RSN element (WPA2)
// and a vendor element long enough to be a WPA element, with the first pairwise and key
// management suite of each.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kw {

inline constexpr uint8_t kElementIdRsn = 48;
inline constexpr uint8_t kElementIdVendor = 221;
// A vendor element shorter than this cannot hold WPA's fixed fields and one suite of each kind.
inline constexpr uint8_t kWpaElementMinLength = 22;

// Suite types (the last byte of a suite selector).
inline constexpr uint8_t kPairwiseNone = 0;
inline constexpr uint8_t kPairwiseWep40 = 1;
inline constexpr uint8_t kPairwiseTkip = 2;
inline constexpr uint8_t kPairwiseWrap = 3;
inline constexpr uint8_t kPairwiseCcmp = 4;
inline constexpr uint8_t kPairwiseWep104 = 5;
inline constexpr uint8_t kAkmNone = 0;
inline constexpr uint8_t kAkm8021X = 1;
inline constexpr uint8_t kAkmPsk = 2;

struct NetworkSecurity {
    bool rsnFound = false;
    bool wpaFound = false;
    uint8_t pairwise = kPairwiseNone;
    uint8_t akm = kAkmNone;
};

// Walks the elements in order; both kinds write the same two types, so the later element decides.
// With wpa2Mode a WPA element after an RSN element is skipped. An element, or a suite list, that
// runs past the end of the area is not read.
NetworkSecurity ParseSecurityElements(const uint8_t* elements, size_t size, bool wpa2Mode);

}  // namespace kw
