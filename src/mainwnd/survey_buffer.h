// Reading the site-survey buffer: a 32-bit entry count and variable-length entries. Every walk
// stays inside the bytes there: an entry whose length does not fit, or that is shorter than its
// fixed part, ends the walk, and so does a count larger than the entries present.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kw {

struct SurveyNetwork {
    size_t offset = 0;  // of the entry in the buffer
    std::array<uint8_t, 6> bssid{};
    std::string ssid;  // the SSID bytes, at most 32
    uint32_t privacy = 0;
    int32_t rssi = 0;
    uint32_t networkTypeInUse = 0;
    uint32_t frequencyKhz = 0;
    uint32_t infrastructureMode = 0;
    std::basic_string<uint8_t> elements;  // the information elements after the fixed fields
};

std::vector<SurveyNetwork> ReadSurvey(const uint8_t* buffer, size_t size);
// Overwrites the signal strength of the entry at offset (a valid entry's offset).
void WriteSurveyRssi(uint8_t* buffer, size_t size, size_t offset, int32_t rssi);

// Six upper-case hexadecimal pairs separated by blanks.
std::u16string FormatBssid(const uint8_t* bssid);

// Channel number of a centre frequency, or -1 when it belongs to no known band.
int ChannelOfFrequency(uint32_t frequencyKhz);

}  // namespace kw
