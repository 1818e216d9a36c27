// The program title: the localised "MP_Dialog_Title", recorded in the registry so that a second
// start can tell whether the running copy shows the same title.
#pragma once

#include <string>

namespace kw {

inline constexpr char16_t kKeyDialogTitle[] = u"MP_Dialog_Title";
inline constexpr char16_t kDefaultDialogTitle[] = u"Vivurori DOD Ivirodevovove Dede Viva";

// The title a starting process compares with the recorded one.
std::u16string StartTitle();
// The title a language switch records.
std::u16string SwitchedTitle();

}  // namespace kw
