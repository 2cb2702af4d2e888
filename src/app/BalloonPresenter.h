// Balloons over the notification area, asked for by the device watcher, the tray and other
// programs through the request socket. The texts are those of the language when shown.
#pragma once

#include "app/AppLayer.h"
#include "app/Tray.h"

#include "device/DeviceLink.h"
#include "ui/AppState.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace z417 {

class BalloonPresenter : public QObject {
    Q_OBJECT
public:
    // When set, balloons go to sink instead of the notification area.
    using Sink = std::function<void(const QString& title, const QString& text, int timeoutMs)>;

    BalloonPresenter(const AppState& state, const DeviceLink& device, Sink sink);
    void setTray(Tray* tray) { tray_ = tray; }

    // Like a posted message: shown once the current work is done.
    void request(int type, int kind);
    // Shown now (when the table shows anything for it).
    void show(int type, int kind);

private:
    const AppState& state_;
    const DeviceLink& device_;
    Sink sink_;
    QPointer<Tray> tray_;
};

} // namespace z417
