// The over looks of the window's painted buttons and rows. A pointer move over a hot rectangle
// (re)arms a single-shot 10 ms timer; when it fires the pointer has rested and the control
// under it is drawn in its over look. The next move outside every hot rectangle draws the
// flagged controls normal again. Leaving the window changes nothing, so a control left
// straight from stays over until the pointer comes back.
#pragma once

#include "app/AppLayer.h"
#include "app/PageContext.h"

#include "ui/PageControls.h"

#include <QPoint>

#include <functional>
#include <vector>

class QObject;
class QTimer;

namespace z417 {

class HoverTracker {
public:
    // The rest timer is a child of timerOwner; pageShown says whether page controls are hot.
    HoverTracker(PageCanvas& canvas, QObject* timerOwner, std::function<bool()> pageShown);

    void onPointerMove(const QPoint& p); // client point of the window
    void onHover(const QPoint& p);       // the pointer has rested there
    // After a whole repaint the controls flagged over get their over look back.
    void repaintLooks();

    const HoverLooks& looks() const { return looks_; }

private:
    void repaint(const std::vector<HoverLooks::Repaint>& repaints);

    PageCanvas& canvas_;
    std::function<bool()> pageShown_;
    HoverLooks looks_;
    QTimer* timer_;
    QPoint point_;
};

} // namespace z417
