// Pop-up menus. A menu resource is a template declared in code and registered under its
// resource number; loading it gives an independent copy whose items can be renamed, marked as
// the default (shown in bold) and tracked at a position. The choice comes from the input source.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kw::shell {

struct MenuItemTemplate {
    int command = 0;
    std::u16string text;
};

struct PopupTemplate {
    std::u16string text;
    std::vector<MenuItemTemplate> items;
};

// A menu bar of pop-ups, as a menu resource holds it.
struct MenuTemplate {
    std::vector<PopupTemplate> popups;
};

void RegisterMenuTemplate(int resourceId, MenuTemplate menu);
void ForgetMenuTemplates();

class CPopupMenu {
public:
    explicit CPopupMenu(const PopupTemplate& popup);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    // Items are named by position or by command; -1 when there is no such item.
    int PositionOf(int item, bool byPosition) const;
    int CommandAt(int position) const;
    std::u16string TextAt(int position) const;

    // Marks one item as the default; false (and no change) when there is no such item.
    bool SetDefaultItem(int item, bool byPosition);
    // The default item's command, or -1.
    int DefaultCommand() const;
    // Gives the item a new command and text.
    bool ModifyItem(int item, bool byPosition, int newCommand, std::u16string_view text);

    // Shows the menu at a position and returns the chosen command (0 when the menu is dismissed).
    // Unless returnCommand is set, the chosen command is also posted to the owner as a command
    // message.
    int Track(ui::Point at, ui::WindowHandle owner, bool returnCommand);

private:
    struct Item {
        int command = 0;
        std::u16string text;
    };
    std::vector<Item> items_;
    int defaultPosition_ = -1;
};

class CMenu {
public:
    // Loads a copy of the registered template; false when there is none.
    bool Load(int resourceId);
    bool IsLoaded() const { return loaded_; }
    // The pop-up at position, or nullptr.
    CPopupMenu* SubMenu(int position);
    // Forgets the loaded copy.
    void Destroy();

private:
    bool loaded_ = false;
    std::vector<CPopupMenu> popups_;
};

}  // namespace kw::shell
