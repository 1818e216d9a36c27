// The application object: prepares the process, reads the configuration and language files,
// settles single-instance control through two registry values, and runs the main window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kw {

namespace ui {
class CWnd;
}

class CKWConfigApp {
public:
    // Finds a top-level window of any process by its exact caption.
    using WindowFinder = std::function<bool(const std::u16string& caption)>;

    explicit CKWConfigApp(WindowFinder findWindow);

    // The framework's command-line hook: one call per argument, without its leading "/" or "-".
    void ParseParam(std::u16string_view param, bool isFlag, bool isLast);
    // Splits argv into ParseParam calls the way the framework does.
    void ParseCommandLine(const std::vector<std::string>& args);

    // Start steps up to single-instance control. False: this process is to end at once.
    bool StartUp(const std::vector<std::string>& args, const std::string& executablePath);

    // Start steps from the main window on: the notification-area icon, the main window run
    // modally until Exit, then the icon removed. afterCreate runs once the main window exists.
    void RunMainWindow(const std::function<void(ui::CWnd& mainWindow)>& afterCreate = {});

    bool ExitRequested() const { return exitRequested_; }
    const std::u16string& CurrentTitle() const { return currentTitle_; }

private:
    bool SettleSingleInstance(const std::u16string& recordedTitle);

    WindowFinder findWindow_;
    bool exitRequested_ = false;
    std::u16string currentTitle_;
};

// The wait that lets a running copy notice a request (it polls once per timer period).
inline constexpr uint64_t kInstanceHandOverMs = 2000;

}  // namespace kw
