// Full refresh of the channel table: the module is read for every field of the 128 channels and the grid
// is filled. Baseline in the same run: the same driver reads in a plain loop, with nothing shown. The
// ratio of the two is the cost the table itself adds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "app_state.h"
#include "headless.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_sfp.h"
#include "userint.h"

namespace {

constexpr uint16_t MODEL = 0x4B20;

// A booted module and a loaded channel table for the life of the process.
struct Program {
    ui::HeadlessFrontend fe;
    bool ready = false;
    Program() {
        qm4120_setModelCodePxiKorvo(MODEL);
        uint32_t session = 0;
        const int32_t status = qm4120_init("0x4B20", 0, 1, &session);
        if (status < 0) {
            std::fprintf(stderr, "opening the simulated module failed: %d\n", static_cast<int>(status));
            return;
        }
        appState.sessionHandle = session;
        appState.instrumentBooted = 1;
        registerAllCallbacks();  // a panel binds its callback names when it loads
        ready = chanPanelInit() == 1;
        if (!ready) std::fprintf(stderr, "the channel table did not load\n");
    }
};

Program& program() {
    static Program p;
    return p;
}

// The reads a refresh needs: the seven fields of every channel, and the unit, input source and list
// address source once.
void bareReads(uint32_t session) {
    uint16_t word = 0;
    qm4120_getInputLevelDimensions(session, &word);
    qm4120_getInputSource(session, &word);
    qm4120_getListAddrSource(session, &word);
    for (uint16_t ch = 0; ch < CHANNEL_COUNT; ++ch) {
        double value = 0.0;
        int32_t dB = 0;
        qm4120_getRfFrequencyChan(session, &value, ch);
        qm4120_getLoOffsetChan(session, &value, ch);
        qm4120_getFrontEndConfigModeChan(session, &word, ch);
        qm4120_getRfInputLevelChan(session, &value, ch);
        qm4120_getIfInputLevelChan(session, &value, ch);
        qm4120_getRfAttenuationChan(session, &dB, ch);
        qm4120_getIfAttenuationChan(session, &dB, ch);
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(dB);
    }
}

void BM_BareDriverReads(benchmark::State& state) {
    if (!program().ready) {
        state.SkipWithError("no module or no channel table");
        return;
    }
    for (auto _ : state) bareReads(getQM4120id());
}

void BM_FullTableRefresh(benchmark::State& state) {
    if (!program().ready) {
        state.SkipWithError("no module or no channel table");
        return;
    }
    for (auto _ : state) chanPanelUpdateAllFromHw();
}

BENCHMARK(BM_BareDriverReads)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTableRefresh)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
