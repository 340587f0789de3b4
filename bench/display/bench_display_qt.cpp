// Repeat-mode spectra on the Qt front end, offscreen: each cycle the simulated module captures 32768
// I/Q pairs, the panel makes and plots their spectrum, the screen is brought up to date and the event
// loop answers one click the operator made meanwhile (a new top of screen). Reported as spectra per
// second (goal: 60 or more) and clicks answered per cycle, next to the same cycle without drawing,
// measured in the same run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "capture_state.h"
#include "display.h"
#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_aux.h"
#include "qm4120_sfp_uir.h"
#include "qt_bench_program.h"
#include "ui/model.h"
#include "ui/qt/qt_main.h"
#include "userint.h"

namespace {

constexpr uint32_t PAIRS = 32768;
uint32_t session = 0;

void prepareModule() {
    qm4120_setSampleDataType(session, 1);
    qm4120_setNumberOfSamples(session, PAIRS);
    qm4120_setFftLength(session, PAIRS);
    qm4120_setWindowFunction(session, 4);
    setupView(VIEW_FFT);
    capturedData = CapturedData{};
    capturedData.sampleDataType = 1;
    capturedData.numIqSamples = PAIRS;
    capturedData.numIqWords = capturedData.numWords = 2 * PAIRS;
    capturedData.fftLength = PAIRS;
    capturedData.windowFunction = 4;
    capturedData.inputSource = 1;
    qm4120_getDecimatedSamplingFrequency(session, &capturedData.decimatedSampleRate);
    capturedData.iqData16.assign(2 * PAIRS, 0);
    capturedData.dataValid = 1;
}

void cycle() {
    qm4120_captMem(session, 2 * PAIRS, capturedData.iqData16.data());
    prepareFftInput(capturedData);
    displayCapturedData(capturedData);
}

void BM_RepeatCycleWithoutDrawing(benchmark::State& state) {
    prepareModule();
    for (auto _ : state) cycle();
    state.counters["spectra_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RepeatCycleOnScreen(benchmark::State& state) {
    prepareModule();
    const int panel = appState.mainPanel;
    int clicks = 0, answered = 0;
    double top = 0;
    for (auto _ : state) {
        // The operator's click arrives through the event loop while the capture runs.
        ++clicks;
        top = top == 0 ? -10 : 0;
        const double value = top;
        QMetaObject::invokeMethod(
            qApp,
            [&answered, panel, value] {
                if (ui::userCommitNumber(panel, MAINPANEL_FFT_TOP_OF_SCREEN, value) == 0) ++answered;
            },
            Qt::QueuedConnection);
        cycle();
        ProcessSystemEvents();
        ProcessDrawEvents();
    }
    state.counters["spectra_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["clicks_answered_per_cycle"] = clicks ? double(answered) / clicks : 0;
}

BENCHMARK(BM_RepeatCycleWithoutDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RepeatCycleOnScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv, "qm4120_bench_display_qt", session, false);
}
