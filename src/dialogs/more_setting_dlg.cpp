#include "src/dialogs/more_setting_dlg.h"

#include <algorithm>
#include <string>

#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/dialogs/advanced_setting_dlg.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/information_dlg.h"
#include "src/dialogs/value_lists.h"
#include "src/dialogs/wep_key_dlg.h"
#include "src/dialogs/wpa_setting_dlg.h"
#include "src/lang/language_table.h"
#include "src/settings/appliers.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/profiles.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace moredlg;

namespace {

constexpr size_t kSsidCharacters = 32;
constexpr size_t kDesiredRateTextLength = 99;

struct Label {
    int id;
    const char16_t* key;
    const char16_t* text;
};

const Label kLabels[] = {
    {kGeneralGroup, u"BS_G_Sub_Title", u"General Connection Setting"},
    {kWirelessModeLabel, u"BS_G_WirelessMode", u"WirelessMode"},
    {kChannelLabel, u"BS_G_Channel", u"Channel"},
    {kTxRateLabel, u"BS_G_TxRate", u"Tx Rate"},
    {kSsidLabel, u"BS_G_SSID", u"SSID"},
    {kAnySsid, u"BS_G_SSID_any", u"any"},
    {kNetworkTypeLabel, u"BS_G_Network_Type", u"Network Type"},
    {kEncryptionLabel, u"BS_G_Encrypt", u"Encryption"},
    {kAuthenticationLabel, u"BS_G_Authentication", u"Authentication"},
    {kWepGroup, u"BS_E_Sub_Title", u"WEP Encryption Setting"},
    {kWepButton, u"BS_E_WEP_More", u"WEP Encryption Key Setting"},
    {kWpaButton, u"BS_E_DOT1X_More", u"WPA Encryption Setting"},
    {kProfileGroup, u"BS_P_Sub_Title", u"Profile"},
    {kProfileNameLabel, u"BS_P_Profile_Name", u"Profile Name"},
    {kLoadProfile, u"BS_P_Load_Profile_Button", u"Load"},
    {kSaveProfile, u"BS_P_Write_Profile_Button", u"Save Current"},
    {kDeleteProfile, u"BS_P_Delete_Profile_Button", u"Delete"},
    {kOtherGroup, u"BS_O_Sub_Title", u"Other"},
    {kOtherDescription, u"BS_O_Description", u"For more advanced setting, information..."},
    {kAdvancedButton, u"BS_O_Advance_Set_Button", u"Advanced Setting..."},
    {kInformationButton, u"BS_O_Information_Button", u"Information"},
};

// The inputs of the Change / Apply cycle.
const int kInputs[] = {kWirelessMode, kNetworkType, kChannel, kTxRate, kAnySsid, kSsid, kEncryption, kAuthentication};

// Network type list position <-> stored "NetworkType".
constexpr int kNetworkTypeOfIndex[] = {kNetTypeAdHoc, kNetTypeInfrastructure, kNetTypePseudoIbss};
int NetworkTypeOfIndex(int index) { return index >= 0 && index <= 2 ? kNetworkTypeOfIndex[index] : kNetTypeInfrastructure; }
int IndexOfNetworkType(int type) {
    if (type == kNetTypeAdHoc) return 0;
    return type == kNetTypePseudoIbss ? 2 : 1;
}

// Authentication list position <-> stored "AuthenticationMode" (WPA-None has no entry).
constexpr int kAuthenticationOfIndex[] = {kAuthOpen, kAuthShared, kAuthAutoSwitch, kAuthWpa, kAuthWpaPsk, kAuthWpa2, kAuthWpa2Psk};
int AuthenticationIndex(int mode) {
    if (mode == kAuthWpa2) return 5;
    return mode == kAuthWpa2Psk ? 6 : mode;
}

// Authentication modes the list can offer: fewer without WPA, in Ad-Hoc, or without WPA2.
int AuthenticationLimit(int networkType) {
    if (Config().wpaMode == 0 || networkType == kNetTypeAdHoc) return 3;
    if (Config().wpa2Mode == 0) return 5;
    return static_cast<int>(std::size(kAuthenticationOfIndex));
}

// A selection or stored mode beyond what the list offers falls back to automatic switching.
int LimitedAuthentication(int index, int networkType) {
    if (index > 2 && (networkType == kNetTypeAdHoc || Config().wpaMode == 0)) return 2;
    if (index > 5 && Config().wpa2Mode == 0) return 2;
    return index;
}

bool UsesWpaList(int networkType) { return Config().wpaMode != 0 && networkType != kNetTypeAdHoc; }

// WPA encryption list position of a stored "WEPStatus".
int WpaEncryptionIndex(int status) {
    switch (status) {
        case kWepEnabled: return 1;
        case kWepDisabled: return 0;
        case kTkipEnabled: return 2;
        case kAesEnabled: return 3;
        default: return status;
    }
}

int StoredTextNumber(std::u16string_view key) {
    return static_cast<int>(ParseLeadingInt(ReadSettingText(kModeStation, key)));
}

std::u16string RateText(int rate, const std::u16string& unit) {
    std::string unit8 = ToUtf8(unit);
    if (rate % 2 == 0) return FromUtf8(Format("%d %s", rate / 2, unit8.c_str()));
    return FromUtf8(Format("%.1f %s", rate / 2.0, unit8.c_str()));
}

bool IsCckRate(int rate) { return rate == 2 || rate == 4 || rate == 11 || rate == 22; }

template <typename Dialog>
void RunChildDialog() {
    Dialog child;
    child.SetParentDialogId(kDialogIdGeneral);
    child.DoModal();
    SetCurrentDialogId(kDialogIdGeneral);
}

using ui::Control;

}  // namespace

