// The spectrum marker over a trace laid out by hand, and the engineering panel's graph-power reading
// with its log line.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "display_fixture.h"
#include "file_text.h"
#include "markers.h"
#include "qm4120_eng_uir.h"

namespace {

using MarkersTest = DisplayFixture;

void setTrace(std::vector<double> f, std::vector<double> level) {
    fftTracePoints = static_cast<uint32_t>(f.size());
    fftTraceFreqMHz = std::move(f);
    fftTraceLevelDbm = std::move(level);
}

TEST_F(MarkersTest, TheMarkerFindsMovesAndPeaksAsTheTraceRuns) {
    // 20 points, 1 MHz apart from 100 MHz (rising) or from 119 MHz (falling). Levels fall by 1 dB a
    // point from -50, with decoys inside the ignored ends and two equal maxima at 8 and 12.
    std::vector<double> up(20), down(20), level(20);
    for (int i = 0; i < 20; ++i) up[i] = 100 + i, down[i] = 119 - i, level[i] = -50 - i;
    level[2] = level[16] = 0.0;
    level[8] = level[12] = -10.0;
    level[10] = -150.0;  // below the graph's -100 dBm floor

    struct Case {
        const char* what;
        bool falling;  // IF data with the LO below: the trace counts as falling
        int mode;
        double markerMHz;
        int index;
    };
    const Case cases[] = {
        {"at a frequency between points", false, MARKER_AT_FREQUENCY, 105.5, 5},
        {"below the trace", false, MARKER_AT_FREQUENCY, 50, 0},
        {"falling: last point at or above", true, MARKER_AT_FREQUENCY, 105.5, 13},
        {"peak: first of equal maxima, ends ignored", false, MARKER_TO_PEAK, 0, 8},
        {"left at the first point stays", false, MARKER_LEFT, 50, 0},
        {"right", false, MARKER_RIGHT, 105.5, 6},
        {"left on a falling trace goes on", true, MARKER_LEFT, 105.5, 14},
        {"right on a falling trace goes back", true, MARKER_RIGHT, 105.5, 12},
        {"right at the last point stays", false, MARKER_RIGHT, 200, 19},
        {"below the floor", false, MARKER_AT_FREQUENCY, 110, 10},
    };
    SetCtrlVal(panel, MAINPANEL_MARKER_ONOFF_CHECKBOX, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setTrace(c.falling ? down : up, level);
        ASSERT_EQ(qm4120_setLoOffset(vi, c.falling ? -46.08e6 : 46.08e6), 0);
        SetCtrlVal(panel, MAINPANEL_DATA_TYPE, 0);
        SetCtrlVal(panel, MAINPANEL_MARKER_FREQ, c.markerMHz * 1e6);
        updateMarker(c.mode);

        const double f = fftTraceFreqMHz[c.index];
        EXPECT_DOUBLE_EQ(shownNumber(panel, MAINPANEL_MARKER_PWR), level[c.index]);
        EXPECT_DOUBLE_EQ(shownNumber(panel, MAINPANEL_MARKER_FREQ),
                         c.mode == MARKER_AT_FREQUENCY ? c.markerMHz * 1e6 : f * 1e6);
        const ui::GraphData& g = *control(displayView.fftGraph).graph;
        ASSERT_EQ(g.cursors.size(), 1u);
        EXPECT_EQ(g.cursors[0].x, f);
        EXPECT_EQ(g.cursors[0].y, std::max(level[c.index], -100.0)) << "held inside the Y range";
        EXPECT_EQ(g.cursors[0].color, VAL_WHITE);
    }

    // Too short to search: the peak stays at point 5, held to the last point.
    setTrace({1, 2, 3, 4}, {-1, -2, -3, -4});
    updateMarker(MARKER_TO_PEAK);
    EXPECT_DOUBLE_EQ(shownNumber(panel, MAINPANEL_MARKER_PWR), -4);

    SetCtrlVal(panel, MAINPANEL_MARKER_ONOFF_CHECKBOX, 0);
    updateMarker(MARKER_AT_FREQUENCY);
    EXPECT_TRUE(control(displayView.fftGraph).graph->cursors.empty());
}

TEST_F(MarkersTest, NoTraceNoMarker) {
    SetCtrlVal(panel, MAINPANEL_MARKER_ONOFF_CHECKBOX, 1);
    SetCtrlVal(panel, MAINPANEL_MARKER_PWR, 7.0);
    updateMarker(MARKER_TO_PEAK);
    EXPECT_TRUE(control(displayView.fftGraph).graph->cursors.empty());
    EXPECT_DOUBLE_EQ(shownNumber(panel, MAINPANEL_MARKER_PWR), 7.0);
}

TEST_F(MarkersTest, GraphPowerReadsTheTraceAtTheRfOffsetAndLogsWhatTheCursorShows) {
    const int eng = state().engPanel;
    DisplayPanel(eng);
    const std::string log = programDir + "/power.txt";
    SetCtrlVal(panel, MAINPANEL_RF_FREQ, 2.0e9);

    ASSERT_TRUE(op.press(eng, ENGPANEL_GETGRAPHPWR));
    EXPECT_DOUBLE_EQ(shownNumber(eng, ENGPANEL_ENGGETGRAPHFREQ), 0.0) << "no trace yet: nothing read";

    EXPECT_EQ(op.shows(eng, ENGPANEL_GRAPHPWRFREQFILENAME), graphPowerFileName) << "the file in use";
    EXPECT_TRUE(op.dimmed(eng, ENGPANEL_GRAPHPWRFREQFILENAME));
    ASSERT_TRUE(op.toggle(eng, ENGPANEL_GRAPHPWRFREQTOFILE));
    EXPECT_FALSE(op.dimmed(eng, ENGPANEL_GRAPHPWRFREQFILENAME));
    ASSERT_TRUE(op.commitText(eng, ENGPANEL_GRAPHPWRFREQFILENAME, log));

    setTrace({1999.5, 2000.0, 2000.5}, {-40.0, -35.25, -30.0});
    ASSERT_TRUE(op.commit(eng, ENGPANEL_MARKER_FREQ, 250e3));  // 2000.25 MHz: the point at or below
    ASSERT_TRUE(op.press(eng, ENGPANEL_GETGRAPHPWR));
    EXPECT_DOUBLE_EQ(shownNumber(eng, ENGPANEL_ENGGETGRAPHFREQ), 2000.0);
    EXPECT_DOUBLE_EQ(shownNumber(eng, ENGPANEL_ENGGETGRAPHPWR), -35.25);
    EXPECT_EQ(control(displayView.fftGraph).graph->cursors.at(0).color, VAL_YELLOW);

    fftTraceLevelDbm[1] = -120.0;
    ASSERT_TRUE(op.press(eng, ENGPANEL_GETGRAPHPWR));
    EXPECT_DOUBLE_EQ(shownNumber(eng, ENGPANEL_ENGGETGRAPHPWR), -120.0);
    EXPECT_EQ(readText(log), "2000.000000,-35.250000\n2000.000000,-100.000000\n")
        << "the level as the cursor shows it";

    // A log that cannot be written is skipped quietly.
    ASSERT_TRUE(op.commitText(eng, ENGPANEL_GRAPHPWRFREQFILENAME, programDir + "/missing/power.txt"));
    ASSERT_TRUE(op.press(eng, ENGPANEL_GETGRAPHPWR));
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(MarkersTest, MarkerPowerIsTheModulesOwnMeasurementAtTheInput) {
    // A tone 1 MHz above the IF centre on the IF input; the module's transform folds IF frequencies about
    // its sample frequency, so the offset asked for is the tone's IF less that frequency.
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=1e6, tone_level=-25"), 0);
    ASSERT_EQ(qm4120_setInputSource(vi, 0), 0);
    ASSERT_EQ(qm4120_setIfInputLevel(vi, -10.0), 0);
    ASSERT_EQ(qm4120_setSampleDataType(vi, 1), 0);
    double ifHz = 0, sampleHz = 0;
    ASSERT_EQ(qm4120_getIfFrequency(vi, &ifHz), 0);
    ASSERT_EQ(qm4120_getSampleFrequency(vi, &sampleHz), 0);
    const int eng = state().engPanel;
    DisplayPanel(eng);
    ASSERT_TRUE(op.commit(eng, ENGPANEL_MARKER_FREQ, ifHz + 1e6 - sampleHz));
    ASSERT_TRUE(op.press(eng, ENGPANEL_GETMARKERPWR));
    EXPECT_NEAR(shownNumber(eng, ENGPANEL_ENGGETMARKERPWR), -25.0, 0.5);
    uint16_t type = 9;
    ASSERT_EQ(qm4120_getSampleDataType(vi, &type), 0);
    EXPECT_EQ(type, 0) << "the module measures on IF data, which stays set";
    EXPECT_TRUE(fe.popups().empty());
}

}  // namespace
