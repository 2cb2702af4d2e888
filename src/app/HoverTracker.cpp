#include "app/HoverTracker.h"

#include <QTimer>

namespace z417 {
namespace {

// Time the pointer has to rest on a control before its over look is drawn.
constexpr int kHoverTimeMs = 10;

} // namespace

HoverTracker::HoverTracker(PageCanvas& canvas, QObject* timerOwner, std::function<bool()> pageShown)
    : canvas_(canvas), pageShown_(std::move(pageShown)), timer_(new QTimer(timerOwner)) {
    timer_->setObjectName(QStringLiteral("hoverTimer"));
    timer_->setSingleShot(true);
    timer_->setInterval(kHoverTimeMs);
    QObject::connect(timer_, &QTimer::timeout, timerOwner, [this] { onHover(point_); });
}

void HoverTracker::onPointerMove(const QPoint& p) {
    point_ = p;
    if (controlAt(HitOrder::Move, p.x(), p.y(), pageShown_())) {
        // The pointer has to rest again for the notification.
        timer_->start();
        return;
    }
    // Outside every control: no notification is pending any more, and whatever is drawn over
    // goes back to normal.
    timer_->stop();
    repaint(looks_.leave());
}

void HoverTracker::onHover(const QPoint& p) {
    if (const auto control = controlAt(HitOrder::Rest, p.x(), p.y(), pageShown_()))
        repaint(looks_.rest(*control));
}

void HoverTracker::repaintLooks() {
    PagePainter painter = canvas_.painter();
    for (int i = 0; i < kHoverControlCount; ++i) {
        const auto control = static_cast<PageControl>(i);
        if (looks_.isOver(control))
            painter.drawControl(control, true);
    }
}

void HoverTracker::repaint(const std::vector<HoverLooks::Repaint>& repaints) {
    if (repaints.empty())
        return;
    PagePainter painter = canvas_.painter();
    for (const HoverLooks::Repaint& r : repaints)
        painter.drawControl(r.control, r.over);
    canvas_.present();
}

} // namespace z417
