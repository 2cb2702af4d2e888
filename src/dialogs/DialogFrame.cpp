#include "dialogs/DialogFrame.h"

#include "assign/FontTable.h"
#include "dialogs/DialogAccessible.h"
#include "dialogs/DialogControls.h"
#include "dialogs/DialogLayout.h"
#include "platform/qt/UiServices.h"
#include "ui/PopupList.h"
#include "ui/Skin.h"
#include "ui/TextDraw.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>

namespace z417 {
namespace {

namespace dl = layout::dialog;

UiServices& desktopServices() {
    static DesktopUiServices services;
    return services;
}

UiServices& servicesOf(const DialogEnvironment& environment) {
    return environment.services ? *environment.services : desktopServices();
}

// The painted buttons that end the dialog, in the order a press tries them: every one that
// holds the point acts, so a point in both OK and Cancel (the column x = 270) ends with Cancel.
struct EndingButton {
    layout::Rect area;
    DialogFrame::Ending ending;
};
constexpr EndingButton kEndingButtons[] = {
    {dl::okButton, DialogFrame::Ending::Ok},
    {dl::cancelButton, DialogFrame::Ending::Cancel},
    {dl::closeButton, DialogFrame::Ending::Cancel},
};

} // namespace

const char* const DialogFrame::kControlIdProperty = dialogControls::kIdProperty;

DialogFrame::DialogFrame(const DialogEnvironment& environment, QWidget* owner,
                         const DialogFrameSetup& frame)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), env_(environment), setup_(frame),
      language_(languageFromCode(environment.languageCode)), accent_(environment.skin->accent()),
      canvas_(*this, servicesOf(env_), *env_.skin, frame.background),
      buttons_(new DialogButtons(canvas_, *this, env_.skin->textColour())) {
    setMouseTracking(true);
    setFixedSize(dialogLayout::templateSize.width, dialogLayout::templateSize.height);
    setWindowTitle(title());
    installDialogAccessible();
}

DialogFrame::~DialogFrame() = default;

UiServices& DialogFrame::services() const {
    return servicesOf(env_);
}

void DialogFrame::createDropDown() {
    const layout::DropDownGroup& group = *setup_.dropDown;
    // Created empty; each dialog gives it its text in createControls.
    QLabel* field = createDisplayField(group.displayFieldId, group.displayField,
                                       Qt::AlignLeft | Qt::AlignVCenter, QString());
    DropDownGroup::Setup setup{&group, setup_.wheelScrollsList, setup_.listHasScrollBar, accent_,
                               normalFont_};
    DropDownGroup::Hooks hooks{[this] { return listEntries(); },
                               [this](QWidget* control, int id, const layout::Rect& rect) {
                                   setUpControl(control, id, rect);
                               }};
    dropDown_ = new DropDownGroup(*this, field, std::move(setup), std::move(hooks));
    connect(dropDown_, &DropDownGroup::opening, this, [this] { listOpening(); });
    connect(dropDown_, &DropDownGroup::chosen, this, [this](int index, const QString& text) {
        entryChosen(index, text);
        announceDialogValue(this, text);
    });
    connect(dropDown_, &DropDownGroup::closed, this, [this] { listClosed(); });
}

int DialogFrame::exec() {
    initialiseDialog();
    if (QWidget* owner = parentWidget()) {
        // At the owner's corner where the window system lets a program place its windows;
        // elsewhere the compositor places a window transient for the owner over it.
        move(owner->mapToGlobal(QPoint(0, 0)));
        winId();
        if (QWindow* own = windowHandle())
            own->setTransientParent(owner->window()->windowHandle());
    }
    // The keys start in the first field as ever; without one on the drop-down, unmarked until
    // a key moves the focus.
    const std::vector<FocusStop> stops = focusStops();
    const bool hasField =
        std::any_of(stops.begin(), stops.end(), [](const FocusStop& stop) { return stop.field; });
    if (dropDown_ && !canvas_.isNull() && !hasField) {
        paintedFocus_ = Painted::DropDown;
        setFocus(Qt::OtherFocusReason);
    }
    const int result = QDialog::exec();
    runEnded();
    return result;
}

void DialogFrame::initialiseDialog() {
    if (opened_)
        return;
    opened_ = true;
    if (!loadBackground())
        return;
    chooseFontAndTexts();
    if (setup_.dropDown)
        createDropDown();
    createControls();
    paintFrame();
}

bool DialogFrame::loadBackground() {
    if (!canvas_.open()) {
        services().messageBox(this, QStringLiteral("error"),
                              QString::fromUtf8(setup_.failureCaption));
        return false;
    }
    setFixedSize(canvas_.size());
    return true;
}

