#include "src/mainwnd/kwconfig_dlg.h"

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell/notify_icon.h"
#include "platform/text.h"
#include "src/config/app_flags.h"
#include "src/app/language_switch.h"
#include "src/config/program_config.h"
#include "src/app/tray_icon.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/lang/language_table.h"
#include "src/mainwnd/bluetooth_utility.h"
#include "src/mainwnd/control_ids.h"
#include "src/dialogs/advanced_setting_dlg.h"
#include "src/dialogs/ap_setting_dlg.h"
#include "src/dialogs/bridge_program.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/more_setting_dlg.h"
#include "src/dialogs/wpa_setting_dlg.h"
#include "src/settings/app_key.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace mainwnd;

namespace {

constexpr int kSysCommandIgnored = 16;
constexpr char16_t kOldWndProcProperty[] = u"AfxOldWndProc423";
constexpr char16_t kRunServicesKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr char16_t kServiceName[] = u"KWWlan";

using ui::Control;

}  // namespace

ui::DialogTemplate CKWConfigDlg::MainTemplate() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kDialogResource;
    t.caption = u"KWConfig";
    t.width = 420;
    t.height = 290;
    t.controls = {
        Control(kAdapterLabel, K::Label, u"Network Adapter:", 0, {7, 9, 75, 8}),
        Control(kAdapterCombo, K::ComboBox, u"", ui::kDropDownList, {85, 7, 230, 12}),
        Control(kModeLabel, K::Label, u"Mode:", ui::kHidden, {322, 9, 32, 8}),
        Control(kModeCombo, K::ComboBox, u"", ui::kDropDownList | ui::kHidden, {356, 7, 57, 12}),
        Control(kNetworkLabel, K::Label, u"Available Network:", 0, {7, 27, 150, 8}),
        Control(kNetworkList, K::ListView, u"", 0, {7, 39, 406, 105}),
        Control(kRefreshButton, K::PushButton, u"Refresh", 0, {333, 22, 80, 14}),
        Control(kPanelGroup, K::GroupBox, u"Current Network Information", 0, {7, 150, 222, 110}),
        Control(1183, K::Label, u"Channel:", 0, {14, 163, 75, 8}),
        Control(1184, K::Label, u"Type:", 0, {14, 176, 75, 8}),
        Control(1185, K::Label, u"SSID:", 0, {14, 189, 75, 8}),
        Control(1186, K::Label, u"Tx Rate:", 0, {14, 202, 75, 8}),
        Control(1187, K::Label, u"Encrypt:", 0, {14, 215, 75, 8}),
        Control(kPanelChannel, K::Label, u"", 0, {92, 163, 130, 8}),
        Control(kPanelType, K::Label, u"", 0, {92, 176, 130, 8}),
        Control(kPanelSsid, K::Label, u"", 0, {92, 189, 130, 8}),
        Control(kPanelRate, K::Label, u"", 0, {92, 202, 130, 8}),
        Control(kPanelEncryption, K::Label, u"", 0, {92, 215, 130, 8}),
        Control(kPanelButton, K::PushButton, u"More Setting...", 0, {14, 236, 120, 14}),
        Control(kLinkStatusLabel, K::Label, u"Link Status:", 0, {236, 155, 150, 8}),
        Control(kLinkStatus, K::Label, u"", 0, {236, 166, 150, 8}),
        Control(kSignalLabel, K::Label, u"Signal Strength:", 0, {236, 182, 150, 8}),
        Control(kSignalBar, K::ProgressBar, u"", 0, {236, 193, 140, 10}),
        Control(kSignalText, K::Label, u"", 0, {380, 194, 33, 8}),
        Control(kQualityLabel, K::Label, u"Link Quality:", 0, {236, 208, 150, 8}),
        Control(kQualityBar, K::ProgressBar, u"", 0, {236, 219, 140, 10}),
        Control(kQualityText, K::Label, u"", 0, {380, 220, 33, 8}),
        Control(kTxFrameLabel, K::Label, u"Tx Frame:", 0, {236, 236, 90, 8}),
        Control(kTxFrameText, K::Label, u"", 0, {328, 236, 85, 8}),
        Control(kRxFrameLabel, K::Label, u"Rx Frame:", 0, {236, 248, 90, 8}),
        Control(kRxFrameText, K::Label, u"", 0, {328, 248, 85, 8}),
        Control(kActivityIcon, K::Icon, u"", 0, {393, 152, 20, 20}),
        Control(kNotice, K::Label, u"", 0, {7, 266, 406, 16}),
    };
    return t;
}

