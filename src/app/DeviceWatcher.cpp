#include "app/DeviceWatcher.h"

#include "platform/UdevMonitor.h"

#include <QSocketNotifier>

namespace z417 {

DeviceWatcher::DeviceWatcher(QObject* parent) : QObject(parent) {}

DeviceWatcher::~DeviceWatcher() = default;

bool DeviceWatcher::start(QString& error) {
    udev_ = std::make_unique<UdevMonitor>();
    if (!udev_->ok()) {
        error = QString::fromStdString(udev_->error());
        return false;
    }
    auto* notifier = new QSocketNotifier(udev_->fd(), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        for (const DeviceNotification& n : udev_->readPending())
            emit notified(n.arrival, n.interfaceName);
    });
    return true;
}

} // namespace z417
