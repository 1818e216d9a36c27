#include "src/dialogs/wpa_setting_dlg.h"

#include <cstring>
#include <memory>

#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/device/dot1x.h"
#include "src/lang/language_table.h"
#include "src/security/authentication.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace wpadlg;

namespace {

constexpr size_t kPassphraseLimit = 64;
constexpr size_t kFieldReadLimit = 199;
constexpr size_t kHexPassphraseLength = 64;
constexpr size_t kAsciiPassphraseMin = 8;
constexpr size_t kAsciiPassphraseMax = 63;
constexpr char16_t kCertificateJoin[] = u" -issued by ";
constexpr char16_t kCertificateNotFound[] = u"Not Found";
constexpr char16_t kDefaultPassword[] = u"Wexlu";

const char16_t* const kProtocols[] = {u"TLS", u"PEAP", u"TTLS"};
const char16_t* const kPhase2Methods[] = {u"PAP", u"CHAP", u"MSCHAP", u"MSCHAPv2"};

// Every field the opener's table switches, in the order viewing disables them.
const int kEditableFields[] = {kProtocolCombo, kUserEdit, kPasswordEdit, kPhase2Combo, kValidateCheck,
                               kPassphraseEdit, kFormatAscii, kFormatHex, kCertCombo};

// The user's personal certificates as the certificate box lists them: item i is entry i.
struct CertificateTable {
    std::unique_ptr<CertListEntry[]> entries{new CertListEntry[kCertListCapacity]()};
    int count = 0;

    void Refill() {
        std::memset(entries.get(), 0, sizeof(CertListEntry) * kCertListCapacity);
        int found = getMyCertList(entries.get());
        count = found < 0 ? 0 : found > kCertListCapacity ? kCertListCapacity : found;
    }
    const CertListEntry* At(int index) const { return index >= 0 && index < count ? &entries[index] : nullptr; }
};

CertificateTable& Certificates() {
    static CertificateTable table;
    return table;
}

std::u16string Terminated(const char16_t* text, size_t room) {
    size_t length = 0;
    while (length < room && text[length] != 0) ++length;
    return std::u16string(text, length);
}

std::u16string CertificateText(std::u16string_view subject, std::u16string_view issuer) {
    return std::u16string(subject) + kCertificateJoin + std::u16string(issuer);
}

std::u16string Stored(std::u16string_view key) { return ReadSettingText(OperationMode(), key); }
void Store(std::u16string_view key, std::u16string_view text) { WriteSettingText(OperationMode(), key, text); }

bool UsesAccount(int mode) { return mode == kAuthWpa || mode == kAuthWpa2; }
bool UsesPreSharedKey(int mode) { return mode == kAuthWpaPsk || mode == kAuthWpaNone || mode == kAuthWpa2Psk; }
bool RestartsAuthentication(int mode) {
    return mode == kAuthWpa || mode == kAuthWpaPsk || mode == kAuthWpa2 || mode == kAuthWpa2Psk;
}

using ui::Control;

}  // namespace

ui::DialogTemplate CWpaSettingDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"WPA Setting...";
    t.width = 215;
    t.height = 241;
    t.controls = {
        Control(kConnectGroup, K::GroupBox, u"Connect Infomation", 0, {7, 7, 201, 104}),
        Control(kProtocolLabel, K::Label, u"Protocol:", 0, {14, 21, 80, 8}),
        Control(kProtocolCombo, K::ComboBox, u"", 0, {96, 19, 105, 12}),
        Control(kPhase2Label, K::Label, u"Phase2Auth:", 0, {14, 37, 80, 8}),
        Control(kPhase2Combo, K::ComboBox, u"", 0, {96, 35, 105, 12}),
        Control(kUserLabel, K::Label, u"User Name:", 0, {14, 53, 80, 8}),
        Control(kUserEdit, K::Edit, u"", 0, {96, 51, 105, 12}),
        Control(kPasswordLabel, K::Label, u"Password:", 0, {14, 69, 80, 8}),
        Control(kPasswordEdit, K::Edit, u"", ui::kMasked, {96, 67, 105, 12}),
        Control(kValidateCheck, K::CheckBox, u"Validate Server Certificate", 0, {14, 87, 187, 10}),
        Control(kPskGroup, K::GroupBox, u"Pre-shared Key", 0, {7, 116, 201, 60}),
        Control(kPassphraseLabel, K::Label, u"Passphrase:", 0, {14, 130, 80, 8}),
        Control(kPassphraseEdit, K::Edit, u"", ui::kMasked, {96, 128, 105, 12}),
        Control(kFormatLabel, K::Label, u"Key Format:", 0, {14, 148, 80, 8}),
        Control(kFormatAscii, K::RadioButton, u"ASCII", ui::kGroup, {96, 147, 105, 10}),
        Control(kFormatHex, K::RadioButton, u"Hexadecimal", 0, {96, 159, 105, 10}),
        Control(kCertGroup, K::GroupBox, u"Certificate", ui::kGroup, {7, 181, 201, 32}),
        Control(kCertCombo, K::ComboBox, u"", 0, {14, 194, 187, 12}),
        Control(kChangeApply, K::PushButton, u"Change", 0, {148, 220, 60, 14}),
    };
    return t;
}

