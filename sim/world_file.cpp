#include "sim/world_file.h"

#include <filesystem>
#include <initializer_list>
#include <optional>

#include "platform/ini.h"
#include "platform/text.h"
#include "sim/world_text.h"

namespace kw::sim {

namespace {

constexpr size_t kValueRoom = 16384;
// What ReadIniText gives for a missing key; a file value never starts with U+0001.
constexpr std::u16string_view kMissing = u"\u0001";

const Bytes kRates24 = {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24, 0x30, 0x48, 0x60, 0x6C};
const Bytes kRates5 = {0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C};

class WorldFileReader {
public:
    explicit WorldFileReader(const std::string& path) : file_(path) {}

    std::optional<std::u16string> Text(std::u16string_view section, std::u16string_view key) const {
        std::u16string value = file_.Text(section, key, kMissing, kValueRoom);
        if (value == kMissing) return std::nullopt;
        return value;
    }

    std::u16string TextOr(std::u16string_view section, std::u16string_view key, std::u16string_view fallback) const {
        auto value = Text(section, key);
        return value ? *value : std::u16string(fallback);
    }

    // 8-bit text in the system code page.
    std::string NarrowOr(std::u16string_view section, std::u16string_view key, const std::string& fallback) const {
        auto value = Text(section, key);
        return value ? ToCodePage(*value) : fallback;
    }

    long long Number(std::u16string_view section, std::u16string_view key, long long fallback, long long min,
                     long long max) const {
        auto text = Text(section, key);
        if (!text) return fallback;
        auto value = ParseWholeNumber(*text);
        return value && *value >= min && *value <= max ? *value : fallback;
    }

    bool Flag(std::u16string_view section, std::u16string_view key, bool fallback) const {
        return Number(section, key, fallback ? 1 : 0, 0, 1) != 0;
    }

    Mac MacOr(std::u16string_view section, std::u16string_view key, const Mac& fallback) const {
        auto text = Text(section, key);
        if (!text) return fallback;
        Bytes bytes = ParseHexByteText(*text, 7);
        if (bytes.size() != 6) return fallback;
        Mac mac;
        std::copy(bytes.begin(), bytes.end(), mac.begin());
        return mac;
    }

    Bytes HexOr(std::u16string_view section, std::u16string_view key, size_t maxBytes, const Bytes& fallback) const {
        auto text = Text(section, key);
        if (!text) return fallback;
        Bytes bytes = ParseHexByteText(*text, maxBytes);
        return bytes.empty() ? fallback : bytes;
    }

