// Graphs: the instrument look (black plot area, grid colour, title, axis names), manual and automatic
// scaling with fixed divisions, traces replaced in one piece, polar plots, text plots and cursors.
#include <qcustomplot.h>

#include <QTest>
#include <cmath>

#include "qt_fixture.h"

namespace {

QColor pixelAt(QCustomPlot* plot, double x, double y) {
    const QImage image = plot->grab().toImage();
    return image.pixelColor(static_cast<int>(plot->xAxis->coordToPixel(x)),
                            static_cast<int>(plot->yAxis->coordToPixel(y)));
}

// A horizontal grid line falls on the pixel row of its value, give or take the rounding of the painter.
bool lineColourAt(QCustomPlot* plot, double x, double y, const QColor& colour) {
    const QImage image = plot->grab().toImage();
    const int px = static_cast<int>(plot->xAxis->coordToPixel(x));
    const int py = static_cast<int>(std::lround(plot->yAxis->coordToPixel(y)));
    for (int dy = -1; dy <= 1; ++dy)
        if (image.pixelColor(px, py + dy) == colour) return true;
    return false;
}

}  // namespace

// The test panel's graph, on screen.
class QtGraph : public QtFrontendTest {
  protected:
    void SetUp() override {
        QtFrontendTest::SetUp();
        panel = loadTestPanel("PANEL");
        graph = ctrl(panel, "GRAPH");
        plot = widget<QCustomPlot>(panel, graph);
        ASSERT_NE(plot, nullptr);
    }
    int panel = 0;
    int graph = 0;
    QCustomPlot* plot = nullptr;
};

TEST_F(QtGraph, GraphHasTheInstrumentLookAndFixedDivisionsWhenScaledManually) {
    auto* title = qobject_cast<QCPTextElement*>(plot->plotLayout()->element(0, 0));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "FFT Spectrum");
    EXPECT_EQ(plot->xAxis->label(), "Frequency (MHz)");
    EXPECT_EQ(plot->yAxis->label(), "Power (dBm)");

    // Ten divisions of 10 dB from the top of screen down.
    SetAxisScalingMode(panel, graph, VAL_LEFT_YAXIS, VAL_MANUAL, -100.0, 0.0);
    SetAxisScalingMode(panel, graph, VAL_XAXIS, VAL_MANUAL, 2395.0, 2405.0);
    SetCtrlAttribute(panel, graph, ATTR_XPRECISION, 2);
    settle();
    EXPECT_DOUBLE_EQ(plot->yAxis->range().lower, -100.0);
    EXPECT_DOUBLE_EQ(plot->yAxis->range().upper, 0.0);
    const QVector<double> ticks = plot->yAxis->tickVector();
    ASSERT_EQ(ticks.size(), 11);
    for (int i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], -100.0 + 10.0 * i, 1e-9);
    EXPECT_EQ(plot->xAxis->tickVectorLabels().first(), "2395.00");

    // Black between grid lines, dark yellow on them; with the graticule off the lines go black.
    EXPECT_EQ(pixelAt(plot, 2397.5, -45.0), QColor(0, 0, 0));
    EXPECT_TRUE(lineColourAt(plot, 2397.5, -50.0, QColor(0x80, 0x80, 0)));
    SetCtrlAttribute(panel, graph, ATTR_GRID_COLOR, VAL_BLACK);
    settle();
    EXPECT_FALSE(lineColourAt(plot, 2397.5, -50.0, QColor(0x80, 0x80, 0)));
}

