// A tray icon's hidden window for the tests: it turns icon notifications into commands for the
// main window, the way the program's tray icon does.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/menu.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/window.h"

namespace kwtest {

using namespace kw::ui;
using namespace kw::shell;

constexpr int kMenuId = 173;
constexpr int kOpenCommand = 32771;
constexpr int kExitCommand = 32773;

inline NotifyIconData Record(WindowHandle window, uint32_t flags, IconHandle icon, std::u16string_view tip) {
    NotifyIconData data;
    data.window = window;
    data.id = kMenuId;
    data.flags = flags;
    data.callbackMessage = RegisterWindowMessage(u"CTrayIcon");
    data.icon = icon;
    SetTipText(data, tip);
    return data;
}

inline void RegisterTrayMenu() {
    RegisterMenuTemplate(kMenuId,
                         MenuTemplate{{PopupTemplate{u"Tray", {{kOpenCommand, u"Open"}, {kExitCommand, u"Exit"}}}}});
}

// Double click: the release after it posts "Open Utility Window"; right click: the menu.
class CIconWindow : public CWnd {
public:
    std::vector<std::string> mouse;
    int lastChoice = -1;

protected:
    void OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) override {
        if (msg != RegisterWindowMessage(u"CTrayIcon") || wparam != kMenuId) return;
        mouse.push_back(std::to_string(lparam));
        if (lparam == kMsgLeftButtonDblClk) doubleClicked_ = true;
        if (lparam == kMsgLeftButtonUp && doubleClicked_ && MainWindow()) {
            doubleClicked_ = false;
            MainWindow()->PostCommand(kOpenCommand);
        }
        if (lparam == kMsgRightButtonUp) ShowMenu();
    }

private:
    void ShowMenu() {
        CMenu menu;
        if (!menu.Load(kMenuId)) return;
        CPopupMenu* popup = menu.SubMenu(0);
        if (!popup || !MainWindow()) return;
        popup->SetDefaultItem(kOpenCommand, false);
        popup->ModifyItem(0, true, kOpenCommand, u"Open Utility Window");
        popup->ModifyItem(1, true, kExitCommand, u"Exit KWConfig");
        lastChoice = popup->Track(CursorPosition(), MainWindow()->Handle(), false);
        menu.Destroy();
    }
    bool doubleClicked_ = false;
};

}  // namespace kwtest
