// The spectrum extras: power averaging and max hold of known traces, what starts them afresh, the
// waterfall's rows during captures of a hopping tone, graph export, and that none of it is on at start-up.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "display_fixture.h"
#include "extras.h"
#include "fft_trace_file.h"
#include "markers.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"

namespace {

class ExtrasTest : public DisplayFixture {
  protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        bar = state().mainMenuBar;
        ASSERT_EQ(qm4120_setTriggerSource(vi, 32 /* software */), 0);
    }
    // One single capture through Start, as the operator takes it.
    void capture() { ASSERT_TRUE(op.press(panel, MAINPANEL_CMD_SINGLE)); }
    void choose(int item) { ASSERT_TRUE(op.chooseMenu(bar, item)); }
    int bar = 0;
};

double mw(double dbm) {
    return std::pow(10.0, dbm / 10.0);
}
double dbm(double milliwatts) {
    return 10.0 * std::log10(milliwatts);
}

TEST_F(ExtrasTest, AveragingIsThePowerMeanAndMaxHoldKeepsTheHighestLevel) {
    const std::vector<std::vector<double>> traces = {{-10, -20, -30}, {-20, -20, -10}, {-30, -40, -10}};
    auto mean = [&](size_t upTo, size_t i) {
        double sum = 0;
        for (size_t t = 0; t < upTo; ++t) sum += mw(traces[t][i]);
        return dbm(sum / upTo);
    };
    const auto& t = traces;
    struct Case {
        const char* what;
        int average, maxHold;
        std::function<double(size_t)> expected;
    };
    const Case cases[] = {
        {"average of 4 (three seen)", 4, 0, [&](size_t i) { return mean(3, i); }},
        // Past N traces a new one enters with weight 1/N: a/4 + b/4 + c/2 in power.
        {"average of 2, then following", 2, 0,
         [&](size_t i) { return dbm(mw(t[0][i]) / 4 + mw(t[1][i]) / 4 + mw(t[2][i]) / 2); }},
        {"max hold", 0, 1,
         [&](size_t i) {
             return std::max({t[0][i], t[1][i], t[2][i]});
         }},
        {"max hold of the average", 4, 1,
         [&](size_t i) {
             return std::max({mean(1, i), mean(2, i), mean(3, i)});
         }},
    };
    for (const Case& c : cases) {
        setDisplayExtras({c.average, c.maxHold, 0, 100, 0, 0});
        clearTraceExtras();
        for (const auto& trace : traces) {
            fftTraceFreqMHz = {100.0, 100.1, 100.2};
            fftTracePoints = 3;
            fftTraceLevelDbm = trace;
            noteFreshCapture();
            EXPECT_TRUE(applyTraceExtras());
        }
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(fftTraceLevelDbm[i], c.expected(i), 1e-9) << c.what << ", point " << i;
        EXPECT_EQ(lastCapturedTraceDbm(), traces.back()) << c.what;
        // The marker reads the trace as shown.
        SetCtrlVal(panel, MAINPANEL_MARKER_ONOFF_CHECKBOX, 1);
        SetCtrlVal(panel, MAINPANEL_MARKER_FREQ, 100.1e6);
        updateMarker(MARKER_AT_FREQUENCY);
        double marker = 0;
        GetCtrlVal(panel, MAINPANEL_MARKER_PWR, &marker);
        EXPECT_NEAR(marker, c.expected(1), 1e-9) << c.what;
        EXPECT_FALSE(shownTraceDescription().empty()) << c.what;
        // Showing the same capture again adds nothing.
        const std::vector<double> shown = fftTraceLevelDbm;
        fftTraceLevelDbm = traces.back();
        EXPECT_FALSE(applyTraceExtras());
        EXPECT_EQ(fftTraceLevelDbm, shown) << c.what;
    }
}

TEST_F(ExtrasTest, ClearAndAChangeOfSpanOrFftLengthStartTheHeldTracesAfresh) {
    choose(MAINMENU_FFTDISP_AVERAGE_A16);
    choose(MAINMENU_VIEW_WATERFALL);
    struct Step {
        const char* what;
        std::function<void()> change;
        int heldAfterNextCapture;
        int rowsAfterNextCapture;  // the waterfall starts afresh only when its frequency axis changes
    };
    const Step steps[] = {
        {"three captures", [] {}, 3, 3},
        {"Clear", [&] { choose(MAINMENU_FFTDISP_CLEAR); }, 1, 1},
        {"full span", [&] { choose(MAINMENU_FFTDISP_SPAN_FULLSPAN); }, 1, 1},
        {"another capture", [] {}, 2, 2},
        {"a shorter FFT over the same span",
         [&] { ASSERT_TRUE(op.commit(panel, MAINPANEL_NUM_SAMPLES, 1024)); }, 1, 3},
        {"another RF frequency", [&] { ASSERT_TRUE(op.commit(panel, MAINPANEL_RF_FREQ, 1.9e9)); }, 1, 1},
    };
    capture();
    capture();
    for (const Step& s : steps) {
        s.change();
        capture();
        EXPECT_EQ(averagedTraceCount(), s.heldAfterNextCapture) << s.what;
        EXPECT_EQ(static_cast<int>(waterfallRows().size()), s.rowsAfterNextCapture) << s.what;
    }
    // The graph says what it shows.
    const auto& plots = plotsOf(displayView.fftGraph);
    EXPECT_TRUE(std::any_of(plots.begin(), plots.end(),
                            [](const auto& p) { return p.second.isText && p.second.text == "AVG 1/16"; }));
    // ... and so does the message of a saved trace.
    capture();
    const std::string file = programDir + "/trace.txt";
    std::snprintf(fftTraceFileName, sizeof fftTraceFileName, "%s", file.c_str());
    choose(MAINMENU_FFTDISP_SAVEFFT);
    ASSERT_FALSE(fe.popups().empty());
    EXPECT_EQ(fe.popups().back().text,
              "1024 point FFT trace data saved to \"" + file + "\" (power average of 2 traces)");
}

