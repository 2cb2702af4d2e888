#include "ui/SurfaceKeeper.h"

#include "ui/SkinImage.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace z417 {

void SurfaceKeeper::reset(const QString& backgroundPath) {
    background_ = backgroundPath;
    loaded_ = false;
    surface_ = QImage();
    park_.clear();
}

QImage& SurfaceKeeper::surface() {
    if (park_.holds()) {
        surface_ = park_.restore();
        // A park that cannot give its image back leaves the background to start from.
        loaded_ = !surface_.isNull();
    }
    if (!loaded_) {
        loaded_ = true;
        surface_ = loadSkinImage(background_);
        if (!surface_.isNull() && surface_.format() != QImage::Format_ARGB32_Premultiplied)
            surface_ = surface_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return surface_;
}

void SurfaceKeeper::park() {
    park_.park(surface_);
    clearSkinImageCache();
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace z417
