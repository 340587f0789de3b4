// Front end of the main panel (see front_end.h).
#include "front_end.h"

#include <iterator>

#include "app_state.h"
#include "front_end_eng.h"
#include "level_units.h"
#include "levels.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_direct.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

namespace {

constexpr uint16_t INPUT_SOURCE_IF = 0;
constexpr uint16_t INPUT_SOURCE_RF = 1;

// With the IF input no RF conversion takes place: the whole frequency group has nothing to say.
constexpr int RF_CONVERSION_CONTROLS[] = {
    MAINPANEL_RF_FREQ,     MAINPANEL_LO_FREQ,           MAINPANEL_LO_OFFSET,
    MAINPANEL_LO_POSITION, MAINPANEL_RING_FREQ_CONTROL, MAINPANEL_FREQ_STEP_HZ,
};

// Which controls an attenuator mode puts in force. In the automatic modes the module chooses the
// attenuations from the expected levels (so the levels matter and the attenuations are only shown); in
// manual mode the attenuations are entered and the levels have no effect on the gain.
struct AttenModeLook {
    int levelColour;  // both level entries
    bool ifAttenDimmed;
    bool rfAttenDimmedOnRf;  // RF attenuation with the RF input
    bool rfAttenDimmedOnIf;  // ... with the IF input
};
constexpr AttenModeLook ATTEN_MODE_LOOK[] = {
    {COLOUR_EDITABLE, true, true, true},      // Auto
    {COLOUR_EDITABLE, true, false, true},     // Auto IF: the module chooses only the IF attenuation
    {COLOUR_NO_EFFECT, false, false, false},  // Manual
};

// Only the input in use takes a level, and the RF attenuator does nothing for the IF input.
struct InputSourceLook {
    bool rfLevelDimmed;
    int rfLevelColour;
    bool ifLevelDimmed;
    int ifLevelColour;
    int rfAttenColour;
};
constexpr InputSourceLook SOURCE_LOOK_IF = {true, COLOUR_NO_EFFECT, false, COLOUR_EDITABLE, COLOUR_NO_EFFECT};
constexpr InputSourceLook SOURCE_LOOK_RF = {false, COLOUR_EDITABLE, true, COLOUR_NO_EFFECT, COLOUR_EDITABLE};

void setDimmed(int control, bool dimmed) {
    SetCtrlAttribute(appState.mainPanel, control, ATTR_DIMMED, dimmed ? 1 : 0);
}

void setBackground(int control, int colour) {
    SetCtrlAttribute(appState.mainPanel, control, ATTR_TEXT_BGCOLOR, colour);
}

int activeChannel() {
    short channel = 0;
    GetCtrlVal(appState.mainPanel, MAINPANEL_CHANNEL, &channel);
    return channel;
}

// Sends an attenuation from whichever panel raised the event (main or engineering panel).
void enterAttenuation(int panel, int control, int32_t (*set)(uint32_t, int32_t), void (*showPads)()) {
    int dB = 0;
    GetCtrlVal(panel, control, &dB);
    noteStatus(set(getQM4120id(), dB));
    showPads();
    refreshFrontEndControls();
}

// One check mark of the Optimization menu: checked only when the module reads back 1.
void showOptimizationCheck(int item, int32_t (*get)(uint32_t, uint16_t*)) {
    const int bar = appState.mainMenuBar;
    if (bar <= 0) return;
    SetMenuBarAttribute(bar, item, ATTR_CHECKED, 0);
    uint16_t state = 0;
    if (isActive4120() && get(getQM4120id(), &state) >= 0 && state == 1)
        SetMenuBarAttribute(bar, item, ATTR_CHECKED, 1);
}

// Flips a module setting that a menu item's check mark mirrors.
void toggleOptimization(int menuBar, int item, int32_t (*set)(uint32_t, uint16_t)) {
    if (!isActive4120()) return;
    int checked = 0;
    GetMenuBarAttribute(menuBar, item, ATTR_CHECKED, &checked);
    err4120(set(getQM4120id(), checked ? 0 : 1));
    refreshOptimizationMenu();
}

}  // namespace

void initFrontEndControls() {
    refreshOptimizationMenu();
}

