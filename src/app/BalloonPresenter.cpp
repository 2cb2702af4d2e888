#include "app/BalloonPresenter.h"

#include "assign/Balloons.h"

namespace z417 {

BalloonPresenter::BalloonPresenter(const AppState& state, const DeviceLink& device, Sink sink)
    : state_(state), device_(device), sink_(std::move(sink)) {}

void BalloonPresenter::request(int type, int kind) {
    QMetaObject::invokeMethod(
        this, [this, type, kind] { show(type, kind); }, Qt::QueuedConnection);
}

void BalloonPresenter::show(int type, int kind) {
    const BalloonText b =
        balloonFor(type, kind, state_.texts, state_.record, device_.sensorVariant());
    if (!b.shown)
        return;
    const QString title = QString::fromStdString(b.title);
    const QString text = QString::fromStdString(b.text);
    if (sink_)
        sink_(title, text, b.timeoutMs);
    if (tray_ && tray_->showsBalloons())
        tray_->showMessage(title, text, b.timeoutMs);
    else if (notifications_)
        notifications_->notify(title, text, b.timeoutMs);
}

} // namespace z417
