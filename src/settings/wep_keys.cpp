#include "src/settings/wep_keys.h"

#include <array>
#include <cstring>

#include "platform/text.h"
#include "src/device/kwwlan.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

namespace {
constexpr uint8_t kDefaultKeyStart = 0x21;
constexpr size_t kRecordTextLimit = 99;

std::array<uint8_t, kMaxWepKeyBytes> BuildDefaultKey() {
    std::array<uint8_t, kMaxWepKeyBytes> key{};
    for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<uint8_t>(kDefaultKeyStart + i);
    return key;
}
}  // namespace

int WepKeyBytes(int lengthIndex) {
    switch (lengthIndex) {
        case 1: return 13;
        case 2: return 29;
        default: return 5;
    }
}

int WepKeyBits(int lengthIndex) { return WepKeyBytes(lengthIndex) * 8 + 24; }

int WepLengthIndexOfBits(int bits) {
    switch (bits) {
        case 64: return 0;
        case 128: return 1;
        case 256: return 2;
        default: return -1;
    }
}

std::u16string WepKeyRecordName(int bits, int index) { return FormatW("%s%d_%d", key::kWepKeyRecordPrefix, bits, index); }

const uint8_t* DefaultWepKey() {
    static const std::array<uint8_t, kMaxWepKeyBytes> key = BuildDefaultKey();
    return key.data();
}

int ReadWepKeyRecord(int bits, int index, uint8_t* dest, size_t capacity) {
    int lengthIndex = WepLengthIndexOfBits(bits);
    if (lengthIndex < 0 || index < 0 || index >= kWepKeyCount) return -1;
    size_t keyBytes = static_cast<size_t>(WepKeyBytes(lengthIndex));
    if (capacity < keyBytes) return -1;
    std::memset(dest, 0, capacity);
    std::u16string text = ReadSettingText(OperationMode(), WepKeyRecordName(bits, index));
    if (text.empty()) {
        std::memcpy(dest, DefaultWepKey(), keyBytes);
        return 0;
    }
    if (text.size() > kRecordTextLimit) text.resize(kRecordTextLimit);
    ParseHexBytes(ToCodePage(text), dest, keyBytes);
    return 0;
}

int WriteWepKey(AdapterContext* ctx, int index, int lengthIndex, int isDefault, const uint8_t* key) {
    if (SetWL_WriteKey(ctx, index, lengthIndex, isDefault, key) != 0) return -1;
    int keyBytes = WepKeyBytes(lengthIndex);
    int bits = keyBytes * 8 + 24;
    int mode = OperationMode();
    int result = WriteSettingText(mode, WepKeyRecordName(bits, index), FormatHexBytes(key, static_cast<size_t>(keyBytes)));
    result |= WriteSettingNumber(mode, key::kWepKeyLength, bits);
    if (isDefault) result |= WriteSettingNumber(mode, key::kWepDefaultKeyId, index);
    return result == 0 ? 0 : -1;
}

}  // namespace kw