TEST_F(QtGraph, TraceIsReplacedInOnePieceAndAutoscaleFollowsIt) {
    std::vector<double> y(32768);
    for (size_t i = 0; i < y.size(); ++i) y[i] = 5.0 + 10.0 * std::sin(static_cast<double>(i) / 100.0);
    const int first = PlotY(panel, graph, y.data(), static_cast<int>(y.size()), VAL_THIN_LINE, VAL_NO_POINT,
                            VAL_SOLID, VAL_GREEN);
    ASSERT_GT(first, 0);
    settle();
    ASSERT_EQ(plot->graphCount(), 1);
    EXPECT_EQ(plot->graph(0)->dataCount(), 32768);
    EXPECT_EQ(plot->graph(0)->pen().color(), QColor(0, 0xFF, 0));
    EXPECT_NEAR(plot->graph(0)->data()->at(32767)->value, y[32767], 1e-12);
    EXPECT_NEAR(plot->yAxis->range().lower, -5.0, 0.01);
    EXPECT_NEAR(plot->yAxis->range().upper, 15.0, 0.01);
    EXPECT_DOUBLE_EQ(plot->xAxis->range().upper, 32767.0);

    // The next capture: old trace deleted, new one plotted.
    DeleteGraphPlot(panel, graph, -1, VAL_DELAYED_DRAW);
    std::vector<double> x = {1.0, 2.0, 3.0};
    std::vector<double> y2 = {-80.0, -20.0, -60.0};
    PlotXY(panel, graph, x.data(), y2.data(), 3, VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, VAL_WHITE);
    settle();
    ASSERT_EQ(plot->graphCount(), 1);
    EXPECT_EQ(plot->graph(0)->dataCount(), 3);
    EXPECT_DOUBLE_EQ(plot->graph(0)->data()->at(1)->key, 2.0);
    EXPECT_NEAR(plot->yAxis->range().lower, -80.0, 1e-9);
    EXPECT_NEAR(plot->yAxis->range().upper, -20.0, 1e-9);
}

TEST_F(QtGraph, PolarPlotKeepsCaptureOrderAndTextPlotsAndCursorsShow) {
    // Q against I around a circle: I is not sorted, so points must join in sample order.
    std::vector<double> i(64), q(64);
    for (size_t k = 0; k < i.size(); ++k) {
        i[k] = 40.0 * std::cos(k * 2 * M_PI / 64);
        q[k] = 40.0 * std::sin(k * 2 * M_PI / 64);
    }
    PlotXY(panel, graph, i.data(), q.data(), 64, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, VAL_GREEN);
    PlotText(panel, graph, 0.0, 0.0, "No data", VAL_WHITE, VAL_TRANSPARENT);
    settle();
    EXPECT_EQ(plot->graphCount(), 0);
    ASSERT_EQ(plot->plottableCount(), 1);
    auto* curve = qobject_cast<QCPCurve*>(plot->plottable(0));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->dataCount(), 64);
    EXPECT_NEAR(curve->data()->at(16)->value, 40.0, 1e-9);
    int texts = 0;
    for (int k = 0; k < plot->itemCount(); ++k)
        if (auto* t = qobject_cast<QCPItemText*>(plot->item(k))) {
            ++texts;
            EXPECT_EQ(t->text(), "No data");
        }
    EXPECT_EQ(texts, 1);

    // A marker cursor as a long cross in its colour.
    SetCtrlAttribute(panel, graph, ATTR_NUM_CURSORS, 1);
    SetCursorAttribute(panel, graph, 1, ATTR_CURSOR_COLOR, VAL_YELLOW);
    SetGraphCursor(panel, graph, 1, 10.0, -20.0);
    settle();
    int lines = 0;
    for (int k = 0; k < plot->itemCount(); ++k)
        if (auto* line = qobject_cast<QCPItemStraightLine*>(plot->item(k)); line && line->visible()) {
            ++lines;
            EXPECT_EQ(line->pen().color(), QColor(0xFF, 0xFF, 0));
        }
    EXPECT_EQ(lines, 2);

    DeleteGraphPlot(panel, graph, -1, VAL_IMMEDIATE_DRAW);
    settle();
    EXPECT_EQ(plot->plottableCount(), 0);
    for (int k = 0; k < plot->itemCount(); ++k) EXPECT_EQ(qobject_cast<QCPItemText*>(plot->item(k)), nullptr);
}
