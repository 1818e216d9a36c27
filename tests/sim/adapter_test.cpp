// Adapters coming and going, refused functions, the values the driver keeps, the access point.
#include <functional>

#include "tests/sim/sim_support.h"

namespace simtest {
namespace {

const char kWorld[] = R"(
[Adapter1]
DeviceName=\DEVICE\FIRST
MAC=02 00 00 00 00 01
Refuse=SetWL_Channel QueryWL_Channel QueryWL_SupportedRate WL_RetrieveSiteSurveyData CreateNICAdapterList
[Adapter2]
DeviceName=\DEVICE\SECOND
Present=0
[Adapter3]
DeviceName=\DEVICE\THIRD
Refuse=KwOpenAdapter
[Station1]
MAC=02 33 00 00 00 01
[Station2]
MAC=02 33 00 00 00 02
[Station3]
MAC=02 33 00 00 00 03
)";

class SimAdapterTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Load(kWorld);
    }
    std::vector<std::string> Listed() {
        AdapterListEntry entries[10];
        int count = CreateAllNICAdapterList(entries, 10);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back(entries[i].deviceName);
        return names;
    }
    std::vector<int> StationsInList() {
        MacList list{};
        EXPECT_EQ(WL_RetrieveStationList(&g_ctx, reinterpret_cast<uint8_t*>(&list), sizeof(list)), 0);
        std::vector<int> stations;
        for (const MacSlot& slot : list.slots) {
            if (slot.inUse) stations.push_back(slot.mac[5]);
        }
        return stations;
    }
};

TEST_F(SimAdapterTest, UnpluggedAdapterIsGoneFromListsAndCalls) {
    EXPECT_EQ(Listed(), (std::vector<std::string>{"\\DEVICE\\FIRST", "\\DEVICE\\THIRD"}));
    EXPECT_FALSE(Open("\\DEVICE\\SECOND"));
    EXPECT_EQ(g_ctx.handle, -1);

    ASSERT_TRUE(kw::sim::PlugAdapter(2));
    EXPECT_EQ(Listed().size(), 3u);
    ASSERT_TRUE(Open("\\DEVICE\\SECOND"));
    EXPECT_NE(QueryWL_DriverVersion(&g_ctx), -1);
    ASSERT_EQ(SetWL_PSMode(&g_ctx, 2), 0);

    ASSERT_TRUE(kw::sim::UnplugAdapter(2));
    EXPECT_EQ(QueryWL_DriverVersion(&g_ctx), -1) << "from the moment it is unplugged";
    EXPECT_EQ(QueryWL_PSMode(&g_ctx), -1);
    EXPECT_EQ(Listed().size(), 2u);

    ASSERT_TRUE(kw::sim::PlugAdapter(2));
    EXPECT_EQ(QueryWL_DriverVersion(&g_ctx), -1) << "a handle from before the removal stays dead";
    ASSERT_TRUE(Open("\\DEVICE\\SECOND"));
    EXPECT_NE(QueryWL_DriverVersion(&g_ctx), -1);
    EXPECT_EQ(QueryWL_PSMode(&g_ctx), 0) << "the driver starts afresh";

    EXPECT_FALSE(kw::sim::PlugAdapter(4));
    EXPECT_FALSE(kw::sim::UnplugAdapter(0));
}

TEST_F(SimAdapterTest, ClosedOrUnknownContextsFail) {
    EXPECT_FALSE(Open("\\DEVICE\\NOSUCH"));
    EXPECT_EQ(QueryWL_DriverVersion(&g_ctx), -1);
    EXPECT_EQ(QueryWL_DriverVersion(nullptr), -1);
    ASSERT_TRUE(Open("\\DEVICE\\FIRST"));
    EXPECT_EQ(KwCloseAdapter(&g_ctx), 1);
    EXPECT_EQ(g_ctx.handle, -1);
    EXPECT_EQ(QueryWL_PSMode(&g_ctx), -1);
}

TEST_F(SimAdapterTest, RefusedFunctionsReportTheirFailureValue) {
    EXPECT_FALSE(Open("\\DEVICE\\THIRD"));
    AdapterListEntry entries[30];
    EXPECT_EQ(CreateNICAdapterList(entries, 30), -1);
    EXPECT_EQ(CreateAllNICAdapterList(entries, 30), 2);

    ASSERT_TRUE(Open("\\DEVICE\\FIRST"));
    uint8_t buffer[kw::kSurveyBufferSize];
    EXPECT_EQ(SetWL_Channel(&g_ctx, 6), -1);
    EXPECT_EQ(QueryWL_Channel(&g_ctx), -1);
    EXPECT_EQ(QueryWL_SupportedRate(&g_ctx, buffer), -1);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, buffer, sizeof(buffer)), -1);
    EXPECT_EQ(SetWL_PSMode(&g_ctx, 1), 0) << "other functions still work";
}

