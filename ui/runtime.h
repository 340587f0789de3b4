// Internals shared by the run-time's source files: the model store, the hand-over of calls from other
// threads to the main thread, and small helpers for looking things up with a status.
#ifndef QM_UI_RUNTIME_H
#define QM_UI_RUNTIME_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model.h"
#include "userint.h"

namespace ui::detail {

// Everything the model holds. Touched on the main thread only.
struct State {
    std::map<int, std::unique_ptr<Panel>> panels;
    std::vector<int> loadOrder;
    int nextPanel = 1;
    std::map<int, std::unique_ptr<MenuBar>> menuBars;
    int nextMenuBar = 1;
    std::vector<int> popups;  // bottom to top
    int activePanel = 0;
    std::string taskbarText;
    int mouseCursor = VAL_DEFAULT_CURSOR;
    int quitCode = 0;
    std::map<std::string, CtrlCallbackPtr> ctrlCallbacks;
    std::map<std::string, PanelCallbackPtr> panelCallbacks;
    std::map<std::string, MenuCallbackPtr> menuCallbacks;
};

State& state();

// Runs `call` later on the main thread (arguments must be captured by value) and wakes the front end.
int postToMain(std::function<void()> call);
// Runs `call` on the main thread and waits for its status. The caller's locals may be captured by reference:
// the caller is blocked until the call ran or was dropped (UIE_NOT_MAIN_THREAD then).
int askMain(const std::function<int()>& call);
// Main thread: runs queued calls until `done` holds, sleeping while there is nothing to do. `done` is
// evaluated with the queue lock held; wakeWaitingMain() re-evaluates it.
void pumpUntil(const std::function<bool()>& done);
void wakeWaitingMain();

// The resource texts (override or embedded); empty when unknown. `stable` tells whether the text lives for
// the whole run (embedded), so that a parsed copy may be kept.
std::string_view resourceText(const std::string& fileName, bool* stable);
void clearResourceOverrides();

// Look-ups that report why they failed.
int lookupPanel(int panel, Panel** out);
int lookupControl(int panel, int control, Control** out);
int lookupMenuBar(int menuBar, MenuBar** out);

// Front-end notifications (nothing happens without a front end).
void notifyPanel(int panel, unsigned what);
void notifyControl(int panel, int control, unsigned what);
void notifyMenuBar(int menuBar);
void notifySystem();

// Value conversions shared by values, attributes and list items.
bool isIntegerType(DataType type);
double convertToType(DataType type, double value);  // rounds and wraps like the C type
double typeMin(DataType type);
double typeMax(DataType type);
bool hasNumericValue(const Control& c);  // numerics, rings, switches, check boxes, LEDs, list boxes
bool hasTextValue(const Control& c);     // string, text box, text message, string rings
bool isListKind(Kind kind);              // rings and list boxes

// Sets a control's value by the rules of its kind (conversion, coercion, on/off values, matching item).
int setNumber(Control& c, double value);
int setText(Control& c, const std::string& text, bool appendToTextBox);

// Control construction with the defaults of its kind (used by LoadPanel and NewCtrl).
std::unique_ptr<Control> makeControl(Kind kind, DataType type);
int kindToStyle(Kind kind);
bool styleToKind(int style, Kind* kind);
int dataTypeToVal(DataType type);

// Removes a panel and its children (and their menu bars) from the model, notifying the front end.
void discardPanelTree(int panel);

// Copies text into a C buffer of `size` bytes, always terminated.
void copyToBuffer(const std::string& text, char* buffer, size_t size);

}  // namespace ui::detail

#endif
