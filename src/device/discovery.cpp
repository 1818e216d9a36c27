#include "src/device/discovery.h"

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"

namespace kw {

namespace {

constexpr char16_t kMatchingDeviceId[] = u"MatchingDeviceId";
constexpr size_t kMatchingDeviceIdBytes = 512;
constexpr uint64_t kSettleAfterOpenMs = 1000;

struct BuiltInHardwareId {
    const char16_t* id;
    int kind;
};
// Four USB adapters and one PCI card of the family, in test order.
constexpr BuiltInHardwareId kBuiltInHardwareIds[] = {
    {u"USB\\VID_6B57&PID_7100", 1},
    {u"PCI\\VEN_6B57&DEV_7200", 2},
    {u"USB\\VID_6B57&PID_7130", 3},
    {u"USB\\VID_6B57&PID_7140", 4},
    {u"USB\\VID_6B57&PID_7150", 4},
};

std::string FieldText(const char* field, size_t room) { return std::string(field, strnlen(field, room)); }

void CopyField(char* dest, size_t destRoom, const char* src, size_t srcRoom) {
    std::string text = FieldText(src, srcRoom);
    size_t n = std::min(text.size(), destRoom - 1);
    std::memcpy(dest, text.data(), n);
    dest[n] = '\0';
}

std::u16string ReadHardwareId(const std::u16string& classKey) {
    auto id = reg::ReadString(reg::Hive::LocalMachine, classKey, kMatchingDeviceId);
    if (!id) return {};
    // The value is read into a buffer of 512 bytes: at most 255 characters and the terminator.
    if (id->size() > kMatchingDeviceIdBytes / 2 - 1) id->resize(kMatchingDeviceIdBytes / 2 - 1);
    return *id;
}

bool NeedsDeferral(const std::u16string& upperId) {
    return upperId.find(u"PCMCIA") != std::u16string::npos || upperId.find(u"PCI") != std::u16string::npos;
}

}  // namespace

std::u16string ClassKeyPath(std::string_view instanceKey) {
    const char* format = QueryWL_IsWindows95() ? "System\\CurrentControlSet\\Services\\Class\\Net\\%s"
                                              : "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s";
    return FormatW(format, ToUtf8(FromCodePage(instanceKey)).c_str());
}

std::u16string ChipModelName(int chipType, int bandCode) {
    switch (chipType) {
        case 1: return u"KW7100";
        case 2: return u"KW7200";
        case 3: return u"KW7100DualBand";
        case 4:
            if (bandCode == 3) return u"KW7100";
            if (bandCode == 2) return u"KW7100 A Only";
            if (bandCode == 4) return u"KW7100DualBand";
            return {};
        default: return {};
    }
}

int DeviceKindOfHardwareId(std::u16string_view hardwareId) {
    std::u16string upper = ToUpperAscii(hardwareId);
    int kind = 1;
    for (const auto& builtIn : kBuiltInHardwareIds) {
        if (upper.find(builtIn.id) != std::u16string::npos) kind = builtIn.kind;
    }
    return kind;
}

int RequiredBandCode(int configuredWirelessMode) {
    switch (configuredWirelessMode) {
        case 1: return 2;
        case 2: return 4;
        default: return 3;
    }
}

CAdapterDiscovery::CAdapterDiscovery(IAdapterListView& view, std::function<void()> onOpened)
    : view_(view), onOpened_(std::move(onOpened)) {}

void CAdapterDiscovery::UpdateClassKeyAccess(const std::u16string& classKey) const {
    reg::Key key;
    long result = reg::Key::Open(reg::Hive::LocalMachine, classKey, reg::Access::Full, key);
    if (result == reg::kSuccess) {
        SetClassKeyAccessFlag(0);
    } else if (result == reg::kAccessDenied) {
        SetClassKeyAccessFlag(1);
    }
}

void CAdapterDiscovery::Discover() {
    SetClassKeyAccessFlag(0);
    view_.ClearAdapters();
    tableCount_ = 0;
    AdapterContext* ctx = Adapter();

    std::vector<AdapterListEntry> entries(kAdapterListRoom);
    int count = CreateAllNICAdapterList(entries.data(), kAdapterListRoom);
    if (count <= 0) {
        ctx->handle = -1;
        adapterOpen_ = false;
        return;
    }
    if (count > kAdapterListRoom) count = kAdapterListRoom;

    const auto& configuredIds = Config().matchingDeviceIds;
    for (int e = 0; e < count; ++e) {
        const AdapterListEntry& entry = entries[static_cast<size_t>(e)];
        std::u16string classKey = ClassKeyPath(FieldText(entry.instanceKey, sizeof entry.instanceKey));
        std::u16string storedId = ToUpperAscii(ReadHardwareId(classKey));
        if (storedId.empty()) continue;
        for (const auto& configured : configuredIds) {
            if (configured.empty()) break;
            std::u16string upperId = ToUpperAscii(configured);
            if (upperId != storedId) continue;

            UpdateClassKeyAccess(classKey);
            ctx->handle = -1;
            CopyField(ctx->deviceName, sizeof ctx->deviceName, entry.deviceName, sizeof entry.deviceName);
            if (Query_FixWindisPnPBug() && deferredState_ == 0 && NeedsDeferral(upperId)) {
                deferredState_ = 1;
                deferredCount_ = kDeferredOpenTicks;
                return;
            }
            if (KwOpenAdapter(ctx) == 0 || QueryWL_DriverVersion(ctx) == -1) continue;
            DriverInfo info{};
            int infoResult = Query_KWDriverInfo(ctx, &info);
            KwCloseAdapter(ctx);
            std::u16string chipModel;
            if (infoResult != -1) {
                if (info.bandCode != RequiredBandCode(Config().wirelessMode)) continue;
                chipModel = ChipModelName(info.chipType, info.bandCode);
                if (!chipModel.empty()) SetReleaseChipMode(chipModel);
            }
            ListEntry(entry, chipModel);
        }
    }
    if (tableCount_ > 0) {
        deferredState_ = 0;
        view_.SelectAdapterItem(0);
        SelectAdapter();
    }
}

bool CAdapterDiscovery::ListEntry(const AdapterListEntry& entry, const std::u16string& chipModel) {
    // The table holds ten adapters; further matches are left out rather than overrunning it.
    if (tableCount_ == table_.size()) return false;
    chipModels_[tableCount_] = chipModel;
    table_[tableCount_++] = entry;
    view_.AddAdapter(FromCodePage(FieldText(entry.description, sizeof entry.description)));
    return true;
}

void CAdapterDiscovery::SelectAdapter() {
    AdapterContext* ctx = Adapter();
    KwCloseAdapter(ctx);
    int selection = view_.SelectedAdapterItem();
    if (selection < 0 || static_cast<size_t>(selection) >= tableCount_) return;
    const AdapterListEntry& entry = table_[static_cast<size_t>(selection)];
    CopyField(ctx->deviceName, sizeof ctx->deviceName, entry.deviceName, sizeof entry.deviceName);
    CopyField(ctx->description, sizeof ctx->description, entry.description, sizeof entry.description);
    CopyField(ctx->instanceKey, sizeof ctx->instanceKey, entry.instanceKey, sizeof entry.instanceKey);
    SetAdapterKey(FieldText(entry.instanceKey, sizeof entry.instanceKey));
    // Its settings live under its own chip's branch, whichever adapter was identified last.
    SetAdapterChipModel(chipModels_[static_cast<size_t>(selection)]);
    if (KwOpenAdapter(ctx) == 0) return;
    adapterOpen_ = true;
    SetDeviceKind(DeviceKindOfHardwareId(ReadHardwareId(ClassKeyPath(AdapterKey()))));
    clock::SleepMs(kSettleAfterOpenMs);
    if (onOpened_) onOpened_();
}

bool CAdapterDiscovery::TimerSide() {
    if (Query_FixWindisPnPBug() && deferredState_ == 1) {
        if (--deferredCount_ != 0) return false;
        deferredState_ = 2;
    }
    Discover();
    return deferredState_ != 1 && Adapter()->handle != -1;
}

}  // namespace kw
