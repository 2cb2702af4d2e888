// The window's Apply without the window, for tests that race it against z417ctl or kill it
// half way: reads the settings files as the window does at start, gives one button of one key
// set a function and a label, and runs the same apply (upload to a simulated mouse, then the
// files) that the window's OK and Apply buttons run.
//   z417-apply-probe CONFIG_BIN A|B BUTTON FUNCTION_CODE LABEL
#include "device/DeviceLink.h"
#include "device/SimulatedMouse.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "profile/ApplySequence.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsPair.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace z417 {
namespace {

struct WindowState {
    SettingsRecord record{};
    SettingsRecord saved{};
    SettingsRecord fileRecord{};
    AssignmentLabels labels;
    AssignmentLabels fileLabels;
    std::string section;
};

bool load(const ApplyTargets& paths, WindowState& w) {
    const Result<SettingsPair> files =
        SettingsPair::open(paths.configPath, paths.strIniPath, LockMode::Shared);
    if (!files || !files->config().whole())
        return false;
    w.record = w.saved = w.fileRecord = files->record();
    w.section = labelSectionFor(files->skinValues().languageCode);
    w.labels = w.fileLabels = files->labels(w.section);
    return true;
}

int run(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: z417-apply-probe CONFIG_BIN A|B BUTTON FUNCTION LABEL\n");
        return 2;
    }
    const std::string config = argv[1];
    ApplyTargets targets{config, folderOf(config) + "/str.ini", {}};
    WindowState w;
    if (!load(targets, w)) {
        std::fprintf(stderr, "z417-apply-probe: %s: cannot be read\n", config.c_str());
        return 1;
    }
    targets.labelSection = w.section;
    const int set = argv[2][0] == 'B' ? 1 : 0;
    const int slot = std::atoi(argv[3]) - 1;
    w.record.keyFunction[set][slot] = static_cast<uint8_t>(std::atoi(argv[4]));
    w.labels.label[set][slot] = argv[5];

    SimulatedMouse mouse;
    VirtualClock clock;
    DeviceLink link(mouse, clock);
    if (!link.openMouse())
        return 1;
    link.startSession();
    ProfileBlock block{};
    const ApplyOutcome applied = applyAndConfirm(
        {w.record, w.saved, w.labels, w.fileRecord, w.fileLabels}, block, link, targets);
    for (const Message& m : applied.status.messages)
        std::fprintf(stderr, "z417-apply-probe: %s: %s\n", m.caption.c_str(), m.text.c_str());
    return applied.status ? 0 : 1;
}

} // namespace
} // namespace z417

int main(int argc, char** argv) {
    return z417::run(argc, argv);
}
