#include "src/dialogs/advanced_setting_dlg.h"

#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/device/regions.h"
#include "src/dialogs/dialog_chain.h"
#include "src/lang/language_table.h"
#include "src/settings/appliers.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace advdlg;

namespace {

constexpr int kFragmentLow = 256;
constexpr int kRtsLow = 0;
constexpr int kBarStep = 128;
constexpr int kWmmDeviceKind = 4;

// User-interface thread only.
std::function<void(int)> g_languageChoice;

struct Label {
    int id;
    const char16_t* key;
    const char16_t* text;
};

const Label kLabels[] = {
    {kLanguageGroup, u"BS_U_Sub_Title", u"User Interface"},
    {kLanguageLabel, u"BS_U_Language", u"Language:"},
    {kPowerGroup, u"AS_Power_Consumption_Sub_Title", u"Power Consumption Setting"},
    {kPowerCam, u"AS_Power_CAM", u"Continuous Access Mode (CAM)."},
    {kPowerMaximum, u"AS_Power_Level_0", u"Maximum Power-Saving Mode."},
    {kPowerFast, u"AS_Power_Level_1", u"Fast Power-Saving Mode."},
    {kRoamingGroup, u"AS_Country_Roaming_Sub_Title", u"Country Roaming"},
    {kUserSelect, u"AS_Country_Roaming_User_Select", u"User Select"},
    {kWorldMode, u"AS_Country_Roaming_World_Mode", u"World Mode"},
    {kFragmentGroup, u"AS_Fragment_Sub_Title", u"Fragmentation Threshold"},
    {kRtsGroup, u"AS_RTS_CTS_Sub_Title", u"RTS / CTS Threshold"},
    {kPspXLink, u"AS_PSPXLINK_MODE", u"PSP XLink Mode"},
    {kWmmQos, u"AS_WMMQos_MODE", u"WMM QoS Mode"},
};

struct Threshold {
    int bar;
    int value;
    int low;
    int off;
    const char16_t* disableKey;
    int (*apply)(AdapterContext*, int);
};

const Threshold kThresholds[] = {
    {kFragmentBar, kFragmentValue, kFragmentLow, kFragmentationOff, u"AS_Fragment_Disable", ApplyFragmentationThreshold},
    {kRtsBar, kRtsValue, kRtsLow, kRtsOff, u"AS_RTS_CTS_Disable", ApplyRtsThreshold},
};

bool IsSwitch(int value) { return value == 0 || value == 1; }

int StoredSwitch(std::u16string_view key) {
    int value = ReadSettingNumber(key);
    return IsSwitch(value) ? value : -1;
}

using ui::Control;

}  // namespace

void SetLanguageChoiceHandler(std::function<void(int)> handler) { g_languageChoice = std::move(handler); }

ui::DialogTemplate CAdvancedSettingDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"Advanced Setting...";
    t.width = 320;
    t.height = 282;
    t.controls = {
        Control(kLanguageGroup, K::GroupBox, u"User Interface", 0, {7, 7, 306, 30}),
        Control(kLanguageLabel, K::Label, u"Language:", 0, {14, 21, 60, 8}),
        Control(kLanguageList, K::ComboBox, u"", ui::kDropDownList, {76, 19, 120, 12}),
        Control(kPowerGroup, K::GroupBox, u"Power Consumption Setting", 0, {7, 42, 306, 52}),
        Control(kPowerCam, K::RadioButton, u"Continuous Access Mode (CAM).", ui::kGroup, {14, 55, 292, 10}),
        Control(kPowerMaximum, K::RadioButton, u"Maximum Power-Saving Mode.", 0, {14, 67, 292, 10}),
        Control(kPowerFast, K::RadioButton, u"Fast Power-Saving Mode.", 0, {14, 79, 292, 10}),
        Control(kRoamingGroup, K::GroupBox, u"Country Roaming", ui::kGroup, {7, 99, 306, 44}),
        Control(kUserSelect, K::RadioButton, u"User Select", ui::kGroup, {14, 112, 90, 10}),
        Control(kWorldMode, K::RadioButton, u"World Mode", 0, {14, 126, 90, 10}),
        Control(kCountryList, K::ComboBox, u"", ui::kDropDownList | ui::kGroup, {110, 111, 196, 12}),
        Control(kFragmentGroup, K::GroupBox, u"Fragmentation Threshold", 0, {7, 148, 306, 44}),
        Control(kFragmentBar, K::TrackBar, u"", 0, {14, 160, 292, 14}),
        Control(kFragmentMin, K::Label, u"256", 0, {14, 178, 40, 8}),
        Control(kFragmentMax, K::Label, u"2346", 0, {266, 178, 40, 8}),
        Control(kFragmentValue, K::Label, u"", ui::kCentered, {90, 178, 140, 8}),
        Control(kRtsGroup, K::GroupBox, u"RTS / CTS Threshold", 0, {7, 197, 306, 44}),
        Control(kRtsBar, K::TrackBar, u"", 0, {14, 209, 292, 14}),
        Control(kRtsMin, K::Label, u"0", 0, {14, 227, 40, 8}),
        Control(kRtsMax, K::Label, u"2347", 0, {266, 227, 40, 8}),
        Control(kRtsValue, K::Label, u"", ui::kCentered, {90, 227, 140, 8}),
        Control(kToggleGroup, K::GroupBox, u"", 0, {7, 246, 306, 28}),
        Control(kPspXLink, K::CheckBox, u"PSP XLink Mode", 0, {14, 258, 140, 10}),
        Control(kWmmQos, K::CheckBox, u"WMM Qos Mode", 0, {160, 258, 140, 10}),
    };
    return t;
}