CKWConfigDlg::CKWConfigDlg(CTrayIcon& tray)
    : CDialog(MainTemplate()),
      tray_(tray),
      discovery_(*this, [this] { OnAdapterOpened(); }),
      zeroConfig_(*this),
      surveyBuffer_(new uint8_t[kSurveyBufferSize]()) {
    SetIcon(ui::LoadIcon(kLargeIconResource));
}

CKWConfigDlg::~CKWConfigDlg() = default;

// ---------------------------------------------------------------- start-up

bool CKWConfigDlg::OnInitDialog() {
    ui::SetMainWindow(this);
    SetCurrentDialogId(kDialogIdMain);
    ResetState();
    wantedIcon_ = shownIcon_ = kTrayStationIdle;
    tray_.SetTarget(this);
    tray_.SetIcon(ui::LoadIcon(kTrayIconResources[kTrayStationIdle]));
    shell::DeclareIconAnimation({ui::LoadIcon(kTrayIconResources[kTrayConnectedA]),
                                 ui::LoadIcon(kTrayIconResources[kTrayConnectedB])});
    taskbarCreatedMessage_ = ui::RegisterWindowMessage(shell::kTaskbarCreatedMessage);
    InstallLanguageSwitchHooks();
    Show(false);
    Relabel();
    ClearRings();
    discovery_.Discover();
    StartTimer();
    MoveTo(kOffScreen, kOffScreen);
    return true;
}

void CKWConfigDlg::ResetState() {
    selectionHold_ = false;
    holdCount_ = 0;
    scanPending_ = false;
    scanWait_ = 0;
    animationFrame_ = 0;
    connectingDots_ = 0;
    discovery_.SetAdapterOpen(false);
    discovery_.ResetDeferral();
    modeComboVisible_ = false;
    zeroConfig_.ResetControlState();
    SetOperationMode(kModeStation);
    lastTransmitted_ = transmittedAtToggle_ = 0;
    lastTotal_ = totalAtToggle_ = 0;
    SetClassKeyAccessFlag(0);
}

void CKWConfigDlg::InstallLanguageSwitchHooks() {
    SetLanguageSwitchHooks({[this] { RelocaliseDialogChain([this] { Relabel(); }); }, [this] { RenewTrayTexts(); }});
    SetLanguageChoiceHandler(ApplyLanguageSwitch);
}

void CKWConfigDlg::RenewTrayTexts() {
    tray_.SetTip(GetText(u"MP_Small_Icon_Tip", u"KWWlan -- Vivurori DOD Ivirodevovove Dede Viva"));
    tray_.LocaliseMenuTexts();
}

void CKWConfigDlg::StartTimer() {
    SetTimer(kTimerId, static_cast<unsigned>(Config().mainPageUpdateTimeMs > 0 ? Config().mainPageUpdateTimeMs : 1000));
}

void CKWConfigDlg::StopTimer() {
    KillTimer(kTimerId);
}

void CKWConfigDlg::Relabel() {
    SetIcon(ui::LoadIcon(kLargeIconResource));
    SetCaption(GetText(u"MP_Dialog_Title", u"Vivurori DOD Ivirodevovove Dede Viva") + u"   ");
    SetItemText(kAdapterLabel, GetText(u"MP_Network_Adapter", u"Network Adapter:"));
    SetItemText(kModeLabel, GetText(u"MP_STA_AP_Mode", u"Mode:"));
    ui::CComboBox& mode = Combo(kModeCombo);
    mode.ResetContent();
    mode.AddString(GetText(u"MP_STA_AP_Toggle_Button_STA", u"Station"));
    mode.AddString(GetText(u"MP_STA_AP_Toggle_Button_AP", u"Access Point"));
    mode.SetCurSel(OperationMode());
    ShowModeCombo();
    if (OperationMode() == kModeAccessPoint) {
        ApListLayout();
        SetPanelView(2);
        ApLinkLayout();
        return;
    }
    StationListLayout();
    SetPanelView(selectionHold_ ? 1 : 0);
    StationLinkLayout();
}

