// The bridge program, an outside program that joins the access point to another adapter of the
// computer. It is started, never tracked and never ended by us.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "src/device/records.h"

namespace kw {

inline constexpr int kBridgeAdapterRoom = 30;

// The program's file name alone (no bridge), or with the configured adapter after -W and the
// bridge adapter after -E, both quoted.
std::u16string BridgeCommandLine(std::u16string_view bridgeDevice);

// Starts a bridge command line with the program's folder current for the start.
void StartBridgeCommand(const std::u16string& commandLine);

// Starts the bridge program for the stored "BridgeAdapter" (stored again when there is one).
void StartBridge();

// The computer's other adapters that may serve as the bridge, never the one being configured;
// nothing when the adapter list cannot be read.
std::optional<std::vector<AdapterListEntry>> BridgeAdapterCandidates();

}  // namespace kw