void refreshFrontEndControls() {
    if (!isActive4120() || appState.mainPanel <= 0) return;
    const int panel = appState.mainPanel;
    const StatusReport report = StatusReport::Report;
    const int channel = activeChannel();
    uint16_t unit = LEVEL_UNIT_DBM;
    readModule(qm4120_getInputLevelDimensions, &unit, report);
    const int sixDecimals = unit == LEVEL_UNIT_MILLIWATT ? 1 : 0;

    uint16_t mode = 0;
    if (readModule(qm4120_getFrontEndConfigMode, &mode, report)) {
        SetCtrlVal(panel, MAINPANEL_RING_ATTEN_CONFIG, mode);
        chanPanelUpdateFrontEndDirect(mode, channel);
    }
    int32_t dB = 0;
    if (readModule(qm4120_getIfAttenuation, &dB, report)) {
        SetCtrlVal(panel, MAINPANEL_IF_ATTEN, static_cast<int>(dB));
        chanPanelUpdateIfAttenDirect(dB, channel);
    }
    if (readModule(qm4120_getRfAttenuation, &dB, report)) {
        SetCtrlVal(panel, MAINPANEL_RF_ATTEN, static_cast<int>(dB));
        chanPanelUpdateRfAttenDirect(dB, channel);
    }
    double level = 0.0;
    if (readModule(qm4120_getIfInputLevel, &level, report)) {
        convertLevel(LEVEL_UNIT_DBM, unit, level, &level);
        SetCtrlVal(panel, MAINPANEL_IF_INPUT_LEVEL, level);
        chanPanelUpdateIfLevelDirect(level, channel, sixDecimals);
    }
    if (readModule(qm4120_getRfInputLevel, &level, report)) {
        convertLevel(LEVEL_UNIT_DBM, unit, level, &level);
        SetCtrlVal(panel, MAINPANEL_RF_INPUT_LEVEL, level);
        chanPanelUpdateRfLevelDirect(level, channel, sixDecimals);
    }

    unsigned short shownMode = 0;
    unsigned short source = 0;
    GetCtrlVal(panel, MAINPANEL_RING_ATTEN_CONFIG, &shownMode);
    GetCtrlVal(panel, MAINPANEL_BINARY_INPUT_SOURCE, &source);
    setLevelControlAttributes(shownMode, source);
    setLevelControlRanges();
    chanPanelUpdateChanFromHw(getQM4120id(), channel);

    uint16_t dcOffset = 0;
    if (readModule(qm4120_getDcOffsetFilter, &dcOffset, report))
        SetCtrlVal(panel, MAINPANEL_CHKDCOFFSET, dcOffset == 1 ? 1 : 0);
}

void setLevelControlAttributes(int attenMode, int inputSource) {
    if (attenMode >= 0 && attenMode < static_cast<int>(std::size(ATTEN_MODE_LOOK))) {
        const AttenModeLook& m = ATTEN_MODE_LOOK[attenMode];
        setBackground(MAINPANEL_RF_INPUT_LEVEL, m.levelColour);
        setBackground(MAINPANEL_IF_INPUT_LEVEL, m.levelColour);
        setDimmed(MAINPANEL_IF_ATTEN, m.ifAttenDimmed);
        setDimmed(MAINPANEL_RF_ATTEN,
                  inputSource == INPUT_SOURCE_RF ? m.rfAttenDimmedOnRf : m.rfAttenDimmedOnIf);
    }
    if (inputSource == INPUT_SOURCE_RF || inputSource == INPUT_SOURCE_IF) {
        const InputSourceLook& s = inputSource == INPUT_SOURCE_RF ? SOURCE_LOOK_RF : SOURCE_LOOK_IF;
        setDimmed(MAINPANEL_RF_INPUT_LEVEL, s.rfLevelDimmed);
        setBackground(MAINPANEL_RF_INPUT_LEVEL, s.rfLevelColour);
        setDimmed(MAINPANEL_IF_INPUT_LEVEL, s.ifLevelDimmed);
        setBackground(MAINPANEL_IF_INPUT_LEVEL, s.ifLevelColour);
        setBackground(MAINPANEL_RF_ATTEN, s.rfAttenColour);
    }
}

void refreshAttenuationControls() {
    if (!isActive4120()) return;
    const int panel = appState.mainPanel;
    const StatusReport quiet = StatusReport::Quiet;
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_MIN_VALUE, qm4120_getIfAttenuationMin, quiet);
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_MAX_VALUE, qm4120_getIfAttenuationMax, quiet);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_MIN_VALUE, qm4120_getRfAttenuationMin, quiet);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_MAX_VALUE, qm4120_getRfAttenuationMax, quiet);
    showRead(panel, MAINPANEL_IF_ATTEN, qm4120_getIfAttenuation, quiet);
    showRead(panel, MAINPANEL_RF_ATTEN, qm4120_getRfAttenuation, quiet);
}

