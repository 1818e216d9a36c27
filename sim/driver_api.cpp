// The driver library's entry points over the simulated world.
#include <algorithm>
#include <cstring>

#include "platform/clock.h"
#include "platform/text.h"
#include "sim/call_log.h"
#include "sim/elements.h"
#include "sim/link.h"
#include "sim/requests.h"
#include "sim/sim_state.h"
#include "sim/survey.h"
#include "src/device/kwwlan.h"

using namespace kw::sim;

namespace {

constexpr size_t kDeviceNameRoom = sizeof(AdapterContext::deviceName);
constexpr size_t kMaxLoggedRequestBytes = 1024;
constexpr size_t kMaxChannels = 100;
constexpr uint8_t kBandSeparator = 255;

// The frame of a call that needs an open adapter: the lock, the adapter (or -1 when the context
// is not open, the adapter is gone or the world refuses the call), and the log line.
class AdapterCall {
public:
    AdapterCall(const char* name, const AdapterContext* ctx) : log(name), now(kw::clock::NowMs()) {
        adapter = AdapterOfContext(*sim, ctx);
        if (adapter >= 0 && Refuses(*sim, adapter, name)) adapter = -1;
        if (adapter >= 0) SettleLink(*sim, adapter, now);
    }
    bool Usable() const { return adapter >= 0; }
    AdapterState& State() { return sim->adapters[static_cast<size_t>(adapter)]; }
    const WorldAdapter& Hardware() { return sim->world.adapters[static_cast<size_t>(adapter)]; }
    const WorldNetwork* Joined() { return JoinedNetwork(*sim, State()); }
    bool AccessPointMode() { return State().Value(Setting::OperationMode) == 1; }

    LockedState sim;
    CallLine log;
    uint64_t now;
    int adapter = -1;
};

// A call without a context: the lock, and whether any adapter of the world refuses it.
class SystemCall {
public:
    explicit SystemCall(const char* name) : log(name), refused(AnyRefuses(*sim, name)) {}
    LockedState sim;
    CallLine log;
    bool refused;
};

struct Range {
    int min;
    int max;
};

Range RangeOf(Setting setting) {
    switch (setting) {
        case Setting::NetworkType: return {0, 4};
        case Setting::AuthenticationMode: return {0, 7};
        case Setting::WepStatus: return {0, 7};
        case Setting::Channel: return {0, 200};
        case Setting::PsMode: return {0, 2};
        case Setting::FragmentationThreshold: return {256, 2346};
        case Setting::RtsThreshold: return {0, 2347};
        case Setting::PreambleMode: return {0, 2};
        case Setting::MultiDomainCapability: return {0, 1};
        case Setting::OperationRegion: return {0, 255};
        case Setting::NetworkTypeInUse: return {0, 4};
        case Setting::KwWirelessMode: return {2, 4};
        case Setting::PspXLinkMode: return {0, 1};
        case Setting::WmmQosMode: return {0, 1};
        case Setting::ApWirelessMode: return {0, 4};
        case Setting::ApProtectionMode: return {0, 3};
        case Setting::HideSsid: return {0, 1};
        case Setting::TxPowerLevel: return {0, 3};
        case Setting::FilterMode: return {0, 2};
        case Setting::KwxOidState: return {INT32_MIN, INT32_MAX};
        case Setting::OperationMode: return {0, 1};
        case Setting::Count: break;
    }
    return {0, -1};
}

// A band mode the adapter's radio can run: its own band, or either band of a dual-band one.
bool BandModeFits(int bandCode, int mode) { return mode == bandCode || bandCode == 4; }

int SetValue(const char* name, AdapterContext* ctx, Setting setting, int value) {
    AdapterCall call(name, ctx);
    call.log.Int(value);
    Range range = RangeOf(setting);
    bool accepted = call.Usable() && value >= range.min && value <= range.max &&
                    (setting != Setting::KwWirelessMode || BandModeFits(call.Hardware().bandCode, value));
    if (!accepted) return call.log.Result(-1);
    if (setting == Setting::OperationMode) {
        if (value != call.State().Value(setting)) SwitchOperationMode(call.State(), value, call.now);
    } else {
        call.State().Value(setting) = value;
    }
    return call.log.Result(0);
}

int GetValue(const char* name, AdapterContext* ctx, Setting setting) {
    AdapterCall call(name, ctx);
    if (!call.Usable()) return call.log.Result(-1);
    return call.log.Result(call.State().Value(setting));
}

int FillAdapterList(const char* name, AdapterListEntry* entries, int room) {
    SystemCall call(name);
    call.log.Int(room);
    if (call.refused || !entries || room < 0) return call.log.Result(-1);
    int count = 0;
    for (size_t i = 0; i < call.sim->world.adapters.size() && count < room; ++i) {
        if (!call.sim->adapters[i].present) continue;
        const WorldAdapter& hardware = call.sim->world.adapters[i];
        AdapterListEntry& entry = entries[count++];
        std::memset(&entry, 0, sizeof(entry));
        std::strncpy(entry.deviceName, hardware.deviceName.c_str(), sizeof(entry.deviceName) - 1);
        std::strncpy(entry.description, hardware.description.c_str(), sizeof(entry.description) - 1);
        std::strncpy(entry.instanceKey, hardware.instanceKey.c_str(), sizeof(entry.instanceKey) - 1);
    }
    return call.log.Result(count);
}

bool Listed(const MacList& filter, const Mac& mac) {
    return std::any_of(std::begin(filter.slots), std::end(filter.slots),
                       [&](const MacSlot& slot) { return slot.inUse && std::equal(mac.begin(), mac.end(), slot.mac); });
}

// Filter mode 1 admits only listed stations, mode 2 refuses them, 0 admits everyone.
bool Admitted(const AdapterState& state, const Mac& mac) {
    switch (state.Value(Setting::FilterMode)) {
        case 1: return Listed(state.filter, mac);
        case 2: return !Listed(state.filter, mac);
        default: return true;
    }
}

Bytes FiveGigahertzPart(const Bytes& channels) {
    auto separator = std::find(channels.begin(), channels.end(), kBandSeparator);
    return separator == channels.end() ? Bytes{} : Bytes(separator + 1, channels.end());
}

}  // namespace

