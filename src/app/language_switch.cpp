#include "src/app/language_switch.h"

#include "platform/registry.h"
#include "src/config/program_config.h"
#include "src/app/program_title.h"
#include "src/device/identity.h"
#include "src/lang/language_table.h"
#include "src/settings/app_key.h"

namespace kw {

namespace {

LanguageSwitchHooks g_hooks;

// Under the chip model name as before (other programs may read it there), and under the
// configured chip mode, which is the name the next start reads before any adapter is identified.
void StoreLanguageId(int number) {
    auto value = static_cast<uint32_t>(number);
    WriteChipDword(kValueLanguageId, value);
    const std::u16string& configured = Config().releaseChipMode;
    if (ReleaseChipMode() == configured) return;
    reg::WriteDword(reg::Hive::CurrentUser, AppKeyPath(), configured + u"\\" + kValueLanguageId, value);
}

}  // namespace

void SetLanguageSwitchHooks(LanguageSwitchHooks hooks) { g_hooks = std::move(hooks); }

void ApplyLanguageSwitch(int listIndex) {
    if (listIndex < 0) return;
    Language().Select(listIndex + 1);
    if (g_hooks.relocaliseOpenDialogs) g_hooks.relocaliseOpenDialogs();
    StoreLanguageId(listIndex + 1);
    WriteChipText(kValueProgramTitle, SwitchedTitle());
    if (g_hooks.renewTrayTexts) g_hooks.renewTrayTexts();
}

}  // namespace kw
