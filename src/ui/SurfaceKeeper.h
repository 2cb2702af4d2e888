// The main window's back buffer, held only while it is of use: decoded from the skin's
// background at its first use (a start hidden in the tray decodes nothing), and kept
// compressed while the window is hidden, with the memory it used given back to the system.
#pragma once

#include "ui/ImagePark.h"

#include <QImage>
#include <QString>

namespace z417 {

class SurfaceKeeper {
public:
    // A new background: the surface starts from it at its next use.
    void reset(const QString& backgroundPath);
    // The surface, decoded or brought back first when needed; null when the background
    // cannot be decoded.
    QImage& surface();
    // Compresses the surface, frees its pixels and the decoded skin images, and returns free
    // heap memory to the system.
    void park();
    bool parked() const { return park_.holds(); }

private:
    QString background_;
    bool loaded_ = false;
    QImage surface_;
    ImagePark park_;
};

} // namespace z417
