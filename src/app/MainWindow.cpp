#include "app/MainWindow.h"

#include "app/DeviceWatcher.h"
#include "app/Tray.h"

#include "assign/Balloons.h"
#include "platform/BalloonSocket.h"
#include "platform/qt/BalloonServer.h"
#include "profile/ApplySequence.h"
#include "ui/AppIcon.h"
#include "ui/Layout.h"
#include "ui/PngHeader.h"
#include "ui/SkinImage.h"
#include "ui/TextDraw.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

namespace z417 {
namespace {

// A second start waits this long in all for the first one's socket.
constexpr int kShowAttempts = 40;
constexpr int kShowRetryMs = 50;

// The busy cursor while a transfer blocks the thread, when the window is there to show it
// (hidden in the tray, it would only be set up and taken down).
class BusyCursor {
public:
    explicit BusyCursor(bool windowShown) : shown_(windowShown) {
        if (shown_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    const bool shown_;
};

// "config.bin", then the language, its texts and the labels from "str.ini".
Status loadSettingsAndTexts(AppState& state, const AppPaths& paths) {
    state.paths = paths;
    LoadedSettings loaded = loadSettings(paths.configBin, state.record);
    state.firstRunFlag = loaded.firstRunFlag;
    state.savedSettings = state.record;
    state.skinValues = loadSkinValues(paths.strIni);
    state.languageCode = state.skinValues.languageCode;
    state.texts = TextTable(languageFromCode(state.languageCode));
    state.labels = loadLabels(paths.strIni, state.texts.sectionName());
    return loaded.status;
}

} // namespace

MainWindow::MainWindow(AppEnvironment& env, AppState& state, DeviceLink& device, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint), env_(env), device_(device),
      state_(state) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setObjectName(QStringLiteral("MainWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    buildClickTable();
}

MainWindow::~MainWindow() {
    if (qApp)
        qApp->removeEventFilter(this);
}

MainWindow::StartResult MainWindow::start() {
    // A second process ends at once and touches nothing. A lock that cannot be taken at all
    // (no runtime folder) must not keep the person from the mouse: go on as the only one.
    std::string lockError;
    if (instanceLock_.acquire(env_.instanceName, lockError) ==
        SingleInstanceLock::Result::HeldByAnother) {
        askRunningInstanceToShow();
        return StartResult::SecondInstance;
    }

    // The application's icon where the application object set one (tests build windows
    // without it).
    setWindowIcon(QApplication::windowIcon().isNull() ? appIcon() : QApplication::windowIcon());
    setUpTray();
    chooseWindowKind();
    connectToMouse();
    if (!startDeviceNotifications()) {
        env_.services->messageBox(this, QStringLiteral("RegisterDeviceNotification failed!!!"),
                                  QString::fromUtf8(kAppTitle));
        return StartResult::NoNotifications;
    }
    showMessages(loadSettingsAndTexts(state_, env_.dataPaths ? *env_.dataPaths
                                                             : buildAppPaths(env_.modulePath)));
    device_.setNotDetectedText(state_.texts.slot(72));
    loadSkin();
    loadTextLook();

    // Enter and Escape are seen before any child gets them.
    qApp->installEventFilter(this);
    const bool shownAtStart = env_.showAtStart || !trayAvailable_;
    if (device_.connected() && shownAtStart) {
        showPage();
    } else if (device_.connected()) {
        // Hidden in the tray nothing is drawn: the page is built when it is first shown.
        rewriteFirstRunLabels();
        pageAwaitsShow_ = true;
    }
    if (shownAtStart)
        bringForward();
    return StartResult::Complete;
}

void MainWindow::askRunningInstanceToShow() {
    if (!env_.listenForBalloons)
        return;
    // The other process may have taken the lock but not be listening yet. Nobody answering
    // in that time is not worth a message: this process ends quietly either way.
    std::string error;
    if (!sendShowRequest(requestSocketPath(env_.requestSocketName), kShowAttempts, kShowRetryMs,
                         error))
        qWarning("the running instance did not answer: %s", error.c_str());
}

void MainWindow::chooseWindowKind() {
    // The tool window has no taskbar entry: the tray icon stands for it. Without a tray the
    // window manager's taskbar is the only way back to a minimised window.
    if (!trayAvailable_)
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

void MainWindow::connectToMouse() {
    Status connected;
    {
        BusyCursor busy(isVisible());
        connected = device_.connect(state_.block);
    }
    showMessages(connected);
    if (!connected)
        requestBalloon(kBalloonNotDetected, 0);
}

void MainWindow::showMessages(const Status& status) {
    for (const Message& m : status.messages)
        env_.services->messageBox(this, QString::fromStdString(m.text),
                                  QString::fromStdString(m.caption));
}

void MainWindow::loadTextLook() {
    state_.textColour = QColor(std::clamp(state_.skinValues.red, 0, 255),
                               std::clamp(state_.skinValues.green, 0, 255),
                               std::clamp(state_.skinValues.blue, 0, 255));
}

void MainWindow::makeFontsOnce() {
    if (fontsMade_)
        return;
    fontsMade_ = true;
    int major = 0, minor = 0;
    platformVersion(major, minor);
    const FontPair fonts = fontsFor(state_.languageCode, major, minor);
    state_.normalFont = makeFont(fonts.normal);
    state_.titleFont = makeFont(fonts.title);
}

void MainWindow::loadSkin() {
    state_.skinFolder =
        QString::fromStdString(z417::skinFolder(state_.paths, state_.skinValues.path));
    const QString background = skinPath(layout::images::mainBackground.name);
    backBuffer_.reset(background);
    // The size comes from the image's header; its pixels are decoded at the first paint.
    // Without a background the painters draw nothing; the window keeps the layout's size
    // so that the person can still reach it.
    const std::optional<QSize> declared = pngSize(background);
    setFixedSize(declared ? *declared
                          : QSize(layout::main::artSize.width, layout::main::artSize.height));
}

QString MainWindow::skinPath(const char* name) const {
    return state_.skinFolder + QString::fromUtf8(name);
}

// ---- notification area -------------------------------------------------------------------

bool MainWindow::trayVisible() const {
    return tray_ && tray_->visible();
}

QMenu* MainWindow::trayMenu() const {
    return tray_ ? tray_->menu() : nullptr;
}

void MainWindow::setUpTray() {
    tray_ = new Tray(windowIcon(), QString::fromUtf8(kAppTitle), this);
    trayAvailable_ = tray_->available();
    connect(tray_, &Tray::clicked, this, &MainWindow::onTrayClick);
    connect(tray_, &Tray::exitChosen, this, &MainWindow::exitProgram);
    if (env_.listenForBalloons) {
        balloonServer_ = new BalloonServer(env_.requestSocketName, this);
        connect(balloonServer_, &BalloonServer::requested, this, &MainWindow::onBalloonRequest);
        connect(balloonServer_, &BalloonServer::reloadRequested, this,
                &MainWindow::reloadSettingsFiles);
        connect(balloonServer_, &BalloonServer::showRequested, this, &MainWindow::onShowRequest);
        QString error;
        if (!balloonServer_->listen(error))
            qWarning("balloon requests from other programs are not available: %s",
                     qPrintable(error));
    }
}

// z417ctl changed "config.bin" and "str.ini": take them over as the saved state, so that the
// next Apply does not write the older copy over them. A file that cannot be read leaves
// what is shown as it is.
void MainWindow::reloadSettingsFiles() {
    if (loadSettings(state_.paths.configBin, state_.record).loaded)
        state_.savedSettings = state_.record;
    state_.labels = loadLabels(state_.paths.strIni, state_.texts.sectionName());
    rebuildPage();
}

void MainWindow::onTrayClick(TrayClick click) {
    if (click == TrayClick::Right) {
        activateWindow();
        tray_->popUpMenu(QString::fromStdString(state_.texts.slot(71)), this);
        return;
    }
    if (!device_.connected()) {
        requestBalloon(kBalloonNotDetected, 0);
        return;
    }
    showWindowFromTray();
}

void MainWindow::onShowRequest() {
    if (trayAvailable_ || device_.connected()) {
        onTrayClick(TrayClick::Left);
        return;
    }
    // No tray and no mouse: the window was shown at start without its page; keeping it
    // minimised would leave the second start without any visible answer.
    requestBalloon(kBalloonNotDetected, 0);
    bringForward();
}

void MainWindow::showWindowFromTray() {
    if (cancelPending_) {
        reloadAfterCancel();
    } else if (pageState_ == PageState::Unbuilt && (!firstPageBuildDone_ || pageAwaitsShow_)) {
        showPage();
    }
    bringForward();
}

void MainWindow::bringForward() {
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::reloadAfterCancel() {
    if (!cancelPending_)
        return;
    cancelPending_ = false;
    if (pageState_ == PageState::Shown) {
        state_.labels = loadLabels(state_.paths.strIni, state_.texts.sectionName());
        rebuildPage();
    }
}

void MainWindow::rebuildPage() {
    if (pageState_ != PageState::Shown)
        return;
    pageState_ = PageState::TearingDown;
    tearDownPage();
    pageState_ = PageState::Unbuilt;
    showPage();
}

void MainWindow::requestBalloon(int type, int kind) {
    // Like a posted message: handled once the current work is done, with the texts of the
    // language by then.
    QMetaObject::invokeMethod(
        this, [this, type, kind] { onBalloonRequest(type, kind); }, Qt::QueuedConnection);
}

void MainWindow::onBalloonRequest(int type, int kind) {
    const BalloonText b =
        balloonFor(type, kind, state_.texts, state_.record, device_.sensorVariant());
    if (b.shown)
        showBalloon(QString::fromStdString(b.title), QString::fromStdString(b.text), b.timeoutMs);
}

void MainWindow::showBalloon(const QString& title, const QString& text, int timeoutMs) {
    if (env_.balloonSink) {
        env_.balloonSink(title, text, timeoutMs);
        return;
    }
    if (tray_)
        tray_->showMessage(title, text, timeoutMs);
}

void MainWindow::exitProgram() {
    if (exitRequested_)
        return;
    exitRequested_ = true;
    device_.closeHandles();
    if (tray_)
        tray_->hide();
    hide();
    emit exited();
    QCoreApplication::exit(0);
}

// ---- device notifications ---------------------------------------------------------------

bool MainWindow::startDeviceNotifications() {
    if (!env_.watchUdev)
        return true;
    auto* watcher = new DeviceWatcher(this);
    QString error;
    if (!watcher->start(error)) {
        qWarning("udev monitor: %s", qPrintable(error));
        return false;
    }
    connect(watcher, &DeviceWatcher::notified, this, &MainWindow::onDeviceNotification);
    return true;
}

void MainWindow::onDeviceNotification(bool arrival, const std::string& interfaceName) {
    Status status;
    {
        BusyCursor busy(isVisible());
        status = device_.handleDeviceChange(arrival ? DeviceChange::Arrival : DeviceChange::Removal,
                                            interfaceName, state_.block, *this);
    }
    showMessages(status);
}

// ---- buttons ------------------------------------------------------------------------------

void MainWindow::applySettings() {
    const ApplyTargets targets{state_.paths.configBin, state_.paths.strIni,
                               state_.texts.sectionName()};
    Status applied;
    {
        BusyCursor busy(isVisible());
        applied = runApplySequence(state_.record, state_.block, device_, state_.labels, targets);
    }
    state_.savedSettings = state_.record;
    showMessages(applied);
}

bool MainWindow::onOk() {
    if (!device_.connected())
        return false;
    applySettings();
    hideWindow();
    return true;
}

bool MainWindow::onApply() {
    if (!device_.connected())
        return false;
    applySettings();
    return true;
}

void MainWindow::onCancel() {
    state_.record = state_.savedSettings;
    cancelPending_ = true;
    hideWindow();
}

void MainWindow::hideWindow() {
    // Without a notification area a hidden window could never be reached again.
    if (trayAvailable_)
        hide();
    else
        showMinimized();
}

void MainWindow::startWindowDrag() {
    if (!isVisible())
        return;
    if (QWindow* w = windowHandle())
        w->startSystemMove();
}

// ---- events -------------------------------------------------------------------------------

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage& buffer = backBuffer_.surface();
    if (buffer.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    p.drawImage(0, 0, buffer);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Only a press no control claimed moves the window, and only while the button is
        // still down: a control may have run a modal dialog or a transfer meanwhile.
        if (!dispatchClick(event->position().toPoint()) &&
            (QGuiApplication::mouseButtons() & Qt::LeftButton))
            startWindowDrag();
        return;
    }
    QDialog::mousePressEvent(event);
}

// Without a notification area Cancel minimises, and the window manager brings the window back:
// that way back reloads the labels like the tray's.
void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isVisible() && !isMinimized())
        reloadAfterCancel();
    QDialog::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    makeFontsOnce();
    // The back buffer comes back now, so that the first paint only copies it.
    backBuffer_.surface();
    if (!isMinimized())
        reloadAfterCancel();
}

void MainWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Hidden, not minimised: nothing is drawn until the next show (and at exit, never).
    if (!isVisible() && !exitRequested_)
        parkWhileHidden();
}

void MainWindow::parkWhileHidden() {
    backBuffer_.park();
    // The window system's copy of the picture shrinks too; the next show paints it in full.
    if (QBackingStore* store = backingStore())
        store->resize(QSize(1, 1));
}

void MainWindow::parkAgainIfHidden() {
    if (isVisible())
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isVisible())
                parkWhileHidden();
        },
        Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window only hides it; the program keeps running.
    event->ignore();
    if (!exitRequested_)
        hideWindow();
}

