#include "src/device/zero_config.h"

#include <gtest/gtest.h>

#include "tests/support/sim_env.h"

namespace {

class HostStub : public kw::IZeroConfigHost {
public:
    void OnServiceTookAdapter() override { ++tookAdapter; }
    void RestoreStoredSettings() override { ++restored; }
    int tookAdapter = 0;
    int restored = 0;
};

class ZeroConfigTest : public kwtest::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
    HostStub host;
    kw::CZeroConfigTracker tracker{host};
};

TEST_F(ZeroConfigTest, TakeOverWhileTheServiceControlsTheAdapter) {
    kw::sim::SetZeroConfigStatus(1);
    kw::sim::ClearCallLog();
    EXPECT_FALSE(tracker.TakeOverAdapter());
    auto log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "QueryWL_CheckWZCStatus() = 1");
    EXPECT_EQ(log[1], "SetWL_WZCStatus(0) = 0");
    EXPECT_EQ(log[2], "QueryWL_CheckWZCStatus() = 0");
    EXPECT_EQ(host.restored, 1);
    EXPECT_EQ(tracker.ControlState(), 0);
    EXPECT_EQ(kw::SavedZeroConfigStatus(), 1);
}

TEST_F(ZeroConfigTest, DeniedClassKeyLeavesTheServiceAlone) {
    kw::SetClassKeyAccessFlag(1);
    kw::sim::SetZeroConfigStatus(1);
    EXPECT_TRUE(tracker.TakeOverAdapter());
    EXPECT_EQ(host.restored, 0);
    EXPECT_TRUE(Calls("SetWL_WZCStatus").empty());
    EXPECT_TRUE(Called("KWStopWZCService() = 0"));
    kw::HandBackAdapter();
    EXPECT_TRUE(Calls("SetWL_WZCStatus").empty());
}

TEST_F(ZeroConfigTest, ServiceTakingTheAdapterDuringOperationAndGivingItBack) {
    kw::sim::SetZeroConfigStatus(1);  // saved status 1
    ASSERT_FALSE(tracker.TakeOverAdapter());
    EXPECT_FALSE(tracker.Tick());
    kw::sim::SetZeroConfigStatus(1);
    kw::sim::ClearCallLog();
    EXPECT_TRUE(tracker.Tick());
    EXPECT_EQ(host.tookAdapter, 1);
    EXPECT_TRUE(Called("SetWL_KWUseKWXOidState(0) = 0"));
    EXPECT_TRUE(Called("SetWL_WZCStatus(1) = 0"));  // the saved status goes back
    EXPECT_TRUE(tracker.Tick());                     // still controlled: the tick ends
    kw::sim::SetZeroConfigStatus(2);
    int restoredBefore = host.restored;
    EXPECT_FALSE(tracker.Tick());
    EXPECT_EQ(host.restored, restoredBefore + 1);
    EXPECT_EQ(tracker.ControlState(), 2);
}

TEST_F(ZeroConfigTest, HandBackRules) {
    ASSERT_FALSE(tracker.TakeOverAdapter());
    kw::sim::ClearCallLog();
    kw::HandBackAdapter();
    EXPECT_TRUE(Called("SetWL_WZCStatus(0) = 0"));
    kw::sim::ClearCallLog();
    kw::HandBackOnRemoval();
    EXPECT_TRUE(Called("SetWL_WZCStatus(0) = 0"));
    EXPECT_EQ(kw::SavedZeroConfigStatus(), -1);
    kw::sim::ClearCallLog();
    kw::HandBackAdapter();  // code 7 with no saved status: status 1 is given back
    EXPECT_TRUE(Called("SetWL_WZCStatus(1) = 0"));
    EXPECT_EQ(kw::SavedZeroConfigStatus(), 1);
}

}  // namespace
