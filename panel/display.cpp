// Graph display of the main panel (see display.h): the views, their graphs and scaling, and the drawing
// of a capture into them. The spectrum arithmetic is in spectrum.cpp, the menu and control commands in
// display_commands.cpp.
#include "display.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "app_state.h"
#include "extras.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

DisplayView displayView;

namespace {

// Placement of the graphs on the main panel.
constexpr int GRAPH_TOP = 64;
constexpr int GRAPH_LEFT = 8;
constexpr int GRAPH_HEIGHT = 432;
constexpr int GRAPH_WIDTH = 604;
constexpr int GRAPH_WIDTH_BESIDE_LIST = 452;
constexpr int Q_GRAPH_TOP = 296;
// With the waterfall on, the spectrum takes the upper part of the graph area and the waterfall the rest.
constexpr int FFT_HEIGHT_OVER_WATERFALL = 220;
constexpr int WATERFALL_TOP = GRAPH_TOP + FFT_HEIGHT_OVER_WATERFALL;
constexpr int WATERFALL_HEIGHT = GRAPH_HEIGHT - FFT_HEIGHT_OVER_WATERFALL;
constexpr int IQ_GRAPH_HEIGHT = 200;
constexpr int LIST_TOP = 64;
constexpr int LIST_LEFT = 461;
constexpr int LIST_WIDTH = 150;
constexpr int LIST_HEIGHT = 430;

constexpr int GRID_ON = VAL_DK_YELLOW;
constexpr int GRID_OFF = VAL_BLACK;

// Left edges of the scaling controls: alone / beside the numeric list.
struct ControlPlace {
    int control;
    int left;
    int leftBesideList;
};
constexpr ControlPlace SCALING_CONTROLS[] = {
    {MAINPANEL_FFT_TOP_OF_SCREEN, 352, 200},   {MAINPANEL_FFT_VERT_SCALE, 522, 370},
    {MAINPANEL_TIME_SER_ZOOM_START, 382, 230}, {MAINPANEL_TIME_SER_Y_AXIS_MIN, 382, 230},
    {MAINPANEL_TIME_SER_ZOOM_STOP, 532, 380},  {MAINPANEL_TIME_SER_Y_AXIS_MAX, 532, 380},
};

int panel() {
    return getMainPanel();
}

void setMenuAttr(int item, int attribute, int value) {
    if (appState.mainMenuBar > 0) SetMenuBarAttribute(appState.mainMenuBar, item, attribute, value);
}

void show(int control, int visible) {
    SetCtrlAttribute(panel(), control, ATTR_VISIBLE, visible);
}

int graphWidth() {
    return displayView.numericViewOn ? GRAPH_WIDTH_BESIDE_LIST : GRAPH_WIDTH;
}

int makeGraph(const char* title, int top, int height, int width, const char* xName, const char* yName,
              int gridVisible) {
    const int graph = NewCtrl(panel(), CTRL_GRAPH, title, top, GRAPH_LEFT);
    if (graph <= 0) return 0;
    SetCtrlAttribute(panel(), graph, ATTR_WIDTH, width);
    SetCtrlAttribute(panel(), graph, ATTR_HEIGHT, height);
    SetCtrlAttribute(panel(), graph, ATTR_PLOT_BGCOLOR, VAL_BLACK);
    SetCtrlAttribute(panel(), graph, ATTR_FRAME_COLOR, VAL_GRAY);
    SetCtrlAttribute(panel(), graph, ATTR_GRID_COLOR, gridVisible ? GRID_ON : GRID_OFF);
    SetCtrlAttribute(panel(), graph, ATTR_XNAME, xName);
    SetCtrlAttribute(panel(), graph, ATTR_YNAME, yName);
    return graph;
}

void discardGraph(int& graph) {
    if (graph > 0) DiscardCtrl(panel(), graph);
    graph = 0;
}

void discardAllGraphs() {
    DisplayView& v = displayView;
    discardGraph(v.fftGraph);
    discardGraph(v.timeSeriesGraph);
    discardGraph(v.iGraph);
    discardGraph(v.qGraph);
    discardGraph(v.polarGraph);
    discardGraph(v.waterfallGraph);
}

void setFftYAxis() {
    const DisplayView& v = displayView;
    if (v.fftGraph > 0)
        SetAxisScalingMode(panel(), v.fftGraph, VAL_LEFT_YAXIS, VAL_MANUAL,
                           v.fftTopOfScreenDbm - 10.0 * v.fftDbPerDivision, v.fftTopOfScreenDbm);
}

// Time-series graphs that exist now.
std::vector<int> timeSeriesGraphs() {
    std::vector<int> graphs;
    for (int g : {displayView.timeSeriesGraph, displayView.iGraph, displayView.qGraph})
        if (g > 0) graphs.push_back(g);
    return graphs;
}

void createFftGraph() {
    DisplayView& v = displayView;
    const bool waterfall = getDisplayExtras().waterfallOn;
    v.fftGraph = makeGraph("FFT Spectrum", GRAPH_TOP, waterfall ? FFT_HEIGHT_OVER_WATERFALL : GRAPH_HEIGHT,
                           graphWidth(), "Frequency (MHz)", "Power (dBm)", v.fftGraticuleVisible);
    if (v.fftGraph <= 0) return;
    SetCtrlAttribute(panel(), v.fftGraph, ATTR_XPRECISION, 2);
    SetCtrlAttribute(panel(), v.fftGraph, ATTR_XDIVISIONS, 10);
    SetCtrlAttribute(panel(), v.fftGraph, ATTR_YDIVISIONS, 10);
    if (!waterfall) return;
    // Time runs downwards: the newest trace is the top row.
    v.waterfallGraph = makeGraph("Waterfall", WATERFALL_TOP, WATERFALL_HEIGHT, graphWidth(),
                                 "Frequency (MHz)", "Traces ago", v.fftGraticuleVisible);
    if (v.waterfallGraph <= 0) {
        v.waterfallGraph = 0;
        return;
    }
    SetCtrlAttribute(panel(), v.waterfallGraph, ATTR_XPRECISION, 2);
    SetCtrlAttribute(panel(), v.waterfallGraph, ATTR_XDIVISIONS, 10);
    SetCtrlAttribute(panel(), v.waterfallGraph, ATTR_YDIVISIONS, 5);
    SetCtrlAttribute(panel(), v.waterfallGraph, ATTR_YREVERSE, 1);
    redrawWaterfall();
}

void createTimeSeriesGraphs(int view) {
    DisplayView& v = displayView;
    const int grid = v.timeSeriesGraticuleVisible;
    if (view == VIEW_IF_TIME_SERIES) {
        v.timeSeriesGraph = makeGraph("Time Series (IF)", GRAPH_TOP, GRAPH_HEIGHT, graphWidth(),
                                      "Sample Number", "IF magnitude", grid);
    } else if (v.timeSeriesIqGraphMode == IQ_GRAPHS_OVERLAID) {
        v.timeSeriesGraph = makeGraph("Time Series (I,Q Overlaid)\r[Yellow=I, Green=Q]", GRAPH_TOP,
                                      GRAPH_HEIGHT, graphWidth(), "Sample Number", "I and Q magnitude", grid);
    } else {
        v.iGraph = makeGraph("Time Series (I)", GRAPH_TOP, IQ_GRAPH_HEIGHT, graphWidth(), "Sample Number",
                             "I magnitude", grid);
        v.qGraph = makeGraph("Time Series (Q)", Q_GRAPH_TOP, IQ_GRAPH_HEIGHT, graphWidth(), "Sample Number",
                             "Q magnitude", grid);
    }
}

void setViewFlags(int view) {
    DisplayView& v = displayView;
    v.fftViewOn = view == VIEW_FFT;
    v.ifTimeSeriesViewOn = view == VIEW_IF_TIME_SERIES;
    v.iqTimeSeriesViewOn = view == VIEW_IQ_TIME_SERIES;
    v.iqPolarViewOn = view == VIEW_IQ_POLAR;
    v.timeSeriesViewOn = v.ifTimeSeriesViewOn || v.iqTimeSeriesViewOn;
    setMenuAttr(MAINMENU_VIEW_FFT, ATTR_CHECKED, v.fftViewOn);
    setMenuAttr(MAINMENU_VIEW_TIME_SERIES, ATTR_CHECKED, v.timeSeriesViewOn);
    setMenuAttr(MAINMENU_VIEW_IQ_POLAR, ATTR_CHECKED, v.iqPolarViewOn);
}

// Only the display menu of the view in use can be worked.
void setMenuDimming(int view) {
    const int fft = view == VIEW_FFT;
    const int ts = view == VIEW_IF_TIME_SERIES || view == VIEW_IQ_TIME_SERIES;
    const int polar = view == VIEW_IQ_POLAR;
    setMenuAttr(MAINMENU_FFTDISP, ATTR_DIMMED, !fft);
    setMenuAttr(MAINMENU_FFTDISP_GRAT, ATTR_DIMMED, !fft);
    setMenuAttr(MAINMENU_FFTDISP_SAVEFFT, ATTR_DIMMED, !fft);
    setMenuAttr(MAINMENU_TSDISP, ATTR_DIMMED, !ts);
    setMenuAttr(MAINMENU_TSDISP_GRAT, ATTR_DIMMED, !ts);
    setMenuAttr(MAINMENU_TSDISP_IQ_SEP, ATTR_DIMMED, view != VIEW_IQ_TIME_SERIES);
    setMenuAttr(MAINMENU_TSDISP_IQ_OVER, ATTR_DIMMED, view != VIEW_IQ_TIME_SERIES);
    setMenuAttr(MAINMENU_IQPOLARDISP, ATTR_DIMMED, !polar);
}

void placeScalingControls(int view) {
    const DisplayView& v = displayView;
    for (const ControlPlace& p : SCALING_CONTROLS)
        SetCtrlAttribute(panel(), p.control, ATTR_LEFT, v.numericViewOn ? p.leftBesideList : p.left);
    const int fft = view == VIEW_FFT;
    const int ts = view == VIEW_IF_TIME_SERIES || view == VIEW_IQ_TIME_SERIES;
    show(MAINPANEL_FFT_TOP_OF_SCREEN, fft);
    show(MAINPANEL_FFT_VERT_SCALE, fft);
    show(MAINPANEL_TIME_SER_ZOOM_START, ts);
    show(MAINPANEL_TIME_SER_ZOOM_STOP, ts);
    if (fft) {
        SetCtrlVal(panel(), MAINPANEL_FFT_TOP_OF_SCREEN, v.fftTopOfScreenDbm);
        setFftYAxis();
    }
    if (ts) setTimeSeriesXAxis();
}

// The graphs take doubles. A capture too large to copy is reported and drawn as nothing.
template <typename Word>
std::vector<double> toDoubles(const Word* data, size_t count) {
    try {
        return std::vector<double>(data, data + count);
    } catch (const std::bad_alloc&) {
        err4120(DISPLAY_ERROR_ALLOC);
        return {};
    }
}

void plotOn(int graph, std::vector<double> y, int color) {
    if (graph <= 0) return;
    DeleteGraphPlot(panel(), graph, -1, VAL_DELAYED_DRAW);
    PlotY(panel(), graph, std::move(y), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, color);
}

void showNumericList(const CapturedData& record) {
    const int list = displayView.numericList;
    if (list <= 0) return;
    // Labels are made as rows scroll into view; each looks the sample up afresh, so a buffer that has
    // since been refilled or released gives an empty row rather than stale memory.
    const CapturedData* r = &record;
    if (record.sampleDataType == 0) {
        const size_t count = std::min<size_t>(record.numWords, record.ifData.size());
        SetListItemSource(panel(), list, static_cast<int>(count), [r](int i) {
            if (i < 0 || static_cast<size_t>(i) >= r->ifData.size()) return std::string();
            char text[16];
            std::snprintf(text, sizeof text, "%d", r->ifData[i]);
            return std::string(text);
        });
        return;
    }
    const bool wide = record.sampleOutputFormat != 0;
    const size_t available = wide ? std::min(record.iData32.size(), record.qData32.size())
                                  : std::min(record.iData16.size(), record.qData16.size());
    const size_t count = std::min<size_t>(record.numIqSamples, available);
    SetListItemSource(panel(), list, static_cast<int>(count), [r, wide](int i) {
        char text[32];
        const size_t k = static_cast<size_t>(i);
        if (wide) {
            if (i < 0 || k >= r->iData32.size() || k >= r->qData32.size()) return std::string();
            std::snprintf(text, sizeof text, "%d : %d", r->iData32[k], r->qData32[k]);
        } else {
            if (i < 0 || k >= r->iData16.size() || k >= r->qData16.size()) return std::string();
            std::snprintf(text, sizeof text, "%d : %d", r->iData16[k], r->qData16[k]);
        }
        return std::string(text);
    });
}

void showIqTimeSeries(const CapturedData& record) {
    const DisplayView& v = displayView;
    const bool wide = record.sampleOutputFormat != 0;
    const size_t n =
        wide ? std::min<size_t>(record.numIqSamples, std::min(record.iData32.size(), record.qData32.size()))
             : std::min<size_t>(record.numIqSamples, std::min(record.iData16.size(), record.qData16.size()));
    std::vector<double> i = wide ? toDoubles(record.iData32.data(), n) : toDoubles(record.iData16.data(), n);
    std::vector<double> q = wide ? toDoubles(record.qData32.data(), n) : toDoubles(record.qData16.data(), n);
    if (v.timeSeriesIqGraphMode == IQ_GRAPHS_OVERLAID) {
        if (v.timeSeriesGraph <= 0) return;
        DeleteGraphPlot(panel(), v.timeSeriesGraph, -1, VAL_DELAYED_DRAW);
        PlotY(panel(), v.timeSeriesGraph, std::move(i), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, VAL_YELLOW);
        PlotY(panel(), v.timeSeriesGraph, std::move(q), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, VAL_GREEN);
    } else {
        plotOn(v.iGraph, std::move(i), VAL_YELLOW);
        plotOn(v.qGraph, std::move(q), VAL_GREEN);
    }
}

void showPolar(const CapturedData& record) {
    const int graph = displayView.polarGraph;
    if (graph <= 0) return;
    const bool wide = record.sampleOutputFormat != 0;
    const size_t n =
        wide ? std::min<size_t>(record.numIqSamples, std::min(record.iData32.size(), record.qData32.size()))
             : std::min<size_t>(record.numIqSamples, std::min(record.iData16.size(), record.qData16.size()));
    std::vector<double> i = wide ? toDoubles(record.iData32.data(), n) : toDoubles(record.iData16.data(), n);
    std::vector<double> q = wide ? toDoubles(record.qData32.data(), n) : toDoubles(record.qData16.data(), n);
    DeleteGraphPlot(panel(), graph, -1, VAL_DELAYED_DRAW);
    PlotXY(panel(), graph, std::move(i), std::move(q), VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID,
           VAL_GREEN);
}

}  // namespace

