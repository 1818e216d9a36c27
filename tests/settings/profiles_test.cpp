// Profiles: the linked list of keys (names in any case and with blanks, deleting at every
// position, hand-edited chains that loop or lead nowhere, names the hive file cannot hold), the
// record's read and write, capture with its range rules and apply through the appliers.
#include "src/settings/profiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "src/settings/setting_keys.h"
#include "tests/support/sim_env.h"

namespace kwtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using kw::reg::Hive;

const std::u16string kAppKey = u"Software\\Talvo\\KWConfig";

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& name : kw::ProfileNames()) names.push_back(kw::ToUtf8(name));
    return names;
}

std::string Link(const std::u16string& profile) {
    std::u16string path = profile.empty() ? kAppKey : kAppKey + u"\\Profile\\" + profile;
    auto link = kw::reg::ReadString(Hive::CurrentUser, path, u"PROFILELINK");
    return link ? kw::ToUtf8(*link) : "<absent>";
}

class ProfilesTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OpenAdapter();
    }
    void AddAll(std::initializer_list<const char16_t*> names) {
        for (const char16_t* name : names) ASSERT_EQ(kw::AddProfile(name), 0) << kw::ToUtf8(name);
    }
};

TEST_F(ProfilesTest, NamesCompareTrimmedAndInAnyCase) {
    EXPECT_EQ(kw::FindProfile(u"Home"), -1);  // empty list
    EXPECT_EQ(kw::DeleteProfile(u"Home"), -1);
    AddAll({u"Home", u" Office "});
    EXPECT_EQ(kw::AddProfile(u"home"), -1);
    EXPECT_EQ(kw::AddProfile(u"  HOME\t"), -1);
    EXPECT_EQ(kw::AddProfile(u"   "), -1);
    EXPECT_THAT(Names(), ElementsAre("Home", " Office "));
    ASSERT_EQ(kw::FindProfile(u"OFFICE"), 0);
    EXPECT_EQ(kw::CurrentProfile(), u" Office ");  // the cursor holds the stored name
    EXPECT_EQ(kw::FindProfile(u"Offic"), -1);
    EXPECT_EQ(Link(u""), "Home");
    EXPECT_EQ(Link(u"Home"), " Office ");
    EXPECT_EQ(Link(u" Office "), "<absent>");
}

TEST_F(ProfilesTest, DeletingHeadMiddleOrLastKeepsTheChainWhole) {
    struct Case {
        const char16_t* victim;
        std::vector<std::string> left;
        std::string head;
    } cases[] = {
        {u"a", {"B", "c"}, "B"},
        {u" b ", {"a", "c"}, "a"},
        {u"C", {"a", "B"}, "a"},
    };
    for (const Case& c : cases) {
        kw::reg::ResetForTests();
        std::filesystem::remove(kw::reg::HiveFilePath(Hive::CurrentUser));
        kw::reg::ResetForTests();
        AddAll({u"a", u"B", u"c"});
        ASSERT_EQ(kw::DeleteProfile(c.victim), 0);
        EXPECT_EQ(Names(), c.left) << kw::ToUtf8(c.victim);
        EXPECT_EQ(Link(u""), c.head);
        EXPECT_THAT(Link(kw::FromUtf8(c.left.back())), ::testing::AnyOf("", "<absent>"));
        EXPECT_FALSE(kw::reg::KeyExists(Hive::CurrentUser, kAppKey + u"\\Profile\\" + kw::FromUtf8(kw::Trim(std::string(kw::ToUtf8(c.victim))))));
        EXPECT_EQ(kw::DeleteProfile(c.victim), -1);
    }
    // The last one goes too, and the list is empty.
    ASSERT_EQ(kw::DeleteProfile(u"a"), 0);
    ASSERT_EQ(kw::DeleteProfile(u"b"), 0);
    EXPECT_THAT(Names(), IsEmpty());
}

TEST_F(ProfilesTest, DeletingANameStoredWithBlanksRemovesItsOwnKey) {
    AddAll({u"  Cafe  "});
    ASSERT_EQ(kw::DeleteProfile(u"cafe"), 0);
    EXPECT_FALSE(kw::reg::KeyExists(Hive::CurrentUser, kAppKey + u"\\Profile\\  Cafe  "));
    EXPECT_THAT(Names(), IsEmpty());
}

