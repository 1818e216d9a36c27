#include "src/settings/appliers.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "platform/text.h"
#include "src/device/kwwlan.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"
#include "src/settings/wep_keys.h"

namespace kw {

namespace {
std::atomic<int> g_currentNetworkType{kNetTypeInfrastructure};
std::atomic<bool> g_addressRenewalPending{false};

// The common shape: driver first, the store only after the driver accepted.
int StoreIfAccepted(int driverResult, std::u16string_view key, int value) {
    if (driverResult != 0) return -1;
    return WriteSettingNumber(OperationMode(), key, value);
}
}  // namespace

int ApplySsid(AdapterContext* ctx, const uint8_t* bytes, int length) {
    if (length < 0) length = 0;
    if (length > 32) length = 32;
    SetAddressRenewalPending(false);
    if (SetWL_SSID(ctx, bytes, length) != 0) return -1;
    std::string_view raw(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    return WriteSettingText(OperationMode(), key::kSsid, FromCodePage(raw));
}

std::string SsidBytes(std::u16string_view ssid) {
    constexpr size_t kMaxSsid = 32;
    std::string bytes = ToCodePage(ssid.substr(0, kMaxSsid));
    if (bytes.size() > kMaxSsid) bytes.resize(kMaxSsid);
    return bytes;
}

int ApplyHideSsid(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWLAP_HideSSIDState(ctx, value), key::kHideSsid, value);
}

int ApplyWirelessMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_802_11_NetworkTypeInUse(ctx, value), key::kWirelessMode, value);
}

int ApplyChannel(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_Channel(ctx, value), key::kChannel, value);
}

int ApplyApWirelessMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_ApWirelessMode(ctx, value), key::kApWirelessMode, value);
}

int ApplyApProtectionMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_ApProtectionMode(ctx, value), key::kApProtectionMode, value);
}

int ApplyNetworkType(AdapterContext* ctx, int value) {
    if (SetWL_NetworkType(ctx, value) != 0) return -1;
    SetCurrentNetworkType(value);
    return WriteSettingNumber(OperationMode(), key::kNetworkType, value);
}

int ApplyDesiredRates(AdapterContext* ctx, const uint8_t* rates16) {
    if (SetWL_DesiredRate(ctx, rates16) != 0) return -1;
    return WriteSettingText(OperationMode(), key::kDesiredRate, FormatHexBytes(rates16, kDesiredRateBytes));
}

void ApplySupportedRates(AdapterContext* ctx) {
    uint8_t rates[kDesiredRateBytes] = {};
    if (QueryWL_SupportedRate(ctx, rates) != -1) ApplyDesiredRates(ctx, rates);
}

int ApplyEncryptionStatus(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_WEPStatus(ctx, value), key::kWepStatus, value);
}

int ApplyAuthenticationMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_AuthenticationMode(ctx, value), key::kAuthenticationMode, value);
}

int ApplyPowerSaveMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_PSMode(ctx, value), key::kPowerSaveMode, value);
}

int ApplyFragmentationThreshold(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_FragmentationThreshold(ctx, value), key::kFragmentationThreshold, value);
}

int ApplyRtsThreshold(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_RTS_CTS_Threshold(ctx, value), key::kRtsThreshold, value);
}

int ApplyPreambleMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_PreambleMode(ctx, value), key::kPreambleMode, value);
}

int ApplyTxPowerLevel(AdapterContext* ctx, int value) {
    int driverResult = SetWLAP_TxPowerLevel(ctx, value);
    int stored = WriteSettingNumber(OperationMode(), key::kTxPowerLevel, value);
    return driverResult == 0 && stored == 0 ? 0 : -1;
}

int ApplyMacFilterMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWLAP_FilterMode(ctx, value), key::kMacFilterMode, value);
}

int ApplyMacFilterList(AdapterContext* ctx, const uint8_t* list, int size) {
    if (SetWLAP_FilterList(ctx, list, size) != 0) return -1;
    int result = 0;
    int entries = size / kMacFilterEntryBytes;
    if (entries > kMacFilterEntries) entries = kMacFilterEntries;
    for (int i = 0; i < entries; ++i) {
        const uint8_t* address = list + i * kMacFilterEntryBytes + 1;
        result |= WriteSettingText(OperationMode(), FormatW("%s%d", key::kMacFilterAddrPrefix, i), FormatHexBytes(address, 6));
    }
    return result == 0 ? 0 : -1;
}

void SetMacFilterEntry(uint8_t* list, int index, const uint8_t* address6) {
    if (index < 0 || index >= kMacFilterEntries) return;
    uint8_t* entry = list + index * kMacFilterEntryBytes;
    std::copy(address6, address6 + 6, entry + 1);
    entry[0] = std::any_of(address6, address6 + 6, [](uint8_t b) { return b != 0; }) ? 1 : 0;
}

int ApplyMultiDomainCapability(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_MultiDomainCapability(ctx, value), key::kMultiDomainCapability, value);
}

int ApplyRegion(AdapterContext* ctx, int value) {
    if (SetWL_OperationRegionCode(ctx, value) != 0) return -1;
    int result = WriteSettingNumber(kModeStation, key::kOperationRegion, value);
    result |= WriteSettingNumber(kModeAccessPoint, key::kOperationRegion, value);
    return result == 0 ? 0 : -1;
}

int ApplyPspXLinkMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_KWPSPXLinkMode(ctx, value), key::kPspXLinkMode, value);
}

int ApplyWmmQosMode(AdapterContext* ctx, int value) {
    return StoreIfAccepted(SetWL_KWWMMQosMode(ctx, value), key::kWmmQosMode, value);
}

void ApplyWepEnabled(AdapterContext* ctx, bool on, int defaultKeyIndex) {
    if (defaultKeyIndex == -1) {
        // Absent reads as -1, and -1 means key 0.
        defaultKeyIndex = ReadSettingNumber(key::kWepDefaultKeyId);
        if (defaultKeyIndex == -1) defaultKeyIndex = 0;
    }
    int lengthIndex = WepLengthIndexOfBits(ReadSettingNumber(key::kWepKeyLength));
    if (lengthIndex < 0) lengthIndex = 0;
    int bits = WepKeyBits(lengthIndex);
    for (int index = 0; index < kWepKeyCount; ++index) {
        uint8_t keyBytes[kMaxWepKeyBytes];
        ReadWepKeyRecord(bits, index, keyBytes, sizeof keyBytes);
        WriteWepKey(ctx, index, lengthIndex, index == defaultKeyIndex ? 1 : 0, keyBytes);
    }
    ApplyEncryptionStatus(ctx, on ? kWepEnabled : kWepDisabled);
}

int CurrentNetworkType() { return g_currentNetworkType; }
void SetCurrentNetworkType(int type) { g_currentNetworkType = type; }
bool AddressRenewalPending() { return g_addressRenewalPending; }
void SetAddressRenewalPending(bool pending) { g_addressRenewalPending = pending; }

}  // namespace kw
