#include "demo/PointerEvents.h"

#include <QPointer>
#include <QTest>
#include <QWidget>

namespace z417 {

void doubleClick(QWidget* target, Qt::MouseButton button, const QPoint& at) {
    const QPointer<QWidget> alive(target);
    const QPointer<QWidget> window(target->window());
    const QPoint inWindow = target->mapTo(target->window(), at);
    QTest::mouseDClick(target, button, Qt::NoModifier, at);
    // The release goes where the press went, or to the window when the click removed it.
    if (alive)
        QTest::mouseRelease(alive, button, Qt::NoModifier, at);
    else if (window)
        QTest::mouseRelease(window, button, Qt::NoModifier, inWindow);
}

} // namespace z417
