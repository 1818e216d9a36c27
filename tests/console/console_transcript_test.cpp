// The built program driven through its console: a script on standard input, the printed lines,
// the library call log and the registry hive it leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/registry.h"
#include "platform/text.h"
#include "tests/support/child_records.h"
#include "tests/support/test_env.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using kw::reg::Hive;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class ConsoleTranscriptTest : public kwtest::IsolatedTest {
protected:
    // Runs KWConfig on the script in the test's state root; world: a world file's text, or empty
    // for the default world. Returns the printed lines.
    std::vector<std::string> RunProgram(const std::string& script, const std::string& world = "") {
        std::string scriptFile = root_.Write("script.txt", script);
        std::string worldSetting = "-u KWWLAN_WORLD";
        if (!world.empty()) worldSetting = "KWWLAN_WORLD=" + root_.Write("world.INI", world);
        std::string command = "env " + worldSetting + " KWCONFIG_ROOT=" + root_.path() + " KWWLAN_LOG=" +
                              root_.File("calls.log") + " " + KW_TEST_BINARY_DIR + "/KWConfig < " + scriptFile + " > " +
                              root_.File("out.txt") + " 2> " + root_.File("err.txt");
        status = std::system(command.c_str());
        errors = kwtest::ReadFileBytes(root_.File("err.txt"));
        kw::reg::ResetForTests();
        return Lines(kwtest::ReadFileBytes(root_.File("out.txt")));
    }
    // Runs a copy of the program in a folder of the test's own, beside a configuration that offers
    // the access point and a recording stand-in for the bridge program.
    std::vector<std::string> RunAccessPointCopy(const std::string& script) {
        std::string folder = root_.File("program");
        std::filesystem::create_directory(folder);
        for (const char* file : {"KWConfig", "KWMLa.INI", "KWMLu.INI", "DefaultWorld.INI"}) {
            std::filesystem::copy_file(std::string(KW_TEST_BINARY_DIR) + "/" + file, folder + "/" + file);
        }
        std::filesystem::copy_file(KW_RECORD_ARGS_PROGRAM, folder + "/KWBrgApp.EXE");
        std::string config = kwtest::ReadFileBytes(std::string(KW_TEST_BINARY_DIR) + "/KWConfig.INI");
        config.replace(config.find("EnableAccessPoint=0"), 19, "EnableAccessPoint=1");
        root_.Write("program/KWConfig.INI", config);
        std::string scriptFile = root_.Write("script.txt", script);
        std::string command = "env -u KWWLAN_WORLD KW_RECORD_WAIT_MS=0 KW_RECORD_ARGS=" + root_.File("children.txt") +
                              " KWCONFIG_ROOT=" + root_.path() + " KWWLAN_LOG=" + root_.File("calls.log") + " " + folder +
                              "/KWConfig < " + scriptFile + " > " + root_.File("out.txt") + " 2> " + root_.File("err.txt");
        status = std::system(command.c_str());
        errors = kwtest::ReadFileBytes(root_.File("err.txt"));
        kw::reg::ResetForTests();
        return Lines(kwtest::ReadFileBytes(root_.File("out.txt")));
    }
    std::vector<std::string> CallLog() const { return Lines(kwtest::ReadFileBytes(root_.File("calls.log"))); }

    int status = -1;
    std::string errors;
};

const std::string kTip = " tip=\"KWWlan -- Wireless LAN Configuration Tool\"";
const std::string kCaption = "\"Vivurori DOD Ivirodevovove Dede Viva   \"";