CAdvancedSettingDlg::CAdvancedSettingDlg() : CDialog(Template()) {}
CAdvancedSettingDlg::~CAdvancedSettingDlg() = default;

bool CAdvancedSettingDlg::OnInitDialog() {
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdAdvanced, this, parentId_, [this] { Relocalise(); });
    AdapterContext* ctx = Adapter();
    region_ = QueryWL_OperationRegionCode(ctx);
    powerSaveMode_ = QueryWL_PSMode(ctx);
    fragmentation_ = QueryWL_FragmentationThreshold(ctx);
    rts_ = QueryWL_RTS_CTS_Threshold(ctx);
    multiDomain_ = QueryWL_MultiDomainCapability(ctx);
    Relocalise();
    EnableGroups();

    Combo(kLanguageList).SetCurSel(Language().CurrentLanguage() - 1);
    ui::CComboBox& countries = Combo(kCountryList);
    countries.SetCurSel(-1);
    if (region_ != -1) {
        for (size_t i = 0; i < regionCodes_.size(); ++i) {
            if (regionCodes_[i] != region_) continue;
            countries.SetCurSel(static_cast<int>(i));
            break;
        }
    }
    if (IsSwitch(multiDomain_)) {
        roamingIndex_ = multiDomain_;
        EnableItem(kCountryList, multiDomain_ == 0);
    } else if (region_ != -1) {
        roamingIndex_ = 0;
    }
    powerIndex_ = powerSaveMode_ < 0 ? 0 : powerSaveMode_;

    const int positions[] = {fragmentation_, rts_};
    for (size_t i = 0; i < std::size(kThresholds); ++i) {
        const Threshold& t = kThresholds[i];
        ui::CTrackBar& bar = TrackBar(t.bar);
        bar.SetRange(t.low, t.off);
        bar.SetTicFreq(kBarStep);
        bar.SetPageSize(kBarStep);
        bar.SetPos(positions[i] >= t.low && positions[i] <= t.off ? positions[i] : t.off);
    }
    // Opening writes both thresholds, so the store holds what the bars show.
    ApplyThresholds();
    SetRadioIndex(kPowerCam, powerIndex_);
    SetRadioIndex(kUserSelect, roamingIndex_);
    return true;
}

void CAdvancedSettingDlg::OnDestroy() {
    chain_.reset();
    regionCodes_.clear();
}

void CAdvancedSettingDlg::EnableGroups() {
    bool roaming = Config().enable80211d != 0;
    for (int id : {kRoamingGroup, kWorldMode, kCountryList, kUserSelect}) ShowItem(id, roaming);
    EnableItem(kRoamingGroup, true);
    EnableItem(kWorldMode, IsSwitch(multiDomain_));
    bool selectable = IsSwitch(multiDomain_) || region_ != -1;
    EnableItem(kUserSelect, selectable);
    EnableItem(kCountryList, selectable);
    for (int id : {kPowerGroup, kPowerCam, kPowerFast, kPowerMaximum}) EnableItem(id, powerSaveMode_ != -1);
    for (int id : {kFragmentGroup, kFragmentBar, kFragmentMin, kFragmentMax, kFragmentValue}) EnableItem(id, fragmentation_ != -1);
    for (int id : {kRtsGroup, kRtsBar, kRtsMin, kRtsMax, kRtsValue}) EnableItem(id, rts_ != -1);
}

