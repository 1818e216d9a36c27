#include "sim/world_registry.h"

#include "platform/registry.h"
#include "platform/text.h"

namespace kw::sim {

namespace {

constexpr std::u16string_view kClassKey95 = u"System\\CurrentControlSet\\Services\\Class\\Net\\";
constexpr std::u16string_view kClassKeyNt =
    u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

// The folder part of a command line's program: up to its last separator.
std::u16string FolderOfCommand(const std::u16string& command) {
    std::u16string program = command;
    if (!program.empty() && program[0] == u'"') {
        auto close = program.find(u'"', 1);
        program = program.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1);
    } else if (auto blank = program.find(u' '); blank != std::u16string::npos) {
        program.resize(blank);
    }
    auto separator = program.find_last_of(u"/\\");
    return separator == std::u16string::npos ? std::u16string() : program.substr(0, separator);
}

}  // namespace

std::u16string ClassKeyPath(const WorldSystem& system, const WorldAdapter& adapter) {
    return std::u16string(system.isWindows95 ? kClassKey95 : kClassKeyNt) + FromCodePage(adapter.instanceKey);
}

void ApplyWorldToRegistry(const World& world) {
    using reg::Hive;
    for (const WorldAdapter& adapter : world.adapters) {
        std::u16string path = ClassKeyPath(world.system, adapter);
        if (!adapter.matchingDeviceId.empty()) {
            reg::WriteString(Hive::LocalMachine, path, u"MatchingDeviceId", adapter.matchingDeviceId);
        }
        reg::DenyFullAccess(Hive::LocalMachine, path, !adapter.classKeyAccess);
    }
    if (!world.system.bluetoothUtility.empty()) {
        std::u16string command = FromUtf8(world.system.bluetoothUtility);
        reg::WriteString(Hive::LocalMachine, kBluetoothAppPathsKey, u"", command);
        reg::WriteString(Hive::LocalMachine, kBluetoothAppPathsKey, u"Path", FolderOfCommand(command));
    }
}

void ReleaseWorldFromRegistry(const World& world) {
    for (const WorldAdapter& adapter : world.adapters) {
        reg::DenyFullAccess(reg::Hive::LocalMachine, ClassKeyPath(world.system, adapter), false);
    }
}

}  // namespace kw::sim
