// Every text the user sees is looked up by key in the language file, with a built-in English
// default; the table knows the file, the languages it offers and the one selected.
#pragma once

#include <string>
#include <vector>

namespace kw {

class CLanguageTable {
public:
    // Stores both names and reads the index; selects language 1 when it offers any.
    bool Load(const std::string& filePath, std::u16string_view indexSection);
    // Makes language number (1-based) current; a number outside 1 … count changes nothing.
    bool Select(int number);
    // The text of key in the current language, or defaultText when the key is absent; "%%" is
    // shown as "%".
    std::u16string GetText(std::u16string_view key, std::u16string_view defaultText) const;

    int CurrentLanguage() const { return current_; }
    int LanguageCount() const { return count_; }
    const std::vector<std::u16string>& Descriptions() const { return descriptions_; }
    const std::u16string& CurrentSection() const { return currentSection_; }

private:
    std::string filePath_;
    std::u16string indexSection_;
    std::vector<std::u16string> sections_;
    std::vector<std::u16string> descriptions_;
    int count_ = 0;
    int current_ = -1;
    std::u16string currentSection_;
};

// The one process-wide table.
CLanguageTable& Language();
// Shorthand for Language().GetText.
std::u16string GetText(std::u16string_view key, std::u16string_view defaultText);

inline constexpr char16_t kLanguageIndexSection[] = u"LANGUAGES";

}  // namespace kw
