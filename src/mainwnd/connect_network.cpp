#include "src/mainwnd/connect_network.h"

#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/device/zero_config.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/wep_key_dlg.h"
#include "src/dialogs/wpa_setting_dlg.h"
#include "src/lang/language_table.h"
#include "src/mainwnd/control_ids.h"
#include "src/mainwnd/kwconfig_dlg.h"
#include "src/mainwnd/survey_buffer.h"
#include "src/security/authentication.h"
#include "src/settings/appliers.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

namespace {

constexpr uint32_t kInfrastructure = 1;
// A network type in use from this value on is not one the driver knows.
constexpr uint32_t kFirstUnknownNetworkType = 5;

struct Question {
    const char16_t* line1Key;
    const char16_t* line1;
    const char16_t* line2Key;
    const char16_t* line2;
    const char16_t* titleKey;
    const char16_t* title;
};

const Question kWpa2Question{u"MP_WPA2_Default_Message_Line_1", u"You have selected to connect to the WPA2 encryption network.",
                             u"MP_WPA2_Default_Message_Line_2", u"Do you want to use the previous WPA2 setting?",
                             u"MP_WPA2_Default_Message_Title", u"Use Previous WPA2 Setting"};
const Question kWpaQuestion{u"MP_WPA_Default_Message_Line_1", u"You have selected to connect to the WPA encryption network.",
                            u"MP_WPA_Default_Message_Line_2", u"Do you want to use the previous WPA setting?",
                            u"MP_WPA_Default_Message_Title", u"Use Previous WPA Setting"};
const Question kWepQuestion{u"MP_WEP_Default_Message_Line_1", u"You have selected to connect to the WEP encryption network.",
                            u"MP_WEP_Default_Message_Line_2", u"Do you want to use the previous WEP setting?",
                            u"MP_WEP_Default_Message_Title", u"Use Previous WEP Setting"};

// True when the user keeps the stored settings.
bool AskKeepSettings(const ui::CWnd* owner, const Question& q) {
    std::u16string text = GetText(q.line1Key, q.line1) + u"\n" + GetText(q.line2Key, q.line2) + u"\n";
    return ui::ShowMessageBox(owner, text, GetText(q.titleKey, q.title), ui::MessageBoxButtons::YesNo,
                              ui::MessageBoxIcon::Question) == ui::IDYES;
}

// The settings dialog of a path, run from the main window; the connection goes on however it ends.
template <typename Dialog>
void EditSettings() {
    Dialog dialog;
    dialog.SetParentDialogId(kDialogIdMain);
    dialog.DoModal();
    SetCurrentDialogId(kDialogIdMain);
}

void ApplyChannelOf(AdapterContext* ctx, const SurveyNetwork& network) {
    int channel = ConnectChannel(network.frequencyKhz);
    if (network.infrastructureMode != kInfrastructure) {
        ApplyChannel(ctx, channel);
    } else {
        // The access point decides the channel; only the stored choice follows it.
        WriteSettingNumber(OperationMode(), key::kChannel, channel);
    }
}

void ApplyAuthenticationOf(AdapterContext* ctx, ConnectPath path, uint8_t akm) {
    if (akm == kAkmNone) {
        int current = QueryWL_AuthenticationMode(ctx);
        ApplyAuthenticationMode(ctx, current < 0 || current > kAuthWpa2Psk ? kAuthAutoSwitch : current);
    } else if (akm == kAkm8021X) {
        if (path == ConnectPath::Wpa2) ApplyAuthenticationMode(ctx, kAuthWpa2);
        if (path == ConnectPath::Wpa) ApplyAuthenticationMode(ctx, kAuthWpa);
    } else if (akm == kAkmPsk) {
        ApplyAuthenticationMode(ctx, path == ConnectPath::Wpa2 ? kAuthWpa2Psk : path == ConnectPath::Wpa ? kAuthWpaPsk : kAuthWpaNone);
    }
}

// -1: the pairwise type changes nothing.
int EncryptionOfPairwise(uint8_t pairwise) {
    switch (pairwise) {
        case kPairwiseWep40:
        case kPairwiseWep104: return kWepEnabled;
        case kPairwiseTkip: return kTkipEnabled;
        case kPairwiseCcmp: return kAesEnabled;
        default: return -1;
    }
}

void JoinProtected(AdapterContext* ctx, ConnectPath path, const NetworkSecurity& security, const ui::CWnd* owner) {
    ApplyNetworkType(ctx, path == ConnectPath::WpaNone ? kNetTypeAdHoc : kNetTypeInfrastructure);
    ApplyAuthenticationOf(ctx, path, security.akm);
    if (security.pairwise == kPairwiseNone) {
        ApplyEncryptionStatus(ctx, kWepDisabled);
        return;
    }
    int status = EncryptionOfPairwise(security.pairwise);
    // WRAP and unknown suites: no encryption setting fits them.
    if (status < 0) return;
    bool wpa2Texts = path == ConnectPath::Wpa2 || (path == ConnectPath::WpaNone && Config().wpa2Mode && security.rsnFound);
    if (!AskKeepSettings(owner, wpa2Texts ? kWpa2Question : kWpaQuestion)) EditSettings<CWpaSettingDlg>();
    ApplyEncryptionStatus(ctx, status);
    CWpaSettingDlg::StartAuthentication();
}

void JoinWepOrOpen(AdapterContext* ctx, const SurveyNetwork& network, const ui::CWnd* owner) {
    if (network.infrastructureMode < kFirstUnknownNetworkType) ApplyNetworkType(ctx, static_cast<int>(network.infrastructureMode));
    if (network.privacy == 0) {
        ApplyAuthenticationMode(ctx, kAuthAutoSwitch);
        ApplyEncryptionStatus(ctx, kWepDisabled);
        return;
    }
    bool keep = AskKeepSettings(owner, kWepQuestion);
    if (!keep) EditSettings<CWepKeyDlg>();
    ApplyAuthenticationMode(ctx, kAuthAutoSwitch);
    ApplyEncryptionStatus(ctx, kWepEnabled);
    if (Config().rc4WepSupport && ReadSettingNumber(key::kDot1xRc4Wep) == 1) {
        CWpaSettingDlg::StartAuthentication();
    } else if (keep) {
        ApplyWepEnabled(ctx, true, -1);
    }
}

// A stored single rate (one rate, then zeros) or a full list of sixteen is kept; any other list,
// and one that starts with a zero, gives way to every supported rate.
void ApplyStoredDesiredRates(AdapterContext* ctx) {
    std::u16string text = Trim(ReadSettingText(OperationMode(), key::kDesiredRate));
    if (text.empty()) {
        ApplySupportedRates(ctx);
        return;
    }
    uint8_t rates[kDesiredRateBytes] = {};
    ParseHexBytes(LowBytes(text), rates, kDesiredRateBytes);
    int firstZero = kDesiredRateBytes;
    for (int i = 0; i < kDesiredRateBytes; ++i) {
        if (rates[i] == 0) {
            firstZero = i;
            break;
        }
    }
    if (firstZero == 1 || firstZero == kDesiredRateBytes) {
        ApplyDesiredRates(ctx, rates);
    } else {
        ApplySupportedRates(ctx);
    }
}

}  // namespace

