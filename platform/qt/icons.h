// The program's pictures by resource number, from the PNG files built into the program.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "platform/ui/types.h"

namespace kw::qt {

// A null pixmap for a number without a picture.
QPixmap IconPixmap(ui::IconHandle icon);
QIcon IconOf(ui::IconHandle icon);

}  // namespace kw::qt
