// The views on the Qt front end, offscreen: the program started on its own path, a simulated module
// booted, one capture shown in every view with and without the numeric list, each saved as a PNG under
// the build folder for people to look at.
#include <gtest/gtest.h>

#include "capture_record.h"
#include "qm4120_pb_sim.h"
#include "qt_program.h"

namespace {

struct Shot {
    const char* file;
    int dataType;
    int viewItem;
    int iqModeItem;  // 0: none
    bool list;
};

const Shot SHOTS[] = {
    {"view_fft", 0, MAINMENU_VIEW_FFT, 0, false},
    {"view_fft_list", 0, MAINMENU_VIEW_FFT, 0, true},
    {"view_if_time_series", 0, MAINMENU_VIEW_TIME_SERIES, 0, false},
    {"view_if_time_series_list", 0, MAINMENU_VIEW_TIME_SERIES, 0, true},
    {"view_iq_fft", 1, MAINMENU_VIEW_FFT, 0, false},
    {"view_iq_separate", 1, MAINMENU_VIEW_TIME_SERIES, MAINMENU_TSDISP_IQ_SEP, false},
    {"view_iq_separate_list", 1, MAINMENU_VIEW_TIME_SERIES, MAINMENU_TSDISP_IQ_SEP, true},
    {"view_iq_overlaid", 1, MAINMENU_VIEW_TIME_SERIES, MAINMENU_TSDISP_IQ_OVER, false},
    {"view_iq_polar", 1, MAINMENU_VIEW_IQ_POLAR, 0, false},
    {"view_iq_polar_list", 1, MAINMENU_VIEW_IQ_POLAR, 0, true},
};

}  // namespace

TEST(DisplayOnQt, EveryViewAfterACaptureIsSavedAsAPicture) {
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
        const uint32_t vi = bootForShots(0x4A20);
        if (!vi) return false;
        qm4120_simSetSignal("tone_offset=200e3, tone_level=-30, noise=-140");
        qm4120_setRfInputLevel(vi, -20.0);
        qm4120_setWindowFunction(vi, 4);
        for (const Shot& s : SHOTS) {
            SCOPED_TRACE(s.file);
            qm4120_setSampleDataType(vi, s.dataType);
            if (s.dataType == 1) qm4120_setUmtsDecimationRatio(vi, 8);
            qm4120_setNumberOfSamples(vi, 4096);
            qm4120_setFftLength(vi, 4096);
            // The panel shows what the module now holds, as after any change the program did not make.
            refreshPanelFromInstrument();
            chooseMainMenu(qt, MAINMENU_VIEW_FFT);
            if (bool(displayView.numericViewOn) != s.list) chooseMainMenu(qt, MAINMENU_VIEW_NUMERIC_DISP);
            chooseMainMenu(qt, s.viewItem);
            if (s.iqModeItem) chooseMainMenu(qt, s.iqModeItem);
            EXPECT_EQ(captureRecord(vi), 0);
            prepareFftInput(capturedData);
            displayCapturedData(capturedData);
            EXPECT_GT(shootPanel(qt, appState.mainPanel, s.file).width(), 600);
        }
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
}
