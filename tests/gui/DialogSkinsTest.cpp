// The skins dialog: the folders of the skins root, the case-insensitive match of the chosen
// name, and the colour chooser.
#include "DialogTestSupport.h"

#include "dialogs/SkinsDialog.h"

#include <QDirIterator>
#include <QLabel>
#include <QListWidget>

#include <sys/stat.h>
#include <unistd.h>

namespace z417::test {
namespace {

namespace kl = layout::skinsDialog;

std::string bytesOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

class DialogSkinsTest : public ::testing::Test {
protected:
    DialogSkinsTest() {
        QDir root(skins.root());
        EXPECT_TRUE(root.mkdir("Blue"));
        EXPECT_TRUE(root.mkdir(".hidden"));
        QFile file(skins.root() + "/notes.txt");
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        skins.setTextColour(QColor(12, 34, 56));
    }

    // Opens the list and picks the entry with this text.
    void choose(const QString& text) {
        clickIn(&dialog(), kl::dropDown.selectorArea);
        QListWidget* list = control<QListWidget>(&dialog(), kl::dropDown.listId);
        ASSERT_NE(list, nullptr);
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        list->scrollToItem(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(found.front()).center());
    }

    SkinsDialog& dialog() {
        if (!dialog_)
            dialog_ = std::make_unique<SkinsDialog>(env, nullptr);
        return *dialog_;
    }

