#include "app/Tray.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace z417 {

Tray::Tray(const QIcon& icon, const QString& toolTip, QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(icon, this)),
      available_(QSystemTrayIcon::isSystemTrayAvailable()) {
    icon_->setToolTip(toolTip);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger)
            emit clicked(Click::Left);
        else if (r == QSystemTrayIcon::DoubleClick)
            emit clicked(Click::Double);
        else if (r == QSystemTrayIcon::Context)
            emit clicked(Click::Right);
    });
    if (available_)
        icon_->show();
}

bool Tray::visible() const {
    return icon_->isVisible();
}

void Tray::hide() {
    icon_->hide();
}

void Tray::showMessage(const QString& title, const QString& text, int timeoutMs) {
    icon_->showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
}

void Tray::popUpMenu(const QString& exitText, QWidget* owner) {
    if (!menu_) {
        menu_ = new QMenu(owner);
        menu_->setObjectName(QStringLiteral("trayMenu"));
        QAction* exitAction = menu_->addAction(exitText);
        connect(exitAction, &QAction::triggered, this, &Tray::exitChosen);
    }
    QPoint at = QCursor::pos();
    at.ry() -= menu_->sizeHint().height(); // bottom-aligned at the pointer
    menu_->popup(at);
}

} // namespace z417
