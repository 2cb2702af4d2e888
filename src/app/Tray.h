// The notification-area icon: its clicks, its menu with the one Exit item, and balloons.
#pragma once

#include "app/AppLayer.h"

#include <QObject>
#include <QString>

class QIcon;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace z417 {

class Tray : public QObject {
    Q_OBJECT
public:
    enum class Click { Left, Double, Right };

    // The icon is shown when the desktop has a notification area.
    Tray(const QIcon& icon, const QString& toolTip, QObject* parent);

    // Whether the desktop had a notification area when the icon was made.
    bool available() const { return available_; }
    bool visible() const;
    void hide();
    void showMessage(const QString& title, const QString& text, int timeoutMs);
    // Pops the menu up bottom-aligned at the pointer; it is made on first use.
    void popUpMenu(const QString& exitText, QWidget* owner);
    // Null until the menu was first popped up.
    QMenu* menu() const { return menu_; }

signals:
    void clicked(z417::Tray::Click click);
    void exitChosen();

private:
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    bool available_ = false;
};

} // namespace z417
