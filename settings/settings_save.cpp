// Saving the whole set-up into a settings file: the main panel's controls, the module's 128 channels, the
// routing matrix and, with a module booted, its list mode.
#include <cstdint>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_sfp_uir.h"
#include "qm41XX_utils.h"
#include "settings.h"
#include "settings_controls.h"
#include "settings_file.h"
#include "userint.h"

namespace {

constexpr uint16_t SAMPLE_DATA_IF = 0;
// A file saved with IF data still holds an I/Q sample count for a later switch to I/Q data.
constexpr uint32_t IQ_SAMPLES_WITH_IF_DATA = 2048;

// Collects every write's status: the save carries on after a failure and reports at the end.
class SaveRun {
  public:
    explicit SaveRun(uint32_t ini) : ini_(ini) {}
    void add(int32_t status) {
        sum_ += status;
        failed_ = failed_ || status < 0;
    }
    // The channels left out add to the sum; they must never hide a write that failed.
    bool failed() const { return failed_ || sum_ < 0; }
    int32_t result() const { return failed() && sum_ >= 0 ? -1 : sum_; }
    uint32_t ini() const { return ini_; }

    template <typename T>
    T ctrl(int control) const {
        T value{};
        GetCtrlVal(appState.mainPanel, control, &value);
        return value;
    }
    int index(int control) const {
        int i = 0;
        GetCtrlIndex(appState.mainPanel, control, &i);
        return i;
    }

