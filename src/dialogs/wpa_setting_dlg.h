// The "WPA Setting..." dialog (195): the 802.1X, WPA and WPA2 parameters of the station. It opens
// read-only; "Change" makes the fields its opener allows editable and "Apply" checks and stores
// them. Its two static operations start and stop the authentication worker without a window.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

namespace kw {

namespace wpadlg {
inline constexpr int kResource = 195;
inline constexpr int kConnectGroup = 1509;
inline constexpr int kProtocolLabel = 1511;
inline constexpr int kProtocolCombo = 1520;
inline constexpr int kPhase2Label = 1523;
inline constexpr int kPhase2Combo = 1524;
inline constexpr int kUserLabel = 1512;
inline constexpr int kUserEdit = 1281;
inline constexpr int kPasswordLabel = 1513;
inline constexpr int kPasswordEdit = 1027;
inline constexpr int kValidateCheck = 1567;
inline constexpr int kPskGroup = 1517;
inline constexpr int kPassphraseLabel = 1514;
inline constexpr int kPassphraseEdit = 1521;
inline constexpr int kFormatLabel = 1515;
inline constexpr int kFormatAscii = 1518;
inline constexpr int kFormatHex = 1519;
inline constexpr int kCertGroup = 1516;
inline constexpr int kCertCombo = 1522;
inline constexpr int kChangeApply = 1510;

inline constexpr int kProtocolTls = 0;
inline constexpr int kProtocolPeap = 1;
inline constexpr int kProtocolTtls = 2;
}  // namespace wpadlg

class CWpaSettingDlg : public ui::CDialog {
public:
    CWpaSettingDlg();
    static ui::DialogTemplate Template();

    // 0 the main window, 1 the general settings dialog, 3 the WEP key dialog.
    void SetParentDialogId(int id) { parentId_ = id; }
    bool Editing() const { return editing_; }

    static void StartAuthentication();
    static void StopAuthentication();

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, ui::Notify code) override;

private:
    void SetUp();
    void SetUpEditing();
    void SetUpViewing();
    void EnableByOpener();
    void EnableProtocolFields(int protocol);
    void FillCertificates(bool fillUserName);
    void OnProtocolChanged();
    void OnCertificateChanged();
    void OnChangeApply();
    // False when the pass phrase failed its check (the message was shown).
    bool StoreEdits();
    std::u16string FieldText(int id) const;

    int parentId_ = 0;
    bool editing_ = false;
};

}  // namespace kw