ui::DialogTemplate CMoreSettingDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"More Setting...";
    t.width = 400;
    t.height = 266;
    t.controls = {
        Control(kGeneralGroup, K::GroupBox, u"General Connection Setting", 0, {7, 7, 386, 102}),
        Control(kWirelessModeLabel, K::Label, u"WirelessMode", 0, {14, 23, 62, 8}),
        Control(kWirelessMode, K::ComboBox, u"", ui::kDropDownList, {78, 21, 110, 12}),
        Control(kNetworkTypeLabel, K::Label, u"Network Type", 0, {14, 39, 62, 8}),
        Control(kNetworkType, K::ComboBox, u"", ui::kDropDownList, {78, 37, 110, 12}),
        Control(kSsidLabel, K::Label, u"SSID", 0, {14, 71, 62, 8}),
        Control(kSsid, K::Edit, u"", 0, {78, 69, 200, 12}),
        Control(kAnySsid, K::CheckBox, u"any", 0, {284, 70, 60, 10}),
        Control(kChannelLabel, K::Label, u"Channel", 0, {14, 55, 62, 8}),
        Control(kChannel, K::ComboBox, u"", ui::kDropDownList, {78, 53, 110, 12}),
        Control(kTxRateLabel, K::Label, u"Tx Rate", 0, {198, 23, 80, 8}),
        Control(kTxRate, K::ComboBox, u"", ui::kDropDownList, {280, 21, 106, 12}),
        Control(kAuthenticationLabel, K::Label, u"Authentication", 0, {198, 39, 80, 8}),
        Control(kAuthentication, K::ComboBox, u"", ui::kDropDownList, {280, 37, 106, 12}),
        Control(kEncryptionLabel, K::Label, u"Encryption", 0, {198, 55, 80, 8}),
        Control(kEncryption, K::ComboBox, u"", ui::kDropDownList, {280, 53, 106, 12}),
        Control(kChangeApply, K::PushButton, u"Change", 0, {326, 88, 60, 14}),
        Control(kWepGroup, K::GroupBox, u"WEP Encryption Setting", 0, {7, 114, 386, 32}),
        Control(kWepButton, K::PushButton, u"WEP Encryption Key Setting", 0, {14, 127, 180, 14}),
        Control(kWpaButton, K::PushButton, u"WPA Encryption Setting", 0, {206, 127, 180, 14}),
        Control(kProfileGroup, K::GroupBox, u"Profile", 0, {7, 151, 386, 52}),
        Control(kProfileNameLabel, K::Label, u"Profile Name", 0, {14, 166, 62, 8}),
        Control(kProfileName, K::ComboBox, u"", 0, {78, 164, 200, 12}),
        Control(kLoadProfile, K::PushButton, u"Load", 0, {78, 182, 60, 14}),
        Control(kSaveProfile, K::PushButton, u"Save Current", 0, {142, 182, 95, 14}),
        Control(kDeleteProfile, K::PushButton, u"Delete", 0, {241, 182, 60, 14}),
        Control(kOtherGroup, K::GroupBox, u"Other", 0, {7, 208, 386, 50}),
        Control(kOtherDescription, K::Label, u"For more advanced setting, information...", 0, {14, 222, 372, 8}),
        Control(kAdvancedButton, K::PushButton, u"Advanced Setting...", 0, {14, 236, 110, 14}),
        Control(kInformationButton, K::PushButton, u"Information", 0, {128, 236, 80, 14}),
    };
    return t;
}

