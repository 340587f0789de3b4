// The spectrum marker and the engineering panel's power readings (see markers.h).
#include "markers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app_state.h"
#include "display.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

int graphPowerToFile = 0;
std::string graphPowerFileName;

namespace {

// The module's own transform behind the marker-power reading: 2048 points, 8 averages.
constexpr uint32_t MARKER_POWER_POINTS = 2048;
constexpr uint16_t MARKER_POWER_AVERAGES = 8;

// Peak search leaves out the first five and the last six points, where the transform's edges and the IF
// filter's skirts sit.
constexpr int PEAK_FIRST = 5;
constexpr int PEAK_END_MARGIN = 6;

constexpr int MARKER_COLOR = VAL_WHITE;
constexpr int GRAPH_POWER_COLOR = VAL_YELLOW;

std::string defaultPowerFileName() {
    const char* home = std::getenv("HOME");
    return (home && *home) ? std::string(home) + "/powerdata.txt" : std::string("powerdata.txt");
}

// The FFT graph with one free cursor of `color`; 0 when no FFT graph is shown.
int fftGraphWithCursor(int color) {
    const int graph = displayView.fftGraph;
    if (graph <= 0) return 0;
    const int panel = getMainPanel();
    SetCtrlAttribute(panel, graph, ATTR_NUM_CURSORS, 1);
    SetCursorAttribute(panel, graph, 1, ATTR_CURSOR_MODE, VAL_FREE_FORM);
    SetCursorAttribute(panel, graph, 1, ATTR_CROSS_HAIR_STYLE, VAL_LONG_CROSS);
    SetCursorAttribute(panel, graph, 1, ATTR_CURSOR_POINT_STYLE, VAL_EMPTY_SQUARE);
    SetCursorAttribute(panel, graph, 1, ATTR_CURSOR_COLOR, color);
    return graph;
}

// Puts cursor 1 at (x, level), the level held inside the graph's vertical range. Returns the level used.
double placeCursor(int graph, double x, double level) {
    if (graph <= 0) return level;
    int mode = 0;
    double min = 0, max = 0;
    GetAxisScalingMode(getMainPanel(), graph, VAL_LEFT_YAXIS, &mode, &min, &max);
    const double y = std::clamp(level, std::min(min, max), std::max(min, max));
    SetGraphCursor(getMainPanel(), graph, 1, x, y);
    return y;
}

// Whether the trace's frequencies count as rising with the index: with IF data and the LO below the
// signal the module delivers a mirrored band.
bool traceAscending() {
    const int panel = getMainPanel();
    double loOffset = 0;
    if (isActive4120()) {
        err4120(qm4120_getLoOffset(getQM4120id(), &loOffset));
    } else {
        GetCtrlVal(panel, MAINPANEL_LO_OFFSET, &loOffset);
    }
    int dataType = 0;
    GetCtrlVal(panel, MAINPANEL_DATA_TYPE, &dataType);
    return loOffset >= 0 || dataType != 0;
}

int cmdMarkerOnOff(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) updateMarker(MARKER_AT_FREQUENCY);
    return 0;
}
int cmdMarkerFreq(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) updateMarker(MARKER_AT_FREQUENCY);
    return 0;
}
int cmdMarkerToPeak(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) updateMarker(MARKER_TO_PEAK);
    return 0;
}
int cmdMarkerLeft(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) updateMarker(MARKER_LEFT);
    return 0;
}
int cmdMarkerRight(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) updateMarker(MARKER_RIGHT);
    return 0;
}

// The instrument's three level corrections, in dB.
int cmdGetCorrections(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const uint32_t vi = getQM4120id();
    double value = 0;
    err4120(qm4120_getLevelCorrDownConv(vi, &value));
    SetCtrlVal(panel, ENGPANEL_ENGGETCOMBGAIN, value);
    value = 0;
    err4120(qm4120_getLevelCorrDigitizer(vi, &value));
    SetCtrlVal(panel, ENGPANEL_ENGGETDIGREF, value);
    value = 0;
    err4120(qm4120_getLevelCorrModule(vi, &value));
    SetCtrlVal(panel, ENGPANEL_ENGGETMODULEREF, value);
    return 0;
}

