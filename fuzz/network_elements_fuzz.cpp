// The security element parse of a surveyed network on any bytes: nothing is read past the area;
// suites are only reported for an element that was found; the WPA2 preference only ever hides a
// WPA element; and, for a run of whole elements, reading it twice over decides as reading it once
// (the later element decides, and the second copy ends with the same element as the first).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "src/mainwnd/network_elements.h"

namespace {

bool Same(const kw::NetworkSecurity& a, const kw::NetworkSecurity& b) {
    return a.rsnFound == b.rsnFound && a.wpaFound == b.wpaFound && a.pairwise == b.pairwise && a.akm == b.akm;
}

// The input cut into whole elements: each length byte is mended to what actually follows.
std::vector<uint8_t> WholeElements(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    for (size_t at = 0; at + 2 <= size;) {
        size_t length = std::min<size_t>(data[at + 1], size - at - 2);
        out.push_back(data[at]);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data + at + 2, data + at + 2 + length);
        at += 2 + length;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> raw(data, data + size);  // exact size, so reads past it are caught
    for (bool wpa2 : {false, true}) {
        kw::NetworkSecurity s = kw::ParseSecurityElements(raw.data(), raw.size(), wpa2);
        if (!s.rsnFound && !s.wpaFound && (s.pairwise != kw::kPairwiseNone || s.akm != kw::kAkmNone)) std::abort();
    }
    kw::NetworkSecurity plain = kw::ParseSecurityElements(raw.data(), raw.size(), false);
    kw::NetworkSecurity preferring = kw::ParseSecurityElements(raw.data(), raw.size(), true);
    if (plain.rsnFound != preferring.rsnFound || (preferring.wpaFound && !plain.wpaFound)) std::abort();
    if (!plain.rsnFound && !Same(plain, preferring)) std::abort();

    std::vector<uint8_t> once = WholeElements(data, size);
    std::vector<uint8_t> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    if (!Same(kw::ParseSecurityElements(once.data(), once.size(), false),
              kw::ParseSecurityElements(twice.data(), twice.size(), false))) {
        std::abort();
    }
    if (kw::ParseSecurityElements(nullptr, 0, true).rsnFound) std::abort();
    return 0;
}
