#include "dialogs/DialogTexts.h"

#include "assign/FunctionCatalogue.h"
#include "assign/Texts.h"
#include "ui/TextDraw.h"

#include <array>

namespace z417 {

QString DialogText::in(Language language) const {
    switch (language) {
    case Language::SimplifiedChinese:
        return QString::fromUtf8(chs);
    case Language::TraditionalChinese:
        return QString::fromUtf8(cht);
    case Language::English:
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

QStringList names(ParameterList list, Language language) {
    return toQStringList(parameterNames(list, language));
}

} // namespace

QStringList hotKeyNames(Language language) {
    return names(ParameterList::HotKey, language);
}
QStringList mediaKeyNames(Language language) {
    return names(ParameterList::Multimedia, language);
}
QStringList launchKeyNames(Language language) {
    return names(ParameterList::Windows, language);
}

} // namespace z417
