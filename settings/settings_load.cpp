// Loading a settings file: every value the file holds goes into its control (the channels other than the
// main panel's straight into the module), then the whole panel is pushed to the module and read back.
//
// A file is never trusted: a value is used only when it is one its control can hold (inside a numeric's
// range, one of a ring's items, on or off for a switch) and, for what goes straight to the module, inside
// the limits the module gives. Anything else is left as it was and named in one message at the end.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "acquisition_modes.h"
#include "app_state.h"
#include "frequency.h"
#include "level_units.h"
#include "levels.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_lm.h"
#include "qm4120_sfp_uir.h"
#include "qm41XX_utils.h"
#include "routing_panel.h"
#include "settings.h"
#include "settings_controls.h"
#include "settings_extras.h"
#include "settings_file.h"
#include "settings_load_run.h"
#include "trigger.h"
#include "userint.h"

namespace {

// What the step dialogs accept.
constexpr double FREQ_STEP_MIN_HZ = 1.0;
constexpr double FREQ_STEP_MAX_HZ = 100000000.0;
constexpr double LEVEL_STEP_MIN_DB = 0.01;
constexpr double LEVEL_STEP_MAX_DB = 50.0;

constexpr uint16_t LIST_ADDR_MANUAL = 0;
constexpr uint16_t LIST_ADDR_SOURCE_MAX = 2;
constexpr uint16_t LIST_COUNTER_STROBE_MAX = 1;
constexpr uint16_t FRONT_END_MODE_MAX = 2;

int mainPanel() {
    return appState.mainPanel;
}

void loadSteps(LoadRun& run) {
    double step = 0.0;
    if (run.read(settingsReadReal(run.ini(), SettingsItem::RfFreqStepHz, &step),
                 SettingsItem::RfFreqStepHz) &&
        run.inside(SettingsItem::RfFreqStepHz, step, FREQ_STEP_MIN_HZ, FREQ_STEP_MAX_HZ)) {
        SetCtrlAttribute(mainPanel(), MAINPANEL_RF_FREQ, ATTR_INCR_VALUE, step);
        applyFreqStep(step);
    }
    if (run.read(settingsReadReal(run.ini(), SettingsItem::RfLevelStepdB, &step),
                 SettingsItem::RfLevelStepdB) &&
        run.inside(SettingsItem::RfLevelStepdB, step, LEVEL_STEP_MIN_DB, LEVEL_STEP_MAX_DB))
        applyLevelStep(step);
}

// Items 4 to 10. Returns the reference setting when the file gave one.
void loadFrontEnd(LoadRun& run, int* extRef) {
    const int p = mainPanel();
    run.realInto(SettingsItem::RfFreqHz, p, MAINPANEL_RF_FREQ);

    double offset = 0.0;
    if (run.read(settingsReadReal(run.ini(), SettingsItem::RfLoOffsetHz, &offset),
                 SettingsItem::RfLoOffsetHz) &&
        run.fits(SettingsItem::RfLoOffsetHz, p, MAINPANEL_LO_OFFSET, std::fabs(offset))) {
        SetCtrlVal(p, MAINPANEL_LO_OFFSET, std::fabs(offset));
        SetCtrlVal(p, MAINPANEL_LO_POSITION, static_cast<unsigned short>(offset > 0.0 ? 1 : 0));
    }

    run.u16Into(SettingsItem::InputSource, p, MAINPANEL_BINARY_INPUT_SOURCE);
    run.realInto(SettingsItem::RfLeveldBm, p, MAINPANEL_RF_INPUT_LEVEL);
    run.realInto(SettingsItem::IfLeveldBm, p, MAINPANEL_IF_INPUT_LEVEL);
    run.intInto(SettingsItem::IfFilterBypass, p, MAINPANEL_RING_FILTER_BYPASS);
    uint16_t ref = 0;
    if (run.u16Into(SettingsItem::ExtRef, p, MAINPANEL_RING_EXT_REF, &ref)) *extRef = ref;
}

// A level of the file (dBm) as the main panel shows it, in the unit in force.
double shownLevel(double dBm) {
    double shown = dBm;
    convertLevel(LEVEL_UNIT_DBM, moduleLevelUnit(), dBm, &shown);
    return shown;
}

void loadMainChannel(LoadRun& run, uint16_t channel, const ChannelSettings& data) {
    const int p = mainPanel();
    const std::string name = "RfChannelData " + std::to_string(channel);
    run.valueInto(name, p, MAINPANEL_RF_FREQ, data.rfFrequencyHz);
    run.valueInto(name, p, MAINPANEL_RF_INPUT_LEVEL, shownLevel(data.rfLevelDbm));
    run.valueInto(name, p, MAINPANEL_IF_INPUT_LEVEL, shownLevel(data.ifLevelDbm));
    run.valueInto(name, p, MAINPANEL_RF_ATTEN, data.rfAttenuationDb);
    run.valueInto(name, p, MAINPANEL_IF_ATTEN, data.ifAttenuationDb);
    run.valueInto(name, p, MAINPANEL_RING_ATTEN_CONFIG, data.frontEndMode);
}

// Another channel goes straight to the module, each value only inside the limits the module gives for
// that channel at that moment (the level limits follow the front-end mode and frequency set before them).
void loadOtherChannel(LoadRun& run, uint16_t c, const ChannelSettings& data) {
    const uint32_t s = getQM4120id();
    const std::string name = "RfChannelData " + std::to_string(c);
    // Limits the module cannot give leave the value out, named with the others the load refused.
    auto within = [&](bool limitsRead, double value, double min, double max) {
        if (limitsRead) return run.insideNamed(name, value, min, max);
        run.refuse(name);
        return false;
    };
    auto limits = [&](int32_t (*lo)(uint32_t, double*), int32_t (*hi)(uint32_t, double*), double value) {
        double min = 0.0, max = 0.0;
        const bool read = lo(s, &min) >= 0 && hi(s, &max) >= 0;
        return within(read, value, min, max);
    };
    auto channelLimits = [&](int32_t (*lo)(uint32_t, double*, uint16_t),
                             int32_t (*hi)(uint32_t, double*, uint16_t), double value) {
        double min = 0.0, max = 0.0;
        const bool read = lo(s, &min, c) >= 0 && hi(s, &max, c) >= 0;
        return within(read, value, min, max);
    };
    auto attenLimits = [&](int32_t (*lo)(uint32_t, int32_t*), int32_t (*hi)(uint32_t, int32_t*),
                           int32_t value) {
        int32_t min = 0, max = 0;
        const bool read = lo(s, &min) >= 0 && hi(s, &max) >= 0;
        return within(read, value, min, max);
    };
    if (run.insideNamed(name, data.frontEndMode, 0, FRONT_END_MODE_MAX))
        err4120(qm4120_setFrontEndConfigModeChan(s, static_cast<uint16_t>(data.frontEndMode), c));
    if (limits(qm4120_getRfFrequencyMin, qm4120_getRfFrequencyMax, data.rfFrequencyHz))
        err4120(qm4120_setRfFrequencyChan(s, data.rfFrequencyHz, c));
    if (channelLimits(qm4120_getRfInputLevelMinChan, qm4120_getRfInputLevelMaxChan, data.rfLevelDbm))
        err4120(qm4120_setRfInputLevelChan(s, data.rfLevelDbm, c));
    if (channelLimits(qm4120_getIfInputLevelMinChan, qm4120_getIfInputLevelMaxChan, data.ifLevelDbm))
        err4120(qm4120_setIfInputLevelChan(s, data.ifLevelDbm, c));
    if (attenLimits(qm4120_getRfAttenuationMin, qm4120_getRfAttenuationMax, data.rfAttenuationDb))
        err4120(qm4120_setRfAttenuationChan(s, data.rfAttenuationDb, c));
    if (attenLimits(qm4120_getIfAttenuationMin, qm4120_getIfAttenuationMax, data.ifAttenuationDb))
        err4120(qm4120_setIfAttenuationChan(s, data.ifAttenuationDb, c));
}

void loadChannels(LoadRun& run) {
    short current = 0;
    GetCtrlVal(mainPanel(), MAINPANEL_CHANNEL, &current);
    const bool booted = isActive4120() != 0;
    for (uint16_t c = 0; c < CHANNEL_COUNT; ++c) {
        ChannelSettings data;
        const int32_t status = settingsReadRfChannelData(run.ini(), c, &data);
        if (status < 0) {
            if (status != QM41XXUTILS_ERR_NOT_FOUND) run.refuse("RfChannelData " + std::to_string(c));
            continue;
        }
        if (c == current)
            loadMainChannel(run, c, data);
        else if (booted)
            loadOtherChannel(run, c, data);
    }
}

// The reference LED has nothing to show while the module runs free.
void showReferenceLed(int extRef) {
    const int p = mainPanel();
    if (extRef == EXT_REF_FREE_RUN) {
        SetCtrlVal(p, MAINPANEL_LED_REF_LOCKED_STATUS, 0);
        SetCtrlAttribute(p, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_DIMMED, 1);
    } else {
        SetCtrlAttribute(p, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_DIMMED, 0);
    }
}

// The sample count's limits and step follow the data type: the module's own while booted. The module keeps
// a count for each data type, and that one stands unless the file gives another it can take: a count
// carried over from the other type could be below this type's step or off it.
void loadSampleCount(LoadRun& run, uint16_t dataType) {
    const int p = mainPanel();
    const bool ifData = dataType == SAMPLE_DATA_IF;
    const uint32_t step = sampleCountStep(dataType);
    SetCtrlAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_MIN_VALUE, static_cast<int>(step));
    SetCtrlAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE, static_cast<int>(step));
    if (isActive4120()) {
        const uint32_t s = getQM4120id();
        uint32_t maximum = 0;
        if ((ifData ? qm4120_getMaxNumberOfIfSamples(s, &maximum)
                    : qm4120_getMaxNumberOfIqSamples(s, &maximum)) >= 0)
            SetCtrlAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_MAX_VALUE, static_cast<int>(maximum));
        uint32_t kept = 0;
        if ((ifData ? qm4120_getNumberOfIfSamples(s, &kept) : qm4120_getNumberOfIqSamples(s, &kept)) >= 0)
            SetCtrlVal(p, MAINPANEL_NUM_SAMPLES, kept);
    }
    const SettingsItem item = ifData ? SettingsItem::CaptNumIfSamples : SettingsItem::CaptNumIqSamples;
    uint32_t count = 0;
    if (!run.read(settingsReadU32(run.ini(), item, &count), item)) return;
    if (count % step != 0) {
        run.refuse(settingsItemName(item));
        return;
    }
    run.itemInto(item, p, MAINPANEL_NUM_SAMPLES, count);
}