int instrumentSampleDataType() {
    int shown = 0;
    GetCtrlVal(panel(), MAINPANEL_DATA_TYPE, &shown);
    if (!isActive4120()) return shown ? 1 : 0;
    uint16_t type = 0;
    // A failed read is not reported here; the panel's own setting stands in for it.
    if (qm4120_getSampleDataType(getQM4120id(), &type) < 0) return shown ? 1 : 0;
    return type ? 1 : 0;
}

void setTimeSeriesXAxis() {
    const DisplayView& v = displayView;
    SetCtrlVal(panel(), MAINPANEL_TIME_SER_ZOOM_START, v.timeSeriesXAxisStart);
    SetCtrlVal(panel(), MAINPANEL_TIME_SER_ZOOM_STOP, v.timeSeriesXAxisStop);
    if (v.timeSeriesXAxisStart >= v.timeSeriesXAxisStop) return;
    for (int g : timeSeriesGraphs())
        SetAxisScalingMode(panel(), g, VAL_XAXIS, VAL_MANUAL, v.timeSeriesXAxisStart, v.timeSeriesXAxisStop);
}

void applyTimeSeriesYScaling() {
    const DisplayView& v = displayView;
    const bool on = v.ifTimeSeriesViewOn || v.iqTimeSeriesViewOn;
    const int manualShown = on && !v.timeSeriesYAutoscale;
    show(MAINPANEL_TIME_SER_Y_AXIS_MIN, manualShown);
    show(MAINPANEL_TIME_SER_Y_AXIS_MAX, manualShown);
    if (manualShown) {
        SetCtrlVal(panel(), MAINPANEL_TIME_SER_Y_AXIS_MIN, v.timeSeriesYAxisMin);
        SetCtrlVal(panel(), MAINPANEL_TIME_SER_Y_AXIS_MAX, v.timeSeriesYAxisMax);
    }
    for (int g : timeSeriesGraphs()) {
        if (v.timeSeriesYAutoscale)
            SetAxisScalingMode(panel(), g, VAL_LEFT_YAXIS, VAL_AUTOSCALE, 0, 0);
        else
            SetAxisScalingMode(panel(), g, VAL_LEFT_YAXIS, VAL_MANUAL, v.timeSeriesYAxisMin,
                               v.timeSeriesYAxisMax);
    }
}

