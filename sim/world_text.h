// The value forms of a world file: numbers, hex byte text, number lists.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "sim/world.h"

namespace kw::sim {

// Decimal with an optional sign, or 0x and hexadecimal digits; the whole text must be the number.
std::optional<long long> ParseWholeNumber(std::u16string_view text);

// Hex byte text ("00 0A 3F", "000A3F"): two digits make a byte, a single digit before a blank
// makes one; reading stops at any other character and after maxBytes bytes.
Bytes ParseHexByteText(std::u16string_view text, size_t maxBytes);

// Decimal numbers 0 to 255 separated by blanks or commas; none when any item is malformed.
std::optional<Bytes> ParseNumberList(std::u16string_view text, size_t maxItems);

// Blank-separated words.
std::vector<std::string> SplitWords(std::u16string_view text);

}  // namespace kw::sim