void loadLvdsModes(LoadRun& run) {
    for (const LvdsModeGroup& g : LVDS_MODE_GROUP) {
        int32_t mode = 0;
        if (!run.read(settingsReadInt(run.ini(), g.item, &mode), g.item)) continue;
        if (mode != LVDS_MODE_INPUT && mode != LVDS_MODE_TRISTATE && mode != LVDS_MODE_OUTPUT) {
            run.refuse(settingsItemName(g.item));
            continue;
        }
        const int bar = appState.mainMenuBar;
        SetMenuBarAttribute(bar, g.outItem, ATTR_CHECKED, mode == LVDS_MODE_OUTPUT ? 1 : 0);
        SetMenuBarAttribute(bar, g.inItem, ATTR_CHECKED, mode == LVDS_MODE_INPUT ? 1 : 0);
        SetMenuBarAttribute(bar, g.triItem, ATTR_CHECKED, mode == LVDS_MODE_TRISTATE ? 1 : 0);
        routingPanelShowLvdsMode(g.routeRing, static_cast<uint16_t>(mode));
    }
}

// The ratios a mode offers: powers of two between its limits (the module's for the generic mode).
void fillRatioRing(const ModulationMode& mode) {
    const int p = mainPanel();
    uint32_t first = mode.firstRatio;
    uint32_t last = mode.lastRatio;
    if (mode.value == MODN_GENERIC) {
        first = last = mode.defaultRatio;
        if (isActive4120() && qm4120_getDecimationLimits(getQM4120id(), MODN_GENERIC, &first, &last) < 0)
            first = last = mode.defaultRatio;
    }
    SetCtrlAttribute(p, MAINPANEL_DECIMATION_RATIO, ATTR_LABEL_TEXT, mode.ratioLabel);
    ClearListCtrl(p, MAINPANEL_DECIMATION_RATIO);
    for (uint64_t r = first ? first : 1; r <= last; r *= 2) {
        const std::string label = std::to_string(r);
        InsertListItem(p, MAINPANEL_DECIMATION_RATIO, -1, label.c_str(), static_cast<unsigned>(r));
    }
}

