#include "src/lang/language_table.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/test_env.h"

namespace {

using kw::CLanguageTable;

class LanguageTableTest : public ::testing::Test {
protected:
    std::string Write(const std::string& text) { return dir_.Write("lang.INI", text); }
    kwtest::TempDir dir_;
};

TEST_F(LanguageTableTest, BeforeLoadAndWithoutFileEveryLookupIsTheDefault) {
    CLanguageTable table;
    EXPECT_EQ(table.LanguageCount(), 0);
    EXPECT_EQ(table.GetText(u"MP_Dialog_Title", u"Fallback 100%%"), u"Fallback 100%");
    EXPECT_FALSE(table.Load(dir_.File("missing.INI"), kw::kLanguageIndexSection));
    EXPECT_EQ(table.LanguageCount(), 0);
    EXPECT_FALSE(table.Select(1));
    EXPECT_FALSE(table.Load(Write("[LANGUAGES]\nLanguage_2_Section=German\n[German]\nK=x\n"), kw::kLanguageIndexSection));
    EXPECT_EQ(table.GetText(u"K", u"d"), u"d");
}

TEST_F(LanguageTableTest, IndexStopsAtFirstGapAndDescriptionsFallBackToSectionNames) {
    CLanguageTable table;
    ASSERT_TRUE(table.Load(Write("[LANGUAGES]\nLanguage_1_Section=English\nLanguage_3_Section=French\n"
                                 "[English]\nLanguage_1_Description=English (UK)\n"),
                           kw::kLanguageIndexSection));
    EXPECT_EQ(table.LanguageCount(), 1);
    EXPECT_EQ(table.CurrentLanguage(), 1);
    EXPECT_EQ(table.Descriptions(), std::vector<std::u16string>{u"English (UK)"});

    ASSERT_TRUE(table.Load(Write("[LANGUAGES]\nLanguage_1_Section=English\nLanguage_2_Section=German\n"
                                 "[English]\nLanguage_1_Description=English\n"
                                 "[German]\nLanguage_1_Description=Englisch\nLanguage_2_Description=Deutsch\n"),
                           kw::kLanguageIndexSection));
    EXPECT_EQ(table.Descriptions(), (std::vector<std::u16string>{u"English", u"German"}));
    ASSERT_TRUE(table.Select(2));
    EXPECT_EQ(table.Descriptions(), (std::vector<std::u16string>{u"Englisch", u"Deutsch"}));
    EXPECT_FALSE(table.Select(0));
    EXPECT_FALSE(table.Select(3));
    EXPECT_EQ(table.CurrentLanguage(), 2);
    EXPECT_EQ(table.CurrentSection(), u"German");
}

TEST_F(LanguageTableTest, TextsComeFromTheCurrentSectionWithPercentsCollapsed) {
    CLanguageTable table;
    ASSERT_TRUE(table.Load(Write("[LANGUAGES]\nLanguage_1_Section=English\n"
                                 "[English]\nPct=100%%\nEmpty=\nFormat=%s%d%n\nLong=" + std::string(3000, 'x') + "\n"),
                           kw::kLanguageIndexSection));
    EXPECT_EQ(table.GetText(u"pct", u"d"), u"100%");
    EXPECT_EQ(table.GetText(u"Empty", u"default"), u"");  // present but empty: not the default
    EXPECT_EQ(table.GetText(u"Absent", u"default"), u"default");
    EXPECT_EQ(table.GetText(u"Format", u""), u"%s%d%n");  // never used as a format
    EXPECT_EQ(table.GetText(u"Long", u"").size(), 2047u);
}

TEST(ShippedLanguageFiles, BothVariantsOfferEnglishAndGermanWithTheSameTexts) {
    const std::string dir = KW_TEST_DATA_DIR;
    CLanguageTable ansi, wide;
    ASSERT_TRUE(ansi.Load(dir + "/KWMLa.INI", kw::kLanguageIndexSection));
    ASSERT_TRUE(wide.Load(dir + "/KWMLu.INI", kw::kLanguageIndexSection));
    EXPECT_EQ(ansi.LanguageCount(), 2);
    EXPECT_EQ(wide.Descriptions(), ansi.Descriptions());
    for (int language = 1; language <= 2; ++language) {
        ASSERT_TRUE(ansi.Select(language));
        ASSERT_TRUE(wide.Select(language));
        for (const char16_t* key : {u"MP_Dialog_Title", u"MP_Small_Icon_Item_2", u"BS_G_WirelessMode_Value_1",
                                    u"AS_Country_Name_20", u"AS_Country_Region_Code_1", u"WS_ERROR_MESSAGE4"}) {
            EXPECT_FALSE(wide.GetText(key, u"").empty()) << kw::ToUtf8(key);
            EXPECT_EQ(ansi.GetText(key, u""), wide.GetText(key, u"")) << kw::ToUtf8(key);
        }
    }
    ansi.Select(1);
    EXPECT_EQ(ansi.GetText(u"MP_Small_Icon_Item_1", u""), u"Open Utility Window");
}

}  // namespace
