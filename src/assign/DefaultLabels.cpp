#include "assign/DefaultLabels.h"

#include "assign/KeyTables.h"

namespace z417 {

AssignmentLabels defaultAssignmentLabels(const TextTable& texts) {
    const std::string names[kSlotCount] = {
        functionName(texts, kFnLeftClick), functionName(texts, kFnRightClick),
        functionName(texts, kFnMidClick),  functionName(texts, kFnForward),
        functionName(texts, kFnBackward),  dpiSubList()[2],
        texts.slot(TextId::RgbOnOff),      functionName(texts, kFnKeyOff)};
    AssignmentLabels labels;
    for (int set = 0; set < kKeySetCount; ++set)
        for (int s = 0; s < kSlotCount; ++s)
            labels.label[set][s] = names[s];
    return labels;
}

} // namespace z417
