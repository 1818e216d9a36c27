#include "src/dialogs/wep_key_info_dlg.h"

#include "src/dialogs/dialog_chain.h"
#include "src/lang/language_table.h"

namespace kw {

using namespace wepinfodlg;

namespace {

struct Line {
    const char16_t* key;
    const char16_t* text;
};

// All four lengths are explained, whether or not 256-bit keys are offered.
const Line kLineTexts[kLines] = {
    {u"WS_ERROR_MESSAGE1", u"The WEP password does not contain the require number of  characters."},
    {u"WS_ERROR_MESSAGE2", u"64 bit - the Password is either 5 alphanumeric characters or 10 hexadecimal values."},
    {u"WS_ERROR_MESSAGE3", u"128 bit - the Password is either 13 alphanumeric characters or 26 hexadecimal values."},
    {u"WS_ERROR_MESSAGE4", u"256 bit - the Password is either 29 alphanumeric characters or 58 hexadecimal values."},
};

}  // namespace

ui::DialogTemplate CWepKeyInfoDlg::Template() {
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"WEP keyInformation...";
    t.width = 300;
    t.height = 112;
    for (int i = 0; i < kLines; ++i) {
        t.controls.push_back({kLineFirst + i, ui::ControlKind::Label, kLineTexts[i].text, 0, {7, 7 + 20 * i, 286, 16}});
    }
    t.controls.push_back({ui::IDOK, ui::ControlKind::PushButton, u"OK", ui::kDefaultButton, {125, 90, 50, 14}});
    return t;
}

CWepKeyInfoDlg::CWepKeyInfoDlg() : CDialog(Template()) {}
CWepKeyInfoDlg::~CWepKeyInfoDlg() = default;

bool CWepKeyInfoDlg::OnInitDialog() {
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdWepKeyInfo, this, parentId_, [this] { Relocalise(); });
    Relocalise();
    return true;
}

void CWepKeyInfoDlg::OnDestroy() { chain_.reset(); }

void CWepKeyInfoDlg::Relocalise() {
    SetCaption(GetText(u"WS_INFO_Dialog_Title", u"WEP keyInformation...") + u"  ");
    for (int i = 0; i < kLines; ++i) SetItemText(kLineFirst + i, GetText(kLineTexts[i].key, kLineTexts[i].text));
}

}  // namespace kw