TEST_F(ConsoleTranscriptTest, StartOpenScanClickAndExitOnTheDefaultWorld) {
    auto lines = RunProgram(R"(# hidden until the tray icon is used
get 1243
tray click
tray dblclick
tick 5
items 1243
select 1243 2
get 1182
get 1188
get 1189
get 1190
get 1191
get 1180
tick 9
get 1182
get 1190
get 1195
get 1196
tray menu 32773
tick
)");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(errors, "");
    EXPECT_THAT(lines, ElementsAreArray<std::string>({
                           "tray: add icon=189" + kTip,
                           "tray: delete",
                           "tray: add icon=193" + kTip,
                           "window: open " + kCaption,
                           "1243 listview \"SSID | Strength\" disabled sel=-1",
                           "tray: modify icon=189",
                           "0: Talvo-Guest | 87%",
                           "1: CafeCorner | 64%",
                           "2: HomeWPA | 76%",
                           "3: HomeWPA2 | 72%",
                           "4: OfficeMixed | 58%",
                           "5: CorpNet | 53%",
                           "6: LanParty | 47%",
                           "7:  | 36%",
                           "8: LabDot1x | 43%",
                           "9: AdHocWPA | 40%",
                           "1182 group \"Selected Network Information\"",
                           "1188 label \"11\"",
                           "1189 label \"Infrastructure\"",
                           "1190 label \"On\"",
                           "1191 label \"02 1A 00 00 00 03\"",
                           "1180 button \"Connect this site\"",
                           "tray: modify icon=192",
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "1182 group \"Current Network Information\"",
                           "1190 label \"Talvo-Guest\"",
                           "1195 label \"Connected to Access Point.\"",
                           "1196 label \"87%\"",
                           "tray: menu 32771 \"Open Utility Window\" default | 32773 \"Exit KWConfig\" -> 32773",
                           "window: close " + kCaption,
                           "tray: delete",
                       }));
    // Exit gave the adapter back to the service.
    auto log = CallLog();
    ASSERT_GE(log.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(log.end() - 5, log.end()),
                ElementsAre("SetWL_KWUseKWXOidState(0) = 0", "KW_GetOSVersion() = 7", "SetWL_WZCStatus(0) = 0",
                            "KW_GetOSVersion() = 7", "QueryWL_CheckWZCStatus() = 0"));
    // The settings stay in the hive: the requests cleared, the restored station settings stored.
    const std::u16string app = u"Software\\Talvo\\KWConfig";
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, app, u"KW7100\\KWWLanExit"), 0u);
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, app, u"KW7100\\KWWLanWakeUp"), 0u);
    const std::u16string station = app + u"\\LastSetting\\KW7100\\0007\\Station";
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"NetworkType"), u"1");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"WEPStatus"), u"1");
}

TEST_F(ConsoleTranscriptTest, SimCommandsUnplugPlugAndHandTheAdapterToTheService) {
    auto lines = RunProgram(R"(tick 6
get 1195
sim remove 1
tick
sim insert 1
tick
get 1181
sim wzc 1
tick 6
sim remove 9
sim wzc x
sim
quit
)",
                            "[Adapter1]\nDeviceName=\\DEVICE\\KWTEST1\nDescription=Test Adapter\nInstanceKey=0007\n"
                            "MatchingDeviceId=USB\\VID_6B57&PID_7100\n[Network1]\nSSID=Open1\n");
    EXPECT_EQ(status, 0);
    EXPECT_THAT(lines, ElementsAreArray<std::string>({
                           "tray: add icon=189" + kTip,
                           "tray: delete",
                           "tray: add icon=193" + kTip,
                           "window: open " + kCaption,
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "1195 label \"Connected to Access Point.\"",
                           "sim: 1: Test Adapter (unplugged)",
                           "tray: delete",  // removed: gone within one tick
                           "sim: 1: Test Adapter (plugged in)",
                           "tray: add icon=193" + kTip,
                           "1181 combo \"Test Adapter\" sel=0",
                           // The service takes the adapter; handing it the saved status (0) lets go
                           // of it again, so the next tick restores and the survey shows the link.
                           "tray: modify icon=174",
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "error: no adapter 9: the world's adapters are 1 to 1 (sim lists them)",
                           "error: not a number: x",
                           "sim: 1: Test Adapter (plugged in)",
                           "window: close " + kCaption,
                           "tray: delete",
                       }));
}

// The lines a join script asks for (get 11xx) and the questions the program asked.
std::vector<std::string> Picked(const std::vector<std::string>& lines) {
    std::vector<std::string> picked;
    for (const auto& line : lines) {
        if (line.rfind("11", 0) == 0 || line.rfind("messagebox:", 0) == 0) picked.push_back(line);
    }
    return picked;
}

