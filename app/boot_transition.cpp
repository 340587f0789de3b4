// Boot transition of the main panel (see boot_transition.h).
#include "boot_transition.h"

#include "acquisition.h"
#include "capture_state.h"
#include "frequency.h"
#include "front_end.h"
#include "front_end_eng.h"
#include "instrument_info.h"
#include "levels.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot.h"
#include "userint.h"

// Offered in this order; the dialog lists them bottom-up.
const uint16_t BOOT_RESOURCES[4] = {MODEL_4120, MODEL_4120_ENHANCED, MODEL_4120A, MODEL_4125};

namespace {

// After a boot the module runs I/Q data in the mode the panel starts from, software-triggered.
constexpr uint16_t SW_TRIGGER_ON = 1;
constexpr uint16_t BOOT_MODULATION_MODE = 5;
constexpr uint16_t DEFAULT_FPGA_CONFIG = 0;

// The routing entries of the Settings menu need a module to talk to.
void setRoutingMenuDimmed(int dimmed) {
    const int bar = appState.mainMenuBar;
    if (bar <= 0) return;
    SetMenuBarAttribute(bar, MAINMENU_SETTINGS_ROUTE, ATTR_DIMMED, dimmed);
    SetMenuBarAttribute(bar, MAINMENU_SETTINGS_MATRIX, ATTR_DIMMED, dimmed);
}

void onBootCancelledHook(int) {
    onBootCancelled();
}

}  // namespace

void configureMainPanelForInstrument() {
    if (!isActive4120()) return;
    const int panel = appState.mainPanel;

    configureFrequencyControlsForInstrument();
    engRefreshAttenDisplays();
    configureAttenuationLimits();
    // Level ranges and the RF level label for the unit in force; only the input in use takes a level.
    configureLevelControlsForInstrument();

    // A fresh module starts in single capture with nothing running and no trigger armed.
    SetCtrlVal(panel, MAINPANEL_CAPTMODE, 0);
    SetCtrlAttribute(panel, MAINPANEL_CMD_STOP, ATTR_DIMMED, 1);
    SetCtrlAttribute(panel, MAINPANEL_CMD_DISARM, ATTR_VISIBLE, 0);
    showPowerLogControls();
}

int cmdBoot(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    AppState& s = appState;
    const int panel = s.mainPanel;

    // The monitor must not be reading the module while its session goes away.
    stopRefLockMonitor();

    const bool booted = isActive4120() != 0;
    if (booted && captureRepeatActive) {
        // A repeat run in progress ends, and the module drops the capture it holds.
        captureRepeatActive = 0;
        captureAbortRequested = 1;
        err4120(qm4120_clearAfterRepeatCapt(s.sessionHandle.load()));
    }
    captureRepeatMode = 0;
    if (booted) {
        const uint32_t session = s.sessionHandle.load();
        s.instrumentBooted = 0;
        s.sessionHandle = 0;
        qm4120_close(session);
    }

    SetCtrlVal(panel, MAINPANEL_MODULE_RESOURCE, "");
    SetCtrlVal(panel, MAINPANEL_MODULE_SERIAL, "");
    setRoutingMenuDimmed(1);
    setEngineeringMenuDimmed(1);

    int extRef = 0;
    GetCtrlVal(panel, MAINPANEL_RING_EXT_REF, &extRef);
    SetCtrlVal(panel, MAINPANEL_LED_REF_LOCKED_STATUS, 0);
    SetCtrlAttribute(panel, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_DIMMED, extRef == EXT_REF_FREE_RUN ? 1 : 0);

    // Yellow while the boot dialog is up.
    SetCtrlAttribute(panel, MAINPANEL_LED_BOOT, ATTR_OFF_COLOR, static_cast<int>(VAL_YELLOW));
    SetCtrlVal(panel, MAINPANEL_LED_BOOT, 0);
    SetCtrlAttribute(panel, MAINPANEL_BOOTBUTTON, ATTR_DIMMED, 1);
    DisplayPanel(panel);

    bootPanelConfigInit(qm4120_countFPGAConfigs, qm4120_listFPGAConfigs, DEFAULT_FPGA_CONFIG,
                        QM4120_FPGA_NAME_SIZE);
    bootPanelInit(s.bootPanel, BOOT_RESOURCES, 4, qm4120_initWithFpgaConfig, qm4120_close,
                  qm4120_setModelCodePxiKorvo, qm4120_setPciRevPxiKorvo, onBootCancelledHook, onBootSucceeded,
                  onBootFailed, onBootDialogClosed, err4120);
    InstallPopup(s.bootPanel);
    return 0;
}

void onBootSucceeded(uint32_t session, const char* resourceText) {
    AppState& s = appState;
    const int panel = s.mainPanel;
    s.sessionHandle = session;
    s.instrumentBooted = 1;

    setWindowTitles();
    setTaskbarText();
    SetCtrlVal(panel, MAINPANEL_LED_BOOT, 1);
    SetCtrlVal(panel, MAINPANEL_MODULE_RESOURCE, resourceText ? resourceText : "");
    setRoutingMenuDimmed(0);
    setEngineeringMenuDimmed(0);

    refreshPanelFromInstrument();

    // Start from software triggering at the full generic sampling rate in the panel's default mode. Each
    // step is reported; a failing one does not stop the others.
    err4120(qm4120_setSwTriggerMode(session, SW_TRIGGER_ON));
    double maxRate = 0.0;
    const int32_t rateStatus = qm4120_getMaxGenericSamplingFrequency(session, &maxRate);
    err4120(rateStatus);
    if (rateStatus >= 0) err4120(qm4120_setGenericSamplingFrequency(session, maxRate));
    err4120(qm4120_setModulationMode(session, BOOT_MODULATION_MODE));
    // The refresh above ran before these settings; the acquisition group shows what the module now runs.
    fillDecimationRatioRing();
    refreshSampleControls();

    configureMainPanelForInstrument();
    refreshFrontEndControls();
    fillSysInfoPanel();
    fillCalInfoPanel();
    chanPanelInitPostBoot();

    s.refLockMonitorStop = 0;
    startRefLockMonitor();
}

void onBootCancelled() {
    setWindowTitles();
}

void onBootFailed(int32_t) {
    setWindowTitles();
}

void onBootDialogClosed() {
    const int panel = appState.mainPanel;
    if (!isActive4120())
        SetCtrlAttribute(panel, MAINPANEL_LED_BOOT, ATTR_OFF_COLOR, static_cast<int>(VAL_RED));
    SetCtrlAttribute(panel, MAINPANEL_BOOTBUTTON, ATTR_DIMMED, 0);
    setTaskbarText();
    refreshPanelFromInstrument();
    setWindowTitles();
}

void registerBootTransitionCallbacks() {
    RegisterCtrlCallback("cmdBoot", cmdBoot);
}
