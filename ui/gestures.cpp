// Operator gestures: what a person's click, entry or menu choice changes in the model, and the events it
// sends to the callbacks, in the order the run-time sends them.
#include "runtime.h"

namespace ui::detail {
namespace {

// A gesture reaches a control only when a person could reach it: its panel takes input (displayed, not
// behind a modal dialog), and the control is visible and not dimmed. Entering a value also needs a control
// that is not a read-only indicator.
int gestureTarget(int panel, int control, bool entersValue, Control** out) {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    if (int s = lookupControl(panel, control, out); s < 0) return s;
    const Control& c = **out;
    if (!panelTakesGestures(panel) || c.dimmed || !c.visible) return UIE_BAD_VALUE;
    if (entersValue && c.mode == VAL_INDICATOR) return UIE_BAD_VALUE;
    return 0;
}

// Sends the events of a committed value; the first callback may discard the control, so each event looks
// it up again.
int commitEvents(int panel, int control) {
    notifyControl(panel, control, ChValue);
    sendCtrlEvent(panel, control, EVENT_VAL_CHANGED);
    if (findControl(panel, control)) sendCtrlEvent(panel, control, EVENT_COMMIT);
    return 0;
}

// Finds menu entry `id`, telling whether it or any menu above it is dimmed.
const MenuNode* findReachable(const std::vector<MenuNode>& nodes, int id, bool parentDimmed, bool* dimmed) {
    for (const MenuNode& n : nodes) {
        if (n.id == id) {
            *dimmed = parentDimmed || n.dimmed;
            return &n;
        }
        if (const MenuNode* found = findReachable(n.children, id, parentDimmed || n.dimmed, dimmed))
            return found;
    }
    return nullptr;
}

}  // namespace
}  // namespace ui::detail

namespace ui {

using namespace detail;

int sendCtrlEvent(int panel, int control, int event, int eventData1, int eventData2) {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (!c->callback) return 0;
    return c->callback(panel, control, event, c->callbackData, eventData1, eventData2);
}

}  // namespace ui

int CallCtrlCallback(int panel, int control, int event, int eventData1, int eventData2,
                     int* callbackReturnValue) {
    if (!ui::isMainThread()) return UIE_NOT_MAIN_THREAD;
    ui::Control* c = nullptr;
    if (int s = ui::detail::lookupControl(panel, control, &c); s < 0) return s;
    const int result =
        c->callback ? c->callback(panel, control, event, c->callbackData, eventData1, eventData2) : 0;
    if (callbackReturnValue) *callbackReturnValue = result;
    return 0;
}

namespace ui {

int sendPanelEvent(int panel, int event, int eventData1, int eventData2) {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    if (!p->callback) return 0;
    return p->callback(panel, event, p->callbackData, eventData1, eventData2);
}

int userCommitNumber(int panel, int control, double value) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, true, &c); s < 0) return s;
    switch (c->kind) {
        case Kind::Numeric:
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led:
            break;
        default:
            return UIE_BAD_CONTROL_TYPE;
    }
    if (int s = setNumber(*c, value); s < 0) return s;
    return commitEvents(panel, control);
}

int userCommitText(int panel, int control, const std::string& text) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, true, &c); s < 0) return s;
    if (c->kind != Kind::String && c->kind != Kind::TextBox) return UIE_BAD_CONTROL_TYPE;
    setText(*c, text, false);
    return commitEvents(panel, control);
}

int userCommitIndex(int panel, int control, int index) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, true, &c); s < 0) return s;
    if (!isListKind(c->kind)) return UIE_BAD_CONTROL_TYPE;
    if (index < 0 || index >= c->itemCount()) return UIE_BAD_INDEX;
    c->index = index;
    return commitEvents(panel, control);
}

int userSelectIndex(int panel, int control, int index) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, true, &c); s < 0) return s;
    if (!isListKind(c->kind)) return UIE_BAD_CONTROL_TYPE;
    if (index < 0 || index >= c->itemCount()) return UIE_BAD_INDEX;
    c->index = index;
    notifyControl(panel, control, ChValue);
    sendCtrlEvent(panel, control, EVENT_VAL_CHANGED);
    return 0;
}

