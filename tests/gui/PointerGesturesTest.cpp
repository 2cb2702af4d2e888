// The demo's pointer gestures leave the pointer as a person's hand would.
#include "demo/PointerEvents.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace z417 {
namespace {

class MoveRecorder final : public QWidget {
public:
    MoveRecorder() {
        setMouseTracking(true);
        resize(100, 100);
    }
    std::vector<Qt::MouseButtons> moves;

protected:
    void mouseMoveEvent(QMouseEvent* event) override { moves.push_back(event->buttons()); }
};

// With a button left held, every later move would arrive as a drag.
TEST(PointerGestures, DoubleClickLeavesNoButtonHeld) {
    MoveRecorder widget;
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    doubleClick(&widget, Qt::LeftButton, QPoint(10, 10));
    QTest::mouseMove(&widget, QPoint(50, 50));
    ASSERT_FALSE(widget.moves.empty());
    EXPECT_EQ(widget.moves.back(), Qt::NoButton);
}

} // namespace
} // namespace z417
