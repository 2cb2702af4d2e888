// Pictures of every dialog on the Default skin in English and Simplified Chinese, written to
// the folder named by Z417_DIALOG_SHOTS (the test is skipped without it).
#include "DialogTestSupport.h"

#include "dialogs/ChoiceDialog.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "dialogs/SkinsDialog.h"

#include <QKeyEvent>
#include <QListWidget>

#include <cstdlib>
#include <memory>

namespace z417::test {
namespace {

struct Shot {
    const char* name;
    std::function<std::unique_ptr<DialogFrame>(const DialogEnvironment&)> make;
    const layout::DropDownGroup* dropDown;
};

template <class D> std::unique_ptr<DialogFrame> make(const DialogEnvironment& env) {
    return std::make_unique<D>(env, nullptr);
}
template <ChoiceKind K> std::unique_ptr<DialogFrame> makeChoice(const DialogEnvironment& env) {
    return std::make_unique<ChoiceDialog>(env, nullptr, K);
}

TEST(DialogScreenshotTest, EveryDialogInEnglishAndSimplifiedChinese) {
    const char* out = std::getenv("Z417_DIALOG_SHOTS");
    if (!out || !*out)
        GTEST_SKIP() << "set Z417_DIALOG_SHOTS to a folder to write the pictures";
    if (!QDir(QStringLiteral(Z417_BIN_DIR "/Skins/Default")).exists())
        GTEST_SKIP() << "the Default skin has not been generated";
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(out)));
    const std::vector<Shot> shots = {
        {"fire", make<FireKeyDialog>, &layout::fireDialog::dropDown},
        {"hotkey", makeChoice<ChoiceKind::HotKey>, &layout::hotKeyDialog::dropDown},
        {"media", makeChoice<ChoiceKind::Media>, &layout::mediaDialog::dropDown},
        {"windows", makeChoice<ChoiceKind::Windows>, &layout::windowsDialog::dropDown},
        {"single", make<SingleKeyDialog>, nullptr},
        {"snipe", makeChoice<ChoiceKind::Snipe>, &layout::snipeDialog::dropDown},
        {"skins", make<SkinsDialog>, &layout::skinsDialog::dropDown},
    };
    TempSkins skins;
    QDir(skins.root()).mkdir("Aurora");
    RecordingServices services;
    for (const char* language : {"EN", "CHS"}) {
        for (const Shot& shot : shots) {
            SCOPED_TRACE(std::string(shot.name) + " " + language);
            skins.setTextColour(QColor(220, 230, 240));
            DialogEnvironment env = environmentFor(skins, services, language);
            auto dialog = shot.make(env);
            const QString base = QStringLiteral("%1/%2-%3").arg(out, shot.name, language);
            runScript(*dialog, [&] {
                if (std::string(shot.name) == "single") {
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 97 + 8, 0,
                                    0);
                    QApplication::sendEvent(dialog.get(), &press);
                }
                QImage closed = dialog->grab().toImage();
                EXPECT_EQ(closed.size(), dialog->canvas().size());
                EXPECT_TRUE(closed.save(base + ".png"));
                pointAt(dialog.get(), centreOf(layout::dialog::okButton));
                waitUntil([&] { return dialog->okHovered(); });
                if (shot.dropDown) {
                    clickIn(dialog.get(), shot.dropDown->selectorArea);
                    QListWidget* list = dialog->dropDownList();
                    if (list && list->count() > 2) {
                        const QRect r = list->visualItemRect(list->item(2));
                        pointAt(list->viewport(), r.center());
                    }
                }
                EXPECT_TRUE(dialog->grab().toImage().save(base + "-open.png"));
                clickIn(dialog.get(), layout::dialog::cancelButton);
            });
        }
    }
    EXPECT_TRUE(services.boxes.empty());
}

} // namespace
} // namespace z417::test
