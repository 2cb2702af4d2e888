// Fonts by the language table and single-line text drawing onto a surface.
#pragma once

#include "assign/FontTable.h"
#include "ui/Layout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace z417 {

// A QFont for a table entry: the named face first, then faces that exist on Linux for it
// (CJK faces for the Chinese ones); pixel size = the height given.
QFont makeFont(const FontEntry& entry);

// The version the platform reports for the font rule. Linux never reports Windows 6.2.
void platformVersion(int& major, int& minor);

// Text formats of the windows, as single-line alignments.
enum class TextFormat {
    CentreTop, // captions under the report-rate segments
    Left,      // row numbers, labels in boxes, stage numbers (vertically centred)
    Centre,    // buttons, titles, captions (both centred)
    Right,     // LED labels (vertically centred)
};

// The height of a list row in the font: its cell height, like a list box's items.
int listRowHeight(const QFont& font);

// Rectangles use the layout's exclusive right and bottom edges.
// A UTF-8 string of the core as a QString.
inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
// The same for a list of them.
QStringList toQStringList(const std::vector<std::string>& items);

QRect toQRect(int left, int top, int right, int bottom);
QRect toQRect(const layout::Rect& rect);

// The alignment of a layout text format (layout::textFormat); anything unknown is centred.
TextFormat toTextFormat(unsigned layoutFormat);

void drawText(QImage& surface, const QRect& rect, const QString& text, TextFormat format,
              const QFont& font, const QColor& colour);

} // namespace z417
