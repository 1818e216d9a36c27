// A window as text: what the console's show, get and items commands print.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog.h"

namespace kw::ui {

// `ID kind "text"` then any of hidden, disabled, checked, sel=N, pos=N, range=A..B. Masked edit
// fields show asterisks; an icon control shows its icon number; a list view its column titles.
std::string DescribeControl(const CControl& control);
// `window "caption"`, plus hidden when it is not shown.
std::string DescribeWindow(const CWnd& window);
// The caption line, then one line per control.
std::vector<std::string> DescribeDialog(const CDialog& dialog);
// `N: text` per item or row; list-view cells joined by " | ". Empty for controls without items.
std::vector<std::string> DescribeItems(const CControl& control);
bool HasItems(const CControl& control);

}  // namespace kw::ui
