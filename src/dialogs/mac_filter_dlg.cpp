#include "src/dialogs/mac_filter_dlg.h"

#include <algorithm>
#include <array>

#include "platform/text.h"
#include "src/device/adapter_context.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/value_lists.h"
#include "src/lang/language_table.h"
#include "src/settings/appliers.h"
#include "src/settings/hex_bytes.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

using namespace macdlg;

namespace {

constexpr int kFilterModeCount = 3;
constexpr size_t kAddressBytes = 6;
constexpr size_t kShownAddressLength = 17;
constexpr size_t kStoredTextBytes = 50;
constexpr size_t kFieldTextLength = 29;

std::u16string AddressKey(int entry) { return FormatW("%s%d", key::kMacFilterAddrPrefix, entry); }

bool IsAddressCharacter(char16_t c) { return c == u' ' || HexDigitValue(c) >= 0; }

// Reads at most what a field or a record may hold; whatever is not an address is left zero.
std::array<uint8_t, kAddressBytes> ParseAddress(std::u16string_view text, size_t maxBytes) {
    std::array<uint8_t, kAddressBytes> address{};
    std::string bytes = ToCodePage(text);
    if (bytes.size() > maxBytes) bytes.resize(maxBytes);
    ParseHexBytes(bytes, address.data(), address.size());
    return address;
}

bool IsZero(const std::array<uint8_t, kAddressBytes>& address) {
    return std::all_of(address.begin(), address.end(), [](uint8_t b) { return b == 0; });
}

using ui::Control;

}  // namespace

ui::DialogTemplate CMacFilterDlg::Template() {
    using K = ui::ControlKind;
    ui::DialogTemplate t;
    t.resourceId = kResource;
    t.caption = u"MAC Address Filter";
    t.width = 234;
    t.height = 197;
    t.controls = {
        Control(kFilterTypeLabel, K::Label, u"Filter Type:", 0, {7, 9, 58, 8}),
        Control(kFilterType, K::ComboBox, u"", ui::kDropDownList, {67, 7, 160, 12}),
        Control(kAddressGroup, K::GroupBox, u"Filte MAC Address", 0, {7, 25, 220, 146}),
    };
    // Entries 0 to 7 down the left column, 8 to 15 down the right one.
    constexpr int kRows = kAddressCount / 2;
    for (int i = 0; i < kAddressCount; ++i) {
        int x = i < kRows ? 14 : 120;
        int y = 40 + 16 * (i % kRows);
        t.controls.push_back(Control(kAddressLabelFirst + i, K::Label, FormatW("%02d.", i), 0, {x, y + 2, 16, 8}));
        t.controls.push_back(Control(kAddressFirst + i, K::Edit, u"", 0, {x + 18, y, 82, 12}));
    }
    t.controls.push_back(Control(kChangeApply, K::PushButton, u"Change", 0, {157, 176, 70, 14}));
    return t;
}

CMacFilterDlg::CMacFilterDlg() : CDialog(Template()) {}
CMacFilterDlg::~CMacFilterDlg() = default;

bool CMacFilterDlg::OnInitDialog() {
    chain_ = std::make_unique<CChainedDialogScope>(kDialogIdMacFilter, this, parentId_, [this] { Relocalise(); });
    editing_ = false;
    Relocalise();
    Load();
    return true;
}

void CMacFilterDlg::OnDestroy() { chain_.reset(); }

void CMacFilterDlg::Relocalise() {
    SetCaption(GetText(u"AP_BS_Dialog_Title", u"MAC Address Filter"));
    SetItemText(kFilterTypeLabel, GetText(u"AP_MAC_Filter_Type_Text", u"Filter Type:"));
    SetItemText(kAddressGroup, GetText(u"AP_MAC_Filter_Address_Text", u"Filte MAC Address"));
    SetItemText(kChangeApply, editing_ ? GetText(u"AP_MAC_Filter_Button_Apply", u"Apply")
                                       : GetText(u"AP_MAC_Filter_Button_Change", u"Change"));
    FillNumberedList(Combo(kFilterType), "AP_MAC_Filter_Type_%d", 0, 1000);
}

void CMacFilterDlg::Load() {
    int mode = ReadSettingNumber(key::kMacFilterMode);
    if (mode < 0 || mode >= kFilterModeCount) {
        mode = 0;
        ApplyMacFilterMode(Adapter(), mode);
    }
    Combo(kFilterType).SetCurSel(mode);
    for (int i = 0; i < kAddressCount; ++i) {
        auto address = ParseAddress(ReadSettingText(OperationMode(), AddressKey(i)), kStoredTextBytes);
        ui::CEdit& field = Edit(kAddressFirst + i);
        EnableItem(kAddressFirst + i, editing_);
        field.SetLimitText(kShownAddressLength);
        field.SetText(IsZero(address) ? std::u16string() : FormatHexBytes(address.data(), address.size()));
    }
}

void CMacFilterDlg::OnCommand(int id, ui::Notify code) {
    if (code == ui::Notify::EditChange && id >= kAddressFirst && id < kAddressFirst + kAddressCount) {
        OnAddressEdited(id);
        return;
    }
    if (code == ui::Notify::SelChange && id == kFilterType) {
        int mode = Combo(kFilterType).CurSel();
        if (mode >= 0) ApplyMacFilterMode(Adapter(), mode);
        return;
    }
    if (code == ui::Notify::Clicked && id == kChangeApply) {
        OnChangeApply();
        return;
    }
    CDialog::OnCommand(id, code);
}

void CMacFilterDlg::OnAddressEdited(int id) {
    ui::CEdit& field = Edit(id);
    std::u16string text = field.Text();
    std::u16string kept;
    int firstDropped = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsAddressCharacter(text[i])) {
            kept.push_back(text[i]);
        } else if (firstDropped < 0) {
            firstDropped = static_cast<int>(i);
        }
    }
    if (firstDropped < 0) return;
    field.SetText(kept);
    field.SetSel(firstDropped, firstDropped);
    field.ScrollCaret();
}

void CMacFilterDlg::OnChangeApply() {
    if (editing_) {
        editing_ = false;
        ApplyAddresses();
    } else {
        editing_ = true;
    }
    Relocalise();
    Load();
}

void CMacFilterDlg::ApplyAddresses() {
    std::array<uint8_t, kMacFilterListBytes> list{};
    for (int i = 0; i < kAddressCount; ++i) {
        std::u16string text = ItemText(kAddressFirst + i).substr(0, kFieldTextLength);
        auto address = ParseAddress(text, kFieldTextLength);
        SetMacFilterEntry(list.data(), i, address.data());
    }
    // A refused list keeps the stored addresses; the reload then shows them.
    ApplyMacFilterList(Adapter(), list.data(), kMacFilterListBytes);
}

}  // namespace kw
