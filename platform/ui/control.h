// Controls: plain objects with state. A dialog creates them from its template; the program
// changes them through these operations, the user through the input source (user_input.h).
// A change made by the program never notifies the dialog; only user actions do.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kw::ui {

class CDialog;

enum class ControlKind {
    Label,
    GroupBox,
    Icon,
    PushButton,
    CheckBox,
    RadioButton,
    Edit,
    ComboBox,  // drop-down with an edit field, or a drop-down list with the kDropDownList style
    ListBox,
    ListView,  // report style: columns and rows of cells
    ProgressBar,
    TrackBar,
};

// Style bits of a control template.
enum : unsigned {
    kGroup = 1u << 0,          // begins a group (radio buttons up to the next control with this bit)
    kMasked = 1u << 1,         // edit field shows its text as asterisks
    kReadOnly = 1u << 2,       // edit field the user cannot type into
    kDropDownList = 1u << 3,   // combo box without an edit field
    kHidden = 1u << 4,         // starts hidden
    kDisabled = 1u << 5,       // starts disabled
    kDefaultButton = 1u << 6,  // the push button that Enter presses
    kCentered = 1u << 7,       // centred text (drawing only)
};

// The name of a kind as the console prints it.
const char* KindName(ControlKind kind);

class CControl {
public:
    CControl(CDialog* dialog, int id, ControlKind kind, std::u16string text, unsigned style);
    virtual ~CControl() = default;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    int Id() const { return id_; }
    ControlKind Kind() const { return kind_; }
    unsigned Style() const { return style_; }
    CDialog* Dialog() const { return dialog_; }

    // The window text: label, button caption, edit text, combo box edit text.
    virtual std::u16string Text() const { return text_; }
    virtual void SetText(std::u16string_view text) { text_ = std::u16string(text); }

    void Show(bool visible) { visible_ = visible; }
    bool IsVisible() const { return visible_; }
    void Enable(bool enabled) { enabled_ = enabled; }
    bool IsEnabled() const { return enabled_; }

protected:
    std::u16string text_;

private:
    CDialog* dialog_;
    int id_;
    ControlKind kind_;
    unsigned style_;
    bool visible_;
    bool enabled_;
};

// Label, group box and icon.
class CStatic : public CControl {
public:
    using CControl::CControl;
    void SetIcon(IconHandle icon) { icon_ = icon; }
    IconHandle Icon() const { return icon_; }

private:
    IconHandle icon_ = 0;
};

// Push button, check box and radio button.
class CButton : public CControl {
public:
    using CControl::CControl;
    // Sets only this button; other radio buttons of its group keep their state.
    void SetCheck(bool checked) { checked_ = checked; }
    bool IsChecked() const { return checked_; }

private:
    bool checked_ = false;
};

class CEdit : public CControl {
public:
    CEdit(CDialog* dialog, int id, std::u16string text, unsigned style);

    // The program's text change: the caret goes to the start; the text limit does not apply.
    void SetText(std::u16string_view text) override;
    // What the screen shows: the text, or one asterisk per character when masked.
    std::u16string DisplayText() const;

    // Most characters the user can type; 0 restores the default.
    void SetLimitText(size_t limit);
    size_t LimitText() const { return limit_; }
    void SetMasked(bool masked) { masked_ = masked; }
    bool IsMasked() const { return masked_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsReadOnly() const { return readOnly_; }

    // Selection from start to end (UTF-16 units); an empty selection is the caret. Values are
    // clamped to the text; -1 as end means the end of the text.
    void SetSel(int start, int end);
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    // Keeps the caret visible; nothing to do without a screen.
    void ScrollCaret() {}

    static constexpr size_t kDefaultLimit = 30000;

private:
    size_t limit_ = kDefaultLimit;
    bool masked_;
    bool readOnly_;
    int selStart_ = 0;
    int selEnd_ = 0;
};

// Items addressed by index; shared by combo box and list box.
class CItemList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Appends; returns the index.
    int AddString(std::u16string_view text);
    // Inserts at index (-1 appends); returns the index, or -1 when index is past the end.
    int InsertString(int index, std::u16string_view text);
    // Returns the count left, or -1 for a bad index.
    int DeleteString(int index);
    // The item's text; empty for a bad index.
    std::u16string ItemText(int index) const;
    const std::vector<std::u16string>& Items() const { return items_; }
    // First item at or after start + 1 (wrapping round) whose text begins with prefix, letter
    // case ignored; start -1 searches from the first item. -1 when none.
    int FindStringPrefix(int start, std::u16string_view prefix) const;
    int FindStringExact(int start, std::u16string_view text) const;

protected:
    void ClearItems();
    std::vector<std::u16string> items_;
    int sel_ = -1;
};

