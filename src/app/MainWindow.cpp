#include "app/MainWindow.h"

#include "app/Application.h"

#include "assign/Balloons.h"
#include "assign/FontTable.h"
#include "platform/AppTitle.h"
#include "platform/BalloonSocket.h"
#include "platform/qt/BalloonServer.h"
#include "profile/SettingsPair.h"
#include "ui/AppIcon.h"
#include "ui/Layout.h"
#include "ui/PageAccessible.h"
#include "ui/TextDraw.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
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
// Notification servers show the icon at about 48 pixels and scale it themselves.
constexpr int kNotificationIconSize = 64;

// "config.bin", then the language, its texts and the labels from "str.ini", both read under
// the settings folder's lock, so never half of a change another program is making.
Status loadSettingsAndTexts(AppState& state, const AppPaths& paths) {
    state.paths = paths;
    const Result<SettingsPair> files =
        SettingsPair::open(paths.configBin, paths.strIni, LockMode::Shared);
    LoadedSettings loaded = loadSettings(paths.configBin, state.record);
    state.firstRunFlag = loaded.firstRunFlag;
    state.savedSettings = state.record;
    state.fileRecord = state.record;
    state.skinValues = files ? files->skinValues() : loadSkinValues(paths.strIni);
    state.texts = TextTable(languageFromCode(state.languageCode()));
    const std::string section = state.texts.sectionName();
    state.labels = files ? files->labels(section) : loadLabels(paths.strIni, section);
    state.fileLabels = state.labels;
    return loaded.status;
}

void askRunningInstanceToShow(const AppEnvironment& env) {
    if (!env.listenForBalloons)
        return;
    // The other process may have taken the lock but not be listening yet. Nobody answering
    // in that time is not worth a message: this process ends quietly either way.
    const Status shown = sendShowRequest(requestSocketPath(env.requestSocketName), kShowAttempts,
                                         kShowRetryMs, launchActivationToken());
    if (!shown && !shown.messages.empty())
        qWarning("the running instance did not answer: %s: %s",
                 shown.messages.front().caption.c_str(), shown.messages.front().text.c_str());
}

