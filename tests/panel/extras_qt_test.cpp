// The spectrum extras on the Qt front end, offscreen: the waterfall during a repeat run of a hopping
// tone, an averaged and a max-hold trace over a noisy signal, and the FFT graph exported as PNG and PDF.
// The pictures go under the build folder for people to look at.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "capture_state.h"
#include "display.h"
#include "extras.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qt_program.h"
#include "ui/qt/qt_frontend.h"
#include "ui/qt/qt_main.h"

namespace {

std::string shotPath(const char* file) {
    return std::string(QM_SCREENSHOT_DIR) + "/" + file;
}

struct Results {
    int shots = 0;
    int waterfallRows = 0;
    int averaged = 0;
    int pngStatus = -1, pdfStatus = -1, badFolderStatus = 0;
    QSize graphSize;
};

void trigger(qmqt::QtFrontend& qt, int item) {
    if (QAction* action = qt.menuAction(appState.mainMenuBar, item)) action->trigger();
    QCoreApplication::processEvents();
}

void press(int button) {
    CallCtrlCallback(appState.mainPanel, button, EVENT_COMMIT, 0, 0, nullptr);
}

bool shoot(QWidget& panel, const char* file, Results& r) {
    ProcessDrawEvents();
    QCoreApplication::processEvents();
    const bool ok = panel.grab().save(QString::fromStdString(shotPath(file)));
    r.shots += ok;
    return ok;
}

Results takeShots(qmqt::QtFrontend& qt, QWidget& panel) {
    Results r;
    qm4120_setModelCodePxiKorvo(0x4A20);
    uint32_t vi = 0;
    if (qm4120_init("0x4A20", 0, 1, &vi) < 0) return r;
    appState.sessionHandle = vi;
    appState.instrumentBooted = 1;
    qm4120_setTriggerSource(vi, 32);  // software: each capture starts at once
    qm4120_setSampleDataType(vi, 0);
    qm4120_setNumberOfSamples(vi, 8192);
    qm4120_setFftLength(vi, 8192);
    qm4120_setWindowFunction(vi, 4);
    qm4120_setRfInputLevel(vi, -20.0);
    refreshPanelFromInstrument();
    QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR));

    // A repeat run of a tone hopping over five places; the picture is taken while the run goes on.
    qm4120_simSetSignal("tone_offset=-3e6, tone_level=-30, noise=-140, hop_step=1.5e6, hop_count=5");
    trigger(qt, MAINMENU_VIEW_WATERFALL);
    SetCtrlVal(appState.mainPanel, MAINPANEL_CAPTMODE, 1);
    press(MAINPANEL_CAPTMODE);
    QTimer::singleShot(1500, [&] {
        shoot(panel, "extras_waterfall_repeat_run.png", r);
        r.waterfallRows = static_cast<int>(waterfallRows().size());
        press(MAINPANEL_CMD_STOP);
    });
    press(MAINPANEL_CMD_SINGLE);
    trigger(qt, MAINMENU_VIEW_NUMERIC_DISP);
    shoot(panel, "extras_waterfall_beside_list.png", r);
    trigger(qt, MAINMENU_VIEW_NUMERIC_DISP);
    SetCtrlVal(appState.mainPanel, MAINPANEL_CAPTMODE, 0);
    press(MAINPANEL_CAPTMODE);
    trigger(qt, MAINMENU_VIEW_WATERFALL);

    // A weak tone in strong noise: averaged, then held at its maximum.
    qm4120_simSetSignal("tone_offset=1e6, tone_level=-70, noise=-120");
    trigger(qt, MAINMENU_FFTDISP_AVERAGE_A16);
    for (int k = 0; k < 16; ++k) press(MAINPANEL_CMD_SINGLE);
    r.averaged = averagedTraceCount();
    shoot(panel, "extras_average_16.png", r);
    trigger(qt, MAINMENU_FFTDISP_AVERAGE_OFF);
    trigger(qt, MAINMENU_FFTDISP_MAXHOLD);
    for (int k = 0; k < 16; ++k) press(MAINPANEL_CMD_SINGLE);
    shoot(panel, "extras_max_hold.png", r);

    // The graph as the operator sees it, and as a vector picture of a chosen size.
    const int graph = displayView.fftGraph;
    if (QWidget* w = qt.controlWidget(appState.mainPanel, graph)) r.graphSize = w->size();
    r.pngStatus =
        SaveGraphImage(appState.mainPanel, graph, shotPath("extras_export.png").c_str(), VAL_GRAPH_PNG, 0, 0);
    r.pdfStatus = SaveGraphImage(appState.mainPanel, graph, shotPath("extras_export.pdf").c_str(),
                                 VAL_GRAPH_PDF, 800, 600);
    r.badFolderStatus =
        SaveGraphImage(appState.mainPanel, graph, "/nonexistent-folder/x.png", VAL_GRAPH_PNG, 0, 0);
    trigger(qt, MAINMENU_FFTDISP_MAXHOLD);

    appState.instrumentBooted = 0;
    appState.sessionHandle = 0;
    qm4120_close(vi);
    return r;
}

}  // namespace

TEST(ExtrasOnQt, WaterfallAveragingMaxHoldAndExportArePictured) {
    for (const char* f :
         {"extras_waterfall_repeat_run.png", "extras_waterfall_beside_list.png", "extras_average_16.png",
          "extras_max_hold.png", "extras_export.png", "extras_export.pdf"})
        std::filesystem::remove(shotPath(f));
    Results r;
    const int status =
        runWithMainPanel([&](qmqt::QtFrontend& qt, QWidget& panel) { r = takeShots(qt, panel); });

    EXPECT_EQ(status, 0);
    EXPECT_EQ(r.shots, 4);
    EXPECT_GT(r.waterfallRows, 5) << "the repeat run went on while the picture was taken";
    EXPECT_EQ(r.averaged, 16);
    EXPECT_EQ(r.pngStatus, 0);
    EXPECT_EQ(r.pdfStatus, 0);
    EXPECT_EQ(r.badFolderStatus, UIE_FILE_WRITE);
    EXPECT_EQ(QImage(QString::fromStdString(shotPath("extras_export.png"))).size(), r.graphSize);
    QFile pdf(QString::fromStdString(shotPath("extras_export.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
}
