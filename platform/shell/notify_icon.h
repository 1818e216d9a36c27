// The notification area: icons added, modified and deleted with the shell's record, and the
// mouse notifications an icon sends to its window as the callback message (wparam: icon id,
// lparam: the mouse message).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kw::shell {

// Which fields of the record are valid.
constexpr uint32_t kNotifyMessage = 0x1;
constexpr uint32_t kNotifyIcon = 0x2;
constexpr uint32_t kNotifyTip = 0x4;

constexpr size_t kTipUnits = 64;  // including the terminator

// The shell's first layout of the record: 152 bytes.
struct NotifyIconData {
    uint32_t size = sizeof(NotifyIconData);
    ui::WindowHandle window = 0;
    uint32_t id = 0;
    uint32_t flags = 0;
    uint32_t callbackMessage = 0;
    ui::IconHandle icon = 0;
    char16_t tip[kTipUnits] = {};
};
static_assert(sizeof(NotifyIconData) == 152, "the shell's record is 152 bytes");

// Copies at most 63 units of text into the record's tip and terminates it; a surrogate pair is
// never split. Returns the number of units copied.
size_t SetTipText(NotifyIconData& data, std::u16string_view text);
std::u16string TipText(const NotifyIconData& data);

enum class NotifyAction { Add, Modify, Delete };

// False when the record is not the shell's size, when adding an icon that is there, and when
// modifying or deleting one that is not (icons are named by window and id).
bool NotifyIcon(NotifyAction action, const NotifyIconData& data);

// The icons in the notification area, oldest first.
struct ShownIcon {
    ui::WindowHandle window = 0;
    uint32_t id = 0;
    uint32_t callbackMessage = 0;  // 0: the icon sends no notifications
    ui::IconHandle icon = 0;
    std::u16string tip;
};
std::vector<ShownIcon> NotificationIcons();

// Pictures that are frames of one animation: a change from one to another is reported as a
// frame event (see ui::ReportFrameEvent), which a person at a terminal is not shown.
void DeclareIconAnimation(std::vector<ui::IconHandle> frames);

// What the user does with the newest icon: the mouse messages it sends, queued for its window.
enum class IconMouse { Click, DoubleClick, RightClick };
// Empty when done; otherwise why not (no icon, or one that sends no notifications).
std::string UseIcon(IconMouse action);

// Where the mouse pointer is; the icon's place after the user used an icon.
ui::Point CursorPosition();

// The notification area was rebuilt (the shell restarted): all icons are gone and every
// top-level window is sent the message registered as "TaskbarCreated".
void RebuildNotificationArea();
inline constexpr char16_t kTaskbarCreatedMessage[] = u"TaskbarCreated";

// Empties the notification area (between tests).
void ResetNotificationArea();

}  // namespace kw::shell
