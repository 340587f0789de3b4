// The run-time's core: model store, main thread, the queue of calls handed over by other threads, the
// callback registry and the resource texts.
#include "runtime.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <limits>
#include <mutex>
#include <thread>

#ifdef QM_UI_HAVE_EMBEDDED_RESOURCES
#include "embedded_resources.h"
#endif

namespace ui {
namespace detail {
namespace {

std::atomic<Frontend*> gFrontend{nullptr};

// The main thread is fixed once; std::thread::id is not atomic, so it lives behind a flag and a mutex.
std::mutex gMainMutex;
std::thread::id gMainId;
std::atomic<bool> gMainSet{false};

// Calls queued for the main thread. A request object travels with each call so that dropping the queue
// (resetRuntime) releases a thread that waits for an answer.
struct Queue {
    std::mutex mutex;
    std::condition_variable wake;  // the main thread waits here in pumpUntil
    std::deque<std::function<void()>> calls;
};

Queue& queue() {
    static Queue* q = new Queue;  // never destroyed: pool threads may outlive static destruction
    return *q;
}

struct Answer {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    int status = UIE_NOT_MAIN_THREAD;
    void finish(int s) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (done) return;
            status = s;
            done = true;
        }
        cv.notify_all();
    }
};

// Marks the answer as dropped when the queued call is destroyed without having run.
struct DropGuard {
    std::shared_ptr<Answer> answer;
    ~DropGuard() {
        if (answer) answer->finish(UIE_NOT_MAIN_THREAD);
    }
};

std::mutex gOverrideMutex;
std::map<std::string, std::string> gOverrides;

}  // namespace

State& state() {
    static State* s = new State;
    return *s;
}

int postToMain(std::function<void()> call) {
    {
        std::lock_guard<std::mutex> lock(queue().mutex);
        queue().calls.push_back(std::move(call));
    }
    queue().wake.notify_all();
    if (Frontend* f = gFrontend.load()) f->wakeMainThread();
    return 0;
}

int askMain(const std::function<int()>& call) {
    auto answer = std::make_shared<Answer>();
    auto guard = std::make_shared<DropGuard>();
    guard->answer = answer;
    postToMain([guard, &call] { guard->answer->finish(call()); });
    guard.reset();
    std::unique_lock<std::mutex> lock(answer->mutex);
    answer->cv.wait(lock, [&] { return answer->done; });
    return answer->status;
}

void pumpUntil(const std::function<bool()>& done) {
    for (;;) {
        runQueuedCalls();
        std::unique_lock<std::mutex> lock(queue().mutex);
        if (done()) return;
        if (!queue().calls.empty()) continue;
        // The timeout only guards against a missed wake-up; completions call wakeWaitingMain().
        queue().wake.wait_for(lock, std::chrono::milliseconds(50));
    }
}

void wakeWaitingMain() {
    { std::lock_guard<std::mutex> lock(queue().mutex); }
    queue().wake.notify_all();
}

std::string_view resourceText(const std::string& fileName, bool* stable) {
    *stable = false;
    {
        std::lock_guard<std::mutex> lock(gOverrideMutex);
        auto it = gOverrides.find(fileName);
        if (it != gOverrides.end()) return it->second;  // valid until the override changes (main thread)
    }
#ifdef QM_UI_HAVE_EMBEDDED_RESOURCES
    *stable = true;
    return qm::embeddedResource(fileName);
#else
    return {};
#endif
}

void clearResourceOverrides() {
    std::lock_guard<std::mutex> lock(gOverrideMutex);
    gOverrides.clear();
}

int lookupPanel(int panel, Panel** out) {
    auto& panels = state().panels;
    auto it = panels.find(panel);
    if (it == panels.end()) return UIE_BAD_PANEL;
    *out = it->second.get();
    return 0;
}

int lookupControl(int panel, int control, Control** out) {
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    Control* c = p->find(control);
    if (!c) return UIE_BAD_CONTROL;
    *out = c;
    return 0;
}

int lookupMenuBar(int menuBar, MenuBar** out) {
    auto it = state().menuBars.find(menuBar);
    if (it == state().menuBars.end()) return UIE_BAD_MENU;
    *out = it->second.get();
    return 0;
}

