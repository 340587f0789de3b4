// The views as the operator chooses them from the menus: which graphs appear where, which scaling
// controls and display menus go with them, the numeric list beside them, and the time-series zoom.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "display_fixture.h"

namespace {

using ViewsTest = DisplayFixture;

struct Place {
    std::string title;
    int top, width, height;
    bool operator==(const Place&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Place& p) {
    return os << "{" << p.title << ", top " << p.top << ", width " << p.width << ", height " << p.height
              << "}";
}

// What a view shows besides its graphs.
enum Shows : unsigned {
    FFT_CONTROLS = 1,
    ZOOM_CONTROLS = 2,
    FFT_MENU = 4,
    TS_MENU = 8,
    IQ_MODE_ITEMS = 16,
    POLAR_MENU = 32,
};

TEST_F(ViewsTest, EachViewPlacesItsGraphsControlsAndMenus) {
    struct Case {
        const char* what;
        int dataType;
        int item;
        bool overlaid;
        bool list;
        unsigned shows;
        std::vector<Place> graphs;
    };
    // One graph over the whole height, `width` wide.
    const auto whole = [](const std::string& title, int width) {
        return std::vector<Place>{{title, 64, width, 432}};
    };
    const std::vector<Place> apart = {{"Time Series (I)", 64, 452, 200}, {"Time Series (Q)", 296, 452, 200}};
    const std::string overlaid = "Time Series (I,Q Overlaid)\r[Yellow=I, Green=Q]";
    const Case cases[] = {
        {"FFT", 0, MAINMENU_VIEW_FFT, false, false, FFT_CONTROLS | FFT_MENU, whole("FFT Spectrum", 604)},
        {"FFT beside the list", 0, MAINMENU_VIEW_FFT, false, true, FFT_CONTROLS | FFT_MENU,
         whole("FFT Spectrum", 452)},
        {"IF time series", 0, MAINMENU_VIEW_TIME_SERIES, false, false, ZOOM_CONTROLS | TS_MENU,
         whole("Time Series (IF)", 604)},
        {"I and Q apart", 1, MAINMENU_VIEW_TIME_SERIES, false, true, ZOOM_CONTROLS | TS_MENU | IQ_MODE_ITEMS,
         apart},
        {"I and Q overlaid", 1, MAINMENU_VIEW_TIME_SERIES, true, false,
         ZOOM_CONTROLS | TS_MENU | IQ_MODE_ITEMS, whole(overlaid, 604)},
        {"polar", 1, MAINMENU_VIEW_IQ_POLAR, false, false, POLAR_MENU, whole("IQ Polar", 452)},
    };
    const int bar = state().mainMenuBar;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(qm4120_setSampleDataType(vi, c.dataType), 0);
        ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_VIEW_FFT));
        if (bool(displayView.numericViewOn) != c.list) {
            ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_VIEW_NUMERIC_DISP));
        }
        ASSERT_TRUE(op.chooseMenu(bar, c.item));
        if (c.dataType == 1 && c.item == MAINMENU_VIEW_TIME_SERIES) {
            ASSERT_TRUE(op.chooseMenu(bar, c.overlaid ? MAINMENU_TSDISP_IQ_OVER : MAINMENU_TSDISP_IQ_SEP));
        }

        std::vector<Place> graphs;
        const DisplayView& v = displayView;
        for (int g : {v.fftGraph, v.timeSeriesGraph, v.iGraph, v.qGraph, v.polarGraph}) {
            if (g <= 0) continue;
            const ui::Control& k = control(g);
            EXPECT_EQ(k.left, 8);
            EXPECT_EQ(k.graph->plotBgColor, VAL_BLACK);
            EXPECT_EQ(k.graph->gridColor, VAL_DK_YELLOW);
            graphs.push_back({k.label, k.top, k.width, k.height});
        }
        EXPECT_EQ(graphs, c.graphs);
        EXPECT_EQ(op.visible(panel, MAINPANEL_FFT_TOP_OF_SCREEN), bool(c.shows & FFT_CONTROLS));
        EXPECT_EQ(op.visible(panel, MAINPANEL_FFT_VERT_SCALE), bool(c.shows & FFT_CONTROLS));
        EXPECT_EQ(op.visible(panel, MAINPANEL_TIME_SER_ZOOM_START), bool(c.shows & ZOOM_CONTROLS));
        EXPECT_EQ(op.visible(panel, MAINPANEL_TIME_SER_ZOOM_STOP), bool(c.shows & ZOOM_CONTROLS));
        EXPECT_FALSE(op.visible(panel, MAINPANEL_TIME_SER_Y_AXIS_MIN)) << "autoscaled";
        EXPECT_FALSE(op.visible(panel, MAINPANEL_IQPOLAR_I_AXIS_RANGE)) << "autoscaled";
        EXPECT_EQ(control(MAINPANEL_FFT_TOP_OF_SCREEN).left, c.list ? 200 : 352);
        EXPECT_EQ(control(MAINPANEL_TIME_SER_ZOOM_STOP).left, c.list ? 380 : 532);
        EXPECT_EQ(!op.menuDimmed(bar, MAINMENU_FFTDISP), bool(c.shows & FFT_MENU));
        EXPECT_EQ(!op.menuDimmed(bar, MAINMENU_TSDISP), bool(c.shows & TS_MENU));
        EXPECT_EQ(!op.menuDimmed(bar, MAINMENU_TSDISP_IQ_OVER), bool(c.shows & IQ_MODE_ITEMS));
        EXPECT_EQ(!op.menuDimmed(bar, MAINMENU_IQPOLARDISP), bool(c.shows & POLAR_MENU));
        EXPECT_EQ(v.numericList > 0, c.list);
        if (c.list) {
            EXPECT_EQ(control(v.numericList).label,
                      c.dataType ? "Capture Data\n(I : Q)" : "Capture Data\n(IF)");
            EXPECT_EQ(control(v.numericList).left, 461);
        }
    }
}

