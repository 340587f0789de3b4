// Control attributes: which kinds take which attributes, value checks, read-only attributes, tool tips,
// controls made and discarded at run time.
#include <algorithm>

#include "ui_fixture.h"

namespace {

using uitest::attrOf;
using uitest::UiTest;

class Attributes : public UiTest {};

constexpr const char* ALL_KINDS = R"({"name":"NUM","kind":"numeric"},
    {"name":"RING","kind":"ring"},{"name":"SW","kind":"binarySwitch"},{"name":"CB","kind":"checkBox"},
    {"name":"LED","kind":"led"},{"name":"MSG","kind":"textMsg"},{"name":"STR","kind":"string"},
    {"name":"TB","kind":"textBox"},{"name":"BTN","kind":"button"},{"name":"LB","kind":"listBox"},
    {"name":"GRID","kind":"grid"},{"name":"GRAPH","kind":"graph"},{"name":"TAB","kind":"tab"},
    {"name":"PIC","kind":"picture"},{"name":"FRAME","kind":"frame"})";
enum { NUM = 2, RING, SW, CB, LED, MSG, STR, TB, BTN, LB, GRID, GRAPH, TAB, PIC, FRAME, END };

TEST_F(Attributes, EachAttributeAppliesOnlyToTheKindsItMeansSomethingFor) {
    const int p = shown(ALL_KINDS);
    struct Case {
        int attribute;
        std::vector<int> kinds;  // the kinds that accept it; all others answer UIE_BAD_ATTRIBUTE
    };
    const std::vector<Case> cases = {
        {ATTR_MIN_VALUE, {NUM}},
        {ATTR_PRECISION, {NUM}},
        {ATTR_FORMAT, {NUM}},
        {ATTR_ON_COLOR, {SW, CB, LED}},
        {ATTR_COLUMN_STOP, {LB}},
        {ATTR_NUM_CURSORS, {GRAPH}},
        {ATTR_GRID_COLOR, {GRAPH}},
        {ATTR_NUM_ITEMS, {RING, LB}},
        {ATTR_STRING_TEXT_LENGTH, {MSG, STR, TB}},
        {ATTR_DATA_TYPE, {NUM, RING, SW, CB, LED, MSG, STR, TB, LB}},
    };
    for (const Case& c : cases) {
        for (int ctrl = NUM; ctrl < END; ++ctrl) {
            double v = 0;
            const bool accepted = std::find(c.kinds.begin(), c.kinds.end(), ctrl) != c.kinds.end();
            EXPECT_EQ(GetCtrlAttribute(p, ctrl, c.attribute, &v), accepted ? 0 : UIE_BAD_ATTRIBUTE)
                << "attribute " << c.attribute << " on " << ui::test::describe(p, ctrl);
        }
    }
    // Every kind has the common ones.
    for (int ctrl = NUM; ctrl < END; ++ctrl) {
        EXPECT_EQ(SetCtrlAttribute(p, ctrl, ATTR_DIMMED, 1), 0);
        EXPECT_EQ(SetCtrlAttribute(p, ctrl, ATTR_LABEL_TEXT, "x"), 0);
        EXPECT_EQ(attrOf<int>(p, ctrl, ATTR_CTRL_STYLE), ctrl - 1)
            << "CTRL_ styles follow the kinds in order";
    }
    EXPECT_EQ(GetCtrlAttribute(p, NUM, 12345, static_cast<int*>(nullptr)), UIE_BAD_VALUE);
    int v = 0;
    EXPECT_EQ(GetCtrlAttribute(p, NUM, 12345, &v), UIE_BAD_ATTRIBUTE);
}

TEST_F(Attributes, ValuesAreCheckedAndReadOnlyAttributesRefuseChanges) {
    const int p = shown(R"({"name":"N","kind":"numeric","dataType":"double","callback":"onCtrl"},
        {"name":"L","kind":"led"},{"name":"G","kind":"graph"})");
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_TEXT_BGCOLOR, 0xD9C0C0), 0);
    EXPECT_EQ(op.bgColor(p, 2), 0xD9C0C0);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_TEXT_BGCOLOR, -5), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_PRECISION, 40), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_CHECK_RANGE, 7), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_CTRL_MODE, VAL_INDICATOR), 0);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_WIDTH, -1), UIE_BAD_VALUE);

    // A text attribute refuses a number and the other way round.
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_LABEL_TEXT, 3), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_MAX_VALUE, "3"), UIE_BAD_VALUE);
    std::string s;
    EXPECT_EQ(GetCtrlAttribute(p, 2, ATTR_MAX_VALUE, &s), UIE_BAD_VALUE);

    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_DATA_TYPE, VAL_INTEGER), UIE_BAD_ATTRIBUTE);
    EXPECT_EQ(SetCtrlAttribute(p, 2, ATTR_CALLBACK_NAME, "other"), UIE_BAD_ATTRIBUTE);
    EXPECT_EQ(attrOf<std::string>(p, 2, ATTR_CALLBACK_NAME), "onCtrl");
    EXPECT_EQ(attrOf<std::string>(p, 2, ATTR_CONSTANT_NAME), "N");

    EXPECT_EQ(SetCtrlAttribute(p, 3, ATTR_OFF_COLOR, VAL_RED), 0);
    EXPECT_EQ(op.ledColor(p, 3), VAL_RED);

    EXPECT_EQ(SetCtrlAttribute(p, 4, ATTR_XNAME, "Frequency (MHz)"), 0);
    EXPECT_EQ(ui::findControl(p, 4)->graph->xAxis.name, "Frequency (MHz)");
    EXPECT_EQ(SetCtrlAttribute(p, 4, ATTR_XDIVISIONS, 0), UIE_BAD_VALUE);
    EXPECT_EQ(fe.changesOf(p, 4) & ui::ChAxes, ui::ChAxes) << "the front end hears of axis changes";
}

