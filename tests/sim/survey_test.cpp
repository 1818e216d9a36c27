// The survey buffer read back the way the program reads it: bounded walks over entries and
// elements.
#include <map>

#include "tests/sim/sim_support.h"

namespace simtest {
namespace {

const char kWorld[] = R"(
[Adapter1]
DeviceName=\DEVICE\KWTEST1
[Network1]
SSID=Plain
BSSID=02 10 00 00 00 01
Frequency=2484000
RSSI=-30
Quality=99
Security=open
[Network2]
SSID=OnlyWpa
Frequency=2437000
RSSI=-72
Security=wpa-psk
Cipher=tkip
[Network3]
SSID=OnlyWpa2
Security=wpa2-eap
Cipher=ccmp
[Network4]
SSID=Both
Security=wpa-wpa2-psk
Cipher=ccmp
[Network5]
SSID=
Security=wpa2-psk
[Network6]
SSID=Raw
Security=wep
IEs=00 03 52 61 77 DD 05 00 11 22 01 02
[Network7]
SSID=FiveGig
Frequency=5180000
[Network8]
SSID=Party
Mode=adhoc
Rates=02 04 0B 16
)";

struct Entry {
    SurveyEntryHeader header{};
    std::vector<uint8_t> elements;
    std::string Ssid() const { return std::string(reinterpret_cast<const char*>(header.ssid), header.ssidLength); }
    // Element bodies by id (the first of each id), walked within the element area.
    std::map<int, std::vector<uint8_t>> Bodies() const {
        std::map<int, std::vector<uint8_t>> bodies;
        size_t at = 0;
        while (at + 2 <= elements.size() && at + 2 + elements[at + 1] <= elements.size()) {
            bodies.emplace(elements[at],
                           std::vector<uint8_t>(elements.begin() + static_cast<long>(at) + 2,
                                                elements.begin() + static_cast<long>(at) + 2 + elements[at + 1]));
            at += 2u + elements[at + 1];
        }
        EXPECT_EQ(at, elements.size()) << "elements fill their area exactly";
        return bodies;
    }
};

std::vector<Entry> ReadSurvey(const std::vector<uint8_t>& buffer) {
    std::vector<Entry> entries;
    uint32_t count = GetLe32(buffer.data());
    size_t at = 4;
    for (uint32_t i = 0; i < count; ++i) {
        EXPECT_LE(at + sizeof(SurveyEntryHeader), buffer.size());
        if (at + sizeof(SurveyEntryHeader) > buffer.size()) break;
        Entry e;
        std::memcpy(&e.header, buffer.data() + at, sizeof(e.header));
        EXPECT_EQ(e.header.length % 4, 0u);
        EXPECT_GE(e.header.ieLength, kw::kSurveyFixedFieldsSize);
        size_t elementBytes = e.header.ieLength - kw::kSurveyFixedFieldsSize;
        EXPECT_GE(e.header.length, kw::kSurveyElementsOffset + elementBytes);
        EXPECT_LE(at + e.header.length, buffer.size());
        if (e.header.length < kw::kSurveyElementsOffset + elementBytes || at + e.header.length > buffer.size()) break;
        const uint8_t* first = buffer.data() + at + kw::kSurveyElementsOffset;
        e.elements.assign(first, first + elementBytes);
        entries.push_back(e);
        at += e.header.length;
    }
    return entries;
}

class SimSurveyTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Load(kWorld);
        ASSERT_TRUE(Open("\\DEVICE\\KWTEST1"));
    }
    std::vector<Entry> Survey() {
        std::vector<uint8_t> buffer(kw::kSurveyBufferSize, 0xCC);
        EXPECT_EQ(WL_SiteSurveyStart(&g_ctx), 0);
        EXPECT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, buffer.data(), static_cast<int>(buffer.size())), 0);
        return ReadSurvey(buffer);
    }
};

