// Follows the desktop's notification area as it comes and goes: a StatusNotifierItem host on
// the session bus (KDE Plasma, GNOME with the AppIndicator extension, waybar, ...) or, on X11,
// the owner of the XEmbed tray selection.
#pragma once

#include <QObject>

class QTimer;

namespace z417 {

class NotificationAreaWatcher : public QObject {
    Q_OBJECT
public:
    explicit NotificationAreaWatcher(QObject* parent = nullptr);

    bool available() const { return statusNotifierHost_ || xembedTray_; }
    // A host draws items (and their menus) from D-Bus.
    bool statusNotifierHost() const { return statusNotifierHost_; }

signals:
    void availabilityChanged(bool available);

private slots:
    void checkStatusNotifierHost();
    void checkXEmbedTray();

private:
    void watchStatusNotifierWatcher();
    void watchXEmbedTray();
    void announceIfChanged(bool wasAvailable);

    bool statusNotifierHost_ = false;
    bool xembedTray_ = false;
    QTimer* xembedPoll_ = nullptr;
};

} // namespace z417
