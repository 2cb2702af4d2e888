// Balloons, asked for by the device watcher, the tray and other programs through the request
// socket. The texts are those of the language when shown. An XEmbed tray shows them itself;
// otherwise (a StatusNotifierItem host, or no notification area at all) they go to the
// desktop's notification service.
#pragma once

#include "app/AppLayer.h"
#include "app/Tray.h"

#include "device/DeviceLink.h"
#include "platform/qt/DesktopNotifications.h"
#include "ui/AppState.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace z417 {

class BalloonPresenter : public QObject {
    Q_OBJECT
public:
    // When set, balloons are handed to sink (the demo prints them); they reach the desktop
    // too only where a tray or the notification service is set.
    using Sink = std::function<void(const QString& title, const QString& text, int timeoutMs)>;

    BalloonPresenter(const AppState& state, const DeviceLink& device, Sink sink);
    void setTray(Tray* tray) { tray_ = tray; }
    void setNotifications(DesktopNotifications* notifications) { notifications_ = notifications; }

    // Like a posted message: shown once the current work is done.
    void request(int type, int kind);
    // Shown now (when the table shows anything for it).
    void show(int type, int kind);

private:
    const AppState& state_;
    const DeviceLink& device_;
    Sink sink_;
    QPointer<Tray> tray_;
    QPointer<DesktopNotifications> notifications_;
};

} // namespace z417
