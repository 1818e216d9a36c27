#include "src/lang/language_table.h"

#include "platform/ini.h"
#include "platform/text.h"

namespace kw {

namespace {
constexpr size_t kSectionNameRoom = 200;
constexpr size_t kDescriptionRoom = 512;
constexpr size_t kTextRoom = 2048;
}  // namespace

bool CLanguageTable::Load(const std::string& filePath, std::u16string_view indexSection) {
    filePath_ = filePath;
    indexSection_ = indexSection;
    sections_.clear();
    current_ = -1;
    for (int n = 1;; ++n) {
        std::u16string name = ReadIniText(filePath_, indexSection_, FormatW("Language_%d_Section", n), u"", kSectionNameRoom);
        if (name.empty()) break;
        sections_.push_back(std::move(name));
    }
    if (sections_.empty()) {
        count_ = 0;
        return false;
    }
    count_ = static_cast<int>(sections_.size());
    Select(1);
    return true;
}

bool CLanguageTable::Select(int number) {
    if (number < 1 || number > count_) return false;
    current_ = number;
    currentSection_ = sections_[static_cast<size_t>(number - 1)];
    descriptions_.clear();
    for (int i = 1; i <= count_; ++i) {
        descriptions_.push_back(ReadIniText(filePath_, currentSection_, FormatW("Language_%d_Description", i),
                                            sections_[static_cast<size_t>(i - 1)], kDescriptionRoom));
    }
    return true;
}

std::u16string CLanguageTable::GetText(std::u16string_view key, std::u16string_view defaultText) const {
    if (count_ < 1) return CollapsePercents(defaultText);
    return CollapsePercents(ReadIniText(filePath_, currentSection_, key, defaultText, kTextRoom));
}

CLanguageTable& Language() {
    static CLanguageTable table;
    return table;
}

std::u16string GetText(std::u16string_view key, std::u16string_view defaultText) {
    return Language().GetText(key, defaultText);
}

}  // namespace kw
