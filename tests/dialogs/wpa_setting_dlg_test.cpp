// The WPA setting dialog: read-only first, the fields each opener may edit, the pass phrase
// checks, the protocol and certificate changes and the authentication restart from the general
// settings dialog.
#include "src/dialogs/wpa_setting_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "src/security/authentication.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using namespace kw::wpadlg;
using kw::ui::CDialog;
using ::testing::ElementsAre;

class WpaSettingDlgTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
    void RunDialog(int parentId) {
        kw::CWpaSettingDlg dialog;
        dialog.SetParentDialogId(parentId);
        dialog.DoModal();
    }
    void Probe(std::function<std::string(CDialog&)> probe) {
        user.Run([this, probe](CDialog& d) { trace.push_back(probe(d)); });
    }
    // The enabled fields, in the order of the dialog.
    static std::string EnabledFields(CDialog& d) {
        std::string list;
        for (int id : {kProtocolCombo, kPhase2Combo, kUserEdit, kPasswordEdit, kValidateCheck, kPassphraseEdit, kFormatAscii,
                       kFormatHex, kCertCombo}) {
            if (d.Item(id)->IsEnabled()) list += kw::Format("%d ", id);
        }
        return list;
    }
    std::vector<std::string> MessageBoxes() const {
        std::vector<std::string> lines;
        for (const auto& line : user.Lines()) {
            if (line.rfind("messagebox:", 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    kw::ui::CTestDriver user;
    std::vector<std::string> trace;
};

TEST_F(WpaSettingDlgTest, FieldsEachOpenerEnables) {
    struct Case {
        int parentId;
        const char16_t* authMode;
        const char16_t* protocol;
        const char* enabled;
    };
    const Case cases[] = {
        {3, u"2", u"0", "1520 1281 1567 1522 "},
        {3, u"2", u"2", "1520 1524 1281 1027 1567 "},
        {0, u"6", u"1", "1520 1281 1027 1567 "},
        {0, u"7", u"0", "1521 1518 1519 "},
        {0, u"2", u"0", ""},
        {1, u"0", u"0", "1520 1281 1567 1521 1518 1519 1522 "},
    };
    for (const Case& c : cases) {
        trace.clear();
        kw::WriteSettingText(0, u"AuthenticationMode", c.authMode);
        kw::WriteSettingText(0, u"Dot1xProtocol", c.protocol);
        Probe(EnabledFields);
        user.Click(kChangeApply);
        Probe(EnabledFields);
        RunDialog(c.parentId);
        EXPECT_THAT(trace, ElementsAre("", c.enabled)) << c.parentId << " " << kw::ToUtf8(c.authMode);
    }
}

TEST_F(WpaSettingDlgTest, PassphraseLengthChecks) {
    struct Case {
        bool hex;
        size_t length;
        bool accepted;
    };
    const Case cases[] = {{false, 7, false}, {false, 8, true},  {false, 63, true}, {false, 64, false},
                          {false, 0, true},  {true, 63, false}, {true, 64, true}};
    for (const Case& c : cases) {
        trace.clear();
        kw::WriteSettingText(0, u"AuthenticationMode", u"7");
        std::u16string passphrase(c.length, c.hex ? u'A' : u'p');
        user.Click(kChangeApply).Click(c.hex ? kFormatHex : kFormatAscii).Type(kPassphraseEdit, passphrase).Click(kChangeApply);
        Probe([](CDialog& d) { return kw::ToUtf8(d.ItemText(kChangeApply)); });
        RunDialog(0);
        EXPECT_THAT(trace, ElementsAre(c.accepted ? "Change" : "Apply")) << c.length;
        // The pass phrase and its format are stored before the check.
        EXPECT_EQ(Stored(u"Dot1xPassphrase"), passphrase);
        EXPECT_EQ(Stored(u"Dot1xPassphraseFormat"), c.hex ? u"1" : u"0");
    }
    EXPECT_THAT(MessageBoxes(), ElementsAre("messagebox: \"\" \"Passphrase length must be 8..63 in ASCII format\" [ok] -> ok",
                                            "messagebox: \"\" \"Passphrase length must be 8..63 in ASCII format\" [ok] -> ok",
                                            "messagebox: \"\" \"Passphrase length must be 64 in Hexadecimal format\" [ok] -> ok"));
}

TEST_F(WpaSettingDlgTest, ProtocolChangesAndApplyStoreTheAccount) {
    kw::WriteSettingText(0, u"AuthenticationMode", u"6");
    kw::WriteSettingText(0, u"Dot1xUsername", u"   ");
    kw::WriteSettingText(0, u"Dot1xPhase2Auth", u"mschapv2");
    auto fields = [](CDialog& d) {
        return kw::ToUtf8(d.ItemText(kUserEdit)) + "|" + kw::ToUtf8(d.ItemText(kCertCombo)) + "|" + kw::ToUtf8(d.ItemText(kPhase2Combo));
    };
    user.Click(kChangeApply);
    Probe(fields);  // TLS: the name comes from the first certificate
    user.Select(kCertCombo, 1);
    Probe(fields);
    user.Select(kProtocolCombo, kProtocolPeap);
    Probe(fields);
    user.Select(kProtocolCombo, kProtocolTtls).Select(kPhase2Combo, 2).Type(kPasswordEdit, u"Wonderland1").Click(kValidateCheck);
    user.Click(kChangeApply);
    Probe(fields);
    RunDialog(0);
    // No certificate stored yet: none is selected at first. Viewing again shows what was stored.
    EXPECT_THAT(trace, ElementsAre("alice@talvo.example||", "bob@talvo.example|Bob Example -issued by Talvo Test Root CA|",
                                   "bob||", "bob||MSCHAP"));
    EXPECT_EQ(Stored(u"Dot1xProtocol"), u"2");
    EXPECT_EQ(Stored(u"Dot1xUsername"), u"bob");
    EXPECT_EQ(Stored(u"Dot1xPassword"), u"Wonderland1");
    EXPECT_EQ(Stored(u"Dot1xPhase2Auth"), u"MSCHAP");
    EXPECT_EQ(Stored(u"Dot1xValidateServerCertificate"), u"1");
}

TEST_F(WpaSettingDlgTest, TlsApplyStoresTheCertificateAndDefaultsForEmptyFields) {
    kw::WriteSettingText(0, u"AuthenticationMode", u"3");
    user.Click(kChangeApply).Type(kUserEdit, u"").Select(kCertCombo, 0).Type(kUserEdit, u"").Click(kChangeApply);
    RunDialog(0);
    EXPECT_EQ(Stored(u"Dot1xProtocol"), u"0");
    EXPECT_EQ(Stored(u"Dot1xCertSubject"), u"Alice Example");
    EXPECT_EQ(Stored(u"Dot1xCertIssuer"), u"Talvo Test Root CA");
    EXPECT_EQ(Stored(u"Dot1xUsername"), u" ");
    EXPECT_EQ(Stored(u"Dot1xValidateServerCertificate"), u"0");
}

TEST_F(WpaSettingDlgTest, FromTheGeneralSettingsChangeAloneRestartsAuthentication) {
    for (const char16_t* mode : {u"4", u"2"}) {
        kw::WriteSettingText(0, u"AuthenticationMode", mode);
        kw::StartAuthentication();
        bool restarted = false;
        user.Click(kChangeApply);
        user.Run([&](CDialog&) { restarted = kw::AuthenticationWanted(); });
        RunDialog(1);
        kw::StopAuthentication();
        EXPECT_EQ(restarted, std::u16string(mode) == u"4") << kw::ToUtf8(mode);
    }
}

}  // namespace
}  // namespace kwtest
