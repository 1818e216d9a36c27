#include "src/app/tray_icon.h"

#include "platform/shell/menu.h"
#include "src/lang/language_table.h"

namespace kw {

namespace {
constexpr char16_t kCallbackMessageName[] = u"CTrayIcon";
constexpr int kShellVersionWithIcons = 4;

// The shell of this platform always has a notification area.
int ShellMajorVersion() { return kShellVersionWithIcons; }
}  // namespace

void RegisterTrayMenu() {
    shell::RegisterMenuTemplate(kTrayMenuResource,
                                {{{u"", {{kCmdOpenUtilityWindow, u"Open Utility Window"}, {kCmdExit, u"Exit KWConfig"}}}}});
}

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon() { DestroyIcon(); }

bool CTrayIcon::CreateIcon(std::u16string_view tip, ui::IconHandle icon, int defaultCommand, bool byPosition) {
    if (ShellMajorVersion() < kShellVersionWithIcons || !Create(u"", {0, 0, 10, 10}, false)) {
        created_ = false;
        return false;
    }
    created_ = true;
    callbackMessage_ = ui::RegisterWindowMessage(kCallbackMessageName);
    data_ = {};
    data_.window = Handle();
    data_.id = kTrayIconId;
    data_.flags = shell::kNotifyMessage | shell::kNotifyIcon | shell::kNotifyTip;
    data_.callbackMessage = callbackMessage_;
    data_.icon = icon;
    shell::SetTipText(data_, tip);
    shell::NotifyIcon(shell::NotifyAction::Add, data_);
    return SetDefaultItem(defaultCommand, byPosition);
}

bool CTrayIcon::SetTip(std::u16string_view tip) {
    if (!created_) return false;
    data_.flags = shell::kNotifyTip;
    shell::SetTipText(data_, tip);
    return shell::NotifyIcon(shell::NotifyAction::Modify, data_);
}

bool CTrayIcon::SetIcon(ui::IconHandle icon) {
    if (!created_) return false;
    data_.flags = shell::kNotifyIcon;
    data_.icon = icon;
    return shell::NotifyIcon(shell::NotifyAction::Modify, data_);
}

bool CTrayIcon::ShowIcon(ui::IconHandle icon) {
    if (!created_) return false;
    data_.flags = shell::kNotifyMessage | shell::kNotifyIcon | shell::kNotifyTip;
    data_.icon = icon;
    return shell::NotifyIcon(shell::NotifyAction::Add, data_);
}

bool CTrayIcon::HideIcon() {
    if (!created_) return false;
    return shell::NotifyIcon(shell::NotifyAction::Delete, data_);
}

void CTrayIcon::DestroyIcon() {
    if (created_) {
        data_.flags = 0;
        shell::NotifyIcon(shell::NotifyAction::Delete, data_);
        created_ = false;
    }
    Destroy();
}

bool CTrayIcon::SetDefaultItem(int item, bool byPosition) {
    if (!created_) return false;
    if (item == defaultItem_ && byPosition == defaultByPosition_) return true;
    defaultItem_ = item;
    defaultByPosition_ = byPosition;
    shell::CMenu menu;
    if (!menu.Load(kTrayMenuResource)) return false;
    if (shell::CPopupMenu* popup = menu.SubMenu(0)) popup->SetDefaultItem(item, byPosition);
    return true;
}

void CTrayIcon::SetMenuTexts(std::u16string_view openText, std::u16string_view exitText) {
    menuTexts_[0] = openText;
    menuTexts_[1] = exitText;
}

void CTrayIcon::LocaliseMenuTexts() {
    SetMenuTexts(GetText(u"MP_Small_Icon_Item_1", u"Open Utility Window"), GetText(u"MP_Small_Icon_Item_2", u"Exit KWConfig"));
}

void CTrayIcon::OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    if (msg != callbackMessage_ || callbackMessage_ == 0 || wparam != static_cast<uintptr_t>(data_.id)) {
        ui::CWnd::OnMessage(msg, wparam, lparam);
        return;
    }
    switch (static_cast<unsigned>(lparam)) {
        case ui::kMsgLeftButtonDblClk: doubleClicked_ = true; break;
        case ui::kMsgLeftButtonUp: OnLeftButtonUp(); break;
        case ui::kMsgRightButtonUp: OnRightButtonUp(); break;
        default: break;
    }
}

ui::CWnd* CTrayIcon::Target() const { return target_ != nullptr ? target_ : ui::MainWindow(); }

void CTrayIcon::OnLeftButtonUp() {
    ui::CWnd* target = Target();
    if (!doubleClicked_ || target == nullptr) return;
    doubleClicked_ = false;
    int command = defaultItem_;
    if (defaultByPosition_) {
        shell::CMenu menu;
        shell::CPopupMenu* popup = menu.Load(kTrayMenuResource) ? menu.SubMenu(0) : nullptr;
        command = popup ? popup->CommandAt(defaultItem_) : -1;
    }
    target->SetForeground();
    if (command > 0) target->PostCommand(command);
}

void CTrayIcon::OnRightButtonUp() {
    shell::CMenu menu;
    shell::CPopupMenu* popup = menu.Load(kTrayMenuResource) ? menu.SubMenu(0) : nullptr;
    ui::CWnd* target = Target();
    if (popup == nullptr || target == nullptr) return;
    popup->SetDefaultItem(defaultItem_, defaultByPosition_);
    ui::Point cursor = shell::CursorPosition();
    target->SetForeground();
    popup->ModifyItem(0, true, kCmdOpenUtilityWindow, menuTexts_[0]);
    popup->ModifyItem(1, true, kCmdExit, menuTexts_[1]);
    popup->Track(cursor, target->Handle(), false);
    ui::PostMessage(target->Handle(), ui::kMsgNull);
    menu.Destroy();
}

}  // namespace kw
