// The access point settings dialog: the wireless modes each kind of adapter offers, stored
// values out of range, the track bars, WEP turned on without a name, and the bridge adapter list
// with the bridge program started as a real child.
#include "src/dialogs/ap_setting_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/process.h"
#include "platform/ui/test_driver.h"
#include "sim/control.h"
#include "src/dialogs/dialog_chain.h"
#include "src/lang/language_table.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "tests/support/child_records.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using namespace kw::apdlg;
using kw::ui::CDialog;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using ::testing::IsEmpty;

constexpr int kAp = kw::kModeAccessPoint;
constexpr char kDevice[] = "\\DEVICE\\{5A1C7100-3E2B-4D61-9A07-6B5771000001}";

// The configured adapter, a second one present and a wired one: both others may be the bridge.
std::string AdapterWorld(int bandCode, const char* channels) {
    return kw::Format(
        "[Adapter1]\nDeviceName=%s\nDescription=Talvo KW7100\nInstanceKey=0007\nChipType=1\nBandCode=%d\n"
        "MAC=02 6B 57 71 00 01\nChannels=%s\nSupportedRates=82 84 8B 96 0C 12 18 24 30 48 60 6C\n"
        "[Adapter2]\nDeviceName=\\DEVICE\\{BRIDGE-WIRED}\nDescription=Wired Ethernet\nInstanceKey=0009\n",
        kDevice, bandCode, channels);
}

enum class Band { TwoFour, FiveOnly, Dual };

class ApSettingDlgTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_TRUE(kw::Language().Load(std::string(KW_TEST_DATA_DIR) + "/KWMLa.INI", u"LANGUAGES"));
        kw::SetOperationMode(kAp);
        UseBand(Band::TwoFour);
    }
    void TearDown() override {
        kw::Language().Load("", u"LANGUAGES");
        SimTest::TearDown();
    }
    // Reopens the adapter in a world of that band and lets the restore learn the band.
    void UseBand(Band band) {
        struct Kind {
            int bandCode;
            int configuredMode;
            const char* channels;
        };
        static const Kind kinds[] = {{3, 0, "1 2 3 4 5 6 7 8 9 10 11 255"},
                                     {2, 1, "255 36 40 44 48"},
                                     {4, 2, "1 2 3 4 5 6 7 8 9 10 11 255 36 40 44 48"}};
        const Kind& kind = kinds[static_cast<int>(band)];
        ::KwCloseAdapter(kw::Adapter());
        kw::sim::Reset();
        ASSERT_TRUE(kw::sim::LoadWorldText(AdapterWorld(kind.bandCode, kind.channels)));
        kw::ProgramConfig config;
        config.wirelessMode = kind.configuredMode;
        InstallConfig(config);
        kw::ResetAdapterContext();
        OpenAdapter(kDevice);
        kw::RestoreSettings(kw::Adapter());
        kw::StopAuthentication();
        kw::sim::ClearCallLog();
    }
    void RunDialog() {
        kw::CApSettingDlg dialog;
        dialog.SetParentDialogId(kw::kDialogIdMain);
        dialog.DoModal();
    }
    void Probe(std::function<std::string(CDialog&)> probe) {
        user.Run([this, probe](CDialog& d) { trace.push_back(probe(d)); });
    }
    static std::string Field(CDialog& d, int id) { return kw::ToUtf8(d.ItemText(id)); }
    static std::string Items(CDialog& d, int id) {
        std::string line;
        for (const auto& item : d.Combo(id).Items()) line += (line.empty() ? "" : "|") + kw::ToUtf8(item);
        return line;
    }
    static void Store(std::u16string_view key, std::u16string_view value) { kw::WriteSettingText(kAp, key, value); }

    kw::ui::CTestDriver user;
    std::vector<std::string> trace;
};

