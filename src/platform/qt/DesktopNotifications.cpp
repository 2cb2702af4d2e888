#include "platform/qt/DesktopNotifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
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

// The "image-data" hint: width, height, row stride, alpha, bits per sample, channels, pixels.
struct NotificationImage {
    QImage rgba;
};

QDBusArgument& operator<<(QDBusArgument& out, const NotificationImage& image) {
    const QImage& i = image.rgba;
    out.beginStructure();
    out << i.width() << i.height() << static_cast<int>(i.bytesPerLine()) << true << 8 << 4
        << QByteArray(reinterpret_cast<const char*>(i.constBits()),
                      static_cast<int>(i.sizeInBytes()));
    out.endStructure();
    return out;
}

// Never read back; the type system wants both directions.
const QDBusArgument& operator>>(const QDBusArgument& in, NotificationImage&) {
    return in;
}

} // namespace
} // namespace z417

Q_DECLARE_METATYPE(z417::NotificationImage)

namespace z417 {

DesktopNotifications::DesktopNotifications(NotificationIdentity identity, QObject* parent)
    : QObject(parent), identity_(std::move(identity)) {
    qDBusRegisterMetaType<NotificationImage>();
    if (!identity_.icon.isNull())
        identity_.icon = identity_.icon.convertToFormat(QImage::Format_RGBA8888);
}

void DesktopNotifications::notify(const QString& title, const QString& text, int timeoutMs) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kInterface), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), identity_.desktopEntry);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(kUrgencyNormal));
    if (!identity_.icon.isNull())
        hints.insert(QStringLiteral("image-data"),
                     QVariant::fromValue(NotificationImage{identity_.icon}));
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
