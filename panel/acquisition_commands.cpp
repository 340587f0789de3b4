// Callbacks of the acquisition group: the operator's choices of mode, ratio, data type and width, sample
// count, sampling rate, window and IF data position. Each sends the choice to the module and rebuilds the
// controls from what the module applied.
#include <algorithm>
#include <cstdint>

#include "acquisition.h"
#include "acquisition_modes.h"
#include "app_state.h"
#include "display.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

const ModulationMode MODULATION_MODES[MODULATION_MODE_COUNT] = {
    {MODN_UMTS, "UMTS", "UMTS\nDecimation Ratio", qm4120_setUmtsDecimationRatio,
     qm4120_getUmtsDecimationRatio, 2, 1024, 2},
    {MODN_GSM, "GSM", "GSM\nDecimation Ratio", qm4120_setGsmDecimationRatio, qm4120_getGsmDecimationRatio, 1,
     16, 1},
    {MODN_CDMA2000_1X, "CDMA2000 1X", "CDMA2000 1X\nDecimation Ratio", qm4120_setCdma20001xDecimationRatio,
     qm4120_getCdma20001xDecimationRatio, 1, 8, 1},
    {MODN_EMU7706, "7706 Emulation", "7706 Emulation\nDecimation Ratio", qm4120_setEmu7706DecimationRatio,
     qm4120_getEmu7706DecimationRatio, 16, 32, 16},
    {MODN_GENERIC, "Generic", "Generic\nDecimation Ratio", qm4120_setGenericDecimationRatio,
     qm4120_getGenericDecimationRatio, 0, 0, 2},
};

const ModulationMode* findModulationMode(uint16_t value) {
    for (const ModulationMode& mode : MODULATION_MODES)
        if (mode.value == value) return &mode;
    return nullptr;
}

namespace {

constexpr uint32_t IF_SAMPLE_STEP = 32;
constexpr uint32_t IQ_SAMPLE_STEP = 16;

bool committedWhileBooted(int event) {
    return event == EVENT_COMMIT && isActive4120();
}

// A rejected value must not stay on the panel: show everything the module now holds.
void refreshAfterRejection(int32_t status) {
    if (status != 0) refreshPanelFromInstrument();
}

// The time-series zoom window must stay inside a capture of the count now set.
void keepZoomWithinCount() {
    const int panel = appState.mainPanel;
    uint32_t samples = 0;
    GetCtrlVal(panel, MAINPANEL_NUM_SAMPLES, &samples);
    const int n = static_cast<int>(std::min<uint32_t>(samples, INT32_MAX));
    int start = 0;
    int stop = 0;
    GetCtrlVal(panel, MAINPANEL_TIME_SER_ZOOM_START, &start);
    GetCtrlVal(panel, MAINPANEL_TIME_SER_ZOOM_STOP, &stop);
    if (start > n - 1) SetCtrlVal(panel, MAINPANEL_TIME_SER_ZOOM_START, std::max(n - 2, 0));
    if (stop >= n) SetCtrlVal(panel, MAINPANEL_TIME_SER_ZOOM_STOP, std::max(n - 1, 0));
}

}  // namespace

int cmdModulationMode(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (isActive4120()) {
        uint16_t mode = 0;
        GetCtrlVal(panel, control, &mode);
        noteStatus(qm4120_setModulationMode(getQM4120id(), mode));
    }
    fillDecimationRatioRing();
    refreshSampleControls();
    return 0;
}

int cmdDecimationRatio(int panel, int control, int event, void*, int, int) {
    if (!committedWhileBooted(event)) return 0;
    const uint32_t session = getQM4120id();
    uint16_t modeValue = 0;
    qm4120_getModulationMode(session, &modeValue);
    uint32_t ratio = 0;
    GetCtrlVal(panel, control, &ratio);
    // The module keeps the nearest ratio it supports; the rings below show what it kept.
    if (const ModulationMode* mode = findModulationMode(modeValue)) mode->setRatio(session, ratio);
    double hz = 0.0;
    if (qm4120_getDecimatedSamplingFrequency(session, &hz) >= 0)
        SetCtrlVal(panel, MAINPANEL_DEC_SAMPLING_RATE, hz / HZ_PER_MHZ);
    fillOutputFormatRing(modeValue, ratio, currentSampleDataType());
    refreshSampleControls();
    return 0;
}

