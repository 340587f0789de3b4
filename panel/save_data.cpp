// Saving captured data from the File menu (see save_data.h).
#include "save_data.h"

#include <algorithm>
#include <cstdio>

#include "app_state.h"
#include "capture_file.h"
#include "qm4120.h"
#include "qm4120_capture.h"
#include "qm4120_sfp_uir.h"
#include "sigmf_metadata.h"
#include "userint.h"

namespace {

constexpr int STATUS_TEXT_LEN = 64;
constexpr const char* MAIN_UIR = "qm4120_sfp.uir";

struct SaveKind {
    bool binary;
    const char* dialogTitle;
    const char* doneTitle;
};
constexpr SaveKind ASCII_SAVE = {false, "Save Captured Data to ASCII File",
                                 "Saved Captured Data to ASCII File"};
constexpr SaveKind BINARY_SAVE = {true, "Save Captured Data to Binary File",
                                  "Saved Captured Data to Binary File"};

// The capture indicators as they were before the save, put back afterwards: saving is no part of a run.
struct CaptureIndicators {
    char status[STATUS_TEXT_LEN] = {};
    int led = 0;
};

CaptureIndicators showWriting(int panel) {
    CaptureIndicators before;
    GetCtrlVal(panel, MAINPANEL_MEAS_STATUS, before.status);
    GetCtrlVal(panel, MAINPANEL_LED_MEASURE_STATUS, &before.led);
    SetCtrlVal(panel, MAINPANEL_LED_MEASURE_STATUS, 1);
    SetCtrlVal(panel, MAINPANEL_MEAS_STATUS, "Writing to\nfile");
    return before;
}

void restore(int panel, const CaptureIndicators& before) {
    SetCtrlVal(panel, MAINPANEL_LED_MEASURE_STATUS, before.led);
    SetCtrlVal(panel, MAINPANEL_MEAS_STATUS, before.status);
}

void saveCapturedData(const SaveKind& kind) {
    if (!capturedData.dataValid) {
        MessagePopup("Error", "Captured Data is not valid");
        return;
    }
    char path[MAX_PATHNAME_LEN] = {};
    const int chosen = FileSelectPopup(appState.settingsDir, "*.txt", "*.txt", kind.dialogTitle,
                                       VAL_SAVE_BUTTON, 0, 0, 1, 1, path);
    if (chosen == VAL_NO_FILE_SELECTED || path[0] == '\0') return;

    ReplacingFile file(path);
    if (!file.create()) {
        err4120(QM4120_ERROR_CAPTURE_FILE);
        return;
    }
    const int panel = appState.mainPanel;
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    const int notice = LoadPanel(0, MAIN_UIR, SDPANEL);
    if (notice > 0) DisplayPanel(notice);
    const CaptureIndicators before = showWriting(panel);
    ProcessDrawEvents();

    const int32_t status = writeCapturedData(capturedData, file, kind.binary);

    restore(panel, before);
    if (notice > 0) DiscardPanel(notice);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    if (status < 0) {
        err4120(status);
        return;
    }
    if (kind.binary) writeMetadataBeside(path, capturedData);
    char message[MAX_PATHNAME_LEN + 64];
    std::snprintf(message, sizeof message, "Data written to file \"%s\".", path);
    MessagePopup(kind.doneTitle, message);
}

template <typename Word>
int32_t writeWords(qm::driver::CaptureFile& out, const std::vector<Word>& words, uint32_t count,
                   bool binary) {
    // A record's count never exceeds its buffer; should it, the file holds what the buffer has.
    const size_t n = std::min<size_t>(count, words.size());
    return binary ? out.raw(words.data(), n) : out.decimal(words.data(), n);
}

void cmdSaveCapturedDataAscii(int, int, void*, int) {
    saveCapturedData(ASCII_SAVE);
}

void cmdSaveCapturedDataBinary(int, int, void*, int) {
    saveCapturedData(BINARY_SAVE);
}

}  // namespace

int32_t writeCapturedData(const CapturedData& data, ReplacingFile& file, bool binary) {
    qm::driver::CaptureFile out;
    if (out.open(file.tempPath().c_str()) != 0) return QM4120_ERROR_CAPTURE_WRITE;
    int32_t status = 0;
    if (data.sampleDataType == 0)
        status = writeWords(out, data.ifData, data.numIfSamples, binary);
    else if (data.sampleOutputFormat == 0)
        status = writeWords(out, data.iqData16, data.numIqWords, binary);
    else
        status = writeWords(out, data.iqData32, data.numIqWords, binary);
    const int32_t closed = out.close();
    if (status >= 0) status = closed;
    if (status >= 0 && !file.commit()) status = QM4120_ERROR_CAPTURE_WRITE;
    return status;
}

void registerSaveDataCallbacks() {
    RegisterMenuCallback("cmdSaveCapturedDataAscii", cmdSaveCapturedDataAscii);
    RegisterMenuCallback("cmdSaveCapturedDataBinary", cmdSaveCapturedDataBinary);
}
