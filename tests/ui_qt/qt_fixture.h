// Fixture of the Qt front-end tests: a fresh run-time with the Qt front end installed, a test resource
// file with one control of every kind, and callbacks that record what reaches them.
#ifndef QM_TESTS_UI_QT_QT_FIXTURE_H
#define QM_TESTS_UI_QT_QT_FIXTURE_H

#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/model.h"
#include "ui/qt/qt_frontend.h"

struct CtrlEvent {
    int panel, control, event, data1, data2;
};
struct PanelEvent {
    int panel, event;
    bool operator==(const PanelEvent&) const = default;
};
struct MenuEvent {
    int menuBar, item, panel;
    bool operator==(const MenuEvent&) const = default;
};

class QtFrontendTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Loads panel `name` of the test resource file and displays it.
    int loadTestPanel(const char* name);
    int ctrl(int panel, const std::string& constName) const;  // 0 when absent
    int menuId(int menuBar, const std::string& constName) const;
    const ui::Control& model(int panel, int control) const;
    template <class W>
    W* widget(int panel, int control) {
        return qobject_cast<W*>(fe_.controlWidget(panel, control));
    }
    // Events of one kind that reached the control callback, and the (panel, control) each went to.
    std::vector<CtrlEvent> eventsOf(int event) const;
    std::vector<std::pair<int, int>> targetsOf(int event) const;
    // Answers the next modal dialog with `answer` as soon as it is up.
    void answerNextModal(std::function<void(QWidget*)> answer);
    void settle();  // lets posted events, deferred deletions and repaints run

    qmqt::QtFrontend fe_;

  public:
    static std::vector<CtrlEvent> ctrlEvents;
    static std::vector<PanelEvent> panelEvents;
    static std::vector<MenuEvent> menuEvents;
    // Runs inside the control callback (after recording), e.g. to rewrite the value as the program does.
    static std::function<void(int panel, int control, int event)> onCtrlEvent;
};

#endif
