// The WEP key dialog and its information dialog: viewing and editing, masking, the hexadecimal
// filter, the key path with its length check and the 802.1X path.
#include "src/dialogs/wep_key_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "src/dialogs/dialog_chain.h"
#include "src/settings/setting_keys.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using namespace kw::wepdlg;
using kw::ui::CDialog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WepKeyDlgTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
    // Runs the dialog with steps queued on user; probe lines go to trace.
    void RunDialog(int parentId = 1) {
        kw::CWepKeyDlg dialog;
        dialog.SetParentDialogId(parentId);
        dialog.DoModal();
    }
    void Probe(std::function<std::string(CDialog&)> probe) {
        user.Run([this, probe](CDialog& d) { trace.push_back(probe(d)); });
    }
    static std::string Field(CDialog& d, int id) { return kw::ToUtf8(d.ItemText(id)); }

    kw::ui::CTestDriver user;
    std::vector<std::string> trace;
};

TEST_F(WepKeyDlgTest, OpensViewingMaskedThenChangeEnablesTheInputs) {
    Probe([](CDialog& d) {
        return Field(d, kKeyFields[0]) + kw::Format(" enabled=%d %s", d.Item(kKeyFields[0])->IsEnabled(), Field(d, kChangeApply).c_str());
    });
    user.Click(kChangeApply);
    Probe([](CDialog& d) {
        return Field(d, kKeyFields[3]) + kw::Format(" enabled=%d %s id=%d", d.Item(kKeyFields[3])->IsEnabled(),
                                                  Field(d, kChangeApply).c_str(), kw::CurrentDialogId());
    });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("********** enabled=0 Change", "********** enabled=1 Apply id=3"));
    EXPECT_EQ(kw::CurrentDialogId(), 1);  // given back to the opener
}

TEST_F(WepKeyDlgTest, HexFilterDropsOtherCharactersAndKeepsTheCaretWhereTheyWere) {
    user.Click(kChangeApply);
    for (const char16_t* typed : {u"12 4", u"12G4", u"x1y2", u"0123456789"}) {
        user.Type(kKeyFields[1], typed);
        Probe([](CDialog& d) {
            return Field(d, kKeyFields[1]) + kw::Format(" caret=%d", d.Edit(kKeyFields[1]).SelStart());
        });
    }
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("124 caret=2", "124 caret=2", "12 caret=0", "0123456789 caret=10"));
}

TEST_F(WepKeyDlgTest, ApplyWritesTypedAndStoredKeysAndMarksTheDefault) {
    user.Click(kChangeApply).Select(kDefaultKeyCombo, 1).Type(kKeyFields[1], u"0A0b0C0d0E").Click(kChangeApply);
    Probe([](CDialog& d) { return Field(d, kChangeApply) + " " + Field(d, kKeyFields[1]); });
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("Change **********"));
    EXPECT_THAT(Calls("SetWL_WriteKey"), ElementsAre("SetWL_WriteKey(0, 0, 0, [21 22 23 24 25]) = 0",
                                                     "SetWL_WriteKey(1, 0, 1, [0A 0B 0C 0D 0E]) = 0",
                                                     "SetWL_WriteKey(2, 0, 0, [21 22 23 24 25]) = 0",
                                                     "SetWL_WriteKey(3, 0, 0, [21 22 23 24 25]) = 0"));
    EXPECT_EQ(Stored(u"WEPKey64_1"), u"0A 0B 0C 0D 0E");
    EXPECT_EQ(Stored(u"WEPKeyLength"), u"64");
    EXPECT_EQ(Stored(u"WEPDefaultKeyId"), u"1");
    EXPECT_EQ(Stored(u"Dot1xRC4WEP"), u"0");
}