CMoreSettingDlg::CMoreSettingDlg() : CDialog(Template()) {}
CMoreSettingDlg::~CMoreSettingDlg() = default;

bool CMoreSettingDlg::OnInitDialog() {
    SetCurrentNetworkType(StoredTextNumber(key::kNetworkType));
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdGeneral, this, parentId_, [this] { Relocalise(); });
    editing_ = false;
    SetTexts();
    BuildWirelessModeList();
    Combo(kWirelessMode).SetCurSel(0);
    BuildNetworkTypeList();
    BuildSecurityLists(StoredTextNumber(key::kNetworkType));
    BuildChannelList();
    BuildRateList();
    ShowItem(kWpaButton, Config().wpaMode != 0);
    Load();
    EnableControls();
    FillProfiles();
    if (KwOpenAdapter(Adapter()) != 0) Edit(kSsid).SetLimitText(kSsidCharacters);
    return true;
}

void CMoreSettingDlg::OnDestroy() { chain_.reset(); }

// ---------------------------------------------------------------- texts and lists

void CMoreSettingDlg::Relocalise() {
    SetTexts();
    BuildWirelessModeList();
    BuildNetworkTypeList();
    BuildSecurityLists(CurrentNetworkType());
    int rate = Combo(kTxRate).CurSel();
    BuildRateList();
    Combo(kTxRate).SetCurSel(rate);
}

void CMoreSettingDlg::SetTexts() {
    SetCaption(GetText(u"BS_Dialog_Title", u"More Setting...") + u"  ");
    for (const Label& label : kLabels) SetItemText(label.id, GetText(label.key, label.text));
    SetButtonText();
}

void CMoreSettingDlg::SetButtonText() {
    SetItemText(kChangeApply, editing_ ? GetText(u"BS_G_Button_Apply", u"Apply") : GetText(u"BS_G_Button_Change", u"Change"));
}

void CMoreSettingDlg::BuildWirelessModeList() {
    ui::CComboBox& combo = Combo(kWirelessMode);
    if (BandCapability() == 2 && BandSelectionSupported()) {
        FillNumberedList(combo, "BS_G_WirelessMode_Value_%d", 1, 1000);
        return;
    }
    int selection = combo.CurSel();
    combo.ResetContent();
    std::u16string text = GetText(FormatW("BS_G_WirelessMode_Value_%d", BandCapability() + 1), u"");
    if (!text.empty()) combo.AddString(text);
    combo.SetCurSel(selection);
}

void CMoreSettingDlg::BuildNetworkTypeList() {
    FillNumberedList(Combo(kNetworkType), "BS_G_Network_Type_Value_%d", 1, Config().pseudoIbssSupport == 0 ? 2 : 1000);
}

void CMoreSettingDlg::BuildSecurityLists(int networkType) {
    FillNumberedList(Combo(kAuthentication), "BS_G_Authentication_Value_%d", 1, AuthenticationLimit(networkType));
    FillNumberedList(Combo(kEncryption), UsesWpaList(networkType) ? "BS_G_Encrypt_ValueM2_%d" : "BS_G_Encrypt_Value_%d", 1, 1000);
}

int CMoreSettingDlg::SelectedBand() const {
    int capability = BandCapability();
    if (capability == 0 || capability == 1) return capability;
    if (capability == 2 && BandSelectionSupported()) {
        const auto* combo = dynamic_cast<const ui::CComboBox*>(Item(kWirelessMode));
        return combo && combo->CurSel() == 1 ? 1 : 0;
    }
    return 0;
}

int CMoreSettingDlg::SelectedNetworkType() const {
    const auto* combo = dynamic_cast<const ui::CComboBox*>(Item(kNetworkType));
    return NetworkTypeOfIndex(combo ? combo->CurSel() : -1);
}

void CMoreSettingDlg::BuildChannelList() {
    channels_ = ChannelsOfBand(Adapter(), SelectedBand());
    ShowChannelList(Combo(kChannel), channels_, Adapter());
}

