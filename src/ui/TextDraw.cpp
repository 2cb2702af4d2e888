#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace z417 {

namespace {

// Faces tried after a table face that Linux seldom has, in order. The Chinese faces put a
// sans-serif Latin face first, so that digits and Latin letters never come from a CJK face
// (fontconfig would otherwise pick a serif CJK face for them), and take their ideographs from
// the sans-serif CJK faces the package allows.
struct FaceFallbacks {
    const char* face;
    bool chinese; // sized by its ideographs, not by its line
    const char* fallbacks[6];
};

constexpr FaceFallbacks kFaceFallbacks[] = {
    {"黑体",
     true,
     {"SimHei", "Liberation Sans", "DejaVu Sans", "WenQuanYi Zen Hei", "Noto Sans CJK SC",
      "Droid Sans Fallback"}},
    {"宋体",
     true,
     {"SimSun", "Liberation Sans", "DejaVu Sans", "WenQuanYi Zen Hei", "Noto Sans CJK SC",
      "Droid Sans Fallback"}},
    {"Arial", false, {"Liberation Sans", "DejaVu Sans"}},
    {"Tahoma", false, {"DejaVu Sans", "Liberation Sans"}},
};

const FaceFallbacks* fallbacksFor(const QString& face) {
    for (const FaceFallbacks& f : kFaceFallbacks) {
        if (face == QString::fromUtf8(f.face))
            return &f;
    }
    return nullptr;
}

QStringList familiesFor(const QString& face, const FaceFallbacks* known) {
    QStringList families{face};
    if (known) {
        for (const char* name : known->fallbacks) {
            if (name)
                families << QString::fromUtf8(name);
        }
    }
    // The CJK faces are named only where the texts are Chinese: asking fontconfig for them
    // costs every English start time, and Qt still falls back to them for a stray ideograph.
    if (known && known->chinese)
        families << "WenQuanYi Zen Hei"
                 << "Noto Sans CJK SC";
    families << "sans-serif";
    families.removeDuplicates();
    return families;
}

// The table's height is a cell height (ascent + descent), as a positive height asks of the
// Windows font mapper; Qt's pixel size is the em height. Take the largest pixel size whose cell
// fits the height given.
void fitCell(QFont& font, int height) {
    int pixels = height;
    font.setPixelSize(pixels);
    while (pixels > 1 && QFontMetrics(font).height() > height)
        font.setPixelSize(--pixels);
}

// The Windows Chinese faces have no extra line spacing: their ideographs fill the cell. The
// Linux CJK faces have tall lines, so fitting their cell would leave the ideographs two or three
// pixels short. Size them by full-height ideographs instead: the largest pixel size whose ink
// stays within the height. The sample holds tall ideographs of both scripts, so that no text
// of the page reaches out of a rectangle as high as the table's height.
void fitIdeographs(QFont& font, int height) {
    const QString ideograph = QStringLiteral("键鍵參數設置");
    int pixels = height * 3 / 2;
    font.setPixelSize(pixels);
    while (pixels > 1 && QFontMetrics(font).tightBoundingRect(ideograph).height() > height)
        font.setPixelSize(--pixels);
}

} // namespace

QFont makeFont(const FontEntry& entry) {
    const QString face = QString::fromStdString(entry.face);
    const FaceFallbacks* known = fallbacksFor(face);
    QFont font;
    font.setFamilies(familiesFor(face, known));
    font.setWeight(entry.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (known && known->chinese)
        fitIdeographs(font, entry.height);
    else
        fitCell(font, entry.height);
    return font;
}

void platformVersion(int& major, int& minor) {
    major = 0;
    minor = 0;
}

int listRowHeight(const QFont& font) {
    return QFontMetrics(font).height();
}

QStringList toQStringList(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << qs(item);
    return list;
}

QRect toQRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

QRect toQRect(const layout::Rect& rect) {
    return toQRect(rect.left, rect.top, rect.right, rect.bottom);
}

TextFormat toTextFormat(unsigned layoutFormat) {
    switch (layoutFormat) {
    case layout::textFormat::centredTop:
        return TextFormat::CentreTop;
    case layout::textFormat::left:
        return TextFormat::Left;
    case layout::textFormat::right:
        return TextFormat::Right;
    default:
        return TextFormat::Centre;
    }
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
