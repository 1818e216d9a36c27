#include "src/app/program_title.h"

#include "src/device/identity.h"
#include "src/lang/language_table.h"

namespace kw {

namespace {
constexpr char16_t kGeneralChipMode[] = u"GENERAL";
constexpr char16_t kTitleGap[] = u"   ";
constexpr size_t kRecordedTitleLimit = 63;
}  // namespace

std::u16string StartTitle() {
    std::u16string title = GetText(kKeyDialogTitle, kDefaultDialogTitle);
    return ReleaseChipMode() == kGeneralChipMode ? title : title + kTitleGap;
}

std::u16string SwitchedTitle() {
    std::u16string title = GetText(kKeyDialogTitle, kDefaultDialogTitle);
    std::u16string chipMode = ReleaseChipMode();
    if (chipMode != kGeneralChipMode) title += kTitleGap + chipMode;
    if (title.size() > kRecordedTitleLimit) title.resize(kRecordedTitleLimit);
    return title;
}

}  // namespace kw
