// Repeat runs as the operator has them, on the Qt front end offscreen: Start in repeat mode with the
// module capturing I/Q blocks of 1024, 8192 and 32768 pairs (FFT of the same length), with the waterfall
// off and on, for two seconds each while the operator clicks the Top of Screen control every 20 ms.
// Reported: spectra shown per second, beside the bare transform of that length timed in the same
// benchmark (shown_per_transform is the share of the transform rate the panel keeps), and how long a
// click waits from the moment it is made until its callback has run (mean and worst).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <numeric>
#include <random>
#include <vector>

#include "capture_state.h"
#include "display.h"
#include "extras.h"
#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_aux.h"
#include "qm4120_sfp_uir.h"
#include "qt_bench_program.h"
#include "ui/model.h"
#include "ui/qt/qt_main.h"
#include "userint.h"

namespace {

constexpr double RUN_SECONDS = 2.0;
constexpr int CLICK_EVERY_MS = 20;
uint32_t session = 0;

// Transforms of n points per second, the baseline of the run: only the transform is timed, each on
// fresh input.
double bareTransformRate(int n) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> re0(n), im0(n);
    for (int i = 0; i < n; ++i) re0[i] = u(rng), im0[i] = u(rng);
    std::vector<double> re, im;
    QElapsedTimer t;
    qint64 spent = 0;
    int done = 0;
    while (spent < 300'000'000) {
        re = re0;
        im = im0;
        t.start();
        FFT(re.data(), im.data(), n);
        benchmark::DoNotOptimize(re.data());
        spent += t.nsecsElapsed();
        ++done;
    }
    return done / (spent * 1e-9);
}

uint32_t triggerCount() {
    uint32_t n = 0;
    qm4120_getTriggerCount(session, &n);
    return n;
}

void BM_RepeatRunOnScreen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool waterfall = state.range(1) != 0;
    const int panel = appState.mainPanel;
    qm4120_setSampleDataType(session, 1);
    qm4120_setNumberOfSamples(session, n);
    qm4120_setFftLength(session, n);
    qm4120_setWindowFunction(session, 4);
    qm4120_setTriggerSource(session, 32);
    refreshPanelFromInstrument();
    DisplayExtras extras = getDisplayExtras();
    extras.waterfallOn = waterfall;
    setDisplayExtras(extras);
    setupView(VIEW_FFT);

    double shown = 0, clickMean = 0, clickWorst = 0, transforms = 0, cpuMsPerSpectrum = 0;
    for (auto _ : state) {
        transforms = bareTransformRate(n);
        std::vector<double> waits;
        QElapsedTimer clock;
        clock.start();
        double top = 0;
        // The operator's clicks: each is due CLICK_EVERY_MS after the one before was answered.
        qint64 due = 0;
        QTimer clicker;
        clicker.setSingleShot(true);
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            top = top == 0 ? -10 : 0;
            ui::userCommitNumber(panel, MAINPANEL_FFT_TOP_OF_SCREEN, top);
            waits.push_back((clock.nsecsElapsed() - due) * 1e-6);
            if (clock.nsecsElapsed() < RUN_SECONDS * 1e9) {
                due = clock.nsecsElapsed() + CLICK_EVERY_MS * 1'000'000;
                clicker.start(CLICK_EVERY_MS);
            }
        });
        QTimer stopper;
        stopper.setSingleShot(true);
        QObject::connect(&stopper, &QTimer::timeout,
                         [&] { CallCtrlCallback(panel, MAINPANEL_CMD_STOP, EVENT_COMMIT, 0, 0, nullptr); });
        SetCtrlVal(panel, MAINPANEL_CAPTMODE, 1);
        CallCtrlCallback(panel, MAINPANEL_CAPTMODE, EVENT_COMMIT, 0, 0, nullptr);
        const uint32_t before = triggerCount();
        const std::clock_t cpuBefore = std::clock();
        due = CLICK_EVERY_MS * 1'000'000;
        clicker.start(CLICK_EVERY_MS);
        stopper.start(static_cast<int>(RUN_SECONDS * 1000));
        clock.restart();
        CallCtrlCallback(panel, MAINPANEL_CMD_SINGLE, EVENT_COMMIT, 0, 0, nullptr);
        const double seconds = clock.nsecsElapsed() * 1e-9;
        const double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        clicker.stop();
        const uint32_t spectra = triggerCount() - before;
        shown = spectra / seconds;
        // The processor time one spectrum costs (capture by the simulated module, transform, drawing): on
        // a machine shared with other work the rate above is what is left, this is what it needs.
        cpuMsPerSpectrum = spectra ? cpuSeconds * 1e3 / spectra : 0;
        clickMean = waits.empty() ? 0 : std::accumulate(waits.begin(), waits.end(), 0.0) / waits.size();
        clickWorst = waits.empty() ? 0 : *std::max_element(waits.begin(), waits.end());
    }
    // The module itself cannot deliver blocks faster than it takes them.
    double rate = 0;
    qm4120_getDecimatedSamplingFrequency(session, &rate);
    state.counters["captures_possible_per_s"] = rate / n;
    state.counters["spectra_per_s"] = shown;
    state.counters["cpu_ms_per_spectrum"] = cpuMsPerSpectrum;
    state.counters["transforms_per_s"] = transforms;
    state.counters["shown_per_transform"] = transforms > 0 ? shown / transforms : 0;
    state.counters["click_wait_ms_mean"] = clickMean;
    state.counters["click_wait_ms_worst"] = clickWorst;
    extras.waterfallOn = 0;
    setDisplayExtras(extras);
}

BENCHMARK(BM_RepeatRunOnScreen)
    ->ArgsProduct({{1024, 8192, 32768}, {0, 1}})
    ->ArgNames({"points", "waterfall"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv, "qm4120_bench_repeat_qt", session, true);
}