void CMoreSettingDlg::BuildRateList() {
    AdapterContext* ctx = Adapter();
    int adhocMode = CurrentNetworkType() == kNetTypeAdHoc ? QueryWL_KWAdhocMode(ctx) : -1;
    rates_.fill(0);
    rateCount_ = 0;
    uint8_t offered[kDesiredRateBytes] = {};
    int result = QueryWL_UISupportTxRate(ctx, offered, kDesiredRateBytes);
    if (result < 0) result = QueryWL_SupportedRate(ctx, offered);
    ui::CComboBox& combo = Combo(kTxRate);
    combo.ResetContent();
    combo.AddString(GetText(u"BS_G_TxRate_Value_Auto", u"Auto"));
    if (result < 0) return;
    std::u16string unit = GetText(u"BS_G_TxRate_Value_Unit", u"Mbps");
    int band = SelectedBand();
    bool adhoc = CurrentNetworkType() == kNetTypeAdHoc;
    for (uint8_t byte : offered) {
        int rate = byte & 0x7F;
        if (rate == 0) break;
        if (band == 1 && IsCckRate(rate)) continue;
        bool add = band == 1 || !adhoc || adhocMode == 1 || (adhocMode == 0 && IsCckRate(rate)) || (adhocMode == 2 && !IsCckRate(rate));
        if (!add) continue;
        rates_[static_cast<size_t>(rateCount_++)] = static_cast<uint8_t>(rate);
        combo.AddString(RateText(rate, unit));
    }
}

// One stored rate picks that rate; several (or none known) pick "Auto".
void CMoreSettingDlg::SelectStoredRate() {
    std::u16string text = ReadSettingText(kModeStation, key::kDesiredRate).substr(0, kDesiredRateTextLength);
    uint8_t desired[kDesiredRateBytes] = {};
    ParseHexBytes(LowBytes(text), desired, kDesiredRateBytes);
    int matches = 0;
    int lastEntry = 0;
    for (uint8_t rate : desired) {
        if (rate == 0) break;
        auto at = std::find(rates_.begin(), rates_.begin() + rateCount_, rate);
        if (at == rates_.begin() + rateCount_) continue;
        ++matches;
        lastEntry = static_cast<int>(at - rates_.begin()) + 1;
    }
    Combo(kTxRate).SetCurSel(matches >= 2 ? 0 : lastEntry);
}

// ---------------------------------------------------------------- load and enabling

void CMoreSettingDlg::Load() {
    AdapterContext* ctx = Adapter();
    int storedType = StoredTextNumber(key::kNetworkType);
    int typeIndex = IndexOfNetworkType(storedType);
    Combo(kNetworkType).SetCurSel(typeIndex);
    bool infrastructure = NetworkTypeOfIndex(typeIndex) == kNetTypeInfrastructure;

    int band = infrastructure ? QueryWL_802_11_NetworkTypeInUse(ctx) : StoredTextNumber(key::kWirelessMode);
    bool selectable = BandCapability() == 2 && BandSelectionSupported();
    Combo(kWirelessMode).SetCurSel(selectable && band == kBandOfdm5 ? 1 : 0);

    int channel = infrastructure ? QueryWL_Channel(ctx) : StoredTextNumber(key::kChannel);
    auto at = std::find(channels_.begin(), channels_.end(), channel);
    Combo(kChannel).SetCurSel(channel < 1 || at == channels_.end() ? -1 : static_cast<int>(at - channels_.begin()));

    std::u16string ssid = ReadSettingText(kModeStation, key::kSsid).substr(0, kSsidCharacters);
    SetItemText(kSsid, ssid);
    CheckItem(kAnySsid, ssid.empty());

    SelectStoredRate();

    int status = ReadSettingNumber(key::kWepStatus);
    if (status >= 0 && status <= 7) Combo(kEncryption).SetCurSel(UsesWpaList(storedType) ? WpaEncryptionIndex(status) : status);
    int auth = ReadSettingNumber(key::kAuthenticationMode);
    if (auth >= 0 && auth <= 7) Combo(kAuthentication).SetCurSel(AuthenticationIndex(auth));

    SetButtonText();
}

void CMoreSettingDlg::EnableControls(bool afterProfile) {
    if (!editing_) {
        for (int id : kInputs) EnableItem(id, false);
        return;
    }
    for (int id : {kNetworkType, kTxRate, kAnySsid, kEncryption, kAuthentication}) EnableItem(id, true);
    EnableItem(kSsid, !IsItemChecked(kAnySsid));
    bool infrastructure = SelectedNetworkType() == kNetTypeInfrastructure;
    EnableItem(kChannel, !infrastructure);
    bool bandSelectable = BandCapability() == 2 && BandSelectionSupported();
    EnableItem(kWirelessMode, !infrastructure && (!afterProfile || bandSelectable));
}

