#include "src/config/program_config.h"

#include <utility>

#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kw {

namespace {

constexpr char16_t kMainInfo[] = u"MAIN_INFO";
constexpr char16_t kAdapterInformation[] = u"ADAPTER_INFORMATION";
constexpr size_t kTextRoom = 256;
constexpr size_t kReadableHardwareIds = 20;

ProgramConfig g_config;
ProgramPaths g_paths;

class ConfigReader {
public:
    explicit ConfigReader(std::string path) : path_(std::move(path)) {}

    void Text(std::u16string_view section, std::u16string_view key, std::u16string& value) const {
        value = ReadIniText(path_, section, key, value, kTextRoom);
    }
    void Int(std::u16string_view section, std::u16string_view key, int& value) const {
        value = ReadIniInt(path_, section, key, value);
    }

private:
    std::string path_;
};

void SwapIfReversed(int& minimum, int& maximum) {
    if (minimum > maximum) std::swap(minimum, maximum);
}

}  // namespace

ProgramPaths PathsOfProgram(const std::string& executablePath) {
    return {DirectoryOf(executablePath), StemOf(executablePath), ProgramNameOf(executablePath)};
}

ProgramConfig ReadProgramConfig(const std::string& path) {
    ProgramConfig c;
    ConfigReader r(path);
    const auto* m = kMainInfo;
    r.Text(m, u"Company_Abbrev", c.companyAbbrev);
    r.Int(m, u"Show_BSSID", c.showBssid);
    r.Int(m, u"Show_dBm", c.showDbm);
    r.Int(m, u"Main_Page_Update_Time_ms", c.mainPageUpdateTimeMs);
    r.Int(m, u"PseudoIBSSSupport", c.pseudoIbssSupport);
    r.Int(m, u"EnableAccessPoint", c.enableAccessPoint);
    r.Int(m, u"Enable_802.11d", c.enable80211d);
    r.Int(m, u"Enable_WEP256", c.enableWep256);
    r.Text(m, u"ML_SBCS_File", c.mlSbcsFile);
    r.Text(m, u"ML_Unicode_File", c.mlUnicodeFile);
    r.Int(m, u"TrayIconAnimation", c.trayIconAnimation);
    r.Int(m, u"WirelessMode", c.wirelessMode);
    r.Int(m, u"KWXOidMode", c.kwxOidMode);
    r.Int(m, u"DebugMode", c.debugMode);
    r.Int(m, u"WPAMode", c.wpaMode);
    r.Int(m, u"WPA2Mode", c.wpa2Mode);
    r.Int(m, u"RC4WEPSupport", c.rc4WepSupport);
    r.Int(m, u"TxRateAutoShowMax", c.txRateAutoShowMax);
    r.Int(m, u"TxRateShowMaxLimit", c.txRateShowMaxLimit);
    r.Text(m, u"Bridge_Program", c.bridgeProgram);
    r.Int(m, u"KWStrengthMin_dB", c.strengthMinDb);
    r.Int(m, u"KWStrengthMax_dB", c.strengthMaxDb);
    r.Int(m, u"KWQualityMin", c.qualityMin);
    r.Int(m, u"KWQualityMax", c.qualityMax);
    r.Int(m, u"IVTBlueToothSupport", c.ivtBluetoothSupport);
    SwapIfReversed(c.strengthMinDb, c.strengthMaxDb);
    SwapIfReversed(c.qualityMin, c.qualityMax);

    r.Text(kAdapterInformation, u"ReleaseChipMode", c.releaseChipMode);
    for (size_t slot = 0; slot < kReadableHardwareIds; ++slot) {
        r.Text(kAdapterInformation, FormatW("%s%zu", "MatchingDeviceId", slot), c.matchingDeviceIds[slot]);
        if (c.matchingDeviceIds[slot].empty()) break;
    }
    return c;
}

const ProgramConfig& Config() { return g_config; }
const ProgramPaths& Paths() { return g_paths; }

void InstallProgramConfig(const ProgramConfig& config, const ProgramPaths& paths) {
    g_config = config;
    g_paths = paths;
}

}  // namespace kw
