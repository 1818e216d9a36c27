#include "src/settings/app_key.h"

#include <mutex>

#include "platform/registry.h"
#include "src/device/identity.h"

namespace kw {

namespace {
std::mutex g_rootMutex;
std::u16string g_appKeyPath = u"Software\\Talvo\\KWConfig";
}  // namespace

void SetRegistryRoot(std::u16string_view companyAbbrev, std::u16string_view programName) {
    std::lock_guard lock(g_rootMutex);
    g_appKeyPath = u"Software\\" + std::u16string(companyAbbrev) + u"\\" + std::u16string(programName);
}

std::u16string AppKeyPath() {
    std::lock_guard lock(g_rootMutex);
    return g_appKeyPath;
}

std::u16string ChipValueName(std::u16string_view name) { return ReleaseChipMode() + u"\\" + std::u16string(name); }

std::optional<uint32_t> ReadChipDword(std::u16string_view name) {
    return reg::ReadDword(reg::Hive::CurrentUser, AppKeyPath(), ChipValueName(name));
}

long WriteChipDword(std::u16string_view name, uint32_t value) {
    return reg::WriteDword(reg::Hive::CurrentUser, AppKeyPath(), ChipValueName(name), value);
}

std::optional<std::u16string> ReadChipText(std::u16string_view name) {
    return reg::ReadString(reg::Hive::CurrentUser, AppKeyPath(), ChipValueName(name));
}

long WriteChipText(std::u16string_view name, std::u16string_view text) {
    return reg::WriteString(reg::Hive::CurrentUser, AppKeyPath(), ChipValueName(name), text);
}

}  // namespace kw
