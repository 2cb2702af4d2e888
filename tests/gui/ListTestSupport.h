// Where an open list stands: at its rectangle's left, top and width, as tall as its frame plus
// whole rows, within half a row of the rectangle's height unless it grew to show every entry,
// and with every row it has room for fully inside its viewport.
#pragma once

#include "ui/ListStyle.h"

#include <QListWidget>
#include <QRect>

#include <gtest/gtest.h>

#include <cstdlib>

namespace z417::test {

inline ::testing::AssertionResult standsAt(const QListWidget* list, const QRect& rect) {
    if (!list || list->count() == 0)
        return ::testing::AssertionFailure() << "no list, or an empty one";
    const QRect g = list->geometry();
    const int row = list->visualItemRect(list->item(0)).height();
    const int inside = g.height() - 2 * ListStyle::kFrameWidth;
    const int rows = row > 0 ? inside / row : 0;
    const bool grown = rows == list->count() && g.height() > rect.height();
    if (g.topLeft() != rect.topLeft() || g.width() != rect.width())
        return ::testing::AssertionFailure()
               << "placed at " << g.x() << "," << g.y() << " width " << g.width();
    if (row <= 0 || inside % row != 0 || list->viewport()->height() != inside)
        return ::testing::AssertionFailure()
               << "height " << g.height() << " is no whole number of " << row << "-pixel rows";
    if (!grown && std::abs(g.height() - rect.height()) > row / 2)
        return ::testing::AssertionFailure()
               << "height " << g.height() << " is more than half a row from " << rect.height();
    return ::testing::AssertionSuccess();
}

} // namespace z417::test
