// Writes the default "config.bin" and "str.ini" that are installed beside the utility.
// Usage: z417-gen-defaults OUTDIR
#include "assign/DefaultLabels.h"
#include "assign/Texts.h"
#include "platform/AtomicFile.h"
#include "profile/DpiCodes.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsRecord.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace z417;

namespace {

SettingsRecord defaultRecord() {
    SettingsRecord r{};
    r.reportRate = 1; // 1000 Hz
    // Stages 1..6 on at 400 .. 2400 DPI, each in its own colour; 7 and 8 off.
    static const uint8_t colours[8][3] = {{255, 40, 40},   {255, 150, 0},  {255, 230, 0},
                                          {40, 220, 80},   {0, 170, 255},  {170, 70, 255},
                                          {255, 255, 255}, {255, 255, 255}};
    for (int j = 0; j < kDpiStageCount; ++j) {
        r.dpiLevel[j] = static_cast<uint8_t>(j < 6 ? j : 0);
        r.dpiStageEnabled[j] = j < 6 ? 1 : 0;
        std::memcpy(r.dpiColor[j], colours[j], 3);
    }
    r.lightMode = 1;       // Standard
    r.lightBrightness = 9; // 100%
    r.breathSpeed = 0;
    r.breathEffect = 1;
    r.activeKeySet = 0;
    r.fireMakeTime = 32;
    r.fireBreakTime = 32;
    r.snipeDpi = dpiCode(0, 1, true); // 800 DPI
    restoreDefaultKeys(r);
    for (int set = 0; set < kKeySetCount; ++set)
        for (int s = 0; s < kSlotCount; ++s) {
            r.fireKeyCode[set][s] = 0xF0;
            r.fireTimes[set][s] = 1;
        }
    return r;
}

std::string defaultLabelsSection(Language language) {
    const AssignmentLabels labels = defaultAssignmentLabels(TextTable(language));
    std::string out = "[" + labelSectionName(language) + "]\n";
    for (int set = 0; set < kKeySetCount; ++set)
        for (int s = 0; s < kSlotCount; ++s)
            out += std::string(kLabelKeys[set][s]) + "=" + labels.label[set][s] + "\n";
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: z417-gen-defaults OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];

    const SettingsRecord record = defaultRecord();
    std::string config(1, '\0'); // first-run flag 0: the first start writes the default labels
    config.append(reinterpret_cast<const char*>(record.bytes()), sizeof record);

    std::string ini = "[Skins]\nLan=EN\nPath=Default\nRColor=230\nGColor=232\nBColor=240\n";
    for (Language l :
         {Language::SimplifiedChinese, Language::TraditionalChinese, Language::English})
        ini += "\n" + defaultLabelsSection(l);

    for (const auto& [name, content] :
         {std::pair<std::string, const std::string&>{"config.bin", config}, {"str.ini", ini}}) {
        const std::string path = dir + "/" + name;
        if (const Status written = writeFileAtomically(path, content); !written) {
            std::fprintf(stderr, "z417-gen-defaults: cannot write %s: %s\n", path.c_str(),
                         std::strerror(written.systemError));
            return 1;
        }
    }
    return 0;
}
