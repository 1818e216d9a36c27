// The "MAC Address Filter" dialog (191): the filter mode, which acts at once, and the sixteen
// filtered addresses, edited in a Change / Apply cycle and handed to the driver as one list.
#pragma once

#include <memory>

#include "platform/ui/dialog.h"

namespace kw {

namespace macdlg {
inline constexpr int kResource = 191;
inline constexpr int kFilterType = 1453;
inline constexpr int kFilterTypeLabel = 1552;
inline constexpr int kAddressGroup = 1553;
inline constexpr int kChangeApply = 1308;
inline constexpr int kAddressFirst = 1281;  // 1281 to 1296, entries 0 to 15
inline constexpr int kAddressLabelFirst = 1601;  // "00." to "15."
inline constexpr int kAddressCount = 16;
}  // namespace macdlg

class CChainedDialogScope;

class CMacFilterDlg : public ui::CDialog {
public:
    CMacFilterDlg();
    ~CMacFilterDlg() override;
    static ui::DialogTemplate Template();

    void SetParentDialogId(int id) { parentId_ = id; }
    bool Editing() const { return editing_; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, ui::Notify code) override;
    void OnDestroy() override;

private:
    void Relocalise();
    void Load();
    void OnAddressEdited(int id);
    void OnChangeApply();
    void ApplyAddresses();

    int parentId_ = 0;
    bool editing_ = false;
    std::unique_ptr<CChainedDialogScope> chain_;
};

}  // namespace kw