void applyPolarScaling() {
    const DisplayView& v = displayView;
    const int manualShown = v.iqPolarViewOn && !v.iqPolarAutoscale;
    show(MAINPANEL_IQPOLAR_I_AXIS_RANGE, manualShown);
    show(MAINPANEL_IQPOLAR_Q_AXIS_RANGE, manualShown);
    if (manualShown) {
        SetCtrlVal(panel(), MAINPANEL_IQPOLAR_I_AXIS_RANGE, v.iqPolarIAxisRange);
        SetCtrlVal(panel(), MAINPANEL_IQPOLAR_Q_AXIS_RANGE, v.iqPolarQAxisRange);
    }
    if (v.polarGraph <= 0) return;
    const int mode = v.iqPolarAutoscale ? VAL_AUTOSCALE : VAL_MANUAL;
    SetAxisScalingMode(panel(), v.polarGraph, VAL_LEFT_YAXIS, mode, -v.iqPolarQAxisRange,
                       v.iqPolarQAxisRange);
    SetAxisScalingMode(panel(), v.polarGraph, VAL_XAXIS, mode, -v.iqPolarIAxisRange, v.iqPolarIAxisRange);
}

void setupView(int view) {
    DisplayView& v = displayView;
    discardAllGraphs();
    switch (view) {
        case VIEW_FFT:
            createFftGraph();
            break;
        case VIEW_IF_TIME_SERIES:
        case VIEW_IQ_TIME_SERIES:
            createTimeSeriesGraphs(view);
            break;
        case VIEW_IQ_POLAR:
            v.polarGraph = makeGraph("IQ Polar", GRAPH_TOP, GRAPH_HEIGHT, GRAPH_WIDTH_BESIDE_LIST, "I", "Q",
                                     v.iqPolarGraticuleVisible);
            break;
        default:
            return;
    }
    setMenuAttr(MAINMENU_FFTDISP_GRAT, ATTR_CHECKED, v.fftGraticuleVisible);
    setMenuAttr(MAINMENU_TSDISP_GRAT, ATTR_CHECKED, v.timeSeriesGraticuleVisible);
    setMenuAttr(MAINMENU_IQPOLARDISP_GRAT, ATTR_CHECKED, v.iqPolarGraticuleVisible);
    setViewFlags(view);
    setMenuDimming(view);
    placeScalingControls(view);
    applyTimeSeriesYScaling();
    applyPolarScaling();
}

