#include "qm4120_chan_lm.h"

#include <cstdint>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr uint16_t LIST_ADDR_MANUAL = 0;
constexpr uint16_t INPUT_SOURCE_RF = 1;
constexpr uint16_t EXT_REF_NONE = 2;  // no reference to lock to: the lock indicator has nothing to say

struct ListModePanelState {
    int panel = 0;
    int mainPanel = 0;
    int editAllPanel = 0;
};
ListModePanelState lm;

// Main-panel controls that set the active channel or its front end: locked while hardware picks the
// channel, since anything entered there would be overwritten at the next strobe.
constexpr int MAIN_CHANNEL_CONTROLS[] = {
    MAINPANEL_BINARY_INPUT_SOURCE,
    MAINPANEL_CHANNEL,
    MAINPANEL_RING_ATTEN_CONFIG,
    MAINPANEL_RF_FREQ,
    MAINPANEL_LO_OFFSET,
    MAINPANEL_LO_POSITION,
    MAINPANEL_RF_INPUT_LEVEL,
    MAINPANEL_IF_INPUT_LEVEL,
    MAINPANEL_RF_ATTEN,
    MAINPANEL_IF_ATTEN,
    MAINPANEL_RING_FILTER_BYPASS,
    MAINPANEL_RING_EXT_REF,
};
// The RF conversion has nothing to say for the IF input: its controls come back only for the RF input.
constexpr int MAIN_RF_CONVERSION_CONTROLS[] = {MAINPANEL_RF_FREQ, MAINPANEL_LO_OFFSET, MAINPANEL_LO_POSITION};
constexpr int TEMPERATURE_MENU_ITEMS[] = {MAINMENU_SETTINGS_OPT_AUTTMPOPT, MAINMENU_SETTINGS_OPT_TMPOPTCOR};
constexpr int EDIT_ALL_SET_BUTTONS[] = {
    CHEDITALL_FREQSET,    CHEDITALL_LOPOSSET,   CHEDITALL_FRONTENDSET, CHEDITALL_RFLEVELSET,
    CHEDITALL_IFLEVELSET, CHEDITALL_RFATTENSET, CHEDITALL_IFATTENSET,
};

void dimMain(int control, bool dimmed) {
    SetCtrlAttribute(lm.mainPanel, control, ATTR_DIMMED, dimmed ? 1 : 0);
}

void refreshPanels() {
    chanLmPanelUpdateAllFromHw();
    chanPanelUpdateAllFromHw();
}

// Runs a control's commit callback after writing a value into it, as the operator would have.
template <typename T>
void enter(int control, T value) {
    if (!lm.panel) return;
    SetCtrlVal(lm.panel, control, value);
    CallCtrlCallback(lm.panel, control, EVENT_COMMIT, 0, 0, nullptr);
}

bool committed(int event) {
    return event == EVENT_COMMIT && isActive4120();
}

}  // namespace

unsigned LAS2ctrl(uint16_t source) {
    return source <= 2 ? source : 0;
}
uint16_t ctrl2LAS(unsigned ctrl) {
    return ctrl <= 2 ? static_cast<uint16_t>(ctrl) : 0;
}
unsigned LCS2ctrl(uint16_t source) {
    return source == 1 ? 1 : 0;
}
uint16_t ctrl2LCS(unsigned ctrl) {
    return ctrl == 1 ? 1 : 0;
}

void chanLmPanelResetState() {
    lm = ListModePanelState{};
}

int chanLmPanelInit() {
    lm.mainPanel = getMainPanel();
    lm.editAllPanel = getEditAllPanel();
    const int panel = LoadPanel(0, "qm4120_chan.uir", LISTMODE);
    lm.panel = panel > 0 ? panel : 0;
    return lm.panel ? 1 : 0;
}

void chanLmPanelInitPostBoot() {
    chanLmPanelUpdateAllFromHw();
}

void chanLmPanelShow() {
    if (!lm.panel) chanLmPanelInit();
    if (lm.panel) DisplayPanel(lm.panel);
}

void chanLmPanelHide() {
    if (lm.panel) HidePanel(lm.panel);
}

void chanLmPanelDiscard() {
    if (lm.panel) DiscardPanel(lm.panel);
    lm.panel = 0;
}

int getListModePanel() {
    return lm.panel;
}