size_t CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    size_t n = 0;
    for (const auto& line : lines) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

const std::string kQuestionWep = "messagebox: \"Use Previous WEP Setting\" \"You have selected to connect to the WEP encryption "
                                 "network.\\nDo you want to use the previous WEP setting?\\n\" [yes/no] -> ";
const std::string kQuestionWpa2 = "messagebox: \"Use Previous WPA2 Setting\" \"You have selected to connect to the WPA2 encryption "
                                  "network.\\nDo you want to use the previous WPA2 setting?\\n\" [yes/no] -> ";
const std::string kConnected = "1195 label \"Connected to Access Point.\"";
const std::string kKeyInstalled = "WriteOid(0xFF12FF1D";

// Open, WEP (key typed into the WEP key dialog), WPA2-PSK (pass phrase typed into the WPA dialog)
// and 802.1X WEP (account typed through both dialogs), one after the other; then a restart.
TEST_F(ConsoleTranscriptTest, JoinEachKindOfNetworkByDoubleClick) {
    auto lines = RunProgram(R"(tick 6
dblclick 1243 0
tick 2
get 1190
get 1192
get 1195
answer no
dblclick 1243 1
click 1203
click 1208
click 1094
type 1046 1234567890123
select 1202 1
click 1203
close
tick 2
get 1190
get 1192
get 1195
answer no
dblclick 1243 3
click 1510
type 1521 correct horse battery
click 1510
close
tick 3
get 1190
get 1192
get 1195
answer no
dblclick 1243 8
click 1203
click 1212
answer no
click 1203
click 1510
select 1520 1
type 1281 bob
type 1027 Builder22
click 1510
close
close
tick 3
get 1190
get 1192
get 1195
)");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(errors, "");
    EXPECT_THAT(Picked(lines), ElementsAreArray<std::string>({
                                   "1190 label \"Talvo-Guest\"", "1192 label \"NONE\"", kConnected,
                                   kQuestionWep + "no", "1190 label \"CafeCorner\"", "1192 label \"WEP\"", kConnected,
                                   kQuestionWpa2 + "no", "1190 label \"HomeWPA2\"", "1192 label \"AES\"", kConnected,
                                   kQuestionWep + "no",
                                   "messagebox: \"Use Previous 802.1x Setting\" \"You have selected to connect to the 802.1x "
                                   "authentication network.\\nDo you want to use the previous 802.1x setting?\\n\" [yes/no] -> no",
                                   "1190 label \"LabDot1x\"", "1192 label \"WEP\"", kConnected,
                               }));
    auto log = CallLog();
    // The pass phrase typed for HomeWPA2 gave the keys the access point expects: pairwise and group.
    EXPECT_GE(CountPrefix(log, kKeyInstalled), 2u);
    // The typed WEP key went to the driver as key #2, the default one.
    EXPECT_THAT(log, ::testing::Contains("SetWL_WriteKey(1, 1, 1, [31 32 33 34 35 36 37 38 39 30 31 32 33]) = 0"));
    const std::u16string station = u"Software\\Talvo\\KWConfig\\LastSetting\\KW7100\\0007\\Station";
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"SSID"), u"LabDot1x");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"Dot1xRC4WEP"), u"1");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"Dot1xProtocol"), u"1");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"Dot1xUsername"), u"bob");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"WEPKeyLength"), u"128");
    // The last WPA dialog was applied without retyping the pass phrase.
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"Dot1xPassphrase"), u"");

    // The choices survive a restart: the restore joins the last network again.
    lines = RunProgram("tick 6\nget 1190\nget 1192\nget 1195\n");
    EXPECT_THAT(Picked(lines), ElementsAre("1190 label \"LabDot1x\"", "1192 label \"WEP\"", kConnected));
}

