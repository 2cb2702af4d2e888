#include "platform/qt/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace z417 {
namespace {

const char kService[] = "org.freedesktop.Notifications";
const char kPath[] = "/org/freedesktop/Notifications";
const char kInterface[] = "org.freedesktop.Notifications";
// Normal urgency: servers show it as a banner, unlike low urgency on some desktops.
constexpr unsigned char kUrgencyNormal = 1;

} // namespace

DesktopNotifications::DesktopNotifications(NotificationIdentity identity, QObject* parent)
    : QObject(parent), identity_(std::move(identity)) {}

void DesktopNotifications::notify(const QString& title, const QString& text, int timeoutMs) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kInterface), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), identity_.desktopEntry);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(kUrgencyNormal));
    call << identity_.appName << 0u << identity_.iconName << title << text << QStringList() << hints
         << timeoutMs;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError() && !failureReported_) {
            failureReported_ = true;
            qWarning("notifications are not shown: %s", qPrintable(reply.error().message()));
        }
        w->deleteLater();
    });
}

} // namespace z417
