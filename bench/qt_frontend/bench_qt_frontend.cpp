// What the Qt front end costs for the program's three large displays, each measured next to the same
// data held in a plain std::vector in the same run:
//  - filling the 1,024 data cells of the channel grid (128 channels x 8 columns) and repainting it;
//  - replacing a 32768-point trace on a graph and redrawing it;
//  - showing a numeric list of 1,000,000 samples (set, scroll to the middle, repaint).
// Counters: time per operation of both, peak memory growth of both (VmHWM after a reset of the peak),
// and the ratios front end / vector.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QApplication>
#include <QStyleFactory>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ui/model.h"
#include "ui/qt/qt_frontend.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string BENCH_RESOURCE = R"JSON({
  "file": "bench.uir",
  "panels": [
    { "name": "PANEL", "title": "Front end benchmark", "top": 0, "left": 0, "width": 1100, "height": 520,
      "controls": [
        { "name": "GRID", "kind": "grid", "rows": 129, "cols": 8, "top": 10, "left": 10, "width": 420,
          "height": 500, "colWidths": [40, 90, 60, 60, 60, 60, 60, 60] },
        { "name": "GRAPH", "kind": "graph", "label": "FFT Spectrum", "xName": "Frequency (MHz)",
          "yName": "Power (dBm)", "top": 64, "left": 440, "width": 452, "height": 432 },
        { "name": "LIST", "kind": "listBox", "dataType": "int", "label": "Capture Data", "top": 64,
          "left": 901, "width": 150, "height": 430 } ] } ]
})JSON";

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return 0;
}

// Peak resident memory growth of one piece of work: the kernel's high-water mark is reset first (Linux
// 4.0 and later), so the figure belongs to this work and not to what ran before.
class PeakMemory {
  public:
    PeakMemory() {
        // Freed heap stays resident unless handed back; new work would reuse it and show no growth.
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = statusKb("VmRSS");
    }
    long growthKb() const { return std::max(0L, statusKb("VmHWM") - start_); }

  private:
    long start_;
};

struct Fixture {
    qmqt::QtFrontend frontend;
    int panel = 0, grid = 0, graph = 0, list = 0;

    Fixture() {
        ui::setFrontend(&frontend);
        ui::setResourceOverride("bench.uir", &BENCH_RESOURCE);
        panel = LoadPanel(0, "bench.uir", 1);
        DisplayPanel(panel);
        for (const auto& c : ui::findPanel(panel)->controls) {
            if (c->constName == "GRID") grid = c->id;
            if (c->constName == "GRAPH") graph = c->id;
            if (c->constName == "LIST") list = c->id;
        }
        frontend.processDrawEvents();
    }
    ~Fixture() {
        DiscardPanel(panel);
        frontend.processDrawEvents();
        ui::setFrontend(nullptr);
    }
};

Fixture* fixture = nullptr;

// Times `work` over enough repetitions to be stable; nanoseconds per repetition.
template <class F>
double timePerOp(F&& work, int repetitions) {
    const auto t0 = Clock::now();
    for (int i = 0; i < repetitions; ++i) work();
    return std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / repetitions;
}

void report(benchmark::State& state, double frontendNs, long frontendKb, double vectorNs, long vectorKb) {
    state.counters["frontend_ns"] = frontendNs;
    state.counters["vector_ns"] = vectorNs;
    state.counters["time_ratio"] = vectorNs > 0 ? frontendNs / vectorNs : 0;
    state.counters["frontend_peak_kB"] = static_cast<double>(frontendKb);
    state.counters["vector_peak_kB"] = static_cast<double>(vectorKb);
    state.counters["mem_ratio"] = vectorKb > 0 ? static_cast<double>(frontendKb) / vectorKb : 0;
}

std::string cellText(int channel, int col, int round) {
    switch (col) {
        case 0:
            return std::to_string(channel);
        case 1:
            return std::to_string(2000000000LL + 1000000LL * (channel + round));
        case 2:
            return (channel + round) % 2 ? "Below" : "Above";
        case 3:
            return "Auto";
        case 4:
        case 5:
            return std::to_string(-(channel + round) % 50) + ".00";
        default:
            return std::to_string((channel + round) % 31);
    }
}

