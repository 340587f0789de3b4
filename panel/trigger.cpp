// Trigger group of the main panel (see trigger.h).
#include "trigger.h"

#include <cstdio>

#include "acquisition.h"
#include "app_state.h"
#include "capture_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "routing_panel.h"
#include "userint.h"

const TriggerFamily TRIGGER_FAMILIES[TRIGGER_FAMILY_COUNT] = {
    {"PXI_TRIG", 0, 8, 0},  {"PXI_STAR", 8, 0, 0}, {"PXI_LBL", 9, 13, 0},   {"LVDS_M", 22, 4, 1},
    {"LVDS_A", 26, 5, 0},   {"LVDS_S", 31, 0, 0},  {"FRONT_SMB", 36, 0, 0}, {"INT_TIMER", 34, 0, 0},
    {"INT_TRIG", 35, 0, 0}, {"SW_TRIG", 32, 0, 0},
};

namespace {

constexpr int FAMILY_INT_TIMER = 7;
constexpr int FAMILY_INT_TRIG = 8;
constexpr uint16_t TRIGGER_TYPE_EDGE = 0;
constexpr uint16_t TRIGGER_TYPE_GATE = 1;
constexpr uint16_t INT_TRIG_ABSOLUTE = 0;
constexpr uint16_t LVDS_DIRECTION_INPUT = 0;

// What the internal-trigger group shows while no module is booted.
constexpr double NOT_BOOTED_ABS_THRESHOLD_DBM = -50.0;
constexpr double NOT_BOOTED_ABS_TC_US = 0.1;
constexpr int NOT_BOOTED_REL_THRESHOLD_DB = 3;
constexpr double NOT_BOOTED_SLOW_TC_US = 0.9;
constexpr double NOT_BOOTED_FAST_TC_US = 0.1;

// An LVDS trigger source listens to its group's lines, which must then be receivers.
struct LvdsTriggerGroup {
    int family;
    int32_t (*get)(uint32_t, uint16_t*);
    int32_t (*set)(uint32_t, uint16_t);
    const char* title;
    const char* message;
};
constexpr LvdsTriggerGroup LVDS_TRIGGER_GROUPS[] = {
    {3, qm4120_getLvdsMarkerMode, qm4120_setLvdsMarkerMode, "LVDS Marker Mode",
     "LVDS Marker Mode set to 'Input'"},
    {4, qm4120_getLvdsAuxMode, qm4120_setLvdsAuxMode, "LVDS Aux Mode", "LVDS Aux Mode set to 'Input'"},
    {5, qm4120_getLvdsDataMode, qm4120_setLvdsDataMode, "LVDS Data Mode", "LVDS Data Mode set to 'Input'"},
};

constexpr int TRIGGER_PARAMETERS[] = {MAINPANEL_CAPT_TRIG_TYPE, MAINPANEL_CAPT_TRIG_EG_POL,
                                      MAINPANEL_CAPT_TRIG_OFFS_DELAY, MAINPANEL_CAPT_TRIG_PRE_SAMP};

int panel() {
    return appState.mainPanel;
}

void setVisible(int control, bool visible) {
    SetCtrlAttribute(panel(), control, ATTR_VISIBLE, visible ? 1 : 0);
}

// Runs a capture button's command as if the operator had pressed it.
void pressCaptureButton(int control) {
    CallCtrlCallback(panel(), control, EVENT_COMMIT, 0, 0, nullptr);
}

// Ends whatever capture is under way before a trigger parameter changes under it.
void stopAndDisarm() {
    pressCaptureButton(MAINPANEL_CMD_STOP);
    pressCaptureButton(MAINPANEL_CMD_DISARM);
}

// A new source or line ends a run in progress (repeat captures, a wait for a trigger).
void endRunInProgress() {
    captureStopRequested = 1;
    captureAbortRequested = 1;
}

void reportInvalidSourceCode(uint16_t code) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The module's trigger source code %u belongs to no trigger source.\n"
                  "The trigger source shown may not be the one in use.",
                  static_cast<unsigned>(code));
    MessagePopup("Capture Trigger", text);
}

