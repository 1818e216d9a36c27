// Text: UTF-16 inside the program, 8-bit text in the system code page at the edges.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace kw {

// UTF-8 <-> UTF-16. Malformed input never fails: bad sequences become U+FFFD.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view text);

// The system ANSI code page: Windows-1252 unless KWCONFIG_CODEPAGE names another iconv code page.
std::string SystemCodePage();
// Bytes of the system code page -> UTF-16. Bytes the code page does not define map to the same
// code point (as Windows does for Windows-1252).
std::u16string FromCodePage(std::string_view bytes);
// UTF-16 -> system code page; characters it cannot hold become '?'.
std::string ToCodePage(std::u16string_view text);

// Little-endian UTF-16 bytes (no byte-order mark) -> text; an odd trailing byte is dropped.
std::u16string FromUtf16LeBytes(std::string_view bytes);
std::string ToUtf16LeBytes(std::u16string_view text);

// printf-style formatting. The format is always one of the program's own literals; %s takes
// UTF-8 (use ToUtf8 for program texts).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);
std::u16string FormatW(const char* format, ...) __attribute__((format(printf, 1, 2)));

// What formatting without arguments does to a looked-up text: "%%" becomes "%", every other
// "%" stays. A language file can therefore never act as a format.
std::u16string CollapsePercents(std::u16string_view text);

// Letter case of a to z only (names, keys, flags).
char16_t ToUpperAscii(char16_t c);
std::u16string ToUpperAscii(std::u16string_view text);
std::string ToUpperAscii(std::string_view text);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// The value of a hexadecimal digit (either case), or -1.
int HexDigitValue(char32_t c);

// Blanks (space, tab, CR, LF, VT, FF) removed at both ends.
std::u16string Trim(std::u16string_view text);
std::string Trim(std::string_view text);

// Keeps the low byte of each unit.
std::string LowBytes(std::u16string_view text);
// Widens each byte to one unit.
std::u16string WidenBytes(std::string_view bytes);

// Decimal conversion as the C runtime's atoi: leading blanks, an optional sign, then digits up
// to the first other character; no digits gives 0. Saturates instead of overflowing.
long long ParseLeadingInt(std::u16string_view text);
long long ParseLeadingInt(std::string_view text);

}  // namespace kw
