#include "ui/FieldColours.h"

#include <QLabel>
#include <QListWidget>
#include <QPalette>

namespace z417 {
namespace {

const QColor kFieldBackground(3, 20, 31);
const QColor kLedBackground(3, 20, 55);
const QColor kMainListBackground(14, 15, 14);

void paint(QWidget* w, const QColor& text, const QColor& background) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Highlight, QColor(60, 60, 60));
    pal.setColor(QPalette::HighlightedText, text);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

void setFieldColours(QWidget* field, int id, const FieldStyle& style) {
    field->setProperty("controlId", id);
    field->setObjectName(QStringLiteral("id%1").arg(id));
    const QColor text = style.textColour;
    if (qobject_cast<QListWidget*>(field)) {
        if (id == 151 || id == 152) {
            paint(field, text, kMainListBackground);
        } else {
            // Every pop-up list of the page: white on black in the normal font.
            paint(field, Qt::white, Qt::black);
            field->setFont(style.font);
        }
        return;
    }
    if (id >= 71 && id <= 78) {
        // The swatch is painted in its stage's colour.
        const uint8_t* c = style.record ? style.record->dpiColor[id - 71] : nullptr;
        paint(field, text, c ? QColor(c[0], c[1], c[2]) : QColor(Qt::black));
        return;
    }
    field->setFont(style.font);
    if (id == 80 || id == 81 || id == 82 || id == 119)
        paint(field, text, kLedBackground);
    else
        paint(field, text, kFieldBackground);
}

} // namespace z417
