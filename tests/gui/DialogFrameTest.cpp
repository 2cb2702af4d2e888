// The frame shared by the seven dialogs: how they end, their size and place, the failure
// messages, the hover looks of the painted buttons and the drop-down list.
#include "DialogTestSupport.h"
#include "ListTestSupport.h"

#include "demo/PointerEvents.h"
#include "dialogs/ChoiceDialog.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "dialogs/SkinsDialog.h"
#include "profile/SettingsFiles.h"
#include "ui/SkinImage.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QWheelEvent>

#include <memory>
#include <type_traits>

namespace z417::test {
namespace {

namespace dl = layout::dialog;

struct Kind {
    const char* name;
    std::function<std::unique_ptr<DialogFrame>(const DialogEnvironment&, QWidget*)> make;
    const char* background;
    const char* failureCaption;
    const layout::DropDownGroup* dropDown;
};

template <class D> std::unique_ptr<DialogFrame> make(const DialogEnvironment& env, QWidget* owner) {
    return std::make_unique<D>(env, owner);
}
template <ChoiceKind K>
std::unique_ptr<DialogFrame> makeChoice(const DialogEnvironment& env, QWidget* owner) {
    return std::make_unique<ChoiceDialog>(env, owner, K);
}

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"fire", make<FireKeyDialog>, "/fire-key.png",
         "FireKey Dialog Load background image failed!!!", &layout::fireDialog::dropDown},
        {"hotkey", makeChoice<ChoiceKind::HotKey>, "/hot-key.png",
         "HotKey Dialog Load background image failed!!!", &layout::hotKeyDialog::dropDown},
        {"media", makeChoice<ChoiceKind::Media>, "/media-key.png",
         "Media Dialog Load background image failed!!!", &layout::mediaDialog::dropDown},
        {"windows", makeChoice<ChoiceKind::Windows>, "/windows-key.png",
         "Windows Dialog Load background image failed!!!", &layout::windowsDialog::dropDown},
        {"single", make<SingleKeyDialog>, "/single-key.png",
         "Single Key Dialog Load background image failed!!!", nullptr},
        {"snipe", makeChoice<ChoiceKind::Snipe>, "/snipe-key.png",
         "Snipe Dialog Load background image failed!!!", &layout::snipeDialog::dropDown},
        {"skins", make<SkinsDialog>, "/skins.png", "Skins Dialog Load background image failed!!!",
         &layout::skinsDialog::dropDown},
    };
    return all;
}

void pressKey(QWidget* dialog, Qt::Key key) {
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, key);
}

std::vector<QWidget*> controls(QWidget* dialog) {
    std::vector<QWidget*> found;
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (child->property(DialogFrame::kControlIdProperty).isValid())
            found.push_back(child);
    }
    return found;
}

class DialogFrameTest : public ::testing::Test {
protected:
    TempSkins skins;
    RecordingServices services;
    DialogEnvironment env = environmentFor(skins, services);
};

// ---- ending the modal run --------------------------------------------------------------------

// An ending is never taken for one of Qt's result codes (Rejected is 0, Cancel 2) by an
// implicit conversion.
static_assert(!std::is_convertible_v<DialogFrame::Ending, int>);
static_assert(DialogFrame::resultOf(DialogFrame::Ending::Ok) == 1 &&
              DialogFrame::resultOf(DialogFrame::Ending::Cancel) == 2);

struct Ending {
    const char* name;
    std::function<void(QWidget*)> act;
    int result;             // what run() returns
    int resultSingleDialog; // the single key dialog swallows Enter and Escape
};

