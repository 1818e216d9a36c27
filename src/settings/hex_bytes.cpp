#include "src/settings/hex_bytes.h"

#include <cstring>

#include "platform/text.h"

namespace kw {

std::u16string FormatHexBytes(const uint8_t* bytes, size_t count, bool withBlanks) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text;
    for (size_t i = 0; i < count; ++i) {
        if (withBlanks && i > 0) text += u' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

size_t ParseHexBytes(std::string_view text, uint8_t* out, size_t n) {
    if (n > 0) std::memset(out, 0, n);
    size_t count = 0;
    int pending = -1;  // a lone digit waiting for its partner
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (pending >= 0) {
                if (count == n) return count;
                out[count++] = static_cast<uint8_t>(pending);
                pending = -1;
            }
            continue;
        }
        int value = HexDigitValue(static_cast<unsigned char>(c));
        if (value < 0) return count;
        if (pending < 0) {
            if (count == n) return count;
            pending = value;
        } else {
            out[count++] = static_cast<uint8_t>(pending * 16 + value);
            pending = -1;
        }
    }
    if (pending >= 0 && count < n) out[count++] = static_cast<uint8_t>(pending);
    return count;
}

}  // namespace kw
