#include "routing_panel.h"

#include <string>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

const RoutingDestination ROUTING_DESTINATIONS[ROUTING_DESTINATION_COUNT] = {
    // PXI trigger lines 0 to 7
    {0, ROUTE_INPUTPXITRIG0, ROUTE_OEPXITRIG0},
    {1, ROUTE_INPUTPXITRIG1, ROUTE_OEPXITRIG1},
    {2, ROUTE_INPUTPXITRIG2, ROUTE_OEPXITRIG2},
    {3, ROUTE_INPUTPXITRIG3, ROUTE_OEPXITRIG3},
    {4, ROUTE_INPUTPXITRIG4, ROUTE_OEPXITRIG4},
    {5, ROUTE_INPUTPXITRIG5, ROUTE_OEPXITRIG5},
    {6, ROUTE_INPUTPXITRIG6, ROUTE_OEPXITRIG6},
    {7, ROUTE_INPUTPXITRIG7, ROUTE_OEPXITRIG7},
    // PXI local-bus lines 0 to 12
    {9, ROUTE_INPUTPXILBL0, ROUTE_OEPXILBL0},
    {10, ROUTE_INPUTPXILBL1, ROUTE_OEPXILBL1},
    {11, ROUTE_INPUTPXILBL2, ROUTE_OEPXILBL2},
    {12, ROUTE_INPUTPXILBL3, ROUTE_OEPXILBL3},
    {13, ROUTE_INPUTPXILBL4, ROUTE_OEPXILBL4},
    {14, ROUTE_INPUTPXILBL5, ROUTE_OEPXILBL5},
    {15, ROUTE_INPUTPXILBL6, ROUTE_OEPXILBL6},
    {16, ROUTE_INPUTPXILBL7, ROUTE_OEPXILBL7},
    {17, ROUTE_INPUTPXILBL8, ROUTE_OEPXILBL8},
    {18, ROUTE_INPUTPXILBL9, ROUTE_OEPXILBL9},
    {19, ROUTE_INPUTPXILBL10, ROUTE_OEPXILBL10},
    {20, ROUTE_INPUTPXILBL11, ROUTE_OEPXILBL11},
    {21, ROUTE_INPUTPXILBL12, ROUTE_OEPXILBL12},
    // list address bits 0 to 6 and the list strobe
    {40, ROUTE_INPUTLISTADDR0, 0},
    {41, ROUTE_INPUTLISTADDR1, 0},
    {42, ROUTE_INPUTLISTADDR2, 0},
    {43, ROUTE_INPUTLISTADDR3, 0},
    {44, ROUTE_INPUTLISTADDR4, 0},
    {45, ROUTE_INPUTLISTADDR5, 0},
    {46, ROUTE_INPUTLISTADDR6, 0},
    {48, ROUTE_INPUTLISTSTB, 0},
    // front SMB, list counter step and reset, timer synchronisation
    {38, ROUTE_INPUTFPTRIG, ROUTE_OEFPTRIG},
    {57, ROUTE_INPUTCOUNTSTEP, 0},
    {58, ROUTE_INPUTCOUNTRST, 0},
    {37, ROUTE_INPUTTIMERSYNC, 0},
    // LVDS markers 1 to 4
    {22, ROUTE_INPUTLVDSMARK1, 0},
    {23, ROUTE_INPUTLVDSMARK2, 0},
    {24, ROUTE_INPUTLVDSMARK3, 0},
    {25, ROUTE_INPUTLVDSMARK4, 0},
    // LVDS auxiliary lines 0 to 4
    {26, ROUTE_INPUTLVDSAUX0, 0},
    {27, ROUTE_INPUTLVDSAUX1, 0},
    {28, ROUTE_INPUTLVDSAUX2, 0},
    {29, ROUTE_INPUTLVDSAUX3, 0},
    {30, ROUTE_INPUTLVDSAUX4, 0},
    // LVDS spare lines 0 to 2
    {31, ROUTE_INPUTLVDSSPARE0, 0},
    {32, ROUTE_INPUTLVDSSPARE1, 0},
    {33, ROUTE_INPUTLVDSSPARE2, 0},
};

