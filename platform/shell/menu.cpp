#include "platform/shell/menu.h"

#include <map>

#include "platform/ui/input_source.h"
#include "platform/ui/window.h"

namespace kw::shell {

namespace {

std::map<int, MenuTemplate>& Templates() {
    static std::map<int, MenuTemplate> templates;
    return templates;
}

}  // namespace

void RegisterMenuTemplate(int resourceId, MenuTemplate menu) { Templates()[resourceId] = std::move(menu); }

void ForgetMenuTemplates() { Templates().clear(); }

CPopupMenu::CPopupMenu(const PopupTemplate& popup) {
    for (const auto& item : popup.items) items_.push_back(Item{item.command, item.text});
}

int CPopupMenu::PositionOf(int item, bool byPosition) const {
    if (byPosition) return item >= 0 && item < ItemCount() ? item : -1;
    for (int position = 0; position < ItemCount(); ++position) {
        if (items_[static_cast<size_t>(position)].command == item) return position;
    }
    return -1;
}

int CPopupMenu::CommandAt(int position) const {
    return position >= 0 && position < ItemCount() ? items_[static_cast<size_t>(position)].command : -1;
}

std::u16string CPopupMenu::TextAt(int position) const {
    return position >= 0 && position < ItemCount() ? items_[static_cast<size_t>(position)].text : std::u16string();
}

bool CPopupMenu::SetDefaultItem(int item, bool byPosition) {
    int position = PositionOf(item, byPosition);
    if (position < 0) return false;
    defaultPosition_ = position;
    return true;
}

int CPopupMenu::DefaultCommand() const { return CommandAt(defaultPosition_); }

bool CPopupMenu::ModifyItem(int item, bool byPosition, int newCommand, std::u16string_view text) {
    int position = PositionOf(item, byPosition);
    if (position < 0) return false;
    items_[static_cast<size_t>(position)] = Item{newCommand, std::u16string(text)};
    return true;
}

int CPopupMenu::Track(ui::Point /*at*/, ui::WindowHandle owner, bool returnCommand) {
    std::vector<ui::MenuEntry> entries;
    for (int position = 0; position < ItemCount(); ++position) {
        const Item& item = items_[static_cast<size_t>(position)];
        entries.push_back(ui::MenuEntry{item.command, item.text, position == defaultPosition_});
    }
    int chosen = 0;
    if (ui::IInputSource* source = ui::InputSource()) chosen = source->ChooseMenuCommand(entries);
    if (chosen != 0 && PositionOf(chosen, false) < 0) chosen = 0;

    std::string line = "tray: menu";
    for (size_t i = 0; i < entries.size(); ++i) {
        line += i ? " | " : " ";
        line += std::to_string(entries[i].command) + " " + ui::QuoteText(entries[i].text);
        if (entries[i].isDefault) line += " default";
    }
    line += " -> " + (chosen ? std::to_string(chosen) : std::string("none"));
    ui::ReportEvent(line);

    if (chosen != 0 && !returnCommand) {
        ui::PostMessage(owner, ui::kMsgCommand, static_cast<uintptr_t>(chosen),
                        static_cast<intptr_t>(ui::Notify::Clicked));
    }
    return chosen;
}

bool CMenu::Load(int resourceId) {
    popups_.clear();
    auto found = Templates().find(resourceId);
    loaded_ = found != Templates().end();
    if (loaded_) {
        for (const auto& popup : found->second.popups) popups_.emplace_back(popup);
    }
    return loaded_;
}

CPopupMenu* CMenu::SubMenu(int position) {
    if (position < 0 || position >= static_cast<int>(popups_.size())) return nullptr;
    return &popups_[static_cast<size_t>(position)];
}

void CMenu::Destroy() {
    popups_.clear();
    loaded_ = false;
}

}  // namespace kw::shell
