// What a user does to the active window, as the console and the test driver ask for it. Each
// operation checks the action against the window as it is now; when the action fits it is queued
// (the modal loop performs it, so a dialog it opens runs its own loop from there) and the result
// is empty; otherwise the result says why it cannot be done, and nothing changes.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

namespace kw::ui::user {

std::string Click(CDialog& dialog, int id);
// Combo box or list box: choose item index. List view: click row index.
std::string Select(CDialog& dialog, int id, int index);
std::string DoubleClick(CDialog& dialog, int id, int row);
// Replaces the text of an edit field (or a combo box's edit field); the text limit cuts it.
std::string Type(CDialog& dialog, int id, std::u16string_view text);
std::string Scroll(CDialog& dialog, int id, int position);
// The close box: the close system command with a mouse position.
std::string Close(CDialog& dialog);
std::string PressKey(CDialog& dialog, Key key);

}  // namespace kw::ui::user
