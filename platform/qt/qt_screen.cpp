#include "platform/qt/qt_screen.h"

#include <poll.h>

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <iostream>
#include <thread>

#include "platform/qt/dialog_window.h"
#include "platform/qt/icons.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/dialog.h"
#include "platform/ui/window.h"

namespace kw::qt {

namespace {

// The longest the windows wait before the framework looks at its queue again: work posted from
// other threads does not wake the windows.
constexpr int kLongestWaitMs = 50;

std::thread::id g_uiThread;

QString ToQ(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon BoxIcon(ui::MessageBoxIcon icon) {
    switch (icon) {
        case ui::MessageBoxIcon::Information: return QMessageBox::Information;
        case ui::MessageBoxIcon::Question: return QMessageBox::Question;
        case ui::MessageBoxIcon::Warning: return QMessageBox::Warning;
        case ui::MessageBoxIcon::Error: return QMessageBox::Critical;
        case ui::MessageBoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

int AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Yes: return ui::IDYES;
        case QMessageBox::No: return ui::IDNO;
        default: return ui::IDOK;
    }
}

}  // namespace

bool WriteWindowPicture(QWidget& window, const std::string& path) {
    QPixmap client = window.grab();
    QFont captionFont = window.font();
    captionFont.setBold(true);
    const int bar = QFontMetrics(captionFont).height() + 10;
    const qreal ratio = client.devicePixelRatio();
    QImage picture(QSize(client.width() / ratio + 2, client.height() / ratio + bar + 1), QImage::Format_RGB32);
    picture.fill(window.palette().color(QPalette::Window));
    QPainter painter(&picture);
    QLinearGradient shade(0, 0, picture.width(), 0);
    shade.setColorAt(0, QColor(0x0A, 0x24, 0x6A));
    shade.setColorAt(1, QColor(0x3A, 0x6E, 0xA5));
    painter.fillRect(QRect(0, 0, picture.width(), bar), shade);
    int textLeft = 6;
    QIcon icon = window.windowIcon();
    if (!icon.isNull()) {
        painter.drawPixmap(4, (bar - 16) / 2, icon.pixmap(16, 16));
        textLeft = 24;
    }
    painter.setFont(captionFont);
    painter.setPen(Qt::white);
    painter.drawText(QRect(textLeft, 0, picture.width() - textLeft - 4, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawPixmap(QRect(1, bar, client.width() / ratio, client.height() / ratio), client);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(0, 0, picture.width() - 1, picture.height() - 1);
    painter.end();
    return picture.save(QString::fromStdString(path), "PNG");
}

CQtScreen::CQtScreen(ScreenOptions options) : options_(std::move(options)) {
    tray_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) { OnTrayActivated(reason); });
}

CQtScreen::~CQtScreen() {
    if (ui::InputSource() == this) ui::SetInputSource(options_.inner);
}

void CQtScreen::Attach() {
    g_uiThread = std::this_thread::get_id();
    ui::SetInputSource(this);
}

bool CQtScreen::InnerEnded() const { return options_.innerEnded && options_.innerEnded(); }

bool CQtScreen::InnerHasInput() const {
    if (options_.innerFd < 0) return true;
    if (options_.innerFd == 0 && std::cin.rdbuf()->in_avail() > 0) return true;
    pollfd waiter{options_.innerFd, POLLIN, 0};
    return ::poll(&waiter, 1, 0) > 0;
}

CDialogWindow* CQtScreen::WindowOf(ui::WindowHandle dialog) const {
    auto found = windows_.find(dialog);
    return found == windows_.end() ? nullptr : found->second.get();
}

void CQtScreen::Sync() {
    for (auto it = windows_.begin(); it != windows_.end();) {
        auto* dialog = dynamic_cast<ui::CDialog*>(ui::FromHandle(it->first));
        it = dialog && dialog->IsRunning() ? std::next(it) : windows_.erase(it);
    }
    for (ui::CWnd* window : ui::ThreadWindows()) {
        auto* dialog = dynamic_cast<ui::CDialog*>(window);
        if (dialog && dialog->IsRunning() && !windows_.count(dialog->Handle())) {
            windows_[dialog->Handle()] = std::make_unique<CDialogWindow>(*dialog);
        }
    }
    for (auto& [handle, window] : windows_) {
        bool wasVisible = window->isVisible();
        window->Sync();
        if (!wasVisible && window->isVisible()) {
            window->raise();
            window->activateWindow();
        }
    }
    SyncTray();
}

void CQtScreen::SyncTray() {
    std::vector<shell::ShownIcon> icons = shell::NotificationIcons();
    if (icons.empty()) {
        if (tray_->isVisible()) tray_->hide();
        return;
    }
    const shell::ShownIcon& newest = icons.back();
    // Not a property of the tray icon: it has an "icon" property of its own, which a number
    // never matches, and setting the picture repaints the icon.
    if (trayIconShown_ != newest.icon) {
        trayIconShown_ = newest.icon;
        tray_->setIcon(IconOf(newest.icon));
    }
    if (tray_->toolTip() != ToQ(newest.tip)) tray_->setToolTip(ToQ(newest.tip));
    if (!tray_->isVisible() && !tray_->icon().isNull()) tray_->show();
}

void CQtScreen::OnTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    std::string refusal;
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            refusal = shell::UseIcon(shell::IconMouse::Click);
            break;
        case QSystemTrayIcon::DoubleClick:
            refusal = shell::UseIcon(shell::IconMouse::DoubleClick);
            break;
        case QSystemTrayIcon::Context:
            menuFromWindow_ = true;
            refusal = shell::UseIcon(shell::IconMouse::RightClick);
            break;
        default:
            return;
    }
    if (!refusal.empty()) {
        menuFromWindow_ = false;
        ui::ReportEvent("error: " + refusal);
    }
}

