#include "platform/qt/dialog_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTreeWidget>

#include "platform/qt/icons.h"
#include "platform/text.h"
#include "platform/ui/input_source.h"
#include "platform/ui/user_input.h"

namespace kw::qt {

namespace {

QString ToQ(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string FromQ(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

// A button shows '&' as the mark of its access key; the framework's texts mean the character.
QString ButtonText(std::u16string_view text) { return ToQ(text).replace(QLatin1Char('&'), QLatin1String("&&")); }

Qt::Alignment ColumnAlignment(ui::Align align) {
    switch (align) {
        case ui::Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case ui::Align::Center: return Qt::AlignCenter;
        case ui::Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Labels two lines high or more wrap their words, as a dialog's static text does.
constexpr int kWrappingHeight = 16;

// A place is on the screen unless the program parked the window far outside it.
bool IsOnScreen(const ui::Rect& place) { return place.x < ui::kScreen.width && place.y < ui::kScreen.height; }

template <typename Widget>
void SetTextIfChanged(Widget* widget, const QString& text) {
    if (widget->text() != text) widget->setText(text);
}

QStringList ItemTexts(const std::vector<std::u16string>& items) {
    QStringList texts;
    for (const auto& item : items) texts.append(ToQ(item));
    return texts;
}

}  // namespace

CDialogWindow::CDialogWindow(ui::CDialog& dialog)
    : QWidget(nullptr, Qt::Dialog), handle_(dialog.Handle()), layout_(ui::LayoutOf(dialog.GetTemplate())) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowModality(Qt::ApplicationModal);
    setObjectName(QStringLiteral("dialog%1").arg(dialog.ResourceId()));
    QRect client = ToPixels(ui::Rect{0, 0, layout_.width, layout_.height});
    setFixedSize(client.size());
    CreateWidgets();
}

ui::CDialog* CDialogWindow::Dialog() const { return dynamic_cast<ui::CDialog*>(ui::FromHandle(handle_)); }

QRect CDialogWindow::ToPixels(const ui::Rect& rect) const {
    // The dialog base units: the average width of the Latin letters and the height of a line.
    QFontMetrics metrics(font());
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int baseX = (metrics.horizontalAdvance(kLetters) / 26 + 1) / 2;
    int baseY = metrics.height();
    auto x = [baseX](int units) { return (units * baseX + 2) / 4; };
    auto y = [baseY](int units) { return (units * baseY + 4) / 8; };
    return QRect(x(rect.x), y(rect.y), x(rect.x + rect.width) - x(rect.x), y(rect.y + rect.height) - y(rect.y));
}

QWidget* CDialogWindow::ControlWidget(int id) const {
    auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : found->second;
}

void CDialogWindow::Act(const std::string& refusal) {
    // The widget may have run ahead of the framework (a check mark drawn before the click was
    // refused); the next sync puts it back.
    if (!refusal.empty()) ui::ReportEvent("error: " + refusal);
}

void CDialogWindow::CreateWidgets() {
    ui::CDialog* dialog = Dialog();
    if (!dialog) return;
    const auto& controls = dialog->Controls();
    for (size_t i = 0; i < controls.size() && i < layout_.rects.size(); ++i) {
        QWidget* widget = CreateWidget(*controls[i], ToPixels(layout_.rects[i]));
        if (!widget) continue;
        widget->setObjectName(QStringLiteral("control%1").arg(controls[i]->Id()));
        widget->setGeometry(ToPixels(layout_.rects[i]));
        widgets_[controls[i]->Id()] = widget;
    }
    // Group boxes are drawn under their members.
    for (const auto& [id, widget] : widgets_) {
        if (qobject_cast<QGroupBox*>(widget)) widget->lower();
    }
    Sync();
}

QWidget* CDialogWindow::CreateWidget(ui::CControl& control, const QRect& place) {
    const int id = control.Id();
    auto dialog = [this]() -> ui::CDialog* { return syncing_ ? nullptr : Dialog(); };
    switch (control.Kind()) {
        case ui::ControlKind::Label: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(place.height() >= ToPixels(ui::Rect{0, 0, 0, kWrappingHeight}).height());
            if (control.Style() & ui::kCentered) label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case ui::ControlKind::Icon: {
            auto* label = new QLabel(this);
            label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case ui::ControlKind::GroupBox:
            return new QGroupBox(this);
        case ui::ControlKind::PushButton: {
            auto* button = new QPushButton(this);
            button->setAutoDefault(false);
            button->setDefault(control.Style() & ui::kDefaultButton);
            connect(button, &QPushButton::clicked, this, [this, id, dialog] {
                if (auto* d = dialog()) Act(ui::user::Click(*d, id));
            });
            return button;
        }
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton: {
            QAbstractButton* button = control.Kind() == ui::ControlKind::CheckBox
                                          ? static_cast<QAbstractButton*>(new QCheckBox(this))
                                          : static_cast<QAbstractButton*>(new QRadioButton(this));
            // The framework keeps the radio groups; Qt's own grouping would disagree with it.
            button->setAutoExclusive(false);
            connect(button, &QAbstractButton::clicked, this, [this, id, dialog] {
                if (auto* d = dialog()) Act(ui::user::Click(*d, id));
            });
            return button;
        }
        case ui::ControlKind::Edit: {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this, [this, id, dialog](const QString& text) {
                if (auto* d = dialog()) Act(ui::user::Type(*d, id, FromQ(text)));
            });
            return edit;
        }
        case ui::ControlKind::ComboBox: {
            auto* combo = new QComboBox(this);
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            combo->setMinimumContentsLength(4);
            combo->setEditable(static_cast<ui::CComboBox&>(control).HasEditField());
            connect(combo, &QComboBox::activated, this, [this, id, dialog](int index) {
                if (auto* d = dialog()) Act(ui::user::Select(*d, id, index));
            });
            if (combo->lineEdit()) {
                connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, id, dialog](const QString& text) {
                    if (auto* d = dialog()) Act(ui::user::Type(*d, id, FromQ(text)));
                });
            }
            return combo;
        }
        case ui::ControlKind::ListBox: {
            auto* list = new QListWidget(this);
            connect(list, &QListWidget::itemClicked, this, [this, id, dialog, list](QListWidgetItem* item) {
                if (auto* d = dialog()) Act(ui::user::Select(*d, id, list->row(item)));
            });
            return list;
        }
        case ui::ControlKind::ListView: {
            auto* view = new QTreeWidget(this);
            view->setRootIsDecorated(false);
            view->setUniformRowHeights(true);
            view->setSelectionBehavior(QAbstractItemView::SelectRows);
            view->setAllColumnsShowFocus(true);
            connect(view, &QTreeWidget::itemClicked, this, [this, id, dialog, view](QTreeWidgetItem* item) {
                if (auto* d = dialog()) Act(ui::user::Select(*d, id, view->indexOfTopLevelItem(item)));
            });
            connect(view, &QTreeWidget::itemDoubleClicked, this, [this, id, dialog, view](QTreeWidgetItem* item) {
                if (auto* d = dialog()) Act(ui::user::DoubleClick(*d, id, view->indexOfTopLevelItem(item)));
            });
            return view;
        }
        case ui::ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(this);
            bar->setTextVisible(false);
            return bar;
        }
        case ui::ControlKind::TrackBar: {
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setTickPosition(QSlider::TicksBelow);
            connect(slider, &QSlider::valueChanged, this, [this, id, dialog](int position) {
                if (auto* d = dialog()) Act(ui::user::Scroll(*d, id, position));
            });
            return slider;
        }
    }
    return nullptr;
}

void CDialogWindow::Sync() {
    ui::CDialog* dialog = Dialog();
    if (!dialog) return;
    syncing_ = true;
    QString caption = ToQ(dialog->Caption());
    if (windowTitle() != caption) setWindowTitle(caption);
    // Setting the icon again would tell the window system each time and wake this loop again.
    if (dialog->Icon() != 0 && dialog->Icon() != windowIconShown_) {
        windowIconShown_ = dialog->Icon();
        setWindowIcon(IconOf(windowIconShown_));
    }
    for (const auto& control : dialog->Controls()) {
        if (QWidget* widget = ControlWidget(control->Id())) SyncControl(*control, widget);
    }
    syncing_ = false;
    bool shown = dialog->IsVisible() && !dialog->IsMinimized() && IsOnScreen(dialog->Position());
    if (shown != isVisible()) setVisible(shown);
}

void CDialogWindow::SyncControl(ui::CControl& control, QWidget* widget) {
    QSignalBlocker blocker(widget);
    if (widget->isEnabled() != control.IsEnabled()) widget->setEnabled(control.IsEnabled());
    if (widget->isVisibleTo(this) != control.IsVisible()) widget->setVisible(control.IsVisible());
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.Kind() == ui::ControlKind::Icon) {
            auto icon = static_cast<ui::CStatic&>(control).Icon();
            if (label->property("icon").toUInt() != icon) {
                label->setProperty("icon", icon);
                label->setPixmap(IconPixmap(icon));
            }
        } else {
            SetTextIfChanged(label, ToQ(control.Text()));
        }
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        if (group->title() != ToQ(control.Text())) group->setTitle(ToQ(control.Text()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        SetTextIfChanged(button, ButtonText(control.Text()));
        bool checked = static_cast<ui::CButton&>(control).IsChecked();
        if (button->isCheckable() && button->isChecked() != checked) button->setChecked(checked);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        auto& field = static_cast<ui::CEdit&>(control);
        edit->setEchoMode(field.IsMasked() ? QLineEdit::Password : QLineEdit::Normal);
        edit->setReadOnly(field.IsReadOnly());
        edit->setMaxLength(static_cast<int>(std::min<size_t>(field.LimitText(), 32767)));
        SetTextIfChanged(edit, ToQ(field.Text()));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        auto& box = static_cast<ui::CComboBox&>(control);
        QStringList items = ItemTexts(box.Items());
        bool same = combo->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = combo->itemText(i) == items[i];
        if (!same) {
            combo->clear();
            combo->addItems(items);
        }
        if (combo->currentIndex() != box.CurSel()) combo->setCurrentIndex(box.CurSel());
        if (combo->isEditable() && combo->currentText() != ToQ(box.Text())) combo->setEditText(ToQ(box.Text()));
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        auto& box = static_cast<ui::CListBox&>(control);
        QStringList items = ItemTexts(box.Items());
        bool same = list->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = list->item(i)->text() == items[i];
        if (!same) {
            list->clear();
            list->addItems(items);
        }
        if (list->currentRow() != box.CurSel()) list->setCurrentRow(box.CurSel());
    } else if (auto* view = qobject_cast<QTreeWidget*>(widget)) {
        auto& lv = static_cast<ui::CListView&>(control);
        int columns = std::max(1, lv.ColumnCount());
        QStringList titles;
        for (int c = 0; c < lv.ColumnCount(); ++c) titles.append(ToQ(lv.Column(c)->title));
        if (view->columnCount() != columns || view->headerItem()->text(0) != (titles.isEmpty() ? QString() : titles[0]) ||
            view->property("titles").toStringList() != titles) {
            view->setColumnCount(columns);
            view->setHeaderLabels(titles);
            view->setProperty("titles", titles);
            view->setHeaderHidden(titles.isEmpty());
            for (int c = 0; c < lv.ColumnCount(); ++c) {
                view->setColumnWidth(c, ToPixels(ui::Rect{0, 0, lv.Column(c)->width * 2 / 3, 0}).width());
                view->headerItem()->setTextAlignment(c, ColumnAlignment(lv.Column(c)->align));
            }
        }
        while (view->topLevelItemCount() > lv.ItemCount()) delete view->takeTopLevelItem(view->topLevelItemCount() - 1);
        for (int row = 0; row < lv.ItemCount(); ++row) {
            QTreeWidgetItem* item = view->topLevelItem(row);
            if (!item) item = new QTreeWidgetItem(view);
            std::vector<std::u16string> cells = lv.RowCells(row);
            for (int c = 0; c < static_cast<int>(cells.size()) && c < columns; ++c) {
                if (item->text(c) != ToQ(cells[c])) item->setText(c, ToQ(cells[c]));
                if (const ui::ListColumn* column = lv.Column(c)) item->setTextAlignment(c, ColumnAlignment(column->align));
            }
            if (item->isSelected() != lv.IsItemSelected(row)) item->setSelected(lv.IsItemSelected(row));
        }
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
        auto& range = static_cast<ui::CRangeControl&>(control);
        if (bar->minimum() != range.RangeMin() || bar->maximum() != range.RangeMax()) {
            bar->setRange(range.RangeMin(), range.RangeMax());
        }
        if (bar->value() != range.Pos()) bar->setValue(range.Pos());
    } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
        auto& range = static_cast<ui::CRangeControl&>(control);
        if (slider->minimum() != range.RangeMin() || slider->maximum() != range.RangeMax()) {
            slider->setRange(range.RangeMin(), range.RangeMax());
            slider->setTickInterval(std::max(1, (range.RangeMax() - range.RangeMin()) / 10));
            slider->setPageStep(std::max(1, (range.RangeMax() - range.RangeMin()) / 10));
        }
        if (slider->value() != range.Pos()) slider->setValue(range.Pos());
    }
}

void CDialogWindow::closeEvent(QCloseEvent* event) {
    // The dialog decides whether it closes; its loop ending takes the window away.
    event->ignore();
    if (ui::CDialog* dialog = Dialog()) Act(ui::user::Close(*dialog));
}

void CDialogWindow::keyPressEvent(QKeyEvent* event) {
    ui::CDialog* dialog = Dialog();
    if (dialog && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        Act(ui::user::PressKey(*dialog, ui::Key::Enter));
    } else if (dialog && event->key() == Qt::Key_Escape) {
        Act(ui::user::PressKey(*dialog, ui::Key::Escape));
    } else {
        QWidget::keyPressEvent(event);
    }
}

}  // namespace kw::qt
