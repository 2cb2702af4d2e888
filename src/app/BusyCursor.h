// The busy cursor while a transfer blocks the thread.
#pragma once

#include "app/AppLayer.h"

#include <QCursor>
#include <QGuiApplication>

namespace z417 {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace z417