CWpaSettingDlg::CWpaSettingDlg() : CDialog(Template()) {}

void CWpaSettingDlg::StartAuthentication() { kw::StartAuthentication(); }
void CWpaSettingDlg::StopAuthentication() { kw::StopAuthentication(); }

bool CWpaSettingDlg::OnInitDialog() {
    editing_ = false;
    SetUp();
    return true;
}

void CWpaSettingDlg::OnCommand(int id, ui::Notify code) {
    if (id == kChangeApply && code == ui::Notify::Clicked) {
        OnChangeApply();
    } else if (id == kProtocolCombo && code == ui::Notify::SelChange) {
        OnProtocolChanged();
    } else if (id == kCertCombo && code == ui::Notify::SelChange) {
        OnCertificateChanged();
    } else {
        CDialog::OnCommand(id, code);
    }
}

void CWpaSettingDlg::SetUp() {
    SetCaption(GetText(u"DOT1X_Dialog_Title", u"WPA Setting...") + u"  ");
    SetItemText(kChangeApply, editing_ ? GetText(u"DOT1X_Button_Apply", u"Apply") : GetText(u"DOT1X_Button_Change", u"Change"));
    SetItemText(kConnectGroup, GetText(u"DOT1X_CONNETCINFO", u"Connect Infomation"));
    SetItemText(kProtocolLabel, GetText(u"DOT1X_PROTOCOL", u"Protocol:"));
    SetItemText(kPhase2Label, GetText(u"DOT1X_PHASE2AUTH", u"Phase2Auth:"));
    SetItemText(kUserLabel, GetText(u"DOT1X_USERNAME", u"User Name:"));
    SetItemText(kPasswordLabel, GetText(u"DOT1X_PASSWORD", u"Password:"));
    SetItemText(kValidateCheck, GetText(u"DOT1X_VALIDATE_SERVER_CERTIFICATE", u"Validate Server Certificate"));
    SetItemText(kPskGroup, GetText(u"DOT1X_PRESHAREDKEY", u"Pre-shared Key"));
    SetItemText(kPassphraseLabel, GetText(u"DOT1X_PASSPHRASE", u"Passphrase:"));
    SetItemText(kFormatLabel, GetText(u"DOT1X_PASSPHRASE_FORMAT", u"Key Format:"));
    SetItemText(kFormatAscii, GetText(u"DOT1X_PASSPHRASE_ASCII", u"ASCII"));
    SetItemText(kFormatHex, GetText(u"DOT1X_PASSPHRASE_HEX", u"Hexadecimal"));
    SetItemText(kCertGroup, GetText(u"DOT1X_CERT", u"Certificate"));
    Edit(kPassphraseEdit).SetLimitText(kPassphraseLimit);
    SetRadioIndex(kFormatAscii, ReadSettingNumber(key::kDot1xPassphraseFormat) == 1 ? 1 : 0);
    if (editing_) {
        SetUpEditing();
    } else {
        SetUpViewing();
    }
}

