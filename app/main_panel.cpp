// The main panel's one-time set-up, its tool tips, and the window titles and taskbar text that name the
// booted model.
#include <cstdio>
#include <string>

#include "app_state.h"
#include "eng_panel.h"
#include "instrument_info.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

// The two lines every level and attenuation tool tip ends with: how to read the control's colour.
constexpr const char* COLOUR_HINT =
    "\nIf the control is red then the parameter has no effect on the current setup."
    "\nIf the control is greyed-out then the parameter is not editable and is an indication of the current "
    "setting.";

struct ToolTip {
    int control;
    const char* text;
    bool colourHint;  // append the two colour lines
};

constexpr ToolTip MAIN_TOOL_TIPS[] = {
    {MAINPANEL_MODN_MODE, "Selects the modulation mode", false},
    {MAINPANEL_DECIMATION_RATIO, "Selects the IQ decimation ratio", false},
    {MAINPANEL_DATA_TYPE, "Selects the sample data type for capture", false},
    {MAINPANEL_FFT_TOP_OF_SCREEN, "Reference level of the top of the FFT display, in dB", false},
    {MAINPANEL_NUM_SAMPLES,
     "Sets number of samples to capture. This must be a multiple of 32 for IF data, multiple of 16 for "
     "16-bit "
     "IQ data, and multiple of 8 for 32-bit IQ data.",
     false},
    {MAINPANEL_DATA_OUT_FORMAT, "Selects the sample data output format", false},
    {MAINPANEL_RING_WIN_FUNC, "Selects the window function", false},
    {MAINPANEL_RING_RBW_MODE, "Selects the resolution bandwidth mode", false},
    {MAINPANEL_IQPOLAR_I_AXIS_RANGE, "Sets the manual scale range of the I axis", false},
    {MAINPANEL_IQPOLAR_Q_AXIS_RANGE, "Sets the manual scale range of the Q axis", false},
    {MAINPANEL_TIME_SER_Y_AXIS_MIN, "Sets the lower limit of the time series display", false},
    {MAINPANEL_TIME_SER_ZOOM_START,
     "Sets the start position in the time series display, using sample numbers", false},
    {MAINPANEL_TIME_SER_Y_AXIS_MAX, "Sets the upper limit of the time series display", false},
    {MAINPANEL_TIME_SER_ZOOM_STOP, "Sets the end position in the time series display, using sample numbers",
     false},
    {MAINPANEL_RING_EXT_REF, "Selects the external reference", false},
    {MAINPANEL_BINARY_INPUT_SOURCE, "Selects the input source, to either the IF input or the RF input",
     false},
    {MAINPANEL_CHANNEL, "Selects the currently active channel", false},
    {MAINPANEL_CHANNELS, "Displays the channel settings window", false},
    {MAINPANEL_RF_FREQ, "Sets the RF frequency, in Hz", false},
    {MAINPANEL_LO_FREQ, "Displays the required LO frequency input, in Hz", false},
    {MAINPANEL_LO_OFFSET, "Displays the LO offset frequency, in Hz", false},
    {MAINPANEL_LO_POSITION, "Sets LO frequency above or below RF frequency", false},
    {MAINPANEL_FREQ_STEP_HZ, "Double-click to adjust the step size for RF and LO frequency", false},
    {MAINPANEL_RF_INPUT_LEVEL, "Sets the RF input level, in the currently selected level units.", true},
    {MAINPANEL_IF_INPUT_LEVEL, "Sets the IF input level, in the currently selected level units.", true},
    {MAINPANEL_RING_RF_DIMENSIONS, "Selects the units that RF and IF input levels will use", false},
    {MAINPANEL_IF_ATTEN, "Sets the IF input attenuation, in dB.", true},
    {MAINPANEL_RF_ATTEN, "Sets the RF input attenuation, in dB.", true},
    {MAINPANEL_CAPT_TRIG, "Selects the data capture trigger source", false},
    {MAINPANEL_CAPT_TRIG_TYPE, "Selects the trigger type", false},
    {MAINPANEL_CAPT_TRIG_EG_POL, "Selects the trigger edge/gate polarity", false},
    {MAINPANEL_CMD_ARM, "Arms the trigger", false},
    {MAINPANEL_CMD_DISARM, "Disarms the trigger", false},
    {MAINPANEL_LEV_STEP_DBM, "Double-click to adjust the step size for the input level", false},
    {MAINPANEL_CAPTMODE, "Selects single-shot or repeat capture mode", false},
    {MAINPANEL_CMD_SINGLE, "Starts a single capture", false},
    {MAINPANEL_CMD_STOP, "Stops the current capture", false},
    {MAINPANEL_BOOTBUTTON, "Selects a VISA resource to boot", false},
    {MAINPANEL_MODULE_SERIAL, "The serial number of the currently booted QM412x", false},
    {MAINPANEL_UNDEC_SAMPLING_RATE, "Displays the undecimated sampling rate, in MHz", false},
    {MAINPANEL_SHOWFSRPANEL, "Displays the undecimated sampling rate (fractional) window", false},
    {MAINPANEL_DEC_SAMPLING_RATE, "Displays the decimated sampling rate, in MHz", false},
    {MAINPANEL_FFT_LEN, "Displays the FFT length", false},
    {MAINPANEL_LED_BOOT,
     "Displays the boot status of the QM412x (red=not booted,yellow=booting,green=booted)", false},
    {MAINPANEL_MODULE_RESOURCE, "The VISA resource of the currently booted QM412x", false},
    {MAINPANEL_FFT_VERT_SCALE, "Vertical scaling of FFT display, in dB", false},
    {MAINPANEL_RING_ATTEN_CONFIG, "Selects the attenuator mode", false},
    {MAINPANEL_LED_MEASURE_STATUS,
     "Displays the capture or trigger status (green=capturing or waiting for trigger, grey=idle)", false},
    {MAINPANEL_CAPT_TRIG_PRE_SAMP, "Set number of samples to capture before the edge trigger", false},
    {MAINPANEL_CAPT_TRIG_OFFS_DELAY, "Set Trigger Delay in number of samples", false},
    {MAINPANEL_LED_REF_LOCKED_STATUS, "Displays the reference lock status", false},
    {MAINPANEL_LED_ADC_STATUS, "Displays the ADC overload status", false},
    {MAINPANEL_MEAS_STATUS, "Displays the capture or trigger status", false},
    {MAINPANEL_CAPT_MODE_MSG, "Displays the selected capture destination", false},
    {MAINPANEL_TIMERPHASE, "Adjust the timer phase in number of clocks", false},
    {MAINPANEL_TIMERPERIOD, "Set the timer period in uSec", false},
    {MAINPANEL_INTTRIGMODE, "Select the Internal Trigger mode", false},
    {MAINPANEL_TRIGRELTHRESHOLD, "Set the relative threshold level (dB) to generate the internal trigger",
     false},
    {MAINPANEL_TRIGABSTHRESHOLD, "Set the absolute threshold level (dBm) to generate the internal trigger",
     false},
    {MAINPANEL_TRIGTCFAST, "Set fast time constant in uSec", false},
    {MAINPANEL_TRIGTCSLOW, "Set slow time constant in uSec", false},
    {MAINPANEL_TRIGTCABS, "Set time constant in uSec", false},
    // These controls explain themselves (or are never shown): their tips are empty but enabled.
    {MAINPANEL_RING_FILTER_BYPASS, "", false},
    {MAINPANEL_MARKER_FREQ, "", false},
    {MAINPANEL_MARKER_PWR, "", false},
    {MAINPANEL_MARKER_PEAK_CHECKBOX, "", false},
    {MAINPANEL_MARKER_ONOFF_CHECKBOX, "", false},
    {MAINPANEL_MARKER_PEAK_BUTTON_3, "", false},
    {MAINPANEL_MARKER_RIGHT_BUTTON_2, "", false},
    {MAINPANEL_MARKER_LEFT_BUTTON, "", false},
    {MAINPANEL_MARKER_FREQ_STEP_HZ, "", false},
    {MAINPANEL_CAPT_TRIG_BIT, "", false},
    {MAINPANEL_SWITCH_CAPTURE_MODE, "", false},
    {MAINPANEL_IF_DATA_POS, "", false},
};