extern "C" {

// ----- Adapter lists, open, close.

int CreateAllNICAdapterList(AdapterListEntry* entries, int room) {
    return FillAdapterList("CreateAllNICAdapterList", entries, room);
}

int CreateNICAdapterList(AdapterListEntry* entries, int room) {
    return FillAdapterList("CreateNICAdapterList", entries, room);
}

int KwOpenAdapter(AdapterContext* ctx) {
    SystemCall call("KwOpenAdapter");
    if (!ctx) return call.log.Result(0);
    call.log.Text(ctx->deviceName, kDeviceNameRoom);
    ctx->handle = -1;
    std::string_view name(ctx->deviceName, strnlen(ctx->deviceName, kDeviceNameRoom));
    for (size_t i = 0; i < call.sim->world.adapters.size(); ++i) {
        const AdapterState& state = call.sim->adapters[i];
        if (!state.present || call.sim->world.adapters[i].deviceName != name) continue;
        if (Refuses(*call.sim, static_cast<int>(i), "KwOpenAdapter")) break;
        ctx->handle = HandleOf(static_cast<int>(i), state.generation);
        return call.log.Result(1);
    }
    return call.log.Result(0);
}

int KwCloseAdapter(AdapterContext* ctx) {
    SystemCall call("KwCloseAdapter");
    if (!ctx || ctx->handle <= 0) return call.log.Result(0);
    ctx->handle = -1;
    return call.log.Result(1);
}

// ----- Identity.

int QueryWL_DriverVersion(AdapterContext* ctx) {
    AdapterCall call("QueryWL_DriverVersion", ctx);
    if (!call.Usable()) return call.log.Result(-1);
    return call.log.Result(static_cast<int>(call.Hardware().driverVersion));
}

int Query_KWDriverInfo(AdapterContext* ctx, DriverInfo* info) {
    AdapterCall call("Query_KWDriverInfo", ctx);
    if (!call.Usable() || !info) return call.log.Result(-1);
    *info = DriverInfo{};
    info->unused[0] = static_cast<int32_t>(call.Hardware().driverVersion);
    info->chipType = call.Hardware().chipType;
    info->bandCode = call.Hardware().bandCode;
    call.log.Piece(kw::Format("{%d, %d, %d, %d, %d}", info->unused[0], info->unused[1], info->unused[2], info->chipType,
                              info->bandCode));
    return call.log.Result(0);
}

int GetNICAdapterMAC(AdapterContext* ctx, uint8_t* mac6) {
    AdapterCall call("GetNICAdapterMAC", ctx);
    if (!call.Usable() || !mac6) return call.log.Result(-1);
    std::copy(call.Hardware().mac.begin(), call.Hardware().mac.end(), mac6);
    call.log.Bytes(mac6, 6);
    return call.log.Result(0);
}

// ----- Value getters.

int QueryWL_ConnectState(AdapterContext* ctx) {
    AdapterCall call("QueryWL_ConnectState", ctx);
    if (!call.Usable()) return call.log.Result(-1);
    return call.log.Result(call.AccessPointMode() || call.Joined() ? 0 : 1);
}

int QueryWL_NetworkType(AdapterContext* ctx) { return GetValue("QueryWL_NetworkType", ctx, Setting::NetworkType); }

int QueryWL_Channel(AdapterContext* ctx) {
    AdapterCall call("QueryWL_Channel", ctx);
    if (!call.Usable()) return call.log.Result(-1);
    const WorldNetwork* joined = call.Joined();
    return call.log.Result(joined ? ChannelOfFrequency(joined->frequencyKhz) : call.State().Value(Setting::Channel));
}

int QueryWL_CurrentLinkSpeed(AdapterContext* ctx) {
    AdapterCall call("QueryWL_CurrentLinkSpeed", ctx);
    if (!call.Usable() || (!call.AccessPointMode() && !call.Joined())) return call.log.Result(-1);
    return call.log.Result(
        LinkSpeedKbps(call.Hardware(), call.State(), call.AccessPointMode() ? nullptr : call.Joined()));
}

int QueryWL_WEPStatus(AdapterContext* ctx) { return GetValue("QueryWL_WEPStatus", ctx, Setting::WepStatus); }

int QueryWL_RSSI(AdapterContext* ctx) {
    AdapterCall call("QueryWL_RSSI", ctx);
    const WorldNetwork* joined = call.Usable() ? call.Joined() : nullptr;
    return call.log.Result(joined ? joined->rssi : -1);
}

int QueryWL_CommQuality(AdapterContext* ctx) {
    AdapterCall call("QueryWL_CommQuality", ctx);
    const WorldNetwork* joined = call.Usable() ? call.Joined() : nullptr;
    return call.log.Result(joined ? joined->quality : -1);
}

int QueryWL_OperationMode_STA_AP(AdapterContext* ctx) {
    return GetValue("QueryWL_OperationMode_STA_AP", ctx, Setting::OperationMode);
}

int QueryWL_AuthenticationMode(AdapterContext* ctx) {
    return GetValue("QueryWL_AuthenticationMode", ctx, Setting::AuthenticationMode);
}

int QueryWL_PSMode(AdapterContext* ctx) { return GetValue("QueryWL_PSMode", ctx, Setting::PsMode); }

int QueryWL_FragmentationThreshold(AdapterContext* ctx) {
    return GetValue("QueryWL_FragmentationThreshold", ctx, Setting::FragmentationThreshold);
}

int QueryWL_RTS_CTS_Threshold(AdapterContext* ctx) {
    return GetValue("QueryWL_RTS_CTS_Threshold", ctx, Setting::RtsThreshold);
}

int QueryWL_MultiDomainCapability(AdapterContext* ctx) {
    return GetValue("QueryWL_MultiDomainCapability", ctx, Setting::MultiDomainCapability);
}

int QueryWL_OperationRegionCode(AdapterContext* ctx) {
    return GetValue("QueryWL_OperationRegionCode", ctx, Setting::OperationRegion);
}

int QueryWL_802_11_NetworkTypeInUse(AdapterContext* ctx) {
    AdapterCall call("QueryWL_802_11_NetworkTypeInUse", ctx);
    if (!call.Usable()) return call.log.Result(-1);
    const WorldNetwork* joined = call.Joined();
    return call.log.Result(joined ? static_cast<int>(TypeInUseOf(*joined))
                                  : call.State().Value(Setting::NetworkTypeInUse));
}

int QueryWL_KWWirelessMode(AdapterContext* ctx) {
    return GetValue("QueryWL_KWWirelessMode", ctx, Setting::KwWirelessMode);
}

int QueryWL_KWAdhocMode(AdapterContext* ctx) {
    AdapterCall call("QueryWL_KWAdhocMode", ctx);
    return call.log.Result(call.Usable() ? call.Hardware().adhocMode : -1);
}

// ----- Buffer getters.

int QueryWL_SSID(AdapterContext* ctx, uint8_t* ssid32) {
    AdapterCall call("QueryWL_SSID", ctx);
    if (!call.Usable() || !ssid32) return call.log.Result(-1);
    const WorldNetwork* joined = call.AccessPointMode() ? nullptr : call.Joined();
    const Bytes& ssid = joined ? joined->ssid : call.State().ssid;
    size_t length = std::min<size_t>(ssid.size(), 32);
    std::copy_n(ssid.begin(), length, ssid32);
    call.log.Bytes(ssid32, length);
    return call.log.Result(static_cast<int>(length));
}

int QueryWL_BSSID(AdapterContext* ctx, uint8_t* bssid6) {
    AdapterCall call("QueryWL_BSSID", ctx);
    if (!call.Usable() || !bssid6) return call.log.Result(-1);
    const WorldNetwork* joined = call.Joined();
    if (call.AccessPointMode()) {
        std::copy(call.Hardware().mac.begin(), call.Hardware().mac.end(), bssid6);
    } else if (joined) {
        std::copy(joined->bssid.begin(), joined->bssid.end(), bssid6);
    } else {
        return call.log.Result(-1);
    }
    call.log.Bytes(bssid6, 6);
    return call.log.Result(0);
}

int QueryWL_SupportedRate(AdapterContext* ctx, uint8_t* rates16) {
    AdapterCall call("QueryWL_SupportedRate", ctx);
    if (!call.Usable() || !rates16) return call.log.Result(-1);
    std::copy_n(call.Hardware().supportedRates.begin(), 16, rates16);
    call.log.Bytes(rates16, 16);
    return call.log.Result(0);
}

int QueryWL_SupportChannel(AdapterContext* ctx, uint8_t* channels, int room) {
    AdapterCall call("QueryWL_SupportChannel", ctx);
    if (!call.Usable() || !channels || room < 0) return call.log.Int(room).Result(-1);
    const Bytes& list = call.State().channels;
    size_t count = std::min(list.size(), static_cast<size_t>(room));
    std::copy_n(list.begin(), count, channels);
    call.log.Bytes(channels, count).Int(room);
    return call.log.Result(static_cast<int>(count));
}

int QueryWL_UISupportTxRate(AdapterContext* ctx, uint8_t* rates, int room) {
    AdapterCall call("QueryWL_UISupportTxRate", ctx);
    if (!call.Usable() || !rates || room < 0) return call.log.Int(room).Result(-1);
    size_t count = 0;
    for (uint8_t rate : call.Hardware().uiSupportTxRate) {
        if (!rate || count >= static_cast<size_t>(room)) break;
        rates[count++] = rate;
    }
    call.log.Bytes(rates, count).Int(room);
    return call.log.Result(static_cast<int>(count));
}

int GetTxRxFrameCount(AdapterContext* ctx, uint32_t* transmitted, uint32_t* received) {
    AdapterCall call("GetTxRxFrameCount", ctx);
    if (!call.Usable() || !transmitted || !received) return call.log.Result(-1);
    auto [tx, rx] = FrameCounts(call.State(), call.now);
    *transmitted = static_cast<uint32_t>(tx);
    *received = static_cast<uint32_t>(rx);
    call.log.Int(*transmitted).Int(*received);
    return call.log.Result(0);
}

// ----- Setters.

int SetWL_SSID(AdapterContext* ctx, const uint8_t* ssid, int length) {
    AdapterCall call("SetWL_SSID", ctx);
    bool valid = length >= 0 && length <= 32 && (ssid || length == 0);
    call.log.Bytes(ssid, valid ? static_cast<size_t>(length) : 0).Int(length);
    if (!call.Usable() || !valid) return call.log.Result(-1);
    call.State().ssid.assign(ssid, ssid + length);
    if (!call.AccessPointMode()) JoinBySsid(*call.sim, call.adapter, call.State().ssid, call.now);
    return call.log.Result(0);
}

int SetWL_BSSID(AdapterContext* ctx, const uint8_t* bssid6) {
    AdapterCall call("SetWL_BSSID", ctx);
    call.log.Bytes(bssid6, 6);
    if (!call.Usable() || !bssid6) return call.log.Result(-1);
    std::copy_n(bssid6, 6, call.State().bssid.begin());
    return call.log.Result(0);
}

int SetWL_NetworkType(AdapterContext* ctx, int type) {
    return SetValue("SetWL_NetworkType", ctx, Setting::NetworkType, type);
}

int SetWL_802_11_NetworkTypeInUse(AdapterContext* ctx, int type) {
    return SetValue("SetWL_802_11_NetworkTypeInUse", ctx, Setting::NetworkTypeInUse, type);
}

int SetWL_Channel(AdapterContext* ctx, int channel) {
    return SetValue("SetWL_Channel", ctx, Setting::Channel, channel);
}

int SetWL_AuthenticationMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_AuthenticationMode", ctx, Setting::AuthenticationMode, mode);
}