void BM_ChannelGridFill(benchmark::State& state) {
    Fixture& f = *fixture;
    int round = 0;
    // Baseline: the same 1,024 texts written into a vector.
    std::vector<std::string> cells(128 * 8);
    PeakMemory vectorPeak;
    const double vectorNs = timePerOp(
        [&] {
            ++round;
            for (int ch = 0; ch < 128; ++ch)
                for (int col = 0; col < 8; ++col)
                    cells[static_cast<size_t>(ch) * 8 + col] = cellText(ch, col, round);
            benchmark::DoNotOptimize(cells.data());
        },
        200);
    const long vectorKb = vectorPeak.growthKb();

    PeakMemory frontendPeak;
    double totalNs = 0;
    for (auto _ : state) {
        ++round;
        const auto t0 = Clock::now();
        for (int ch = 0; ch < 128; ++ch)
            for (int col = 0; col < 8; ++col)
                GridSetCellText(f.panel, f.grid, ch + 1, col, cellText(ch, col, round).c_str());
        f.frontend.processDrawEvents();
        totalNs += std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    }
    report(state, totalNs / static_cast<double>(state.iterations()), frontendPeak.growthKb(), vectorNs,
           vectorKb);
}
BENCHMARK(BM_ChannelGridFill)->Unit(benchmark::kMicrosecond);

void BM_TraceReplace32768(benchmark::State& state) {
    Fixture& f = *fixture;
    SetAxisScalingMode(f.panel, f.graph, VAL_LEFT_YAXIS, VAL_MANUAL, -140.0, 0.0);
    std::vector<std::vector<double>> traces(4, std::vector<double>(32768));
    for (size_t t = 0; t < traces.size(); ++t)
        for (size_t i = 0; i < 32768; ++i)
            traces[t][i] = -90.0 + 10.0 * std::sin(static_cast<double>(i * (t + 1)) / 300.0);
    size_t which = 0;

    // Baseline: the trace copied into the vector that holds the displayed levels.
    std::vector<double> shown;
    PeakMemory vectorPeak;
    const double vectorNs = timePerOp(
        [&] {
            const auto& y = traces[which++ % traces.size()];
            shown.assign(y.begin(), y.end());
            benchmark::DoNotOptimize(shown.data());
        },
        2000);
    const long vectorKb = vectorPeak.growthKb();

    PeakMemory frontendPeak;
    double totalNs = 0;
    for (auto _ : state) {
        const auto& y = traces[which++ % traces.size()];
        const auto t0 = Clock::now();
        DeleteGraphPlot(f.panel, f.graph, -1, VAL_DELAYED_DRAW);
        PlotY(f.panel, f.graph, y.data(), static_cast<int>(y.size()), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID,
              VAL_GREEN);
        f.frontend.processDrawEvents();
        totalNs += std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    }
    report(state, totalNs / static_cast<double>(state.iterations()), frontendPeak.growthKb(), vectorNs,
           vectorKb);
}
BENCHMARK(BM_TraceReplace32768)->Unit(benchmark::kMicrosecond);

void BM_NumericListMillion(benchmark::State& state) {
    Fixture& f = *fixture;
    constexpr int COUNT = 1'000'000;
    std::vector<short> samples(COUNT);
    for (int i = 0; i < COUNT; ++i)
        samples[static_cast<size_t>(i)] = static_cast<short>((i * 37) % 65536 - 32768);
    auto label = [&samples](int i) { return std::to_string(samples[static_cast<size_t>(i)]); };

    // Baseline: one label per sample held in a vector, the way a list with an item per entry stores it.
    PeakMemory vectorPeak;
    std::vector<std::string> labels;
    const double vectorNs = timePerOp(
        [&] {
            labels.clear();
            labels.reserve(COUNT);
            for (int i = 0; i < COUNT; ++i) labels.push_back(label(i));
            benchmark::DoNotOptimize(labels.data());
        },
        3);
    const long vectorKb = vectorPeak.growthKb();
    labels.clear();
    labels.shrink_to_fit();

    PeakMemory frontendPeak;
    double totalNs = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        SetListItemSource(f.panel, f.list, COUNT, label);
        SetCtrlIndex(f.panel, f.list, COUNT / 2);
        f.frontend.processDrawEvents();
        totalNs += std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    }
    report(state, totalNs / static_cast<double>(state.iterations()), frontendPeak.growthKb(), vectorNs,
           vectorKb);
}
BENCHMARK(BM_NumericListMillion)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    {
        Fixture f;
        if (f.panel <= 0) {
            std::fprintf(stderr, "benchmark panel did not load: %s\n", GetUILErrorString(f.panel));
            return 1;
        }
        fixture = &f;
        benchmark::RunSpecifiedBenchmarks();
        fixture = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
