#include "src/mainwnd/network_elements.h"

namespace kw {

namespace {

constexpr size_t kElementHeader = 2;
constexpr size_t kSuiteSize = 4;
constexpr size_t kSuiteTypeByte = 3;
// Where the pairwise suite count sits, from the element's first byte.
constexpr size_t kRsnPairwiseCountAt = 8;
constexpr size_t kWpaPairwiseCountAt = 12;

size_t ReadCount(const uint8_t* p) { return static_cast<size_t>(p[0]) | static_cast<size_t>(p[1]) << 8; }

// Reads a suite count at `at` and the type of its first suite into type; returns where the next
// field starts, or 0 when the count or the suites it announces do not fit in the element.
size_t ReadSuiteList(const uint8_t* element, size_t size, size_t at, uint8_t& type) {
    if (at + 2 > size) return 0;
    size_t count = ReadCount(element + at);
    size_t suites = at + 2;
    if (count > (size - suites) / kSuiteSize) return 0;
    if (count > 0) type = element[suites + kSuiteTypeByte];
    return suites + count * kSuiteSize;
}

void ReadSuites(const uint8_t* element, size_t size, size_t pairwiseCountAt, NetworkSecurity& result) {
    size_t next = ReadSuiteList(element, size, pairwiseCountAt, result.pairwise);
    if (next != 0) ReadSuiteList(element, size, next, result.akm);
}

}  // namespace

NetworkSecurity ParseSecurityElements(const uint8_t* elements, size_t size, bool wpa2Mode) {
    NetworkSecurity result;
    size_t offset = 0;
    while (elements != nullptr && size - offset >= kElementHeader) {
        const uint8_t* element = elements + offset;
        size_t elementSize = kElementHeader + element[1];
        if (elementSize > size - offset) break;
        if (element[0] == kElementIdVendor && element[1] >= kWpaElementMinLength && (!wpa2Mode || !result.rsnFound)) {
            result.wpaFound = true;
            ReadSuites(element, elementSize, kWpaPairwiseCountAt, result);
        } else if (element[0] == kElementIdRsn) {
            result.rsnFound = true;
            ReadSuites(element, elementSize, kRsnPairwiseCountAt, result);
        }
        offset += elementSize;
    }
    return result;
}

}  // namespace kw
