// Typed control values: conversion into each data type, range coercion, rings by value, switches by their
// on/off values, text kinds.
#include <cmath>

#include "ui_fixture.h"

namespace {

using uitest::attrOf;
using uitest::indexOf;
using uitest::UiTest;
using uitest::valueOf;

class Values : public UiTest {};

TEST_F(Values, IntegerTypesRoundAndWrapLikeTheirCType) {
    const int p = shown(R"({"name":"I","kind":"numeric","dataType":"int","rangeCheck":"ignore"},
        {"name":"U","kind":"numeric","dataType":"unsigned","rangeCheck":"ignore"},
        {"name":"S","kind":"numeric","dataType":"short","rangeCheck":"ignore"},
        {"name":"US","kind":"numeric","dataType":"ushort","rangeCheck":"ignore"},
        {"name":"D","kind":"numeric","dataType":"double","rangeCheck":"ignore"})");
    const struct {
        int control;
        double set;
        double held;
    } cases[] = {
        {2, 2.5, 3},         {2, -2.5, -3},     // halves round away from zero
        {3, -1, 4294967295}, {4, 70000, 4464},  // 70000 - 65536
        {4, 32768, -32768},  {5, -1, 65535},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SetCtrlVal(p, c.control, c.set), 0);
        EXPECT_EQ(valueOf<double>(p, c.control), c.held)
            << ui::test::describe(p, c.control) << " set to " << c.set;
    }
    EXPECT_EQ(valueOf<short>(p, 4), -32768) << "read in its own type";
    EXPECT_EQ(SetCtrlVal(p, 5, 1e30), 0);  // absurd input lands somewhere in the type, no trap

    SetCtrlVal(p, 6, 0.125);
    EXPECT_EQ(valueOf<double>(p, 6), 0.125);
    EXPECT_EQ(valueOf<int>(p, 6), 0) << "read as another numeric type: converted";
    EXPECT_EQ(SetCtrlVal(p, 6, std::nan("")), UIE_BAD_VALUE);
}

TEST_F(Values, CoercionKeepsValuesInRangeOnlyWhenRangeCheckingIsOn) {
    const int p = shown(R"({"name":"C","kind":"numeric","dataType":"double","min":-53,"max":16,"value":100},
        {"name":"N","kind":"numeric","dataType":"int","min":0,"max":10,"rangeCheck":"ignore"})");
    EXPECT_EQ(valueOf<double>(p, 2), 16) << "the resource's initial value is coerced too";
    SetCtrlVal(p, 2, -100.0);
    EXPECT_EQ(valueOf<double>(p, 2), -53);

    SetCtrlVal(p, 3, 42);
    EXPECT_EQ(valueOf<int>(p, 3), 42);
    // Turning range checking on pulls the value in; so does narrowing the range.
    SetCtrlAttribute(p, 3, ATTR_CHECK_RANGE, VAL_COERCE_RANGE);
    EXPECT_EQ(valueOf<int>(p, 3), 10);
    SetCtrlAttribute(p, 3, ATTR_MAX_VALUE, 5);
    EXPECT_EQ(valueOf<int>(p, 3), 5);
    // A range given in doubles is held in the control's type.
    SetCtrlAttribute(p, 3, ATTR_MIN_VALUE, 1.6);
    EXPECT_EQ(attrOf<double>(p, 3, ATTR_MIN_VALUE), 2);
}

TEST_F(Values, RingValueSelectsTheMatchingItem) {
    const int p = shown(R"({"name":"R","kind":"ring","dataType":"ushort","value":3,
          "items":[{"label":"One","value":1},{"label":"Three","value":3},{"label":"Five","value":5}]},
        {"name":"T","kind":"ring","dataType":"string",
          "items":[{"label":"Alpha","value":"a"},{"label":"Beta","value":"b"}]})");
    EXPECT_EQ(indexOf(p, 2), 1) << "initial value 3 is the second item";
    EXPECT_EQ(op.shows(p, 2), "Three");
    EXPECT_EQ(SetCtrlVal(p, 2, 5), 0);
    EXPECT_EQ(indexOf(p, 2), 2);
    EXPECT_EQ(valueOf<unsigned short>(p, 2), 5);
    EXPECT_EQ(SetCtrlVal(p, 2, 4), UIE_BAD_VALUE) << "a value no item has";
    EXPECT_EQ(indexOf(p, 2), 2) << "a refused value leaves the ring as it was";

    EXPECT_EQ(SetCtrlVal(p, 3, "b"), 0);
    EXPECT_EQ(valueOf<std::string>(p, 3), "b");
    EXPECT_EQ(SetCtrlVal(p, 3, 1), UIE_BAD_VALUE) << "a number into a ring of texts";
    double d = 0;
    EXPECT_EQ(GetCtrlVal(p, 3, &d), UIE_BAD_VALUE);
}

