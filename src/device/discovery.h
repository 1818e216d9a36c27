// Adapter discovery: finds this product's adapters among the system's network adapters, lists
// them in the adapter combo box, identifies their chip model and opens the chosen one.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "src/device/records.h"

namespace kw {

// The adapter combo box, as discovery sees it.
class IAdapterListView {
public:
    virtual ~IAdapterListView() = default;
    virtual void ClearAdapters() = 0;
    virtual void AddAdapter(const std::u16string& description) = 0;
    virtual void SelectAdapterItem(int index) = 0;
    virtual int SelectedAdapterItem() const = 0;  // -1: none
};

inline constexpr size_t kAdapterTableRoom = 10;
inline constexpr int kAdapterListRoom = 100;
inline constexpr int kDeferredOpenTicks = 20;

// Class key of an adapter under HKEY_LOCAL_MACHINE, by its four-digit instance key.
std::u16string ClassKeyPath(std::string_view instanceKey);
// The chip model name for a driver information record; empty when the table has none.
std::u16string ChipModelName(int chipType, int bandCode);
// The adapter family from its hardware ID (built-in IDs, substring test, last hit wins; 1 default).
int DeviceKindOfHardwareId(std::u16string_view hardwareId);
// The band the configured wireless mode asks for: 0 -> 3, 1 -> 2, 2 -> 4 (others -> 3). The driver's
// band codes and its band-mode requests use the same numbers.
int RequiredBandCode(int configuredWirelessMode);

class CAdapterDiscovery {
public:
    // onOpened runs after an adapter was opened and identified: the main window goes on with the
    // operating mode, the tray icon, Zero Configuration and the restore.
    CAdapterDiscovery(IAdapterListView& view, std::function<void()> onOpened);

    void Discover();
    void SelectAdapter();
    // The timer's share while no adapter is open: true when an adapter is now open.
    bool TimerSide();

    bool AdapterOpen() const { return adapterOpen_; }
    void SetAdapterOpen(bool open) { adapterOpen_ = open; }
    int DeferredState() const { return deferredState_; }
    void ResetDeferral() { deferredState_ = 0; deferredCount_ = 0; }
    size_t ListedCount() const { return tableCount_; }
    const AdapterListEntry& Listed(size_t index) const { return table_[index]; }

private:
    bool ListEntry(const AdapterListEntry& entry, const std::u16string& chipModel);
    void UpdateClassKeyAccess(const std::u16string& classKey) const;

    IAdapterListView& view_;
    std::function<void()> onOpened_;
    std::array<AdapterListEntry, kAdapterTableRoom> table_{};
    std::array<std::u16string, kAdapterTableRoom> chipModels_{};  // empty: not identified
    size_t tableCount_ = 0;
    bool adapterOpen_ = false;
    int deferredState_ = 0;
    int deferredCount_ = 0;
};

}  // namespace kw
