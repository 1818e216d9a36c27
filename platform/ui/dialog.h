// Modal dialogs. A dialog declares its template in code and derives from CDialog:
//
//   kw::ui::DialogTemplate MyTemplate();        // id, caption, controls
//   class CMyDlg : public kw::ui::CDialog {
//   public:
//       CMyDlg() : CDialog(MyTemplate()) {}
//   protected:
//       bool OnInitDialog() override;            // fill the controls
//       void OnCommand(int id, Notify code) override;
//   };
//
// DoModal creates the controls, shows the dialog, calls OnInitDialog (which may hide it again)
// and runs a modal loop until EndDialog. The controls stay readable after DoModal returns.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/window.h"

namespace kw::ui {

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::u16string text;  // the resource text
    unsigned style = 0;
    // Position and size in dialog units (a quarter of the font's average character width, an
    // eighth of its height); an empty rectangle leaves the place to the automatic arrangement.
    Rect rect{};
};

// One control of a template: id, kind, resource text, style and its place in dialog units.
inline ControlTemplate Control(int id, ControlKind kind, std::u16string text, unsigned style, Rect rect) {
    return {id, kind, std::move(text), style, rect};
}

struct DialogTemplate {
    int resourceId = 0;
    std::u16string caption;
    std::vector<ControlTemplate> controls;
    // The client area in dialog units.
    int width = 300;
    int height = 200;
};

// The controls' rectangles in template order, and the client size that holds them. A control
// without a rectangle of its own goes into one column below the others, the client area growing
// to take it, so a template written before its layout still shows every control.
struct DialogLayout {
    std::vector<Rect> rects;
    int width = 0;
    int height = 0;
};
DialogLayout LayoutOf(const DialogTemplate& dialogTemplate);
// Two rectangles share at least one point inside both.
bool Overlaps(const Rect& a, const Rect& b);
bool Contains(const Rect& outer, const Rect& inner);

class CDialog : public CWnd {
public:
    explicit CDialog(DialogTemplate dialogTemplate);
    ~CDialog() override;

    // Runs the dialog; returns the result given to EndDialog, IDCANCEL when input ran out, -1
    // when the dialog is already running.
    int DoModal();
    // Ends the dialog's own modal loop after the current message. Dialogs opened inside it end
    // first, each by its own EndDialog.
    void EndDialog(int result);
    bool IsRunning() const { return running_; }
    bool IsEnding() const { return ending_; }
    int Result() const { return result_; }

    int ResourceId() const { return template_.resourceId; }
    const DialogTemplate& GetTemplate() const { return template_; }
    // The dialog that was active when this one started (nullptr for the first).
    CDialog* Owner() const { return owner_; }

    // ---- controls ----
    CControl* Item(int id) const;
    const std::vector<std::unique_ptr<CControl>>& Controls() const { return controls_; }
    // Typed access. An id that is missing, or names another kind, gives a detached control that
    // belongs to no dialog, so a slip in an id changes nothing instead of crashing.
    CStatic& Static(int id);
    CButton& Button(int id);
    CEdit& Edit(int id);
    CComboBox& Combo(int id);
    CListBox& ListBox(int id);
    CListView& ListView(int id);
    CProgressBar& Progress(int id);
    CTrackBar& TrackBar(int id);

    void SetItemText(int id, std::u16string_view text);
    std::u16string ItemText(int id) const;
    void ShowItem(int id, bool visible);
    void EnableItem(int id, bool enabled);
    void CheckItem(int id, bool checked);
    bool IsItemChecked(int id) const;
    // The radio group that begins with the radio button firstId: the index of its checked button
    // (-1 when none), and checking the button at index (any other index clears the group).
    int RadioIndex(int firstId) const;
    void SetRadioIndex(int firstId, int index);
    // The radio buttons of the group that holds id, in template order.
    std::vector<CButton*> RadioGroupOf(int id) const;

    // ---- what a user does (called by the loop with a queued user action) ----
    void UserClick(int id);
    void UserSelect(int id, int index);
    void UserDoubleClick(int id, int row);
    void UserType(int id, std::u16string_view text);
    void UserScroll(int id, int position);
    void UserKey(Key key);

    void WindowProc(unsigned msg, uintptr_t wparam, intptr_t lparam) override;

protected:
    // Called once the controls exist; false is kept for symmetry and has no effect.
    virtual bool OnInitDialog() { return true; }
    // Command IDOK (also Enter when the dialog has no default button) and IDCANCEL (also Esc and
    // the close box). Both end the dialog by default.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    void OnClose() override { OnCancel(); }
    // Called for Enter and Esc before the dialog handles them; true swallows the key.
    virtual bool PreTranslateKey(Key /*key*/) { return false; }
    virtual void OnListClick(int /*id*/, int /*row*/) {}
    virtual void OnListDblClick(int /*id*/, int /*row*/) {}
    // A track bar moved to position.
    virtual void OnHScroll(int /*id*/, int /*position*/) {}

private:
    void CreateControls();
    void RunModalLoop();
    template <typename T>
    T& Typed(int id, std::unique_ptr<T>& detached);

    DialogTemplate template_;
    std::vector<std::unique_ptr<CControl>> controls_;
    CDialog* owner_ = nullptr;
    bool running_ = false;
    bool ending_ = false;
    int result_ = 0;

    std::unique_ptr<CStatic> detachedStatic_;
    std::unique_ptr<CButton> detachedButton_;
    std::unique_ptr<CEdit> detachedEdit_;
    std::unique_ptr<CComboBox> detachedCombo_;
    std::unique_ptr<CListBox> detachedListBox_;
    std::unique_ptr<CListView> detachedListView_;
    std::unique_ptr<CProgressBar> detachedProgress_;
    std::unique_ptr<CTrackBar> detachedTrackBar_;
};

// The innermost running modal dialog (the one the user acts on), or nullptr.
CDialog* ActiveDialog();
// How many modal loops are running.
size_t ModalDepth();

}  // namespace kw::ui
