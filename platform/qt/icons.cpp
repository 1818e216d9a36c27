#include "platform/qt/icons.h"

#include <QPixmapCache>
#include <QString>

namespace kw::qt {

QPixmap IconPixmap(ui::IconHandle icon) {
    if (icon == 0) return {};
    // Kept in Qt's own cache (which goes with the application): asked for on every icon change.
    const QString name = QStringLiteral(":/kwconfig/icons/%1.png").arg(icon);
    QPixmap picture;
    if (!QPixmapCache::find(name, &picture)) {
        picture = QPixmap(name);
        QPixmapCache::insert(name, picture);
    }
    return picture;
}

QIcon IconOf(ui::IconHandle icon) {
    QPixmap picture = IconPixmap(icon);
    return picture.isNull() ? QIcon() : QIcon(picture);
}

}  // namespace kw::qt
