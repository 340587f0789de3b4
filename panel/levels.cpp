// Input levels of the main panel (see levels.h).
#include "levels.h"

#include <cstdint>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr uint16_t INPUT_SOURCE_IF = 0;
constexpr uint16_t INPUT_SOURCE_RF = 1;

}  // namespace

void initLevelControls() {
    // Level units, level step text and level ranges for the unit in force are set here.
}

void refreshLevelControls() {
    // Level unit ring, level ranges and precision for the unit in force are refreshed here.
}

void configureLevelControlsForInstrument() {
    refreshLevelControls();
    uint16_t source = 0;
    if (noteStatus(qm4120_getInputSource(getQM4120id(), &source)) < 0) return;
    if (source != INPUT_SOURCE_RF && source != INPUT_SOURCE_IF) return;
    const int panel = appState.mainPanel;
    const bool rf = source == INPUT_SOURCE_RF;
    SetCtrlAttribute(panel, MAINPANEL_RF_INPUT_LEVEL, ATTR_DIMMED, rf ? 0 : 1);
    SetCtrlAttribute(panel, MAINPANEL_IF_INPUT_LEVEL, ATTR_DIMMED, rf ? 1 : 0);
}