TEST_F(DialogFrameTest, EveryDialogEndsThroughItsButtonsEnterAndEscape) {
    const std::vector<Ending> endings = {
        {"OK button", [](QWidget* d) { clickIn(d, dl::okButton); }, 1, 1},
        {"Cancel button", [](QWidget* d) { clickIn(d, dl::cancelButton); }, 2, 2},
        {"close button", [](QWidget* d) { clickIn(d, dl::closeButton); }, 2, 2},
        // The column x = 270 lies in OK and in Cancel; Cancel is tested last and wins.
        {"x = 270 in the button row", [](QWidget* d) { clickAt(d, QPoint(270, 263)); }, 2, 2},
        {"left edge of OK", [](QWidget* d) { clickAt(d, QPoint(166, 253)); }, 1, 1},
        {"just outside OK", [](QWidget* d) { clickAt(d, QPoint(165, 263)); }, kLeftOpen, kLeftOpen},
        {"right edge of Cancel is outside", [](QWidget* d) { clickAt(d, QPoint(375, 263)); },
         kLeftOpen, kLeftOpen},
        {"Enter", [](QWidget* d) { pressKey(d, Qt::Key_Return); }, 1, kLeftOpen},
        {"keypad Enter", [](QWidget* d) { pressKey(d, Qt::Key_Enter); }, 1, kLeftOpen},
        {"Escape", [](QWidget* d) { pressKey(d, Qt::Key_Escape); }, 2, kLeftOpen},
        {"window closed", [](QWidget* d) { d->close(); }, 2, 2},
        {"right button on OK",
         [](QWidget* d) {
             QTest::mouseClick(d, Qt::RightButton, Qt::NoModifier, centreOf(dl::okButton));
         },
         kLeftOpen, kLeftOpen},
    };
    for (const Kind& kind : kinds()) {
        for (const Ending& ending : endings) {
            SCOPED_TRACE(std::string(kind.name) + ": " + ending.name);
            auto dialog = kind.make(env, nullptr);
            const int expected =
                std::string(kind.name) == "single" ? ending.resultSingleDialog : ending.result;
            EXPECT_EQ(runScript(*dialog, [&] { ending.act(dialog.get()); }), expected);
        }
    }
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(DialogFrameTest, TakesTheBackgroundSizeAndSitsAtTheOwnersClientCorner) {
    QWidget owner;
    owner.setGeometry(130, 95, 900, 660);
    owner.show();
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        const QSize art = skins.image(kind.background).size();
        auto dialog = kind.make(env, &owner);
        QPoint at;
        QSize size;
        bool frameless = false;
        runScript(*dialog, [&] {
            at = dialog->pos();
            size = dialog->size();
            frameless = dialog->windowFlags().testFlag(Qt::FramelessWindowHint);
        });
        EXPECT_EQ(at, owner.mapToGlobal(QPoint(0, 0)));
        EXPECT_EQ(size, art);
        EXPECT_TRUE(frameless);
        EXPECT_EQ(dialog->canvas().size(), art);
        EXPECT_EQ(dialog->canvas().format(), QImage::Format_ARGB32_Premultiplied);
    }
}

// ---- failures --------------------------------------------------------------------------------

TEST_F(DialogFrameTest, MissingBackgroundShowsErrorAndLeavesABlankDialogThatStillEnds) {
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        TempSkins own;
        RecordingServices boxes;
        own.remove(kind.background);
        const DialogEnvironment e = environmentFor(own, boxes);
        const bool single = std::string(kind.name) == "single";

        auto dialog = kind.make(e, nullptr);
        std::vector<QWidget*> children;
        QSize size;
        int result = runScript(*dialog, [&] {
            children = controls(dialog.get());
            size = dialog->size();
            // The selector area opens nothing on a dialog without controls.
            if (kind.dropDown)
                clickIn(dialog.get(), kind.dropDown->selectorArea);
            pressKey(dialog.get(), Qt::Key_Return);
        });
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "error");
        EXPECT_EQ(boxes.boxes[0].caption, kind.failureCaption);
        EXPECT_EQ(boxes.boxes[0].owner, dialog.get());
        EXPECT_TRUE(children.empty());
        EXPECT_EQ(size, QSize(400, 300));
        EXPECT_TRUE(dialog->canvas().isNull());
        EXPECT_FALSE(dialog->isListOpen());
        EXPECT_EQ(result, single ? kLeftOpen : 1);

        auto second = kind.make(e, nullptr);
        EXPECT_EQ(runScript(*second, [&] { clickIn(second.get(), dl::closeButton); }), 2);
        auto third = kind.make(e, nullptr);
        EXPECT_EQ(runScript(*third, [&] { clickIn(third.get(), dl::okButton); }), 1);
        auto fourth = kind.make(e, nullptr);
        EXPECT_EQ(runScript(*fourth, [&] { pressKey(fourth.get(), Qt::Key_Escape); }),
                  single ? kLeftOpen : 2);
        // Only the "error" boxes: nothing is drawn, so no image is missed.
        EXPECT_EQ(boxes.countBoxes("LoadPng---Load image failed."), 0);
    }
}

