// The main window's two status panels: the current network and the link status, with signal and
// quality averaged over the last six samples, and the tray icon's traffic animation.
#include <algorithm>
#include "platform/clock.h"

#include "platform/ip_helper.h"
#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/app/tray_icon.h"
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

constexpr int kConnected = 0;
constexpr int kNotConnected = 1;
constexpr int kMaxConnectingDots = 18;
constexpr size_t kStoredSsidBytes = 50;

std::atomic<bool> g_renewalRunning{false};

std::u16string NetworkTypeText(int type) {
    switch (type) {
        case kNetTypeAdHoc: return GetText(u"MP_STA_Curr_Net_Type_Ad_Hoc", u"Ad-Hoc");
        case kNetTypeInfrastructure: return GetText(u"MP_STA_Curr_Net_Type_Infra", u"Infrastructure");
        case kNetTypeWds: return GetText(u"MP_STA_Curr_Net_Type_WDS", u"WDS");
        case kNetTypePseudoIbss: return GetText(u"MP_STA_Curr_Net_Type_PIBSS", u"Pseudo IBSS");
        default:
            return GetText(u"MP_STA_Curr_Net_Type_Unknown", u"Unknown type") + FormatW("(%d)", type);
    }
}

std::u16string EncryptionText(int status) {
    switch (status) {
        case kWepEnabled:
        case kWepKeyAbsent: return GetText(u"MP_STA_ENCRYPT_WEP", u"WEP");
        case kWepDisabled: return GetText(u"MP_STA_ENCRYPT_NONE", u"NONE");
        case kTkipEnabled:
        case kTkipKeyAbsent: return GetText(u"MP_STA_ENCRYPT_TKIP", u"TKIP");
        case kAesEnabled:
        case kAesKeyAbsent: return GetText(u"MP_STA_ENCRYPT_AES", u"AES");
        default: return GetText(u"MP_STA_WEP_Unknown", u"Unknown");
    }
}

char16_t EncryptionLetter(int status) {
    if (status == kWepEnabled) return u'E';
    if (status == kWepDisabled) return u'D';
    return u'?';
}

// Highest supported rate in kbit/s, 0 when the rates cannot be read.
int HighestSupportedRate() {
    uint8_t rates[16] = {};
    if (QueryWL_SupportedRate(Adapter(), rates) == -1) return 0;
    int best = 0;
    for (uint8_t rate : rates) best = std::max(best, rate & 0x7F);
    return best * 500;
}

// (average - minimum) * 100 / (maximum - minimum); equal bounds leave no scale and show 0.
int Percent(int average, int minimum, int maximum) {
    if (maximum == minimum) return 0;
    // A slot left from before an unreadable sample can pull the average outside the scale.
    return std::clamp((average - minimum) * 100 / (maximum - minimum), 0, 100);
}

void RenewAddresses() {
    std::vector<ip::InterfaceEntry> interfaces = ip::InterfaceList();
    for (const auto& entry : interfaces) {
        ip::IpReleaseAddress(entry);
        ip::IpRenewAddress(entry);
    }
    g_renewalRunning = false;
}

}  // namespace

bool AddressRenewalRunning() { return g_renewalRunning; }

void CKWConfigDlg::StartAddressRenewal() {
    if (g_renewalRunning.exchange(true)) return;
    clock::Thread(RenewAddresses).Detach();
}

