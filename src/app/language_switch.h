// Switching the language from the language list of the advanced settings dialog.
#pragma once

#include <functional>

namespace kw {

// What the windows do when the language changes: re-localise the open dialogs, renew the tray
// icon's texts. The main window installs them; without them only the table and registry change.
struct LanguageSwitchHooks {
    std::function<void()> relocaliseOpenDialogs;
    std::function<void()> renewTrayTexts;
};
void SetLanguageSwitchHooks(LanguageSwitchHooks hooks);

// listIndex: the 0-based selection of the language list, -1 for none (then nothing happens).
void ApplyLanguageSwitch(int listIndex);

}  // namespace kw
