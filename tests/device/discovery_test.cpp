#include "src/device/discovery.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/registry.h"
#include "src/settings/setting_store.h"
#include "tests/support/sim_env.h"

namespace {

class ComboStub : public kw::IAdapterListView {
public:
    void ClearAdapters() override {
        items.clear();
        selection = -1;
    }
    void AddAdapter(const std::u16string& description) override { items.push_back(description); }
    void SelectAdapterItem(int index) override { selection = index; }
    int SelectedAdapterItem() const override { return selection; }

    std::vector<std::u16string> items;
    int selection = -1;
};

class DiscoveryTest : public kwtest::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        kw::SetReleaseChipMode(u"GENERAL");
        kw::SetAdapterKey("");
        Configure({u"USB\\VID_6B57&PID_7100", u"PCI\\VEN_6B57&DEV_7200"});
    }
    void Configure(std::vector<std::u16string> ids, int wirelessMode = 0) {
        kw::ProgramConfig config;
        for (size_t i = 0; i < ids.size(); ++i) config.matchingDeviceIds[i] = ids[i];
        config.wirelessMode = wirelessMode;
        InstallConfig(config);
    }
    void LoadWorld(const std::string& text) {
        ASSERT_TRUE(kw::sim::LoadWorldText(text));
        kw::ResetAdapterContext();
    }

    ComboStub combo;
    int opened = 0;
    kw::CAdapterDiscovery discovery{combo, [this] { ++opened; }};
};

TEST_F(DiscoveryTest, DefaultWorldOpensTheUsbAdapterAndIdentifiesIt) {
    discovery.Discover();
    ASSERT_EQ(combo.items, std::vector<std::u16string>{u"Talvo KW7100 Wireless USB Adapter"});
    EXPECT_EQ(combo.selection, 0);
    EXPECT_TRUE(discovery.AdapterOpen());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(kw::ReleaseChipMode(), u"KW7100");
    EXPECT_EQ(kw::AdapterKey(), "0007");
    EXPECT_EQ(kw::DeviceKind(), 1);
    EXPECT_NE(kw::Adapter()->handle, -1);
    EXPECT_STREQ(kw::Adapter()->instanceKey, "0007");
}

const char kTwoAdapters[] =
    "[Adapter1]\nDeviceName=one\nDescription=First\nInstanceKey=0003\nMatchingDeviceId=usb\\vid_6b57&pid_7100\n"
    "ChipType=4\nBandCode=3\n"
    "[Adapter2]\nDeviceName=two\nDescription=Second\nInstanceKey=0004\nMatchingDeviceId=PCI\\VEN_6B57&DEV_7200\n"
    "ChipType=2\nBandCode=3\n"
    "[Adapter3]\nDeviceName=five\nDescription=FiveOnly\nInstanceKey=0005\nMatchingDeviceId=USB\\VID_6B57&PID_7140\n"
    "ChipType=4\nBandCode=2\n";

TEST_F(DiscoveryTest, CaseInsensitiveIdsListOrderAndBandFilter) {
    Configure({u"USB\\VID_6B57&PID_7100", u"PCI\\VEN_6B57&DEV_7200", u"USB\\VID_6B57&PID_7140"});
    LoadWorld(kTwoAdapters);
    discovery.Discover();
    EXPECT_EQ(combo.items, (std::vector<std::u16string>{u"First", u"Second"}));  // the 5 GHz one is filtered
    EXPECT_EQ(kw::AdapterKey(), "0003");
    EXPECT_EQ(kw::DeviceKind(), 1);

    Configure({u"USB\\VID_6B57&PID_7140"}, 1);  // 5 GHz only
    discovery.Discover();
    EXPECT_EQ(combo.items, std::vector<std::u16string>{u"FiveOnly"});
    EXPECT_EQ(kw::ReleaseChipMode(), u"KW7100 A Only");
    EXPECT_EQ(kw::DeviceKind(), 4);
}

TEST_F(DiscoveryTest, TheOpenedAdapterKeepsItsOwnChipBranchWhenAnotherChipIsListedAfterIt) {
    LoadWorld(kTwoAdapters);
    discovery.Discover();
    ASSERT_EQ(kw::AdapterKey(), "0003");
    EXPECT_EQ(kw::ReleaseChipMode(), u"KW7200");  // the single-instance names follow the last identified
    EXPECT_EQ(kw::AdapterChipModel(), u"KW7100");
    ASSERT_EQ(kw::WriteSettingText(0, u"SSID", u"Home"), 0);
    EXPECT_EQ(kw::reg::ReadString(kw::reg::Hive::CurrentUser, u"Software\\Talvo\\KWConfig\\LastSetting\\KW7100\\0003\\Station",
                                  u"SSID"),
              u"Home");

    combo.selection = 1;
    discovery.SelectAdapter();
    EXPECT_EQ(kw::AdapterKey(), "0004");
    EXPECT_EQ(kw::AdapterChipModel(), u"KW7200");
}