const RoutingSource ROUTING_SOURCES[ROUTING_SOURCE_COUNT] = {
    {"PXI_TRIG[0]", 0},   {"PXI_TRIG[1]", 1},   {"PXI_TRIG[2]", 2},   {"PXI_TRIG[3]", 3},
    {"PXI_TRIG[4]", 4},   {"PXI_TRIG[5]", 5},   {"PXI_TRIG[6]", 6},   {"PXI_TRIG[7]", 7},
    {"PXI_STAR", 8},      {"PXI_LBL[0]", 9},    {"PXI_LBL[1]", 10},   {"PXI_LBL[2]", 11},
    {"PXI_LBL[3]", 12},   {"PXI_LBL[4]", 13},   {"PXI_LBL[5]", 14},   {"PXI_LBL[6]", 15},
    {"PXI_LBL[7]", 16},   {"PXI_LBL[8]", 17},   {"PXI_LBL[9]", 18},   {"PXI_LBL[10]", 19},
    {"PXI_LBL[11]", 20},  {"PXI_LBL[12]", 21},  {"LVDS_MARKER1", 22}, {"LVDS_MARKER2", 23},
    {"LVDS_MARKER3", 24}, {"LVDS_MARKER4", 25}, {"LVDS_AUX[0]", 26},  {"LVDS_AUX[1]", 27},
    {"LVDS_AUX[2]", 28},  {"LVDS_AUX[3]", 29},  {"LVDS_AUX[4]", 30},  {"LVDS_SPARE[0]", 31},
    {"INT_TRIG", 35},     {"INT_TIMER", 36},    {"FRONT_SMB", 38},    {"CAPT_BUSY", 39},
    {"SEQ[0]", 59},       {"SEQ[1]", 60},       {"SEQ[2]", 61},       {"SEQ[3]", 62},
    {"SEQ[4]", 63},       {"SEQ[5]", 64},       {"SEQ[6]", 65},       {"SEQ_STB_OUT", 67},
    {"LA_OUT[0]", 49},    {"LA_OUT[1]", 50},    {"LA_OUT[2]", 51},    {"LA_OUT[3]", 52},
    {"LA_OUT[4]", 53},    {"LA_OUT[5]", 54},    {"LA_OUT[6]", 55},    {"LST_BLANK", 69},
    {"SEQ_START", 68},    {"GND", 34},
};

namespace {

constexpr int PXI_LINE_COUNT = 21;
constexpr int PXI_TRIGGER_COUNT = 8;
constexpr int FIRST_LVDS_DESTINATION = 33;  // markers, auxiliary and spare lines follow
constexpr const char* INPUT_TOOL_TIP = "Selects a routing matrix input";

struct ModeRing {
    int control;
    const char* toolTip;
};
constexpr ModeRing MODE_RINGS[] = {
    {ROUTE_LVDSMARKMODE, "LVDS Marker Mode. I(Input)/O(Output)/T(Tristate)"},
    {ROUTE_LVDSAUXMODE, "LVDS Auxiliary Mode. I(Input)/O(Output)/T(Tristate)"},
    {ROUTE_LVDSDATAMODE, "LVDS Data Mode. I(Input)/O(Output)/T(Tristate)"},
};

void setToolTip(int panel, int control, const std::string& text) {
    SetCtrlToolTipAttribute(panel, control, CTRL_TOOLTIP_ATTR_TEXT, text.c_str());
    SetCtrlToolTipAttribute(panel, control, CTRL_TOOLTIP_ATTR_ENABLE, 1);
}

}  // namespace

const RoutingDestination* routingDestinationOfControl(int control) {
    if (control <= 0) return nullptr;
    for (const RoutingDestination& d : ROUTING_DESTINATIONS)
        if (d.inputRing == control || d.outputEnable == control) return &d;
    return nullptr;
}

void routingPanelInit(int routePanel) {
    if (routePanel <= 0) return;
    for (const RoutingDestination& d : ROUTING_DESTINATIONS) {
        ClearListCtrl(routePanel, d.inputRing);
        for (const RoutingSource& source : ROUTING_SOURCES)
            InsertListItem(routePanel, d.inputRing, -1, source.label, source.value);
    }
    for (const ModeRing& mode : MODE_RINGS) {
        ClearListCtrl(routePanel, mode.control);
        InsertListItem(routePanel, mode.control, -1, "I", LVDS_MODE_INPUT);
        InsertListItem(routePanel, mode.control, -1, "O", LVDS_MODE_OUTPUT);
        InsertListItem(routePanel, mode.control, -1, "T", LVDS_MODE_TRISTATE);
        setToolTip(routePanel, mode.control, mode.toolTip);
    }
    for (int i = 0; i < PXI_LINE_COUNT; ++i) {
        const RoutingDestination& d = ROUTING_DESTINATIONS[i];
        setToolTip(routePanel, d.inputRing, INPUT_TOOL_TIP);
        const std::string line = i < PXI_TRIGGER_COUNT
                                     ? "PXI Trig[" + std::to_string(i) + "]"
                                     : "PXI LBL[" + std::to_string(i - PXI_TRIGGER_COUNT) + "]";
        setToolTip(routePanel, d.outputEnable, "Output Enable for " + line);
    }
    for (int i = FIRST_LVDS_DESTINATION; i < ROUTING_DESTINATION_COUNT; ++i)
        setToolTip(routePanel, ROUTING_DESTINATIONS[i].inputRing, INPUT_TOOL_TIP);
}

