// The records exchanged with the driver library and the supplicant library, laid out byte for byte
// as the libraries read and write them. All integers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Adapter context: one per process, handed to every driver call.

struct AdapterContext {
    int32_t handle;         // -1: no adapter open
    char deviceName[260];   // the name the library opens, NUL-terminated
    char description[260];  // the name shown to the user
    char instanceKey[8];    // four-digit class instance key, NUL-terminated
    uint32_t libraryWord1;  // cleared at start-up
    uint32_t libraryWord2;  // never touched by the program
    uint32_t libraryWord3;  // cleared at start-up
};
static_assert(sizeof(AdapterContext) == 544);
static_assert(offsetof(AdapterContext, deviceName) == 4);
static_assert(offsetof(AdapterContext, description) == 264);
static_assert(offsetof(AdapterContext, instanceKey) == 524);
static_assert(offsetof(AdapterContext, libraryWord1) == 532);
static_assert(offsetof(AdapterContext, libraryWord2) == 536);
static_assert(offsetof(AdapterContext, libraryWord3) == 540);

// One entry of the adapter lists (CreateAllNICAdapterList, CreateNICAdapterList); 8-bit texts
// in the system code page.
struct AdapterListEntry {
    char deviceName[260];
    char description[260];
    char instanceKey[5];  // four digits and NUL
};
static_assert(sizeof(AdapterListEntry) == 525);
static_assert(offsetof(AdapterListEntry, description) == 260);
static_assert(offsetof(AdapterListEntry, instanceKey) == 520);

// Filled by Query_KWDriverInfo.
struct DriverInfo {
    int32_t unused[3];
    int32_t chipType;  // 1 to 4
    int32_t bandCode;  // 2: 5 GHz only, 3: 2.4 GHz only, 4: dual band
};
static_assert(sizeof(DriverInfo) == 20);
static_assert(offsetof(DriverInfo, chipType) == 12);
static_assert(offsetof(DriverInfo, bandCode) == 16);

// ---------------------------------------------------------------------------------------------
// Site survey: a 32-bit entry count followed by variable-length entries (the NDIS 802.11
// extended BSSID list). Entries sit at arbitrary offsets of a byte buffer: copy the fixed part
// out with memcpy rather than pointing a SurveyEntryHeader into the buffer.

struct SurveyEntryHeader {
    uint32_t length;  // of the whole entry; the next one starts this many bytes further
    uint8_t bssid[6];
    uint8_t reserved[2];
    uint32_t ssidLength;  // 0 to 32
    uint8_t ssid[32];
    uint32_t privacy;  // nonzero: the network requires encryption
    int32_t rssi;      // dBm
    uint32_t networkTypeInUse;
    uint32_t configLength;
    uint32_t beaconPeriod;
    uint32_t atimWindow;
    uint32_t frequencyKhz;
    uint32_t hopConfig[4];        // length, hop pattern, hop set, dwell time
    uint32_t infrastructureMode;  // 0 ad hoc, 1 infrastructure
    uint8_t supportedRates[16];
    uint32_t ieLength;        // fixed beacon fields plus the elements
    uint8_t fixedFields[12];  // timestamp 8, beacon interval 2, capability 2
};
static_assert(sizeof(SurveyEntryHeader) == 128);
static_assert(offsetof(SurveyEntryHeader, bssid) == 4);
static_assert(offsetof(SurveyEntryHeader, ssidLength) == 12);
static_assert(offsetof(SurveyEntryHeader, ssid) == 16);
static_assert(offsetof(SurveyEntryHeader, privacy) == 48);
static_assert(offsetof(SurveyEntryHeader, rssi) == 52);
static_assert(offsetof(SurveyEntryHeader, networkTypeInUse) == 56);
static_assert(offsetof(SurveyEntryHeader, configLength) == 60);
static_assert(offsetof(SurveyEntryHeader, beaconPeriod) == 64);
static_assert(offsetof(SurveyEntryHeader, atimWindow) == 68);
static_assert(offsetof(SurveyEntryHeader, frequencyKhz) == 72);
static_assert(offsetof(SurveyEntryHeader, hopConfig) == 76);
static_assert(offsetof(SurveyEntryHeader, infrastructureMode) == 92);
static_assert(offsetof(SurveyEntryHeader, supportedRates) == 96);
static_assert(offsetof(SurveyEntryHeader, ieLength) == 112);
static_assert(offsetof(SurveyEntryHeader, fixedFields) == 116);

