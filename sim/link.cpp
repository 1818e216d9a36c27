#include "sim/link.h"

#include <algorithm>
#include <optional>

#include "sim/elements.h"

namespace kw::sim {

namespace {

constexpr uint64_t kTxFramesPerSecond = 20;
constexpr uint64_t kRxFramesPerSecond = 30;
constexpr uint8_t kRateMask = 0x7F;  // the top bit marks a basic rate

bool IsBroadcastOrZero(const Mac& mac) {
    bool zero = std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0; });
    bool broadcast = std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0xFF; });
    return zero || broadcast;
}

bool CipherAllowed(int wepStatus, Cipher cipher) {
    if (cipher == Cipher::Tkip) return wepStatus == 4 || wepStatus == 5;
    return wepStatus == 6 || wepStatus == 7;
}

bool SecurityAllows(const AdapterState& state, const WorldNetwork& network) {
    int auth = state.Value(Setting::AuthenticationMode);
    int wep = state.Value(Setting::WepStatus);
    auto authIs = [auth](std::initializer_list<int> modes) {
        return std::find(modes.begin(), modes.end(), auth) != modes.end();
    };
    switch (network.security) {
        case Security::Open: return authIs({0, 2}) && wep == 1;
        case Security::Wep: {
            const Bytes& key = state.wepKeys[static_cast<size_t>(state.defaultWepKey)];
            return authIs({0, 1, 2}) && wep == 0 && !network.wepKey.empty() && key == network.wepKey;
        }
        case Security::Dot1xWep: return authIs({0, 2}) && wep == 0;
        case Security::WpaPsk: return authIs({4}) && CipherAllowed(wep, network.cipher);
        case Security::Wpa2Psk: return authIs({7}) && CipherAllowed(wep, network.cipher);
        case Security::MixedPsk: return authIs({4, 7}) && CipherAllowed(wep, network.cipher);
        case Security::WpaEap: return authIs({3}) && CipherAllowed(wep, network.cipher);
        case Security::Wpa2Eap: return authIs({6}) && CipherAllowed(wep, network.cipher);
        case Security::MixedEap: return authIs({3, 6}) && CipherAllowed(wep, network.cipher);
        case Security::WpaNone: return authIs({5}) && CipherAllowed(wep, network.cipher);
    }
    return false;
}

std::optional<uint64_t> CountingSince(const AdapterState& state) {
    if (state.Value(Setting::OperationMode) == 1) return state.apSinceMs;
    if (state.link.network >= 0 && state.link.passing) return state.link.passingSinceMs;
    return std::nullopt;
}

// Moves the frames counted so far into the totals, so the counting can change course.
void FoldCounters(AdapterState& state, uint64_t nowMs) {
    auto [tx, rx] = FrameCounts(state, nowMs);
    state.txFrames = tx;
    state.rxFrames = rx;
    state.apSinceMs = nowMs;
    state.link.passingSinceMs = nowMs;
}

}  // namespace

bool Hears(const WorldAdapter& adapter, const WorldNetwork& network) {
    bool five = IsFiveGigahertz(network.frequencyKhz);
    return adapter.bandCode == 4 || (five ? adapter.bandCode == 2 : adapter.bandCode == 3);
}

bool SettingsAllow(const AdapterState& state, const WorldNetwork& network) {
    int type = state.Value(Setting::NetworkType);
    bool modeFits = network.adhoc ? type == 0 : type == 1;
    if (network.security == Security::WpaNone && !network.adhoc) return false;
    return modeFits && SecurityAllows(state, network);
}

void LeaveNetwork(AdapterState& state, uint64_t nowMs) {
    FoldCounters(state, nowMs);
    state.link = Association{};
}

