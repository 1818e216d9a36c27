#include "src/dialogs/ap_setting_dlg.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/dialogs/bridge_program.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/mac_filter_dlg.h"
#include "src/dialogs/value_lists.h"
#include "src/dialogs/wep_key_dlg.h"
#include "src/lang/language_table.h"
#include "src/settings/appliers.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace apdlg;

namespace {

constexpr int kBarStep = 128;
constexpr int kFragmentLow = 256;
constexpr int kRtsLow = 0;
constexpr size_t kSsidCharacters = 32;
constexpr int kMaxStoredChannel = 200;
// "ApWirelessMode" 4 (list entry 3) is the 5 GHz mode; modes run from 1 to 5.
constexpr int kFiveGhzEntry = 3;
constexpr int kWirelessModeEntries = 5;
constexpr int kTwoFourGhzEntries = 3;

struct Label {
    int id;
    const char16_t* key;
    const char16_t* text;
};

const Label kLabels[] = {
    {kGeneralGroup, u"AP_BS_GeneralConnectSetting", u"General Connection Setting"},
    {kChannelLabel, u"AP_BS_Channel", u"Channel"},
    {kWirelessModeLabel, u"AP_BS_WirelessMode", u"Wireless Mode"},
    {kSsidLabel, u"AP_BS_SSID", u"SSID"},
    {kHideSsid, u"AP_BS_HIDE_SSID", u"Hide SSID"},
    {kTxPowerLabel, u"AP_BS_TX_Power", u"Tx Power"},
    {kWepLabel, u"AP_BS_WEP", u"WEP"},
    {kWepButton, u"AP_BS_WEP_Btn_Setting", u"Setting"},
    {kAuthenticationLabel, u"AP_BS_Authen_Mode", u"Authentication"},
    {kFragmentLabel, u"AP_BS_Fragment", u"Fragment"},
    {kRtsLabel, u"AP_BS_RTSCTS", u"RTS/CTS"},
    {kPreambleLabel, u"AP_BS_Preamble", u"Preamble"},
    {kMacFilterLabel, u"AP_BS_MAC_Filter", u"MAC Address Filter:"},
    {kMacFilterButton, u"AP_BS_Button_MAC_Filter", u"Setting"},
    {kBridgeLabel, u"AP_BS_Bridge_Adapter_txt", u"Bridge Adapter:"},
};

// The general group: edited only between Change and Apply.
const int kGeneralInputs[] = {kChannel, kWirelessMode, kSsid, kHideSsid, kTxPower};

struct Threshold {
    int bar;
    int value;
    int low;
    int off;
    int (*apply)(AdapterContext*, int);
    const char16_t* key;
};

const Threshold kThresholds[] = {
    {kFragmentBar, kFragmentValue, kFragmentLow, kFragmentationOff, ApplyFragmentationThreshold, key::kFragmentationThreshold},
    {kRtsBar, kRtsValue, kRtsLow, kRtsOff, ApplyRtsThreshold, key::kRtsThreshold},
};

bool FiveGhzOnly() { return BandCapability() == 1 && BandSelectionSupported(); }
bool DualBand() { return BandCapability() == 2 && BandSelectionSupported(); }

// Every stored value of this dialog is text; empty or absent counts as 0.
int StoredNumber(std::u16string_view key) {
    return static_cast<int>(ParseLeadingInt(ReadSettingText(kModeAccessPoint, key)));
}

int InRange(int value, int low, int high, int otherwise) { return value < low || value > high ? otherwise : value; }

std::u16string_view FirstCharacters(std::u16string_view text, size_t count) { return text.substr(0, std::min(text.size(), count)); }

using ui::Control;

}  // namespace