// The marker group of the main panel is superseded by the graph cursors and never shown.
constexpr int MARKER_CONTROLS[] = {
    MAINPANEL_MARKER_FREQ,           MAINPANEL_MARKER_FREQ_STEP_HZ,   MAINPANEL_MARKER_PWR,
    MAINPANEL_MARKER_PEAK_CHECKBOX,  MAINPANEL_MARKER_ONOFF_CHECKBOX, MAINPANEL_MARKER_PEAK_BUTTON_3,
    MAINPANEL_MARKER_RIGHT_BUTTON_2, MAINPANEL_MARKER_LEFT_BUTTON,
};

// Routing-panel controls of signals the base model does not have.
constexpr int BASE_MODEL_MISSING_ROUTES[] = {
    ROUTE_OEFPTRIG,       ROUTE_INPUTFPTRIG,    ROUTE_INPUTCOUNTSTEP, ROUTE_INPUTCOUNTRST,
    ROUTE_INPUTTIMERSYNC, ROUTE_INPUTLISTADDR0, ROUTE_INPUTLISTADDR1, ROUTE_INPUTLISTADDR2,
    ROUTE_INPUTLISTADDR3, ROUTE_INPUTLISTADDR4, ROUTE_INPUTLISTADDR5, ROUTE_INPUTLISTADDR6,
    ROUTE_INPUTLISTSTB,
};

