#include "app/DeviceWatcher.h"

#include "app/BusyCursor.h"

#include "platform/UdevMonitor.h"

#include <QSocketNotifier>

namespace z417 {

DeviceWatcher::DeviceWatcher(DeviceLink& device, ProfileBlock& block, BalloonPresenter& balloons,
                             QObject* parent)
    : QObject(parent), device_(device), block_(block), balloons_(balloons) {}

DeviceWatcher::~DeviceWatcher() = default;

void DeviceWatcher::connectAtStart() {
    Status connected;
    {
        BusyCursor busy(window_);
        connected = device_.connect(block_);
    }
    emit reported(connected);
    if (!connected)
        requestBalloon(kBalloonNotDetected, 0);
}

bool DeviceWatcher::startMonitor(QString& error) {
    udev_ = std::make_unique<UdevMonitor>();
    if (!udev_->ok()) {
        error = QString::fromStdString(udev_->error());
        return false;
    }
    auto* notifier = new QSocketNotifier(udev_->fd(), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        for (const DeviceNotification& n : udev_->readPending())
            handleNotification(n.arrival, n.interfaceName);
    });
    return true;
}

void DeviceWatcher::handleNotification(bool arrival, const std::string& interfaceName) {
    Status status;
    {
        BusyCursor busy(window_);
        status = device_.handleDeviceChange(arrival ? DeviceChange::Arrival : DeviceChange::Removal,
                                            interfaceName, block_, *this);
    }
    emit reported(status);
}

} // namespace z417