void CKWConfigDlg::RefreshCurrentNetwork() {
    AdapterContext* ctx = Adapter();
    int state = QueryWL_ConnectState(ctx);
    int type = QueryWL_NetworkType(ctx);
    if (type != -1) SetItemText(kPanelType, NetworkTypeText(type));
    int channel = QueryWL_Channel(ctx);
    if (channel >= 0) SetItemText(kPanelChannel, FormatW("%d", channel));

    std::string ssid;
    bool haveSsid = true;
    if (state == kConnected) {
        uint8_t bytes[32] = {};
        int length = QueryWL_SSID(ctx, bytes);
        ssid.assign(reinterpret_cast<char*>(bytes), static_cast<size_t>(std::clamp(length, 0, 32)));
    } else if (state == kNotConnected) {
        ssid = ToCodePage(ReadSettingText(OperationMode(), key::kSsid));
        if (ssid.size() > kStoredSsidBytes) ssid.resize(kStoredSsidBytes);
        if (ssid.size() > 32) ssid.resize(32);
    } else {
        haveSsid = false;
    }
    if (haveSsid) SetItemText(kPanelSsid, ssid.empty() ? GetText(u"MP_STA_SSID_any", u"<any>") : FromCodePage(ssid));

    int rate = QueryWL_CurrentLinkSpeed(ctx);
    if (Config().txRateAutoShowMax == 1 && showMaximumRate_) {
        rate = HighestSupportedRate();
        showMaximumRate_ = false;
    }
    if (rate != -1) {
        std::u16string unit = GetText(u"BS_G_TxRate_Value_Unit", u"Mbps");
        SetItemText(kPanelRate, rate % 1000 == 0 ? FormatW("%d %s", rate / 1000, ToUtf8(unit).c_str())
                                                 : FormatW("%.1f %s", rate / 1000.0, ToUtf8(unit).c_str()));
    }

    int encryption = QueryWL_WEPStatus(ctx);
    if (encryption >= 0) {
        if (Config().debugMode) {
            int stored = ReadSettingNumber(key::kWepStatus);
            SetItemText(kPanelEncryption, u"Q:" + std::u16string(1, EncryptionLetter(encryption)) + u" S:" +
                                              std::u16string(1, EncryptionLetter(stored)));
        } else {
            SetItemText(kPanelEncryption, EncryptionText(encryption));
        }
    }
}

void CKWConfigDlg::RefreshLinkStatus() {
    if (scanPending_) return;
    AdapterContext* ctx = Adapter();
    int state = QueryWL_ConnectState(ctx);
    int type = QueryWL_NetworkType(ctx);
    if (state == -1 || type == -1) return;

    std::u16string status;
    if (state == kNotConnected) {
        wantedIcon_ = kTrayStationIdle;
        if (type == kNetTypeAdHoc) {
            status = GetText(u"MP_STA_Link_Status_In_Ad_Hoc", u"In Ad-Hoc Mode.");
        } else {
            status = GetText(u"MP_STA_Link_Status_Connecting", u"Connecting...");
            for (int i = 0; i < connectingDots_; ++i) status += u"...";
            if (++connectingDots_ > kMaxConnectingDots) connectingDots_ = 0;
        }
        for (int id : {kSignalLabel, kSignalBar, kSignalText, kQualityLabel, kQualityBar, kQualityText}) ShowItem(id, false);
        ClearRings();
        SetAddressRenewalPending(true);
    } else if (state == kConnected) {
        if (QueryWL_IsWindows95() && AddressRenewalPending()) {
            SetAddressRenewalPending(false);
            StartAddressRenewal();
        }
        connectingDots_ = 0;
        uint8_t bssid[6] = {};
        if (QueryWL_BSSID(ctx, bssid) == -1) std::fill(std::begin(bssid), std::end(bssid), 0);
        if (type == kNetTypeAdHoc) {
            status = GetText(u"MP_STA_Link_Status_Con_Ad_Hoc", u"Connected to Ad-Hoc.");
        } else if (type == kNetTypeInfrastructure) {
            status = GetText(u"MP_STA_Link_Status_Con_AP", u"Connected to Access Point.");
        } else if (type == kNetTypePseudoIbss && Config().pseudoIbssSupport == 1) {
            status = GetText(u"MP_STA_Link_Status_Con_PIBSS", u"Connected to Pseudo IBSS.");
        } else {
            status = u"Unknown";
        }
        if (Config().showBssid && status != u"Unknown") status += u" BSSID=" + FormatBssid(bssid);
    } else {
        return;
    }
    SetItemText(kLinkStatus, status);

    bool connected = state == kConnected;
    if (connected) ShowLinkSignal();
    uint32_t transmitted = lastTransmitted_;
    uint64_t total = lastTotal_;
    ShowFrameCounters(connected, transmitted, total);
    if (Config().trayIconAnimation == 1) AnimateTray(connected, transmitted, total);
}

