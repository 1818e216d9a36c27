#include "src/dialogs/wep_key_dlg.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/wep_key_info_dlg.h"
#include "src/dialogs/wpa_setting_dlg.h"
#include "src/lang/language_table.h"
#include "src/settings/appliers.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"
#include "src/settings/wep_keys.h"

namespace kw {

using namespace wepdlg;

namespace {

constexpr int kKeyFieldCount = kWepKeyCount;
constexpr size_t kKeyBufferBytes = 30;
constexpr size_t kKeyTextBytes = 200;
constexpr char16_t kMaskCharacter = u'*';

struct Label {
    int id;
    const char16_t* key;
    const char16_t* text;
};

const Label kLabels[] = {
    {kGroup, u"WS_Key_Set_Sub_Title", u"WEP Key Setting"},
    {kLengthLabel, u"WS_Key_Set_Key_Length", u"Key Length:"},
    {kLength64, u"WS_Key_Set_Key_Length_64", u"64 bit"},
    {kLength128, u"WS_Key_Set_Key_Length_128", u"128 bit"},
    {kLength256, u"WS_Key_Set_Key_Length_256", u"256 bit"},
    {kDefaultKeyLabel, u"WS_Key_Set_Key_Default_Id", u"Default Key ID:"},
    {kKeyValueLabel, u"WS_Key_Set_Key_Value_Desc", u"Key Value:"},
    {kKeyLabels[0], u"WS_Key_Set_Key_Value_1", u"#1:"},
    {kKeyLabels[1], u"WS_Key_Set_Key_Value_2", u"#2:"},
    {kKeyLabels[2], u"WS_Key_Set_Key_Value_3", u"#3:"},
    {kKeyLabels[3], u"WS_Key_Set_Key_Value_4", u"#4:"},
    {kFormatLabel, u"WS_Key_Key_Format", u"Key Format:"},
    {kFormatHex, u"WS_Key_Hexdecimal", u"Hexadecimal"},
    {kFormatAscii, u"WS_Key_ASCII", u"ASCII"},
    {kDot1xCheck, u"WS_Key_DOT1X", u"The key is provided via 802.1x authentication"},
};

// Everything the key cycle edits; the 802.1X box switches all of them but itself.
const int kKeyInputs[] = {kLength64, kLength128, kLength256, kFormatHex, kFormatAscii, kDefaultKeyCombo,
                          kKeyFields[0], kKeyFields[1], kKeyFields[2], kKeyFields[3]};

int KeyFieldIndex(int id) {
    for (int i = 0; i < kKeyFieldCount; ++i) {
        if (kKeyFields[i] == id) return i;
    }
    return -1;
}

int StoredInRange(std::u16string_view key, int low, int high) {
    int value = ReadSettingNumber(key);
    return value < low || value > high ? low : value;
}

bool IsHexDigit(char16_t c) { return HexDigitValue(c) >= 0; }

using ui::Control;

}  // namespace

ui::DialogTemplate CWepKeyDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"WEP Key Setting...";
    t.width = 320;
    t.height = 202;
    t.controls = {
        Control(kGroup, K::GroupBox, u"WEP Key Setting", 0, {7, 7, 306, 166}),
        Control(kLengthLabel, K::Label, u"Key Length:", 0, {14, 21, 85, 8}),
        Control(kLength64, K::RadioButton, u"64 bit", ui::kGroup, {102, 20, 45, 10}),
        Control(kLength128, K::RadioButton, u"128 bit", 0, {149, 20, 50, 10}),
        Control(kLength256, K::RadioButton, u"256 bit", 0, {201, 20, 48, 10}),
        Control(kFormatLabel, K::Label, u"Key Format:", ui::kGroup, {14, 36, 85, 8}),
        Control(kFormatHex, K::RadioButton, u"Hexadecimal", ui::kGroup, {102, 35, 70, 10}),
        Control(kFormatAscii, K::RadioButton, u"ASCII", 0, {176, 35, 50, 10}),
        Control(kDefaultKeyLabel, K::Label, u"Default Key ID:", ui::kGroup, {14, 52, 85, 8}),
        Control(kDefaultKeyCombo, K::ComboBox, u"", ui::kDropDownList, {102, 50, 60, 12}),
        Control(kKeyValueLabel, K::Label, u"Key Value:", 0, {14, 68, 85, 8}),
        Control(kKeyLabels[0], K::Label, u"#1:", 0, {24, 82, 20, 8}),
        Control(kKeyFields[0], K::Edit, u"", 0, {46, 80, 260, 12}),
        Control(kKeyLabels[1], K::Label, u"#2:", 0, {24, 98, 20, 8}),
        Control(kKeyFields[1], K::Edit, u"", 0, {46, 96, 260, 12}),
        Control(kKeyLabels[2], K::Label, u"#3:", 0, {24, 114, 20, 8}),
        Control(kKeyFields[2], K::Edit, u"", 0, {46, 112, 260, 12}),
        Control(kKeyLabels[3], K::Label, u"#4:", 0, {24, 130, 20, 8}),
        Control(kKeyFields[3], K::Edit, u"", 0, {46, 128, 260, 12}),
        Control(kDot1xCheck, K::CheckBox, u"The key is provided via 802.1x authentication", 0, {14, 150, 292, 10}),
        Control(kChangeApply, K::PushButton, u"Change", 0, {253, 180, 60, 14}),
    };
    return t;
}

