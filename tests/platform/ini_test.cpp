#include "platform/ini.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/test_env.h"

namespace {

using kw::ReadIniInt;
using kw::ReadIniText;

class IniTest : public ::testing::Test {
protected:
    kwtest::TempDir dir_;
};

TEST_F(IniTest, ReaderRules) {
    std::string file = dir_.Write("a.ini",
                                  "; comment\r\n"
                                  "[ Main_Info ]\r\n"
                                  "  Company_Abbrev =  Acme Co  \r\n"
                                  "company_abbrev=second\r\n"
                                  "Empty=\r\n"
                                  "Number= -42xyz\r\n"
                                  "NoDigits=abc\r\n"
                                  "[Other]\n"
                                  "Key=other");
    EXPECT_EQ(ReadIniText(file, u"MAIN_INFO", u"COMPANY_ABBREV", u"def", 256), u"Acme Co");  // case, blanks, first wins
    EXPECT_EQ(ReadIniText(file, u"main_info", u"Empty", u"def", 256), u"");
    EXPECT_EQ(ReadIniText(file, u"main_info", u"Missing", u"def", 256), u"def");
    EXPECT_EQ(ReadIniText(file, u"Nowhere", u"Key", u"def", 256), u"def");
    EXPECT_EQ(ReadIniText(file, u"other", u"key", u"def", 256), u"other");  // no newline at the end
    EXPECT_EQ(ReadIniText(file, u"Main_Info", u"Company_Abbrev", u"def", 4), u"Acm");  // room - 1
    EXPECT_EQ(ReadIniInt(file, u"Main_Info", u"Number", 7), -42);
    EXPECT_EQ(ReadIniInt(file, u"Main_Info", u"NoDigits", 7), 0);
    EXPECT_EQ(ReadIniInt(file, u"Main_Info", u"Missing", 7), 7);
    EXPECT_EQ(ReadIniText(dir_.File("none.ini"), u"a", u"b", u"def", 256), u"def");
    EXPECT_EQ(ReadIniInt(dir_.File("none.ini"), u"a", u"b", 5), 5);
}

// One matched pair of double quotes around a value is dropped, in 8-bit and UTF-16 files alike;
// anything else keeps its quotes.
TEST_F(IniTest, MatchedQuotesAreStripped) {
    const std::string body =
        "[S]\r\n"
        "Quoted=  \"Adapter  \"  \r\n"
        "Empty=\"\"\r\n"
        "Lone=\"\r\n"
        "Open=\"half\r\n"
        "Close=half\"\r\n"
        "Inner=a \"b\" c\r\n"
        "Double=\"\"twice\"\"\r\n"
        "Number=\"42\"\r\n";
    std::u16string wide = kw::FromUtf8(body);
    const std::string files[] = {dir_.Write("a.ini", body), dir_.Write("u.ini", "\xFF\xFE" + kw::ToUtf16LeBytes(wide))};
    for (const auto& file : files) {
        EXPECT_EQ(ReadIniText(file, u"S", u"Quoted", u"", 256), u"Adapter  ") << file;
        EXPECT_EQ(ReadIniText(file, u"S", u"Empty", u"def", 256), u"") << file;
        EXPECT_EQ(ReadIniText(file, u"S", u"Lone", u"", 256), u"\"") << file;
        EXPECT_EQ(ReadIniText(file, u"S", u"Open", u"", 256), u"\"half") << file;
        EXPECT_EQ(ReadIniText(file, u"S", u"Close", u"", 256), u"half\"") << file;
        EXPECT_EQ(ReadIniText(file, u"S", u"Inner", u"", 256), u"a \"b\" c") << file;
        EXPECT_EQ(ReadIniText(file, u"S", u"Double", u"", 256), u"\"twice\"") << file;
        EXPECT_EQ(ReadIniInt(file, u"S", u"Number", 7), 42) << file;
    }
}

TEST_F(IniTest, Utf16FileWithByteOrderMark) {
    std::string text = kw::ToUtf16LeBytes(u"[LANGUAGES]\r\nLanguage_1_Section=Deutsch\r\n[Deutsch]\r\nKey=Gr\u00FC\u00DFe \u4E2D\r\n");
    std::string file = dir_.Write("u.ini", "\xFF\xFE" + text);
    EXPECT_EQ(ReadIniText(file, u"languages", u"language_1_section", u"", 200), u"Deutsch");
    EXPECT_EQ(ReadIniText(file, u"Deutsch", u"Key", u"", 200), u"Gr\u00FC\u00DFe \u4E2D");
}

TEST_F(IniTest, EightBitFileIsInTheSystemCodePage) {
    std::string file = dir_.Write("a.ini", "[S]\nKey=Gr\xFC\xDF" "e \x80\n");
    EXPECT_EQ(ReadIniText(file, u"S", u"Key", u"", 200), u"Gr\u00FC\u00DFe \u20AC");
}

TEST_F(IniTest, JunkAndHugeLinesAreReadWithoutHarm) {
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) % 256);
    std::string file = dir_.Write("junk.ini", junk + "\n[S]\nKey=" + std::string(1 << 20, 'x') + "\nAfter=1");
    EXPECT_EQ(ReadIniText(file, u"S", u"Key", u"", 256).size(), 255u);
    EXPECT_EQ(ReadIniInt(file, u"S", u"After", 0), 1);
    std::string odd = dir_.Write("odd.ini", "\xFF\xFE[\0S\0]\0\n\0K\0=\0v\0X");  // odd byte count
    EXPECT_EQ(ReadIniText(odd, u"S", u"K", u"def", 256), u"def");
    std::string unterminated = dir_.Write("open.ini", "[S\nK=v");
    EXPECT_EQ(ReadIniText(unterminated, u"S", u"K", u"def", 256), u"v");
}

TEST_F(IniTest, ChangesOnDiskAreSeen) {
    std::string file = dir_.Write("c.ini", "[S]\nK=one\n");
    EXPECT_EQ(ReadIniText(file, u"S", u"K", u"", 256), u"one");
    dir_.Write("c.ini", "[S]\nK=second value\n");
    EXPECT_EQ(ReadIniText(file, u"S", u"K", u"", 256), u"second value");
}

}  // namespace
