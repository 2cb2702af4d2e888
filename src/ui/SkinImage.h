// Skin images and the persistent drawing surfaces they are drawn onto.
//
// A surface is a QImage in premultiplied ARGB. Images are decoded from PNG, premultiplied
// with truncation ((byte * alpha) / 255) and composed source-over at their natural size;
// PNGs without alpha are copied opaque. Decoded images are cached, but a file that changed or
// disappeared is noticed at the next draw, so a missing file always draws nothing.
//
// On a high-density screen a surface carries the device pixel ratio: positions stay in layout
// pixels, the images are taken at the ratio (a skin's name@2x.png where it has one) and
// composed in device pixels.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace z417 {

class UiServices;

// Loads and premultiplies one PNG. Returns a null image when the file cannot be read or
// decoded. Opaque PNGs come back as Format_RGB32, others as Format_ARGB32_Premultiplied.
QImage loadSkinImage(const QString& path);

// The image at a device pixel ratio, carrying that ratio. At 1 it is the file itself. Above 1
// it is the file's name@2x.png where the skin has one, else the file; either is scaled
// smoothly to the ratio's size unless it has that size already. The plain file alone decides
// whether the image exists, so a lone @2x file draws nothing.
QImage loadSkinImage(const QString& path, qreal ratio);

// The device pixels that size layout pixels cover at ratio (at least one each way).
QSize deviceSize(const QSize& size, qreal ratio);

// "/skin/main.png" -> "/skin/main@2x.png". Such a file comes back from loadSkinImage(path)
// tagged with ratio 2.
QString doubleSizePath(const QString& path);

// Premultiplies straight-alpha ARGB32 pixels in place with truncation.
void premultiplyTruncating(QImage& argb32);

// Composes a loaded image onto the surface with its top-left at the layout point (x, y), which
// is scaled by the surface's device pixel ratio: source-over for images with alpha, a plain
// copy for opaque ones. The image's pixels are device pixels; outside the surface they are
// clipped.
void composeImage(QImage& surface, const QImage& image, int x, int y);

// The main window's form: a missing file draws nothing and reports nothing. Both forms take
// the image at the surface's device pixel ratio.
bool DrawSkinImage(QImage* surface, const QString& path, int x, int y);

// The dialogs' form: a missing file shows "LoadPng---Load image failed." owned by owner.
bool DrawSkinImage(QImage* surface, const QString& path, int x, int y, QWidget* owner,
                   UiServices& services);

// Drops every cached image (for tests and a skin change).
void clearSkinImageCache();

} // namespace z417
