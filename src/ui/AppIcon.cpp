#include "ui/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace z417 {

namespace {

// The icon is drawn on a 64 x 64 grid.

// Rounded dark tile with a cyan rim.
void drawTile(QPainter& p) {
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(28, 34, 46));
    tile.setColorAt(1, QColor(8, 10, 16));
    p.setPen(QPen(QColor(0, 200, 255), 2));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
}

void drawMouseBody(QPainter& p) {
    QPainterPath body;
    body.moveTo(32, 10);
    body.cubicTo(46, 10, 48, 22, 48, 34);
    body.cubicTo(48, 48, 41, 56, 32, 56);
    body.cubicTo(23, 56, 16, 48, 16, 34);
    body.cubicTo(16, 22, 18, 10, 32, 10);
    QLinearGradient shell(16, 10, 48, 56);
    shell.setColorAt(0, QColor(90, 100, 118));
    shell.setColorAt(1, QColor(36, 40, 50));
    p.setPen(QPen(QColor(200, 230, 255, 180), 1.2));
    p.setBrush(shell);
    p.drawPath(body);
}

// Button split, wheel and the glowing DPI strip.
void drawMouseDetails(QPainter& p) {
    p.setPen(QPen(QColor(10, 12, 18), 1.4));
    p.drawLine(QPointF(32, 11), QPointF(32, 27));
    p.drawLine(QPointF(17, 27), QPointF(47, 27));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 220, 255));
    p.drawRoundedRect(QRectF(30, 15, 4, 8), 2, 2);
    QRadialGradient glow(32, 44, 10);
    glow.setColorAt(0, QColor(255, 60, 120, 230));
    glow.setColorAt(1, QColor(255, 60, 120, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(32, 44), 10, 6);
}

} // namespace

QImage drawAppIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    drawTile(p);
    drawMouseBody(p);
    drawMouseDetails(p);
    p.end();
    return img;
}

QIcon appIcon() {
    QIcon icon;
    for (int s : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(s)));
    return icon;
}

} // namespace z417
