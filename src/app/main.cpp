#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/console/console.h"
#include "platform/paths.h"
#include "platform/shell/window_lookup.h"
#include "platform/ui/window.h"
#include "src/app/console_commands.h"
#include "src/app/kwconfig_app.h"
#include "src/app/tray_icon.h"

int main(int argc, char** argv) {
    if (std::string problem = kw::StateRootProblem(); !problem.empty()) {
        std::cerr << problem << '\n';
        return 1;
    }
    std::unique_ptr<kw::console::CConsole> console;
    if (kw::console::CConsole::IsTerminal(STDIN_FILENO)) {
        console = std::make_unique<kw::console::CConsole>(STDIN_FILENO, std::cout);
    } else {
        console = std::make_unique<kw::console::CConsole>(std::cin, std::cout);
    }
    console->Attach();
    console->RegisterCommand("sim", kw::kSimCommandForm, kw::kSimCommandSummary,
                             [&console](const std::vector<std::string>& args) {
                                 std::vector<std::string> output;
                                 std::string error = kw::RunSimCommand(args, output);
                                 for (const auto& line : output) console->PrintLine(line);
                                 return error;
                             });

    kw::CKWConfigApp app([](const std::u16string& caption) { return kw::shell::FindWindowByCaption(caption).has_value(); });
    std::vector<std::string> args(argv, argv + argc);
    if (!app.StartUp(args, kw::ExecutablePath())) return 0;

    app.RunMainWindow([&console](kw::ui::CWnd& mainWindow) {
        // End of input (or "quit") is the user choosing Exit.
        kw::ui::WindowHandle handle = mainWindow.Handle();
        console->SetEndOfInputHandler([handle] {
            kw::ui::PostMessage(handle, kw::ui::kMsgCommand, kw::kCmdExit, static_cast<intptr_t>(kw::ui::Notify::Clicked));
        });
    });
    return 0;
}
