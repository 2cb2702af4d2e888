// The click order of a painted window as data: areas are tested in the order they were
// added. An area that holds the point acts; a "go on" area lets the testing continue, a
// "stop" area ends it. Page areas are tested only while the page is shown, after a sweep
// that runs once before the first of them (the page closes its lists there).
#pragma once

#include "ui/Layout.h"

#include <functional>
#include <vector>

namespace z417 {

class ClickTable {
public:
    enum class Flow { GoOn, Stop };
    enum class Scope { Window, Page };
    // Returns whether it acted; an area that did not act leaves the press unclaimed.
    using Action = std::function<bool()>;

    // An action that always claims the press.
    template <class F> static Action claiming(F f) {
        return [f] {
            f();
            return true;
        };
    }

    void add(const layout::Rect& rect, Scope scope, Flow flow, Action act);

    // Runs the areas holding (x, y) in order; true when one of them claimed the press.
    bool dispatch(int x, int y, const std::function<bool()>& pageShown,
                  const std::function<void()>& beforePageAreas) const;

private:
    struct Area {
        layout::Rect rect;
        Scope scope;
        Flow flow;
        Action act;
    };
    std::vector<Area> areas_;
};

} // namespace z417
