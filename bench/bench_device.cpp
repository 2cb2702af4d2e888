// One upload and one read on the simulated mouse with the machine's clock. The protocol
// itself waits 520 ms per upload (20 ms + 5 x 100 ms) and 500 ms per read (5 x 100 ms); the
// counters give the measured time as a ratio to those waits, so 1.00 means no overhead.
#include "device/DeviceLink.h"
#include "device/SimulatedMouse.h"

#include <benchmark/benchmark.h>

#include <string>

namespace z417 {
namespace {

constexpr double kUploadWaitMs = 520.0;
constexpr double kReadWaitMs = 500.0;

struct Rig {
    SystemClock clock;
    SimulatedMouse mouse{0, 1, 0};
    DeviceLink link{mouse, clock};
    ProfileBlock block{};
    std::string firstFailure; // caption of the first failed operation

    void note(const Status& status) {
        if (!status && firstFailure.empty())
            firstFailure = status.messages.empty() ? "failed" : status.messages.front().caption;
    }

    explicit Rig(benchmark::State& state) {
        if (Status opened = link.openMouse(); !opened) {
            state.SkipWithError(opened.reason.c_str());
            return;
        }
        link.startSession();
    }
};

void reportRatio(benchmark::State& state, const Rig& rig, double totalMs, double waitMs,
                 const char* name) {
    if (state.iterations() == 0)
        return; // skipped: the mouse could not be opened
    if (!rig.firstFailure.empty()) {
        state.SkipWithError(rig.firstFailure.c_str());
        return;
    }
    const double perRunMs = totalMs / static_cast<double>(state.iterations());
    state.counters["ms_per_run"] = perRunMs;
    state.counters[name] = perRunMs / waitMs;
}

void BM_Upload(benchmark::State& state) {
    Rig rig(state);
    double totalMs = 0.0;
    for (auto _ : state) {
        const double start = rig.clock.nowMs();
        rig.note(rig.link.WriteOperation(rig.block));
        totalMs += rig.clock.nowMs() - start;
    }
    reportRatio(state, rig, totalMs, kUploadWaitMs, "ratio_to_520ms");
}

void BM_Read(benchmark::State& state) {
    Rig rig(state);
    double totalMs = 0.0;
    for (auto _ : state) {
        const double start = rig.clock.nowMs();
        rig.note(rig.link.ReadOperation(rig.block));
        totalMs += rig.clock.nowMs() - start;
    }
    reportRatio(state, rig, totalMs, kReadWaitMs, "ratio_to_500ms");
}

BENCHMARK(BM_Upload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

} // namespace
} // namespace z417

BENCHMARK_MAIN();
