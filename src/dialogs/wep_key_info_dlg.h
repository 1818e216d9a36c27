// The "WEP Key Information..." dialog (196): tells which key lengths are accepted after the WEP
// key dialog rejected a key.
#pragma once

#include <memory>

#include "platform/ui/dialog.h"

namespace kw {

namespace wepinfodlg {
inline constexpr int kResource = 196;
inline constexpr int kLineFirst = 1561;  // 1561 to 1564
inline constexpr int kLines = 4;
}  // namespace wepinfodlg

class CChainedDialogScope;

class CWepKeyInfoDlg : public ui::CDialog {
public:
    CWepKeyInfoDlg();
    ~CWepKeyInfoDlg() override;
    static ui::DialogTemplate Template();

    void SetParentDialogId(int id) { parentId_ = id; }

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    void Relocalise();

    int parentId_ = 0;
    std::unique_ptr<CChainedDialogScope> chain_;
};

}  // namespace kw
