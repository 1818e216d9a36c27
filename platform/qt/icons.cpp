#include "platform/qt/icons.h"

#include <QString>

namespace kw::qt {

QPixmap IconPixmap(ui::IconHandle icon) {
    if (icon == 0) return {};
    return QPixmap(QStringLiteral(":/kwconfig/icons/%1.png").arg(icon));
}

QIcon IconOf(ui::IconHandle icon) {
    QPixmap picture = IconPixmap(icon);
    return picture.isNull() ? QIcon() : QIcon(picture);
}

}  // namespace kw::qt