int SetWL_WEPStatus(AdapterContext* ctx, int status) {
    return SetValue("SetWL_WEPStatus", ctx, Setting::WepStatus, status);
}

int SetWL_WriteKey(AdapterContext* ctx, int keyIndex, int lengthIndex, int isDefault, const uint8_t* key) {
    AdapterCall call("SetWL_WriteKey", ctx);
    size_t length = lengthIndex == 1 ? 13 : lengthIndex == 2 ? 29 : 5;
    call.log.Int(keyIndex).Int(lengthIndex).Int(isDefault).Bytes(key, length);
    if (!call.Usable() || !key || keyIndex < 0 || keyIndex > 3) return call.log.Result(-1);
    call.State().wepKeys[static_cast<size_t>(keyIndex)].assign(key, key + length);
    if (isDefault) call.State().defaultWepKey = keyIndex;
    return call.log.Result(0);
}

int SetWL_DesiredRate(AdapterContext* ctx, const uint8_t* rates16) {
    AdapterCall call("SetWL_DesiredRate", ctx);
    call.log.Bytes(rates16, 16);
    if (!call.Usable() || !rates16) return call.log.Result(-1);
    std::copy_n(rates16, 16, call.State().desiredRates.begin());
    return call.log.Result(0);
}

int SetWL_PSMode(AdapterContext* ctx, int mode) { return SetValue("SetWL_PSMode", ctx, Setting::PsMode, mode); }

