// The "Information..." dialog (161): the driver version, the utility version with its build date
// and time, and the adapter's MAC address. It changes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

namespace kw {

namespace infodlg {
inline constexpr int kResource = 161;
inline constexpr int kGroup = 1481;
inline constexpr int kDriverLabel = 1482;
inline constexpr int kUtilityLabel = 1484;
inline constexpr int kMacLabel = 1485;
inline constexpr int kDriverVersion = 1230;
inline constexpr int kUtilityVersion = 1232;
inline constexpr int kMacAddress = 1229;
}  // namespace infodlg

// The driver's 32-bit version as the adapter family writes it; the unknown-version text for -1.
std::u16string DriverVersionText(int version, int deviceKind);
// "2.22.0.0 - <build date> <build time>".
std::u16string UtilityVersionText();

class CChainedDialogScope;

class CInformationDlg : public ui::CDialog {
public:
    CInformationDlg();
    ~CInformationDlg() override;
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
