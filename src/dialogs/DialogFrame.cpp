#include "dialogs/DialogFrame.h"

#include "assign/FontTable.h"
#include "dialogs/DialogControls.h"
#include "dialogs/DialogLayout.h"
#include "platform/qt/UiServices.h"
#include "ui/Skin.h"
#include "ui/TextDraw.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

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
    {dl::okButton, DialogFrame::Ok},
    {dl::cancelButton, DialogFrame::Cancel},
    {dl::closeButton, DialogFrame::Cancel},
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
    connect(dropDown_, &DropDownGroup::chosen, this,
            [this](int index, const QString& text) { entryChosen(index, text); });
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
            pendingEnd_ = button.ending;
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
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        done(Ok);
        return;
    }
    QDialog::keyPressEvent(event); // Escape rejects, which ends with Cancel
}

void DialogFrame::done(int result) {
    if (inClick_) {
        // Asked from inside a click: the click's remaining steps run first.
        pendingEnd_ = result;
        return;
    }
    buttons_->stopWaiting();
    if (result == Ok)
        commitBeforeOk();
    QDialog::done(result);
}

void DialogFrame::accept() {
    done(Ok);
}

void DialogFrame::reject() {
    done(Cancel);
}

} // namespace z417