ui::DialogTemplate CApSettingDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"Access Point Setting";
    t.width = 300;
    t.height = 226;
    // Labels in one column, fields in the next, buttons and values in a third; the threshold
    // values sit beside their bars and the bridge list takes the whole width for long names.
    t.controls = {
        Control(kGeneralGroup, K::GroupBox, u"General Connection Setting", 0, {7, 7, 286, 84}),
        Control(kWirelessModeLabel, K::Label, u"Wireless Mode", 0, {14, 23, 78, 8}),
        Control(kWirelessMode, K::ComboBox, u"", ui::kDropDownList, {94, 21, 116, 12}),
        Control(kChannelLabel, K::Label, u"Channel", 0, {14, 39, 78, 8}),
        Control(kChannel, K::ComboBox, u"", ui::kDropDownList, {94, 37, 50, 12}),
        Control(kSsidLabel, K::Label, u"SSID", 0, {14, 55, 78, 8}),
        Control(kSsid, K::Edit, u"", 0, {94, 53, 116, 12}),
        Control(kHideSsid, K::CheckBox, u"Hide SSID", 0, {216, 54, 70, 10}),
        Control(kTxPowerLabel, K::Label, u"Tx Power", 0, {14, 71, 78, 8}),
        Control(kTxPower, K::ComboBox, u"", ui::kDropDownList, {94, 69, 116, 12}),
        Control(kChangeApply, K::PushButton, u"Change", 0, {216, 68, 70, 14}),
        Control(kWepLabel, K::Label, u"WEP", 0, {14, 101, 78, 8}),
        Control(kWep, K::ComboBox, u"", ui::kDropDownList, {94, 99, 116, 12}),
        Control(kWepButton, K::PushButton, u"Setting", 0, {216, 98, 70, 14}),
        Control(kAuthenticationLabel, K::Label, u"Authentication", 0, {14, 119, 78, 8}),
        Control(kAuthentication, K::ComboBox, u"", ui::kDropDownList, {94, 117, 116, 12}),
        Control(kFragmentLabel, K::Label, u"Fragment", 0, {14, 137, 78, 8}),
        Control(kFragmentBar, K::TrackBar, u"", 0, {94, 134, 116, 14}),
        Control(kFragmentValue, K::Label, u"", 0, {216, 137, 70, 8}),
        Control(kRtsLabel, K::Label, u"RTS/CTS", 0, {14, 155, 78, 8}),
        Control(kRtsBar, K::TrackBar, u"", 0, {94, 152, 116, 14}),
        Control(kRtsValue, K::Label, u"", 0, {216, 155, 70, 8}),
        Control(kPreambleLabel, K::Label, u"Preamble", 0, {14, 173, 78, 8}),
        Control(kPreamble, K::ComboBox, u"", ui::kDropDownList, {94, 171, 116, 12}),
        Control(kMacFilterLabel, K::Label, u"MAC Address Filter:", 0, {14, 190, 78, 8}),
        Control(kMacFilterButton, K::PushButton, u"Setting", 0, {94, 187, 70, 14}),
        Control(kBridgeLabel, K::Label, u"Bridge Adapter:", 0, {14, 208, 78, 8}),
        Control(kBridgeAdapter, K::ComboBox, u"", ui::kDropDownList, {94, 206, 192, 12}),
    };
    return t;
}

CApSettingDlg::CApSettingDlg() : CDialog(Template()) {}
CApSettingDlg::~CApSettingDlg() = default;

bool CApSettingDlg::OnInitDialog() {
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdAccessPoint, this, parentId_, [this] {
        SetTexts();
        BuildLists();
    });
    editing_ = false;
    SetTexts();
    BuildWirelessModeList();
    SelectStoredWirelessMode();
    BuildChannelList();
    BuildLists();
    for (const Threshold& t : kThresholds) {
        ui::CTrackBar& bar = TrackBar(t.bar);
        bar.SetRange(t.low, t.off);
        bar.SetTicFreq(kBarStep);
        bar.SetPageSize(kBarStep);
    }
    Load();
    EnableGeneral();
    return true;
}

void CApSettingDlg::OnDestroy() { chain_.reset(); }

// ---------------------------------------------------------------- texts and lists

void CApSettingDlg::SetTexts() {
    SetCaption(GetText(u"AP_BS_Dialog_Title", u"Access Point Setting"));
    for (const Label& label : kLabels) SetItemText(label.id, GetText(label.key, label.text));
    SetItemText(kChangeApply, editing_ ? GetText(u"AP_BS_Button_Apply", u"Apply") : GetText(u"AP_BS_Button_Change", u"Change"));
    UpdateThresholdTexts();
}

void CApSettingDlg::BuildLists() {
    BuildWirelessModeList();
    FillNumberedList(Combo(kTxPower), "AP_BS_TxPower%d", 0, 1000);
    FillNumberedList(Combo(kWep), "AP_BS_WEP_%d", 0, 1000);
    FillNumberedList(Combo(kAuthentication), "AP_BS_Authentication_Value_%d", 1, 1000);
    FillNumberedList(Combo(kPreamble), "AP_BS_Preamble_%d", 0, 1000);
    BuildBridgeList();
}