  private:
    uint32_t ini_;
    int32_t sum_ = 0;
    bool failed_ = false;
};

void saveFrontEnd(SaveRun& run) {
    const uint32_t ini = run.ini();
    const int panel = appState.mainPanel;
    run.add(settingsWriteInt(ini, SettingsItem::RfCurrentChannel, run.ctrl<short>(MAINPANEL_CHANNEL)));
    double step = 0.0;
    GetCtrlAttribute(panel, MAINPANEL_RF_FREQ, ATTR_INCR_VALUE, &step);
    run.add(settingsWriteReal(ini, SettingsItem::RfFreqStepHz, step));
    GetCtrlAttribute(panel, MAINPANEL_RF_INPUT_LEVEL, ATTR_INCR_VALUE, &step);
    run.add(settingsWriteReal(ini, SettingsItem::RfLevelStepdB, step));
    run.add(settingsWriteReal(ini, SettingsItem::RfFreqHz, run.ctrl<double>(MAINPANEL_RF_FREQ)));

    // The sign of the offset carries the side of the LO: negative below the RF frequency.
    const bool loBelow = run.ctrl<unsigned short>(MAINPANEL_LO_POSITION) == 0;
    double ifHz = run.ctrl<double>(MAINPANEL_LO_OFFSET);
    err4120(qm4120_getIfFrequency(getQM4120id(), &ifHz));
    run.add(settingsWriteReal(ini, SettingsItem::RfLoOffsetHz, loBelow ? -ifHz : ifHz));

    run.add(settingsWriteU16(ini, SettingsItem::InputSource,
                             run.ctrl<unsigned short>(MAINPANEL_BINARY_INPUT_SOURCE)));
    run.add(settingsWriteReal(ini, SettingsItem::RfLeveldBm, run.ctrl<double>(MAINPANEL_RF_INPUT_LEVEL)));
    run.add(settingsWriteReal(ini, SettingsItem::IfLeveldBm, run.ctrl<double>(MAINPANEL_IF_INPUT_LEVEL)));
    run.add(settingsWriteInt(ini, SettingsItem::IfFilterBypass,
                             run.ctrl<unsigned short>(MAINPANEL_RING_FILTER_BYPASS)));
    run.add(settingsWriteU16(ini, SettingsItem::ExtRef, run.ctrl<unsigned short>(MAINPANEL_RING_EXT_REF)));
}

// A channel the module cannot give in full is left out; it counts 1 towards the sum, which on its own
// never makes the save a failure.
void saveChannels(SaveRun& run) {
    const uint32_t session = getQM4120id();
    for (uint16_t c = 0; c < CHANNEL_COUNT; ++c) {
        ChannelSettings data;
        uint16_t mode = 0;
        const bool read = qm4120_getRfFrequencyChan(session, &data.rfFrequencyHz, c) >= 0 &&
                          qm4120_getRfInputLevelChan(session, &data.rfLevelDbm, c) >= 0 &&
                          qm4120_getIfInputLevelChan(session, &data.ifLevelDbm, c) >= 0 &&
                          qm4120_getRfAttenuationChan(session, &data.rfAttenuationDb, c) >= 0 &&
                          qm4120_getIfAttenuationChan(session, &data.ifAttenuationDb, c) >= 0 &&
                          qm4120_getFrontEndConfigModeChan(session, &mode, c) >= 0;
        if (!read) {
            run.add(1);
            continue;
        }
        data.frontEndMode = mode;
        run.add(settingsWriteRfChannelData(run.ini(), c, data));
    }
}

void saveAcquisition(SaveRun& run) {
    const uint32_t ini = run.ini();
    run.add(settingsWriteInt(ini, SettingsItem::CaptDcOffsetFilter, run.ctrl<int>(MAINPANEL_CHKDCOFFSET)));
    const uint16_t dataType = run.ctrl<unsigned short>(MAINPANEL_DATA_TYPE);
    run.add(settingsWriteU16(ini, SettingsItem::CaptSampleDataType, dataType));
    const uint32_t shown = run.ctrl<unsigned>(MAINPANEL_NUM_SAMPLES);
    uint32_t ifSamples = shown;
    uint32_t iqSamples = shown;
    if (dataType == SAMPLE_DATA_IF) {
        iqSamples = IQ_SAMPLES_WITH_IF_DATA;
    } else {
        ifSamples = 0;
        qm4120_getNumberOfIfSamples(getQM4120id(), &ifSamples);
    }
    run.add(settingsWriteU32(ini, SettingsItem::CaptNumIfSamples, ifSamples));
    run.add(settingsWriteU32(ini, SettingsItem::CaptNumIqSamples, iqSamples));

    for (const LvdsModeGroup& g : LVDS_MODE_GROUP) {
        const int mode = checkedLvdsMode(g);
        if (mode >= 0) run.add(settingsWriteInt(ini, g.item, mode));
    }

    const uint16_t mode = run.ctrl<unsigned short>(MAINPANEL_MODN_MODE);
    run.add(settingsWriteU16(ini, SettingsItem::ModMode, mode));
    const uint32_t ratio = run.ctrl<unsigned>(MAINPANEL_DECIMATION_RATIO);
    for (const ModeRatio& m : MODE_RATIOS)
        run.add(settingsWriteInt(ini, m.item, static_cast<int32_t>(m.mode == mode ? ratio : m.fixedRatio)));
}

void saveTrigger(SaveRun& run) {
    const uint32_t ini = run.ini();
    const int source = run.index(MAINPANEL_CAPT_TRIG);
    const int line = run.index(MAINPANEL_CAPT_TRIG_BIT);
    run.add(settingsWriteInt(ini, SettingsItem::TrigSource, triggerCodeOfRings(source, line)));
    const int type = run.index(MAINPANEL_CAPT_TRIG_TYPE);
    run.add(settingsWriteInt(ini, SettingsItem::TrigType, type));
    run.add(settingsWriteInt(ini, SettingsItem::TrigEdgeGatePolarity, run.index(MAINPANEL_CAPT_TRIG_EG_POL)));
    run.add(settingsWriteInt(ini, SettingsItem::TrigOffsetDelay,
                             static_cast<int32_t>(run.ctrl<unsigned>(MAINPANEL_CAPT_TRIG_OFFS_DELAY))));
    run.add(settingsWriteInt(ini,
                             type == 0 ? SettingsItem::TrigPreEdgeSamples : SettingsItem::TrigPostGateSamples,
                             static_cast<int32_t>(run.ctrl<unsigned>(MAINPANEL_CAPT_TRIG_PRE_SAMP))));
    run.add(settingsWriteInt(ini, SettingsItem::TrigIntTrigMode, run.index(MAINPANEL_INTTRIGMODE)));
    run.add(settingsWriteReal(ini, SettingsItem::TrigIntTrigAbsThreshold,
                              run.ctrl<double>(MAINPANEL_TRIGABSTHRESHOLD)));
    run.add(settingsWriteInt(ini, SettingsItem::TrigIntTrigRelThreshold,
                             run.ctrl<int>(MAINPANEL_TRIGRELTHRESHOLD)));
    run.add(
        settingsWriteReal(ini, SettingsItem::TrigIntTrigAbsTimeConst, run.ctrl<double>(MAINPANEL_TRIGTCABS)));
    run.add(settingsWriteReal(ini, SettingsItem::TrigIntTrigRelSlowTimeConst,
                              run.ctrl<double>(MAINPANEL_TRIGTCSLOW)));
    run.add(settingsWriteReal(ini, SettingsItem::TrigIntTrigRelFastTimeConst,
                              run.ctrl<double>(MAINPANEL_TRIGTCFAST)));
    run.add(settingsWriteReal(ini, SettingsItem::TimerPeriod, run.ctrl<double>(MAINPANEL_TIMERPERIOD)));
    run.add(settingsWriteInt(ini, SettingsItem::TimerPhase, run.ctrl<int>(MAINPANEL_TIMERPHASE)));
}

void saveRouting(SaveRun& run) {
    const int panel = appState.routePanel;
    for (uint16_t index : FILE_ROUTING_ORDER) {
        const RoutingDestination* d = routingDestinationOfIndex(index);
        if (!d) continue;
        if (index < ROUTING_FRONT_SMB && d->outputEnable) {
            int enable = 0;
            GetCtrlVal(panel, d->outputEnable, &enable);
            run.add(settingsWriteRoutingOutputEnable(run.ini(), index, enable ? 1 : 0));
        }
        int source = 0;
        GetCtrlVal(panel, d->inputRing, &source);
        run.add(settingsWriteRoutingConnect(run.ini(), index, static_cast<uint16_t>(source)));
    }
    const RoutingDestination* smb = routingDestinationOfIndex(ROUTING_FRONT_SMB);
    int enable = 0;
    GetCtrlVal(panel, smb->outputEnable, &enable);
    run.add(settingsWriteRoutingOutputEnable(run.ini(), ROUTING_FRONT_SMB, enable ? 1 : 0));
}

// List mode lives only in the module; each value the module gives is saved.
void saveListMode(SaveRun& run) {
    if (!isActive4120()) return;
    const uint32_t session = getQM4120id();
    const uint32_t ini = run.ini();
    uint16_t value = 0;
    if (qm4120_getListAddrSource(session, &value) >= 0)
        run.add(settingsWriteU16(ini, SettingsItem::ListAddrSource, value));
    if (qm4120_getListStrobeNegEdge(session, &value) >= 0)
        run.add(settingsWriteInt(ini, SettingsItem::ListStrobeNegEdge, value ? 1 : 0));
    if (qm4120_getListCounterStrobe(session, &value) >= 0)
        run.add(settingsWriteU16(ini, SettingsItem::ListCounterStrobe, value));
    uint16_t start = 0;
    uint16_t stop = 0;
    if (qm4120_getListCountStartStop(session, &start, &stop) >= 0) {
        run.add(settingsWriteU16(ini, SettingsItem::ListCounterStart, start));
        run.add(settingsWriteU16(ini, SettingsItem::ListCounterStop, stop));
    }
}

}  // namespace

