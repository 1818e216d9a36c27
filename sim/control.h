// The control interface of the simulated world, for tests and the console's "sim" commands.
// Adapters are numbered from 1 in world-file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kw::sim {

// KWWLAN_WORLD when set, else DefaultWorld.INI beside the running executable.
std::string DefaultWorldPath();

// Replaces the world with the one the file describes; false (and the world unchanged) when the
// file cannot be read. Driver state, open handles and supplicant sessions start afresh.
bool LoadWorldFile(const std::string& path);
// The same for the text of a world file.
bool LoadWorldText(std::string_view text);
bool LoadDefaultWorld();

// The adapters of the world, numbered from 1, and whether each is plugged in now.
struct AdapterSummary {
    int number = 0;
    std::string description;  // 8-bit, as the world file gives it
    bool present = false;
};
std::vector<AdapterSummary> WorldAdapters();

// World events; false when there is no such adapter.
bool UnplugAdapter(int number);
bool PlugAdapter(int number);
void SetZeroConfigStatus(int status);
int ZeroConfigStatus();
bool ZeroConfigServiceRunning();

// The call log of both libraries since the last clear, kept only while KeepCallLog(true) holds.
void KeepCallLog(bool keep);
std::vector<std::string> CallLog();
void ClearCallLog();

// Forgets the world (the next library call loads the default one), the sessions and the log.
void Reset();

}  // namespace kw::sim
