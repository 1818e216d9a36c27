// Information elements: those a network's beacons carry for its security, the station's own
// WPA or RSN element, and the association information the driver reports.
#pragma once

#include "sim/sim_state.h"
#include "sim/world.h"

namespace kw::sim {

inline constexpr uint8_t kElementSsid = 0;
inline constexpr uint8_t kElementRates = 1;
inline constexpr uint8_t kElementDsParameter = 3;
inline constexpr uint8_t kElementIbssParameter = 6;
inline constexpr uint8_t kElementRsn = 48;
inline constexpr uint8_t kElementExtendedRates = 50;
inline constexpr uint8_t kElementVendor = 221;

inline constexpr uint8_t kSuiteTkip = 2;
inline constexpr uint8_t kSuiteCcmp = 4;
inline constexpr uint8_t kAkm8021X = 1;
inline constexpr uint8_t kAkmPsk = 2;

// The elements of the network's beacons: the given ones when the world lists them.
Bytes NetworkElements(const WorldNetwork& network);
// An RSN (rsn) or vendor WPA element with one pairwise and one key-management suite.
Bytes SecurityElement(bool rsn, uint8_t groupSuite, uint8_t pairwiseSuite, uint8_t akm);
// What the station puts into its association request for its authentication mode and
// encryption status; empty for open and WEP links.
Bytes StationSecurityElement(int authenticationMode, int wepStatus, const WorldNetwork& network);
// The association information record with its request and response elements.
Bytes AssociationInformation(const WorldAdapter& adapter, const AdapterState& state, const WorldNetwork& network);

uint8_t SuiteOf(Cipher cipher);
// The network type in use of its radio: 1 802.11b rates only, 2 OFDM 5 GHz, 3 OFDM 2.4 GHz.
uint32_t TypeInUseOf(const WorldNetwork& network);
// The capability field of the network's beacons (ESS or IBSS, privacy).
uint16_t CapabilityOf(const WorldNetwork& network);

}  // namespace kw::sim
