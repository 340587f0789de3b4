// Capture control of the main panel (see capture_control.h).
#include "capture_control.h"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <vector>

#include "acquisition.h"
#include "app_state.h"
#include "display.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "sigmf_metadata.h"
#include "userint.h"

namespace {

constexpr uint16_t SAMPLE_DATA_IF = 0;

// Pause between two looks at the capture-complete flag: short beside any capture, long enough that the
// wait leaves the processor to the rest of the machine.
constexpr double CAPTURE_POLL_SECONDS = 0.001;

// Status of a sample buffer that could not be allocated (the VISA allocation error).
constexpr int32_t STATUS_ALLOC_FAILED = QM4120_ERROR_ALLOC;

int mainPanel() {
    return appState.mainPanel;
}

void setDimmed(int control, bool dimmed) {
    SetCtrlAttribute(mainPanel(), control, ATTR_DIMMED, dimmed ? 1 : 0);
}

void showStatus(const char* text) {
    SetCtrlVal(mainPanel(), MAINPANEL_MEAS_STATUS, text);
}

// Largest power of two not above n; 1 for 0 and 1.
uint32_t powerOfTwoNotAbove(uint32_t n) {
    uint32_t p = 1;
    while (p <= n / 2) p *= 2;
    return p;
}

// Gives the buffer exactly `count` words, releasing what it held first. False when the memory is not there.
template <typename T>
bool reallocate(std::vector<T>& buffer, uint32_t count) {
    std::vector<T>().swap(buffer);
    try {
        buffer.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

template <typename T>
void readInto(int32_t (*get)(uint32_t, T*), T* value) {
    err4120(get(getQM4120id(), value));
}

template <typename Field, typename T>
void readField(int32_t (*get)(uint32_t, T*), Field* field) {
    T value{};
    const int32_t status = get(getQM4120id(), &value);
    err4120(status);
    if (status >= 0) *field = static_cast<Field>(value);
}

// Captures the words of the record's data type into its buffer, and into the capture file for the file
// destinations.
int32_t captureWords(CapturedData& data) {
    const uint32_t session = getQM4120id();
    const char* file = captureFileName;
    const int32_t destination = captureDestination;
    if (data.sampleDataType == SAMPLE_DATA_IF || data.sampleOutputFormat == 0) {
        std::vector<int16_t>& buffer = data.sampleDataType == SAMPLE_DATA_IF ? data.ifData : data.iqData16;
        const uint32_t count = data.sampleDataType == SAMPLE_DATA_IF ? data.numIfSamples : data.numIqWords;
        if (destination == CAPTURE_TO_ASCII_FILE)
            return qm4120_captMemAscFile(session, count, buffer.data(), file);
        if (destination == CAPTURE_TO_BINARY_FILE)
            return qm4120_captMemBinFile(session, count, buffer.data(), file);
        return qm4120_captMem(session, count, buffer.data());
    }
    int32_t* buffer = data.iqData32.data();
    if (destination == CAPTURE_TO_ASCII_FILE)
        return qm4120_captMemAscFile32(session, data.numIqWords, buffer, file);
    if (destination == CAPTURE_TO_BINARY_FILE)
        return qm4120_captMemBinFile32(session, data.numIqWords, buffer, file);
    return qm4120_captMem32(session, data.numIqWords, buffer);
}

// One run of Start (arm false) or Arm (arm true): capture cycles until the run ends.
void runCapture(bool arm) {
    const int panel = mainPanel();
    captureAbortRequested = 0;
    captureStopRequested = 0;
    captureRepeatActive = captureRepeatMode == 1 ? 1 : 0;

    enableAcquisitionControls(0);
    setDimmed(arm ? MAINPANEL_CMD_ARM : MAINPANEL_CMD_SINGLE, true);
    setDimmed(arm ? MAINPANEL_CMD_DISARM : MAINPANEL_CMD_STOP, false);
    SetCtrlVal(panel, MAINPANEL_LED_MEASURE_STATUS, 1);

    do {
        readCaptureParameters(capturedData);
        uint16_t complete = 0;
        const int32_t armStatus = qm4120_armTrigger(getQM4120id(), 0, capturedData.numWords);
        err4120(armStatus);
        if (arm) {
            showStatus("Waiting for\ntrigger");
        } else {
            showStatus("Measuring");
            ProcessDrawEvents();
        }
        // A capture that was never armed, or a module that no longer answers, would be waited for in vain.
        bool waitFailed = armStatus < 0;
        while (!complete && !captureAbortRequested && !waitFailed) {
            const int32_t status = qm4120_getCaptureComplete(getQM4120id(), &complete);
            err4120(status);
            waitFailed = status < 0;
            ProcessSystemEvents();
            if (!complete) Delay(CAPTURE_POLL_SECONDS);
        }
        if (captureAbortRequested || waitFailed || !isActive4120()) {
            captureRepeatActive = 0;
        } else {
            if (transferCapturedData(capturedData) < 0) {
                captureRepeatActive = 0;
                break;
            }
            clearAllPlots();
            prepareFftInput(capturedData);
            displayCapturedData(capturedData);
            uint16_t overload = 0;
            const int32_t status = qm4120_getAdcOverload(getQM4120id(), &overload);
            err4120(status);
            capturedData.adcOverload = static_cast<int16_t>(overload);
            SetCtrlVal(panel, MAINPANEL_LED_ADC_STATUS, overload ? 1 : 0);
        }
        ProcessSystemEvents();
    } while (captureRepeatMode == 1 && captureRepeatActive && isActive4120() &&
             (arm ? !captureStopRequested : !captureAbortRequested));

    if (arm) {
        setDimmed(MAINPANEL_CMD_DISARM, true);
        setDimmed(MAINPANEL_CMD_ARM, false);
        SetCtrlVal(panel, MAINPANEL_LED_MEASURE_STATUS, 0);
        showStatus("Idle");
    } else {
        if (isActive4120()) err4120(qm4120_clearAfterRepeatCapt(getQM4120id()));
        SetCtrlVal(panel, MAINPANEL_LED_MEASURE_STATUS, 0);
        showStatus("Idle");
        setDimmed(MAINPANEL_CMD_STOP, true);
        setDimmed(MAINPANEL_CMD_SINGLE, false);
    }
    enableAcquisitionControls(1);
}

void selectDestination(int32_t destination) {
    static constexpr int ITEMS[] = {MAINMENU_CAPT_TOSCRN, MAINMENU_CAPT_TOASCFILE, MAINMENU_CAPT_TOBINFILE};
    static constexpr const char* MESSAGES[] = {"Capture to: Memory", "Capture to: ASCII file",
                                               "Capture to: Binary file"};
    captureDestination = destination;
    const int bar = appState.mainMenuBar;
    for (int d = 0; d < 3; ++d) SetMenuBarAttribute(bar, ITEMS[d], ATTR_CHECKED, d == destination ? 1 : 0);
    // A file holds one capture: the file destinations capture once per press.
    if (destination != CAPTURE_TO_MEMORY) {
        captureRepeatMode = 0;
        syncCaptureModeControl();
    }
    setDimmed(MAINPANEL_CAPTMODE, destination != CAPTURE_TO_MEMORY);
    SetCtrlVal(mainPanel(), MAINPANEL_CAPT_MODE_MSG, MESSAGES[destination]);
}

}  // namespace

void syncCaptureModeControl() {
    SetCtrlVal(mainPanel(), MAINPANEL_CAPTMODE, captureRepeatMode == 1 ? 1 : 0);
}

void requestCaptureStop() {
    if (!isActive4120()) return;
    const uint32_t session = getQM4120id();
    uint16_t triggered = 0;
    if (captureRepeatMode == 0) {
        err4120(qm4120_captAbort(session));
        err4120(qm4120_getTriggerDetected(session, &triggered));
        if (!triggered || captureStopRequested)
            captureAbortRequested = 1;
        else
            captureStopRequested = 1;
        return;
    }
    err4120(qm4120_getTriggerDetected(session, &triggered));
    if (!triggered) {
        captureAbortRequested = 1;
        captureRepeatActive = 0;
    } else if (captureRepeatActive) {
        // First press: the capture in hand completes and is shown, then the run ends.
        captureRepeatActive = 0;
    } else {
        err4120(qm4120_captAbort(session));
        if (!captureStopRequested)
            captureStopRequested = 1;
        else
            captureAbortRequested = 1;
    }
}

void readCaptureParameters(CapturedData& data) {
    if (!isActive4120()) return;
    readField(qm4120_getSampleDataType, &data.sampleDataType);
    readField(qm4120_getSampleDataOutputFormat, &data.sampleOutputFormat);
    readField(qm4120_getFftLength, &data.fftLength);
    readField(qm4120_getWindowFunction, &data.windowFunction);
    readInto(qm4120_getUndecimatedSamplingFrequency, &data.undecimatedSampleRate);
    readInto(qm4120_getRfFrequency, &data.rfFrequency);
    readInto(qm4120_getDividedLoFrequency, &data.dividedLoFrequency);
    readField(qm4120_getInputSource, &data.inputSource);
    readInto(qm4120_getSampleFrequency, &data.sampleFrequency);
    readInto(qm4120_getIfFrequency, &data.ifFrequency);
    readInto(qm4120_getDecimatedSamplingFrequency, &data.decimatedSampleRate);
    readInto(data.inputSource == 0 ? qm4120_getLevelCorrDigitizer : qm4120_getLevelCorrModule,
             &data.levelCorrection);
    readInto(qm4120_getLoOffset, &data.loOffset);
    if (data.sampleDataType == SAMPLE_DATA_IF) {
        readInto(qm4120_getNumberOfIfSamples, &data.numIfSamples);
        data.numWords = data.numIfSamples;
    } else {
        readInto(qm4120_getNumberOfIqSamples, &data.numIqSamples);
        data.numIqWords = 2 * data.numIqSamples;
        data.numWords = data.numIqWords;
    }
    data.adcOverload = 0;
}

int32_t transferCapturedData(CapturedData& data) {
    if (!isActive4120()) return 0;
    uint32_t count = 0;
    const int32_t countStatus = qm4120_getCapturedSampleCount(getQM4120id(), &count);
    err4120(countStatus);

    // A capture can end short (a gate closing early, a stop after the trigger): keep what came.
    const bool ifData = data.sampleDataType == SAMPLE_DATA_IF;
    if (countStatus >= 0) {
        const uint32_t requested = ifData ? data.numIfSamples : data.numIqSamples;
        if (count < requested) {
            if (ifData) {
                data.numIfSamples = data.numWords = count;
            } else {
                data.numIqSamples = count;
                data.numIqWords = data.numWords = 2 * count;
            }
            if (count < data.fftLength) data.fftLength = powerOfTwoNotAbove(count);
        }
    }

    bool allocated = false;
    if (ifData)
        allocated = reallocate(data.ifData, data.numIfSamples);
    else if (data.sampleOutputFormat == 0)
        allocated = reallocate(data.iqData16, data.numIqWords);
    else
        allocated = reallocate(data.iqData32, data.numIqWords);
    if (!allocated) {
        err4120(STATUS_ALLOC_FAILED);
        return STATUS_ALLOC_FAILED;
    }

    const int32_t destination = captureDestination;
    const bool toFile = destination == CAPTURE_TO_ASCII_FILE || destination == CAPTURE_TO_BINARY_FILE;
    if (toFile) {
        showStatus("Writing to\nfile");
        ProcessDrawEvents();
    }
    const int32_t status = captureWords(data);
    if (toFile) showStatus("Idle");
    err4120(status);
    if (status >= 0) noteCaptureForMetadata(data);
    if (destination == CAPTURE_TO_BINARY_FILE && status >= 0) writeMetadataBeside(captureFileName, data);
    if (toFile && status >= 0) {
        char message[CAPTURE_FILE_NAME_LEN + 64];
        std::snprintf(message, sizeof message, "Capture complete and data written to file \"%s\".",
                      captureFileName);
        MessagePopup(destination == CAPTURE_TO_ASCII_FILE ? "Data Capture to ASCII File"
                                                          : "Data Capture to Binary File",
                     message);
    }
    if (status >= 0) data.dataValid = 1;
    return status;
}

int cmdStart(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) runCapture(false);
    return 0;
}

int cmdTriggerArm(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) runCapture(true);
    return 0;
}

