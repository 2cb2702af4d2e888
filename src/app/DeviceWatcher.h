// Follows hidraw nodes through a udev monitor watched by the event loop, and reports each
// notification: an arrival or removal of one HID interface.
#pragma once

#include "app/AppLayer.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

namespace z417 {

class UdevMonitor;

class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    explicit DeviceWatcher(QObject* parent = nullptr);
    ~DeviceWatcher() override;

    // False with a reason when the monitor cannot be set up.
    bool start(QString& error);

signals:
    void notified(bool arrival, const std::string& interfaceName);

private:
    std::unique_ptr<UdevMonitor> udev_;
};

} // namespace z417