void CKWConfigDlg::ShowModeCombo() {
    bool visible = Config().enableAccessPoint == 1 && modeComboVisible_;
    ShowItem(kModeCombo, visible);
    ShowItem(kModeLabel, visible);
}

void CKWConfigDlg::StationLinkLayout() {
    static constexpr struct {
        int label;
        const char16_t* key;
        const char16_t* text;
    } kRows[] = {
        {kLinkStatusLabel, u"MP_STA_Link_Status", u"Link Status:"},
        {kSignalLabel, u"MP_STA_Signal_Strength", u"Signal Strength:"},
        {kQualityLabel, u"MP_STA_Link_Quality", u"Link Quality:"},
        {kTxFrameLabel, u"MP_STA_Tx_Frame", u"Tx Frame:"},
        {kRxFrameLabel, u"MP_STA_Rx_Frame", u"Rx Frame:"},
    };
    for (const auto& row : kRows) {
        SetItemText(row.label, GetText(row.key, row.text));
        ShowItem(row.label, true);
    }
    for (int id = kLinkStatus; id <= kRxFrameText; ++id) {
        SetItemText(id, u"");
        ShowItem(id, true);
    }
    ShowItem(kNotice, false);
    SetItemText(kNotice, u"");
    for (int bar : {kSignalBar, kQualityBar}) {
        Progress(bar).SetRange(0, 100);
        Progress(bar).SetPos(0);
        ShowItem(bar, true);
    }
}

// ---------------------------------------------------------------- adapter combo box

void CKWConfigDlg::ClearAdapters() { Combo(kAdapterCombo).ResetContent(); }
void CKWConfigDlg::AddAdapter(const std::u16string& description) { Combo(kAdapterCombo).AddString(description); }
void CKWConfigDlg::SelectAdapterItem(int index) { Combo(kAdapterCombo).SetCurSel(index); }
int CKWConfigDlg::SelectedAdapterItem() const {
    const auto* combo = dynamic_cast<const ui::CComboBox*>(Item(kAdapterCombo));
    return combo ? combo->CurSel() : -1;
}

// ---------------------------------------------------------------- opening an adapter

void CKWConfigDlg::OnAdapterOpened() { FinishAdapterOpen(); }

void CKWConfigDlg::FinishAdapterOpen() {
    modeComboVisible_ = false;
    wantedIcon_ = kTrayStationIdle;
    if (Config().enableAccessPoint) {
        auto stored = ReadChipText(kValueOperationMode);
        int storedMode = stored ? static_cast<int>(ParseLeadingInt(*stored)) : 0;
        int driverMode = QueryWL_OperationMode_STA_AP(Adapter());
        if (driverMode != storedMode) {
            SetWL_OperationMode_STA_AP(Adapter(), storedMode);
            driverMode = storedMode;
            clock::SleepMs(1000);
        }
        if (driverMode == kModeAccessPoint) {
            SetOperationMode(kModeAccessPoint);
            wantedIcon_ = kTrayAccessPoint;
            modeComboVisible_ = true;
        } else {
            SetOperationMode(kModeStation);
            modeComboVisible_ = driverMode == kModeStation;
        }
        Relabel();
    }
    shownIcon_ = wantedIcon_;
    tray_.SetIcon(ui::LoadIcon(kTrayIconResources[shownIcon_]));
    scanPending_ = false;
    scanWait_ = 0;
    if (OperationMode() == kModeStation) StartScan();
    ShowModeCombo();
    if (zeroConfig_.TakeOverAdapter()) {
        wantedIcon_ = shownIcon_ = kTrayZeroConfig;
        tray_.SetIcon(ui::LoadIcon(kTrayIconResources[kTrayZeroConfig]));
    }
    if (OperationMode() == kModeAccessPoint) {
        BuildApSettingsPanel();
        StartBridge();
        EnableItem(kPanelButton, true);
        ShowItem(kPanelButton, true);
        EnableItem(kRefreshButton, false);
    }
    if (Config().ivtBluetoothSupport) StartBluetoothUtility(this);
    tray_.LocaliseMenuTexts();
    tray_.ShowIcon(ui::LoadIcon(kTrayIconResources[shownIcon_]));
    showMaximumRate_ = false;
    lastTransmitted_ = transmittedAtToggle_ = 0;
    lastTotal_ = totalAtToggle_ = 0;
}

