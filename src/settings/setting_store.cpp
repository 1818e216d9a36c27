#include "src/settings/setting_store.h"

#include <atomic>
#include <climits>

#include "platform/registry.h"
#include "platform/text.h"
#include "src/device/identity.h"
#include "src/settings/app_key.h"
#include "src/settings/setting_keys.h"

namespace kw {

namespace {
std::atomic<int> g_operationMode{kModeStation};

bool IsMode(int mode) { return mode == kModeStation || mode == kModeAccessPoint; }

std::u16string ReadOnce(int mode, std::u16string_view key) {
    // Reading does not create the branch: nothing depends on empty keys.
    return reg::ReadString(reg::Hive::CurrentUser, AppKeyPath() + u"\\" + BranchPath(mode), key).value_or(u"");
}
}  // namespace

int OperationMode() { return g_operationMode; }
void SetOperationMode(int mode) { g_operationMode = mode; }

std::u16string BranchPath(int mode) {
    std::u16string path = u"LastSetting\\" + AdapterChipModel() + u"\\" + FromCodePage(AdapterKey()) + u"\\";
    return path + (mode == kModeAccessPoint ? u"AccessPoint\\" : u"Station\\");
}

std::u16string ReadSettingText(int mode, std::u16string_view key) {
    if (!IsMode(mode)) return {};
    std::u16string text = ReadOnce(mode, key);
    // A read that comes back empty is tried once more before it counts as absent.
    return text.empty() ? ReadOnce(mode, key) : text;
}

int ReadSettingNumber(std::u16string_view key) {
    int mode = OperationMode();
    std::u16string text = ReadSettingText(mode, key);
    if (text.empty()) text = ReadSettingText(mode, key);
    if (text.empty()) return -1;
    long long value = ParseLeadingInt(text);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int WriteSettingText(int mode, std::u16string_view key, std::u16string_view text) {
    if (!IsMode(mode)) return -1;
    reg::Key branch;
    if (reg::Key::Create(reg::Hive::CurrentUser, AppKeyPath() + u"\\" + BranchPath(mode), branch) != reg::kSuccess) {
        return -1;
    }
    return branch.WriteString(key, text) == reg::kSuccess ? 0 : -1;
}

int WriteSettingNumber(int mode, std::u16string_view key, int value) {
    return WriteSettingText(mode, key, FormatW("%d", value));
}

}  // namespace kw