int SetWL_FragmentationThreshold(AdapterContext* ctx, int bytes) {
    return SetValue("SetWL_FragmentationThreshold", ctx, Setting::FragmentationThreshold, bytes);
}

int SetWL_RTS_CTS_Threshold(AdapterContext* ctx, int bytes) {
    return SetValue("SetWL_RTS_CTS_Threshold", ctx, Setting::RtsThreshold, bytes);
}

int SetWL_PreambleMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_PreambleMode", ctx, Setting::PreambleMode, mode);
}

int SetWL_MultiDomainCapability(AdapterContext* ctx, int capability) {
    return SetValue("SetWL_MultiDomainCapability", ctx, Setting::MultiDomainCapability, capability);
}

int SetWL_OperationRegionCode(AdapterContext* ctx, int region) {
    return SetValue("SetWL_OperationRegionCode", ctx, Setting::OperationRegion, region);
}

int SetWL_RegionAndSupportChannel(AdapterContext* ctx, int region) {
    return SetValue("SetWL_RegionAndSupportChannel", ctx, Setting::OperationRegion, region);
}

int SetWL_SupportChannel(AdapterContext* ctx, const uint8_t* channels, int count) {
    AdapterCall call("SetWL_SupportChannel", ctx);
    bool valid = count >= 0 && static_cast<size_t>(count) <= kMaxChannels && (channels || count == 0);
    call.log.Bytes(channels, valid ? static_cast<size_t>(count) : 0).Int(count);
    if (!call.Usable() || !valid) return call.log.Result(-1);
    // The list names the 2.4 GHz channels; the 5 GHz ones stay. No list: all the radio has.
    Bytes list;
    for (int i = 0; i < count; ++i) {
        if (channels[i] != 0 && channels[i] != kBandSeparator) list.push_back(channels[i]);
    }
    if (count == 0) {
        call.State().channels = call.Hardware().channels;
    } else {
        Bytes five = FiveGigahertzPart(call.State().channels);
        list.push_back(kBandSeparator);
        list.insert(list.end(), five.begin(), five.end());
        call.State().channels = list;
    }
    return call.log.Result(0);
}

