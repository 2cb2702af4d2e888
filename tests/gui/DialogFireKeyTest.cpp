// The fire key dialog: the key list and the three numeric fields with their rules.
#include "DialogTestSupport.h"
#include "ListTestSupport.h"

#include "assign/KeyTables.h"
#include "dialogs/FireKeyDialog.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>

namespace z417::test {
namespace {

namespace fl = layout::fireDialog;

class DialogFireKeyTest : public ::testing::Test {
protected:
    QLineEdit* field(int id) { return control<QLineEdit>(dialog.get(), id); }
    QLineEdit* times() { return field(fl::timesFieldId); }
    QLineEdit* makeTime() { return field(fl::makeTimeFieldId); }
    QLineEdit* breakTime() { return field(fl::breakTimeFieldId); }

    // Types into a field as a person does: it gets the focus first.
    void typeInto(QLineEdit* f, const QString& keys) {
        ASSERT_NE(f, nullptr);
        f->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(f, keys);
    }
    void clearField(QLineEdit* f) {
        f->setFocus(Qt::MouseFocusReason);
        f->selectAll();
        QTest::keyClick(f, Qt::Key_Backspace);
    }
    // Moves the focus as a click into another field does.
    void focusElsewhere(QLineEdit* other) { other->setFocus(Qt::MouseFocusReason); }