void CMoreSettingDlg::FillProfiles() {
    ui::CComboBox& combo = Combo(kProfileName);
    std::u16string typed = combo.Text();
    combo.ResetContent();
    for (const auto& name : ProfileNames()) combo.AddString(name);
    combo.SetText(typed);
}

// ---------------------------------------------------------------- user actions

void CMoreSettingDlg::OnCommand(int id, ui::Notify code) {
    if (code == ui::Notify::SelChange) {
        if (id == kNetworkType) OnNetworkTypeChanged();
        if (id == kWirelessMode) OnWirelessModeChanged();
        return;
    }
    if (code != ui::Notify::Clicked) {
        CDialog::OnCommand(id, code);
        return;
    }
    switch (id) {
        case kAnySsid: EnableItem(kSsid, !IsItemChecked(kAnySsid)); return;
        case kChangeApply: OnChangeApply(); return;
        case kWepButton: RunChildDialog<CWepKeyDlg>(); return;
        case kWpaButton: RunChildDialog<CWpaSettingDlg>(); return;
        case kAdvancedButton:
            RunChildDialog<CAdvancedSettingDlg>();
            BuildChannelList();
            BuildRateList();
            SelectStoredRate();
            return;
        case kInformationButton: RunChildDialog<CInformationDlg>(); return;
        case kLoadProfile: OnLoadProfile(); return;
        case kSaveProfile: OnSaveProfile(); return;
        case kDeleteProfile: OnDeleteProfile(); return;
        default: CDialog::OnCommand(id, code);
    }
}

void CMoreSettingDlg::OnNetworkTypeChanged() {
    int networkType = SelectedNetworkType();
    SetCurrentNetworkType(networkType);
    EnableControls();
    BuildRateList();
    SelectStoredRate();
    ui::CComboBox& encryption = Combo(kEncryption);
    ui::CComboBox& authentication = Combo(kAuthentication);
    encryption.ResetContent();
    authentication.ResetContent();
    BuildSecurityLists(networkType);
    int status = ReadSettingNumber(key::kWepStatus);
    if (status < 0 || status > 7) {
        encryption.SetCurSel(1);
    } else if (UsesWpaList(networkType)) {
        encryption.SetCurSel(WpaEncryptionIndex(status));
    } else {
        encryption.SetCurSel(status == kWepEnabled ? 0 : 1);
    }
    int auth = ReadSettingNumber(key::kAuthenticationMode);
    if (auth >= 0) authentication.SetCurSel(AuthenticationIndex(LimitedAuthentication(auth, networkType)));
}

void CMoreSettingDlg::OnWirelessModeChanged() {
    BuildChannelList();
    BuildRateList();
    SelectStoredRate();
}

void CMoreSettingDlg::OnChangeApply() {
    if (editing_) Apply();
    editing_ = !editing_;
    EnableControls();
    SetButtonText();
}

void CMoreSettingDlg::Apply() {
    AdapterContext* ctx = Adapter();
    CWpaSettingDlg::StopAuthentication();
    int networkType = SelectedNetworkType();
    ApplyNetworkType(ctx, networkType);

    int wirelessMode = BandCapability() == 1 ? kBandOfdm5 : kBandOfdm24;
    if (BandCapability() == 2) {
        if (networkType == kNetTypeInfrastructure) {
            wirelessMode = kBandAutomatic;
        } else {
            wirelessMode = Combo(kWirelessMode).CurSel() == 1 ? kBandOfdm5 : kBandOfdm24;
        }
    }
    ApplyWirelessMode(ctx, wirelessMode);

    int channel = Combo(kChannel).CurSel();
    if (networkType != kNetTypeInfrastructure && channel >= 0 && static_cast<size_t>(channel) < channels_.size()) {
        ApplyChannel(ctx, channels_[static_cast<size_t>(channel)]);
    }
    ApplyAuthentication(networkType);
    ApplyEncryption(networkType);
    ApplySsidField();
    ApplyRate();
    RestartAuthentication();
}

void CMoreSettingDlg::ApplyAuthentication(int networkType) {
    int index = Combo(kAuthentication).CurSel();
    if (index < 0) return;
    index = LimitedAuthentication(index, networkType);
    if (index >= static_cast<int>(std::size(kAuthenticationOfIndex))) return;
    ApplyAuthenticationMode(Adapter(), kAuthenticationOfIndex[index]);
}

