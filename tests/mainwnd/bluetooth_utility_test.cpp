// The Bluetooth utility as a real child of the main window: started at opening from its App
// Paths entry in its own folder, ended and reaped at removal and at Exit, and the error boxes
// when its entry cannot be read or it cannot be started. Also the failed mode change.
#include "src/mainwnd/bluetooth_utility.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/process.h"
#include "sim/control.h"
#include "sim/world_registry.h"
#include "src/settings/app_key.h"
#include "tests/mainwnd/main_window_fixture.h"
#include "tests/support/child_records.h"

namespace kwtest {
namespace {

using namespace kw;
using namespace kw::mainwnd;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class BluetoothUtilityTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        config.ivtBluetoothSupport = 1;
        records_ = root_.File("children.txt");
        ::setenv("KW_RECORD_ARGS", records_.c_str(), 1);
        folder_ = root_.File("Blue Soleil");
        std::filesystem::create_directory(folder_);
        program_ = folder_ + "/BlueSoleil.exe";
        std::filesystem::copy_file(KW_RECORD_ARGS_PROGRAM, program_);
    }
    void TearDown() override {
        EndBluetoothUtility();
        ::unsetenv("KW_RECORD_ARGS");
        MainWindowTest::TearDown();
    }
    void WorldWithUtility(const std::string& command) { World("[System]\nBluetoothUtility=" + command + "\n" + kOneAdapter); }
    std::vector<ChildRecord> WaitForChildren(size_t count) {
        EXPECT_TRUE(WaitInRealTime([&] { return ReadChildRecords(records_).size() >= count; }));
        return ReadChildRecords(records_);
    }
    // Reads the utility's process id now, and waits for its record while the window waits.
    void NoteUtility(std::vector<pid_t>& into) {
        Do([this, &into](CKWConfigDlg&) {
            into.push_back(BluetoothUtilityProcess());
            WaitForChildren(into.size());
        });
    }
    std::vector<std::string> Boxes() const { return Events("messagebox:"); }

    std::string records_, folder_, program_;
};