void refreshCurrentView() {
    const DisplayView& v = displayView;
    if (v.fftViewOn)
        setupView(VIEW_FFT);
    else if (v.ifTimeSeriesViewOn)
        setupView(VIEW_IF_TIME_SERIES);
    else if (v.iqTimeSeriesViewOn)
        setupView(VIEW_IQ_TIME_SERIES);
    else if (v.iqPolarViewOn)
        setupView(VIEW_IQ_POLAR);
}

void clearAllPlots() {
    const DisplayView& v = displayView;
    if (v.numericList > 0) ClearListCtrl(panel(), v.numericList);
    for (int g : {v.timeSeriesGraph, v.iGraph, v.qGraph, v.fftGraph, v.polarGraph})
        if (g > 0) DeleteGraphPlot(panel(), g, -1, VAL_IMMEDIATE_DRAW);
}

void showNumericListControl(int show, int dataType) {
    DisplayView& v = displayView;
    if (v.numericList > 0) DiscardCtrl(panel(), v.numericList);
    v.numericList = 0;
    if (!show) return;
    v.numericList = NewCtrl(panel(), CTRL_LIST_BOX, dataType ? "Capture Data\n(I : Q)" : "Capture Data\n(IF)",
                            LIST_TOP, LIST_LEFT);
    if (v.numericList <= 0) {
        v.numericList = 0;
        return;
    }
    SetCtrlAttribute(panel(), v.numericList, ATTR_WIDTH, LIST_WIDTH);
    SetCtrlAttribute(panel(), v.numericList, ATTR_HEIGHT, LIST_HEIGHT);
}

