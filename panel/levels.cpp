// Input levels of the main panel (see levels.h).
#include "levels.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app_state.h"
#include "front_end.h"
#include "level_units.h"
#include "qm4120.h"
#include "qm4120_chan_direct.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_step.h"
#include "readback.h"
#include "userint.h"

namespace {

constexpr uint16_t INPUT_SOURCE_IF = 0;
constexpr uint16_t INPUT_SOURCE_RF = 1;
// One level step serves both entries in every unit: 0.01 dB to 50 dB.
constexpr double LEVEL_STEP_MIN = 0.01;
constexpr double LEVEL_STEP_MAX = 50.0;
constexpr int LEVEL_STEP_PRECISION = 2;

// The two level entries: what the module calls them and how they are labelled.
struct LevelEntry {
    int control;
    const char* labelStem;
    int32_t (*set)(uint32_t, double);
    int32_t (*get)(uint32_t, double*);
    int32_t (*min)(uint32_t, double*);
    int32_t (*max)(uint32_t, double*);
};
const LevelEntry RF_LEVEL = {MAINPANEL_RF_INPUT_LEVEL, "RF Input Level ",         qm4120_setRfInputLevel,
                             qm4120_getRfInputLevel,   qm4120_getRfInputLevelMin, qm4120_getRfInputLevelMax};
const LevelEntry IF_LEVEL = {MAINPANEL_IF_INPUT_LEVEL, "IF Input Level ",         qm4120_setIfInputLevel,
                             qm4120_getIfInputLevel,   qm4120_getIfInputLevelMin, qm4120_getIfInputLevelMax};
const LevelEntry* const LEVEL_ENTRIES[] = {&RF_LEVEL, &IF_LEVEL};

void setLabels(int unit) {
    for (const LevelEntry* e : LEVEL_ENTRIES) {
        const std::string label = std::string(e->labelStem) + levelUnitSuffix(unit);
        SetCtrlAttribute(appState.mainPanel, e->control, ATTR_LABEL_TEXT, label.c_str());
    }
}

// Reads one level (dBm) and shows it in `unit`.
void showLevel(const LevelEntry& e, int unit, StatusReport report) {
    double dBm = 0.0;
    if (!readModule(e.get, &dBm, report)) return;
    double shown = dBm;
    convertLevel(LEVEL_UNIT_DBM, unit, dBm, &shown);
    SetCtrlVal(appState.mainPanel, e.control, shown);
}

void enterLevel(const LevelEntry& e) {
    double entered = 0.0;
    GetCtrlVal(appState.mainPanel, e.control, &entered);
    if (!isActive4120()) return;
    uint16_t unit = LEVEL_UNIT_DBM;
    qm4120_getInputLevelDimensions(getQM4120id(), &unit);
    double dBm = entered;
    convertLevel(unit, LEVEL_UNIT_DBM, entered, &dBm);
    err4120(e.set(getQM4120id(), dBm));
    // The module may round or clamp, and in the automatic modes it re-chooses the attenuations.
    refreshFrontEndControls();
}

int levelCallback(const LevelEntry& e, int event) {
    if (event == EVENT_RIGHT_CLICK)
        levStepChange();
    else if (event == EVENT_COMMIT)
        enterLevel(e);
    return 0;
}

void setRangeChecking(int checking) {
    for (const LevelEntry* e : LEVEL_ENTRIES)
        SetCtrlAttribute(appState.mainPanel, e->control, ATTR_CHECK_RANGE, checking);
}

}  // namespace

int moduleLevelUnit() {
    uint16_t unit = LEVEL_UNIT_DBM;
    if (!isActive4120() || !readModule(qm4120_getInputLevelDimensions, &unit, StatusReport::Quiet))
        return LEVEL_UNIT_DBM;
    return unit;
}

void initLevelControls() {
    double increment = 0.0;
    GetCtrlAttribute(appState.mainPanel, MAINPANEL_RF_INPUT_LEVEL, ATTR_INCR_VALUE, &increment);
    applyLevelStep(increment);
}

void refreshLevelControls() {
    if (!isActive4120()) return;
    uint16_t unit = 0;
    if (readModule(qm4120_getInputLevelDimensions, &unit, StatusReport::Quiet)) {
        const int choice = levelUnitChoiceOf(unit);
        if (choice >= 0) {
            SetCtrlVal(appState.mainPanel, MAINPANEL_RING_RF_DIMENSIONS, static_cast<unsigned short>(choice));
            setLabels(unit);
        }
    }
    setLevelControlRanges();
}