void notifyPanel(int panel, unsigned what) {
    if (Frontend* f = gFrontend.load()) f->panelChanged(panel, what);
}
void notifyControl(int panel, int control, unsigned what) {
    if (Frontend* f = gFrontend.load()) f->controlChanged(panel, control, what);
}
void notifyMenuBar(int menuBar) {
    if (Frontend* f = gFrontend.load()) f->menuBarChanged(menuBar);
}
void notifySystem() {
    if (Frontend* f = gFrontend.load()) f->systemChanged();
}

bool isIntegerType(DataType type) {
    return type != DataType::Double && type != DataType::String;
}

double typeMin(DataType type) {
    switch (type) {
        case DataType::Int:
            return std::numeric_limits<int32_t>::min();
        case DataType::UInt:
        case DataType::UShort:
            return 0;
        case DataType::Short:
            return std::numeric_limits<int16_t>::min();
        default:
            return -std::numeric_limits<double>::max();
    }
}

double typeMax(DataType type) {
    switch (type) {
        case DataType::Int:
            return std::numeric_limits<int32_t>::max();
        case DataType::UInt:
            return std::numeric_limits<uint32_t>::max();
        case DataType::Short:
            return std::numeric_limits<int16_t>::max();
        case DataType::UShort:
            return std::numeric_limits<uint16_t>::max();
        default:
            return std::numeric_limits<double>::max();
    }
}

double convertToType(DataType type, double value) {
    if (!isIntegerType(type)) return value;
    if (std::isnan(value)) return 0;
    // Round to nearest (halves away from zero), then wrap modulo the type's width as a C cast would.
    constexpr double limit = 9.0e18;
    const double clamped = std::fmax(-limit, std::fmin(limit, value));
    const auto whole = static_cast<uint64_t>(std::llround(clamped));
    switch (type) {
        case DataType::Int:
            return static_cast<int32_t>(static_cast<uint32_t>(whole));
        case DataType::UInt:
            return static_cast<uint32_t>(whole);
        case DataType::Short:
            return static_cast<int16_t>(static_cast<uint16_t>(whole));
        case DataType::UShort:
            return static_cast<uint16_t>(whole);
        default:
            return value;
    }
}

bool isListKind(Kind kind) {
    return kind == Kind::Ring || kind == Kind::ListBox;
}

bool hasNumericValue(const Control& c) {
    switch (c.kind) {
        case Kind::Numeric:
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led:
            return true;
        case Kind::Ring:
        case Kind::ListBox:
            return c.type != DataType::String;
        default:
            return false;
    }
}

bool hasTextValue(const Control& c) {
    switch (c.kind) {
        case Kind::String:
        case Kind::TextBox:
        case Kind::TextMsg:
            return true;
        case Kind::Ring:
        case Kind::ListBox:
            return c.type == DataType::String;
        default:
            return false;
    }
}

std::unique_ptr<Control> makeControl(Kind kind, DataType type) {
    auto c = std::make_unique<Control>();
    c->kind = kind;
    c->type = type;
    if (type != DataType::String) {
        c->minValue = typeMin(type);
        c->maxValue = typeMax(type);
    }
    switch (kind) {
        case Kind::Graph:
            c->graph = std::make_unique<GraphData>();
            c->width = 300;
            c->height = 200;
            c->bgColor = VAL_LT_GRAY;
            break;
        case Kind::Grid:
            c->grid = std::make_unique<GridData>();
            c->width = 300;
            c->height = 200;
            break;
        case Kind::Tab:
            c->tab = std::make_unique<TabData>();
            c->width = 300;
            c->height = 200;
            break;
        case Kind::ListBox:
            c->height = 100;
            break;
        case Kind::TextBox:
            c->height = 60;
            break;
        case Kind::Led:
        case Kind::CheckBox:
            c->width = 16;
            c->height = 16;
            break;
        case Kind::TextMsg:
        case Kind::Frame:
        case Kind::Picture:
            c->bgColor = VAL_TRANSPARENT;
            break;
        default:
            break;
    }
    return c;
}