TEST_F(ExtrasTest, WaterfallRowsFollowTheHoppingToneNewestFirstUpToTheHistory) {
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=-2e6, tone_level=-20, hop_step=1e6, hop_count=5"), 0);
    choose(MAINMENU_VIEW_WATERFALL);
    choose(MAINMENU_VIEW_WFHIST_H50);
    const int captures = 53;
    for (int k = 0; k < captures; ++k) capture();

    const auto& rows = waterfallRows();
    ASSERT_EQ(rows.size(), 50u);
    const int columns = waterfallColumns();
    double rf = 0;
    ASSERT_EQ(qm4120_getRfFrequency(vi, &rf), 0);
    for (size_t r = 0; r < 10; ++r) {
        // Row r is capture captures-1-r; the tone was then at -2 MHz plus its place in the hop.
        const double toneMHz = (rf - 2e6 + ((captures - 1 - r) % 5) * 1e6) / 1e6;
        const int column =
            static_cast<int>((toneMHz - fftStartFreqMHz) / (fftStopFreqMHz - fftStartFreqMHz) * columns);
        const int peak = static_cast<int>(std::max_element(rows[r].begin(), rows[r].end()) - rows[r].begin());
        EXPECT_NEAR(peak, column, 1) << "row " << r;
    }
    // The picture: 50 rows on the spectrum's axis, coloured from top of screen down ten divisions.
    const auto& plots = plotsOf(displayView.waterfallGraph);
    ASSERT_EQ(plots.size(), 1u);
    const ui::Plot& map = plots.begin()->second;
    ASSERT_TRUE(map.isColorMap);
    EXPECT_EQ(map.colorMap.rows, 50);
    EXPECT_EQ(map.colorMap.columns, columns);
    EXPECT_EQ(std::vector<double>(map.y.begin(), map.y.begin() + columns), rows[0]);
    EXPECT_DOUBLE_EQ(map.colorMap.zMax, displayView.fftTopOfScreenDbm);
    EXPECT_DOUBLE_EQ(map.colorMap.zMin, displayView.fftTopOfScreenDbm - 10 * displayView.fftDbPerDivision);
}

TEST_F(ExtrasTest, SaveGraphImageWritesEachGraphOfTheViewOrSaysWhyNot) {
    choose(MAINMENU_VIEW_WATERFALL);
    choose(MAINMENU_VIEW_IMGSIZE_S800);
    capture();
    const std::string dir = programDir;
    fe.answerFile(dir + "/trace.PDF");
    choose(MAINMENU_FFTDISP_SAVEIMG);
    ASSERT_EQ(fe.graphExports().size(), 2u);
    const ui::GraphExportRecord& spectrum = fe.graphExports()[0];
    const ui::GraphExportRecord& waterfall = fe.graphExports()[1];
    EXPECT_EQ(spectrum.control, displayView.fftGraph);
    EXPECT_EQ(spectrum.path, dir + "/trace.PDF");
    EXPECT_EQ(waterfall.control, displayView.waterfallGraph);
    EXPECT_EQ(waterfall.path, dir + "/trace_waterfall.PDF");
    for (const auto& e : fe.graphExports()) {
        EXPECT_EQ(e.format, VAL_GRAPH_PDF);
        EXPECT_EQ(e.width, 800);
        EXPECT_EQ(e.height, 600);
    }
    EXPECT_TRUE(fe.popupsOf(ui::PopupKind::Message).empty());

    fe.answerFile(dir + "/no such folder/trace");
    choose(MAINMENU_FFTDISP_SAVEIMG);
    EXPECT_EQ(fe.graphExports().back().path, dir + "/no such folder/trace.png");
    EXPECT_EQ(fe.graphExports().back().format, VAL_GRAPH_PNG);
    ASSERT_EQ(fe.popupsOf(ui::PopupKind::Message).size(), 1u);
    EXPECT_EQ(fe.popupsOf(ui::PopupKind::Message)[0].title, "Save Graph Image");
}

TEST_F(ExtrasTest, NothingIsOnUntilTheOperatorTurnsItOn) {
    EXPECT_FALSE(displayExtrasInUse());
    EXPECT_TRUE(op.menuChecked(bar, MAINMENU_FFTDISP_AVERAGE_OFF));
    for (int item : {MAINMENU_FFTDISP_MAXHOLD, MAINMENU_VIEW_WATERFALL, MAINMENU_FFTDISP_AVERAGE_A4})
        EXPECT_FALSE(op.menuChecked(bar, item));
    EXPECT_EQ(displayView.waterfallGraph, 0);
    capture();
    capture();
    EXPECT_EQ(fftTraceLevelDbm, lastCapturedTraceDbm());
    EXPECT_EQ(shownTraceDescription(), "");
    EXPECT_TRUE(waterfallRows().empty());
    choose(MAINMENU_FFTDISP_MAXHOLD);
    EXPECT_TRUE(displayExtrasInUse());
}

}  // namespace
