// The FFT trace file (see fft_trace_file.h).
#include "fft_trace_file.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app_state.h"
#include "display.h"
#include "replacing_file.h"
#include "userint.h"

char fftTraceFileName[FFT_TRACE_FILE_NAME_LEN] = "ffttrace.txt";

namespace {

constexpr const char* TITLE = "FFT Trace";
// "%e," of a double: sign, digit, point, six digits, "e", sign, up to three exponent digits, comma.
constexpr int TRACE_LINE_MAX = 24;

void reset() {
    std::snprintf(fftTraceFileName, sizeof fftTraceFileName, "%s", "ffttrace.txt");
}

bool writeTrace(ReplacingFile& file) {
    std::string text;
    text.reserve(static_cast<size_t>(fftTracePoints) * TRACE_LINE_MAX);
    char line[TRACE_LINE_MAX + 8];
    const size_t points = std::min<size_t>(fftTracePoints, fftTraceLevelDbm.size());
    for (size_t i = 0; i < points; ++i) {
        const int n = std::snprintf(line, sizeof line, "%e,\n", fftTraceLevelDbm[i]);
        text.append(line, static_cast<size_t>(n));
    }
    return file.write(text.data(), text.size()) && file.commit();
}

void cmdSaveFFTTrace(int, int, void*, int) {
    if (capturedData.dataValid) saveFftTrace(capturedData);
}

void cmdFFTTraceFileSetup(int, int, void*, int) {
    char path[MAX_PATHNAME_LEN] = {};
    const int chosen =
        FileSelectPopup("", "", "(*.txt) ASCII", "FFT Trace File Setup", VAL_OK_BUTTON, 0, 0, 1, 1, path);
    // A cancelled popup keeps the file chosen before.
    if (chosen != VAL_NO_FILE_SELECTED && path[0] != '\0')
        std::snprintf(fftTraceFileName, sizeof fftTraceFileName, "%s", path);
}

}  // namespace

void saveFftTrace(const CapturedData& data) {
    if (fftTraceLevelDbm.empty()) {
        MessagePopup(TITLE, "No FFT Trace data to save");
        return;
    }
    ReplacingFile file(fftTraceFileName);
    char message[FFT_TRACE_FILE_NAME_LEN + 96];
    if (!file.create() || !writeTrace(file)) {
        std::snprintf(message, sizeof message,
                      "The FFT trace could not be written to \"%s\"; no file was saved.", fftTraceFileName);
        MessagePopup(TITLE, message);
        return;
    }
    std::snprintf(message, sizeof message, "%d point FFT trace data saved to \"%s\"",
                  static_cast<int>(data.fftLength), fftTraceFileName);
    MessagePopup(TITLE, message);
}

void registerFftTraceFileCallbacks() {
    RegisterMenuCallback("cmdSaveFFTTrace", cmdSaveFFTTrace);
    RegisterMenuCallback("cmdFFTTraceFileSetup", cmdFFTTraceFileSetup);
    registerStateReset(reset);
}
