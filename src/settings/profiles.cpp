#include "src/settings/profiles.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "platform/registry.h"
#include "platform/text.h"
#include "src/device/kwwlan.h"
#include "src/security/authentication.h"
#include "src/settings/app_key.h"
#include "src/settings/appliers.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

namespace {

// User-interface thread only.
std::u16string g_cursor;

std::u16string ProfileKeyPath(std::u16string_view name) { return AppKeyPath() + u"\\" + kProfileKeyPrefix + std::u16string(name); }

std::u16string ReadLink(std::u16string_view keyPath) {
    return reg::ReadString(reg::Hive::CurrentUser, keyPath, kProfileLinkValue).value_or(u"");
}

long WriteLink(std::u16string_view keyPath, std::u16string_view next) {
    return reg::WriteString(reg::Hive::CurrentUser, keyPath, kProfileLinkValue, next);
}

// The last profile of a list has no link value at all; creating its key is part of removing it.
long CreateWithoutLink(std::u16string_view name) {
    reg::Key key;
    long result = reg::Key::Create(reg::Hive::CurrentUser, ProfileKeyPath(name), key);
    if (result != reg::kSuccess) return result;
    key.DeleteValue(kProfileLinkValue);
    return reg::kSuccess;
}

int IndexOf(const std::vector<std::u16string>& names, std::u16string_view name) {
    std::u16string wanted = NormalProfileName(name);
    for (size_t i = 0; i < names.size(); ++i) {
        if (NormalProfileName(names[i]) == wanted) return static_cast<int>(i);
    }
    return -1;
}

int InRangeOr(int value, int low, int high, int fallback) { return value >= low && value <= high ? value : fallback; }

int StoredInRange(std::u16string_view key, int low, int high, int fallback) {
    return InRangeOr(ReadSettingNumber(key), low, high, fallback);
}

std::u16string StoredText(std::u16string_view key) { return ReadSettingText(OperationMode(), key); }

void WriteNumber(std::u16string_view key, int value) {
    WriteSettingText(OperationMode(), key, FormatW("%d", value));
}

}  // namespace

std::u16string NormalProfileName(std::u16string_view name) { return ToUpperAscii(Trim(name)); }

bool ProfileNameStorable(std::u16string_view name) {
    if (Trim(name).empty() || name.size() > kMaxProfileNameLength) return false;
    return std::none_of(name.begin(), name.end(), [](char16_t c) { return c == u'\\' || c < 0x20 || c == 0x7F; });
}

std::vector<std::u16string> ProfileNames() {
    std::vector<std::u16string> names;
    std::set<std::u16string> seen;
    std::u16string name = ReadLink(AppKeyPath());
    while (!name.empty()) {
        std::u16string path = ProfileKeyPath(name);
        if (!seen.insert(NormalProfileName(name)).second || !reg::KeyExists(reg::Hive::CurrentUser, path)) break;
        names.push_back(name);
        name = ReadLink(path);
    }
    return names;
}

int FindProfile(std::u16string_view name) {
    std::vector<std::u16string> names = ProfileNames();
    int index = IndexOf(names, name);
    if (index < 0) return -1;
    g_cursor = names[static_cast<size_t>(index)];
    return 0;
}

int AddProfile(std::u16string_view name) {
    if (!ProfileNameStorable(name) || FindProfile(name) == 0) return -1;
    std::vector<std::u16string> names = ProfileNames();
    // The key first: a link never names a profile that is not there.
    if (CreateWithoutLink(name) != reg::kSuccess) return -1;
    std::u16string previous = names.empty() ? AppKeyPath() : ProfileKeyPath(names.back());
    if (WriteLink(previous, name) != reg::kSuccess) return -1;
    g_cursor = std::u16string(name);
    return 0;
}

int DeleteProfile(std::u16string_view name) {
    std::vector<std::u16string> names = ProfileNames();
    int index = IndexOf(names, name);
    if (index < 0) return -1;
    size_t at = static_cast<size_t>(index);
    // The next name as the walk saw it, so a loop or a dangling link ends here.
    std::u16string next = at + 1 < names.size() ? names[at + 1] : u"";
    std::u16string previous = at == 0 ? AppKeyPath() : ProfileKeyPath(names[at - 1]);
    WriteLink(previous, next);
    // The key under the name it was stored with: names that differ in blanks name other keys.
    reg::Key appKey;
    if (reg::Key::Open(reg::Hive::CurrentUser, AppKeyPath(), reg::Access::Full, appKey) == reg::kSuccess) {
        appKey.DeleteTree(kProfileKeyPrefix + names[at]);
    }
    if (NormalProfileName(g_cursor) == NormalProfileName(names[at])) g_cursor.clear();
    return 0;
}

const std::u16string& CurrentProfile() { return g_cursor; }