int SetWL_KWWirelessMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_KWWirelessMode", ctx, Setting::KwWirelessMode, mode);
}

int SetWL_KWPSPXLinkMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_KWPSPXLinkMode", ctx, Setting::PspXLinkMode, mode);
}

int SetWL_KWWMMQosMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_KWWMMQosMode", ctx, Setting::WmmQosMode, mode);
}

int SetWL_ApWirelessMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_ApWirelessMode", ctx, Setting::ApWirelessMode, mode);
}

int SetWL_ApProtectionMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_ApProtectionMode", ctx, Setting::ApProtectionMode, mode);
}

int SetWLAP_HideSSIDState(AdapterContext* ctx, int hide) {
    return SetValue("SetWLAP_HideSSIDState", ctx, Setting::HideSsid, hide);
}

int SetWLAP_TxPowerLevel(AdapterContext* ctx, int level) {
    return SetValue("SetWLAP_TxPowerLevel", ctx, Setting::TxPowerLevel, level);
}

int SetWLAP_FilterMode(AdapterContext* ctx, int mode) {
    return SetValue("SetWLAP_FilterMode", ctx, Setting::FilterMode, mode);
}

int SetWLAP_FilterList(AdapterContext* ctx, const uint8_t* list, int size) {
    AdapterCall call("SetWLAP_FilterList", ctx);
    bool valid = list && size == static_cast<int>(sizeof(MacList));
    call.log.Bytes(list, valid ? sizeof(MacList) : 0).Int(size);
    if (!call.Usable() || !valid) return call.log.Result(-1);
    std::memcpy(&call.State().filter, list, sizeof(MacList));
    return call.log.Result(0);
}