int cmdStop(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) requestCaptureStop();
    return 0;
}

int cmdTriggerDisarm(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) requestCaptureStop();
    return 0;
}

int CmdCaptMode(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (isActive4120()) {
        // Changing the mode ends a run as Stop and Disarm would.
        cmdStop(panel, MAINPANEL_CMD_STOP, EVENT_COMMIT, nullptr, 0, 0);
        cmdTriggerDisarm(panel, MAINPANEL_CMD_DISARM, EVENT_COMMIT, nullptr, 0, 0);
        int mode = 0;
        GetCtrlVal(panel, control, &mode);
        captureRepeatMode = mode;
    }
    if (captureRepeatMode == 0) captureRepeatActive = 0;
    return 0;
}

int cmdCaptureMode(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int mode = 0;
    GetCtrlVal(panel, control, &mode);
    err4120(qm4120_setCaptureMode(getQM4120id(), mode == 0 ? 0 : 1));
    return 0;
}

void cmdCaptureToScreenOnly(int, int, void*, int) {
    selectDestination(CAPTURE_TO_MEMORY);
}

void cmdCaptureToAsciiFile(int, int, void*, int) {
    selectDestination(CAPTURE_TO_ASCII_FILE);
}

void cmdCaptureToBinaryFile(int, int, void*, int) {
    selectDestination(CAPTURE_TO_BINARY_FILE);
}

