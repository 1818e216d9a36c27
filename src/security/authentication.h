// The authentication controller: at most one supplicant worker runs, on a thread of its own,
// until the run flag is cleared.
#pragma once

#include <cstdint>
#include <string>

namespace kw {

// Stops a running worker, then starts a new one from the stored settings (stopping the Zero
// Configuration service unless it leaves the adapter alone).
void StartAuthentication();
// Stops the running worker, if any, waiting for it; restarts the service when starting stopped it.
void StopAuthentication();

// True while authentication is wanted; the worker polls it.
bool AuthenticationWanted();
// True when starting authentication stopped the Zero Configuration service.
bool ZeroConfigStoppedForAuthentication();

// The thread routine: 0 after a worker returned, 1 when none was started.
int AuthenticationLauncher();

// Make the adapter rejoin the stored network: Force first sends a throw-away name so that it
// leaves the network it is in; both then apply the stored authentication mode, encryption
// status and network name.
void ForceReassociation();
void ReapplyNetwork();

// Keeps the low byte of each unit, at most room - 1 of them.
std::string NarrowText(std::u16string_view text, size_t room);

// The key handed to a pre-shared-key worker.
struct PreSharedKey {
    uint8_t bytes[68] = {};  // a pass phrase (NUL-terminated) or 32 key bytes
    int format = 0;          // 1: bytes holds the 32-byte key
};
PreSharedKey PreparePreSharedKey(std::u16string_view storedPassphrase, int storedFormat);

inline constexpr char kDefaultPassphrase[] = "59260481";
inline constexpr char kExportFailedText[] =
    "Can not Export Private Key!! Please make the private key of this certifacate EXPORTABLE!";

}  // namespace kw