void CKWConfigDlg::RestoreStoredSettings() { RestoreSettings(Adapter()); }

void CKWConfigDlg::OnServiceTookAdapter() {
    wantedIcon_ = shownIcon_ = kTrayZeroConfig;
    tray_.SetIcon(ui::LoadIcon(kTrayIconResources[kTrayZeroConfig]));
    CloseDialogChain([this] { HideMainWindow(); });
}

void CKWConfigDlg::HideMainWindow() { Show(false); }

void CKWConfigDlg::OnAdapterGone() {
    CWpaSettingDlg::StopAuthentication();
    CloseDialogChain([this] { HideMainWindow(); });
    HandBackOnRemoval();
    discovery_.SetAdapterOpen(false);
    KwCloseAdapter(Adapter());
    tray_.HideIcon();
    EndBluetoothUtility();
}

// ---------------------------------------------------------------- the tick

void CKWConfigDlg::OnTimer(int id) {
    if (id == kTimerId) Tick();
}

// The requests a starting copy leaves in the registry; true ends the tick.
bool CKWConfigDlg::TickRequests() {
    if (ReadChipDword(kValueExitRequest).value_or(0) == 1) {
        WriteChipDword(kValueExitRequest, 0);
        StopTimer();
        PostCommand(kCmdExit);
        return true;
    }
    if (ReadChipDword(kValueWakeUpRequest).value_or(0) == 1) {
        WriteChipDword(kValueWakeUpRequest, 0);
        if (discovery_.AdapterOpen()) PostCommand(kCmdOpenUtilityWindow);
        return true;
    }
    return false;
}

void CKWConfigDlg::Tick() {
    // Outside programs that ended since are collected, so none lingers as a zombie.
    process::ReapDetached();
    if (TickRequests()) return;
    if (StartHidden()) Show(false);
    if (!discovery_.AdapterOpen()) {
        if (!discovery_.TimerSide()) return;
        selectionHold_ = false;
        animationFrame_ = 0;
        connectingDots_ = 0;
        apTickCount_ = 0;
        EnableItem(kNetworkList, true);
        EnableItem(kRefreshButton, true);
    } else if (QueryWL_DriverVersion(Adapter()) == -1) {
        OnAdapterGone();
        return;
    }
    if (zeroConfig_.Tick()) return;
    AnimateActivity();
    if (OperationMode() == kModeAccessPoint) {
        ApPageTick();
        return;
    }
    if (scanPending_) {
        if (scanWait_ > 0) {
            --scanWait_;
        } else {
            CollectScanResults();
            scanPending_ = false;
            SetPanelView(0);
            RefreshLinkStatus();
            selectionHold_ = false;
        }
    }
    if (selectionHold_) {
        if (--holdCount_ <= 0) {
            SetPanelView(0);
            selectionHold_ = false;
        }
    } else {
        RefreshCurrentNetwork();
    }
    RefreshLinkStatus();
}

void CKWConfigDlg::AnimateActivity() {
    Static(kActivityIcon).SetIcon(ui::LoadIcon(kActivityIconFirst + animationFrame_));
    animationFrame_ = (animationFrame_ + 1) % 3;
}

// ---------------------------------------------------------------- commands