void CApSettingDlg::BuildWirelessModeList() {
    ui::CComboBox& combo = Combo(kWirelessMode);
    int selection = combo.CurSel();
    combo.ResetContent();
    for (int n = 0;; ++n) {
        std::u16string text = GetText(FormatW("AP_BS_WirelessMode_%d", n), u"");
        if (text.empty()) break;
        bool offered = DualBand() ? true : FiveGhzOnly() ? n == kFiveGhzEntry : n < kTwoFourGhzEntries;
        if (offered) combo.AddString(text);
    }
    combo.SetCurSel(selection);
}

void CApSettingDlg::SelectStoredWirelessMode() {
    int mode = StoredNumber(key::kApWirelessMode);
    if (mode <= 0 || mode > 4 || FiveGhzOnly() || (!DualBand() && mode == kFiveGhzEntry + 1)) mode = 1;
    Combo(kWirelessMode).SetCurSel(mode - 1);
}

void CApSettingDlg::BuildChannelList() {
    int mode = FiveGhzOnly() ? kFiveGhzEntry + 1 : Combo(kWirelessMode).CurSel() + 1;
    int band = mode < kFiveGhzEntry + 1 ? 0 : mode == kFiveGhzEntry + 1 ? 1 : -1;
    channels_ = ChannelsOfBand(Adapter(), band);
    ShowChannelList(Combo(kChannel), channels_, Adapter());
}

void CApSettingDlg::BuildBridgeList() {
    std::u16string stored = ReadSettingText(kModeAccessPoint, key::kBridgeAdapter);
    ui::CComboBox& combo = Combo(kBridgeAdapter);
    int selection = stored.empty() ? 0 : combo.CurSel();
    combo.ResetContent();
    combo.AddString(GetText(u"AP_BS_Bridge_None", u"No bridge"));
    auto candidates = BridgeAdapterCandidates();
    if (!candidates) return;
    bridgeAdapters_ = std::move(*candidates);
    for (const AdapterListEntry& entry : bridgeAdapters_) {
        std::u16string device = FromCodePage({entry.deviceName, strnlen(entry.deviceName, sizeof entry.deviceName)});
        if (device == stored) selection = combo.Count();
        combo.AddString(FromCodePage({entry.description, strnlen(entry.description, sizeof entry.description)}));
    }
    combo.SetCurSel(selection);
}

// ---------------------------------------------------------------- load and enabling

void CApSettingDlg::Load() {
    int channel = StoredNumber(key::kChannel);
    auto at = std::find(channels_.begin(), channels_.end(), channel);
    if (channel <= 0 || channel > kMaxStoredChannel || at == channels_.end()) {
        Combo(kChannel).SetCurSel(0);
        if (!channels_.empty()) ApplyChannel(Adapter(), channels_.front());
    } else {
        Combo(kChannel).SetCurSel(static_cast<int>(at - channels_.begin()));
    }
    SelectStoredWirelessMode();
    SetItemText(kSsid, FirstCharacters(ReadSettingText(kModeAccessPoint, key::kSsid), kSsidCharacters));
    CheckItem(kHideSsid, InRange(StoredNumber(key::kHideSsid), 0, 1, 0) == 1);
    Combo(kTxPower).SetCurSel(InRange(StoredNumber(key::kTxPowerLevel), 0, 3, 0));
    Combo(kWep).SetCurSel(InRange(StoredNumber(key::kWepStatus), kWepEnabled, kWepDisabled, kWepDisabled));
    Combo(kAuthentication).SetCurSel(InRange(StoredNumber(key::kAuthenticationMode), kAuthOpen, kAuthShared, kAuthOpen));
    Combo(kPreamble).SetCurSel(InRange(StoredNumber(key::kPreambleMode), 0, 2, 2));
    for (const Threshold& t : kThresholds) TrackBar(t.bar).SetPos(InRange(StoredNumber(t.key), 0, t.off, t.off));
    UpdateThresholds();
}

void CApSettingDlg::EnableGeneral() {
    for (int id : kGeneralInputs) EnableItem(id, editing_);
    SetItemText(kChangeApply, editing_ ? GetText(u"AP_BS_Button_Apply", u"Apply") : GetText(u"AP_BS_Button_Change", u"Change"));
}

