#include "dialogs/DialogControls.h"

#include <QFont>
#include <QListWidget>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace z417::dialogControls {
namespace {

const QColor kControlBackground(40, 40, 40);

} // namespace

void giveId(QWidget* control, int id) {
    control->setProperty(kIdProperty, id);
    control->setObjectName(QStringLiteral("id%1").arg(id));
}

void dropId(QWidget* control) {
    control->setProperty(kIdProperty, QVariant());
    control->setObjectName(QString());
}

void applyDarkLook(QWidget* control, const QFont& font) {
    QPalette palette = control->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, kControlBackground);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, Qt::white);
    // The sunken edge of the display fields: grey above and left, white below and right.
    palette.setColor(QPalette::Dark, QColor(160, 160, 160));
    palette.setColor(QPalette::Light, Qt::white);
    if (qobject_cast<QListWidget*>(control)) {
        // The list's border line.
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    control->setPalette(palette);
    control->setAutoFillBackground(true);
    control->setFont(font);
}

} // namespace z417::dialogControls
