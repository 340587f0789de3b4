// Operator gestures: the events each one sends and in which order, what a person cannot reach, and the
// operator driver's explanations.
#include "ui_fixture.h"

namespace {

using uitest::Event;
using uitest::events;
using uitest::UiTest;

class Gestures : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = shown(R"(
          {"name":"NUM","kind":"numeric","dataType":"int","min":0,"max":127,"callback":"onCtrl"},
          {"name":"RING","kind":"ring","callback":"onCtrl","items":[{"label":"Auto","value":0},{"label":"Manual","value":2}]},
          {"name":"LIST","kind":"listBox","callback":"onCtrl","items":[{"label":"0x4120","value":1},{"label":"0x4125","value":2}]},
          {"name":"BTN","kind":"button","label":"__Start","callback":"onCtrl"},
          {"name":"STEP","kind":"numeric","mode":"indicator","callback":"onCtrl"},
          {"name":"SW","kind":"binarySwitch","onText":"Above","offText":"Below","callback":"onCtrl"},
          {"name":"TXT","kind":"textBox","value":"old","callback":"onCtrl"})");
    }
    enum { NUM = 2, RING, LIST, BTN, STEP, SW, TXT };
    int panel = 0;
};

TEST_F(Gestures, CommitsSendValueChangedThenCommitWithTheNewValueInPlace) {
    static int seen = -1;
    InstallCtrlCallback(
        panel, NUM,
        [](int p, int c, int event, void*, int, int) {
            if (event == EVENT_COMMIT) GetCtrlVal(p, c, &seen);
            return uitest::recordCtrl(p, c, event, nullptr, 0, 0);
        },
        nullptr);
    ASSERT_TRUE(op.commit(panel, NUM, 200));
    EXPECT_EQ(seen, 127) << "the entry is coerced before the callback reads it";
    EXPECT_EQ(events(),
              (std::vector<Event>{{panel, NUM, EVENT_VAL_CHANGED, 0, 0}, {panel, NUM, EVENT_COMMIT, 0, 0}}));

    events().clear();
    ASSERT_TRUE(op.commitLabel(panel, RING, "Manual"));
    EXPECT_EQ(uitest::valueOf<int>(panel, RING), 2);
    ASSERT_TRUE(op.commit(panel, RING, 0)) << "a ring is committed by item value too";
    EXPECT_EQ(events().size(), 4u);
    EXPECT_FALSE(op.commit(panel, RING, 1));
    EXPECT_FALSE(op.commitLabel(panel, RING, "Auto IF"));

    ASSERT_TRUE(op.toggle(panel, SW));
    EXPECT_EQ(op.shows(panel, SW), "Above");
    ASSERT_TRUE(op.commitText(panel, TXT, "new"));
    EXPECT_EQ(op.shows(panel, TXT), "new") << "typing replaces a text box's contents";
}

TEST_F(Gestures, ButtonsClicksAndListBoxes) {
    ASSERT_TRUE(op.press(panel, BTN));
    EXPECT_EQ(events(),
              (std::vector<Event>{{panel, BTN, EVENT_LEFT_CLICK, 0, 0}, {panel, BTN, EVENT_COMMIT, 0, 0}}));
    EXPECT_FALSE(op.press(panel, NUM)) << "not a button";

    events().clear();
    ASSERT_TRUE(op.doubleClick(panel, STEP)) << "indicators still take clicks";
    ASSERT_TRUE(op.rightClick(panel, STEP));
    EXPECT_EQ(events(), (std::vector<Event>{{panel, STEP, EVENT_LEFT_DOUBLE_CLICK, 0, 0},
                                            {panel, STEP, EVENT_RIGHT_CLICK, 0, 0}}));

    events().clear();
    EXPECT_EQ(ui::userSelectIndex(panel, LIST, 1), 0);
    EXPECT_EQ(events(), (std::vector<Event>{{panel, LIST, EVENT_VAL_CHANGED, 0, 0}})) << "highlighting only";
    ASSERT_TRUE(op.doubleClick(panel, LIST));
    EXPECT_EQ(events().back(), (Event{panel, LIST, EVENT_COMMIT, 0, 0})) << "a double click commits the item";
    EXPECT_EQ(uitest::valueOf<int>(panel, LIST), 2);
}

TEST_F(Gestures, WhatAPersonCannotReachIsRefusedWithAReason) {
    SetCtrlAttribute(panel, NUM, ATTR_DIMMED, 1);
    auto r = op.commit(panel, NUM, 5);
    EXPECT_FALSE(r);
    EXPECT_NE(std::string(r.message()).find("NUM) is dimmed"), std::string::npos) << r.message();

    SetCtrlAttribute(panel, BTN, ATTR_VISIBLE, 0);
    EXPECT_FALSE(op.press(panel, BTN));
    EXPECT_EQ(ui::userPressButton(panel, BTN), UIE_BAD_VALUE) << "the run-time refuses it too";

    r = op.commit(panel, STEP, 1);
    EXPECT_NE(std::string(r.message()).find("indicator"), std::string::npos) << r.message();

    HidePanel(panel);
    r = op.commitLabel(panel, RING, "Manual");
    EXPECT_NE(std::string(r.message()).find("not displayed"), std::string::npos) << r.message();
    EXPECT_EQ(ui::userCommitIndex(panel, RING, 1), UIE_BAD_VALUE);

    EXPECT_TRUE(events().empty()) << "no callback saw any of it";
    EXPECT_FALSE(op.commit(panel, 99, 1));
    EXPECT_FALSE(op.commit(panel + 50, NUM, 1));
}

TEST_F(Gestures, CloseBoxAndCallbacksThatDiscardTheirControl) {
    ASSERT_TRUE(op.closePanel(panel));
    EXPECT_EQ(events(), (std::vector<Event>{{panel, 0, EVENT_CLOSE, 0, 0}}));
    EXPECT_TRUE(op.panelShown(panel)) << "closing only tells the program; it decides";
    SetPanelAttribute(panel, ATTR_CLOSE_ITEM_VISIBLE, 0);
    EXPECT_FALSE(op.closePanel(panel));

    // A callback may discard the very control (or panel) whose event it handles.
    InstallCtrlCallback(
        panel, NUM,
        [](int p, int, int event, void*, int, int) {
            if (event == EVENT_VAL_CHANGED) DiscardPanel(p);
            return 0;
        },
        nullptr);
    EXPECT_EQ(ui::userCommitNumber(panel, NUM, 3), 0);
    EXPECT_EQ(ui::findPanel(panel), nullptr);
}

}  // namespace
