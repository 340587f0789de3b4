// Acquisition group of the main panel: the rings and limits rebuilt from the module (see acquisition.h).
#include "acquisition.h"

#include <cstdint>
#include <cstdio>

#include "acquisition_modes.h"
#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

namespace {

constexpr uint32_t FFT_RING_FIRST = 16;
constexpr uint32_t FFT_LENGTH_MAX = 32768;
constexpr uint32_t FFT_LENGTH_MIN = 2;

// What the panel shows before a module is booted.
constexpr uint32_t DEFAULT_SAMPLES = 2048;
constexpr uint32_t DEFAULT_FFT_LENGTH = 2048;
constexpr uint32_t DEFAULT_MAX_IF_SAMPLES = 128000000;
constexpr uint32_t DEFAULT_MAX_IQ_SAMPLES = 32000000;
constexpr uint32_t IF_SAMPLE_STEP = 32;
constexpr uint32_t IQ16_SAMPLE_STEP = 16;
constexpr uint32_t IQ32_SAMPLE_STEP = 8;
constexpr uint32_t GENERIC_RATIO_UNBOOTED = 2;

constexpr const char* RATE_DISPLAY_TIP = "Displays the undecimated sampling rate, in MHz";
constexpr const char* RATE_SET_TIP = "Sets the undecimated sampling rate, in MHz";

int mainPanel() {
    return appState.mainPanel;
}

void setVisible(int control, bool visible) {
    SetCtrlAttribute(mainPanel(), control, ATTR_VISIBLE, visible ? 1 : 0);
}

void insertNumberItem(int control, uint32_t value) {
    char label[16];
    std::snprintf(label, sizeof label, "%u", value);
    InsertListItem(mainPanel(), control, -1, label, value);
}

// The undecimated rate is only entered in the generic mode; elsewhere it shows what the mode implies.
void setUndecimatedRateEditable(bool editable) {
    const int panel = mainPanel();
    SetCtrlAttribute(panel, MAINPANEL_UNDEC_SAMPLING_RATE, ATTR_CTRL_MODE,
                     editable ? VAL_HOT : VAL_INDICATOR);
    SetCtrlAttribute(panel, MAINPANEL_UNDEC_SAMPLING_RATE, ATTR_TEXT_BGCOLOR,
                     editable ? COLOUR_EDITABLE : COLOUR_READ_ONLY);
    SetCtrlToolTipAttribute(panel, MAINPANEL_UNDEC_SAMPLING_RATE, CTRL_TOOLTIP_ATTR_TEXT,
                            editable ? RATE_SET_TIP : RATE_DISPLAY_TIP);
    setVisible(MAINPANEL_SHOWFSRPANEL, editable);
}

}  // namespace

uint32_t fftLengthFor(uint32_t n) {
    uint32_t length = FFT_LENGTH_MIN;
    while (length * 2 <= n && length < FFT_LENGTH_MAX) length *= 2;
    return length;
}

void getDecimationRatioControlIndex(uint32_t ratio, uint32_t firstRatio, uint16_t* index) {
    auto log2Of = [](uint32_t value) {
        for (int bit = 0; bit <= 10; ++bit)
            if (value == (1u << bit)) return bit;
        return 0;
    };
    const int position = log2Of(ratio) - log2Of(firstRatio);
    if (index) *index = static_cast<uint16_t>(position > 0 ? position : 0);
}

uint16_t currentSampleDataType() {
    if (!isActive4120()) return SAMPLE_DATA_IQ;
    uint16_t type = SAMPLE_DATA_IQ;
    if (qm4120_getSampleDataType(getQM4120id(), &type) < 0) type = SAMPLE_DATA_IQ;
    return type;
}

uint16_t currentModulationMode() {
    uint16_t mode = MODN_UMTS;
    if (isActive4120() && qm4120_getModulationMode(getQM4120id(), &mode) < 0) mode = MODN_UMTS;
    return mode;
}

void showSamplingRates() {
    const int panel = mainPanel();
    if (!isActive4120()) {
        SetCtrlVal(panel, MAINPANEL_UNDEC_SAMPLING_RATE, 0.0);
        SetCtrlVal(panel, MAINPANEL_DEC_SAMPLING_RATE, 0.0);
        return;
    }
    const uint32_t session = getQM4120id();
    double hz = 0.0;
    if (qm4120_getUndecimatedSamplingFrequency(session, &hz) >= 0)
        SetCtrlVal(panel, MAINPANEL_UNDEC_SAMPLING_RATE, hz / HZ_PER_MHZ);
    if (qm4120_getDecimatedSamplingFrequency(session, &hz) >= 0)
        SetCtrlVal(panel, MAINPANEL_DEC_SAMPLING_RATE, hz / HZ_PER_MHZ);
}

