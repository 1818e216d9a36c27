#include "platform/ui/control.h"

#include <algorithm>

namespace kw::ui {

namespace {

// Letter case folding for list searches: ASCII and the Latin-1 letters.
char16_t FoldCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    return c;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(prefix[i])) return false;
    }
    return true;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "label";
        case ControlKind::GroupBox: return "group";
        case ControlKind::Icon: return "icon";
        case ControlKind::PushButton: return "button";
        case ControlKind::CheckBox: return "check";
        case ControlKind::RadioButton: return "radio";
        case ControlKind::Edit: return "edit";
        case ControlKind::ComboBox: return "combo";
        case ControlKind::ListBox: return "listbox";
        case ControlKind::ListView: return "listview";
        case ControlKind::ProgressBar: return "progress";
        case ControlKind::TrackBar: return "trackbar";
    }
    return "control";
}

CControl::CControl(CDialog* dialog, int id, ControlKind kind, std::u16string text, unsigned style)
    : text_(std::move(text)),
      dialog_(dialog),
      id_(id),
      kind_(kind),
      style_(style),
      visible_(!(style & kHidden)),
      enabled_(!(style & kDisabled)) {}

// ---- edit field ----

CEdit::CEdit(CDialog* dialog, int id, std::u16string text, unsigned style)
    : CControl(dialog, id, ControlKind::Edit, std::move(text), style),
      masked_(style & kMasked),
      readOnly_(style & kReadOnly) {}

void CEdit::SetText(std::u16string_view text) {
    text_ = std::u16string(text);
    selStart_ = selEnd_ = 0;
}

std::u16string CEdit::DisplayText() const { return masked_ ? std::u16string(text_.size(), u'*') : text_; }

void CEdit::SetLimitText(size_t limit) { limit_ = limit == 0 ? kDefaultLimit : limit; }

void CEdit::SetSel(int start, int end) {
    int length = static_cast<int>(text_.size());
    if (end < 0) end = length;
    selStart_ = Clamp(start, 0, length);
    selEnd_ = Clamp(end, 0, length);
    if (selStart_ > selEnd_) std::swap(selStart_, selEnd_);
}

// ---- item lists ----

int CItemList::AddString(std::u16string_view text) {
    items_.emplace_back(text);
    return Count() - 1;
}

int CItemList::InsertString(int index, std::u16string_view text) {
    if (index == -1) return AddString(text);
    if (index < 0 || index > Count()) return -1;
    items_.insert(items_.begin() + index, std::u16string(text));
    if (sel_ >= index) ++sel_;
    return index;
}

int CItemList::DeleteString(int index) {
    if (index < 0 || index >= Count()) return -1;
    items_.erase(items_.begin() + index);
    if (sel_ == index) {
        sel_ = -1;
    } else if (sel_ > index) {
        --sel_;
    }
    return Count();
}

std::u16string CItemList::ItemText(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : std::u16string();
}

int CItemList::FindStringPrefix(int start, std::u16string_view prefix) const {
    int count = Count();
    if (count == 0) return -1;
    int first = start < 0 || start >= count ? 0 : start + 1;
    for (int step = 0; step < count; ++step) {
        int index = (first + step) % count;
        if (StartsWithNoCase(items_[static_cast<size_t>(index)], prefix)) return index;
    }
    return -1;
}

int CItemList::FindStringExact(int start, std::u16string_view text) const {
    int count = Count();
    if (count == 0) return -1;
    int first = start < 0 || start >= count ? 0 : start + 1;
    for (int step = 0; step < count; ++step) {
        int index = (first + step) % count;
        if (EqualNoCase(items_[static_cast<size_t>(index)], text)) return index;
    }
    return -1;
}

void CItemList::ClearItems() {
    items_.clear();
    sel_ = -1;
}

// ---- combo box ----

CComboBox::CComboBox(CDialog* dialog, int id, std::u16string text, unsigned style)
    : CControl(dialog, id, ControlKind::ComboBox, std::move(text), style) {
    // The template's text is not an item; a drop-down list starts empty.
    if (!HasEditField()) text_.clear();
}

std::u16string CComboBox::Text() const { return HasEditField() ? text_ : ItemText(sel_); }

void CComboBox::SetText(std::u16string_view text) {
    if (HasEditField()) text_ = std::u16string(text);
}

