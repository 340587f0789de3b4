// An operator at the panels, for tests: acts through the run-time's gesture entry points and reads what a
// person would see. Every action returns a testing::AssertionResult that says in words why a person could
// not have done it (panel hidden, behind a dialog, control dimmed, no such item, ...):
//
//   ui::test::Operator op;
//   ASSERT_TRUE(op.commit(mainPanel, MAINPANEL_RF_FREQ, 1.5e9));
//   ASSERT_TRUE(op.commitLabel(mainPanel, MAINPANEL_MODN_MODE, "GSM"));
//   ASSERT_TRUE(op.chooseMenu(menuBar, MAINMENU_FILE_EXIT));
//   EXPECT_EQ(op.shows(mainPanel, MAINPANEL_MEAS_STATUS), "Idle");
#ifndef QM_UI_HEADLESS_OPERATOR_H
#define QM_UI_HEADLESS_OPERATOR_H

#include <gtest/gtest.h>

#include <string>

#include "model.h"

namespace ui::test {

class Operator {
  public:
    // Enters a value and commits it: numerics, switches, check boxes; on rings and list boxes picks the
    // item with this value.
    ::testing::AssertionResult commit(int panel, int control, double value);
    // Types text into a string or text box; on a ring or list box of texts picks the item with this value.
    ::testing::AssertionResult commitText(int panel, int control, const std::string& text);
    // Picks an item of a ring or list box by position or by its label.
    ::testing::AssertionResult commitIndex(int panel, int control, int index);
    ::testing::AssertionResult commitLabel(int panel, int control, const std::string& label);
    // Flips a binary switch or check box.
    ::testing::AssertionResult toggle(int panel, int control);
    ::testing::AssertionResult press(int panel, int control);  // command button
    ::testing::AssertionResult doubleClick(int panel, int control);
    ::testing::AssertionResult rightClick(int panel, int control);
    ::testing::AssertionResult selectCell(int panel, int control, int row, int col);
    ::testing::AssertionResult selectTab(int panel, int control, int pageIndex);
    ::testing::AssertionResult closePanel(int panel);  // the window's close box
    ::testing::AssertionResult chooseMenu(int menuBar, int item);

    // What a person reads: the value as shown (see ui::shownText), "" for a missing control.
    std::string shows(int panel, int control) const;
    std::string label(int panel, int control) const;
    std::string cell(int panel, int control, int row, int col) const;
    std::string title(int panel) const;
    // Visible means the control and its panel are on screen.
    bool visible(int panel, int control) const;
    bool dimmed(int panel, int control) const;
    int textColor(int panel, int control) const;
    int bgColor(int panel, int control) const;
    // The colour an LED shows now (on or off colour).
    int ledColor(int panel, int control) const;
    bool panelShown(int panel) const;
    bool menuChecked(int menuBar, int item) const;
    bool menuDimmed(int menuBar, int item) const;
    bool menuExists(int menuBar, int item) const;

  private:
    ::testing::AssertionResult reachable(int panel, int control, bool entersValue) const;
};

// "panel 3 (MAINPANEL) control 7 (RF_FREQ)" for messages.
std::string describe(int panel, int control = 0);

}  // namespace ui::test

#endif
