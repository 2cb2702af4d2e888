// Where a left-button press on the main window goes: the click order as a table. OK, Apply,
// Skin and Cancel act and let the testing go on; Minimise, Close, the page button and the web
// link end it; the page's controls are tested only while the page is shown, after the open
// lists have been closed for a click outside them.
#include "app/MainWindow.h"

namespace z417 {
namespace {

namespace L = layout::main;
using Flow = ClickTable::Flow;
using Scope = ClickTable::Scope;

// The painted buttons and rows click where they are drawn.
constexpr const layout::Rect& rectOf(PageControl c) {
    return controlOf(c).rect;
}

} // namespace

void MainWindow::buildClickTable() {
    auto acts = [](auto f) {
        return [f] {
            f();
            return true;
        };
    };
    ClickTable& t = clicks_;
    t.add(rectOf(PageControl::Ok), Scope::Window, Flow::GoOn, [this] { return onOk(); });
    t.add(rectOf(PageControl::Apply), Scope::Window, Flow::GoOn, [this] { return onApply(); });
    t.add(rectOf(PageControl::Skin), Scope::Window, Flow::GoOn, acts([this] { onSkinButton(); }));
    t.add(rectOf(PageControl::Minimise), Scope::Window, Flow::Stop, acts([this] { hideWindow(); }));
    t.add(rectOf(PageControl::Close), Scope::Window, Flow::Stop, acts([this] { exitProgram(); }));
    t.add(rectOf(PageControl::PageButton), Scope::Window, Flow::Stop, acts([this] { showPage(); }));
    t.add(rectOf(PageControl::Cancel), Scope::Window, Flow::GoOn, acts([this] { onCancel(); }));
    t.add(L::webAddressLine.rect, Scope::Window, Flow::Stop, acts([this] {
              env_.services->openUrl(QString::fromStdString(state_.texts.slot(TextId::WebLink)));
          }));
    t.add(L::modeAButton, Scope::Page, Flow::Stop, acts([this] { showKeySet(0); }));
    t.add(L::modeBButton, Scope::Page, Flow::Stop, acts([this] { showKeySet(1); }));
    t.add(rectOf(PageControl::Default), Scope::Page, Flow::Stop,
          acts([this] { onDefaultButton(); }));
    for (int s = 0; s < L::shownRowCount; ++s)
        t.add(rectOf(rowControl(s)), Scope::Page, Flow::Stop,
              acts([this, s] { toggleSlotList(s); }));
    for (int k = 0; k < L::reportRateSegmentCount; ++k)
        t.add(L::reportRateSegment(k), Scope::Page, Flow::Stop,
              acts([this, k] { selectReportRate(k); }));
    for (int k = 0; k < L::dpiStageShownCount; ++k)
        t.add(L::dpiColourSwatch(k), Scope::Page, Flow::Stop,
              acts([this, k] { onSwatchClick(k); }));
    for (int k = 0; k < L::dpiStageShownCount; ++k)
        t.add(L::dpiValueClickArea(k), Scope::Page, Flow::Stop,
              acts([this, k] { toggleDpiValueList(k); }));
    t.add(L::lightModeClickArea, Scope::Page, Flow::Stop, acts([this] { toggleLightModeList(); }));
    t.add(L::lightParameterClickArea, Scope::Page, Flow::Stop,
          acts([this] { toggleLightParameterList(); }));
    t.add(L::lightEffectClickArea, Scope::Page, Flow::Stop,
          acts([this] { toggleLightEffectList(); }));
}

bool MainWindow::dispatchClick(const QPoint& p) {
    return clicks_.dispatch(
        p.x(), p.y(), [this] { return pageState_ == PageState::Shown; },
        [this, p] {
            closeSlotListsOutside(p);
            closeLightListsOutside(p);
        });
}

} // namespace z417
