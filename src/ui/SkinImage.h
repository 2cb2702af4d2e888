// Skin images and the persistent drawing surfaces they are drawn onto.
//
// A surface is a QImage in premultiplied ARGB. Images are decoded from PNG, premultiplied
// with truncation ((byte * alpha) / 255) and composed source-over at their natural size;
// PNGs without alpha are copied opaque. Decoded images are cached, but a file that changed or
// disappeared is noticed at the next draw, so a missing file always draws nothing.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace z417 {

class UiServices;

// Loads and premultiplies one PNG. Returns a null image when the file cannot be read or
// decoded. Opaque PNGs come back as Format_RGB32, others as Format_ARGB32_Premultiplied.
QImage loadSkinImage(const QString& path);

// Premultiplies straight-alpha ARGB32 pixels in place with truncation.
void premultiplyTruncating(QImage& argb32);

// Composes a loaded image onto the surface at (x, y): source-over for images with alpha,
// a plain copy for opaque ones. Pixels outside the surface are clipped.
void composeImage(QImage& surface, const QImage& image, int x, int y);

// The main window's form: a missing file draws nothing and reports nothing.
bool DrawSkinImage(QImage* surface, const QString& path, int x, int y);

// The dialogs' form: a missing file shows "LoadPng---Load image failed." owned by owner.
bool DrawSkinImage(QImage* surface, const QString& path, int x, int y, QWidget* owner,
                   UiServices& services);

// Drops every cached image (for tests and a skin change).
void clearSkinImageCache();

} // namespace z417
