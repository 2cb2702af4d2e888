// The pop-up lists of the page. The widget: only the left button chooses an entry; a right
// or middle press neither moves the current entry nor tells anyone.
#pragma once

#include "ui/FieldColours.h"
#include "ui/Layout.h"

#include <QListWidget>
#include <QPointer>
#include <QStringList>

#include <functional>

namespace z417 {

// The row a navigation key (Up, Down, Home, End, Page Up, Page Down) moves the current row of
// a list to; -1 for any other key.
int listRowForKey(const QListWidget& list, int key);

class PopupListWidget final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// One pop-up list of the page: a bordered child list at a layout rectangle whose rows are
// chosen with the left button, and the open flag its control toggles. The flag is the
// control's own: a mode that shows no list still toggles it.
class PopupList {
public:
    using Chosen = std::function<void()>;

    // Makes the list over owner unless it is there already; a press on a row, or a double
    // click, calls chosen.
    void show(QWidget* owner, int id, const layout::Rect& rect, const QStringList& rows,
              const FieldStyle& style, Chosen chosen);
    // Hides the list now and deletes it later, so it may go inside its own notification.
    // The open flag is left alone.
    void destroy();
    // Destroys the list and clears the open flag.
    void close() {
        destroy();
        open = false;
    }

    QListWidget* widget() const { return list_; }
    QListWidget* operator->() const { return list_; }
    explicit operator bool() const { return !list_.isNull(); }

    bool open = false;

private:
    QPointer<QListWidget> list_;
};

} // namespace z417