int CComboBox::InsertString(int index, std::u16string_view text) { return CItemList::InsertString(index, text); }

int CComboBox::DeleteString(int index) { return CItemList::DeleteString(index); }

void CComboBox::ResetContent() {
    ClearItems();
    text_.clear();
}

int CComboBox::SetCurSel(int index) {
    if (index < 0 || index >= Count()) {
        sel_ = -1;
        text_.clear();
        return -1;
    }
    sel_ = index;
    if (HasEditField()) text_ = items_[static_cast<size_t>(index)];
    return index;
}

int CComboBox::SelectString(int start, std::u16string_view prefix) {
    int index = FindStringPrefix(start, prefix);
    return index < 0 ? -1 : SetCurSel(index);
}

// ---- list box ----

int CListBox::InsertString(int index, std::u16string_view text) { return CItemList::InsertString(index, text); }

int CListBox::DeleteString(int index) { return CItemList::DeleteString(index); }

void CListBox::ResetContent() { ClearItems(); }

int CListBox::SetCurSel(int index) {
    sel_ = index >= 0 && index < Count() ? index : -1;
    return sel_;
}

// ---- list view ----

int CListView::InsertColumn(int index, std::u16string_view title, Align align, int width) {
    if (index < 0 || index > ColumnCount()) return -1;
    columns_.insert(columns_.begin() + index, ListColumn{std::u16string(title), width, align});
    return index;
}

bool CListView::DeleteColumn(int index) {
    if (index < 0 || index >= ColumnCount()) return false;
    columns_.erase(columns_.begin() + index);
    for (Row& row : rows_) {
        if (static_cast<size_t>(index) < row.cells.size()) row.cells.erase(row.cells.begin() + index);
    }
    return true;
}

const ListColumn* CListView::Column(int index) const {
    return index >= 0 && index < ColumnCount() ? &columns_[static_cast<size_t>(index)] : nullptr;
}

int CListView::InsertItem(int index, std::u16string_view text) {
    if (index < 0 || index > ItemCount()) index = ItemCount();
    Row row;
    row.cells.emplace_back(text);
    rows_.insert(rows_.begin() + index, std::move(row));
    if (mark_ >= index) ++mark_;
    return index;
}

bool CListView::SetItemText(int row, int column, std::u16string_view text) {
    if (row < 0 || row >= ItemCount() || column < 0 || column >= std::max(1, ColumnCount())) return false;
    auto& cells = rows_[static_cast<size_t>(row)].cells;
    if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
    cells[static_cast<size_t>(column)] = std::u16string(text);
    return true;
}

std::u16string CListView::ItemText(int row, int column) const {
    if (row < 0 || row >= ItemCount() || column < 0) return {};
    const auto& cells = rows_[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : std::u16string();
}

bool CListView::DeleteItem(int row) {
    if (row < 0 || row >= ItemCount()) return false;
    rows_.erase(rows_.begin() + row);
    if (mark_ == row) {
        mark_ = -1;
    } else if (mark_ > row) {
        --mark_;
    }
    return true;
}

void CListView::DeleteAllItems() {
    rows_.clear();
    mark_ = -1;
}

std::vector<std::u16string> CListView::RowCells(int row) const {
    std::vector<std::u16string> cells;
    for (int column = 0; column < std::max(1, ColumnCount()); ++column) cells.push_back(ItemText(row, column));
    return cells;
}

bool CListView::SetItemSelected(int row, bool selected) {
    if (row < 0 || row >= ItemCount()) return false;
    rows_[static_cast<size_t>(row)].selected = selected;
    return true;
}

bool CListView::IsItemSelected(int row) const {
    return row >= 0 && row < ItemCount() && rows_[static_cast<size_t>(row)].selected;
}

int CListView::NextSelected(int start) const {
    for (int row = std::max(0, start + 1); row < ItemCount(); ++row) {
        if (rows_[static_cast<size_t>(row)].selected) return row;
    }
    return -1;
}

// ---- progress bar and track bar ----

void CRangeControl::SetRange(int minimum, int maximum) {
    if (minimum > maximum) std::swap(minimum, maximum);
    min_ = minimum;
    max_ = maximum;
    pos_ = Clamp(pos_, min_, max_);
}

int CRangeControl::SetPos(int position) {
    int previous = pos_;
    pos_ = Clamp(position, min_, max_);
    return previous;
}

}  // namespace kw::ui
