#include "sim/sim_state.h"

#include <cstdio>

#include "platform/clock.h"
#include "sim/control.h"
#include "sim/world_file.h"
#include "sim/world_registry.h"

namespace kw::sim {

namespace {

constexpr int kHandleGenerationShift = 10;  // adapters are numbered below 1024

struct SettingDefault {
    Setting setting;
    int value;
};

void LoadDefaultWorld(SimState& state) {
    World world;
    std::string path = DefaultWorldPath();
    if (!ReadWorldFile(path, world)) {
        std::fprintf(stderr, "kwwlan: no world file at %s; the world is empty\n", path.c_str());
        world = World{};
    }
    InstallWorld(state, std::move(world));
}

}  // namespace

SimState& State() {
    static SimState state;
    return state;
}

LockedState::LockedState() : state_(State()), lock_(state_.mutex) {
    if (!state_.loaded) LoadDefaultWorld(state_);
}

AdapterState FreshAdapterState(const WorldAdapter& hardware, uint64_t nowMs) {
    AdapterState a;
    a.present = hardware.present;
    const SettingDefault defaults[] = {
        {Setting::NetworkType, 1},
        {Setting::AuthenticationMode, 0},
        {Setting::WepStatus, 1},
        {Setting::Channel, hardware.bandCode == 2 ? 36 : 6},
        {Setting::PsMode, 0},
        {Setting::FragmentationThreshold, 2346},
        {Setting::RtsThreshold, 2347},
        {Setting::PreambleMode, 2},
        {Setting::MultiDomainCapability, 0},
        {Setting::OperationRegion, 0},
        {Setting::NetworkTypeInUse, hardware.bandCode},
        {Setting::KwWirelessMode, hardware.bandCode},
        {Setting::PspXLinkMode, 0},
        {Setting::WmmQosMode, 0},
        {Setting::ApWirelessMode, 1},
        {Setting::ApProtectionMode, 0},
        {Setting::HideSsid, 0},
        {Setting::TxPowerLevel, 0},
        {Setting::FilterMode, 0},
        {Setting::KwxOidState, 0},
        {Setting::OperationMode, hardware.operationMode},
    };
    for (const auto& d : defaults) a.Value(d.setting) = d.value;
    a.channels = hardware.channels;
    a.apSinceMs = nowMs;
    return a;
}

void InstallWorld(SimState& state, World world) {
    if (state.loaded) ReleaseWorldFromRegistry(state.world);
    state.world = std::move(world);
    ApplyWorldToRegistry(state.world);
    uint64_t now = kw::clock::NowMs();
    state.adapters.clear();
    for (const WorldAdapter& hardware : state.world.adapters)
        state.adapters.push_back(FreshAdapterState(hardware, now));
    state.zeroConfigServiceRunning = true;
    state.eap = EapSession{};
    state.negotiation = NegotiationSession{};
    state.loaded = true;
}

int32_t HandleOf(int adapter, uint32_t generation) {
    return static_cast<int32_t>(((generation & 0xFFFFF) << kHandleGenerationShift) |
                                static_cast<uint32_t>(adapter + 1));
}

int AdapterOfContext(const SimState& state, const AdapterContext* ctx) {
    if (!ctx || ctx->handle <= 0) return -1;
    uint32_t handle = static_cast<uint32_t>(ctx->handle);
    int adapter = static_cast<int>(handle & ((1u << kHandleGenerationShift) - 1)) - 1;
    if (adapter < 0 || static_cast<size_t>(adapter) >= state.adapters.size()) return -1;
    const AdapterState& a = state.adapters[static_cast<size_t>(adapter)];
    if (!a.present || HandleOf(adapter, a.generation) != ctx->handle) return -1;
    return adapter;
}

bool Refuses(const SimState& state, int adapter, std::string_view function) {
    if (adapter < 0 || static_cast<size_t>(adapter) >= state.world.adapters.size()) return false;
    for (const std::string& name : state.world.adapters[static_cast<size_t>(adapter)].refused) {
        if (name == function) return true;
    }
    return false;
}

bool AnyRefuses(const SimState& state, std::string_view function) {
    for (size_t i = 0; i < state.world.adapters.size(); ++i) {
        if (Refuses(state, static_cast<int>(i), function)) return true;
    }
    return false;
}

}  // namespace kw::sim
