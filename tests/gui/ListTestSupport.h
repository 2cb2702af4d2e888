// Where an open list stands: at its rectangle's left, top and width, the frame plus whole rows
// that all show, within half a row of the rectangle's height unless it grew to show every entry.
#pragma once

#include "ui/ListStyle.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace z417::test {

inline ::testing::AssertionResult standsAt(const QListWidget* list, const QRect& rect) {
    const QRect g = list ? list->geometry() : QRect();
    const int row = list && list->count() > 0 ? list->sizeHintForRow(0) : 0;
    const int inside = g.height() - 2 * ListStyle::kFrameWidth;
    const bool grown = row > 0 && inside / row == list->count() && g.height() > rect.height();
    if (row <= 0 || g.topLeft() != rect.topLeft() || g.width() != rect.width() ||
        inside % row != 0 || list->viewport()->height() != inside ||
        (!grown && std::abs(g.height() - rect.height()) > row / 2))
        return ::testing::AssertionFailure() << "at " << g.x() << "," << g.y() << " size "
                                             << g.width() << "x" << g.height() << ", rows " << row;
    return ::testing::AssertionSuccess();
}

} // namespace z417::test