// Switches the LVDS group an LVDS trigger source listens on to input, and says so.
void makeLvdsGroupInput(int family) {
    for (const LvdsTriggerGroup& g : LVDS_TRIGGER_GROUPS) {
        if (g.family != family) continue;
        uint16_t direction = 0;
        if (g.get(getQM4120id(), &direction) < 0 || direction == LVDS_DIRECTION_INPUT) return;
        err4120(g.set(getQM4120id(), LVDS_DIRECTION_INPUT));
        refreshLvdsMenu();
        routingPanelUpdateFromHw();
        MessagePopup(g.title, g.message);
        return;
    }
}

uint16_t shownFamily() {
    unsigned short family = 0;
    GetCtrlVal(panel(), MAINPANEL_CAPT_TRIG, &family);
    return family;
}

void showSampleControl(uint16_t type) {
    const bool gate = type == TRIGGER_TYPE_GATE;
    SetCtrlAttribute(panel(), MAINPANEL_CAPT_TRIG_PRE_SAMP, ATTR_LABEL_TEXT,
                     gate ? "Post-Trig Samples" : "Pre-Trig Samples");
    SetCtrlToolTipAttribute(panel(), MAINPANEL_CAPT_TRIG_PRE_SAMP, CTRL_TOOLTIP_ATTR_TEXT,
                            gate ? "Set number of samples to capture after the gate trigger"
                                 : "Set number of samples to capture before the edge trigger");
    SetCtrlToolTipAttribute(panel(), MAINPANEL_CAPT_TRIG_PRE_SAMP, CTRL_TOOLTIP_ATTR_ENABLE, 1);
    if (!isActive4120()) {
        SetCtrlVal(panel(), MAINPANEL_CAPT_TRIG_PRE_SAMP, 0u);
        return;
    }
    showRead(panel(), MAINPANEL_CAPT_TRIG_PRE_SAMP,
             gate ? qm4120_getPostGateTriggerSamples : qm4120_getPreEdgeTriggerSamples, StatusReport::Report);
}

// The first "uSec" caption belongs to whichever time constant comes first in the mode shown.
void placeUnitBeside(int control) {
    int top = 0, left = 0, width = 0;
    GetCtrlAttribute(panel(), control, ATTR_TOP, &top);
    GetCtrlAttribute(panel(), control, ATTR_LEFT, &left);
    GetCtrlAttribute(panel(), control, ATTR_WIDTH, &width);
    SetCtrlAttribute(panel(), MAINPANEL_TEXTUSEC1, ATTR_TOP, top + 3);
    SetCtrlAttribute(panel(), MAINPANEL_TEXTUSEC1, ATTR_LEFT, left + width + 4);
}

void showTimerValues() {
    if (!isActive4120()) return;
    showRead(panel(), MAINPANEL_TIMERPERIOD, qm4120_getListTimerDwell, StatusReport::Report);
    showRead(panel(), MAINPANEL_TIMERPHASE, qm4120_getTimerPhase, StatusReport::Report);
}

// The common road of the internal-trigger entries: end the capture, send, show the group again.
template <typename T>
int enterIntTrigValue(int control, int32_t (*set)(uint32_t, T)) {
    if (!isActive4120()) return 0;
    stopAndDisarm();
    ControlValue<T> value{};
    GetCtrlVal(panel(), control, &value);
    noteStatus(set(getQM4120id(), static_cast<T>(value)));
    refreshIntTrigControls();
    return 0;
}

}  // namespace

int triggerFamilyOfCode(uint16_t code) {
    for (int f = 0; f < TRIGGER_FAMILY_COUNT; ++f) {
        const TriggerFamily& family = TRIGGER_FAMILIES[f];
        const int lines = family.lines ? family.lines : 1;
        if (code >= family.base && code < family.base + lines) return f;
    }
    return -1;
}

