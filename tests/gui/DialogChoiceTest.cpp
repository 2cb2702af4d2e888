// The combination, multimedia, launch and snipe key dialogs: their lists in the three
// languages and the choice they hand back.
#include "DialogTestSupport.h"
#include "ListTestSupport.h"

#include "demo/PointerEvents.h"
#include "dialogs/ChoiceDialog.h"

#include <QLabel>
#include <QListWidget>

#include <memory>

namespace z417::test {
namespace {

struct Chooser {
    const char* name;
    std::function<std::unique_ptr<ChoiceDialog>(const DialogEnvironment&)> make;
    const layout::DropDownGroup* group;
};

const std::vector<Chooser>& choiceKinds() {
    static const std::vector<Chooser> all = {
        {"hotkey",
         [](const DialogEnvironment& e) {
             return std::make_unique<ChoiceDialog>(e, nullptr, ChoiceKind::HotKey);
         },
         &layout::hotKeyDialog::dropDown},
        {"media",
         [](const DialogEnvironment& e) {
             return std::make_unique<ChoiceDialog>(e, nullptr, ChoiceKind::Media);
         },
         &layout::mediaDialog::dropDown},
        {"windows",
         [](const DialogEnvironment& e) {
             return std::make_unique<ChoiceDialog>(e, nullptr, ChoiceKind::Windows);
         },
         &layout::windowsDialog::dropDown},
    };
    return all;
}

// Expected entries: kind, language code, entries in index order.
struct Expected {
    const char* kind;
    const char* language;
    std::vector<const char*> entries;
};

const std::vector<Expected>& expectedLists() {
    static const std::vector<Expected> all = {
        {"hotkey", "EN", {"Copy", "Cut", "Paste", "Select all", "Open", "New", "Save", "Undo"}},
        {"hotkey", "CHS", {"复制", "剪切", "粘贴", "全选", "打开", "新建", "保存", "撤销"}},
        {"hotkey", "CHT", {"複製", "剪切", "粘貼", "全選", "打開", "新建", "保存", "撤銷"}},
        {"media", "EN", {"Next", "Previous", "Stop", "Play/Pause", "Mute", "Vol+", "Vol-"}},
        {"media", "CHS", {"下一首", "上一首", "停止", "播放/暂停", "静音", "音量+", "音量-"}},
        {"media", "CHT", {"下一首", "上一首", "停止", "播放/暫停", "靜音", "音量+", "音量-"}},
        {"windows",
         "EN",
         {"Multimedia Player", "Mail", "Calculator", "My Computer", "Browser-Search",
          "Browser-Home", "Browser-Back", "Browser-Forward", "Browser-Refresh"}},
        {"windows",
         "CHS",
         {"打开多媒体播放器", "邮件", "计算器", "我的电脑", "浏览器-搜索", "浏览器-主页",
          "浏览器-后退", "浏览器-前进", "浏览器-刷新"}},
        {"windows",
         "CHT",
         {"打開多媒體播放器", "郵件", "計算器", "我的電腦", "瀏覽器-搜索", "瀏覽器-主頁",
          "瀏覽器-後退", "瀏覽器-前進", "瀏覽器-刷新"}},
        // Only "CHS" and "CHT", compared whole, select Chinese.
        {"hotkey", "chs", {"Copy", "Cut", "Paste", "Select all", "Open", "New", "Save", "Undo"}},
        {"media", "CHSX", {"Next", "Previous", "Stop", "Play/Pause", "Mute", "Vol+", "Vol-"}},
    };
    return all;
}

QStringList listed(QListWidget* list) {
    QStringList items;
    for (int i = 0; list && i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

TEST(DialogChoiceTest, ListsInTheThreeLanguagesAndTheirDefaults) {
    TempSkins skins;
    RecordingServices services;
    for (const Expected& want : expectedLists()) {
        SCOPED_TRACE(std::string(want.kind) + " " + want.language);
        QStringList expected;
        for (const char* e : want.entries)
            expected << QString::fromUtf8(e);
        const Chooser* kind = nullptr;
        for (const Chooser& k : choiceKinds())
            kind = std::string(k.name) == want.kind ? &k : kind;
        ASSERT_NE(kind, nullptr);

        auto dialog = kind->make(environmentFor(skins, services, want.language));
        QString shown;
        QStringList items;
        const auto result = askScripted(*dialog, [&] {
            shown = control<QLabel>(dialog.get(), kind->group->displayFieldId)->text();
            clickIn(dialog.get(), kind->group->selectorArea);
            QListWidget* list = control<QListWidget>(dialog.get(), kind->group->listId);
            items = listed(list);
            EXPECT_TRUE(standsAt(list, qrectOf(kind->group->list)));
            clickAt(dialog.get(), QPoint(300, 60)); // closes the list, nothing chosen
            clickIn(dialog.get(), layout::dialog::okButton);
        });
        ASSERT_TRUE(result);
        EXPECT_EQ(items, expected);
        EXPECT_EQ(shown, expected.front());
        EXPECT_EQ(result->index, 0);
        EXPECT_EQ(result->text, expected.front());
    }
}

TEST(DialogChoiceTest, EveryEntryCanBeChosen) {
    TempSkins skins;
    RecordingServices services;
    for (const Chooser& kind : choiceKinds()) {
        for (const char* language : {"EN", "CHT"}) {
            const int count = static_cast<int>(
                kind.make(environmentFor(skins, services, language))->entries().size());
            for (int row = 0; row < count; ++row) {
                SCOPED_TRACE(std::string(kind.name) + " " + language + " row " +
                             std::to_string(row));
                auto dialog = kind.make(environmentFor(skins, services, language));
                QString shown;
                const auto result = askScripted(*dialog, [&] {
                    clickIn(dialog.get(), kind.group->selectorArea);
                    QListWidget* list = dialog->dropDownList();
                    ASSERT_NE(list, nullptr);
                    const QRect r = list->visualItemRect(list->item(row));
                    ASSERT_TRUE(list->viewport()->rect().contains(r.center()));
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
                    shown = control<QLabel>(dialog.get(), kind.group->displayFieldId)->text();
                    clickIn(dialog.get(), layout::dialog::okButton);
                });
                ASSERT_TRUE(result);
                EXPECT_EQ(result->index, row);
                EXPECT_EQ(result->text, dialog->entries().at(row));
                EXPECT_EQ(shown, result->text);
            }
        }
    }
}

TEST(DialogChoiceTest, ADoubleClickChoosesToo) {
    TempSkins skins;
    RecordingServices services;
    ChoiceDialog dialog(environmentFor(skins, services), nullptr, ChoiceKind::Windows);
    const auto result = askScripted(dialog, [&] {
        clickIn(&dialog, layout::windowsDialog::dropDown.selectorArea);
        QListWidget* list = dialog.dropDownList();
        ASSERT_NE(list, nullptr);
        const QRect r = list->visualItemRect(list->item(8));
        doubleClick(list->viewport(), Qt::LeftButton, r.center());
        EXPECT_FALSE(dialog.isListOpen());
        clickIn(&dialog, layout::dialog::okButton);
    });
    EXPECT_EQ(result->index, 8);
    EXPECT_EQ(result->text, "Browser-Refresh");
}

TEST(DialogChoiceTest, OnlyTheLeftButtonChoosesAnEntry) {
    TempSkins skins;
    RecordingServices services;
    ChoiceDialog dialog(environmentFor(skins, services), nullptr, ChoiceKind::Media);
    const auto& g = layout::mediaDialog::dropDown;
    std::vector<QString> shown;
    const auto result = askScripted(dialog, [&] {
        clickIn(&dialog, g.selectorArea);
        QListWidget* list = dialog.dropDownList();
        ASSERT_NE(list, nullptr);
        const QPoint stop = list->visualItemRect(list->item(2)).center();
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mouseClick(list->viewport(), button, Qt::NoModifier, stop);
            doubleClick(list->viewport(), button, stop);
            EXPECT_TRUE(dialog.isListOpen()) << button;
            EXPECT_EQ(dialog.current().index, 0) << button;
            shown.push_back(control<QLabel>(&dialog, g.displayFieldId)->text());
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, stop);
        EXPECT_FALSE(dialog.isListOpen());
        clickIn(&dialog, layout::dialog::okButton);
    });
    EXPECT_EQ(shown, (std::vector<QString>{"Next", "Next"}));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->index, 2);
    EXPECT_EQ(result->text, "Stop");
}

TEST(DialogChoiceTest, SnipeListFollowsTheSensorVariant) {
    struct Case {
        uint8_t variant;
        QStringList entries;
        int choose; // -1: OK at once
        int wantIndex;
        QString wantText;
    };
    const std::vector<Case> cases = {
        {0,
         {"250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500",
          "4000"},
         -1,
         0,
         "250"},
        {0,
         {"250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500",
          "4000"},
         11,
         11,
         "4000"},
        {2, {"250", "500", "750", "1000", "1250", "1500", "2000", "2500"}, 7, 7, "2500"},
        {1, {"600", "800", "1000", "1200", "1600", "2000", "2400", "3200"}, 3, 3, "1200"},
        // Outside 0..3: an empty list, an empty field, and OK hands back index 0.
        {9, {}, -1, 0, ""},
        {4, {}, -1, 0, ""},
    };
    TempSkins skins;
    RecordingServices services;
    for (const Case& c : cases) {
        SCOPED_TRACE("variant " + std::to_string(c.variant) + " choose " +
                     std::to_string(c.choose));
        DialogEnvironment env = environmentFor(skins, services);
        env.sensorVariant = c.variant;
        ChoiceDialog dialog(env, nullptr, ChoiceKind::Snipe);
        QString shown;
        QStringList items;
        const auto result = askScripted(dialog, [&] {
            const auto& g = layout::snipeDialog::dropDown;
            shown = control<QLabel>(&dialog, g.displayFieldId)->text();
            clickIn(&dialog, g.selectorArea);
            items = listed(control<QListWidget>(&dialog, g.listId));
            EXPECT_TRUE(dialog.isListOpen());
            if (c.choose >= 0)
                dialog.dropDownList()->setCurrentRow(c.choose);
            else
                clickIn(&dialog, g.selectorArea);
            clickIn(&dialog, layout::dialog::okButton);
        });
        ASSERT_TRUE(result);
        EXPECT_EQ(items, c.entries);
        EXPECT_EQ(shown, c.entries.isEmpty() ? QString() : c.entries.front());
        EXPECT_EQ(result->index, c.wantIndex);
        EXPECT_EQ(result->text, c.wantText);
    }
}

} // namespace
} // namespace z417::test
