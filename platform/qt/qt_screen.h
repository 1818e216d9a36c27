// The desktop front end: every running dialog as a window, message boxes as message boxes, the
// notification-area icon with its menu. It is the input source of the framework and hands what it
// does not draw to an inner source (the console), so typed commands keep working beside the
// mouse. A QApplication must exist before it is made.
#pragma once

#include <QSystemTrayIcon>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/ui/input_source.h"
#include "platform/ui/types.h"

class QMessageBox;
class QWidget;

namespace kw::qt {

class CDialogWindow;

struct ScreenOptions {
    // The source of typed commands; nullptr: only the windows give input.
    ui::IInputSource* inner = nullptr;
    // Whether the inner source has no more input.
    std::function<bool()> innerEnded;
    // The file descriptor the inner source reads, waited on with the windows; -1 for none.
    int innerFd = -1;
    // A person answers message boxes in their window; otherwise (a script) the inner source does.
    bool interactive = false;
};

class CQtScreen : public ui::IInputSource {
public:
    explicit CQtScreen(ScreenOptions options);
    ~CQtScreen() override;
    CQtScreen(const CQtScreen&) = delete;
    CQtScreen& operator=(const CQtScreen&) = delete;

    // Installs the screen as the framework's input source.
    void Attach();

    // Brings every window, the tray icon and its tip in line with the framework.
    void Sync();
    // The window of a running dialog, or nullptr.
    CDialogWindow* WindowOf(ui::WindowHandle dialog) const;
    QSystemTrayIcon* TrayIcon() const { return tray_.get(); }
    // The message box on the screen, if any.
    QMessageBox* ShownMessageBox() const { return shownBox_; }

    // Writes a PNG picture of the active window, caption bar included. Empty when done, else why not.
    std::string Snap(const std::string& path);
    // The next message box is written to path as it appears, before it is answered.
    void SnapNextMessageBox(const std::string& path) { boxSnapPath_ = path; }

    bool Step() override;
    int AnswerMessageBox(const ui::MessageBoxRequest& box) override;
    int ChooseMenuCommand(const std::vector<ui::MenuEntry>& entries) override;
    void OnEvent(const std::string& line) override;
    void OnFrameEvent(const std::string& line) override;
    void OnDialogOpened(ui::CDialog& dialog) override;

private:
    bool InnerEnded() const;
    bool InnerHasInput() const;
    // Lets the windows work until something asks for the framework's attention or timeoutMs pass.
    void WaitForEvents(int timeoutMs);
    void SyncTray();
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);

    ScreenOptions options_;
    std::map<ui::WindowHandle, std::unique_ptr<CDialogWindow>> windows_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    // The picture on the tray icon, by the framework's icon id; 0 for none yet.
    ui::IconHandle trayIconShown_ = 0;
    QMessageBox* shownBox_ = nullptr;
    bool menuFromWindow_ = false;
    std::string boxSnapPath_;
    bool steppedInner_ = false;
};

// A picture of a window with a caption bar drawn above it, as the desktop would frame it.
bool WriteWindowPicture(QWidget& window, const std::string& path);

}  // namespace kw::qt
