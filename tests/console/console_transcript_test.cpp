// The built program driven through its console: a script on standard input, the printed lines,
// the library call log and the registry hive it leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "platform/registry.h"
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
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, app, u"GENERAL\\KWWLanExit"), 0u);
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, app, u"GENERAL\\KWWLanWakeUp"), 0u);
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

}  // namespace
