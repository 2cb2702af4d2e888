#include "app/DeviceWatcher.h"

#include "app/BusyCursor.h"

#include <QSocketNotifier>

namespace z417 {

DeviceWatcher::DeviceWatcher(DeviceLink& device, ProfileBlock& block, BalloonPresenter& balloons,
                             QObject* parent)
    : QObject(parent), device_(device), balloons_(balloons), connection_(device, block) {}

DeviceWatcher::~DeviceWatcher() = default;

void DeviceWatcher::connectAtStart() {
    Status connected;
    {
        BusyCursor busy(window_);
        connected = device_.connect(connection_.block());
    }
    emit reported(connected);
    if (!connected)
        balloons_.request(kBalloonNotDetected, 0);
}

bool DeviceWatcher::startMonitor(QString& error) {
    Result<std::unique_ptr<UdevMonitor>> monitor = UdevMonitor::start();
    if (!monitor) {
        error = QString::fromStdString(monitor.status().reason);
        return false;
    }
    udev_ = std::move(monitor).value();
    connection_.seed(udev_->presentNodes());
    auto* notifier = new QSocketNotifier(udev_->fd(), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        for (const HidrawEvent& e : udev_->readPending().events)
            handleEvent(e);
    });
    return true;
}

void DeviceWatcher::handleEvent(const HidrawEvent& event) {
    MouseConnection::Outcome outcome;
    {
        BusyCursor busy(window_);
        outcome = connection_.handle(event);
    }
    // The balloon is asked for before the messages are shown, as it always was.
    if (outcome.change == MouseConnection::Change::Connected) {
        balloons_.request(kBalloonDetected, 0);
    } else if (outcome.change == MouseConnection::Change::Lost) {
        balloons_.request(kBalloonNotDetected, 0);
        emit hideRequested();
    }
    emit reported(outcome.status);
}

} // namespace z417
