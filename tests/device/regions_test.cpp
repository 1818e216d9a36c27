#include "src/device/regions.h"

#include <gtest/gtest.h>

#include <map>

#include "src/lang/language_table.h"
#include "tests/support/sim_env.h"

namespace {

TEST(Regions, ChannelListsOfTheTable) {
    struct Case {
        int code;
        bool known;
        std::vector<uint8_t> channels;
    } cases[] = {
        {48, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {80, true, {3, 4, 5, 6, 7, 8, 9}},
        {81, true, {10}},
        {50, true, {10, 11, 12, 13}},
        {64, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {16, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {0, true, {}},
        {124, false, {}},
        {134, false, {}},
        {-1, false, {}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> channels{99};
        EXPECT_EQ(kw::RegionChannels(c.code, channels), c.known) << c.code;
        EXPECT_EQ(channels, c.channels) << c.code;
    }
}

// Every code of the table against its channel mask; every other code is unknown.
TEST(Regions, EveryCodeHasTheChannelsOfItsMask) {
    std::map<int, uint16_t> table{{0, 0x0000}, {80, 0x01FC}, {81, 0x0200}};
    for (int code : {16, 32, 33, 34, 51, 66, 67, 68, 69, 70, 105, 111, 112, 121, 125, 126, 127, 128, 129, 130}) {
        table[code] = 0x07FF;
    }
    for (int code : {48, 49, 52, 53, 54, 72, 106, 107, 108, 109, 110, 113, 114, 115, 116, 117, 118, 119, 120, 122, 123,
                     131, 132, 133}) {
        table[code] = 0x1FFF;
    }
    for (int code = 82; code <= 104; ++code) table[code] = 0x1FFF;
    for (int code : {50, 71}) table[code] = 0x1E00;
    for (int code : {64, 65}) table[code] = 0x3FFF;
    ASSERT_EQ(table.size(), 74u);
    for (int code = -5; code < 300; ++code) {
        std::vector<uint8_t> expected;
        auto entry = table.find(code);
        for (int bit = 0; entry != table.end() && bit < 16; ++bit) {
            if (entry->second & (1u << bit)) expected.push_back(static_cast<uint8_t>(bit + 1));
        }
        std::vector<uint8_t> channels;
        EXPECT_EQ(kw::RegionChannels(code, channels), entry != table.end()) << code;
        EXPECT_EQ(channels, expected) << code;
    }
}

TEST(Regions, RegionCodeTextsAreHexadecimal) {
    EXPECT_EQ(kw::ParseRegionCodeText(u"30"), 48);
    EXPECT_EQ(kw::ParseRegionCodeText(u"3a"), 58);
    EXPECT_EQ(kw::ParseRegionCodeText(u""), 0);
    EXPECT_EQ(kw::ParseRegionCodeText(u"3G"), -1);
    EXPECT_EQ(kw::ParseRegionCodeText(u"FFFFFFFFFFFF"), -1);
}

class RegionDriverTest : public kwtest::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
};

TEST_F(RegionDriverTest, SetRegionSendsChannelsOnlyForKindOne) {
    EXPECT_EQ(kw::KWConfig_SetWL_RegionAndSupportChannel(kw::Adapter(), 80), 0);
    EXPECT_TRUE(Called("SetWL_OperationRegionCode(80) = 0"));
    EXPECT_TRUE(Called("SetWL_SupportChannel([03 04 05 06 07 08 09], 7) = 0"));
    EXPECT_EQ(Stored(u"OperationRegion", 1), u"80");

    kw::sim::ClearCallLog();
    EXPECT_EQ(kw::KWConfig_SetWL_RegionAndSupportChannel(kw::Adapter(), 0), 0);
    EXPECT_TRUE(Called("SetWL_SupportChannel(null, 0) = 0"));

    kw::sim::ClearCallLog();
    EXPECT_EQ(kw::KWConfig_SetWL_RegionAndSupportChannel(kw::Adapter(), 124), -1);
    EXPECT_TRUE(Calls("SetWL_OperationRegionCode").empty());
    EXPECT_EQ(Stored(u"OperationRegion"), u"0");

    kw::SetDeviceKind(2);
    kw::sim::ClearCallLog();
    EXPECT_EQ(kw::KWConfig_SetWL_RegionAndSupportChannel(kw::Adapter(), 48), 0);
    EXPECT_TRUE(Called("SetWL_OperationRegionCode(48) = 0"));
    EXPECT_TRUE(Calls("SetWL_SupportChannel").empty());
}

TEST_F(RegionDriverTest, RoamingChoices) {
    int choice = -1;
    EXPECT_TRUE(kw::ChooseWorldMode(kw::Adapter(), choice));
    EXPECT_EQ(choice, 1);
    EXPECT_TRUE(Called("SetWL_MultiDomainCapability(1) = 0"));
    kw::sim::ClearCallLog();
    EXPECT_FALSE(kw::ChooseWorldMode(kw::Adapter(), choice));  // region 0 applied again anyway
    EXPECT_TRUE(Called("SetWL_OperationRegionCode(0) = 0"));
    EXPECT_TRUE(Calls("SetWL_MultiDomainCapability").empty());
    EXPECT_TRUE(kw::ChooseUserSelection(kw::Adapter(), choice));
    EXPECT_TRUE(Called("SetWL_MultiDomainCapability(0) = 0"));
    kw::sim::ClearCallLog();
    kw::PickCountry(kw::Adapter(), 49);
    EXPECT_TRUE(Called("SetWL_OperationRegionCode(49) = 0"));
    EXPECT_TRUE(Called("SetWL_RegionAndSupportChannel(49) = 0"));
}

TEST(CountryList, ComesFromTheLanguageInFileOrder) {
    kwtest::TempDir dir;
    std::string file = dir.Write("lang.INI",
                                 "[LANGUAGES]\nLanguage_1_Section=L\n[L]\nAS_Country_Name_1=Alpha\nAS_Country_Region_Code_1=10\n"
                                 "AS_Country_Name_2=Beta\nAS_Country_Region_Code_2=\nAS_Country_Name_3=Gamma\n"
                                 "AS_Country_Region_Code_3=zz\nAS_Country_Name_5=Skipped\n");
    ASSERT_TRUE(kw::Language().Load(file, kw::kLanguageIndexSection));
    auto countries = kw::BuildCountryList();
    ASSERT_EQ(countries.size(), 3u);
    EXPECT_EQ(countries[0].regionCode, 16);
    EXPECT_EQ(countries[1].regionCode, 0);
    EXPECT_EQ(countries[2].name, u"Gamma");
    EXPECT_EQ(countries[2].regionCode, -1);
    ASSERT_FALSE(kw::Language().Load(dir.File("none.INI"), kw::kLanguageIndexSection));
    EXPECT_TRUE(kw::BuildCountryList().empty());
}

}  // namespace
