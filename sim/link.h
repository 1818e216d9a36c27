// The station's link: which network a new SSID joins, the access point that drops a link left
// without keys, frame counters, link speed.
#pragma once

#include <cstdint>
#include <utility>

#include "sim/sim_state.h"

namespace kw::sim {

// A network's access point drops a station that has not installed its keys by then.
inline constexpr uint64_t kKeyDeadlineMs = 5000;

// Whether the adapter can hear the network at all (its band).
bool Hears(const WorldAdapter& adapter, const WorldNetwork& network);
// Whether the driver's mode and security settings let it join the network.
bool SettingsAllow(const AdapterState& state, const WorldNetwork& network);

// Leaves any network, then joins the first one in range that the SSID names (an empty SSID: the
// first open one) and the settings allow; a network with the BSSID set by SetWL_BSSID wins.
void JoinBySsid(SimState& state, int adapter, const Bytes& ssid, uint64_t nowMs);
void LeaveNetwork(AdapterState& state, uint64_t nowMs);
// Applies what happened since the last call: the access point's deadline for keys.
void SettleLink(SimState& state, int adapter, uint64_t nowMs);
// After a key was installed: the link passes data once both keys are in.
void UpdatePassing(AdapterState& state, uint64_t nowMs);
void SwitchOperationMode(AdapterState& state, int mode, uint64_t nowMs);

const WorldNetwork* JoinedNetwork(const SimState& state, const AdapterState& adapter);
std::pair<uint64_t, uint64_t> FrameCounts(const AdapterState& state, uint64_t nowMs);
// The best rate both sides have, in kbit/s; the adapter's best in access-point mode.
int LinkSpeedKbps(const WorldAdapter& hardware, const AdapterState& state, const WorldNetwork* network);

}  // namespace kw::sim
