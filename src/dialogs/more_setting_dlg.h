// The "More Setting..." dialog (130): the station's band, channel, transmit rate, network name,
// network type, authentication and encryption, the doors to the WEP key, WPA, advanced and
// information dialogs, and the named profiles. It opens viewing; "Change" lets the user edit and
// "Apply" sends every value through its applier at once.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/dialog.h"

namespace kw {

namespace moredlg {
inline constexpr int kResource = 130;
inline constexpr int kWirelessMode = 1021;
inline constexpr int kNetworkType = 1017;
inline constexpr int kAuthentication = 1500;
inline constexpr int kEncryption = 1294;
inline constexpr int kTxRate = 1015;
inline constexpr int kChannel = 1014;
inline constexpr int kSsid = 1016;
inline constexpr int kAnySsid = 1235;
inline constexpr int kChangeApply = 1020;
inline constexpr int kWepButton = 1205;
inline constexpr int kWpaButton = 1204;
inline constexpr int kAdvancedButton = 1005;
inline constexpr int kInformationButton = 1222;
inline constexpr int kProfileName = 1213;
inline constexpr int kLoadProfile = 1308;
inline constexpr int kSaveProfile = 1506;
inline constexpr int kDeleteProfile = 1295;
inline constexpr int kGeneralGroup = 1461;
inline constexpr int kWirelessModeLabel = 1565;
inline constexpr int kChannelLabel = 1462;
inline constexpr int kTxRateLabel = 1465;
inline constexpr int kSsidLabel = 1463;
inline constexpr int kNetworkTypeLabel = 1464;
inline constexpr int kEncryptionLabel = 1504;
inline constexpr int kAuthenticationLabel = 1505;
inline constexpr int kWepGroup = 1459;
inline constexpr int kProfileGroup = 1458;
inline constexpr int kProfileNameLabel = 1466;
inline constexpr int kOtherGroup = 1456;
inline constexpr int kOtherDescription = 1457;
}  // namespace moredlg

class CChainedDialogScope;

class CMoreSettingDlg : public ui::CDialog {
public:
    CMoreSettingDlg();
    ~CMoreSettingDlg() override;
    static ui::DialogTemplate Template();

    void SetParentDialogId(int id) { parentId_ = id; }
    bool Editing() const { return editing_; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, ui::Notify code) override;
    void OnDestroy() override;

private:
    void Relocalise();
    void SetTexts();
    void SetButtonText();
    void BuildWirelessModeList();
    void BuildNetworkTypeList();
    void BuildSecurityLists(int networkType);
    void BuildChannelList();
    void BuildRateList();
    void SelectStoredRate();
    void Load();
    void EnableControls(bool afterProfile = false);
    void FillProfiles();
    int SelectedBand() const;
    int SelectedNetworkType() const;

    void OnNetworkTypeChanged();
    void OnWirelessModeChanged();
    void OnChangeApply();
    void Apply();
    void ApplyAuthentication(int networkType);
    void ApplyEncryption(int networkType);
    void ApplySsidField();
    void ApplyRate();
    void RestartAuthentication();
    void OnLoadProfile();
    void OnSaveProfile();
    void OnDeleteProfile();
    void ShowProfileMessage(const std::u16string& text);
    std::u16string NotFoundText(const std::u16string& name) const;

    int parentId_ = 0;
    bool editing_ = false;
    std::array<uint8_t, 16> rates_{};
    int rateCount_ = 0;
    std::vector<uint8_t> channels_;
    std::unique_ptr<CChainedDialogScope> chain_;
};

}  // namespace kw