void fillOutputFormatRing(uint16_t mode, uint32_t ratio, uint16_t dataType) {
    const int panel = mainPanel();
    if (dataType == SAMPLE_DATA_IF) {
        setVisible(MAINPANEL_DATA_OUT_FORMAT, false);
        setUndecimatedRateEditable(false);
        return;
    }
    setVisible(MAINPANEL_DATA_OUT_FORMAT, true);
    ClearListCtrl(panel, MAINPANEL_DATA_OUT_FORMAT);
    InsertListItem(panel, MAINPANEL_DATA_OUT_FORMAT, -1, "16 bit IQ", 0);
    // These modes deliver 16-bit words only at ratios of 4 and below.
    const bool narrowOnly =
        (mode == MODN_UMTS || mode == MODN_CDMA2000_1X || mode == MODN_EMU7706) && ratio <= 4;
    if (!narrowOnly) InsertListItem(panel, MAINPANEL_DATA_OUT_FORMAT, -1, "32 bit IQ", 1);
    uint16_t format = 0;
    if (isActive4120() && qm4120_getSampleDataOutputFormat(getQM4120id(), &format) < 0) format = 0;
    int index = 0;
    if (GetIndexFromValue(panel, MAINPANEL_DATA_OUT_FORMAT, &index, format) >= 0 && index >= 0)
        SetCtrlIndex(panel, MAINPANEL_DATA_OUT_FORMAT, index);
}

void initAcquisitionControls() {
    // The resource's mode texts give way to the module's, and the ratio ring to the not-booted one (UMTS,
    // ratio 2). The sample count keeps the resource's value until the first refresh.
    fillModulationModeRing();
    fillDecimationRatioRing();
}

void fillFftLengthRing() {
    const int panel = mainPanel();
    const uint32_t session = getQM4120id();
    const bool booted = isActive4120() != 0;

    // Without a module the panel's own sample count and FFT length stand for the instrument's.
    uint32_t samples = 0;
    GetCtrlVal(panel, MAINPANEL_NUM_SAMPLES, &samples);
    if (booted) {
        uint32_t n = 0;
        if (noteStatus(qm4120_getNumberOfSamples(session, &n)) >= 0) samples = n;
    }

    ClearListCtrl(panel, MAINPANEL_RING_FFT_LEN);
    for (uint32_t length = FFT_RING_FIRST; length <= FFT_LENGTH_MAX; length *= 2) {
        if (length > samples && length > FFT_RING_FIRST) break;
        insertNumberItem(MAINPANEL_RING_FFT_LEN, length);
    }

    uint32_t fftLength = 0;
    GetCtrlVal(panel, MAINPANEL_FFT_LEN, &fftLength);
    if (booted) {
        uint32_t current = 0;
        int32_t status = qm4120_getFftLength(session, &current);
        err4120(status);
        if (status >= 0) {
            // A transform longer than the capture has nothing to work on.
            if (current > samples) {
                err4120(qm4120_setFftLength(session, fftLengthFor(samples)));
                status = qm4120_getFftLength(session, &current);
                err4120(status);
            }
            if (status >= 0) fftLength = current;
        }
    }
    SetCtrlVal(panel, MAINPANEL_FFT_LEN, fftLength);
    int index = -1;
    if (GetIndexFromValue(panel, MAINPANEL_RING_FFT_LEN, &index, static_cast<double>(fftLength)) >= 0 &&
        index >= 0)
        SetCtrlIndex(panel, MAINPANEL_RING_FFT_LEN, index);
}

void fillModulationModeRing() {
    const int panel = mainPanel();
    ClearListCtrl(panel, MAINPANEL_MODN_MODE);
    // IF samples bypass the decimation filters, so only the first mode is meaningful.
    const bool ifData = currentSampleDataType() == SAMPLE_DATA_IF;
    for (const ModulationMode& mode : MODULATION_MODES) {
        InsertListItem(panel, MAINPANEL_MODN_MODE, -1, mode.text, mode.value);
        if (ifData) break;
    }
}