int ConnectChannel(uint32_t frequencyKhz) {
    int channel = ChannelOfFrequency(frequencyKhz);
    if (channel >= 0) return channel;
    // Outside the known bands the driver gets what the band formulas give.
    long long mhz = frequencyKhz / 1000;
    return static_cast<int>(frequencyKhz < 5000000 ? (mhz - 4000) / 5 : (mhz - 5000) / 5);
}

ConnectPath ChooseConnectPath(const NetworkSecurity& security, uint32_t infrastructureMode) {
    bool wpa2 = Config().wpa2Mode && security.rsnFound;
    bool wpa = Config().wpaMode && security.wpaFound;
    bool infrastructure = infrastructureMode == kInfrastructure;
    if (wpa2 && infrastructure) return ConnectPath::Wpa2;
    if (wpa && infrastructure) return ConnectPath::Wpa;
    if ((wpa || wpa2) && infrastructureMode == 0) return ConnectPath::WpaNone;
    return ConnectPath::WepOrOpen;
}

void JoinNetwork(const SurveyNetwork& network, const ui::CWnd* owner) {
    AdapterContext* ctx = Adapter();
    NetworkSecurity security = ParseSecurityElements(network.elements.data(), network.elements.size(), Config().wpa2Mode != 0);
    ApplyChannelOf(ctx, network);
    ApplyWirelessMode(ctx, static_cast<int>(network.networkTypeInUse));
    SetWL_BSSID(ctx, network.bssid.data());
    ApplySsid(ctx, reinterpret_cast<const uint8_t*>(network.ssid.data()), static_cast<int>(network.ssid.size()));
    ConnectPath path = ChooseConnectPath(security, network.infrastructureMode);
    if (path == ConnectPath::WepOrOpen) {
        JoinWepOrOpen(ctx, network, owner);
    } else {
        JoinProtected(ctx, path, security, owner);
    }
    // The adapter joined when the name was set, before the path's security was in place; a
    // started authentication rejoins by itself, anything else rejoins here.
    if (!AuthenticationWanted()) ReapplyNetwork();
    if (OperationMode() == kModeStation) ApplyStoredDesiredRates(ctx);
}

void CKWConfigDlg::ConnectSelectedNetwork() {
    using namespace mainwnd;
    if (zeroConfig_.ControlState() == kZeroConfigInControl) return;
    SetItemText(kLinkStatus, GetText(u"MP_STA_Link_Status_Disconnecting", u"Disconnecting..."));
    CWpaSettingDlg::StopAuthentication();
    connectingDots_ = 0;
    int mark = ListView(kNetworkList).SelectionMark();
    if (mark < 0 || !surveyBuffer_) return;
    std::vector<SurveyNetwork> networks = ReadSurvey(surveyBuffer_.get(), kSurveyBufferSize);
    // A mark past the entries the buffer really holds names no network.
    if (static_cast<size_t>(mark) >= networks.size()) return;
    StopTimer();
    JoinNetwork(networks[static_cast<size_t>(mark)], this);
    ClearRings();
    StartTimer();
    SetPanelView(0);
    RefreshLinkStatus();
    selectionHold_ = false;
}

}  // namespace kw
