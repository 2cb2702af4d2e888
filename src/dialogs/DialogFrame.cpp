#include "dialogs/DialogFrame.h"

#include "assign/FontTable.h"
#include "dialogs/DialogLayout.h"
#include "platform/qt/UiServices.h"
#include "ui/ListStyle.h"
#include "ui/SkinImage.h"
#include "ui/TextDraw.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>

namespace z417 {
namespace {

constexpr int kHoverTimeMs = 10;
constexpr int kWheelLines = 3;
const QColor kControlBackground(40, 40, 40);

UiServices& desktopServices() {
    static DesktopUiServices services;
    return services;
}

} // namespace

const char* const DialogFrame::kControlIdProperty = "controlId";

DialogFrame::DialogFrame(const DialogEnvironment& environment, QWidget* owner,
                         const DialogFrameSetup& frame)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), env_(environment), setup_(frame),
      language_(languageFromCode(environment.languageCode)),
      accent_(ListStyle::skinAccent(environment.skinFolder, environment.textColour)) {
    setMouseTracking(true);
    setFixedSize(dialogLayout::templateSize.width, dialogLayout::templateSize.height);
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverTimeMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &DialogFrame::hoverNotification);
}

DialogFrame::~DialogFrame() = default;

UiServices& DialogFrame::services() const {
    return env_.services ? *env_.services : desktopServices();
}

int DialogFrame::exec() {
    initialiseDialog();
    if (QWidget* owner = parentWidget())
        move(owner->mapToGlobal(QPoint(0, 0)));
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
    if (setup_.dropDown) {
        // Created empty; each dialog gives it its text in createControls.
        displayField_ =
            createDisplayField(setup_.dropDown->displayFieldId, setup_.dropDown->displayField,
                               Qt::AlignLeft | Qt::AlignVCenter, QString());
    }
    createControls();
    paintFrame();
}

bool DialogFrame::loadBackground() {
    const QImage background = loadSkinImage(env_.skinFolder + QString::fromUtf8(setup_.background));
    if (background.isNull()) {
        services().messageBox(this, QStringLiteral("error"),
                              QString::fromUtf8(setup_.failureCaption));
        return false;
    }
    makeCanvas(background.size());
    setFixedSize(background.size());
    return true;
}

void DialogFrame::makeCanvas(const QSize& size) {
    canvas_.release();
    canvas_.ensure(size, devicePixelRatioF());
    DrawSkinImage(&canvas_.image(), env_.skinFolder + QString::fromUtf8(setup_.background), 0, 0);
}

void DialogFrame::remakeCanvas() {
    if (canvas_.isNull() || canvas_.hasRatio(devicePixelRatioF()))
        return;
    makeCanvas(canvas_.size());
    paintFrame();
    if (hoverOk_)
        drawButton(layout::dialog::okButton, true, okText_);
    if (hoverCancel_)
        drawButton(layout::dialog::cancelButton, true, cancelText_);
    if (hoverClose_)
        drawImage(layout::images::closeButton.over.name, layout::dialog::closeButton.topLeft());
}

void DialogFrame::chooseFontAndTexts() {
    int major = 0, minor = 0;
    platformVersion(major, minor);
    normalFont_ = makeFont(fontsFor(env_.languageCode, major, minor).normal);
    okText_ = dialogText::ok.in(language_);
    cancelText_ = dialogText::cancel.in(language_);
}

void DialogFrame::setUpControl(QWidget* control, int id, const layout::Rect& rect) {
    control->setProperty(kControlIdProperty, id);
    control->setObjectName(QStringLiteral("id%1").arg(id));
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
    QPalette palette = control->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, kControlBackground);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, Qt::white);
    // The sunken edge of the display fields: grey above and left, white below and right.
    palette.setColor(QPalette::Dark, QColor(160, 160, 160));
    palette.setColor(QPalette::Light, Qt::white);
    if (qobject_cast<QListWidget*>(control)) {
        // The list's border line.
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    control->setPalette(palette);
    control->setAutoFillBackground(true);
    control->setFont(normalFont_);
}

bool DialogFrame::drawImage(const char* name, const layout::Point& at) {
    return DrawSkinImage(&canvas_.image(), env_.skinFolder + QString::fromUtf8(name), at.x, at.y,
                         this, services());
}

void DialogFrame::drawCanvasText(const layout::TextArea& area, const QString& text,
                                 const QColor& colour) {
    if (canvas_.isNull())
        return;
    drawText(canvas_.image(), toQRect(area.rect), text, toTextFormat(area.format), normalFont_,
             colour);
}