    TempSkins skins;
    RecordingServices services;
    DialogEnvironment env = environmentFor(skins, services);
    std::unique_ptr<SkinsDialog> dialog_;
};

TEST_F(DialogSkinsTest, OkAtOnceHandsBackWhatIsInForce) {
    QString shown;
    QColor fieldColour;
    const auto result = askScripted(dialog(), [&] {
        shown = control<QLabel>(&dialog(), kl::dropDown.displayFieldId)->text();
        auto* colourField = control<QLabel>(&dialog(), kl::colourFieldId);
        ASSERT_NE(colourField, nullptr);
        EXPECT_EQ(colourField->geometry(), qrectOf(kl::colourField));
        EXPECT_EQ(colourField->text(), "");
        fieldColour = colourField->palette().color(QPalette::Window);
        clickIn(&dialog(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(shown, "Default");
    EXPECT_EQ(fieldColour, QColor(12, 34, 56));
    EXPECT_EQ(result->name, "Default");
    EXPECT_EQ(result->path, bytesOf(skins.folder()));
    EXPECT_EQ(result->textColour, QColor(12, 34, 56));
}

TEST_F(DialogSkinsTest, ListsTheFoldersInFileSystemOrderAndNeverAFile) {
    QStringList items;
    runScript(dialog(), [&] {
        clickIn(&dialog(), kl::dropDown.selectorArea);
        QListWidget* list = control<QListWidget>(&dialog(), kl::dropDown.listId);
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
    });
    EXPECT_FALSE(items.contains("notes.txt"));
    EXPECT_FALSE(items.contains("."));
    EXPECT_FALSE(items.contains(".."));
    QStringList sorted = items;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{".hidden", "Blue", "Default"}));
    // Unsorted: the order in which the directory is read.
    QStringList readOrder;
    QDirIterator it(skins.root(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        readOrder << it.fileName();
    }
    EXPECT_EQ(items, readOrder);
}

TEST_F(DialogSkinsTest, ChoosingASkinSetsNameAndPath) {
    QString shown;
    const auto result = askScripted(dialog(), [&] {
        choose("Blue");
        shown = control<QLabel>(&dialog(), kl::dropDown.displayFieldId)->text();
        EXPECT_FALSE(dialog().isListOpen());
        clickIn(&dialog(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(shown, "Blue");
    EXPECT_EQ(result->name, "Blue");
    EXPECT_EQ(result->path, bytesOf(skins.root() + "/Blue"));
}

TEST_F(DialogSkinsTest, AFolderNameThatIsNotUtf8IsHandedBackAsItsBytes) {
    const std::string name = "Gr\xFCn";
    const std::string folder = bytesOf(skins.root()) + "/" + name;
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const auto result = askScripted(dialog(), [&] {
        choose(QFile::decodeName(QByteArray::fromStdString(name)));
        clickIn(&dialog(), layout::dialog::okButton);
    });
    ::rmdir(folder.c_str());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->name, name);
    EXPECT_EQ(result->path, folder);
}

TEST_F(DialogSkinsTest, AFolderRenamedInLetterCaseIsStillFound) {
    ASSERT_TRUE(QDir(skins.root()).mkdir(QStringLiteral("\u00C4ther")));
    const std::pair<QString, QString> renames[] = {{"Blue", "BLUE"}, {"\u00C4ther", "\u00E4THER"}};
    for (const auto& [shown, renamed] : renames) {
        dialog_.reset();
        const auto result = askScripted(dialog(), [&, shown = shown, renamed = renamed] {
            clickIn(&dialog(), kl::dropDown.selectorArea);
            ASSERT_TRUE(QDir(skins.root()).rename(shown, renamed));
            QListWidget* list = dialog().dropDownList();
            const auto found = list->findItems(shown, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualItemRect(found.front()).center());
            clickIn(&dialog(), layout::dialog::okButton);
        });
        ASSERT_TRUE(result) << shown.toStdString();
        EXPECT_EQ(result->name, shown.toStdString()); // the name as the list showed it
        EXPECT_EQ(result->path, bytesOf(skins.root() + "/" + renamed));
    }
}

TEST_F(DialogSkinsTest, AFolderDeletedAfterTheListFilledKeepsThePath) {
    const auto result = askScripted(dialog(), [&] {
        clickIn(&dialog(), kl::dropDown.selectorArea);
        ASSERT_TRUE(QDir(skins.root()).rmdir("Blue"));
        QListWidget* list = dialog().dropDownList();
        const auto found = list->findItems("Blue", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(found.front()).center());
        clickIn(&dialog(), layout::dialog::okButton);
    });
    EXPECT_EQ(result->name, "Blue");
    EXPECT_EQ(result->path, bytesOf(skins.folder()));
}

TEST_F(DialogSkinsTest, TheColourFieldOpensTheChooserWithoutAPresetColour) {
    services.colourAnswer = QColor(255, 0, 128);
    QColor fieldColour;
    const auto result = askScripted(dialog(), [&] {
        clickIn(&dialog(), kl::colourField);
        fieldColour =
            control<QLabel>(&dialog(), kl::colourFieldId)->palette().color(QPalette::Window);
        clickIn(&dialog(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    ASSERT_EQ(services.colourPresets.size(), 1u);
    EXPECT_FALSE(services.colourPresets[0].has_value());
    EXPECT_EQ(services.colourOwners[0], nullptr);
    EXPECT_EQ(fieldColour, QColor(255, 0, 128));
    EXPECT_EQ(result->textColour, QColor(255, 0, 128));
    // The other results stay what was in force.
    EXPECT_EQ(result->name, "Default");
    EXPECT_EQ(result->path, bytesOf(skins.folder()));
}

TEST_F(DialogSkinsTest, CancellingTheChooserChangesNothing) {
    services.colourAnswer.reset();
    const auto result = askScripted(dialog(), [&] {
        clickIn(&dialog(), kl::colourField);
        clickIn(&dialog(), layout::dialog::okButton);
    });
    EXPECT_EQ(services.colourPresets.size(), 1u);
    EXPECT_EQ(result->textColour, QColor(12, 34, 56));
}

TEST_F(DialogSkinsTest, CancelAfterPickingAColourHandsBackNothing) {
    services.colourAnswer = QColor(1, 2, 3);
    const auto result = askScripted(dialog(), [&] {
        clickIn(&dialog(), kl::colourField);
        clickIn(&dialog(), layout::dialog::cancelButton);
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(dialog().result(), DialogFrame::resultOf(DialogFrame::Ending::Cancel));
}

TEST_F(DialogSkinsTest, MissingOrUnsetSkinsRootOpensAnEmptyList) {
    for (const QString& root : {skins.root() + "/nowhere", QString()}) {
        env.skinsRoot = bytesOf(root);
        dialog_.reset();
        int count = -1;
        const auto result = askScripted(dialog(), [&] {
            clickIn(&dialog(), kl::dropDown.selectorArea);
            count = dialog().dropDownList() ? dialog().dropDownList()->count() : -1;
            clickIn(&dialog(), layout::dialog::okButton);
        });
        EXPECT_EQ(count, 0);
        EXPECT_TRUE(services.boxes.empty());
        EXPECT_EQ(result->path, bytesOf(skins.folder()));
    }
}

TEST_F(DialogSkinsTest, MissingBackgroundHandsBackWhatIsInForce) {
    skins.remove("/skins.png");
    services.colourAnswer = QColor(9, 9, 9);
    const auto result = askScripted(dialog(), [&] {
        clickIn(&dialog(), kl::colourField); // no colour field on a blank dialog
        clickIn(&dialog(), layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_TRUE(services.colourPresets.empty());
    EXPECT_EQ(result->name, "Default");
    EXPECT_EQ(result->path, bytesOf(skins.folder()));
    EXPECT_EQ(result->textColour, QColor(12, 34, 56));
}

} // namespace
} // namespace z417::test
