// The fractional-rate dialog (FSRATE: the generic undecimated sampling rate as an exact fraction) and the
// LVDS menu of the main menu bar (direction of the data, auxiliary and marker lines, IF data position).
#include <cstdint>

#include "acquisition.h"
#include "acquisition_modes.h"
#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

namespace {

// LVDS direction modes as the module codes them.
constexpr uint16_t LVDS_OUTPUT = 3;
constexpr uint16_t LVDS_INPUT = 0;
constexpr uint16_t LVDS_TRISTATE = 1;

// One group of the LVDS menu: its three items, the module's operations, and the routing panel's ring that
// shows the same direction.
struct LvdsGroup {
    int outItem;
    int inItem;
    int triItem;
    int32_t (*set)(uint32_t session, uint16_t mode);
    int32_t (*get)(uint32_t session, uint16_t* mode);
    int routeRing;
};

constexpr LvdsGroup LVDS_GROUPS[] = {
    {MAINMENU_SETTINGS_LVDS_DATA_OUT, MAINMENU_SETTINGS_LVDS_DATA_IN, MAINMENU_SETTINGS_LVDS_DATA_TRI,
     qm4120_setLvdsDataMode, qm4120_getLvdsDataMode, ROUTE_LVDSDATAMODE},
    {MAINMENU_SETTINGS_LVDS_AUX_OUT, MAINMENU_SETTINGS_LVDS_AUX_IN, MAINMENU_SETTINGS_LVDS_AUX_TRI,
     qm4120_setLvdsAuxMode, qm4120_getLvdsAuxMode, ROUTE_LVDSAUXMODE},
    {MAINMENU_SETTINGS_LVDS_MKR_OUT, MAINMENU_SETTINGS_LVDS_MKR_IN, MAINMENU_SETTINGS_LVDS_MKR_TRI,
     qm4120_setLvdsMarkerMode, qm4120_getLvdsMarkerMode, ROUTE_LVDSMARKMODE},
};

void setChecked(int item, bool checked) {
    SetMenuBarAttribute(appState.mainMenuBar, item, ATTR_CHECKED, checked ? 1 : 0);
}

void showRate(int panel, int control, int32_t (*get)(uint32_t, double*)) {
    double hz = 0.0;
    if (noteStatus(get(getQM4120id(), &hz)) >= 0) SetCtrlVal(panel, control, hz / HZ_PER_MHZ);
}

}  // namespace

void refreshFractionalRatePanel() {
    const int dialog = appState.fsRatePanel;
    if (!isActive4120()) {
        SetCtrlVal(dialog, FSRATE_NUM, 0);
        SetCtrlVal(dialog, FSRATE_DEN, 0);
        SetCtrlVal(dialog, FSRATE_SRATE, 0.0);
        return;
    }
    uint32_t numerator = 0;
    uint32_t denominator = 0;
    if (noteStatus(qm4120_getGenericSamplingFreqRatio(getQM4120id(), &numerator, &denominator)) >= 0) {
        SetCtrlVal(dialog, FSRATE_NUM, static_cast<int>(numerator));
        SetCtrlVal(dialog, FSRATE_DEN, static_cast<int>(denominator));
    }
    showRate(dialog, FSRATE_SRATE, qm4120_getGenericSamplingFrequency);
    showRate(appState.mainPanel, MAINPANEL_UNDEC_SAMPLING_RATE, qm4120_getUndecimatedSamplingFrequency);
    showRate(appState.mainPanel, MAINPANEL_DEC_SAMPLING_RATE, qm4120_getDecimatedSamplingFrequency);
}

int CmdShowFSampleRate(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    refreshFractionalRatePanel();
    InstallPopup(appState.fsRatePanel);
    return 0;
}

int CmdFSRateClose(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) RemovePopup(panel);
    return 0;
}

namespace {

// Numerator and denominator are sent together, so that either field's commit sets the whole fraction.
int sendSamplingFreqRatio(int panel, int event) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    int numerator = 0;
    int denominator = 0;
    GetCtrlVal(panel, FSRATE_NUM, &numerator);
    GetCtrlVal(panel, FSRATE_DEN, &denominator);
    noteStatus(qm4120_setGenericSamplingFreqRatio(getQM4120id(), static_cast<uint32_t>(numerator),
                                                  static_cast<uint32_t>(denominator)));
    refreshFractionalRatePanel();
    fillDecimationRatioRing();
    return 0;
}

}  // namespace

int CmdSamplingFreqNum(int panel, int, int event, void*, int, int) {
    return sendSamplingFreqRatio(panel, event);
}

int CmdSamplingFreqDen(int panel, int, int event, void*, int, int) {
    return sendSamplingFreqRatio(panel, event);
}

void refreshLvdsMenu() {
    if (!isActive4120() || appState.mainMenuBar <= 0) return;
    const uint32_t session = getQM4120id();
    for (const LvdsGroup& group : LVDS_GROUPS) {
        uint16_t mode = 0;
        if (group.get(session, &mode) < 0) continue;
        setChecked(group.outItem, mode == LVDS_OUTPUT);
        setChecked(group.inItem, mode == LVDS_INPUT);
        setChecked(group.triItem, mode == LVDS_TRISTATE);
    }
    uint16_t position = 0;
    if (qm4120_getIfDataPositionLvds(session, &position) >= 0) {
        setChecked(MAINMENU_SETTINGS_LVDS_IF_UPPER, position == 0);
        setChecked(MAINMENU_SETTINGS_LVDS_IF_LOWER, position == 1);
        // The main panel's ring sets the same position.
        SetCtrlVal(appState.mainPanel, MAINPANEL_IF_DATA_POS, position);
    }
}

void cmdLVDSMode(int, int item, void*, int) {
    if (!isActive4120()) return;
    const uint32_t session = getQM4120id();
    for (const LvdsGroup& group : LVDS_GROUPS) {
        uint16_t mode = 0;
        if (item == group.outItem)
            mode = LVDS_OUTPUT;
        else if (item == group.inItem)
            mode = LVDS_INPUT;
        else if (item == group.triItem)
            mode = LVDS_TRISTATE;
        else
            continue;
        // A refused mode shows in the check marks, which come back from the module.
        group.set(session, mode);
        uint16_t applied = 0;
        if (appState.routePanel > 0 && group.get(session, &applied) >= 0)
            SetCtrlVal(appState.routePanel, group.routeRing, applied);
    }
    refreshLvdsMenu();
}

void cmdLvdsIfDataPos(int, int item, void*, int) {
    if (!isActive4120()) return;
    const uint16_t position = item == MAINMENU_SETTINGS_LVDS_IF_LOWER ? 1 : 0;
    err4120(qm4120_setIfDataPositionLvds(getQM4120id(), position));
    refreshLvdsMenu();
}

void registerFractionalRateCallbacks() {
    RegisterCtrlCallback("CmdShowFSampleRate", CmdShowFSampleRate);
    RegisterCtrlCallback("CmdFSRateClose", CmdFSRateClose);
    RegisterCtrlCallback("CmdSamplingFreqNum", CmdSamplingFreqNum);
    RegisterCtrlCallback("CmdSamplingFreqDen", CmdSamplingFreqDen);
}

void registerLvdsMenuCallbacks() {
    RegisterMenuCallback("cmdLVDSMode", cmdLVDSMode);
    RegisterMenuCallback("cmdLvdsIfDataPos", cmdLvdsIfDataPos);
}