TEST_F(ViewsTest, PolarNeedsIqDataAndManualScalesShowTheirControls) {
    const int bar = state().mainMenuBar;
    ASSERT_EQ(qm4120_setSampleDataType(vi, 0), 0);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_VIEW_IQ_POLAR));
    EXPECT_TRUE(displayView.fftViewOn) << "IF data: nothing changes";
    EXPECT_EQ(displayView.polarGraph, 0);

    ASSERT_EQ(qm4120_setSampleDataType(vi, 1), 0);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_VIEW_IQ_POLAR));
    ASSERT_GT(displayView.polarGraph, 0);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_IQPOLARDISP_AUTOSCALE));
    EXPECT_TRUE(op.visible(panel, MAINPANEL_IQPOLAR_I_AXIS_RANGE));
    ASSERT_TRUE(op.commit(panel, MAINPANEL_IQPOLAR_Q_AXIS_RANGE, 300));
    const ui::GraphData& g = *control(displayView.polarGraph).graph;
    EXPECT_EQ(g.yAxis.mode, VAL_MANUAL);
    EXPECT_EQ(g.yAxis.min, -300);
    EXPECT_EQ(g.xAxis.max, 50);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_IQPOLARDISP_GRAT));
    EXPECT_EQ(g.gridColor, VAL_BLACK);
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_IQPOLARDISP_GRAT));
}

TEST_F(ViewsTest, ZoomKeepsStartBelowStopAndStopInsideTheCapture) {
    const int bar = state().mainMenuBar;
    ASSERT_EQ(qm4120_setSampleDataType(vi, 0), 0);
    ASSERT_EQ(qm4120_setNumberOfSamples(vi, 4096), 0);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_VIEW_TIME_SERIES));
    struct Case {
        int control, value, start, stop;
    };
    const Case cases[] = {
        {MAINPANEL_TIME_SER_ZOOM_START, 100, 100, 2047},   {MAINPANEL_TIME_SER_ZOOM_START, 2047, 2046, 2047},
        {MAINPANEL_TIME_SER_ZOOM_STOP, 9000, 2046, 4095},  {MAINPANEL_TIME_SER_ZOOM_STOP, 2000, 2046, 2047},
        {MAINPANEL_TIME_SER_ZOOM_START, 5000, 2046, 2047},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(op.commit(panel, c.control, c.value));
        EXPECT_EQ(displayView.timeSeriesXAxisStart, c.start) << c.value;
        EXPECT_EQ(displayView.timeSeriesXAxisStop, c.stop) << c.value;
        EXPECT_EQ(op.shows(panel, MAINPANEL_TIME_SER_ZOOM_STOP), std::to_string(c.stop));
        const ui::Axis& x = control(displayView.timeSeriesGraph).graph->xAxis;
        EXPECT_EQ(x.min, c.start);
        EXPECT_EQ(x.max, c.stop);
    }
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_TSDISP_FULL_WIDTH));
    EXPECT_EQ(displayView.timeSeriesXAxisStart, 0);
    EXPECT_EQ(displayView.timeSeriesXAxisStop, 4095);
}

