// The list widget of the page's pop-up lists: only the left button chooses an entry; a right
// or middle press neither moves the current entry nor tells anyone.
#pragma once

#include <QListWidget>

namespace z417 {

class PopupListWidget final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace z417
