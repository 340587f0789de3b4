// Shared set-up of the run-time tests: a clean run-time with the headless front end, a recorder for the
// events callbacks receive, and loading of small resource texts written in the tests.
#ifndef QM_TESTS_UI_FIXTURE_H
#define QM_TESTS_UI_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless.h"
#include "model.h"
#include "operator.h"
#include "userint.h"

namespace uitest {

struct Event {
    int panel;
    int control;  // 0 for panel events
    int event;
    int data1;
    int data2;
    bool operator==(const Event&) const = default;
};

inline std::vector<Event>& events() {
    static std::vector<Event> e;
    return e;
}

inline int recordCtrl(int panel, int control, int event, void*, int d1, int d2) {
    events().push_back({panel, control, event, d1, d2});
    return 0;
}

inline int recordPanel(int panel, int event, void*, int d1, int d2) {
    events().push_back({panel, 0, event, d1, d2});
    return 0;
}

struct MenuChoice {
    int menuBar;
    int item;
    int panel;
};

inline std::vector<MenuChoice>& menuChoices() {
    static std::vector<MenuChoice> m;
    return m;
}

inline void recordMenu(int menuBar, int item, void*, int panel) {
    menuChoices().push_back({menuBar, item, panel});
}

// One-line reads for assertions; a refused read is a failure of its own.
template <class T>
T valueOf(int panel, int control) {
    T v{};
    EXPECT_EQ(GetCtrlVal(panel, control, &v), 0) << "reading control " << control;
    return v;
}

template <class T>
T attrOf(int panel, int control, int attribute) {
    T v{};
    EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &v), 0) << "reading attribute " << attribute;
    return v;
}

inline int indexOf(int panel, int control) {
    int i = -99;
    EXPECT_EQ(GetCtrlIndex(panel, control, &i), 0) << "reading the index of control " << control;
    return i;
}

inline int itemCount(int panel, int control) {
    int n = -99;
    EXPECT_EQ(GetNumListItems(panel, control, &n), 0) << "counting the items of control " << control;
    return n;
}

class UiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::resetRuntime();
        events().clear();
        menuChoices().clear();
        RegisterCtrlCallback("onCtrl", recordCtrl);
        RegisterPanelCallback("onPanel", recordPanel);
        RegisterMenuCallback("onMenu", recordMenu);
    }
    void TearDown() override { ui::resetRuntime(); }

    // Installs `json` as resource file `file` and loads its panel number `index` (from 1).
    int load(const std::string& json, int index = 1, const std::string& file = "test.uir") {
        ui::setResourceOverride(file, &json);
        return LoadPanel(0, file.c_str(), index);
    }

    // A one-panel resource with the given controls (a JSON array body).
    static std::string panelWith(const std::string& controls, const std::string& extra = "") {
        return R"({"file":"test.uir","panels":[{"name":"P","title":"Test","callback":"onPanel")" + extra +
               R"(,"controls":[)" + controls + "]}]}";
    }

    // Loads a panel with the given controls and displays it; controls are numbered from 2.
    int shown(const std::string& controls, const std::string& extra = "") {
        const int p = load(panelWith(controls, extra));
        EXPECT_GT(p, 0) << GetUILErrorString(p);
        DisplayPanel(p);
        return p;
    }

    ui::HeadlessFrontend fe;
    ui::test::Operator op;
};

}  // namespace uitest

#endif
