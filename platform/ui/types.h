// Values shared by windows, dialogs, controls and their users: handles, message numbers,
// notification codes, dialog results.
#pragma once

#include <cstdint>

namespace kw::ui {

// A window is named by a small number that stays unique for the life of the process; 0 is none.
using WindowHandle = uint32_t;
// An icon is named by its resource number; 0 is none.
using IconHandle = uint32_t;

inline IconHandle LoadIcon(int resourceId) { return resourceId > 0 ? static_cast<IconHandle>(resourceId) : 0; }

// Dialog results and message-box answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// What a control tells its dialog.
enum class Notify {
    Clicked,     // push button, check box, radio button, menu command, posted command
    SelChange,   // combo box or list box: the user chose an item
    EditChange,  // edit field or the edit field of a combo box: the user changed the text
};

enum class Key { Enter, Escape };

// System commands (the window menu and the caption buttons).
constexpr int kSysCommandMinimize = 0xF020;
constexpr int kSysCommandMaximize = 0xF030;
constexpr int kSysCommandClose = 0xF060;
constexpr int kSysCommandRestore = 0xF120;

// Message numbers. Numbers from kFirstRegisteredMessage on are handed out by
// RegisterWindowMessage.
enum : unsigned {
    kMsgNull = 0,
    kMsgCommand,       // wparam: command or control id, lparam: Notify
    kMsgSysCommand,    // wparam: system command, lparam: position (non-zero when from the mouse)
    kMsgKeyDown,       // wparam: Key
    kMsgTimer,         // wparam: timer id
    kMsgClose,
    kMsgEndSession,    // wparam: non-zero when the session really ends
    kMsgListClick,     // wparam: control id, lparam: row
    kMsgListDblClick,  // wparam: control id, lparam: row
    kMsgHScroll,       // wparam: control id, lparam: track bar position
    kMsgAction,        // internal: a queued piece of work
    kMsgLeftButtonDown = 0x0201,
    kMsgLeftButtonUp = 0x0202,
    kMsgLeftButtonDblClk = 0x0203,
    kMsgRightButtonDown = 0x0204,
    kMsgRightButtonUp = 0x0205,
    kFirstRegisteredMessage = 0xC000,
};

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The screen the windows are placed on.
constexpr Rect kScreen{0, 0, 1024, 768};

}  // namespace kw::ui