// Power at an offset from the IF, measured by the module's own windowed and averaged transform of IF
// data, in dBm at the input in use.
int cmdGetMarkerPower(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const uint32_t vi = getQM4120id();
    double offset = 0;
    GetCtrlVal(panel, ENGPANEL_MARKER_FREQ, &offset);
    uint16_t source = 0;
    err4120(qm4120_getInputSource(vi, &source));
    double correction = 0;
    err4120(source == 0 ? qm4120_getLevelCorrDigitizer(vi, &correction)
                        : qm4120_getLevelCorrModule(vi, &correction));
    double sampleFrequency = 0;
    err4120(qm4120_getSampleFrequency(vi, &sampleFrequency));
    // The module measures on IF samples; the data type stays IF afterwards.
    err4120(qm4120_setSampleDataType(vi, 0));
    err4120(performNFFT(vi, MARKER_POWER_POINTS, MARKER_POWER_AVERAGES));
    double power = 0;
    err4120(getPowerAtIfFrequency(vi, offset + sampleFrequency, MARKER_POWER_AVERAGES, MARKER_POWER_POINTS,
                                  &power));
    SetCtrlVal(panel, ENGPANEL_ENGGETMARKERPWR, power + correction);
    // The main panel's acquisition group shows the IF data type the measurement left in force.
    refreshPanelFromInstrument();
    return 0;
}

// The displayed spectrum's level at an offset from the tuned RF frequency.
int cmdGetGraphPower(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const int graph = fftGraphWithCursor(GRAPH_POWER_COLOR);
    const size_t points =
        std::min<size_t>(fftTracePoints, std::min(fftTraceFreqMHz.size(), fftTraceLevelDbm.size()));
    double offset = 0, rf = 0;
    GetCtrlVal(panel, ENGPANEL_MARKER_FREQ, &offset);
    GetCtrlVal(getMainPanel(), MAINPANEL_RF_FREQ, &rf);
    const double target = (offset + rf) / 1e6;
    size_t index = points;
    for (size_t i = 0; i < points; ++i)
        if (fftTraceFreqMHz[i] <= target) index = i;
    if (index == points) return 0;  // no trace yet, or nothing at or below the target

    const double f = fftTraceFreqMHz[index];
    const double level = fftTraceLevelDbm[index];
    SetCtrlVal(panel, ENGPANEL_ENGGETGRAPHFREQ, f);
    SetCtrlVal(panel, ENGPANEL_ENGGETGRAPHPWR, level);
    const double shown = placeCursor(graph, f, level);
    if (graphPowerToFile) {
        // A log that cannot be opened is skipped without a word: the reading itself has been shown.
        if (FILE* file = std::fopen(graphPowerFileName.c_str(), "a")) {
            std::fprintf(file, "%f,%f\n", f, shown);
            std::fclose(file);
        }
    }
    return 0;
}

int cmdGraphPwrFreqToFile(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(panel, control, &graphPowerToFile);
    SetCtrlAttribute(panel, ENGPANEL_GRAPHPWRFREQFILENAME, ATTR_DIMMED, graphPowerToFile ? 0 : 1);
    return 0;
}

int cmdGraphPwrFreqFilename(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    char text[PATH_TEXT_LEN] = {};
    GetCtrlVal(panel, control, text);
    graphPowerFileName = text;
    return 0;
}

void resetMarkerState() {
    graphPowerToFile = 0;
    graphPowerFileName = defaultPowerFileName();
}

}  // namespace

