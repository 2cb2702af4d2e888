#include "ui/SurfaceKeeper.h"

#include "ui/Layout.h"
#include "ui/Skin.h"

#include <QPainter>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace z417 {

void SurfaceKeeper::reset(qreal ratio) {
    ratio_ = ratio;
    loaded_ = false;
    buffer_.release();
    park_.clear();
}

QImage& SurfaceKeeper::surface() {
    if (park_.holds()) {
        // A park that cannot give its image back leaves the background to start from.
        loaded_ = buffer_.adopt(park_.restore());
    }
    if (!loaded_) {
        loaded_ = true;
        drawBackground();
    }
    return buffer_.image();
}

void SurfaceKeeper::drawBackground() {
    buffer_.release();
    const char* background = layout::images::mainBackground.name;
    const std::optional<QSize> size = skin_.declaredSize(background);
    if (!size)
        return;
    buffer_.ensure(*size, ratio_);
    if (!drawSkinImage(&buffer_.image(), skin_, background, 0, 0))
        buffer_.release();
}

bool SurfaceKeeper::paint(QPainter& painter) {
    if (surface().isNull())
        return false;
    buffer_.paint(painter);
    return true;
}

void SurfaceKeeper::park() {
    park_.park(buffer_.image());
    buffer_.release();
    skin_.release();
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace z417
