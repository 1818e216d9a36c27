// One running dialog as a desktop window: a widget for each control of its template, placed by
// the template's layout. Sync copies the framework's state into the widgets; what the user does
// to a widget goes to the framework through the same user actions the console performs, so the
// dialog sees exactly the events it would see from a typed command.
#pragma once

#include <QWidget>

#include <map>

#include "platform/ui/dialog.h"

class QLabel;

namespace kw::qt {

class CDialogWindow : public QWidget {
public:
    explicit CDialogWindow(ui::CDialog& dialog);

    ui::WindowHandle Handle() const { return handle_; }
    // The framework's state into the widgets: caption, visibility, and each control's text,
    // state, items and selection. Widgets that already show it are left alone.
    void Sync();
    // The widget of a control, or nullptr.
    QWidget* ControlWidget(int id) const;
    // The pixel rectangle of a rectangle in dialog units, in this window's font.
    QRect ToPixels(const ui::Rect& rect) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ui::CDialog* Dialog() const;
    void CreateWidgets();
    QWidget* CreateWidget(ui::CControl& control, const QRect& place);
    void SyncControl(ui::CControl& control, QWidget* widget);
    // Reports an action that did not fit; the framework already refused it.
    void Act(const std::string& refusal);

    ui::WindowHandle handle_;
    ui::DialogLayout layout_;
    std::map<int, QWidget*> widgets_;
    bool syncing_ = false;
    ui::IconHandle windowIconShown_ = 0;  // a fresh QIcon never compares equal to the shown one
};

}  // namespace kw::qt
