// z417-skingen: draws the skins of the Z417 utility.
//
//   z417-skingen OUTDIR                 writes OUTDIR/Skins/<skin>/*.png for every skin, each
//                                       image also drawn at twice the size as name@2x.png
//   z417-skingen --preview OUT.png [SKIN [RATIO]]
//                                       writes one composite of the main page and the dialogs
//                                       with their over looks and the layout's rectangles, at
//                                       ratio 1 (default) or 2
//
// Every position comes from ui/Layout.h, so frames, captions and control faces sit exactly where
// the program draws its texts and tests its clicks. No text is drawn into the art: the program
// paints its texts itself in three languages.
//
// The images of controls with two looks (buttons, boxes, segments, title-bar icons) are drawn
// again and again over the persistent back buffer: the hover handler may redraw the same over
// look, and each look is drawn over the other. A partly transparent pixel would blend once more
// at every redraw, so those images use alpha only as a mask: a pixel is either fully opaque
// (edges smoothed against the colour the page puts under the control) or fully transparent, and
// both looks of one control share the same mask. Page and dialog backgrounds are opaque RGB.
//
// The output is deterministic: no random numbers, no time stamps, no text chunks in the PNGs.

#include "assign/FontTable.h"
#include "ui/Layout.h"
#include "ui/PageControls.h"
#include "ui/TextDraw.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

namespace L = z417::layout;

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Themes
// ---------------------------------------------------------------------------------------------

enum class Pattern { Hex, Aurora };

struct Theme {
    QString name;
    Pattern pattern;
    QColor bgTop, bgBottom; // window backdrop
    QColor glowA, glowB;    // soft light in the backdrop
    QColor patternLine;     // backdrop pattern (carries its own alpha)
    QColor frame;           // outer window border
    QColor titleBar;        // flat title bar (title-bar icons are smoothed against it)
    QColor header;          // page header band
    QColor panel, panelTop; // panels: flat body, tinted head
    int panelAlpha;         // panels let a little of the backdrop through
    QColor panelBorder;     // 1-px panel border
    QColor caption;         // caption tabs
    QColor accent, accent2; // accent pair (gradients run accent -> accent2)
    QColor accentDim;       // quiet accent for guides and frames
    QColor track;           // recess under buttons and segments
    QColor trackBorder;     //
    QColor buttonTop, buttonBottom, buttonBorder;
    QColor box, boxCell, boxBorder;
    QColor iconFill, iconBorder, glyph;
    QColor danger;         // close button hover
    QColor plateA, plateB; // light plate behind the page title (drawn in RGB(66, 66, 66))
    QColor mouseBody, mouseEdge;
    QColor segmentOff; // unlit report-rate segment
};

// The two themes side by side: a theme is a column. Name, backdrop pattern and panel opacity
// first, then every colour of the art, one row each (red, green, blue and, where it is not
// opaque, alpha).
constexpr int kThemeCount = 2;

struct ThemeHead {
    const char* name;
    Pattern pattern;
    int panelAlpha;
};

const ThemeHead kThemeHeads[kThemeCount] = {
    {"Default", Pattern::Hex, 238},
    {"Aurora", Pattern::Aurora, 205},
};

struct Rgba {
    int r, g, b, a = 255;
};

struct ThemeColour {
    QColor Theme::*field;
    Rgba value[kThemeCount]; // Default, Aurora
};

const ThemeColour kThemeColours[] = {
    {&Theme::bgTop, {{16, 21, 28}, {32, 26, 58}}},
    {&Theme::bgBottom, {{8, 11, 15}, {16, 13, 31}}},
    {&Theme::glowA, {{34, 211, 238, 34}, {56, 245, 192, 40}}},
    {&Theme::glowB, {{59, 130, 246, 26}, {168, 123, 255, 44}}},
    {&Theme::patternLine, {{120, 200, 255, 9}, {180, 160, 255, 10}}},
    {&Theme::frame, {{40, 56, 72}, {72, 62, 120}}},
    {&Theme::titleBar, {{12, 16, 21}, {22, 18, 42}}},
    {&Theme::header, {{19, 26, 34}, {38, 31, 68}}},
    {&Theme::panel, {{17, 23, 31}, {33, 27, 60}}},
    {&Theme::panelTop, {{24, 33, 44}, {45, 37, 80}}},
    {&Theme::panelBorder, {{36, 50, 65}, {66, 56, 110}}},
    {&Theme::caption, {{27, 38, 51}, {50, 41, 88}}},
    {&Theme::accent, {{34, 211, 238}, {56, 245, 192}}},
    {&Theme::accent2, {{59, 130, 246}, {168, 123, 255}}},
    {&Theme::accentDim, {{40, 110, 140}, {92, 120, 150}}},
    {&Theme::track, {{9, 13, 18}, {20, 16, 38}}},
    {&Theme::trackBorder, {{30, 42, 55}, {58, 49, 98}}},
    {&Theme::buttonTop, {{42, 55, 70}, {70, 58, 116}}},
    {&Theme::buttonBottom, {{27, 36, 47}, {48, 39, 84}}},
    {&Theme::buttonBorder, {{56, 74, 94}, {96, 82, 152}}},
    {&Theme::box, {{12, 18, 25}, {24, 19, 45}}},
    {&Theme::boxCell, {{25, 35, 47}, {46, 38, 82}}},
    {&Theme::boxBorder, {{44, 60, 78}, {78, 66, 128}}},
    {&Theme::iconFill, {{24, 32, 42}, {40, 33, 72}}},
    {&Theme::iconBorder, {{44, 58, 74}, {76, 64, 124}}},
    {&Theme::glyph, {{150, 168, 186}, {190, 180, 230}}},
    {&Theme::danger, {{230, 56, 76}, {244, 63, 120}}},
    {&Theme::plateA, {{214, 248, 255}, {206, 255, 236}}},
    {&Theme::plateB, {{130, 222, 246}, {214, 196, 255}}},
    {&Theme::mouseBody, {{28, 36, 46}, {48, 40, 84}}},
    {&Theme::mouseEdge, {{70, 92, 114}, {110, 96, 170}}},
    {&Theme::segmentOff, {{22, 32, 42}, {42, 35, 74}}},
};

std::vector<Theme> allThemes() {
    std::vector<Theme> themes(kThemeCount);
    for (int i = 0; i < kThemeCount; ++i) {
        Theme& t = themes[i];
        t.name = kThemeHeads[i].name;
        t.pattern = kThemeHeads[i].pattern;
        t.panelAlpha = kThemeHeads[i].panelAlpha;
        for (const ThemeColour& c : kThemeColours) {
            const Rgba& v = c.value[i];
            t.*c.field = QColor(v.r, v.g, v.b, v.a);
        }
    }
    return themes;
}

// ---------------------------------------------------------------------------------------------
// Small drawing helpers
// ---------------------------------------------------------------------------------------------