namespace {

// An LVDS group: its destinations (consecutive in ROUTING_DESTINATIONS), the direction ring, and how many
// of its rings the direction governs (the data direction governs only the first spare line).
struct LvdsGroup {
    int first;
    int count;
    int governed;
    int modeRing;
    int32_t (*get)(uint32_t, uint16_t*);
    int32_t (*set)(uint32_t, uint16_t);
};
constexpr LvdsGroup LVDS_MARKERS = {
    33, 4, 4, ROUTE_LVDSMARKMODE, qm4120_getLvdsMarkerMode, qm4120_setLvdsMarkerMode};
constexpr LvdsGroup LVDS_AUX = {37, 5, 5, ROUTE_LVDSAUXMODE, qm4120_getLvdsAuxMode, qm4120_setLvdsAuxMode};
constexpr LvdsGroup LVDS_SPARE = {
    42, 3, 1, ROUTE_LVDSDATAMODE, qm4120_getLvdsDataMode, qm4120_setLvdsDataMode};
constexpr int SMB_AND_COUNTER_FIRST = 29;  // front SMB, counter step and reset, timer synchronisation
constexpr int LIST_INPUTS_FIRST = 21;      // list address bits and strobe
constexpr uint16_t LVDS_AUX_SCENARIO = 1;
constexpr int SCENARIO_LIST_SIZE = 2;

void (*lvdsMenuRefresher)() = nullptr;

int routePanel() {
    return appState.routePanel;
}

// A failed read leaves the control as it was: the panel never shows a value the module did not give.
void showSource(const RoutingDestination& d) {
    uint32_t source = 0;
    if (qm4120_getRoutingConnect(getQM4120id(), d.index, &source) >= 0)
        SetCtrlVal(routePanel(), d.inputRing, static_cast<int>(source));
}

void showEnable(const RoutingDestination& d) {
    uint16_t enable = 0;
    if (qm4120_getRoutingOutputEnable(getQM4120id(), d.index, &enable) >= 0)
        SetCtrlVal(routePanel(), d.outputEnable, enable ? 1 : 0);
}

void showSources(int first, int count) {
    for (int i = first; i < first + count; ++i) showSource(ROUTING_DESTINATIONS[i]);
}

// The LVDS lines of a group can only be driven from the matrix while the group's direction is output;
// a direction that cannot be read shows as tri-state and leaves the lines alone.
void showLvdsGroup(const LvdsGroup& g) {
    showSources(g.first, g.count);
    uint16_t mode = LVDS_MODE_TRISTATE;
    const bool read = g.get(getQM4120id(), &mode) >= 0;
    if (!read) mode = LVDS_MODE_TRISTATE;
    const bool driven = read && mode == LVDS_MODE_OUTPUT;
    for (int i = g.first; i < g.first + g.governed; ++i)
        SetCtrlAttribute(routePanel(), ROUTING_DESTINATIONS[i].inputRing, ATTR_DIMMED, driven ? 0 : 1);
    SetCtrlVal(routePanel(), g.modeRing, static_cast<unsigned short>(mode));
}

void enterLvdsMode(int panel, int control, const LvdsGroup& g) {
    if (!isActive4120()) return;
    unsigned short mode = 0;
    GetCtrlVal(panel, control, &mode);
    const int32_t status = g.set(getQM4120id(), mode);
    err4120(status);
    if (status != 0) {
        routingPanelUpdateFromHw();
        return;
    }
    showLvdsGroup(g);
    if (lvdsMenuRefresher) lvdsMenuRefresher();
}

bool scenarioActive(uint16_t scenario) {
    uint16_t list[SCENARIO_LIST_SIZE] = {};
    if (qm4120_getRoutingScenarioList(getQM4120id(), list) < 0) return false;
    for (uint16_t active : list) {
        if (active == 0) break;
        if (active == scenario) return true;
    }
    return false;
}

}  // namespace

void setLvdsMenuRefresher(void (*refresher)()) {
    lvdsMenuRefresher = refresher;
}

void routingPanelUpdateFromHw() {
    if (!isActive4120() || routePanel() <= 0) return;
    showSources(0, PXI_LINE_COUNT);
    for (int i = 0; i < PXI_LINE_COUNT; ++i) showEnable(ROUTING_DESTINATIONS[i]);
    showSource(ROUTING_DESTINATIONS[SMB_AND_COUNTER_FIRST]);
    showEnable(ROUTING_DESTINATIONS[SMB_AND_COUNTER_FIRST]);
    showSources(SMB_AND_COUNTER_FIRST + 1, 3);
    showSources(LIST_INPUTS_FIRST, 8);
    showLvdsGroup(LVDS_MARKERS);
    showLvdsGroup(LVDS_AUX);
    showLvdsGroup(LVDS_SPARE);
    routingMenuUpdateScenario();
}

