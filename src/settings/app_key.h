// The application key HKEY_CURRENT_USER\Software\<Company_Abbrev>\<program name>, and the values
// kept directly in it under names prefixed with the current chip-mode text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kw {

void SetRegistryRoot(std::u16string_view companyAbbrev, std::u16string_view programName);
std::u16string AppKeyPath();

// Value names of the single-instance protocol, the language and the stored operating mode.
inline constexpr char16_t kValueExitRequest[] = u"KWWLanExit";
inline constexpr char16_t kValueWakeUpRequest[] = u"KWWLanWakeUp";
inline constexpr char16_t kValueProgramTitle[] = u"KWConfigProgramTitle";
inline constexpr char16_t kValueLanguageId[] = u"LanguageId";
inline constexpr char16_t kValueOperationMode[] = u"KWConfigOperationMode";

// ReleaseChipMode + "\" + name, with the chip-mode text current now.
std::u16string ChipValueName(std::u16string_view name);

std::optional<uint32_t> ReadChipDword(std::u16string_view name);
long WriteChipDword(std::u16string_view name, uint32_t value);
std::optional<std::u16string> ReadChipText(std::u16string_view name);
long WriteChipText(std::u16string_view name, std::u16string_view text);

}  // namespace kw
