// The test operator: each action first checks that a person could reach the control, then performs the
// gesture through the run-time, so the callbacks see exactly the events a real click or entry sends.
#include "operator.h"

#include <cmath>

namespace ui::test {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

std::string describe(int panel, int control) {
    std::string s = "panel " + std::to_string(panel);
    if (const Panel* p = findPanel(panel)) s += " (" + p->constName + ")";
    if (control != 0) {
        s += " control " + std::to_string(control);
        if (const Control* c = findControl(panel, control)) s += " (" + c->constName + ")";
    }
    return s;
}

namespace {

AssertionResult statusResult(int status, const std::string& what) {
    if (status >= 0) return AssertionSuccess();
    return AssertionFailure() << what << " failed: " << GetUILErrorString(status) << " (" << status << ")";
}

// Why a panel does not take gestures, or "" when it does.
std::string panelObstacle(int panel) {
    if (panelTakesGestures(panel)) return "";
    for (const Panel* p = findPanel(panel); p; p = p->parent ? findPanel(p->parent) : nullptr) {
        if (!p->visible) return describe(p->handle) + " is not displayed";
        if (p->dimmed) return describe(p->handle) + " is dimmed";
    }
    if (topPopup() != 0) return "the modal dialog " + describe(topPopup()) + " is in front";
    return "it cannot take input";
}

}  // namespace

AssertionResult Operator::reachable(int panel, int control, bool entersValue) const {
    if (!findPanel(panel)) return AssertionFailure() << "no panel with handle " << panel;
    const Control* c = findControl(panel, control);
    if (!c) return AssertionFailure() << describe(panel) << " has no control " << control;
    if (std::string why = panelObstacle(panel); !why.empty())
        return AssertionFailure() << "cannot reach " << describe(panel, control) << ": " << why;
    if (!c->visible) return AssertionFailure() << describe(panel, control) << " is hidden";
    if (c->dimmed) return AssertionFailure() << describe(panel, control) << " is dimmed";
    if (entersValue && c->mode == VAL_INDICATOR)
        return AssertionFailure() << describe(panel, control) << " is an indicator (read-only)";
    return AssertionSuccess();
}

AssertionResult Operator::commit(int panel, int control, double value) {
    if (auto r = reachable(panel, control, true); !r) return r;
    const Control* c = findControl(panel, control);
    if (c->kind == Kind::Ring || c->kind == Kind::ListBox) {
        int index = -1;
        if (GetIndexFromValue(panel, control, &index, value) < 0)
            return AssertionFailure() << describe(panel, control) << " has no item with value " << value;
        return commitIndex(panel, control, index);
    }
    if (c->kind == Kind::BinarySwitch || c->kind == Kind::CheckBox || c->kind == Kind::Led) {
        if (value != c->onValue && value != c->offValue)
            return AssertionFailure() << describe(panel, control) << " is either " << c->onValue << " or "
                                      << c->offValue << ", not " << value;
    }
    return statusResult(userCommitNumber(panel, control, value), "committing " + describe(panel, control));
}

AssertionResult Operator::commitText(int panel, int control, const std::string& text) {
    if (auto r = reachable(panel, control, true); !r) return r;
    const Control* c = findControl(panel, control);
    if (c->kind == Kind::Ring || c->kind == Kind::ListBox) {
        int index = -1;
        if (GetIndexFromValue(panel, control, &index, text.c_str()) < 0)
            return AssertionFailure()
                   << describe(panel, control) << " has no item with value \"" << text << "\"";
        return commitIndex(panel, control, index);
    }
    return statusResult(userCommitText(panel, control, text), "typing into " + describe(panel, control));
}

AssertionResult Operator::commitIndex(int panel, int control, int index) {
    if (auto r = reachable(panel, control, true); !r) return r;
    const Control* c = findControl(panel, control);
    if (index < 0 || index >= c->itemCount())
        return AssertionFailure() << describe(panel, control) << " has " << c->itemCount()
                                  << " items, no index " << index;
    return statusResult(userCommitIndex(panel, control, index),
                        "picking an item of " + describe(panel, control));
}

AssertionResult Operator::commitLabel(int panel, int control, const std::string& label) {
    if (auto r = reachable(panel, control, true); !r) return r;
    const Control* c = findControl(panel, control);
    std::string labels;
    for (int i = 0; i < c->itemCount(); ++i) {
        const std::string l = c->itemLabel(i);
        if (l == label) return commitIndex(panel, control, i);
        if (i < 20) labels += (i ? ", \"" : "\"") + l + "\"";
    }
    return AssertionFailure() << describe(panel, control) << " has no item labelled \"" << label
                              << "\"; items: " << labels;
}

AssertionResult Operator::toggle(int panel, int control) {
    if (auto r = reachable(panel, control, true); !r) return r;
    const Control* c = findControl(panel, control);
    if (c->kind != Kind::BinarySwitch && c->kind != Kind::CheckBox && c->kind != Kind::Led)
        return AssertionFailure() << describe(panel, control) << " is not a switch or check box";
    return commit(panel, control, c->number == c->onValue ? c->offValue : c->onValue);
}

AssertionResult Operator::press(int panel, int control) {
    if (auto r = reachable(panel, control, true); !r) return r;
    if (findControl(panel, control)->kind != Kind::Button)
        return AssertionFailure() << describe(panel, control) << " is not a command button";
    return statusResult(userPressButton(panel, control), "pressing " + describe(panel, control));
}

AssertionResult Operator::doubleClick(int panel, int control) {
    if (auto r = reachable(panel, control, false); !r) return r;
    return statusResult(userDoubleClick(panel, control), "double-clicking " + describe(panel, control));
}

AssertionResult Operator::rightClick(int panel, int control) {
    if (auto r = reachable(panel, control, false); !r) return r;
    return statusResult(userRightClick(panel, control), "right-clicking " + describe(panel, control));
}

AssertionResult Operator::selectCell(int panel, int control, int row, int col) {
    if (auto r = reachable(panel, control, false); !r) return r;
    const Control* c = findControl(panel, control);
    if (!c->grid) return AssertionFailure() << describe(panel, control) << " is not a grid";
    if (row < 0 || row >= c->grid->rows || col < 0 || col >= c->grid->cols)
        return AssertionFailure() << describe(panel, control) << " is " << c->grid->rows << " x "
                                  << c->grid->cols << ", no cell (" << row << ", " << col << ")";
    return statusResult(userSelectCell(panel, control, row, col),
                        "selecting a cell of " + describe(panel, control));
}

AssertionResult Operator::selectTab(int panel, int control, int pageIndex) {
    if (auto r = reachable(panel, control, false); !r) return r;
    return statusResult(userSelectTab(panel, control, pageIndex),
                        "selecting a page of " + describe(panel, control));
}

AssertionResult Operator::closePanel(int panel) {
    const Panel* p = findPanel(panel);
    if (!p) return AssertionFailure() << "no panel with handle " << panel;
    if (!p->closeBox) return AssertionFailure() << describe(panel) << " has no close box";
    if (std::string why = panelObstacle(panel); !why.empty())
        return AssertionFailure() << "cannot close " << describe(panel) << ": " << why;
    return statusResult(userClosePanel(panel), "closing " + describe(panel));
}

AssertionResult Operator::chooseMenu(int menuBar, int item) {
    const MenuBar* bar = findMenuBar(menuBar);
    if (!bar) return AssertionFailure() << "no menu bar with handle " << menuBar;
    const MenuNode* node = findMenuNode(menuBar, item);
    if (!node) return AssertionFailure() << "menu bar " << bar->constName << " has no item " << item;
    const std::string name = bar->constName + "_" + node->constName + " \"" + node->label + "\"";
    if (node->isMenu || node->separator || node->submenuId > 0)
        return AssertionFailure() << name << " opens a menu; it cannot be chosen";
    if (std::string why = panelObstacle(bar->panel); !why.empty())
        return AssertionFailure() << "cannot use the menu bar of " << describe(bar->panel) << ": " << why;
    const int status = userChooseMenuItem(menuBar, item);
    if (status == UIE_BAD_VALUE) return AssertionFailure() << name << " (or a menu above it) is dimmed";
    return statusResult(status, "choosing " + name);
}

std::string Operator::shows(int panel, int control) const {
    const Control* c = findControl(panel, control);
    return c ? shownText(*c) : std::string();
}

std::string Operator::label(int panel, int control) const {
    const Control* c = findControl(panel, control);
    return c ? c->label : std::string();
}

std::string Operator::cell(int panel, int control, int row, int col) const {
    const Control* c = findControl(panel, control);
    if (!c || !c->grid || row < 0 || row >= c->grid->rows || col < 0 || col >= c->grid->cols) return {};
    return c->grid->cell(row, col);
}

std::string Operator::title(int panel) const {
    const Panel* p = findPanel(panel);
    return p ? p->title : std::string();
}

bool Operator::visible(int panel, int control) const {
    const Control* c = findControl(panel, control);
    if (!c || !c->visible) return false;
    for (const Panel* p = findPanel(panel); p; p = p->parent ? findPanel(p->parent) : nullptr)
        if (!p->visible) return false;
    return true;
}

bool Operator::dimmed(int panel, int control) const {
    const Control* c = findControl(panel, control);
    return c && c->dimmed;
}

int Operator::textColor(int panel, int control) const {
    const Control* c = findControl(panel, control);
    return c ? c->textColor : -1;
}

int Operator::bgColor(int panel, int control) const {
    const Control* c = findControl(panel, control);
    return c ? c->bgColor : -1;
}

int Operator::ledColor(int panel, int control) const {
    const Control* c = findControl(panel, control);
    if (!c) return -1;
    return c->number == c->onValue ? c->onColor : c->offColor;
}

bool Operator::panelShown(int panel) const {
    for (const Panel* p = findPanel(panel); p; p = p->parent ? findPanel(p->parent) : nullptr)
        if (!p->visible) return false;
    return findPanel(panel) != nullptr;
}

bool Operator::menuChecked(int menuBar, int item) const {
    const MenuNode* n = findMenuNode(menuBar, item);
    return n && n->checked;
}

bool Operator::menuDimmed(int menuBar, int item) const {
    const MenuNode* n = findMenuNode(menuBar, item);
    return n && n->dimmed;
}

bool Operator::menuExists(int menuBar, int item) const {
    return findMenuNode(menuBar, item) != nullptr;
}

}  // namespace ui::test
