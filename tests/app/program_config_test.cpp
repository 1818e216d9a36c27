#include "src/config/program_config.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/test_env.h"

namespace {

using kw::ReadProgramConfig;

TEST(ProgramConfig, MissingFileGivesEveryDefault) {
    kwtest::TempDir dir;
    kw::ProgramConfig c = ReadProgramConfig(dir.File("KWConfig.INI"));
    EXPECT_EQ(c.companyAbbrev, u"Talvo");
    EXPECT_EQ(c.mainPageUpdateTimeMs, 1000);
    EXPECT_EQ(c.pseudoIbssSupport, 1);
    EXPECT_EQ(c.enable80211d, 1);
    EXPECT_EQ(c.mlSbcsFile, u"KWMLa.INI");
    EXPECT_EQ(c.mlUnicodeFile, u"KWMLu.INI");
    EXPECT_EQ(c.bridgeProgram, u"KWBrgApp.EXE");
    EXPECT_EQ(c.strengthMinDb, -105);
    EXPECT_EQ(c.strengthMaxDb, -40);
    EXPECT_EQ(c.qualityMax, 100);
    EXPECT_EQ(c.releaseChipMode, u"GENERAL");
    for (const auto& id : c.matchingDeviceIds) EXPECT_TRUE(id.empty());
}

TEST(ProgramConfig, ReversedBoundsAreSwappedAndEqualOnesKept) {
    kwtest::TempDir dir;
    std::string file = dir.Write("c.INI",
                                 "[MAIN_INFO]\nKWStrengthMin_dB=-30\nKWStrengthMax_dB=-90\n"
                                 "KWQualityMin=40\nKWQualityMax=40\nCompany_Abbrev=" +
                                     std::string(300, 'c') + "\n");
    kw::ProgramConfig c = ReadProgramConfig(file);
    EXPECT_EQ(c.strengthMinDb, -90);
    EXPECT_EQ(c.strengthMaxDb, -30);
    EXPECT_EQ(c.qualityMin, 40);
    EXPECT_EQ(c.qualityMax, 40);
    EXPECT_EQ(c.companyAbbrev.size(), 255u);
}

TEST(ProgramConfig, HardwareIdListStopsAtFirstEmptyAndAfterTwenty) {
    kwtest::TempDir dir;
    std::string twentyFive = "[ADAPTER_INFORMATION]\n";
    for (int i = 0; i < 25; ++i) twentyFive += "MatchingDeviceId" + std::to_string(i) + "=ID" + std::to_string(i) + "\n";
    kw::ProgramConfig all = ReadProgramConfig(dir.Write("all.INI", twentyFive));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(all.matchingDeviceIds[i], kw::FormatW("ID%d", i));
    EXPECT_TRUE(all.matchingDeviceIds[20].empty());

    kw::ProgramConfig gap = ReadProgramConfig(
        dir.Write("gap.INI", "[ADAPTER_INFORMATION]\nMatchingDeviceId0=A\nMatchingDeviceId1=B\nMatchingDeviceId3=D\n"));
    EXPECT_EQ(gap.matchingDeviceIds[0], u"A");
    EXPECT_EQ(gap.matchingDeviceIds[1], u"B");
    for (size_t i = 2; i < gap.matchingDeviceIds.size(); ++i) EXPECT_TRUE(gap.matchingDeviceIds[i].empty());
}

TEST(ProgramConfig, ShippedFileHoldsTheDocumentedDefaultsAndNamesTheChipModel) {
    kw::ProgramConfig shipped = ReadProgramConfig(std::string(KW_TEST_DATA_DIR) + "/KWConfig.INI");
    kw::ProgramConfig defaults;
    EXPECT_EQ(shipped.companyAbbrev, defaults.companyAbbrev);
    EXPECT_EQ(shipped.mainPageUpdateTimeMs, defaults.mainPageUpdateTimeMs);
    EXPECT_EQ(shipped.strengthMinDb, defaults.strengthMinDb);
    // The chip model name of the family: a second start finds the running copy and its requests.
    EXPECT_EQ(shipped.releaseChipMode, u"KW7100");
    EXPECT_FALSE(shipped.matchingDeviceIds[0].empty());
}

TEST(ProgramPaths, ProgramWithoutExtensionReadsStemDotIni) {
    kw::ProgramPaths p = kw::PathsOfProgram("/opt/kw/KWConfig");
    EXPECT_EQ(p.directory, "/opt/kw/");
    EXPECT_EQ(p.stem + "INI", "/opt/kw/KWConfig.INI");
    EXPECT_EQ(p.programName, "KWConfig");
}

}  // namespace