// Keeping settings that do not fit the network: the WEP link stays down, and WPA installs no key.
TEST_F(ConsoleTranscriptTest, KeepingWrongSettingsDoesNotBringTheLinkUp) {
    // Twelve periods: with the right pass phrase the keys are in after one.
    auto lines = RunProgram("tick 6\nanswer yes\ndblclick 1243 1\ntick 3\nget 1195\nanswer yes\ndblclick 1243 2\ntick 12\nget 1192\n");
    EXPECT_EQ(status, 0);
    EXPECT_THAT(Picked(lines), ElementsAre(kQuestionWep + "yes", ::testing::StartsWith("1195 label \"Connecting..."),
                                           "messagebox: \"Use Previous WPA Setting\" \"You have selected to connect to the WPA "
                                           "encryption network.\\nDo you want to use the previous WPA setting?\\n\" [yes/no] -> yes",
                                           "1192 label \"TKIP\""));
    EXPECT_EQ(CountPrefix(CallLog(), kKeyInstalled), 0u);
}

TEST_F(ConsoleTranscriptTest, StationSettingsProfilesInformationAndALanguageThatStays) {
    auto lines = RunProgram(R"(tick 6
tray dblclick
click 1180
click 1020
select 1017 0
click 1235
type 1016 LanParty
select 1014 10
select 1015 4
select 1500 0
select 1294 1
click 1020
get 1020
get 1014
get 1015
type 1213 Party
click 1506
type 1213 Home
click 1506
items 1213
type 1213 PARTY
click 1308
type 1213 home
click 1295
items 1213
click 1222
get 1230
get 1232
get 1229
close
click 1005
select 1503 1
get 1503
get 1501
close
get 1017
get 1020
get 1204
close
get 1430
tray rclick
tick 3
get 1195
)");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(errors, "");
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_THAT(lines[15], ::testing::MatchesRegex(R"(1232 label "2\.22\.0\.0 - [A-Z][a-z][a-z] [ 0-9][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}")"));
    lines[15] = "<utility version>";
    const std::string german = "\"Vivurori DOD Konfigurationsprogramm   \"";
    EXPECT_THAT(lines, ElementsAreArray<std::string>({
                           "tray: add icon=189" + kTip,
                           "tray: delete",
                           "tray: add icon=193" + kTip,
                           "window: open " + kCaption,
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "window: open \"More Setting...  \"",
                           "1020 button \"Change\"",
                           "1014 combo \"11\" disabled sel=10",
                           "1015 combo \"11 Mbps\" disabled sel=4",
                           "0: Party",
                           "1: Home",
                           "0: Party",
                           "window: open \"Information...  \"",
                           "1230 label \"2.6.1021.2003\"",
                           "<utility version>",
                           "1229 label \"02 6B 57 71 00 01\"",
                           "window: close \"Information...  \"",
                           "window: open \"Advanced Setting...\"",
                           "tray: modify tip=\"KWWlan -- WLAN-Konfigurationsprogramm\"",
                           "1503 combo \"Deutsch\" sel=1",
                           "1501 group \"Benutzeroberfläche\"",
                           "window: close \"Erweiterte Einstellungen...\"",
                           "1017 combo \"Ad-hoc\" disabled sel=0",
                           "1020 button \"Ändern\"",
                           "1204 button \"WPA-Verschlüsselung\"",
                           "window: close \"Weitere Einstellungen...  \"",
                           "1430 label \"Netzwerkadapter:\"",
                           "tray: menu 32771 \"Programmfenster öffnen\" default | 32773 \"KWConfig beenden\" -> none",
                           "tray: modify icon=189",
                           "tray: modify icon=192",
                           "tray: modify icon=189",
                           "1195 label \"Mit Ad-hoc-Netz verbunden.\"",
                           "window: close " + german,
                           "tray: delete",
                       }));
    // The driver took every value of Apply, in order (after what the restore at start sent).
    std::vector<std::string> log = CallLog();
    auto apply = std::find(log.begin(), log.end(), "SetWL_NetworkType(0) = 0");
    std::vector<std::string> applied;
    for (const auto& line : std::vector<std::string>(apply, log.end())) {
        for (const char* prefix : {"SetWL_NetworkType(", "SetWL_Channel(", "SetWL_AuthenticationMode(", "SetWL_WEPStatus(",
                                   "SetWL_SSID([4C", "SetWL_DesiredRate([16"}) {
            if (line.rfind(prefix, 0) == 0) applied.push_back(line);
        }
    }
    ASSERT_GE(applied.size(), 6u);
    EXPECT_THAT(std::vector<std::string>(applied.begin(), applied.begin() + 6),
                ElementsAre("SetWL_NetworkType(0) = 0", "SetWL_Channel(11) = 0", "SetWL_AuthenticationMode(0) = 0",
                            "SetWL_WEPStatus(1) = 0", "SetWL_SSID([4C 61 6E 50 61 72 74 79], 8) = 0",
                            "SetWL_DesiredRate([16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]) = 0"));
    const std::u16string app = u"Software\\Talvo\\KWConfig";
    const std::u16string station = app + u"\\LastSetting\\KW7100\\0007\\Station";
    const std::pair<const char16_t*, const char16_t*> kept[] = {
        {u"NetworkType", u"0"}, {u"Channel", u"11"}, {u"SSID", u"LanParty"}, {u"AuthenticationMode", u"0"},
        {u"WEPStatus", u"1"},   {u"STATxRate", u"22"},
    };
    for (const auto& [name, value] : kept) EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, name), value) << kw::ToUtf8(name);
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, app, u"ProfileLink"), u"Party");
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, app + u"\\Profile\\Party", u"Channel"), 11u);
    EXPECT_FALSE(kw::reg::KeyExists(Hive::CurrentUser, app + u"\\Profile\\Home"));
    // The shipped configuration names the chip model, so the switch and the next start meet there.
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, app, u"KW7100\\LanguageId"), 2u);

    // The next start speaks German from its first line.
    lines = RunProgram("tray dblclick\nget 1430\ntray rclick\n");
    EXPECT_THAT(lines, ElementsAre("tray: add icon=189 tip=\"KWWlan -- WLAN-Konfigurationsprogramm\"", "tray: delete",
                                   "tray: add icon=193 tip=\"KWWlan -- WLAN-Konfigurationsprogramm\"", "window: open " + german,
                                   "1430 label \"Netzwerkadapter:\"",
                                   "tray: menu 32771 \"Programmfenster öffnen\" default | 32773 \"KWConfig beenden\" -> none",
                                   "window: close " + german, "tray: delete"));
}