void CWpaSettingDlg::SetUpEditing() {
    ui::CComboBox& phase2 = Combo(kPhase2Combo);
    phase2.ResetContent();
    for (int i = 0; i < 4; ++i) phase2.InsertString(i, kPhase2Methods[i]);
    ui::CComboBox& protocols = Combo(kProtocolCombo);
    protocols.ResetContent();
    for (int i = 0; i < 3; ++i) protocols.InsertString(i, kProtocols[i]);
    int protocol = ReadSettingNumber(key::kDot1xProtocol);
    if (protocol == kProtocolPeap) {
        protocols.SetCurSel(kProtocolPeap);
    } else if (protocol == kProtocolTtls) {
        protocols.SetCurSel(kProtocolTtls);
        phase2.SelectString(-1, Stored(key::kDot1xPhase2Auth));
    } else {
        protocols.SetCurSel(kProtocolTls);
        FillCertificates(true);
    }
    CheckItem(kValidateCheck, ReadSettingNumber(key::kDot1xValidateServerCertificate) == 1);
    EnableByOpener();
}

void CWpaSettingDlg::SetUpViewing() {
    int protocol = ReadSettingNumber(key::kDot1xProtocol);
    std::u16string certificate;
    if (protocol == kProtocolTls) {
        std::u16string subject = Stored(key::kDot1xCertSubject);
        certificate = subject.empty() ? std::u16string(u" ") : CertificateText(subject, Stored(key::kDot1xCertIssuer));
    }
    Combo(kProtocolCombo).SetText(protocol >= kProtocolTls && protocol <= kProtocolTtls ? kProtocols[protocol] : u"");
    if (protocol == kProtocolTtls) Combo(kPhase2Combo).SetText(Stored(key::kDot1xPhase2Auth));
    Combo(kCertCombo).SetText(certificate);
    SetItemText(kUserEdit, Stored(key::kDot1xUsername));
    CheckItem(kValidateCheck, ReadSettingNumber(key::kDot1xValidateServerCertificate) == 1);
    for (int id : kEditableFields) EnableItem(id, false);
}

void CWpaSettingDlg::EnableByOpener() {
    int mode = ReadSettingNumber(key::kAuthenticationMode);
    bool account = parentId_ == 3 || (parentId_ == 0 && UsesAccount(mode));
    bool preShared = parentId_ == 0 && UsesPreSharedKey(mode);
    bool everything = parentId_ != 0 && parentId_ != 3;
    if (account || everything) {
        for (int id : {kProtocolCombo, kUserEdit, kValidateCheck}) EnableItem(id, true);
        for (int id : {kPassphraseEdit, kFormatAscii, kFormatHex}) EnableItem(id, everything);
        EnableProtocolFields(ReadSettingNumber(key::kDot1xProtocol));
    } else if (preShared) {
        for (int id : {kPassphraseEdit, kFormatAscii, kFormatHex}) EnableItem(id, true);
        for (int id : {kProtocolCombo, kUserEdit, kPasswordEdit, kPhase2Combo, kValidateCheck, kCertCombo}) EnableItem(id, false);
    }
}

void CWpaSettingDlg::EnableProtocolFields(int protocol) {
    EnableItem(kPasswordEdit, protocol != kProtocolTls);
    EnableItem(kPhase2Combo, protocol == kProtocolTtls);
    EnableItem(kCertCombo, protocol != kProtocolPeap && protocol != kProtocolTtls);
}

void CWpaSettingDlg::FillCertificates(bool fillUserName) {
    CertificateTable& table = Certificates();
    table.Refill();
    ui::CComboBox& box = Combo(kCertCombo);
    box.ResetContent();
    for (int i = 0; i < table.count; ++i) {
        box.InsertString(i, CertificateText(Terminated(table.entries[i].subject, 256), Terminated(table.entries[i].issuer, 256)));
    }
    if (fillUserName && table.count > 0 && Trim(Stored(key::kDot1xUsername)).empty()) {
        char16_t name[kSubjectAltNameRoom + 1] = {};
        getMyCertSubjectAltName(table.entries[0].subject, table.entries[0].issuer, name);
        SetItemText(kUserEdit, Terminated(name, kSubjectAltNameRoom));
    }
    box.SelectString(-1, CertificateText(Stored(key::kDot1xCertSubject), Stored(key::kDot1xCertIssuer)));
}

