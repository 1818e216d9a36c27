// The survey buffer reader keeps inside the bytes it is given, whatever the count and lengths say.
#include "src/mainwnd/survey_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/text.h"
#include "src/device/records.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct EntrySpec {
    uint32_t length = 128;  // the entry's own length field
    std::string ssid;
    uint32_t ssidLength = 0xFFFFFFFF;  // default: the SSID's size
    int32_t rssi = -50;
    uint32_t frequencyKhz = 2437000;
    uint32_t ieLength = 12;
    std::vector<uint8_t> elements;  // written after the fixed part, within length
};

EntrySpec Entry(const std::string& ssid, uint32_t length = 128, uint32_t ieLength = 12) {
    EntrySpec e;
    e.ssid = ssid;
    e.length = length;
    e.ieLength = ieLength;
    return e;
}

// A buffer of `size` bytes: the count, then the entries, each at the previous one plus its
// length field (as a driver lays them out).
std::vector<uint8_t> Buffer(uint32_t count, const std::vector<EntrySpec>& entries, size_t size = kw::kSurveyBufferSize) {
    std::vector<uint8_t> buffer(size, 0);
    std::memcpy(buffer.data(), &count, 4);
    size_t offset = 4;
    for (const EntrySpec& e : entries) {
        SurveyEntryHeader h{};
        h.length = e.length;
        h.bssid[5] = static_cast<uint8_t>(offset);
        h.ssidLength = e.ssidLength == 0xFFFFFFFF ? static_cast<uint32_t>(e.ssid.size()) : e.ssidLength;
        std::memcpy(h.ssid, e.ssid.data(), std::min<size_t>(e.ssid.size(), 32));
        h.rssi = e.rssi;
        h.frequencyKhz = e.frequencyKhz;
        h.infrastructureMode = 1;
        h.ieLength = e.ieLength;
        size_t room = size - offset;
        std::memcpy(buffer.data() + offset, &h, std::min(sizeof h, room));
        if (!e.elements.empty() && room > 128) {
            std::memcpy(buffer.data() + offset + 128, e.elements.data(), std::min(e.elements.size(), room - 128));
        }
        offset += e.length;
        if (offset >= size) break;
    }
    return buffer;
}

// "ssid@offset elements=N" per network read.
std::vector<std::string> Read(const std::vector<uint8_t>& buffer, size_t size = 0) {
    std::vector<std::string> lines;
    for (const auto& n : kw::ReadSurvey(buffer.data(), size ? size : buffer.size())) {
        lines.push_back(n.ssid + "@" + std::to_string(n.offset) + " elements=" + std::to_string(n.elements.size()));
    }
    return lines;
}

struct BadBufferCase {
    const char* name;
    std::vector<uint8_t> buffer;
    std::vector<std::string> expected;
};

std::vector<BadBufferCase> BadBufferCases() {
    EntrySpec a = Entry("A");
    EntrySpec b = Entry("B", 140, 24);
    b.elements = {0, 1, 'B', 1, 1, 0x82, 3, 1, 6, 0xDD, 1, 0};
    EntrySpec last = Entry("Last", static_cast<uint32_t>(kw::kSurveyBufferSize - 4 - 128));
    EntrySpec longName = Entry(std::string(32, 'x'));
    longName.ssidLength = 200;
    return {
        {"Empty", Buffer(0, {a}), {}},
        {"TwoEntries", Buffer(2, {a, b}), {"A@4 elements=0", "B@132 elements=12"}},
        // The count promises more entries than there are: the zeroed bytes after them end the walk.
        {"CountTooLarge", Buffer(5, {a, b}), {"A@4 elements=0", "B@132 elements=12"}},
        {"CountHuge", Buffer(0xFFFFFFFF, {a}), {"A@4 elements=0"}},
        {"EntryShorterThanItsFixedPart", Buffer(2, {a, Entry("short", 127)}), {"A@4 elements=0"}},
        {"EntryPastTheEnd", Buffer(2, {a, Entry("long", 20000)}), {"A@4 elements=0"}},
        {"EntryEndingAtTheLastByte", Buffer(2, {a, last}), {"A@4 elements=0", "Last@132 elements=0"}},
        {"EntryOneBytePastTheLast", Buffer(2, {a, Entry("Over", last.length + 1)}),
         {"A@4 elements=0"}},
        {"SsidLengthCappedAt32", Buffer(1, {longName}),
         {std::string(32, 'x') + "@4 elements=0"}},
        // Elements claimed beyond the entry are cut to the entry; fewer than the fixed fields give none.
        {"ElementsCutToTheEntry", Buffer(1, {Entry("E", 136, 500)}), {"E@4 elements=8"}},
        {"ElementLengthBelowFixedFields", Buffer(1, {Entry("F", 136, 3)}),
         {"F@4 elements=0"}},
        {"TooSmallForTheCount", std::vector<uint8_t>(3, 0xFF), {}},
    };
}

TEST(SurveyBufferTest, ReadsOnlyAsFarAsTheBufferIsValid) {
    for (const auto& c : BadBufferCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.buffer), c.expected);
    }
    EXPECT_TRUE(kw::ReadSurvey(nullptr, 100).empty());
    // A buffer cut short: an entry header that would reach past its end is not read.
    auto buffer = Buffer(2, {Entry("A"), Entry("B")});
    EXPECT_THAT(Read(buffer, 4 + 128 + 127), ElementsAre("A@4 elements=0"));
}

TEST(SurveyBufferTest, FieldsOfAnEntry) {
    EntrySpec e = Entry("Net");
    e.rssi = -77;
    e.frequencyKhz = 5180000;
    auto buffer = Buffer(1, {e});
    auto networks = kw::ReadSurvey(buffer.data(), buffer.size());
    ASSERT_EQ(networks.size(), 1u);
    EXPECT_EQ(networks[0].rssi, -77);
    EXPECT_EQ(networks[0].frequencyKhz, 5180000u);
    EXPECT_EQ(networks[0].bssid[5], 4);
    EXPECT_EQ(networks[0].infrastructureMode, 1u);

    kw::WriteSurveyRssi(buffer.data(), buffer.size(), networks[0].offset, -40);
    EXPECT_EQ(kw::ReadSurvey(buffer.data(), buffer.size())[0].rssi, -40);
    std::vector<uint8_t> before = buffer;
    kw::WriteSurveyRssi(buffer.data(), buffer.size(), buffer.size() - 2, 7);  // would reach past the end
    EXPECT_EQ(buffer, before);
}

TEST(SurveyBufferTest, ChannelsFromFrequencies) {
    const struct {
        uint32_t khz;
        int channel;
    } cases[] = {
        {2412000, 1},   {2437000, 6},   {2472000, 13},  {2484000, 14}, {2411999, -1}, {2484001, -1},
        {4000000, 0},   {4920000, 184}, {4999999, 199}, {5000000, 0},  {5180000, 36}, {5825000, 165},
        {5999999, 199}, {6000000, -1},  {3000000, -1},  {0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(kw::ChannelOfFrequency(c.khz), c.channel) << c.khz;
}

}  // namespace
