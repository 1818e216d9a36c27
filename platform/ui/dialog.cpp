#include "platform/ui/dialog.h"

#include <algorithm>

#include "platform/registry.h"
#include "platform/ui/input_source.h"
#include "platform/ui/ui_thread.h"

namespace kw::ui {

namespace {

// The running modal loops, outermost first. User-interface thread only.
std::vector<CDialog*>& ModalStack() {
    static std::vector<CDialog*> stack;
    return stack;
}

std::unique_ptr<CControl> MakeControl(CDialog* dialog, const ControlTemplate& t) {
    switch (t.kind) {
        case ControlKind::Label:
        case ControlKind::GroupBox:
        case ControlKind::Icon:
            return std::make_unique<CStatic>(dialog, t.id, t.kind, t.text, t.style);
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return std::make_unique<CButton>(dialog, t.id, t.kind, t.text, t.style);
        case ControlKind::Edit:
            return std::make_unique<CEdit>(dialog, t.id, t.text, t.style);
        case ControlKind::ComboBox:
            return std::make_unique<CComboBox>(dialog, t.id, t.text, t.style);
        case ControlKind::ListBox:
            return std::make_unique<CListBox>(dialog, t.id, t.kind, t.text, t.style);
        case ControlKind::ListView:
            return std::make_unique<CListView>(dialog, t.id, t.kind, t.text, t.style);
        case ControlKind::ProgressBar:
            return std::make_unique<CProgressBar>(dialog, t.id, t.kind, t.text, t.style);
        case ControlKind::TrackBar:
            return std::make_unique<CTrackBar>(dialog, t.id, t.kind, t.text, t.style);
    }
    return nullptr;
}

template <typename T>
std::unique_ptr<T> MakeDetached();

template <>
std::unique_ptr<CStatic> MakeDetached() { return std::make_unique<CStatic>(nullptr, 0, ControlKind::Label, u"", 0); }
template <>
std::unique_ptr<CButton> MakeDetached() {
    return std::make_unique<CButton>(nullptr, 0, ControlKind::PushButton, u"", 0);
}
template <>
std::unique_ptr<CEdit> MakeDetached() { return std::make_unique<CEdit>(nullptr, 0, u"", 0); }
template <>
std::unique_ptr<CComboBox> MakeDetached() { return std::make_unique<CComboBox>(nullptr, 0, u"", 0); }
template <>
std::unique_ptr<CListBox> MakeDetached() {
    return std::make_unique<CListBox>(nullptr, 0, ControlKind::ListBox, u"", 0);
}
template <>
std::unique_ptr<CListView> MakeDetached() {
    return std::make_unique<CListView>(nullptr, 0, ControlKind::ListView, u"", 0);
}
template <>
std::unique_ptr<CProgressBar> MakeDetached() {
    return std::make_unique<CProgressBar>(nullptr, 0, ControlKind::ProgressBar, u"", 0);
}
template <>
std::unique_ptr<CTrackBar> MakeDetached() {
    return std::make_unique<CTrackBar>(nullptr, 0, ControlKind::TrackBar, u"", 0);
}

}  // namespace

CDialog* ActiveDialog() { return ModalStack().empty() ? nullptr : ModalStack().back(); }
size_t ModalDepth() { return ModalStack().size(); }

CDialog::CDialog(DialogTemplate dialogTemplate) : template_(std::move(dialogTemplate)) {}

CDialog::~CDialog() {
    auto& stack = ModalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
}

void CDialog::CreateControls() {
    controls_.clear();
    for (const ControlTemplate& t : template_.controls) {
        if (auto control = MakeControl(this, t)) controls_.push_back(std::move(control));
    }
}

int CDialog::DoModal() {
    if (running_ || IsCreated()) return -1;
    owner_ = ActiveDialog();
    CreateControls();
    SetCaption(template_.caption);
    Move(Rect{0, 0, template_.width, template_.height});
    Center();
    running_ = true;
    ending_ = false;
    result_ = 0;
    Register();
    ModalStack().push_back(this);
    OnCreate();
    Show(true);
    {
        reg::WriteGroup initialisation;
        OnInitDialog();
    }
    if (!ending_) {
        ReportEvent("window: open " + QuoteText(Caption()));
        if (IInputSource* source = InputSource()) source->OnDialogOpened(*this);
        RunModalLoop();
        ReportEvent("window: close " + QuoteText(Caption()));
    }
    auto& stack = ModalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    running_ = false;
    Destroy();
    return result_;
}

void CDialog::RunModalLoop() {
    while (!ending_) {
        {
            // Each message is one operation for the registry: its writes are saved together.
            reg::WriteGroup operation;
            if (detail::DispatchQueued()) continue;
        }
        // Whatever an enclosing operation wrote is on disk before the user is waited for.
        reg::Flush();
        IInputSource* source = InputSource();
        if (source && source->Step()) continue;
        // No input will come: the dialog is left as its close box would leave it, minus the
        // dialog's own say in it, so a script that ends never leaves a loop running.
        EndDialog(IDCANCEL);
    }
}

void CDialog::EndDialog(int result) {
    result_ = result;
    ending_ = true;
}

// ---- controls ----

CControl* CDialog::Item(int id) const {
    for (const auto& control : controls_) {
        if (control->Id() == id) return control.get();
    }
    return nullptr;
}

template <typename T>
T& CDialog::Typed(int id, std::unique_ptr<T>& detached) {
    if (T* control = dynamic_cast<T*>(Item(id))) return *control;
    if (!detached) detached = MakeDetached<T>();
    return *detached;
}

CStatic& CDialog::Static(int id) { return Typed(id, detachedStatic_); }
CButton& CDialog::Button(int id) { return Typed(id, detachedButton_); }
CEdit& CDialog::Edit(int id) { return Typed(id, detachedEdit_); }
CComboBox& CDialog::Combo(int id) { return Typed(id, detachedCombo_); }
CListBox& CDialog::ListBox(int id) { return Typed(id, detachedListBox_); }
CListView& CDialog::ListView(int id) { return Typed(id, detachedListView_); }
CProgressBar& CDialog::Progress(int id) { return Typed(id, detachedProgress_); }
CTrackBar& CDialog::TrackBar(int id) { return Typed(id, detachedTrackBar_); }

void CDialog::SetItemText(int id, std::u16string_view text) {
    if (CControl* control = Item(id)) control->SetText(text);
}

std::u16string CDialog::ItemText(int id) const {
    CControl* control = Item(id);
    return control ? control->Text() : std::u16string();
}

void CDialog::ShowItem(int id, bool visible) {
    if (CControl* control = Item(id)) control->Show(visible);
}

void CDialog::EnableItem(int id, bool enabled) {
    if (CControl* control = Item(id)) control->Enable(enabled);
}

void CDialog::CheckItem(int id, bool checked) {
    if (auto* button = dynamic_cast<CButton*>(Item(id))) button->SetCheck(checked);
}

bool CDialog::IsItemChecked(int id) const {
    auto* button = dynamic_cast<CButton*>(Item(id));
    return button && button->IsChecked();
}

std::vector<CButton*> CDialog::RadioGroupOf(int id) const {
    std::vector<CButton*> group;
    auto at = std::find_if(controls_.begin(), controls_.end(), [id](const auto& c) { return c->Id() == id; });
    if (at == controls_.end() || (*at)->Kind() != ControlKind::RadioButton) return group;
    auto start = at;
    while (start != controls_.begin() && !((*start)->Style() & kGroup)) --start;
    for (auto it = start; it != controls_.end(); ++it) {
        if (it != start && ((*it)->Style() & kGroup)) break;
        if ((*it)->Kind() == ControlKind::RadioButton) group.push_back(static_cast<CButton*>(it->get()));
    }
    return group;
}

int CDialog::RadioIndex(int firstId) const {
    auto group = RadioGroupOf(firstId);
    for (size_t i = 0; i < group.size(); ++i) {
        if (group[i]->IsChecked()) return static_cast<int>(i);
    }
    return -1;
}

void CDialog::SetRadioIndex(int firstId, int index) {
    auto group = RadioGroupOf(firstId);
    for (size_t i = 0; i < group.size(); ++i) group[i]->SetCheck(static_cast<int>(i) == index);
}

// ---- user actions ----

void CDialog::UserClick(int id) {
    CControl* control = Item(id);
    if (!control || !control->IsEnabled() || !control->IsVisible()) return;
    switch (control->Kind()) {
        case ControlKind::CheckBox: {
            auto* box = static_cast<CButton*>(control);
            box->SetCheck(!box->IsChecked());
            break;
        }
        case ControlKind::RadioButton:
            for (CButton* radio : RadioGroupOf(id)) radio->SetCheck(radio == control);
            break;
        case ControlKind::PushButton:
            break;
        default:
            return;
    }
    SendMessage(kMsgCommand, static_cast<uintptr_t>(id), static_cast<intptr_t>(Notify::Clicked));
}

void CDialog::UserSelect(int id, int index) {
    CControl* control = Item(id);
    if (!control || !control->IsEnabled() || !control->IsVisible()) return;
    if (auto* combo = dynamic_cast<CComboBox*>(control)) {
        if (combo->SetCurSel(index) < 0) return;
        SendMessage(kMsgCommand, static_cast<uintptr_t>(id), static_cast<intptr_t>(Notify::SelChange));
    } else if (auto* list = dynamic_cast<CListBox*>(control)) {
        if (list->SetCurSel(index) < 0) return;
        SendMessage(kMsgCommand, static_cast<uintptr_t>(id), static_cast<intptr_t>(Notify::SelChange));
    } else if (auto* view = dynamic_cast<CListView*>(control)) {
        if (index < 0 || index >= view->ItemCount()) return;
        for (int row = 0; row < view->ItemCount(); ++row) view->SetItemSelected(row, row == index);
        view->SetSelectionMark(index);
        SendMessage(kMsgListClick, static_cast<uintptr_t>(id), index);
    }
}

void CDialog::UserDoubleClick(int id, int row) {
    auto* view = dynamic_cast<CListView*>(Item(id));
    if (!view || !view->IsEnabled() || !view->IsVisible() || row < 0 || row >= view->ItemCount()) return;
    // A double click is a click followed by the double click, as the list view reports it.
    UserSelect(id, row);
    if (IsCreated()) SendMessage(kMsgListDblClick, static_cast<uintptr_t>(id), row);
}

void CDialog::UserType(int id, std::u16string_view text) {
    CControl* control = Item(id);
    if (!control || !control->IsEnabled() || !control->IsVisible()) return;
    if (auto* edit = dynamic_cast<CEdit*>(control)) {
        if (edit->IsReadOnly()) return;
        std::u16string typed(text.substr(0, std::min(text.size(), edit->LimitText())));
        edit->SetText(typed);
        edit->SetSel(static_cast<int>(typed.size()), static_cast<int>(typed.size()));
    } else if (auto* combo = dynamic_cast<CComboBox*>(control)) {
        if (!combo->HasEditField()) return;
        combo->SetCurSel(-1);
        combo->SetText(text);
    } else {
        return;
    }
    SendMessage(kMsgCommand, static_cast<uintptr_t>(id), static_cast<intptr_t>(Notify::EditChange));
}

void CDialog::UserScroll(int id, int position) {
    auto* bar = dynamic_cast<CTrackBar*>(Item(id));
    if (!bar || !bar->IsEnabled() || !bar->IsVisible()) return;
    bar->SetPos(position);
    SendMessage(kMsgHScroll, static_cast<uintptr_t>(id), bar->Pos());
}

void CDialog::UserKey(Key key) {
    if (PreTranslateKey(key)) return;
    if (key == Key::Escape) {
        SendMessage(kMsgCommand, IDCANCEL, static_cast<intptr_t>(Notify::Clicked));
        return;
    }
    for (const auto& control : controls_) {
        if (control->Kind() == ControlKind::PushButton && (control->Style() & kDefaultButton)) {
            UserClick(control->Id());
            return;
        }
    }
    CControl* ok = Item(IDOK);
    if (!ok || ok->IsEnabled()) SendMessage(kMsgCommand, IDOK, static_cast<intptr_t>(Notify::Clicked));
}

void CDialog::WindowProc(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    switch (msg) {
        case kMsgCommand: {
            int id = static_cast<int>(wparam);
            auto code = static_cast<Notify>(lparam);
            if (id == IDOK && code == Notify::Clicked) {
                OnOK();
            } else if (id == IDCANCEL && code == Notify::Clicked) {
                OnCancel();
            } else {
                OnCommand(id, code);
            }
            break;
        }
        case kMsgKeyDown:
            UserKey(static_cast<Key>(wparam));
            break;
        case kMsgListClick:
            OnListClick(static_cast<int>(wparam), static_cast<int>(lparam));
            break;
        case kMsgListDblClick:
            OnListDblClick(static_cast<int>(wparam), static_cast<int>(lparam));
            break;
        case kMsgHScroll:
            OnHScroll(static_cast<int>(wparam), static_cast<int>(lparam));
            break;
        default:
            CWnd::WindowProc(msg, wparam, lparam);
            break;
    }
}

}  // namespace kw::ui