constexpr double RF_INPUT_LEVEL_MIN = -53.0;  // dBm
constexpr double RF_INPUT_LEVEL_MAX = 16.0;
constexpr int FFT_LEN_DISPLAY_MIN = 8;
constexpr int FFT_LEN_DISPLAY_MAX = 2048;

void initLed(int panel, int control, int onColour, int offColour) {
    SetCtrlAttribute(panel, control, ATTR_ON_COLOR, onColour);
    SetCtrlAttribute(panel, control, ATTR_OFF_COLOR, offColour);
    SetCtrlVal(panel, control, 0);
}

void setTitle(int panel, const char* what) {
    if (panel <= 0) return;
    std::snprintf(appState.textBuffer, sizeof appState.textBuffer, "%s %s", getModelCodeString(), what);
    SetPanelAttribute(panel, ATTR_TITLE, appState.textBuffer);
}

}  // namespace

void setMainPanelToolTips() {
    const int panel = appState.mainPanel;
    for (const ToolTip& tip : MAIN_TOOL_TIPS) {
        const std::string text = std::string(tip.text) + (tip.colourHint ? COLOUR_HINT : "");
        SetCtrlToolTipAttribute(panel, tip.control, CTRL_TOOLTIP_ATTR_TEXT, text.c_str());
        SetCtrlToolTipAttribute(panel, tip.control, CTRL_TOOLTIP_ATTR_ENABLE, 1);
    }
}

void initMainPanel() {
    const int panel = appState.mainPanel;

    // Boot LED: red until a module is booted (yellow while booting, green once booted).
    initLed(panel, MAINPANEL_LED_BOOT, VAL_GREEN, VAL_RED);
    initLed(panel, MAINPANEL_LED_MEASURE_STATUS, VAL_GREEN, VAL_LT_GRAY);
    SetCtrlVal(panel, MAINPANEL_MEAS_STATUS, "Idle");
    SetCtrlVal(panel, MAINPANEL_CAPT_MODE_MSG, "Capture to: Memory");

    // With the reference in free run there is nothing to lock to, so the lock LED means nothing.
    initLed(panel, MAINPANEL_LED_REF_LOCKED_STATUS, VAL_GREEN, VAL_LT_GRAY);
    int extRef = 0;
    GetCtrlVal(panel, MAINPANEL_RING_EXT_REF, &extRef);
    SetCtrlAttribute(panel, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_DIMMED, extRef == EXT_REF_FREE_RUN ? 1 : 0);

    initLed(panel, MAINPANEL_LED_ADC_STATUS, VAL_RED, VAL_LT_GRAY);

    // The FFT length is chosen from the ring; the plain read-out is kept but not shown.
    SetCtrlAttribute(panel, MAINPANEL_RING_FFT_LEN, ATTR_VISIBLE, 1);
    SetCtrlToolTipAttribute(panel, MAINPANEL_RING_FFT_LEN, CTRL_TOOLTIP_ATTR_TEXT, "Sets the FFT length");
    SetCtrlToolTipAttribute(panel, MAINPANEL_RING_FFT_LEN, CTRL_TOOLTIP_ATTR_ENABLE, 1);
    fillFftLengthRing();
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_CTRL_MODE, VAL_INDICATOR);
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_TEXT_BGCOLOR, COLOUR_READ_ONLY);
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_MIN_VALUE, FFT_LEN_DISPLAY_MIN);
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_MAX_VALUE, FFT_LEN_DISPLAY_MAX);
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_VISIBLE, 0);

    // The trace format choice is not offered: the display always refreshes.
    if (appState.mainMenuBar > 0) DiscardMenuItem(appState.mainMenuBar, MAINMENU_FFTDISP_TRCFMT);

    initDisplayControls();
    initAcquisitionControls();
    initTriggerControls();
    initLevelControls();
    initFrequencyControls();
    initFrontEndControls();
    updateFrequencyControlsForSource();
    SetCtrlAttribute(panel, MAINPANEL_RF_INPUT_LEVEL, ATTR_MIN_VALUE, RF_INPUT_LEVEL_MIN);
    SetCtrlAttribute(panel, MAINPANEL_RF_INPUT_LEVEL, ATTR_MAX_VALUE, RF_INPUT_LEVEL_MAX);

    setMainPanelToolTips();

    for (int control : MARKER_CONTROLS) SetCtrlAttribute(panel, control, ATTR_VISIBLE, 0);
}

