// The drop-down group of a parameter dialog: a display field that shows the chosen entry, and
// the list that a click on the selector opens under it. The list shows whole rows in the skin's
// accent; the pointer only highlights an entry, a left click on one chooses it and closes the
// list.
#pragma once

#include "ui/Layout.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QMouseEvent;
class QWidget;

namespace z417 {

class DropDownGroup : public QObject {
    Q_OBJECT
public:
    struct Setup {
        const layout::DropDownGroup* geometry;
        bool wheelScrollsList; // the pointer wheel over the dialog scrolls the open list
        bool listHasScrollBar;
        QColor accent; // the frame and scroll bar of the list
        QFont font;    // rows as tall as this font
    };
    // What the dialog supplies: the entries in index order when the list opens, and how a new
    // child control gets its identifier, rectangle, colours and font.
    struct Hooks {
        std::function<QStringList()> entries;
        std::function<void(QWidget*, int, const layout::Rect&)> placeControl;
    };

    // displayField shows the chosen entry.
    DropDownGroup(QWidget& dialog, QLabel* displayField, Setup setup, Hooks hooks);

    QLabel* displayField() const { return displayField_; }
    QListWidget* list() const { return list_; }
    bool isOpen() const { return list_ != nullptr; }

    // A left press on the dialog: on the selector it opens or closes the list, anywhere else
    // but on the list it closes it.
    void press(const QPoint& point);
    // One notch of the wheel over the dialog: positive upwards.
    void wheel(int angleDelta);
    // From the keyboard: open or close the list, make a row current (as the pointer's
    // highlight does, choosing nothing), choose the current row.
    void toggle();
    void highlight(int row);
    void chooseCurrent();

signals:
    // Just before the list is created.
    void opening();
    // Before the display field shows the text and the list closes.
    void chosen(int index, const QString& text);
    // After the list went, with or without a choice.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open();
    void close();
    QListWidget* createList() const;
    void rowChanged(int row);
    void chooseRow(int row);
    bool filterListEvent(QEvent* event);
    void highlightEntryAt(const QPoint& point);
    bool filterListButton(const QMouseEvent& event);

    QWidget& dialog_;
    QLabel* displayField_;
    Setup setup_;
    Hooks hooks_;
    QListWidget* list_ = nullptr;
    bool highlighting_ = false;
};

} // namespace z417
