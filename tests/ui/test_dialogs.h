// Dialogs for the framework's tests: one control of each kind, a child to nest, and a record of
// what each hook saw.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/text.h"

namespace kwtest {

using namespace kw::ui;

enum : int {
    kTestDialogId = 900,
    kChildDialogId = 901,
    kLabel = 10,
    kGroupBox = 11,
    kIcon = 12,
    kOpenChild = 20,
    kCheck = 21,
    kAsk = 22,
    kRadioAlpha = 30,
    kRadioBeta = 31,
    kRadioGamma = 32,
    kGroupBreak = 33,
    kRadioOne = 34,
    kRadioTwo = 35,
    kHexEdit = 40,
    kMaskedEdit = 41,
    kReadOnlyEdit = 42,
    kEditCombo = 50,
    kListCombo = 51,
    kListBox = 52,
    kListView = 60,
    kProgress = 70,
    kTrackBar = 71,
    kTrackValue = 72,
    kChildEnd42 = 4,
    kChildOpenGrandchild = 5,
    kTimerId = 1,
    kTimerPeriodMs = 1000,
};

inline DialogTemplate ChildTemplate() {
    return DialogTemplate{kChildDialogId, u"Child", {
        {IDOK, ControlKind::PushButton, u"OK", kDefaultButton},
        {kChildEnd42, ControlKind::PushButton, u"End 42", 0},
        {kChildOpenGrandchild, ControlKind::PushButton, u"Nest", 0},
    }};
}

// A child that can end with 42 or open another child inside itself.
class CChildDlg : public CDialog {
public:
    CChildDlg() : CDialog(ChildTemplate()) {}
    int grandchildResult = 0;

protected:
    void OnCommand(int id, Notify code) override {
        if (code != Notify::Clicked) return;
        if (id == kChildEnd42) EndDialog(42);
        if (id == kChildOpenGrandchild) {
            CChildDlg grandchild;
            grandchildResult = grandchild.DoModal();
        }
    }
};

inline DialogTemplate TestTemplate() {
    return DialogTemplate{kTestDialogId, u"Test Dialog", {
        {kLabel, ControlKind::Label, u"Name:", 0},
        {kGroupBox, ControlKind::GroupBox, u"Options", 0},
        {kIcon, ControlKind::Icon, u"", 0},
        {kOpenChild, ControlKind::PushButton, u"Open Child", 0},
        {kCheck, ControlKind::CheckBox, u"Enabled", 0},
        {kAsk, ControlKind::PushButton, u"Ask", 0},
        {kRadioAlpha, ControlKind::RadioButton, u"Alpha", kGroup},
        {kRadioBeta, ControlKind::RadioButton, u"Beta", 0},
        {kRadioGamma, ControlKind::RadioButton, u"Gamma", 0},
        {kGroupBreak, ControlKind::Label, u"Second:", kGroup},
        {kRadioOne, ControlKind::RadioButton, u"One", kGroup},
        {kRadioTwo, ControlKind::RadioButton, u"Two", 0},
        {kHexEdit, ControlKind::Edit, u"", 0},
        {kMaskedEdit, ControlKind::Edit, u"", kMasked},
        {kReadOnlyEdit, ControlKind::Edit, u"fixed", kReadOnly},
        {kEditCombo, ControlKind::ComboBox, u"", 0},
        {kListCombo, ControlKind::ComboBox, u"", kDropDownList},
        {kListBox, ControlKind::ListBox, u"", 0},
        {kListView, ControlKind::ListView, u"", 0},
        {kProgress, ControlKind::ProgressBar, u"", 0},
        {kTrackBar, ControlKind::TrackBar, u"", 0},
        {kTrackValue, ControlKind::Label, u"", kCentered},
        {IDOK, ControlKind::PushButton, u"OK", 0},
        {IDCANCEL, ControlKind::PushButton, u"Cancel", 0},
    }};
}

// Every control filled in; every notification written down as "hook id detail".
class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(TestTemplate()) {}

    std::vector<std::string> seen;
    std::vector<int> answers;
    int childResult = 0;
    int ticks = 0;
    bool swallowEnter = false;

protected:
    bool OnInitDialog() override {
        Static(kIcon).SetIcon(LoadIcon(175));
        SetRadioIndex(kRadioAlpha, 0);
        Edit(kHexEdit).SetLimitText(10);
        for (const char16_t* item : {u"TLS", u"PEAP", u"TTLS"}) Combo(kEditCombo).AddString(item);
        for (const char16_t* item : {u"#1", u"#2", u"#3", u"#4"}) Combo(kListCombo).AddString(item);
        Combo(kListCombo).SetCurSel(0);
        ListBox(kListBox).AddString(u"first");
        ListBox(kListBox).AddString(u"second");
        CListView& view = ListView(kListView);
        view.InsertColumn(0, u"SSID", Align::Left, 105);
        view.InsertColumn(1, u"Strength", Align::Left, 64);
        for (const char16_t* ssid : {u"Home", u"Office", u"Cafe"}) {
            int row = view.InsertItem(view.ItemCount(), ssid);
            view.SetItemText(row, 1, u"50%");
        }
        view.SetExtendedStyle(view.ExtendedStyle() | kListFullRowSelect);
        TrackBar(kTrackBar).SetRange(256, 2346);
        TrackBar(kTrackBar).SetPos(2346);
        SetTimer(kTimerId, kTimerPeriodMs);
        return true;
    }

    void OnCommand(int id, Notify code) override {
        seen.push_back(Describe("command", id, code));
        if (code == Notify::EditChange && id == kHexEdit) FilterHex();
        if (code != Notify::Clicked) return;
        if (id == kOpenChild) {
            CChildDlg child;
            childResult = child.DoModal();
        }
        if (id == kAsk) {
            answers.push_back(ShowMessageBox(this, u"Use the previous setting?\nReally?", u"Question",
                                             MessageBoxButtons::YesNo, MessageBoxIcon::Question));
        }
    }

    void OnListClick(int id, int row) override {
        seen.push_back("click " + std::to_string(id) + " " + std::to_string(row));
    }
    void OnListDblClick(int id, int row) override {
        seen.push_back("dblclick " + std::to_string(id) + " " + std::to_string(row));
    }
    void OnHScroll(int id, int position) override {
        seen.push_back("scroll " + std::to_string(id) + " " + std::to_string(position));
        SetItemText(kTrackValue, kw::FormatW("< %d >", position));
    }
    void OnTimer(int id) override {
        if (id != kTimerId) return;
        ++ticks;
        Progress(kProgress).SetPos(ticks * 10);
    }
    bool PreTranslateKey(Key key) override { return swallowEnter && key == Key::Enter; }

private:
    static std::string Describe(const char* what, int id, Notify code) {
        static const char* kNames[] = {"clicked", "selchange", "editchange"};
        return std::string(what) + " " + std::to_string(id) + " " + kNames[static_cast<int>(code)];
    }

    // Keeps hexadecimal digits only, with the caret where the first other character was.
    void FilterHex() {
        CEdit& edit = Edit(kHexEdit);
        std::u16string text = edit.Text(), kept;
        int firstDropped = -1;
        for (size_t i = 0; i < text.size(); ++i) {
            char16_t c = text[i];
            bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
            if (hex) {
                kept += c;
            } else if (firstDropped < 0) {
                firstDropped = static_cast<int>(i);
            }
        }
        if (firstDropped < 0) return;
        edit.SetText(kept);
        edit.SetSel(firstDropped, firstDropped);
    }
};

}  // namespace kwtest
