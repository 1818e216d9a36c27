// The site survey of the main window: start a scan, collect its results a few ticks later, list
// the networks, and show a clicked network's details in the information panel.
#include <algorithm>

#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/device/zero_config.h"
#include "src/lang/language_table.h"
#include "src/mainwnd/control_ids.h"
#include "src/mainwnd/kwconfig_dlg.h"
#include "src/mainwnd/survey_buffer.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace mainwnd;

namespace {

constexpr int kScanWaitTicks = 4;
constexpr int kSelectionHoldTicks = 8;
constexpr int kListStrengthMin = -105;
constexpr int kListStrengthMax = -40;

struct PanelText {
    const char16_t* key;
    const char16_t* text;
};

struct PanelLayout {
    PanelText title;
    PanelText labels[kPanelLines];
    PanelText button;
};

const PanelLayout kPanelViews[] = {
    {{u"MP_STA_Curr_Net_Info_Title", u"Current Network Information"},
     {{u"MP_STA_Curr_Net_Info_Channel", u"Channel:"},
      {u"MP_STA_Curr_Net_Info_Type", u"Type:"},
      {u"MP_STA_Curr_Net_Info_SSID", u"SSID:"},
      {u"MP_STA_Curr_Net_Info_TxRate", u"Tx Rate:"},
      {u"MP_STA_Curr_Net_Info_WEP", u"Encrypt:"}},
     {u"MP_STA_Curr_Net_Info_More_Set", u"More Setting..."}},
    {{u"MP_STA_Select_Net_Info_Title", u"Selected Network Information"},
     {{u"MP_STA_Select_Net_Info_Channel", u"Channel:"},
      {u"MP_STA_Curr_Net_Info_Type", u"Type:"},
      {u"MP_STA_Select_Net_Info_WEP", u"WEP:"},
      {u"MP_STA_Select_Net_Info_BSSID", u"BSSID:"},
      {nullptr, u""}},
     {u"MP_STA_Select_Net_Info_Connect", u"Connect this site"}},
    {{u"MP_AP_Curr_Net_Setting_Title", u"Current Network Setting"},
     {{u"MP_AP_Curr_Net_Setting_Channel", u"Channel:"},
      {u"MP_AP_Curr_Net_Setting_SSID", u"SSID:"},
      {u"MP_AP_Curr_Net_Setting_WEP", u"WEP:"},
      {u"MP_AP_Curr_Net_Setting_Tx_Power", u"Tx Power:"},
      {nullptr, u""}},
     {u"MP_AP_Curr_Net_Setting_More_Set", u"More Setting..."}},
};

std::u16string Localised(const PanelText& text) { return text.key ? GetText(text.key, text.text) : std::u16string(text.text); }

std::u16string StrengthText(int rssi) {
    if (Config().showDbm) return FormatW("%d dBm", rssi);
    return FormatW("%d%%", (rssi - kListStrengthMin) * 100 / (kListStrengthMax - kListStrengthMin));
}

}  // namespace

void CKWConfigDlg::SetPanelView(int view) {
    if (view < 0 || view > 2) return;
    panelView_ = view;
    const PanelLayout& v = kPanelViews[view];
    SetItemText(kPanelGroup, Localised(v.title));
    for (int i = 0; i < kPanelLines; ++i) SetItemText(kPanelLabelFirst + i, Localised(v.labels[i]));
    SetItemText(kPanelButton, Localised(v.button));
    for (int id = kPanelValueFirst; id < kPanelValueFirst + kPanelLines; ++id) SetItemText(id, u"");
    for (int id = kLinkStatus; id <= kRxFrameText; ++id) SetItemText(id, u"");
}

void CKWConfigDlg::StartScan() {
    EnableItem(kNetworkList, false);
    EnableItem(kRefreshButton, false);
    SetItemText(kRefreshButton, GetText(u"MP_STA_Net_List_Refresh_Scan", u"Scanning......"));
    SetItemText(kNetworkLabel, GetText(u"MP_STA_Available_Network_Scan", u"Scanning Avaliable Network..."));
    scanPending_ = true;
    scanWait_ = kScanWaitTicks;
    ShowItem(kPanelButton, false);
    EnableItem(kModeCombo, false);
    WL_SiteSurveyStart(Adapter());
}