void DialogFrame::showCanvas() {
    update();
}

void DialogFrame::drawButton(const layout::Rect& rect, bool over, const QString& text) {
    const auto& images = layout::images::textButton;
    drawImage(over ? images.over.name : images.normal.name, rect.topLeft());
    drawCanvasText({rect, layout::dialog::buttonCaptionFormat}, text, env_.textColour);
}

void DialogFrame::paintFrame() {
    if (canvas_.isNull())
        return;
    const auto& images = layout::images::textButton;
    drawImage(images.normal.name, layout::dialog::okButton.topLeft());
    drawImage(images.normal.name, layout::dialog::cancelButton.topLeft());
    drawCanvasText({layout::dialog::okButton, layout::dialog::buttonCaptionFormat}, okText_,
                   env_.textColour);
    drawCanvasText({layout::dialog::cancelButton, layout::dialog::buttonCaptionFormat}, cancelText_,
                   env_.textColour);
    paintOwnTexts();
    drawImage(layout::images::closeButton.normal.name, layout::dialog::closeButton.topLeft());
    showCanvas();
}

void DialogFrame::paintEvent(QPaintEvent*) {
    if (canvas_.isNull())
        return;
    // At another device pixel ratio (another screen or scale) the canvas is made again after
    // this paint, outside it, since drawing may report a missing image; meanwhile the old one
    // is shown scaled.
    if (!canvas_.hasRatio(devicePixelRatioF()))
        QMetaObject::invokeMethod(this, &DialogFrame::remakeCanvas, Qt::QueuedConnection);
    QPainter painter(this);
    // A plain copy, like the bitmap copy to the window: the canvas's pixels as they are.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    canvas_.paint(painter);
    // The thin window border, over the art's outermost pixels.
    painter.setPen(QPen(accent_, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
}

void DialogFrame::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool onButton = layout::dialog::okButton.contains(p.x(), p.y()) ||
                          layout::dialog::cancelButton.contains(p.x(), p.y()) ||
                          layout::dialog::closeButton.contains(p.x(), p.y());
    if (onButton) {
        hoverPoint_ = p;
        hoverTimer_.start();
        return;
    }
    hoverTimer_.stop();
    if (!hoverOk_ && !hoverCancel_ && !hoverClose_)
        return;
    if (hoverClose_)
        drawImage(layout::images::closeButton.normal.name, layout::dialog::closeButton.topLeft());
    if (hoverOk_)
        drawButton(layout::dialog::okButton, false, okText_);
    if (hoverCancel_)
        drawButton(layout::dialog::cancelButton, false, cancelText_);
    hoverOk_ = hoverCancel_ = hoverClose_ = false;
    showCanvas();
}

void DialogFrame::leaveEvent(QEvent* event) {
    // Leaving the window cancels a hover notification that has not come yet.
    hoverTimer_.stop();
    QDialog::leaveEvent(event);
}

void DialogFrame::hoverNotification() {
    const int x = hoverPoint_.x(), y = hoverPoint_.y();
    if (layout::dialog::closeButton.contains(x, y)) {
        drawImage(layout::images::closeButton.over.name, layout::dialog::closeButton.topLeft());
        hoverClose_ = true;
    } else if (layout::dialog::okButton.contains(x, y)) {
        drawButton(layout::dialog::okButton, true, okText_);
        hoverOk_ = true;
        if (hoverCancel_) {
            drawButton(layout::dialog::cancelButton, false, cancelText_);
            hoverCancel_ = false;
        }
    } else if (layout::dialog::cancelButton.contains(x, y)) {
        drawButton(layout::dialog::cancelButton, true, cancelText_);
        hoverCancel_ = true;
        if (hoverOk_) {
            drawButton(layout::dialog::okButton, false, okText_);
            hoverOk_ = false;
        }
    } else {
        return;
    }
    showCanvas();
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

void DialogFrame::runClickSteps(const QPoint& p) {
    // Every step that matches acts, so a point in both OK and Cancel (the column x = 270) ends
    // with Cancel.
    const int x = p.x(), y = p.y();
    const layout::DropDownGroup* group = setup_.dropDown;
    if (list_ && group && !group->list.contains(x, y) && !group->selectorArea.contains(x, y))
        destroyList();
    if (layout::dialog::okButton.contains(x, y))
        pendingEnd_ = Ok;
    if (layout::dialog::cancelButton.contains(x, y))
        pendingEnd_ = Cancel;
    if (layout::dialog::closeButton.contains(x, y))
        pendingEnd_ = Cancel;
    if (group && hasCanvas() && group->selectorArea.contains(x, y))
        toggleList();
    dialogClick(p);
}

void DialogFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click is not a click for the dialog: a quick double click
    // on the selector leaves the list open.
    event->accept();
}

void DialogFrame::wheelEvent(QWheelEvent* event) {
    if (setup_.wheelScrollsList && list_) {
        const auto action = event->angleDelta().y() > 0 ? QAbstractSlider::SliderSingleStepSub
                                                        : QAbstractSlider::SliderSingleStepAdd;
        for (int i = 0; i < kWheelLines; ++i)
            list_->verticalScrollBar()->triggerAction(action);
    }
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
    hoverTimer_.stop();
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

// ---- drop-down list --------------------------------------------------------------------------

void DialogFrame::toggleList() {
    if (list_)
        destroyList();
    else
        openList();
}

void DialogFrame::openList() {
    listOpening();
    list_ = createListWidget();
    // Rows as tall as the font, like the list boxes of the original windows.
    const int rowHeight = listRowHeight(normalFont_);
    for (const QString& entry : listEntries()) {
        auto* item = new QListWidgetItem(entry, list_);
        item->setSizeHint(QSize(0, rowHeight));
    }
    // Whole rows; a list that scrolls neither by bar nor by wheel shows every entry.
    const bool canScroll = setup_.listHasScrollBar || setup_.wheelScrollsList;
    setUpControl(list_, setup_.dropDown->listId,
                 wholeRowRect(setup_.dropDown->list, rowHeight, list_->count(), canScroll));
    ListStyle(accent_).apply(list_);
    list_->viewport()->setMouseTracking(true);
    list_->viewport()->installEventFilter(this);
    // A change of the current entry chooses it, unless the pointer's highlight made it; a
    // click on an entry chooses it even when the highlight already made it current.
    connect(list_, &QListWidget::currentRowChanged, this, &DialogFrame::onListRowChanged);
}

QListWidget* DialogFrame::createListWidget() {
    auto* list = new QListWidget(this);
    // The list never takes the keyboard focus: a list view that gets it makes its first entry
    // current, which would count as a choice.
    list->setFocusPolicy(Qt::NoFocus);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(1);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(setup_.listHasScrollBar ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone);
    return list;
}

void DialogFrame::destroyList() {
    if (!list_)
        return;
    QListWidget* list = list_;
    list_ = nullptr;
    list->viewport()->removeEventFilter(this);
    list->disconnect(this);
    // The list may be inside one of its own handlers: it goes away once they are done, and
    // from now on it can no longer be found by its identifier.
    list->setProperty(kControlIdProperty, QVariant());
    list->setObjectName(QString());
    list->hide();
    list->deleteLater();
    listClosed();
}

void DialogFrame::onListRowChanged(int row) {
    if (highlighting_ || !list_ || sender() != list_)
        return;
    chooseRow(row);
}

void DialogFrame::chooseRow(int row) {
    if (!list_ || row < 0 || row >= list_->count())
        return;
    const QString text = list_->item(row)->text();
    entryChosen(row, text);
    if (displayField_) {
        displayField_->setText(text);
        displayField_->repaint();
    }
    destroyList();
}

bool DialogFrame::eventFilter(QObject* watched, QEvent* event) {
    if (list_ && watched == list_->viewport() && filterListEvent(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool DialogFrame::filterListEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        // The move belongs to the list; the dialog's hover handling does not see it.
        highlightEntryAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        event->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return filterListButton(*static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

void DialogFrame::highlightEntryAt(const QPoint& point) {
    // The entry under the pointer becomes the current one; that chooses nothing.
    QListWidgetItem* item = list_->itemAt(point);
    if (item && list_->currentItem() != item) {
        highlighting_ = true;
        list_->setCurrentItem(item);
        highlighting_ = false;
    }
}

bool DialogFrame::filterListButton(const QMouseEvent& event) {
    // Only the left button chooses: the list never sees the others, which would make the
    // entry under the pointer current and so choose it.
    if (event.button() != Qt::LeftButton)
        return true;
    QListWidgetItem* item = list_->itemAt(event.position().toPoint());
    if (event.type() == QEvent::MouseButtonRelease || !item)
        return false;
    chooseRow(list_->row(item));
    return true; // the list is gone
}

} // namespace z417
