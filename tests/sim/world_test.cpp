// World files: the default world, defaults for missing and malformed keys, registry effects.
#include <cstdlib>
#include <filesystem>

#include "platform/registry.h"
#include "tests/sim/sim_support.h"

namespace simtest {
namespace {

using kw::reg::Hive;

const char16_t kNtClassKey[] = u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const char16_t k95ClassKey[] = u"System\\CurrentControlSet\\Services\\Class\\Net\\";

std::vector<AdapterListEntry> ListAdapters() {
    std::vector<AdapterListEntry> entries(100);
    int count = CreateAllNICAdapterList(entries.data(), 100);
    entries.resize(count > 0 ? static_cast<size_t>(count) : 0);
    return entries;
}

int StationCount() {
    MacList list{};
    if (WL_RetrieveStationList(&g_ctx, reinterpret_cast<uint8_t*>(&list), sizeof(list)) != 0) return -1;
    int count = 0;
    for (const MacSlot& slot : list.slots) count += slot.inUse ? 1 : 0;
    return count;
}

using SimWorldTest = SimTest;

TEST_F(SimWorldTest, DefaultWorldHoldsWhatTheProgramIsTriedWith) {
    ASSERT_TRUE(kw::sim::LoadWorldFile(KW_TEST_DATA_DIR "/DefaultWorld.INI"));
    auto adapters = ListAdapters();
    ASSERT_EQ(adapters.size(), 2u) << "the KW7200 is not plugged in";
    EXPECT_STREQ(adapters[0].description, "Talvo KW7100 Wireless USB Adapter");
    EXPECT_STREQ(adapters[0].instanceKey, "0007");
    EXPECT_EQ(kw::reg::ReadString(Hive::LocalMachine, std::u16string(kNtClassKey) + u"0007", u"MatchingDeviceId"),
              u"USB\\VID_6B57&PID_7100");
    EXPECT_EQ(kw::reg::ReadString(Hive::LocalMachine, std::u16string(kNtClassKey) + u"0012", u"MatchingDeviceId"),
              u"PCI\\VEN_6B57&DEV_7200");

    ASSERT_TRUE(Open(adapters[0].deviceName));
    DriverInfo info{};
    ASSERT_EQ(Query_KWDriverInfo(&g_ctx, &info), 0);
    EXPECT_EQ(info.chipType, 1);
    EXPECT_EQ(info.bandCode, 3);
    std::vector<uint8_t> survey(kw::kSurveyBufferSize);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, survey.data(), static_cast<int>(survey.size())), 0);
    EXPECT_GE(GetLe32(survey.data()), 8u);
    ASSERT_EQ(SetWL_OperationMode_STA_AP(&g_ctx, 1), 0);
    EXPECT_EQ(StationCount(), 3);

    std::vector<CertListEntry> certificates(kw::kCertListCapacity);
    EXPECT_EQ(getMyCertList(certificates.data()), 2);
    ASSERT_TRUE(kw::sim::PlugAdapter(2));
    DriverInfo second{};
    ASSERT_TRUE(Open("\\DEVICE\\{5A1C7200-3E2B-4D61-9A07-6B5772000002}"));
    ASSERT_EQ(Query_KWDriverInfo(&g_ctx, &second), 0);
    EXPECT_EQ(second.chipType, 2);
}

TEST_F(SimWorldTest, DefaultWorldJoinsItsPreSharedKeyNetwork) {
    ASSERT_TRUE(kw::sim::LoadWorldFile(KW_TEST_DATA_DIR "/DefaultWorld.INI"));
    ASSERT_TRUE(Open("\\DEVICE\\{5A1C7100-3E2B-4D61-9A07-6B5771000001}"));
    SetWL_AuthenticationMode(&g_ctx, 7);
    SetWL_WEPStatus(&g_ctx, 6);
    ASSERT_EQ(JoinSsid("HomeWPA2"), 0);
    auto pmk = PskOf("correct horse battery", "HomeWPA2");
    KeyNegotiationBlock block = MakeBlock(pmk.data(), kw::kCipherCcmp, kw::kCipherCcmp, InstallKey, CopyOwnElement);
    Negotiate(block);
    kw::clock::Advance(10000);
    EXPECT_EQ(QueryWL_ConnectState(&g_ctx), 0);
    EXPECT_GT(TxFrames(), 0u);
}

TEST_F(SimWorldTest, WorldNamedByTheEnvironmentLoadsOnFirstUse) {
    kwtest::TempDir folder;
    std::string path = folder.Write("w.ini", "[Adapter1]\nDeviceName=\\DEVICE\\FROMENV\n[Adapter2]\nPresent=1\n");
    ::setenv("KWWLAN_WORLD", path.c_str(), 1);
    EXPECT_EQ(kw::sim::DefaultWorldPath(), path);
    kw::sim::Reset();
    auto adapters = ListAdapters();
    ::unsetenv("KWWLAN_WORLD");
    ASSERT_EQ(adapters.size(), 2u);
    EXPECT_STREQ(adapters[0].deviceName, "\\DEVICE\\FROMENV");
    EXPECT_STREQ(adapters[1].instanceKey, "0002") << "defaults for the missing keys";
}