TEST_F(ApSettingDlgTest, EachKindOfAdapterOffersItsModesAndApplyWritesTheModeItStandsFor) {
    struct Case {
        Band band;
        const char16_t* stored;
        int choose;  // -1: keep what opened
        std::string shown;
        std::string applied;
    } cases[] = {
        // 2.4 GHz only: three modes; the 5 GHz mode and anything out of range load as the first.
        {Band::TwoFour, u"3", -1, "802.11b/g Mixed|802.11b Only|802.11g Only sel=2 ch=1", "ApWirelessMode=3 WirelessMode=3"},
        {Band::TwoFour, u"4", -1, "802.11b/g Mixed|802.11b Only|802.11g Only sel=0 ch=1", "ApWirelessMode=1 WirelessMode=3"},
        {Band::TwoFour, u"5", -1, "802.11b/g Mixed|802.11b Only|802.11g Only sel=0 ch=1", "ApWirelessMode=1 WirelessMode=3"},
        {Band::TwoFour, u"", 1, "802.11b/g Mixed|802.11b Only|802.11g Only sel=0 ch=1", "ApWirelessMode=2 WirelessMode=3"},
        // 5 GHz only: the one 5 GHz mode at position 0, whatever is stored.
        {Band::FiveOnly, u"2", -1, "802.11a (5 GHz) sel=0 ch=36", "ApWirelessMode=4 WirelessMode=2"},
        {Band::FiveOnly, u"0", -1, "802.11a (5 GHz) sel=0 ch=36", "ApWirelessMode=4 WirelessMode=2"},
        // Dual band: every mode; the 5 GHz one lists the 5 GHz channels.
        {Band::Dual, u"4", -1, "802.11b/g Mixed|802.11b Only|802.11g Only|802.11a (5 GHz) sel=3 ch=36",
         "ApWirelessMode=4 WirelessMode=2"},
        {Band::Dual, u"5", 3, "802.11b/g Mixed|802.11b Only|802.11g Only|802.11a (5 GHz) sel=0 ch=1",
         "ApWirelessMode=4 WirelessMode=2"},
        {Band::Dual, u"4", 0, "802.11b/g Mixed|802.11b Only|802.11g Only|802.11a (5 GHz) sel=3 ch=36",
         "ApWirelessMode=1 WirelessMode=3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kw::ToUtf8(c.stored) + kw::Format(" band=%d choose=%d", static_cast<int>(c.band), c.choose));
        UseBand(c.band);
        Store(kw::key::kApWirelessMode, c.stored);
        trace.clear();
        Probe([](CDialog& d) {
            return Items(d, kWirelessMode) + kw::Format(" sel=%d ch=", d.Combo(kWirelessMode).CurSel()) +
                   kw::ToUtf8(d.Combo(kChannel).Items().empty() ? u"" : d.Combo(kChannel).Items().front());
        });
        user.Click(kChangeApply);
        if (c.choose >= 0) user.Select(kWirelessMode, c.choose);
        user.Click(kChangeApply);
        RunDialog();
        ASSERT_EQ(trace.size(), 1u);
        EXPECT_EQ(trace[0], c.shown);
        EXPECT_EQ("ApWirelessMode=" + kw::ToUtf8(Stored(kw::key::kApWirelessMode, kAp)) +
                      " WirelessMode=" + kw::ToUtf8(Stored(kw::key::kWirelessMode, kAp)),
                  c.applied);
        EXPECT_THAT(user.Errors(), IsEmpty());
    }
}

TEST_F(ApSettingDlgTest, AStoredChannelTheBandDoesNotOfferSelectsTheFirstAndWritesIt) {
    struct Case {
        const char16_t* stored;
        std::string shown;
        std::string storedAfter;
        size_t channelWrites;
    } cases[] = {
        {u"0", "1", "1", 1}, {u"201", "1", "1", 1}, {u"36", "1", "1", 1}, {u"-4", "1", "1", 1}, {u"9", "9", "9", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kw::ToUtf8(c.stored));
        Store(kw::key::kChannel, c.stored);
        kw::sim::ClearCallLog();
        trace.clear();
        Probe([](CDialog& d) { return Field(d, kChannel); });
        RunDialog();
        EXPECT_THAT(trace, ElementsAre(c.shown));
        EXPECT_EQ(kw::ToUtf8(Stored(kw::key::kChannel, kAp)), c.storedAfter);
        EXPECT_EQ(Calls("SetWL_Channel").size(), c.channelWrites);
    }
}

TEST_F(ApSettingDlgTest, TheGeneralGroupIsEditedOnlyBetweenChangeAndApply) {
    Store(kw::key::kSsid, u"Stored-AP");
    auto state = [](CDialog& d) {
        std::string line;
        for (int id : {kChannel, kWirelessMode, kSsid, kHideSsid, kTxPower, kWep, kAuthentication, kFragmentBar, kPreamble}) {
            line += kw::Format("%d%s ", id, d.Item(id)->IsEnabled() ? "+" : "-");
        }
        return line + Field(d, kChangeApply);
    };
    Probe(state);
    user.Click(kChangeApply);
    Probe(state);
    user.Type(kSsid, u"Ne\u00fc-AP-with-a-name-longer-than-32-characters").Select(kChannel, 10).Click(kHideSsid).Select(kTxPower, 2);
    Probe([](CDialog&) { return kw::Format("before apply: %zu", Calls("SetWL_SSID").size()); });
    user.Click(kChangeApply);
    Probe(state);
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("1447- 1498- 1448- 1449- 1294- 1292+ 1492+ 1445+ 1497+ Change",
                                   "1447+ 1498+ 1448+ 1449+ 1294+ 1292+ 1492+ 1445+ 1497+ Apply", "before apply: 0",
                                   "1447- 1498- 1448- 1449- 1294- 1292+ 1492+ 1445+ 1497+ Change"));
    EXPECT_EQ(Stored(kw::key::kChannel, kAp), u"11");
    EXPECT_EQ(Stored(kw::key::kHideSsid, kAp), u"1");
    EXPECT_EQ(Stored(kw::key::kTxPowerLevel, kAp), u"2");
    // Cut to 32 bytes of the system code page, not 32 UTF-8 bytes.
    EXPECT_EQ(kw::ToCodePage(Stored(kw::key::kSsid, kAp)).size(), 32u);
    EXPECT_EQ(Stored(kw::key::kSsid, kAp).substr(0, 4), u"Ne\u00fc-");
}

