#include "ui/AppIcon.h"

#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>

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

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Draws each size when it is first asked for: the tray wants one or two, and a start hidden
// in the tray should not draw the rest.
class AppIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, pixmapOfSize(std::min(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return pixmapOfSize(std::min(size.width(), size.height()));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int s : kIconSizes)
            sizes << QSize(s, s);
        return sizes;
    }
    QIconEngine* clone() const override { return new AppIconEngine(*this); }
    QString key() const override { return QStringLiteral("z417-app-icon"); }

private:
    QPixmap pixmapOfSize(int side) {
        if (side <= 0)
            return QPixmap();
        auto it = drawn_.find(side);
        if (it == drawn_.end())
            it = drawn_.insert(side, QPixmap::fromImage(drawAppIcon(side)));
        return *it;
    }
    QHash<int, QPixmap> drawn_;
};

} // namespace

QIcon appIcon() {
    return QIcon(new AppIconEngine);
}

} // namespace z417
