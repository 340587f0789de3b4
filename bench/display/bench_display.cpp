// Processing of one capture of 32768 I/Q pairs into the FFT view, against the driver's bare transform
// of the same length in the same run (goal: at most 2.5 times). Also a whole repeat-mode cycle on the
// simulated module (capture, processing, plot), reported as spectra per second (goal: 60 or more) next
// to the processing alone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "capture_state.h"
#include "display.h"
#include "headless.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_aux.h"
#include "userint.h"

namespace {

constexpr uint32_t PAIRS = 32768;

// The program started headless once for the whole run, with the FFT view up.
struct Program {
    ui::HeadlessFrontend fe;
    std::string dir;
    bool ok = false;
    Program() {
        char pattern[] = "/tmp/qm4120_bench_display_XXXXXX";
        if (const char* d = mkdtemp(pattern)) dir = d;
        appState.programDirOverride = dir;
        appState.splashSeconds = 0;
        char name[] = "qm4120_sfp";
        char* argv[] = {name, nullptr};
        ok = appStartup(1, argv) >= 0;
        stopRefLockMonitor();
    }
    ~Program() {
        appShutdown();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

Program& program() {
    static Program p;
    return p;
}

void fillIq(CapturedData& r) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> u(-20000, 20000);
    r = CapturedData{};
    r.sampleDataType = 1;
    r.sampleOutputFormat = 0;
    r.numIqSamples = PAIRS;
    r.numIqWords = r.numWords = 2 * PAIRS;
    r.fftLength = PAIRS;
    r.windowFunction = 4;
    r.inputSource = 0;
    r.decimatedSampleRate = 11.52e6;
    r.ifFrequency = 46.08e6;
    r.iqData16.resize(2 * PAIRS);
    for (int16_t& w : r.iqData16) w = static_cast<int16_t>(u(rng));
    r.dataValid = 1;
}

void BM_BareTransform32768(benchmark::State& state) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> re(PAIRS), im(PAIRS);
    for (uint32_t i = 0; i < PAIRS; ++i) re[i] = u(rng), im[i] = u(rng);
    for (auto _ : state) {
        FFT(re.data(), im.data(), PAIRS);
        benchmark::ClobberMemory();
    }
}

void BM_ProcessOneCapture32768(benchmark::State& state) {
    if (!program().ok) {
        state.SkipWithError("the program did not start");
        return;
    }
    setupView(VIEW_FFT);
    fillIq(capturedData);
    for (auto _ : state) {
        prepareFftInput(capturedData);
        displayCapturedData(capturedData);
        benchmark::DoNotOptimize(fftTraceLevelDbm.data());
    }
}

// One repeat-mode cycle: the module captures 32768 pairs, the panel shows their spectrum.
void BM_RepeatCycle32768(benchmark::State& state) {
    if (!program().ok) {
        state.SkipWithError("the program did not start");
        return;
    }
    qm4120_setModelCodePxiKorvo(0x4A20);
    uint32_t vi = 0;
    if (qm4120_init("0x4A20", 0, 1, &vi) < 0) {
        state.SkipWithError("no module");
        return;
    }
    qm4120_setSampleDataType(vi, 1);
    qm4120_setNumberOfSamples(vi, PAIRS);
    qm4120_setFftLength(vi, PAIRS);
    setupView(VIEW_FFT);
    fillIq(capturedData);
    for (auto _ : state) {
        qm4120_captMem(vi, 2 * PAIRS, capturedData.iqData16.data());
        prepareFftInput(capturedData);
        displayCapturedData(capturedData);
        ProcessSystemEvents();
    }
    state.counters["spectra_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    qm4120_close(vi);
}

}  // namespace

BENCHMARK(BM_BareTransform32768)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessOneCapture32768)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepeatCycle32768)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_MAIN();
