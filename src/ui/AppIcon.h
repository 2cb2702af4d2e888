// The application's icon, drawn rather than shipped so every size stays sharp. The same
// drawing makes the PNGs installed into the icon theme.
#pragma once

#include <QIcon>
#include <QImage>

namespace z417 {

QImage drawAppIcon(int size);
QIcon appIcon(); // 16 .. 256 pixels, each drawn when first asked for

} // namespace z417
