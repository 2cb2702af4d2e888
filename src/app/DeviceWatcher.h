// Holds the device link through the program's life: connects at start, follows hidraw nodes
// through a udev monitor watched by the event loop, and handles each notification (an arrival
// or removal of one HID interface) itself: connect or close, read, balloons, hide. What the
// person must be told is reported as a status.
#pragma once

#include "app/AppLayer.h"
#include "app/BalloonPresenter.h"

#include "device/DeviceLink.h"
#include "platform/Status.h"
#include "profile/ProfileBlock.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>

namespace z417 {

class UdevMonitor;

class DeviceWatcher : public QObject, private DeviceEvents {
    Q_OBJECT
public:
    DeviceWatcher(DeviceLink& device, ProfileBlock& block, BalloonPresenter& balloons,
                  QObject* parent = nullptr);
    ~DeviceWatcher() override;
    // The window whose busy cursor shows while a transfer blocks (none while it is hidden).
    void setWindow(const QWidget* window) { window_ = window; }

    // The first connection; a missing mouse asks for its balloon.
    void connectAtStart();
    // Follows udev; false with a reason when the monitor cannot be set up.
    bool startMonitor(QString& error);
    void handleNotification(bool arrival, const std::string& interfaceName);

signals:
    void reported(const z417::Status& status);
    void hideRequested();

private:
    void requestBalloon(int type, int kind) override { balloons_.request(type, kind); }
    void hideMainWindow() override { emit hideRequested(); }

    DeviceLink& device_;
    ProfileBlock& block_;
    BalloonPresenter& balloons_;
    std::unique_ptr<UdevMonitor> udev_;
    const QWidget* window_ = nullptr;
};

} // namespace z417
