#include "assign/Texts.h"

#include <cstddef>
#include <utility>

namespace z417 {

// Shown in the bottom bar as it stands, so it carries no scheme; opening it adds one.
const char* const kWebAddress = "www.z417-gaming.example";

namespace {

// One text in the three languages.
struct CaptionRow {
    Caption caption;
    const char* english;
    const char* simplified;
    const char* traditional;
};

struct SlotRow {
    int slot;
    const char* english;
    const char* simplified;
    const char* traditional;
};

const CaptionRow kCaptionRows[] = {
    {Caption::PageTitle, "Basic Settings", "基本设置", "基本設置"},
    {Caption::OkButton, "OK", "确定", "確定"},
    {Caption::ApplyButton, "Apply", "应用", "應用"},
    {Caption::CancelButton, "Cancel", "取消", "取消"},
    {Caption::DefaultButton, "Default", "按键恢复", "按鍵恢復"},
    {Caption::KeyHeading, "Key Setting", "按键设置", "按鍵設置"},
    {Caption::ReportRateHeading, "Report Rate Setting", "报告率设置", "報告率設置"},
    {Caption::DpiHeading, "DPI Setting", "DPI设置", "DPI設置"},
};

// Every slot that exists apart from the run-time entries. The English DPI stage texts end in a
// blank; the Chinese ones do not.
const SlotRow kSlotRows[] = {
    {12, "DPI Effect", "DPI显示特效", "DPI顯示特效"},
    {13, "Mode", "模式", "模式"},
    {14, "Parameter", "参数", "參數"},
    {17, "Effect", "效果", "效果"},
    {24, "Off", "关闭模式", "關閉模式"},
    {25, "Standard", "标准模式", "標準模式"},
    {26, "Respiration", "呼吸模式", "呼吸模式"},
    {27, "Neon", "霓虹模式", "霓虹模式"},
    {28, "Non-Disolay", "关闭", "關閉"},
    {29, "RGB Effect", "RGB效果", "RGB效果"},
    {30, "RGB Flash", "RGB闪烁", "RGB閃爍"},
    {31, "RGB Fixed On", "RGB常亮", "RGB常亮"},
    {32, "Left Click", "左键", "左鍵"},
    {33, "Right Click", "右键", "右鍵"},
    {34, "Mid Click", "中键", "中鍵"},
    {35, "Forward", "前进方向键", "前進方向鍵"},
    {36, "Backward", "后退方向键", "後退方向鍵"},
    {39, "DPI Switch", "DPI切换", "DPI切換"},
    {41, "Shift", "Shift", "Shift"},
    {42, "RGB On/Off", "RGB打开/关闭", "RGB打開/關閉"},
    {43, "Windows", "Windows", "Windows"},
    {44, "Multimedia", "多媒体", "多媒體"},
    {45, "HotKey", "快捷键", "快速鍵"},
    {46, "Fire Key", "火力键", "火力鍵"},
    {47, "Single Key", "单键", "單鍵"},
    {49, "Snipe Key", "狙击", "狙擊"},
    {51, "Key Off", "按键关闭", "按鍵關閉"},
    {52, "Left key must be selected!", "左键功能必须选择！", "左鍵功能必須選擇！"},
    {53, kWebAddress, kWebAddress, kWebAddress},
    {54, "Switch report rate into 1000HZ", "报告率切换到1000HZ", "報告率切換到1000HZ"},
    {55, "Switch report rate into 500HZ", "报告率切换到500HZ", "報告率切換到500HZ"},
    {56, "Switch report rate into 250HZ", "报告率切换到250HZ", "報告率切換到250HZ"},
    {57, "Switch report rate into 125HZ", "报告率切换到125HZ", "報告率切換到125HZ"},
    {58, "Switch DPI into the first stage ", "DPI切换到第一段", "DPI切換到第一段"},
    {59, "Switch DPI into the second stage ", "DPI切换到第二段", "DPI切換到第二段"},
    {60, "Switch DPI into the third stage ", "DPI切换到第三段", "DPI切換到第三段"},
    {61, "Switch DPI into the fourth stage ", "DPI切换到第四段", "DPI切換到第四段"},
    {62, "Switch DPI into the fifth stage ", "DPI切换到第五段", "DPI切換到第五段"},
    {63, "Switch DPI into the sixth stage ", "DPI切换到第六段", "DPI切換到第六段"},
    {64, "Switch DPI into the seventh stage ", "DPI切换到第七段", "DPI切換到第七段"},
    {65, "Switch DPI into the eighth stage ", "DPI切换到第八段", "DPI切換到第八段"},
    {66, "Switch to key matrix 1", "切换到按键组1", "切換到按鍵群組1"},
    {67, "Switch to key matrix 2", "切换到按键组2", "切換到按鍵群組2"},
    {70, "Switch to macro key", "切换到宏", "切換到巨集"},
    {71, "Exit", "退出", "退出"},
    {72, "The system did not detect the gaming mouse!", "系统没有检测到游戏鼠标！",
     "系統沒有檢測到遊戲滑鼠！"},
    {73, "The system detect the gaming mouse.", "系统检测到游戏鼠标。", "系統檢測到遊戲滑鼠。"},
};

struct ControlNameRow {
    ControlNameText name;
    const char* english;
    const char* simplified;
    const char* traditional;
};

const ControlNameRow kControlNameRows[] = {
    {ControlNameText::ButtonNumber, "Button %1", "按键%1", "按鍵%1"},
    {ControlNameText::DpiStageNumber, "DPI stage %1", "DPI第%1段", "DPI第%1段"},
    {ControlNameText::DpiStageColour, "DPI stage %1 colour", "DPI第%1段颜色", "DPI第%1段顏色"},
    {ControlNameText::Skin, "Skin", "皮肤", "皮膚"},
    {ControlNameText::Minimise, "Minimise", "最小化", "最小化"},
    {ControlNameText::Close, "Close", "关闭", "關閉"},
};

// Text slot of each function code, in function code order.
constexpr int kFunctionNameSlots[] = {32, 33, 34, 35, 36, 39, 43, 44, 45, 46, 47, 49, 51, 41};

constexpr int kRuntimeSlots[] = {0, 1, 2, 3, 4, 5, 19, 20, 23};

const char* pick(Language language, const char* english, const char* simplified,
                 const char* traditional) {
    switch (language) {
    case Language::SimplifiedChinese:
        return simplified;
    case Language::TraditionalChinese:
        return traditional;
    case Language::English:
        break;
    }
    return english;
}

const std::string& emptyText() {
    static const std::string empty;
    return empty;
}

} // namespace

Language languageFromCode(const std::string& lan) {
    if (lan == "CHS") {
        return Language::SimplifiedChinese;
    }
    if (lan == "CHT") {
        return Language::TraditionalChinese;
    }
    return Language::English;
}

std::string labelSectionName(Language language) {
    return pick(language, "Setting-EN", "Setting-CHS", "Setting-CHT");
}

TextTable::TextTable(Language language) : language_(language) {
    for (const CaptionRow& row : kCaptionRows) {
        captions_[static_cast<std::size_t>(row.caption)] =
            pick(language, row.english, row.simplified, row.traditional);
    }
    for (const SlotRow& row : kSlotRows) {
        slots_[static_cast<std::size_t>(row.slot)] =
            pick(language, row.english, row.simplified, row.traditional);
    }
}

const std::string& TextTable::caption(Caption which) const {
    const auto index = static_cast<std::size_t>(which);
    if (index >= captions_.size()) {
        return emptyText();
    }
    return captions_[index];
}

const std::string& TextTable::slot(int n) const {
    if (n < 0 || n >= kTextSlotCount) {
        return emptyText();
    }
    return slots_[static_cast<std::size_t>(n)];
}

bool TextTable::isRuntimeSlot(int n) {
    for (int runtime : kRuntimeSlots) {
        if (n == runtime) {
            return true;
        }
    }
    return false;
}

void TextTable::setRuntimeSlot(int n, std::string text) {
    if (!isRuntimeSlot(n)) {
        return;
    }
    slots_[static_cast<std::size_t>(n)] = std::move(text);
}

std::string controlNameText(Language language, ControlNameText name, int number) {
    for (const ControlNameRow& row : kControlNameRows) {
        if (row.name != name) {
            continue;
        }
        std::string text = pick(language, row.english, row.simplified, row.traditional);
        const std::size_t at = text.find("%1");
        if (at != std::string::npos) {
            text.replace(at, 2, std::to_string(number));
        }
        return text;
    }
    return {};
}

int functionNameSlot(uint8_t functionCode) {
    constexpr std::size_t count = sizeof kFunctionNameSlots / sizeof kFunctionNameSlots[0];
    if (functionCode >= count) {
        return -1;
    }
    return kFunctionNameSlots[functionCode];
}

std::string functionName(const TextTable& texts, uint8_t functionCode) {
    const int slot = functionNameSlot(functionCode);
    if (slot < 0) {
        return {};
    }
    return texts.slot(slot);
}

} // namespace z417