void CKWConfigDlg::ShowLinkSignal() {
    AdapterContext* ctx = Adapter();
    const ProgramConfig& c = Config();
    int rssi = QueryWL_RSSI(ctx);
    if (rssi != -1) signalRing_[ringPosition_] = std::clamp(rssi, c.strengthMinDb, c.strengthMaxDb);
    int quality = QueryWL_CommQuality(ctx);
    bool qualityReadable = quality != -1;
    if (qualityReadable) qualityRing_[ringPosition_] = std::clamp(quality, c.qualityMin, c.qualityMax);
    ringPosition_ = (ringPosition_ + 1) % 6;
    sampleCount_ = std::min(sampleCount_ + 1, 6);

    int signalSum = 0, qualitySum = 0;
    for (int i = 0; i < 6; ++i) {
        signalSum += signalRing_[i];
        qualitySum += qualityRing_[i];
    }
    int signalPercent = Percent(signalSum / sampleCount_, c.strengthMinDb, c.strengthMaxDb);
    int qualityPercent = Percent(qualitySum / sampleCount_, c.qualityMin, c.qualityMax);
    SetItemText(kSignalText, FormatW("%d%%", signalPercent));
    Progress(kSignalBar).SetPos(signalPercent);
    SetItemText(kQualityText, FormatW("%d%%", qualityPercent));
    Progress(kQualityBar).SetPos(qualityPercent);
    for (int id : {kSignalLabel, kSignalBar, kSignalText}) ShowItem(id, true);
    for (int id : {kQualityLabel, kQualityBar, kQualityText}) ShowItem(id, qualityReadable);
}

void CKWConfigDlg::ShowFrameCounters(bool connected, uint32_t& transmitted, uint64_t& total) {
    for (int id : {kTxFrameLabel, kRxFrameLabel, kTxFrameText, kRxFrameText}) ShowItem(id, connected);
    if (!connected) return;
    uint32_t tx = 0, rx = 0;
    if (GetTxRxFrameCount(Adapter(), &tx, &rx) != 0) return;
    SetItemText(kTxFrameText, FormatW("%lu", static_cast<unsigned long>(tx)));
    SetItemText(kRxFrameText, FormatW("%lu", static_cast<unsigned long>(rx)));
    transmitted = lastTransmitted_ = tx;
    total = lastTotal_ = static_cast<uint64_t>(static_cast<uint32_t>(tx + rx));
}

void CKWConfigDlg::AnimateTray(bool connected, uint32_t transmitted, uint64_t total) {
    if (connected) {
        if (transmitted - transmittedAtToggle_ <= static_cast<uint32_t>(Config().txRateShowMaxLimit)) showMaximumRate_ = true;
        if (wantedIcon_ == kTrayStationIdle || total != totalAtToggle_) {
            wantedIcon_ = wantedIcon_ == kTrayConnectedA ? kTrayConnectedB : kTrayConnectedA;
            totalAtToggle_ = total;
            transmittedAtToggle_ = transmitted;
        }
    } else {
        wantedIcon_ = kTrayStationIdle;
    }
    GiveTrayWantedIcon();
}

void CKWConfigDlg::GiveTrayWantedIcon() {
    if (wantedIcon_ == shownIcon_) return;
    tray_.SetIcon(ui::LoadIcon(kTrayIconResources[wantedIcon_]));
    shownIcon_ = wantedIcon_;
}

void CKWConfigDlg::ClearRings() {
    signalRing_.fill(0);
    qualityRing_.fill(0);
    ringPosition_ = 0;
    sampleCount_ = 0;
}

}  // namespace kw
