#include "platform/ui/user_input.h"

#include <algorithm>

#include "platform/text.h"
#include "platform/ui/input_source.h"

namespace kw::ui::user {

namespace {

std::string Describe(const CControl& control) {
    return Format("control %d (%s)", control.Id(), KindName(control.Kind()));
}

// The control the user can reach, or the reason it cannot be reached.
std::string Reach(CDialog& dialog, int id, CControl*& control) {
    control = dialog.Item(id);
    if (!control) return Format("no control %d in ", id) + QuoteText(dialog.Caption());
    if (!control->IsVisible()) return Describe(*control) + " is hidden";
    if (!control->IsEnabled()) return Describe(*control) + " is disabled";
    return {};
}

template <typename Perform>
std::string Queue(CDialog& dialog, Perform perform) {
    PostAction(dialog.Handle(), [perform](CWnd& window) {
        if (auto* target = dynamic_cast<CDialog*>(&window)) perform(*target);
    });
    return {};
}

bool IsOneOf(ControlKind kind, std::initializer_list<ControlKind> kinds) {
    for (ControlKind k : kinds) {
        if (k == kind) return true;
    }
    return false;
}

}  // namespace

std::string Click(CDialog& dialog, int id) {
    CControl* control = nullptr;
    if (auto error = Reach(dialog, id, control); !error.empty()) return error;
    if (!IsOneOf(control->Kind(), {ControlKind::PushButton, ControlKind::CheckBox, ControlKind::RadioButton})) {
        return Describe(*control) + " cannot be clicked";
    }
    return Queue(dialog, [id](CDialog& d) { d.UserClick(id); });
}

std::string Select(CDialog& dialog, int id, int index) {
    CControl* control = nullptr;
    if (auto error = Reach(dialog, id, control); !error.empty()) return error;
    int count = -1;
    if (auto* combo = dynamic_cast<CComboBox*>(control)) count = combo->Count();
    if (auto* list = dynamic_cast<CListBox*>(control)) count = list->Count();
    if (auto* view = dynamic_cast<CListView*>(control)) count = view->ItemCount();
    if (count < 0) return Describe(*control) + " has no items";
    if (index < 0 || index >= count) return Format("%s has no item %d", Describe(*control).c_str(), index);
    return Queue(dialog, [id, index](CDialog& d) { d.UserSelect(id, index); });
}

std::string DoubleClick(CDialog& dialog, int id, int row) {
    CControl* control = nullptr;
    if (auto error = Reach(dialog, id, control); !error.empty()) return error;
    auto* view = dynamic_cast<CListView*>(control);
    if (!view) return Describe(*control) + " is not a list view";
    if (row < 0 || row >= view->ItemCount()) return Format("%s has no row %d", Describe(*control).c_str(), row);
    return Queue(dialog, [id, row](CDialog& d) { d.UserDoubleClick(id, row); });
}

std::string Type(CDialog& dialog, int id, std::u16string_view text) {
    CControl* control = nullptr;
    if (auto error = Reach(dialog, id, control); !error.empty()) return error;
    if (auto* edit = dynamic_cast<CEdit*>(control)) {
        if (edit->IsReadOnly()) return Describe(*control) + " is read-only";
    } else if (auto* combo = dynamic_cast<CComboBox*>(control)) {
        if (!combo->HasEditField()) return Describe(*control) + " has no edit field";
    } else {
        return Describe(*control) + " takes no typing";
    }
    return Queue(dialog, [id, typed = std::u16string(text)](CDialog& d) { d.UserType(id, typed); });
}

std::string Scroll(CDialog& dialog, int id, int position) {
    CControl* control = nullptr;
    if (auto error = Reach(dialog, id, control); !error.empty()) return error;
    if (control->Kind() != ControlKind::TrackBar) return Describe(*control) + " is not a track bar";
    return Queue(dialog, [id, position](CDialog& d) { d.UserScroll(id, position); });
}

std::string Close(CDialog& dialog) {
    // The close box sits at the right end of the caption; its screen position is never 0.
    Rect at = dialog.Position();
    int x = std::max(1, at.x + at.width - 10);
    int y = std::max(1, at.y + 5);
    auto position = static_cast<int32_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
    PostMessage(dialog.Handle(), kMsgSysCommand, kSysCommandClose, position);
    return {};
}

std::string PressKey(CDialog& dialog, Key key) {
    PostMessage(dialog.Handle(), kMsgKeyDown, static_cast<uintptr_t>(key), 0);
    return {};
}

}  // namespace kw::ui::user