// The access point as a new user meets it: switch, watch the stations come, set it up, filter
// addresses, pick a bridge, and go back to a station whose settings nothing touched.
TEST_F(ConsoleTranscriptTest, AccessPointSwitchSettingsFilterBridgeAndBack) {
    auto lines = RunAccessPointCopy(R"(tick 2
tray dblclick
tick 5
click 1180
get 1016
get 1014
get 1294
close
select 1292 1
get 1182
get 1189
get 1190
get 1191
tick 5
items 1243
click 1180
click 1450
type 1448 MyAP
select 1447 10
click 1450
select 1292 0
get 1448
get 1447
click 1308
click 1308
type 1281 00:11:22:33:44:55
get 1281
type 1282 020a0b0c0d0e
click 1308
get 1281
get 1282
select 1453 1
click 1308
type 1282
click 1308
get 1282
close
select 1555 1
close
get 1188
get 1189
get 1190
tick 5
items 1243
select 1292 0
tick 5
click 1180
get 1016
get 1014
get 1294
close
quit
)");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(errors, "");
    std::vector<std::string> shown;
    for (const auto& line : lines) {
        if (line.rfind("tray:", 0) != 0) shown.push_back(line);
    }
    const std::string stationSettings[] = {"1016 edit \"\" disabled", "1014 combo \"1\" disabled sel=0",
                                           "1294 combo \"Disable\" disabled sel=0"};
    EXPECT_THAT(shown, ElementsAreArray<std::string>({
                           "window: open " + kCaption,
                           "window: open \"More Setting...  \"",
                           stationSettings[0], stationSettings[1], stationSettings[2],
                           "window: close \"More Setting...  \"",
                           "1182 group \"Current Network Setting\"",
                           "1189 label \"WLAN_AP\"",
                           "1190 label \"Disable\"",
                           "1191 label \"Level 0\"",
                           "0: 02 33 00 00 00 01",
                           "1: 02 33 00 00 00 02",
                           "2: 02 33 00 00 00 03",
                           "window: open \"Access Point Setting\"",
                           "1448 edit \"MyAP\" disabled",
                           "1447 combo \"11\" disabled sel=10",
                           "window: open \"Access Point Setting\"",
                           "1281 edit \"001122334455\"",
                           "1281 edit \"00 11 22 33 44 55\" disabled",
                           "1282 edit \"02 0A 0B 0C 0D 0E\" disabled",
                           "1282 edit \"\" disabled",
                           "window: close \"Access Point Setting\"",
                           "window: close \"Access Point Setting\"",
                           "1188 label \"11\"",
                           "1189 label \"MyAP\"",
                           "1190 label \"Enable 64 bit\"",
                           // Only listed stations are admitted now, and none of them is listed.
                           "window: open \"More Setting...  \"",
                           stationSettings[0], stationSettings[1], stationSettings[2],
                           "window: close \"More Setting...  \"",
                           "window: close " + kCaption,
                       }));
    // The bridge program: alone when access-point mode began, then joining the chosen adapter.
    // Real processes: each writes its record when the machine gets round to it.
    const std::string records = root_.File("children.txt");
    EXPECT_TRUE(kwtest::WaitInRealTime([&] { return kwtest::ReadChildRecords(records).size() >= 2; }));
    auto children = kwtest::ReadChildRecords(records);
    ASSERT_EQ(children.size(), 2u);
    std::vector<std::vector<std::string>> argLists{children[0].args, children[1].args};
    EXPECT_THAT(argLists, ::testing::UnorderedElementsAre(
                              ::testing::IsEmpty(),
                              ElementsAre("-W", "\\DEVICE\\{5A1C7100-3E2B-4D61-9A07-6B5771000001}", "-E",
                                          "\\DEVICE\\{0D3E8139-77A0-4C55-8E41-4B5801000003}")));
    for (const auto& child : children) {
        EXPECT_EQ(child.cwd, std::filesystem::canonical(root_.File("program")).string());
    }
    auto log = CallLog();
    EXPECT_THAT(log, ::testing::Contains("SetWL_OperationMode_STA_AP(1) = 0"));
    std::vector<std::string> filterLists;
    for (const auto& line : log) {
        if (line.rfind("SetWLAP_FilterList(", 0) == 0) filterLists.push_back(line);
    }
    ASSERT_GE(filterLists.size(), 2u);
    auto listLine = [](std::vector<std::string> entries) {
        entries.resize(112 / 7, "00 00 00 00 00 00 00");
        std::string bytes;
        for (const auto& entry : entries) bytes += (bytes.empty() ? "" : " ") + entry;
        return "SetWLAP_FilterList([" + bytes + "], 112) = 0";
    };
    EXPECT_EQ(filterLists[filterLists.size() - 2], listLine({"01 00 11 22 33 44 55", "01 02 0A 0B 0C 0D 0E"}));
    EXPECT_EQ(filterLists.back(), listLine({"01 00 11 22 33 44 55"}));
    const std::u16string app = u"Software\\Talvo\\KWConfig";
    const std::u16string ap = app + u"\\LastSetting\\KW7100\\0007\\AccessPoint";
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"SSID"), u"MyAP");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"Channel"), u"11");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"WEPStatus"), u"0");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"MACFilterMode"), u"1");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"MACFilterAddr0"), u"00 11 22 33 44 55");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"MACFilterAddr1"), u"00 00 00 00 00 00");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, ap, u"BridgeAdapter"), u"\\DEVICE\\{0D3E8139-77A0-4C55-8E41-4B5801000003}");
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, app, u"KW7100\\KWConfigOperationMode"), u"0");
    const std::u16string station = app + u"\\LastSetting\\KW7100\\0007\\Station";
    EXPECT_EQ(kw::reg::ReadString(Hive::CurrentUser, station, u"SSID").value_or(u""), u"");
}

}  // namespace