int ReadProfile(ProfileRecord& record) {
    if (g_cursor.empty()) return -1;
    reg::Key key;
    if (reg::Key::Open(reg::Hive::CurrentUser, ProfileKeyPath(g_cursor), reg::Access::Read, key) != reg::kSuccess) return -1;
    auto number = [&key](std::u16string_view name) { return static_cast<int>(key.ReadDword(name).value_or(0xFFFFFFFFu)); };
    auto text = [&key](std::u16string_view name) { return key.ReadString(name).value_or(u""); };
    record.ssid = text(key::kSsid);
    record.wirelessMode = number(key::kWirelessMode);
    record.channel = number(key::kChannel);
    record.networkType = number(key::kNetworkType);
    record.desiredRates = text(key::kDesiredRate);
    record.authenticationMode = number(key::kAuthenticationMode);
    record.encryptionStatus = number(key::kWepStatus);
    record.defaultKeyIndex = number(key::kWepDefaultKeyId);
    record.keyLengthBits = number(key::kWepKeyLength);
    record.keyFormat = number(key::kWepKeyFormat);
    for (int i = 0; i < kWepKeyCount; ++i) record.wepKeys[static_cast<size_t>(i)] = text(WepKeyRecordName(record.keyLengthBits, i));
    record.powerSaveMode = number(key::kPowerSaveMode);
    record.fragmentationThreshold = number(key::kFragmentationThreshold);
    record.rtsThreshold = number(key::kRtsThreshold);
    record.preambleMode = number(key::kPreambleMode);
    record.dot1xProtocol = number(key::kDot1xProtocol);
    record.dot1xPassphrase = text(key::kDot1xPassphrase);
    record.dot1xPassphraseFormat = number(key::kDot1xPassphraseFormat);
    record.dot1xUsername = text(key::kDot1xUsername);
    record.dot1xPassword = text(key::kDot1xPassword);
    record.dot1xPhase2Auth = text(key::kDot1xPhase2Auth);
    record.dot1xValidateServerCertificate = number(key::kDot1xValidateServerCertificate);
    record.dot1xCertSubject = text(key::kDot1xCertSubject);
    record.dot1xCertIssuer = text(key::kDot1xCertIssuer);
    record.dot1xRc4Wep = number(key::kDot1xRc4Wep);
    return 0;
}

int WriteProfile(const ProfileRecord& record) {
    if (g_cursor.empty()) return -1;
    reg::Key key;
    if (reg::Key::Create(reg::Hive::CurrentUser, ProfileKeyPath(g_cursor), key) != reg::kSuccess) return -1;
    long failed = 0;
    auto number = [&](std::u16string_view name, int value) { failed |= key.WriteDword(name, static_cast<uint32_t>(value)); };
    // An empty text keeps what the profile holds.
    auto text = [&](std::u16string_view name, const std::u16string& value) {
        if (!value.empty()) failed |= key.WriteString(name, value);
    };
    text(key::kSsid, record.ssid);
    number(key::kWirelessMode, record.wirelessMode);
    number(key::kChannel, record.channel);
    number(key::kNetworkType, record.networkType);
    text(key::kDesiredRate, record.desiredRates);
    number(key::kAuthenticationMode, record.authenticationMode);
    number(key::kWepStatus, record.encryptionStatus);
    for (int i = 0; i < kWepKeyCount; ++i) text(WepKeyRecordName(record.keyLengthBits, i), record.wepKeys[static_cast<size_t>(i)]);
    number(key::kWepDefaultKeyId, record.defaultKeyIndex);
    number(key::kWepKeyLength, record.keyLengthBits);
    number(key::kWepKeyFormat, record.keyFormat);
    number(key::kPowerSaveMode, record.powerSaveMode);
    number(key::kFragmentationThreshold, record.fragmentationThreshold);
    number(key::kRtsThreshold, record.rtsThreshold);
    number(key::kPreambleMode, record.preambleMode);
    number(key::kDot1xProtocol, record.dot1xProtocol);
    text(key::kDot1xPassphrase, record.dot1xPassphrase);
    number(key::kDot1xPassphraseFormat, record.dot1xPassphraseFormat);
    text(key::kDot1xUsername, record.dot1xUsername);
    text(key::kDot1xPassword, record.dot1xPassword);
    text(key::kDot1xPhase2Auth, record.dot1xPhase2Auth);
    number(key::kDot1xValidateServerCertificate, record.dot1xValidateServerCertificate);
    text(key::kDot1xCertSubject, record.dot1xCertSubject);
    text(key::kDot1xCertIssuer, record.dot1xCertIssuer);
    number(key::kDot1xRc4Wep, record.dot1xRc4Wep);
    return failed == 0 ? 0 : -1;
}

