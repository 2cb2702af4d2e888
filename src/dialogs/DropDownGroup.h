// The drop-down group of a parameter dialog: a display field that shows the chosen entry, and
// the list that a click on the selector opens under it. The list shows whole rows in the skin's
// accent; the pointer only highlights an entry, a left click on one chooses it and closes the
// list.
#pragma once

#include "ui/Layout.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>

class QFont;
class QLabel;
class QListWidget;
class QMouseEvent;
class QWidget;

namespace z417 {

class DropDownGroup : public QObject {
    Q_OBJECT
public:
    struct Behaviour {
        bool wheelScrollsList; // the pointer wheel over the dialog scrolls the open list
        bool listHasScrollBar;
    };
    // Gives a new child control of the dialog its identifier, rectangle, colours and font.
    using PlaceControl = std::function<void(QWidget*, int, const layout::Rect&)>;

    DropDownGroup(QWidget& dialog, const layout::DropDownGroup& geometry, Behaviour behaviour,
                  const QColor& accent, PlaceControl placeControl);

    void setDisplayField(QLabel* field) { displayField_ = field; }
    QLabel* displayField() const { return displayField_; }
    QListWidget* list() const { return list_; }
    bool isOpen() const { return list_ != nullptr; }

    bool onSelector(const QPoint& point) const;
    // Neither on the list nor on the selector.
    bool awayFrom(const QPoint& point) const;

    // Opens the list with entries in index order, rows as tall as font.
    void open(const QStringList& entries, const QFont& font);
    void close();
    // One notch of the wheel over the dialog: positive upwards.
    void wheel(int angleDelta);

signals:
    // Before the display field shows the text and the list closes.
    void chosen(int index, const QString& text);
    // After the list went, with or without a choice.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* createList() const;
    void rowChanged(int row);
    void chooseRow(int row);
    bool filterListEvent(QEvent* event);
    void highlightEntryAt(const QPoint& point);
    bool filterListButton(const QMouseEvent& event);

    QWidget& dialog_;
    const layout::DropDownGroup& geometry_;
    Behaviour behaviour_;
    QColor accent_;
    PlaceControl placeControl_;
    QLabel* displayField_ = nullptr;
    QListWidget* list_ = nullptr;
    bool highlighting_ = false;
};

} // namespace z417
