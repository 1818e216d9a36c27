#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/text.h"
#include "platform/ui/control.h"
#include "platform/ui/window_text.h"

namespace {

using namespace kw::ui;
using ::testing::ElementsAre;

void Fill(CComboBox& combo, std::initializer_list<const char16_t*> items) {
    for (const char16_t* item : items) combo.AddString(item);
}

TEST(ControlTest, PrefixSearchIgnoresCaseAndWrapsFromTheStart) {
    CComboBox combo(nullptr, 1, u"", 0);
    Fill(combo, {u"Alpha", u"beta", u"Alphabet", u"\u00C9mile"});
    struct Case {
        int start;
        const char16_t* prefix;
        int found;
    };
    const Case cases[] = {
        {-1, u"al", 0}, {0, u"al", 2}, {2, u"AL", 0},  {-1, u"\u00E9MI", 3},
        {-1, u"", 0},   {-1, u"z", -1}, {7, u"B", 1}, {-1, u"alphabets", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(combo.FindStringPrefix(c.start, c.prefix), c.found) << c.start << " " << kw::ToUtf8(c.prefix);
    }
    EXPECT_EQ(combo.FindStringExact(-1, u"ALPHABET"), 2);
}

TEST(ControlTest, ItemListsKeepTheSelectionOnTheSameItem) {
    CComboBox combo(nullptr, 1, u"", 0);
    Fill(combo, {u"a", u"b", u"c"});
    EXPECT_EQ(combo.InsertString(4, u"x"), -1);
    EXPECT_EQ(combo.InsertString(3, u"d"), 3);
    combo.SetCurSel(2);
    combo.InsertString(0, u"first");
    EXPECT_EQ(combo.CurSel(), 3);
    EXPECT_EQ(combo.DeleteString(0), 4);
    EXPECT_EQ(combo.CurSel(), 2);
    EXPECT_EQ(combo.DeleteString(2), 3);
    EXPECT_EQ(combo.CurSel(), -1);
    EXPECT_EQ(combo.DeleteString(3), -1);
    EXPECT_EQ(combo.ItemText(-1), u"");
    combo.SetText(u"typed");
    combo.ResetContent();
    EXPECT_EQ(combo.Count(), 0);
    EXPECT_EQ(combo.Text(), u"");

    CComboBox list(nullptr, 1, u"", kDropDownList);
    Fill(list, {u"a"});
    list.SetText(u"ignored");
    EXPECT_EQ(list.Text(), u"");
    list.SetCurSel(0);
    EXPECT_EQ(list.Text(), u"a");
}

TEST(ControlTest, EditSelectionAndRangesStayInBounds) {
    CEdit edit(nullptr, 1, u"abc", 0);
    edit.SetSel(5, -1);
    EXPECT_EQ(edit.SelStart(), 3);
    EXPECT_EQ(edit.SelEnd(), 3);
    edit.SetSel(2, 0);
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.SelEnd(), 2);
    edit.SetLimitText(0);
    EXPECT_EQ(edit.LimitText(), CEdit::kDefaultLimit);

    CTrackBar bar(nullptr, 2, ControlKind::TrackBar, u"", 0);
    bar.SetPos(50);
    bar.SetRange(100, 10);  // put in order; the position moves inside
    EXPECT_EQ(bar.RangeMin(), 10);
    EXPECT_EQ(bar.RangeMax(), 100);
    EXPECT_EQ(bar.Pos(), 50);
    EXPECT_EQ(bar.SetPos(-5), 50);
    EXPECT_EQ(bar.Pos(), 10);
}

TEST(ControlTest, ListViewCellsFollowTheColumns) {
    CListView view(nullptr, 3, ControlKind::ListView, u"", 0);
    EXPECT_EQ(view.InsertColumn(1, u"gap", Align::Left, 10), -1);
    view.InsertColumn(0, u"SSID", Align::Left, 105);
    view.InsertColumn(1, u"Strength", Align::Right, 64);
    int row = view.InsertItem(99, u"Home");
    EXPECT_EQ(row, 0);
    EXPECT_FALSE(view.SetItemText(0, 2, u"beyond"));
    EXPECT_FALSE(view.SetItemText(1, 0, u"no row"));
    EXPECT_THAT(view.RowCells(0), ElementsAre(u"Home", u""));
    view.SetItemText(0, 1, u"50%");
    view.SetSelectionMark(0);
    EXPECT_TRUE(view.DeleteColumn(0));
    EXPECT_THAT(view.RowCells(0), ElementsAre(u"50%"));
    EXPECT_TRUE(view.DeleteItem(0));
    EXPECT_EQ(view.SelectionMark(), -1);
    EXPECT_FALSE(view.DeleteItem(0));
}

TEST(ControlTest, DescriptionsShowStateFlags) {
    CButton check(nullptr, 21, ControlKind::CheckBox, u"Say \"hi\"", kDisabled);
    check.SetCheck(true);
    EXPECT_EQ(DescribeControl(check), "21 check \"Say \\\"hi\\\"\" disabled checked");
    CStatic label(nullptr, 10, ControlKind::Label, u"two\nlines", kHidden);
    EXPECT_EQ(DescribeControl(label), "10 label \"two\\nlines\" hidden");
    CComboBox combo(nullptr, 1, u"", 0);
    Fill(combo, {u"x"});
    EXPECT_EQ(DescribeControl(combo), "1 combo \"\" sel=-1");
    CProgressBar bar(nullptr, 70, ControlKind::ProgressBar, u"", 0);
    bar.SetPos(40);
    EXPECT_EQ(DescribeControl(bar), "70 progress \"\" pos=40 range=0..100");
}

}  // namespace
