// The program configuration: the values of the configuration file beside the program, read once
// at start and only read afterwards.
#pragma once

#include <array>
#include <string>

namespace kw {

struct ProgramPaths {
    std::string directory;    // up to and including the last '/'
    std::string stem;         // up to and including the last '.' of the file name
    std::string programName;  // file name without its extension: the registry key's last component
};

constexpr size_t kHardwareIdSlots = 21;  // slot 20 always stays empty and ends the list

struct ProgramConfig {
    // MAIN_INFO
    std::u16string companyAbbrev = u"Talvo";
    int showBssid = 0;
    int showDbm = 0;
    int mainPageUpdateTimeMs = 1000;
    int pseudoIbssSupport = 1;
    int enableAccessPoint = 0;
    int enable80211d = 1;
    int enableWep256 = 0;
    std::u16string mlSbcsFile = u"KWMLa.INI";
    std::u16string mlUnicodeFile = u"KWMLu.INI";
    int trayIconAnimation = 1;
    int wirelessMode = 0;
    int kwxOidMode = 0;
    int debugMode = 0;
    int wpaMode = 0;
    int wpa2Mode = 0;
    int rc4WepSupport = 0;
    int txRateAutoShowMax = 0;
    int txRateShowMaxLimit = 0;
    std::u16string bridgeProgram = u"KWBrgApp.EXE";
    int strengthMinDb = -105;
    int strengthMaxDb = -40;
    int qualityMin = 0;
    int qualityMax = 100;
    int ivtBluetoothSupport = 0;
    // ADAPTER_INFORMATION
    std::u16string releaseChipMode = u"GENERAL";
    std::array<std::u16string, kHardwareIdSlots> matchingDeviceIds{};
};

ProgramPaths PathsOfProgram(const std::string& executablePath);
// Reads the file in the order of its tables, applying the swap and hardware-ID list rules; a
// missing file or key gives the defaults.
ProgramConfig ReadProgramConfig(const std::string& path);

// The process-wide record and paths; start-up fills them once.
const ProgramConfig& Config();
const ProgramPaths& Paths();
void InstallProgramConfig(const ProgramConfig& config, const ProgramPaths& paths);

}  // namespace kw
