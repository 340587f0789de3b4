// The spectrum extras on the Qt front end, offscreen: the waterfall during a repeat run of a hopping
// tone, an averaged and a max-hold trace over a noisy signal, and the FFT graph exported as PNG and PDF.
// The pictures go under the build folder for people to look at.
#include <gtest/gtest.h>

#include <QFile>

#include "extras.h"
#include "qm4120_pb_sim.h"
#include "qt_program.h"

namespace {

QString shotPath(const char* file) {
    return QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromLatin1(file);
}

void press(int button) {
    CallCtrlCallback(appState.mainPanel, button, EVENT_COMMIT, 0, 0, nullptr);
}

}  // namespace

TEST(ExtrasOnQt, WaterfallAveragingMaxHoldAndExportArePictured) {
    for (const char* f : {"extras_export.png", "extras_export.pdf"}) QFile::remove(shotPath(f));
    int rows = 0, averaged = 0;
    int pngStatus = -1, pdfStatus = -1, badFolderStatus = 0;
    QSize graphSize;
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
        const uint32_t vi = bootForShots(0x4A20);
        if (!vi) return false;
        const int main = appState.mainPanel;
        qm4120_setTriggerSource(vi, 32);  // software: each capture starts at once
        qm4120_setSampleDataType(vi, 0);
        qm4120_setNumberOfSamples(vi, 8192);
        qm4120_setFftLength(vi, 8192);
        qm4120_setWindowFunction(vi, 4);
        qm4120_setRfInputLevel(vi, -20.0);
        refreshPanelFromInstrument();

        // A repeat run of a tone hopping over five places; the picture is taken while the run goes on.
        qm4120_simSetSignal("tone_offset=-3e6, tone_level=-30, noise=-140, hop_step=1.5e6, hop_count=5");
        chooseMainMenu(qt, MAINMENU_VIEW_WATERFALL);
        SetCtrlVal(main, MAINPANEL_CAPTMODE, 1);
        press(MAINPANEL_CAPTMODE);
        QTimer::singleShot(1500, [&] {
            shootPanel(qt, main, "extras_waterfall_repeat_run");
            rows = static_cast<int>(waterfallRows().size());
            press(MAINPANEL_CMD_STOP);
        });
        press(MAINPANEL_CMD_SINGLE);
        chooseMainMenu(qt, MAINMENU_VIEW_NUMERIC_DISP);
        shootPanel(qt, main, "extras_waterfall_beside_list");
        chooseMainMenu(qt, MAINMENU_VIEW_NUMERIC_DISP);
        SetCtrlVal(main, MAINPANEL_CAPTMODE, 0);
        press(MAINPANEL_CAPTMODE);
        chooseMainMenu(qt, MAINMENU_VIEW_WATERFALL);

        // A weak tone in strong noise: averaged, then held at its maximum.
        qm4120_simSetSignal("tone_offset=1e6, tone_level=-70, noise=-120");
        chooseMainMenu(qt, MAINMENU_FFTDISP_AVERAGE_A16);
        for (int k = 0; k < 16; ++k) press(MAINPANEL_CMD_SINGLE);
        averaged = averagedTraceCount();
        shootPanel(qt, main, "extras_average_16");
        chooseMainMenu(qt, MAINMENU_FFTDISP_AVERAGE_OFF);
        chooseMainMenu(qt, MAINMENU_FFTDISP_MAXHOLD);
        for (int k = 0; k < 16; ++k) press(MAINPANEL_CMD_SINGLE);
        shootPanel(qt, main, "extras_max_hold");

        // The graph as the operator sees it, and as a vector picture of a chosen size.
        const int graph = displayView.fftGraph;
        if (QWidget* w = qt.controlWidget(main, graph)) graphSize = w->size();
        pngStatus = SaveGraphImage(main, graph, shotPath("extras_export.png").toUtf8().constData(),
                                   VAL_GRAPH_PNG, 0, 0);
        pdfStatus = SaveGraphImage(main, graph, shotPath("extras_export.pdf").toUtf8().constData(),
                                   VAL_GRAPH_PDF, 800, 600);
        badFolderStatus = SaveGraphImage(main, graph, "/nonexistent-folder/x.png", VAL_GRAPH_PNG, 0, 0);
        chooseMainMenu(qt, MAINMENU_FFTDISP_MAXHOLD);
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
    EXPECT_GT(rows, 5) << "the repeat run went on while the picture was taken";
    EXPECT_EQ(averaged, 16);
    EXPECT_EQ(pngStatus, 0);
    EXPECT_EQ(pdfStatus, 0);
    EXPECT_EQ(badFolderStatus, UIE_FILE_WRITE);
    EXPECT_EQ(QImage(shotPath("extras_export.png")).size(), graphSize);
    QFile pdf(shotPath("extras_export.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
}
