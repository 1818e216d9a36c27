// The "WEP Key Setting..." dialog (157): the four WEP keys of the current operating mode, their
// length, format and default key, or that the key comes from 802.1X authentication. Stored keys
// are never shown; every field is masked until the user types a new key.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

namespace kw {

namespace wepdlg {
inline constexpr int kResource = 157;
inline constexpr int kLength64 = 1207;
inline constexpr int kLength128 = 1208;
inline constexpr int kLength256 = 1092;
inline constexpr int kFormatHex = 1093;
inline constexpr int kFormatAscii = 1094;
inline constexpr int kKeyFields[] = {1044, 1046, 1048, 1050};
inline constexpr int kKeyLabels[] = {1472, 1473, 1474, 1475};
inline constexpr int kDefaultKeyCombo = 1202;
inline constexpr int kGroup = 1468;
inline constexpr int kLengthLabel = 1469;
inline constexpr int kDefaultKeyLabel = 1470;
inline constexpr int kKeyValueLabel = 1471;
inline constexpr int kFormatLabel = 1508;
inline constexpr int kDot1xCheck = 1212;
inline constexpr int kChangeApply = 1203;

inline constexpr int kFormatHexadecimal = 0;
inline constexpr int kFormatAsciiText = 1;
}  // namespace wepdlg

class CChainedDialogScope;

class CWepKeyDlg : public ui::CDialog {
public:
    CWepKeyDlg();
    ~CWepKeyDlg() override;
    static ui::DialogTemplate Template();

    // 0 the main window, 1 the general settings dialog, 5 the access point settings dialog.
    void SetParentDialogId(int id) { parentId_ = id; }
    bool Editing() const { return editing_; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, ui::Notify code) override;
    void OnDestroy() override;

private:
    void Relocalise();
    void Load();
    void Mask();
    void EnableInputs(bool enabled);
    void OnLengthClicked(int index);
    void OnFormatClicked(int format);
    void OnKeyEdited(int field);
    void OnDot1xClicked();
    void OnChangeApply();
    void RunDot1xPath(bool connected, const uint8_t* bssid);
    // Returns false when a typed key had the wrong length.
    bool RunKeyPath(bool connected, const uint8_t* bssid);
    void ReapplyNetworkName(bool connected, const uint8_t* bssid);
    int ExpectedFieldLength() const;

    int parentId_ = 0;
    bool editing_ = false;
    int lengthIndex_ = 0;
    int format_ = wepdlg::kFormatHexadecimal;
    std::array<bool, 4> edited_{};
    std::unique_ptr<CChainedDialogScope> chain_;
};

}  // namespace kw
