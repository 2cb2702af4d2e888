// The main window for assistive technology: one accessible child per row of the control
// table that is there (page rows only while the page is shown), with its role, name, value
// and action, followed by the open pop-up lists. The window's own accessible interface comes
// from a factory for the widget registered here; value and state changes are announced by
// announceChanges(), focus moves by announceFocus().
#pragma once

#include "assign/Texts.h"
#include "ui/PageControls.h"

#include <QAccessibleWidget>

#include <functional>
#include <optional>

namespace z417 {

struct PageAccessModel {
    const ControlHost* host = nullptr;
    const TextTable* texts = nullptr;
    std::function<bool()> pageShown;
    std::function<std::optional<PageControl>()> focused;
    // The control's action, as a click on it; run from the event loop, never inside a call
    // of the assistive technology (it may open a modal dialog).
    std::function<void(PageControl)> press;
};

// The window's accessible interface is built from model from now on; unregister before the
// window goes.
void registerPageAccessible(QWidget* window, PageAccessModel model);
void unregisterPageAccessible(QWidget* window);

// The changed values and states since the last call, and the focus, announced.
void announceChanges(QWidget* window);
void announceFocus(QWidget* window);

// The accessible role a table row is given.
QAccessible::Role accessibleRole(ControlRole role);

} // namespace z417
