// The frame shared by the seven parameter dialogs: a frameless modal window the size of its
// skin background, painted entirely from a persistent canvas, with painted OK, Cancel and
// close buttons that show a hover look, texts in the UI language, dark child controls and
// (in all but the single key dialog) a drop-down list under a display field.
#pragma once

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogCanvas.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/DropDownGroup.h"
#include "ui/Layout.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;

namespace z417 {

class Skin;
class UiServices;

struct DialogEnvironment {
    const Skin* skin = nullptr; // the skin in use: images, text colour, accent (required)
    std::string languageCode;   // "CHS", "CHT", anything else English
    UiServices* services = nullptr;
    uint8_t sensorVariant = 0;   // for the snipe list
    std::string skinsRoot;       // for the skins dialog: the folder whose sub-folders are the skins
    std::string currentSkinName; // the skins dialog's defaults (the folder's name as bytes)
};

// What one dialog brings to the frame.
struct DialogFrameSetup {
    const char* background;                // image name in the skin folder, e.g. "/fire-key.png"
    const char* failureCaption;            // caption of the "error" box when it is missing
    const layout::DropDownGroup* dropDown; // nullptr: no drop-down list
    bool wheelScrollsList;                 // the pointer wheel scrolls the open list
    bool listHasScrollBar;                 // the list shows a vertical scroll bar
    int titleSlot; // text slot of the dialog's name (its function); -1: the skins dialog
};

class DialogFrame : public QDialog {
    Q_OBJECT
public:
    // How a modal run ended; exec() returns resultOf(it). Cancel is 2, not Qt's Rejected (0),
    // so the ending is scoped and never mixed up with Qt's codes by an implicit conversion.
    enum class Ending { Ok = 1, Cancel = 2 };
    static constexpr int resultOf(Ending ending) { return static_cast<int>(ending); }

    ~DialogFrame() override;

    // Opens the dialog (background, size, font, texts, controls), shows it modally with its
    // top-left at the owner's client top-left and returns Ok or Cancel.
    int exec() override;

    // The persistent drawing surface (null when the background image is missing).
    const QImage& canvas() const { return canvas_.image(); }
    bool isListOpen() const { return dropDown_ && dropDown_->isOpen(); }
    QListWidget* dropDownList() const { return dropDown_ ? dropDown_->list() : nullptr; }
    bool okHovered() const { return buttons_->okOver(); }
    bool cancelHovered() const { return buttons_->cancelOver(); }
    bool closeHovered() const { return buttons_->closeOver(); }

    // The painted parts the keyboard reaches and assistive technology sees.
    enum class Painted { DropDown, Ok, Cancel, Close };
    // One place in the keyboard order: a painted part, or one of the dialog's own fields.
    struct FocusStop {
        std::optional<Painted> painted;
        QWidget* field;
    };
    // The drop-down, the dialog's own fields, OK, Cancel, close (what is there of them).
    std::vector<FocusStop> focusStops() const;
    // The painted part the keyboard focus is on; none while a field has it.
    std::optional<Painted> paintedFocus() const;
    QString title() const;
    QString paintedName(Painted part) const;
    QString paintedValue(Painted part) const; // the drop-down's chosen entry
    layout::Rect paintedRect(Painted part) const;
    // What a click on the part does.
    void pressPainted(Painted part);

    // Property that carries a child control's numeric identifier ("controlId"); the object name
    // is "id" followed by the number.
    static const char* const kControlIdProperty;

public slots:
    // Every way out ends through done(): Ok commits what the dialog's fields show first.
    void done(int result) override;
    void accept() override;
    void reject() override;

protected:
    DialogFrame(const DialogEnvironment& environment, QWidget* owner,
                const DialogFrameSetup& frame);

    // Opening, after the frame's font and texts: the dialog's own child controls.
    virtual void createControls() {}
    // Painting, between the button texts and the close button: the dialog's own texts.
    virtual void paintOwnTexts(DialogCanvas& canvas) { Q_UNUSED(canvas); }
    // The entries the drop-down list shows when it opens, in index order.
    virtual QStringList listEntries() const { return {}; }
    // An entry was chosen; the frame then sets the display field, and closes the list.
    virtual void entryChosen(int index, const QString& text) {
        Q_UNUSED(index);
        Q_UNUSED(text);
    }
    // Just before the list is created, and after it was destroyed (with or without a choice).
    virtual void listOpening() {}
    virtual void listClosed() {}
    // A left click that the frame's own steps have seen (OK, Cancel, close, selector).
    virtual void dialogClick(const QPoint& point) { Q_UNUSED(point); }
    // The dialog is about to end with OK: take over what any field still being edited shows.
    virtual void commitBeforeOk() {}
    // The modal run has ended.
    virtual void runEnded() {}
    // Colours and font of a child control, by its identifier.
    virtual void applyControlColours(QWidget* control, int id);

    // Gives a new child control its identifier, rectangle, colours and font, and shows it.
    void setUpControl(QWidget* control, int id, const layout::Rect& rect);
    // A static text with a sunken edge that takes no clicks.
    QLabel* createDisplayField(int id, const layout::Rect& rect, Qt::Alignment alignment,
                               const QString& text);
    QLabel* displayField() const { return dropDown_ ? dropDown_->displayField() : nullptr; }

    const DialogEnvironment& environment() const { return env_; }
    Language language() const { return language_; }
    UiServices& services() const;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool listKey(const QKeyEvent& event);
    void focusStop(const FocusStop& stop);
    void initialiseDialog();
    bool loadBackground();
    void chooseFontAndTexts();
    // The display field and its list, once the font is chosen.
    void createDropDown();
    // Made again after a change of the device pixel ratio, with the frame and the over looks.
    void remakeCanvas();
    void paintFrame();
    // The steps of a left-button press, in order.
    void runClickSteps(const QPoint& point);
    void pressDropDown(const QPoint& point);
    void endOnButton(const QPoint& point);

    DialogEnvironment env_;
    DialogFrameSetup setup_;
    Language language_;
    QColor accent_;
    bool opened_ = false;
    DialogCanvas canvas_;
    QFont normalFont_;
    DialogButtons* buttons_;
    DropDownGroup* dropDown_ = nullptr;
    int pendingEnd_ = 0;
    bool inClick_ = false;
    std::optional<Painted> paintedFocus_;
    bool focusMarked_ = false; // a key moved the focus: its mark is drawn
};

// A dialog that hands back a small plain result when it ends with OK.
template <class Result> class ResultDialog : public DialogFrame {
public:
    // Runs the dialog modally: the result when it ended with OK, nothing otherwise.
    std::optional<Result> run() {
        if (exec() != resultOf(Ending::Ok))
            return std::nullopt;
        return result_;
    }
    // What the dialog holds at this moment; a field still being edited is taken only by OK.
    const Result& current() const { return result_; }

protected:
    ResultDialog(const DialogEnvironment& environment, QWidget* owner,
                 const DialogFrameSetup& frame, Result initial)
        : DialogFrame(environment, owner, frame), result_(std::move(initial)) {}

    Result result_;
};

// Opens a dialog of this kind over owner and hands back what it chose (nothing on Cancel).
template <class Dialog> auto ask(const DialogEnvironment& environment, QWidget* owner) {
    Dialog dialog(environment, owner);
    return dialog.run();
}

} // namespace z417