namespace {

// Escape, Return and Enter hide the main window.
bool isHideKey(const QKeyEvent& key) {
    return key.key() == Qt::Key_Escape || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (isHideKey(*event)) {
        hideWindow();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        QWidget* w = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (isHideKey(*key) && w->window() == this) {
            hideWindow();
            return true;
        }
    }
    // Pointer moves and the wheel over one of this window's pop-up lists (the list itself or
    // its viewport): a move makes the item under the pointer current; the wheel scrolls only
    // the DPI value list, wherever the pointer is in the window.
    if ((event->type() == QEvent::MouseMove || event->type() == QEvent::Wheel) &&
        watched->isWidgetType()) {
        QWidget* w = static_cast<QWidget*>(watched);
        auto* list = qobject_cast<QListWidget*>(w);
        if (!list && w->parentWidget())
            list = qobject_cast<QListWidget*>(w->parentWidget());
        if (list && list->parentWidget() == this && (w == list || w == list->viewport())) {
            if (event->type() == QEvent::MouseMove) {
                const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
                popupListHover(list, w == list ? at : w->mapTo(list, at));
            } else {
                wheelEvent(static_cast<QWheelEvent*>(event));
                return true;
            }
        }
        // The page's text fields take no pointer moves: the window's own handler sees them,
        // so that moving onto a field restores the normal looks like any spot off the controls.
        if (event->type() == QEvent::MouseMove && qobject_cast<QLabel*>(w) &&
            w->parentWidget() == this && !w->hasMouseTracking()) {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (move->buttons() == Qt::NoButton)
                onPointerMove(w->mapTo(this, move->position().toPoint()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace z417
