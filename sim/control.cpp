#include "sim/control.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/clock.h"
#include "platform/paths.h"
#include "sim/call_log.h"
#include "sim/link.h"
#include "sim/sim_state.h"
#include "sim/world_file.h"
#include "sim/world_registry.h"

namespace kw::sim {

namespace {

constexpr char kDefaultWorldFile[] = "DefaultWorld.INI";

AdapterState* Numbered(SimState& sim, int number) {
    if (number < 1 || static_cast<size_t>(number) > sim.adapters.size()) return nullptr;
    return &sim.adapters[static_cast<size_t>(number - 1)];
}

}  // namespace

std::string DefaultWorldPath() {
    if (const char* path = std::getenv("KWWLAN_WORLD"); path && *path) return path;
    return DirectoryOf(ExecutablePath()) + kDefaultWorldFile;
}

bool LoadWorldFile(const std::string& path) {
    World world;
    if (!ReadWorldFile(path, world)) return false;
    SimState& sim = State();
    std::lock_guard lock(sim.mutex);
    InstallWorld(sim, std::move(world));
    return true;
}

bool LoadWorldText(std::string_view text) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kwsim-world-XXXXXX").string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;
    ::close(fd);
    std::ofstream out(pattern, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    // A world only partly written is not loaded.
    bool loaded = !out.fail() && LoadWorldFile(pattern);
    std::error_code ec;
    std::filesystem::remove(pattern, ec);
    return loaded;
}

bool LoadDefaultWorld() { return LoadWorldFile(DefaultWorldPath()); }

std::vector<AdapterSummary> WorldAdapters() {
    LockedState sim;
    std::vector<AdapterSummary> list;
    for (size_t i = 0; i < sim->world.adapters.size() && i < sim->adapters.size(); ++i) {
        list.push_back({static_cast<int>(i + 1), sim->world.adapters[i].description, sim->adapters[i].present});
    }
    return list;
}

bool UnplugAdapter(int number) {
    LockedState sim;
    AdapterState* adapter = Numbered(*sim, number);
    if (!adapter) return false;
    LeaveNetwork(*adapter, kw::clock::NowMs());
    adapter->present = false;
    return true;
}

bool PlugAdapter(int number) {
    LockedState sim;
    AdapterState* adapter = Numbered(*sim, number);
    if (!adapter) return false;
    if (adapter->present) return true;
    uint32_t generation = adapter->generation + 1;
    *adapter = FreshAdapterState(sim->world.adapters[static_cast<size_t>(number - 1)], kw::clock::NowMs());
    adapter->present = true;
    adapter->generation = generation;
    return true;
}

void SetZeroConfigStatus(int status) {
    LockedState sim;
    sim->world.system.wzcStatus = status;
}

int ZeroConfigStatus() {
    LockedState sim;
    return sim->world.system.wzcStatus;
}

bool ZeroConfigServiceRunning() {
    LockedState sim;
    return sim->zeroConfigServiceRunning;
}

void KeepCallLog(bool keep) { KeepCallLogLines(keep); }

std::vector<std::string> CallLog() { return CallLogLines(); }

void ClearCallLog() { ClearCallLogLines(); }

void Reset() {
    {
        SimState& sim = State();
        std::lock_guard lock(sim.mutex);
        if (sim.loaded) ReleaseWorldFromRegistry(sim.world);
        sim.loaded = false;
        sim.world = World{};
        sim.adapters.clear();
        sim.eap = EapSession{};
        sim.negotiation = NegotiationSession{};
        sim.zeroConfigServiceRunning = true;
    }
    ClearCallLogLines();
}

}  // namespace kw::sim