TEST_F(ViewsTest, TheNumericListOfALargeCaptureIsMadeOnDemand) {
    CapturedData& r = capturedData;
    r.sampleDataType = 0;
    r.numIfSamples = r.numWords = 16u << 20;
    r.ifData.assign(r.numIfSamples, 0);
    r.ifData[12345678] = -4321;
    r.fftLength = 2048;
    r.dataValid = 1;
    ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_VIEW_NUMERIC_DISP));
    const ui::Control& list = control(displayView.numericList);
    EXPECT_EQ(list.lazyCount, 16 << 20);
    EXPECT_TRUE(list.items.empty()) << "no item stored per sample";
    EXPECT_EQ(list.lazyLabel(12345678), "-4321");

    r.sampleDataType = 1;
    r.sampleOutputFormat = 1;
    r.numIqSamples = 3;
    r.iqData32 = {70000, -5, 1, 2, -80000, 9};
    ASSERT_EQ(qm4120_setSampleDataType(vi, 1), 0);
    ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_VIEW_NUMERIC_DISP));
    ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_VIEW_NUMERIC_DISP));
    const ui::Control& iq = control(displayView.numericList);
    EXPECT_EQ(iq.lazyCount, 3);
    EXPECT_EQ(iq.lazyLabel(2), "-80000 : 9");
}

TEST_F(ViewsTest, TheFftLengthNeverRunsPastTheSamples) {
    struct Case {
        uint32_t samples, requested, length;
    };
    for (const Case c :
         {Case{1280, 2048, 1024}, Case{2048, 1024, 1024}, Case{2048, 2048, 2048}, Case{96, 128, 64}}) {
        ASSERT_EQ(qm4120_setNumberOfSamples(vi, c.samples), 0);
        ASSERT_TRUE(op.commit(panel, MAINPANEL_RING_FFT_LEN, c.requested));
        uint32_t length = 0;
        ASSERT_EQ(qm4120_getFftLength(vi, &length), 0);
        EXPECT_EQ(length, c.length) << c.samples << " samples, " << c.requested << " asked for";
        EXPECT_EQ(op.shows(panel, MAINPANEL_FFT_LEN), std::to_string(c.length));
    }

    // The plain numeric, where it can be edited, steps by powers of two from its arrows' one up or down.
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_CTRL_MODE, VAL_NORMAL);
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_VISIBLE, 1);
    SetCtrlAttribute(panel, MAINPANEL_FFT_LEN, ATTR_MAX_VALUE, 32768);
    SetCtrlVal(panel, MAINPANEL_FFT_LEN, 2048u);
    for (const auto& [entered, shown] :
         {std::pair{2049, 4096}, std::pair{4095, 2048}, std::pair{2047, 1024}}) {
        ASSERT_TRUE(op.commit(panel, MAINPANEL_FFT_LEN, entered));
        EXPECT_EQ(op.shows(panel, MAINPANEL_FFT_LEN), std::to_string(shown)) << entered;
    }
}

TEST_F(ViewsTest, ViewsFollowTheSampleDataType) {
    const int bar = state().mainMenuBar;
    ASSERT_EQ(qm4120_setSampleDataType(vi, 1), 0);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_VIEW_IQ_POLAR));
    viewsFollowSampleDataType(0);
    EXPECT_TRUE(displayView.ifTimeSeriesViewOn) << "polar becomes the IF time series";
    EXPECT_EQ(displayView.polarGraph, 0);
    EXPECT_TRUE(op.menuDimmed(bar, MAINMENU_VIEW_IQ_POLAR));
    viewsFollowSampleDataType(1);
    EXPECT_TRUE(displayView.iqTimeSeriesViewOn);
    EXPECT_GT(displayView.iGraph, 0);
    EXPECT_FALSE(op.menuDimmed(bar, MAINMENU_VIEW_IQ_POLAR));
}

}  // namespace
