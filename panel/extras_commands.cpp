// The menu commands of the spectrum extras (see extras.h): View Waterfall with its history, the FFT
// Display menu's averaging, max hold and clear, and Save Graph Image with the picture size.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "app_state.h"
#include "display.h"
#include "extras.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

DisplayExtras extras;

struct MenuChoice {
    int item;
    int value;
};
constexpr MenuChoice AVERAGE_ITEMS[] = {
    {MAINMENU_FFTDISP_AVERAGE_OFF, 0},  {MAINMENU_FFTDISP_AVERAGE_A4, 4},
    {MAINMENU_FFTDISP_AVERAGE_A8, 8},   {MAINMENU_FFTDISP_AVERAGE_A16, 16},
    {MAINMENU_FFTDISP_AVERAGE_A32, 32}, {MAINMENU_FFTDISP_AVERAGE_A64, 64},
};
constexpr MenuChoice HISTORY_ITEMS[] = {
    {MAINMENU_VIEW_WFHIST_H50, 50},
    {MAINMENU_VIEW_WFHIST_H100, 100},
    {MAINMENU_VIEW_WFHIST_H200, 200},
    {MAINMENU_VIEW_WFHIST_H500, 500},
};
struct SizeChoice {
    int item;
    int width;
    int height;
};
constexpr SizeChoice IMAGE_SIZE_ITEMS[] = {
    {MAINMENU_VIEW_IMGSIZE_SCREEN, 0, 0},
    {MAINMENU_VIEW_IMGSIZE_S800, 800, 600},
    {MAINMENU_VIEW_IMGSIZE_S1280, 1280, 960},
    {MAINMENU_VIEW_IMGSIZE_S1920, 1920, 1080},
};

void check(int item, int on) {
    if (appState.mainMenuBar > 0) SetMenuBarAttribute(appState.mainMenuBar, item, ATTR_CHECKED, on ? 1 : 0);
}

void showChecks() {
    for (const MenuChoice& c : AVERAGE_ITEMS) check(c.item, c.value == extras.averageCount);
    for (const MenuChoice& c : HISTORY_ITEMS) check(c.item, c.value == extras.waterfallHistory);
    for (const SizeChoice& c : IMAGE_SIZE_ITEMS)
        check(c.item, c.width == extras.graphImageWidth && c.height == extras.graphImageHeight);
    check(MAINMENU_FFTDISP_MAXHOLD, extras.maxHold);
    check(MAINMENU_VIEW_WATERFALL, extras.waterfallOn);
}

// Shows the last capture again in the view that is on, from what is held (nothing new enters).
void redisplay() {
    if (displayView.fftViewOn) refreshCurrentView();
    if (!capturedData.dataValid) return;
    prepareFftInput(capturedData);
    displayCapturedData(capturedData);
}

std::string lowerExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

// "trace.png" with "_waterfall" gives "trace_waterfall.png".
std::string withSuffix(const std::string& path, const char* suffix) {
    const std::string ext = lowerExtension(path);
    return path.substr(0, path.size() - ext.size()) + suffix + path.substr(path.size() - ext.size());
}

struct ViewGraph {
    int graph;
    const char* suffix;
};

// The graphs of the view whose display menu was used: the first is written to the chosen file, a second
// one (the waterfall, the Q graph) beside it with a suffix.
std::vector<ViewGraph> graphsOfMenu(int item) {
    const DisplayView& v = displayView;
    std::vector<ViewGraph> graphs;
    if (item == MAINMENU_FFTDISP_SAVEIMG) {
        graphs = {{v.fftGraph, ""}, {v.waterfallGraph, "_waterfall"}};
    } else if (item == MAINMENU_TSDISP_SAVEIMG) {
        graphs = {{v.timeSeriesGraph, ""}, {v.iGraph, ""}, {v.qGraph, "_q"}};
    } else if (item == MAINMENU_IQPOLARDISP_SAVEIMG) {
        graphs = {{v.polarGraph, ""}};
    }
    std::erase_if(graphs, [](const ViewGraph& g) { return g.graph <= 0; });
    return graphs;
}

}  // namespace

DisplayExtras getDisplayExtras() {
    return extras;
}