void chanLmPanelUpdateAllFromHw() {
    if (!lm.panel || !isActive4120()) return;
    const uint32_t session = getQM4120id();
    uint16_t value = 0;
    if (qm4120_getListAddrSource(session, &value) >= 0) SetCtrlVal(lm.panel, LISTMODE_LAS, LAS2ctrl(value));
    if (qm4120_getListStrobeNegEdge(session, &value) >= 0)
        SetCtrlVal(lm.panel, LISTMODE_LSP, value ? 1u : 0u);
    if (qm4120_getListCounterStrobe(session, &value) >= 0)
        SetCtrlVal(lm.panel, LISTMODE_LCS, LCS2ctrl(value));
    uint16_t start = 0;
    uint16_t stop = 0;
    if (qm4120_getListCountStartStop(session, &start, &stop) >= 0) {
        SetCtrlVal(lm.panel, LISTMODE_COUNTSTART, start);
        SetCtrlVal(lm.panel, LISTMODE_COUNTSTOP, stop);
    }
    double dwell = 0.0;
    if (qm4120_getListTimerDwell(session, &dwell) >= 0) SetCtrlVal(lm.panel, LISTMODE_DWELL, dwell);
}

void updateMainpanelListModeControls() {
    lm.mainPanel = getMainPanel();
    if (lm.mainPanel <= 0 || !isActive4120()) return;
    const uint32_t session = getQM4120id();
    const int bar = appState.mainMenuBar;
    if (bar > 0) {
        SetMenuBarAttribute(bar, MAINMENU_SETTINGS_OPT_AUTTMPOPT, ATTR_CHECKED, 0);
        uint16_t optimise = 0;
        if (qm4120_getTemperatureOptimization(session, &optimise) >= 0 && optimise == 1)
            SetMenuBarAttribute(bar, MAINMENU_SETTINGS_OPT_AUTTMPOPT, ATTR_CHECKED, 1);
    }
    uint16_t addrSource = 0;
    qm4120_getListAddrSource(session, &addrSource);
    const bool locked = addrSource != LIST_ADDR_MANUAL;
    if (bar > 0)
        for (int item : TEMPERATURE_MENU_ITEMS) SetMenuBarAttribute(bar, item, ATTR_DIMMED, locked ? 1 : 0);
    if (locked) {
        for (int control : MAIN_CHANNEL_CONTROLS) dimMain(control, true);
        SetCtrlVal(lm.mainPanel, MAINPANEL_LED_REF_LOCKED_STATUS, 0);
        dimMain(MAINPANEL_LED_REF_LOCKED_STATUS, true);
        return;
    }
    for (int control : {MAINPANEL_BINARY_INPUT_SOURCE, MAINPANEL_CHANNEL, MAINPANEL_RING_ATTEN_CONFIG,
                        MAINPANEL_RING_FILTER_BYPASS, MAINPANEL_RING_EXT_REF})
        dimMain(control, false);
    // Released: the attenuator mode and the input decide which entries count. Only the input in use takes
    // a level; the module picks the attenuations in the automatic modes (the IF one only in Auto IF), and
    // the RF attenuator does nothing for the IF input. An input that cannot be read changes nothing.
    uint16_t mode = 0;
    uint16_t source = 0;
    const bool modeRead = qm4120_getFrontEndConfigMode(session, &mode) >= 0;
    if (qm4120_getInputSource(session, &source) >= 0 && source <= INPUT_SOURCE_RF) {
        const bool rf = source == INPUT_SOURCE_RF;
        for (int control : MAIN_RF_CONVERSION_CONTROLS) dimMain(control, !rf);
        dimMain(MAINPANEL_RF_INPUT_LEVEL, !rf);
        dimMain(MAINPANEL_IF_INPUT_LEVEL, rf);
        if (modeRead) {
            dimMain(MAINPANEL_RF_ATTEN, mode == 0 || (mode == 1 && !rf));
            dimMain(MAINPANEL_IF_ATTEN, mode != 2);
        }
    }
    uint16_t extRef = 0;
    if (qm4120_getExternalReference(session, &extRef) < 0) return;
    if (extRef == EXT_REF_NONE) SetCtrlVal(lm.mainPanel, MAINPANEL_LED_REF_LOCKED_STATUS, 0);
    dimMain(MAINPANEL_LED_REF_LOCKED_STATUS, extRef == EXT_REF_NONE);
}