void JoinBySsid(SimState& sim, int adapter, const Bytes& ssid, uint64_t nowMs) {
    AdapterState& state = sim.adapters[static_cast<size_t>(adapter)];
    const WorldAdapter& hardware = sim.world.adapters[static_cast<size_t>(adapter)];
    LeaveNetwork(state, nowMs);
    if (state.Value(Setting::OperationMode) != 0) return;
    int chosen = -1;
    for (size_t i = 0; i < sim.world.networks.size(); ++i) {
        const WorldNetwork& network = sim.world.networks[i];
        if (!Hears(hardware, network) || network.ssid.empty()) continue;
        bool named = ssid.empty() ? network.security == Security::Open : network.ssid == ssid;
        if (!named || !SettingsAllow(state, network)) continue;
        if (chosen < 0) chosen = static_cast<int>(i);
        if (!IsBroadcastOrZero(state.bssid) && network.bssid == state.bssid) {
            chosen = static_cast<int>(i);
            break;
        }
    }
    if (chosen < 0) return;
    const WorldNetwork& network = sim.world.networks[static_cast<size_t>(chosen)];
    state.link.network = chosen;
    state.link.joinedAtMs = nowMs;
    state.link.ownElement =
        StationSecurityElement(state.Value(Setting::AuthenticationMode), state.Value(Setting::WepStatus), network);
    bool preShared = network.security == Security::WpaPsk || network.security == Security::Wpa2Psk ||
                     network.security == Security::MixedPsk || network.security == Security::WpaNone;
    if (preShared) state.link.pmk = PreSharedKeyOf(network);
    state.link.passing = !NeedsKeys(network.security);
    state.link.passingSinceMs = nowMs;
}

void SettleLink(SimState& sim, int adapter, uint64_t nowMs) {
    AdapterState& state = sim.adapters[static_cast<size_t>(adapter)];
    const WorldNetwork* network = JoinedNetwork(sim, state);
    if (network && !state.link.passing && NeedsKeys(network->security) &&
        nowMs >= state.link.joinedAtMs + kKeyDeadlineMs) {
        LeaveNetwork(state, nowMs);
    }
}

void UpdatePassing(AdapterState& state, uint64_t nowMs) {
    if (state.link.network < 0 || state.link.passing) return;
    if (state.link.pairwiseKey && state.link.groupKey) {
        state.link.passing = true;
        state.link.passingSinceMs = nowMs;
    }
}

void SwitchOperationMode(AdapterState& state, int mode, uint64_t nowMs) {
    LeaveNetwork(state, nowMs);
    state.Value(Setting::OperationMode) = mode;
    state.apSinceMs = nowMs;
}

const WorldNetwork* JoinedNetwork(const SimState& sim, const AdapterState& state) {
    if (state.link.network < 0 || static_cast<size_t>(state.link.network) >= sim.world.networks.size()) return nullptr;
    return &sim.world.networks[static_cast<size_t>(state.link.network)];
}

std::pair<uint64_t, uint64_t> FrameCounts(const AdapterState& state, uint64_t nowMs) {
    uint64_t tx = state.txFrames;
    uint64_t rx = state.rxFrames;
    if (auto since = CountingSince(state); since && nowMs > *since) {
        tx += (nowMs - *since) * kTxFramesPerSecond / 1000;
        rx += (nowMs - *since) * kRxFramesPerSecond / 1000;
    }
    return {tx, rx};
}

int LinkSpeedKbps(const WorldAdapter& hardware, const AdapterState& state, const WorldNetwork* network) {
    auto has = [](const auto& rates, uint8_t rate) {
        return std::any_of(rates.begin(), rates.end(), [rate](uint8_t r) { return (r & kRateMask) == rate; });
    };
    bool anyDesired = std::any_of(state.desiredRates.begin(), state.desiredRates.end(), [](uint8_t r) { return r; });
    int best = 0;
    int lowestOfNetwork = 0;
    for (uint8_t raw : hardware.supportedRates) {
        uint8_t rate = raw & kRateMask;
        if (!rate || (anyDesired && !has(state.desiredRates, rate))) continue;
        if (network && !has(network->rates, rate)) continue;
        best = std::max<int>(best, rate);
    }
    if (network) {
        for (uint8_t raw : network->rates) {
            uint8_t rate = raw & kRateMask;
            if (rate && (!lowestOfNetwork || rate < lowestOfNetwork)) lowestOfNetwork = rate;
        }
    }
    return (best ? best : lowestOfNetwork) * 500;
}

}  // namespace kw::sim