void cmdCaptureFileSetup(int, int, void*, int) {
    char path[MAX_PATHNAME_LEN] = {};
    const char* defaultSpec = captureDestination == CAPTURE_TO_BINARY_FILE ? ".dat" : ".txt";
    const int result = FileSelectPopup("", defaultSpec, "(*.txt) ASCII;(*.dat) Binary", "Capture File Setup",
                                       VAL_OK_BUTTON, 0, 0, 1, 1, path);
    // A cancelled popup keeps the file chosen before.
    if (result > 0 && path[0] != '\0') std::snprintf(captureFileName, sizeof captureFileName, "%s", path);
}

void registerCaptureControlCallbacks() {
    RegisterCtrlCallback("cmdStart", cmdStart);
    RegisterCtrlCallback("cmdStop", cmdStop);
    RegisterCtrlCallback("cmdTriggerArm", cmdTriggerArm);
    RegisterCtrlCallback("cmdTriggerDisarm", cmdTriggerDisarm);
    RegisterCtrlCallback("CmdCaptMode", CmdCaptMode);
    RegisterCtrlCallback("cmdCaptureMode", cmdCaptureMode);
    RegisterMenuCallback("cmdCaptureToScreenOnly", cmdCaptureToScreenOnly);
    RegisterMenuCallback("cmdCaptureToAsciiFile", cmdCaptureToAsciiFile);
    RegisterMenuCallback("cmdCaptureToBinaryFile", cmdCaptureToBinaryFile);
    RegisterMenuCallback("cmdCaptureFileSetup", cmdCaptureFileSetup);
}
