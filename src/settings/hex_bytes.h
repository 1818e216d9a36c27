// Hex byte text, the stored form of every byte string: "00 0A 3F".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kw {

// Two upper-case digits per byte, separated by one blank (no blank after the last) or joined.
std::u16string FormatHexBytes(const uint8_t* bytes, size_t count, bool withBlanks = true);

// Clears out[0..n) and reads at most n bytes from 8-bit text: two adjacent digits make a byte,
// a lone digit before a blank, tab or the end makes a byte; the first other character ends the
// scan (dropping a pending lone digit). Returns the number of bytes read.
size_t ParseHexBytes(std::string_view text, uint8_t* out, size_t n);

}  // namespace kw