void setDisplayExtras(const DisplayExtras& wanted) {
    const DisplayExtras before = extras;
    extras = wanted;
    extras.averageCount = std::clamp(extras.averageCount, 0, TRACE_AVERAGE_MAX);
    if (extras.averageCount == 1) extras.averageCount = 0;  // an average of one trace is the trace
    extras.maxHold = extras.maxHold ? 1 : 0;
    extras.waterfallOn = extras.waterfallOn ? 1 : 0;
    extras.waterfallHistory =
        std::clamp(extras.waterfallHistory, WATERFALL_HISTORY_MIN, WATERFALL_HISTORY_MAX);
    if (extras.graphImageWidth <= 0 || extras.graphImageHeight <= 0) {
        extras.graphImageWidth = extras.graphImageHeight = 0;
    } else {
        extras.graphImageWidth = std::min(extras.graphImageWidth, GRAPH_IMAGE_SIDE_MAX);
        extras.graphImageHeight = std::min(extras.graphImageHeight, GRAPH_IMAGE_SIDE_MAX);
    }
    showChecks();
    if (extras.averageCount != before.averageCount || extras.maxHold != before.maxHold) clearTraceExtras();
    if (extras.waterfallHistory != before.waterfallHistory) {
        trimWaterfallRows();
        redrawWaterfall();
    }
    if (extras.waterfallOn != before.waterfallOn && displayView.fftViewOn) redisplay();
}

void initExtrasControls() {
    showChecks();
}

bool displayExtrasInUse() {
    return !(extras == DisplayExtras{});
}

void cmdViewWaterfall(int, int, void*, int) {
    DisplayExtras e = extras;
    e.waterfallOn = !e.waterfallOn;
    setDisplayExtras(e);
}

void cmdWaterfallHistory(int, int item, void*, int) {
    DisplayExtras e = extras;
    for (const MenuChoice& c : HISTORY_ITEMS)
        if (c.item == item) e.waterfallHistory = c.value;
    setDisplayExtras(e);
}

void cmdFftAveraging(int, int item, void*, int) {
    DisplayExtras e = extras;
    for (const MenuChoice& c : AVERAGE_ITEMS)
        if (c.item == item) e.averageCount = c.value;
    setDisplayExtras(e);
}

void cmdFftMaxHold(int, int, void*, int) {
    DisplayExtras e = extras;
    e.maxHold = !e.maxHold;
    setDisplayExtras(e);
}

void cmdFftClearTraces(int, int, void*, int) {
    clearTraceExtras();
}

void cmdGraphImageSize(int, int item, void*, int) {
    DisplayExtras e = extras;
    for (const SizeChoice& c : IMAGE_SIZE_ITEMS)
        if (c.item == item) e.graphImageWidth = c.width, e.graphImageHeight = c.height;
    setDisplayExtras(e);
}

void cmdSaveGraphImage(int, int item, void*, int) {
    const std::vector<ViewGraph> graphs = graphsOfMenu(item);
    if (graphs.empty()) return;
    char chosen[MAX_PATHNAME_LEN] = {};
    const int result = FileSelectPopup("", "*.png", "*.png;*.jpg;*.pdf", "Save Graph Image", VAL_SAVE_BUTTON,
                                       0, 0, 1, 1, chosen);
    if (result <= 0 || chosen[0] == '\0') return;
    std::string path = chosen;
    const std::string ext = lowerExtension(path);
    int format = VAL_GRAPH_PNG;
    if (ext == ".jpg" || ext == ".jpeg")
        format = VAL_GRAPH_JPEG;
    else if (ext == ".pdf")
        format = VAL_GRAPH_PDF;
    else if (ext != ".png")
        path += ".png";
    const int panel = getMainPanel();
    for (const ViewGraph& g : graphs) {
        const std::string file = withSuffix(path, g.suffix);
        const int status = SaveGraphImage(panel, g.graph, file.c_str(), format, extras.graphImageWidth,
                                          extras.graphImageHeight);
        if (status < 0) {
            char message[MAX_PATHNAME_LEN + 96];
            std::snprintf(message, sizeof message, "The graph could not be written to \"%s\":\n%s",
                          file.c_str(), GetUILErrorString(status));
            MessagePopup("Save Graph Image", message);
            return;
        }
    }
}

namespace {

void resetExtras() {
    extras = DisplayExtras{};
    resetTraceExtras();
    resetWaterfall();
}

}  // namespace

void registerExtrasCallbacks() {
    RegisterMenuCallback("cmdViewWaterfall", cmdViewWaterfall);
    RegisterMenuCallback("cmdWaterfallHistory", cmdWaterfallHistory);
    RegisterMenuCallback("cmdFftAveraging", cmdFftAveraging);
    RegisterMenuCallback("cmdFftMaxHold", cmdFftMaxHold);
    RegisterMenuCallback("cmdFftClearTraces", cmdFftClearTraces);
    RegisterMenuCallback("cmdGraphImageSize", cmdGraphImageSize);
    RegisterMenuCallback("cmdSaveGraphImage", cmdSaveGraphImage);
    registerStateReset(resetExtras);
}