void refreshOptimizationMenu() {
    showOptimizationCheck(MAINMENU_SETTINGS_OPT_AUTTMPOPT, qm4120_getTemperatureOptimization);
    showOptimizationCheck(MAINMENU_SETTINGS_OPT_FLATMODE, qm4120_getAutoFlatnessMode);
}

void configureAttenuationLimits() {
    // The attenuators' range and step differ between models (the 4125 has finer RF pads).
    const int panel = appState.mainPanel;
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_MIN_VALUE, qm4120_getIfAttenuationMin);
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_MAX_VALUE, qm4120_getIfAttenuationMax);
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_INCR_VALUE, qm4120_getIfAttenuationStep);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_MIN_VALUE, qm4120_getRfAttenuationMin);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_MAX_VALUE, qm4120_getRfAttenuationMax);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_INCR_VALUE, qm4120_getRfAttenuationStep);
}

int cmdInputSource(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    unsigned short source = 0;
    GetCtrlVal(panel, control, &source);
    const bool rf = source == INPUT_SOURCE_RF;
    err4120(qm4120_setInputSource(getQM4120id(), rf ? INPUT_SOURCE_RF : INPUT_SOURCE_IF));
    for (int c : RF_CONVERSION_CONTROLS) setDimmed(c, !rf);
    refreshFrontEndControls();
    return 0;
}

int cmdAttenConfig(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    unsigned short mode = 0;
    GetCtrlVal(panel, control, &mode);
    err4120(qm4120_setFrontEndConfigMode(getQM4120id(), mode));
    refreshFrontEndControls();
    return 0;
}

int cmdRFAtten(int panel, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120())
        enterAttenuation(panel, control, qm4120_setRfAttenuation, engRefreshRfAttenDisplay);
    return 0;
}

int cmdIFAtten(int panel, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120())
        enterAttenuation(panel, control, qm4120_setIfAttenuation, engRefreshIfAttenDisplay);
    return 0;
}

int cmdExternalReference(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    unsigned short reference = 0;
    GetCtrlVal(panel, control, &reference);
    noteStatus(qm4120_setExternalReference(getQM4120id(), reference));
    readModule(qm4120_getExternalReference, &reference);
    // In free run there is nothing to lock to, so the lock LED means nothing.
    const int main = appState.mainPanel;
    if (reference == EXT_REF_FREE_RUN) {
        SetCtrlVal(main, MAINPANEL_LED_REF_LOCKED_STATUS, 0);
        setDimmed(MAINPANEL_LED_REF_LOCKED_STATUS, true);
    } else {
        setDimmed(MAINPANEL_LED_REF_LOCKED_STATUS, false);
    }
    return 0;
}

int cmdFilterBypass(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    unsigned short bypass = 0;
    GetCtrlVal(panel, control, &bypass);
    noteStatus(qm4120_setIfFilterBypass(getQM4120id(), bypass));
    return 0;
}

int CmdDcOffsetFilter(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    int checked = 0;
    GetCtrlVal(panel, control, &checked);
    err4120(qm4120_setDcOffsetFilter(getQM4120id(), checked ? 1 : 0));
    return 0;
}

void cmdAutoTempOptimize(int menuBar, int menuItem, void*, int) {
    toggleOptimization(menuBar, menuItem, qm4120_setTemperatureOptimization);
}

void cmdAutoFlatnessMode(int menuBar, int menuItem, void*, int) {
    toggleOptimization(menuBar, menuItem, qm4120_setAutoFlatnessMode);
}

void cmdOptimizeTemp(int, int, void*, int) {
    if (isActive4120()) err4120(qm4120_optimizeTemperatureCorrection(getQM4120id()));
}

void registerFrontEndCallbacks() {
    RegisterCtrlCallback("cmdInputSource", cmdInputSource);
    RegisterCtrlCallback("cmdAttenConfig", cmdAttenConfig);
    RegisterCtrlCallback("cmdRFAtten", cmdRFAtten);
    RegisterCtrlCallback("cmdIFAtten", cmdIFAtten);
    RegisterCtrlCallback("cmdExternalReference", cmdExternalReference);
    RegisterCtrlCallback("cmdFilterBypass", cmdFilterBypass);
    RegisterCtrlCallback("CmdDcOffsetFilter", CmdDcOffsetFilter);
    RegisterMenuCallback("cmdAutoTempOptimize", cmdAutoTempOptimize);
    RegisterMenuCallback("cmdAutoFlatnessMode", cmdAutoFlatnessMode);
    RegisterMenuCallback("cmdOptimizeTemp", cmdOptimizeTemp);
}
