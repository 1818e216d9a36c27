#include "platform/ui/window_text.h"

#include "platform/text.h"
#include "platform/ui/input_source.h"

namespace kw::ui {

namespace {

std::u16string JoinCells(const std::vector<std::u16string>& cells) {
    std::u16string joined;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) joined += u" | ";
        joined += cells[i];
    }
    return joined;
}

std::u16string ShownText(const CControl& control) {
    if (auto* edit = dynamic_cast<const CEdit*>(&control)) return edit->DisplayText();
    if (auto* icon = dynamic_cast<const CStatic*>(&control); icon && control.Kind() == ControlKind::Icon) {
        return icon->Icon() ? FromUtf8(std::to_string(icon->Icon())) : std::u16string();
    }
    if (auto* view = dynamic_cast<const CListView*>(&control)) {
        std::vector<std::u16string> titles;
        for (int i = 0; i < view->ColumnCount(); ++i) titles.push_back(view->Column(i)->title);
        return JoinCells(titles);
    }
    return control.Text();
}

}  // namespace

std::string DescribeControl(const CControl& control) {
    std::string line =
        std::to_string(control.Id()) + " " + KindName(control.Kind()) + " " + QuoteText(ShownText(control));
    if (!control.IsVisible()) line += " hidden";
    if (!control.IsEnabled()) line += " disabled";
    if (auto* button = dynamic_cast<const CButton*>(&control); button && button->IsChecked()) line += " checked";
    if (auto* combo = dynamic_cast<const CComboBox*>(&control)) line += " sel=" + std::to_string(combo->CurSel());
    if (auto* list = dynamic_cast<const CListBox*>(&control)) line += " sel=" + std::to_string(list->CurSel());
    if (auto* view = dynamic_cast<const CListView*>(&control)) line += " sel=" + std::to_string(view->SelectionMark());
    if (auto* range = dynamic_cast<const CRangeControl*>(&control)) {
        line += " pos=" + std::to_string(range->Pos());
        line += " range=" + std::to_string(range->RangeMin()) + ".." + std::to_string(range->RangeMax());
    }
    return line;
}

std::string DescribeWindow(const CWnd& window) {
    std::string line = "window " + QuoteText(window.Caption());
    if (!window.IsVisible()) line += " hidden";
    return line;
}

std::vector<std::string> DescribeDialog(const CDialog& dialog) {
    std::vector<std::string> lines{DescribeWindow(dialog)};
    for (const auto& control : dialog.Controls()) lines.push_back(DescribeControl(*control));
    return lines;
}

bool HasItems(const CControl& control) {
    return dynamic_cast<const CItemList*>(&control) || dynamic_cast<const CListView*>(&control);
}

std::vector<std::string> DescribeItems(const CControl& control) {
    std::vector<std::string> lines;
    if (auto* list = dynamic_cast<const CItemList*>(&control)) {
        for (int i = 0; i < list->Count(); ++i) lines.push_back(std::to_string(i) + ": " + ToUtf8(list->ItemText(i)));
    } else if (auto* view = dynamic_cast<const CListView*>(&control)) {
        for (int row = 0; row < view->ItemCount(); ++row) {
            lines.push_back(std::to_string(row) + ": " + ToUtf8(JoinCells(view->RowCells(row))));
        }
    }
    return lines;
}

}  // namespace kw::ui
