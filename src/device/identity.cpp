#include "src/device/identity.h"

#include <atomic>
#include <mutex>

namespace kw {

namespace {
struct Identity {
    std::mutex mutex;
    std::u16string releaseChipMode = u"GENERAL";
    std::u16string adapterChipModel;
    std::string adapterKey;
    std::atomic<int> deviceKind{1};
    std::atomic<int> classKeyAccess{0};
};

Identity& State() {
    static Identity identity;
    return identity;
}
}  // namespace

std::u16string ReleaseChipMode() {
    std::lock_guard lock(State().mutex);
    return State().releaseChipMode;
}

void SetReleaseChipMode(std::u16string_view text) {
    std::lock_guard lock(State().mutex);
    State().releaseChipMode = text;
}

std::u16string AdapterChipModel() {
    std::lock_guard lock(State().mutex);
    return State().adapterChipModel.empty() ? State().releaseChipMode : State().adapterChipModel;
}

void SetAdapterChipModel(std::u16string_view text) {
    std::lock_guard lock(State().mutex);
    State().adapterChipModel = text;
}

std::string AdapterKey() {
    std::lock_guard lock(State().mutex);
    return State().adapterKey;
}

void SetAdapterKey(std::string_view key) {
    std::lock_guard lock(State().mutex);
    State().adapterKey = key;
}

int DeviceKind() { return State().deviceKind; }
void SetDeviceKind(int kind) { State().deviceKind = kind; }
int ClassKeyAccessFlag() { return State().classKeyAccess; }
void SetClassKeyAccessFlag(int flag) { State().classKeyAccess = flag; }

}  // namespace kw
