#include "sim/survey.h"

#include <algorithm>
#include <cstring>

#include "sim/elements.h"
#include "sim/link.h"

namespace kw::sim {

namespace {

constexpr uint16_t kBeaconIntervalTu = 100;

SurveyEntryHeader EntryHeader(const WorldNetwork& network, size_t elementBytes, uint64_t nowMs) {
    SurveyEntryHeader h{};
    size_t length = kSurveyElementsOffset + elementBytes;
    h.length = static_cast<uint32_t>((length + 3) & ~size_t{3});
    std::copy(network.bssid.begin(), network.bssid.end(), h.bssid);
    h.ssidLength = static_cast<uint32_t>(std::min<size_t>(network.ssid.size(), sizeof(h.ssid)));
    std::copy_n(network.ssid.begin(), h.ssidLength, h.ssid);
    h.privacy = network.security != Security::Open ? 1 : 0;
    h.rssi = network.rssi;
    h.networkTypeInUse = TypeInUseOf(network);
    h.configLength = kSurveyConfigLength;
    h.beaconPeriod = kBeaconIntervalTu;
    h.frequencyKhz = network.frequencyKhz;
    h.infrastructureMode = network.adhoc ? 0 : 1;
    std::copy_n(network.rates.begin(), std::min(network.rates.size(), sizeof(h.supportedRates)), h.supportedRates);
    h.ieLength = static_cast<uint32_t>(kSurveyFixedFieldsSize + elementBytes);
    uint64_t timestampUs = nowMs * 1000;
    for (int i = 0; i < 8; ++i) h.fixedFields[i] = static_cast<uint8_t>(timestampUs >> (8 * i));
    h.fixedFields[8] = static_cast<uint8_t>(kBeaconIntervalTu);
    h.fixedFields[9] = static_cast<uint8_t>(kBeaconIntervalTu >> 8);
    uint16_t capability = CapabilityOf(network);
    h.fixedFields[10] = static_cast<uint8_t>(capability);
    h.fixedFields[11] = static_cast<uint8_t>(capability >> 8);
    return h;
}

}  // namespace

bool BuildSurvey(const SimState& sim, int adapter, uint8_t* buffer, size_t size, uint64_t nowMs) {
    if (!buffer || size < kSurveyCountSize) return false;
    std::memset(buffer, 0, size);
    const WorldAdapter& hardware = sim.world.adapters[static_cast<size_t>(adapter)];
    uint32_t count = 0;
    size_t offset = kSurveyCountSize;
    for (const WorldNetwork& network : sim.world.networks) {
        if (!Hears(hardware, network)) continue;
        Bytes elements = NetworkElements(network);
        SurveyEntryHeader header = EntryHeader(network, elements.size(), nowMs);
        if (header.length > size - offset) break;
        std::memcpy(buffer + offset, &header, sizeof(header));
        if (!elements.empty()) std::memcpy(buffer + offset + kSurveyElementsOffset, elements.data(), elements.size());
        offset += header.length;
        ++count;
    }
    std::memcpy(buffer, &count, sizeof(count));
    return true;
}

}  // namespace kw::sim