QRect toQ(const L::Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// The pixel-centred outline of r, for crisp 1-px strokes.
QRectF inner(const QRect& r) {
    return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
}

QRect grow(const L::Rect& r, int d) {
    return toQ(r).adjusted(-d, -d, d, d);
}

QColor alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QPen pen(const QColor& c, double width = 1.0) {
    QPen p(c, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

QPainterPath rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// A rectangle with its top-left and bottom-right corners cut at 45 degrees.
QPainterPath chamfered(const QRectF& r, double cut) {
    QPainterPath path;
    path.moveTo(r.left() + cut, r.top());
    path.lineTo(r.right(), r.top());
    path.lineTo(r.right(), r.bottom() - cut);
    path.lineTo(r.right() - cut, r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + cut);
    path.closeSubpath();
    return path;
}

QPainterPath hexagon(QPointF c, double radius) {
    QPainterPath path;
    for (int i = 0; i < 6; ++i) {
        const double a = (60.0 * i - 90.0) * kPi / 180.0;
        const QPointF pt(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        if (i == 0) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

// A soft glow: the same stroke drawn wide and faint, then narrower and stronger.
void glowStroke(QPainter& p, const QPainterPath& path, const QColor& c, double width,
                int strength = 255) {
    const struct {
        double extra;
        int a;
    } layers[] = {{10, 10}, {6, 18}, {3, 34}, {0, 255}};
    p.save();
    p.setBrush(Qt::NoBrush);
    for (const auto& l : layers) {
        p.setPen(pen(alpha(c, l.a * strength / 255 * c.alpha() / 255), width + l.extra));
        p.drawPath(path);
    }
    p.restore();
}

void softShadow(QPainter& p, const QRectF& r, double radius, int strength) {
    p.save();
    QPainterPath outside;
    outside.addRect(r.adjusted(-20, -20, 20, 20));
    p.setClipPath(outside.subtracted(rounded(r, radius)));
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, strength / (i + 1)));
        p.drawRoundedRect(r.adjusted(-i, -i + 3, i, i + 3), radius + i, radius + i);
    }
    p.restore();
}

void chevronDown(QPainter& p, QPointF c, double half, const QColor& colour, double width = 1.5) {
    p.save();
    p.setPen(pen(colour, width));
    p.setBrush(Qt::NoBrush);
    QPolygonF v;
    v << QPointF(c.x() - half, c.y() - half / 2) << QPointF(c.x(), c.y() + half / 2)
      << QPointF(c.x() + half, c.y() - half / 2);
    p.drawPolyline(v);
    p.restore();
}

// A digit in seven segments (the callout numbers of the mouse illustration are art, not text).
void sevenSegment(QPainter& p, int digit, QRectF box, const QColor& colour, double width) {
    static const unsigned char masks[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                            0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    const double m = (t + b) / 2;
    const QLineF segs[7] = {
        {l, t, r, t}, {r, t, r, m}, {r, m, r, b}, {l, b, r, b},
        {l, m, l, b}, {l, t, l, m}, {l, m, r, m},
    };
    p.save();
    p.setPen(pen(colour, width));
    for (int i = 0; i < 7; ++i) {
        if (masks[digit] & (1u << i)) {
            p.drawLine(segs[i]);
        }
    }
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Glyphs (title-bar icons, dialog emblems)
// ---------------------------------------------------------------------------------------------

enum class Glyph { RapidFire, HotKey, Media, Launch, SingleKey, Snipe, Palette, Gear };

// Draws a glyph as strokes into box; the stroke width scales with the box.
// A glyph's square cell: points and rectangles in fractions of its side.
struct GlyphCell {
    QPointF origin;
    double s;
    QColor colour;
    double width;
    QPointF P(double x, double y) const { return QPointF(origin.x() + x * s, origin.y() + y * s); }
    QRectF R(double x, double y, double w, double h) const {
        return QRectF(P(x, y), QSizeF(w * s, h * s));
    }
};

void drawRapidFireGlyph(QPainter& p, const GlyphCell& c) {
    for (int i = 0; i < 3; ++i) {
        const double x = 0.12 + 0.25 * i;
        QPolygonF v;
        v << c.P(x, 0.2) << c.P(x + 0.28, 0.5) << c.P(x, 0.8);
        p.setPen(pen(alpha(c.colour, c.colour.alpha() * (i + 1) / 3), c.width));
        p.drawPolyline(v);
    }
}

void drawHotKeyGlyph(QPainter& p, const GlyphCell& c) {
    const double r = 0.07 * c.s;
    p.drawRoundedRect(c.R(0.02, 0.26, 0.36, 0.46), r, r);
    p.drawRoundedRect(c.R(0.08, 0.3, 0.24, 0.28), r / 2, r / 2);
    p.drawRoundedRect(c.R(0.62, 0.26, 0.36, 0.46), r, r);
    p.drawRoundedRect(c.R(0.68, 0.3, 0.24, 0.28), r / 2, r / 2);
    p.drawLine(c.P(0.5, 0.38), c.P(0.5, 0.6));
    p.drawLine(c.P(0.39, 0.49), c.P(0.61, 0.49));
}

void drawMediaGlyph(QPainter& p, const GlyphCell& c) {
    p.drawEllipse(c.R(0.06, 0.06, 0.88, 0.88));
    QPainterPath tri;
    tri.moveTo(c.P(0.4, 0.3));
    tri.lineTo(c.P(0.7, 0.5));
    tri.lineTo(c.P(0.4, 0.7));
    tri.closeSubpath();
    p.setBrush(c.colour);
    p.drawPath(tri);
}

void drawLaunchGlyph(QPainter& p, const GlyphCell& c) {
    const double r = 0.06 * c.s;
    p.drawRoundedRect(c.R(0.06, 0.06, 0.36, 0.36), r, r);
    p.drawRoundedRect(c.R(0.06, 0.58, 0.36, 0.36), r, r);
    p.drawRoundedRect(c.R(0.58, 0.58, 0.36, 0.36), r, r);
    p.drawLine(c.P(0.6, 0.4), c.P(0.92, 0.08));
    QPolygonF head;
    head << c.P(0.66, 0.08) << c.P(0.92, 0.08) << c.P(0.92, 0.34);
    p.drawPolyline(head);
}

void drawSingleKeyGlyph(QPainter& p, const GlyphCell& c) {
    const double r = 0.1 * c.s;
    p.drawRoundedRect(c.R(0.1, 0.14, 0.8, 0.72), r, r);
    p.drawRoundedRect(c.R(0.22, 0.22, 0.56, 0.44), r / 2, r / 2);
    p.drawLine(c.P(0.4, 0.78), c.P(0.6, 0.78));
}

void drawSnipeGlyph(QPainter& p, const GlyphCell& c) {
    p.drawEllipse(c.R(0.12, 0.12, 0.76, 0.76));
    p.drawLine(c.P(0.5, 0.02), c.P(0.5, 0.38));
    p.drawLine(c.P(0.5, 0.62), c.P(0.5, 0.98));
    p.drawLine(c.P(0.02, 0.5), c.P(0.38, 0.5));
    p.drawLine(c.P(0.62, 0.5), c.P(0.98, 0.5));
    p.setBrush(c.colour);
    p.drawEllipse(QRectF(c.P(0.46, 0.46), QSizeF(0.08 * c.s, 0.08 * c.s)));
}

void drawPaletteGlyph(QPainter& p, const GlyphCell& c) {
    QPainterPath pal;
    pal.addEllipse(c.R(0.06, 0.1, 0.88, 0.8));
    QPainterPath hole;
    hole.addEllipse(c.R(0.56, 0.54, 0.2, 0.2));
    p.drawPath(pal.subtracted(hole));
    p.setPen(Qt::NoPen);
    p.setBrush(c.colour);
    const double d = 0.14;
    p.drawEllipse(c.R(0.22, 0.26, d, d));
    p.drawEllipse(c.R(0.44, 0.2, d, d));
    p.drawEllipse(c.R(0.2, 0.5, d, d));
}

void drawGearGlyph(QPainter& p, const GlyphCell& c) {
    QPainterPath gear;
    const QPointF centre = c.P(0.5, 0.5);
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double a = (i * 360.0 / (teeth * 4) - 11.25) * kPi / 180.0;
        const double radius = ((i / 2) % 2 == 0 ? 0.46 : 0.35) * c.s;
        const QPointF pt(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
        if (i == 0) {
            gear.moveTo(pt);
        } else {
            gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    p.drawPath(gear);
    p.drawEllipse(centre, 0.14 * c.s, 0.14 * c.s);
}

void paintGlyph(QPainter& p, Glyph g, const QRectF& box, const QColor& colour, double width) {
    const double s = std::min(box.width(), box.height());
    const GlyphCell cell{QPointF(box.center().x() - s / 2, box.center().y() - s / 2), s, colour,
                         width};
    p.save();
    p.setPen(pen(colour, width));
    p.setBrush(Qt::NoBrush);
    switch (g) {
    case Glyph::RapidFire:
        drawRapidFireGlyph(p, cell);
        break;
    case Glyph::HotKey:
        drawHotKeyGlyph(p, cell);
        break;
    case Glyph::Media:
        drawMediaGlyph(p, cell);
        break;
    case Glyph::Launch:
        drawLaunchGlyph(p, cell);
        break;
    case Glyph::SingleKey:
        drawSingleKeyGlyph(p, cell);
        break;
    case Glyph::Snipe:
        drawSnipeGlyph(p, cell);
        break;
    case Glyph::Palette:
        drawPaletteGlyph(p, cell);
        break;
    case Glyph::Gear:
        drawGearGlyph(p, cell);
        break;
    }
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Control images with a binary alpha mask
// ---------------------------------------------------------------------------------------------

// A blank image of `logical` layout size with `ratio` device pixels per layout pixel. Painters
// on it work in layout coordinates, so the same drawing code gives the 1x art and a really drawn
// (not upscaled) @2x art.
QImage canvas(QSize logical, QImage::Format format, int ratio) {
    QImage img(logical * ratio, format);
    img.setDevicePixelRatio(ratio);
    return img;
}

// The device pixels per layout pixel of what `p` paints on.
int ratioOf(const QPainter& p) {
    return static_cast<int>(p.device()->devicePixelRatio());
}

// Draws a control image: `shape` decides which pixels exist (any coverage makes a pixel fully
// opaque, none leaves it fully transparent); `draw` paints the look, and partly covered edge
// pixels are blended against `under`, the colour the page art has below the control.
QImage controlImage(QSize size, int ratio, const QColor& under, const QPainterPath& shape,
                    const std::function<void(QPainter&)>& draw) {
    QImage look = canvas(size, QImage::Format_ARGB32_Premultiplied, ratio);
    look.fill(under);
    {
        QPainter p(&look);
        p.setRenderHint(QPainter::Antialiasing);
        p.setClipPath(shape);
        draw(p);
    }
    // The background outside the shape must not leak into the edge: blend the clipped look
    // (which already sits on `under`) with `under` by the shape's coverage.
    QImage cover = canvas(size, QImage::Format_ARGB32_Premultiplied, ratio);
    cover.fill(Qt::transparent);
    {
        QPainter p(&cover);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(shape, Qt::white);
    }
    QImage out = canvas(size, QImage::Format_ARGB32, ratio);
    const int ur = under.red(), ug = under.green(), ub = under.blue();
    for (int y = 0; y < out.height(); ++y) {
        const QRgb* l = reinterpret_cast<const QRgb*>(look.constScanLine(y));
        const QRgb* c = reinterpret_cast<const QRgb*>(cover.constScanLine(y));
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int a = qAlpha(c[x]);
            if (a == 0) {
                o[x] = qRgba(0, 0, 0, 0);
                continue;
            }
            auto blend = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
            o[x] =
                qRgba(blend(qRed(l[x]), ur), blend(qGreen(l[x]), ug), blend(qBlue(l[x]), ub), 255);
        }
    }
    return out;
}

QPainterPath roundedShape(QSize size, double radius) {
    return rounded(QRectF(0, 0, size.width(), size.height()), radius);
}

QSize qsize(const L::Size& s) {
    return QSize(s.width, s.height);
}

// ---------------------------------------------------------------------------------------------
// Control faces
// ---------------------------------------------------------------------------------------------

QImage textButton(const Theme& t, bool over, int ratio) {
    const QSize size = qsize(L::images::textButton.normal.size);
    const QRectF r(0, 0, size.width(), size.height());
    return controlImage(size, ratio, t.track, roundedShape(size, 3.5), [&](QPainter& p) {
        QLinearGradient g(0, 0, 0, size.height());
        if (over) {
            g.setColorAt(0, mix(t.buttonTop, t.accent, 0.38));
            g.setColorAt(0.5, mix(t.buttonBottom, t.accent2, 0.30));
            g.setColorAt(1, mix(t.buttonBottom, t.accent, 0.22));
        } else {
            g.setColorAt(0, t.buttonTop);
            g.setColorAt(1, t.buttonBottom);
        }
        p.fillRect(r, g);
        if (over) {
            // Light from below, as if the control glowed.
            QRadialGradient glow(QPointF(r.center().x(), r.bottom() + 4), r.width() * 0.55);
            glow.setColorAt(0, alpha(t.accent, 110));
            glow.setColorAt(1, alpha(t.accent, 0));
            p.fillRect(r, glow);
        }
        // 1-px highlight under the top edge, border and accent line.
        p.setPen(pen(alpha(Qt::white, over ? 70 : 34)));
        p.drawLine(QPointF(3, 1.5), QPointF(r.width() - 3, 1.5));
        p.setPen(pen(over ? mix(t.accent, Qt::white, 0.25) : t.buttonBorder));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        if (over) {
            p.setPen(pen(alpha(t.accent, 230)));
            p.drawLine(QPointF(6, r.height() - 1.5), QPointF(r.width() - 6, r.height() - 1.5));
        }
    });
}

QImage assignmentBox(const Theme& t, bool over, int ratio) {
    const QSize size = qsize(L::images::assignmentBox.normal.size);
    const QRectF r(0, 0, size.width(), size.height());
    // The row number sits in the first 20 pixels of the box.
    const double cell = L::main::rowNumber(0).rect.width();
    return controlImage(size, ratio, t.panel, roundedShape(size, 3), [&](QPainter& p) {
        QLinearGradient g(0, 0, 0, size.height());
        g.setColorAt(0, mix(t.box, Qt::white, over ? 0.06 : 0.03));
        g.setColorAt(1, t.box);
        p.fillRect(r, g);
        if (over) {
            QLinearGradient sweep(0, 0, size.width(), 0);
            sweep.setColorAt(0, alpha(t.accent, 60));
            sweep.setColorAt(0.6, alpha(t.accent2, 14));
            sweep.setColorAt(1, alpha(t.accent2, 0));
            p.fillRect(r, sweep);
        }
        QLinearGradient c(0, 0, 0, size.height());
        c.setColorAt(0, over ? mix(t.boxCell, t.accent, 0.45) : mix(t.boxCell, Qt::white, 0.04));
        c.setColorAt(1, over ? mix(t.boxCell, t.accent2, 0.35) : t.boxCell);
        p.fillRect(QRectF(0, 0, cell, size.height()), c);
        p.setPen(pen(over ? alpha(t.accent, 150) : alpha(t.boxBorder, 140)));
        p.drawLine(QPointF(cell - 0.5, 4), QPointF(cell - 0.5, size.height() - 4));
        p.setPen(pen(alpha(Qt::white, over ? 40 : 22)));
        p.drawLine(QPointF(cell + 2, 1.5), QPointF(r.width() - 3, 1.5));
        chevronDown(p, QPointF(r.width() - 11, r.height() / 2 + 0.5), 3.5,
                    over ? t.accent : t.glyph);
        p.setPen(pen(over ? t.accent : t.boxBorder));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    });
}

QImage reportRateSegment(const Theme& t, bool light, int ratio) {
    const QSize size = qsize(L::images::reportRateDark.size);
    const QRectF r(0, 0, size.width(), size.height());
    return controlImage(size, ratio, t.track, roundedShape(size, 2.5), [&](QPainter& p) {
        if (light) {
            QLinearGradient g(0, 0, size.width(), 0);
            g.setColorAt(0, t.accent);
            g.setColorAt(1, t.accent2);
            p.fillRect(r, g);
            QLinearGradient shine(0, 0, 0, size.height());
            shine.setColorAt(0, alpha(Qt::white, 150));
            shine.setColorAt(0.45, alpha(Qt::white, 30));
            shine.setColorAt(0.55, alpha(Qt::black, 0));
            shine.setColorAt(1, alpha(Qt::black, 50));
            p.fillRect(r, shine);
            p.setPen(pen(alpha(Qt::white, 120)));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        } else {
            QLinearGradient g(0, 0, 0, size.height());
            g.setColorAt(0, mix(t.segmentOff, Qt::black, 0.3));
            g.setColorAt(1, t.segmentOff);
            p.fillRect(r, g);
            // Unlit LED cells.
            p.setPen(pen(alpha(t.accentDim, 90)));
            for (double x = 7.5; x < size.width() - 4; x += 8) {
                p.drawLine(QPointF(x, 3), QPointF(x, size.height() - 3));
            }
            p.setPen(pen(mix(t.segmentOff, t.accentDim, 0.5)));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        }
    });
}

enum class TitleIcon { Minimise, Close, Skins };

QImage titleIcon(const Theme& t, TitleIcon kind, bool over, int ratio) {
    const QSize size = qsize(L::images::closeButton.normal.size);
    const QRectF r(0, 0, size.width(), size.height());
    return controlImage(size, ratio, t.titleBar, roundedShape(size, 4), [&](QPainter& p) {
        QColor fill = t.iconFill;
        if (over) {
            fill = kind == TitleIcon::Close ? t.danger : mix(t.accent, t.accent2, 0.35);
        }
        QLinearGradient g(0, 0, 0, size.height());
        g.setColorAt(0, mix(fill, Qt::white, over ? 0.18 : 0.05));
        g.setColorAt(1, fill);
        p.fillRect(r, g);
        p.setPen(pen(over ? mix(fill, Qt::white, 0.35) : t.iconBorder));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
        const QColor ink = over ? QColor(255, 255, 255) : t.glyph;
        p.setPen(pen(ink, 1.6));
        switch (kind) {
        case TitleIcon::Minimise:
            p.drawLine(QPointF(5.5, 12), QPointF(12.5, 12));
            break;
        case TitleIcon::Close:
            p.drawLine(QPointF(5.5, 5.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 5.5), QPointF(5.5, 12.5));
            break;
        case TitleIcon::Skins: {
            // Half-filled disc: the usual sign for a theme.
            const QRectF disc(4.5, 4.5, 9, 9);
            p.setBrush(Qt::NoBrush);
            p.setPen(pen(ink, 1.4));
            p.drawEllipse(disc);
            QPainterPath half;
            half.moveTo(disc.center());
            half.arcTo(disc, 90, 180);
            half.closeSubpath();
            p.fillPath(half, ink);
            break;
        }
        }
    });
}

QImage pageButton(const Theme& t, bool over, int ratio) {
    const QSize size = qsize(L::images::pageButton.normal.size);
    const QRectF r(0, 0, size.width(), size.height());
    return controlImage(size, ratio, t.header, roundedShape(size, 8), [&](QPainter& p) {
        QLinearGradient g(0, 0, 0, size.height());
        if (over) {
            g.setColorAt(0, mix(t.buttonTop, t.accent, 0.45));
            g.setColorAt(1, mix(t.buttonBottom, t.accent2, 0.35));
        } else {
            g.setColorAt(0, t.buttonTop);
            g.setColorAt(1, t.buttonBottom);
        }
        p.fillRect(r, g);
        QRadialGradient glow(r.center(), 20);
        glow.setColorAt(0, alpha(t.accent, over ? 90 : 26));
        glow.setColorAt(1, alpha(t.accent, 0));
        p.fillRect(r, glow);
        p.setPen(pen(alpha(Qt::white, over ? 80 : 36)));
        p.drawLine(QPointF(7, 1.5), QPointF(r.width() - 7, 1.5));
        p.setPen(pen(over ? mix(t.accent, Qt::white, 0.3) : t.buttonBorder));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 7.5, 7.5);
        paintGlyph(p, Glyph::Gear, r.adjusted(9, 9, -9, -9),
                   over ? QColor(255, 255, 255) : mix(t.glyph, t.accent, 0.35), 2.0);
    });
}

// ---------------------------------------------------------------------------------------------
// Backdrop, title bar, panels
// ---------------------------------------------------------------------------------------------

// Fine hexagon mesh, fading towards the bottom.
void paintHexMesh(QPainter& p, QSize size, const Theme& t) {
    const double radius = 13;
    const double w = radius * std::sqrt(3.0);
    int row = 0;
    for (double y = 0; y < size.height() + radius; y += radius * 1.5, ++row) {
        const int fade = std::max(0, 255 - static_cast<int>(y * 200 / size.height()));
        p.setPen(pen(alpha(t.patternLine, t.patternLine.alpha() * fade / 255), 1.0));
        for (double x = (row % 2) * w / 2; x < size.width() + w; x += w) {
            p.drawPath(hexagon(QPointF(x, y), radius));
        }
    }
}

// Aurora: wide soft ribbons across the upper half.
void paintRibbons(QPainter& p, QSize size, const Theme& t) {
    const struct {
        double y0, y1, y2, y3;
        QColor c;
    } ribbons[] = {
        {0.30, 0.12, 0.36, 0.16, t.accent},
        {0.38, 0.22, 0.44, 0.26, t.accent2},
        {0.22, 0.30, 0.08, 0.20, mix(t.accent, t.accent2, 0.5)},
    };
    for (const auto& rb : ribbons) {
        QPainterPath path;
        const double h = size.height();
        path.moveTo(-40, rb.y0 * h);
        path.cubicTo(size.width() * 0.33, rb.y1 * h, size.width() * 0.66, rb.y2 * h,
                     size.width() + 40, rb.y3 * h);
        for (int i = 10; i >= 1; --i) {
            p.setPen(pen(alpha(rb.c, 9), i * 12.0));
            p.drawPath(path);
        }
    }
}

// Star dust: a fixed lattice, every point placed by a small integer hash.
void paintStarDust(QPainter& p, QSize size) {
    p.setPen(Qt::NoPen);
    unsigned state = 0x2545F491u;
    for (int i = 0; i < 90; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const double x = (state % 10000) / 10000.0 * size.width();
        const double y = ((state / 10000) % 10000) / 10000.0 * size.height() * 0.6;
        p.setBrush(alpha(Qt::white, 20 + static_cast<int>(state % 40)));
        p.drawEllipse(QPointF(x, y), 0.8, 0.8);
    }
}

void paintBackdrop(QPainter& p, QSize size, const Theme& t) {
    const QRectF all(0, 0, size.width(), size.height());
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, t.bgTop);
    g.setColorAt(1, t.bgBottom);
    p.fillRect(all, g);

    QRadialGradient a(QPointF(size.width() * 0.12, size.height() * 0.1), size.width() * 0.55);
    a.setColorAt(0, t.glowA);
    a.setColorAt(1, alpha(t.glowA, 0));
    p.fillRect(all, a);
    QRadialGradient b(QPointF(size.width() * 0.95, size.height() * 0.95), size.width() * 0.6);
    b.setColorAt(0, t.glowB);
    b.setColorAt(1, alpha(t.glowB, 0));
    p.fillRect(all, b);

    p.save();
    p.setBrush(Qt::NoBrush);
    if (t.pattern == Pattern::Hex) {
        paintHexMesh(p, size, t);
    } else {
        paintRibbons(p, size, t);
        paintStarDust(p, size);
    }
    p.restore();

    // Vignette.
    QRadialGradient v(QPointF(size.width() / 2.0, size.height() / 2.0), size.width() * 0.75);
    v.setColorAt(0.6, QColor(0, 0, 0, 0));
    v.setColorAt(1, QColor(0, 0, 0, 90));
    p.fillRect(all, v);
}

void paintWindowFrame(QPainter& p, QSize size, const Theme& t) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(t.frame));
    p.drawRect(inner(QRect(QPoint(0, 0), size)));
    p.setPen(pen(alpha(Qt::white, 10)));
    p.drawLine(QPointF(1, 1.5), QPointF(size.width() - 1, 1.5));
    p.restore();
}

void paintLogo(QPainter& p, QPointF c, double radius, const Theme& t) {
    p.save();
    glowStroke(p, hexagon(c, radius), t.accent, 1.4, 200);
    QPainterPath z;
    const double s = radius * 0.5;
    z.moveTo(c.x() - s, c.y() - s * 0.8);
    z.lineTo(c.x() + s, c.y() - s * 0.8);
    z.lineTo(c.x() - s, c.y() + s * 0.8);
    z.lineTo(c.x() + s, c.y() + s * 0.8);
    p.setPen(pen(mix(t.accent, Qt::white, 0.4), 1.5));
    p.drawPath(z);
    p.restore();
}

// Title bar shared by the main window: flat strip, accent rule and brand mark.
void paintTitleBar(QPainter& p, int width, int height, const Theme& t) {
    p.fillRect(QRect(0, 0, width, height), t.titleBar);
    QLinearGradient rule(0, 0, width, 0);
    rule.setColorAt(0, alpha(t.accent, 220));
    rule.setColorAt(0.35, alpha(t.accent2, 70));
    rule.setColorAt(1, alpha(t.accent2, 0));
    p.fillRect(QRect(0, height - 1, width, 1), t.panelBorder);
    p.fillRect(QRect(0, height - 1, width, 1), rule);
    QLinearGradient under(0, height, 0, height + 6);
    under.setColorAt(0, alpha(t.accent, 36));
    under.setColorAt(1, alpha(t.accent, 0));
    p.fillRect(QRect(0, height, width / 2, 6), under);
    paintLogo(p, QPointF(20, height / 2.0), 9, t);
    // Slanted brand stripes.
    for (int i = 0; i < 4; ++i) {
        QPainterPath s;
        const double x = 40 + i * 9;
        s.moveTo(x + 4, 10);
        s.lineTo(x + 9, 10);
        s.lineTo(x + 5, height - 10);
        s.lineTo(x, height - 10);
        s.closeSubpath();
        p.fillPath(s, alpha(i == 0 ? t.accent : t.accent2, 200 - i * 45));
    }
    QLinearGradient fade(80, 0, 300, 0);
    fade.setColorAt(0, alpha(t.accentDim, 140));
    fade.setColorAt(1, alpha(t.accentDim, 0));
    p.fillRect(QRect(80, height / 2, 220, 1), fade);
}

// A panel: soft shadow, flat body with a tinted head, 1-px border and top highlight, and HUD
// brackets at two corners.
void paintPanel(QPainter& p, const QRect& rect, const Theme& t, int headHeight = 44) {
    const QRectF r(rect);
    softShadow(p, r, 6, 70);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(t.panel, t.panelAlpha));
    p.drawRoundedRect(r, 6, 6);
    QLinearGradient head(0, r.top(), 0, r.top() + headHeight);
    head.setColorAt(0, alpha(t.panelTop, 150));
    head.setColorAt(1, alpha(t.panelTop, 0));
    p.setBrush(head);
    p.setClipRect(QRectF(r.left(), r.top(), r.width(), headHeight));
    p.drawRoundedRect(r, 6, 6);
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(t.panelBorder));
    p.drawRoundedRect(inner(rect), 5.5, 5.5);
    p.setPen(pen(alpha(Qt::white, 16)));
    p.drawLine(QPointF(r.left() + 6, r.top() + 1.5), QPointF(r.right() - 6, r.top() + 1.5));
    // Corner brackets.
    p.setPen(pen(alpha(t.accent, 170), 1.5));
    const double b = 12;
    p.drawPolyline(QPolygonF() << QPointF(r.left() + 0.75, r.top() + 6 + b)
                               << QPointF(r.left() + 0.75, r.top() + 6));
    p.drawPolyline(QPolygonF() << QPointF(r.left() + 6, r.top() + 0.75)
                               << QPointF(r.left() + 6 + b, r.top() + 0.75));
    p.drawPolyline(QPolygonF() << QPointF(r.right() - 0.75, r.bottom() - 6 - b)
                               << QPointF(r.right() - 0.75, r.bottom() - 6));
    p.drawPolyline(QPolygonF() << QPointF(r.right() - 6, r.bottom() - 0.75)
                               << QPointF(r.right() - 6 - b, r.bottom() - 0.75));
    p.restore();
}

// How far a caption tab reaches past its caption's rectangle on either side. A caption may fill
// its whole rectangle ("Report Rate Setting" does), and the tab's accent bar and bevelled
// corners must not touch it.
constexpr int kCaptionTabPadding = 8;

// Caption tab where the program centres a section caption, with a rule running on to the
// panel's right edge.
void paintCaptionTab(QPainter& p, const L::Rect& caption, int panelRight, const Theme& t) {
    const QRect r = toQ(caption).adjusted(-kCaptionTabPadding, 0, kCaptionTabPadding, 0);
    p.save();
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, mix(t.caption, Qt::white, 0.05));
    g.setColorAt(1, t.caption);
    p.fillPath(chamfered(QRectF(r), 5), g);
    p.setPen(pen(alpha(t.accent, 90)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chamfered(inner(r), 5));
    // Accent bar on the left and a rule along the bottom edge.
    p.fillRect(QRect(r.left() + 1, r.top() + 6, 2, r.height() - 7), t.accent);
    QLinearGradient rule(r.right(), 0, panelRight - 12, 0);
    rule.setColorAt(0, alpha(t.accent, 120));
    rule.setColorAt(1, alpha(t.accent, 0));
    p.fillRect(QRect(r.right() + 1, r.bottom(), panelRight - 12 - r.right(), 1), rule);
    p.restore();
}

// A recess with a flat fill, as under button groups and segments.
void paintTrack(QPainter& p, const QRect& r, const Theme& t, double radius = 4.5) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(t.track);
    p.drawRoundedRect(QRectF(r), radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(t.trackBorder));
    p.drawRoundedRect(inner(r), radius - 0.5, radius - 0.5);
    p.setPen(pen(alpha(Qt::black, 120)));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
               QPointF(r.right() - radius, r.top() + 1.5));
    p.restore();
}

