// The information and advanced settings dialogs, and a language switch while the general and
// advanced settings are open: every text of both reads as if they had been opened in the new
// language.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "src/dialogs/advanced_setting_dlg.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/information_dlg.h"
#include "src/dialogs/more_setting_dlg.h"
#include "src/lang/language_table.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using kw::ui::CDialog;
using ::testing::ElementsAre;

class StationDialogsTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_TRUE(kw::Language().Load(std::string(KW_TEST_DATA_DIR) + "/KWMLa.INI", u"LANGUAGES"));
        OpenAdapter();
    }
    void TearDown() override {
        kw::SetLanguageChoiceHandler({});
        kw::Language().Load("", u"LANGUAGES");
        SimTest::TearDown();
    }
    // Caption, then every control's text and list items.
    static std::vector<std::string> Texts(CDialog& d) {
        std::vector<std::string> texts{kw::ToUtf8(d.Caption())};
        for (const auto& control : d.Controls()) {
            std::string line = kw::Format("%d ", control->Id()) + kw::ToUtf8(control->Text());
            if (auto* list = dynamic_cast<kw::ui::CItemList*>(control.get())) {
                for (const auto& item : list->Items()) line += "|" + kw::ToUtf8(item);
            }
            texts.push_back(line);
        }
        return texts;
    }

    kw::ui::CTestDriver user;
};

TEST_F(StationDialogsTest, DriverVersionByDeviceKindAndWhenItCannotBeRead) {
    EXPECT_EQ(kw::DriverVersionText(0x02053A17, 2), u"2.5.58.23");
    EXPECT_EQ(kw::DriverVersionText(0x02053A17, 1), u"2.5.1017.2003");
    EXPECT_EQ(kw::DriverVersionText(static_cast<int>(0xFF00F0FFu), 1), u"255.0.00FF.2015");
    EXPECT_EQ(kw::DriverVersionText(-1, 1), u"N/A");
    EXPECT_EQ(kw::DriverVersionText(-1, 3), u"N/A");

    std::vector<std::string> lines;
    user.Run([&lines](CDialog& d) {
        lines.push_back(kw::ToUtf8(d.ItemText(kw::infodlg::kDriverVersion)) + " / " + kw::ToUtf8(d.ItemText(kw::infodlg::kMacAddress)) +
                        kw::Format(" id=%d", kw::CurrentDialogId()));
    });
    kw::CInformationDlg dialog;
    dialog.SetParentDialogId(kw::kDialogIdGeneral);
    dialog.DoModal();
    kw::ResetAdapterContext();  // no adapter: both queries fail
    user.Run([&lines](CDialog& d) {
        lines.push_back(kw::ToUtf8(d.ItemText(kw::infodlg::kDriverVersion)) + " / " + kw::ToUtf8(d.ItemText(kw::infodlg::kMacAddress)));
    });
    kw::CInformationDlg again;
    again.DoModal();
    EXPECT_THAT(lines, ElementsAre("2.6.1021.2003 / 02 6B 57 71 00 01 id=4", "N/A / N/A"));
    EXPECT_THAT(kw::ToUtf8(kw::UtilityVersionText()), ::testing::StartsWith("2.22.0.0 - "));
}

TEST_F(StationDialogsTest, AdvancedOpeningWritesTheThresholdsAndTheTogglesFollowTheStore) {
    using namespace kw::advdlg;
    kw::WriteSettingText(0, u"PSPXLinkMode", u"7");
    std::vector<std::string> seen;
    auto probe = [&seen](CDialog& d) {
        seen.push_back(kw::ToUtf8(d.ItemText(kFragmentValue)) + " " + kw::ToUtf8(d.ItemText(kRtsValue)) +
                       kw::Format(" psp=%d wmm=%d", d.IsItemChecked(kPspXLink), d.Item(kWmmQos)->IsEnabled()));
    };
    user.Run(probe);
    user.Scroll(kRtsBar, 500).Click(kPspXLink);
    user.Run(probe);
    kw::CAdvancedSettingDlg dialog;
    dialog.SetParentDialogId(kw::kDialogIdGeneral);
    dialog.DoModal();
    EXPECT_THAT(seen, ElementsAre("< 2346 (Disable) > < 2347 (Disable) > psp=0 wmm=0", "< 2346 (Disable) > < 500 > psp=0 wmm=0"));
    // Moving the RTS bar applied the fragmentation threshold again; 7 became 0, not 1.
    EXPECT_EQ(Calls("SetWL_FragmentationThreshold").size(), 2u);
    EXPECT_EQ(Stored(u"RTSThreshold"), u"500");
    EXPECT_EQ(Stored(u"FragmentationThreshold"), u"2346");
    EXPECT_EQ(Stored(u"PSPXLinkMode"), u"0");
}

TEST_F(StationDialogsTest, ALanguageSwitchRenewsEveryTextOfTheOpenDialogsAndTheMainWindow) {
    int mainRelabelled = 0;
    kw::SetLanguageChoiceHandler([&mainRelabelled](int index) {
        kw::Language().Select(index + 1);
        kw::RelocaliseDialogChain([&mainRelabelled] { ++mainRelabelled; });
    });
    std::vector<std::vector<std::string>> fresh, switched;
    bool switching = false;
    user.WhenOpened(kw::advdlg::kResource, [&](CDialog&) {
        if (switching) user.Select(kw::advdlg::kLanguageList, 1);
        user.Run([&](CDialog& d) {
            auto& into = switching ? switched : fresh;
            into.push_back(Texts(*kw::ChainedDialog(kw::kDialogIdGeneral)));
            into.push_back(Texts(d));
        });
        user.Close();
    });
    // First opened in German from the start, then opened in English and switched while open.
    ASSERT_TRUE(kw::Language().Select(2));
    user.Click(kw::moredlg::kAdvancedButton).Close();
    kw::CMoreSettingDlg german;
    german.DoModal();
    ASSERT_TRUE(kw::Language().Select(1));
    switching = true;
    user.Click(kw::moredlg::kAdvancedButton).Close();
    kw::CMoreSettingDlg english;
    english.DoModal();

    EXPECT_EQ(mainRelabelled, 1);
    EXPECT_EQ(kw::Language().CurrentLanguage(), 2);
    ASSERT_EQ(switched.size(), 2u);
    ASSERT_EQ(fresh.size(), 2u);
    EXPECT_EQ(switched[0][0], "Weitere Einstellungen...  ");
    EXPECT_EQ(switched[1][0], "Erweiterte Einstellungen...");
    EXPECT_EQ(switched[0], fresh[0]);
    EXPECT_EQ(switched[1], fresh[1]);
    EXPECT_THAT(user.Errors(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace kwtest
