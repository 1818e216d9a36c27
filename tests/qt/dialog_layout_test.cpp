// The layouts in the templates, read without drawing anything: every control inside its window,
// none overlapping another except a group box round its members, and the automatic arrangement
// of controls that have no place of their own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "src/dialogs/advanced_setting_dlg.h"
#include "src/dialogs/ap_setting_dlg.h"
#include "src/dialogs/information_dlg.h"
#include "src/dialogs/mac_filter_dlg.h"
#include "src/dialogs/more_setting_dlg.h"
#include "src/dialogs/wep_key_dlg.h"
#include "src/dialogs/wep_key_info_dlg.h"
#include "src/dialogs/wpa_setting_dlg.h"
#include "src/mainwnd/kwconfig_dlg.h"

namespace kwtest {
namespace {

using kw::ui::ControlKind;
using kw::ui::DialogTemplate;
using kw::ui::Rect;

std::vector<DialogTemplate> ProgramTemplates() {
    return {kw::CKWConfigDlg::MainTemplate(),     kw::CWpaSettingDlg::Template(),      kw::CWepKeyDlg::Template(),
            kw::CWepKeyInfoDlg::Template(),       kw::CMoreSettingDlg::Template(),     kw::CAdvancedSettingDlg::Template(),
            kw::CInformationDlg::Template(),      kw::CApSettingDlg::Template(),       kw::CMacFilterDlg::Template()};
}

std::string Name(const DialogTemplate& t, size_t index) {
    return "dialog " + std::to_string(t.resourceId) + " control " + std::to_string(t.controls[index].id);
}

// Problems of one layout, one line each; empty when it is tidy.
std::vector<std::string> LayoutProblems(const DialogTemplate& t) {
    std::vector<std::string> problems;
    kw::ui::DialogLayout layout = kw::ui::LayoutOf(t);
    Rect client{0, 0, layout.width, layout.height};
    for (size_t i = 0; i < t.controls.size(); ++i) {
        if (!kw::ui::Contains(client, layout.rects[i])) problems.push_back(Name(t, i) + " leaves the window");
        for (size_t j = i + 1; j < t.controls.size(); ++j) {
            if (!kw::ui::Overlaps(layout.rects[i], layout.rects[j])) continue;
            bool iHoldsJ = t.controls[i].kind == ControlKind::GroupBox && kw::ui::Contains(layout.rects[i], layout.rects[j]);
            bool jHoldsI = t.controls[j].kind == ControlKind::GroupBox && kw::ui::Contains(layout.rects[j], layout.rects[i]);
            if (!iHoldsJ && !jHoldsI) problems.push_back(Name(t, i) + " overlaps " + Name(t, j));
        }
    }
    return problems;
}

TEST(DialogLayoutTest, EveryProgramDialogPlacesEachControlInsideWithoutOverlap) {
    for (const DialogTemplate& t : ProgramTemplates()) {
        for (const auto& control : t.controls) {
            EXPECT_GT(control.rect.width, 0) << "dialog " << t.resourceId << " control " << control.id << " has no place";
        }
        kw::ui::DialogLayout layout = kw::ui::LayoutOf(t);
        EXPECT_EQ(layout.width, t.width);
        EXPECT_EQ(layout.height, t.height) << "dialog " << t.resourceId;
        for (const std::string& problem : LayoutProblems(t)) ADD_FAILURE() << problem;
    }
}

TEST(DialogLayoutTest, TheWpaSettingsSizeIsKept) {
    EXPECT_EQ(kw::CWpaSettingDlg::Template().width, 215);
    EXPECT_EQ(kw::CWpaSettingDlg::Template().height, 241);
}

TEST(DialogLayoutTest, TheCheckFindsAnOverlapAndAControlOutside) {
    DialogTemplate t;
    t.width = 100;
    t.height = 50;
    t.controls = {{1, ControlKind::GroupBox, u"", 0, {5, 5, 90, 40}},
                  {2, ControlKind::Label, u"", 0, {10, 15, 40, 8}},
                  {3, ControlKind::Edit, u"", 0, {45, 15, 40, 12}},
                  {4, ControlKind::PushButton, u"", 0, {80, 40, 30, 14}}};
    std::vector<std::string> problems = LayoutProblems(t);
    EXPECT_EQ(problems, (std::vector<std::string>{"dialog 0 control 1 overlaps dialog 0 control 4",
                                                  "dialog 0 control 2 overlaps dialog 0 control 3",
                                                  "dialog 0 control 4 leaves the window"}));
}

TEST(DialogLayoutTest, ControlsWithoutAPlaceGoInOneColumnBelowTheOthers) {
    DialogTemplate t;
    t.width = 120;
    t.height = 40;
    t.controls = {{1, ControlKind::PushButton, u"OK", 0, {10, 10, 50, 14}},
                  {2, ControlKind::Label, u"new", 0, {}},
                  {3, ControlKind::Edit, u"", 0, {}}};
    kw::ui::DialogLayout layout = kw::ui::LayoutOf(t);
    ASSERT_EQ(layout.rects.size(), 3u);
    EXPECT_EQ(layout.rects[1].y, 28);
    EXPECT_EQ(layout.rects[1].x, 7);
    EXPECT_EQ(layout.rects[1].width, 106);
    EXPECT_EQ(layout.rects[2].y, 28 + 8 + 4);
    EXPECT_EQ(layout.height, 40 + 12 + 7);
    EXPECT_TRUE(LayoutProblems(t).empty());

    DialogTemplate bare;
    bare.controls = {{1, ControlKind::Label, u"a", 0, {}}, {2, ControlKind::PushButton, u"b", 0, {}}};
    kw::ui::DialogLayout bareLayout = kw::ui::LayoutOf(bare);
    EXPECT_EQ(bareLayout.rects[0].y, 7);
    EXPECT_EQ(bareLayout.rects[1].y, 7 + 8 + 4);
    EXPECT_TRUE(LayoutProblems(bare).empty());
}

}  // namespace
}  // namespace kwtest
