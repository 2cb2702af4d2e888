// The notification-area icon: its clicks, its menu with the one Exit item, and balloons. It
// follows the notification area as it comes and goes: the icon is made when one appears and
// dropped when it goes.
#pragma once

#include "app/AppLayer.h"

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace z417 {

class NotificationAreaWatcher;

class Tray : public QObject {
    Q_OBJECT
public:
    enum class Click { Left, Double, Right };

    // The icon is shown while the desktop has a notification area.
    Tray(const QIcon& icon, const QString& toolTip, QObject* parent);
    ~Tray() override;

    // Whether the desktop has a notification area now.
    bool available() const;
    bool visible() const;
    // Removes the icon for good (at exit).
    void hide();
    // True when the icon shows balloons itself (an XEmbed tray); a StatusNotifierItem host
    // leaves them to the desktop's notification service.
    bool showsBalloons() const;
    void showMessage(const QString& title, const QString& text, int timeoutMs);
    void setExitText(const QString& text);
    // A StatusNotifierItem host draws the exported menu itself at the icon.
    bool hostDrawsMenu() const;
    // Pops the menu up bottom-aligned at the pointer (an XEmbed tray, or none).
    void popUpMenu();
    QMenu* menu() const { return menu_; }

signals:
    void clicked(z417::Tray::Click click);
    void exitChosen();
    // The notification area appeared or went away.
    void availabilityChanged(bool available);

private:
    void followArea(bool available);
    void makeIcon();

    QIcon image_;
    QString toolTip_;
    NotificationAreaWatcher* area_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    bool removed_ = false;
};

} // namespace z417
