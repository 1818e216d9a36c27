// The simulated world as a world file describes it: the system, the adapters plugged in (or not),
// the networks in range, the stations associated with the software access point and the user's
// personal certificates.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kw::sim {

using Mac = std::array<uint8_t, 6>;
using Bytes = std::vector<uint8_t>;

struct WorldSystem {
    int osVersionCode = 7;
    int isWindows95 = 0;
    int isWindows2000 = 1;
    int isAdmin = 1;
    int checkOsWinNt = 1;
    int fixWindisPnPBug = 0;
    int wzcStatus = 0;
    std::string bluetoothUtility;  // a command line; empty: none registered
};

struct WorldAdapter {
    std::string deviceName;   // 8-bit
    std::string description;  // 8-bit
    std::string instanceKey;  // four digits
    std::u16string matchingDeviceId;
    int chipType = 1;
    int bandCode = 3;
    Mac mac{};
    uint32_t driverVersion = 0x02063A21;
    bool present = true;
    bool classKeyAccess = true;
    Bytes channels;        // 2.4 GHz numbers, 255, 5 GHz numbers
    Bytes supportedRates;  // 16 bytes
    Bytes uiSupportTxRate;
    int adhocMode = 1;
    int operationMode = 0;
    std::vector<std::string> refused;  // function names that report failure
};

enum class Security { Open, Wep, WpaPsk, Wpa2Psk, MixedPsk, WpaEap, Wpa2Eap, MixedEap, WpaNone, Dot1xWep };
enum class Cipher { Tkip, Ccmp };

struct WorldNetwork {
    Bytes ssid;  // 0 to 32 bytes; empty: a hidden network
    Mac bssid{};
    uint32_t frequencyKhz = 2437000;
    int rssi = -60;
    int quality = 80;
    bool adhoc = false;
    Security security = Security::Open;
    Cipher cipher = Cipher::Tkip;
    std::string passphrase;  // 8-bit; 64 hexadecimal digits give the key itself
    Bytes wepKey;
    std::string user;
    std::string password;
    Bytes rates;  // 500 kbit/s units, basic-rate bit allowed
    bool rawElements = false;
    Bytes elements;  // as given, when rawElements
};

struct WorldCertificate {
    std::u16string subject;
    std::u16string issuer;
    std::u16string subjectAltName;
    bool exportable = true;
};

struct World {
    WorldSystem system;
    std::vector<WorldAdapter> adapters;
    std::vector<WorldNetwork> networks;
    std::vector<Mac> stations;
    std::vector<WorldCertificate> certificates;
};

// Limits of a world file.
inline constexpr size_t kMaxAdapters = 100;
inline constexpr size_t kMaxNetworks = 100;
inline constexpr size_t kMaxStations = 16;
inline constexpr size_t kMaxCertificates = 500;

// Security kinds that keep the link closed until the supplicant has installed keys.
bool NeedsKeys(Security security);
bool UsesEap(Security security);
bool OffersWpa(Security security);  // the vendor WPA element
bool OffersRsn(Security security);  // the RSN element
bool IsFiveGigahertz(uint32_t frequencyKhz);
int ChannelOfFrequency(uint32_t frequencyKhz);

}  // namespace kw::sim