TEST_F(SimAdapterTest, DriverKeepsWhatIsSetWithinItsRanges) {
    ASSERT_TRUE(Open("\\DEVICE\\FIRST"));
    struct Case {
        const char* name;
        std::function<int(int)> set;
        std::function<int()> get;
        int good, bad;
    };
    AdapterContext* c = &g_ctx;
    const Case cases[] = {
        {"network type", [c](int v) { return SetWL_NetworkType(c, v); }, [c] { return QueryWL_NetworkType(c); }, 3, 5},
        {"authentication", [c](int v) { return SetWL_AuthenticationMode(c, v); },
         [c] { return QueryWL_AuthenticationMode(c); }, 7, 8},
        {"encryption", [c](int v) { return SetWL_WEPStatus(c, v); }, [c] { return QueryWL_WEPStatus(c); }, 6, -1},
        {"power save", [c](int v) { return SetWL_PSMode(c, v); }, [c] { return QueryWL_PSMode(c); }, 2, 3},
        {"fragmentation", [c](int v) { return SetWL_FragmentationThreshold(c, v); },
         [c] { return QueryWL_FragmentationThreshold(c); }, 256, 255},
        {"RTS", [c](int v) { return SetWL_RTS_CTS_Threshold(c, v); }, [c] { return QueryWL_RTS_CTS_Threshold(c); },
         2347, 2348},
        {"multi-domain", [c](int v) { return SetWL_MultiDomainCapability(c, v); },
         [c] { return QueryWL_MultiDomainCapability(c); }, 1, 2},
        {"region", [c](int v) { return SetWL_OperationRegionCode(c, v); },
         [c] { return QueryWL_OperationRegionCode(c); }, 48, 256},
        {"region and channels", [c](int v) { return SetWL_RegionAndSupportChannel(c, v); },
         [c] { return QueryWL_OperationRegionCode(c); }, 16, -2},
        {"type in use", [c](int v) { return SetWL_802_11_NetworkTypeInUse(c, v); },
         [c] { return QueryWL_802_11_NetworkTypeInUse(c); }, 4, 9},
        {"band of a 2.4 GHz radio", [c](int v) { return SetWL_KWWirelessMode(c, v); },
         [c] { return QueryWL_KWWirelessMode(c); }, 3, 2},
        {"operation mode", [c](int v) { return SetWL_OperationMode_STA_AP(c, v); },
         [c] { return QueryWL_OperationMode_STA_AP(c); }, 1, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.set(k.good), 0);
        EXPECT_EQ(k.get(), k.good);
        EXPECT_EQ(k.set(k.bad), -1);
        EXPECT_EQ(k.get(), k.good);
    }
}

TEST_F(SimAdapterTest, ChannelListFollowsTheRegionsChannels) {
    ASSERT_TRUE(kw::sim::PlugAdapter(2));
    ASSERT_TRUE(Open("\\DEVICE\\SECOND"));
    const uint8_t three[] = {3, 4, 5};
    ASSERT_EQ(SetWL_SupportChannel(&g_ctx, three, 3), 0);
    uint8_t list[100];
    ASSERT_EQ(QueryWL_SupportChannel(&g_ctx, list, 100), 4);
    EXPECT_EQ((std::vector<uint8_t>(list, list + 4)), (std::vector<uint8_t>{3, 4, 5, 255}));
    ASSERT_EQ(SetWL_SupportChannel(&g_ctx, nullptr, 0), 0);
    EXPECT_EQ(QueryWL_SupportChannel(&g_ctx, list, 100), 15) << "an empty list restores the radio's own";
    EXPECT_EQ(SetWL_SupportChannel(&g_ctx, three, 101), -1);
    EXPECT_EQ(QueryWL_SupportChannel(&g_ctx, list, 2), 2);
}

TEST_F(SimAdapterTest, AccessPointListsAdmittedStationsWithoutGaps) {
    ASSERT_TRUE(Open("\\DEVICE\\FIRST"));
    EXPECT_TRUE(StationsInList().empty()) << "a station has no stations";
    ASSERT_EQ(SetWL_OperationMode_STA_AP(&g_ctx, 1), 0);
    EXPECT_EQ(StationsInList(), (std::vector<int>{1, 2, 3}));

    MacList filter{};
    filter.slots[5] = {1, {0x02, 0x33, 0x00, 0x00, 0x00, 0x02}};
    ASSERT_EQ(SetWLAP_FilterList(&g_ctx, reinterpret_cast<uint8_t*>(&filter), sizeof(filter)), 0);
    ASSERT_EQ(SetWLAP_FilterMode(&g_ctx, 2), 0);
    EXPECT_EQ(StationsInList(), (std::vector<int>{1, 3}));
    ASSERT_EQ(SetWLAP_FilterMode(&g_ctx, 1), 0);
    EXPECT_EQ(StationsInList(), (std::vector<int>{2}));
    EXPECT_EQ(SetWLAP_FilterList(&g_ctx, reinterpret_cast<uint8_t*>(&filter), 111), -1);

    uint8_t bssid[6];
    ASSERT_EQ(QueryWL_BSSID(&g_ctx, bssid), 0);
    EXPECT_EQ(bssid[5], 0x01) << "the access point's own address";
    uint32_t before = TxFrames();
    kw::clock::Advance(2000);
    EXPECT_GT(TxFrames(), before);
}

TEST_F(SimAdapterTest, ZeroConfigurationStatusAndService) {
    ASSERT_TRUE(Open("\\DEVICE\\FIRST"));
    EXPECT_EQ(QueryWL_CheckWZCStatus(&g_ctx), 0);
    kw::sim::SetZeroConfigStatus(1);
    EXPECT_EQ(QueryWL_CheckWZCStatus(&g_ctx), 1);
    ASSERT_EQ(SetWL_WZCStatus(&g_ctx, 2), 0);
    EXPECT_EQ(kw::sim::ZeroConfigStatus(), 2);
    EXPECT_EQ(KWStopWZCService(), 0);
    EXPECT_FALSE(kw::sim::ZeroConfigServiceRunning());
    EXPECT_EQ(KWStartWZCService(), 0);
    EXPECT_TRUE(kw::sim::ZeroConfigServiceRunning());
}

}  // namespace
}  // namespace simtest
