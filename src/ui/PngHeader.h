// The size a PNG file declares, read from its first 24 bytes without decoding anything: what
// the window needs for its layout before any image is drawn.
#pragma once

#include <QSize>
#include <QString>

#include <cstddef>
#include <optional>
#include <string>

namespace z417 {

// Largest image a skin may bring, in pixels; a PNG that declares more is not a skin image.
constexpr qint64 kMaxSkinPixels = 4096LL * 4096LL;

// The width and height of the PNG at path. Empty for a missing file, anything but a regular
// file (a FIFO is never opened for reading), a file that is cut short or is no PNG, and a
// declared size that is zero or larger than kMaxSkinPixels.
std::optional<QSize> pngSize(const std::string& path);
std::optional<QSize> pngSize(const QString& path);
// The same for the first bytes of a PNG already read.
std::optional<QSize> pngSizeOf(const char* data, size_t size);

} // namespace z417
