#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using kw::FromCodePage;
using kw::ToCodePage;

TEST(CodePage, RoundTripsEveryByteOfWindows1252) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::u16string wide = FromCodePage(all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');  // euro sign
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    EXPECT_EQ(wide[0x81 - 1], u'\u0081');  // undefined bytes stand for themselves
    EXPECT_EQ(ToCodePage(wide), all);
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(ToCodePage(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(ToCodePage(u"caf\u00E9"), "caf\xE9");
}

TEST(Utf8, MalformedInputIsReplacedNotTrusted) {
    EXPECT_EQ(kw::FromUtf8("ok"), u"ok");
    EXPECT_EQ(kw::FromUtf8("\xC3\xA9"), u"\u00E9");
    EXPECT_EQ(kw::FromUtf8("\xC3"), u"\uFFFD");                  // cut short
    EXPECT_EQ(kw::FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");        // overlong
    EXPECT_EQ(kw::FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // surrogate
    EXPECT_EQ(kw::ToUtf8(kw::FromUtf8("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
    EXPECT_EQ(kw::ToUtf8(u"\xD800"), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Formatting, LookedUpTextsOnlyCollapseDoubledPercents) {
    EXPECT_EQ(kw::CollapsePercents(u"100%%"), u"100%");
    EXPECT_EQ(kw::CollapsePercents(u"%s %d %n"), u"%s %d %n");
    EXPECT_EQ(kw::CollapsePercents(u"%%%"), u"%%");
    EXPECT_EQ(kw::FormatW("%d %s", 5, "Mbps"), u"5 Mbps");
}

TEST(Numbers, LeadingIntegerAsTheRuntimeReadsIt) {
    struct Case {
        const char* text;
        long long value;
    } cases[] = {{"12abc", 12}, {"abc", 0}, {"  -7", -7}, {"+3", 3}, {"", 0}, {"-", 0}, {"1 2", 1}};
    for (const auto& c : cases) EXPECT_EQ(kw::ParseLeadingInt(std::string_view(c.text)), c.value) << c.text;
    EXPECT_GT(kw::ParseLeadingInt(std::string_view("99999999999999999999999999")), 0);
    // Just past the point where one more digit no longer fits: every such number saturates alike.
    const long long most = kw::ParseLeadingInt(std::string_view("99999999999999999999999999"));
    for (const char* big : {"9300000000000000000", "9999999999999999989", "1000000000000000000000"}) {
        EXPECT_EQ(kw::ParseLeadingInt(std::string_view(big)), most) << big;
        EXPECT_EQ(kw::ParseLeadingInt(std::u16string(big, big + std::strlen(big))), most) << big;
        EXPECT_EQ(kw::ParseLeadingInt(std::string("-") + big), -most) << big;
    }
}

}  // namespace