namespace kw {
inline constexpr size_t kSurveyBufferSize = 12004;
inline constexpr size_t kSurveyCountSize = 4;         // the leading entry count
inline constexpr size_t kSurveyElementsOffset = 128;  // first element, from the entry start
inline constexpr size_t kSurveyFixedFieldsSize = 12;  // counted in ieLength before the elements
inline constexpr uint32_t kSurveyConfigLength = 32;   // configLength .. hopConfig
}  // namespace kw

// ---------------------------------------------------------------------------------------------
// Sixteen 7-byte slots: the station list of WL_RetrieveStationList and the MAC filter list of
// SetWLAP_FilterList share this layout.

struct MacSlot {
    uint8_t inUse;  // nonzero: the slot holds an address
    uint8_t mac[6];
};
struct MacList {
    MacSlot slots[16];
};
static_assert(sizeof(MacSlot) == 7);
static_assert(sizeof(MacList) == 112);

// ---------------------------------------------------------------------------------------------
// Supplicant records.

// EAP configuration for do_eapol_init; 8-bit, NUL-terminated texts.
struct Dot1xConfig {
    char identity[256];
    char password[255];
    char caFile[512];
    char clientCertFile[512];
    char text1[512];
    char text2[512];
    char privateKeyFile[512];
    char methodFamily[100];
    char eapMethod[37];
    int32_t number;  // 1398
    char randFile[1536];
    char phase2Method[50];
    char innerIdentity[517];
    uint8_t validateServerCertificate;
};
static_assert(sizeof(Dot1xConfig) == 5316);
static_assert(offsetof(Dot1xConfig, password) == 256);
static_assert(offsetof(Dot1xConfig, caFile) == 511);
static_assert(offsetof(Dot1xConfig, clientCertFile) == 1023);
static_assert(offsetof(Dot1xConfig, text1) == 1535);
static_assert(offsetof(Dot1xConfig, text2) == 2047);
static_assert(offsetof(Dot1xConfig, privateKeyFile) == 2559);
static_assert(offsetof(Dot1xConfig, methodFamily) == 3071);
static_assert(offsetof(Dot1xConfig, eapMethod) == 3171);
static_assert(offsetof(Dot1xConfig, number) == 3208);
static_assert(offsetof(Dot1xConfig, randFile) == 3212);
static_assert(offsetof(Dot1xConfig, phase2Method) == 4748);
static_assert(offsetof(Dot1xConfig, innerIdentity) == 4798);
static_assert(offsetof(Dot1xConfig, validateServerCertificate) == 5315);

extern "C" {
// Installs one key: receive sequence counter (8 bytes), key material, its length, key index,
// key kind (0 pairwise, 1 group).
typedef void (*KeyInstallCallback)(const uint8_t* receiveSequenceCounter, const uint8_t* keyMaterial, int keyLength,
                                   int keyIndex, int keyKind);
// Copies the station's own element with the given id, whole, to out (258 bytes of room),
// followed by a zero byte; leaves out untouched when there is none.
typedef void (*ElementCallback)(int elementId, uint8_t* out);
}

// Cipher codes of the negotiation block's cipher fields.
namespace kw {
inline constexpr int32_t kCipherUseGroup = 1;
inline constexpr int32_t kCipherWep40 = 2;
inline constexpr int32_t kCipherWep104 = 4;
inline constexpr int32_t kCipherTkip = 8;
inline constexpr int32_t kCipherCcmp = 16;
}  // namespace kw

// One key negotiation. The callback fields are full pointers here, so the block is 452 bytes on
// a 64-bit build; every offset before them is the exchanged one.
#pragma pack(push, 4)
struct KeyNegotiationBlock {
    uint8_t ownMac[6];
    uint8_t pmk[32];
    uint8_t derivedKey[128];
    uint8_t fixedValue[16];
    uint8_t unset1[226];
    int32_t cleared;  // set to 0
    uint8_t unset2[12];
    int32_t pairwiseCipher;
    int32_t groupCipher;
    uint8_t unset3[4];
    KeyInstallCallback keyCallback;
    ElementCallback elementCallback;
};
#pragma pack(pop)
static_assert(offsetof(KeyNegotiationBlock, pmk) == 6);
static_assert(offsetof(KeyNegotiationBlock, derivedKey) == 38);
static_assert(offsetof(KeyNegotiationBlock, fixedValue) == 166);
static_assert(offsetof(KeyNegotiationBlock, cleared) == 408);
static_assert(offsetof(KeyNegotiationBlock, pairwiseCipher) == 424);
static_assert(offsetof(KeyNegotiationBlock, groupCipher) == 428);
static_assert(offsetof(KeyNegotiationBlock, keyCallback) == 436);
static_assert(offsetof(KeyNegotiationBlock, elementCallback) == 436 + sizeof(void*));
static_assert(sizeof(KeyNegotiationBlock) == 436 + 2 * sizeof(void*));