// ---------------------------------------------------------------- localisation

void CAdvancedSettingDlg::Relocalise() {
    SetCaption(GetText(u"AS_Dialog_Title", u"Advanced Setting..."));
    for (const Label& label : kLabels) SetItemText(label.id, GetText(label.key, label.text));
    FillLanguageList();
    ShowToggle(kPspXLink, key::kPspXLinkMode);
    EnableItem(kWmmQos, DeviceKind() == kWmmDeviceKind);
    ShowToggle(kWmmQos, key::kWmmQosMode);
    FillCountryList();
    if (regionCodes_.empty()) return;
    RefreshThresholdTexts();
}

void CAdvancedSettingDlg::FillLanguageList() {
    ui::CComboBox& list = Combo(kLanguageList);
    int selection = list.CurSel();
    list.ResetContent();
    for (const auto& description : Language().Descriptions()) list.AddString(description);
    list.SetCurSel(selection);
}

void CAdvancedSettingDlg::FillCountryList() {
    ui::CComboBox& list = Combo(kCountryList);
    int selection = list.CurSel();
    list.ResetContent();
    regionCodes_.clear();
    for (const Country& country : BuildCountryList()) {
        list.AddString(country.name);
        regionCodes_.push_back(country.regionCode);
    }
    list.SetCurSel(selection);
}

void CAdvancedSettingDlg::ShowToggle(int id, const char16_t* key) { CheckItem(id, StoredSwitch(key) == 1); }

void CAdvancedSettingDlg::RefreshThresholdTexts() {
    for (const Threshold& t : kThresholds) {
        int position = TrackBar(t.bar).Pos();
        std::u16string text = position == t.off ? FormatW("< %d (", position) + GetText(t.disableKey, u"Disable") + u") >"
                                                : FormatW("< %d >", position);
        SetItemText(t.value, text);
    }
}

void CAdvancedSettingDlg::ApplyThresholds() {
    for (const Threshold& t : kThresholds) t.apply(Adapter(), TrackBar(t.bar).Pos());
    RefreshThresholdTexts();
}

// ---------------------------------------------------------------- user actions

void CAdvancedSettingDlg::OnHScroll(int, int) { ApplyThresholds(); }

void CAdvancedSettingDlg::OnCommand(int id, ui::Notify code) {
    if (code == ui::Notify::SelChange) {
        if (id == kLanguageList) {
            int selection = Combo(kLanguageList).CurSel();
            if (selection >= 0 && g_languageChoice) g_languageChoice(selection);
        } else if (id == kCountryList) {
            int selection = Combo(kCountryList).CurSel();
            if (selection >= 0 && static_cast<size_t>(selection) < regionCodes_.size()) {
                PickCountry(Adapter(), regionCodes_[static_cast<size_t>(selection)]);
            }
        }
        return;
    }
    if (code != ui::Notify::Clicked) {
        CDialog::OnCommand(id, code);
        return;
    }
    switch (id) {
        case kPowerCam:
        case kPowerMaximum:
        case kPowerFast: OnPowerClicked(); return;
        case kWorldMode:
            if (ChooseWorldMode(Adapter(), roamingIndex_)) EnableItem(kCountryList, false);
            return;
        case kUserSelect:
            if (ChooseUserSelection(Adapter(), roamingIndex_)) EnableItem(kCountryList, true);
            return;
        case kPspXLink:
        case kWmmQos: OnToggle(id); return;
        default: CDialog::OnCommand(id, code);
    }
}

void CAdvancedSettingDlg::OnPowerClicked() {
    int index = RadioIndex(kPowerCam);
    if (index == powerIndex_ || index < 0) return;
    powerIndex_ = index;
    ApplyPowerSaveMode(Adapter(), index);
}

// A stored value that is neither on nor off becomes off rather than being toggled.
void CAdvancedSettingDlg::OnToggle(int id) {
    const bool psp = id == kPspXLink;
    int stored = StoredSwitch(psp ? key::kPspXLinkMode : key::kWmmQosMode);
    int value = stored == 0 ? 1 : 0;
    if (psp) {
        ApplyPspXLinkMode(Adapter(), value);
    } else {
        ApplyWmmQosMode(Adapter(), value);
    }
    CheckItem(id, value == 1);
}

}  // namespace kw