int userPressButton(int panel, int control) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, true, &c); s < 0) return s;
    if (c->kind != Kind::Button) return UIE_BAD_CONTROL_TYPE;
    sendCtrlEvent(panel, control, EVENT_LEFT_CLICK);
    if (findControl(panel, control)) sendCtrlEvent(panel, control, EVENT_COMMIT);
    return 0;
}

int userDoubleClick(int panel, int control) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, false, &c); s < 0) return s;
    // A list box commits its highlighted item on a double click.
    const bool commits = c->kind == Kind::ListBox && c->mode != VAL_INDICATOR && c->index >= 0;
    sendCtrlEvent(panel, control, EVENT_LEFT_DOUBLE_CLICK);
    if (commits && findControl(panel, control)) sendCtrlEvent(panel, control, EVENT_COMMIT);
    return 0;
}

int userRightClick(int panel, int control) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, false, &c); s < 0) return s;
    sendCtrlEvent(panel, control, EVENT_RIGHT_CLICK);
    return 0;
}

int userSelectCell(int panel, int control, int row, int col) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, false, &c); s < 0) return s;
    if (!c->grid) return UIE_BAD_CONTROL_TYPE;
    GridData& g = *c->grid;
    if (row < 0 || row >= g.rows || col < 0 || col >= g.cols) return UIE_BAD_INDEX;
    g.selRow = row;
    g.selCol = col;
    notifyControl(panel, control, ChCells);
    if (g.selChange) g.selChange(panel, control, row, col, g.selChangeData);
    if (findControl(panel, control)) sendCtrlEvent(panel, control, EVENT_SELECTION_CHANGE, row, col);
    return 0;
}

int userResizeColumn(int panel, int control, int col, int pixels) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, false, &c); s < 0) return s;
    if (!c->grid) return UIE_BAD_CONTROL_TYPE;
    GridData& g = *c->grid;
    if (!g.columnResize || pixels < 0) return UIE_BAD_VALUE;
    if (col < 0 || col >= g.cols) return UIE_BAD_INDEX;
    g.colWidths[static_cast<size_t>(col)] = pixels;
    notifyControl(panel, control, ChCells);
    return 0;
}

int userSelectTab(int panel, int control, int pageIndex) {
    Control* c = nullptr;
    if (int s = gestureTarget(panel, control, false, &c); s < 0) return s;
    if (!c->tab) return UIE_BAD_CONTROL_TYPE;
    TabData& t = *c->tab;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(t.pages.size())) return UIE_BAD_INDEX;
    const int old = t.active;
    if (old == pageIndex) return 0;
    t.active = pageIndex;
    notifyControl(panel, control, ChPages);
    sendCtrlEvent(panel, control, EVENT_ACTIVE_TAB_CHANGE, old, pageIndex);
    return 0;
}

int userClosePanel(int panel) {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    if (!p->closeBox || !panelTakesGestures(panel)) return UIE_BAD_VALUE;
    sendPanelEvent(panel, EVENT_CLOSE);
    return 0;
}

int userChooseMenuItem(int menuBar, int item) {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    MenuBar* bar = nullptr;
    if (int s = lookupMenuBar(menuBar, &bar); s < 0) return s;
    bool dimmed = false;
    const MenuNode* node = findReachable(bar->menus, item, false, &dimmed);
    if (!node) return UIE_BAD_MENU;
    if (node->isMenu || node->separator || node->submenuId > 0) return UIE_BAD_MENU;
    if (dimmed || !panelTakesGestures(bar->panel)) return UIE_BAD_VALUE;
    // Copy what the call needs: the callback may change or discard the menu bar.
    const MenuCallbackPtr callback = node->callback;
    void* data = node->callbackData;
    const int panel = bar->panel;
    if (callback) callback(menuBar, item, data, panel);
    return 0;
}

}  // namespace ui
