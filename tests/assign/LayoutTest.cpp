#include "ui/Layout.h"
#include "ui/PageControls.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace z417::layout {
namespace {

struct Named {
    std::string name;
    Rect rect;
};

std::string describe(const Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// Scans every pixel of a window and reports each point that lies in more than one of the given
// rectangles, unless it lies in one of the allowed shared areas.
std::vector<std::string> overlapsOutside(const std::vector<Named>& rects, Size window,
                                         const std::vector<Rect>& allowed) {
    std::vector<std::string> faults;
    for (int y = 0; y < window.height; ++y) {
        for (int x = 0; x < window.width; ++x) {
            int hits = 0;
            size_t first = 0, second = 0;
            for (size_t i = 0; i < rects.size(); ++i) {
                if (rects[i].rect.contains(x, y)) {
                    (hits++ == 0 ? first : second) = i;
                }
            }
            if (hits < 2) {
                continue;
            }
            bool ok = false;
            for (const auto& a : allowed) {
                ok = ok || a.contains(x, y);
            }
            if (!ok && faults.size() < 10) {
                faults.push_back(std::to_string(x) + "," + std::to_string(y) + ": " +
                                 rects[first].name + " / " + rects[second].name);
            }
        }
    }
    return faults;
}

std::vector<Named> hotRects() {
    std::vector<Named> out;
    for (int i = 0; i < kHoverControlCount; ++i)
        out.push_back({"control " + std::to_string(i), pageControls[i].rect});
    return out;
}

// The single shared pixel columns of the button groups, where the first match decides.
const Rect kOkApplyColumn{666, 623, 667, 644};
const Rect kApplyCancelColumn{770, 623, 771, 644};
const Rect kModeColumn{357, 518, 358, 539};

TEST(Layout, ContainsTakesLeftAndTopInsideRightAndBottomOutside) {
    const Rect r{10, 20, 30, 40};
    const struct {
        int x, y;
        bool inside;
    } cases[] = {
        {10, 20, true},  {29, 39, true},  {9, 20, false},  {10, 19, false},
        {30, 20, false}, {29, 40, false}, {30, 40, false}, {20, 30, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.contains(c.x, c.y), c.inside) << c.x << "," << c.y;
    }
    EXPECT_FALSE((Rect{5, 5, 5, 9}).contains(5, 6)); // empty rectangle holds nothing
    // The dialog's button row: x = 270 is in both OK and Cancel, 271 only in Cancel.
    EXPECT_TRUE(dialog::okButton.contains(270, 260));
    EXPECT_TRUE(dialog::cancelButton.contains(270, 260));
    EXPECT_FALSE(dialog::okButton.contains(271, 260));
    EXPECT_TRUE(dialog::cancelButton.contains(271, 260));
    EXPECT_TRUE(dialog::okButton.contains(269, 260));
    EXPECT_FALSE(dialog::cancelButton.contains(269, 260));
}

TEST(Layout, HotRectanglesShareOnlyTheButtonColumns) {
    // The hover rules draw one control over and its siblings normal; that only works when a
    // point belongs to a single control, except in the one-pixel columns the bottom buttons
    // share, where the order decides.
    const auto faults =
        overlapsOutside(hotRects(), main::artSize, {kOkApplyColumn, kApplyCancelColumn});
    EXPECT_TRUE(faults.empty()) << faults.front();
    // In both shared columns the earlier button wins, in either order.
    for (HitOrder order : {HitOrder::Rest, HitOrder::Move}) {
        EXPECT_EQ(controlAt(order, 666, 630, true), PageControl::Ok);
        EXPECT_EQ(controlAt(order, 770, 630, true), PageControl::Apply);
    }
}

TEST(Layout, ClickRegionsShareOnlyTheButtonColumns) {
    // The click dispatcher stops at the first matching page region; a point in two regions
    // would make the later control unreachable there.
    std::vector<Named> regions;
    for (const auto& f : main::fixedClickOrder) {
        regions.push_back({"fixed " + std::to_string(static_cast<int>(f.region)), f.rect});
    }
    regions.push_back({"Mode A", main::modeAButton});
    regions.push_back({"Mode B", main::modeBButton});
    regions.push_back({"Default", main::defaultButton});
    for (int r = 0; r < main::shownRowCount; ++r) {
        regions.push_back({"box " + std::to_string(r), main::assignmentBox(r)});
    }
    for (int i = 0; i < main::reportRateSegmentCount; ++i) {
        regions.push_back({"segment " + std::to_string(i), main::reportRateSegment(i)});
    }
    for (int s = 0; s < main::dpiStageShownCount; ++s) {
        regions.push_back({"swatch " + std::to_string(s), main::dpiColourSwatch(s)});
        regions.push_back({"dpi value " + std::to_string(s), main::dpiValueClickArea(s)});
    }
    regions.push_back({"LED mode", main::lightModeClickArea});
    regions.push_back({"LED parameter", main::lightParameterClickArea});
    regions.push_back({"LED effect", main::lightEffectClickArea});
    const auto faults =
        overlapsOutside(regions, main::artSize, {kOkApplyColumn, kApplyCancelColumn, kModeColumn});
    EXPECT_TRUE(faults.empty()) << faults.front();
    EXPECT_TRUE(main::modeAButton.contains(357, 530));
    EXPECT_TRUE(main::modeBButton.contains(357, 530));
}

TEST(Layout, AssignmentRowsLeaveTwoFreePixelRowsBetweenThem) {
    for (int r = 0; r < main::slotCount; ++r) {
        const Rect box = main::assignmentBox(r);
        EXPECT_EQ(box.height(), 21) << r;
        // Number and label split the box without gap or overlap.
        EXPECT_EQ(main::rowNumber(r).rect.left, box.left);
        EXPECT_EQ(main::rowNumber(r).rect.right, main::assignmentLabel(r).rect.left);
        EXPECT_EQ(main::assignmentLabel(r).rect.right, box.right);
        EXPECT_EQ(main::rowNumber(r).rect.top, box.top);
        EXPECT_EQ(main::assignmentLabel(r).rect.bottom, box.bottom);
        // The slot's list opens under the box, 230 pixels tall.
        EXPECT_EQ(main::assignmentList(r).top, box.bottom + 1) << r;
        EXPECT_EQ(main::assignmentList(r).height(), 230) << r;
        if (r + 1 < main::slotCount) {
            EXPECT_EQ(main::assignmentBox(r + 1).top - box.bottom, 2) << r;
        }
    }
    // A pointer in the gap between rows 2 and 3 touches no hot rectangle, so a move there
    // restores the normal look of row 2.
    for (int y : {main::assignmentBox(1).bottom, main::assignmentBox(1).bottom + 1}) {
        EXPECT_FALSE(controlAt(HitOrder::Move, 300, y, true)) << y;
    }
    // Slots 6 and 7 keep their rectangles (y 337 and 360) though no box is shown.
    EXPECT_EQ(main::assignmentBox(6), (Rect{252, 337, 463, 358}));
    EXPECT_EQ(main::assignmentBox(7), (Rect{252, 360, 463, 381}));
    // Report-rate segments and DPI rows do not touch either.
    for (int i = 0; i + 1 < main::reportRateSegmentCount; ++i) {
        EXPECT_EQ(main::reportRateSegment(i + 1).left - main::reportRateSegment(i).right, 2);
    }
    for (int s = 0; s + 1 < main::dpiStageShownCount; ++s) {
        EXPECT_EQ(main::dpiColourSwatch(s + 1).top - main::dpiColourSwatch(s).bottom, 14);
    }
}

TEST(Layout, EveryRectangleLiesInsideItsWindow) {
    const Rect mainWindow{0, 0, main::artSize.width, main::artSize.height};
    std::vector<Rect> mainRects = {
        main::skinButton,
        main::minimiseButton,
        main::closeButton,
        main::pageButton,
        main::pageTitle.rect,
        main::keySettingCaption.rect,
        main::modeAButton,
        main::modeBButton,
        main::defaultButton,
        main::reportRateCaption.rect,
        main::dpiSettingCaption.rect,
        main::dpiEffectCaption.rect,
        main::ledModeLabel.rect,
        main::ledParameterLabel.rect,
        main::ledEffectLabel.rect,
        main::lightModeClickArea,
        main::lightParameterClickArea,
        main::lightEffectClickArea,
        main::webAddressLine.rect,
        main::okButton,
        main::applyButton,
        main::cancelButton,
        main::ledModeList,
        main::ledParameterListBrightness,
        main::ledParameterListSpeed,
        main::ledEffectList,
    };
    for (int r = 0; r < main::slotCount; ++r) {
        mainRects.push_back(main::assignmentBox(r));
        mainRects.push_back(main::assignmentList(r));
    }
    for (int i = 0; i < main::reportRateSegmentCount; ++i) {
        mainRects.push_back(main::reportRateSegment(i));
        mainRects.push_back(main::reportRateSegmentCaption(i).rect);
    }
    for (int s = 0; s < main::dpiStageShownCount; ++s) {
        mainRects.push_back(main::dpiStageNumber(s).rect);
        mainRects.push_back(main::dpiValueClickArea(s));
        mainRects.push_back(main::dpiValueList(s));
        // The drawn field lies inside its click area.
        EXPECT_TRUE(main::dpiValueClickArea(s).encloses(main::dpiValueField(s))) << s;
    }
    for (const Rect& r : mainRects) {
        EXPECT_FALSE(r.isEmpty()) << describe(r);
        EXPECT_TRUE(mainWindow.encloses(r)) << describe(r);
    }
    EXPECT_TRUE(main::lightModeClickArea.encloses(main::lightModeField));
    EXPECT_TRUE(main::lightParameterClickArea.encloses(main::lightParameterField));
    EXPECT_TRUE(main::lightEffectClickArea.encloses(main::lightEffectField));

    const Rect dialogWindow{0, 0, dialog::artSize.width, dialog::artSize.height};
    std::vector<Rect> dialogRects = {
        dialog::closeButton,        dialog::okButton,
        dialog::cancelButton,       fireDialog::timesField,
        fireDialog::makeTimeField,  fireDialog::breakTimeField,
        fireDialog::firstNote.rect, fireDialog::secondNote.rect,
        singleDialog::displayField, singleDialog::prompt.rect,
        skinsDialog::colourField,   skinsDialog::hint.rect,
    };
    for (const auto* g : dropDownGroups) {
        dialogRects.push_back(g->displayField);
        dialogRects.push_back(g->selectorArea);
        dialogRects.push_back(g->list);
    }
    for (const Rect& r : dialogRects) {
        EXPECT_FALSE(r.isEmpty()) << describe(r);
        EXPECT_TRUE(dialogWindow.encloses(r)) << describe(r);
    }
    // The fire key labels start left of the window by construction; their text is
    // right-aligned against an edge that lies inside.
    for (const auto& label :
         {fireDialog::timesLabel, fireDialog::makeTimeLabel, fireDialog::breakTimeLabel}) {
        EXPECT_EQ(label.format, textFormat::right);
        EXPECT_GT(label.rect.right, 0);
        EXPECT_TRUE(label.rect.top >= 0 && label.rect.bottom <= dialogWindow.bottom);
    }
}

TEST(Layout, DropDownListsOpenUnderTheirSelectorAndClearTheButtons) {
    for (const auto* g : dropDownGroups) {
        const std::string id = std::to_string(g->displayFieldId);
        EXPECT_TRUE(g->selectorArea.encloses(g->displayField)) << id;
        EXPECT_EQ(g->selectorArea.left, g->displayField.left) << id;
        EXPECT_EQ(g->list.left, g->selectorArea.left) << id;
        EXPECT_EQ(g->list.right, g->selectorArea.right) << id;
        EXPECT_EQ(g->list.top, g->selectorArea.bottom + 2) << id;
        // A click inside the open list must never also end the dialog.
        for (const Rect& b : {dialog::okButton, dialog::cancelButton, dialog::closeButton}) {
            EXPECT_FALSE(g->list.intersects(b)) << id;
            EXPECT_FALSE(g->selectorArea.intersects(b)) << id;
        }
    }
    // The fire key list covers the three edit fields it replaces.
    for (const Rect& f :
         {fireDialog::timesField, fireDialog::makeTimeField, fireDialog::breakTimeField}) {
        EXPECT_TRUE(fireDialog::dropDown.list.encloses(f)) << describe(f);
    }
    // The skins dialog's colour field is outside the selector, so both can be clicked.
    EXPECT_FALSE(skinsDialog::colourField.intersects(skinsDialog::dropDown.selectorArea));
}

TEST(Layout, SkinImagesMatchTheRectanglesTheyAreDrawnAt) {
    const auto fits = [](const SkinImage& image, const Rect& r) {
        return image.size.width == r.width() && image.size.height == r.height();
    };
    for (const Rect& r :
         {main::okButton, main::applyButton, main::cancelButton, main::defaultButton,
          main::modeAButton, main::modeBButton, dialog::okButton, dialog::cancelButton}) {
        EXPECT_TRUE(fits(images::textButton.normal, r)) << describe(r);
        EXPECT_TRUE(fits(images::textButton.over, r)) << describe(r);
    }
    for (int r = 0; r < main::slotCount; ++r) {
        EXPECT_TRUE(fits(images::assignmentBox.normal, main::assignmentBox(r))) << r;
    }
    for (int i = 0; i < main::reportRateSegmentCount; ++i) {
        EXPECT_TRUE(fits(images::reportRateDark, main::reportRateSegment(i))) << i;
        EXPECT_TRUE(fits(images::reportRateLight, main::reportRateSegment(i))) << i;
    }
    EXPECT_TRUE(fits(images::minimiseButton.over, main::minimiseButton));
    EXPECT_TRUE(fits(images::closeButton.over, main::closeButton));
    EXPECT_TRUE(fits(images::closeButton.over, dialog::closeButton));
    EXPECT_TRUE(fits(images::skinButton.over, main::skinButton));
    EXPECT_TRUE(fits(images::pageButton.over, main::pageButton));
    EXPECT_EQ(images::basicPage.size.width, main::artSize.width);
    EXPECT_EQ(images::mainBackground.size.height, main::artSize.height);

    // Names are joined to the skin folder as they stand: each is unique, starts with "/" and
    // is a PNG.
    std::set<std::string> names;
    for (const auto& image : images::all) {
        const std::string name = image.name;
        EXPECT_EQ(name.front(), '/') << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".png") << name;
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_EQ(names.size(), 23u);
}

TEST(Layout, DpiSwitchSubListOpensBesideTheHoveredItem) {
    // Item 5 of the list under row 1 at 15-pixel items: (0, 75, 209, 90) in list coordinates.
    const Rect sub = main::dpiSwitchSubList(main::assignmentList(0), {0, 75, 209, 90});
    EXPECT_EQ(sub, (Rect{252 + 209, 221 + 75, 252 + 209 + 60, 221 + 75 + 60}));
}

} // namespace
} // namespace z417::layout
