// The one simulated world of the process: the world description, each adapter's driver state and
// the supplicant's sessions, behind one lock. The driver library is called from the user-interface
// thread and from the authentication worker, so every library entry point takes the lock; none
// calls out of the library (key-negotiation callbacks) while holding it.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "sim/keys.h"
#include "sim/world.h"
#include "src/device/records.h"

namespace kw::sim {

enum class Setting {
    NetworkType,
    AuthenticationMode,
    WepStatus,
    Channel,
    PsMode,
    FragmentationThreshold,
    RtsThreshold,
    PreambleMode,
    MultiDomainCapability,
    OperationRegion,
    NetworkTypeInUse,
    KwWirelessMode,
    PspXLinkMode,
    WmmQosMode,
    ApWirelessMode,
    ApProtectionMode,
    HideSsid,
    TxPowerLevel,
    FilterMode,
    KwxOidState,
    OperationMode,
    Count
};
inline constexpr size_t kSettingCount = static_cast<size_t>(Setting::Count);

// The station's association with one network in range.
struct Association {
    int network = -1;  // index into World::networks; -1: not associated
    uint64_t joinedAtMs = 0;
    bool passing = false;  // the link carries data
    uint64_t passingSinceMs = 0;
    // The access point's master key for this association: the pre-shared key, or the one it
    // learned from a successful EAP exchange.
    std::optional<Pmk> pmk;
    bool pairwiseKey = false;  // correct keys installed since the association
    bool groupKey = false;
    Bytes ownElement;  // the WPA or RSN element of the association request
};

struct AdapterState {
    bool present = true;
    uint32_t generation = 1;  // changes at every plug; handles of an older one are dead
    std::array<int, kSettingCount> values{};
    Bytes ssid;
    Mac bssid{};
    std::array<uint8_t, 16> desiredRates{};
    Bytes channels;
    MacList filter{};
    std::array<Bytes, 4> wepKeys;
    int defaultWepKey = 0;
    Association link;
    uint64_t txFrames = 0;  // counted up to the last change of the link
    uint64_t rxFrames = 0;
    uint64_t apSinceMs = 0;  // access-point mode: when it began

    int Value(Setting s) const { return values[static_cast<size_t>(s)]; }
    int& Value(Setting s) { return values[static_cast<size_t>(s)]; }
};

struct EapSession {
    bool active = false;
    int adapter = -1;
    uint32_t generation = 0;
    Mac ownMac{};
    Mac bssid{};
    Dot1xConfig config{};
    int runs = 0;
    bool succeeded = false;
    Bytes sessionKey;  // 128 bytes once succeeded
};

struct NegotiationSession {
    bool active = false;
    int adapter = -1;
    uint32_t generation = 0;
    int runs = 0;
    bool done = false;
};

struct SimState {
    std::mutex mutex;
    bool loaded = false;
    World world;
    std::vector<AdapterState> adapters;
    bool zeroConfigServiceRunning = true;
    EapSession eap;
    NegotiationSession negotiation;
};

SimState& State();

// The state, locked; the default world is loaded on first use.
class LockedState {
public:
    LockedState();
    SimState* operator->() { return &state_; }
    SimState& operator*() { return state_; }

private:
    SimState& state_;
    std::lock_guard<std::mutex> lock_;
};

// Under the lock: installs a world and fresh driver states.
void InstallWorld(SimState& state, World world);
AdapterState FreshAdapterState(const WorldAdapter& hardware, uint64_t nowMs);

// Handles given to an opened context name the adapter and its plug generation.
int32_t HandleOf(int adapter, uint32_t generation);
// The present adapter behind an open context, or -1.
int AdapterOfContext(const SimState& state, const AdapterContext* ctx);

// Whether a call fails because the world says so: the context's adapter refuses it, or, for
// calls without a context, any adapter of the world does.
bool Refuses(const SimState& state, int adapter, std::string_view function);
bool AnyRefuses(const SimState& state, std::string_view function);

}  // namespace kw::sim
