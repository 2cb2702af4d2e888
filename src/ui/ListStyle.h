// The look every list of ours shares, on the page and in the dialogs: a 1-pixel frame and a
// slim scroll bar in shades of the skin's accent (Skin::accent()) around the list's own background
// and text, and a height of whole rows so that no row is cut off by the frame.
#pragma once

#include "ui/Layout.h"

#include <QColor>

class QListWidget;

namespace z417 {

class ListStyle {
public:
    static constexpr int kFrameWidth = 1;
    static constexpr int kScrollBarWidth = 8;

    explicit ListStyle(const QColor& accent) : accent_(accent) {}

    QColor frameColour() const { return accent_; }
    QColor scrollTrackColour() const;
    QColor scrollHandleColour() const;

    // Gives the list our frame and scroll bar. Background, text and selection keep the colours
    // the list's palette holds when this is called.
    void apply(QListWidget* list) const;

private:
    QColor accent_;
};

// Where a list drawn at rect goes: the same left, top and width, and the frame plus the whole
// number of rows nearest to rect's height (at least one). A list that cannot scroll grows until
// every one of its entries shows.
layout::Rect wholeRowRect(const layout::Rect& rect, int rowHeight, int entries, bool canScroll);

} // namespace z417