void CKWConfigDlg::OnCommand(int id, ui::Notify code) {
    switch (id) {
        case kCmdOpenUtilityWindow: OpenUtilityWindow(); return;
        case kCmdExit: ExitProgram(); return;
        case kAdapterCombo:
            if (code == ui::Notify::SelChange) discovery_.SelectAdapter();
            return;
        case kModeCombo:
            if (code == ui::Notify::SelChange) OnModeChange();
            return;
        case kRefreshButton:
            if (code != ui::Notify::Clicked) return;
            if (OperationMode() == kModeAccessPoint) {
                RefreshStationList();
            } else if (!scanPending_) {
                StartScan();
            }
            return;
        case kPanelButton:
            if (code == ui::Notify::Clicked) OnPanelButton();
            return;
        default: CDialog::OnCommand(id, code);
    }
}

void CKWConfigDlg::OnPanelButton() {
    if (OperationMode() == kModeAccessPoint) {
        OpenApSettings();
        return;
    }
    if (selectionHold_) {
        ConnectSelectedNetwork();
        return;
    }
    CMoreSettingDlg settings;
    settings.SetParentDialogId(kDialogIdMain);
    settings.DoModal();
    SetCurrentDialogId(kDialogIdMain);
}

void CKWConfigDlg::OpenApSettings() {
    StopTimer();
    CApSettingDlg settings;
    settings.SetParentDialogId(kDialogIdMain);
    settings.DoModal();
    SetCurrentDialogId(kDialogIdMain);
    BuildApSettingsPanel();
    StartTimer();
}

void CKWConfigDlg::OpenUtilityWindow() {
    StopTimer();
    SetStartHidden(false);
    if (zeroConfig_.ControlState() == kZeroConfigInControl) zeroConfig_.ReclaimPrompt(this);
    if (QueryWL_CheckWZCStatus(Adapter()) != kZeroConfigInControl) {
        Center();
        Show(true);
        BringToTop();
        SetForeground();
    }
    StartTimer();
}

void CKWConfigDlg::ExitProgram() {
    SetWL_KWUseKWXOidState(Adapter(), 0);
    EndBluetoothUtility();
    CloseDialogChain([this] { EndDialog(0); });
    if (ClassKeyAccessFlag() != 1) HandBackAdapter();
}

void CKWConfigDlg::OnSysCommand(int code, int position) {
    if (code == kSysCommandIgnored) return;
    int command = code & 0xFFF0;
    if (command == ui::kSysCommandMinimize || command == ui::kSysCommandClose) {
        if (position != 0) {
            Show(false);
        } else {
            SetForeground();
        }
        return;
    }
    CDialog::OnSysCommand(code, position);
}

bool CKWConfigDlg::PreTranslateKey(ui::Key) { return true; }

void CKWConfigDlg::OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        OnTaskbarCreated();
        return;
    }
    CDialog::OnMessage(msg, wparam, lparam);
}

void CKWConfigDlg::OnTaskbarCreated() {
    if (QueryWL_DriverVersion(Adapter()) == -1) {
        tray_.HideIcon();
    } else {
        tray_.ShowIcon(ui::LoadIcon(kTrayIconResources[shownIcon_]));
    }
}

void CKWConfigDlg::OnEndSession(bool) {
    if (QueryWL_IsWindows95()) {
        reg::Key runServices;
        if (reg::Key::Open(reg::Hive::LocalMachine, kRunServicesKey, reg::Access::Full, runServices) != reg::kSuccess) {
            return;
        }
        // Staying registered as a service process keeps the program alive through a log-off; this
        // platform offers no such registration to renew, so finding the entry changes nothing.
        (void)runServices.ReadString(kServiceName);
        return;
    }
    reg::Key service;
    std::u16string path = FormatW("SYSTEM\\CurrentControlSet\\Services\\%s", ToUtf8(kServiceName).c_str());
    if (reg::Key::Open(reg::Hive::LocalMachine, path, reg::Access::Read, service) != reg::kSuccess) return;
    for (ui::CWnd* window : ui::ThreadWindows()) {
        if (window->GetProp(kOldWndProcProperty) != 0) window->RemoveProp(kOldWndProcProperty);
    }
}

void CKWConfigDlg::OnDestroy() {
    SetLanguageSwitchHooks({});
    SetLanguageChoiceHandler({});
    CWpaSettingDlg::StopAuthentication();
    StopTimer();
    surveyBuffer_.reset();
}

}  // namespace kw
