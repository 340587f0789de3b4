// Frequency group of the main panel (see frequency.h).
#include "frequency.h"

#include <cstdint>
#include <cstdio>
#include <iterator>

#include "app_state.h"
#include "front_end.h"
#include "qm4120.h"
#include "qm4120_chan_direct.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_step.h"
#include "readback.h"
#include "userint.h"

namespace {

constexpr uint16_t INPUT_SOURCE_IF = 0;
constexpr uint16_t INPUT_SOURCE_RF = 1;
// The frequency entries step in 10 kHz after a boot.
constexpr double BOOT_FREQUENCY_INCREMENT = 10000.0;
// Frequency steps are whole hertz from 1 Hz to 100 MHz.
constexpr double FREQ_STEP_MIN = 1.0;
constexpr double FREQ_STEP_MAX = 100000000.0;

// The frequency controls only mean something when the RF front end is in the signal path.
constexpr int FREQUENCY_CONTROLS[] = {
    MAINPANEL_RF_FREQ,           MAINPANEL_LO_FREQ,      MAINPANEL_LO_OFFSET,
    MAINPANEL_RING_FREQ_CONTROL, MAINPANEL_FREQ_STEP_HZ,
};

// Of RF frequency, LO frequency and LO offset, the module holds two as entered and works out the third;
// the mode says which two.
struct FreqControlMode {
    bool rfEntered;
    bool loEntered;
    bool offsetEntered;
};
constexpr FreqControlMode FREQ_CONTROL_MODES[] = {
    {true, true, false},  // 0 "Control RF Freq & LO Freq"
    {false, true, true},  // 1 "Control LO Offs & LO Freq"
    {true, false, true},  // 2 "Control RF Freq & LO Offs"
};

void setEntered(int panel, int control, bool entered) {
    SetCtrlAttribute(panel, control, ATTR_CTRL_MODE, entered ? VAL_NORMAL : VAL_INDICATOR);
    SetCtrlAttribute(panel, control, ATTR_TEXT_BGCOLOR, entered ? COLOUR_EDITABLE : COLOUR_READ_ONLY);
}

int activeChannel() {
    short channel = 0;
    GetCtrlVal(appState.mainPanel, MAINPANEL_CHANNEL, &channel);
    return channel;
}

// Opens the step dialog for a whole-hertz step of `control`'s increment.
void openHertzStepDialog(int control, const char* heading, void (*apply)(double)) {
    double increment = 0.0;
    GetCtrlAttribute(appState.mainPanel, control, ATTR_INCR_VALUE, &increment);
    const int stepPanel = getStepPanel();
    stepPanelInit(stepPanel, STEP_KIND_INTEGER, increment, FREQ_STEP_MIN, FREQ_STEP_MAX, 0, "Hz", heading,
                  apply);
    InstallPopup(stepPanel);
}

// Sets the increment of a frequency entry and its "%u Hz step" text; returns the text.
void setHertzStep(int control, int textControl, double step, char (&text)[32]) {
    std::snprintf(text, sizeof text, "%u Hz step", toUnsigned32(step));
    SetCtrlAttribute(appState.mainPanel, control, ATTR_INCR_VALUE, step);
    SetCtrlVal(appState.mainPanel, textControl, text);
}

}  // namespace

void initFrequencyControls() {
    const int panel = appState.mainPanel;
    double increment = 0.0;
    GetCtrlAttribute(panel, MAINPANEL_RF_FREQ, ATTR_INCR_VALUE, &increment);
    applyFreqStep(increment);
    int mode = 0;
    GetCtrlVal(panel, MAINPANEL_RING_FREQ_CONTROL, &mode);
    applyFreqControlMode(mode);
}