void loadModulation(LoadRun& run, uint16_t dataType) {
    const int p = mainPanel();
    unsigned short inForce = 0;
    GetCtrlVal(p, MAINPANEL_MODN_MODE, &inForce);
    // IF samples bypass the decimation filters: only the first mode means anything.
    ClearListCtrl(p, MAINPANEL_MODN_MODE);
    for (const ModulationMode& m : MODULATION_MODES) {
        InsertListItem(p, MAINPANEL_MODN_MODE, -1, m.text, static_cast<unsigned>(m.value));
        if (dataType == SAMPLE_DATA_IF) break;
    }
    // The refilled ring shows its first mode; the one in force stays while the ring still offers it, so
    // that a file without a usable mode leaves the mode and the ratios shown for it together.
    int index = -1;
    if (GetIndexFromValue(p, MAINPANEL_MODN_MODE, &index, inForce) >= 0 && index >= 0)
        SetCtrlIndex(p, MAINPANEL_MODN_MODE, index);
    uint16_t modeValue = 0;
    if (!run.u16Into(SettingsItem::ModMode, p, MAINPANEL_MODN_MODE, &modeValue)) {
        GetCtrlVal(p, MAINPANEL_MODN_MODE, &modeValue);
        if (modeValue == inForce) return;
    }
    const ModulationMode* mode = findModulationMode(modeValue);
    const ModeRatio* ratio = modeRatioOf(modeValue);
    if (!mode || !ratio) return;
    fillRatioRing(*mode);
    run.intInto(ratio->item, p, MAINPANEL_DECIMATION_RATIO);
}

