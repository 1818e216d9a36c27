// The call log's line format, in memory and in the KWWLAN_LOG file.
#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

#include "tests/sim/sim_support.h"

namespace simtest {
namespace {

class SimCallLogTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Load("[Adapter1]\nDeviceName=\\DEVICE\\LOG\n");
        ASSERT_TRUE(Open("\\DEVICE\\LOG"));
        kw::sim::ClearCallLog();
    }
};

TEST_F(SimCallLogTest, OneLinePerCallInTheDocumentedForm) {
    const uint8_t home[] = {'H', 'o', 'm', 'e'};
    SetWL_SSID(&g_ctx, home, 4);
    SetWL_Channel(&g_ctx, 300);
    PmkidRequest pmkid{32, 1, {1, 2, 3, 4, 5, 6}, {}, {}};
    WriteOid(&g_ctx, kw::kRequestPmkid, reinterpret_cast<uint8_t*>(&pmkid), sizeof(pmkid));
    uint8_t out[32];
    Get_PSK_Key_32byte("a\"b\\c", home, 4, 1, out, 32);
    KWStopWZCService();
    KwOpenAdapter(&g_ctx);

    auto lines = kw::sim::CallLog();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "SetWL_SSID([48 6F 6D 65], 4) = 0");
    EXPECT_EQ(lines[1], "SetWL_Channel(300) = -1");
    EXPECT_EQ(lines[2],
              "WriteOid(0xFF12FF23, [20 00 00 00 01 00 00 00 01 02 03 04 05 06 00 00 00 00 00 00 00 00 00 00 "
              "00 00 00 00 00 00 00 00], 32) = 0");
    EXPECT_EQ(lines[3].rfind("Get_PSK_Key_32byte(\"a\\\"b\\\\c\", [48 6F 6D 65], 4, 1, [", 0), 0u) << lines[3];
    EXPECT_EQ(lines[3].substr(lines[3].size() - 10), "], 32) = 0");
    EXPECT_EQ(lines[4], "KWStopWZCService() = 0");
    EXPECT_EQ(lines[5], "KwOpenAdapter(\"\\\\DEVICE\\\\LOG\") = 1");
}

TEST_F(SimCallLogTest, FileNamedByTheEnvironmentGetsTheSameLines) {
    kwtest::TempDir folder;
    std::string path = folder.File("calls.log");
    ::setenv("KWWLAN_LOG", path.c_str(), 1);
    QueryWL_PSMode(&g_ctx);
    SetWL_PSMode(&g_ctx, 1);
    ::unsetenv("KWWLAN_LOG");
    QueryWL_PSMode(&g_ctx);
    EXPECT_EQ(kwtest::ReadFileBytes(path), "QueryWL_PSMode() = 0\nSetWL_PSMode(1) = 0\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // it holds key material
    EXPECT_EQ(kw::sim::CallLog().size(), 3u);
    kw::sim::ClearCallLog();
    EXPECT_TRUE(kw::sim::CallLog().empty());
}

}  // namespace
}  // namespace simtest
