// What the settings files add to OK and Apply: the whole apply (the folder's lock, reading and
// merging both files, the upload, the pair written with its flushes) against the upload alone,
// on the simulated mouse with the machine's clock, all in the same run. The protocol's own
// waits are 520 ms per upload; files_over_520ms is the share the files add to them, and
// pair_over_520ms what the pair costs beyond saving the two files one after the other (each
// replaced atomically on its own, as they were saved before there was a pair).
#include "device/DeviceLink.h"
#include "device/SimulatedMouse.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "profile/ApplySequence.h"
#include "profile/SettingsPair.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace z417 {
namespace {

constexpr double kUploadWaitMs = 520.0;

std::string makeSettingsFolder() {
    char pattern[] = "/tmp/z417-bench-apply-XXXXXX";
    const std::string folder = mkdtemp(pattern) ? pattern : "/tmp";
    std::ofstream(folder + "/config.bin", std::ios::binary) << std::string(220, '\1');
    std::ofstream ini(folder + "/str.ini", std::ios::binary);
    ini << "[Skins]\nLan=EN\nPath=Default\n\n[Setting-EN]\n";
    for (int i = 1; i <= 8; ++i)
        ini << "Item" << i << "=Forward\nItem" << i << "3=Backward\n";
    return folder;
}

void BM_ApplyBesideUpload(benchmark::State& state) {
    SystemClock clock;
    SimulatedMouse mouse{0, 1, 0};
    DeviceLink link{mouse, clock};
    if (!link.openMouse()) {
        state.SkipWithError("the simulated mouse cannot be opened");
        return;
    }
    link.startSession();
    const std::string folder = makeSettingsFolder();
    const ApplyTargets targets{folder + "/config.bin", folder + "/str.ini", "Setting-EN"};
    SettingsRecord record{}, confirmed{}, fileRecord{};
    AssignmentLabels labels, fileLabels;
    ProfileBlock block{};
    // The first upload also reads the mouse's image; it is not part of either figure.
    bool failed = !uploadSettings(record, block, link).ok;
    double uploadMs = 0.0, applyMs = 0.0, separateMs = 0.0;
    for (auto _ : state) {
        double start = clock.nowMs();
        failed |= !uploadSettings(record, block, link).ok;
        uploadMs += clock.nowMs() - start;
        record.reportRate = static_cast<uint8_t>(record.reportRate ^ 1); // a change to keep
        labels.label[0][3] = record.reportRate ? "Forward" : "Key Off";
        start = clock.nowMs();
        failed |= !applyAndConfirm({record, confirmed, labels, fileRecord, fileLabels}, block, link,
                                   targets)
                       .status.ok;
        applyMs += clock.nowMs() - start;
        start = clock.nowMs();
        failed |= !uploadSettings(record, block, link).ok;
        failed |= !writeFileAtomically(targets.configPath, std::string(220, '\2')).ok;
        failed |= !writeProfileStrings(targets.strIniPath, "Setting-EN",
                                       {{"Item4", record.reportRate ? "Backward" : "Key Off"}})
                       .ok;
        separateMs += clock.nowMs() - start;
    }
    std::system(("rm -rf '" + folder + "'").c_str());
    if (failed) {
        state.SkipWithError("an upload or a save failed");
        return;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["upload_ms"] = uploadMs / runs;
    state.counters["apply_ms"] = applyMs / runs;
    state.counters["apply_over_upload"] = applyMs / uploadMs;
    state.counters["files_over_520ms"] = (applyMs - uploadMs) / runs / kUploadWaitMs;
    state.counters["pair_over_520ms"] = (applyMs - separateMs) / runs / kUploadWaitMs;
}

BENCHMARK(BM_ApplyBesideUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

} // namespace
} // namespace z417

BENCHMARK_MAIN();