TEST_F(BluetoothUtilityTest, StartedInItsOwnFolderAndEndedWithoutZombieAtRemovalAndAtExit) {
    WorldWithUtility("\"" + program_ + "\" -tray");
    std::vector<pid_t> pids;
    std::vector<std::string> states;
    auto state = [&states](const char* when, pid_t pid) {
        states.push_back(Format("%s exists=%d zombie=%d recorded=%d", when, ProcessExists(pid), ProcessIsZombie(pid),
                                BluetoothUtilityProcess() > 0));
    };
    std::string ourFolder = std::filesystem::current_path().string();
    NoteUtility(pids);
    Do([](CKWConfigDlg&) { sim::UnplugAdapter(1); });
    user.Tick(1);
    Do([&](CKWConfigDlg&) { state("removed", pids[0]); });
    Do([](CKWConfigDlg&) { sim::PlugAdapter(1); });
    user.Tick(2);
    NoteUtility(pids);
    Do([](CKWConfigDlg&) { WriteChipDword(kValueExitRequest, 1); });
    user.Tick(1);
    Run();
    state("exit", pids.back());

    ASSERT_EQ(pids.size(), 2u);
    EXPECT_GT(pids[0], 0);
    EXPECT_NE(pids[0], pids[1]);
    EXPECT_THAT(states, ElementsAre("removed exists=0 zombie=0 recorded=0", "exit exists=0 zombie=0 recorded=0"));
    auto children = ReadChildRecords(records_);
    ASSERT_EQ(children.size(), 2u);
    for (size_t i = 0; i < children.size(); ++i) {
        EXPECT_EQ(children[i].pid, pids[i]);
        EXPECT_EQ(children[i].cwd, std::filesystem::canonical(folder_).string());
        EXPECT_THAT(children[i].args, ElementsAre("-tray"));
    }
    EXPECT_EQ(std::filesystem::current_path().string(), ourFolder);
    EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(BluetoothUtilityTest, WithoutTheConfigurationValueNothingIsStarted) {
    config.ivtBluetoothSupport = 0;
    WorldWithUtility(program_);
    user.Tick(2);
    Read([](CKWConfigDlg& w) { return Format("open=%d utility=%d", w.AdapterOpen(), BluetoothUtilityProcess()); });
    Run();
    EXPECT_THAT(trace, ElementsAre("open=1 utility=-1"));
    EXPECT_THAT(ReadChildRecords(records_), IsEmpty());
}

// How the App Paths entry is broken, given the utility's folder; and what the user then sees.
struct EntryCase {
    const char* name;
    void (*entry)(const std::string& folder);
    size_t boxes;       // each naming the system's text for a missing file, titled "Error"
    bool startedInFolder;
};

void WriteEntry(std::u16string_view name, const std::string& value) {
    reg::WriteString(reg::Hive::LocalMachine, sim::kBluetoothAppPathsKey, name, FromUtf8(value));
}

const EntryCase kEntryCases[] = {
    {"NoRegistration", [](const std::string&) {}, 0, false},
    {"NoProgramValue", [](const std::string& folder) { WriteEntry(u"Path", folder); }, 1, false},
    {"ProgramValuePastItsRoom", [](const std::string& folder) { WriteEntry(u"", folder + "/" + std::string(300, 'x')); }, 1, false},
    // Without its folder it starts in the one that holds it, after telling.
    {"NoFolderValue", [](const std::string& folder) { WriteEntry(u"", "\"" + folder + "/BlueSoleil.exe\""); }, 1, true},
    {"ProgramGone",
     [](const std::string& folder) {
         WriteEntry(u"", folder + "/Gone.exe");
         WriteEntry(u"Path", folder);
     },
     1, false},
};

class BluetoothEntryTest : public BluetoothUtilityTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(BluetoothEntryTest, AnEntryThatCannotBeReadOrAProgramThatCannotStartIsShownAsAnError) {
    const EntryCase& c = GetParam();
    World(kOneAdapter);
    c.entry(folder_);
    user.Tick(2);
    Read([](CKWConfigDlg& w) { return Format("open=%d", w.AdapterOpen()); });
    Run();
    EXPECT_THAT(trace, ElementsAre("open=1"));
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), c.boxes);
    for (const auto& box : boxes) {
        EXPECT_THAT(box, HasSubstr("\"Error\" \"" + ToUtf8(process::SystemErrorText(ENOENT)) + "\""));
    }
    if (c.startedInFolder) {
        auto children = WaitForChildren(1);
        ASSERT_EQ(children.size(), 1u);
        EXPECT_EQ(children[0].pid, BluetoothUtilityProcess());
        EXPECT_EQ(children[0].cwd, std::filesystem::canonical(folder_).string());
    } else {
        EXPECT_EQ(BluetoothUtilityProcess(), -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, BluetoothEntryTest, ::testing::ValuesIn(kEntryCases),
                         [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

TEST_F(BluetoothUtilityTest, AFailedModeChangeIsNamedBeforeTheProgramEnds) {
    config.ivtBluetoothSupport = 0;
    config.enableAccessPoint = 1;
    World(kOneAdapter);
    user.Tick(5);  // the first scan has ended and the combo box is enabled again
    Do([](CKWConfigDlg&) { sim::UnplugAdapter(1); });
    user.Select(kModeCombo, 1);
    Each(2, [](CKWConfigDlg&) { return std::string("still running"); });
    Run();
    EXPECT_THAT(user.Errors(), IsEmpty());
    EXPECT_THAT(trace, IsEmpty());
    EXPECT_TRUE(Called("SetWL_OperationMode_STA_AP(1) = -1"));
    auto lines = user.Lines();
    auto box = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("messagebox:", 0) == 0; });
    auto close = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("window: close", 0) == 0; });
    ASSERT_NE(box, lines.end());
    EXPECT_THAT(*box, HasSubstr("refused the change of operating mode"));
    EXPECT_LT(box, close);
}

}  // namespace
}  // namespace kwtest
