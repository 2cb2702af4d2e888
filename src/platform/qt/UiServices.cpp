#include "platform/qt/UiServices.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace z417 {

void DesktopUiServices::messageBox(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QColor> DesktopUiServices::chooseColor(QWidget* owner,
                                                     std::optional<QColor> initial) {
    const QColor colour = QColorDialog::getColor(initial.value_or(QColor(Qt::white)), owner);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

void DesktopUiServices::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace z417
