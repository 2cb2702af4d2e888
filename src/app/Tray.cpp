#include "app/Tray.h"

#include "platform/qt/NotificationAreaWatcher.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace z417 {

Tray::Tray(const QIcon& icon, const QString& toolTip, QObject* parent)
    : QObject(parent), image_(icon), toolTip_(toolTip), area_(new NotificationAreaWatcher(this)),
      menu_(new QMenu) {
    menu_->setObjectName(QStringLiteral("trayMenu"));
    QAction* exitAction = menu_->addAction(QString());
    connect(exitAction, &QAction::triggered, this, &Tray::exitChosen);
    connect(area_, &NotificationAreaWatcher::availabilityChanged, this, &Tray::followArea);
    if (area_->available())
        makeIcon();
}

Tray::~Tray() {
    delete icon_; // before the menu it may export
    delete menu_;
}

bool Tray::available() const {
    return area_->available();
}

bool Tray::visible() const {
    return icon_ && icon_->isVisible();
}

void Tray::hide() {
    removed_ = true;
    delete icon_;
    icon_ = nullptr;
}

bool Tray::hostDrawsMenu() const {
    return icon_ && area_->statusNotifierHost();
}

bool Tray::showsBalloons() const {
    return icon_ && !area_->statusNotifierHost();
}

void Tray::showMessage(const QString& title, const QString& text, int timeoutMs) {
    if (icon_)
        icon_->showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
}

void Tray::setExitText(const QString& text) {
    menu_->actions().constFirst()->setText(text);
}

void Tray::popUpMenu() {
    QPoint at = QCursor::pos();
    at.ry() -= menu_->sizeHint().height(); // bottom-aligned at the pointer
    menu_->popup(at);
}

// A new area (or one started again) gets a new icon: an icon made for the old one would not
// be registered with it.
void Tray::followArea(bool available) {
    delete icon_;
    icon_ = nullptr;
    if (available && !removed_)
        makeIcon();
    emit availabilityChanged(available);
}

void Tray::makeIcon() {
    icon_ = new QSystemTrayIcon(image_, this);
    icon_->setToolTip(toolTip_);
    // Exported over D-Bus, the host draws it at the icon; an XEmbed tray gets it popped up.
    if (hostDrawsMenu())
        icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger)
            emit clicked(Click::Left);
        else if (r == QSystemTrayIcon::DoubleClick)
            emit clicked(Click::Double);
        else if (r == QSystemTrayIcon::Context)
            emit clicked(Click::Right);
    });
    icon_->show();
}

} // namespace z417
