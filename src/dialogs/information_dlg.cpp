#include "src/dialogs/information_dlg.h"

#include "platform/text.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/dialogs/dialog_chain.h"
#include "src/lang/language_table.h"
#include "src/settings/hex_bytes.h"

namespace kw {

using namespace infodlg;

namespace {

constexpr int kProgramVersion[] = {2, 22, 0, 0};

struct Label {
    int id;
    const char16_t* key;
    const char16_t* text;
};

const Label kLabels[] = {
    {kGroup, u"IS_Sub_Title", u"S Y S T E M   I N F O R M A T I O N"},
    {kDriverLabel, u"IS_Item_Driver_Version", u"Driver Version:"},
    {kUtilityLabel, u"IS_Item_Utility_Version", u"Utility Version:"},
    {kMacLabel, u"IS_Item_MAC_Address", u"MAC Address:"},
};

std::u16string UnknownText() { return GetText(u"IS_Item_Version_Unknown", u"N/A"); }

using ui::Control;

}  // namespace

std::u16string DriverVersionText(int version, int deviceKind) {
    if (version == -1) return UnknownText();
    auto v = static_cast<uint32_t>(version);
    if (deviceKind == 1) {
        return FormatW("%u.%u.%02u%02X.%04u", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0x0F, v & 0xFF, 2000 + ((v >> 12) & 0x0F));
    }
    return FormatW("%u.%u.%u.%u", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::u16string UtilityVersionText() {
    return FormatW("%d.%d.%d.%d - %s %s", kProgramVersion[0], kProgramVersion[1], kProgramVersion[2], kProgramVersion[3], __DATE__,
                   __TIME__);
}

ui::DialogTemplate CInformationDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"Information...";
    t.width = 260;
    t.height = 96;
    t.controls = {
        Control(kGroup, K::GroupBox, u"S Y S T E M   I N F O R M A T I O N", 0, {7, 7, 246, 60}),
        Control(kDriverLabel, K::Label, u"Driver Version:", 0, {14, 22, 80, 8}),
        Control(kDriverVersion, K::Label, u"", 0, {96, 22, 150, 8}),
        Control(kUtilityLabel, K::Label, u"Utility Version:", 0, {14, 36, 80, 8}),
        Control(kUtilityVersion, K::Label, u"", 0, {96, 36, 150, 8}),
        Control(kMacLabel, K::Label, u"MAC Address:", 0, {14, 50, 80, 8}),
        Control(kMacAddress, K::Label, u"", 0, {96, 50, 150, 8}),
        Control(ui::IDOK, K::PushButton, u"OK", ui::kDefaultButton, {105, 74, 50, 14}),
    };
    return t;
}

CInformationDlg::CInformationDlg() : CDialog(Template()) {}
CInformationDlg::~CInformationDlg() = default;

bool CInformationDlg::OnInitDialog() {
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdInformation, this, parentId_, [this] { Relocalise(); });
    Relocalise();
    SetItemText(kUtilityVersion, UtilityVersionText());
    return true;
}

void CInformationDlg::OnDestroy() { chain_.reset(); }

// The version lines hold localised words (the unknown version), so they are renewed too.
void CInformationDlg::Relocalise() {
    SetCaption(GetText(u"IS_Dialog_Title", u"Information...") + u"  ");
    for (const Label& label : kLabels) SetItemText(label.id, GetText(label.key, label.text));
    SetItemText(kDriverVersion, DriverVersionText(QueryWL_DriverVersion(Adapter()), DeviceKind()));
    uint8_t mac[6] = {};
    bool known = GetNICAdapterMAC(Adapter(), mac) == 0;
    SetItemText(kMacAddress, known ? FormatHexBytes(mac, sizeof mac) : UnknownText());
}

}  // namespace kw
