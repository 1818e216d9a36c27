// The "Advanced Setting..." dialog (159): power saving, the fragmentation and RTS/CTS thresholds,
// country roaming, PSP XLink and WMM QoS, and the language of the user interface. Every change
// goes to the driver and the store at once; the dialog is left through its close box.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/dialog.h"

namespace kw {

namespace advdlg {
inline constexpr int kResource = 159;
inline constexpr int kLanguageGroup = 1501;
inline constexpr int kLanguageLabel = 1502;
inline constexpr int kLanguageList = 1503;
inline constexpr int kPowerGroup = 1477;
inline constexpr int kPowerCam = 1094;
inline constexpr int kPowerMaximum = 1097;
inline constexpr int kPowerFast = 1095;
inline constexpr int kRoamingGroup = 1480;
inline constexpr int kUserSelect = 1093;
inline constexpr int kCountryList = 1292;
inline constexpr int kWorldMode = 1092;
inline constexpr int kFragmentGroup = 1478;
inline constexpr int kFragmentBar = 1224;
inline constexpr int kFragmentMin = 1493;
inline constexpr int kFragmentMax = 1494;
inline constexpr int kFragmentValue = 1226;
inline constexpr int kRtsGroup = 1479;
inline constexpr int kRtsBar = 1225;
inline constexpr int kRtsMin = 1495;
inline constexpr int kRtsMax = 1496;
inline constexpr int kRtsValue = 1227;
inline constexpr int kToggleGroup = 1566;
inline constexpr int kPspXLink = 1558;
inline constexpr int kWmmQos = 1559;
}  // namespace advdlg

// What choosing a language does (the whole switch lives above the dialogs); the main window
// installs it. Called with the 0-based list position.
void SetLanguageChoiceHandler(std::function<void(int)> handler);

class CChainedDialogScope;

class CAdvancedSettingDlg : public ui::CDialog {
public:
    CAdvancedSettingDlg();
    ~CAdvancedSettingDlg() override;
    static ui::DialogTemplate Template();

    void SetParentDialogId(int id) { parentId_ = id; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, ui::Notify code) override;
    void OnHScroll(int id, int position) override;
    void OnDestroy() override;

private:
    void Relocalise();
    void FillLanguageList();
    void FillCountryList();
    void ShowToggle(int id, const char16_t* key);
    void RefreshThresholdTexts();
    void ApplyThresholds();
    void EnableGroups();
    void OnPowerClicked();
    void OnToggle(int id);

    int parentId_ = 0;
    int region_ = -1;
    int powerSaveMode_ = -1;
    int fragmentation_ = -1;
    int rts_ = -1;
    int multiDomain_ = -1;
    int powerIndex_ = -1;
    int roamingIndex_ = -1;
    std::vector<int> regionCodes_;
    std::unique_ptr<CChainedDialogScope> chain_;
};

}  // namespace kw