int cmdSampleDataType(int panel, int control, int event, void*, int, int) {
    if (!committedWhileBooted(event)) return 0;
    const uint32_t session = getQM4120id();
    uint16_t type = 0;
    GetCtrlVal(panel, control, &type);
    qm4120_setSampleDataType(session, type);

    // The count kept for the new type becomes the one the module captures.
    const bool ifData = type == SAMPLE_DATA_IF;
    uint32_t samples = 0;
    if (ifData) {
        if (qm4120_getNumberOfIfSamples(session, &samples) >= 0) {
            SetCtrlVal(panel, MAINPANEL_NUM_SAMPLES, samples);
            qm4120_setNumberOfIfSamples(session, samples);
        }
        showAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_MAX_VALUE, qm4120_getMaxNumberOfIfSamples,
                      StatusReport::Quiet);
    } else {
        if (qm4120_getNumberOfIqSamples(session, &samples) >= 0) {
            SetCtrlVal(panel, MAINPANEL_NUM_SAMPLES, samples);
            qm4120_setNumberOfIqSamples(session, samples);
        }
        showAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_MAX_VALUE, qm4120_getMaxNumberOfIqSamples,
                      StatusReport::Quiet);
    }
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_LABEL_TEXT,
                     ifData ? "Number of IF Samples" : "Number of IQ Samples");
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE,
                     static_cast<int>(ifData ? IF_SAMPLE_STEP : IQ_SAMPLE_STEP));
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_MIN_VALUE, 1);
    for (int c : {MAINPANEL_MODN_MODE, MAINPANEL_DECIMATION_RATIO, MAINPANEL_DEC_SAMPLING_RATE})
        SetCtrlAttribute(panel, c, ATTR_VISIBLE, ifData ? 0 : 1);
    fillModulationModeRing();
    fillDecimationRatioRing();
    viewsFollowSampleDataType(type);

    // The transform covers the whole capture where it can.
    err4120(qm4120_setFftLength(session, fftLengthFor(samples)));
    fillFftLengthRing();
    return 0;
}

int cmdSampleDataOutputFormat(int panel, int control, int event, void*, int, int) {
    if (!committedWhileBooted(event)) return 0;
    uint16_t format = 0;
    GetCtrlVal(panel, control, &format);
    refreshAfterRejection(noteStatus(qm4120_setSampleDataOutputFormat(getQM4120id(), format)));
    showAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE, qm4120_getSampleIncrement,
                  StatusReport::Quiet);
    refreshSampleControls();
    return 0;
}

int cmdIFDataPos(int panel, int control, int event, void*, int, int) {
    if (!committedWhileBooted(event)) return 0;
    uint16_t position = 0;
    GetCtrlVal(panel, control, &position);
    refreshAfterRejection(noteStatus(qm4120_setIfDataPositionLvds(getQM4120id(), position)));
    return 0;
}

int cmdNumberOfSamples(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (isActive4120()) {
        uint32_t samples = 0;
        GetCtrlVal(panel, control, &samples);
        refreshAfterRejection(noteStatus(qm4120_setNumberOfSamples(getQM4120id(), samples)));
    }
    fillFftLengthRing();
    keepZoomWithinCount();
    return 0;
}

int CmdSampleRate(int panel, int control, int event, void*, int, int) {
    if (!committedWhileBooted(event)) return 0;
    double mhz = 0.0;
    GetCtrlVal(panel, control, &mhz);
    noteStatus(qm4120_setGenericSamplingFrequency(getQM4120id(), mhz * HZ_PER_MHZ));
    // The ratio limits and both rates follow the new rate.
    fillDecimationRatioRing();
    return 0;
}

int cmdWindowFunction(int panel, int control, int event, void*, int, int) {
    if (!committedWhileBooted(event)) return 0;
    uint16_t window = 0;
    GetCtrlVal(panel, control, &window);
    noteStatus(qm4120_setWindowFunction(getQM4120id(), window));
    return 0;
}

void registerAcquisitionCallbacks() {
    RegisterCtrlCallback("cmdModulationMode", cmdModulationMode);
    RegisterCtrlCallback("cmdDecimationRatio", cmdDecimationRatio);
    RegisterCtrlCallback("cmdSampleDataType", cmdSampleDataType);
    RegisterCtrlCallback("cmdSampleDataOutputFormat", cmdSampleDataOutputFormat);
    RegisterCtrlCallback("cmdIFDataPos", cmdIFDataPos);
    RegisterCtrlCallback("cmdNumberOfSamples", cmdNumberOfSamples);
    RegisterCtrlCallback("CmdSampleRate", CmdSampleRate);
    RegisterCtrlCallback("cmdWindowFunction", cmdWindowFunction);
    registerFractionalRateCallbacks();
    registerLvdsMenuCallbacks();
}
