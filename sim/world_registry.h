// What a world leaves in the registry: each adapter's class key with its MatchingDeviceId, the
// class keys the user may not change, and the Bluetooth utility's App Paths entry.
#pragma once

#include <string>

#include "sim/world.h"

namespace kw::sim {

std::u16string ClassKeyPath(const WorldSystem& system, const WorldAdapter& adapter);
inline constexpr std::u16string_view kBluetoothAppPathsKey =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\BlueSoleil.exe";

void ApplyWorldToRegistry(const World& world);
// Lifts the access denials of a world that is being replaced.
void ReleaseWorldFromRegistry(const World& world);

}  // namespace kw::sim
