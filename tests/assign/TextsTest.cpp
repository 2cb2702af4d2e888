#include "assign/Texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace z417 {
namespace {

const Language kAllLanguages[] = {Language::English, Language::SimplifiedChinese,
                                  Language::TraditionalChinese};

TEST(Texts, LanguageCodeIsComparedWholeAndCaseSensitively) {
    const struct {
        const char* code;
        Language language;
        const char* section;
    } cases[] = {
        {"CHS", Language::SimplifiedChinese, "Setting-CHS"},
        {"CHT", Language::TraditionalChinese, "Setting-CHT"},
        {"chs", Language::English, "Setting-EN"},
        {"Cht", Language::English, "Setting-EN"},
        {"", Language::English, "Setting-EN"},
        {"EN", Language::English, "Setting-EN"},
        {"CHS ", Language::English, "Setting-EN"},
        {" CHT", Language::English, "Setting-EN"},
        {"CH", Language::English, "Setting-EN"},
        {"CHSX", Language::English, "Setting-EN"},
    };
    for (const auto& c : cases) {
        const Language language = languageFromCode(c.code);
        EXPECT_EQ(language, c.language) << '"' << c.code << '"';
        EXPECT_EQ(labelSectionName(language), c.section) << '"' << c.code << '"';
        EXPECT_EQ(TextTable(language).sectionName(), c.section);
    }
    EXPECT_EQ(languageFromCode(std::string("CHS\0", 4)), Language::English);
}

TEST(Texts, CaptionsInEachLanguage) {
    const TextTable en(Language::English);
    const TextTable chs(Language::SimplifiedChinese);
    const TextTable cht(Language::TraditionalChinese);
    EXPECT_EQ(en.language(), Language::English);
    EXPECT_EQ(cht.language(), Language::TraditionalChinese);

    EXPECT_EQ(en.caption(Caption::PageTitle), "Basic Settings");
    EXPECT_EQ(en.caption(Caption::ReportRateHeading), "Report Rate Setting");
    EXPECT_EQ(en.caption(Caption::DpiHeading), "DPI Setting");
    EXPECT_EQ(chs.caption(Caption::OkButton), "确定");
    EXPECT_EQ(chs.caption(Caption::DefaultButton), "按键恢复");
    EXPECT_EQ(chs.caption(Caption::DpiHeading), "DPI设置");
    EXPECT_EQ(cht.caption(Caption::ApplyButton), "應用");
    EXPECT_EQ(cht.caption(Caption::CancelButton), "取消");
    EXPECT_EQ(cht.caption(Caption::KeyHeading), "按鍵設置");

    for (const Language language : kAllLanguages) {
        const TextTable table(language);
        for (int c = 0; c < kCaptionCount; ++c) {
            EXPECT_FALSE(table.caption(static_cast<Caption>(c)).empty()) << c;
        }
    }
}

TEST(Texts, SpotChecksOfSlots) {
    const TextTable en(Language::English);
    const TextTable chs(Language::SimplifiedChinese);
    const TextTable cht(Language::TraditionalChinese);

    // The odd spellings are the program's own.
    EXPECT_EQ(en.slot(28), "Non-Disolay");
    EXPECT_EQ(en.slot(52), "Left key must be selected!");
    EXPECT_EQ(en.slot(73), "The system detect the gaming mouse.");

    EXPECT_EQ(chs.slot(12), "DPI显示特效");
    EXPECT_EQ(chs.slot(42), "RGB打开/关闭");
    EXPECT_EQ(chs.slot(52), "左键功能必须选择！"); // full-width exclamation mark
    EXPECT_EQ(chs.slot(66), "切换到按键组1");
    EXPECT_EQ(chs.slot(72), "系统没有检测到游戏鼠标！");

    EXPECT_EQ(cht.slot(14), "參數");
    EXPECT_EQ(cht.slot(30), "RGB閃爍");
    EXPECT_EQ(cht.slot(67), "切換到按鍵群組2");
    EXPECT_EQ(cht.slot(70), "切換到巨集");
    EXPECT_EQ(cht.slot(73), "系統檢測到遊戲滑鼠。");
}

TEST(Texts, EnglishStageTextsEndInABlankChineseOnesDoNot) {
    const char* ordinals[] = {"first", "second", "third",   "fourth",
                              "fifth", "sixth",  "seventh", "eighth"};
    const TextTable en(Language::English);
    for (int stage = 0; stage < 8; ++stage) {
        const int n = static_cast<int>(TextId::DpiStage1) + stage;
        EXPECT_EQ(en.slot(n), std::string("Switch DPI into the ") + ordinals[stage] + " stage ");
        for (const Language language :
             {Language::SimplifiedChinese, Language::TraditionalChinese}) {
            const std::string text = TextTable(language).slot(n);
            ASSERT_FALSE(text.empty()) << n;
            EXPECT_NE(text.back(), ' ') << n;
        }
    }
    EXPECT_EQ(TextTable(Language::SimplifiedChinese).slot(58), "DPI切换到第一段");
    EXPECT_EQ(TextTable(Language::TraditionalChinese).slot(65), "DPI切換到第八段");
}

TEST(Texts, WebAddressIsTheSameInEveryLanguage) {
    for (const Language language : kAllLanguages) {
        EXPECT_EQ(TextTable(language).slot(TextId::WebLink), kWebAddress);
    }
    // Under the reserved .example domain, shown without a scheme.
    const std::string address(kWebAddress);
    EXPECT_NE(address.find(".example"), std::string::npos);
    EXPECT_EQ(address.find("://"), std::string::npos);
}

TEST(Texts, EveryLanguageHasTheSameSetOfSlots) {
    // 47 fixed slots exist; the run-time ones start empty and every other number stays empty.
    std::set<int> reference;
    for (int n = 0; n < kTextSlotCount; ++n) {
        if (!TextTable(Language::English).slot(n).empty()) {
            reference.insert(n);
        }
    }
    EXPECT_EQ(reference.size(), 47u);
    for (const int absent :
         {0, 5, 6, 11, 15, 16, 18, 19, 20, 21, 22, 23, 37, 38, 40, 48, 50, 68, 69}) {
        EXPECT_EQ(reference.count(absent), 0u) << absent;
    }
    for (const Language language : kAllLanguages) {
        const TextTable table(language);
        std::set<int> present;
        for (int n = 0; n < kTextSlotCount; ++n) {
            if (!table.slot(n).empty()) {
                present.insert(n);
            }
        }
        EXPECT_EQ(present, reference) << static_cast<int>(language);
        EXPECT_TRUE(table.slot(-1).empty());
        EXPECT_TRUE(table.slot(kTextSlotCount).empty());
        EXPECT_TRUE(table.slot(1000).empty());
    }
}

TEST(Texts, OnlyRunTimeSlotsCanBeSet) {
    TextTable table(Language::SimplifiedChinese);
    for (const int n : {0, 1, 2, 3, 4, 5, 19, 20, 23}) {
        EXPECT_TRUE(TextTable::isRuntimeSlot(n));
        table.setRuntimeSlot(n, "1600 #" + std::to_string(n));
        EXPECT_EQ(table.slot(n), "1600 #" + std::to_string(n));
    }
    table.setRuntimeSlot(19, "");
    EXPECT_EQ(table.slot(19), "");

    // Fixed and absent slots and out-of-range numbers are left as they were.
    for (const int n : {-1, 6, 12, 18, 21, 22, 24, 32, 53, 73, 74}) {
        EXPECT_FALSE(TextTable::isRuntimeSlot(n));
        const std::string before = table.slot(n);
        table.setRuntimeSlot(n, "changed");
        EXPECT_EQ(table.slot(n), before) << n;
    }
    EXPECT_EQ(table.slot(32), "左键");
}

TEST(Texts, FunctionNamesFollowTheLanguage) {
    const int expectedSlots[] = {32, 33, 34, 35, 36, 39, 43, 44, 45, 46, 47, 49, 51, 41};
    for (uint8_t code = 0; code < 14; ++code) {
        EXPECT_EQ(functionNameSlot(code), expectedSlots[code]) << int(code);
    }
    for (const int code : {14, 15, 0x80, 0xFF}) {
        EXPECT_EQ(functionNameSlot(static_cast<uint8_t>(code)), -1);
        EXPECT_EQ(functionName(TextTable(), static_cast<uint8_t>(code)), "");
    }

    const TextTable en(Language::English);
    const TextTable chs(Language::SimplifiedChinese);
    const TextTable cht(Language::TraditionalChinese);
    EXPECT_EQ(functionName(en, 0), "Left Click");
    EXPECT_EQ(functionName(en, 5), "DPI Switch");
    EXPECT_EQ(functionName(en, 13), "Shift");
    EXPECT_EQ(functionName(chs, 3), "前进方向键");
    EXPECT_EQ(functionName(chs, 8), "快捷键");
    EXPECT_EQ(functionName(chs, 11), "狙击");
    EXPECT_EQ(functionName(cht, 4), "後退方向鍵");
    EXPECT_EQ(functionName(cht, 8), "快速鍵");
    EXPECT_EQ(functionName(cht, 12), "按鍵關閉");
    for (const Language language : kAllLanguages) {
        const TextTable table(language);
        EXPECT_EQ(functionName(table, 6), "Windows");
        EXPECT_EQ(functionName(table, 13), "Shift");
        for (uint8_t code = 0; code < 14; ++code) {
            EXPECT_FALSE(functionName(table, code).empty()) << int(code);
        }
    }
}

} // namespace
} // namespace z417