void DialogFrame::chooseFontAndTexts() {
    int major = 0, minor = 0;
    platformVersion(major, minor);
    normalFont_ = makeFont(fontsFor(env_.languageCode, major, minor).normal);
    canvas_.setFont(normalFont_);
    buttons_->setTexts(dialogText::ok.in(language_), dialogText::cancel.in(language_));
}

void DialogFrame::remakeCanvas() {
    if (canvas_.matchesWindowRatio())
        return;
    canvas_.remake();
    paintFrame();
    buttons_->drawOverLooks();
}

void DialogFrame::setUpControl(QWidget* control, int id, const layout::Rect& rect) {
    dialogControls::giveId(control, id);
    control->setGeometry(toQRect(rect));
    applyControlColours(control, id);
    control->show();
}

QLabel* DialogFrame::createDisplayField(int id, const layout::Rect& rect, Qt::Alignment alignment,
                                        const QString& text) {
    auto* field = new QLabel(text, this);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setLineWidth(1);
    field->setAlignment(alignment);
    field->setIndent(2);
    field->setTextFormat(Qt::PlainText);
    // A click on the field reaches the dialog, where it lies in the selector area.
    field->setAttribute(Qt::WA_TransparentForMouseEvents);
    setUpControl(field, id, rect);
    return field;
}

void DialogFrame::applyControlColours(QWidget* control, int id) {
    Q_UNUSED(id);
    dialogControls::applyDarkLook(control, normalFont_);
}

void DialogFrame::paintFrame() {
    if (canvas_.isNull())
        return;
    buttons_->drawTextButtons();
    paintOwnTexts(canvas_);
    buttons_->drawCloseButton();
    update();
}

void DialogFrame::paintEvent(QPaintEvent*) {
    if (canvas_.isNull())
        return;
    // At another device pixel ratio (another screen or scale) the canvas is made again after
    // this paint, outside it, since drawing may report a missing image; meanwhile the old one
    // is shown scaled.
    if (!canvas_.matchesWindowRatio())
        QMetaObject::invokeMethod(this, &DialogFrame::remakeCanvas, Qt::QueuedConnection);
    QPainter painter(this);
    canvas_.paint(painter, accent_);
    const std::optional<Painted> focused = paintedFocus();
    if (focused && focusMarked_) {
        const layout::Rect r = paintedRect(*focused);
        painter.setPen(QPen(accent_, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(r.left - 2, r.top - 2, r.width() + 3, r.height() + 3));
    }
}

void DialogFrame::mouseMoveEvent(QMouseEvent* event) {
    buttons_->pointerMoved(event->position().toPoint());
}

void DialogFrame::leaveEvent(QEvent* event) {
    // Leaving the window cancels a hover notification that has not come yet.
    buttons_->stopWaiting();
    QDialog::leaveEvent(event);
}

void DialogFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // The pointer took over: no painted part keeps the keyboard's mark.
    if (focusMarked_) {
        focusMarked_ = false;
        update();
    }
    // Ending the dialog only records the result until all steps have run.
    inClick_ = true;
    pendingEnd_ = 0;
    runClickSteps(event->position().toPoint());
    inClick_ = false;
    QDialog::mousePressEvent(event);
    if (pendingEnd_ != 0) {
        const int result = pendingEnd_;
        pendingEnd_ = 0;
        done(result);
    }
}

void DialogFrame::runClickSteps(const QPoint& point) {
    using Step = void (DialogFrame::*)(const QPoint&);
    static constexpr Step kSteps[] = {
        &DialogFrame::pressDropDown,
        &DialogFrame::endOnButton,
        &DialogFrame::dialogClick,
    };
    for (Step step : kSteps)
        (this->*step)(point);
}

void DialogFrame::pressDropDown(const QPoint& point) {
    if (dropDown_)
        dropDown_->press(point);
}

void DialogFrame::endOnButton(const QPoint& point) {
    for (const EndingButton& button : kEndingButtons) {
        if (button.area.contains(point.x(), point.y()))
            pendingEnd_ = resultOf(button.ending);
    }
}

void DialogFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click is not a click for the dialog: a quick double click
    // on the selector leaves the list open.
    event->accept();
}

void DialogFrame::wheelEvent(QWheelEvent* event) {
    if (dropDown_)
        dropDown_->wheel(event->angleDelta().y());
    QDialog::wheelEvent(event);
}

