// The main window's back buffer, held only while it is of use: drawn from the skin's
// background at the window's device pixel ratio at its first use (a start hidden in the tray
// decodes nothing), and kept compressed while the window is hidden, with the memory it used
// given back to the system.
#pragma once

#include "ui/BackBuffer.h"
#include "ui/ImagePark.h"

#include <QImage>

class QPainter;

namespace z417 {

class Skin;

class SurfaceKeeper {
public:
    explicit SurfaceKeeper(Skin& skin) : skin_(skin) {}

    // A new skin or ratio: the surface starts from the skin's background at its next use.
    void reset(qreal ratio);
    // The surface, drawn or brought back first when needed; null when the background cannot
    // be drawn.
    QImage& surface();
    // Copies the surface to the painter's (0, 0); false when there is none.
    bool paint(QPainter& painter);
    // Compresses the surface, frees its pixels and the skin's decoded images, and returns free
    // heap memory to the system.
    void park();
    bool parked() const { return park_.holds(); }
    // The ratio the surface is made at (whether drawn yet or not).
    bool hasRatio(qreal ratio) const { return qFuzzyCompare(ratio_, ratio); }

private:
    void drawBackground();

    Skin& skin_;
    qreal ratio_ = 1.0;
    bool loaded_ = false;
    BackBuffer buffer_;
    ImagePark park_;
};

} // namespace z417
