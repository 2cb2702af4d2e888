// The painted OK, Cancel and close buttons of a parameter dialog: their normal looks, and the
// over look a button takes once the pointer has rested on it for a moment and loses when the
// pointer moves off all three.
#pragma once

#include "ui/Layout.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

class QWidget;

namespace z417 {

class DialogCanvas;

class DialogButtons : public QObject {
    Q_OBJECT
public:
    // Draws on canvas and has window repaint it after each change of look.
    DialogButtons(DialogCanvas& canvas, QWidget& window, QColor textColour);

    void setTexts(const QString& ok, const QString& cancel);
    // The normal looks: the two text buttons, and the close button apart, since the dialog's
    // own texts are drawn between them.
    void drawTextButtons();
    void drawCloseButton();
    // Draws the over looks again (after the canvas was made again).
    void drawOverLooks();

    void pointerMoved(const QPoint& point);
    // A rest that has not been noticed yet is forgotten.
    void stopWaiting() { restTimer_.stop(); }

    bool okOver() const { return overOk_; }
    bool cancelOver() const { return overCancel_; }
    bool closeOver() const { return overClose_; }

private:
    void pointerRested();
    void dropOverLooks();
    void drawButton(const layout::Rect& rect, bool over, const QString& text);
    void drawClose(bool over);

    DialogCanvas& canvas_;
    QWidget& window_;
    QColor textColour_;
    QString okText_;
    QString cancelText_;
    bool overOk_ = false;
    bool overCancel_ = false;
    bool overClose_ = false;
    QTimer restTimer_;
    QPoint restPoint_;
};

} // namespace z417
