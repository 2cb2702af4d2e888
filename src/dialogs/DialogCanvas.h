// The canvas of a parameter dialog: the dialog's background art at the window's device pixel
// ratio, the images and texts drawn over it, and the copy of it all to the window under a thin
// accent border.
#pragma once

#include "ui/BackBuffer.h"
#include "ui/Layout.h"

#include <QFont>

class QColor;
class QPainter;
class QWidget;

namespace z417 {

class Skin;
class UiServices;

class DialogCanvas {
public:
    // background is an image name of the skin, e.g. "/fire-key.png"; missing images drawn
    // later are reported over window through services.
    DialogCanvas(QWidget& window, UiServices& services, const Skin& skin, const char* background);

    // Loads the background and makes the canvas from it at the window's ratio. False (and no
    // canvas) when the image is missing.
    bool open();
    // Whether the canvas was made at the window's current ratio (true while there is none).
    bool matchesWindowRatio() const;
    // Makes the canvas again at the window's ratio, holding only the background.
    void remake();

    bool isNull() const { return buffer_.isNull(); }
    const QImage& image() const { return buffer_.image(); }
    QSize size() const { return buffer_.size(); }

    // The font of drawText.
    void setFont(const QFont& font) { font_ = font; }
    // Draws one image of the skin folder (reports a missing file).
    bool drawImage(const char* name, const layout::Point& at);
    void drawText(const layout::TextArea& area, const QString& text, const QColor& colour);
    // Copies the canvas to the window's top-left, then the 1-px border in accent.
    void paint(QPainter& painter, const QColor& accent) const;

private:
    void makeAt(const QSize& size);

    QWidget& window_;
    UiServices& services_;
    const Skin& skin_;
    const char* background_;
    BackBuffer buffer_;
    QFont font_;
};

} // namespace z417