void CaptureProfile(ProfileRecord& record) {
    record.networkType = StoredInRange(key::kNetworkType, 0, 4, kNetTypeInfrastructure);
    record.wirelessMode = std::max(ReadSettingNumber(key::kWirelessMode), 0);
    record.channel = StoredInRange(key::kChannel, 1, 99, 6);
    std::u16string ssid = StoredText(key::kSsid);
    record.ssid = ssid.substr(0, 32);
    record.keyLengthBits = StoredInRange(key::kWepKeyLength, 64, 256, 64);
    record.keyFormat = StoredInRange(key::kWepKeyFormat, 0, 1, 0);
    record.defaultKeyIndex = StoredInRange(key::kWepDefaultKeyId, 0, 3, 0);
    int lengthIndex = std::max(WepLengthIndexOfBits(record.keyLengthBits), 0);
    for (int i = 0; i < kWepKeyCount; ++i) {
        uint8_t bytes[kMaxWepKeyBytes] = {};
        ReadWepKeyRecord(record.keyLengthBits, i, bytes, sizeof bytes);
        record.wepKeys[static_cast<size_t>(i)] = FormatHexBytes(bytes, static_cast<size_t>(WepKeyBytes(lengthIndex)));
    }
    record.authenticationMode = StoredInRange(key::kAuthenticationMode, 0, 7, kAuthAutoSwitch);
    record.fragmentationThreshold = StoredInRange(key::kFragmentationThreshold, 256, 2345, kFragmentationOff);
    record.rtsThreshold = StoredInRange(key::kRtsThreshold, 0, 2346, kRtsOff);
    record.encryptionStatus = StoredInRange(key::kWepStatus, 0, 7, kWepDisabled);
    record.powerSaveMode = StoredInRange(key::kPowerSaveMode, 0, 2, 0);
    record.dot1xProtocol = ReadSettingNumber(key::kDot1xProtocol);
    record.dot1xPassphrase = StoredText(key::kDot1xPassphrase);
    record.dot1xPassphraseFormat = ReadSettingNumber(key::kDot1xPassphraseFormat);
    record.dot1xUsername = StoredText(key::kDot1xUsername);
    record.dot1xPassword = StoredText(key::kDot1xPassword);
    record.dot1xPhase2Auth = StoredText(key::kDot1xPhase2Auth);
    record.dot1xValidateServerCertificate = ReadSettingNumber(key::kDot1xValidateServerCertificate);
    record.dot1xCertSubject = StoredText(key::kDot1xCertSubject);
    record.dot1xCertIssuer = StoredText(key::kDot1xCertIssuer);
    record.dot1xRc4Wep = ReadSettingNumber(key::kDot1xRc4Wep);
}

void ApplyProfile(AdapterContext* ctx, const ProfileRecord& record) {
    ApplyPowerSaveMode(ctx, record.powerSaveMode);
    ApplyFragmentationThreshold(ctx, record.fragmentationThreshold);
    ApplyRtsThreshold(ctx, record.rtsThreshold);
    ApplyAuthenticationMode(ctx, record.authenticationMode);

    int lengthIndex = WepLengthIndexOfBits(record.keyLengthBits);
    if (lengthIndex < 0) lengthIndex = 0;
    for (int i = 0; i < kWepKeyCount; ++i) {
        uint8_t bytes[kMaxWepKeyBytes] = {};
        ParseHexBytes(LowBytes(record.wepKeys[static_cast<size_t>(i)]), bytes, static_cast<size_t>(WepKeyBytes(lengthIndex)));
        WriteWepKey(ctx, i, lengthIndex, i == record.defaultKeyIndex ? 1 : 0, bytes);
    }

    ApplyEncryptionStatus(ctx, record.encryptionStatus);
    ApplyWirelessMode(ctx, record.wirelessMode);
    ApplyChannel(ctx, record.channel);
    ApplyNetworkType(ctx, record.networkType);

    SendThrowAwaySsid(ctx);
    std::string ssid = SsidBytes(Trim(record.ssid));
    ApplySsid(ctx, reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()));

    WriteNumber(key::kDot1xProtocol, record.dot1xProtocol);
    WriteNumber(key::kDot1xPassphraseFormat, record.dot1xPassphraseFormat);
    WriteNumber(key::kDot1xValidateServerCertificate, record.dot1xValidateServerCertificate);
    WriteNumber(key::kDot1xRc4Wep, record.dot1xRc4Wep);
    int mode = OperationMode();
    WriteSettingText(mode, key::kDot1xPassphrase, record.dot1xPassphrase);
    WriteSettingText(mode, key::kDot1xUsername, record.dot1xUsername);
    WriteSettingText(mode, key::kDot1xPassword, record.dot1xPassword);
    WriteSettingText(mode, key::kDot1xPhase2Auth, record.dot1xPhase2Auth);
    WriteSettingText(mode, key::kDot1xCertSubject, record.dot1xCertSubject);
    WriteSettingText(mode, key::kDot1xCertIssuer, record.dot1xCertIssuer);

    int auth = record.authenticationMode;
    if (auth >= kAuthWpa && auth <= kAuthWpa2Psk) {
        StartAuthentication();
    } else if ((auth == kAuthOpen || auth == kAuthAutoSwitch) && record.encryptionStatus == kWepEnabled && record.dot1xRc4Wep == 1) {
        SetWL_AuthenticationMode(ctx, kAuthOpen);
        StartAuthentication();
    }
}

}  // namespace kw
