#include "src/mainwnd/bluetooth_utility.h"

#include <cerrno>
#include <optional>
#include <string>

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/config/program_config.h"

namespace kw {

namespace {

constexpr char16_t kAppPathsKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\BlueSoleil.exe";
constexpr char16_t kPathValue[] = u"Path";
constexpr size_t kValueBytes = 520;
constexpr size_t kValueCharacters = kValueBytes / 2;

pid_t g_utility = -1;

void ShowSystemError(const ui::CWnd* owner, int error) {
    ui::ShowMessageBox(owner, process::SystemErrorText(error), u"Error", ui::MessageBoxButtons::Ok, ui::MessageBoxIcon::Information);
}

std::optional<std::u16string> ReadLimited(const reg::Key& key, std::u16string_view name) {
    auto value = key.ReadString(name);
    if (value && value->size() >= kValueCharacters) return std::nullopt;  // more than the room for it
    return value;
}

std::string ProgramFolder() {
    std::string folder = Paths().directory;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

void StartBluetoothUtility(const ui::CWnd* owner) {
    process::CCurrentDirectoryScope programFolder(ProgramFolder());
    reg::Key appPaths;
    if (reg::Key::Open(reg::Hive::LocalMachine, kAppPathsKey, reg::Access::Full, appPaths) != reg::kSuccess) return;
    auto path = ReadLimited(appPaths, u"");
    if (!path) {
        ShowSystemError(owner, ENOENT);
        return;
    }
    auto folder = ReadLimited(appPaths, kPathValue);
    std::string workingFolder;
    if (folder) {
        workingFolder = ToUtf8(*folder);
    } else {
        ShowSystemError(owner, ENOENT);
        // Without its own folder the utility starts in the one that holds it.
        std::vector<std::string> arguments = process::SplitCommandLine(ToUtf8(*path));
        if (!arguments.empty()) workingFolder = DirectoryOf(arguments.front());
    }
    process::Started started = process::Start(*path, workingFolder);
    if (started.pid < 0) {
        ShowSystemError(owner, started.error);
        return;
    }
    // A second opening replaces the record; the earlier utility is ended rather than lost.
    EndBluetoothUtility();
    g_utility = started.pid;
}

void EndBluetoothUtility() {
    if (g_utility < 0) return;
    process::End(g_utility);
    g_utility = -1;
}

pid_t BluetoothUtilityProcess() { return g_utility; }

}  // namespace kw
