// The MAC address filter dialog: the filter mode and its repair, the address filter while typing,
// the sixteen entries handed to the driver and kept in the hive, and a list the driver refuses.
#include "src/dialogs/mac_filter_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "sim/control.h"
#include "src/dialogs/dialog_chain.h"
#include "src/lang/language_table.h"
#include "src/settings/setting_keys.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using namespace kw::macdlg;
using kw::ui::CDialog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kAp = kw::kModeAccessPoint;

std::u16string AddressKey(int entry) { return kw::FormatW("MACFilterAddr%d", entry); }

class MacFilterDlgTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_TRUE(kw::Language().Load(std::string(KW_TEST_DATA_DIR) + "/KWMLa.INI", u"LANGUAGES"));
        kw::SetOperationMode(kAp);
        OpenAdapter();
    }
    void TearDown() override {
        kw::Language().Load("", u"LANGUAGES");
        SimTest::TearDown();
    }
    void RunDialog() {
        kw::CMacFilterDlg dialog;
        dialog.SetParentDialogId(kw::kDialogIdAccessPoint);
        dialog.DoModal();
    }
    void Probe(std::function<std::string(CDialog&)> probe) {
        user.Run([this, probe](CDialog& d) { trace.push_back(probe(d)); });
    }
    static std::string Field(CDialog& d, int id) { return kw::ToUtf8(d.ItemText(id)); }
    // Every address field as shown, "-" for an empty one.
    static std::string Fields(CDialog& d) {
        std::string line;
        for (int i = 0; i < kAddressCount; ++i) {
            std::string text = Field(d, kAddressFirst + i);
            line += (i ? "," : "") + (text.empty() ? std::string("-") : text);
        }
        return line;
    }

    kw::ui::CTestDriver user;
    std::vector<std::string> trace;
};

TEST_F(MacFilterDlgTest, AStoredModeOutOfRangeShowsTheFirstAndWritesIt) {
    struct Case {
        const char16_t* stored;
        std::string shown;
        std::vector<std::string> writes;
    } cases[] = {
        {u"3", "Disable", {"SetWLAP_FilterMode(0) = 0"}},
        {u"-1", "Disable", {"SetWLAP_FilterMode(0) = 0"}},
        {u"", "Disable", {"SetWLAP_FilterMode(0) = 0"}},
        {u"2", "Reject listed stations", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kw::ToUtf8(c.stored));
        kw::WriteSettingText(kAp, kw::key::kMacFilterMode, c.stored);
        kw::sim::ClearCallLog();
        trace.clear();
        Probe([](CDialog& d) { return Field(d, kFilterType) + kw::Format(" id=%d", kw::CurrentDialogId()); });
        RunDialog();
        EXPECT_THAT(trace, ElementsAre(c.shown + " id=6"));
        EXPECT_EQ(Calls("SetWLAP_FilterMode"), c.writes);
        EXPECT_EQ(Stored(kw::key::kMacFilterMode, kAp), c.writes.empty() ? std::u16string(c.stored) : u"0");
        EXPECT_EQ(kw::CurrentDialogId(), kw::kDialogIdAccessPoint);
    }
}

