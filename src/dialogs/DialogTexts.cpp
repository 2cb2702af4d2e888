#include "dialogs/DialogTexts.h"

#include "assign/FunctionCatalogue.h"
#include "assign/Texts.h"
#include "ui/TextDraw.h"

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

Language catalogueLanguage(DialogLanguage language) {
    switch (language) {
    case DialogLanguage::SimplifiedChinese:
        return Language::SimplifiedChinese;
    case DialogLanguage::TraditionalChinese:
        return Language::TraditionalChinese;
    case DialogLanguage::English:
        break;
    }
    return Language::English;
}

QStringList names(ParameterList list, DialogLanguage language) {
    return toQStringList(parameterNames(list, catalogueLanguage(language)));
}

} // namespace

QStringList hotKeyNames(DialogLanguage language) {
    return names(ParameterList::HotKey, language);
}
QStringList mediaKeyNames(DialogLanguage language) {
    return names(ParameterList::Multimedia, language);
}
QStringList launchKeyNames(DialogLanguage language) {
    return names(ParameterList::Windows, language);
}

} // namespace z417