void configureFrequencyControlsForInstrument() {
    const int panel = appState.mainPanel;
    double limit = 0.0;
    if (readModule(qm4120_getRfFrequencyMin, &limit)) {
        SetCtrlAttribute(panel, MAINPANEL_RF_FREQ, ATTR_MIN_VALUE, limit);
        chanPanelSetFrequencyMin(limit);
    }
    if (readModule(qm4120_getRfFrequencyMax, &limit)) {
        SetCtrlAttribute(panel, MAINPANEL_RF_FREQ, ATTR_MAX_VALUE, limit);
        chanPanelSetFrequencyMax(limit);
    }
    // Through applyFreqStep, so that the step text and the channel table agree with the new increment.
    applyFreqStep(BOOT_FREQUENCY_INCREMENT);
    SetCtrlAttribute(panel, MAINPANEL_LO_FREQ, ATTR_INCR_VALUE, BOOT_FREQUENCY_INCREMENT);
    showRead(panel, MAINPANEL_RF_FREQ, qm4120_getRfFrequency);
    refreshLoOffsetDisplay();
    showRead(panel, MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
    refreshFreqControlMode();
}

void refreshLoOffsetDisplay() {
    if (!isActive4120()) return;
    double offset = 0.0;
    if (!readModule(qm4120_getLoOffset, &offset)) return;
    // The sign says on which side of the RF frequency the LO sits; an offset of exactly 0 counts as below.
    const unsigned short above = offset > 0.0 ? 1 : 0;
    SetCtrlVal(appState.mainPanel, MAINPANEL_LO_OFFSET, above ? offset : 0.0 - offset);
    SetCtrlVal(appState.mainPanel, MAINPANEL_LO_POSITION, above);
}

void applyFreqControlMode(int mode) {
    const int panel = appState.mainPanel;
    if (panel <= 0 || mode < 0 || mode >= static_cast<int>(std::size(FREQ_CONTROL_MODES))) return;
    const FreqControlMode& m = FREQ_CONTROL_MODES[mode];
    setEntered(panel, MAINPANEL_RF_FREQ, m.rfEntered);
    setEntered(panel, MAINPANEL_LO_FREQ, m.loEntered);
    setEntered(panel, MAINPANEL_LO_OFFSET, m.offsetEntered);
}

void refreshFreqControlMode() {
    const int panel = appState.mainPanel;
    if (panel <= 0) return;
    uint16_t mode = 0;
    if (isActive4120()) {
        if (!readModule(qm4120_getCalculatedFreqControl, &mode, StatusReport::Quiet)) return;
        SetCtrlVal(panel, MAINPANEL_RING_FREQ_CONTROL, static_cast<int>(mode));
    }
    int shown = 0;
    GetCtrlVal(panel, MAINPANEL_RING_FREQ_CONTROL, &shown);
    applyFreqControlMode(shown);
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

void freqStepChange() {
    openHertzStepDialog(MAINPANEL_RF_FREQ, "Frequency", applyFreqStep);
}

void applyFreqStep(double step) {
    // The increment keeps a fractional step exactly (one from a settings file); the text shows whole hertz.
    char text[32];
    setHertzStep(MAINPANEL_RF_FREQ, MAINPANEL_FREQ_STEP_HZ, step, text);
    chanPanelFreqStep(step, text);
}

void applyMarkerFreqStep(double step) {
    char text[32];
    setHertzStep(MAINPANEL_MARKER_FREQ, MAINPANEL_MARKER_FREQ_STEP_HZ, step, text);
}

int cmdRFFreq(int, int, int event, void*, int, int) {
    // The engineering panel's RF_FREQ shares this callback; both act on the main panel's frequency.
    const int panel = appState.mainPanel;
    if (event == EVENT_RIGHT_CLICK) {
        freqStepChange();
        return 0;
    }
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    setFromCtrl(panel, MAINPANEL_RF_FREQ, qm4120_setRfFrequency, qm4120_getRfFrequency);
    refreshLoOffsetDisplay();
    showRead(panel, MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
    // Levels and attenuations in the automatic modes follow the frequency.
    refreshFrontEndControls();
    double applied = 0.0;
    GetCtrlVal(panel, MAINPANEL_RF_FREQ, &applied);
    chanPanelUpdateFreqDirect(applied, activeChannel());
    return 0;
}

int cmdFreqControl(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int mode = 0;
    if (panel == appState.mainPanel) GetCtrlVal(panel, control, &mode);
    // The module decides which frequency follows; a mode it refuses still shows the entered layout.
    if (isActive4120()) qm4120_setCalculatedFreqControl(getQM4120id(), static_cast<uint16_t>(mode));
    applyFreqControlMode(mode);
    return 0;
}

int CmdLoPos(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const int panel = appState.mainPanel;
    unsigned short above = 0;
    GetCtrlVal(panel, MAINPANEL_LO_POSITION, &above);
    // The offset's magnitude is the IF frequency; its sign puts the LO above or below the RF frequency.
    double ifFrequency = 0.0;
    readModule(qm4120_getIfFrequency, &ifFrequency);
    noteStatus(qm4120_setLoOffset(getQM4120id(), above ? ifFrequency : 0.0 - ifFrequency));
    showRead(panel, MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
    refreshLoOffsetDisplay();
    chanPanelUpdateLoPosDirect(above, activeChannel());
    return 0;
}

int cmdFreqStep(int, int, int event, void*, int, int) {
    if (event == EVENT_LEFT_DOUBLE_CLICK) freqStepChange();
    return 0;
}

int cmdMarkerFreqStep(int, int, int event, void*, int, int) {
    if (event == EVENT_LEFT_DOUBLE_CLICK)
        openHertzStepDialog(MAINPANEL_MARKER_FREQ, "Marker Frequency", applyMarkerFreqStep);
    return 0;
}

void registerFrequencyCallbacks() {
    RegisterCtrlCallback("cmdRFFreq", cmdRFFreq);
    RegisterCtrlCallback("cmdFreqControl", cmdFreqControl);
    RegisterCtrlCallback("CmdLoPos", CmdLoPos);
    RegisterCtrlCallback("cmdFreqStep", cmdFreqStep);
    RegisterCtrlCallback("cmdMarkerFreqStep", cmdMarkerFreqStep);
}
