// The windows under Qt's offscreen platform: every dialog drawn in English and in German with
// each visible control inside its window, no overlaps but group boxes round their members and no
// text cut; the mouse and the keyboard in a window giving the very events and device calls the
// console's commands give; a language switch redrawing every open window; pictures of windows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/qt/dialog_window.h"
#include "platform/qt/qt_screen.h"
#include "src/dialogs/advanced_setting_dlg.h"
#include "src/dialogs/ap_setting_dlg.h"
#include "src/dialogs/dialog_chain.h"
#include "src/dialogs/information_dlg.h"
#include "src/dialogs/mac_filter_dlg.h"
#include "src/dialogs/more_setting_dlg.h"
#include "src/dialogs/wep_key_dlg.h"
#include "src/dialogs/wep_key_info_dlg.h"
#include "src/dialogs/wpa_setting_dlg.h"
#include "src/lang/language_table.h"
#include "tests/mainwnd/main_window_fixture.h"

namespace kwtest {
namespace {

using kw::qt::CDialogWindow;
using kw::ui::CDialog;

QApplication& App() {
    static int argc = 1;
    static char name[] = "qt_screen_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept until the process ends: taking it down among the other statics crashes at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

int ControlId(const QWidget* widget) {
    QString name = widget->objectName();
    return name.startsWith(QStringLiteral("control")) ? name.mid(7).toInt() : 0;
}

std::string Describe(const CDialogWindow& window, const QWidget* widget) {
    return window.windowTitle().toStdString() + " control " + std::to_string(ControlId(widget));
}

// Whether the widget's text fits the place it was given.
bool TextFits(QWidget* widget) {
    QSize room = widget->size();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text().isEmpty()) return true;
        if (label->wordWrap()) return label->heightForWidth(room.width()) <= room.height();
        return label->sizeHint().width() <= room.width() && label->sizeHint().height() <= room.height() + 2;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->fontMetrics().horizontalAdvance(group->title()) + 16 <= room.width();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->sizeHint().width() <= room.width();
    return true;
}

// What is wrong with a drawn window, one line each.
std::vector<std::string> DrawingProblems(const CDialogWindow& window) {
    std::vector<QWidget*> shown;
    for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (ControlId(child) != 0 && child->isVisibleTo(&window)) shown.push_back(child);
    }
    std::vector<std::string> problems;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (!window.rect().contains(shown[i]->geometry())) problems.push_back(Describe(window, shown[i]) + " leaves the window");
        if (!TextFits(shown[i])) {
            problems.push_back(Describe(window, shown[i]) + " cuts its text \"" +
                               shown[i]->property("text").toString().toStdString() + "\"");
        }
        for (size_t j = i + 1; j < shown.size(); ++j) {
            QRect a = shown[i]->geometry(), b = shown[j]->geometry();
            if (!a.intersects(b)) continue;
            bool grouped = (qobject_cast<QGroupBox*>(shown[i]) && a.contains(b)) ||
                           (qobject_cast<QGroupBox*>(shown[j]) && b.contains(a));
            if (!grouped) problems.push_back(Describe(window, shown[i]) + " overlaps control " + std::to_string(ControlId(shown[j])));
        }
    }
    return problems;
}

class QtScreenTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        App();
        ASSERT_TRUE(kw::Language().Load(std::string(KW_TEST_DATA_DIR) + "/KWMLa.INI", u"LANGUAGES"));
        OpenAdapter();
        kw::qt::ScreenOptions options;
        options.inner = &user;
        screen = std::make_unique<kw::qt::CQtScreen>(options);
        screen->Attach();
    }
    void TearDown() override {
        screen.reset();
        kw::SetLanguageChoiceHandler({});
        kw::Language().Load("", u"LANGUAGES");
        MainWindowTest::TearDown();
    }

    CDialogWindow& Window(CDialog& d) {
        screen->Sync();
        CDialogWindow* window = screen->WindowOf(d.Handle());
        if (!window) throw std::runtime_error("no window for " + std::to_string(d.ResourceId()));
        return *window;
    }
    template <typename Widget>
    Widget* Control(CDialog& d, int id) {
        return qobject_cast<Widget*>(Window(d).ControlWidget(id));
    }
    // Checks the active dialog's window as drawn, then closes it.
    void CheckAndClose(std::vector<std::string>& problems, std::vector<int>& checked) {
        user.Run([&](CDialog& d) {
            CDialogWindow& window = Window(d);
            if (!window.isVisible()) problems.push_back("dialog " + std::to_string(d.ResourceId()) + " is not shown");
            for (const auto& problem : DrawingProblems(window)) problems.push_back(problem);
            checked.push_back(d.ResourceId());
        });
        user.Close();
    }

    std::unique_ptr<kw::qt::CQtScreen> screen;
};

