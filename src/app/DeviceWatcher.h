// Holds the device link through the program's life: connects at start, follows hidraw nodes
// through a udev monitor watched by the event loop, and lets the connection turn them into
// whole mice arriving and going. It decides what the person sees of that: the detected
// balloon on an arrival, the warning balloon and a hidden window when the mouse is lost. What
// opening and reading had to say is reported as a status.
#pragma once

#include "app/AppLayer.h"
#include "app/BalloonPresenter.h"

#include "assign/Balloons.h"
#include "device/DeviceLink.h"
#include "device/MouseConnection.h"
#include "platform/Status.h"
#include "platform/UdevMonitor.h"
#include "profile/ProfileBlock.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>

namespace z417 {

class DeviceWatcher : public QObject {
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
    // One hidraw node added or removed.
    void handleEvent(const HidrawEvent& event);

signals:
    void reported(const z417::Status& status);
    // The mouse was lost: the window hides.
    void hideRequested();

private:
    DeviceLink& device_;
    BalloonPresenter& balloons_;
    MouseConnection connection_;
    std::unique_ptr<UdevMonitor> udev_;
    const QWidget* window_ = nullptr;
};

} // namespace z417
