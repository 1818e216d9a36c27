#include "sim/requests.h"

#include <algorithm>
#include <cstring>

#include "platform/debug.h"
#include "sim/elements.h"
#include "sim/link.h"

namespace kw::sim {

namespace {

constexpr size_t kAddKeyOverhead = sizeof(AddKeyRequestHeader) + kAddKeyTrailingZeros;
constexpr size_t kAddWepKeyOverhead = sizeof(AddWepKeyRequestHeader) + kAddWepKeyTrailingZeros;
constexpr size_t kPmkidEntrySize = 22;
constexpr size_t kPmkidListHeaderSize = 8;

bool SameBytes(const Bytes& expected, const uint8_t* key, size_t length) {
    return expected.size() == length && std::equal(expected.begin(), expected.end(), key);
}

size_t StationPairwiseKeyLength(const AdapterState& state) {
    int wep = state.Value(Setting::WepStatus);
    if (wep == 4 || wep == 5) return KeyLengthOf(Cipher::Tkip);
    if (wep == 6 || wep == 7) return KeyLengthOf(Cipher::Ccmp);
    return 0;
}

// Whether the key is the one the access point handed out for this link.
bool IsExpectedKey(const WorldAdapter& hardware, const AdapterState& state, const WorldNetwork& network, bool pairwise,
                   const uint8_t* key, size_t length) {
    if (pairwise) {
        return state.link.pmk &&
               SameBytes(PairwiseKey(*state.link.pmk, network.bssid, hardware.mac, length), key, length);
    }
    return SameBytes(GroupKey(network, length), key, length);
}

void NoteKey(AdapterState& state, bool pairwise, bool good, const char* what, uint64_t nowMs) {
    if (!good) OutputDebugText(std::string("kwwlan: ") + what + " is not the access point's key\n");
    (pairwise ? state.link.pairwiseKey : state.link.groupKey) = good;
    UpdatePassing(state, nowMs);
}

int AddKey(SimState& sim, int adapter, const uint8_t* buffer, size_t size, uint64_t nowMs) {
    AdapterState& state = sim.adapters[static_cast<size_t>(adapter)];
    const WorldNetwork* network = JoinedNetwork(sim, state);
    if (!network || size < kAddKeyOverhead) return -1;
    AddKeyRequestHeader header;
    std::memcpy(&header, buffer, sizeof(header));
    if (header.keyLength == 0 || header.keyLength > 32 || header.length != header.keyLength + kAddKeyOverhead ||
        header.length > size) {
        return -1;
    }
    const uint8_t* key = buffer + sizeof(header);
    bool pairwise = (header.keyIndex & kKeyIndexPairwise) != 0;
    Mac bssid;
    std::copy_n(header.bssid, bssid.size(), bssid.begin());
    bool broadcast = std::all_of(bssid.begin(), bssid.end(), [](uint8_t b) { return b == 0xFF; });
    if (bssid != network->bssid && (pairwise || !broadcast)) {
        OutputDebugText("kwwlan: add key names another BSSID\n");
        return -1;
    }
    size_t wanted = pairwise ? StationPairwiseKeyLength(state) : KeyLengthOf(network->cipher);
    const WorldAdapter& hardware = sim.world.adapters[static_cast<size_t>(adapter)];
    bool good = NeedsKeys(network->security) && header.keyLength == wanted &&
                IsExpectedKey(hardware, state, *network, pairwise, key, header.keyLength);
    NoteKey(state, pairwise, good, pairwise ? "pairwise key" : "group key", nowMs);
    return 0;
}

int AddWepKey(SimState& sim, int adapter, const uint8_t* buffer, size_t size, uint64_t nowMs) {
    AdapterState& state = sim.adapters[static_cast<size_t>(adapter)];
    const WorldNetwork* network = JoinedNetwork(sim, state);
    if (!network || size < kAddWepKeyOverhead) return -1;
    AddWepKeyRequestHeader header;
    std::memcpy(&header, buffer, sizeof(header));
    if ((header.keyLength != 5 && header.keyLength != 13 && header.keyLength != 29) ||
        header.length != header.keyLength + kAddWepKeyOverhead || header.length > size) {
        return -1;
    }
    const uint8_t* key = buffer + sizeof(header);
    size_t index = header.keyIndex & 3;
    state.wepKeys[index].assign(key, key + header.keyLength);
    bool unicast = (header.keyIndex & kKeyIndexTransmit) != 0;
    if (unicast) state.defaultWepKey = static_cast<int>(index);
    const WorldAdapter& hardware = sim.world.adapters[static_cast<size_t>(adapter)];
    bool good = network->security == Security::Dot1xWep &&
                IsExpectedKey(hardware, state, *network, unicast, key, header.keyLength);
    NoteKey(state, unicast, good, unicast ? "unicast WEP key" : "broadcast WEP key", nowMs);
    return 0;
}

int SetPmkids(const uint8_t* buffer, size_t size) {
    if (size < kPmkidListHeaderSize) return -1;
    uint32_t length = 0;
    uint32_t count = 0;
    std::memcpy(&length, buffer, sizeof(length));
    std::memcpy(&count, buffer + 4, sizeof(count));
    if (length > size || count > 16 || kPmkidListHeaderSize + count * kPmkidEntrySize > length) return -1;
    return 0;
}

}  // namespace

size_t KeyLengthOf(Cipher cipher) { return cipher == Cipher::Tkip ? 32 : 16; }

size_t KeyLengthOfCipherCode(int32_t code) {
    switch (code) {
        case kCipherWep40: return 5;
        case kCipherWep104: return 13;
        case kCipherTkip: return 32;
        case kCipherCcmp: return 16;
        default: return 0;
    }
}

int WriteRequest(SimState& sim, int adapter, uint32_t code, const uint8_t* buffer, size_t size, uint64_t nowMs) {
    if (!buffer) return -1;
    switch (code) {
        case kRequestAddKey: return AddKey(sim, adapter, buffer, size, nowMs);
        case kRequestAddWepKey: return AddWepKey(sim, adapter, buffer, size, nowMs);
        case kRequestPmkid: return SetPmkids(buffer, size);
        default: return -1;
    }
}

int ReadRequest(const SimState& sim, int adapter, uint32_t code, uint8_t* buffer, size_t size) {
    if (!buffer || code != kRequestAssociationInfo) return -1;
    const AdapterState& state = sim.adapters[static_cast<size_t>(adapter)];
    const WorldNetwork* network = JoinedNetwork(sim, state);
    if (!network) return -1;
    Bytes info = AssociationInformation(sim.world.adapters[static_cast<size_t>(adapter)], state, *network);
    if (info.size() > size) return -1;
    std::memcpy(buffer, info.data(), info.size());
    return 0;
}

}  // namespace kw::sim