void CApSettingDlg::UpdateThresholdTexts() {
    for (const Threshold& t : kThresholds) {
        int position = TrackBar(t.bar).Pos();
        SetItemText(t.value, position == t.off ? GetText(u"AP_BS_Threshold_Disable", u"Disable") : FormatW("%d", position));
    }
}

// Each bar's position is written as it stands, the top value (off) too.
void CApSettingDlg::UpdateThresholds() {
    UpdateThresholdTexts();
    for (const Threshold& t : kThresholds) t.apply(Adapter(), TrackBar(t.bar).Pos());
}

// ---------------------------------------------------------------- user actions

void CApSettingDlg::OnHScroll(int, int) { UpdateThresholds(); }

void CApSettingDlg::OnCommand(int id, ui::Notify code) {
    if (code == ui::Notify::SelChange) {
        int selection = Combo(id).CurSel();
        switch (id) {
            case kWep: OnWepChanged(); return;
            case kAuthentication:
                if (selection >= 0) ApplyAuthenticationMode(Adapter(), selection);
                return;
            case kPreamble:
                if (selection >= 0) ApplyPreambleMode(Adapter(), selection);
                return;
            case kWirelessMode: BuildChannelList(); return;
            case kBridgeAdapter: OnBridgeChanged(); return;
            default: return;
        }
    }
    if (code != ui::Notify::Clicked) {
        CDialog::OnCommand(id, code);
        return;
    }
    switch (id) {
        case kChangeApply: OnChangeApply(); return;
        case kWepButton: RunChild<CWepKeyDlg>(); return;
        case kMacFilterButton: RunChild<CMacFilterDlg>(); return;
        default: CDialog::OnCommand(id, code);
    }
}

template <typename Dialog>
void CApSettingDlg::RunChild() {
    Dialog child;
    child.SetParentDialogId(kDialogIdAccessPoint);
    child.DoModal();
    SetCurrentDialogId(kDialogIdAccessPoint);
}

void CApSettingDlg::OnChangeApply() {
    if (editing_) Apply();
    editing_ = !editing_;
    EnableGeneral();
}

void CApSettingDlg::Apply() {
    AdapterContext* ctx = Adapter();
    int s = Combo(kWirelessMode).CurSel();
    if (FiveGhzOnly()) {
        s = kFiveGhzEntry;
        ApplyApWirelessMode(ctx, s + 1);
    } else if (DualBand() ? s >= 0 && s < kWirelessModeEntries : s >= 0 && s < kTwoFourGhzEntries) {
        ApplyApWirelessMode(ctx, s + 1);
    }
    if (s >= 0 && s < kWirelessModeEntries) ApplyWirelessMode(ctx, s == kFiveGhzEntry ? kBandOfdm5 : kBandOfdm24);
    int channel = Combo(kChannel).CurSel();
    if (channel >= 0 && channel < static_cast<int>(channels_.size())) ApplyChannel(ctx, channels_[static_cast<size_t>(channel)]);
    ApplyHideSsid(ctx, IsItemChecked(kHideSsid) ? 1 : 0);
    ApplyTxPowerLevel(ctx, Combo(kTxPower).CurSel());
    std::string ssid = SsidBytes(ItemText(kSsid));
    ApplySsid(ctx, reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()));
}

void CApSettingDlg::OnWepChanged() {
    int selection = Combo(kWep).CurSel();
    if (selection != 0 && selection != 1) return;
    ApplyWepEnabled(Adapter(), selection == 0, -1);
    // The access point announces its name again with the new encryption.
    std::u16string ssid(FirstCharacters(ReadSettingText(kModeAccessPoint, key::kSsid), kSsidCharacters));
    if (ssid.empty()) ssid = GetText(u"MP_AP_Curr_Net_Setting_SSID_Default", u"WLAN_AP");
    std::string bytes = SsidBytes(ssid);
    ApplySsid(Adapter(), reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

void CApSettingDlg::OnBridgeChanged() {
    int selection = Combo(kBridgeAdapter).CurSel();
    if (selection < 0) return;
    std::u16string device;
    if (selection >= 1 && static_cast<size_t>(selection) <= bridgeAdapters_.size()) {
        const AdapterListEntry& entry = bridgeAdapters_[static_cast<size_t>(selection - 1)];
        device = FromCodePage({entry.deviceName, strnlen(entry.deviceName, sizeof entry.deviceName)});
    }
    WriteSettingText(kModeAccessPoint, key::kBridgeAdapter, device);
    StartBridgeCommand(BridgeCommandLine(device));
}

}  // namespace kw
