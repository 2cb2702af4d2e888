// The main window from the keyboard. Tab and Shift+Tab move a focus through the controls in
// the table's keyboard order; Space or Enter on the focused control does what a click on it
// does; the arrows move the report rate and the key sets. While a pop-up list is open the
// arrows, Home, End and the Page keys move its current row, Enter chooses it and Escape
// closes it. Escape with no list open, and Enter with no control focused, hide the window.
#pragma once

#include "app/AppLayer.h"

#include "ui/PageControls.h"

#include <functional>
#include <optional>

class QKeyEvent;
class QListWidget;

namespace z417 {

class BasicPage;

class PageKeyboard {
public:
    struct Actions {
        std::function<void(PageControl)> press; // as a click on the control
        std::function<void()> hideWindow;
        std::function<void()> focusChanged; // the mark is drawn again, the change announced
    };

    PageKeyboard(BasicPage& page, Actions actions);

    // True when the key was taken.
    bool keyPress(const QKeyEvent& event);

    // The focused control; none until a key moves the focus, and none for a control that is
    // not there (a page control while the page is not shown).
    std::optional<PageControl> focused() const;
    // The pointer took over: the mark goes until a key moves the focus again.
    void hideFocus();

private:
    bool listKey(QListWidget* list, const QKeyEvent& event);
    bool pageKey(const QKeyEvent& event);
    void moveFocus(int step);
    void focus(PageControl c);
    bool isThere(PageControl c) const;
    bool stepSibling(int step);

    BasicPage& page_;
    Actions actions_;
    std::optional<PageControl> focused_;
    // The DPI switch sub-list took the keys from its slot list.
    bool inSubList_ = false;
};

} // namespace z417