void CQtScreen::WaitForEvents(int timeoutMs) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(std::max(0, timeoutMs));
    std::unique_ptr<QSocketNotifier> input;
    if (options_.inner && options_.innerFd >= 0) {
        input = std::make_unique<QSocketNotifier>(options_.innerFd, QSocketNotifier::Read);
        // Waking is all it is for: the inner source reads the input itself.
        QObject::connect(input.get(), &QSocketNotifier::activated, input.get(), [&input] { input->setEnabled(false); });
    }
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool CQtScreen::Step() {
    Sync();
    if (options_.inner && InnerEnded()) return false;
    if (options_.inner && (!steppedInner_ || InnerHasInput())) {
        steppedInner_ = true;
        bool more = options_.inner->Step();
        Sync();
        QApplication::processEvents();
        return more;
    }
    int64_t untilTimer = ui::MsUntilNextTimer();
    WaitForEvents(untilTimer < 0 ? kLongestWaitMs : static_cast<int>(std::min<int64_t>(untilTimer, kLongestWaitMs)));
    return true;
}

int CQtScreen::AnswerMessageBox(const ui::MessageBoxRequest& box) {
    auto fromInner = [&] { return options_.inner ? options_.inner->AnswerMessageBox(box) : ui::FirstButton(box.buttons); };
    if (std::this_thread::get_id() != g_uiThread) return fromInner();
    QWidget* owner = nullptr;
    if (ui::CDialog* active = ui::ActiveDialog()) {
        CDialogWindow* window = WindowOf(active->Handle());
        if (window && window->isVisible()) owner = window;
    }
    bool yesNo = box.buttons == ui::MessageBoxButtons::YesNo;
    QMessageBox shown(BoxIcon(box.icon), ToQ(box.caption), ToQ(box.text),
                      yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    shown.setWindowModality(Qt::ApplicationModal);
    shown.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    if (!boxSnapPath_.empty()) {
        shown.show();
        QApplication::processEvents();
        if (!WriteWindowPicture(shown, boxSnapPath_)) ui::ReportEvent("error: cannot write " + boxSnapPath_);
        boxSnapPath_.clear();
    }
    if (!options_.interactive && options_.inner) {
        shown.show();
        QApplication::processEvents();
        return fromInner();
    }
    shownBox_ = &shown;
    int button = shown.exec();
    shownBox_ = nullptr;
    return AnswerOf(button);
}

int CQtScreen::ChooseMenuCommand(const std::vector<ui::MenuEntry>& entries) {
    if (!menuFromWindow_) return options_.inner ? options_.inner->ChooseMenuCommand(entries) : 0;
    menuFromWindow_ = false;
    QMenu menu;
    for (const ui::MenuEntry& entry : entries) {
        QAction* action = menu.addAction(ToQ(entry.text).replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setData(entry.command);
        if (entry.isDefault) menu.setDefaultAction(action);
    }
    QAction* chosen = menu.exec(QCursor::pos());
    return chosen ? chosen->data().toInt() : 0;
}

void CQtScreen::OnEvent(const std::string& line) {
    if (options_.inner) options_.inner->OnEvent(line);
}

void CQtScreen::OnFrameEvent(const std::string& line) {
    if (options_.inner) options_.inner->OnFrameEvent(line);
}

void CQtScreen::OnDialogOpened(ui::CDialog& dialog) {
    Sync();
    if (options_.inner) options_.inner->OnDialogOpened(dialog);
}

std::string CQtScreen::Snap(const std::string& path) {
    if (path.empty()) return "snap takes a file name";
    Sync();
    QWidget* window = shownBox_;
    if (!window) {
        ui::CDialog* active = ui::ActiveDialog();
        if (!active) return "no active window";
        window = WindowOf(active->Handle());
    }
    if (!window || !window->isVisible()) return "the active window is not on the screen";
    QApplication::processEvents();
    if (!WriteWindowPicture(*window, path)) return "cannot write " + path;
    return {};
}

}  // namespace kw::qt