void DialogFrame::keyPressEvent(QKeyEvent* event) {
    if (listKey(*event))
        return;
    if (const std::optional<Painted> focused = paintedFocus()) {
        const int key = event->key();
        const bool opens = *focused == Painted::DropDown && key == Qt::Key_Down;
        if (key == Qt::Key_Space || opens) {
            pressPainted(*focused);
            return;
        }
        // The arrows move nothing else on the painted parts.
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right)
            return;
    }
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        done(resultOf(Ending::Ok));
        return;
    }
    QDialog::keyPressEvent(event); // Escape rejects, which ends with Cancel
}

// In an open list the navigation keys move the current entry and Space (or Enter, once an
// entry is current) chooses it.
bool DialogFrame::listKey(const QKeyEvent& event) {
    QListWidget* list = dropDownList();
    if (!list)
        return false;
    const int row = listRowForKey(*list, event.key());
    if (row >= 0) {
        dropDown_->highlight(row);
        return true;
    }
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (event.key() == Qt::Key_Space || (enter && list->currentRow() >= 0)) {
        dropDown_->chooseCurrent();
        return true;
    }
    return false;
}

std::vector<DialogFrame::FocusStop> DialogFrame::focusStops() const {
    std::vector<FocusStop> stops;
    if (canvas_.isNull())
        return stops;
    if (dropDown_)
        stops.push_back({Painted::DropDown, nullptr});
    for (QObject* child : children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) &&
            w->isEnabled())
            stops.push_back({std::nullopt, w});
    }
    for (Painted p : {Painted::Ok, Painted::Cancel, Painted::Close})
        stops.push_back({p, nullptr});
    return stops;
}

std::optional<DialogFrame::Painted> DialogFrame::paintedFocus() const {
    QWidget* f = focusWidget();
    if (f && f != this)
        return std::nullopt;
    return paintedFocus_;
}

bool DialogFrame::focusNextPrevChild(bool next) {
    const std::vector<FocusStop> stops = focusStops();
    if (stops.empty())
        return QDialog::focusNextPrevChild(next);
    const std::optional<Painted> painted = paintedFocus();
    QWidget* f = focusWidget();
    const auto n = static_cast<int>(stops.size());
    int at = -1;
    for (int i = 0; i < n; ++i) {
        const FocusStop& s = stops[static_cast<size_t>(i)];
        if (s.painted ? (painted && *painted == *s.painted) : (s.field == f))
            at = i;
    }
    const int to = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : -1) + n) % n;
    focusStop(stops[static_cast<size_t>(to)]);
    return true;
}

void DialogFrame::focusStop(const FocusStop& stop) {
    paintedFocus_ = stop.painted;
    focusMarked_ = true;
    if (stop.field) {
        stop.field->setFocus(Qt::TabFocusReason);
    } else {
        setFocus(Qt::TabFocusReason);
        announceDialogFocus(this);
    }
    update();
}

QString DialogFrame::title() const {
    const TextTable texts(language_);
    if (setup_.titleSlot < 0)
        return qs(controlNameText(language_, ControlNameText::Skin));
    return qs(texts.slot(setup_.titleSlot));
}

QString DialogFrame::paintedName(Painted part) const {
    switch (part) {
    case Painted::DropDown:
        return title();
    case Painted::Ok:
        return dialogText::ok.in(language_);
    case Painted::Cancel:
        return dialogText::cancel.in(language_);
    case Painted::Close:
        break;
    }
    return qs(controlNameText(language_, ControlNameText::Close));
}

QString DialogFrame::paintedValue(Painted part) const {
    if (part != Painted::DropDown || !displayField())
        return {};
    return displayField()->text();
}

layout::Rect DialogFrame::paintedRect(Painted part) const {
    switch (part) {
    case Painted::DropDown:
        return setup_.dropDown ? setup_.dropDown->selectorArea : layout::Rect{0, 0, 0, 0};
    case Painted::Ok:
        return dl::okButton;
    case Painted::Cancel:
        return dl::cancelButton;
    case Painted::Close:
        break;
    }
    return dl::closeButton;
}

void DialogFrame::pressPainted(Painted part) {
    switch (part) {
    case Painted::DropDown:
        if (dropDown_)
            dropDown_->toggle();
        return;
    case Painted::Ok:
        done(resultOf(Ending::Ok));
        return;
    case Painted::Cancel:
    case Painted::Close:
        done(resultOf(Ending::Cancel));
        return;
    }
}

void DialogFrame::done(int result) {
    if (inClick_) {
        // Asked from inside a click: the click's remaining steps run first.
        pendingEnd_ = result;
        return;
    }
    buttons_->stopWaiting();
    if (result == resultOf(Ending::Ok))
        commitBeforeOk();
    QDialog::done(result);
}

void DialogFrame::accept() {
    done(resultOf(Ending::Ok));
}

void DialogFrame::reject() {
    done(resultOf(Ending::Cancel));
}

} // namespace z417
