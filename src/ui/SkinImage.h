// Skin images and the persistent drawing surfaces they are drawn onto.
//
// A surface is a QImage in premultiplied ARGB. Images are decoded from PNG, premultiplied
// with truncation ((byte * alpha) / 255) and composed source-over at their natural size;
// PNGs without alpha are copied opaque. The Skin object owns the decoded images.
//
// On a high-density screen a surface carries the device pixel ratio: positions stay in layout
// pixels, the images are taken at the ratio (a skin's name@2x.png where it has one) and
// composed in device pixels.
#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

namespace z417 {

// Decodes one PNG held in memory and premultiplies it. Returns a null image when the bytes are
// no PNG, declare more than kMaxSkinPixels or cannot be decoded. Opaque PNGs come back as
// Format_RGB32, others as Format_ARGB32_Premultiplied.
QImage decodeSkinImage(const QByteArray& png);

// The device pixels that size layout pixels cover at ratio (at least one each way).
QSize deviceSize(const QSize& size, qreal ratio);

// "/skin/main.png" -> "/skin/main@2x.png": the same image at twice the size.
std::string doubleSizePath(const std::string& path);

// Premultiplies straight-alpha ARGB32 pixels in place with truncation.
void premultiplyTruncating(QImage& argb32);

// Composes a loaded image onto the surface with its top-left at the layout point (x, y), which
// is scaled by the surface's device pixel ratio: source-over for images with alpha, a plain
// copy for opaque ones. The image's pixels are device pixels; outside the surface they are
// clipped.
void composeImage(QImage& surface, const QImage& image, int x, int y);

} // namespace z417
