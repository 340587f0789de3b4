// The waterfall under the FFT graph (see extras.h): one row per captured trace, newest on top, across
// the same frequency axis as the spectrum, the level of each cell as colour.
//
// A row covers the part of the trace the spectrum shows. Long traces are narrowed to at most
// WATERFALL_MAX_COLUMNS columns, each the highest level of the points it covers, so a narrow tone keeps
// its full level however many points fall into a column (a screen has fewer pixels than a 32768-point
// transform has bins). Columns run from the lowest frequency up whichever way the trace runs.
#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

#include "app_state.h"
#include "display.h"
#include "extras.h"
#include "userint.h"

namespace {

struct Waterfall {
    std::vector<std::vector<double>> rows;  // newest first
    int columns = 0;
    double startMHz = 0;  // the axis the rows were taken on
    double stopMHz = 0;
};

Waterfall waterfall;

}  // namespace

const std::vector<std::vector<double>>& waterfallRows() {
    return waterfall.rows;
}

int waterfallColumns() {
    return waterfall.columns;
}

void clearWaterfallRows() {
    waterfall.rows.clear();
    redrawWaterfall();
}

void resetWaterfall() {
    waterfall = Waterfall{};
}

void trimWaterfallRows() {
    const size_t keep = static_cast<size_t>(std::max(1, getDisplayExtras().waterfallHistory));
    if (waterfall.rows.size() > keep) waterfall.rows.resize(keep);
}

void addWaterfallRow() {
    uint32_t first = 0, count = 0;
    plottedTraceRange(&first, &count);
    const std::vector<double>& level = lastCapturedTraceDbm();
    if (count == 0 || first + count > level.size() || first + count > fftTraceFreqMHz.size()) return;
    const int columns = static_cast<int>(std::min<uint32_t>(count, WATERFALL_MAX_COLUMNS));
    // A new frequency axis (tuning, span, FFT length) starts the history afresh.
    if (columns != waterfall.columns || fftStartFreqMHz != waterfall.startMHz ||
        fftStopFreqMHz != waterfall.stopMHz)
        waterfall.rows.clear();
    waterfall.columns = columns;
    waterfall.startMHz = fftStartFreqMHz;
    waterfall.stopMHz = fftStopFreqMHz;

    const bool descending = fftTraceFreqMHz[first] > fftTraceFreqMHz[first + count - 1];
    std::vector<double> row(static_cast<size_t>(columns), -std::numeric_limits<double>::infinity());
    for (uint32_t k = 0; k < count; ++k) {
        const uint32_t point = descending ? first + count - 1 - k : first + k;
        const size_t column = static_cast<size_t>(uint64_t(k) * columns / count);
        row[column] = std::max(row[column], level[point]);
    }
    waterfall.rows.insert(waterfall.rows.begin(), std::move(row));
    trimWaterfallRows();
    redrawWaterfall();
}

void redrawWaterfall() {
    const int graph = displayView.waterfallGraph;
    if (graph <= 0) return;
    const int panel = getMainPanel();
    DeleteGraphPlot(panel, graph, -1, VAL_DELAYED_DRAW);
    const int history = std::max(1, getDisplayExtras().waterfallHistory);
    // Row r spans r to r + 1 traces ago; the axis is reversed so that time runs downwards.
    SetAxisScalingMode(panel, graph, VAL_LEFT_YAXIS, VAL_MANUAL, 0, history);
    const double top = fftTopDbm();
    const double bottom = top - fftRangeDb();
    const int columns = waterfall.columns;
    if (columns <= 0 || waterfall.rows.empty() || !(waterfall.startMHz < waterfall.stopMHz)) return;
    SetAxisScalingMode(panel, graph, VAL_XAXIS, VAL_MANUAL, waterfall.startMHz, waterfall.stopMHz);
    // Rows not taken yet stay empty (NaN), so the picture keeps its place while the history fills.
    std::vector<double> cells(static_cast<size_t>(columns) * static_cast<size_t>(history),
                              std::numeric_limits<double>::quiet_NaN());
    for (size_t r = 0; r < waterfall.rows.size() && r < static_cast<size_t>(history); ++r)
        std::copy(waterfall.rows[r].begin(), waterfall.rows[r].end(),
                  cells.begin() + static_cast<ptrdiff_t>(r * columns));
    const double width = (waterfall.stopMHz - waterfall.startMHz) / columns;
    PlotColorMap(panel, graph, std::move(cells), columns, history, waterfall.startMHz + width / 2,
                 waterfall.stopMHz - width / 2, 0.5, history - 0.5, bottom, top);
}