void displayCapturedData(CapturedData& record) {
    const DisplayView& v = displayView;
    if (v.numericViewOn) showNumericList(record);
    if (record.sampleDataType == 0) {
        if (v.fftViewOn && computeIfSpectrum(record) == 0) {
            const bool fresh = applyTraceExtras();
            plotFftTrace();
            showTraceExtras(fresh);
        }
        if (v.ifTimeSeriesViewOn) {
            const size_t n = std::min<size_t>(record.numIfSamples, record.ifData.size());
            plotOn(v.timeSeriesGraph, toDoubles(record.ifData.data(), n), VAL_WHITE);
        }
        return;
    }
    if (v.fftViewOn) {
        // On the RF input the I/Q spectrum is centred on the frequency tuned now.
        double rf = record.rfFrequency;
        if (record.inputSource != 0 && isActive4120()) {
            double read = 0;
            const int32_t status = qm4120_getRfFrequency(getQM4120id(), &read);
            err4120(status);
            if (status >= 0) rf = read;
        }
        if (computeIqSpectrum(record, rf) == 0) {
            const bool fresh = applyTraceExtras();
            plotFftTrace();
            showTraceExtras(fresh);
        }
    }
    if (v.iqTimeSeriesViewOn) showIqTimeSeries(record);
    if (v.iqPolarViewOn) showPolar(record);
}

void viewsFollowSampleDataType(int dataType) {
    const DisplayView& v = displayView;
    if (dataType == 0) {
        if (v.timeSeriesViewOn || v.iqPolarViewOn) {
            displayView.ifTimeSeriesViewOn = 1;
            setupView(VIEW_IF_TIME_SERIES);
        }
        setMenuAttr(MAINMENU_VIEW_IQ_POLAR, ATTR_DIMMED, 1);
    } else {
        if (v.timeSeriesViewOn) {
            displayView.iqTimeSeriesViewOn = 1;
            setupView(VIEW_IQ_TIME_SERIES);
        } else if (v.iqPolarViewOn) {
            setupView(VIEW_IQ_POLAR);
        }
        setMenuAttr(MAINMENU_VIEW_IQ_POLAR, ATTR_DIMMED, 0);
    }
    if (displayView.numericList > 0)
        SetCtrlAttribute(panel(), displayView.numericList, ATTR_LABEL_TEXT,
                         dataType ? "Capture Data\n(I : Q)" : "Capture Data\n(IF)");
    if (capturedData.dataValid && capturedData.sampleDataType == (dataType ? 1 : 0)) {
        prepareFftInput(capturedData);
        displayCapturedData(capturedData);
    }
}
