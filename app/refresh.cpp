// Rebuilding the main panel from the instrument, and the main panel's RF channel.
#include <cstdint>

#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

namespace {

// Reads quietly: a full refresh shows what it can read and reports nothing per control.
template <typename T>
void showRead(int control, ModuleGetter<T> read) {
    showRead(appState.mainPanel, control, read, StatusReport::Quiet);
}

void showReferenceState(uint16_t extRef) {
    const int panel = appState.mainPanel;
    SetCtrlVal(panel, MAINPANEL_RING_EXT_REF, extRef);
    if (extRef == EXT_REF_FREE_RUN) {
        SetCtrlVal(panel, MAINPANEL_LED_REF_LOCKED_STATUS, 0);
        SetCtrlAttribute(panel, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_DIMMED, 1);
    } else {
        SetCtrlAttribute(panel, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_DIMMED, 0);
    }
}

// The refreshers of the groups; each one reads the instrument only while a module is booted.
void refreshControlGroups() {
    fillModulationModeRing();
    fillDecimationRatioRing();
    refreshSampleControls();
    refreshLvdsMenu();
    refreshTriggerControls();
    refreshAttenuationControls();
    refreshOptimizationMenu();
    routingPanelUpdateFromHw();
    routingMenuUpdateScenario();
    refreshLevelControls();
    refreshFreqControlMode();
    updateFrequencyControlsForSource();
}

}  // namespace

void refreshMainPanelFromInstrument() {
    const int panel = appState.mainPanel;
    if (panel <= 0) return;
    if (!isActive4120()) {
        refreshControlGroups();
        return;
    }
    const uint32_t session = getQM4120id();

    char serial[QM4120_TEXT_SIZE] = {};
    if (qm4120_getSerialNumber(session, serial) < 0) serial[0] = '\0';
    SetCtrlVal(panel, MAINPANEL_MODULE_SERIAL, serial);

    showRead<double>(MAINPANEL_RF_FREQ, qm4120_getRfFrequency);
    showRead<double>(MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
    refreshLoOffsetDisplay();
    showInputLevels();
    showRead<uint16_t>(MAINPANEL_BINARY_INPUT_SOURCE, qm4120_getInputSource);
    uint16_t extRef = 0;
    if (qm4120_getExternalReference(session, &extRef) >= 0) showReferenceState(extRef);
    showRead<uint16_t>(MAINPANEL_MODN_MODE, qm4120_getModulationMode);

    refreshControlGroups();

    showRead<uint16_t>(MAINPANEL_CHANNEL, qm4120_getActiveChan);
    chanLmPanelUpdateAllFromHw();
    updateMainpanelListModeControls();
    chanPanelUpdateAllFromHw();
}

int cmdRfChannel(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    uint16_t channel = 0;
    GetCtrlVal(panel, control, &channel);
    const uint32_t session = getQM4120id();
    err4120(qm4120_setActiveChan(session, channel));

    // The active channel carries its own front-end set-up: show what the instrument now uses.
    showRead<uint16_t>(MAINPANEL_CHANNEL, qm4120_getActiveChan);
    showRead<double>(MAINPANEL_RF_FREQ, qm4120_getRfFrequency);
    refreshLoOffsetDisplay();
    showRead<double>(MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
    refreshFrontEndControls();
    return 0;
}