TEST_F(WepKeyDlgTest, AWrongLengthOpensTheInformationAndKeepsEditing) {
    struct Case {
        bool ascii;
        const char16_t* key;
        size_t writes;  // keys written before the rejected one
    };
    const Case cases[] = {
        {false, u"123456789", 2},  // nine hexadecimal digits
        {true, u" abcd", 2},       // trimmed to four characters
    };
    user.WhenOpened(196, [this](CDialog& d) {
        trace.push_back(Field(d, 1562) + kw::Format(" id=%d", kw::CurrentDialogId()));
        user.Click(kw::ui::IDOK);
    });
    for (const Case& c : cases) {
        kw::sim::ClearCallLog();
        trace.clear();
        if (c.ascii) kw::WriteSettingText(0, u"WEPKeyFormat", u"1");
        user.Click(kChangeApply).Type(kKeyFields[2], c.key).Click(kChangeApply);
        Probe([](CDialog& d) { return Field(d, kChangeApply) + kw::Format(" id=%d", kw::CurrentDialogId()); });
        RunDialog();
        EXPECT_THAT(trace, ElementsAre("64 bit - the Password is either 5 alphanumeric characters or 10 hexadecimal values. id=8",
                                       "Apply id=3"));
        EXPECT_EQ(Calls("SetWL_WriteKey").size(), c.writes);
    }
}

TEST_F(WepKeyDlgTest, AsciiKeyWithAPercentSignIsTakenAsTyped) {
    kw::WriteSettingText(0, u"WEPKeyFormat", u"1");
    user.Click(kChangeApply).Type(kKeyFields[0], u"a%d 5").Click(kChangeApply);
    RunDialog();
    EXPECT_TRUE(Called("SetWL_WriteKey(0, 0, 1, [61 25 64 20 35]) = 0"));
}

TEST_F(WepKeyDlgTest, SwitchingLengthOrFormatDiscardsTypedKeysAndStoresTheFormatAtOnce) {
    kw::ProgramConfig config;
    config.enableWep256 = 1;
    InstallConfig(config);
    user.Click(kChangeApply).Type(kKeyFields[0], u"0123456789");
    for (int radio : {kLength128, kLength256, kFormatAscii, kLength64}) {
        user.Click(radio);
        Probe([](CDialog& d) { return Field(d, kKeyFields[0]) + kw::Format(" limit=%zu", d.Edit(kKeyFields[0]).LimitText()); });
    }
    user.Click(kChangeApply);
    RunDialog();
    EXPECT_THAT(trace, ElementsAre(std::string(26, '*') + " limit=26", std::string(58, '*') + " limit=58",
                                   std::string(29, '*') + " limit=29", "***** limit=5"));
    EXPECT_EQ(Stored(u"WEPKeyFormat"), u"1");
    // Nothing typed survived: the stored (default) keys were written.
    EXPECT_TRUE(Called("SetWL_WriteKey(0, 0, 1, [21 22 23 24 25]) = 0"));
}

TEST_F(WepKeyDlgTest, StoredLengthOutsideTheKnownOnesOpensAs64Bit) {
    for (const char16_t* stored : {u"100", u"300", u"", u"128"}) {
        kw::WriteSettingText(0, u"WEPKeyLength", stored);
        Probe([](CDialog& d) { return kw::Format("%d", d.RadioIndex(kLength64)); });
        RunDialog();
    }
    EXPECT_THAT(trace, ElementsAre("0", "0", "0", "1"));
}

TEST_F(WepKeyDlgTest, Dot1xPathStoresTheChoiceAsksAndOpensTheWpaSettings) {
    kw::ProgramConfig config;
    config.rc4WepSupport = 1;
    InstallConfig(config);
    user.WhenOpened(195, [this](CDialog& d) { trace.push_back(kw::ToUtf8(d.Caption())); });
    user.Answer(kw::ui::IDNO);
    user.Click(kChangeApply).Click(kDot1xCheck);
    Probe([](CDialog& d) { return kw::Format("keys enabled=%d", d.Item(kKeyFields[0])->IsEnabled()); });
    user.Click(kChangeApply);
    RunDialog(kw::kDialogIdMain);
    EXPECT_THAT(trace, ElementsAre("keys enabled=0", "WPA Setting...  "));
    EXPECT_EQ(Stored(u"Dot1xRC4WEP"), u"1");
    EXPECT_THAT(Calls("SetWL_WriteKey"), IsEmpty());
}

TEST_F(WepKeyDlgTest, AccessPointModeHidesThe8021XBox) {
    kw::ProgramConfig config;
    config.rc4WepSupport = 1;
    InstallConfig(config);
    kw::SetOperationMode(kw::kModeAccessPoint);
    Probe([](CDialog& d) { return kw::Format("visible=%d", d.Item(kDot1xCheck)->IsVisible()); });
    RunDialog(kw::kDialogIdAccessPoint);
    EXPECT_THAT(trace, ElementsAre("visible=0"));
}

}  // namespace
}  // namespace kwtest
