// Where user input comes from: the operator console, or a test driver. The framework asks the
// installed source for the next action when a modal loop has nothing else to do, for message-box
// answers and menu choices, and tells it what happened as event lines.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/message_box.h"

namespace kw::ui {

class CDialog;

struct MenuEntry {
    int command = 0;
    std::u16string text;
    bool isDefault = false;
};

class IInputSource {
public:
    virtual ~IInputSource() = default;

    // User-interface thread, from a modal loop with nothing queued: perform the next user action
    // (usually by queueing it) or let time pass. False when no input will ever come again; the
    // loop then ends its dialog with IDCANCEL.
    virtual bool Step() = 0;
    // Any thread. The answer to a message box: one of its buttons (IDOK, IDYES, IDNO).
    virtual int AnswerMessageBox(const MessageBoxRequest& box) = 0;
    // User-interface thread. The command chosen from a tracked pop-up menu, 0 when dismissed.
    virtual int ChooseMenuCommand(const std::vector<MenuEntry>& entries) = 0;
    // Any thread. One line of what happened ("window: open ...", "tray: ...", "messagebox: ...").
    virtual void OnEvent(const std::string& line) = 0;
    // Any thread. A line that only shows the next frame of an animation.
    virtual void OnFrameEvent(const std::string& line) { OnEvent(line); }
    // User-interface thread: a dialog was initialised and its modal loop is about to run.
    virtual void OnDialogOpened(CDialog& /*dialog*/) {}
};

// Installs the source for the whole process (nullptr: none; loops then end at once, message boxes
// take their first button, menus are dismissed).
void SetInputSource(IInputSource* source);
IInputSource* InputSource();

// Hands an event line to the installed source.
void ReportEvent(const std::string& line);
void ReportFrameEvent(const std::string& line);

// A text as event lines show it: in double quotes, with \n, \r, \" and \\ escaped.
std::string QuoteText(std::u16string_view text);

}  // namespace kw::ui
