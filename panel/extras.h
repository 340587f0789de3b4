// Spectrum extras an operator turns on from the menus: a waterfall of the FFT traces under the spectrum
// (View menu), power averaging over N traces and max hold with Clear (FFT Display menu), and "Save Graph
// Image..." (each display menu) with the picture size chosen in the View menu. All are off at start-up;
// with them off every capture replaces the trace as before.
//
// The shown trace. With averaging or max hold on, fftTraceLevelDbm holds the trace as drawn (averaged,
// max-held), so the marker, the power readings and a saved trace all read what the operator sees; the
// trace of the last capture alone is kept aside (lastCapturedTraceDbm) and feeds the waterfall.
#ifndef QM_PANEL_EXTRAS_H
#define QM_PANEL_EXTRAS_H

#include <cstdint>
#include <string>
#include <vector>

// Operator choices of the extras, for a settings file. Off (the defaults) means nothing to save.
struct DisplayExtras {
    int averageCount = 0;        // traces in the power average; 0 off
    int maxHold = 0;             // 1: each point keeps the highest level shown since the last clear
    int waterfallOn = 0;         // 1: the waterfall under the FFT graph
    int waterfallHistory = 100;  // traces the waterfall keeps
    int graphImageWidth = 0;     // size of a saved graph picture; 0 x 0: as on screen
    int graphImageHeight = 0;
    bool operator==(const DisplayExtras&) const = default;
};

// Current choices; setting them updates the menu checks and the views and clears what they hold.
DisplayExtras getDisplayExtras();
void setDisplayExtras(const DisplayExtras& extras);
// True when any choice differs from the start-up default (only then does it belong in a settings file).
bool displayExtrasInUse();

// What setDisplayExtras accepts; values beyond are clamped to these.
constexpr int TRACE_AVERAGE_MAX = 10000;
constexpr int WATERFALL_HISTORY_MIN = 2;
constexpr int WATERFALL_HISTORY_MAX = 10000;
constexpr int GRAPH_IMAGE_SIDE_MAX = 10000;

// Choices offered by the menus.
constexpr int AVERAGE_COUNTS[] = {4, 8, 16, 32, 64};
constexpr int WATERFALL_HISTORIES[] = {50, 100, 200, 500};
constexpr int WATERFALL_MAX_COLUMNS =
    512;  // about the plot's width in pixels; each column the peak it covers

// ---- the shown trace
// What the shown trace is, for a saved file's message: "" for the last capture's own trace, else e.g.
// "power average of 12 traces" or "max hold".
std::string shownTraceDescription();
// The trace as shown: fftTraceLevelDbm (levels, dBm) over fftTraceFreqMHz.
const std::vector<double>& shownTraceLevelDbm();
// The last capture's own trace, before averaging and max hold.
const std::vector<double>& lastCapturedTraceDbm();
// Traces in the running average (0 while averaging is off or after a clear).
int averagedTraceCount();
// Forgets the average, the max hold and the waterfall rows (the FFT Display menu's Clear, a change of
// the FFT length or span).
void clearTraceExtras();

// ---- hooks of the display
// The capture control marks each new capture, so that only it enters the average, max hold and waterfall
// (a view shown again draws what is already held).
void noteFreshCapture();
// After the spectrum of a capture was computed into the trace arrays: turns it into the shown trace.
// Returns true when it was a fresh capture.
bool applyTraceExtras();
// After the trace was plotted: the mark of an active average or max hold on the FFT graph, and the
// waterfall row of a fresh capture.
void showTraceExtras(bool fresh);

// ---- waterfall
// Rows held, newest first, each waterfallColumns() levels from the lowest frequency up.
const std::vector<std::vector<double>>& waterfallRows();
int waterfallColumns();
// Draws the held rows on the waterfall graph, coloured from top of screen down ten divisions.
void redrawWaterfall();

// Start-up: the menu checks of the defaults.
void initExtrasControls();
void registerExtrasCallbacks();

// Internals shared by the extras' own files.
void addWaterfallRow();  // the last capture's trace as the newest row
void clearWaterfallRows();
void trimWaterfallRows();  // to the history length
void resetTraceExtras();
void resetWaterfall();

#endif