class CComboBox : public CControl, public CItemList {
public:
    CComboBox(CDialog* dialog, int id, std::u16string text, unsigned style);

    bool HasEditField() const { return !(Style() & kDropDownList); }
    // The edit field's text; for a drop-down list the selected item's text.
    std::u16string Text() const override;
    // Sets the edit field's text; the selection is left as it is. No effect on a drop-down list.
    void SetText(std::u16string_view text) override;

    int AddString(std::u16string_view text) { return CItemList::AddString(text); }
    int InsertString(int index, std::u16string_view text);
    int DeleteString(int index);
    // Empties the list and the edit field.
    void ResetContent();
    int CurSel() const { return sel_; }
    // Selects index and shows its text in the edit field; a bad index (or -1) clears both and
    // returns -1.
    int SetCurSel(int index);
    // Selects the first item beginning with prefix (FindStringPrefix); returns its index, or -1
    // leaving the selection as it was.
    int SelectString(int start, std::u16string_view prefix);
};

class CListBox : public CControl, public CItemList {
public:
    using CControl::CControl;
    std::u16string Text() const override { return ItemText(sel_); }
    int InsertString(int index, std::u16string_view text);
    int DeleteString(int index);
    void ResetContent();
    int CurSel() const { return sel_; }
    int SetCurSel(int index);
};

enum class Align { Left, Right, Center };

struct ListColumn {
    std::u16string title;
    int width = 0;
    Align align = Align::Left;
};

// Extended style bits of a list view.
constexpr unsigned kListFullRowSelect = 0x20;

class CListView : public CControl {
public:
    using CControl::CControl;

    // Returns the column's index, or -1 when index is past the end.
    int InsertColumn(int index, std::u16string_view title, Align align, int width);
    bool DeleteColumn(int index);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const ListColumn* Column(int index) const;

    // Inserts a row with its first cell; an index past the end appends. Returns the row.
    int InsertItem(int index, std::u16string_view text);
    bool SetItemText(int row, int column, std::u16string_view text);
    // Empty for a bad row or column.
    std::u16string ItemText(int row, int column) const;
    bool DeleteItem(int row);
    // Also clears the selection mark.
    void DeleteAllItems();
    int ItemCount() const { return static_cast<int>(rows_.size()); }
    // The row's cells, as many as there are columns (at least one).
    std::vector<std::u16string> RowCells(int row) const;

    int SelectionMark() const { return mark_; }
    void SetSelectionMark(int row) { mark_ = row; }
    bool SetItemSelected(int row, bool selected);
    bool IsItemSelected(int row) const;
    // The first selected row after start (-1: from the first row); -1 when none.
    int NextSelected(int start) const;

    void SetExtendedStyle(unsigned style) { extendedStyle_ = style; }
    unsigned ExtendedStyle() const { return extendedStyle_; }

private:
    struct Row {
        std::vector<std::u16string> cells;
        bool selected = false;
    };
    std::vector<ListColumn> columns_;
    std::vector<Row> rows_;
    int mark_ = -1;
    unsigned extendedStyle_ = 0;
};

// Progress bar and track bar share a range and a position kept inside it.
class CRangeControl : public CControl {
public:
    using CControl::CControl;
    // A reversed range is put in order; the position is moved into the new range.
    void SetRange(int minimum, int maximum);
    int RangeMin() const { return min_; }
    int RangeMax() const { return max_; }
    // Clamped to the range; returns the previous position.
    int SetPos(int position);
    int Pos() const { return pos_; }

private:
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
};

class CProgressBar : public CRangeControl {
public:
    using CRangeControl::CRangeControl;
};

class CTrackBar : public CRangeControl {
public:
    using CRangeControl::CRangeControl;
    void SetTicFreq(int frequency) { ticFreq_ = frequency; }
    int TicFreq() const { return ticFreq_; }
    void SetPageSize(int size) { pageSize_ = size; }
    int PageSize() const { return pageSize_; }

private:
    int ticFreq_ = 1;
    int pageSize_ = 20;
};

}  // namespace kw::ui