// Frame of a child field the program creates on top: `field` is covered by the child, `arrow`
// (possibly empty) is the rest of the click area and gets a drop-down chevron.
void paintFieldFrame(QPainter& p, const QRect& field, const QRect& arrow, const QColor& fill,
                     const Theme& t) {
    QRect outer = field;
    if (!arrow.isEmpty()) {
        outer = outer.united(arrow);
    }
    outer.adjust(-2, -2, 2, 2);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(outer), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(mix(t.panelBorder, t.accentDim, 0.6)));
    p.drawRoundedRect(inner(outer), 2.5, 2.5);
    if (!arrow.isEmpty()) {
        p.fillRect(QRect(arrow.left(), arrow.top(), arrow.width() + 1, arrow.height()),
                   mix(fill, Qt::white, 0.06));
        p.setPen(pen(alpha(t.accentDim, 200)));
        p.drawLine(QPointF(arrow.left() + 0.5, arrow.top()),
                   QPointF(arrow.left() + 0.5, arrow.bottom() + 1));
        chevronDown(p, QPointF(arrow.center().x() + 1, arrow.center().y() + 1), 3, t.accent);
    }
    // Accent underline.
    QLinearGradient u(outer.left(), 0, outer.right(), 0);
    u.setColorAt(0, alpha(t.accent, 150));
    u.setColorAt(1, alpha(t.accent2, 40));
    p.fillRect(QRect(outer.left() + 3, outer.bottom(), outer.width() - 6, 1), u);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// The mouse illustration of the main page