void chanLmPanelUpdateAddrSourceExe(uint16_t source) {
    enter(LISTMODE_LAS, LAS2ctrl(source));
}
void chanLmPanelUpdateStrobePolarityExe(uint16_t negEdge) {
    enter(LISTMODE_LSP, negEdge ? 1u : 0u);
}
void chanLmPanelUpdateCounterStrobeExe(uint16_t source) {
    enter(LISTMODE_LCS, LCS2ctrl(source));
}
void chanLmPanelUpdateStartStopExe(uint16_t start, uint16_t stop) {
    if (!lm.panel) return;
    SetCtrlVal(lm.panel, LISTMODE_COUNTSTART, start);
    enter(LISTMODE_COUNTSTOP, stop);
}
void chanLmPanelUpdateTimerDwellExe(double microseconds) {
    enter(LISTMODE_DWELL, microseconds);
}
void chanLmPanelUpdateTimerTrigExe(int flag) {
    enter(LISTMODE_TIMERTRIG, flag ? 1 : 0);
}

int cmdLM_LAS(int panel, int control, int event, void*, int, int) {
    if (!committed(event)) return 0;
    unsigned ctrl = 0;
    GetCtrlVal(panel, control, &ctrl);
    const uint32_t session = getQM4120id();
    err4120(qm4120_setListAddrSource(session, ctrl2LAS(ctrl)));
    chanLmPanelUpdateAllFromHw();
    chanPanelUpdateAllFromHw();
    updateMainpanelListModeControls();
    uint16_t source = 0;
    err4120(qm4120_getListAddrSource(session, &source));
    const int editAll = getEditAllPanel();
    if (editAll > 0)
        for (int button : EDIT_ALL_SET_BUTTONS)
            SetCtrlAttribute(editAll, button, ATTR_DIMMED, source != LIST_ADDR_MANUAL ? 1 : 0);
    return 0;
}

int cmdLM_LSP(int panel, int control, int event, void*, int, int) {
    if (!committed(event)) return 0;
    unsigned ctrl = 0;
    GetCtrlVal(panel, control, &ctrl);
    err4120(qm4120_setListStrobeNegEdge(getQM4120id(), ctrl ? 1 : 0));
    refreshPanels();
    return 0;
}

int cmdLM_LCS(int panel, int control, int event, void*, int, int) {
    if (!committed(event)) return 0;
    unsigned ctrl = 0;
    GetCtrlVal(panel, control, &ctrl);
    err4120(qm4120_setListCounterStrobe(getQM4120id(), ctrl2LCS(ctrl)));
    refreshPanels();
    return 0;
}

int cmdLM_Count(int panel, int, int event, void*, int, int) {
    if (!committed(event)) return 0;
    unsigned short start = 0;
    unsigned short stop = 0;
    GetCtrlVal(panel, LISTMODE_COUNTSTART, &start);
    GetCtrlVal(panel, LISTMODE_COUNTSTOP, &stop);
    err4120(qm4120_setListCountStartStop(getQM4120id(), start, stop));
    refreshPanels();
    return 0;
}

int cmdLM_Dwell(int panel, int control, int event, void*, int, int) {
    if (!committed(event)) return 0;
    double dwell = 0.0;
    GetCtrlVal(panel, control, &dwell);
    err4120(qm4120_setListTimerDwell(getQM4120id(), dwell));
    refreshPanels();
    return 0;
}

// The box has no module setting of its own; a change still refreshes what it sits beside.
int cmdLM_TimerTrig(int, int, int event, void*, int, int) {
    if (committed(event)) refreshPanels();
    return 0;
}

int cmdCloseLm(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanLmPanelHide();
    return 0;
}

void registerListModeCallbacks() {
    RegisterCtrlCallback("cmdLM_LAS", cmdLM_LAS);
    RegisterCtrlCallback("cmdLM_LSP", cmdLM_LSP);
    RegisterCtrlCallback("cmdLM_LCS", cmdLM_LCS);
    RegisterCtrlCallback("cmdLM_Count", cmdLM_Count);
    RegisterCtrlCallback("cmdLM_Dwell", cmdLM_Dwell);
    RegisterCtrlCallback("cmdLM_TimerTrig", cmdLM_TimerTrig);
    RegisterCtrlCallback("cmdCloseLm", cmdCloseLm);
}