int SetWL_OperationMode_STA_AP(AdapterContext* ctx, int mode) {
    return SetValue("SetWL_OperationMode_STA_AP", ctx, Setting::OperationMode, mode);
}

// ----- Survey and stations.

int WL_SiteSurveyStart(AdapterContext* ctx) {
    AdapterCall call("WL_SiteSurveyStart", ctx);
    return call.log.Result(call.Usable() ? 0 : -1);
}

int WL_RetrieveSiteSurveyData(AdapterContext* ctx, uint8_t* buffer, int size) {
    AdapterCall call("WL_RetrieveSiteSurveyData", ctx);
    call.log.Int(size);
    if (!call.Usable() || size < 0) return call.log.Result(-1);
    return call.log.Result(BuildSurvey(*call.sim, call.adapter, buffer, static_cast<size_t>(size), call.now) ? 0 : -1);
}

int WL_RetrieveStationList(AdapterContext* ctx, uint8_t* buffer, int size) {
    AdapterCall call("WL_RetrieveStationList", ctx);
    call.log.Int(size);
    if (!call.Usable() || !buffer || size < static_cast<int>(sizeof(MacList))) return call.log.Result(-1);
    MacList list{};
    if (call.AccessPointMode()) {
        size_t used = 0;
        for (const Mac& station : call.sim->world.stations) {
            if (used >= std::size(list.slots) || !Admitted(call.State(), station)) continue;
            list.slots[used].inUse = 1;
            std::copy(station.begin(), station.end(), list.slots[used].mac);
            ++used;
        }
    }
    std::memcpy(buffer, &list, sizeof(list));
    return call.log.Result(0);
}

