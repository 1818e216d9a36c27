// The site survey result in the layout of the extended BSSID list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/sim_state.h"

namespace kw::sim {

// Writes the networks the adapter hears, in world order, as many whole entries as the buffer
// holds. False when the buffer cannot even hold the count.
bool BuildSurvey(const SimState& sim, int adapter, uint8_t* buffer, size_t size, uint64_t nowMs);

}  // namespace kw::sim
