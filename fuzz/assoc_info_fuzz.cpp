// The association-information walk on any bytes (the first byte picks the element id): a found
// element is a whole element of the request area, copied with its zero byte, never past the
// callback's room (an earlier, longer match may leave its tail behind the zero byte); when none
// is found the output is untouched.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "src/security/key_callbacks.h"

namespace {

constexpr uint8_t kUntouched = 0xA5;
constexpr size_t kRequestOffsetField = 20;

uint32_t ReadU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int elementId = data[0];
    std::vector<uint8_t> info(data + 1, data + size);  // exact size, so reads past it are caught
    uint8_t out[kw::kElementBufferSize + 8];
    std::memset(out, kUntouched, sizeof out);
    bool found = kw::FindRequestElement(info.data(), info.size(), elementId, out);
    if (!found) {
        if (std::any_of(out, out + sizeof out, [](uint8_t b) { return b != kUntouched; })) std::abort();
        return 0;
    }
    const size_t length = 2u + out[1];
    if (out[0] != elementId || out[length] != 0) std::abort();
    for (size_t i = kw::kElementBufferSize; i < sizeof out; ++i) {
        if (out[i] != kUntouched) std::abort();
    }
    // The element is bytes of the request area, which starts where the buffer says.
    const size_t begin = ReadU32(info.data() + kRequestOffsetField);
    if (begin >= info.size()) std::abort();
    auto at = std::search(info.begin() + static_cast<long>(begin), info.end(), out, out + length);
    if (at == info.end()) std::abort();
    return 0;
}
