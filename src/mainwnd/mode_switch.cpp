// The station / access-point switch of the main window and the layouts of the access-point page.
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/config/program_config.h"
#include "src/app/tray_icon.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/dialogs/bridge_program.h"
#include "src/lang/language_table.h"
#include "src/mainwnd/control_ids.h"
#include "src/mainwnd/kwconfig_dlg.h"
#include "src/settings/app_key.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace mainwnd;

namespace {

constexpr int kDriverSettleMs = 1000;
constexpr int kStationSettleMs = 200;
constexpr int kStationColumnWidth = 169;

}  // namespace

void CKWConfigDlg::OnModeChange() {
    int mode = Combo(kModeCombo).CurSel();
    if (mode < 0 || mode == OperationMode() || mode > kModeAccessPoint) return;
    EnableItem(kModeCombo, false);
    SetOperationMode(mode);
    WriteChipText(kValueOperationMode, FormatW("%d", mode));
    if (mode == kModeStation) {
        SetItemText(kRefreshButton, GetText(u"MP_STA_Net_List_Refresh", u"Refresh"));
        EnableItem(kRefreshButton, true);
        wantedIcon_ = shownIcon_ = kTrayStationIdle;
    } else {
        apTickCount_ = 0;
        if (scanPending_) {
            scanPending_ = false;
            scanWait_ = 0;
        }
        SetItemText(kRefreshButton, u"");
        EnableItem(kRefreshButton, false);
        wantedIcon_ = shownIcon_ = kTrayAccessPoint;
    }
    tray_.SetIcon(ui::LoadIcon(kTrayIconResources[shownIcon_]));
    Relabel();
    if (SetWL_OperationMode_STA_AP(Adapter(), mode) == -1) {
        // The adapter is in neither mode now; say so before the program ends.
        ui::ShowMessageBox(this,
                           GetText(u"MP_STA_AP_Mode_Change_Failed",
                                   u"The adapter refused the change of operating mode. KWConfig will close."),
                           GetText(u"MP_Dialog_Title", u"Vivurori DOD Ivirodevovove Dede Viva"), ui::MessageBoxButtons::Ok,
                           ui::MessageBoxIcon::Error);
        EndDialog(0);
    }
    clock::SleepMs(kDriverSettleMs);
    RestoreSettings(Adapter());
    if (mode == kModeStation) {
        clock::SleepMs(kStationSettleMs);
    } else {
        BuildApSettingsPanel();
        StartBridge();
        ShowItem(kPanelButton, true);
        EnableItem(kPanelButton, true);
    }
    EnableItem(kModeCombo, true);
}

void CKWConfigDlg::ApListLayout() {
    ui::CListView& list = ListView(kNetworkList);
    list.DeleteAllItems();
    while (list.ColumnCount() > 0) list.DeleteColumn(0);
    SetItemText(kNetworkLabel, GetText(u"MP_AP_Station_List", u"Connect Station List:"));
    SetItemText(kRefreshButton, u"");
    list.InsertColumn(0, GetText(u"MP_AP_Station_List_Station_MAC", u"Station MAC Address"), ui::Align::Left,
                      kStationColumnWidth);
    list.SetExtendedStyle(list.ExtendedStyle() | ui::kListFullRowSelect);
}

void CKWConfigDlg::ApLinkLayout() {
    for (int id : {kLinkStatusLabel, kSignalLabel, kQualityLabel, kLinkStatus, kSignalText, kQualityText, kSignalBar,
                   kQualityBar, kNotice}) {
        ShowItem(id, false);
    }
    for (int id : {kTxFrameLabel, kRxFrameLabel, kTxFrameText, kRxFrameText}) ShowItem(id, true);
    for (int id : {kLinkStatusLabel, kSignalLabel, kQualityLabel, kLinkStatus, kSignalText, kQualityText, kNotice,
                   kTxFrameLabel, kRxFrameLabel, kTxFrameText, kRxFrameText}) {
        SetItemText(id, u"");
    }
    SetItemText(kTxFrameLabel, GetText(u"MP_STA_Tx_Frame", u"Tx Frame:"));
    SetItemText(kRxFrameLabel, GetText(u"MP_STA_Rx_Frame", u"Rx Frame:"));
}

}  // namespace kw
