#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace kw {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

// One converter pair per process; iconv descriptors are not thread-safe, so a mutex guards them.
class CodePageConverter {
public:
    static CodePageConverter& Instance() {
        static CodePageConverter instance;
        return instance;
    }

    std::u16string Decode(std::string_view bytes) {
        std::lock_guard lock(mutex_);
        std::u16string out;
        out.reserve(bytes.size());
        for (size_t i = 0; i < bytes.size();) {
            char16_t unit = 0;
            size_t used = DecodeOne(bytes.substr(i), unit);
            out += unit;
            i += used;
        }
        return out;
    }

    std::string Encode(std::u16string_view text) {
        std::lock_guard lock(mutex_);
        std::string out;
        out.reserve(text.size());
        for (char16_t unit : text) out += EncodeOne(unit);
        return out;
    }

    const std::string& Name() const { return name_; }

private:
    CodePageConverter() {
        const char* env = std::getenv("KWCONFIG_CODEPAGE");
        name_ = (env && *env) ? env : "WINDOWS-1252";
        toUtf16_ = iconv_open("UTF-16LE", name_.c_str());
        fromUtf16_ = iconv_open(name_.c_str(), "UTF-16LE");
        if (toUtf16_ == kInvalid || fromUtf16_ == kInvalid) {
            std::fprintf(stderr, "KWConfig: code page %s is unknown; using WINDOWS-1252\n", name_.c_str());
            name_ = "WINDOWS-1252";
            toUtf16_ = iconv_open("UTF-16LE", name_.c_str());
            fromUtf16_ = iconv_open(name_.c_str(), "UTF-16LE");
        }
    }

    // Decodes the character at the start of bytes (one or two bytes for the code pages in use).
    size_t DecodeOne(std::string_view bytes, char16_t& unit) {
        for (size_t len = 1; len <= 4 && len <= bytes.size(); ++len) {
            if (Convert(toUtf16_, bytes.data(), len, 2, unit)) return len;
        }
        // Undefined in the code page: the byte stands for the same code point.
        unit = static_cast<unsigned char>(bytes[0]);
        return 1;
    }

    std::string EncodeOne(char16_t unit) {
        if (unit == 0) return std::string(1, '\0');
        char src[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char dst[8];
        char* in = src;
        size_t inLeft = 2;
        char* out = dst;
        size_t outLeft = sizeof dst;
        iconv(fromUtf16_, nullptr, nullptr, nullptr, nullptr);
        if (fromUtf16_ != kInvalid && iconv(fromUtf16_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) &&
            inLeft == 0) {
            return std::string(dst, out);
        }
        // Bytes 0x80-0x9F that the code page leaves undefined decode to themselves; keep the
        // round trip for them.
        if (unit >= 0x80 && unit <= 0xFF) {
            char16_t back = 0;
            char byte = static_cast<char>(unit);
            if (!Convert(toUtf16_, &byte, 1, 2, back)) return std::string(1, byte);
        }
        return "?";
    }

    static bool Convert(iconv_t cd, const char* src, size_t len, size_t outBytes, char16_t& unit) {
        if (cd == kInvalid) return false;
        char in[4];
        for (size_t i = 0; i < len; ++i) in[i] = src[i];
        char* inPtr = in;
        size_t inLeft = len;
        char out[8];
        char* outPtr = out;
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
        if (inLeft != 0 || static_cast<size_t>(outPtr - out) != outBytes) return false;
        unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
        return true;
    }

    static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
    std::mutex mutex_;
    std::string name_;
    iconv_t toUtf16_ = kInvalid;
    iconv_t fromUtf16_ = kInvalid;
};

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

template <typename Char>
long long ParseLeadingIntImpl(std::basic_string_view<Char> text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    constexpr long long kLimit = 999999999999999999LL;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = static_cast<int>(text[i] - '0');
        value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
    }
    return negative ? -value : value;
}

template <typename Char>
std::basic_string<Char> TrimImpl(std::basic_string_view<Char> text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::basic_string<Char>(text.substr(begin, end - begin));
}

}  // namespace

std::u16string FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= utf8.size()) {
            out += kReplacement;
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += kReplacement;
            ++i;
            continue;
        }
        AppendUtf16(out, cp);
        i += extra + 1;
    }
    return out;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string SystemCodePage() { return CodePageConverter::Instance().Name(); }

std::u16string FromCodePage(std::string_view bytes) { return CodePageConverter::Instance().Decode(bytes); }

std::string ToCodePage(std::u16string_view text) { return CodePageConverter::Instance().Encode(text); }

std::u16string FromUtf16LeBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return out;
}

std::string ToUtf16LeBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

std::string FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatV(format, args);
    va_end(args);
    return out;
}

std::u16string FormatW(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatV(format, args);
    va_end(args);
    return FromUtf8(out);
}

std::u16string CollapsePercents(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u'%') ++i;
    }
    return out;
}

char16_t ToUpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

std::u16string ToUpperAscii(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = ToUpperAscii(c);
    return out;
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return out;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
    }
    return true;
}

int HexDigitValue(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

std::u16string Trim(std::u16string_view text) { return TrimImpl(text); }
std::string Trim(std::string_view text) { return TrimImpl(text); }

std::string LowBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text) out += static_cast<char>(unit & 0xFF);
    return out;
}

std::u16string WidenBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char byte : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return out;
}

long long ParseLeadingInt(std::u16string_view text) { return ParseLeadingIntImpl(text); }
long long ParseLeadingInt(std::string_view text) { return ParseLeadingIntImpl(text); }

}  // namespace kw
