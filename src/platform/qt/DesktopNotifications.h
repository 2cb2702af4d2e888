// Notifications through the desktop's notification service (org.freedesktop.Notifications on
// the session bus): the way balloons reach the person when no tray draws them itself.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

namespace z417 {

// How the program names itself to the notification service.
struct NotificationIdentity {
    QString appName;      // shown as the sender ("Z417 Gaming mouse")
    QString iconName;     // an icon theme name or an absolute file path
    QString desktopEntry; // the menu entry's name without ".desktop"
    // Sent with every notification, so the icon shows where no theme holds it (a build tree).
    QImage icon;
};

class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifications(NotificationIdentity identity, QObject* parent = nullptr);

    // Sent without waiting for the answer: the event loop keeps running. A session without a
    // notification service drops it (reported once on stderr).
    void notify(const QString& title, const QString& text, int timeoutMs);
    const NotificationIdentity& identity() const { return identity_; }

private:
    NotificationIdentity identity_;
    bool failureReported_ = false;
};

} // namespace z417