// One personal certificate of getMyCertList: UTF-16 texts, NUL-terminated.
struct CertListEntry {
    char16_t subject[256];
    char16_t issuer[256];
};
static_assert(sizeof(CertListEntry) == 1024);

namespace kw {
inline constexpr int kCertListCapacity = 500;
inline constexpr int kSubjectAltNameRoom = 100;  // UTF-16 units the callers' buffer holds
}  // namespace kw

// ---------------------------------------------------------------------------------------------
// Driver requests (WriteOid / ReadOid) and their buffers: the NDIS 802.11 add-key, add-WEP-key,
// PMKID and association-information structures.

namespace kw {
inline constexpr uint32_t kRequestAddKey = 0xFF12FF1D;
inline constexpr uint32_t kRequestAddWepKey = 0xFF12FF13;
inline constexpr uint32_t kRequestPmkid = 0xFF12FF23;
inline constexpr uint32_t kRequestAssociationInfo = 0x0D01011F;

// Bits of the key index word.
inline constexpr uint32_t kKeyIndexTransmit = 0x80000000;
inline constexpr uint32_t kKeyIndexPairwise = 0x40000000;
inline constexpr uint32_t kKeyIndexSetsRsc = 0x20000000;
inline constexpr uint32_t kKeyIndexNumberMask = 0xFF;

inline constexpr size_t kAddKeyTrailingZeros = 7;     // request size = key length + 39
inline constexpr size_t kAddWepKeyTrailingZeros = 3;  // request size = key length + 15
inline constexpr size_t kAssociationInfoReadSize = 1000;
}  // namespace kw

// Add key: this header, the key material, then 7 zero bytes.
struct AddKeyRequestHeader {
    uint32_t length;  // key length + 39
    uint32_t keyIndex;
    uint32_t keyLength;
    uint8_t bssid[6];
    uint8_t zero[6];
    uint8_t receiveSequenceCounter[8];
};
static_assert(sizeof(AddKeyRequestHeader) == 32);
static_assert(offsetof(AddKeyRequestHeader, bssid) == 12);
static_assert(offsetof(AddKeyRequestHeader, receiveSequenceCounter) == 24);

// Add WEP key: this header, the key material, then 3 zero bytes.
struct AddWepKeyRequestHeader {
    uint32_t length;  // key length + 15
    uint32_t keyIndex;
    uint32_t keyLength;
};
static_assert(sizeof(AddWepKeyRequestHeader) == 12);

struct PmkidRequest {
    uint32_t length;  // 32
    uint32_t count;   // 1
    uint8_t bssid[6];
    uint8_t pmkid[16];
    uint8_t zero[2];
};
static_assert(sizeof(PmkidRequest) == 32);
static_assert(offsetof(PmkidRequest, bssid) == 8);
static_assert(offsetof(PmkidRequest, pmkid) == 14);

// Association information: this header, then the request and response elements at the offsets
// it gives (both counted from the start of the buffer).
struct AssociationInfoHeader {
    uint32_t length;  // of this header
    uint16_t availableRequestFixed;
    uint16_t requestCapabilities;
    uint16_t requestListenInterval;
    uint8_t requestCurrentAp[6];
    uint32_t requestIeLength;
    uint32_t requestIeOffset;
    uint16_t availableResponseFixed;
    uint16_t responseCapabilities;
    uint16_t responseStatusCode;
    uint16_t responseAssociationId;
    uint32_t responseIeLength;
    uint32_t responseIeOffset;
};
static_assert(sizeof(AssociationInfoHeader) == 40);
static_assert(offsetof(AssociationInfoHeader, requestIeLength) == 16);
static_assert(offsetof(AssociationInfoHeader, requestIeOffset) == 20);
static_assert(offsetof(AssociationInfoHeader, responseIeLength) == 32);
static_assert(offsetof(AssociationInfoHeader, responseIeOffset) == 36);