// The text colour of the skin values; the fonts are made at the first show.
QColor textColourOf(const SkinValues& values) {
    return QColor(std::clamp(values.red, 0, 255), std::clamp(values.green, 0, 255),
                  std::clamp(values.blue, 0, 255));
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

MainWindow::MainWindow(AppEnvironment& env, AppState& state, DeviceLink& device, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint), env_(env), device_(device),
      state_(state), context_{*this, state, device, *env.services}, backBuffer_(state.skin),
      page_(context_), hover_(*this, this, [this] { return page_.shown(); }),
      keyboard_(page_, {[this](PageControl c) { press(c); }, [this] { hideWindow(); },
                        [this] {
                            update();
                            announceFocus(this);
                        }}),
      session_(context_, page_),
      controls_(page_, state, *env.services,
                {[this] { return onOk(); }, [this] { return session_.apply(); },
                 [this] { onCancel(); }, [this] { onSkinButton(); }, [this] { hideWindow(); },
                 [this] { exitProgram(); }}),
      balloons_(state, device, env.balloonSink), watcher_(device, state.block, balloons_) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setObjectName(QStringLiteral("MainWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    buildClickTable();
    connect(&state_.skin, &Skin::skinChanged, this, &MainWindow::applySkin);
    page_.onRepainted([this] { hover_.repaintLooks(); });
    watcher_.setWindow(this);
    registerPageAccessible(this, {&controls_, &state_.texts, [this] { return page_.shown(); },
                                  [this] { return keyboard_.focused(); },
                                  [this](PageControl c) { press(c); }});
    connect(&watcher_, &DeviceWatcher::reported, this,
            [this](const Status& status) { context_.showMessages(status); });
    connect(&watcher_, &DeviceWatcher::hideRequested, this, &MainWindow::hideWindow);
}

MainWindow::~MainWindow() {
    unregisterPageAccessible(this);
    if (qApp)
        qApp->removeEventFilter(this);
}

MainWindow::StartResult MainWindow::start() {
    // A second process ends at once and touches nothing. A lock that cannot be taken at all
    // (no runtime folder) must not keep the person from the mouse: go on as the only one.
    if (const Result<InstanceLock> lock = instanceLock_.acquire(env_.instanceName);
        lock && *lock == InstanceLock::HeldByAnother) {
        askRunningInstanceToShow(env_);
        return StartResult::SecondInstance;
    }

    // The icon is the window's, not the application's: the tray's embedded window would
    // otherwise draw it in every size at start.
    setWindowIcon(appIcon());
    setUpTray();
    chooseWindowKind();
    watcher_.connectAtStart();
    if (!startDeviceNotifications()) {
        // The wording is the program's own, kept for people who know its messages.
        env_.services->messageBox(this, QStringLiteral("RegisterDeviceNotification failed!!!"),
                                  QString::fromUtf8(kAppTitle));
        return StartResult::NoNotifications;
    }
    context_.showMessages(loadSettingsAndTexts(
        state_, env_.dataPaths ? *env_.dataPaths : buildAppPaths(env_.modulePath)));
    device_.setNotDetectedText(state_.texts.slot(TextId::MouseNotDetected));
    tray_->setExitText(QString::fromStdString(state_.texts.slot(TextId::Exit)));
    loadSkin();

    // Enter and Escape are seen before any child gets them.
    qApp->installEventFilter(this);
    const bool shownAtStart = env_.showAtStart || !trayAvailable_;
    if (device_.connected()) {
        // Hidden in the tray nothing is drawn: the page is built when it is first shown.
        if (shownAtStart)
            page_.show();
        else
            page_.awaitShow();
    }
    if (shownAtStart)
        bringForward();
    return StartResult::Complete;
}

void MainWindow::chooseWindowKind() {
    // The tool window has no taskbar entry: the tray icon stands for it. Without a tray the
    // window manager's taskbar is the only way back to a minimised window.
    const Qt::WindowFlags kind = trayAvailable_ ? Qt::Tool : Qt::Window;
    if ((windowFlags() & Qt::WindowType_Mask) != kind)
        setWindowFlags(kind | Qt::FramelessWindowHint);
}

void MainWindow::loadSkin() {
    context_.showMessages(state_.skin.load(z417::skinFolder(state_.paths, state_.skinValues.path),
                                           textColourOf(state_.skinValues), devicePixelRatioF()));
}

void MainWindow::applySkin() {
    backBuffer_.reset(devicePixelRatioF());
    // The size comes from the image's header; its pixels are decoded at the first paint.
    // Without a background the painters draw nothing; the window keeps the layout's size
    // so that the person can still reach it.
    const std::optional<QSize> declared =
        state_.skin.declaredSize(layout::images::mainBackground.name);
    setFixedSize(declared ? *declared
                          : QSize(layout::main::artSize.width, layout::main::artSize.height));
    page_.rebuild();
    update();
}

void MainWindow::remakeBackBuffer() {
    backBuffer_.reset(devicePixelRatioF());
    if (page_.shown())
        page_.repaint();
    else
        hover_.repaintLooks();
}

PagePainter MainWindow::painter() {
    parkAgainIfHidden();
    return PagePainter(backBuffer_.surface(), state_);
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
    connect(tray_, &Tray::availabilityChanged, this, &MainWindow::onTrayAvailabilityChanged);
    // The demo prints its balloons and sends them on only when asked to.
    if (!env_.balloonSink || env_.balloonsToDesktopToo) {
        notifications_ = new DesktopNotifications(
            {QString::fromUtf8(kAppTitle), QLatin1String(kDesktopId), QLatin1String(kDesktopId),
             drawAppIcon(kNotificationIconSize)},
            this);
        balloons_.setTray(tray_);
        balloons_.setNotifications(notifications_);
    }
    if (env_.listenForBalloons)
        listenForRequests();
}

void MainWindow::onTrayAvailabilityChanged(bool available) {
    if (available == trayAvailable_ || exitRequested_)
        return;
    trayAvailable_ = available;
    const bool wasShown = isVisible() && !isMinimized();
    chooseWindowKind(); // hides the window when its kind changes
    // Without a notification area the window must stay reachable: it is shown as at a start
    // without one. With one, a shown window stays shown and a minimised one goes to the tray.
    if (wasShown || !available)
        bringForward();
}

// Balloon, reload and show requests of other programs (z417ctl, a second start).
void MainWindow::listenForRequests() {
    auto* server = new BalloonServer(env_.requestSocketName, this);
    connect(server, &BalloonServer::requested, &balloons_, &BalloonPresenter::show);
    connect(server, &BalloonServer::reloadRequested, this,
            [this] { session_.reloadSettingsFiles(); });
    connect(server, &BalloonServer::showRequested, this, [this] { onShowRequest(); });
    connect(server, &BalloonServer::activateRequested, this, &MainWindow::onShowRequest);
    if (const Status listening = server->listen(); !listening && !listening.messages.empty())
        qWarning("balloon requests from other programs are not available: %s: %s",
                 listening.messages.front().caption.c_str(),
                 listening.messages.front().text.c_str());
}

void MainWindow::onTrayClick(TrayClick click) {
    if (click == TrayClick::Right) {
        // A StatusNotifierItem host draws the exported menu itself.
        if (!tray_->hostDrawsMenu()) {
            activateWindow();
            tray_->popUpMenu();
        }
        return;
    }
    if (!device_.connected()) {
        balloons_.request(kBalloonNotDetected, 0);
        return;
    }
    showWindowFromTray();
}

void MainWindow::onShowRequest(const QString& activationToken) {
    // Read by the Wayland platform at the next activation; a compositor lets a window take the
    // focus only with the token of a launch the person made.
    if (!activationToken.isEmpty() && onWayland())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    if (trayAvailable_ || device_.connected()) {
        onTrayClick(TrayClick::Left);
        return;
    }
    // No tray and no mouse: the window was shown at start without its page; keeping it
    // minimised would leave the second start without any visible answer.
    balloons_.request(kBalloonNotDetected, 0);
    bringForward();
}

void MainWindow::showWindowFromTray() {
    if (session_.cancelPending())
        session_.reloadAfterCancel();
    else
        page_.showIfNeverBuilt();
    bringForward();
}

void MainWindow::bringForward() {
    showNormal();
    // Only X11 lets a program restack its window; elsewhere activation brings it forward.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        raise();
    activateWindow();
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
    QString error;
    if (!watcher_.startMonitor(error)) {
        qWarning("udev monitor: %s", qPrintable(error));
        return false;
    }
    return true;
}

// ---- buttons ------------------------------------------------------------------------------

bool MainWindow::onOk() {
    if (!session_.apply())
        return false;
    hideWindow();
    return true;
}

void MainWindow::onCancel() {
    session_.cancel();
    hideWindow();
}

void MainWindow::hideWindow() {
    // Without a notification area a hidden window is reached again through the taskbar on
    // X11. Wayland compositors may ignore a minimise (sway) or offer no way back from it
    // (weston), so the window is hidden there and a second start shows it.
    if (trayAvailable_ || onWayland())
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
    // The window moved to a screen of another density, or its scale changed.
    if (!backBuffer_.hasRatio(devicePixelRatioF()))
        remakeBackBuffer();
    QPainter p(this);
    if (!backBuffer_.paint(p))
        p.fillRect(rect(), Qt::black);
    drawFocusMark(p);
}

// The keyboard focus, on the window over the picture (never into the back buffer), in the
// skin's accent; nothing until a key moved the focus.
void MainWindow::drawFocusMark(QPainter& p) {
    const std::optional<PageControl> focused = keyboard_.focused();
    if (!focused)
        return;
    const layout::Rect& r = controlOf(*focused).rect;
    p.setPen(QPen(state_.skin.accent(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left - 2, r.top - 2, r.width() + 3, r.height() + 3));
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    keyboard_.hideFocus();
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
        session_.reloadAfterCancel();
    QDialog::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    makeFontsOnce(state_);
    // The back buffer comes back now, so that the first paint only copies it.
    backBuffer_.surface();
    if (!isMinimized())
        session_.reloadAfterCancel();
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

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!keyboard_.keyPress(*event))
        QDialog::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return QDialog::eventFilter(watched, event);
    QWidget* w = static_cast<QWidget*>(watched);
    // Keys are the page's before any child or the dialog's own handling sees them.
    if (event->type() == QEvent::KeyPress && w->window() == this &&
        keyboard_.keyPress(*static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Wheel) {
        if (filterListEvent(w, event))
            return true;
        filterFieldMove(w, event);
    }
    return QDialog::eventFilter(watched, event);
}

// Pointer moves and the wheel over one of this window's pop-up lists (the list itself or its
// viewport): a move makes the item under the pointer current; the wheel scrolls only the DPI
// value list, wherever the pointer is in the window.
bool MainWindow::filterListEvent(QWidget* w, QEvent* event) {
    auto* list = qobject_cast<QListWidget*>(w);
    if (!list && w->parentWidget())
        list = qobject_cast<QListWidget*>(w->parentWidget());
    if (!list || list->parentWidget() != this || (w != list && w != list->viewport()))
        return false;
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    page_.hoverList(list, w == list ? at : w->mapTo(list, at));
    return false;
}

// The page's text fields take no pointer moves: the window's own handler sees them, so that
// moving onto a field restores the normal looks like any spot off the controls.
void MainWindow::filterFieldMove(QWidget* w, QEvent* event) {
    if (event->type() != QEvent::MouseMove || !qobject_cast<QLabel*>(w) ||
        w->parentWidget() != this || w->hasMouseTracking())
        return;
    const auto* move = static_cast<QMouseEvent*>(event);
    if (move->buttons() == Qt::NoButton)
        hover_.onPointerMove(w->mapTo(this, move->position().toPoint()));
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    hover_.onPointerMove(event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    page_.values().scrollDpiValueList(event->angleDelta().y());
    QDialog::wheelEvent(event);
}

void MainWindow::present() {
    update();
    announceChanges(this);
}

} // namespace z417
