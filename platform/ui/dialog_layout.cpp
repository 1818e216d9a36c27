#include <algorithm>

#include "platform/ui/dialog.h"

namespace kw::ui {

namespace {

// The margin and the spacing of the automatic arrangement, in dialog units.
constexpr int kMargin = 7;
constexpr int kSpacing = 4;

int NaturalHeight(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return 8;
        case ControlKind::GroupBox: return 10;
        case ControlKind::Icon: return 20;
        case ControlKind::PushButton: return 14;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::ProgressBar: return 10;
        case ControlKind::Edit:
        case ControlKind::ComboBox: return 12;
        case ControlKind::ListBox: return 40;
        case ControlKind::ListView: return 60;
        case ControlKind::TrackBar: return 14;
    }
    return 10;
}

bool IsEmpty(const Rect& r) { return r.width <= 0 || r.height <= 0; }

}  // namespace

bool Overlaps(const Rect& a, const Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

DialogLayout LayoutOf(const DialogTemplate& t) {
    DialogLayout layout;
    layout.width = std::max(t.width, 2 * kMargin + 40);
    layout.height = std::max(t.height, 2 * kMargin);
    int bottom = 0;
    bool anyPlaced = false;
    for (const ControlTemplate& c : t.controls) {
        if (IsEmpty(c.rect)) continue;
        anyPlaced = true;
        bottom = std::max(bottom, c.rect.y + c.rect.height);
    }
    int y = anyPlaced ? bottom + kSpacing : kMargin;
    for (const ControlTemplate& c : t.controls) {
        if (!IsEmpty(c.rect)) {
            layout.rects.push_back(c.rect);
            continue;
        }
        Rect placed{kMargin, y, layout.width - 2 * kMargin, NaturalHeight(c.kind)};
        layout.rects.push_back(placed);
        y += placed.height + kSpacing;
        layout.height = std::max(layout.height, placed.y + placed.height + kMargin);
    }
    return layout;
}

}  // namespace kw::ui
