#include "sim/world_text.h"

#include "platform/text.h"

namespace kw::sim {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::optional<long long> ParseWholeNumber(std::u16string_view text) {
    std::u16string trimmed = Trim(text);
    std::u16string_view rest(trimmed);
    bool negative = false;
    if (!rest.empty() && (rest[0] == u'-' || rest[0] == u'+')) {
        negative = rest[0] == u'-';
        rest.remove_prefix(1);
    }
    int base = 10;
    if (rest.size() > 2 && rest[0] == u'0' && (rest[1] == u'x' || rest[1] == u'X')) {
        base = 16;
        rest.remove_prefix(2);
    }
    if (rest.empty() || rest.size() > 12) return std::nullopt;
    long long value = 0;
    for (char16_t c : rest) {
        int digit = HexDigitValue(c);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

Bytes ParseHexByteText(std::u16string_view text, size_t maxBytes) {
    Bytes bytes;
    int pending = -1;
    for (char16_t c : text) {
        if (bytes.size() >= maxBytes) break;
        int digit = HexDigitValue(c);
        if (digit >= 0) {
            if (pending < 0) {
                pending = digit;
            } else {
                bytes.push_back(static_cast<uint8_t>(pending * 16 + digit));
                pending = -1;
            }
        } else if (IsBlank(c)) {
            if (pending >= 0) bytes.push_back(static_cast<uint8_t>(pending));
            pending = -1;
        } else {
            return bytes;  // a pending single digit is dropped
        }
    }
    if (pending >= 0 && bytes.size() < maxBytes) bytes.push_back(static_cast<uint8_t>(pending));
    return bytes;
}

std::optional<Bytes> ParseNumberList(std::u16string_view text, size_t maxItems) {
    Bytes items;
    std::u16string item;
    auto flush = [&]() -> bool {
        if (item.empty()) return true;
        auto value = ParseWholeNumber(item);
        item.clear();
        if (!value || *value < 0 || *value > 255 || items.size() >= maxItems) return false;
        items.push_back(static_cast<uint8_t>(*value));
        return true;
    };
    for (char16_t c : text) {
        if (IsBlank(c) || c == u',') {
            if (!flush()) return std::nullopt;
        } else {
            item += c;
        }
    }
    if (!flush()) return std::nullopt;
    return items;
}

std::vector<std::string> SplitWords(std::u16string_view text) {
    std::vector<std::string> words;
    std::u16string word;
    for (char16_t c : text) {
        if (IsBlank(c) || c == u',') {
            if (!word.empty()) words.push_back(ToUtf8(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(ToUtf8(word));
    return words;
}

}  // namespace kw::sim