TEST_F(ApSettingDlgTest, TrackBarsWriteOnEveryScrollAndTheirMaximumMeansDisable) {
    Store(kw::key::kFragmentationThreshold, u"");  // reads as 0
    Store(kw::key::kRtsThreshold, u"3000");           // out of range: off
    Probe([](CDialog& d) { return Field(d, kFragmentValue) + " " + Field(d, kRtsValue); });
    user.Scroll(kFragmentBar, 2346).Scroll(kRtsBar, 500);
    Probe([](CDialog& d) { return Field(d, kFragmentValue) + " " + Field(d, kRtsValue); });
    RunDialog();
    // The bar holds 0 at its minimum 256, which is what is written.
    EXPECT_THAT(trace, ElementsAre("256 Disable", "Disable 500"));
    EXPECT_THAT(Calls("SetWL_FragmentationThreshold"),
                ElementsAre("SetWL_FragmentationThreshold(256) = 0", "SetWL_FragmentationThreshold(2346) = 0",
                            "SetWL_FragmentationThreshold(2346) = 0"));
    EXPECT_THAT(Calls("SetWL_RTS_CTS_Threshold"),
                ElementsAre("SetWL_RTS_CTS_Threshold(2347) = 0", "SetWL_RTS_CTS_Threshold(2347) = 0", "SetWL_RTS_CTS_Threshold(500) = 0"));
    EXPECT_EQ(Stored(kw::key::kFragmentationThreshold, kAp), u"2346");
    EXPECT_EQ(Stored(kw::key::kRtsThreshold, kAp), u"500");
}