TEST_F(Values, SwitchesCheckBoxesAndLedsHoldTheirOnOrOffValue) {
    const int p = shown(
        R"({"name":"SW","kind":"binarySwitch","onValue":7,"offValue":3,"onText":"Above","offText":"Below"},
        {"name":"CB","kind":"checkBox"},
        {"name":"LED","kind":"led","onColor":"0x00FF00","offColor":"0xFF0000","mode":"indicator"})");
    EXPECT_EQ(valueOf<int>(p, 2), 3) << "starts off";
    EXPECT_EQ(op.shows(p, 2), "Below");
    EXPECT_EQ(SetCtrlVal(p, 2, 7), 0);
    EXPECT_EQ(op.shows(p, 2), "Above");
    EXPECT_EQ(SetCtrlVal(p, 2, 1), UIE_BAD_VALUE) << "neither its on nor its off value";

    SetCtrlVal(p, 3, 5);  // any non-zero value sets a plain check box
    EXPECT_EQ(valueOf<int>(p, 3), 1);

    SetCtrlVal(p, 4, 1);
    EXPECT_EQ(op.ledColor(p, 4), 0x00FF00);
    SetCtrlVal(p, 4, 0);
    EXPECT_EQ(op.ledColor(p, 4), 0xFF0000);
}

TEST_F(Values, TextKindsAndTypeMismatches) {
    const int p = shown(R"({"name":"S","kind":"string","value":"abc"},
        {"name":"TB","kind":"textBox"},
        {"name":"MSG","kind":"textMsg","label":"Idle"},
        {"name":"B","kind":"button","label":"__OK"},
        {"name":"N","kind":"numeric","dataType":"int"})");
    char small[3];
    EXPECT_EQ(GetCtrlVal(p, 2, small), 0);
    EXPECT_STREQ(small, "ab") << "truncated and terminated";

    SetCtrlVal(p, 3, "line 1\n");
    SetCtrlVal(p, 3, "line 2\n");
    EXPECT_EQ(op.shows(p, 3), "line 1\nline 2\n") << "a text box collects";
    ResetTextBox(p, 3, "fresh");
    EXPECT_EQ(op.shows(p, 3), "fresh");
    EXPECT_EQ(ResetTextBox(p, 2, "x"), UIE_BAD_CONTROL_TYPE);

    EXPECT_EQ(op.shows(p, 4), "Idle") << "a text message shows its label until set";
    EXPECT_EQ(op.shows(p, 5), "OK");

    int i = 0;
    EXPECT_EQ(SetCtrlVal(p, 2, 1), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlVal(p, 6, "12"), UIE_BAD_VALUE);
    EXPECT_EQ(GetCtrlVal(p, 5, &i), UIE_BAD_CONTROL_TYPE);
    EXPECT_EQ(SetCtrlVal(p, 99, 1), UIE_BAD_CONTROL);
    EXPECT_EQ(SetCtrlVal(p + 100, 2, 1), UIE_BAD_PANEL);
    EXPECT_EQ(GetCtrlVal(p, 2, static_cast<int*>(nullptr)), UIE_BAD_VALUE);
}

TEST_F(Values, NumericDisplayFollowsPrecisionAndFormat) {
    const int p = shown(R"({"name":"D","kind":"numeric","dataType":"double","precision":2,"value":-53},
        {"name":"H","kind":"numeric","dataType":"unsigned","format":"hex","value":48879},
        {"name":"E","kind":"numeric","dataType":"double","format":"scientific","precision":3,"value":2e9})");
    EXPECT_EQ(op.shows(p, 2), "-53.00");
    SetCtrlAttribute(p, 2, ATTR_PRECISION, 6);
    EXPECT_EQ(op.shows(p, 2), "-53.000000");
    EXPECT_EQ(op.shows(p, 3), "0000BEEF");
    EXPECT_EQ(op.shows(p, 4), "2.000e+09");
}

}  // namespace
