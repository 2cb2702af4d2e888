// Every position of the painted windows in one place: the main window's page, its hot and
// click rectangles, the pop-up lists of the value controls, the frame and controls of the seven
// parameter dialogs, and the skin image names with the sizes our skins draw them at.
//
// All values are client pixels. Rectangles are (left, top, right, bottom) with right and bottom
// exclusive, the same for every skin and language; painting, hit tests, the demo and the skin
// generator take their geometry from here and nowhere else. Qt-free on purpose.
#pragma once

namespace z417::layout {

struct Point {
    int x;
    int y;
};

struct Size {
    int width;
    int height;
};

struct Rect {
    int left;
    int top;
    int right;
    int bottom;

    // Windows rule: left and top inside, right and bottom outside.
    constexpr bool contains(int x, int y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Point topLeft() const { return {left, top}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool intersects(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    constexpr bool encloses(const Rect& o) const {
        return left <= o.left && o.right <= right && top <= o.top && o.bottom <= bottom;
    }
    constexpr bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

// Text formats of the painted texts (values of the Windows DrawText flags they stand for).
namespace textFormat {
inline constexpr unsigned centred = 0x25;    // centred both ways, single line
inline constexpr unsigned left = 0x24;       // left-aligned, centred vertically, single line
inline constexpr unsigned centredTop = 0x21; // centred horizontally, top-aligned, single line
inline constexpr unsigned right = 0x26;      // right-aligned, centred vertically, single line
} // namespace textFormat

// A text drawn by the program itself: where and how it is aligned.
struct TextArea {
    Rect rect;
    unsigned format;
};

// One PNG of a skin folder. The name is appended to the skin folder as it stands (it carries
// its own leading "/"); the size is the one our skins are drawn at and that the rectangles
// below expect (the program itself takes each image at its natural size).
struct SkinImage {
    const char* name;
    Size size;
};

// An element with a normal and a hovered (over) look.
struct StateImages {
    SkinImage normal;
    SkinImage over;
};

namespace images {
inline constexpr SkinImage mainBackground{"/main.png", {900, 660}};
inline constexpr SkinImage basicPage{"/BasicSet2.png", {900, 660}};
inline constexpr StateImages minimiseButton{{"/button-min-normal.png", {18, 18}},
                                            {"/button-min-over.png", {18, 18}}};
inline constexpr StateImages closeButton{{"/button-close-normal.png", {18, 18}},
                                         {"/button-close-over.png", {18, 18}}};
inline constexpr StateImages skinButton{{"/button-Skins-normal.png", {18, 18}},
                                        {"/button-Skins-over.png", {18, 18}}};
inline constexpr StateImages pageButton{{"/button-PrePage-normal.png", {40, 40}},
                                        {"/button-PrePage-over.png", {40, 40}}};
// Text buttons (OK, Apply, Cancel, Default, the key-set buttons, the dialogs' OK and Cancel).
// On the key-set buttons the over look marks the active set.
inline constexpr StateImages textButton{{"/button-normal.png", {105, 21}},
                                        {"/button-over.png", {105, 21}}};
inline constexpr StateImages assignmentBox{{"/DropdownBox-normal.png", {211, 21}},
                                           {"/DropdownBox-over.png", {211, 21}}};
// Report-rate segment: light = the selected rate, dark = the others.
inline constexpr SkinImage reportRateDark{"/slider-RP-dark.png", {70, 11}};
inline constexpr SkinImage reportRateLight{"/slider-RP-light.png", {70, 11}};

// Dialog backgrounds; the dialog window takes the background's size.
inline constexpr Size dialogSize{440, 320};
inline constexpr SkinImage fireKeyBackground{"/fire-key.png", dialogSize};
inline constexpr SkinImage hotKeyBackground{"/hot-key.png", dialogSize};
inline constexpr SkinImage mediaKeyBackground{"/media-key.png", dialogSize};
inline constexpr SkinImage singleKeyBackground{"/single-key.png", dialogSize};
inline constexpr SkinImage skinsBackground{"/skins.png", dialogSize};
inline constexpr SkinImage snipeKeyBackground{"/snipe-key.png", dialogSize};
inline constexpr SkinImage windowsKeyBackground{"/windows-key.png", dialogSize};

// Every file a complete skin folder holds.
inline constexpr SkinImage all[] = {
    mainBackground,       basicPage,          minimiseButton.normal, minimiseButton.over,
    closeButton.normal,   closeButton.over,   skinButton.normal,     skinButton.over,
    pageButton.normal,    pageButton.over,    textButton.normal,     textButton.over,
    assignmentBox.normal, assignmentBox.over, reportRateDark,        reportRateLight,
    fireKeyBackground,    hotKeyBackground,   mediaKeyBackground,    singleKeyBackground,
    skinsBackground,      snipeKeyBackground, windowsKeyBackground,
};
inline constexpr int allCount = sizeof(all) / sizeof(all[0]);
} // namespace images

// ---------------------------------------------------------------------------------------------
// Main window: the Basic settings page.
// ---------------------------------------------------------------------------------------------
namespace main {

// Identifiers of the page's pop-up lists: the assignment lists of slots 0..7 are 41..48. The
// demo's scripts name lists by these numbers.
enum class ListId {
    DpiSwitchSub = 40,
    Assignment0 = 41,
    DpiValue = 59,
    LightMode = 60,
    LightParameter = 61,
    LightEffect = 62
};

// Size of "/main.png" and "/BasicSet2.png" in our skins; the window takes the real size of
// "/main.png".
inline constexpr Size artSize{900, 660};

// Title bar and page header.
inline constexpr Rect skinButton{701, 5, 719, 23};
inline constexpr Rect minimiseButton{825, 5, 843, 23};
inline constexpr Rect closeButton{850, 5, 868, 23};
inline constexpr Rect pageButton{44, 54, 84, 94};
// "Basic Settings": TitleFont, always RGB(66, 66, 66).
inline constexpr TextArea pageTitle{{90, 51, 236, 99}, textFormat::centred};

// Key settings: six assignment boxes (rows 1 to 6 show slots 0 to 5 of the active key set).
// Slots 6 and 7 keep rectangles and lists but no box is shown for them.
inline constexpr TextArea keySettingCaption{{259, 160, 364, 181}, textFormat::centred};
inline constexpr int slotCount = 8;
inline constexpr int shownRowCount = 6;
inline constexpr int rowStep = 23; // 21-pixel boxes with a 2-pixel gap
// "/DropdownBox-normal.png" (211 x 21) drawn at (252, 199 + 23 r).
constexpr Rect assignmentBox(int row) {
    return {252, 199 + rowStep * row, 463, 220 + rowStep * row};
}
// "1" to "6" in the first 20 pixels of the box.
constexpr TextArea rowNumber(int row) {
    return {{252, 199 + rowStep * row, 272, 220 + rowStep * row}, textFormat::left};
}
// The slot's AssignmentLabel in the rest of the box.
constexpr TextArea assignmentLabel(int row) {
    return {{272, 199 + rowStep * row, 463, 220 + rowStep * row}, textFormat::left};
}
// Pop-up assignment list under box r, 230 pixels tall, control id 41 + r.
constexpr Rect assignmentList(int row) {
    return {252, 221 + rowStep * row, 463, 451 + rowStep * row};
}
constexpr ListId assignmentListId(int row) {
    return static_cast<ListId>(static_cast<int>(ListId::Assignment0) + row);
}
constexpr bool isAssignmentList(ListId id) {
    return id >= ListId::Assignment0 && id < assignmentListId(slotCount);
}

// Key-set buttons share the column x = 357.
inline constexpr Rect modeAButton{253, 518, 358, 539};
inline constexpr Rect modeBButton{357, 518, 462, 539};
inline constexpr Rect defaultButton{307, 549, 412, 570};

// Report rate: four 70 x 11 segments (125, 250, 500, 1000 Hz) with their captions below.
inline constexpr TextArea reportRateCaption{{504, 161, 609, 182}, textFormat::centred};
inline constexpr int reportRateSegmentCount = 4;
inline constexpr int reportRateStep = 72;
// ReportRateSegment i: "/slider-RP-*.png" (70 x 11) drawn at (542 + 72 i, 204).
constexpr Rect reportRateSegment(int i) {
    return {542 + reportRateStep * i, 204, 612 + reportRateStep * i, 215};
}
constexpr TextArea reportRateSegmentCaption(int i) {
    return {{542 + reportRateStep * i, 225, 612 + reportRateStep * i, 245}, textFormat::centredTop};
}

// DPI stages 0 to 5, one row each.
inline constexpr TextArea dpiSettingCaption{{504, 275, 609, 296}, textFormat::centred};
inline constexpr int dpiStageShownCount = 6;
inline constexpr int dpiRowStep = 30;
// Stage number "1" to "6", drawn 20 to 10 pixels left of the 16-pixel stage column.
constexpr TextArea dpiStageNumber(int s) {
    return {{506, 330 + dpiRowStep * s, 516, 346 + dpiRowStep * s}, textFormat::left};
}
constexpr Rect dpiStageColumn(int s) {
    return {526, 330 + dpiRowStep * s, 542, 346 + dpiRowStep * s};
}
// DpiColourSwatch: child field, id 71 + s; also its click area.
constexpr Rect dpiColourSwatch(int s) {
    return {548, 330 + dpiRowStep * s, 564, 346 + dpiRowStep * s};
}
constexpr int dpiColourSwatchId(int s) {
    return 71 + s;
}
// DpiValueField: the child field as drawn (id 11 + s) and the wider area that opens its list.
constexpr Rect dpiValueField(int s) {
    return {575, 330 + dpiRowStep * s, 644, 344 + dpiRowStep * s};
}
constexpr Rect dpiValueClickArea(int s) {
    return {575, 330 + dpiRowStep * s, 659, 344 + dpiRowStep * s};
}
constexpr int dpiValueFieldId(int s) {
    return 11 + s;
}

// LED ("DPI Effect") settings.
inline constexpr TextArea dpiEffectCaption{{704, 275, 809, 296}, textFormat::centred};
inline constexpr TextArea ledModeLabel{{697, 330, 757, 344}, textFormat::right};
inline constexpr TextArea ledParameterLabel{{697, 360, 757, 374}, textFormat::right};
inline constexpr TextArea ledEffectLabel{{697, 390, 757, 404}, textFormat::right};
inline constexpr Rect lightModeField{767, 330, 835, 344};
inline constexpr Rect lightModeClickArea{767, 330, 851, 344};
inline constexpr int lightModeFieldId = 80;
inline constexpr Rect lightParameterField{767, 360, 835, 374};
inline constexpr Rect lightParameterClickArea{767, 360, 851, 374};
inline constexpr int lightParameterFieldId = 81;
inline constexpr Rect lightEffectField{767, 390, 835, 404};
inline constexpr Rect lightEffectClickArea{767, 390, 851, 404};
inline constexpr int lightEffectFieldId = 82;

// Bottom bar. OK, Apply and Cancel share the columns x = 666 and x = 770.
inline constexpr TextArea webAddressLine{{273, 627, 449, 647}, textFormat::centred};
inline constexpr Rect okButton{562, 623, 667, 644};
inline constexpr Rect applyButton{666, 623, 771, 644};
inline constexpr Rect cancelButton{770, 623, 875, 644};
// Captions of OK, Apply, Cancel, Default, "Mode A" and "Mode B" are centred in their button.
inline constexpr unsigned buttonCaptionFormat = textFormat::centred;

// Pop-up lists of the value controls.
// DpiValueList under stage s (id 59): from one pixel under the field, 100 pixels tall.
constexpr Rect dpiValueList(int s) {
    return {575, 345 + dpiRowStep * s, 659, 445 + dpiRowStep * s};
}
inline constexpr Rect ledModeList{766, 347, 851, 407};
inline constexpr Rect ledParameterListBrightness{767, 377, 851, 547}; // mode 1, ten texts
inline constexpr Rect ledParameterListSpeed{767, 377, 851, 467};      // mode 2, five texts
inline constexpr Rect ledEffectList{766, 407, 851, 447};              // mode 2 only
// DPI switch sub-list (id 40): 60 x 60 beside the hovered "DPI Switch" item of an assignment
// list; itemRect is that item's rectangle in the list's own coordinates.
inline constexpr Size dpiSwitchSubListSize{60, 60};
constexpr Rect dpiSwitchSubList(const Rect& list, const Rect& itemRect) {
    return {list.left + itemRect.right, list.top + itemRect.top,
            list.left + itemRect.right + dpiSwitchSubListSize.width,
            list.top + itemRect.top + dpiSwitchSubListSize.height};
}

// Fixed click regions, in the order the click dispatcher tests them; they react whatever the
// page state. The page regions that follow (only while the Basic page is built) are, in order:
// modeAButton, modeBButton, defaultButton, assignmentBox(0..5), reportRateSegment(0..3),
// dpiColourSwatch(0..5), dpiValueClickArea(0..5), lightModeClickArea, lightParameterClickArea,
// lightEffectClickArea.
enum class ClickRegion { Ok, Apply, Skin, Minimise, Close, PageButton, Cancel, WebLink };

struct FixedClickRegion {
    ClickRegion region;
    Rect rect;
};

inline constexpr FixedClickRegion fixedClickOrder[] = {
    {ClickRegion::Ok, okButton},         {ClickRegion::Apply, applyButton},
    {ClickRegion::Skin, skinButton},     {ClickRegion::Minimise, minimiseButton},
    {ClickRegion::Close, closeButton},   {ClickRegion::PageButton, pageButton},
    {ClickRegion::Cancel, cancelButton}, {ClickRegion::WebLink, webAddressLine.rect},
};

} // namespace main

// ---------------------------------------------------------------------------------------------
// Parameter dialogs. Every dialog has the same frame; six have one drop-down group.
// ---------------------------------------------------------------------------------------------

// Display field (a sunken static text that takes no clicks), the selector area that toggles
// the list (the display field plus the arrow beside it) and the list created under it.
struct DropDownGroup {
    int displayFieldId;
    Rect displayField;
    Rect selectorArea;
    int listId;
    Rect list;
};

namespace dialog {
// Size of the dialog backgrounds of our skins.
inline constexpr Size artSize = images::dialogSize;
inline constexpr Rect closeButton{352, 6, 370, 24};
// OK and Cancel share the column x = 270; a click there ends the dialog with Cancel.
inline constexpr Rect okButton{166, 253, 271, 274};
inline constexpr Rect cancelButton{270, 253, 375, 274};
inline constexpr unsigned buttonCaptionFormat = textFormat::centred;
} // namespace dialog

namespace fireDialog {
inline constexpr SkinImage background = images::fireKeyBackground;
inline constexpr DropDownGroup dropDown{
    572, {82, 69, 150, 85}, {82, 69, 165, 85}, 573, {82, 87, 165, 257}};
// Digit-only edit fields; destroyed while the key list (which covers them) is open.
inline constexpr Rect timesField{83, 104, 164, 118};
inline constexpr int timesFieldId = 575;
inline constexpr Rect makeTimeField{83, 138, 164, 152};
inline constexpr int makeTimeFieldId = 576;
inline constexpr Rect breakTimeField{83, 172, 164, 186};
inline constexpr int breakTimeFieldId = 577;
// Labels run from 90 pixels left of their field to 5 pixels left of it; the left edge lies
// outside the window, which only matters for a text too long to be right-aligned inside.
inline constexpr TextArea timesLabel{{-7, 104, 78, 118}, textFormat::right};
inline constexpr TextArea makeTimeLabel{{-7, 138, 78, 152}, textFormat::right};
inline constexpr TextArea breakTimeLabel{{-7, 172, 78, 186}, textFormat::right};
// Range notes under the fields (placed from the Break Time field: 60 left of it to 350 right
// of its left edge, 26..52 and 42..68 below its top).
inline constexpr TextArea firstNote{{23, 198, 433, 224}, textFormat::left};
inline constexpr TextArea secondNote{{23, 214, 433, 240}, textFormat::left};
} // namespace fireDialog

namespace hotKeyDialog {
inline constexpr SkinImage background = images::hotKeyBackground;
inline constexpr DropDownGroup dropDown{
    565, {42, 128, 136, 144}, {42, 128, 151, 144}, 566, {42, 146, 151, 266}};
} // namespace hotKeyDialog

namespace mediaDialog {
inline constexpr SkinImage background = images::mediaKeyBackground;
inline constexpr DropDownGroup dropDown{
    552, {42, 128, 136, 144}, {42, 128, 151, 144}, 553, {42, 146, 151, 266}};
} // namespace mediaDialog

namespace windowsDialog {
inline constexpr SkinImage background = images::windowsKeyBackground;
// Nine entries: the list is 40 pixels taller than the other dialogs' lists.
inline constexpr DropDownGroup dropDown{
    532, {42, 128, 136, 144}, {42, 128, 151, 144}, 533, {42, 146, 151, 306}};
} // namespace windowsDialog

namespace singleDialog {
inline constexpr SkinImage background = images::singleKeyBackground;
// No drop-down group: a centred, sunken display field showing the last key's name.
inline constexpr Rect displayField{73, 128, 151, 144};
inline constexpr int displayFieldId = 502;
// "Please enter a key", painted white.
inline constexpr TextArea prompt{{43, 108, 181, 124}, textFormat::centred};
} // namespace singleDialog

namespace snipeDialog {
inline constexpr SkinImage background = images::snipeKeyBackground;
inline constexpr DropDownGroup dropDown{
    563, {42, 105, 136, 121}, {42, 105, 151, 121}, 564, {42, 123, 151, 263}};
} // namespace snipeDialog

namespace skinsDialog {
inline constexpr SkinImage background = images::skinsBackground;
inline constexpr DropDownGroup dropDown{
    560, {42, 128, 136, 144}, {42, 128, 151, 144}, 562, {42, 146, 151, 266}};
// Filled with the chosen text colour; a click opens the colour chooser.
inline constexpr Rect colourField{42, 94, 151, 110};
inline constexpr int colourFieldId = 561;
// "Please click to set the UI text color": 30 pixels around the colour field's left, top and
// right edges, ending at its top.
inline constexpr TextArea hint{{12, 64, 181, 94}, textFormat::centred};
} // namespace skinsDialog

// The six drop-down groups, for code that treats them alike.
inline constexpr const DropDownGroup* dropDownGroups[] = {
    &fireDialog::dropDown,    &hotKeyDialog::dropDown, &mediaDialog::dropDown,
    &windowsDialog::dropDown, &snipeDialog::dropDown,  &skinsDialog::dropDown,
};

} // namespace z417::layout
