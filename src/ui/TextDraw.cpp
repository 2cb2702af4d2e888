#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace z417 {

QFont makeFont(const FontSpec& entry) {
    const QString face = QString::fromStdString(entry.face);
    QStringList families{face};
    if (face == QStringLiteral("黑体"))
        families << "SimHei"
                 << "WenQuanYi Zen Hei"
                 << "Noto Sans CJK SC"
                 << "Droid Sans Fallback";
    else if (face == QStringLiteral("宋体"))
        families << "SimSun"
                 << "AR PL UMing CN"
                 << "Noto Serif CJK SC"
                 << "WenQuanYi Zen Hei";
    else if (face == QStringLiteral("Arial"))
        families << "Liberation Sans"
                 << "DejaVu Sans"
                 << "WenQuanYi Zen Hei";
    else if (face == QStringLiteral("Tahoma"))
        families << "DejaVu Sans"
                 << "Liberation Sans"
                 << "WenQuanYi Zen Hei";
    families << "WenQuanYi Zen Hei"
             << "Noto Sans CJK SC"
             << "sans-serif";
    families.removeDuplicates();
    QFont font;
    font.setFamilies(families);
    font.setWeight(entry.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    // The table's height is a cell height (ascent + descent), as a positive height asks of
    // the Windows font mapper; Qt's pixel size is the em height. Take the largest pixel size
    // whose cell fits the height given.
    int pixels = entry.height;
    font.setPixelSize(pixels);
    while (pixels > 1 && QFontMetrics(font).height() > entry.height)
        font.setPixelSize(--pixels);
    return font;
}

void platformVersion(int& major, int& minor) {
    major = 0;
    minor = 0;
}

int listRowHeight(const QFont& font) {
    return QFontMetrics(font).height();
}

QRect toQRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

void drawText(QImage& surface, const QRect& rect, const QString& text, TextFormat format,
              const QFont& font, const QColor& colour) {
    if (surface.isNull() || text.isEmpty())
        return;
    int flags = Qt::TextSingleLine;
    switch (format) {
    case TextFormat::CentreTop:
        flags |= Qt::AlignHCenter | Qt::AlignTop;
        break;
    case TextFormat::Left:
        flags |= Qt::AlignLeft | Qt::AlignVCenter;
        break;
    case TextFormat::Centre:
        flags |= Qt::AlignCenter;
        break;
    case TextFormat::Right:
        flags |= Qt::AlignRight | Qt::AlignVCenter;
        break;
    }
    QPainter p(&surface);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(colour);
    // Single-line text is clipped at its box.
    p.setClipRect(rect);
    p.drawText(rect, flags, text);
}

} // namespace z417