TEST_F(ApSettingDlgTest, TurningWepOnWithoutAStoredNameAnnouncesTheDefaultName) {
    Store(kw::key::kWepStatus, u"7");  // out of range: off
    Probe([](CDialog& d) { return Field(d, kWep); });
    user.Select(kWep, 0);
    RunDialog();
    EXPECT_THAT(trace, ElementsAre("Disable"));
    EXPECT_EQ(Stored(kw::key::kWepStatus, kAp), u"0");
    EXPECT_EQ(Stored(kw::key::kSsid, kAp), u"WLAN_AP");
    EXPECT_EQ(Calls("SetWL_SSID").size(), 1u);
}

class ApBridgeTest : public ApSettingDlgTest {
protected:
    void SetUp() override {
        ApSettingDlgTest::SetUp();
        records_ = root_.File("children.txt");
        ::setenv("KW_RECORD_ARGS", records_.c_str(), 1);
        ::setenv("KW_RECORD_WAIT_MS", "0", 1);
        std::filesystem::copy_file(KW_RECORD_ARGS_PROGRAM, root_.File("KWBrgApp.EXE"));
    }
    void TearDown() override {
        EXPECT_TRUE(WaitInRealTime([] { return kw::process::ReapDetached() == 0; }));
        ::unsetenv("KW_RECORD_ARGS");
        ::unsetenv("KW_RECORD_WAIT_MS");
        ApSettingDlgTest::TearDown();
    }
    std::vector<ChildRecord> WaitForChildren(size_t count) {
        EXPECT_TRUE(WaitInRealTime([&] { return ReadChildRecords(records_).size() >= count; }));
        return ReadChildRecords(records_);
    }
    void ProbeBridgeList() {
        Probe([](CDialog& d) { return Items(d, kBridgeAdapter) + kw::Format(" sel=%d", d.Combo(kBridgeAdapter).CurSel()); });
    }
    std::string records_;
};

TEST_F(ApBridgeTest, TheListLeavesOutTheConfiguredAdapterAndFollowsTheStoredChoice) {
    struct Case {
        const char16_t* stored;
        std::string shown;
    } cases[] = {
        {u"", "No bridge|Wired Ethernet sel=0"},
        {u"\\DEVICE\\{BRIDGE-WIRED}", "No bridge|Wired Ethernet sel=1"},
        // An adapter that is gone: no selection at the first opening.
        {u"\\DEVICE\\{GONE}", "No bridge|Wired Ethernet sel=-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kw::ToUtf8(c.stored));
        Store(kw::key::kBridgeAdapter, c.stored);
        trace.clear();
        ProbeBridgeList();
        RunDialog();
        EXPECT_THAT(trace, ElementsAre(c.shown));
    }
    EXPECT_THAT(ReadChildRecords(records_), IsEmpty());  // opening starts nothing
}

TEST_F(ApBridgeTest, ChoosingAnAdapterOrNoBridgeStoresItAndStartsTheBridgeProgram) {
    user.Select(kBridgeAdapter, 1).Select(kBridgeAdapter, 0);
    RunDialog();
    auto children = WaitForChildren(2);
    ASSERT_EQ(children.size(), 2u);
    // Two processes started at once write their records in whichever order they run.
    std::vector<std::vector<std::string>> argLists{children[0].args, children[1].args};
    EXPECT_THAT(argLists, UnorderedElementsAre(ElementsAre("-W", kDevice, "-E", "\\DEVICE\\{BRIDGE-WIRED}"), IsEmpty()));
    for (const ChildRecord& child : children) EXPECT_EQ(child.cwd, std::filesystem::canonical(root_.path()).string());
    EXPECT_EQ(Stored(kw::key::kBridgeAdapter, kAp), u"");
    // Our own folder is the one we had before each start.
    EXPECT_NE(std::filesystem::current_path(), std::filesystem::canonical(root_.path()));
}

}  // namespace
}  // namespace kwtest