TEST_F(Attributes, ToolTipsAndPanelAttributes) {
    const int p = shown(R"({"name":"N","kind":"numeric","toolTip":"Sets the RF frequency, in Hz"})");
    std::string tip;
    int enabled = -1;
    EXPECT_EQ(GetCtrlToolTipAttribute(p, 2, CTRL_TOOLTIP_ATTR_TEXT, &tip), 0);
    EXPECT_EQ(tip, "Sets the RF frequency, in Hz");
    EXPECT_EQ(SetCtrlToolTipAttribute(p, 2, CTRL_TOOLTIP_ATTR_TEXT, "line 1\nline 2"), 0);
    EXPECT_EQ(SetCtrlToolTipAttribute(p, 2, CTRL_TOOLTIP_ATTR_ENABLE, 0), 0);
    GetCtrlToolTipAttribute(p, 2, CTRL_TOOLTIP_ATTR_TEXT, &tip);
    GetCtrlToolTipAttribute(p, 2, CTRL_TOOLTIP_ATTR_ENABLE, &enabled);
    EXPECT_EQ(tip, "line 1\nline 2");
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(SetCtrlToolTipAttribute(p, 2, CTRL_TOOLTIP_ATTR_ENABLE, "1"), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlToolTipAttribute(p, 2, ATTR_DIMMED, 1), UIE_BAD_ATTRIBUTE);

    EXPECT_EQ(SetPanelAttribute(p, ATTR_TITLE, "Tarvex 4120 PXI RF Digitizer"), 0);
    EXPECT_EQ(op.title(p), "Tarvex 4120 PXI RF Digitizer");
    EXPECT_EQ(SetPanelAttribute(p, ATTR_TITLE, 5), UIE_BAD_VALUE);
    EXPECT_EQ(SetPanelAttribute(p, ATTR_PANEL_PARENT, 5), UIE_BAD_ATTRIBUTE);
    EXPECT_EQ(SetPanelAttribute(p, ATTR_VISIBLE, 0), 0);
    EXPECT_FALSE(op.panelShown(p));

    EXPECT_EQ(SetSystemAttribute(ATTR_TASKBAR_BUTTON_TEXT, "qm4120 Soft Panel for PXI Korvo"), 0);
    EXPECT_EQ(fe.taskbarText(), "qm4120 Soft Panel for PXI Korvo");
    EXPECT_EQ(fe.taskbarHistory().size(), 1u);
    EXPECT_EQ(SetSystemAttribute(ATTR_TITLE, "x"), UIE_BAD_ATTRIBUTE);
}

TEST_F(Attributes, NewControlsGetFreshIdsAndDiscardedOnesAreGone) {
    const int p = shown(R"({"name":"A","kind":"numeric"},{"name":"B","kind":"numeric"})");
    const int g = NewCtrl(p, CTRL_GRAPH, "FFT Spectrum", 64, 8);
    const int l = NewCtrl(p, CTRL_LIST_BOX, "Capture Data", 64, 461);
    EXPECT_EQ(std::make_pair(g, l), std::make_pair(4, 5)) << "above the resource's ids";
    EXPECT_TRUE(fe.changesOf(p, g) & ui::ChCreated);
    EXPECT_EQ(NewCtrl(p, 999, "x", 0, 0), UIE_BAD_VALUE);

    EXPECT_EQ(SetActiveCtrl(p, g), 0);
    EXPECT_EQ(DiscardCtrl(p, g), 0);
    EXPECT_EQ(GetActiveCtrl(p), 0) << "the focus leaves a discarded control";
    EXPECT_TRUE(fe.changesOf(p, g) & ui::ChDiscarded);
    EXPECT_EQ(DiscardCtrl(p, g), UIE_BAD_CONTROL);
    EXPECT_EQ(NewCtrl(p, CTRL_GRAPH, "again", 0, 0), 6) << "ids are not reused";

    SetCtrlAttribute(p, 2, ATTR_DIMMED, 1);
    EXPECT_EQ(SetActiveCtrl(p, 2), UIE_BAD_VALUE) << "a dimmed control takes no focus";
    EXPECT_EQ(SetActiveCtrl(p, 3), 0);
    EXPECT_EQ(GetActiveCtrl(p), 3);
}

}  // namespace