int32_t settingsSaveFile(const char* path) {
    uint32_t ini = 0;
    if (qm41XXutils_IniCreate(path, &ini) < 0) {
        MessagePopup("Save Settings", "Error creating ini file instance");
        return -1;
    }
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    const int notice = LoadPanel(0, "qm4120_sfp.uir", SMPANEL);
    if (notice > 0) DisplayPanel(notice);

    // Everything is gathered in the instance and written once at the end: the file on disk is replaced
    // whole, so an interrupted or failed save leaves the previous file as it was.
    SaveRun run(ini);
    run.add(qm41XXutils_IniSetAutoSave(ini, 0));
    run.add(qm41XXutils_IniDeleteAllSections(ini));
    run.add(settingsWriteHeader(ini, 0));
    saveFrontEnd(run);
    saveChannels(run);
    saveAcquisition(run);
    saveTrigger(run);
    saveRouting(run);
    saveListMode(run);
    run.add(qm41XXutils_IniSave(ini));

    qm41XXutils_IniDelete(ini);
    if (notice > 0) DiscardPanel(notice);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    if (run.failed()) MessagePopup("Save settings", "Failed to save settings!");
    return run.result();
}

void cmdSaveSettings(int, int, void*, int) {
    char path[MAX_PATHNAME_LEN] = {};
    const int chosen = FileSelectPopup(appState.settingsDir, "*.ini", "*.ini", "Save Settings",
                                       VAL_SAVE_BUTTON, 0, 0, 1, 1, path);
    if (chosen == VAL_NO_FILE_SELECTED || chosen < 0) return;
    settingsSaveFile(path);
}
