#include "dialogs/DialogTexts.h"

#include <array>

namespace z417 {

DialogLanguage dialogLanguage(const std::string& code) {
    if (code == "CHS")
        return DialogLanguage::SimplifiedChinese;
    if (code == "CHT")
        return DialogLanguage::TraditionalChinese;
    return DialogLanguage::English;
}

QString DialogText::in(DialogLanguage language) const {
    switch (language) {
    case DialogLanguage::SimplifiedChinese:
        return QString::fromUtf8(chs);
    case DialogLanguage::TraditionalChinese:
        return QString::fromUtf8(cht);
    case DialogLanguage::English:
        break;
    }
    return QString::fromUtf8(english);
}

namespace dialogText {
const DialogText ok{"确定", "確定", "OK"};
const DialogText cancel{"取消", "取消", "Cancel"};
const DialogText timesLabel{"次数", "次數", "Times"};
const DialogText makeTimeLabel{"按下时间", "按下時間", "Make Time"};
const DialogText breakTimeLabel{"弹起时间", "彈起時間", "Break Time"};
const DialogText timeNote{"时间(数值范围5-255)", "時間(數值範圍5-255)", "Time (value range 5-255)"};
const DialogText timesNote{
    "次数(数值范围0-127，0表示按键放开火力键结束)", "次數(數值範圍0-127，0表示按鍵放開火力鍵結束)",
    "Times (value range 0-127,0 indicates fire key to end when the key released)"};
const DialogText singleKeyPrompt{"请输入一个按键", "請輸入一個按鍵", "Please enter a key"};
const DialogText colourHint{"请点击设置UI文本颜色", "請點擊設置UI文本顏色",
                            "Please click to set the UI text color"};
} // namespace dialogText

const DialogText& editCommandText(EditCommand command) {
    static const std::array<DialogText, kEditCommandCount> texts = {{
        {"撤销(&U)", "撤銷(&U)", "&Undo"},
        {"重做(&R)", "重做(&R)", "&Redo"},
        {"剪切(&T)", "剪切(&T)", "Cu&t"},
        {"复制(&C)", "複製(&C)", "&Copy"},
        {"粘贴(&P)", "粘貼(&P)", "&Paste"},
        {"删除(&D)", "刪除(&D)", "&Delete"},
        {"全选(&A)", "全選(&A)", "Select &All"},
    }};
    return texts[static_cast<std::size_t>(command)];
}

namespace {

const std::array<DialogText, 8> kHotKeys{{
    {"复制", "複製", "Copy"},
    {"剪切", "剪切", "Cut"},
    {"粘贴", "粘貼", "Paste"},
    {"全选", "全選", "Select all"},
    {"打开", "打開", "Open"},
    {"新建", "新建", "New"},
    {"保存", "保存", "Save"},
    {"撤销", "撤銷", "Undo"},
}};

const std::array<DialogText, 7> kMediaKeys{{
    {"下一首", "下一首", "Next"},
    {"上一首", "上一首", "Previous"},
    {"停止", "停止", "Stop"},
    {"播放/暂停", "播放/暫停", "Play/Pause"},
    {"静音", "靜音", "Mute"},
    {"音量+", "音量+", "Vol+"},
    {"音量-", "音量-", "Vol-"},
}};

const std::array<DialogText, 9> kLaunchKeys{{
    {"打开多媒体播放器", "打開多媒體播放器", "Multimedia Player"},
    {"邮件", "郵件", "Mail"},
    {"计算器", "計算器", "Calculator"},
    {"我的电脑", "我的電腦", "My Computer"},
    {"浏览器-搜索", "瀏覽器-搜索", "Browser-Search"},
    {"浏览器-主页", "瀏覽器-主頁", "Browser-Home"},
    {"浏览器-后退", "瀏覽器-後退", "Browser-Back"},
    {"浏览器-前进", "瀏覽器-前進", "Browser-Forward"},
    {"浏览器-刷新", "瀏覽器-刷新", "Browser-Refresh"},
}};

template <std::size_t N>
QStringList namesIn(const std::array<DialogText, N>& texts, DialogLanguage language) {
    QStringList names;
    for (const DialogText& t : texts)
        names << t.in(language);
    return names;
}

} // namespace

QStringList hotKeyNames(DialogLanguage language) {
    return namesIn(kHotKeys, language);
}
QStringList mediaKeyNames(DialogLanguage language) {
    return namesIn(kMediaKeys, language);
}
QStringList launchKeyNames(DialogLanguage language) {
    return namesIn(kLaunchKeys, language);
}

} // namespace z417
