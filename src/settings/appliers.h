// Appliers: the only way a stored setting reaches the driver. Each sets the driver first and,
// only when the driver accepts, stores the value in the branch of the current operating mode.
// They return 0, or -1 when the driver (or the store) refuses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct AdapterContext;

namespace kw {

inline constexpr int kMacFilterEntries = 16;
inline constexpr int kMacFilterEntryBytes = 7;  // in-use flag, then the six address bytes
inline constexpr int kMacFilterListBytes = kMacFilterEntries * kMacFilterEntryBytes;

int ApplySsid(AdapterContext* ctx, const uint8_t* bytes, int length);
// A network name as the driver takes it: at most 32 characters, in the code page, at most 32 bytes.
std::string SsidBytes(std::u16string_view ssid);
int ApplyHideSsid(AdapterContext* ctx, int value);
int ApplyWirelessMode(AdapterContext* ctx, int value);
int ApplyChannel(AdapterContext* ctx, int value);
int ApplyApWirelessMode(AdapterContext* ctx, int value);
int ApplyApProtectionMode(AdapterContext* ctx, int value);
int ApplyNetworkType(AdapterContext* ctx, int value);
int ApplyDesiredRates(AdapterContext* ctx, const uint8_t* rates16);
// Every rate the adapter supports becomes the desired rate; nothing when they cannot be read.
void ApplySupportedRates(AdapterContext* ctx);
int ApplyEncryptionStatus(AdapterContext* ctx, int value);
int ApplyAuthenticationMode(AdapterContext* ctx, int value);
int ApplyPowerSaveMode(AdapterContext* ctx, int value);
int ApplyFragmentationThreshold(AdapterContext* ctx, int value);
int ApplyRtsThreshold(AdapterContext* ctx, int value);
int ApplyPreambleMode(AdapterContext* ctx, int value);
// Stored even when the driver refuses; the result still tells the refusal.
int ApplyTxPowerLevel(AdapterContext* ctx, int value);
int ApplyMacFilterMode(AdapterContext* ctx, int value);
int ApplyMacFilterList(AdapterContext* ctx, const uint8_t* list, int size);
// Puts an address into entry index (0..15) of a filter list; in use when any byte is nonzero.
void SetMacFilterEntry(uint8_t* list, int index, const uint8_t* address6);
int ApplyMultiDomainCapability(AdapterContext* ctx, int value);
// Stored into both branches, whatever the operating mode.
int ApplyRegion(AdapterContext* ctx, int value);
int ApplyPspXLinkMode(AdapterContext* ctx, int value);
int ApplyWmmQosMode(AdapterContext* ctx, int value);

// Writes the four stored keys of the stored length (default key index -1: the stored one) and
// then switches encryption on or off. Results of the single writes are not examined.
void ApplyWepEnabled(AdapterContext* ctx, bool on, int defaultKeyIndex);

// The network type last set by the applier, the restore or the general settings dialog.
int CurrentNetworkType();
void SetCurrentNetworkType(int type);

// Set while the link is down, so that the next connection renews the address (Windows 95 family);
// setting a network name clears it.
bool AddressRenewalPending();
void SetAddressRenewalPending(bool pending);

}  // namespace kw