void CKWConfigDlg::CollectScanResults() {
    if (zeroConfig_.ControlState() != kZeroConfigInControl) ShowItem(kPanelButton, true);
    if (Config().enableAccessPoint) EnableItem(kModeCombo, true);
    if (!surveyBuffer_) return;
    // A failed retrieval keeps the rows of the last scan and lets the user scan again.
    bool retrieved = WL_RetrieveSiteSurveyData(Adapter(), surveyBuffer_.get(), static_cast<int>(kSurveyBufferSize)) != -1;
    int listed = retrieved ? FillNetworkList() : ListView(kNetworkList).ItemCount();
    EnableItem(kRefreshButton, true);
    SetItemText(kRefreshButton, GetText(u"MP_STA_Net_List_Refresh", u"Refresh"));
    SetItemText(kNetworkLabel, GetText(u"MP_STA_Available_Network", u"Avaliable Network:"));
    // Entries the buffer's count promises but does not hold are not there to pick.
    EnableItem(kNetworkList, listed > 0);
}

void CKWConfigDlg::StationListLayout() {
    ui::CListView& list = ListView(kNetworkList);
    list.DeleteAllItems();
    while (list.ColumnCount() > 0) list.DeleteColumn(0);
    SetItemText(kNetworkLabel, GetText(u"MP_STA_Available_Network", u"Available Network:"));
    SetItemText(kRefreshButton, GetText(u"MP_STA_Net_List_Refresh", u"Refresh"));
    list.InsertColumn(0, GetText(u"MP_STA_Net_List_SSID", u"SSID"), ui::Align::Left, 105);
    list.InsertColumn(1, GetText(u"MP_STA_Net_List_Strength", u"Strength"), ui::Align::Left, 64);
    FillNetworkList();
    list.SetExtendedStyle(list.ExtendedStyle() | ui::kListFullRowSelect);
}

int CKWConfigDlg::FillNetworkList() {
    ui::CListView& list = ListView(kNetworkList);
    list.DeleteAllItems();
    if (!surveyBuffer_) return 0;
    int listed = 0;
    for (const SurveyNetwork& network : ReadSurvey(surveyBuffer_.get(), kSurveyBufferSize)) {
        int row = list.InsertItem(list.ItemCount(), WidenBytes(network.ssid));
        int rssi = network.rssi;
        if (!Config().showDbm) {
            rssi = std::clamp(rssi, kListStrengthMin, kListStrengthMax);
            WriteSurveyRssi(surveyBuffer_.get(), kSurveyBufferSize, network.offset, rssi);
        }
        list.SetItemText(row, 1, StrengthText(rssi));
        ++listed;
    }
    return listed;
}

void CKWConfigDlg::OnListClick(int id, int /*row*/) {
    if (id != kNetworkList || OperationMode() != kModeStation) return;
    selectionHold_ = true;
    holdCount_ = kSelectionHoldTicks;
    SetPanelView(1);
    ShowSelectedNetwork();
}

void CKWConfigDlg::OnListDblClick(int id, int /*row*/) {
    if (id != kNetworkList || OperationMode() != kModeStation) return;
    ConnectSelectedNetwork();
}

void CKWConfigDlg::ShowSelectedNetwork() {
    if (!surveyBuffer_) return;
    std::vector<SurveyNetwork> networks = ReadSurvey(surveyBuffer_.get(), kSurveyBufferSize);
    size_t walk = static_cast<size_t>(std::max(ListView(kNetworkList).SelectionMark(), 0));
    // A walk past the valid entries finds nothing to show; the panel stays empty.
    if (walk >= networks.size()) return;
    const SurveyNetwork& network = networks[walk];
    int channel = ChannelOfFrequency(network.frequencyKhz);
    SetItemText(kPanelChannel, channel < 0 ? std::u16string(u"Unknow") : FormatW("%d", channel));
    SetItemText(kPanelType, network.infrastructureMode == 0   ? GetText(u"MP_STA_Select_NetType_Ad_Hoc", u"Ad-Hoc")
                            : network.infrastructureMode == 1 ? GetText(u"MP_STA_Select_NetType_Infra", u"Infrastructure")
                                                              : GetText(u"MP_STA_Select_NetType_Unknown", u"Unknown"));
    SetItemText(kPanelSsid, network.privacy ? GetText(u"MP_STA_WEP_On", u"On") : GetText(u"MP_STA_WEP_Off", u"Off"));
    SetItemText(kPanelRate, FormatBssid(network.bssid.data()));
}

}  // namespace kw
