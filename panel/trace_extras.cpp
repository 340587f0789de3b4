// Power averaging and max hold of the FFT trace (see extras.h).
//
// Averaging works on power, not on dB: each level becomes mW, the running mean is kept in mW and shown
// again in dBm, so a noise floor averages to its true mean power rather than to the lower mean of its
// logarithm. Up to N traces the mean is the plain mean of those seen; after that each new trace enters
// with weight 1/N, so the average keeps following a signal that changes. Max hold keeps, per point, the
// highest level shown (after averaging, when both are on).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app_state.h"
#include "display.h"
#include "extras.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

// The axis the held traces belong to: a trace on another axis starts them afresh.
struct TraceAxis {
    size_t points = 0;
    double firstMHz = 0;
    double lastMHz = 0;
    bool operator==(const TraceAxis&) const = default;
};

struct Held {
    TraceAxis axis;
    std::vector<double> averageMw;  // running mean power per point
    int averaged = 0;               // traces in it
    std::vector<double> maxDbm;     // highest level per point; empty: none yet
    std::vector<double> shownDbm;   // the trace as last shown
    std::vector<double> rawDbm;     // the last capture's own trace
    bool fresh = false;             // a capture waits to enter the average
};

Held held;

TraceAxis axisOfTrace() {
    TraceAxis a;
    a.points = std::min(fftTraceFreqMHz.size(), fftTraceLevelDbm.size());
    if (a.points > 0) {
        a.firstMHz = fftTraceFreqMHz.front();
        a.lastMHz = fftTraceFreqMHz[a.points - 1];
    }
    return a;
}

void forgetTraces() {
    held.averageMw.clear();
    held.averaged = 0;
    held.maxDbm.clear();
    held.shownDbm.clear();
}

// Mark on the FFT graph while a held trace is shown, in its top left corner.
std::string markText() {
    const DisplayExtras e = getDisplayExtras();
    char text[64] = "";
    if (e.averageCount > 0 && e.maxHold)
        std::snprintf(text, sizeof text, "AVG %d/%d  MAX HOLD", held.averaged, e.averageCount);
    else if (e.averageCount > 0)
        std::snprintf(text, sizeof text, "AVG %d/%d", held.averaged, e.averageCount);
    else if (e.maxHold)
        std::snprintf(text, sizeof text, "MAX HOLD");
    return text;
}

}  // namespace

void noteFreshCapture() {
    held.fresh = true;
}

bool applyTraceExtras() {
    const bool fresh = held.fresh;
    held.fresh = false;
    const DisplayExtras e = getDisplayExtras();
    const TraceAxis axis = axisOfTrace();
    if (!(axis == held.axis)) {
        forgetTraces();
        held.axis = axis;
    }
    const size_t n = axis.points;
    held.rawDbm.assign(fftTraceLevelDbm.begin(), fftTraceLevelDbm.begin() + static_cast<ptrdiff_t>(n));
    if (e.averageCount <= 0 && !e.maxHold) {
        held.shownDbm.clear();
        return fresh;
    }
    if (!fresh) {
        // The same capture shown again: it is in the held traces already.
        if (held.shownDbm.size() == n)
            std::copy(held.shownDbm.begin(), held.shownDbm.end(), fftTraceLevelDbm.begin());
        return false;
    }

    std::vector<double> shown = held.rawDbm;
    if (e.averageCount > 0) {
        if (held.averageMw.size() != n) {
            held.averageMw.assign(n, 0.0);
            held.averaged = 0;
        }
        held.averaged = std::min(held.averaged + 1, e.averageCount);
        const double weight = 1.0 / held.averaged;
        for (size_t i = 0; i < n; ++i) {
            const double mw = std::pow(10.0, shown[i] / 10.0);
            held.averageMw[i] += (mw - held.averageMw[i]) * weight;
            shown[i] = 10.0 * std::log10(held.averageMw[i]);
        }
    }
    if (e.maxHold) {
        if (held.maxDbm.size() != n) held.maxDbm = shown;
        for (size_t i = 0; i < n; ++i) held.maxDbm[i] = std::max(held.maxDbm[i], shown[i]);
        shown = held.maxDbm;
    }
    std::copy(shown.begin(), shown.end(), fftTraceLevelDbm.begin());
    held.shownDbm = std::move(shown);
    return true;
}

void showTraceExtras(bool fresh) {
    const int graph = displayView.fftGraph;
    const std::string mark = markText();
    if (graph > 0 && !mark.empty() && fftStartFreqMHz < fftStopFreqMHz) {
        const double x = fftStartFreqMHz + 0.01 * (fftStopFreqMHz - fftStartFreqMHz);
        const double y = fftTopDbm() - 0.05 * fftRangeDb();
        PlotText(getMainPanel(), graph, x, y, mark.c_str(), VAL_YELLOW, VAL_TRANSPARENT);
    }
    if (fresh && getDisplayExtras().waterfallOn) addWaterfallRow();
}

std::string shownTraceDescription() {
    const DisplayExtras e = getDisplayExtras();
    if (held.shownDbm.empty() || held.shownDbm.size() != fftTraceLevelDbm.size()) return "";
    char text[96] = "";
    const char* plural = held.averaged == 1 ? "" : "s";
    if (e.averageCount > 0 && e.maxHold)
        std::snprintf(text, sizeof text, "max hold of the power average of %d trace%s", held.averaged,
                      plural);
    else if (e.averageCount > 0)
        std::snprintf(text, sizeof text, "power average of %d trace%s", held.averaged, plural);
    else if (e.maxHold)
        std::snprintf(text, sizeof text, "max hold");
    return text;
}

const std::vector<double>& shownTraceLevelDbm() {
    return fftTraceLevelDbm;
}

const std::vector<double>& lastCapturedTraceDbm() {
    return held.rawDbm;
}

int averagedTraceCount() {
    return held.averaged;
}

void clearTraceExtras() {
    forgetTraces();
    clearWaterfallRows();
}

void resetTraceExtras() {
    held = Held{};
}
