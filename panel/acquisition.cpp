// Acquisition group of the main panel (see acquisition.h).
#include "acquisition.h"

#include <cstdint>
#include <cstdio>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr uint32_t FFT_RING_FIRST = 16;
constexpr uint32_t FFT_LENGTH_MAX = 32768;
constexpr uint32_t FFT_LENGTH_MIN = 2;

// Largest power of two not above n, within [FFT_LENGTH_MIN, FFT_LENGTH_MAX].
uint32_t fftLengthFor(uint32_t n) {
    uint32_t length = FFT_LENGTH_MIN;
    while (length * 2 <= n && length < FFT_LENGTH_MAX) length *= 2;
    return length;
}

}  // namespace

void initAcquisitionControls() {
    // Modulation mode, decimation and sample-count rings get their not-booted defaults here.
}

void fillFftLengthRing() {
    const int panel = appState.mainPanel;
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
        char label[16];
        std::snprintf(label, sizeof label, "%u", length);
        InsertListItem(panel, MAINPANEL_RING_FFT_LEN, -1, label, static_cast<int>(length));
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
    // Offers "UMTS" alone for IF data and the five modes for I/Q data.
}

void fillDecimationRatioRing() {
    // Rebuilds DECIMATION_RATIO and DATA_OUT_FORMAT for the mode and shows both sampling rates.
}

void refreshSampleControls() {
    // Data type, sample-count limits and step, and the FFT length read-out are refreshed here.
}

void refreshLvdsMenu() {
    // Check marks of the LVDS data, auxiliary and marker modes and the IF data position go here.
}