TEST_F(MacFilterDlgTest, ChangingTheFilterTypeActsAtOnceWithoutApply) {
    kw::WriteSettingText(kAp, kw::key::kMacFilterMode, u"0");
    user.Select(kFilterType, 1);
    Probe([](CDialog& d) { return Field(d, kChangeApply); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("Change"));
    EXPECT_THAT(Calls("SetWLAP_FilterMode"), ElementsAre("SetWLAP_FilterMode(1) = 0"));
    EXPECT_EQ(Stored(kw::key::kMacFilterMode, kAp), u"1");
    EXPECT_THAT(Calls("SetWLAP_FilterList"), IsEmpty());
}

TEST_F(MacFilterDlgTest, TypingKeepsHexDigitsAndBlanksAndStopsAtTheFieldsRoom) {
    struct Case {
        const char16_t* typed;
        std::string shown;
        int caret;
    } cases[] = {
        {u"00:1A:2b:3C:4d:5E", "001A2b3C4d5E", 2},
        {u"00-1A-2B", "001A2B", 2},
        {u"0A 0B 0C", "0A 0B 0C", 8},
        {u"zz12", "12", 0},
        // Seventeen characters hold one address with blanks; the rest never reaches the field.
        {u"0A 0B 0C 0D 0E 0F 10 11", "0A 0B 0C 0D 0E 0F", 17},
    };
    user.Click(kChangeApply);
    for (const Case& c : cases) {
        user.Type(kAddressFirst + 3, c.typed);
        Probe([](CDialog& d) { return Field(d, kAddressFirst + 3) + kw::Format(" caret=%d", d.Edit(kAddressFirst + 3).SelStart()); });
    }
    RunDialog();
    std::vector<std::string> expected;
    for (const Case& c : cases) expected.push_back(c.shown + kw::Format(" caret=%d", c.caret));
    EXPECT_EQ(trace, expected);
}

TEST_F(MacFilterDlgTest, ApplySendsSixteenEntriesKeepsThemInTheHiveAndShowsTheirNormalForm) {
    // Field 0 had an address that the user removes again.
    kw::WriteSettingText(kAp, AddressKey(0), u"02 11 11 11 11 11");
    Probe([](CDialog& d) { return Fields(d) + kw::Format(" enabled=%d", d.Item(kAddressFirst)->IsEnabled()); });
    user.Click(kChangeApply);
    Probe([](CDialog& d) { return Field(d, kChangeApply) + kw::Format(" enabled=%d", d.Item(kAddressFirst + 15)->IsEnabled()); });
    user.Type(kAddressFirst + 0, u"")
        .Type(kAddressFirst + 1, u"00:1a:2B:3c:4D:5e")
        .Type(kAddressFirst + 2, u"0A0B0C0D0E1")
        .Type(kAddressFirst + 3, u"00 00 00 00 00 00")
        .Type(kAddressFirst + 15, u"ff ff ff ff ff ff")
        .Click(kChangeApply);
    Probe([](CDialog& d) { return Fields(d) + kw::Format(" enabled=%d ", d.Item(kAddressFirst + 1)->IsEnabled()) + Field(d, kChangeApply); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("02 11 11 11 11 11,-,-,-,-,-,-,-,-,-,-,-,-,-,-,- enabled=0", "Apply enabled=1",
                                   "-,00 1A 2B 3C 4D 5E,0A 0B 0C 0D 0E 01,-,-,-,-,-,-,-,-,-,-,-,-,FF FF FF FF FF FF enabled=0 Change"));
    std::string list = "00 00 00 00 00 00 00 01 00 1A 2B 3C 4D 5E 01 0A 0B 0C 0D 0E 01";
    for (int i = 3; i < 15; ++i) list += " 00 00 00 00 00 00 00";
    list += " 01 FF FF FF FF FF FF";
    EXPECT_THAT(Calls("SetWLAP_FilterList"), ElementsAre("SetWLAP_FilterList([" + list + "], 112) = 0"));
    EXPECT_EQ(Stored(AddressKey(0), kAp), u"00 00 00 00 00 00");
    EXPECT_EQ(Stored(AddressKey(1), kAp), u"00 1A 2B 3C 4D 5E");
    EXPECT_EQ(Stored(AddressKey(15), kAp), u"FF FF FF FF FF FF");

    // From the file alone, as the next start reads it.
    kw::reg::ResetForTests();
    trace.clear();
    Probe([](CDialog& d) { return Fields(d); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("-,00 1A 2B 3C 4D 5E,0A 0B 0C 0D 0E 01,-,-,-,-,-,-,-,-,-,-,-,-,FF FF FF FF FF FF"));
}

TEST_F(MacFilterDlgTest, ARefusedListKeepsTheStoredAddressesAndShowsThemAgain) {
    kw::WriteSettingText(kAp, AddressKey(4), u"02 44 44 44 44 44");
    user.Click(kChangeApply).Type(kAddressFirst + 4, u"02 55 55 55 55 55");
    user.Run([](CDialog&) { ASSERT_TRUE(kw::sim::UnplugAdapter(1)); });
    user.Click(kChangeApply);
    Probe([](CDialog& d) { return Field(d, kAddressFirst + 4) + " " + Field(d, kChangeApply); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("02 44 44 44 44 44 Change"));
    EXPECT_EQ(Stored(AddressKey(4), kAp), u"02 44 44 44 44 44");
    ASSERT_EQ(Calls("SetWLAP_FilterList").size(), 1u);
    EXPECT_THAT(Calls("SetWLAP_FilterList")[0], ::testing::EndsWith("= -1"));
}

}  // namespace
}  // namespace kwtest