TEST_F(ProfilesTest, HandEditedChainsThatLoopOrLeadNowhereEndTheWalk) {
    AddAll({u"One", u"Two", u"Three"});
    // Three links back to one (in another letter case): a loop.
    kw::reg::WriteString(Hive::CurrentUser, kAppKey + u"\\Profile\\Three", u"ProfileLink", u"ONE");
    EXPECT_THAT(Names(), ElementsAre("One", "Two", "Three"));
    EXPECT_EQ(kw::FindProfile(u"Four"), -1);
    // Adding appends after the last profile reached and so mends the loop.
    ASSERT_EQ(kw::AddProfile(u"Four"), 0);
    EXPECT_EQ(Link(u"Three"), "Four");
    EXPECT_THAT(Names(), ElementsAre("One", "Two", "Three", "Four"));
    // Two names a key that is not there.
    kw::reg::WriteString(Hive::CurrentUser, kAppKey + u"\\Profile\\Two", u"ProfileLink", u"Ghost");
    EXPECT_THAT(Names(), ElementsAre("One", "Two"));
    EXPECT_EQ(kw::DeleteProfile(u"Ghost"), -1);
    ASSERT_EQ(kw::DeleteProfile(u"Two"), 0);
    EXPECT_EQ(Link(u"One"), "");
    EXPECT_THAT(Names(), ElementsAre("One"));
    // A profile that links to itself.
    kw::reg::WriteString(Hive::CurrentUser, kAppKey + u"\\Profile\\One", u"ProfileLink", u"one ");
    EXPECT_THAT(Names(), ElementsAre("One"));
}

TEST_F(ProfilesTest, NamesTheHiveFileCannotHoldAreRefusedWithoutAWrite) {
    const std::u16string refused[] = {u"Home\\Office", u"Line\nbreak", u"Tab\there", std::u16string(256, u'x'), u""};
    for (const auto& name : refused) {
        EXPECT_FALSE(kw::ProfileNameStorable(name));
        EXPECT_EQ(kw::AddProfile(name), -1);
    }
    EXPECT_THAT(Names(), IsEmpty());
    EXPECT_FALSE(kw::reg::KeyExists(Hive::CurrentUser, kAppKey + u"\\Profile"));
    for (const std::u16string& name : {std::u16string(255, u'y'), std::u16string(u"Caf\u00e9 [5] \"x\"")}) {
        EXPECT_TRUE(kw::ProfileNameStorable(name));
        EXPECT_EQ(kw::AddProfile(name), 0);
    }
    kw::reg::ResetForTests();  // read back from the file
    EXPECT_EQ(kw::ProfileNames().back(), u"Caf\u00e9 [5] \"x\"");
}

