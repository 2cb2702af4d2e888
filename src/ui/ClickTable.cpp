#include "ui/ClickTable.h"

namespace z417 {

void ClickTable::add(const layout::Rect& rect, Scope scope, Flow flow, Action act) {
    areas_.push_back({rect, scope, flow, std::move(act)});
}

bool ClickTable::dispatch(int x, int y, const std::function<bool()>& pageShown,
                          const std::function<void()>& beforePageAreas) const {
    bool claimed = false;
    bool inPage = false;
    for (const Area& area : areas_) {
        if (area.scope == Scope::Page && !inPage) {
            if (!pageShown())
                break;
            inPage = true;
            beforePageAreas();
        }
        if (!area.rect.contains(x, y))
            continue;
        claimed = area.act() || claimed;
        if (area.flow == Flow::Stop)
            return true;
    }
    return claimed;
}

} // namespace z417
