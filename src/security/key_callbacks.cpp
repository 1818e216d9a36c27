#include "src/security/key_callbacks.h"

#include <cstring>
#include <vector>

#include "platform/debug.h"
#include "platform/text.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"

namespace kw {

namespace {

constexpr uint32_t kAssocRequestOffsetField = 20;
constexpr uint32_t kAssocResponseOffsetField = 36;
// Longer than any cipher key; a larger length from the library is not trusted.
constexpr int kMaxKeyMaterial = 256;

void PutU32(std::vector<uint8_t>& buffer, uint32_t value) {
    for (int i = 0; i < 4; ++i) buffer.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutBytes(std::vector<uint8_t>& buffer, const uint8_t* bytes, size_t count) {
    if (bytes) {
        buffer.insert(buffer.end(), bytes, bytes + count);
    } else {
        buffer.insert(buffer.end(), count, 0);
    }
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint32_t AddKeyIndexWord(int keyIndex, int keyKind) {
    switch (keyKind) {
        case 0: return kKeyIndexTransmit | kKeyIndexPairwise | kKeyIndexSetsRsc;
        case 1: return kKeyIndexSetsRsc | (static_cast<uint32_t>(keyIndex) & kKeyIndexNumberMask);
        default: return kKeyIndexSetsRsc;
    }
}

}  // namespace

extern "C" void AddKeyCallback(const uint8_t* receiveSequenceCounter, const uint8_t* keyMaterial, int keyLength,
                               int keyIndex, int keyKind) {
    if (keyLength < 0 || keyLength > kMaxKeyMaterial) return;
    AdapterContext* ctx = Adapter();
    uint8_t bssid[6] = {};
    QueryWL_BSSID(ctx, bssid);
    std::vector<uint8_t> request;
    PutU32(request, static_cast<uint32_t>(keyLength) + 39);
    PutU32(request, AddKeyIndexWord(keyIndex, keyKind));
    PutU32(request, static_cast<uint32_t>(keyLength));
    PutBytes(request, bssid, 6);
    PutBytes(request, nullptr, 6);
    PutBytes(request, receiveSequenceCounter, 8);
    PutBytes(request, keyMaterial, static_cast<size_t>(keyLength));
    PutBytes(request, nullptr, kAddKeyTrailingZeros);
    WriteOid(ctx, kRequestAddKey, request.data(), static_cast<int>(request.size()));
}

extern "C" void AddWepCallback(const uint8_t* /*receiveSequenceCounter*/, const uint8_t* keyMaterial, int keyLength,
                               int keyIndex, int keyKind) {
    if (keyLength < 0 || keyLength > kMaxKeyMaterial) return;
    uint32_t indexWord = static_cast<uint32_t>(keyIndex);
    if (keyKind == 0) indexWord |= kKeyIndexTransmit;
    std::vector<uint8_t> request;
    PutU32(request, static_cast<uint32_t>(keyLength) + 15);
    PutU32(request, indexWord);
    PutU32(request, static_cast<uint32_t>(keyLength));
    PutBytes(request, keyMaterial, static_cast<size_t>(keyLength));
    PutBytes(request, nullptr, kAddWepKeyTrailingZeros);
    WriteOid(Adapter(), kRequestAddWepKey, request.data(), static_cast<int>(request.size()));
}

bool FindRequestElement(const uint8_t* info, size_t size, int elementId, uint8_t* out) {
    if (size < kAssocResponseOffsetField + 4) return false;
    uint32_t begin = GetU32(info + kAssocRequestOffsetField);
    uint32_t end = GetU32(info + kAssocResponseOffsetField);
    if (end > size) end = static_cast<uint32_t>(size);
    bool found = false;
    for (uint32_t at = begin; at < end && end - at >= 2;) {
        uint32_t length = info[at + 1];
        if (length > end - at - 2) break;
        if (info[at] == elementId) {
            std::memcpy(out, info + at, 2 + length);
            out[2 + length] = 0;
            found = true;
        }
        at += 2 + length;
    }
    return found;
}

extern "C" void GetAssocIeCallback(int elementId, uint8_t* out) {
    uint8_t info[kAssociationInfoReadSize] = {};
    if (ReadOid(Adapter(), kRequestAssociationInfo, info, sizeof info) == -1) return;
    FindRequestElement(info, sizeof info, elementId, out);
}

int32_t GroupCipherCode(int elementId, uint8_t suiteType) {
    switch (suiteType) {
        case 0: return kCipherUseGroup;
        case 1: return kCipherWep40;
        case 2: return kCipherTkip;
        case 4: return kCipherCcmp;
        case 5: return kCipherWep104;
        default: return elementId == kElementWpa ? kCipherTkip : kCipherCcmp;
    }
}

int32_t PairwiseCipherCode(int elementId, uint8_t suiteType, int32_t groupCode) {
    bool wpa = elementId == kElementWpa;
    switch (suiteType) {
        case 0: return wpa ? kCipherUseGroup : groupCode;
        case 1: return kCipherWep40;
        case 2: return kCipherTkip;
        case 4: return kCipherCcmp;
        case 5: return kCipherWep104;
        default: return wpa ? kCipherTkip : kCipherCcmp;
    }
}

void ParseCipherSuites(int elementId, int32_t* pairwise, int32_t* group) {
    uint8_t element[kElementBufferSize] = {};
    GetAssocIeCallback(elementId, element);
    if (element[0] != kElementWpa && element[0] != kElementRsn) return;
    bool wpa = elementId == kElementWpa;
    size_t groupAt = wpa ? 11 : 7;
    size_t countAt = wpa ? 12 : 8;
    size_t pairwiseAt = wpa ? 17 : 13;
    *group = GroupCipherCode(elementId, element[groupAt]);
    int pairwiseCount = element[countAt] | (element[countAt + 1] << 8);
    if (pairwiseCount >= 1) *pairwise = PairwiseCipherCode(elementId, element[pairwiseAt], *group);
}

void SetPmkid(const uint8_t* bssid, const uint8_t* pmkid) {
    std::vector<uint8_t> request;
    PutU32(request, 32);
    PutU32(request, 1);
    PutBytes(request, bssid, 6);
    PutBytes(request, pmkid, 16);
    PutBytes(request, nullptr, 2);
    WriteOid(Adapter(), kRequestPmkid, request.data(), static_cast<int>(request.size()));
}

void DumpHex(const uint8_t* bytes, size_t count) {
    OutputDebugText("\n");
    for (size_t i = 0; i < count; ++i) {
        OutputDebugText(Format("%2x ", bytes[i]));
        if ((i + 1) % 16 == 0) OutputDebugText("\n");
    }
    OutputDebugText("\n");
}

}  // namespace kw
