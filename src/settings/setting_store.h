// The setting store: one branch per operating mode under
// LastSetting\<ReleaseChipMode>\<adapter key>\{Station|AccessPoint} of the application key.
// Every call builds the path afresh, so a change of chip mode or adapter redirects all later
// accesses at once; each call opens and closes its own registry handles (safe from any thread).
#pragma once

#include <string>

namespace kw {

// The process-wide operating mode (0 station, 1 access point): it picks the branch.
int OperationMode();
void SetOperationMode(int mode);

std::u16string BranchPath(int mode);

// Empty for a mode other than 0 or 1, an absent value or a branch that cannot be opened.
std::u16string ReadSettingText(int mode, std::u16string_view key);
// From the current mode's branch: -1 when not stored, else the leading decimal value.
int ReadSettingNumber(std::u16string_view key);
// 0 on success, -1 for a bad mode or a failed write.
int WriteSettingText(int mode, std::u16string_view key, std::u16string_view text);
int WriteSettingNumber(int mode, std::u16string_view key, int value);

}  // namespace kw
