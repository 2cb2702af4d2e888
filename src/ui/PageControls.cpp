#include "ui/PageControls.h"

#include <algorithm>

namespace z417 {

namespace {

std::vector<PageControl> controlsSortedBy(int ControlRow::*order) {
    std::vector<PageControl> out;
    for (int i = 0; i < kControlCount; ++i) {
        if (pageControls[i].*order >= 0)
            out.push_back(static_cast<PageControl>(i));
    }
    std::stable_sort(out.begin(), out.end(), [order](PageControl a, PageControl b) {
        return controlOf(a).*order < controlOf(b).*order;
    });
    return out;
}

} // namespace

std::vector<PageControl> controlsInClickOrder() {
    return controlsSortedBy(&ControlRow::clickOrder);
}

std::vector<PageControl> controlsInKeyboardOrder() {
    return controlsSortedBy(&ControlRow::tabOrder);
}

std::string controlName(PageControl c, const TextTable& texts) {
    const ControlRow& row = controlOf(c);
    const ControlName& name = row.name;
    switch (name.from) {
    case ControlName::From::Caption:
        return texts.caption(static_cast<Caption>(name.which));
    case ControlName::From::Slot:
        return texts.slot(name.which);
    case ControlName::From::NameText:
        return controlNameText(texts.language(), static_cast<ControlNameText>(name.which),
                               row.index + 1);
    case ControlName::From::Literal:
        break;
    }
    return name.literal;
}

std::vector<HoverLooks::Repaint> HoverLooks::rest(PageControl c) {
    if (static_cast<int>(c) >= kHoverControlCount)
        return {};
    const HoverGroup group = controlOf(c).group;
    std::vector<Repaint> out;
    for (int i = 0; i < kHoverControlCount; ++i) {
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
    for (int i = 0; i < kHoverControlCount; ++i) {
        if (over_.test(static_cast<size_t>(i)))
            out.push_back({static_cast<PageControl>(i), false});
    }
    over_.reset();
    return out;
}

} // namespace z417