TEST_F(DialogFrameTest, MissingButtonImagesAreReportedAtEveryAttempt) {
    const QString loadFailed = QStringLiteral("LoadPng---Load image failed.");
    {
        // The normal look is drawn for OK and for Cancel when the dialog opens.
        TempSkins own;
        RecordingServices boxes;
        own.remove("/button-normal.png");
        ChoiceDialog dialog(environmentFor(own, boxes), nullptr, ChoiceKind::HotKey);
        EXPECT_EQ(runScript(dialog, [&] { clickIn(&dialog, dl::okButton); }), 1);
        EXPECT_EQ(boxes.countBoxes(loadFailed), 2);
        for (const auto& box : boxes.boxes) {
            EXPECT_EQ(box.caption, QString::fromUtf8(kAppTitle));
            EXPECT_EQ(box.owner, &dialog);
        }
    }
    {
        TempSkins own;
        RecordingServices boxes;
        own.remove("/button-close-normal.png");
        ChoiceDialog dialog(environmentFor(own, boxes), nullptr, ChoiceKind::Media);
        EXPECT_EQ(runScript(dialog, [&] { clickIn(&dialog, dl::closeButton); }), 2);
        EXPECT_EQ(boxes.countBoxes(loadFailed), 1);
    }
    {
        // Every hover over OK or Cancel tries the over look again.
        TempSkins own;
        RecordingServices boxes;
        own.remove("/button-over.png");
        ChoiceDialog dialog(environmentFor(own, boxes), nullptr, ChoiceKind::Snipe);
        std::vector<int> counts;
        const int result = runScript(dialog, [&] {
            pointAt(&dialog, centreOf(dl::okButton));
            waitUntil([&] { return boxes.countBoxes(loadFailed) == 1; });
            counts.push_back(boxes.countBoxes(loadFailed));
            QTest::mouseMove(&dialog, QPoint(20, 200));
            QTest::mouseMove(&dialog, centreOf(dl::cancelButton));
            waitUntil([&] { return boxes.countBoxes(loadFailed) == 2; });
            counts.push_back(boxes.countBoxes(loadFailed));
            clickIn(&dialog, dl::cancelButton);
        });
        EXPECT_EQ(result, 2);
        EXPECT_EQ(counts, (std::vector<int>{1, 2}));
    }
}

// ---- hover looks -----------------------------------------------------------------------------

// The colour a point of the canvas takes when image is drawn over what it shows now.
QRgb afterDrawing(const QImage& canvas, const QImage& image, const layout::Rect& at, QPoint p) {
    QImage copy = canvas.copy();
    composeImage(copy, image, at.left, at.top);
    return copy.pixel(p);
}

