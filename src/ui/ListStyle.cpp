#include "ui/ListStyle.h"

#include "ui/SkinImage.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QListWidget>
#include <QPalette>

#include <algorithm>

namespace z417 {
namespace {

// The accent worked out from one version of the image: a park that clears the decoded images
// does not make it decode again.
struct KnownAccent {
    qint64 size = -1;
    qint64 mtimeMs = 0;
    QColor accent;
};

QHash<QString, KnownAccent>& knownAccents() {
    static QHash<QString, KnownAccent> accents;
    return accents;
}

// Mean colour of the visible pixels, each counted by its opacity; invalid when none is.
QColor meanColour(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    quint64 red = 0, green = 0, blue = 0, opacity = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            red += static_cast<quint64>(qRed(line[x]));
            green += static_cast<quint64>(qGreen(line[x]));
            blue += static_cast<quint64>(qBlue(line[x]));
            opacity += static_cast<quint64>(qAlpha(line[x]));
        }
    }
    if (opacity == 0)
        return QColor();
    auto mean = [opacity](quint64 sum) {
        return static_cast<int>(std::min<quint64>(255, (sum * 255 + opacity / 2) / opacity));
    };
    return QColor(mean(red), mean(green), mean(blue));
}

// The colour a share of the way from colour to black.
QColor darker(const QColor& colour, double share) {
    auto part = [share](int c) { return static_cast<int>(c * (1.0 - share) + 0.5); };
    return QColor(part(colour.red()), part(colour.green()), part(colour.blue()));
}

} // namespace

QColor ListStyle::skinAccent(const QString& skinFolder, const QColor& fallback) {
    const QString path = skinFolder + QString::fromUtf8(layout::images::reportRateLight.name);
    const QFileInfo file(path);
    if (!file.isFile())
        return fallback;
    const qint64 mtimeMs = file.lastModified().toMSecsSinceEpoch();
    KnownAccent& known = knownAccents()[path];
    if (known.size != file.size() || known.mtimeMs != mtimeMs)
        known = KnownAccent{file.size(), mtimeMs, meanColour(loadSkinImage(path))};
    return known.accent.isValid() ? known.accent : fallback;
}

QColor ListStyle::scrollTrackColour() const {
    return darker(accent_, 0.8);
}

QColor ListStyle::scrollHandleColour() const {
    return darker(accent_, 0.35);
}

void ListStyle::apply(QListWidget* list) const {
    const QPalette& palette = list->palette();
    const QString sheet =
        QStringLiteral(
            "QListWidget { border: %1px solid %2; background-color: %3; color: %4;"
            " selection-background-color: %5; selection-color: %6; }"
            "QScrollBar:vertical { width: %7px; margin: 0; border: none; background: %8; }"
            "QScrollBar::handle:vertical { background: %9; min-height: 10px; border: none; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
            " { height: 0; border: none; background: none; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
            .arg(kFrameWidth)
            .arg(frameColour().name(), palette.color(QPalette::Base).name(),
                 palette.color(QPalette::Text).name(), palette.color(QPalette::Highlight).name(),
                 palette.color(QPalette::HighlightedText).name())
            .arg(kScrollBarWidth)
            .arg(scrollTrackColour().name(), scrollHandleColour().name());
    list->setStyleSheet(sheet);
}

layout::Rect wholeRowRect(const layout::Rect& rect, int rowHeight, int entries, bool canScroll) {
    const int inside = rect.height() - 2 * ListStyle::kFrameWidth;
    int rows = rowHeight > 0 ? std::max(1, (inside + rowHeight / 2) / rowHeight) : 1;
    if (!canScroll)
        rows = std::max(rows, entries);
    const int height = 2 * ListStyle::kFrameWidth + rows * std::max(rowHeight, 1);
    return {rect.left, rect.top, rect.right, rect.top + height};
}

} // namespace z417
