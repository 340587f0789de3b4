// Pushing the whole main panel (and the routing panel) to the module after a settings load, in the order
// the module needs: the front end before the acquisition, the modulation mode before its ratios, the
// trigger type before the samples that depend on it.
#include <cstdint>

#include "app_state.h"
#include "level_units.h"
#include "levels.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "routing_panel.h"
#include "settings.h"
#include "settings_controls.h"
#include "userint.h"

namespace {

constexpr uint16_t SAMPLE_DATA_IF = 0;

template <typename T>
T ctrl(int panel, int control) {
    T value{};
    GetCtrlVal(panel, control, &value);
    return value;
}

template <typename T>
T mainCtrl(int control) {
    return ctrl<T>(appState.mainPanel, control);
}

int mainIndex(int control) {
    int index = 0;
    GetCtrlIndex(appState.mainPanel, control, &index);
    return index;
}

// The level entries show the unit in force; the module takes dBm.
double levelDbm(int control) {
    double dBm = mainCtrl<double>(control);
    convertLevel(moduleLevelUnit(), LEVEL_UNIT_DBM, dBm, &dBm);
    return dBm;
}

void pushFrontEnd(uint32_t s) {
    err4120(qm4120_setRfFrequency(s, mainCtrl<double>(MAINPANEL_RF_FREQ)));
    err4120(qm4120_setRfInputLevel(s, levelDbm(MAINPANEL_RF_INPUT_LEVEL)));
    err4120(qm4120_setInputSource(s, mainCtrl<unsigned short>(MAINPANEL_BINARY_INPUT_SOURCE)));
    // The input source chooses which level is in force: the RF level once more on the chosen input.
    err4120(qm4120_setRfInputLevel(s, levelDbm(MAINPANEL_RF_INPUT_LEVEL)));
    err4120(qm4120_setIfInputLevel(s, levelDbm(MAINPANEL_IF_INPUT_LEVEL)));
    err4120(qm4120_setDcOffsetFilter(s, static_cast<uint16_t>(mainCtrl<int>(MAINPANEL_CHKDCOFFSET) ? 1 : 0)));
    err4120(qm4120_setExternalReference(s, mainCtrl<unsigned short>(MAINPANEL_RING_EXT_REF)));
    err4120(qm4120_setFrontEndConfigMode(s, mainCtrl<unsigned short>(MAINPANEL_RING_ATTEN_CONFIG)));
    err4120(qm4120_setRfAttenuation(s, mainCtrl<int>(MAINPANEL_RF_ATTEN)));
    err4120(qm4120_setIfAttenuation(s, mainCtrl<int>(MAINPANEL_IF_ATTEN)));
    err4120(qm4120_setIfFilterBypass(s, mainCtrl<unsigned short>(MAINPANEL_RING_FILTER_BYPASS)));
}

void pushAcquisition(uint32_t s) {
    const uint16_t dataType = mainCtrl<unsigned short>(MAINPANEL_DATA_TYPE);
    err4120(qm4120_setSampleDataType(s, dataType));
    const uint32_t samples = mainCtrl<unsigned>(MAINPANEL_NUM_SAMPLES);
    err4120(dataType == SAMPLE_DATA_IF ? qm4120_setNumberOfIfSamples(s, samples)
                                       : qm4120_setNumberOfIqSamples(s, samples));
    for (const LvdsModeGroup& g : LVDS_MODE_GROUP) {
        const int mode = checkedLvdsMode(g);
        if (mode >= 0) err4120(g.set(s, static_cast<uint16_t>(mode)));
    }
    const uint16_t mode = mainCtrl<unsigned short>(MAINPANEL_MODN_MODE);
    err4120(qm4120_setModulationMode(s, mode));
    const uint32_t ratio = mainCtrl<unsigned>(MAINPANEL_DECIMATION_RATIO);
    for (const ModeRatio& m : MODE_RATIOS) err4120(m.set(s, m.mode == mode ? ratio : m.fixedRatio));
}

void pushTrigger(uint32_t s) {
    const uint16_t code =
        triggerCodeOfRings(mainIndex(MAINPANEL_CAPT_TRIG), mainIndex(MAINPANEL_CAPT_TRIG_BIT));
    err4120(qm4120_setTriggerSource(s, code));
    err4120(qm4120_setTriggerOffsetDelay(
        s, static_cast<int32_t>(mainCtrl<unsigned>(MAINPANEL_CAPT_TRIG_OFFS_DELAY))));
    err4120(qm4120_setTriggerType(s, static_cast<uint16_t>(mainIndex(MAINPANEL_CAPT_TRIG_TYPE))));
    err4120(
        qm4120_setTriggerEdgeGatePolarity(s, static_cast<uint16_t>(mainIndex(MAINPANEL_CAPT_TRIG_EG_POL))));
    // The samples count before an edge or after a gate, whichever the module now holds.
    uint16_t type = 0;
    const int32_t typeStatus = qm4120_getTriggerType(s, &type);
    err4120(typeStatus);
    const uint32_t samples = mainCtrl<unsigned>(MAINPANEL_CAPT_TRIG_PRE_SAMP);
    if (typeStatus >= 0)
        err4120(type == 0 ? qm4120_setPreEdgeTriggerSamples(s, samples)
                          : qm4120_setPostGateTriggerSamples(s, samples));

    err4120(qm4120_setIntTriggerMode(s, static_cast<uint16_t>(mainIndex(MAINPANEL_INTTRIGMODE))));
    err4120(qm4120_setIntTriggerAbsThreshold(s, mainCtrl<double>(MAINPANEL_TRIGABSTHRESHOLD)));
    err4120(qm4120_setIntTriggerRelThreshold(s, mainCtrl<int>(MAINPANEL_TRIGRELTHRESHOLD)));
    err4120(qm4120_setIntTriggerAbsTimeConst(s, mainCtrl<double>(MAINPANEL_TRIGTCABS)));
    err4120(qm4120_setIntTriggerRelSlowTimeConst(s, mainCtrl<double>(MAINPANEL_TRIGTCSLOW)));
    err4120(qm4120_setIntTriggerRelFastTimeConst(s, mainCtrl<double>(MAINPANEL_TRIGTCFAST)));
    err4120(qm4120_setTimerPeriod(s, mainCtrl<double>(MAINPANEL_TIMERPERIOD)));
    err4120(qm4120_setTimerPhase(s, mainCtrl<int>(MAINPANEL_TIMERPHASE)));
}

void pushSource(uint32_t s, uint16_t index) {
    const RoutingDestination* d = routingDestinationOfIndex(index);
    if (d)
        err4120(qm4120_setRoutingConnect(
            s, index, static_cast<uint32_t>(ctrl<int>(appState.routePanel, d->inputRing))));
}

void pushEnable(uint32_t s, uint16_t index) {
    const RoutingDestination* d = routingDestinationOfIndex(index);
    if (d && d->outputEnable)
        err4120(
            qm4120_setRoutingOutputEnable(s, index, ctrl<int>(appState.routePanel, d->outputEnable) ? 1 : 0));
}

// The PXI lines with their enables, the LVDS lines, the front SMB, counter and timer inputs, the SMB's
// enable, and the list inputs last (FILE_ROUTING_ORDER lists them in that order).
void pushRouting(uint32_t s) {
    constexpr int LIST_INPUTS = 8;
    for (int i = 0; i < FILE_ROUTING_COUNT - LIST_INPUTS; ++i) {
        pushSource(s, FILE_ROUTING_ORDER[i]);
        if (i < PXI_ROUTING_LINES) pushEnable(s, FILE_ROUTING_ORDER[i]);
    }
    pushEnable(s, ROUTING_FRONT_SMB);
    for (int i = FILE_ROUTING_COUNT - LIST_INPUTS; i < FILE_ROUTING_COUNT; ++i)
        pushSource(s, FILE_ROUTING_ORDER[i]);
}

}  // namespace

void applyPanelSettingsToHardware() {
    if (!isActive4120()) return;
    const uint32_t s = getQM4120id();
    pushFrontEnd(s);
    pushAcquisition(s);
    pushTrigger(s);
    pushRouting(s);
}
