#include "qt_fixture.h"

#include <QApplication>
#include <QTimer>

std::vector<CtrlEvent> QtFrontendTest::ctrlEvents;
std::vector<PanelEvent> QtFrontendTest::panelEvents;
std::vector<MenuEvent> QtFrontendTest::menuEvents;
std::function<void(int, int, int)> QtFrontendTest::onCtrlEvent;

namespace {

// One control of every kind the panel resources use, laid out like a small instrument panel.
const std::string TEST_RESOURCE = R"JSON({
  "file": "qt_test.uir",
  "panels": [
    { "name": "PANEL", "title": "Front end test", "top": 40, "left": 40, "width": 660, "height": 560,
      "callback": "recordPanel", "menuBar": "BAR", "bgColor": "0xD4D0C8",
      "controls": [
        { "name": "FREQ", "kind": "numeric", "dataType": "double", "label": "RF Freq (Hz):", "top": 24,
          "left": 10, "width": 150, "height": 22, "value": 100, "min": 0, "max": 1000, "inc": 10,
          "precision": 2, "callback": "recordCtrl", "toolTip": "Sets the RF frequency, in Hz" },
        { "name": "REG", "kind": "numeric", "dataType": "unsigned", "label": "Register", "top": 24,
          "left": 180, "width": 100, "height": 22, "value": 255, "min": 0, "max": 65535, "format": "hex",
          "callback": "recordCtrl" },
        { "name": "UNITS", "kind": "ring", "dataType": "int", "label": "Units", "top": 24, "left": 300,
          "width": 90, "height": 22, "value": 1, "callback": "recordCtrl",
          "items": [ { "label": "dBm", "value": 1 }, { "label": "dBV", "value": 2 }, { "label": "V", "value": 5 } ] },
        { "name": "SOURCE", "kind": "binarySwitch", "dataType": "int", "label": "Input Source", "top": 24,
          "left": 410, "width": 110, "height": 24, "onText": "RF", "offText": "IF", "onValue": 1,
          "offValue": 0, "value": 0, "callback": "recordCtrl" },
        { "name": "AUTOFOCUS", "kind": "checkBox", "label": "Automatically set focus", "top": 60,
          "left": 10, "width": 200, "height": 20, "value": 0, "callback": "recordCtrl" },
        { "name": "LED", "kind": "led", "label": "Boot", "top": 62, "left": 230, "width": 16, "height": 16,
          "onColor": "0x00FF00", "offColor": "0xFF0000", "value": 0 },
        { "name": "STATUS", "kind": "textMsg", "label": "Idle", "top": 62, "left": 300, "width": 120, "height": 18 },
        { "name": "START", "kind": "button", "label": "__Start", "top": 58, "left": 440, "width": 80,
          "height": 24, "callback": "recordCtrl" },
        { "name": "FILE", "kind": "string", "label": "File name", "top": 104, "left": 10, "width": 200,
          "height": 22, "value": "capture.txt", "callback": "recordCtrl" },
        { "name": "INFO", "kind": "textBox", "label": "Info string", "top": 104, "left": 230, "width": 200,
          "height": 44, "value": "first", "callback": "recordCtrl" },
        { "name": "RES", "kind": "listBox", "dataType": "string", "label": "Select resource to boot:",
          "top": 174, "left": 10, "width": 200, "height": 110, "callback": "recordCtrl",
          "textColor": "0x0000FF", "bgColor": "0xFFFFFF",
          "items": [ { "label": "PXI KORVO\t4125", "value": "0x4125" }, { "label": "PXI KORVO\t4B20", "value": "0x4B20" },
                     { "label": "PXI KORVO\t4A20", "value": "0x4A20" }, { "label": "PXI KORVO\t4120", "value": "0x4120" } ] },
        { "name": "GRID", "kind": "grid", "rows": 129, "cols": 8, "top": 174, "left": 230, "width": 420,
          "height": 150, "colWidths": [40, 90, 60, 60, 60, 60, 60, 60] },
        { "name": "GRAPH", "kind": "graph", "label": "FFT Spectrum", "xName": "Frequency (MHz)",
          "yName": "Power (dBm)", "top": 334, "left": 10, "width": 420, "height": 216 },
        { "name": "TABS", "kind": "tab", "pages": ["Control board", "IF board"], "top": 334, "left": 440,
          "width": 210, "height": 130 },
        { "name": "BOX", "kind": "frame", "label": "Miscellaneous", "top": 470, "left": 440, "width": 210, "height": 80 },
        { "name": "LOGO", "kind": "picture", "label": "logo", "image": "", "top": 490, "left": 460, "width": 60, "height": 40 }
      ] },
    { "name": "CHILD", "title": "", "top": 60, "left": 60, "width": 160, "height": 40, "closeBox": false,
      "controls": [ { "name": "MSG", "kind": "textMsg", "value": "Booting....", "top": 10, "left": 10, "width": 100, "height": 18 } ] }
  ],
  "menuBars": [
    { "name": "BAR", "menus": [
      { "name": "FILE", "label": "__File", "items": [
        { "name": "SAVE", "label": "__Save Captured Data...", "callback": "recordMenu" },
        { "separator": true },
        { "name": "EXIT", "label": "E__xit", "callback": "recordMenu" } ] },
      { "name": "VIEW", "label": "__View", "items": [
        { "name": "FFT", "label": "View __FFT", "callback": "recordMenu", "checked": true },
        { "name": "SPAN", "label": "S__pan", "submenu": [
          { "name": "FULL", "label": "__Full", "callback": "recordMenu" },
          { "name": "TRUNC", "label": "__Truncated", "callback": "recordMenu", "dimmed": true } ] } ] } ] }
  ]
})JSON";

