#include "src/settings/restore.h"

#include <array>
#include <atomic>
#include <random>
#include <string>

#include "platform/clock.h"
#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/device/discovery.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/device/regions.h"
#include "src/lang/language_table.h"
#include "src/security/authentication.h"
#include "src/settings/appliers.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"
#include "src/settings/wep_keys.h"

namespace kw {

namespace {

std::atomic<int> g_bandCapability{0};
std::atomic<bool> g_bandSelection{false};

constexpr uint64_t kAuthenticationDelayMs = 1000;

int InRangeOr(int value, int low, int high, int fallback) { return value >= low && value <= high ? value : fallback; }

int Stored(std::u16string_view key, int low, int high, int fallback) {
    return InRangeOr(ReadSettingNumber(key), low, high, fallback);
}

bool IsStation() { return OperationMode() == kModeStation; }


void RestoreBand(AdapterContext* ctx) {
    if (SetWL_KWWirelessMode(ctx, RequiredBandCode(Config().wirelessMode)) != 0) {
        g_bandSelection = false;
        g_bandCapability = 0;
        return;
    }
    g_bandSelection = true;
    switch (QueryWL_KWWirelessMode(ctx)) {
        case kBandOfdm5: g_bandCapability = 1; break;
        case kBandAutomatic: g_bandCapability = 2; break;
        default: g_bandCapability = 0; break;
    }
}

int RestoreWirelessMode(AdapterContext* ctx) {
    if (!g_bandSelection) return 0;
    int mode = kBandOfdm24;
    if (g_bandCapability == 1) {
        mode = kBandOfdm5;
    } else if (g_bandCapability == 2) {
        int stored = ReadSettingNumber(key::kWirelessMode);
        mode = stored >= kBandOfdm5 && stored <= kBandAutomatic ? stored : kBandAutomatic;
    }
    ApplyWirelessMode(ctx, mode);
    return mode;
}

int RestoreChannelFallback() { return g_bandCapability == 1 ? 36 : 6; }
int RestoreChannelLimit() { return g_bandCapability == 0 ? 14 : 200; }

void RestoreWepKeys(AdapterContext* ctx) {
    int bits = Stored(key::kWepKeyLength, 64, 256, 64);
    int lengthIndex = WepLengthIndexOfBits(bits);
    if (lengthIndex < 0) {
        lengthIndex = 0;
        bits = 64;
    }
    int defaultIndex = Stored(key::kWepDefaultKeyId, 0, 3, 0);
    for (int index = 0; index < kWepKeyCount; ++index) {
        uint8_t keyBytes[kMaxWepKeyBytes];
        ReadWepKeyRecord(bits, index, keyBytes, sizeof keyBytes);
        WriteWepKey(ctx, index, lengthIndex, index == defaultIndex ? 1 : 0, keyBytes);
    }
}

void RestoreMacFilterList(AdapterContext* ctx) {
    std::array<uint8_t, kMacFilterListBytes> list{};
    for (int i = 0; i < kMacFilterEntries; ++i) {
        uint8_t address[6] = {};
        std::u16string text = ReadSettingText(OperationMode(), FormatW("%s%d", key::kMacFilterAddrPrefix, i));
        ParseHexBytes(LowBytes(text), address, 6);
        SetMacFilterEntry(list.data(), i, address);
    }
    ApplyMacFilterList(ctx, list.data(), kMacFilterListBytes);
}

void RestoreAccessPointRadio(AdapterContext* ctx) {
    ApplyTxPowerLevel(ctx, Stored(key::kTxPowerLevel, 0, 3, 0));
    int apMode = Stored(key::kApWirelessMode, 0, 4, 0);
    if (apMode == 0) apMode = g_bandCapability == 1 ? 4 : 1;
    ApplyApWirelessMode(ctx, apMode);
    ApplyApProtectionMode(ctx, Stored(key::kApProtectionMode, 0, 3, 0));
}

void RestoreRegion(AdapterContext* ctx) {
    ApplyMultiDomainCapability(ctx, Stored(key::kMultiDomainCapability, 0, 1, 0));
    ApplyRegion(ctx, Stored(key::kOperationRegion, 0, 254, 0));
    int region = QueryWL_OperationRegionCode(ctx);
    if (DeviceKind() == 1) KWConfig_SetWL_RegionAndSupportChannel(ctx, region);
}

// At most one empty slot: a real rate list; two or more: too thin to trust.
bool LooksLikeRateList(const uint8_t* rates) {
    int empty = 0;
    for (int i = 0; i < kDesiredRateBytes; ++i) empty += rates[i] == 0 ? 1 : 0;
    return empty <= 1;
}

void RestoreDesiredRates(AdapterContext* ctx) {
    std::u16string text = Trim(ReadSettingText(OperationMode(), key::kDesiredRate));
    uint8_t rates[kDesiredRateBytes] = {};
    if (!text.empty()) ParseHexBytes(LowBytes(text), rates, kDesiredRateBytes);
    if (!text.empty() && LooksLikeRateList(rates)) {
        ApplyDesiredRates(ctx, rates);
    } else {
        ApplySupportedRates(ctx);
    }
}

bool IsCckRate(int rate) { return rate == 2 || rate == 4 || rate == 11 || rate == 22; }

int AdjustAdHocRate(AdapterContext* ctx, int rate, int restoredWirelessMode) {
    if (restoredWirelessMode == kBandOfdm24 || restoredWirelessMode == 0) {
        int adhocMode = QueryWL_KWAdhocMode(ctx);
        if (adhocMode == 0 && !IsCckRate(rate)) return 22;
        if (adhocMode == 2 && IsCckRate(rate)) return 96;
    } else if (restoredWirelessMode == kBandOfdm5 && IsCckRate(rate)) {
        return 96;
    }
    return rate;
}

void RestoreFixedRate(AdapterContext* ctx, int restoredWirelessMode) {
    int rate = ReadSettingNumber(key::kStaTxRate);
    if (rate <= 0) return;
    rate &= 0xFF;  // kept as one byte
    if (CurrentNetworkType() == kNetTypeAdHoc) rate = AdjustAdHocRate(ctx, rate, restoredWirelessMode);
    uint8_t rates[kDesiredRateBytes] = {static_cast<uint8_t>(rate)};
    if (rates[0] != 0) ApplyDesiredRates(ctx, rates);
}

void StartStoredAuthentication(AdapterContext* ctx) {
    int auth = ReadSettingNumber(key::kAuthenticationMode);
    if (auth >= kAuthWpa && auth <= kAuthWpa2Psk) {
        clock::SleepMs(kAuthenticationDelayMs);
        StartAuthentication();
    } else if ((auth == kAuthOpen || auth == kAuthAutoSwitch) && ReadSettingNumber(key::kDot1xRc4Wep) == 1 &&
               ReadSettingNumber(key::kWepStatus) == kWepEnabled) {
        SetWL_AuthenticationMode(ctx, kAuthOpen);
        clock::SleepMs(kAuthenticationDelayMs);
        StartAuthentication();
    }
}

void RestoreSsid(AdapterContext* ctx) {
    std::u16string ssid = ReadSettingText(OperationMode(), key::kSsid);
    if (IsStation()) SendThrowAwaySsid(ctx);
    if (!IsStation() && ssid.empty()) ssid = GetText(u"MP_AP_Curr_Net_Setting_SSID_Default", u"WLAN_AP");
    std::string bytes = SsidBytes(ssid);
    ApplySsid(ctx, reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

}  // namespace

int BandCapability() { return g_bandCapability; }
bool BandSelectionSupported() { return g_bandSelection; }

void SendThrowAwaySsid(AdapterContext* ctx) {
    std::minstd_rand random(static_cast<unsigned>(clock::WallSeconds()));
    uint8_t ssid[32];
    for (auto& byte : ssid) byte = static_cast<uint8_t>(random() & 0xFF);
    SetWL_SSID(ctx, ssid, sizeof ssid);
}

int RestoreSettings(AdapterContext* ctx) {
    const bool station = IsStation();
    RestoreBand(ctx);
    int restoredWirelessMode = RestoreWirelessMode(ctx);
    int networkType = kNetTypeInfrastructure;
    if (station) {
        networkType = Stored(key::kNetworkType, 0, 4, kNetTypeInfrastructure);
        ApplyNetworkType(ctx, networkType);
    }
    ApplyAuthenticationMode(ctx, station ? Stored(key::kAuthenticationMode, 0, 7, kAuthAutoSwitch)
                                         : Stored(key::kAuthenticationMode, 0, 1, kAuthOpen));
    if (!station || networkType != kNetTypeInfrastructure) {
        ApplyChannel(ctx, Stored(key::kChannel, 0, RestoreChannelLimit(), RestoreChannelFallback()));
    }
    RestoreWepKeys(ctx);
    ApplyEncryptionStatus(ctx, Stored(key::kWepStatus, 0, 7, kWepDisabled));
    if (!station) {
        RestoreMacFilterList(ctx);
        ApplyMacFilterMode(ctx, Stored(key::kMacFilterMode, 0, 2, 0));
        RestoreAccessPointRadio(ctx);
    }
    ApplyPreambleMode(ctx, station ? 2 : Stored(key::kPreambleMode, 0, 2, 0));
    ApplyFragmentationThreshold(ctx, Stored(key::kFragmentationThreshold, 256, 2345, kFragmentationOff));
    ApplyRtsThreshold(ctx, Stored(key::kRtsThreshold, 0, 2346, kRtsOff));
    if (station) ApplyPowerSaveMode(ctx, Stored(key::kPowerSaveMode, 0, 2, 0));
    RestoreRegion(ctx);
    if (station) {
        RestoreDesiredRates(ctx);
        RestoreFixedRate(ctx, restoredWirelessMode);
        StartStoredAuthentication(ctx);
    }
    RestoreSsid(ctx);
    if (!station) ApplyHideSsid(ctx, Stored(key::kHideSsid, 0, 1, 0));
    ApplyPspXLinkMode(ctx, Stored(key::kPspXLinkMode, 0, 1, 0));
    ApplyWmmQosMode(ctx, Stored(key::kWmmQosMode, 0, 1, 0));
    return 0;
}

}  // namespace kw
