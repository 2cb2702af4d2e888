// The busy cursor while a transfer blocks the thread, when the window is there to show it
// (hidden in the tray, it would only be set up and taken down).
#pragma once

#include "app/AppLayer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>

namespace z417 {

class BusyCursor {
public:
    explicit BusyCursor(const QWidget* window) : shown_(window && window->isVisible()) {
        if (shown_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    const bool shown_;
};

} // namespace z417
