#include "src/app/language_switch.h"

#include "src/app/program_title.h"
#include "src/lang/language_table.h"
#include "src/settings/app_key.h"

namespace kw {

namespace {
LanguageSwitchHooks g_hooks;
}

void SetLanguageSwitchHooks(LanguageSwitchHooks hooks) { g_hooks = std::move(hooks); }

void ApplyLanguageSwitch(int listIndex) {
    if (listIndex < 0) return;
    Language().Select(listIndex + 1);
    if (g_hooks.relocaliseOpenDialogs) g_hooks.relocaliseOpenDialogs();
    WriteChipDword(kValueLanguageId, static_cast<uint32_t>(listIndex + 1));
    WriteChipText(kValueProgramTitle, SwitchedTitle());
    if (g_hooks.renewTrayTexts) g_hooks.renewTrayTexts();
}

}  // namespace kw