TEST_F(ProfilesTest, CaptureAppliesTheRangeRulesAndWriteKeepsOldTextsForEmptyOnes) {
    kw::WriteSettingText(0, u"Channel", u"149");
    kw::WriteSettingText(0, u"NetworkType", u"9");
    kw::WriteSettingText(0, u"WirelessMode", u"-3");
    kw::WriteSettingText(0, u"AuthenticationMode", u"8");
    kw::WriteSettingText(0, u"FragmentationThreshold", u"2346");
    kw::WriteSettingText(0, u"WEPKeyLength", u"128");
    kw::WriteSettingText(0, u"WEPKey128_2", u"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D");
    kw::WriteSettingText(0, u"SSID", u"0123456789012345678901234567890123456789");
    kw::WriteSettingText(0, u"Dot1xUsername", u"alice");
    AddAll({u"Home"});
    kw::ProfileRecord captured;
    kw::CaptureProfile(captured);
    EXPECT_EQ(captured.channel, 6);
    EXPECT_EQ(captured.networkType, 1);
    EXPECT_EQ(captured.wirelessMode, 0);
    EXPECT_EQ(captured.authenticationMode, 2);
    EXPECT_EQ(captured.fragmentationThreshold, 2346);
    EXPECT_EQ(captured.rtsThreshold, 2347);
    EXPECT_EQ(captured.ssid.size(), 32u);
    EXPECT_EQ(captured.wepKeys[2], u"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D");
    EXPECT_EQ(captured.wepKeys[0], u"21 22 23 24 25 26 27 28 29 2A 2B 2C 2D");  // the built-in key
    ASSERT_EQ(kw::WriteProfile(captured), 0);

    // Saved again with no user name: the profile keeps alice.
    kw::WriteSettingText(0, u"Dot1xUsername", u"");
    kw::WriteSettingText(0, u"Channel", u"11");
    kw::ProfileRecord again;
    kw::CaptureProfile(again);
    ASSERT_EQ(kw::FindProfile(u"HOME"), 0);
    ASSERT_EQ(kw::WriteProfile(again), 0);
    kw::ProfileRecord read;
    ASSERT_EQ(kw::ReadProfile(read), 0);
    EXPECT_EQ(read.dot1xUsername, u"alice");
    EXPECT_EQ(read.channel, 11);
    EXPECT_EQ(read.keyLengthBits, 128);
    EXPECT_EQ(read.wepKeys[2], u"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D");
    EXPECT_EQ(read.desiredRates, u"");  // never captured, never written
    EXPECT_EQ(read.dot1xProtocol, -1);  // absent in the store, written as -1
    EXPECT_EQ(kw::reg::ReadDword(Hive::CurrentUser, kAppKey + u"\\Profile\\Home", u"Channel"), 11u);
}

TEST_F(ProfilesTest, ApplyGoesThroughTheAppliersInOrderAndStartsAuthenticationWhenAsked) {
    kw::ProfileRecord record;
    record.ssid = u"  HomeWPA2 ";
    record.wirelessMode = 3;
    record.channel = 6;
    record.networkType = 1;
    record.authenticationMode = 7;
    record.encryptionStatus = 6;
    record.keyLengthBits = 100;  // not a key length: 64 bits
    record.defaultKeyIndex = 1;
    record.wepKeys = {u"01 02 03 04 05", u"0A 0B 0C 0D 0E", u"", u"zz"};
    record.powerSaveMode = 1;
    record.fragmentationThreshold = 1500;
    record.rtsThreshold = 2347;
    record.dot1xPassphrase = u"correct horse";
    record.dot1xPassphraseFormat = 0;
    record.dot1xUsername = u"bob";
    record.dot1xRc4Wep = 0;
    kw::ApplyProfile(kw::Adapter(), record);
    std::vector<std::string> sets;
    for (const auto& line : Log()) {
        if (line.rfind("SetWL_", 0) == 0) sets.push_back(line.substr(0, line.find('(')));
    }
    ASSERT_GE(sets.size(), 14u);
    EXPECT_THAT(std::vector<std::string>(sets.begin(), sets.begin() + 14),
                ElementsAre("SetWL_PSMode", "SetWL_FragmentationThreshold", "SetWL_RTS_CTS_Threshold",
                            "SetWL_AuthenticationMode", "SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey",
                            "SetWL_WriteKey", "SetWL_WEPStatus", "SetWL_802_11_NetworkTypeInUse", "SetWL_Channel",
                            "SetWL_NetworkType", "SetWL_SSID", "SetWL_SSID"));
    EXPECT_TRUE(Called("SetWL_WriteKey(1, 0, 1, [0A 0B 0C 0D 0E]) = 0"));
    EXPECT_TRUE(Called("SetWL_WriteKey(3, 0, 0, [00 00 00 00 00]) = 0"));
    EXPECT_TRUE(Called("SetWL_SSID([48 6F 6D 65 57 50 41 32], 8) = 0"));
    EXPECT_EQ(Stored(u"SSID"), u"HomeWPA2");
    EXPECT_EQ(Stored(u"Dot1xPassphrase"), u"correct horse");
    EXPECT_EQ(Stored(u"Dot1xUsername"), u"bob");
    EXPECT_EQ(Stored(u"Dot1xRC4WEP"), u"0");
    EXPECT_EQ(Stored(u"WEPKeyLength"), u"64");
    EXPECT_TRUE(kw::AuthenticationWanted());
}

}  // namespace
}  // namespace kwtest
