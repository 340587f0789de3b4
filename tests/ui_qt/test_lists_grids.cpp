// List boxes (two-column labels, double-click commit, lazy lists of a million entries) and the channel
// grid (selection, column resizing, scrolling; its headers and cells are checked with its picture).
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <array>

#include "qt_fixture.h"

TEST_F(QtFrontendTest, ListClickHighlightsAndDoubleClickCommitsThatEntry) {
    const int panel = loadTestPanel("PANEL");
    const int res = ctrl(panel, "RES");
    auto* view = widget<QListView>(panel, res);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model()->rowCount(), 4);
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), "PXI KORVO\t4125");

    const QRect second = view->visualRect(view->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(model(panel, res).index, 2);
    EXPECT_TRUE(eventsOf(EVENT_COMMIT).empty()) << "a single click only moves the highlight";
    EXPECT_EQ(eventsOf(EVENT_VAL_CHANGED).size(), 1u);

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(targetsOf(EVENT_COMMIT), (std::vector<std::pair<int, int>>{{panel, res}}));
    std::string value;
    GetValueFromIndex(panel, res, model(panel, res).index, &value);
    EXPECT_EQ(value, "0x4A20");

    // The program moves the highlight; Enter commits it like a double click.
    SetCtrlIndex(panel, res, 3);
    EXPECT_EQ(view->currentIndex().row(), 3);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(eventsOf(EVENT_COMMIT).size(), 2u);
    EXPECT_EQ(model(panel, res).index, 3);
}

TEST_F(QtFrontendTest, TwoColumnListDrawsTheRuleAtTheColumnStopInTheTextColour) {
    const int panel = loadTestPanel("PANEL");
    const int res = ctrl(panel, "RES");
    SetCtrlAttribute(panel, res, ATTR_COLUMN_STOP, 100);
    SetCtrlAttribute(panel, res, ATTR_COLUMN_RULE, 1);
    settle();
    auto* view = widget<QListView>(panel, res);
    ASSERT_NE(view, nullptr);
    const QImage image = view->viewport()->grab().toImage();
    const QRect row = view->visualRect(view->model()->index(1, 0));  // not the highlighted entry
    const int y = row.center().y();
    EXPECT_EQ(image.pixelColor(row.left() + 100, y), QColor(0, 0, 0xFF));
    // Either side of the rule, away from the text, the background is white.
    EXPECT_EQ(image.pixelColor(row.left() + 97, row.top() + 1), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(image.pixelColor(row.right() - 2, y), QColor(0xFF, 0xFF, 0xFF));
}

TEST_F(QtFrontendTest, MillionEntryNumericListIsReadOnDemand) {
    const int panel = loadTestPanel("PANEL");
    // Made at run time, as the numeric view makes its list beside the graph.
    const int res = NewCtrl(panel, CTRL_LIST_BOX, "Capture Data\n(IF)", 64, 461);
    ASSERT_GT(res, 0);
    SetCtrlAttribute(panel, res, ATTR_WIDTH, 150);
    SetCtrlAttribute(panel, res, ATTR_HEIGHT, 430);
    int asked = 0;
    ASSERT_EQ(SetListItemSource(panel, res, 1'000'000,
                                [&asked](int i) {
                                    ++asked;
                                    return std::to_string(i) + " : " + std::to_string(-i);
                                }),
              0);
    settle();
    auto* view = widget<QListView>(panel, res);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model()->rowCount(), 1'000'000);
    EXPECT_EQ(view->size(), QSize(150, 430)) << "the size set at run time";
    ASSERT_NE(fe_.controlLabel(panel, res), nullptr);
    EXPECT_EQ(fe_.controlLabel(panel, res)->text(), "Capture Data\n(IF)");
    // Only what is on screen was asked for, not a million labels.
    EXPECT_LT(asked, 1000);
    SetCtrlIndex(panel, res, 999'999);
    settle();
    EXPECT_EQ(view->currentIndex().row(), 999'999);
    EXPECT_EQ(view->currentIndex().data().toString(), "999999 : -999999");
    EXPECT_LT(asked, 2000);
}

TEST_F(QtFrontendTest, GridClicksReportCellsIncludingTheFixedRowAndColumn) {
    const int panel = loadTestPanel("PANEL");
    const int grid = ctrl(panel, "GRID");
    using Sel = std::array<int, 4>;  // panel, control, row, column
    static std::vector<Sel> selections;
    selections.clear();
    GridSetSelChangeCallback(
        panel, grid,
        [](int p, int c, int row, int col, void*) {
            selections.push_back({p, c, row, col});
        },
        nullptr);
    auto* table = widget<QTableView>(panel, grid);
    ASSERT_NE(table, nullptr);

    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(2, 3)).center());
    EXPECT_EQ(selections, (std::vector<Sel>{{panel, grid, 3, 4}}));
    int row = 0, col = 0;
    GridGetSelection(panel, grid, &row, &col);
    EXPECT_EQ(std::make_pair(row, col), std::make_pair(3, 4));
    // The whole row is highlighted.
    EXPECT_TRUE(table->selectionModel()->isRowSelected(2, {}));

    QHeaderView* top = table->horizontalHeader();
    QTest::mouseClick(top->viewport(), Qt::LeftButton, {},
                      QPoint(top->sectionViewportPosition(1) + 5, top->height() / 2));

    QHeaderView* side = table->verticalHeader();
    QTest::mouseClick(side->viewport(), Qt::LeftButton, {},
                      QPoint(side->width() / 2, side->sectionViewportPosition(0) + 3));
    EXPECT_EQ(selections, (std::vector<Sel>{{panel, grid, 3, 4}, {panel, grid, 0, 2}, {panel, grid, 1, 0}}))
        << "a header click reports row 0, a row-number click column 0";
}

TEST_F(QtFrontendTest, GridColumnResizeAndScrollingMeetTheModel) {
    const int panel = loadTestPanel("PANEL");
    const int grid = ctrl(panel, "GRID");
    auto* table = widget<QTableView>(panel, grid);
    ASSERT_NE(table, nullptr);

    // The operator drags the border of "LO Position" (grid column 2).
    table->horizontalHeader()->resizeSection(1, 130);
    int width = 0;
    GridGetColWidth(panel, grid, 2, &width);
    EXPECT_EQ(width, 130);

    GridSetColWidth(panel, grid, 3, 75);
    settle();
    EXPECT_EQ(table->columnWidth(2), 75);

    // Channel 63 selected from the program: row 64 current, scrolled so that row 60 is the first shown.
    GridSetSelection(panel, grid, 64, 1);
    GridSetTopRow(panel, grid, 60);
    settle();
    EXPECT_EQ(table->currentIndex().row(), 63);
    EXPECT_EQ(table->rowAt(0), 59);

    GridAllowColumnResize(panel, grid, 0);
    settle();
    EXPECT_EQ(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}