void loadTrigger(LoadRun& run) {
    const int p = mainPanel();
    int32_t code = 0;
    int source = 0;
    int line = -1;
    if (run.read(settingsReadInt(run.ini(), SettingsItem::TrigSource, &code), SettingsItem::TrigSource)) {
        if (triggerRingsOfCode(code, &source, &line)) {
            fillTriggerSourceRings(static_cast<uint16_t>(code));
            SetCtrlIndex(p, MAINPANEL_CAPT_TRIG, source);
            if (line >= 0) SetCtrlIndex(p, MAINPANEL_CAPT_TRIG_BIT, line);
        } else {
            run.refuse(settingsItemName(SettingsItem::TrigSource));
        }
    }
    int32_t type = 0;
    const bool typeRead = run.indexInto(SettingsItem::TrigType, p, MAINPANEL_CAPT_TRIG_TYPE, &type);
    run.indexInto(SettingsItem::TrigEdgeGatePolarity, p, MAINPANEL_CAPT_TRIG_EG_POL);
    run.intInto(SettingsItem::TrigOffsetDelay, p, MAINPANEL_CAPT_TRIG_OFFS_DELAY);
    if (typeRead)
        run.intInto(type == 0 ? SettingsItem::TrigPreEdgeSamples : SettingsItem::TrigPostGateSamples, p,
                    MAINPANEL_CAPT_TRIG_PRE_SAMP);
    run.indexInto(SettingsItem::TrigIntTrigMode, p, MAINPANEL_INTTRIGMODE);
    run.realInto(SettingsItem::TrigIntTrigAbsThreshold, p, MAINPANEL_TRIGABSTHRESHOLD);
    run.intInto(SettingsItem::TrigIntTrigRelThreshold, p, MAINPANEL_TRIGRELTHRESHOLD);
    run.realInto(SettingsItem::TrigIntTrigAbsTimeConst, p, MAINPANEL_TRIGTCABS);
    run.realInto(SettingsItem::TrigIntTrigRelSlowTimeConst, p, MAINPANEL_TRIGTCSLOW);
    run.realInto(SettingsItem::TrigIntTrigRelFastTimeConst, p, MAINPANEL_TRIGTCFAST);
    run.realInto(SettingsItem::TimerPeriod, p, MAINPANEL_TIMERPERIOD);
    run.intInto(SettingsItem::TimerPhase, p, MAINPANEL_TIMERPHASE);
}

void loadRouting(LoadRun& run) {
    const int p = appState.routePanel;
    for (uint16_t index : FILE_ROUTING_ORDER) {
        const RoutingDestination* d = routingDestinationOfIndex(index);
        if (!d) continue;
        const std::string name = "Routing " + std::to_string(index);
        uint16_t source = 0;
        const int32_t status = settingsReadRoutingConnect(run.ini(), index, &source);
        if (status == 0)
            run.valueInto(name, p, d->inputRing, source);
        else if (status != QM41XXUTILS_ERR_NOT_FOUND)
            run.refuse(name);
        if (!d->outputEnable) continue;
        int32_t enable = 0;
        const int32_t oe = settingsReadRoutingOutputEnable(run.ini(), index, &enable);
        if (oe == 0)
            run.valueInto(name, p, d->outputEnable, enable != 0 ? 1 : 0);
        else if (oe != QM41XXUTILS_ERR_NOT_FOUND)
            run.refuse(name);
    }
}