int kindToStyle(Kind kind) {
    switch (kind) {
        case Kind::Numeric:
            return CTRL_NUMERIC;
        case Kind::Ring:
            return CTRL_RING;
        case Kind::BinarySwitch:
            return CTRL_BINARY_SWITCH;
        case Kind::CheckBox:
            return CTRL_CHECK_BOX;
        case Kind::Led:
            return CTRL_LED;
        case Kind::TextMsg:
            return CTRL_TEXT_MSG;
        case Kind::String:
            return CTRL_STRING;
        case Kind::TextBox:
            return CTRL_TEXT_BOX;
        case Kind::Button:
            return CTRL_COMMAND_BUTTON;
        case Kind::ListBox:
            return CTRL_LIST_BOX;
        case Kind::Grid:
            return CTRL_TABLE;
        case Kind::Graph:
            return CTRL_GRAPH;
        case Kind::Tab:
            return CTRL_TAB;
        case Kind::Picture:
            return CTRL_PICTURE;
        case Kind::Frame:
            return CTRL_DECORATION;
    }
    return 0;
}

bool styleToKind(int style, Kind* kind) {
    static const Kind kinds[] = {Kind::Numeric, Kind::Ring,    Kind::BinarySwitch, Kind::CheckBox,
                                 Kind::Led,     Kind::TextMsg, Kind::String,       Kind::TextBox,
                                 Kind::Button,  Kind::ListBox, Kind::Grid,         Kind::Graph,
                                 Kind::Tab,     Kind::Picture, Kind::Frame};
    if (style < CTRL_NUMERIC || style > CTRL_DECORATION) return false;
    *kind = kinds[style - CTRL_NUMERIC];
    return true;
}

int dataTypeToVal(DataType type) {
    switch (type) {
        case DataType::Int:
            return VAL_INTEGER;
        case DataType::UInt:
            return VAL_UNSIGNED_INTEGER;
        case DataType::Short:
            return VAL_SHORT_INTEGER;
        case DataType::UShort:
            return VAL_UNSIGNED_SHORT_INTEGER;
        case DataType::Double:
            return VAL_DOUBLE;
        case DataType::String:
            return VAL_STRING;
    }
    return 0;
}

void copyToBuffer(const std::string& text, char* buffer, size_t size) {
    if (!buffer || size == 0) return;
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace detail

using namespace detail;

void setFrontend(Frontend* f) {
    initRuntime();
    gFrontend.store(f);
}

Frontend* frontend() {
    return gFrontend.load();
}

void initRuntime() {
    if (gMainSet.load()) return;
    std::lock_guard<std::mutex> lock(gMainMutex);
    if (gMainSet.load()) return;
    gMainId = std::this_thread::get_id();
    gMainSet.store(true);
}

bool isMainThread() {
    // Until something names the main thread, the first thread to ask is it (pools are only created from
    // the program's own thread, so a pool thread never gets here first).
    if (!gMainSet.load()) initRuntime();
    return std::this_thread::get_id() == gMainId;
}

void runQueuedCalls() {
    if (!isMainThread()) return;
    size_t pending;
    {
        std::lock_guard<std::mutex> lock(queue().mutex);
        pending = queue().calls.size();
    }
    // One at a time from the front, so that calls queued by a nested runQueuedCalls keep their order.
    while (pending-- > 0) {
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> lock(queue().mutex);
            if (queue().calls.empty()) return;
            call = std::move(queue().calls.front());
            queue().calls.pop_front();
        }
        call();
    }
}

Panel* findPanel(int panel) {
    Panel* p = nullptr;
    return lookupPanel(panel, &p) == 0 ? p : nullptr;
}

Control* findControl(int panel, int control) {
    Control* c = nullptr;
    return lookupControl(panel, control, &c) == 0 ? c : nullptr;
}

MenuBar* findMenuBar(int menuBar) {
    MenuBar* m = nullptr;
    return lookupMenuBar(menuBar, &m) == 0 ? m : nullptr;
}

std::vector<int> panelHandles() {
    return state().loadOrder;
}

int topPopup() {
    return state().popups.empty() ? 0 : state().popups.back();
}

void resetRuntime() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(queue().mutex);
        dropped.swap(queue().calls);
    }
    dropped.clear();  // releases threads waiting for an answer
    State& s = state();
    std::vector<int> order = s.loadOrder;
    for (int handle : order)
        if (s.panels.count(handle) && s.panels[handle]->parent == 0) discardPanelTree(handle);
    s.panels.clear();
    s.loadOrder.clear();
    s.menuBars.clear();
    s.popups.clear();
    s.activePanel = 0;
    s.taskbarText.clear();
    s.mouseCursor = VAL_DEFAULT_CURSOR;
    s.quitCode = 0;
    s.ctrlCallbacks.clear();
    s.panelCallbacks.clear();
    s.menuCallbacks.clear();
    clearResourceOverrides();
}

