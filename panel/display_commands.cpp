// The View, FFT Display, Time Series Display and IQ Polar Display menus and the scaling, zoom and FFT
// length controls of the main panel.
#include <algorithm>

#include "app_state.h"
#include "display.h"
#include "extras.h"
#include "markers.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr uint32_t FFT_LENGTH_MIN = 2;

int panel() {
    return getMainPanel();
}
int menuBar() {
    return appState.mainMenuBar;
}

int checked(int item) {
    int value = 0;
    if (menuBar() > 0) GetMenuBarAttribute(menuBar(), item, ATTR_CHECKED, &value);
    return value;
}
void check(int item, int value) {
    if (menuBar() > 0) SetMenuBarAttribute(menuBar(), item, ATTR_CHECKED, value);
}

void redisplayIfValid() {
    if (!capturedData.dataValid) return;
    prepareFftInput(capturedData);
    displayCapturedData(capturedData);
}

void setGrid(int graph, int visible) {
    if (graph > 0) SetCtrlAttribute(panel(), graph, ATTR_GRID_COLOR, visible ? VAL_DK_YELLOW : VAL_BLACK);
}

// Samples the module will capture; the panel's own count while no module is booted.
int instrumentSampleCount() {
    uint32_t count = 0;
    GetCtrlVal(panel(), MAINPANEL_NUM_SAMPLES, &count);
    if (isActive4120()) {
        uint32_t n = 0;
        if (noteStatus(qm4120_getNumberOfSamples(getQM4120id(), &n)) >= 0) count = n;
    }
    return static_cast<int>(std::min<uint32_t>(count, 0x7FFFFFFF));
}

void setZoomStart(int start) {
    DisplayView& v = displayView;
    if (start >= v.timeSeriesXAxisStop) start = v.timeSeriesXAxisStop - 1;
    v.timeSeriesXAxisStart = start;
    setTimeSeriesXAxis();
}

void setZoomStop(int stop) {
    DisplayView& v = displayView;
    if (stop <= v.timeSeriesXAxisStart) stop = v.timeSeriesXAxisStart + 1;
    const int last = instrumentSampleCount() - 1;
    if (stop > last) stop = last;
    v.timeSeriesXAxisStop = stop;
    setTimeSeriesXAxis();
}

void setFftYAxisFromState() {
    const DisplayView& v = displayView;
    if (v.fftGraph > 0)
        SetAxisScalingMode(panel(), v.fftGraph, VAL_LEFT_YAXIS, VAL_MANUAL,
                           v.fftTopOfScreenDbm - 10.0 * v.fftDbPerDivision, v.fftTopOfScreenDbm);
}

// Largest power of two not above n, within [FFT_LENGTH_MIN, FFT_WORK_SIZE].
uint32_t fftLengthWithin(uint32_t n) {
    uint32_t length = FFT_LENGTH_MIN;
    while (length * 2 <= n && length < FFT_WORK_SIZE) length *= 2;
    return length;
}

// ---- View menu ----

void cmdViewFFT(int, int, void*, int) {
    displayView.fftViewOn = 1;
    check(MAINMENU_VIEW_FFT, 1);
    setupView(VIEW_FFT);
    redisplayIfValid();
}

void cmdViewTimeSeries(int, int, void*, int) {
    if (instrumentSampleDataType() == 0) {
        displayView.ifTimeSeriesViewOn = 1;
        setupView(VIEW_IF_TIME_SERIES);
    } else {
        displayView.iqTimeSeriesViewOn = 1;
        setupView(VIEW_IQ_TIME_SERIES);
    }
    displayView.timeSeriesViewOn = 1;
    check(MAINMENU_VIEW_TIME_SERIES, 1);
    redisplayIfValid();
}

void cmdViewIqPolar(int, int, void*, int) {
    if (instrumentSampleDataType() != 1) return;
    displayView.iqPolarViewOn = 1;
    check(MAINMENU_VIEW_IQ_POLAR, 1);
    setupView(VIEW_IQ_POLAR);
    redisplayIfValid();
}

void cmdViewNumericData(int, int, void*, int) {
    DisplayView& v = displayView;
    v.numericViewOn = !v.numericViewOn;
    check(MAINMENU_VIEW_NUMERIC_DISP, v.numericViewOn);
    refreshCurrentView();
    showNumericListControl(v.numericViewOn, instrumentSampleDataType());
    redisplayIfValid();
}

// ---- FFT Display menu ----

void cmdFFTGraticuleVisible(int, int item, void*, int) {
    displayView.fftGraticuleVisible = !checked(item);
    setGrid(displayView.fftGraph, displayView.fftGraticuleVisible);
    check(item, displayView.fftGraticuleVisible);
}