// ---------------------------------------------------------------------------------------------

// Where the mouse illustration stands: x offsets from its centre line, y offsets from its
// top; dim fades its glows and edges.
struct MouseFrame {
    double cx;
    double top;
    double dim;
    double X(double dx) const { return cx + dx; }
    double Y(double dy) const { return top + dy; }
};

// Glow pad under the mouse.
void paintMousePad(QPainter& p, const MouseFrame& m, const Theme& t) {
    QRadialGradient pad(QPointF(m.cx, m.Y(250)), 110);
    pad.setColorAt(0, alpha(t.accent, static_cast<int>(70 * m.dim)));
    pad.setColorAt(0.5, alpha(t.accent2, static_cast<int>(24 * m.dim)));
    pad.setColorAt(1, alpha(t.accent2, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(pad);
    p.drawEllipse(QPointF(m.cx, m.Y(250)), 100, 26);
}

QPainterPath mouseOutline(const MouseFrame& m) {
    QPainterPath body;
    body.moveTo(m.X(0), m.Y(0));
    body.cubicTo(m.X(26), m.Y(0), m.X(46), m.Y(10), m.X(51), m.Y(40));
    body.cubicTo(m.X(56), m.Y(76), m.X(53), m.Y(106), m.X(57), m.Y(142));
    body.cubicTo(m.X(61), m.Y(190), m.X(52), m.Y(232), m.X(24), m.Y(246));
    body.cubicTo(m.X(14), m.Y(250), m.X(-14), m.Y(250), m.X(-24), m.Y(246));
    body.cubicTo(m.X(-52), m.Y(232), m.X(-61), m.Y(190), m.X(-57), m.Y(142));
    body.cubicTo(m.X(-53), m.Y(106), m.X(-56), m.Y(76), m.X(-51), m.Y(40));
    body.cubicTo(m.X(-46), m.Y(10), m.X(-26), m.Y(0), m.X(0), m.Y(0));

    return body;
}

// Side buttons on the left flank (buttons 4 and 5).
void paintSideButtons(QPainter& p, const MouseFrame& m, const Theme& t) {
    const QRectF side4(m.X(-62), m.Y(118), 9, 30);
    const QRectF side5(m.X(-61), m.Y(153), 9, 30);
    for (const QRectF& s : {side4, side5}) {
        p.setBrush(mix(t.mouseBody, Qt::white, 0.08));
        p.setPen(pen(alpha(t.mouseEdge, static_cast<int>(255 * m.dim))));
        p.drawRoundedRect(s, 3, 3);
    }
}

// The shell: shaded, with a sheen and a glowing edge.
void paintMouseShell(QPainter& p, const QPainterPath& body, const MouseFrame& m, const Theme& t) {
    QLinearGradient shade(m.X(-60), 0, m.X(60), 0);
    shade.setColorAt(0, mix(t.mouseBody, Qt::white, 0.10));
    shade.setColorAt(0.45, t.mouseBody);
    shade.setColorAt(1, mix(t.mouseBody, Qt::black, 0.35));
    p.setBrush(shade);
    p.setPen(Qt::NoPen);
    p.drawPath(body);
    QRadialGradient sheen(QPointF(m.X(-22), m.Y(60)), 70);
    sheen.setColorAt(0, alpha(Qt::white, static_cast<int>(34 * m.dim)));
    sheen.setColorAt(1, alpha(Qt::white, 0));
    p.setBrush(sheen);
    p.drawPath(body);
    glowStroke(p, body, alpha(t.mouseEdge, static_cast<int>(255 * m.dim)), 1.3, 120);
}

// Button seams: centre split and the curved rear edge of the two main buttons.
void paintButtonSeams(QPainter& p, const MouseFrame& m) {
    p.setPen(pen(alpha(Qt::black, 140), 1.6));
    p.drawLine(QPointF(m.X(0), m.Y(2)), QPointF(m.X(0), m.Y(24)));
    p.drawLine(QPointF(m.X(0), m.Y(92)), QPointF(m.X(0), m.Y(108)));
    QPainterPath seam;
    seam.moveTo(m.X(-54), m.Y(96));
    seam.quadTo(m.X(0), m.Y(124), m.X(54), m.Y(96));
    p.setBrush(Qt::NoBrush);
    p.drawPath(seam);
    p.setPen(pen(alpha(Qt::white, 22), 1.0));
    p.drawLine(QPointF(m.X(1.5), m.Y(3)), QPointF(m.X(1.5), m.Y(24)));
}

// Wheel with ribs, DPI button behind it.
void paintWheelAndDpiButton(QPainter& p, const MouseFrame& m, const Theme& t) {
    const QRectF wheel(m.X(-7), m.Y(28), 14, 40);
    QLinearGradient wg(0, wheel.top(), 0, wheel.bottom());
    wg.setColorAt(0, QColor(10, 12, 16));
    wg.setColorAt(0.5, mix(t.mouseBody, Qt::white, 0.18));
    wg.setColorAt(1, QColor(10, 12, 16));
    p.setBrush(wg);
    p.setPen(pen(t.mouseEdge));
    p.drawRoundedRect(wheel, 6, 6);
    p.setPen(pen(alpha(Qt::black, 150)));
    for (double y = wheel.top() + 6; y < wheel.bottom() - 4; y += 4) {
        p.drawLine(QPointF(wheel.left() + 3, y), QPointF(wheel.right() - 3, y));
    }
    const QRectF dpi(m.X(-6), m.Y(76), 12, 14);
    p.setBrush(mix(t.mouseBody, t.accent, 0.25));
    p.setPen(pen(alpha(t.accent, static_cast<int>(220 * m.dim))));
    p.drawRoundedRect(dpi, 3, 3);
}

// Lighting: logo on the palm and light strips along the rear flanks.
void paintMouseLights(QPainter& p, const MouseFrame& m, const Theme& t) {
    paintLogo(p, QPointF(m.cx, m.Y(190)), 13, t);
    QPainterPath stripL, stripR;
    stripL.moveTo(m.X(-50), m.Y(150));
    stripL.cubicTo(m.X(-52), m.Y(190), m.X(-44), m.Y(222), m.X(-20), m.Y(236));
    stripR.moveTo(m.X(50), m.Y(150));
    stripR.cubicTo(m.X(52), m.Y(190), m.X(44), m.Y(222), m.X(20), m.Y(236));
    glowStroke(p, stripL, alpha(t.accent, static_cast<int>(255 * m.dim)), 1.6, 220);
    glowStroke(p, stripR, alpha(t.accent2, static_cast<int>(255 * m.dim)), 1.6, 220);
}

struct Callout {
    int digit;
    QPointF badge;
    QPointF target;
};

// One numbered badge with its line to the button.
void paintCallout(QPainter& p, const Callout& c, const Theme& t) {
    QPainterPath line;
    line.moveTo(c.badge);
    const QPointF elbow(c.target.x() + (c.badge.x() < c.target.x() ? -10 : 10), c.target.y());
    if (c.badge.x() == c.target.x()) {
        line.lineTo(c.target);
    } else {
        line.lineTo(QPointF(c.badge.x() + (c.badge.x() < c.target.x() ? 10 : -10), c.badge.y()));
        line.lineTo(elbow);
        line.lineTo(c.target);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(alpha(t.accent, 120), 1.0));
    p.drawPath(line);
    p.setPen(Qt::NoPen);
    p.setBrush(t.accent);
    p.drawEllipse(c.target, 2.2, 2.2);
    const QPainterPath hex = hexagon(c.badge, 10.5);
    p.fillPath(hex, t.panel);
    glowStroke(p, hex, t.accent, 1.2, 170);
    sevenSegment(p, c.digit, QRectF(c.badge.x() - 2.5, c.badge.y() - 4.5, 5, 9),
                 mix(t.accent, Qt::white, 0.55), 1.4);
}

// Numbered callouts for the six configurable buttons, in slot order.
void paintCallouts(QPainter& p, const MouseFrame& m, const Theme& t) {
    const Callout callouts[] = {
        {1, {m.X(-84), m.Y(40)}, {m.X(-28), m.Y(46)}},
        {2, {m.X(84), m.Y(40)}, {m.X(28), m.Y(46)}},
        {3, {m.X(0), m.Y(-26)}, {m.X(0), m.Y(26)}},
        {4, {m.X(-84), m.Y(126)}, {m.X(-60), m.Y(132)}},
        {5, {m.X(-84), m.Y(172)}, {m.X(-59), m.Y(168)}},
        {6, {m.X(84), m.Y(84)}, {m.X(7), m.Y(83)}},
    };
    for (const Callout& c : callouts) {
        paintCallout(p, c, t);
    }
}

void paintMouse(QPainter& p, const QRect& area, const Theme& t, bool withCallouts,
                double dim = 1.0) {
    const MouseFrame m{area.center().x() + 0.5, area.top() + 56.0, dim};
    p.save();
    paintMousePad(p, m, t);
    const QPainterPath body = mouseOutline(m);
    paintSideButtons(p, m, t);
    paintMouseShell(p, body, m, t);
    paintButtonSeams(p, m);
    paintWheelAndDpiButton(p, m, t);
    paintMouseLights(p, m, t);
    if (withCallouts) {
        paintCallouts(p, m, t);
    }
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Page art
// ---------------------------------------------------------------------------------------------

constexpr int kTitleBarHeight = 30;

// Panel rectangles of the page, all derived from the layout so that they follow it.
struct PagePanels {
    QRect header, device, keys, rate, dpi, effect, bottomBar;
};

PagePanels pagePanels() {
    namespace M = L::main;
    PagePanels pp;
    const int right = M::artSize.width - 24;
    pp.header = QRect(QPoint(24, M::pageTitle.rect.top - 9),
                      QPoint(right - 1, M::pageTitle.rect.bottom + 6));
    const int panelTop = M::keySettingCaption.rect.top - 12;
    const int panelBottom = M::defaultButton.bottom + 19;
    pp.keys = QRect(QPoint(M::assignmentBox(0).left - 12, panelTop),
                    QPoint(M::assignmentBox(0).right + 12, panelBottom));
    pp.device = QRect(QPoint(24, panelTop), QPoint(pp.keys.left() - 13, panelBottom));
    pp.rate = QRect(QPoint(M::reportRateCaption.rect.left - 16, panelTop),
                    QPoint(right - 1, M::reportRateSegmentCaption(0).rect.bottom + 10));
    const int lowerTop = M::dpiSettingCaption.rect.top - 11;
    pp.dpi = QRect(QPoint(pp.rate.left(), lowerTop),
                   QPoint(M::dpiValueClickArea(0).right + 14, panelBottom));
    pp.effect = QRect(QPoint(pp.dpi.right() + 11, lowerTop), QPoint(right - 1, panelBottom));
    pp.bottomBar = QRect(0, M::okButton.top - 22, M::artSize.width, 0);
    pp.bottomBar.setBottom(M::artSize.height - 1);
    return pp;
}

void paintTitleBarIcons(QPainter& p, const Theme& t) {
    namespace M = L::main;
    // Divider between the skin button and the window buttons.
    const int x = (M::skinButton.right + M::minimiseButton.left) / 2 + 40;
    p.fillRect(QRect(x, 8, 1, 14), t.panelBorder);
    const int ratio = ratioOf(p);
    p.drawImage(toQ(M::skinButton).topLeft(), titleIcon(t, TitleIcon::Skins, false, ratio));
    p.drawImage(toQ(M::minimiseButton).topLeft(), titleIcon(t, TitleIcon::Minimise, false, ratio));
    p.drawImage(toQ(M::closeButton).topLeft(), titleIcon(t, TitleIcon::Close, false, ratio));
}

// Level-meter decoration on the right of the header band.
void paintLevelMeter(QPainter& p, const QRectF& h, const Theme& t) {
    for (int i = 0; i < 24; ++i) {
        const double x = h.right() - 40 - i * 9;
        const double height = 6 + (i % 5) * 3 + (i % 3) * 2;
        QPainterPath bar;
        const double base = h.center().y() + 10;
        bar.moveTo(x, base);
        bar.lineTo(x + 4, base);
        bar.lineTo(x + 6, base - height);
        bar.lineTo(x + 2, base - height);
        bar.closeSubpath();
        p.fillPath(bar, alpha(mix(t.accent, t.accent2, i / 24.0), 150 - i * 5));
    }
}

// Light plate behind the page title, which is always drawn dark grey.
void paintTitlePlate(QPainter& p, const Theme& t) {
    namespace M = L::main;
    const QRect plate = toQ(M::pageTitle.rect);
    QLinearGradient pg(plate.left(), plate.top(), plate.right(), plate.bottom());
    pg.setColorAt(0, t.plateA);
    pg.setColorAt(1, t.plateB);
    const QPainterPath shape = chamfered(QRectF(plate), 9);
    glowStroke(p, shape, alpha(t.accent, 120), 0.5, 160);
    p.fillPath(shape, pg);
    p.setPen(pen(alpha(Qt::white, 200)));
    p.drawLine(QPointF(plate.left() + 10, plate.top() + 1.5),
               QPointF(plate.right() - 1, plate.top() + 1.5));
    p.setPen(pen(alpha(Qt::black, 40)));
    p.drawLine(QPointF(plate.left() + 1, plate.bottom() - 0.5),
               QPointF(plate.right() - 10, plate.bottom() - 0.5));
    // Pointer notch on the right.
    QPainterPath notch;
    notch.moveTo(plate.right() + 5, plate.center().y() - 6);
    notch.lineTo(plate.right() + 11, plate.center().y());
    notch.lineTo(plate.right() + 5, plate.center().y() + 6);
    p.setPen(pen(t.accent, 2));
    p.drawPath(notch);
}

void paintHeader(QPainter& p, const PagePanels& pp, const Theme& t, bool withTitlePlate) {
    p.save();
    const QRectF h(pp.header);
    QPainterPath band = chamfered(h, 12);
    softShadow(p, h, 4, 50);
    QLinearGradient g(h.left(), 0, h.right(), 0);
    g.setColorAt(0, mix(t.header, Qt::white, 0.03));
    g.setColorAt(1, t.header);
    p.fillPath(band, g);
    p.setPen(pen(t.panelBorder));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chamfered(inner(pp.header), 12));
    paintLevelMeter(p, h, t);
    QLinearGradient line(h.left() + 260, 0, h.right() - 260, 0);
    line.setColorAt(0, alpha(t.accentDim, 0));
    line.setColorAt(0.5, alpha(t.accentDim, 120));
    line.setColorAt(1, alpha(t.accentDim, 0));
    p.fillRect(QRectF(h.left() + 260, h.center().y() + 14, h.width() - 520, 1), line);

    if (withTitlePlate) {
        paintTitlePlate(p, t);
    }
    p.restore();
}

void paintBottomBar(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    const QRect b = pp.bottomBar;
    QLinearGradient g(0, b.top(), 0, b.bottom());
    g.setColorAt(0, alpha(t.titleBar, 200));
    g.setColorAt(1, t.titleBar);
    p.fillRect(b, g);
    QLinearGradient rule(0, 0, b.width(), 0);
    rule.setColorAt(0, alpha(t.accent2, 0));
    rule.setColorAt(0.5, alpha(t.accent, 200));
    rule.setColorAt(1, alpha(t.accent2, 0));
    p.fillRect(QRect(b.left(), b.top(), b.width(), 1), t.panelBorder);
    p.fillRect(QRect(b.left(), b.top(), b.width(), 1), rule);
    paintLogo(p, QPointF(40, M::okButton.top + 10.5), 9, t);
    // Globe before the web address.
    const QRectF globe(M::webAddressLine.rect.left - 16, M::webAddressLine.rect.top + 3, 13, 13);
    p.save();
    p.setPen(pen(alpha(t.accent, 180), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(globe);
    p.drawEllipse(globe.adjusted(3.5, 0, -3.5, 0));
    p.drawLine(QPointF(globe.left(), globe.center().y()),
               QPointF(globe.right(), globe.center().y()));
    p.restore();
    // Recess under OK, Apply and Cancel.
    paintTrack(p, toQ(M::okButton).united(toQ(M::cancelButton)).adjusted(-2, -2, 2, 2), t);
}

// Faint emblem in the space the assignment lists drop into.
void paintKeysEmblem(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    const QPointF c(pp.keys.center().x(), (M::assignmentBox(5).bottom + M::modeAButton.top) / 2.0);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(alpha(t.accent, 22), 2));
    p.drawPath(hexagon(c, 62));
    p.setPen(pen(alpha(t.accent, 14), 1));
    p.drawPath(hexagon(c, 48));
    paintGlyph(p, Glyph::Gear, QRectF(c.x() - 30, c.y() - 30, 60, 60), alpha(t.accent, 26), 2);
    p.restore();
}

// Key settings: the panel, a faint emblem where the assignment lists drop, the mode and
// default button recesses.
void paintKeySettings(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    paintPanel(p, pp.keys, t);
    paintCaptionTab(p, M::keySettingCaption.rect, pp.keys.right(), t);
    paintKeysEmblem(p, pp, t);
    paintTrack(p, toQ(M::modeAButton).united(toQ(M::modeBButton)).adjusted(-2, -2, 2, 2), t);
    paintTrack(p, grow(M::defaultButton, 2), t);
}

// A pulse glyph right of the report rate caption.
void paintRatePulse(QPainter& p, const Theme& t) {
    namespace M = L::main;
    p.save();
    QPainterPath pulse;
    const double y = M::reportRateCaption.rect.top + 10.5;
    double x = M::reportRateCaption.rect.right + kCaptionTabPadding + 14;
    pulse.moveTo(x, y);
    for (int i = 0; i < 7; ++i) {
        const double h = (i % 2 == 0) ? -6 : 6;
        pulse.lineTo(x + 3, y);
        pulse.lineTo(x + 3, y + h);
        pulse.lineTo(x + 9, y + h);
        pulse.lineTo(x + 9, y);
        x += 12;
    }
    glowStroke(p, pulse, alpha(t.accent, 140), 1.0, 120);
    p.restore();
}

// Report rate: groove, tick marks, a pulse glyph.
void paintReportRate(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    paintPanel(p, pp.rate, t);
    paintCaptionTab(p, M::reportRateCaption.rect, pp.rate.right(), t);
    const QRect groove = toQ(M::reportRateSegment(0))
                             .united(toQ(M::reportRateSegment(M::reportRateSegmentCount - 1)))
                             .adjusted(-4, -4, 4, 4);
    paintTrack(p, groove, t, 5);
    for (int i = 0; i < M::reportRateSegmentCount; ++i) {
        const QRect seg = toQ(M::reportRateSegment(i));
        p.fillRect(QRect(seg.center().x(), groove.bottom() + 2, 1, 3), alpha(t.accent, 140));
    }
    paintRatePulse(p, t);
}

// One DPI stage row: plate, stage badge, connector, swatch socket, value field frame.
void paintDpiStageRow(QPainter& p, const PagePanels& pp, const Theme& t, int s) {
    namespace M = L::main;
    const QRect number = toQ(M::dpiStageNumber(s).rect);
    const QRect plate(QPoint(pp.dpi.left() + 8, number.top() - 5),
                      QPoint(pp.dpi.right() - 8, number.bottom() + 5));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(Qt::white, s % 2 == 0 ? 9 : 5));
    p.drawRoundedRect(QRectF(plate), 4, 4);
    // Badge behind the stage number (the digit is drawn left-aligned in a 10-pixel cell).
    const QPointF bc(number.left() + 4.5, number.center().y() + 0.5);
    p.setBrush(t.track);
    p.setPen(pen(alpha(t.accent, 150)));
    p.drawEllipse(bc, 8.5, 8.5);
    // Connector through the stage column to the swatch.
    const QRect column = toQ(M::dpiStageColumn(s));
    p.setPen(pen(alpha(t.accent, 110)));
    p.drawLine(QPointF(column.left() - 8, bc.y()), QPointF(column.right() + 4, bc.y()));
    p.setBrush(t.accent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(column.center().x() + 0.5, bc.y()), 2, 2);
    p.restore();
    paintFieldFrame(p, toQ(M::dpiColourSwatch(s)), QRect(), t.track, t);
    const QRect field = toQ(M::dpiValueField(s));
    const QRect click = toQ(M::dpiValueClickArea(s));
    paintFieldFrame(p, field, QRect(QPoint(field.right() + 1, click.top()), click.bottomRight()),
                    QColor(3, 20, 31), t);
}

// Sensitivity bars under the stages.
void paintSensitivityBars(QPainter& p, const PagePanels& pp, const Theme& t) {
    const int base = pp.dpi.bottom() - 16;
    const int left = pp.dpi.left() + 20;
    const int span = pp.dpi.width() - 40;
    const int bars = 18;
    for (int i = 0; i < bars; ++i) {
        const double x = left + i * span / static_cast<double>(bars);
        const double h = 6 + i * 2.2;
        QLinearGradient g(0, base - h, 0, base);
        const QColor c = mix(t.accent, t.accent2, i / double(bars));
        g.setColorAt(0, alpha(c, 170));
        g.setColorAt(1, alpha(c, 40));
        p.fillRect(QRectF(x, base - h, span / double(bars) - 3, h), g);
    }
}

// DPI stages: plate per row, stage badge, swatch socket, value field frame.
void paintDpiStages(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    paintPanel(p, pp.dpi, t);
    paintCaptionTab(p, M::dpiSettingCaption.rect, pp.dpi.right(), t);
    for (int s = 0; s < M::dpiStageShownCount; ++s) {
        paintDpiStageRow(p, pp, t, s);
    }
    paintSensitivityBars(p, pp, t);
}

// An RGB ring of LEDs around the logo, below the LED fields.
void paintLedRing(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    const QPointF c(pp.effect.center().x() + 0.5,
                    (M::lightEffectField.bottom + pp.effect.bottom()) / 2.0 + 4);
    const double radius =
        std::min(54.0, (pp.effect.bottom() - M::lightEffectField.bottom) / 2.0 - 20);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(alpha(t.panelBorder, 255), 8));
    p.drawEllipse(c, radius, radius);
    const int leds = 16;
    for (int i = 0; i < leds; ++i) {
        const double a = (i * 360.0 / leds - 90) * kPi / 180.0;
        const QPointF pt(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        const QColor hue = QColor::fromHsvF(static_cast<float>(i / double(leds)), 0.75f, 1.0f);
        QRadialGradient glow(pt, 9);
        glow.setColorAt(0, alpha(hue, 150));
        glow.setColorAt(1, alpha(hue, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(pt, 9, 9);
        p.setBrush(mix(hue, Qt::white, 0.35));
        p.drawEllipse(pt, 2.2, 2.2);
    }
    paintLogo(p, c, 16, t);
    p.restore();
}

// LED settings: field frames and an RGB ring.
void paintLedSettings(QPainter& p, const PagePanels& pp, const Theme& t) {
    namespace M = L::main;
    paintPanel(p, pp.effect, t);
    paintCaptionTab(p, M::dpiEffectCaption.rect, pp.effect.right(), t);
    const struct {
        L::Rect field, click;
    } led[] = {{M::lightModeField, M::lightModeClickArea},
               {M::lightParameterField, M::lightParameterClickArea},
               {M::lightEffectField, M::lightEffectClickArea}};
    for (const auto& f : led) {
        const QRect field = toQ(f.field);
        paintFieldFrame(p, field,
                        QRect(QPoint(field.right() + 1, field.top()), toQ(f.click).bottomRight()),
                        QColor(3, 20, 55), t);
    }
    paintLedRing(p, pp, t);
}

// What the page and the window background share: backdrop, title bar and header.
void paintPageBase(QPainter& p, const PagePanels& pp, const Theme& t, bool withTitlePlate) {
    const QSize size = qsize(L::main::artSize);
    p.setRenderHint(QPainter::Antialiasing);
    paintBackdrop(p, size, t);
    paintTitleBar(p, size.width(), kTitleBarHeight, t);
    paintHeader(p, pp, t, withTitlePlate);
}

// The Basic settings page: everything except texts, child fields and control faces (those are
// drawn by the program on top).
QImage basicPage(const Theme& t, int ratio) {
    namespace M = L::main;
    const QSize size = qsize(M::artSize);
    QImage img = canvas(size, QImage::Format_ARGB32_Premultiplied, ratio);
    QPainter p(&img);
    const PagePanels pp = pagePanels();
    paintPageBase(p, pp, t, true);

    // Device panel with the mouse and its numbered buttons.
    paintPanel(p, pp.device, t);
    paintMouse(p, pp.device.adjusted(0, 20, 0, 0), t, true);
    paintKeySettings(p, pp, t);
    paintReportRate(p, pp, t);
    paintDpiStages(p, pp, t);
    paintLedSettings(p, pp, t);

    paintBottomBar(p, pp, t);
    // Page button well: the header band already sits under it.
    paintTitleBarIcons(p, t);
    paintWindowFrame(p, size, t);
    p.end();
    return img.convertToFormat(QImage::Format_RGB32);
}

// Unplugged cable with a dashed run to a broken plug, and scanning rings around the mouse.
void paintUnpluggedMouseSigns(QPainter& p, const QRect& mouseArea, const Theme& t) {
    const double cx = mouseArea.center().x() + 0.5;
    const double top = mouseArea.top() + 56;
    QPainterPath cable;
    cable.moveTo(cx, top);
    cable.cubicTo(cx, top - 40, cx + 60, top - 30, cx + 90, top - 60);
    QPen dashed = pen(alpha(t.accentDim, 220), 2);
    dashed.setDashPattern({3, 3});
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);
    const QPointF plug(cx + 104, top - 74);
    p.save();
    p.translate(plug);
    p.rotate(-45);
    p.setPen(pen(t.danger, 1.5));
    p.setBrush(alpha(t.danger, 40));
    p.drawRoundedRect(QRectF(-8, -6, 16, 12), 3, 3);
    p.drawLine(QPointF(8, -3), QPointF(13, -3));
    p.drawLine(QPointF(8, 3), QPointF(13, 3));
    p.restore();
    for (int i = 0; i < 3; ++i) {
        p.setPen(pen(alpha(t.accent, 60 - i * 18), 1.2));
        const double r = 150 + i * 22;
        p.drawEllipse(QPointF(cx, top + 125), r, r * 0.92);
    }
}

// The window background shown before the page is built (no mouse found yet): frame, title
// bar, header with the page button, and an unplugged mouse in the middle.
QImage mainBackground(const Theme& t, int ratio) {
    namespace M = L::main;
    const QSize size = qsize(M::artSize);
    QImage img = canvas(size, QImage::Format_ARGB32_Premultiplied, ratio);
    QPainter p(&img);
    const PagePanels pp = pagePanels();
    paintPageBase(p, pp, t, false);
    p.drawImage(toQ(M::pageButton).topLeft(), pageButton(t, false, ratio));

    const QRect stage(QPoint(pp.device.left(), pp.keys.top()),
                      QPoint(pp.rate.right(), pp.keys.bottom()));
    paintPanel(p, stage, t);
    const QRect mouseArea(stage.center().x() - 100, stage.top() + 40, 200, 330);
    paintMouse(p, mouseArea, t, false, 0.45);
    paintUnpluggedMouseSigns(p, mouseArea, t);
    paintBottomBar(p, pp, t);
    paintTitleBarIcons(p, t);
    paintWindowFrame(p, size, t);
    p.end();
    return img.convertToFormat(QImage::Format_RGB32);
}

// ---------------------------------------------------------------------------------------------
// Dialog art
// ---------------------------------------------------------------------------------------------

enum class DialogKind { Fire, HotKey, Media, Windows, Single, Snipe, Skins };

struct DialogInfo {
    DialogKind kind;
    L::SkinImage background;
    Glyph glyph;
};

const DialogInfo kDialogs[] = {
    {DialogKind::Fire, L::fireDialog::background, Glyph::RapidFire},
    {DialogKind::HotKey, L::hotKeyDialog::background, Glyph::HotKey},
    {DialogKind::Media, L::mediaDialog::background, Glyph::Media},
    {DialogKind::Windows, L::windowsDialog::background, Glyph::Launch},
    {DialogKind::Single, L::singleDialog::background, Glyph::SingleKey},
    {DialogKind::Snipe, L::snipeDialog::background, Glyph::Snipe},
    {DialogKind::Skins, L::skinsDialog::background, Glyph::Palette},
};

// Dark grey of the dialogs' child controls.
const QColor kDialogField(40, 40, 40);

void paintDropDownFrame(QPainter& p, const L::DropDownGroup& g, const Theme& t) {
    const QRect field = toQ(g.displayField);
    const QRect selector = toQ(g.selectorArea);
    paintFieldFrame(p, field,
                    QRect(QPoint(field.right() + 1, selector.top()), selector.bottomRight()),
                    kDialogField, t);
}

// Accent tick left of a control row.
void paintRowMarker(QPainter& p, const QRect& field, const Theme& t) {
    p.fillRect(QRect(field.left() - 12, field.top() + 1, 3, field.height() - 2), t.accent);
}

// Title bar: a chamfered header that ends just right of the close button, then slanted
// stripes in the corner. Returns the bar's height.
int paintDialogTitleBar(QPainter& p, const Theme& t) {
    namespace D = L::dialog;
    const QRect close = toQ(D::closeButton);
    const int barHeight = close.bottom() + 7;
    const double cutTop = close.right() + 26, cutBottom = close.right() + 12;
    QPainterPath head;
    head.moveTo(0, 0);
    head.lineTo(cutTop, 0);
    head.lineTo(cutBottom, barHeight);
    head.lineTo(0, barHeight);
    head.closeSubpath();
    p.fillPath(head, t.titleBar);
    QLinearGradient rule(0, 0, cutBottom, 0);
    rule.setColorAt(0, alpha(t.accent, 220));
    rule.setColorAt(0.6, alpha(t.accent2, 120));
    rule.setColorAt(1, alpha(t.accent2, 220));
    p.fillRect(QRectF(0, barHeight - 1, cutBottom, 1), rule);
    p.setPen(pen(alpha(t.accent2, 220), 1.0));
    p.drawLine(QPointF(cutBottom, barHeight - 0.5), QPointF(cutTop, 0));
    for (int i = 0; i < 4; ++i) {
        QPainterPath s;
        const double x = cutTop + 8 + i * 10;
        s.moveTo(x, 0);
        s.lineTo(x + 5, 0);
        s.lineTo(x - 9, barHeight);
        s.lineTo(x - 14, barHeight);
        s.closeSubpath();
        p.fillPath(s, alpha(mix(t.accent2, t.accent, i / 3.0), 150 - i * 30));
    }
    return barHeight;
}

// Dialog emblem and a rule where a title would run.
void paintDialogTitle(QPainter& p, const Theme& t, const DialogInfo& d, int barHeight) {
    const QRectF icon(12, (barHeight - 18) / 2.0, 18, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(mix(t.iconFill, t.accent, 0.15));
    p.drawRoundedRect(icon.adjusted(-3, -3, 3, 3), 5, 5);
    paintGlyph(p, d.glyph, icon.adjusted(1.5, 1.5, -1.5, -1.5), t.accent, 1.5);
    QLinearGradient fade(40, 0, 200, 0);
    fade.setColorAt(0, alpha(t.accentDim, 160));
    fade.setColorAt(1, alpha(t.accentDim, 0));
    p.fillRect(QRectF(40, barHeight / 2.0, 160, 1), fade);
}

// Large emblem on the right of the card.
void paintDialogEmblem(QPainter& p, const Theme& t, const DialogInfo& d, const QRect& card,
                       QSize size, int ratio) {
    const QRectF emblem(card.right() - 190, card.top() + 22, 130, 130);
    p.save();
    QRadialGradient halo(emblem.center(), 95);
    halo.setColorAt(0, alpha(t.accent, 34));
    halo.setColorAt(1, alpha(t.accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(emblem.center(), 95, 95);
    p.setPen(pen(alpha(t.panelBorder, 255), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hexagon(emblem.center(), 82));
    QImage layer = canvas(size, QImage::Format_ARGB32_Premultiplied, ratio);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        const struct {
            double width;
            int a;
        } strokes[] = {{9, 22}, {5, 40}, {2.4, 150}};
        for (const auto& w : strokes) {
            paintGlyph(lp, d.glyph, emblem, alpha(t.accent, w.a), w.width);
        }
    }
    p.drawImage(0, 0, layer);
    p.restore();
}

// The fire key dialog's fields, and a plate behind its two range notes.
void paintFireKeyControls(QPainter& p, const QRect& card, const Theme& t) {
    namespace F = L::fireDialog;
    paintDropDownFrame(p, F::dropDown, t);
    paintRowMarker(p, toQ(F::dropDown.displayField), t);
    for (const L::Rect& f : {F::timesField, F::makeTimeField, F::breakTimeField}) {
        paintFieldFrame(p, toQ(f), QRect(), kDialogField, t);
    }
    // Plate behind the two range notes.
    const QRect notes = toQ(F::firstNote.rect).united(toQ(F::secondNote.rect));
    const QRect plate(QPoint(notes.left() - 9, notes.top() + 3),
                      QPoint(card.right() - 6, notes.bottom() - 3));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(Qt::black, 70));
    p.drawRoundedRect(QRectF(plate), 4, 4);
    p.fillRect(QRect(plate.left(), plate.top() + 4, 2, plate.height() - 8), t.accent);
    p.restore();
}

// The single key dialog's field, with a key cap outline around it and the prompt.
void paintSingleKeyControls(QPainter& p, const Theme& t) {
    const QRect field = toQ(L::singleDialog::displayField);
    paintFieldFrame(p, field, QRect(), kDialogField, t);
    // A key cap outline around the field, under the prompt.
    const QRect prompt = toQ(L::singleDialog::prompt.rect);
    p.save();
    p.setPen(pen(alpha(t.accent, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner(QRect(QPoint(prompt.left() - 8, prompt.top() - 8),
                                  QPoint(prompt.right() + 8, field.bottom() + 12))),
                      8, 8);
    p.restore();
}

// Controls of each dialog.
void paintDialogControls(QPainter& p, const Theme& t, const DialogInfo& d, const QRect& card) {
    switch (d.kind) {
    case DialogKind::Fire:
        paintFireKeyControls(p, card, t);
        break;
    case DialogKind::HotKey:
        paintDropDownFrame(p, L::hotKeyDialog::dropDown, t);
        paintRowMarker(p, toQ(L::hotKeyDialog::dropDown.displayField), t);
        break;
    case DialogKind::Media:
        paintDropDownFrame(p, L::mediaDialog::dropDown, t);
        paintRowMarker(p, toQ(L::mediaDialog::dropDown.displayField), t);
        break;
    case DialogKind::Windows:
        paintDropDownFrame(p, L::windowsDialog::dropDown, t);
        paintRowMarker(p, toQ(L::windowsDialog::dropDown.displayField), t);
        break;
    case DialogKind::Single:
        paintSingleKeyControls(p, t);
        break;
    case DialogKind::Snipe:
        paintDropDownFrame(p, L::snipeDialog::dropDown, t);
        paintRowMarker(p, toQ(L::snipeDialog::dropDown.displayField), t);
        break;
    case DialogKind::Skins: {
        namespace S = L::skinsDialog;
        paintDropDownFrame(p, S::dropDown, t);
        paintRowMarker(p, toQ(S::dropDown.displayField), t);
        paintFieldFrame(p, toQ(S::colourField), QRect(), t.track, t);
        paintRowMarker(p, toQ(S::colourField), t);
        break;
    }
    }
}

QImage dialogBackground(const Theme& t, const DialogInfo& d, int ratio) {
    namespace D = L::dialog;
    const QSize size = qsize(d.background.size);
    QImage img = canvas(size, QImage::Format_ARGB32_Premultiplied, ratio);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintBackdrop(p, size, t);
    const int barHeight = paintDialogTitleBar(p, t);
    paintDialogTitle(p, t, d, barHeight);

    // Content card above the buttons.
    const QRect okCancel = toQ(D::okButton).united(toQ(D::cancelButton));
    const QRect card(QPoint(8, barHeight + 8), QPoint(size.width() - 9, okCancel.top() - 9));
    paintPanel(p, card, t, 30);

    paintDialogEmblem(p, t, d, card, size, ratio);
    paintDialogControls(p, t, d, card);

    // Button recess and the window frame.
    paintTrack(p, okCancel.adjusted(-2, -2, 2, 2), t);
    paintWindowFrame(p, size, t);
    p.end();
    return img.convertToFormat(QImage::Format_RGB32);
}

// ---------------------------------------------------------------------------------------------
// Skin output
// ---------------------------------------------------------------------------------------------

struct NamedImage {
    const char* name;
    QImage image;
};

std::vector<NamedImage> renderSkin(const Theme& t, int ratio) {
    namespace I = L::images;
    std::vector<NamedImage> out = {
        {I::mainBackground.name, mainBackground(t, ratio)},
        {I::basicPage.name, basicPage(t, ratio)},
        {I::minimiseButton.normal.name, titleIcon(t, TitleIcon::Minimise, false, ratio)},
        {I::minimiseButton.over.name, titleIcon(t, TitleIcon::Minimise, true, ratio)},
        {I::closeButton.normal.name, titleIcon(t, TitleIcon::Close, false, ratio)},
        {I::closeButton.over.name, titleIcon(t, TitleIcon::Close, true, ratio)},
        {I::skinButton.normal.name, titleIcon(t, TitleIcon::Skins, false, ratio)},
        {I::skinButton.over.name, titleIcon(t, TitleIcon::Skins, true, ratio)},
        {I::pageButton.normal.name, pageButton(t, false, ratio)},
        {I::pageButton.over.name, pageButton(t, true, ratio)},
        {I::textButton.normal.name, textButton(t, false, ratio)},
        {I::textButton.over.name, textButton(t, true, ratio)},
        {I::assignmentBox.normal.name, assignmentBox(t, false, ratio)},
        {I::assignmentBox.over.name, assignmentBox(t, true, ratio)},
        {I::reportRateDark.name, reportRateSegment(t, false, ratio)},
        {I::reportRateLight.name, reportRateSegment(t, true, ratio)},
    };
    for (const auto& d : kDialogs) {
        out.push_back({d.background.name, dialogBackground(t, d, ratio)});
    }
    return out;
}

QImage find(const std::vector<NamedImage>& images, const L::SkinImage& which) {
    for (const auto& n : images) {
        if (QString::fromUtf8(n.name) == QString::fromUtf8(which.name)) {
            return n.image;
        }
    }
    return QImage();
}

// True when every pixel of both looks is fully opaque or fully transparent and the two looks
// cover the same pixels, so that drawing either look over the other, any number of times,
// always gives the same picture.
bool redrawSafe(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const int aa = qAlpha(a.pixel(x, y)), ab = qAlpha(b.pixel(x, y));
            if (aa != ab || (aa != 0 && aa != 255)) {
                return false;
            }
        }
    }
    return true;
}

// Checks the rendered set against the layout's list of files and sizes, and the two looks of
// every control against each other.
bool checkComplete(const std::vector<NamedImage>& images, int ratio) {
    bool ok = static_cast<int>(images.size()) == L::images::allCount;
    for (const auto& want : L::images::all) {
        const QImage img = find(images, want);
        if (img.isNull() || img.width() != want.size.width * ratio ||
            img.height() != want.size.height * ratio) {
            std::fprintf(stderr, "z417-skingen: %s missing or of the wrong size\n", want.name);
            ok = false;
        }
    }
    const struct {
        L::SkinImage a, b;
    } pairs[] = {
        {L::images::minimiseButton.normal, L::images::minimiseButton.over},
        {L::images::closeButton.normal, L::images::closeButton.over},
        {L::images::skinButton.normal, L::images::skinButton.over},
        {L::images::pageButton.normal, L::images::pageButton.over},
        {L::images::textButton.normal, L::images::textButton.over},
        {L::images::assignmentBox.normal, L::images::assignmentBox.over},
        {L::images::reportRateDark, L::images::reportRateLight},
    };
    for (const auto& pr : pairs) {
        if (!redrawSafe(find(images, pr.a), find(images, pr.b))) {
            std::fprintf(stderr, "z417-skingen: %s and %s do not share one opaque mask\n",
                         pr.a.name, pr.b.name);
            ok = false;
        }
    }
    return ok;
}

// The file name of an image at a ratio: "/main.png" at 2 is "/main@2x.png", Qt's name for the
// art of high-DPI screens.
QString fileName(const char* name, int ratio) {
    const QString base = QString::fromUtf8(name);
    if (ratio == 1) {
        return base;
    }
    const int dot = base.lastIndexOf('.');
    return base.left(dot) + QString("@%1x").arg(ratio) + base.mid(dot);
}

// Device pixels per layout pixel of the art every skin ships: 1 and Qt's @2x.
constexpr int kRatios[] = {1, 2};

bool writeSkinAt(const QString& folder, const Theme& t, int ratio) {
    const auto images = renderSkin(t, ratio);
    if (!checkComplete(images, ratio)) {
        return false;
    }
    bool ok = true;
    for (const auto& n : images) {
        const QString path = folder + fileName(n.name, ratio);
        if (!n.image.save(path, "PNG")) {
            std::fprintf(stderr, "z417-skingen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

bool writeSkin(const QString& outDir, const Theme& t) {
    const QString folder = outDir + "/Skins/" + t.name;
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "z417-skingen: cannot create %s\n", qPrintable(folder));
        return false;
    }
    bool ok = true;
    for (const int ratio : kRatios) {
        ok = writeSkinAt(folder, t, ratio) && ok;
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Preview
// ---------------------------------------------------------------------------------------------

const QColor kTextColour(230, 232, 240); // the default text colour of the settings file
const QColor kMagenta(255, 0, 255);

void outline(QPainter& p, const L::Rect& r, const QColor& c = kMagenta) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, 0));
    p.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    p.restore();
}

void text(QPainter& p, const L::TextArea& a, const QString& s, const QColor& c = kTextColour) {
    int flags = Qt::TextSingleLine | Qt::AlignVCenter;
    switch (a.format) {
    case L::textFormat::centred:
        flags = Qt::TextSingleLine | Qt::AlignCenter;
        break;
    case L::textFormat::right:
        flags |= Qt::AlignRight;
        break;
    case L::textFormat::centredTop:
        flags = Qt::TextSingleLine | Qt::AlignHCenter | Qt::AlignTop;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    p.setPen(c);
    p.drawText(toQ(a.rect), flags, s);
}

// The program's English fonts, as it makes them.
z417::FontPair englishFonts() {
    return z417::fontsFor("EN", 0, 0);
}

void caption(QPainter& p, const L::Rect& r, const QString& s) {
    text(p, {r, L::textFormat::centred}, s);
}

// The main page as the program paints it, with sample texts and child fields; `over` puts
// every hoverable control in its over look; `outlines` adds the layout's rectangles.
// The control faces the program draws over the page, in their normal or hover look.
void previewControlFaces(QPainter& p, const std::vector<NamedImage>& im, bool over) {
    namespace M = L::main;
    namespace I = L::images;
    auto look = [&](const L::StateImages& s, bool o) { return find(im, o ? s.over : s.normal); };
    p.drawImage(toQ(M::minimiseButton).topLeft(), look(I::minimiseButton, over));
    p.drawImage(toQ(M::closeButton).topLeft(), look(I::closeButton, over));
    p.drawImage(toQ(M::skinButton).topLeft(), look(I::skinButton, over));
    for (const L::Rect& b : {M::okButton, M::applyButton, M::cancelButton, M::defaultButton}) {
        p.drawImage(toQ(b).topLeft(), look(I::textButton, over && b != M::applyButton));
    }
    p.drawImage(toQ(M::pageButton).topLeft(), look(I::pageButton, over));
    for (int r = 0; r < M::shownRowCount; ++r) {
        p.drawImage(toQ(M::assignmentBox(r)).topLeft(), look(I::assignmentBox, over && r == 1));
    }
    for (int i = 0; i < M::reportRateSegmentCount; ++i) {
        p.drawImage(toQ(M::reportRateSegment(i)).topLeft(),
                    find(im, i == 3 ? I::reportRateLight : I::reportRateDark));
    }
    p.drawImage(toQ(M::modeAButton).topLeft(), find(im, I::textButton.over));
    p.drawImage(toQ(M::modeBButton).topLeft(), find(im, I::textButton.normal));
}

// Captions and labels in the program's English fonts; leaves the normal font set.
void previewCaptions(QPainter& p) {
    namespace M = L::main;
    const z417::FontPair fonts = englishFonts();
    const QFont title = z417::makeFont(fonts.title);
    const QFont normal = z417::makeFont(fonts.normal);
    p.setFont(title);
    text(p, M::pageTitle, "Basic Settings", QColor(66, 66, 66));
    p.setFont(normal);
    text(p, M::keySettingCaption, "Key Setting");
    text(p, M::reportRateCaption, "Report Rate Setting");
    text(p, M::dpiSettingCaption, "DPI Setting");
    text(p, M::dpiEffectCaption, "DPI Effect");
    text(p, M::webAddressLine, "www.example.com");
    caption(p, M::okButton, "OK");
    caption(p, M::applyButton, "Apply");
    caption(p, M::cancelButton, "Cancel");
    caption(p, M::defaultButton, "Default");
    caption(p, M::modeAButton, "Mode A");
    caption(p, M::modeBButton, "Mode B");
    const char* labels[] = {"Left Click", "Right Click", "Mid Click",
                            "Forward",    "Backward",    "DPI Loop"};
    for (int r = 0; r < M::shownRowCount; ++r) {
        text(p, M::rowNumber(r), QString::number(r + 1));
        text(p, M::assignmentLabel(r), labels[r]);
    }
    const char* rates[] = {"125", "250", "500", "1000"};
    for (int i = 0; i < M::reportRateSegmentCount; ++i) {
        text(p, M::reportRateSegmentCaption(i), rates[i]);
    }
    text(p, M::ledModeLabel, "Mode");
    text(p, M::ledParameterLabel, "Parameter");
    text(p, M::ledEffectLabel, "Effect");
}

// Sample values in the DPI and LED fields.
void previewValues(QPainter& p) {
    namespace M = L::main;
    const char* dpis[] = {"400", "800", "1600", "2400", "3200", "4000"};
    const QColor swatches[] = {{255, 0, 0},   {0, 255, 0},   {0, 80, 255},
                               {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};
    for (int s = 0; s < M::dpiStageShownCount; ++s) {
        text(p, M::dpiStageNumber(s), QString::number(s + 1));
        p.fillRect(toQ(M::dpiColourSwatch(s)), swatches[s]);
        p.fillRect(toQ(M::dpiValueField(s)), QColor(3, 20, 31));
        text(p, {M::dpiValueField(s), L::textFormat::centred}, dpis[s]);
    }
    const char* ledTexts[] = {"Standard", "55%", "RGB Effect"};
    const L::Rect ledFields[] = {M::lightModeField, M::lightParameterField, M::lightEffectField};
    for (int i = 0; i < 3; ++i) {
        p.fillRect(toQ(ledFields[i]), QColor(3, 20, 55));
        text(p, {ledFields[i], L::textFormat::centred}, ledTexts[i]);
    }
}

// Outlines of every hit area and text rectangle.
void previewOutlines(QPainter& p) {
    namespace M = L::main;
    for (int i = 0; i < z417::kHoverControlCount; ++i) {
        outline(p, z417::pageControls[i].rect);
    }
    for (const L::Rect& r :
         {M::pageTitle.rect, M::keySettingCaption.rect, M::reportRateCaption.rect,
          M::dpiSettingCaption.rect, M::dpiEffectCaption.rect, M::modeAButton, M::modeBButton,
          M::webAddressLine.rect, M::ledModeLabel.rect, M::ledParameterLabel.rect,
          M::ledEffectLabel.rect, M::lightModeClickArea, M::lightParameterClickArea,
          M::lightEffectClickArea}) {
        outline(p, r);
    }
    for (int r = 0; r < M::shownRowCount; ++r) {
        outline(p, M::rowNumber(r).rect);
    }
    for (int i = 0; i < M::reportRateSegmentCount; ++i) {
        outline(p, M::reportRateSegment(i));
        outline(p, M::reportRateSegmentCaption(i).rect);
    }
    for (int s = 0; s < M::dpiStageShownCount; ++s) {
        outline(p, M::dpiStageNumber(s).rect);
        outline(p, M::dpiColourSwatch(s));
        outline(p, M::dpiValueClickArea(s));
    }
}

QImage previewMain(const std::vector<NamedImage>& im, bool over, bool outlines) {
    namespace I = L::images;
    QImage img = find(im, I::basicPage).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    previewControlFaces(p, im, over);
    previewCaptions(p);
    previewValues(p);
    if (outlines) {
        previewOutlines(p);
    }
    p.end();
    return img;
}

// A filled sample field with its text and outline.
void previewField(QPainter& p, const L::Rect& r, const QString& s,
                  const QColor& fill = QColor(40, 40, 40)) {
    p.fillRect(toQ(r), fill);
    text(p, {r, L::textFormat::left}, s, Qt::white);
    outline(p, r);
}

// A drop-down group: its field, and outlines of its selector and its list.
void previewGroup(QPainter& p, const L::DropDownGroup& g, const QString& s) {
    previewField(p, g.displayField, s);
    outline(p, g.selectorArea);
    outline(p, g.list, QColor(0, 255, 255));
}

void previewFireKeyFields(QPainter& p) {
    previewGroup(p, L::fireDialog::dropDown, "L-Button");
    previewField(p, L::fireDialog::timesField, "1");
    previewField(p, L::fireDialog::makeTimeField, "32");
    previewField(p, L::fireDialog::breakTimeField, "32");
    text(p, L::fireDialog::timesLabel, "Times");
    text(p, L::fireDialog::makeTimeLabel, "Make Time");
    text(p, L::fireDialog::breakTimeLabel, "Break Time");
    text(p, L::fireDialog::firstNote, "Time (value range 5-255)");
    text(p, L::fireDialog::secondNote,
         "Times (value range 0-127,0 indicates fire key to end when the key released)");
    outline(p, L::fireDialog::firstNote.rect);
    outline(p, L::fireDialog::secondNote.rect);
    outline(p, L::fireDialog::timesLabel.rect);
}

// Sample contents of each dialog.
void previewDialogContents(QPainter& p, const DialogInfo& d) {
    switch (d.kind) {
    case DialogKind::Fire:
        previewFireKeyFields(p);
        break;
    case DialogKind::HotKey:
        previewGroup(p, L::hotKeyDialog::dropDown, "Copy");
        break;
    case DialogKind::Media:
        previewGroup(p, L::mediaDialog::dropDown, "Next");
        break;
    case DialogKind::Windows:
        previewGroup(p, L::windowsDialog::dropDown, "Multimedia Player");
        break;
    case DialogKind::Single:
        previewField(p, L::singleDialog::displayField, "Right Ctrl");
        text(p, L::singleDialog::prompt, "Please enter a key", Qt::white);
        outline(p, L::singleDialog::prompt.rect);
        break;
    case DialogKind::Snipe:
        previewGroup(p, L::snipeDialog::dropDown, "250");
        break;
    case DialogKind::Skins:
        previewGroup(p, L::skinsDialog::dropDown, "Default");
        p.fillRect(toQ(L::skinsDialog::colourField), kTextColour);
        outline(p, L::skinsDialog::colourField);
        text(p, L::skinsDialog::hint, "Please click to set the UI text color");
        outline(p, L::skinsDialog::hint.rect);
        break;
    }
}

QImage previewDialog(const std::vector<NamedImage>& im, const DialogInfo& d) {
    namespace D = L::dialog;
    namespace I = L::images;
    QImage img = find(im, d.background).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setFont(z417::makeFont(englishFonts().normal));
    p.drawImage(toQ(D::okButton).topLeft(), find(im, I::textButton.normal));
    p.drawImage(toQ(D::cancelButton).topLeft(), find(im, I::textButton.over));
    caption(p, D::okButton, "OK");
    caption(p, D::cancelButton, "Cancel");
    p.drawImage(toQ(D::closeButton).topLeft(), find(im, I::closeButton.over));
    outline(p, D::closeButton);
    outline(p, D::okButton);
    outline(p, D::cancelButton);
    previewDialogContents(p, d);
    p.end();
    return img;
}

bool writePreview(const QString& out, const Theme& t, int ratio) {
    const auto im = renderSkin(t, ratio);
    if (!checkComplete(im, ratio)) {
        return false;
    }
    const int w = L::main::artSize.width, h = L::main::artSize.height;
    const int dw = L::dialog::artSize.width, dh = L::dialog::artSize.height;
    const int gap = 10;
    QImage sheet = canvas(QSize(2 * w + gap, h + gap + 2 * (dh + gap) + h),
                          QImage::Format_ARGB32_Premultiplied, ratio);
    sheet.fill(QColor(60, 60, 60));
    QPainter p(&sheet);
    p.drawImage(0, 0, previewMain(im, false, false));
    p.drawImage(w + gap, 0, previewMain(im, true, true));
    int i = 0;
    for (const auto& d : kDialogs) {
        const int col = i % 4, row = i / 4;
        p.drawImage(col * (dw + gap), h + gap + row * (dh + gap), previewDialog(im, d));
        ++i;
    }
    p.drawImage(0, h + gap + 2 * (dh + gap), find(im, L::images::mainBackground));
    // The control faces at three times their size, normal left of over.
    int y = h + gap + 2 * (dh + gap) + 10;
    const int x0 = w + gap + 10;
    auto pair = [&](const QImage& a, const QImage& b) {
        const QSize big = (a.deviceIndependentSize() * 3).toSize();
        p.drawImage(QRect(QPoint(x0, y), big), a);
        p.drawImage(QRect(QPoint(x0 + big.width() + 16, y), big), b);
        y += big.height() + 12;
    };
    for (const auto& s :
         {L::images::textButton, L::images::assignmentBox, L::images::pageButton,
          L::images::closeButton, L::images::minimiseButton, L::images::skinButton}) {
        pair(find(im, s.normal), find(im, s.over));
    }
    pair(find(im, L::images::reportRateDark), find(im, L::images::reportRateLight));
    p.end();
    if (!sheet.save(out, "PNG")) {
        std::fprintf(stderr, "z417-skingen: cannot write %s\n", qPrintable(out));
        return false;
    }
    return true;
}

int usage() {
    std::fprintf(stderr, "usage: z417-skingen OUTDIR\n"
                         "       z417-skingen --preview OUT.png [Default|Aurora [RATIO]]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    const std::vector<Theme> themes = allThemes();

    if (!args.isEmpty() && args[0] == "--preview") {
        if (args.size() < 2 || args.size() > 4) {
            return usage();
        }
        const QString skin = args.size() >= 3 ? args[2] : QString("Default");
        const int ratio = args.size() == 4 ? args[3].toInt() : 1;
        if (ratio != 1 && ratio != 2) {
            return usage();
        }
        for (const auto& t : themes) {
            if (t.name == skin) {
                return writePreview(args[1], t, ratio) ? 0 : 1;
            }
        }
        std::fprintf(stderr, "z417-skingen: no skin named %s\n", qPrintable(skin));
        return 2;
    }
    if (args.size() != 1 || args[0].startsWith("-")) {
        return usage();
    }
    bool ok = true;
    for (const auto& t : themes) {
        ok = writeSkin(args[0], t) && ok;
    }
    return ok ? 0 : 1;
}