TEST_F(SimSurveyTest, EntriesFollowTheWorldInItsOrderWithinTheAdaptersBand) {
    auto entries = Survey();
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.Ssid());
    EXPECT_EQ(names, (std::vector<std::string>{"Plain", "OnlyWpa", "OnlyWpa2", "Both", "", "Raw", "Party"}))
        << "the 5 GHz network is not heard by a 2.4 GHz adapter";

    const SurveyEntryHeader& plain = entries[0].header;
    EXPECT_EQ(plain.bssid[5], 0x01);
    EXPECT_EQ(plain.privacy, 0u);
    EXPECT_EQ(plain.rssi, -30);
    EXPECT_EQ(plain.frequencyKhz, 2484000u);
    EXPECT_EQ(plain.infrastructureMode, 1u);
    EXPECT_EQ(plain.configLength, 32u);
    EXPECT_EQ(plain.networkTypeInUse, 3u);
    EXPECT_EQ(plain.supportedRates[0], 0x82);
    EXPECT_EQ(entries[1].header.privacy, 1u);
    EXPECT_EQ(entries[1].header.rssi, -72);

    const SurveyEntryHeader& party = entries[6].header;
    EXPECT_EQ(party.infrastructureMode, 0u);
    EXPECT_EQ(party.networkTypeInUse, 1u) << "802.11b rates only";
    EXPECT_EQ(party.fixedFields[10] & 0x03, 0x02) << "IBSS capability";
    EXPECT_EQ(entries[6].Bodies().count(6), 1u) << "IBSS parameter set";
}

TEST_F(SimSurveyTest, SecurityElementsMatchTheNetworksSecurity) {
    auto entries = Survey();
    // RSN: pairwise type at element offset 13, AKM type at 19 (one pairwise suite).
    // WPA: pairwise type at 17, AKM type at 23.
    struct Expect {
        size_t entry;
        bool rsn, wpa;
        int pairwise, akm;
    };
    const Expect cases[] = {
        {0, false, false, 0, 0}, {1, false, true, 2, 2}, {2, true, false, 4, 1},
        {3, true, true, 4, 2},   {4, true, false, 4, 2},
    };
    for (const Expect& c : cases) {
        SCOPED_TRACE(entries[c.entry].Ssid());
        auto bodies = entries[c.entry].Bodies();
        ASSERT_EQ(bodies.count(48) == 1, c.rsn);
        ASSERT_EQ(bodies.count(221) == 1, c.wpa);
        if (c.rsn) {
            const auto& rsn = bodies[48];  // offsets within the body are element offsets - 2
            ASSERT_EQ(rsn.size(), 20u);
            EXPECT_EQ(rsn[13 - 2], c.pairwise);
            EXPECT_EQ(rsn[19 - 2], c.akm);
            EXPECT_EQ((std::vector<uint8_t>(rsn.begin() + 2, rsn.begin() + 5)),
                      (std::vector<uint8_t>{0x00, 0x0F, 0xAC}));
        }
        if (c.wpa) {
            const auto& wpa = bodies[221];
            ASSERT_EQ(wpa.size(), 22u);
            EXPECT_EQ((std::vector<uint8_t>(wpa.begin(), wpa.begin() + 4)),
                      (std::vector<uint8_t>{0x00, 0x50, 0xF2, 0x01}));
            EXPECT_EQ(wpa[17 - 2], c.pairwise);
            EXPECT_EQ(wpa[23 - 2], c.akm);
        }
    }
}

TEST_F(SimSurveyTest, HiddenAndRawEntries) {
    auto entries = Survey();
    const Entry& hidden = entries[4];
    EXPECT_EQ(hidden.header.ssidLength, 0u);
    EXPECT_EQ(hidden.Bodies()[0].size(), 0u) << "an empty SSID element";
    const Entry& raw = entries[5];
    EXPECT_EQ(raw.elements,
              (std::vector<uint8_t>{0x00, 0x03, 0x52, 0x61, 0x77, 0xDD, 0x05, 0x00, 0x11, 0x22, 0x01, 0x02}));
    EXPECT_EQ(raw.header.privacy, 1u);
}

TEST_F(SimSurveyTest, SmallBuffersHoldOnlyWholeEntries) {
    std::vector<uint8_t> full(kw::kSurveyBufferSize);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, full.data(), static_cast<int>(full.size())), 0);
    uint32_t firstLength = GetLe32(full.data() + 4);
    std::vector<uint8_t> small(4 + firstLength + 10);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, small.data(), static_cast<int>(small.size())), 0);
    EXPECT_EQ(GetLe32(small.data()), 1u);
    std::vector<uint8_t> tiny(3);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, tiny.data(), 3), -1);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&g_ctx, nullptr, 100), -1);
}

TEST_F(SimSurveyTest, DualBandAdapterHearsFiveGigahertz) {
    Load(R"(
[Adapter1]
DeviceName=\DEVICE\KWTEST1
BandCode=4
[Network1]
SSID=FiveGig
Frequency=5180000
)");
    ASSERT_TRUE(Open("\\DEVICE\\KWTEST1"));
    auto entries = Survey();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].header.networkTypeInUse, 2u);
    EXPECT_EQ(entries[0].Bodies()[3], (std::vector<uint8_t>{36})) << "DS parameter: channel 36";
}

}  // namespace
}  // namespace simtest
