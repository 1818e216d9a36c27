#include "src/app/language_switch.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "src/app/program_title.h"
#include "src/device/identity.h"
#include "src/lang/language_table.h"
#include "src/settings/app_key.h"
#include "platform/text.h"
#include "tests/support/test_env.h"

namespace {

class LanguageSwitchTest : public kwtest::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        kw::SetRegistryRoot(u"Talvo", u"KWConfig");
        kw::SetLanguageSwitchHooks({});
    }
    void TearDown() override {
        kw::SetReleaseChipMode(u"GENERAL");
        kw::Language().Load(dir_.File("none.INI"), kw::kLanguageIndexSection);
        IsolatedTest::TearDown();
    }

    void LoadTitle(const std::string& title) {
        std::string file = dir_.Write("lang.INI",
                                      "[LANGUAGES]\nLanguage_1_Section=English\nLanguage_2_Section=German\n"
                                      "[English]\nMP_Dialog_Title=" + title + "\n[German]\nMP_Dialog_Title=Deutsch\n");
        ASSERT_TRUE(kw::Language().Load(file, kw::kLanguageIndexSection));
    }

    kwtest::TempDir dir_;
};

TEST_F(LanguageSwitchTest, RecordsNumberAndTitleUnderChipModeNames) {
    LoadTitle("English Title");
    int relocalised = 0, renewed = 0;
    kw::SetLanguageSwitchHooks({[&] { ++relocalised; }, [&] { ++renewed; }});
    kw::ApplyLanguageSwitch(1);
    EXPECT_EQ(kw::Language().CurrentLanguage(), 2);
    EXPECT_EQ(relocalised, 1);
    EXPECT_EQ(renewed, 1);
    const std::u16string app = u"Software\\Talvo\\KWConfig";
    EXPECT_EQ(kw::reg::ReadDword(kw::reg::Hive::CurrentUser, app, u"GENERAL\\LanguageId"), 2u);
    EXPECT_EQ(kw::reg::ReadString(kw::reg::Hive::CurrentUser, app, u"GENERAL\\KWConfigProgramTitle"), u"Deutsch");

    kw::ApplyLanguageSwitch(-1);  // no selection: nothing happens
    EXPECT_EQ(relocalised, 1);
}

TEST_F(LanguageSwitchTest, TitleFormsForGeneralAndOtherChipModes) {
    std::string sixtyTwo(62, 'T');
    LoadTitle(sixtyTwo);
    EXPECT_EQ(kw::SwitchedTitle(), kw::FromUtf8(sixtyTwo));
    EXPECT_EQ(kw::StartTitle(), kw::FromUtf8(sixtyTwo));
    kw::SetReleaseChipMode(u"TEST");
    EXPECT_EQ(kw::SwitchedTitle(), kw::FromUtf8(sixtyTwo + " "));  // cut to 63
    EXPECT_EQ(kw::StartTitle(), kw::FromUtf8(sixtyTwo + "   "));
    LoadTitle("Short");
    EXPECT_EQ(kw::SwitchedTitle(), u"Short   TEST");
    kw::SetReleaseChipMode(u"general");  // only the exact text counts as GENERAL
    EXPECT_EQ(kw::StartTitle(), u"Short   ");
}

TEST_F(LanguageSwitchTest, TheNumberIsAlsoStoredWhereTheNextStartReadsIt) {
    LoadTitle("English Title");
    kw::SetReleaseChipMode(u"KW7100");  // identified after the start read the configured GENERAL
    kw::ApplyLanguageSwitch(1);
    const std::u16string app = u"Software\\Talvo\\KWConfig";
    EXPECT_EQ(kw::reg::ReadDword(kw::reg::Hive::CurrentUser, app, u"KW7100\\LanguageId"), 2u);
    EXPECT_EQ(kw::reg::ReadDword(kw::reg::Hive::CurrentUser, app, u"GENERAL\\LanguageId"), 2u);
    kw::SetReleaseChipMode(u"GENERAL");
    EXPECT_EQ(kw::ReadChipDword(kw::kValueLanguageId), 2u);
}

}  // namespace
