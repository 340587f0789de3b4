// Graphs (plots, text, deletion, axes, cursors), grids (cells, header format, sizes, selection, scrolling)
// and tab controls with pages added at run time.
#include <tuple>

#include "ui_fixture.h"

namespace {

using uitest::UiTest;

class Graphs : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = shown(R"({"name":"G","kind":"graph","xName":"Sample Number"},{"name":"N","kind":"numeric"})");
    }
    const ui::GraphData& graph() { return *ui::findControl(panel, 2)->graph; }
    std::tuple<int, double, double> yScaling() {
        int mode = -1;
        double min = 0, max = 0;
        EXPECT_EQ(GetAxisScalingMode(panel, 2, VAL_LEFT_YAXIS, &mode, &min, &max), 0);
        return {mode, min, max};
    }
    int panel = 0;
};

TEST_F(Graphs, PlotsAreHeldWholeAndDeletedByHandle) {
    std::vector<double> trace(32768);
    for (size_t i = 0; i < trace.size(); ++i) trace[i] = -100.0 + static_cast<double>(i % 50);
    const double* data = trace.data();
    const int fft = PlotY(panel, 2, std::move(trace), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, VAL_GREEN);
    ASSERT_GT(fft, 0);
    EXPECT_EQ(graph().plots.at(fft).y.data(), data) << "moved in, not copied";
    EXPECT_TRUE(graph().plots.at(fft).x.empty());

    const double x[] = {1, 2, 3}, y[] = {4, 5, 6};
    const int xy = PlotXY(panel, 2, x, y, 3, VAL_CONNECTED_POINTS, VAL_SOLID_CIRCLE, VAL_SOLID, VAL_GREEN);
    EXPECT_EQ(graph().plots.at(xy).x, (std::vector<double>{1, 2, 3}));
    const int text = PlotText(panel, 2, 1.0, -20.0, "Marker", VAL_WHITE, VAL_TRANSPARENT);
    EXPECT_TRUE(graph().plots.at(text).isText);
    EXPECT_EQ(graph().plots.at(text).text, "Marker");
    EXPECT_TRUE(fe.changesOf(panel, 2) & ui::ChPlots);

    EXPECT_EQ(PlotXY(panel, 2, std::vector<double>{1, 2}, std::vector<double>{1}, 0, 0, 0, VAL_RED),
              UIE_BAD_VALUE);
    EXPECT_EQ(PlotY(panel, 2, y, -1, 0, 0, 0, VAL_RED), UIE_BAD_VALUE);
    EXPECT_EQ(PlotY(panel, 2, y, 3, 99, 0, 0, VAL_RED), UIE_BAD_VALUE) << "unknown plot style";
    EXPECT_EQ(PlotY(panel, 3, y, 3, 0, 0, 0, VAL_RED), UIE_BAD_CONTROL_TYPE);

    EXPECT_EQ(DeleteGraphPlot(panel, 2, xy, VAL_IMMEDIATE_DRAW), 0);
    EXPECT_EQ(DeleteGraphPlot(panel, 2, xy, VAL_IMMEDIATE_DRAW), UIE_BAD_PLOT);
    EXPECT_EQ(graph().plots.size(), 2u);
    EXPECT_EQ(DeleteGraphPlot(panel, 2, -1, VAL_DELAYED_DRAW), 0);
    EXPECT_TRUE(graph().plots.empty());
    EXPECT_GT(PlotY(panel, 2, y, 3, 0, 0, 0, VAL_RED), text) << "handles are not reused";
}