int fillTriggerSourceRings(uint16_t code) {
    const int family = triggerFamilyOfCode(code);
    if (family < 0) {
        reportInvalidSourceCode(code);
        return -1;
    }
    const int p = panel();
    ClearListCtrl(p, MAINPANEL_CAPT_TRIG);
    for (int f = 0; f < TRIGGER_FAMILY_COUNT; ++f)
        InsertListItem(p, MAINPANEL_CAPT_TRIG, -1, TRIGGER_FAMILIES[f].text, f);
    SetCtrlVal(p, MAINPANEL_CAPT_TRIG, static_cast<unsigned short>(family));

    showTimerControls(false);
    showIntTrigControls(false);
    ClearListCtrl(p, MAINPANEL_CAPT_TRIG_BIT);
    const TriggerFamily& f = TRIGGER_FAMILIES[family];
    setVisible(MAINPANEL_CAPT_TRIG_BIT, f.lines > 0);
    for (unsigned line = 0; line < f.lines; ++line) {
        char label[8];
        std::snprintf(label, sizeof label, "%u", line + f.firstLineLabel);
        InsertListItem(p, MAINPANEL_CAPT_TRIG_BIT, -1, label, line);
    }
    if (family == FAMILY_INT_TIMER) showTimerControls(true);
    if (family == FAMILY_INT_TRIG) refreshIntTrigControls();
    return family;
}

void refreshTriggerSource() {
    uint16_t code = TRIG_SOURCE_SOFTWARE;
    if (isActive4120() && !readModule(qm4120_getTriggerSource, &code, StatusReport::Report)) return;
    const int family = fillTriggerSourceRings(code);
    if (family >= 0 && TRIGGER_FAMILIES[family].lines > 0)
        SetCtrlVal(panel(), MAINPANEL_CAPT_TRIG_BIT,
                   static_cast<unsigned short>(code - TRIGGER_FAMILIES[family].base));
}

void refreshTriggerControls() {
    const int p = panel();
    if (p <= 0) return;
    uint16_t sourceType = 0;
    uint16_t source = TRIG_SOURCE_SOFTWARE;
    if (isActive4120()) {
        readModule(qm4120_getTriggerSourceType, &sourceType, StatusReport::Report);
        readModule(qm4120_getTriggerSource, &source, StatusReport::Report);
    }
    const bool triggered = sourceType != 0;
    setVisible(MAINPANEL_CMD_SINGLE, !triggered);
    setVisible(MAINPANEL_CMD_STOP, !triggered);
    setVisible(MAINPANEL_CMD_ARM, triggered);
    setVisible(MAINPANEL_CMD_DISARM, triggered);
    for (int control : TRIGGER_PARAMETERS) setVisible(control, triggered);
    if (triggered) {
        SetCtrlAttribute(p, MAINPANEL_CMD_ARM, ATTR_DIMMED, 0);
        SetCtrlAttribute(p, MAINPANEL_CMD_DISARM, ATTR_DIMMED, 1);
        uint16_t type = TRIGGER_TYPE_EDGE;
        if (isActive4120()) readModule(qm4120_getTriggerType, &type, StatusReport::Report);
        SetCtrlVal(p, MAINPANEL_CAPT_TRIG_TYPE, type);
        showSampleControl(type);
    }

    const bool timer = source == TRIG_SOURCE_TIMER;
    showTimerControls(timer);
    if (timer) showTimerValues();
    refreshIntTrigControls();

    if (isActive4120())
        showRead(p, MAINPANEL_CAPT_TRIG_OFFS_DELAY, qm4120_getTriggerOffsetDelay, StatusReport::Report);
    else
        SetCtrlVal(p, MAINPANEL_CAPT_TRIG_OFFS_DELAY, 0u);
}

void showTimerControls(bool show) {
    setVisible(MAINPANEL_TIMERPERIOD, show);
    setVisible(MAINPANEL_TIMERPHASE, show);
}

void showIntTrigControls(bool show) {
    unsigned short mode = INT_TRIG_ABSOLUTE;
    GetCtrlVal(panel(), MAINPANEL_INTTRIGMODE, &mode);
    const bool absolute = show && mode == INT_TRIG_ABSOLUTE;
    const bool relative = show && mode != INT_TRIG_ABSOLUTE;
    setVisible(MAINPANEL_INTTRIGMODE, show);
    setVisible(MAINPANEL_TRIGABSTHRESHOLD, absolute);
    setVisible(MAINPANEL_TRIGTCABS, absolute);
    setVisible(MAINPANEL_TEXTUSEC1, show);
    if (show) placeUnitBeside(absolute ? MAINPANEL_TRIGTCABS : MAINPANEL_TRIGTCSLOW);
    setVisible(MAINPANEL_TRIGRELTHRESHOLD, relative);
    setVisible(MAINPANEL_TRIGTCSLOW, relative);
    setVisible(MAINPANEL_TRIGTCFAST, relative);
    setVisible(MAINPANEL_TEXTUSEC2, relative);
}

