// WEP key records: four keys per key length, one hex byte text value each ("WEPKey128_1"), in
// the branch of the current operating mode. An absent record stands for the built-in default key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct AdapterContext;

namespace kw {

inline constexpr int kWepKeyCount = 4;
inline constexpr size_t kMaxWepKeyBytes = 29;

// Key length index 0, 1, 2 (anything else counts as 0) -> 5, 13, 29 bytes; 64, 128, 256 bits.
int WepKeyBytes(int lengthIndex);
int WepKeyBits(int lengthIndex);
// 64 -> 0, 128 -> 1, 256 -> 2, anything else -1.
int WepLengthIndexOfBits(int bits);

std::u16string WepKeyRecordName(int bits, int index);
// The built-in default key: 29 bytes, each one greater than the one before.
const uint8_t* DefaultWepKey();

// 0 with dest filled (zero beyond the key), -1 for a bad bit count or index or too small a buffer.
int ReadWepKeyRecord(int bits, int index, uint8_t* dest, size_t capacity);
// The WEP key applier: the driver first; only when it accepts, the record, "WEPKeyLength" and
// (for the default key) "WEPDefaultKeyId" are stored.
int WriteWepKey(AdapterContext* ctx, int index, int lengthIndex, int isDefault, const uint8_t* key);

}  // namespace kw