void CmdFFTSpan(int, int item, void*, int) {
    DisplayView& v = displayView;
    if (item == MAINMENU_FFTDISP_SPAN_FULLSPAN && !v.fftFullSpan) v.fftFullSpan = 1;
    if (item == MAINMENU_FFTDISP_SPAN_TRUNCSPAN && v.fftFullSpan) v.fftFullSpan = 0;
    if (v.fftFullSpan != checked(MAINMENU_FFTDISP_SPAN_FULLSPAN)) clearTraceExtras();
    check(MAINMENU_FFTDISP_SPAN_FULLSPAN, v.fftFullSpan);
    check(MAINMENU_FFTDISP_SPAN_TRUNCSPAN, !v.fftFullSpan);
}

// ---- Time Series Display menu ----

void cmdTimeSeriesGraticuleVisible(int, int item, void*, int) {
    DisplayView& v = displayView;
    v.timeSeriesGraticuleVisible = !checked(item);
    for (int g : {v.timeSeriesGraph, v.iGraph, v.qGraph}) setGrid(g, v.timeSeriesGraticuleVisible);
    check(item, v.timeSeriesGraticuleVisible);
}

void setIqGraphMode(int mode) {
    displayView.timeSeriesIqGraphMode = mode;
    check(MAINMENU_TSDISP_IQ_SEP, mode == IQ_GRAPHS_SEPARATE);
    check(MAINMENU_TSDISP_IQ_OVER, mode == IQ_GRAPHS_OVERLAID);
    refreshCurrentView();
}
void cmdIQSeperateGraphs(int, int, void*, int) {
    setIqGraphMode(IQ_GRAPHS_SEPARATE);
}
void cmdIQOverlaidGraphs(int, int, void*, int) {
    setIqGraphMode(IQ_GRAPHS_OVERLAID);
}

void cmdTimeSerFullWidthView(int, int, void*, int) {
    setZoomStart(0);
    setZoomStop(instrumentSampleCount());
}

void cmdTimeSeriesYAxisScale(int, int item, void*, int) {
    displayView.timeSeriesYAutoscale = !checked(item);
    applyTimeSeriesYScaling();
    check(item, displayView.timeSeriesYAutoscale);
}

// ---- IQ Polar Display menu ----

void cmdIqPolarGraticuleVisible(int, int item, void*, int) {
    displayView.iqPolarGraticuleVisible = !checked(item);
    setGrid(displayView.polarGraph, displayView.iqPolarGraticuleVisible);
    check(item, displayView.iqPolarGraticuleVisible);
}

void cmdIqPolarAxesScale(int, int item, void*, int) {
    displayView.iqPolarAutoscale = !checked(item);
    applyPolarScaling();
    check(item, displayView.iqPolarAutoscale);
}

// ---- Controls ----

int cmdFftTopOfScreen(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(p, control, &displayView.fftTopOfScreenDbm);
    setFftYAxisFromState();
    redrawWaterfall();
    updateMarker(MARKER_AT_FREQUENCY);
    return 0;
}

int cmdFftVerticalScale(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(p, control, &displayView.fftDbPerDivision);
    setFftYAxisFromState();
    SetCtrlAttribute(p, MAINPANEL_FFT_TOP_OF_SCREEN, ATTR_INCR_VALUE, displayView.fftDbPerDivision);
    redrawWaterfall();
    updateMarker(MARKER_AT_FREQUENCY);
    return 0;
}

int cmdTimeSeriesYAxisMin(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(p, control, &displayView.timeSeriesYAxisMin);
    applyTimeSeriesYScaling();
    return 0;
}

int cmdTimeSeriesYAxisMax(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(p, control, &displayView.timeSeriesYAxisMax);
    applyTimeSeriesYScaling();
    return 0;
}

int cmdIqPolarIAxisRange(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(p, control, &displayView.iqPolarIAxisRange);
    applyPolarScaling();
    return 0;
}

int cmdIqPolarQAxisRange(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(p, control, &displayView.iqPolarQAxisRange);
    applyPolarScaling();
    return 0;
}

int cmdGraphZoomStart(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int start = 0;
    GetCtrlVal(p, control, &start);
    setZoomStart(start);
    return 0;
}

int cmdGraphZoomStop(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int stop = 0;
    GetCtrlVal(p, control, &stop);
    setZoomStop(stop);
    return 0;
}

int cmdFftLengthRing(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    uint32_t requested = 0;
    GetCtrlVal(p, control, &requested);
    uint32_t samples = 0;
    if (noteStatus(qm4120_getNumberOfSamples(getQM4120id(), &samples)) < 0) return 0;
    // A transform longer than the capture would run past the samples.
    const uint32_t length = samples < requested ? fftLengthWithin(samples) : requested;
    noteStatus(qm4120_setFftLength(getQM4120id(), length));
    clearTraceExtras();
    uint32_t applied = 0;
    if (noteStatus(qm4120_getFftLength(getQM4120id(), &applied)) < 0) return 0;
    SetCtrlVal(p, MAINPANEL_FFT_LEN, applied);
    int index = -1;
    if (GetIndexFromValue(p, MAINPANEL_RING_FFT_LEN, &index, static_cast<double>(applied)) >= 0 && index >= 0)
        SetCtrlIndex(p, MAINPANEL_RING_FFT_LEN, index);
    return 0;
}