void CMoreSettingDlg::ApplyEncryption(int networkType) {
    int index = Combo(kEncryption).CurSel();
    if (UsesWpaList(networkType)) {
        switch (index) {
            case 1: ApplyWepEnabled(Adapter(), true, -1); return;
            case 2: ApplyEncryptionStatus(Adapter(), kTkipEnabled); return;
            case 3: ApplyEncryptionStatus(Adapter(), kAesEnabled); return;
            default: ApplyWepEnabled(Adapter(), false, -1); return;
        }
    }
    ApplyWepEnabled(Adapter(), index == 0, -1);
}

// A throw-away name first, so that the driver joins again even when the name is unchanged.
void CMoreSettingDlg::ApplySsidField() {
    std::u16string ssid;
    if (!IsItemChecked(kAnySsid)) {
        ssid = ItemText(kSsid);
        if (ssid.size() > kSsidCharacters) ssid = Trim(ssid).substr(0, kSsidCharacters);
    }
    std::string bytes = SsidBytes(ssid);
    SendThrowAwaySsid(Adapter());
    ApplySsid(Adapter(), reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

void CMoreSettingDlg::ApplyRate() {
    int entry = Combo(kTxRate).CurSel();
    uint8_t desired[kDesiredRateBytes] = {};
    int fixedRate = 0;
    if (entry >= 1 && entry <= rateCount_) {
        fixedRate = rates_[static_cast<size_t>(entry - 1)];
        desired[0] = static_cast<uint8_t>(fixedRate);
    } else {
        std::copy(rates_.begin(), rates_.end(), desired);
    }
    WriteSettingNumber(kModeStation, key::kStaTxRate, fixedRate);
    ApplyDesiredRates(Adapter(), desired);
}

void CMoreSettingDlg::RestartAuthentication() {
    int auth = ReadSettingNumber(key::kAuthenticationMode);
    if (auth == kAuthWpa || auth == kAuthWpaPsk || auth == kAuthWpa2 || auth == kAuthWpa2Psk) {
        CWpaSettingDlg::StartAuthentication();
    } else if ((auth == kAuthOpen || auth == kAuthAutoSwitch) && ReadSettingNumber(key::kDot1xRc4Wep) == 1 &&
               ReadSettingNumber(key::kWepStatus) == kWepEnabled) {
        SetWL_AuthenticationMode(Adapter(), kAuthOpen);
        CWpaSettingDlg::StartAuthentication();
    }
}

// ---------------------------------------------------------------- profiles

std::u16string CMoreSettingDlg::NotFoundText(const std::u16string& name) const {
    return GetText(u"BS_P_Not_Found_Profile", u"Can't found the specified profile") + u": \"" + name + u"\".";
}

void CMoreSettingDlg::ShowProfileMessage(const std::u16string& text) {
    ui::ShowMessageBox(this, text, GetText(u"BS_P_Profile_Title", u"Profile"), ui::MessageBoxButtons::Ok, ui::MessageBoxIcon::Warning);
}

void CMoreSettingDlg::OnLoadProfile() {
    std::u16string name = Combo(kProfileName).Text();
    if (FindProfile(name) != 0) {
        ShowProfileMessage(NotFoundText(name));
    } else {
        ProfileRecord record;
        if (ReadProfile(record) == 0) ApplyProfile(Adapter(), record);
    }
    Load();
    EnableControls(true);
}

void CMoreSettingDlg::OnSaveProfile() {
    std::u16string name = Combo(kProfileName).Text();
    if (Trim(name).empty()) {
        ShowProfileMessage(GetText(u"BS_P_Profile_Name_Empty", u"Please specify or input a profile name!"));
    } else if (!ProfileNameStorable(name)) {
        ShowProfileMessage(GetText(u"BS_P_Profile_Name_Invalid", u"A profile name may not hold a backslash or a line break and is at most 255 characters long."));
    } else {
        if (FindProfile(name) != 0) AddProfile(name);
        if (FindProfile(name) == 0) {
            ProfileRecord record;
            CaptureProfile(record);
            WriteProfile(record);
        }
        FillProfiles();
    }
    Load();
    EnableControls(true);
}

void CMoreSettingDlg::OnDeleteProfile() {
    std::u16string name = Combo(kProfileName).Text();
    if (Trim(name).empty()) {
        ShowProfileMessage(GetText(u"BS_P_Profile_Name_Empty", u"Please specify or input a profile name!"));
    } else {
        if (DeleteProfile(Trim(name)) != 0) ShowProfileMessage(NotFoundText(name));
        FillProfiles();
    }
    Load();
    EnableControls(true);
}

}  // namespace kw