TEST_F(SimWorldTest, MissingAndMalformedValuesTakeTheirDefaults) {
    Load(R"(
[System]
OSVersionCode=seven
IsWindows95=2
[Adapter1]
DeviceName=\DEVICE\ODD
InstanceKey=12345
ChipType=abc
BandCode=9
MAC=zz 11
DriverVersion=0xZZ
Present=maybe
Channels=1 two 3
SupportedRates=
AdhocMode=7
Refuse=
[Network1]
SSID=ThisNameIsFarLongerThanThirtyTwoBytesOfSsid
BSSID=01 02
Frequency=-5
RSSI=hello
Quality=1000
Mode=sideways
Security=quantum
Cipher=rot13
WEPKey=GG
[Network2]
Mode=adhoc
[Network4]
SSID=AfterAGap
[Station1]
MAC=not a mac
[Certificate1]
Exportable=perhaps
)");
    EXPECT_EQ(KW_GetOSVersion(), 7);
    EXPECT_EQ(QueryWL_IsWindows95(), 0);
    auto adapters = ListAdapters();
    ASSERT_EQ(adapters.size(), 1u);
    EXPECT_STREQ(adapters[0].instanceKey, "0001");
    ASSERT_TRUE(Open("\\DEVICE\\ODD"));
    DriverInfo info{};
    ASSERT_EQ(Query_KWDriverInfo(&g_ctx, &info), 0);
    EXPECT_EQ(info.chipType, 1);
    EXPECT_EQ(info.bandCode, 3);
    EXPECT_EQ(QueryWL_DriverVersion(&g_ctx), 0x02063A21);
    EXPECT_EQ(QueryWL_KWAdhocMode(&g_ctx), 1);
    uint8_t mac[6];
    ASSERT_EQ(GetNICAdapterMAC(&g_ctx, mac), 0);
    EXPECT_EQ(mac[0], 0x02);
    uint8_t channels[100];
    EXPECT_EQ(QueryWL_SupportChannel(&g_ctx, channels, 100), 15) << "1 to 14 and the separator";
    uint8_t rates[16];
    ASSERT_EQ(QueryWL_SupportedRate(&g_ctx, rates), 0);
    EXPECT_EQ(rates[11], 0x6C);

    std::vector<uint8_t> survey(kw::kSurveyBufferSize);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, survey.data(), static_cast<int>(survey.size())), 0);
    ASSERT_EQ(GetLe32(survey.data()), 2u) << "numbered sections end at the first gap";
    SurveyEntryHeader first;
    std::memcpy(&first, survey.data() + 4, sizeof(first));
    EXPECT_EQ(first.ssidLength, 32u);
    EXPECT_EQ(first.frequencyKhz, 2437000u);
    EXPECT_EQ(first.rssi, -60);
    EXPECT_EQ(first.infrastructureMode, 1u);
    EXPECT_EQ(first.privacy, 0u);

    ASSERT_EQ(SetWL_OperationMode_STA_AP(&g_ctx, 1), 0);
    EXPECT_EQ(StationCount(), 1);
    std::vector<CertListEntry> certificates(kw::kCertListCapacity);
    ASSERT_EQ(getMyCertList(certificates.data()), 1);
    EXPECT_EQ(std::u16string(certificates[0].subject), u"CN=Certificate 1");
}

TEST_F(SimWorldTest, UnreadableFileLeavesTheWorldAsItWas) {
    Load("[Adapter1]\nDeviceName=\\DEVICE\\KEEP\n");
    EXPECT_FALSE(kw::sim::LoadWorldFile("/nonexistent/world.ini"));
    auto adapters = ListAdapters();
    ASSERT_EQ(adapters.size(), 1u);
    EXPECT_STREQ(adapters[0].deviceName, "\\DEVICE\\KEEP");
}

TEST_F(SimWorldTest, RegistryEffects) {
    Load(R"(
[System]
IsWindows95=1
BluetoothUtility=/opt/bt/bin/soleil --quiet
[Adapter1]
InstanceKey=0003
MatchingDeviceId=USB\VID_6B57&PID_7100
ClassKeyAccess=0
[Adapter2]
InstanceKey=0004
MatchingDeviceId=PCI\VEN_6B57&DEV_7200
)");
    std::u16string denied = std::u16string(k95ClassKey) + u"0003";
    std::u16string allowed = std::u16string(k95ClassKey) + u"0004";
    kw::reg::Key key;
    EXPECT_EQ(kw::reg::Key::Open(Hive::LocalMachine, denied, kw::reg::Access::Full, key), kw::reg::kAccessDenied);
    EXPECT_EQ(kw::reg::Key::Open(Hive::LocalMachine, denied, kw::reg::Access::Read, key), kw::reg::kSuccess);
    EXPECT_EQ(key.ReadString(u"MatchingDeviceId"), u"USB\\VID_6B57&PID_7100");
    EXPECT_EQ(kw::reg::Key::Open(Hive::LocalMachine, allowed, kw::reg::Access::Full, key), kw::reg::kSuccess);

    const std::u16string appPaths = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\BlueSoleil.exe";
    EXPECT_EQ(kw::reg::ReadString(Hive::LocalMachine, appPaths, u""), u"/opt/bt/bin/soleil --quiet");
    EXPECT_EQ(kw::reg::ReadString(Hive::LocalMachine, appPaths, u"Path"), u"/opt/bt/bin");

    Load("[Adapter1]\nInstanceKey=0005\n");
    EXPECT_EQ(kw::reg::Key::Open(Hive::LocalMachine, denied, kw::reg::Access::Full, key), kw::reg::kSuccess)
        << "a new world lifts the old denials";
}

}  // namespace
}  // namespace simtest