void CWpaSettingDlg::OnProtocolChanged() {
    int protocol = Combo(kProtocolCombo).CurSel();
    EnableItem(kUserEdit, true);
    if (protocol == kProtocolTls) {
        EnableItem(kPasswordEdit, false);
        EnableItem(kPhase2Combo, false);
        Combo(kPhase2Combo).SetText(u"");
        EnableItem(kCertCombo, true);
        FillCertificates(false);
        return;
    }
    if (protocol != kProtocolPeap && protocol != kProtocolTtls) return;
    // An account for the inner method is the name alone, without the realm a certificate carries.
    std::u16string user = ItemText(kUserEdit);
    size_t at = user.find(u'@');
    if (at != std::u16string::npos) SetItemText(kUserEdit, user.substr(0, at));
    EnableItem(kPasswordEdit, true);
    EnableItem(kCertCombo, false);
    Combo(kCertCombo).SetText(u"");
    if (protocol == kProtocolTtls) {
        EnableItem(kPhase2Combo, true);
        Combo(kPhase2Combo).SetText(Stored(key::kDot1xPhase2Auth));
    } else {
        EnableItem(kPhase2Combo, false);
        Combo(kPhase2Combo).SetText(u"");
    }
}

void CWpaSettingDlg::OnCertificateChanged() {
    if (Combo(kProtocolCombo).CurSel() != kProtocolTls) return;
    const CertListEntry* entry = Certificates().At(Combo(kCertCombo).CurSel());
    if (!entry) return;
    char16_t name[kSubjectAltNameRoom + 1] = {};
    getMyCertSubjectAltName(entry->subject, entry->issuer, name);
    SetItemText(kUserEdit, Terminated(name, kSubjectAltNameRoom));
}

std::u16string CWpaSettingDlg::FieldText(int id) const { return ItemText(id).substr(0, kFieldReadLimit); }

bool CWpaSettingDlg::StoreEdits() {
    int protocol = Combo(kProtocolCombo).CurSel();
    WriteSettingNumber(OperationMode(), key::kDot1xProtocol, protocol);
    std::u16string passphrase = FieldText(kPassphraseEdit);
    Store(key::kDot1xPassphrase, passphrase);
    bool hex = RadioIndex(kFormatAscii) == 1;
    Store(key::kDot1xPassphraseFormat, hex ? u"1" : u"0");
    if (!passphrase.empty()) {
        if (hex && passphrase.size() != kHexPassphraseLength) {
            ui::ShowMessageBox(this, GetText(u"DOT1X_Passphrase_HEX_Error", u"Passphrase length must be 64 in Hexadecimal format"), u"");
            return false;
        }
        if (!hex && (passphrase.size() < kAsciiPassphraseMin || passphrase.size() > kAsciiPassphraseMax)) {
            ui::ShowMessageBox(this, GetText(u"DOT1X_Passphrase_ASCII_Error", u"Passphrase length must be 8..63 in ASCII format"), u"");
            return false;
        }
    }
    if (protocol == kProtocolTls) {
        const CertListEntry* entry = Combo(kCertCombo).Count() > 0 ? Certificates().At(Combo(kCertCombo).CurSel()) : nullptr;
        Store(key::kDot1xCertSubject, entry ? Terminated(entry->subject, 256) : kCertificateNotFound);
        Store(key::kDot1xCertIssuer, entry ? Terminated(entry->issuer, 256) : kCertificateNotFound);
    }
    std::u16string user = FieldText(kUserEdit);
    Store(key::kDot1xUsername, user.empty() ? u" " : user);
    if (protocol == kProtocolPeap || protocol == kProtocolTtls) {
        std::u16string password = FieldText(kPasswordEdit);
        Store(key::kDot1xPassword, password.empty() ? kDefaultPassword : password);
    }
    if (protocol == kProtocolTtls) {
        const ui::CComboBox& phase2 = Combo(kPhase2Combo);
        Store(key::kDot1xPhase2Auth, phase2.ItemText(phase2.CurSel()));
    }
    Store(key::kDot1xValidateServerCertificate, IsItemChecked(kValidateCheck) ? u"1" : u"0");
    return true;
}

void CWpaSettingDlg::OnChangeApply() {
    if (editing_ && !StoreEdits()) return;
    if (parentId_ == 1) {
        kw::StopAuthentication();
        if (RestartsAuthentication(ReadSettingNumber(key::kAuthenticationMode))) {
            ForceReassociation();
            kw::StartAuthentication();
        }
    }
    editing_ = !editing_;
    SetUp();
}

}  // namespace kw