TEST_F(DialogFrameTest, HoverLooksFollowThePointerAcrossTheButtons) {
    ChoiceDialog dialog(env, nullptr, ChoiceKind::HotKey);
    const QImage over = skins.image("/button-over.png");
    const QImage normal = skins.image("/button-normal.png");
    const QImage closeOver = skins.image("/button-close-over.png");
    const QImage closeNormal = skins.image("/button-close-normal.png");
    // Points away from the centred captions.
    const QPoint okProbe(dl::okButton.left + 3, dl::okButton.top + 10);
    const QPoint cancelProbe(dl::cancelButton.right - 4, dl::cancelButton.top + 10);
    const QPoint closeProbe(dl::closeButton.left + 9, dl::closeButton.top + 9);

    runScript(dialog, [&] {
        const QImage& canvas = dialog.canvas();
        QRgb wantOk = afterDrawing(canvas, over, dl::okButton, okProbe);
        pointAt(&dialog, centreOf(dl::okButton));
        EXPECT_TRUE(waitUntil([&] { return dialog.okHovered(); }));
        EXPECT_EQ(canvas.pixel(okProbe), wantOk);

        // Straight onto Cancel: Cancel over, OK back to normal.
        wantOk = afterDrawing(canvas, normal, dl::okButton, okProbe);
        const QRgb wantCancel = afterDrawing(canvas, over, dl::cancelButton, cancelProbe);
        QTest::mouseMove(&dialog, centreOf(dl::cancelButton));
        EXPECT_TRUE(waitUntil([&] { return dialog.cancelHovered(); }));
        EXPECT_FALSE(dialog.okHovered());
        EXPECT_EQ(canvas.pixel(okProbe), wantOk);
        EXPECT_EQ(canvas.pixel(cancelProbe), wantCancel);

        const QRgb wantClose = afterDrawing(canvas, closeOver, dl::closeButton, closeProbe);
        QTest::mouseMove(&dialog, centreOf(dl::closeButton));
        EXPECT_TRUE(waitUntil([&] { return dialog.closeHovered(); }));
        EXPECT_EQ(canvas.pixel(closeProbe), wantClose);

        // Away from all three: every flagged button is drawn normal again.
        const QRgb closeBack = afterDrawing(canvas, closeNormal, dl::closeButton, closeProbe);
        const QRgb cancelBack = afterDrawing(canvas, normal, dl::cancelButton, cancelProbe);
        QTest::mouseMove(&dialog, QPoint(20, 200));
        EXPECT_FALSE(dialog.okHovered() || dialog.cancelHovered() || dialog.closeHovered());
        EXPECT_EQ(canvas.pixel(closeProbe), closeBack);
        EXPECT_EQ(canvas.pixel(cancelProbe), cancelBack);
        clickIn(&dialog, dl::cancelButton);
    });
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(DialogFrameTest, PaintingCopiesTheCanvasToTheWindow) {
    ChoiceDialog dialog(env, nullptr, ChoiceKind::Windows);
    QImage shown, canvas;
    runScript(dialog, [&] {
        shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        canvas = dialog.canvas().convertToFormat(QImage::Format_RGB32);
        clickIn(&dialog, dl::okButton);
    });
    ASSERT_EQ(shown.size(), canvas.size());
    // Inside the border and outside the child controls the window shows the canvas pixel for
    // pixel.
    for (QPoint p : {QPoint(5, 5), centreOf(dl::okButton), QPoint(300, 60), QPoint(430, 310)})
        EXPECT_EQ(shown.pixel(p), canvas.pixel(p)) << p.x() << "," << p.y();
}

// ---- drop-down list --------------------------------------------------------------------------

TEST_F(DialogFrameTest, DropDownOpensClosesAndChooses) {
    ChoiceDialog dialog(env, nullptr, ChoiceKind::HotKey);
    const auto& g = layout::hotKeyDialog::dropDown;
    const QString copy = dialog.current().text;
    const auto result = askScripted(dialog, [&] {
        EXPECT_FALSE(dialog.isListOpen());
        auto* field = control<QLabel>(&dialog, g.displayFieldId);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->geometry(), QRect(42, 128, 94, 16));

        // A click on the display field lies in the selector area.
        clickIn(&dialog, g.displayField);
        auto* list = control<QListWidget>(&dialog, g.listId);
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(standsAt(list, QRect(42, 146, 109, 120)));
        EXPECT_EQ(list->count(), 8);
        // All eight entries fit.
        EXPECT_LE(list->visualItemRect(list->item(7)).bottom(), list->viewport()->height());

        // A second click on the selector closes it without a choice.
        clickAt(&dialog, QPoint(g.selectorArea.right - 2, g.selectorArea.top + 3));
        EXPECT_FALSE(dialog.isListOpen());
        EXPECT_EQ(control<QListWidget>(&dialog, g.listId), nullptr);

        // A double click opens it once: its second click does not count.
        clickIn(&dialog, g.selectorArea);
        doubleClick(&dialog, Qt::LeftButton, centreOf(g.selectorArea));
        EXPECT_TRUE(dialog.isListOpen());
        clickIn(&dialog, g.selectorArea);
        EXPECT_FALSE(dialog.isListOpen());

        // A click on the background closes it as well.
        clickIn(&dialog, g.selectorArea);
        ASSERT_TRUE(dialog.isListOpen());
        clickAt(&dialog, QPoint(300, 60));
        EXPECT_FALSE(dialog.isListOpen());
        EXPECT_EQ(field->text(), copy);

        // A click in the list area but beside the entries does not close it.
        clickIn(&dialog, g.selectorArea);
        list = control<QListWidget>(&dialog, g.listId);
        ASSERT_NE(list, nullptr);
        clickAt(&dialog, QPoint(g.list.left + 1, g.list.bottom - 1));
        EXPECT_TRUE(dialog.isListOpen());

        // The pointer over an entry highlights it without choosing it.
        const QRect undoRect = list->visualItemRect(list->item(7));
        pointAt(list->viewport(), undoRect.center());
        EXPECT_EQ(list->currentRow(), 7);
        EXPECT_TRUE(dialog.isListOpen());
        EXPECT_EQ(dialog.current().index, 0);

        // A click on it chooses it.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(7)).center());
        EXPECT_FALSE(dialog.isListOpen());
        EXPECT_EQ(field->text(), "Undo");
        EXPECT_EQ(dialog.current().index, 7);

        // Opening again starts from a fresh list; choosing another entry replaces the choice.
        clickIn(&dialog, g.selectorArea);
        list = control<QListWidget>(&dialog, g.listId);
        ASSERT_NE(list, nullptr);
        const QRect pasteRect = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, pasteRect.center());
        EXPECT_EQ(field->text(), "Paste");
        clickIn(&dialog, dl::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->index, 2);
    EXPECT_EQ(result->text, "Paste");
}

TEST_F(DialogFrameTest, EnterAndEscapeEndTheDialogWhileTheListIsOpen) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        ChoiceDialog dialog(env, nullptr, ChoiceKind::Media);
        const int result = runScript(dialog, [&] {
            clickIn(&dialog, layout::mediaDialog::dropDown.selectorArea);
            ASSERT_TRUE(dialog.isListOpen());
            pressKey(&dialog, key);
        });
        EXPECT_EQ(result,
                  DialogFrame::resultOf(key == Qt::Key_Return ? DialogFrame::Ending::Ok
                                                              : DialogFrame::Ending::Cancel));
        EXPECT_EQ(dialog.current().index, 0);
    }
    // The next dialog starts with the list closed and opens it at the first click.
    ChoiceDialog next(env, nullptr, ChoiceKind::Media);
    runScript(next, [&] {
        EXPECT_FALSE(next.isListOpen());
        clickIn(&next, layout::mediaDialog::dropDown.selectorArea);
        EXPECT_TRUE(next.isListOpen());
    });
}

