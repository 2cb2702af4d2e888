// The main window: lives for the whole process, mostly hidden in the notification area,
// painted entirely from the skin onto its persistent back buffer. It is the shell: its events,
// the start-up wiring, its own buttons; the page, the hover looks, the settings session, the
// balloons and the device watcher do the rest.
#pragma once

#include "app/AppEnvironment.h"
#include "app/AppLayer.h"
#include "app/BalloonPresenter.h"
#include "app/BasicPage.h"
#include "app/DeviceWatcher.h"
#include "app/HoverTracker.h"
#include "app/PageContext.h"
#include "app/PageControlHost.h"
#include "app/PageKeyboard.h"
#include "app/SettingsSession.h"
#include "app/Tray.h"
#include "device/DeviceLink.h"
#include "platform/SingleInstance.h"
#include "ui/AppState.h"
#include "ui/ClickTable.h"
#include "ui/SurfaceKeeper.h"

#include <QDialog>
#include <QImage>

class QListWidget;
class QPainter;
class QMenu;

namespace z417 {

struct SkinChoice;

class MainWindow : public QDialog, private PageCanvas {
    Q_OBJECT
public:
    enum class StartResult { Complete, SecondInstance, NoNotifications };
    using TrayClick = Tray::Click;

    // The device link and the state belong to main(), which declares them first.
    MainWindow(AppEnvironment& env, AppState& state, DeviceLink& device, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up of the window, step by step. SecondInstance: the process must end at
    // once with exit code 0, having touched nothing.
    StartResult start();

    void onTrayClick(TrayClick click);
    // A second start of the program: the window comes forward as on a tray click. The token
    // is the one the desktop gave that start (may be empty), so the window may take focus.
    void onShowRequest(const QString& activationToken = QString());
    void exitProgram(); // the tray menu's "Exit" and the close button

    // The click dispatcher: a left-button press at a client point. False when no control
    // claimed it (the press may then drag the window).
    bool dispatchClick(const QPoint& p);

    // Buttons. OK acts only while the mouse is there; true when it did.
    bool onOk();
    void onCancel();
    // The skins dialog; true when a skin was chosen (it is then current and saved).
    bool onSkinButton();
    // What the skins dialog's OK does with its choice; false when the skin was refused.
    bool useSkin(const SkinChoice& chosen);
    // To the notification area; where there is none, minimised on X11 (the taskbar brings it
    // back) and hidden on Wayland (a second start or the menu entry brings it back).
    void hideWindow();
    void bringForward();

    // The parts, for the demo and the tests.
    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    DeviceLink& device() { return device_; }
    const QImage& backBuffer() const { return backBuffer_.surface(); }
    bool backBufferParked() const { return backBuffer_.parked(); }
    const PageContext& context() const { return context_; }
    BasicPage& page() { return page_; }
    HoverTracker& hover() { return hover_; }
    PageKeyboard& keyboard() { return keyboard_; }
    SettingsSession& session() { return session_; }
    BalloonPresenter& balloons() { return balloons_; }
    DeviceWatcher& deviceWatcher() { return watcher_; }
    bool trayVisible() const;
    QMenu* trayMenu() const;
    bool trayAvailable() const { return trayAvailable_; }
    bool exitRequested() const { return exitRequested_; }

signals:
    // Emitted after a completed exit, before the event loop ends.
    void exited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // PageCanvas
    QWidget* widget() override { return this; }
    PagePainter painter() override;
    void present() override;

    void setUpTray();
    // The notification area appeared or went away: the window follows.
    void onTrayAvailabilityChanged(bool available);
    void listenForRequests();
    bool startDeviceNotifications();
    void buildClickTable();
    // What a click at the centre of the control does.
    void press(PageControl c);
    void drawFocusMark(QPainter& p);
    void loadSkin();
    // A new skin: the back buffer starts from its background and the page is built again.
    void applySkin();
    void showWindowFromTray();
    // Without a notification area the window is an ordinary one with a taskbar entry.
    void chooseWindowKind();
    void startWindowDrag();
    // After a change of ratio: the buffer made again, with everything the window showed.
    void remakeBackBuffer();
    // While hidden, the back buffer is kept compressed; a paint meanwhile parks it again.
    void parkWhileHidden();
    void parkAgainIfHidden();
    // Pointer moves and the wheel over one of the page's pop-up lists; true when taken.
    bool filterListEvent(QWidget* w, QEvent* event);
    void filterFieldMove(QWidget* w, QEvent* event);

    AppEnvironment& env_;
    DeviceLink& device_;
    SingleInstanceLock instanceLock_;
    AppState& state_;
    PageContext context_;
    ClickTable clicks_;
    // The back buffer comes back on its own at every use.
    mutable SurfaceKeeper backBuffer_;
    bool exitRequested_ = false;
    bool trayAvailable_ = false;

    BasicPage page_;
    HoverTracker hover_;
    PageKeyboard keyboard_;
    SettingsSession session_;
    PageControlHost controls_;
    BalloonPresenter balloons_;
    DeviceWatcher watcher_;
    Tray* tray_ = nullptr;
    DesktopNotifications* notifications_ = nullptr;
};

} // namespace z417
