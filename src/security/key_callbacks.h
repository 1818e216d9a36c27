// What the supplicant library calls back during key negotiation, and the driver requests around
// it: installing keys, the station's own WPA / RSN element, the PMKID, the cipher suites.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kw {

extern "C" {
void AddKeyCallback(const uint8_t* receiveSequenceCounter, const uint8_t* keyMaterial, int keyLength, int keyIndex,
                    int keyKind);
void AddWepCallback(const uint8_t* receiveSequenceCounter, const uint8_t* keyMaterial, int keyLength, int keyIndex,
                    int keyKind);
// Copies the element with elementId from the association request, whole, to out (258 bytes of
// room) with a zero byte after it; the last match wins; out is untouched when there is none.
void GetAssocIeCallback(int elementId, uint8_t* out);
}

// The walk behind GetAssocIeCallback over an association-information buffer of size bytes.
bool FindRequestElement(const uint8_t* info, size_t size, int elementId, uint8_t* out);

inline constexpr int kElementRsn = 48;
inline constexpr int kElementWpa = 221;
inline constexpr size_t kElementBufferSize = 258;

// Cipher codes of the station's own element; pairwise stays as it was when the element lists no
// pairwise suite, and both stay when there is no element.
void ParseCipherSuites(int elementId, int32_t* pairwise, int32_t* group);
// Maps suite types (IEEE 802.11i) to cipher codes.
int32_t GroupCipherCode(int elementId, uint8_t suiteType);
int32_t PairwiseCipherCode(int elementId, uint8_t suiteType, int32_t groupCode);

void SetPmkid(const uint8_t* bssid, const uint8_t* pmkid);
// "\n", each byte as "%2x ", a line break after every 16th, a final "\n": the debugger output.
void DumpHex(const uint8_t* bytes, size_t count);

}  // namespace kw