// ----- Raw requests.

int ReadOid(AdapterContext* ctx, uint32_t code, uint8_t* buffer, int size) {
    AdapterCall call("ReadOid", ctx);
    call.log.Code(code).Int(size);
    if (!call.Usable() || size < 0) return call.log.Result(-1);
    return call.log.Result(ReadRequest(*call.sim, call.adapter, code, buffer, static_cast<size_t>(size)));
}

int WriteOid(AdapterContext* ctx, uint32_t code, const uint8_t* buffer, int size) {
    AdapterCall call("WriteOid", ctx);
    size_t logged = size > 0 ? std::min(static_cast<size_t>(size), kMaxLoggedRequestBytes) : 0;
    call.log.Code(code).Bytes(buffer, logged).Int(size);
    if (!call.Usable() || size < 0) return call.log.Result(-1);
    return call.log.Result(WriteRequest(*call.sim, call.adapter, code, buffer, static_cast<size_t>(size), call.now));
}

// ----- Zero Configuration.

int QueryWL_CheckWZCStatus(AdapterContext* ctx) {
    AdapterCall call("QueryWL_CheckWZCStatus", ctx);
    return call.log.Result(call.Usable() ? call.sim->world.system.wzcStatus : -1);
}

int SetWL_WZCStatus(AdapterContext* ctx, int status) {
    AdapterCall call("SetWL_WZCStatus", ctx);
    call.log.Int(status);
    if (!call.Usable()) return call.log.Result(-1);
    call.sim->world.system.wzcStatus = status;
    return call.log.Result(0);
}

int SetWL_KWUseKWXOidState(AdapterContext* ctx, int state) {
    return SetValue("SetWL_KWUseKWXOidState", ctx, Setting::KwxOidState, state);
}

int KWStopWZCService(void) {
    SystemCall call("KWStopWZCService");
    if (call.refused) return call.log.Result(-1);
    call.sim->zeroConfigServiceRunning = false;
    return call.log.Result(0);
}

int KWStartWZCService(void) {
    SystemCall call("KWStartWZCService");
    if (call.refused) return call.log.Result(-1);
    call.sim->zeroConfigServiceRunning = true;
    return call.log.Result(0);
}

// ----- System.

int KW_GetOSVersion(void) {
    SystemCall call("KW_GetOSVersion");
    return call.log.Result(call.refused ? -1 : call.sim->world.system.osVersionCode);
}

int QueryWL_IsWindows95(void) {
    SystemCall call("QueryWL_IsWindows95");
    return call.log.Result(call.refused ? 0 : call.sim->world.system.isWindows95);
}

int QueryWL_IsWindows2000(void) {
    SystemCall call("QueryWL_IsWindows2000");
    return call.log.Result(call.refused ? 0 : call.sim->world.system.isWindows2000);
}

int CheckOSWinNT(void) {
    SystemCall call("CheckOSWinNT");
    return call.log.Result(call.refused ? 0 : call.sim->world.system.checkOsWinNt);
}

int IsAdmin(void) {
    SystemCall call("IsAdmin");
    return call.log.Result(call.refused ? 0 : call.sim->world.system.isAdmin);
}

int NonAdminUserEnabler(void) {
    SystemCall call("NonAdminUserEnabler");
    return call.log.Result(call.refused ? 0 : 1);
}

int Query_FixWindisPnPBug(void) {
    SystemCall call("Query_FixWindisPnPBug");
    return call.log.Result(call.refused ? 0 : call.sim->world.system.fixWindisPnPBug);
}

}  // extern "C"