// List mode goes through the list-mode panel's own commands, from the module's values where the file has
// none.
void loadListMode(LoadRun& run) {
    if (!isActive4120()) return;
    const uint32_t s = getQM4120id();
    const uint32_t ini = run.ini();
    uint16_t current = 0;
    qm4120_getListAddrSource(s, &current);
    uint16_t start = 0;
    uint16_t stop = 0;
    qm4120_getListCountStartStop(s, &start, &stop);

    uint16_t source = current;
    if (run.read(settingsReadU16(ini, SettingsItem::ListAddrSource, &source), SettingsItem::ListAddrSource) &&
        !run.insideNamed(settingsItemName(SettingsItem::ListAddrSource), source, 0, LIST_ADDR_SOURCE_MAX))
        source = current;
    bool countFromFile = false;
    for (auto [item, value] : {std::pair{SettingsItem::ListCounterStart, &start},
                               std::pair{SettingsItem::ListCounterStop, &stop}}) {
        uint16_t read = 0;
        if (run.read(settingsReadU16(ini, item, &read), item) &&
            run.insideNamed(settingsItemName(item), read, 0, CHANNEL_COUNT - 1)) {
            *value = read;
            countFromFile = true;
        }
    }
    if (countFromFile) {
        // The count limits can only change while the address source is manual.
        if (current != LIST_ADDR_MANUAL) qm4120_setListAddrSource(s, LIST_ADDR_MANUAL);
        chanLmPanelUpdateStartStopExe(start, stop);
    }
    chanLmPanelUpdateAddrSourceExe(source);
    uint16_t strobe = 0;
    if (run.read(settingsReadU16(ini, SettingsItem::ListCounterStrobe, &strobe),
                 SettingsItem::ListCounterStrobe) &&
        run.insideNamed(settingsItemName(SettingsItem::ListCounterStrobe), strobe, 0,
                        LIST_COUNTER_STROBE_MAX))
        chanLmPanelUpdateCounterStrobeExe(strobe);
    int32_t negEdge = 0;
    if (run.read(settingsReadInt(ini, SettingsItem::ListStrobeNegEdge, &negEdge),
                 SettingsItem::ListStrobeNegEdge))
        chanLmPanelUpdateStrobePolarityExe(negEdge ? 1 : 0);
}

}  // namespace

int32_t settingsLoadFile(const char* path) {
    uint32_t ini = 0;
    if (!path || qm41XXutils_IniCreate(path, &ini) < 0) {
        MessagePopup("Load Settings", "Error creating ini file instance");
        return -1;
    }
    int32_t major = 0;
    int32_t minor = 0;
    if (settingsReadHeader(ini, &major, &minor, 0) < 0) {
        qm41XXutils_IniDelete(ini);
        MessagePopup("Load Settings", "Failed to read valid header information");
        return -1;
    }
    if (major < 1 || (major == 1 && minor < 0)) {
        qm41XXutils_IniDelete(ini);
        MessagePopup("Load Settings", "Settings file version not supported");
        return -1;
    }
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    const int notice = LoadPanel(0, "qm4120_sfp.uir", LMPANEL);
    if (notice > 0) DisplayPanel(notice);

    LoadRun run(ini);
    // Channels can only be written while the module picks them by hand.
    if (isActive4120()) qm4120_setListAddrSource(getQM4120id(), LIST_ADDR_MANUAL);
    loadSteps(run);
    int extRef = -1;
    loadFrontEnd(run, &extRef);
    loadChannels(run);
    run.intInto(SettingsItem::CaptDcOffsetFilter, mainPanel(), MAINPANEL_CHKDCOFFSET);
    if (extRef >= 0) showReferenceLed(extRef);
    uint16_t dataType = 0;
    const bool typeRead =
        run.u16Into(SettingsItem::CaptSampleDataType, mainPanel(), MAINPANEL_DATA_TYPE, &dataType);
    if (typeRead) loadSampleCount(run, dataType);
    loadLvdsModes(run);
    if (typeRead) loadModulation(run, dataType);
    loadTrigger(run);
    loadRouting(run);

    applyPanelSettingsToHardware();
    refreshPanelFromInstrument();
    loadListMode(run);
    loadOptionalDisplaySettings(run);

    qm41XXutils_IniDelete(ini);
    if (notice > 0) DiscardPanel(notice);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    run.reportRefused();
    return static_cast<int32_t>(run.refusedCount());
}

void cmdLoadSettings(int, int, void*, int) {
    char path[MAX_PATHNAME_LEN] = {};
    const int chosen = FileSelectPopup(appState.settingsDir, "*.ini", "*.ini", "Load Settings",
                                       VAL_LOAD_BUTTON, 0, 0, 1, 0, path);
    if (chosen == VAL_NO_FILE_SELECTED || chosen < 0) return;
    settingsLoadFile(path);
}
