// The views on the Qt front end, offscreen: the program started on its own path, a simulated module
// booted, one capture shown in every view with and without the numeric list, each saved as a PNG under
// the build folder for people to look at.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "capture_record.h"
#include "display.h"
#include "qm4120_pb_sim.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qt_program.h"
#include "ui/qt/qt_frontend.h"
#include "ui/qt/qt_main.h"

namespace {

struct Shot {
    const char* file;
    int dataType;
    int viewItem;
    int iqModeItem;  // 0: none
    bool list;
};

const Shot SHOTS[] = {
    {"view_fft.png", 0, MAINMENU_VIEW_FFT, 0, false},
    {"view_fft_list.png", 0, MAINMENU_VIEW_FFT, 0, true},
    {"view_if_time_series.png", 0, MAINMENU_VIEW_TIME_SERIES, 0, false},
    {"view_if_time_series_list.png", 0, MAINMENU_VIEW_TIME_SERIES, 0, true},
    {"view_iq_fft.png", 1, MAINMENU_VIEW_FFT, 0, false},
    {"view_iq_separate.png", 1, MAINMENU_VIEW_TIME_SERIES, MAINMENU_TSDISP_IQ_SEP, false},
    {"view_iq_separate_list.png", 1, MAINMENU_VIEW_TIME_SERIES, MAINMENU_TSDISP_IQ_SEP, true},
    {"view_iq_overlaid.png", 1, MAINMENU_VIEW_TIME_SERIES, MAINMENU_TSDISP_IQ_OVER, false},
    {"view_iq_polar.png", 1, MAINMENU_VIEW_IQ_POLAR, 0, false},
    {"view_iq_polar_list.png", 1, MAINMENU_VIEW_IQ_POLAR, 0, true},
};

std::string shotPath(const char* file) {
    return std::string(QM_SCREENSHOT_DIR) + "/" + file;
}

void trigger(qmqt::QtFrontend& qt, int item) {
    if (QAction* action = qt.menuAction(appState.mainMenuBar, item)) action->trigger();
    QCoreApplication::processEvents();
}

// Boots a module as the boot dialog would leave it, then takes every screenshot. Returns the files saved.
int takeShots(qmqt::QtFrontend& qt, QWidget& panel) {
    qm4120_setModelCodePxiKorvo(0x4A20);
    uint32_t vi = 0;
    if (qm4120_init("0x4A20", 0, 1, &vi) < 0) return 0;
    appState.sessionHandle = vi;
    appState.instrumentBooted = 1;
    qm4120_simSetSignal("tone_offset=200e3, tone_level=-30, noise=-140");
    qm4120_setRfInputLevel(vi, -20.0);
    qm4120_setWindowFunction(vi, 4);
    QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR));

    int saved = 0;
    for (const Shot& s : SHOTS) {
        qm4120_setSampleDataType(vi, s.dataType);
        if (s.dataType == 1) qm4120_setUmtsDecimationRatio(vi, 8);
        qm4120_setNumberOfSamples(vi, 4096);
        qm4120_setFftLength(vi, 4096);
        SetCtrlVal(appState.mainPanel, MAINPANEL_DATA_TYPE, s.dataType);
        trigger(qt, MAINMENU_VIEW_FFT);
        if (bool(displayView.numericViewOn) != s.list) trigger(qt, MAINMENU_VIEW_NUMERIC_DISP);
        trigger(qt, s.viewItem);
        if (s.iqModeItem) trigger(qt, s.iqModeItem);
        if (captureRecord(vi) != 0) continue;
        prepareFftInput(capturedData);
        displayCapturedData(capturedData);
        ProcessDrawEvents();
        QCoreApplication::processEvents();
        const QString file = QString::fromStdString(shotPath(s.file));
        if (panel.grab().save(file)) ++saved;
    }
    appState.instrumentBooted = 0;
    appState.sessionHandle = 0;
    qm4120_close(vi);
    return saved;
}

}  // namespace

TEST(DisplayOnQt, EveryViewAfterACaptureIsSavedAsAPicture) {
    for (const Shot& s : SHOTS) std::filesystem::remove(shotPath(s.file));
    int saved = -1;
    const int status =
        runWithMainPanel([&](qmqt::QtFrontend& qt, QWidget& panel) { saved = takeShots(qt, panel); });

    EXPECT_EQ(status, 0);
    EXPECT_EQ(saved, static_cast<int>(std::size(SHOTS)));
    for (const Shot& s : SHOTS) {
        const QImage image(QString::fromStdString(shotPath(s.file)));
        EXPECT_GT(image.width(), 600) << s.file;
    }
}