TEST_F(Graphs, AxesAndCursors) {
    EXPECT_EQ(graph().xAxis.name, "Sample Number");
    EXPECT_EQ(SetAxisScalingMode(panel, 2, VAL_LEFT_YAXIS, VAL_MANUAL, -100.0, 0.0), 0);
    EXPECT_EQ(yScaling(), std::make_tuple(VAL_MANUAL, -100.0, 0.0));
    EXPECT_EQ(SetAxisScalingMode(panel, 2, VAL_LEFT_YAXIS, VAL_MANUAL, 5.0, 5.0), UIE_BAD_VALUE);
    EXPECT_EQ(SetAxisScalingMode(panel, 2, 7, VAL_MANUAL, 0.0, 1.0), UIE_BAD_VALUE);
    EXPECT_EQ(SetAxisScalingMode(panel, 2, VAL_LEFT_YAXIS, VAL_AUTOSCALE, 0.0, 0.0), 0);
    EXPECT_EQ(yScaling(), std::make_tuple(VAL_AUTOSCALE, -100.0, 0.0))
        << "autoscaling keeps the manual range";

    EXPECT_EQ(SetGraphCursor(panel, 2, 1, 1.0, 2.0), UIE_BAD_INDEX) << "no cursors yet";
    SetCtrlAttribute(panel, 2, ATTR_NUM_CURSORS, 2);
    EXPECT_EQ(SetGraphCursor(panel, 2, 2, 1500.5, -40.0), 0);
    double x = 0, y = 0;
    GetGraphCursor(panel, 2, 2, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(1500.5, -40.0));
    EXPECT_EQ(SetCursorAttribute(panel, 2, 2, ATTR_CURSOR_COLOR, VAL_YELLOW), 0);
    EXPECT_EQ(SetCursorAttribute(panel, 2, 2, ATTR_CROSS_HAIR_STYLE, 9), UIE_BAD_VALUE);
    EXPECT_EQ(SetCursorAttribute(panel, 2, 2, ATTR_DIMMED, 1), UIE_BAD_ATTRIBUTE);
    int colour = 0;
    GetCursorAttribute(panel, 2, 2, ATTR_CURSOR_COLOR, &colour);
    EXPECT_EQ(colour, VAL_YELLOW);
    EXPECT_EQ(GetGraphCursor(panel, 2, 3, &x, &y), UIE_BAD_INDEX);
}

class Grids : public UiTest {};

TEST_F(Grids, CellsHeaderAndSize) {
    const int p = shown(R"({"name":"GRID","kind":"grid","rows":129,"cols":8,"colWidths":[40,87,87]})");
    int rows = 0, cols = 0, width = 0;
    GridGetSize(p, 2, &rows, &cols);
    GridGetColWidth(p, 2, 1, &width);
    EXPECT_EQ(std::make_tuple(rows, cols, width), std::make_tuple(129, 8, 87));

    EXPECT_EQ(GridSetFormatString(p, 2, "^Chan|^Freq (Hz)|<LO Position|>Atten Config"), 0);
    EXPECT_EQ(op.cell(p, 2, 0, 1), "Freq (Hz)");
    EXPECT_EQ(op.cell(p, 2, 0, 2), "LO Position");
    const ui::GridData& g = *ui::findControl(p, 2)->grid;
    EXPECT_EQ(std::string(g.colAlign.begin(), g.colAlign.begin() + 4), "^^<>");
    GridSetFormatString(p, 2, "A|B|C|D|E|F|G|H|I");
    GridGetSize(p, 2, &rows, &cols);
    EXPECT_EQ(cols, 9) << "a longer header widens the grid";

    EXPECT_EQ(GridSetRowTexts(p, 2, 128, {"127", "2000000000", "Above"}), 0);
    EXPECT_EQ(op.cell(p, 2, 128, 1), "2000000000");
    EXPECT_EQ(GridSetCellText(p, 2, 129, 0, "x"), UIE_BAD_INDEX);
    EXPECT_EQ(GridSetRowTexts(p, 2, 1, std::vector<std::string>(10, "x")), UIE_BAD_INDEX);
    std::string text;
    EXPECT_EQ(GridGetCellText(p, 2, 0, 9, &text), UIE_BAD_INDEX);

    // Resizing keeps what fits.
    EXPECT_EQ(GridSetSize(p, 2, 200, 3), 0);
    EXPECT_EQ(op.cell(p, 2, 128, 2), "Above");
    EXPECT_EQ(op.cell(p, 2, 199, 2), "");
    EXPECT_EQ(GridSetSize(p, 2, 0, 3), UIE_BAD_VALUE);
    EXPECT_EQ(GridSetSize(p, 2, 100000, 100000), UIE_BAD_VALUE) << "absurd size";
}