// The plain FFT length numeric, editable in engineering set-ups: its arrows move one up or down, which
// is taken as a step to the next power of two (2048 + 1 gives 4096, 2048 - 1 gives 1024).
int cmdFFTLen(int p, int control, int event, void*, int, int) {
    if (event != EVENT_VAL_CHANGED) return 0;
    int mode = VAL_NORMAL;
    GetCtrlAttribute(p, control, ATTR_CTRL_MODE, &mode);
    if (mode == VAL_INDICATOR) return 0;
    uint32_t v = 0;
    GetCtrlVal(p, control, &v);
    SetCtrlVal(p, control, v % 4 == 1 ? 2 * v - 2 : (v + 1) / 2);
    return 0;
}

void resetDisplayState() {
    displayView = DisplayView{};
    fftTracePoints = 0;
    fftTraceFreqMHz = {};
    fftTraceLevelDbm = {};
    fftStartFreqMHz = 0.0;
    fftStopFreqMHz = 0.0;
}

}  // namespace

void initDisplayControls() {
    setupView(VIEW_FFT);
    const DisplayView& v = displayView;
    check(MAINMENU_TSDISP_IQ_SEP, v.timeSeriesIqGraphMode == IQ_GRAPHS_SEPARATE);
    check(MAINMENU_TSDISP_IQ_OVER, v.timeSeriesIqGraphMode == IQ_GRAPHS_OVERLAID);
    check(MAINMENU_TSDISP_AUTOSCALE, v.timeSeriesYAutoscale);
    check(MAINMENU_IQPOLARDISP_AUTOSCALE, v.iqPolarAutoscale);
    check(MAINMENU_FFTDISP_SPAN_FULLSPAN, v.fftFullSpan);
    check(MAINMENU_FFTDISP_SPAN_TRUNCSPAN, !v.fftFullSpan);
    initExtrasControls();
    applyTimeSeriesYScaling();
    applyPolarScaling();
    initMarkerControls();
}

void registerDisplayCallbacks() {
    RegisterMenuCallback("cmdViewFFT", cmdViewFFT);
    RegisterMenuCallback("cmdViewTimeSeries", cmdViewTimeSeries);
    RegisterMenuCallback("cmdViewIqPolar", cmdViewIqPolar);
    RegisterMenuCallback("cmdViewNumericData", cmdViewNumericData);
    RegisterMenuCallback("cmdFFTGraticuleVisible", cmdFFTGraticuleVisible);
    RegisterMenuCallback("CmdFFTSpan", CmdFFTSpan);
    RegisterMenuCallback("cmdTimeSeriesGraticuleVisible", cmdTimeSeriesGraticuleVisible);
    RegisterMenuCallback("cmdIQSeperateGraphs", cmdIQSeperateGraphs);
    RegisterMenuCallback("cmdIQOverlaidGraphs", cmdIQOverlaidGraphs);
    RegisterMenuCallback("cmdTimeSerFullWidthView", cmdTimeSerFullWidthView);
    RegisterMenuCallback("cmdTimeSeriesYAxisScale", cmdTimeSeriesYAxisScale);
    RegisterMenuCallback("cmdIqPolarGraticuleVisible", cmdIqPolarGraticuleVisible);
    RegisterMenuCallback("cmdIqPolarAxesScale", cmdIqPolarAxesScale);
    RegisterCtrlCallback("cmdFftTopOfScreen", cmdFftTopOfScreen);
    RegisterCtrlCallback("cmdFftVerticalScale", cmdFftVerticalScale);
    RegisterCtrlCallback("cmdTimeSeriesYAxisMin", cmdTimeSeriesYAxisMin);
    RegisterCtrlCallback("cmdTimeSeriesYAxisMax", cmdTimeSeriesYAxisMax);
    RegisterCtrlCallback("cmdIqPolarIAxisRange", cmdIqPolarIAxisRange);
    RegisterCtrlCallback("cmdIqPolarQAxisRange", cmdIqPolarQAxisRange);
    RegisterCtrlCallback("cmdGraphZoomStart", cmdGraphZoomStart);
    RegisterCtrlCallback("cmdGraphZoomStop", cmdGraphZoomStop);
    RegisterCtrlCallback("cmdFftLengthRing", cmdFftLengthRing);
    RegisterCtrlCallback("cmdFFTLen", cmdFFTLen);
    registerStateReset(resetDisplayState);
}