void updateMarker(int mode) {
    const int panel = getMainPanel();
    int on = 0;
    GetCtrlVal(panel, MAINPANEL_MARKER_ONOFF_CHECKBOX, &on);
    const int points = static_cast<int>(
        std::min<size_t>(fftTracePoints, std::min(fftTraceFreqMHz.size(), fftTraceLevelDbm.size())));
    if (!on || points == 0) {
        if (displayView.fftGraph > 0) SetCtrlAttribute(panel, displayView.fftGraph, ATTR_NUM_CURSORS, 0);
        return;
    }
    const int graph = fftGraphWithCursor(MARKER_COLOR);
    const bool ascending = traceAscending();
    const std::vector<double>& f = fftTraceFreqMHz;
    const std::vector<double>& level = fftTraceLevelDbm;

    int index = 0;
    if (mode != MARKER_TO_PEAK) {
        double markerHz = 0;
        GetCtrlVal(panel, MAINPANEL_MARKER_FREQ, &markerHz);
        const double m = markerHz / 1e6;
        for (int i = 0; i < points; ++i)
            if (ascending ? f[i] <= m : f[i] >= m) index = i;
    }
    switch (mode) {
        case MARKER_TO_PEAK: {
            // The first of equal maxima wins. A trace too short to search leaves the index at the start.
            index = PEAK_FIRST;
            double best = PEAK_FIRST < points ? level[PEAK_FIRST] : 0.0;
            for (int i = PEAK_FIRST; i < points - PEAK_END_MARGIN; ++i) {
                if (level[i] > best) {
                    best = level[i];
                    index = i;
                }
            }
            index = std::clamp(index, 0, points - 1);
            break;
        }
        case MARKER_LEFT:
            index = ascending ? std::clamp(index, 1, std::max(points - 1, 1)) - 1
                              : std::clamp(index, 0, std::max(points - 2, 0)) + 1;
            break;
        case MARKER_RIGHT:
            index = ascending ? std::clamp(index, 0, std::max(points - 2, 0)) + 1
                              : std::clamp(index, 1, std::max(points - 1, 1)) - 1;
            break;
        default:
            break;
    }
    index = std::clamp(index, 0, points - 1);
    if (mode == MARKER_TO_PEAK || mode == MARKER_LEFT || mode == MARKER_RIGHT)
        SetCtrlVal(panel, MAINPANEL_MARKER_FREQ, f[index] * 1e6);
    SetCtrlVal(panel, MAINPANEL_MARKER_PWR, level[index]);
    placeCursor(graph, f[index], level[index]);
}

void showPowerLogControls() {
    if (appState.engPanel <= 0) return;
    SetCtrlVal(appState.engPanel, ENGPANEL_GRAPHPWRFREQFILENAME, graphPowerFileName.c_str());
    SetCtrlAttribute(appState.engPanel, ENGPANEL_GRAPHPWRFREQFILENAME, ATTR_DIMMED, graphPowerToFile ? 0 : 1);
}

void initMarkerControls() {
    showPowerLogControls();
}

void registerMarkerCallbacks() {
    RegisterCtrlCallback("cmdMarkerOnOff", cmdMarkerOnOff);
    RegisterCtrlCallback("cmdMarkerFreq", cmdMarkerFreq);
    RegisterCtrlCallback("cmdMarkerToPeak", cmdMarkerToPeak);
    RegisterCtrlCallback("cmdMarkerLeft", cmdMarkerLeft);
    RegisterCtrlCallback("cmdMarkerRight", cmdMarkerRight);
    RegisterCtrlCallback("cmdGetCorrections", cmdGetCorrections);
    RegisterCtrlCallback("cmdGetMarkerPower", cmdGetMarkerPower);
    RegisterCtrlCallback("cmdGetGraphPower", cmdGetGraphPower);
    RegisterCtrlCallback("cmdGraphPwrFreqToFile", cmdGraphPwrFreqToFile);
    RegisterCtrlCallback("cmdGraphPwrFreqFilename", cmdGraphPwrFreqFilename);
    resetMarkerState();
    registerStateReset(resetMarkerState);
}
