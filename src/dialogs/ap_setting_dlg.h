// The "Access Point Setting" dialog (190): the software access point's wireless mode, channel,
// network name, hidden name and transmit power in a Change / Apply cycle; WEP, authentication,
// thresholds, preamble and the bridge adapter act as soon as they change; doors to the WEP keys
// and the MAC address filter.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/dialog.h"
#include "src/device/records.h"

namespace kw {

namespace apdlg {
inline constexpr int kResource = 190;
inline constexpr int kWirelessMode = 1498;
inline constexpr int kChannel = 1447;
inline constexpr int kSsid = 1448;
inline constexpr int kHideSsid = 1449;
inline constexpr int kTxPower = 1294;
inline constexpr int kChangeApply = 1450;
inline constexpr int kWep = 1292;
inline constexpr int kWepButton = 1295;
inline constexpr int kAuthentication = 1492;
inline constexpr int kFragmentBar = 1445;
inline constexpr int kRtsBar = 1446;
inline constexpr int kFragmentValue = 1451;
inline constexpr int kRtsValue = 1452;
inline constexpr int kPreamble = 1497;
inline constexpr int kMacFilterButton = 1308;
inline constexpr int kBridgeAdapter = 1555;
inline constexpr int kGeneralGroup = 1542;
inline constexpr int kChannelLabel = 1543;
inline constexpr int kWirelessModeLabel = 1544;
inline constexpr int kSsidLabel = 1545;
inline constexpr int kTxPowerLabel = 1546;
inline constexpr int kWepLabel = 1547;
inline constexpr int kAuthenticationLabel = 1491;
inline constexpr int kFragmentLabel = 1548;
inline constexpr int kRtsLabel = 1549;
inline constexpr int kPreambleLabel = 1550;
inline constexpr int kMacFilterLabel = 1551;
inline constexpr int kBridgeLabel = 1554;
}  // namespace apdlg

class CChainedDialogScope;

class CApSettingDlg : public ui::CDialog {
public:
    CApSettingDlg();
    ~CApSettingDlg() override;
    static ui::DialogTemplate Template();

    void SetParentDialogId(int id) { parentId_ = id; }
    bool Editing() const { return editing_; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, ui::Notify code) override;
    void OnHScroll(int id, int position) override;
    void OnDestroy() override;

private:
    void SetTexts();
    void BuildLists();
    void BuildWirelessModeList();
    void BuildChannelList();
    void BuildBridgeList();
    void SelectStoredWirelessMode();
    void Load();
    void EnableGeneral();
    void UpdateThresholds();
    void UpdateThresholdTexts();
    void OnChangeApply();
    void Apply();
    void OnWepChanged();
    void OnBridgeChanged();
    template <typename Dialog>
    void RunChild();

    int parentId_ = 0;
    bool editing_ = false;
    std::vector<uint8_t> channels_;
    std::vector<AdapterListEntry> bridgeAdapters_;
    std::unique_ptr<CChainedDialogScope> chain_;
};

}  // namespace kw
