// Raw driver requests: key installation, PMKID, association information.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/sim_state.h"

namespace kw::sim {

// 0 for a request the driver takes, -1 for an unknown code or a malformed buffer. A key that
// is well formed but not the one the access point expects is taken and then carries no data.
int WriteRequest(SimState& sim, int adapter, uint32_t code, const uint8_t* buffer, size_t size, uint64_t nowMs);
int ReadRequest(const SimState& sim, int adapter, uint32_t code, uint8_t* buffer, size_t size);

// Key lengths of the ciphers.
size_t KeyLengthOfCipherCode(int32_t code);
size_t KeyLengthOf(Cipher cipher);
inline constexpr size_t kDynamicWepKeyLength = 13;

}  // namespace kw::sim
