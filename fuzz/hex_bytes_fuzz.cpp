// Hex byte text on any bytes: what is read fits, and its formatted text reads back the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/text.h"
#include "src/settings/hex_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t room = data[0] % 40;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    uint8_t out[40];
    std::memset(out, 0xEE, sizeof out);
    size_t count = kw::ParseHexBytes(text, out, room);
    if (count > room) std::abort();
    for (size_t i = count; i < room; ++i) {
        if (out[i] != 0) std::abort();  // the rest of the room is cleared
    }
    for (bool blanks : {true, false}) {
        std::string formatted = kw::ToUtf8(kw::FormatHexBytes(out, count, blanks));
        uint8_t back[40];
        if (kw::ParseHexBytes(formatted, back, room) != count || std::memcmp(back, out, count) != 0) std::abort();
    }
    return 0;
}
