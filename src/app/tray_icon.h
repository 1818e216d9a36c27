// The program's one notification-area icon: a hidden window receives its mouse notifications,
// shows its context menu and turns clicks into commands for the main window.
#pragma once

#include <string>

#include "platform/shell/notify_icon.h"
#include "platform/ui/window.h"

namespace kw {

inline constexpr int kTrayMenuResource = 173;
inline constexpr int kTrayIconId = 173;
inline constexpr int kCmdOpenUtilityWindow = 32771;
inline constexpr int kCmdExit = 32773;

// Registers menu resource 173 (one pop-up: Open Utility Window, Exit KWConfig).
void RegisterTrayMenu();

class CTrayIcon : public ui::CWnd {
public:
    CTrayIcon();
    ~CTrayIcon() override;

    bool CreateIcon(std::u16string_view tip, ui::IconHandle icon, int defaultCommand, bool byPosition);
    bool SetTip(std::u16string_view tip);
    bool SetIcon(ui::IconHandle icon);
    bool ShowIcon(ui::IconHandle icon);
    bool HideIcon();
    void DestroyIcon();
    bool SetDefaultItem(int item, bool byPosition);
    void SetMenuTexts(std::u16string_view openText, std::u16string_view exitText);
    // The two menu texts of the current language.
    void LocaliseMenuTexts();
    // The window that receives the icon's commands; without one, the process's main window.
    void SetTarget(ui::CWnd* target) { target_ = target; }

    bool IsIconCreated() const { return created_; }
    const shell::NotifyIconData& Record() const { return data_; }
    const std::u16string& MenuText(int index) const { return menuTexts_[index]; }

protected:
    void OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) override;

private:
    void OnRightButtonUp();
    void OnLeftButtonUp();
    ui::CWnd* Target() const;

    bool created_ = false;
    shell::NotifyIconData data_;
    unsigned callbackMessage_ = 0;
    int defaultItem_ = 0;
    bool defaultByPosition_ = false;
    bool doubleClicked_ = false;
    std::u16string menuTexts_[2];
    ui::CWnd* target_ = nullptr;
};

}  // namespace kw