void setTaskbarText() {
    const char* text = "qm4120 Soft Panel for PXI Korvo";
    if (isActive4120()) {
        uint16_t model = 0;
        const int32_t status = qm4120_getModelCode(getQM4120id(), &model);
        err4120(status);
        if (status >= 0) {
            switch (model) {
                case MODEL_4120_ENHANCED:
                    if (appState.engineeringMode) text = "qm4120 Enhanced Soft Panel for PXI Korvo";
                    break;
                case MODEL_4120A:
                    text = "qm4120A Soft Panel for PXI Korvo";
                    break;
                case MODEL_4120:
                    for (int control : BASE_MODEL_MISSING_ROUTES)
                        SetCtrlAttribute(appState.routePanel, control, ATTR_DIMMED, 1);
                    break;
                default:
                    break;
            }
        }
    }
    SetSystemAttribute(ATTR_TASKBAR_BUTTON_TEXT, text);
}

void setWindowTitles() {
    AppState& s = appState;
    if (s.mainPanel > 0) {
        std::snprintf(s.textBuffer, sizeof s.textBuffer, "Tarvex %s %s", getModelCodeString(),
                      "PXI RF Digitizer for PXI Korvo");
        SetPanelAttribute(s.mainPanel, ATTR_TITLE, s.textBuffer);
    }
    setTitle(s.dirPanel, "Directory Settings");
    setTitle(s.routePanel, "Routing Matrix Output Settings");
    setTitle(s.sysInfoPanel, "Instrument Information");
    setTitle(s.sysInfoDetailPanel, "File Versions");
    setTitle(s.calInfoPanel, "Calibration Dates");
    setTitle(s.engPanel, "Engineering Panel");
}

void addEngineeringMenu() {
    AppState& s = appState;
    if (s.mainMenuBar <= 0) return;
    const int menu = NewMenu(s.mainMenuBar, "Engineering", -1);
    if (menu <= 0) return;
    s.engineeringMenu = menu;
    const int item = NewMenuItem(s.mainMenuBar, menu, "Panel...", -1, 0, cmdEngPanel, nullptr);
    s.engineeringPanelItem = item > 0 ? item : 0;
    // Register access needs a module: both wait for a successful boot.
    setEngineeringMenuDimmed(1);
}

void setEngineeringMenuDimmed(int dimmed) {
    AppState& s = appState;
    if (!s.engineeringMenu) return;
    SetMenuBarAttribute(s.mainMenuBar, s.engineeringMenu, ATTR_DIMMED, dimmed);
    if (s.engineeringPanelItem)
        SetMenuBarAttribute(s.mainMenuBar, s.engineeringPanelItem, ATTR_DIMMED, dimmed);
}

void cmdEngPanel(int, int, void*, int) {
    engPanelOpen();
}
