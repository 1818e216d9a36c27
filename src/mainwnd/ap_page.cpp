// The access-point page of the main window: the access point's own settings in the panel (with
// bad stored values repaired through the appliers), its frame counters, and the associated stations.
#include <array>

#include "platform/text.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/lang/language_table.h"
#include "src/mainwnd/control_ids.h"
#include "src/mainwnd/kwconfig_dlg.h"
#include "src/mainwnd/survey_buffer.h"
#include "src/settings/appliers.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace mainwnd;

namespace {

constexpr int kRepairedChannel = 6;
constexpr int kChannelLimit = 200;
constexpr size_t kSsidCharacters = 32;
constexpr int kStationListEveryTicks = 5;
constexpr int kPanelWep = kPanelSsid;       // the access-point view shows WEP on the third line
constexpr int kPanelTxPower = kPanelRate;   // and the transmit power on the fourth
constexpr int kApPanelSsid = kPanelType;

std::u16string WepText(int status, int keyLength) {
    if (status == kWepDisabled) return GetText(u"MP_AP_Curr_Net_Setting_WEP_Disable", u"Disable");
    if (status != kWepEnabled) return {};
    switch (keyLength) {
        case 64: return GetText(u"MP_AP_Curr_Net_Setting_WEP_64bit", u"Enable 64 bit");
        case 128: return GetText(u"MP_AP_Curr_Net_Setting_WEP_128bit", u"Enable 128 bit");
        case 256: return GetText(u"MP_AP_Curr_Net_Setting_WEP_256bit", u"Enable 256 bit");
        default: return {};
    }
}

std::u16string TxPowerText(int level) {
    static constexpr const char16_t* kTexts[][2] = {
        {u"MP_AP_Curr_Net_Setting_Tx_Power_L0", u"Level 0"},
        {u"MP_AP_Curr_Net_Setting_Tx_Power_L1", u"Level 1"},
        {u"MP_AP_Curr_Net_Setting_Tx_Power_L2", u"Level 2"},
        {u"MP_AP_Curr_Net_Setting_Tx_Power_L3", u"Level 3"},
    };
    return GetText(kTexts[level][0], kTexts[level][1]);
}

int ApplyText(AdapterContext* ctx, std::u16string_view ssid) {
    std::string bytes = SsidBytes(ssid);
    return ApplySsid(ctx, reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

}  // namespace

void CKWConfigDlg::BuildApSettingsPanel() {
    AdapterContext* ctx = Adapter();
    int channel = ReadSettingNumber(key::kChannel);
    if (channel >= kChannelLimit || channel < 0) {
        ApplyChannel(ctx, kRepairedChannel);
        channel = kRepairedChannel;
    }
    SetItemText(kPanelChannel, channel >= 1 ? FormatW("%d", channel) : std::u16string(u"---"));

    std::u16string ssid = ReadSettingText(kModeAccessPoint, key::kSsid).substr(0, kSsidCharacters);
    if (ssid.empty()) {
        ssid = GetText(u"MP_AP_Curr_Net_Setting_SSID_Default", u"WLAN_AP").substr(0, kSsidCharacters);
        ApplyText(ctx, ssid);
    }
    SetItemText(kApPanelSsid, ssid);

    int status = ReadSettingNumber(key::kWepStatus);
    if (status > kAesKeyAbsent || status < 0) {
        ApplyEncryptionStatus(ctx, kWepDisabled);
        status = kWepDisabled;
    }
    int keyLength = ReadSettingNumber(key::kWepKeyLength);
    if (keyLength > 256 || keyLength < 64) keyLength = 64;
    std::u16string wep = WepText(status, keyLength);
    if (!wep.empty()) SetItemText(kPanelWep, wep);

    int level = ReadSettingNumber(key::kTxPowerLevel);
    if (level > 3 || level < 0) {
        ApplyTxPowerLevel(ctx, 0);
        level = 0;
    }
    SetItemText(kPanelTxPower, TxPowerText(level));
}

void CKWConfigDlg::RefreshStationList() {
    MacList stations{};
    if (WL_RetrieveStationList(Adapter(), reinterpret_cast<uint8_t*>(&stations), sizeof stations) == -1) return;
    ui::CListView& list = ListView(kNetworkList);
    list.DeleteAllItems();
    for (const MacSlot& slot : stations.slots) {
        if (slot.inUse == 0) continue;
        list.InsertItem(list.ItemCount(), FormatBssid(slot.mac));
    }
}

void CKWConfigDlg::ApPageTick() {
    int channel = QueryWL_Channel(Adapter());
    if (channel >= 0) SetItemText(kPanelChannel, FormatW("%d", channel));
    uint32_t tx = 0, rx = 0;
    if (GetTxRxFrameCount(Adapter(), &tx, &rx) == 0) {
        SetItemText(kTxFrameText, FormatW("%lu", static_cast<unsigned long>(tx)));
        SetItemText(kRxFrameText, FormatW("%lu", static_cast<unsigned long>(rx)));
    }
    if (++apTickCount_ % kStationListEveryTicks == 0) RefreshStationList();
}

}  // namespace kw
