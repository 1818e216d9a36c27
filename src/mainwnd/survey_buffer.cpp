#include "src/mainwnd/survey_buffer.h"

#include <cstring>

#include "platform/text.h"
#include "src/device/records.h"

namespace kw {

namespace {
uint32_t ReadU32(const uint8_t* p) {
    uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}
}  // namespace

std::vector<SurveyNetwork> ReadSurvey(const uint8_t* buffer, size_t size) {
    std::vector<SurveyNetwork> networks;
    if (buffer == nullptr || size < kSurveyCountSize) return networks;
    uint32_t count = ReadU32(buffer);
    size_t offset = kSurveyCountSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - offset < sizeof(SurveyEntryHeader)) break;
        SurveyEntryHeader header;
        std::memcpy(&header, buffer + offset, sizeof header);
        if (header.length < sizeof(SurveyEntryHeader) || header.length > size - offset) break;

        SurveyNetwork network;
        network.offset = offset;
        std::memcpy(network.bssid.data(), header.bssid, 6);
        size_t ssidLength = header.ssidLength > 32 ? 32 : header.ssidLength;
        network.ssid.assign(reinterpret_cast<const char*>(header.ssid), ssidLength);
        network.privacy = header.privacy;
        network.rssi = header.rssi;
        network.networkTypeInUse = header.networkTypeInUse;
        network.frequencyKhz = header.frequencyKhz;
        network.infrastructureMode = header.infrastructureMode;
        size_t room = header.length - kSurveyElementsOffset;
        size_t declared = header.ieLength > kSurveyFixedFieldsSize ? header.ieLength - kSurveyFixedFieldsSize : 0;
        network.elements.assign(buffer + offset + kSurveyElementsOffset, declared < room ? declared : room);
        networks.push_back(std::move(network));
        offset += header.length;
    }
    return networks;
}

void WriteSurveyRssi(uint8_t* buffer, size_t size, size_t offset, int32_t rssi) {
    size_t at = offset + offsetof(SurveyEntryHeader, rssi);
    if (at + sizeof rssi <= size) std::memcpy(buffer + at, &rssi, sizeof rssi);
}

std::u16string FormatBssid(const uint8_t* b) {
    return FormatW("%02X %02X %02X %02X %02X %02X", b[0], b[1], b[2], b[3], b[4], b[5]);
}

int ChannelOfFrequency(uint32_t f) {
    if (f >= 2412000 && f <= 2484000) return f == 2484000 ? 14 : static_cast<int>((f / 1000 - 2412) / 5 + 1);
    if (f >= 4000000 && f < 5000000) return static_cast<int>((f / 1000 - 4000) / 5);
    if (f >= 5000000 && f < 6000000) return static_cast<int>((f / 1000 - 5000) / 5);
    return -1;
}

}  // namespace kw
