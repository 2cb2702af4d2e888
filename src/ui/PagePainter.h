// Paints the Basic settings page onto the main window's back buffer from a read-only view of
// the application state: the static art and texts, and the parts that are redrawn alone.
// A null buffer (no skin background) paints nothing.
#pragma once

#include "ui/AppState.h"
#include "ui/Layout.h"
#include "ui/PageControls.h"

#include <QImage>
#include <QString>

namespace z417 {

class PagePainter {
public:
    PagePainter(QImage& buffer, const AppState& state);

    // The page's art, captions, rows and key-set buttons (the child fields are the shell's).
    void paintPage();
    void drawImage(const char* name, int x, int y);
    void drawButton(const char* image, const layout::Rect& rect, const QString& caption);
    void drawAssignmentRow(int row, bool over);
    // One control of the table in its normal or over look, with its caption or row texts.
    void drawControl(PageControl control, bool over);
    void drawKeySetButtons();
    void drawStageNumber(int stage);
    // Lights one report-rate segment; dark (unless negative) goes back to its dark look.
    void drawReportRate(int lit, int dark = -1);

private:
    QImage& buffer_;
    const AppState& state_;
};

} // namespace z417
