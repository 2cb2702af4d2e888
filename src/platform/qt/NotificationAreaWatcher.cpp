#include "platform/qt/NotificationAreaWatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QTimer>

namespace z417 {
namespace {

const char kWatcherService[] = "org.kde.StatusNotifierWatcher";
const char kWatcherPath[] = "/StatusNotifierWatcher";
const char kWatcherInterface[] = "org.kde.StatusNotifierWatcher";
// A watcher that does not answer within this time counts as no host.
constexpr int kWatcherTimeoutMs = 1000;
// Where the toolkit cannot tell us about the X11 tray's owner changing, it is looked at this
// often (one cheap query answered from the toolkit's own tracking).
constexpr int kXEmbedPollMs = 2000;

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool hostRegistered(const QDBusConnection& bus) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QLatin1String(kWatcherService), QLatin1String(kWatcherPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QLatin1String(kWatcherInterface) << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kWatcherTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace

NotificationAreaWatcher::NotificationAreaWatcher(QObject* parent) : QObject(parent) {
    watchStatusNotifierWatcher();
    if (onX11())
        watchXEmbedTray();
}

void NotificationAreaWatcher::watchStatusNotifierWatcher() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto* watcher = new QDBusServiceWatcher(QLatin1String(kWatcherService), bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &NotificationAreaWatcher::checkStatusNotifierHost);
    // A watcher may be there before its host (waybar registers both, one after the other).
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(QString(), QLatin1String(kWatcherPath), QLatin1String(kWatcherInterface),
                    QLatin1String(signal), this, SLOT(checkStatusNotifierHost()));
    statusNotifierHost_ =
        bus.interface()->isServiceRegistered(QLatin1String(kWatcherService)) && hostRegistered(bus);
}

void NotificationAreaWatcher::checkStatusNotifierHost() {
    const bool wasAvailable = available();
    const QDBusConnection bus = QDBusConnection::sessionBus();
    statusNotifierHost_ =
        bus.interface()->isServiceRegistered(QLatin1String(kWatcherService)) && hostRegistered(bus);
    announceIfChanged(wasAvailable);
}

void NotificationAreaWatcher::watchXEmbedTray() {
    xembedTray_ = !statusNotifierHost_ && QSystemTrayIcon::isSystemTrayAvailable();
    // The xcb platform announces a new owner of the tray selection with this signal (its
    // native interface is a QObject; the toolkit's own tray icon listens to it the same way).
    auto* native = reinterpret_cast<QObject*>(QGuiApplication::platformNativeInterface());
    if (native &&
        connect(native, SIGNAL(systemTrayWindowChanged(QScreen*)), this, SLOT(checkXEmbedTray())))
        return;
    xembedPoll_ = new QTimer(this);
    connect(xembedPoll_, &QTimer::timeout, this, &NotificationAreaWatcher::checkXEmbedTray);
    xembedPoll_->start(kXEmbedPollMs);
}

void NotificationAreaWatcher::checkXEmbedTray() {
    const bool wasAvailable = available();
    xembedTray_ = QSystemTrayIcon::isSystemTrayAvailable();
    announceIfChanged(wasAvailable);
}

void NotificationAreaWatcher::announceIfChanged(bool wasAvailable) {
    if (available() != wasAvailable)
        emit availabilityChanged(available());
}

} // namespace z417
