// Station profiles: named snapshots of the connection settings, kept in the application key as a
// singly linked list of keys Profile\<name>. The value "ProfileLink" in the application key names
// the first profile, the same value in each profile key the next one. Names keep the form they
// were typed in and compare with blanks trimmed and the letters a to z in either case.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "src/settings/wep_keys.h"

struct AdapterContext;

namespace kw {

inline constexpr char16_t kProfileLinkValue[] = u"ProfileLink";
inline constexpr char16_t kProfileKeyPrefix[] = u"Profile\\";
// The longest key name a registry keeps.
inline constexpr size_t kMaxProfileNameLength = 255;

struct ProfileRecord {
    std::u16string ssid;
    int wirelessMode = 0;
    int channel = 0;
    int networkType = 0;
    std::u16string desiredRates;
    int authenticationMode = 0;
    int encryptionStatus = 0;
    std::array<std::u16string, kWepKeyCount> wepKeys;
    int defaultKeyIndex = 0;
    int keyLengthBits = 0;
    int keyFormat = 0;
    int powerSaveMode = 0;
    int fragmentationThreshold = 0;
    int rtsThreshold = 0;
    // Never captured and never applied; a saved profile holds long preamble (0).
    int preambleMode = 0;
    int dot1xProtocol = 0;
    std::u16string dot1xPassphrase;
    int dot1xPassphraseFormat = 0;
    std::u16string dot1xUsername;
    std::u16string dot1xPassword;
    std::u16string dot1xPhase2Auth;
    int dot1xValidateServerCertificate = 0;
    std::u16string dot1xCertSubject;
    std::u16string dot1xCertIssuer;
    int dot1xRc4Wep = 0;
};

// Trimmed and upper-cased: the form two names are compared in.
std::u16string NormalProfileName(std::u16string_view name);
// Whether the name can stand as a key name in the registry export file: not empty after
// trimming, no backslash (it would nest keys), no control characters, at most 255 characters.
bool ProfileNameStorable(std::u16string_view name);

// The stored names in list order. The walk stops at the first name that repeats one before it
// or whose key is missing, so a hand-edited chain can neither loop nor lead nowhere.
std::vector<std::u16string> ProfileNames();

// All return 0 on success and -1 on failure. Find and add put the cursor on the profile.
int FindProfile(std::u16string_view name);
int AddProfile(std::u16string_view name);
int DeleteProfile(std::u16string_view name);
// The stored name the cursor stands on (empty before any find or add).
const std::u16string& CurrentProfile();

// Act on the cursor's profile.
int ReadProfile(ProfileRecord& record);
int WriteProfile(const ProfileRecord& record);

// From the current operating mode's branch, with the range rules that keep a profile loadable.
void CaptureProfile(ProfileRecord& record);
// Pushes the record through the appliers (driver, then store) and starts authentication when
// the record calls for it.
void ApplyProfile(AdapterContext* ctx, const ProfileRecord& record);

}  // namespace kw