void refreshIntTrigControls() {
    const int p = panel();
    uint16_t source = TRIG_SOURCE_SOFTWARE;
    uint16_t mode = INT_TRIG_ABSOLUTE;
    double absThreshold = NOT_BOOTED_ABS_THRESHOLD_DBM;
    double absTc = NOT_BOOTED_ABS_TC_US;
    int32_t relThreshold = NOT_BOOTED_REL_THRESHOLD_DB;
    double slowTc = NOT_BOOTED_SLOW_TC_US;
    double fastTc = NOT_BOOTED_FAST_TC_US;
    if (isActive4120()) {
        const StatusReport r = StatusReport::Report;
        readModule(qm4120_getTriggerSource, &source, r);
        readModule(qm4120_getIntTriggerMode, &mode, r);
        readModule(qm4120_getIntTriggerAbsThreshold, &absThreshold, r);
        readModule(qm4120_getIntTriggerAbsTimeConst, &absTc, r);
        readModule(qm4120_getIntTriggerRelThreshold, &relThreshold, r);
        readModule(qm4120_getIntTriggerRelSlowTimeConst, &slowTc, r);
        readModule(qm4120_getIntTriggerRelFastTimeConst, &fastTc, r);
    }
    SetCtrlVal(p, MAINPANEL_INTTRIGMODE, mode);
    if (mode == INT_TRIG_ABSOLUTE) {
        SetCtrlVal(p, MAINPANEL_TRIGABSTHRESHOLD, absThreshold);
        SetCtrlVal(p, MAINPANEL_TRIGTCABS, absTc);
    } else {
        SetCtrlVal(p, MAINPANEL_TRIGRELTHRESHOLD, static_cast<int>(relThreshold));
        SetCtrlVal(p, MAINPANEL_TRIGTCSLOW, slowTc);
        SetCtrlVal(p, MAINPANEL_TRIGTCFAST, fastTc);
    }
    showIntTrigControls(source == TRIG_SOURCE_INTERNAL);
}

void initTriggerControls() {
    fillTriggerSourceRings(TRIG_SOURCE_SOFTWARE);
    refreshTriggerControls();
}

int cmdCaptTrig(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const bool booted = isActive4120() != 0;
    if (booted) pressCaptureButton(MAINPANEL_CMD_STOP);
    unsigned short family = 0;
    GetCtrlVal(p, control, &family);
    if (family >= TRIGGER_FAMILY_COUNT) return 0;
    const uint16_t code = TRIGGER_FAMILIES[family].base;
    if (booted) makeLvdsGroupInput(family);
    fillTriggerSourceRings(code);
    if (booted) noteStatus(qm4120_setTriggerSource(getQM4120id(), code));
    refreshTriggerControls();
    endRunInProgress();
    return 0;
}

int cmdCaptTrigBit(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const TriggerFamily& family = TRIGGER_FAMILIES[shownFamily() % TRIGGER_FAMILY_COUNT];
    unsigned short line = 0;
    GetCtrlVal(p, control, &line);
    const uint16_t code = family.lines ? static_cast<uint16_t>(family.base + line) : family.base;
    if (isActive4120()) noteStatus(qm4120_setTriggerSource(getQM4120id(), code));
    endRunInProgress();
    return 0;
}

int cmdCaptTrigType(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    stopAndDisarm();
    unsigned short type = 0;
    GetCtrlVal(p, control, &type);
    noteStatus(qm4120_setTriggerType(getQM4120id(), type));
    refreshTriggerControls();
    return 0;
}

int cmdCaptTrigEGPolarity(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    stopAndDisarm();
    unsigned short polarity = 0;
    GetCtrlVal(p, control, &polarity);
    noteStatus(qm4120_setTriggerEdgeGatePolarity(getQM4120id(), polarity));
    return 0;
}