    void activate() {
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    TempSkins skins;
    RecordingServices services;
    std::unique_ptr<FireKeyDialog> dialog =
        std::make_unique<FireKeyDialog>(environmentFor(skins, services), nullptr);
};

TEST_F(DialogFireKeyTest, OkAtOnceHandsBackTheDefaults) {
    QString shown;
    std::vector<QString> texts;
    const auto result = askScripted(*dialog, [&] {
        shown = control<QLabel>(dialog.get(), fl::dropDown.displayFieldId)->text();
        for (QLineEdit* f : {times(), makeTime(), breakTime()})
            texts.push_back(f ? f->text() : QStringLiteral("<none>"));
        clickIn(dialog.get(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(shown, "L-Button");
    EXPECT_EQ(texts, (std::vector<QString>{"1", "32", "32"}));
    EXPECT_EQ(result->keyIndex, 0);
    EXPECT_EQ(result->keyName, "L-Button");
    EXPECT_EQ(result->times, 1);
    EXPECT_EQ(result->makeTime, 32);
    EXPECT_EQ(result->breakTime, 32);
}

TEST_F(DialogFireKeyTest, FieldsSitWhereTheLayoutPutsThemAndTakeDigitsOnly) {
    runScript(*dialog, [&] {
        activate();
        EXPECT_EQ(times()->geometry(), QRect(83, 104, 81, 14));
        EXPECT_EQ(makeTime()->geometry(), QRect(83, 138, 81, 14));
        EXPECT_EQ(breakTime()->geometry(), QRect(83, 172, 81, 14));
        EXPECT_FALSE(times()->hasFrame());
        EXPECT_EQ(times()->alignment(), Qt::AlignCenter);
        clearField(times());
        typeInto(times(), "1a-2 x");
        EXPECT_EQ(times()->text(), "12");
        EXPECT_EQ(dialog->current().times, 12);
    });
}

TEST_F(DialogFireKeyTest, TimesTakesEveryChangeAndResetsOutOfRangeToOne) {
    std::vector<int> values;
    std::vector<QString> texts;
    const auto result = askScripted(*dialog, [&] {
        activate();
        clearField(times());
        // Emptying the field gives 0 (repeat until released) without a reset.
        values.push_back(dialog->current().times);
        texts.push_back(times()->text());
        typeInto(times(), "2");
        values.push_back(dialog->current().times);
        typeInto(times(), "0");
        values.push_back(dialog->current().times);
        texts.push_back(times()->text());
        // The third digit makes 200: the field is reset to "1" at once.
        typeInto(times(), "0");
        values.push_back(dialog->current().times);
        texts.push_back(times()->text());
        clearField(times());
        typeInto(times(), "127");
        values.push_back(dialog->current().times);
        clearField(times());
        typeInto(times(), "128");
        values.push_back(dialog->current().times);
        texts.push_back(times()->text());
        clearField(times());
        typeInto(times(), "99999999999");
        values.push_back(dialog->current().times);
        clearField(times());
        typeInto(times(), "0");
        clickIn(dialog.get(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(values, (std::vector<int>{0, 2, 20, 1, 127, 1, 1}));
    EXPECT_EQ(texts, (std::vector<QString>{"", "20", "1", "1"}));
    EXPECT_EQ(result->times, 0);
}

TEST_F(DialogFireKeyTest, MakeAndBreakTimeAreCheckedWhenTheFieldLosesTheFocus) {
    struct Case {
        const char* typed;
        const char* shown;
        int value;
    };
    const std::vector<Case> cases = {
        {"3", "5", 5}, {"300", "5", 5}, {"255", "255", 255}, {"5", "5", 5},
        {"4", "5", 5}, {"256", "5", 5}, {"", "5", 5},        {"007", "007", 7},
    };
    for (const Case& c : cases) {
        for (bool make : {true, false}) {
            SCOPED_TRACE(std::string(c.typed) + (make ? " make" : " break"));
            dialog = std::make_unique<FireKeyDialog>(environmentFor(skins, services), nullptr);
            int beforeFocusLoss = -1;
            QString shown;
            const auto result = askScripted(*dialog, [&] {
                activate();
                QLineEdit* f = make ? makeTime() : breakTime();
                clearField(f);
                typeInto(f, c.typed);
                beforeFocusLoss = make ? dialog->current().makeTime : dialog->current().breakTime;
                focusElsewhere(times());
                shown = f->text();
                clickIn(dialog.get(), layout::dialog::okButton);
            });
            ASSERT_TRUE(result);
            EXPECT_EQ(beforeFocusLoss, 32); // not taken while typing
            EXPECT_EQ(shown, c.shown);
            EXPECT_EQ(make ? result->makeTime : result->breakTime, c.value);
            EXPECT_EQ(make ? result->breakTime : result->makeTime, 32);
        }
    }
}

TEST_F(DialogFireKeyTest, OkTakesTheFieldThatStillHasTheFocus) {
    // Ended by the OK button and by Enter while the field is being edited: OK never hands back
    // a value the field does not show. In an inactive window hiding the dialog moves no focus,
    // so nothing but OK itself takes the field.
    for (bool active : {true, false}) {
        for (bool byEnter : {false, true}) {
            SCOPED_TRACE(std::string(byEnter ? "Enter" : "OK button") +
                         (active ? "" : ", inactive"));
            for (const auto& [typed, want] :
                 std::vector<std::pair<QString, int>>{{"3", 5}, {"100", 100}}) {
                dialog = std::make_unique<FireKeyDialog>(environmentFor(skins, services), nullptr);
                QString shownAtEnd;
                int beforeEnd = -1;
                const auto result = askScripted(*dialog, [&] {
                    if (active)
                        activate();
                    clearField(breakTime());
                    typeInto(breakTime(), typed);
                    ASSERT_EQ(dialog->focusWidget(), breakTime());
                    beforeEnd = dialog->current().breakTime;
                    if (byEnter)
                        QTest::keyClick(breakTime(), Qt::Key_Return);
                    else
                        clickIn(dialog.get(), layout::dialog::okButton);
                    shownAtEnd = breakTime()->text();
                });
                ASSERT_TRUE(result);
                EXPECT_EQ(beforeEnd, 32);
                EXPECT_EQ(result->breakTime, want);
                EXPECT_EQ(shownAtEnd, QString::number(want));
            }
        }
    }
}

TEST_F(DialogFireKeyTest, OkTakesTextsPutIntoTheFieldsWithoutTheFocus) {
    // As the demo's "text" command or a middle-click paste does it.
    const auto result = askScripted(*dialog, [&] {
        makeTime()->setText("300");
        breakTime()->setText("77");
        clickIn(dialog.get(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->makeTime, 5);
    EXPECT_EQ(result->breakTime, 77);
}

TEST_F(DialogFireKeyTest, ChoosingF12HandsBackPosition58) {
    const auto result = askScripted(*dialog, [&] {
        clickIn(dialog.get(), fl::dropDown.selectorArea);
        QListWidget* list = control<QListWidget>(dialog.get(), fl::dropDown.listId);
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(standsAt(list, QRect(82, 87, 83, 170)));
        ASSERT_EQ(list->count(), 59);
        for (int i = 0; i < 59; ++i)
            EXPECT_EQ(list->item(i)->text().toStdString(), fireKeyList()[static_cast<size_t>(i)]);
        list->scrollToBottom();
        const QRect f12 = list->visualItemRect(list->item(58));
        ASSERT_TRUE(list->viewport()->rect().contains(f12.center()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, f12.center());
        EXPECT_EQ(control<QLabel>(dialog.get(), fl::dropDown.displayFieldId)->text(), "F12");
        EXPECT_FALSE(dialog->isListOpen());
        clickIn(dialog.get(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->keyIndex, 58);
    EXPECT_EQ(result->keyName, "F12");
    EXPECT_EQ(usageOfFireKeyPosition(static_cast<unsigned>(result->keyIndex)), 0x45);
}

TEST_F(DialogFireKeyTest, FieldsGoWhileTheListIsOpenAndComeBackWithTheirTexts) {
    std::vector<QString> after;
    const auto result = askScripted(*dialog, [&] {
        activate();
        clearField(times());
        typeInto(times(), "12");
        clearField(makeTime());
        typeInto(makeTime(), "100");
        focusElsewhere(breakTime());
        clearField(breakTime());
        typeInto(breakTime(), "3"); // still being edited when the list opens

        clickIn(dialog.get(), fl::dropDown.selectorArea);
        EXPECT_TRUE(dialog->isListOpen());
        EXPECT_EQ(times(), nullptr);
        EXPECT_EQ(makeTime(), nullptr);
        EXPECT_EQ(breakTime(), nullptr);

        // Closed without a choice by a click on the background.
        clickAt(dialog.get(), QPoint(300, 200));
        ASSERT_NE(times(), nullptr);
        for (QLineEdit* f : {times(), makeTime(), breakTime()})
            after.push_back(f->text());

        // Closed by a choice: the fields come back as well.
        clickIn(dialog.get(), fl::dropDown.selectorArea);
        QListWidget* list = dialog->dropDownList();
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(5); // "A", as the demo's select does
        ASSERT_NE(times(), nullptr);
        for (QLineEdit* f : {times(), makeTime(), breakTime()})
            after.push_back(f->text());
        clickIn(dialog.get(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(after, (std::vector<QString>{"12", "100", "5", "12", "100", "5"}));
    EXPECT_EQ(result->keyIndex, 5);
    EXPECT_EQ(result->keyName, "A");
    EXPECT_EQ(result->times, 12);
    EXPECT_EQ(result->makeTime, 100);
    EXPECT_EQ(result->breakTime, 5);
}

TEST_F(DialogFireKeyTest, TheKeyListHasAScrollBarAndFollowsTheWheel) {
    runScript(*dialog, [&] {
        clickIn(dialog.get(), fl::dropDown.selectorArea);
        QListWidget* list = dialog->dropDownList();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->verticalScrollBar()->isVisible());
        QWheelEvent wheel(QPointF(300, 60), dialog->mapToGlobal(QPointF(300, 60)), QPoint(),
                          QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dialog.get(), &wheel);
        EXPECT_EQ(list->verticalScrollBar()->value(), 3); // one event, three lines
    });
}

TEST_F(DialogFireKeyTest, TheContextMenuSpeaksTheDialogsLanguageAndTakesNoValue) {
    const std::vector<std::pair<std::string, QStringList>> languages = {
        {"EN", {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "&Delete", "Select &All"}},
        {"CHS",
         {"撤销(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&D)", "全选(&A)"}},
        {"CHT",
         {"撤銷(&U)", "重做(&R)", "剪切(&T)", "複製(&C)", "粘貼(&P)", "刪除(&D)", "全選(&A)"}},
    };
    for (const auto& [language, want] : languages) {
        SCOPED_TRACE(language);
        dialog =
            std::make_unique<FireKeyDialog>(environmentFor(skins, services, language), nullptr);
        QStringList texts;
        QString whileOpen, afterFocusLoss;
        int valueWhileOpen = -1;
        const auto result = askScripted(*dialog, [&] {
            activate();
            clearField(makeTime());
            typeInto(makeTime(), "3");
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                        makeTime()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(makeTime(), &menuEvent);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (!action->isSeparator())
                    texts << action->text().section(QLatin1Char('\t'), 0, 0);
            whileOpen = makeTime()->text();
            valueWhileOpen = dialog->current().makeTime;
            menu->close();
            focusElsewhere(times()); // a real loss of the focus
            afterFocusLoss = makeTime()->text();
            clickIn(dialog.get(), layout::dialog::okButton);
        });
        EXPECT_EQ(texts, want);
        EXPECT_EQ(whileOpen, "3");
        EXPECT_EQ(valueWhileOpen, 32);
        EXPECT_EQ(afterFocusLoss, "5");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->makeTime, 5);
    }
}

TEST(DialogFireKeyTextTest, LabelsAndNotesArePaintedInTheSkinTextColour) {
    // A background of one colour: whatever the texts paint differs from it, and only there.
    TempSkins skins;
    RecordingServices services;
    QImage plain(440, 320, QImage::Format_RGB32);
    plain.fill(QColor(0, 0, 0));
    ASSERT_TRUE(plain.save(skins.folder() + "/fire-key.png", "PNG"));
    for (const std::string language : {"EN", "CHS", "CHT"}) {
        SCOPED_TRACE(language);
        DialogEnvironment env = environmentFor(skins, services, language);
        skins.setTextColour(QColor(255, 0, 0));
        FireKeyDialog dialog(env, nullptr);
        QImage canvas;
        runScript(dialog, [&] { canvas = dialog.canvas(); });
        auto inkIn = [&](const layout::Rect& r) {
            int ink = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = std::max(0, r.left); x < r.right; ++x)
                    ink += qRed(canvas.pixel(x, y)) > 0 && qGreen(canvas.pixel(x, y)) == 0 ? 1 : 0;
            return ink;
        };
        EXPECT_GT(inkIn(fl::timesLabel.rect), 0);
        EXPECT_GT(inkIn(fl::makeTimeLabel.rect), 0);
        EXPECT_GT(inkIn(fl::breakTimeLabel.rect), 0);
        EXPECT_GT(inkIn({23, 198, 433, 214}), 0);
        EXPECT_GT(inkIn({23, 224, 433, 240}), 0);
        // Nothing between the labels and the notes.
        EXPECT_EQ(inkIn({0, 40, 80, 100}), 0);
    }
}

} // namespace
} // namespace z417::test

namespace z417::test {
namespace {

// The keyboard alone: Shift+Tab reaches the drop-down; Down opens it, the arrows move the
// current entry, Space chooses it; Tab goes on to the fields; Enter is OK.
TEST(DialogFireKeyKeyboard, KeysAloneChooseAKeyFillTheFieldsAndConfirm) {
    TempSkins skins;
    RecordingServices services;
    FireKeyDialog dialog(environmentFor(skins, services), nullptr);
    std::vector<QString> focusTrail;
    std::vector<QString> tree;
    const auto result = askScripted(dialog, [&] {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&dialog);
        tree.push_back(a->text(QAccessible::Name));
        for (int i = 0; i < a->childCount(); ++i)
            tree.push_back(a->child(i)->text(QAccessible::Name) + "=" +
                           a->child(i)->text(QAccessible::Value));
        auto press = [&](Qt::Key key) {
            QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
            QTest::keyClick(target, key);
        };
        // The keys start in the Times field, where an active window puts its focus (offscreen
        // it is given here); Shift+Tab goes back to the drop-down.
        EXPECT_FALSE(dialog.paintedFocus());
        control<QLineEdit>(&dialog, fl::timesFieldId)->setFocus(Qt::ActiveWindowFocusReason);
        for (Qt::Key key : {Qt::Key_Backtab, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                            Qt::Key_Space, Qt::Key_Tab})
            press(key);
        auto* focused = qobject_cast<QLineEdit*>(dialog.focusWidget());
        focusTrail.push_back(focused ? focused->accessibleName() : QStringLiteral("<painted>"));
        if (focused) {
            focused->selectAll();
            QTest::keyClicks(focused, QStringLiteral("3"));
        }
        press(Qt::Key_Return);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->keyIndex, 1);
    EXPECT_EQ(result->times, 3);
    EXPECT_EQ(focusTrail, (std::vector<QString>{QStringLiteral("Times")}));
    // The dialog for a screen reader: its name, the drop-down with the shown key, the named
    // fields with their values, and the three buttons.
    EXPECT_EQ(tree,
              (std::vector<QString>{"Fire Key", "Fire Key=L-Button", "Times=1", "Make Time=32",
                                    "Break Time=32", "OK=", "Cancel=", "Close="}));
}

} // namespace
} // namespace z417::test