void routingPanelShowLvdsMode(int modeRing, uint16_t mode) {
    for (const LvdsGroup* g : {&LVDS_MARKERS, &LVDS_AUX, &LVDS_SPARE}) {
        if (g->modeRing != modeRing) continue;
        for (int i = g->first; i < g->first + g->governed; ++i)
            SetCtrlAttribute(routePanel(), ROUTING_DESTINATIONS[i].inputRing, ATTR_DIMMED,
                             mode == LVDS_MODE_OUTPUT ? 0 : 1);
        SetCtrlVal(routePanel(), modeRing, static_cast<unsigned short>(mode));
    }
}

void routingMenuUpdateScenario() {
    const int bar = appState.mainMenuBar;
    if (bar <= 0) return;
    const bool active = isActive4120() && scenarioActive(LVDS_AUX_SCENARIO);
    SetMenuBarAttribute(bar, MAINMENU_SETTINGS_ROUTE__1, ATTR_CHECKED, active ? 1 : 0);
}

void CmdRoutingMatrix(int, int, void*, int) {
    routingPanelUpdateFromHw();
    DisplayPanel(routePanel());
}

void cmdRouting1(int menuBar, int item, void*, int) {
    if (!isActive4120()) return;
    int checked = 0;
    GetMenuBarAttribute(menuBar, item, ATTR_CHECKED, &checked);
    err4120(checked ? qm4120_removeRoutingScenario(getQM4120id(), LVDS_AUX_SCENARIO)
                    : qm4120_appendRoutingScenario(getQM4120id(), LVDS_AUX_SCENARIO));
    routingMenuUpdateScenario();
    routingPanelUpdateFromHw();
}

int CmdRoutingInputChanged(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const RoutingDestination* d = routingDestinationOfControl(control);
    if (!d || d->inputRing != control) return 0;
    int source = 0;
    GetCtrlVal(panel, control, &source);
    const int32_t status = qm4120_setRoutingConnect(getQM4120id(), d->index, static_cast<uint32_t>(source));
    err4120(status);
    if (status != 0) routingPanelUpdateFromHw();
    return 0;
}

int CmdRoutingOeChanged(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const RoutingDestination* d = routingDestinationOfControl(control);
    if (!d || d->outputEnable != control) return 0;
    int checked = 0;
    GetCtrlVal(panel, control, &checked);
    const int32_t status = qm4120_setRoutingOutputEnable(getQM4120id(), d->index, checked ? 1 : 0);
    err4120(status);
    if (status != 0) routingPanelUpdateFromHw();
    return 0;
}

int CmdRoutLvdsMarkMode(int panel, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) enterLvdsMode(panel, control, LVDS_MARKERS);
    return 0;
}
int CmdRoutLvdsAuxMode(int panel, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) enterLvdsMode(panel, control, LVDS_AUX);
    return 0;
}
int CmdRoutLvdsDataMode(int panel, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) enterLvdsMode(panel, control, LVDS_SPARE);
    return 0;
}

int CmdRoutingReset(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    if (ConfirmPopup("Confirm Action", "Reset routing matrix to defaults.\n\nAre you sure?") != 1) return 0;
    err4120(qm4120_setRoutingScenario(getQM4120id(), 0));
    routingMenuUpdateScenario();
    routingPanelUpdateFromHw();
    return 0;
}

int CmdRoutingClose(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) HidePanel(panel);
    return 0;
}

void registerRoutingCallbacks() {
    RegisterCtrlCallback("CmdRoutingClose", CmdRoutingClose);
    RegisterCtrlCallback("CmdRoutingInputChanged", CmdRoutingInputChanged);
    RegisterCtrlCallback("CmdRoutingOeChanged", CmdRoutingOeChanged);
    RegisterCtrlCallback("CmdRoutLvdsMarkMode", CmdRoutLvdsMarkMode);
    RegisterCtrlCallback("CmdRoutLvdsAuxMode", CmdRoutLvdsAuxMode);
    RegisterCtrlCallback("CmdRoutLvdsDataMode", CmdRoutLvdsDataMode);
    RegisterCtrlCallback("CmdRoutingReset", CmdRoutingReset);
    RegisterMenuCallback("CmdRoutingMatrix", CmdRoutingMatrix);
    RegisterMenuCallback("cmdRouting1", cmdRouting1);
}
