// Frequency group of the main panel (see frequency.h).
#include "frequency.h"

#include <cstdint>

#include "app_state.h"
#include "front_end.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

namespace {

constexpr uint16_t INPUT_SOURCE_IF = 0;
constexpr uint16_t INPUT_SOURCE_RF = 1;
// The frequency entries step in 10 kHz after a boot.
constexpr double BOOT_FREQUENCY_INCREMENT = 10000.0;

// The frequency controls only mean something when the RF front end is in the signal path.
constexpr int FREQUENCY_CONTROLS[] = {
    MAINPANEL_RF_FREQ,           MAINPANEL_LO_FREQ,      MAINPANEL_LO_OFFSET,
    MAINPANEL_RING_FREQ_CONTROL, MAINPANEL_FREQ_STEP_HZ,
};

}  // namespace

void initFrequencyControls() {
    // The RF frequency step text (from the control's increment) and the frequency-control mode go here.
}

void configureFrequencyControlsForInstrument() {
    const int panel = appState.mainPanel;
    showAttribute(panel, MAINPANEL_RF_FREQ, ATTR_MIN_VALUE, qm4120_getRfFrequencyMin);
    showAttribute(panel, MAINPANEL_RF_FREQ, ATTR_MAX_VALUE, qm4120_getRfFrequencyMax);
    // To come with the channel table: chanPanelSetFrequencyMin/Max with the same limits.
    SetCtrlAttribute(panel, MAINPANEL_RF_FREQ, ATTR_INCR_VALUE, BOOT_FREQUENCY_INCREMENT);
    SetCtrlAttribute(panel, MAINPANEL_LO_FREQ, ATTR_INCR_VALUE, BOOT_FREQUENCY_INCREMENT);
    showRead(panel, MAINPANEL_RF_FREQ, qm4120_getRfFrequency);
    refreshLoOffsetDisplay();
    showRead(panel, MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
    refreshFreqControlMode();
}

void refreshLoOffsetDisplay() {
    if (!isActive4120()) return;
    double offset = 0.0;
    if (noteStatus(qm4120_getLoOffset(getQM4120id(), &offset)) < 0) return;
    // The sign says on which side of the RF frequency the LO sits; an offset of exactly 0 counts as below.
    const unsigned short above = offset > 0.0 ? 1 : 0;
    SetCtrlVal(appState.mainPanel, MAINPANEL_LO_OFFSET, above ? offset : 0.0 - offset);
    SetCtrlVal(appState.mainPanel, MAINPANEL_LO_POSITION, above);
}

void refreshFreqControlMode() {
    // Reads the frequency-control mode into RING_FREQ_CONTROL and sets which frequencies are editable.
}

void updateFrequencyControlsForSource() {
    if (!isActive4120()) return;
    uint16_t source = 0;
    if (qm4120_getInputSource(getQM4120id(), &source) >= 0 &&
        (source == INPUT_SOURCE_IF || source == INPUT_SOURCE_RF)) {
        for (int control : FREQUENCY_CONTROLS)
            SetCtrlAttribute(appState.mainPanel, control, ATTR_DIMMED, source == INPUT_SOURCE_IF ? 1 : 0);
    }
    refreshFrontEndControls();
}
