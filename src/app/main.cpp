#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/console/console.h"
#include "platform/paths.h"
#include "platform/shell/window_lookup.h"
#include "platform/ui/window.h"
#include "src/app/console_commands.h"
#include "src/app/kwconfig_app.h"
#include "src/app/tray_icon.h"

#ifdef KW_HAVE_QT
#include <QApplication>

#include "platform/qt/qt_screen.h"
#endif

namespace {

constexpr char kConsoleOnlyFlag[] = "--console";
constexpr char kSnapForm[] = "snap [box] FILE";
constexpr char kSnapSummary[] =
    "write a PNG picture of the active window to FILE; with box, of the next message box as it appears";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// A desktop to draw on; an explicit Qt platform (such as offscreen) counts as one.
[[maybe_unused]] bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"); }

// Standard input that can never give a line, as a desktop launcher leaves it.
bool InputIsNullDevice() {
    struct stat info {};
    return !kw::console::CConsole::IsTerminal(STDIN_FILENO) && ::fstat(STDIN_FILENO, &info) == 0 &&
           S_ISCHR(info.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
    if (std::string problem = kw::StateRootProblem(); !problem.empty()) {
        std::cerr << problem << '\n';
        return 1;
    }
    bool consoleOnly = std::any_of(argv + 1, argv + argc, [](const char* arg) { return std::string(arg) == kConsoleOnlyFlag; });
    bool windows = false;
#ifdef KW_HAVE_QT
    windows = !consoleOnly && HasDisplay();
    std::unique_ptr<QApplication> qtApp;
    if (windows) qtApp = std::make_unique<QApplication>(argc, argv);
#endif
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) != kConsoleOnlyFlag) args.emplace_back(argv[i]);
    }

    bool readsInput = !(windows && InputIsNullDevice());
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

#ifdef KW_HAVE_QT
    std::unique_ptr<kw::qt::CQtScreen> screen;
    if (windows) {
        kw::qt::ScreenOptions options;
        if (readsInput) {
            options.inner = console.get();
            options.innerEnded = [&console] { return console->InputEnded(); };
            options.innerFd = STDIN_FILENO;
            options.interactive = kw::console::CConsole::IsTerminal(STDIN_FILENO);
        } else {
            // Nobody types: the windows are the only input, in real time.
            options.interactive = true;
            kw::clock::UseVirtualTime(false);
        }
        screen = std::make_unique<kw::qt::CQtScreen>(options);
        screen->Attach();
    }
#endif
    console->RegisterCommand("snap", kSnapForm, kSnapSummary, [&](const std::vector<std::string>& words) -> std::string {
        bool box = words.size() == 2 && words[0] == "box";
        if (words.size() != (box ? 2u : 1u)) return std::string("usage: ") + kSnapForm;
#ifdef KW_HAVE_QT
        if (screen) {
            if (!box) return screen->Snap(words[0]);
            screen->SnapNextMessageBox(words[1]);
            return {};
        }
#endif
        return "no windows to take a picture of: the program runs without a display";
    });

    kw::CKWConfigApp app([](const std::u16string& caption) { return kw::shell::FindWindowByCaption(caption).has_value(); });
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