void configureLevelControlsForInstrument() {
    refreshLevelControls();
    uint16_t source = 0;
    if (!readModule(qm4120_getInputSource, &source)) return;
    if (source != INPUT_SOURCE_RF && source != INPUT_SOURCE_IF) return;
    const int panel = appState.mainPanel;
    const bool rf = source == INPUT_SOURCE_RF;
    SetCtrlAttribute(panel, MAINPANEL_RF_INPUT_LEVEL, ATTR_DIMMED, rf ? 0 : 1);
    SetCtrlAttribute(panel, MAINPANEL_IF_INPUT_LEVEL, ATTR_DIMMED, rf ? 1 : 0);
}

void setLevelControlRanges() {
    if (!isActive4120()) return;
    const int panel = appState.mainPanel;
    unsigned short choice = 0;
    GetCtrlVal(panel, MAINPANEL_RING_RF_DIMENSIONS, &choice);
    if (const LevelUnitChoice* unit = levelUnitOfChoice(choice)) {
        for (const LevelEntry* e : LEVEL_ENTRIES) {
            double lo = 0.0;
            double hi = 0.0;
            if (readModule(e->min, &lo, StatusReport::Quiet)) {
                convertLevel(LEVEL_UNIT_DBM, unit->code, lo, &lo);
                SetCtrlAttribute(panel, e->control, ATTR_MIN_VALUE, lo);
            }
            if (readModule(e->max, &hi, StatusReport::Quiet)) {
                convertLevel(LEVEL_UNIT_DBM, unit->code, hi, &hi);
                SetCtrlAttribute(panel, e->control, ATTR_MAX_VALUE, hi);
            }
            SetCtrlAttribute(panel, e->control, ATTR_PRECISION, unit->precision);
        }
    }
    chanPanelUpdateInputLevelRange();
}

void showInputLevels() {
    const int unit = moduleLevelUnit();
    for (const LevelEntry* e : LEVEL_ENTRIES) showLevel(*e, unit, StatusReport::Quiet);
}

void levStepChange() {
    double increment = 0.0;
    GetCtrlAttribute(appState.mainPanel, MAINPANEL_RF_INPUT_LEVEL, ATTR_INCR_VALUE, &increment);
    const int stepPanel = getStepPanel();
    stepPanelInit(stepPanel, STEP_KIND_FLOATING, increment, LEVEL_STEP_MIN, LEVEL_STEP_MAX,
                  LEVEL_STEP_PRECISION, "dBm", "Level", applyLevelStep);
    InstallPopup(stepPanel);
}

void applyLevelStep(double step) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.2lf dBm step", step);
    for (const LevelEntry* e : LEVEL_ENTRIES)
        SetCtrlAttribute(appState.mainPanel, e->control, ATTR_INCR_VALUE, step);
    SetCtrlVal(appState.mainPanel, MAINPANEL_LEV_STEP_DBM, text);
    chanPanelLevelStep(step, text);
}

int cmdRFInputLevel(int, int, int event, void*, int, int) {
    return levelCallback(RF_LEVEL, event);
}

int cmdIFInputLevel(int, int, int event, void*, int, int) {
    return levelCallback(IF_LEVEL, event);
}

int cmdRFInputDimensions(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    unsigned short choice = 0;
    GetCtrlVal(panel, control, &choice);
    // The values are rewritten in the new unit before the ranges follow: neither may be clipped to the
    // old unit's range on the way.
    setRangeChecking(VAL_IGNORE_RANGE);
    if (const LevelUnitChoice* unit = levelUnitOfChoice(choice)) {
        qm4120_setInputLevelDimensions(getQM4120id(), static_cast<uint16_t>(unit->code));
        for (const LevelEntry* e : LEVEL_ENTRIES) showLevel(*e, unit->code, StatusReport::Quiet);
        setLabels(unit->code);
    }
    setLevelControlRanges();
    chanPanelUpdateUnits();
    setRangeChecking(VAL_COERCE_RANGE);
    return 0;
}

int cmdLevStep(int, int, int event, void*, int, int) {
    if (event == EVENT_LEFT_DOUBLE_CLICK) levStepChange();
    return 0;
}

void registerLevelCallbacks() {
    RegisterCtrlCallback("cmdRFInputLevel", cmdRFInputLevel);
    RegisterCtrlCallback("cmdIFInputLevel", cmdIFInputLevel);
    RegisterCtrlCallback("cmdRFInputDimensions", cmdRFInputDimensions);
    RegisterCtrlCallback("cmdLevStep", cmdLevStep);
}
