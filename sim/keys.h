// Key derivations: the real IEEE 802.11i ones (pass-phrase mapping, PMKID, PRF) through
// libcrypto, and the simulated access points' own session keys built on them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/world.h"

namespace kw::sim {

using Pmk = std::array<uint8_t, 32>;

// PBKDF2-HMAC-SHA1; false for bad arguments.
bool DerivePassphraseKey(std::string_view passphrase, const uint8_t* ssid, size_t ssidLength, int iterations,
                         uint8_t* out, size_t outLength);
// HMAC-SHA1-128 of "PMK Name" | AA | SPA under the PMK.
std::array<uint8_t, 16> DerivePmkid(const uint8_t* pmk, const uint8_t* authenticator, const uint8_t* supplicant);
// PRF-SHA1: HMAC-SHA1(key, label | 0 | data | counter) for counter 0, 1, ... cut to length.
Bytes Prf(const uint8_t* key, size_t keyLength, std::string_view label, const Bytes& data, size_t length);

// The pre-shared network's master key: a 64-digit hexadecimal pass phrase is the key itself.
Pmk PreSharedKeyOf(const WorldNetwork& network);
// 128 bytes of EAP session key material for a credential secret on one association.
Bytes EapSessionKey(std::string_view secret, const Mac& bssid, const Mac& station);
// The keys an access point hands out after a successful negotiation.
Bytes PairwiseKey(const Pmk& pmk, const Mac& bssid, const Mac& station, size_t length);
Bytes GroupKey(const WorldNetwork& network, size_t length);

}  // namespace kw::sim
