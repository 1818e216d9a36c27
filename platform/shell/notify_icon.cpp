#include "platform/shell/notify_icon.h"

#include <algorithm>
#include <vector>

#include "platform/ui/input_source.h"
#include "platform/ui/window.h"

namespace kw::shell {

namespace {

// The notification area; user-interface thread only.
struct NotificationAreaRecord {
    std::vector<ShownIcon> icons;
    ui::Point cursor{0, 0};
    std::vector<std::vector<ui::IconHandle>> animations;
};

NotificationAreaRecord& Area() {
    static NotificationAreaRecord record;
    return record;
}

// Where the icons sit: the lower right corner of the screen.
constexpr ui::Point kIconPlace{ui::kScreen.width - 40, ui::kScreen.height - 12};

bool AreFramesOfOneAnimation(ui::IconHandle a, ui::IconHandle b) {
    for (const auto& frames : Area().animations) {
        if (std::find(frames.begin(), frames.end(), a) != frames.end() &&
            std::find(frames.begin(), frames.end(), b) != frames.end()) {
            return true;
        }
    }
    return false;
}

std::vector<ShownIcon>::iterator FindIcon(const NotifyIconData& data) {
    auto& icons = Area().icons;
    return std::find_if(icons.begin(), icons.end(),
                        [&](const ShownIcon& icon) { return icon.window == data.window && icon.id == data.id; });
}

std::string DescribeChange(const NotifyIconData& data) {
    std::string line;
    if (data.flags & kNotifyIcon) line += " icon=" + std::to_string(data.icon);
    if (data.flags & kNotifyTip) line += " tip=" + ui::QuoteText(TipText(data));
    return line;
}

void Apply(ShownIcon& icon, const NotifyIconData& data) {
    if (data.flags & kNotifyMessage) icon.callbackMessage = data.callbackMessage;
    if (data.flags & kNotifyIcon) icon.icon = data.icon;
    if (data.flags & kNotifyTip) icon.tip = TipText(data);
}

}  // namespace

size_t SetTipText(NotifyIconData& data, std::u16string_view text) {
    size_t units = std::min(text.size(), kTipUnits - 1);
    // Cutting between the halves of a surrogate pair would leave half a character.
    if (units > 0 && units < text.size() && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF) --units;
    std::copy_n(text.begin(), units, data.tip);
    std::fill(data.tip + units, data.tip + kTipUnits, u'\0');
    return units;
}

std::u16string TipText(const NotifyIconData& data) {
    const char16_t* end = std::find(data.tip, data.tip + kTipUnits, u'\0');
    return std::u16string(data.tip, end);
}

bool NotifyIcon(NotifyAction action, const NotifyIconData& data) {
    if (data.size != sizeof(NotifyIconData)) return false;
    auto found = FindIcon(data);
    bool present = found != Area().icons.end();
    switch (action) {
        case NotifyAction::Add: {
            if (present) return false;
            ShownIcon icon{data.window, data.id, 0, 0, {}};
            Apply(icon, data);
            Area().icons.push_back(icon);
            ui::ReportEvent("tray: add" + DescribeChange(data));
            return true;
        }
        case NotifyAction::Modify:
        {
            if (!present) return false;
            bool nextFrame = data.flags == kNotifyIcon && AreFramesOfOneAnimation(found->icon, data.icon);
            Apply(*found, data);
            if (!(data.flags & (kNotifyIcon | kNotifyTip))) return true;
            std::string line = "tray: modify" + DescribeChange(data);
            nextFrame ? ui::ReportFrameEvent(line) : ui::ReportEvent(line);
            return true;
        }
        case NotifyAction::Delete:
            if (!present) return false;
            Area().icons.erase(found);
            ui::ReportEvent("tray: delete");
            return true;
    }
    return false;
}

std::vector<ShownIcon> NotificationIcons() { return Area().icons; }

void DeclareIconAnimation(std::vector<ui::IconHandle> frames) {
    auto& animations = Area().animations;
    if (std::find(animations.begin(), animations.end(), frames) == animations.end()) animations.push_back(std::move(frames));
}

std::string UseIcon(IconMouse action) {
    if (Area().icons.empty()) return "no icon in the notification area";
    const ShownIcon& icon = Area().icons.back();
    if (icon.callbackMessage == 0) return "the icon sends no notifications";
    Area().cursor = kIconPlace;
    std::vector<unsigned> mouse;
    switch (action) {
        case IconMouse::Click:
            mouse = {ui::kMsgLeftButtonDown, ui::kMsgLeftButtonUp};
            break;
        case IconMouse::DoubleClick:
            mouse = {ui::kMsgLeftButtonDown, ui::kMsgLeftButtonUp, ui::kMsgLeftButtonDblClk, ui::kMsgLeftButtonUp};
            break;
        case IconMouse::RightClick:
            mouse = {ui::kMsgRightButtonDown, ui::kMsgRightButtonUp};
            break;
    }
    for (unsigned message : mouse) ui::PostMessage(icon.window, icon.callbackMessage, icon.id, message);
    return {};
}

ui::Point CursorPosition() { return Area().cursor; }

void RebuildNotificationArea() {
    Area().icons.clear();
    ui::ReportEvent("tray: rebuilt");
    ui::BroadcastMessage(ui::RegisterWindowMessage(kTaskbarCreatedMessage));
}

void ResetNotificationArea() { Area() = NotificationAreaRecord{}; }

}  // namespace kw::shell