CWepKeyDlg::CWepKeyDlg() : CDialog(Template()) {}
CWepKeyDlg::~CWepKeyDlg() = default;

bool CWepKeyDlg::OnInitDialog() {
    editing_ = false;
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdWepKeys, this, parentId_, [this] { Relocalise(); });
    Relocalise();
    ui::CComboBox& keys = Combo(kDefaultKeyCombo);
    keys.ResetContent();
    for (int i = 1; i <= kKeyFieldCount; ++i) keys.AddString(FormatW("#%d", i));
    ShowItem(kLength256, Config().enableWep256 != 0);
    ShowItem(kDot1xCheck, Config().rc4WepSupport != 0 && OperationMode() != kModeAccessPoint);
    edited_.fill(false);
    Load();
    return true;
}

void CWepKeyDlg::OnDestroy() { chain_.reset(); }

void CWepKeyDlg::Relocalise() {
    SetCaption(GetText(u"WS_Dialog_Title", u"WEP Key Setting...") + u"  ");
    for (const Label& label : kLabels) SetItemText(label.id, GetText(label.key, label.text));
    SetItemText(kChangeApply, editing_ ? GetText(u"WS_Key_Set_Button_Apply", u"Apply") : GetText(u"WS_Key_Set_Button_Change", u"Change"));
}

void CWepKeyDlg::Load() {
    lengthIndex_ = std::max(WepLengthIndexOfBits(ReadSettingNumber(key::kWepKeyLength)), 0);
    format_ = StoredInRange(key::kWepKeyFormat, kFormatHexadecimal, kFormatAsciiText);
    Combo(kDefaultKeyCombo).SetCurSel(StoredInRange(key::kWepDefaultKeyId, 0, kKeyFieldCount - 1));
    Mask();
    if (Config().rc4WepSupport) CheckItem(kDot1xCheck, ReadSettingNumber(key::kDot1xRc4Wep) == 1);
    EnableInputs(editing_);
    EnableItem(kDot1xCheck, editing_);
    Relocalise();
}

void CWepKeyDlg::Mask() {
    size_t expected = static_cast<size_t>(ExpectedFieldLength());
    for (int i = 0; i < kKeyFieldCount; ++i) {
        ui::CEdit& field = Edit(kKeyFields[i]);
        field.SetLimitText(expected);
        field.SetText(std::u16string(expected, kMaskCharacter));
    }
    edited_.fill(false);
    SetRadioIndex(kLength64, lengthIndex_);
    SetRadioIndex(kFormatHex, format_);
}

int CWepKeyDlg::ExpectedFieldLength() const {
    int characters = WepKeyBytes(lengthIndex_);
    return format_ == kFormatHexadecimal ? 2 * characters : characters;
}

void CWepKeyDlg::EnableInputs(bool enabled) {
    for (int id : kKeyInputs) EnableItem(id, enabled);
}

void CWepKeyDlg::OnCommand(int id, ui::Notify code) {
    if (code == ui::Notify::EditChange) {
        int field = KeyFieldIndex(id);
        if (field >= 0) OnKeyEdited(field);
        return;
    }
    if (code != ui::Notify::Clicked) {
        CDialog::OnCommand(id, code);
        return;
    }
    switch (id) {
        case kLength64: OnLengthClicked(0); return;
        case kLength128: OnLengthClicked(1); return;
        case kLength256: OnLengthClicked(2); return;
        case kFormatHex: OnFormatClicked(kFormatHexadecimal); return;
        case kFormatAscii: OnFormatClicked(kFormatAsciiText); return;
        case kDot1xCheck: OnDot1xClicked(); return;
        case kChangeApply: OnChangeApply(); return;
        default: CDialog::OnCommand(id, code);
    }
}

void CWepKeyDlg::OnLengthClicked(int index) {
    if (index == lengthIndex_) return;
    lengthIndex_ = index;
    Mask();
}

void CWepKeyDlg::OnFormatClicked(int format) {
    if (format == format_) return;
    edited_.fill(false);
    format_ = format;
    Mask();
    WriteSettingNumber(OperationMode(), key::kWepKeyFormat, format_);
}