TEST_F(DialogFrameTest, OkOrCancelWhileTheListIsOpenCloseItFirst) {
    ChoiceDialog dialog(env, nullptr, ChoiceKind::Windows);
    const int result = runScript(dialog, [&] {
        clickIn(&dialog, layout::windowsDialog::dropDown.selectorArea);
        ASSERT_TRUE(dialog.isListOpen());
        clickIn(&dialog, dl::okButton);
        EXPECT_FALSE(dialog.isListOpen());
    });
    EXPECT_EQ(result, 1);
}

void turnWheel(QWidget* target, QPoint at, int delta) {
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

TEST_F(DialogFrameTest, WheelScrollsTheOpenListThreeLinesPerNotch) {
    env.sensorVariant = 0; // twelve entries in a list that shows fewer
    ChoiceDialog dialog(env, nullptr, ChoiceKind::Snipe);
    std::vector<int> positions;
    int maximum = 0;
    runScript(dialog, [&] {
        turnWheel(&dialog, QPoint(300, 60), -120); // no list: nothing to scroll
        clickIn(&dialog, layout::snipeDialog::dropDown.selectorArea);
        QListWidget* list = dialog.dropDownList();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        positions.push_back(list->verticalScrollBar()->value());
        maximum = list->verticalScrollBar()->maximum();
        turnWheel(&dialog, QPoint(300, 60), -120); // towards the user: down
        positions.push_back(list->verticalScrollBar()->value());
        turnWheel(&dialog, QPoint(300, 60), 120); // away from the user: up
        positions.push_back(list->verticalScrollBar()->value());
        EXPECT_TRUE(dialog.isListOpen());
        EXPECT_EQ(dialog.current().index, 0);
    });
    // Three lines down (as far as the list goes), then back up.
    ASSERT_GT(maximum, 0);
    EXPECT_EQ(positions, (std::vector<int>{0, std::min(3, maximum), 0}));
}

TEST_F(DialogFrameTest, ListsWithoutWheelHandlingIgnoreTheWheelOnTheDialog) {
    ChoiceDialog dialog(env, nullptr, ChoiceKind::HotKey);
    runScript(dialog, [&] {
        clickIn(&dialog, layout::hotKeyDialog::dropDown.selectorArea);
        QListWidget* list = dialog.dropDownList();
        ASSERT_NE(list, nullptr);
        const int before = list->verticalScrollBar()->value();
        turnWheel(&dialog, QPoint(300, 60), -120);
        EXPECT_EQ(list->verticalScrollBar()->value(), before);
    });
}

TEST_F(DialogFrameTest, ChildControlsAreWhiteOnDarkGreyInTheDialogFont) {
    ChoiceDialog dialog(env, nullptr, ChoiceKind::HotKey);
    runScript(dialog, [&] {
        clickIn(&dialog, layout::hotKeyDialog::dropDown.selectorArea);
        for (int id : {565, 566}) {
            SCOPED_TRACE(id);
            QWidget* c = childWithId(&dialog, id);
            ASSERT_NE(c, nullptr);
            const QPalette& p = c->palette();
            const QPalette::ColorRole text = id == 565 ? QPalette::WindowText : QPalette::Text;
            const QPalette::ColorRole back = id == 565 ? QPalette::Window : QPalette::Base;
            EXPECT_EQ(p.color(text), QColor(Qt::white));
            EXPECT_EQ(p.color(back), QColor(40, 40, 40));
            EXPECT_LE(QFontMetrics(c->font()).height(), 14); // the cell height
        }
    });
}

TEST(DialogFrameLanguageTest, ChineseDialogsUseTheirFontHeight) {
    TempSkins skins;
    RecordingServices services;
    for (const auto& [code, height] : std::vector<std::pair<std::string, int>>{
             {"CHS", 13}, {"CHT", 14}, {"chs", 14}, {"", 14}}) {
        SCOPED_TRACE(code);
        ChoiceDialog dialog(environmentFor(skins, services, code), nullptr, ChoiceKind::Media);
        int measured = 0;
        runScript(dialog, [&] {
            // The table's height is the ideographs' height in Chinese, the cell's otherwise.
            const QFontMetrics metrics(control<QLabel>(&dialog, 552)->font());
            measured = code == "CHS" || code == "CHT"
                           ? metrics.tightBoundingRect(QStringLiteral("键")).height()
                           : metrics.height();
        });
        EXPECT_LE(measured, height);
        EXPECT_GE(measured, height - (code == "CHS" || code == "CHT" ? 1 : 2));
    }
}

} // namespace
} // namespace z417::test