int CVICALLBACK recordCtrl(int panel, int control, int event, void*, int data1, int data2) {
    QtFrontendTest::ctrlEvents.push_back({panel, control, event, data1, data2});
    if (QtFrontendTest::onCtrlEvent) QtFrontendTest::onCtrlEvent(panel, control, event);
    return 0;
}

int CVICALLBACK recordPanel(int panel, int event, void*, int, int) {
    QtFrontendTest::panelEvents.push_back({panel, event});
    return 0;
}

void CVICALLBACK recordMenu(int menuBar, int item, void*, int panel) {
    QtFrontendTest::menuEvents.push_back({menuBar, item, panel});
}

const ui::MenuNode* findNode(const std::vector<ui::MenuNode>& nodes, const std::string& name) {
    for (const ui::MenuNode& n : nodes) {
        if (n.constName == name) return &n;
        if (const ui::MenuNode* found = findNode(n.children, name)) return found;
    }
    return nullptr;
}

}  // namespace

void QtFrontendTest::SetUp() {
    ui::resetRuntime();
    ui::setFrontend(&fe_);
    ctrlEvents.clear();
    panelEvents.clear();
    menuEvents.clear();
    onCtrlEvent = nullptr;
    RegisterCtrlCallback("recordCtrl", recordCtrl);
    RegisterPanelCallback("recordPanel", recordPanel);
    RegisterMenuCallback("recordMenu", recordMenu);
    ui::setResourceOverride("qt_test.uir", &TEST_RESOURCE);
}

void QtFrontendTest::TearDown() {
    onCtrlEvent = nullptr;
    ui::resetRuntime();
    settle();
    ui::setFrontend(nullptr);
}

void QtFrontendTest::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    fe_.processDrawEvents();
}

int QtFrontendTest::loadTestPanel(const char* name) {
    const int constant = std::string(name) == "PANEL" ? 1 : 2;
    const int handle = LoadPanel(0, "qt_test.uir", constant);
    EXPECT_GT(handle, 0) << GetUILErrorString(handle);
    if (handle > 0) DisplayPanel(handle);
    settle();
    return handle;
}

int QtFrontendTest::ctrl(int panel, const std::string& constName) const {
    const ui::Panel* p = ui::findPanel(panel);
    if (p)
        for (const auto& c : p->controls)
            if (c->constName == constName) return c->id;
    ADD_FAILURE() << "no control " << constName;
    return 0;
}

int QtFrontendTest::menuId(int menuBar, const std::string& constName) const {
    const ui::MenuBar* bar = ui::findMenuBar(menuBar);
    const ui::MenuNode* node = bar ? findNode(bar->menus, constName) : nullptr;
    if (!node) ADD_FAILURE() << "no menu entry " << constName;
    return node ? node->id : 0;
}

const ui::Control& QtFrontendTest::model(int panel, int control) const {
    static const ui::Control missing{};
    const ui::Control* c = ui::findControl(panel, control);
    if (!c) ADD_FAILURE() << "control " << control << " missing from the model";
    return c ? *c : missing;
}

std::vector<CtrlEvent> QtFrontendTest::eventsOf(int event) const {
    std::vector<CtrlEvent> out;
    for (const CtrlEvent& e : ctrlEvents)
        if (e.event == event) out.push_back(e);
    return out;
}

std::vector<std::pair<int, int>> QtFrontendTest::targetsOf(int event) const {
    std::vector<std::pair<int, int>> out;
    for (const CtrlEvent& e : eventsOf(event)) out.emplace_back(e.panel, e.control);
    return out;
}

void QtFrontendTest::answerNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}