void CWepKeyDlg::OnKeyEdited(int field) {
    edited_[static_cast<size_t>(field)] = true;
    if (format_ != kFormatHexadecimal) return;
    ui::CEdit& edit = Edit(kKeyFields[field]);
    std::u16string text = edit.Text();
    std::u16string digits;
    int firstDropped = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHexDigit(text[i])) {
            digits.push_back(text[i]);
        } else if (firstDropped < 0) {
            firstDropped = static_cast<int>(i);
        }
    }
    if (firstDropped < 0) return;
    edit.SetText(digits);
    // The caret stays where the refused character was typed.
    edit.SetSel(firstDropped, firstDropped);
}

void CWepKeyDlg::OnDot1xClicked() { EnableInputs(!IsItemChecked(kDot1xCheck)); }

void CWepKeyDlg::OnChangeApply() {
    AdapterContext* ctx = Adapter();
    uint8_t bssid[6] = {};
    bool connected = QueryWL_ConnectState(ctx) == 0;
    if (connected) QueryWL_BSSID(ctx, bssid);
    bool rejected = false;
    if (Config().rc4WepSupport && editing_ && IsItemChecked(kDot1xCheck)) {
        RunDot1xPath(connected, bssid);
    } else if (editing_) {
        rejected = !RunKeyPath(connected, bssid);
    }
    if (rejected) {
        CWepKeyInfoDlg info;
        info.SetParentDialogId(kDialogIdWepKeys);
        info.DoModal();
        SetCurrentDialogId(kDialogIdWepKeys);
    } else {
        editing_ = !editing_;
    }
    Load();
}

void CWepKeyDlg::RunDot1xPath(bool connected, const uint8_t* bssid) {
    WriteSettingNumber(OperationMode(), key::kDot1xRc4Wep, 1);
    std::u16string text = GetText(u"WS_DOT1X_Default_Message_Line_1", u"You have selected to connect to the 802.1x authentication network.") +
                          u"\n" + GetText(u"WS_DOT1X_Default_Message_Line_2", u"Do you want to use the previous 802.1x setting?") + u"\n";
    int answer = ui::ShowMessageBox(this, text, GetText(u"WS_DOT1X_Default_Message_Title", u"Use Previous 802.1x Setting"),
                                    ui::MessageBoxButtons::YesNo, ui::MessageBoxIcon::Question);
    if (answer == ui::IDNO) {
        CWpaSettingDlg settings;
        settings.SetParentDialogId(kDialogIdWepKeys);
        settings.DoModal();
        SetCurrentDialogId(kDialogIdWepKeys);
    }
    if (parentId_ != kDialogIdGeneral) return;
    CWpaSettingDlg::StopAuthentication();
    SetWL_AuthenticationMode(Adapter(), kAuthOpen);
    ReapplyNetworkName(connected, bssid);
    CWpaSettingDlg::StartAuthentication();
}

bool CWepKeyDlg::RunKeyPath(bool connected, const uint8_t* bssid) {
    WriteSettingNumber(OperationMode(), key::kDot1xRc4Wep, 0);
    int keyBytes = WepKeyBytes(lengthIndex_);
    int bits = WepKeyBits(lengthIndex_);
    std::array<std::u16string, kKeyFieldCount> storedKeys;
    for (int i = 0; i < kKeyFieldCount; ++i) {
        uint8_t record[kMaxWepKeyBytes] = {};
        ReadWepKeyRecord(bits, i, record, sizeof record);
        storedKeys[static_cast<size_t>(i)] = FormatHexBytes(record, static_cast<size_t>(keyBytes));
    }
    size_t expected = static_cast<size_t>(ExpectedFieldLength());
    int defaultKey = Combo(kDefaultKeyCombo).CurSel();
    if (defaultKey < 0 || defaultKey >= kKeyFieldCount) defaultKey = 0;
    for (int i = 0; i < kKeyFieldCount; ++i) {
        size_t at = static_cast<size_t>(i);
        uint8_t key[kKeyBufferBytes] = {};
        std::u16string source = storedKeys[at];
        if (edited_[at]) {
            source = Trim(ItemText(kKeyFields[i]));
            // Keys before this one are already in the driver and the store.
            if (source.size() != expected) return false;
        }
        std::string bytes = ToCodePage(source);
        if (bytes.size() > kKeyTextBytes) bytes.resize(kKeyTextBytes);
        if (format_ == kFormatAsciiText && edited_[at]) {
            std::memcpy(key, bytes.data(), std::min(bytes.size(), static_cast<size_t>(keyBytes)));
        } else {
            ParseHexBytes(bytes, key, static_cast<size_t>(keyBytes));
        }
        WriteWepKey(Adapter(), i, lengthIndex_, i == defaultKey ? 1 : 0, key);
    }
    if (parentId_ == kDialogIdGeneral) ReapplyNetworkName(connected, bssid);
    return true;
}

void CWepKeyDlg::ReapplyNetworkName(bool connected, const uint8_t* bssid) {
    if (connected) SetWL_BSSID(Adapter(), bssid);
    std::string ssid = SsidBytes(ReadSettingText(OperationMode(), key::kSsid));
    ApplySsid(Adapter(), reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()));
}

}  // namespace kw
