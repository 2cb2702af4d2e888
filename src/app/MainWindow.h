// The main window: lives for the whole process, mostly hidden in the notification area,
// painted entirely from the skin onto its persistent back buffer.
#pragma once

#include "app/AppEnvironment.h"
#include "app/AppLayer.h"
#include "app/Tray.h"
#include "assign/FontTable.h"
#include "assign/Texts.h"
#include "device/DeviceLink.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/Status.h"
#include "profile/ProfileBlock.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsRecord.h"
#include "ui/AppState.h"
#include "ui/ClickTable.h"
#include "ui/FieldColours.h"
#include "ui/Layout.h"
#include "ui/PageControls.h"
#include "ui/PagePainter.h"
#include "ui/PopupList.h"
#include "ui/SurfaceKeeper.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QMenu;
class QTimer;

namespace z417 {

class BalloonServer;
struct DialogEnvironment;

class MainWindow : public QDialog, private DeviceEvents {
    Q_OBJECT
public:
    enum class StartResult { Complete, SecondInstance, NoNotifications };
    // The Basic page: not built, shown, or being torn down for a rebuild.
    enum class PageState { Unbuilt, Shown, TearingDown };
    using TrayClick = Tray::Click;

    // The device link and the state belong to main(), which declares them first.
    MainWindow(AppEnvironment& env, AppState& state, DeviceLink& device, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up of the window, step by step. SecondInstance: the process must end at
    // once with exit code 0, having touched nothing.
    StartResult start();

    // Notification area.
    void onTrayClick(TrayClick click);
    void onBalloonRequest(int type, int kind);
    // A second start of the program: the window comes forward as on a tray click.
    void onShowRequest();
    void reloadSettingsFiles();
    void exitProgram(); // the tray menu's "Exit" and the close button

    // A device notification: arrival or removal of one HID interface.
    void onDeviceNotification(bool arrival, const std::string& interfaceName);

    // Page painting and its partial redraws.
    void showPage();
    // A shown page is torn down and built again (after a skin change or a restore after
    // Cancel); an unbuilt page stays unbuilt.
    void rebuildPage();
    void tearDownPage();
    void onDefaultButton();
    void showKeySet(int keySet);

    // The click dispatcher: a left-button press at a client point. False when no control
    // claimed it (the press may then drag the window).
    bool dispatchClick(const QPoint& p);

    // ---- pointer interaction (app/MainWindowHover.cpp) ----
    const HoverLooks& hoverLooks() const { return hoverLooks_; }
    void onPointerMove(const QPoint& p); // client point of the main window
    void onHover(const QPoint& p);       // the pointer has rested there
    // A pointer move over an open pop-up list: the item under it becomes current.
    void popupListHover(QListWidget* list, const QPoint& pointInList);

    // ---- value controls (app/MainWindowValueControls.cpp) ----
    void selectReportRate(int segment);
    void toggleDpiValueList(int stage);
    void onSwatchClick(int stage);
    void toggleLightModeList();
    void toggleLightParameterList();
    void toggleLightEffectList();
    // The closing sweep of the lighting lists for a click at p.
    void closeLightListsOutside(const QPoint& p);
    // A choice notification of the DPI value list or a lighting list.
    void onValueListChoice(layout::main::ListId id);
    int selectedDpiStage() const { return selectedDpiStage_; }

    // ---- assignment flow (app/AssignmentFlow.cpp) ----
    // The closing sweep of the slot lists for a click at p.
    void closeSlotListsOutside(const QPoint& p);
    void toggleSlotList(int slot);
    // The hovered item of an assignment list decides whether the DPI switch sub-list shows.
    void updateDpiSwitchSubList(QListWidget* slotList, int item);
    void onSlotListChoice();
    void onDpiSubListChoice();

    // Pop-up lists: a choice (a press on a row or a double click) reaches
    // onListNotification with the list's identifier.
    void showPopupList(PopupList& list, layout::main::ListId id, const layout::Rect& rect,
                       const QStringList& rows);
    void onListNotification(layout::main::ListId id);

    // Buttons.
    // OK and Apply act only while the mouse is there; true when they did.
    bool onOk();
    bool onApply();
    void onCancel();
    // The skins dialog; true when a skin was chosen (it is then current and saved).
    bool onSkinButton();
    void hideWindow(); // to the notification area (minimised where there is none)

    // What the page's child fields are coloured from.
    FieldStyle fieldStyle() const { return {state_.textColour, state_.normalFont, &state_.record}; }
    // What a parameter dialog opened over this window gets.
    DialogEnvironment dialogEnvironment() const;

    // State, for the demo and the tests.
    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    DeviceLink& device() { return device_; }
    const QImage& backBuffer() const { return backBuffer_.surface(); }
    bool backBufferParked() const { return backBuffer_.parked(); }
    PageState pageState() const { return pageState_; }
    bool cancelPending() const { return cancelPending_; }
    bool trayVisible() const;
    UiServices& services() { return *env_.services; }
    QMenu* trayMenu() const; // null until the tray menu was first popped up
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
    // DeviceEvents
    void requestBalloon(int type, int kind) override;
    void hideMainWindow() override { hideWindow(); }

    void showBalloon(const QString& title, const QString& text, int timeoutMs);
    void setUpTray();
    bool startDeviceNotifications();
    void buildClickTable();
    void connectToMouse();
    void loadSkin();
    void loadTextLook();  // text colour of the skin
    void makeFontsOnce(); // the fonts of the language, at the first show
    // The first page build of a process with the first-run flag at 0 gives both key sets the
    // default labels and keeps them at once.
    void rewriteFirstRunLabels();
    // While hidden, the back buffer is kept compressed; a paint meanwhile parks it again.
    void parkWhileHidden();
    void parkAgainIfHidden();
    void applySettings();
    void showWindowFromTray();
    void bringForward();
    void askRunningInstanceToShow();
    // Without a notification area the window is an ordinary one with a taskbar entry.
    void chooseWindowKind();
    // After Cancel: the labels of "str.ini" come back and the page is rebuilt from them.
    void reloadAfterCancel();
    void startWindowDrag();

    // Painting helpers (the back buffer is the surface; present() copies it out).
    void present();
    PagePainter painter();
    void drawAssignmentRow(int row, bool over);
    void repaintControls(const std::vector<HoverLooks::Repaint>& repaints);
    void drawKeySetButtons();
    void createPageFields();
    void createDpiFields();
    void createLightFields();
    QLabel* createField(int id, const layout::Rect& rect, const QString& text, bool sunken);
    QString skinPath(const char* name) const;
    // The messages of a core operation as message boxes over the window, in their order.
    void showMessages(const Status& status);

    AppEnvironment& env_;
    DeviceLink& device_;
    SingleInstanceLock instanceLock_;

    AppState& state_;
    ClickTable clicks_;

    // Window state. The back buffer comes back on its own at every use.
    mutable SurfaceKeeper backBuffer_;
    bool fontsMade_ = false;
    bool pageAwaitsShow_ = false; // connected at a start hidden in the tray
    PageState pageState_ = PageState::Unbuilt;
    bool firstPageBuildDone_ = false;
    bool cancelPending_ = false;
    bool exitRequested_ = false;
    bool trayAvailable_ = false;

    // Pointer interaction.
    HoverLooks hoverLooks_;
    QTimer* hoverTimer_ = nullptr;
    QPoint hoverPoint_;

    // Pop-up lists and their open flags.
    std::array<PopupList, kSlotCount> slotLists_{};
    PopupList dpiSubList_;
    PopupList dpiValueList_;
    int selectedDpiStage_ = 0;
    PopupList lightModeList_;
    PopupList lightParameterList_;
    PopupList lightEffectList_;
    std::vector<PopupList*> allPopupLists();
    PopupList* valueList(layout::main::ListId id); // null for a list that is no value list
    void storeValueChoice(layout::main::ListId id, uint8_t value, const QString& text);
    void chooseLightMode(uint8_t mode, const QString& text);

    // Child fields of the page (stages 0..7, LED fields 80..82).
    std::array<QPointer<QLabel>, kDpiStageCount> dpiValueFields_{};
    std::array<QPointer<QLabel>, kDpiStageCount> dpiSwatches_{};
    std::array<QPointer<QLabel>, 3> ledFields_{};

    // Notification area and notifications.
    Tray* tray_ = nullptr;
    BalloonServer* balloonServer_ = nullptr;
};

} // namespace z417
