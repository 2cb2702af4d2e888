#include "ui/PageControls.h"

namespace z417 {

std::vector<HoverLooks::Repaint> HoverLooks::rest(PageControl c) {
    const HoverGroup group = controlOf(c).group;
    std::vector<Repaint> out;
    for (int i = 0; i < kPageControlCount; ++i) {
        const auto control = static_cast<PageControl>(i);
        const bool sameGroup = group != HoverGroup::None && pageControls[i].group == group;
        if (control != c && !sameGroup)
            continue;
        // The bottom buttons repaint as a set, in table order (neighbours share a pixel
        // column); a row turns normal only the rows that were over.
        if (control == c || group == HoverGroup::BottomButtons || isOver(control))
            out.push_back({control, control == c});
        over_.set(static_cast<size_t>(i), control == c);
    }
    return out;
}

std::vector<HoverLooks::Repaint> HoverLooks::leave() {
    std::vector<Repaint> out;
    for (int i = 0; i < kPageControlCount; ++i) {
        if (over_.test(static_cast<size_t>(i)))
            out.push_back({static_cast<PageControl>(i), false});
    }
    over_.reset();
    return out;
}

} // namespace z417