void fillDecimationRatioRing() {
    const int panel = mainPanel();
    const bool booted = isActive4120() != 0;
    const uint32_t session = getQM4120id();

    uint16_t modeValue = MODN_UMTS;
    uint16_t dataType = SAMPLE_DATA_IQ;
    if (booted) {
        // A warning on the read is shown instead of a value that may not be the one in force.
        const int32_t status = qm4120_getModulationMode(session, &modeValue);
        if (status <= 0) {
            if (status < 0) modeValue = MODN_UMTS;
            SetCtrlVal(panel, MAINPANEL_MODN_MODE, modeValue);
        } else {
            err4120(status);
        }
        dataType = currentSampleDataType();
    }
    showSamplingRates();

    const ModulationMode* mode = findModulationMode(modeValue);
    if (!mode) mode = &MODULATION_MODES[0];
    SetCtrlAttribute(panel, MAINPANEL_DECIMATION_RATIO, ATTR_LABEL_TEXT, mode->ratioLabel);
    ClearListCtrl(panel, MAINPANEL_DECIMATION_RATIO);

    uint32_t ratio = mode->defaultRatio;
    if (mode->value != MODN_GENERIC) {
        setUndecimatedRateEditable(false);
        for (uint32_t r = mode->firstRatio; r <= mode->lastRatio; r *= 2)
            insertNumberItem(MAINPANEL_DECIMATION_RATIO, r);
        if (booted && mode->getRatio(session, &ratio) < 0) ratio = mode->defaultRatio;
        uint16_t index = 0;
        getDecimationRatioControlIndex(ratio, mode->firstRatio, &index);
        int count = 0;
        GetNumListItems(panel, MAINPANEL_DECIMATION_RATIO, &count);
        if (index < count) SetCtrlIndex(panel, MAINPANEL_DECIMATION_RATIO, index);
    } else {
        setUndecimatedRateEditable(true);
        uint32_t minimum = GENERIC_RATIO_UNBOOTED;
        uint32_t maximum = GENERIC_RATIO_UNBOOTED;
        if (booted) {
            if (mode->getRatio(session, &ratio) < 0) ratio = GENERIC_RATIO_UNBOOTED;
            if (qm4120_getDecimationLimits(session, MODN_GENERIC, &minimum, &maximum) < 0)
                minimum = maximum = ratio;
        }
        // A limit of 0 would never grow; the module never decimates by less than 1.
        for (uint64_t r = minimum ? minimum : 1; r <= maximum; r *= 2)
            insertNumberItem(MAINPANEL_DECIMATION_RATIO, static_cast<uint32_t>(r));
        int index = -1;
        if (GetIndexFromValue(panel, MAINPANEL_DECIMATION_RATIO, &index, ratio) >= 0 && index >= 0)
            SetCtrlIndex(panel, MAINPANEL_DECIMATION_RATIO, index);
    }
    fillOutputFormatRing(mode->value, ratio, dataType);
}

uint32_t sampleCountStep(uint16_t dataType) {
    if (dataType == SAMPLE_DATA_IF) return IF_SAMPLE_STEP;
    uint16_t format = 0;
    if (isActive4120() && qm4120_getSampleDataOutputFormat(getQM4120id(), &format) >= 0 && format != 0)
        return IQ32_SAMPLE_STEP;
    return IQ16_SAMPLE_STEP;
}

void refreshSampleControls() {
    const int panel = mainPanel();
    const bool booted = isActive4120() != 0;
    const uint32_t session = getQM4120id();
    const uint16_t dataType = currentSampleDataType();
    SetCtrlVal(panel, MAINPANEL_DATA_TYPE, dataType);

    uint32_t samples = DEFAULT_SAMPLES;
    const uint32_t step = sampleCountStep(dataType);
    uint32_t maximum = DEFAULT_MAX_IF_SAMPLES;
    const bool ifData = dataType == SAMPLE_DATA_IF;
    if (ifData) {
        if (booted) {
            if (qm4120_getNumberOfIfSamples(session, &samples) < 0) samples = DEFAULT_SAMPLES;
            if (qm4120_getMaxNumberOfIfSamples(session, &maximum) < 0) maximum = DEFAULT_MAX_IF_SAMPLES;
        }
    } else {
        maximum = DEFAULT_MAX_IQ_SAMPLES;
        if (booted) {
            if (qm4120_getNumberOfIqSamples(session, &samples) < 0) samples = DEFAULT_SAMPLES;
            if (qm4120_getMaxNumberOfIqSamples(session, &maximum) < 0) maximum = DEFAULT_MAX_IQ_SAMPLES;
        }
    }
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_LABEL_TEXT,
                     ifData ? "Number of IF Samples" : "Number of IQ Samples");
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_MIN_VALUE, static_cast<int>(step));
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_MAX_VALUE, static_cast<int>(maximum));
    SetCtrlAttribute(panel, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE, static_cast<int>(step));
    SetCtrlVal(panel, MAINPANEL_NUM_SAMPLES, samples);

    setVisible(MAINPANEL_MODN_MODE, !ifData);
    setVisible(MAINPANEL_DECIMATION_RATIO, !ifData);
    setVisible(MAINPANEL_DEC_SAMPLING_RATE, !ifData);
    if (ifData) setUndecimatedRateEditable(false);

    fillModulationModeRing();
    fillDecimationRatioRing();
    if (!booted) SetCtrlVal(panel, MAINPANEL_FFT_LEN, DEFAULT_FFT_LENGTH);
    fillFftLengthRing();
}

void enableAcquisitionControls(int enable) {
    const int panel = mainPanel();
    const int dimmed = enable ? 0 : 1;
    for (int control :
         {MAINPANEL_DECIMATION_RATIO, MAINPANEL_MODN_MODE, MAINPANEL_DATA_TYPE, MAINPANEL_DATA_OUT_FORMAT})
        SetCtrlAttribute(panel, control, ATTR_DIMMED, dimmed);
    if (isActive4120() && currentSampleDataType() == SAMPLE_DATA_IQ &&
        currentModulationMode() == MODN_GENERIC) {
        SetCtrlAttribute(panel, MAINPANEL_UNDEC_SAMPLING_RATE, ATTR_DIMMED, dimmed);
        SetCtrlAttribute(panel, MAINPANEL_SHOWFSRPANEL, ATTR_DIMMED, dimmed);
    }
}