TEST_F(QtScreenTest, EveryDialogIsDrawnTidilyInEnglishAndInGerman) {
    for (int language : {1, 2}) {
        ASSERT_TRUE(kw::Language().Select(language));
        std::vector<std::string> problems;
        std::vector<int> checked;
        auto run = [&](CDialog&& dialog) {
            CheckAndClose(problems, checked);
            dialog.DoModal();
        };
        run(kw::CWpaSettingDlg());
        run(kw::CWepKeyDlg());
        run(kw::CWepKeyInfoDlg());
        run(kw::CMoreSettingDlg());
        run(kw::CAdvancedSettingDlg());
        run(kw::CInformationDlg());
        run(kw::CApSettingDlg());
        run(kw::CMacFilterDlg());
        // The main window, opened from the icon and given time to fill its panels.
        World(kOneAdapter + kOpenNetwork);
        user.Run([](CDialog&) { kw::shell::UseIcon(kw::shell::IconMouse::DoubleClick); }).Tick(3);
        CheckAndClose(problems, checked);
        user.Run([](CDialog& d) { d.PostCommand(kw::kCmdExit); });
        Run();
        EXPECT_THAT(checked, ::testing::ElementsAre(195, 157, 196, 130, 159, 161, 190, 191, 156)) << "language " << language;
        EXPECT_THAT(problems, ::testing::IsEmpty()) << "language " << language;
    }
}

// The same actions, once as commands and once in the window, leave the same event lines and
// the same calls into the device library.
TEST_F(QtScreenTest, MouseAndKeyboardInAWindowGiveTheConsoleEvents) {
    using namespace kw::wepdlg;
    auto byCommands = [this] {
        user.Click(kChangeApply).Select(kDefaultKeyCombo, 1).Type(kKeyFields[1], u"0A0b0C0d0E").Click(kChangeApply);
    };
    auto inWindow = [this] {
        user.Run([this](CDialog& d) { Control<QPushButton>(d, kChangeApply)->click(); });
        user.Run([this](CDialog& d) { Q_EMIT Control<QComboBox>(d, kDefaultKeyCombo)->activated(1); });
        user.Run([this](CDialog& d) {
            QLineEdit* edit = Control<QLineEdit>(d, kKeyFields[1]);
            edit->setText(QStringLiteral("0A0b0C0d0E"));
            Q_EMIT edit->textEdited(edit->text());
        });
        user.Run([this](CDialog& d) { Control<QPushButton>(d, kChangeApply)->click(); });
    };
    std::vector<std::string> lines[2], calls[2];
    for (int pass = 0; pass < 2; ++pass) {
        kw::sim::ClearCallLog();
        size_t before = user.Lines().size();
        pass == 0 ? byCommands() : inWindow();
        kw::CWepKeyDlg dialog;
        dialog.SetParentDialogId(1);
        dialog.DoModal();
        auto all = user.Lines();
        lines[pass].assign(all.begin() + static_cast<long>(before), all.end());
        calls[pass] = Calls("SetWL_WriteKey");
    }
    EXPECT_THAT(lines[1], ::testing::Contains(::testing::HasSubstr("window: open")));
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_THAT(calls[0], ::testing::Contains("SetWL_WriteKey(1, 0, 1, [0A 0B 0C 0D 0E]) = 0"));
    EXPECT_EQ(calls[0], calls[1]);
    EXPECT_THAT(user.Errors(), ::testing::IsEmpty());
}

TEST_F(QtScreenTest, EnterAndEscapeInAWindowAreTheConsoleKeysAndTheCloseBoxIsClose) {
    std::vector<int> results;
    user.Run([this](CDialog& d) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&Window(d), &enter);
    });
    results.push_back(kw::CInformationDlg().DoModal());
    user.Run([this](CDialog& d) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&Window(d), &escape);
    });
    results.push_back(kw::CInformationDlg().DoModal());
    user.Run([this](CDialog& d) { Window(d).close(); });
    results.push_back(kw::CInformationDlg().DoModal());
    EXPECT_THAT(results, ::testing::ElementsAre(kw::ui::IDOK, kw::ui::IDCANCEL, kw::ui::IDCANCEL));
    EXPECT_THAT(user.Errors(), ::testing::IsEmpty());
}