void setResourceOverride(const std::string& fileName, const std::string* text) {
    std::lock_guard<std::mutex> lock(gOverrideMutex);
    if (text)
        gOverrides[fileName] = *text;
    else
        gOverrides.erase(fileName);
}

}  // namespace ui

// ---------------------------------------------------------------------------------------------------------
// Callback registry. A later registration under the same name replaces the earlier one, so a module's
// real callback can replace a placeholder registered at start-up.

using namespace ui;
using namespace ui::detail;

namespace ui {

template <typename Fn>
Fn registeredIn(const std::map<std::string, Fn>& callbacks, const std::string& name) {
    auto it = callbacks.find(name);
    return it == callbacks.end() ? nullptr : it->second;
}

CtrlCallbackPtr registeredCtrlCallback(const std::string& name) {
    return registeredIn(detail::state().ctrlCallbacks, name);
}
PanelCallbackPtr registeredPanelCallback(const std::string& name) {
    return registeredIn(detail::state().panelCallbacks, name);
}
MenuCallbackPtr registeredMenuCallback(const std::string& name) {
    return registeredIn(detail::state().menuCallbacks, name);
}

}  // namespace ui

int RegisterCtrlCallback(const char* name, CtrlCallbackPtr fn) {
    if (!name || !*name || !fn) return UIE_BAD_VALUE;
    if (!isMainThread())
        return postToMain([n = std::string(name), fn] { RegisterCtrlCallback(n.c_str(), fn); });
    state().ctrlCallbacks[name] = fn;
    return 0;
}

int RegisterPanelCallback(const char* name, PanelCallbackPtr fn) {
    if (!name || !*name || !fn) return UIE_BAD_VALUE;
    if (!isMainThread())
        return postToMain([n = std::string(name), fn] { RegisterPanelCallback(n.c_str(), fn); });
    state().panelCallbacks[name] = fn;
    return 0;
}

int RegisterMenuCallback(const char* name, MenuCallbackPtr fn) {
    if (!name || !*name || !fn) return UIE_BAD_VALUE;
    if (!isMainThread())
        return postToMain([n = std::string(name), fn] { RegisterMenuCallback(n.c_str(), fn); });
    state().menuCallbacks[name] = fn;
    return 0;
}

const char* GetUILErrorString(int status) {
    switch (status) {
        case UIE_NO_ERROR:
            return "No error.";
        case UIE_BAD_PANEL:
            return "The panel handle is not valid.";
        case UIE_BAD_CONTROL:
            return "The control does not exist on the panel.";
        case UIE_BAD_ATTRIBUTE:
            return "The attribute is not valid for this panel or control.";
        case UIE_BAD_VALUE:
            return "The value is not valid.";
        case UIE_FILE_NOT_FOUND:
            return "The panel resource file was not found.";
        case UIE_BAD_RESOURCE:
            return "The panel resource file is damaged.";
        case UIE_PANEL_NOT_FOUND:
            return "The panel is not in the resource file.";
        case UIE_CALLBACK_NOT_FOUND:
            return "A callback named in the resource file is not registered.";
        case UIE_BAD_INDEX:
            return "The index is out of range.";
        case UIE_BAD_MENU:
            return "The menu bar, menu or menu item does not exist.";
        case UIE_BAD_PLOT:
            return "The plot does not exist.";
        case UIE_OUT_OF_MEMORY:
            return "Out of memory.";
        case UIE_NOT_MAIN_THREAD:
            return "The operation must be called on the user interface thread.";
        case UIE_NO_FRONTEND:
            return "No user interface is running.";
        case UIE_BAD_THREAD_POOL:
            return "The thread pool handle is not valid.";
        case UIE_BAD_CONTROL_TYPE:
            return "The operation is not valid for this type of control.";
        case UIE_BAD_THREAD_FUNCTION:
            return "The thread function identifier is not valid.";
        case UIE_FILE_WRITE:
            return "The file could not be written.";
        default:
            return "Unknown user interface error.";
    }
}
