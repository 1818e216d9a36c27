#include "src/dialogs/bridge_program.h"

#include <algorithm>
#include <cstring>

#include "platform/process.h"
#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/kwwlan.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

namespace {

std::string_view FixedText(const char* text, size_t room) { return {text, strnlen(text, room)}; }

// The program's folder without its trailing slash.
std::string ProgramFolder() {
    std::string folder = Paths().directory;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

std::u16string BridgeCommandLine(std::u16string_view bridgeDevice) {
    std::string program = ToUtf8(Config().bridgeProgram);
    if (bridgeDevice.empty()) return FromUtf8(program);
    std::u16string configured = FromCodePage(FixedText(Adapter()->deviceName, sizeof Adapter()->deviceName));
    return FormatW("%s -W \"%s\" -E \"%s\"", program.c_str(), ToUtf8(configured).c_str(), ToUtf8(bridgeDevice).c_str());
}

void StartBridgeCommand(const std::u16string& commandLine) {
    process::CCurrentDirectoryScope programFolder(ProgramFolder());
    // Nobody is told when the bridge cannot start; the system error text is not shown either.
    (void)process::StartDetached(commandLine);
}

void StartBridge() {
    std::u16string bridge = ReadSettingText(kModeAccessPoint, key::kBridgeAdapter);
    if (!bridge.empty()) WriteSettingText(kModeAccessPoint, key::kBridgeAdapter, bridge);
    StartBridgeCommand(BridgeCommandLine(bridge));
}

std::optional<std::vector<AdapterListEntry>> BridgeAdapterCandidates() {
    std::vector<AdapterListEntry> entries(kBridgeAdapterRoom);
    int count = CreateNICAdapterList(entries.data(), kBridgeAdapterRoom);
    if (count < 0) return std::nullopt;
    entries.resize(static_cast<size_t>(std::min(count, kBridgeAdapterRoom)));
    std::string_view configured = FixedText(Adapter()->deviceName, sizeof Adapter()->deviceName);
    std::erase_if(entries, [&](const AdapterListEntry& entry) {
        std::string_view name = FixedText(entry.deviceName, sizeof entry.deviceName);
        return name.substr(0, configured.size()) == configured;
    });
    return entries;
}

}  // namespace kw
