#include "ui/ListStyle.h"

#include <QListWidget>
#include <QPalette>

#include <algorithm>

namespace z417 {
namespace {

// The colour a share of the way from colour to black.
QColor darker(const QColor& colour, double share) {
    auto part = [share](int c) { return static_cast<int>(c * (1.0 - share) + 0.5); };
    return QColor(part(colour.red()), part(colour.green()), part(colour.blue()));
}

} // namespace

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