TEST_F(QtScreenTest, ALanguageChosenInAWindowRedrawsEveryOpenWindow) {
    kw::SetLanguageChoiceHandler([](int index) {
        kw::Language().Select(index + 1);
        kw::RelocaliseDialogChain([] {});
    });
    ASSERT_TRUE(kw::Language().Select(1));
    std::vector<std::string> seen;
    user.WhenOpened(kw::advdlg::kResource, [&](CDialog&) {
        user.Run([this](CDialog& d) { Q_EMIT Control<QComboBox>(d, kw::advdlg::kLanguageList)->activated(1); });
        user.Run([&](CDialog& d) {
            CDialog& general = *kw::ChainedDialog(kw::kDialogIdGeneral);
            screen->Sync();
            seen.push_back(Window(d).windowTitle().toStdString());
            seen.push_back(Control<QGroupBox>(d, kw::advdlg::kPowerGroup)->title().toStdString());
            seen.push_back(Window(general).windowTitle().toStdString());
            seen.push_back(Control<QGroupBox>(general, kw::moredlg::kGeneralGroup)->title().toStdString());
            seen.push_back(Control<QPushButton>(general, kw::moredlg::kLoadProfile)->text().toStdString());
        });
        user.Close();
    });
    user.Click(kw::moredlg::kAdvancedButton).Close();
    kw::CMoreSettingDlg general;
    general.DoModal();
    EXPECT_THAT(seen, ::testing::ElementsAre("Erweiterte Einstellungen...", "Energieverbrauch", "Weitere Einstellungen...  ",
                                             "Allgemeine Verbindungseinstellungen", "Laden"));
}

// Each turn of the loop syncs the tray icon; giving it its picture again would repaint it on
// every turn and keep the program busy while nothing happens.
TEST_F(QtScreenTest, TheTrayIconGetsItsPictureOnlyWhenThePictureChanges) {
    using namespace kw::shell;
    std::vector<qint64> keys;
    user.Run([&](CDialog& d) {
        NotifyIconData record;
        record.window = d.Handle();
        record.flags = kNotifyIcon;
        record.icon = 189;
        ASSERT_TRUE(NotifyIcon(NotifyAction::Add, record));
        for (kw::ui::IconHandle icon : {189u, 189u, 192u, 192u}) {
            record.icon = icon;
            ASSERT_TRUE(NotifyIcon(NotifyAction::Modify, record));
            screen->Sync();
            keys.push_back(screen->TrayIcon()->icon().cacheKey());
        }
        NotifyIcon(NotifyAction::Delete, record);
    });
    user.Close();
    kw::CInformationDlg().DoModal();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_NE(keys[0], 0);
    EXPECT_EQ(keys[1], keys[0]);
    EXPECT_NE(keys[2], keys[1]);
    EXPECT_EQ(keys[3], keys[2]);
}

// The same for a window's own icon: a fresh picture for the same icon on every turn kept an idle
// program busy.
TEST_F(QtScreenTest, AWindowGetsItsIconOnlyWhenTheIconChanges) {
    std::vector<qint64> keys;
    user.Run([&](CDialog& d) {
        for (kw::ui::IconHandle icon : {128u, 128u, 175u, 175u}) {
            d.SetIcon(icon);
            screen->Sync();
            keys.push_back(Window(d).windowIcon().cacheKey());
        }
    });
    user.Close();
    kw::CInformationDlg().DoModal();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[1], keys[0]);
    EXPECT_NE(keys[2], keys[1]);
    EXPECT_EQ(keys[3], keys[2]);
}

TEST_F(QtScreenTest, PicturesOfTheActiveWindowAndOfTheNextMessageBox) {
    using namespace kw::wepdlg;
    std::filesystem::path folder = std::filesystem::path(root_.path()) / "snaps";
    std::filesystem::create_directories(folder);
    std::string windowPicture = (folder / "wep.png").string(), boxPicture = (folder / "box.png").string();
    std::vector<std::string> errors;
    int answer = 0;
    user.Run([&](CDialog& d) {
        errors.push_back(screen->Snap(windowPicture));
        errors.push_back(screen->Snap((folder / "missing" / "x.png").string()));
        screen->SnapNextMessageBox(boxPicture);
        answer = kw::ui::ShowMessageBox(&d, u"Use the settings?", u"Question", kw::ui::MessageBoxButtons::YesNo,
                                        kw::ui::MessageBoxIcon::Question);
    });
    user.Answer(kw::ui::IDNO).Close();
    kw::CWepKeyDlg dialog;
    dialog.DoModal();
    EXPECT_EQ(answer, kw::ui::IDNO);
    EXPECT_THAT(errors, ::testing::ElementsAre("", "cannot write " + (folder / "missing" / "x.png").string()));
    QImage window(QString::fromStdString(windowPicture)), box(QString::fromStdString(boxPicture));
    ASSERT_FALSE(window.isNull());
    ASSERT_FALSE(box.isNull());
    // A blue caption bar above the grey client area.
    EXPECT_GT(qBlue(window.pixel(5, 5)), qRed(window.pixel(5, 5)) + 40);
    EXPECT_NE(window.pixel(5, 5), window.pixel(5, window.height() - 5));
    EXPECT_GT(window.width(), 400);
    EXPECT_THAT(user.Lines(), ::testing::Contains("messagebox: \"Question\" \"Use the settings?\" [yes/no] -> no"));
}

}  // namespace
}  // namespace kwtest