TEST_F(Grids, SelectionScrollingAndTheSelectionEvents) {
    const int p = shown(R"({"name":"GRID","kind":"grid","rows":129,"cols":8,"callback":"onCtrl"})");
    static std::vector<std::pair<int, int>> selections;
    selections.clear();
    GridSetSelChangeCallback(
        p, 2,
        [](int, int, int row, int col, void*) {
            selections.push_back({row, col});
        },
        nullptr);

    EXPECT_EQ(GridSetSelection(p, 2, 128, 0), 0);
    EXPECT_TRUE(selections.empty()) << "the program's own selection raises no event";
    EXPECT_EQ(GridSetTopRow(p, 2, 124), 0);
    int top = 0;
    GridGetTopRow(p, 2, &top);
    EXPECT_EQ(top, 124);
    EXPECT_EQ(GridSetTopRow(p, 2, 0), UIE_BAD_INDEX) << "the header row is fixed";

    ASSERT_TRUE(op.selectCell(p, 2, 0, 3)) << "a click in the header row";
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_EQ(uitest::events(), (std::vector<uitest::Event>{{p, 2, EVENT_SELECTION_CHANGE, 0, 3}}));
    int row = 0, col = 0, width = 0;
    GridGetSelection(p, 2, &row, &col);
    EXPECT_EQ(std::make_pair(row, col), std::make_pair(0, 3));
    EXPECT_FALSE(op.selectCell(p, 2, 129, 0));

    GridAllowColumnResize(p, 2, 0);
    EXPECT_EQ(ui::userResizeColumn(p, 2, 1, 120), UIE_BAD_VALUE);
    GridAllowColumnResize(p, 2, 1);
    EXPECT_EQ(ui::userResizeColumn(p, 2, 1, 120), 0);
    GridGetColWidth(p, 2, 1, &width);
    EXPECT_EQ(width, 120);
}

TEST_F(Grids, TabPagesFromTheResourceAndAddedAtRunTime) {
    // A page the resource names is an empty panel of its own, like one added at run time.
    const int p = shown(R"({"name":"IDTAB","kind":"tab","callback":"onCtrl","pages":["Control board"]})");
    std::vector<int> pages(1);
    GetPanelHandleFromTabPage(p, 2, 0, &pages[0]);
    ASSERT_NE(ui::findPanel(pages[0]), nullptr);
    EXPECT_EQ(ui::findPanel(pages[0])->parent, p);
    EXPECT_EQ(ui::findPanel(pages[0])->title, "Control board");
    for (const char* label : {"IF board", "RF board"}) {
        const int page = LoadPanel(p, "test.uir", 1);
        const int index = InsertPanelAsTabPage(p, 2, -1, page);
        EXPECT_EQ(index, static_cast<int>(pages.size()));
        SetTabPageAttribute(p, 2, index, ATTR_LABEL_TEXT, label);
        pages.push_back(page);
    }
    int n = 0, active = -1, handle = 0;
    GetNumTabPages(p, 2, &n);
    GetPanelHandleFromTabPage(p, 2, 2, &handle);
    EXPECT_EQ(std::make_pair(n, handle), std::make_pair(3, pages[2]));
    EXPECT_EQ(ui::findControl(p, 2)->tab->pages[1].label, "IF board");
    EXPECT_EQ(InsertPanelAsTabPage(p, 2, -1, pages[0]), UIE_BAD_PANEL) << "a page belongs to one tab";
    EXPECT_EQ(InsertPanelAsTabPage(p, 2, 9, LoadPanel(p, "test.uir", 1)), UIE_BAD_INDEX);
    EXPECT_TRUE(ui::panelTakesGestures(pages[1])) << "pages show with their tab control";

    EXPECT_EQ(SetActiveTabPage(p, 2, 2), 0);
    EXPECT_TRUE(uitest::events().empty());
    ASSERT_TRUE(op.selectTab(p, 2, 1));
    EXPECT_EQ(uitest::events(), (std::vector<uitest::Event>{{p, 2, EVENT_ACTIVE_TAB_CHANGE, 2, 1}}));
    GetActiveTabPage(p, 2, &active);
    EXPECT_EQ(active, 1);

    DiscardPanel(pages[0]);
    GetNumTabPages(p, 2, &n);
    EXPECT_EQ(n, 2) << "a discarded page leaves its tab control";
    GetActiveTabPage(p, 2, &active);
    GetPanelHandleFromTabPage(p, 2, active, &handle);
    EXPECT_EQ(handle, pages[1]) << "the same page stays active";
    DiscardPanel(p);
    EXPECT_EQ(ui::findPanel(pages[1]), nullptr) << "pages go with their panel";
}

}  // namespace