int cmdCaptTrigPreSamples(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    stopAndDisarm();
    uint16_t type = TRIGGER_TYPE_EDGE;
    if (!readModule(qm4120_getTriggerType, &type)) return 0;
    unsigned samples = 0;
    GetCtrlVal(p, control, &samples);
    if (type == TRIGGER_TYPE_GATE)
        setAndShow<uint32_t>(p, control, samples, qm4120_setPostGateTriggerSamples,
                             qm4120_getPostGateTriggerSamples);
    else
        setAndShow<uint32_t>(p, control, samples, qm4120_setPreEdgeTriggerSamples,
                             qm4120_getPreEdgeTriggerSamples);
    return 0;
}

int cmdCaptTrigOffsDel(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    unsigned delay = 0;
    GetCtrlVal(p, control, &delay);
    setAndShow<int32_t>(p, control, static_cast<int32_t>(delay), qm4120_setTriggerOffsetDelay,
                        qm4120_getTriggerOffsetDelay);
    return 0;
}

int CmdTimerPeriod(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    double us = 0.0;
    GetCtrlVal(p, control, &us);
    noteStatus(qm4120_setListTimerDwell(getQM4120id(), us));
    showTimerValues();
    return 0;
}

int CmdTimerPhase(int p, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    int clocks = 0;
    GetCtrlVal(p, control, &clocks);
    noteStatus(qm4120_setTimerPhase(getQM4120id(), clocks));
    showTimerValues();
    return 0;
}

int CmdIntTrigMode(int, int control, int event, void*, int, int) {
    return event == EVENT_COMMIT ? enterIntTrigValue<uint16_t>(control, qm4120_setIntTriggerMode) : 0;
}
int CmdIntTrigAbsThreshold(int, int control, int event, void*, int, int) {
    return event == EVENT_COMMIT ? enterIntTrigValue<double>(control, qm4120_setIntTriggerAbsThreshold) : 0;
}
int CmdIntTrigAbsTc(int, int control, int event, void*, int, int) {
    return event == EVENT_COMMIT ? enterIntTrigValue<double>(control, qm4120_setIntTriggerAbsTimeConst) : 0;
}
int CmdIntTrigRelThreshold(int, int control, int event, void*, int, int) {
    return event == EVENT_COMMIT ? enterIntTrigValue<int32_t>(control, qm4120_setIntTriggerRelThreshold) : 0;
}
int CmdIntTrigSlowTc(int, int control, int event, void*, int, int) {
    return event == EVENT_COMMIT ? enterIntTrigValue<double>(control, qm4120_setIntTriggerRelSlowTimeConst)
                                 : 0;
}
int CmdIntTrigFastTc(int, int control, int event, void*, int, int) {
    return event == EVENT_COMMIT ? enterIntTrigValue<double>(control, qm4120_setIntTriggerRelFastTimeConst)
                                 : 0;
}

void registerTriggerCallbacks() {
    RegisterCtrlCallback("cmdCaptTrig", cmdCaptTrig);
    RegisterCtrlCallback("cmdCaptTrigBit", cmdCaptTrigBit);
    RegisterCtrlCallback("cmdCaptTrigType", cmdCaptTrigType);
    RegisterCtrlCallback("cmdCaptTrigEGPolarity", cmdCaptTrigEGPolarity);
    RegisterCtrlCallback("cmdCaptTrigPreSamples", cmdCaptTrigPreSamples);
    RegisterCtrlCallback("cmdCaptTrigOffsDel", cmdCaptTrigOffsDel);
    RegisterCtrlCallback("CmdTimerPeriod", CmdTimerPeriod);
    RegisterCtrlCallback("CmdTimerPhase", CmdTimerPhase);
    RegisterCtrlCallback("CmdIntTrigMode", CmdIntTrigMode);
    RegisterCtrlCallback("CmdIntTrigAbsThreshold", CmdIntTrigAbsThreshold);
    RegisterCtrlCallback("CmdIntTrigAbsTc", CmdIntTrigAbsTc);
    RegisterCtrlCallback("CmdIntTrigRelThreshold", CmdIntTrigRelThreshold);
    RegisterCtrlCallback("CmdIntTrigSlowTc", CmdIntTrigSlowTc);
    RegisterCtrlCallback("CmdIntTrigFastTc", CmdIntTrigFastTc);
}