TEST_F(DiscoveryTest, FailingDriverInfoStillListsAndKeepsTheChipMode) {
    LoadWorld("[Adapter1]\nDeviceName=one\nDescription=First\nInstanceKey=0003\n"
              "MatchingDeviceId=USB\\VID_6B57&PID_7100\nChipType=2\nRefuse=Query_KWDriverInfo\n");
    discovery.Discover();
    EXPECT_EQ(combo.items.size(), 1u);
    EXPECT_EQ(kw::ReleaseChipMode(), u"GENERAL");
}

TEST_F(DiscoveryTest, NothingMatchingLeavesTheListEmptyAndNothingOpen) {
    Configure({u"USB\\VID_0000&PID_0000"});
    discovery.Discover();
    EXPECT_TRUE(combo.items.empty());
    EXPECT_FALSE(discovery.AdapterOpen());
    EXPECT_FALSE(discovery.TimerSide());
}

TEST_F(DiscoveryTest, MoreThanTenMatchesListTheFirstTen) {
    std::string world;
    for (int i = 1; i <= 12; ++i) {
        world += kw::Format("[Adapter%d]\nDeviceName=dev%d\nDescription=Adapter %d\nInstanceKey=%04d\n"
                            "MatchingDeviceId=USB\\VID_6B57&PID_7100\n",
                            i, i, i, i);
    }
    LoadWorld(world);
    discovery.Discover();
    ASSERT_EQ(combo.items.size(), kw::kAdapterTableRoom);
    EXPECT_EQ(combo.items.back(), u"Adapter 10");
}

TEST_F(DiscoveryTest, PciAdapterIsOpenedTwentyTicksLaterOnASystemThatNeedsIt) {
    LoadWorld("[System]\nFixWindisPnPBug=1\n"
              "[Adapter1]\nDeviceName=pci\nDescription=Card\nInstanceKey=0012\nMatchingDeviceId=PCI\\VEN_6B57&DEV_7200\n");
    EXPECT_FALSE(discovery.TimerSide());
    EXPECT_EQ(discovery.DeferredState(), 1);
    int ticks = 0;
    while (!discovery.TimerSide() && ticks < 40) ++ticks;
    EXPECT_EQ(ticks, 19);  // the twentieth tick after the first sighting opens it
    EXPECT_TRUE(discovery.AdapterOpen());
    EXPECT_EQ(discovery.DeferredState(), 0);
    EXPECT_EQ(kw::DeviceKind(), 2);
    EXPECT_EQ(opened, 1);
}

TEST_F(DiscoveryTest, DeniedClassKeySetsTheAccessFlag) {
    LoadWorld("[Adapter1]\nDeviceName=one\nDescription=First\nInstanceKey=0003\n"
              "MatchingDeviceId=USB\\VID_6B57&PID_7100\nClassKeyAccess=0\n");
    discovery.Discover();
    EXPECT_EQ(kw::ClassKeyAccessFlag(), 1);
    EXPECT_EQ(combo.items.size(), 1u);
}

TEST_F(DiscoveryTest, UnpluggedAdapterIsGoneAndFoundAgain) {
    discovery.Discover();
    ASSERT_TRUE(discovery.AdapterOpen());
    ASSERT_TRUE(kw::sim::UnplugAdapter(1));
    EXPECT_EQ(::QueryWL_DriverVersion(kw::Adapter()), -1);
    discovery.SetAdapterOpen(false);
    ::KwCloseAdapter(kw::Adapter());
    EXPECT_FALSE(discovery.TimerSide());
    ASSERT_TRUE(kw::sim::PlugAdapter(1));
    EXPECT_TRUE(discovery.TimerSide());
    EXPECT_NE(::QueryWL_DriverVersion(kw::Adapter()), -1);
}

TEST(ChipModels, TableAndHardwareIdKinds) {
    EXPECT_EQ(kw::ChipModelName(1, 4), u"KW7100");
    EXPECT_EQ(kw::ChipModelName(2, 3), u"KW7200");
    EXPECT_EQ(kw::ChipModelName(3, 2), u"KW7100DualBand");
    EXPECT_EQ(kw::ChipModelName(4, 3), u"KW7100");
    EXPECT_EQ(kw::ChipModelName(4, 2), u"KW7100 A Only");
    EXPECT_EQ(kw::ChipModelName(4, 4), u"KW7100DualBand");
    EXPECT_EQ(kw::ChipModelName(4, 9), u"");
    EXPECT_EQ(kw::ChipModelName(7, 3), u"");
    EXPECT_EQ(kw::DeviceKindOfHardwareId(u"pci\\ven_6b57&dev_7200&subsys_1"), 2);
    EXPECT_EQ(kw::DeviceKindOfHardwareId(u"USB\\VID_6B57&PID_7150"), 4);
    EXPECT_EQ(kw::DeviceKindOfHardwareId(u"USB\\VID_0000"), 1);
    EXPECT_EQ(kw::RequiredBandCode(0), 3);
    EXPECT_EQ(kw::RequiredBandCode(1), 2);
    EXPECT_EQ(kw::RequiredBandCode(2), 4);
}

}  // namespace