    bool HasAny(std::u16string_view section, std::initializer_list<std::u16string_view> keys) const {
        for (auto key : keys) {
            if (Text(section, key)) return true;
        }
        return false;
    }

private:
    CIniFile file_;
};

std::u16string SectionName(const char* prefix, size_t number) { return FromUtf8(Format("%s%zu", prefix, number)); }

Mac LocalMac(uint8_t kind, size_t number) {
    return {0x02, 0x4B, 0x57, kind, static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)};
}

Bytes DefaultChannels(int bandCode) {
    Bytes channels;
    if (bandCode != 2) {
        for (uint8_t c = 1; c <= 14; ++c) channels.push_back(c);
    }
    channels.push_back(255);
    if (bandCode != 3) {
        for (uint8_t c : {36, 40, 44, 48, 52, 56, 60, 64, 149, 153, 157, 161}) channels.push_back(c);
    }
    return channels;
}

Bytes SixteenBytes(Bytes bytes) {
    bytes.resize(16, 0);
    return bytes;
}

void ReadSystem(const WorldFileReader& in, WorldSystem& system) {
    const std::u16string_view s = u"System";
    system.osVersionCode = static_cast<int>(in.Number(s, u"OSVersionCode", 7, -1000000, 1000000));
    system.isWindows95 = in.Flag(s, u"IsWindows95", false);
    system.isWindows2000 = in.Flag(s, u"IsWindows2000", true);
    system.isAdmin = in.Flag(s, u"IsAdmin", true);
    system.checkOsWinNt = in.Flag(s, u"CheckOSWinNT", true);
    system.fixWindisPnPBug = in.Flag(s, u"FixWindisPnPBug", false);
    system.wzcStatus = static_cast<int>(in.Number(s, u"WZCStatus", 0, -1000000, 1000000));
    system.bluetoothUtility = ToUtf8(Trim(in.TextOr(s, u"BluetoothUtility", u"")));
}

bool IsFourDigits(const std::string& text) {
    if (text.size() != 4) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

WorldAdapter ReadAdapter(const WorldFileReader& in, const std::u16string& s, size_t number) {
    WorldAdapter a;
    a.deviceName = in.NarrowOr(s, u"DeviceName", Format("\\DEVICE\\KWSIM%zu", number));
    a.description = in.NarrowOr(s, u"Description", Format("Simulated wireless adapter %zu", number));
    a.instanceKey = in.NarrowOr(s, u"InstanceKey", "");
    if (!IsFourDigits(a.instanceKey)) a.instanceKey = Format("%04zu", number % 10000);
    a.matchingDeviceId = Trim(in.TextOr(s, u"MatchingDeviceId", u""));
    a.chipType = static_cast<int>(in.Number(s, u"ChipType", 1, 0, 255));
    a.bandCode = static_cast<int>(in.Number(s, u"BandCode", 3, 2, 4));
    a.mac = in.MacOr(s, u"MAC", LocalMac(0xA0, number));
    a.driverVersion = static_cast<uint32_t>(in.Number(s, u"DriverVersion", 0x02063A21, 0, 0xFFFFFFFELL));
    a.present = in.Flag(s, u"Present", true);
    a.classKeyAccess = in.Flag(s, u"ClassKeyAccess", true);
    a.channels = DefaultChannels(a.bandCode);
    if (auto text = in.Text(s, u"Channels")) {
        if (auto list = ParseNumberList(*text, 100); list && !list->empty()) a.channels = *list;
    }
    a.supportedRates = SixteenBytes(in.HexOr(s, u"SupportedRates", 16, a.bandCode == 2 ? kRates5 : kRates24));
    a.uiSupportTxRate = SixteenBytes(in.HexOr(s, u"UISupportTxRate", 16, a.supportedRates));
    a.adhocMode = static_cast<int>(in.Number(s, u"AdhocMode", 1, 0, 2));
    a.operationMode = static_cast<int>(in.Number(s, u"OperationMode", 0, 0, 1));
    a.refused = SplitWords(in.TextOr(s, u"Refuse", u""));
    return a;
}

std::optional<Security> SecurityNamed(const std::u16string& name) {
    static const std::pair<std::u16string_view, Security> kNames[] = {
        {u"open", Security::Open},
        {u"wep", Security::Wep},
        {u"wpa-psk", Security::WpaPsk},
        {u"wpa2-psk", Security::Wpa2Psk},
        {u"wpa-wpa2-psk", Security::MixedPsk},
        {u"wpa-eap", Security::WpaEap},
        {u"wpa2-eap", Security::Wpa2Eap},
        {u"wpa-wpa2-eap", Security::MixedEap},
        {u"wpa-none", Security::WpaNone},
        {u"8021x-wep", Security::Dot1xWep},
    };
    for (const auto& [text, security] : kNames) {
        if (EqualsNoCase(name, text)) return security;
    }
    return std::nullopt;
}

Cipher DefaultCipher(Security security) {
    switch (security) {
        case Security::Wpa2Psk:
        case Security::Wpa2Eap:
        case Security::MixedPsk:
        case Security::MixedEap: return Cipher::Ccmp;
        default: return Cipher::Tkip;
    }
}

bool IsUsableFrequency(long long khz) {
    return (khz >= 2412000 && khz <= 2484000) || (khz >= 4900000 && khz < 6000000);
}

WorldNetwork ReadNetwork(const WorldFileReader& in, const std::u16string& s, size_t number) {
    WorldNetwork n;
    std::string ssid = in.NarrowOr(s, u"SSID", Format("SimNet%zu", number));
    if (ssid.size() > 32) ssid.resize(32);
    n.ssid.assign(ssid.begin(), ssid.end());
    n.bssid = in.MacOr(s, u"BSSID", LocalMac(0x01, number));
    long long khz = in.Number(s, u"Frequency", 2437000, 0, 100000000);
    n.frequencyKhz = static_cast<uint32_t>(IsUsableFrequency(khz) ? khz : 2437000);
    n.rssi = static_cast<int>(in.Number(s, u"RSSI", -60, -120, 0));
    n.quality = static_cast<int>(in.Number(s, u"Quality", 80, 0, 100));
    n.adhoc = EqualsNoCase(Trim(in.TextOr(s, u"Mode", u"")), u"adhoc");
    n.security = SecurityNamed(Trim(in.TextOr(s, u"Security", u""))).value_or(Security::Open);
    n.cipher = DefaultCipher(n.security);
    std::u16string cipher = Trim(in.TextOr(s, u"Cipher", u""));
    if (EqualsNoCase(cipher, u"tkip")) n.cipher = Cipher::Tkip;
    if (EqualsNoCase(cipher, u"ccmp")) n.cipher = Cipher::Ccmp;
    n.passphrase = in.NarrowOr(s, u"Passphrase", "");
    n.wepKey = in.HexOr(s, u"WEPKey", 29, {});
    n.user = in.NarrowOr(s, u"User", "");
    n.password = in.NarrowOr(s, u"Password", "");
    n.rates = in.HexOr(s, u"Rates", 16, IsFiveGigahertz(n.frequencyKhz) ? kRates5 : kRates24);
    if (auto text = in.Text(s, u"IEs")) {
        n.rawElements = true;
        n.elements = ParseHexByteText(*text, 2048);
    }
    return n;
}

WorldCertificate ReadCertificate(const WorldFileReader& in, const std::u16string& s, size_t number) {
    WorldCertificate c;
    c.subject = in.TextOr(s, u"Subject", FromUtf8(Format("CN=Certificate %zu", number))).substr(0, 255);
    c.issuer = in.TextOr(s, u"Issuer", u"CN=Simulated Root CA").substr(0, 255);
    c.subjectAltName = in.TextOr(s, u"SubjectAltName", u"").substr(0, 255);
    c.exportable = in.Flag(s, u"Exportable", true);
    return c;
}

}  // namespace

bool ReadWorldFile(const std::string& path, World& world) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    WorldFileReader in(path);
    world = World{};
    ReadSystem(in, world.system);
    for (size_t i = 1; i <= kMaxAdapters; ++i) {
        std::u16string s = SectionName("Adapter", i);
        if (!in.HasAny(s, {u"DeviceName", u"Description", u"InstanceKey", u"MatchingDeviceId", u"ChipType", u"BandCode",
                           u"MAC", u"DriverVersion", u"Present", u"ClassKeyAccess", u"Channels", u"SupportedRates",
                           u"UISupportTxRate", u"AdhocMode", u"OperationMode", u"Refuse"})) {
            break;
        }
        world.adapters.push_back(ReadAdapter(in, s, i));
    }
    for (size_t i = 1; i <= kMaxNetworks; ++i) {
        std::u16string s = SectionName("Network", i);
        if (!in.HasAny(s, {u"SSID", u"BSSID", u"Frequency", u"RSSI", u"Quality", u"Mode", u"Security", u"Cipher",
                           u"Passphrase", u"WEPKey", u"User", u"Password", u"Rates", u"IEs"})) {
            break;
        }
        world.networks.push_back(ReadNetwork(in, s, i));
    }
    for (size_t i = 1; i <= kMaxStations; ++i) {
        std::u16string s = SectionName("Station", i);
        if (!in.HasAny(s, {u"MAC"})) break;
        world.stations.push_back(in.MacOr(s, u"MAC", LocalMac(0x5A, i)));
    }
    for (size_t i = 1; i <= kMaxCertificates; ++i) {
        std::u16string s = SectionName("Certificate", i);
        if (!in.HasAny(s, {u"Subject", u"Issuer", u"SubjectAltName", u"Exportable"})) break;
        world.certificates.push_back(ReadCertificate(in, s, i));
    }
    return true;
}

}  // namespace kw::sim
