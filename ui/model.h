// Retained model behind the user-interface run-time, and the seam to the front ends.
//
// The run-time (ui/*.cpp) owns the model and changes it only on the main thread. A front end (Qt in
// ui/qt, the headless one in ui/headless) reads the model to draw it, is told what changed through
// `Frontend`, and turns operator gestures into model changes and events through the `ui::user...` and
// `ui::send...` functions at the end of this file. No Qt type appears here.
#ifndef QM_UI_MODEL_H
#define QM_UI_MODEL_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "userint.h"

namespace ui {

enum class Kind {
    Numeric,
    Ring,
    BinarySwitch,
    CheckBox,
    Led,
    TextMsg,
    String,
    TextBox,
    Button,
    ListBox,
    Grid,
    Graph,
    Tab,
    Picture,
    Frame
};

enum class DataType { Int, UInt, Short, UShort, Double, String };

// One ring or list-box item. The value lives in `number` for numeric data types and in `text` for
// string data types.
struct ListItem {
    std::string label;  // may hold "\t" between the two columns of a two-column list box
    double number = 0;
    std::string text;
};

// The cells of a colour-map plot (PlotColorMap); levels are row-major, `columns` per row.
struct ColorMap {
    int columns = 0;
    int rows = 0;
    double xFirst = 0, xLast = 0;  // centres of the first and last column
    double yFirst = 0, yLast = 0;  // centres of the first and last row
    double zMin = 0, zMax = 1;     // levels of the darkest and brightest colour
};

struct Plot {
    int handle = 0;
    bool isText = false;
    bool isColorMap = false;  // levels in y, layout in colorMap
    std::vector<double> x;    // empty for PlotY: x is the sample index
    std::vector<double> y;
    std::string text;  // PlotText: drawn at (x[0], y[0])
    int color = VAL_YELLOW;
    int bgColor = VAL_TRANSPARENT;
    int plotStyle = VAL_THIN_LINE;
    int pointStyle = VAL_NO_POINT;
    int lineStyle = VAL_SOLID;
    ColorMap colorMap;
};

struct Axis {
    int mode = VAL_AUTOSCALE;
    double min = 0;
    double max = 10;
    std::string name;
    int precision = -1;  // -1: automatic
    int divisions = 10;
    bool gridVisible = true;
    bool reversed = false;
};

struct GraphCursor {
    double x = 0;
    double y = 0;
    int color = VAL_WHITE;
    int mode = VAL_FREE_FORM;
    int crossHairStyle = VAL_LONG_CROSS;
    int pointStyle = VAL_EMPTY_SQUARE;
    bool enabled = true;
};

struct GraphData {
    int plotBgColor = VAL_BLACK;
    int gridColor = VAL_DK_YELLOW;
    Axis xAxis;
    Axis yAxis;
    std::map<int, Plot> plots;  // by handle, in creation order
    int nextPlotHandle = 1;
    std::vector<GraphCursor> cursors;
};

struct GridData {
    int rows = 0;
    int cols = 0;
    int fixedRows = 1;
    int fixedCols = 1;
    std::vector<std::string> cells;  // row-major, rows * cols
    std::vector<int> colWidths;      // pixels
    std::vector<char> colAlign;      // '^' centre, '<' left, '>' right (header format)
    int selRow = 1;
    int selCol = 1;
    int topRow = 1;
    bool columnResize = true;
    GridSelChangeCallbackPtr selChange = nullptr;
    void* selChangeData = nullptr;
    const std::string& cell(int r, int c) const { return cells[static_cast<size_t>(r) * cols + c]; }
};

struct TabPage {
    std::string label;
    int panel = 0;
};

struct TabData {
    std::vector<TabPage> pages;
    int active = 0;
};

struct Control {
    int id = 0;
    std::string constName;  // "RF_FREQ"
    Kind kind = Kind::Numeric;
    DataType type = DataType::Int;
    std::string label;
    bool labelVisible = true;
    int top = 0, left = 0, width = 80, height = 24;

    // value
    double number = 0;
    std::string text;  // string/text-box/text-message value

    // numerics
    double minValue = -1e300;
    double maxValue = 1e300;
    double increment = 1;
    int precision = 0;
    bool coerce = true;
    int format = VAL_DECIMAL_FORMAT;
    int mode = VAL_NORMAL;

    bool dimmed = false;
    bool visible = true;
    int textColor = VAL_BLACK;
    int bgColor = VAL_WHITE;
    int frameColor = VAL_GRAY;
    int onColor = VAL_GREEN;
    int offColor = VAL_LT_GRAY;
    std::string onText = "On";
    std::string offText = "Off";
    double onValue = 1;
    double offValue = 0;
    std::string toolTip;
    bool toolTipEnabled = true;

    std::string callbackName;
    CtrlCallbackPtr callback = nullptr;
    void* callbackData = nullptr;

    // rings and list boxes
    std::vector<ListItem> items;
    int lazyCount = -1;  // >= 0: items come from lazyLabel (SetListItemSource)
    std::function<std::string(int)> lazyLabel;
    int index = -1;
    int columnStop = 0;
    bool columnRule = false;

    std::unique_ptr<GraphData> graph;  // Kind::Graph
    std::unique_ptr<GridData> grid;    // Kind::Grid
    std::unique_ptr<TabData> tab;      // Kind::Tab
    std::string image;                 // Kind::Picture

    int itemCount() const { return lazyCount >= 0 ? lazyCount : static_cast<int>(items.size()); }
    std::string itemLabel(int i) const {
        return lazyCount >= 0 ? (lazyLabel ? lazyLabel(i) : std::string())
                              : items[static_cast<size_t>(i)].label;
    }
};

struct MenuNode {
    int id = 0;
    std::string constName;  // "MAINMENU_FILE_EXIT"
    std::string label;      // "__" marks the access letter
    bool isMenu = false;    // a top-level menu
    bool separator = false;
    bool checked = false;
    bool dimmed = false;
    std::string callbackName;
    MenuCallbackPtr callback = nullptr;
    void* callbackData = nullptr;
    int submenuId = 0;  // items with a submenu: id of the submenu node (children below)
    std::vector<MenuNode> children;
    int shortcutKey = 0;
};

struct MenuBar {
    int handle = 0;
    std::string constName;
    int panel = 0;
    std::vector<MenuNode> menus;
    int nextId = 2;  // next fresh menu, item or submenu id
};

struct Panel {
    int handle = 0;
    std::string constName;     // "MAINPANEL"
    std::string resourceFile;  // "qm4120_sfp.uir"
    int resourceConstant = 0;
    int parent = 0;
    std::string title;
    int top = 40, left = 40, width = 400, height = 300;
    int bgColor = 0xD4D0C8;
    bool closeBox = true;
    bool sizable = false;
    bool visible = false;
    bool dimmed = false;
    bool popup = false;  // installed modally (InstallPopup)
    std::string callbackName;
    PanelCallbackPtr callback = nullptr;
    void* callbackData = nullptr;
    int menuBar = 0;
    int activeCtrl = 0;
    std::vector<std::unique_ptr<Control>> controls;  // in tab order
    int tabControl = 0;  // > 0: this panel is a page of that tab control of `parent`
    int nextCtrlId = 2;  // id NewCtrl hands out next

    Control* find(int id) const {
        for (auto& c : controls)
            if (c->id == id) return c.get();
        return nullptr;
    }
};

// What changed, for the front end's redraw.
enum Change : unsigned {
    ChValue = 1u << 0,       // value or index
    ChAttributes = 1u << 1,  // colours, texts, dimming, visibility, geometry, range, tool tip
    ChItems = 1u << 2,       // list items
    ChPlots = 1u << 3,       // plots added or deleted
    ChAxes = 1u << 4,        // axis scaling, names, grid colour
    ChCursors = 1u << 5,
    ChCells = 1u << 6,  // grid cells, size, widths, selection
    ChPages = 1u << 7,  // tab pages
    ChCreated = 1u << 8,
    ChDiscarded = 1u << 9,  // after this the control or panel no longer exists in the model
    ChShown = 1u << 10,     // panel displayed, hidden, installed or removed as popup
};

struct FileSelectRequest {
    std::string defaultDirectory;
    std::string defaultFileSpec;
    std::string fileTypeList;  // "*.ini;*.txt"
    std::string title;
    int buttonLabel = VAL_OK_BUTTON;
    bool restrictDirectory = false;
    bool restrictExtension = false;
    bool allowCancel = true;
    bool allowMakeDirectory = false;
};

struct DirSelectRequest {
    std::string defaultDirectory;
    std::string title;
    bool allowCancel = true;
    bool allowMakeDirectory = false;
};

// The seam to a front end. All calls arrive on the main thread except wakeMainThread.
class Frontend {
  public:
    virtual ~Frontend() = default;

    virtual void panelChanged(int panel, unsigned what) = 0;
    virtual void controlChanged(int panel, int control, unsigned what) = 0;
    virtual void menuBarChanged(int menuBar) = 0;
    virtual void systemChanged() = 0;  // taskbar text

    // Modal popups: return when the operator answered.
    virtual int messagePopup(const std::string& title, const std::string& message) = 0;
    virtual int confirmPopup(const std::string& title, const std::string& message) = 0;    // 1 yes
    virtual int fileSelectPopup(const FileSelectRequest& request, std::string* path) = 0;  // VAL_..._SELECTED
    virtual int dirSelectPopup(const DirSelectRequest& request, std::string* path) = 0;

    // Event loop. runEventLoop returns after quitEventLoop; processEvents runs pending gestures (and with
    // them callbacks) and queued calls; processDrawEvents only repaints.
    virtual void runEventLoop() = 0;
    virtual void quitEventLoop() = 0;
    virtual void processEvents() = 0;
    virtual void processDrawEvents() = 0;
    // Called from any thread after a call was queued for the main thread: the front end must make the main
    // thread call ui::runQueuedCalls() soon (also while a modal popup is up).
    virtual void wakeMainThread() = 0;
    virtual void delay(double seconds) = 0;  // main thread only
    virtual double now() = 0;                // seconds, for Timer()
    virtual void setBusyCursor(bool busy) = 0;
    // Writes the graph control as a picture (VAL_GRAPH_... format; width and height 0: as on screen).
    // 0, or UIE_FILE_WRITE.
    virtual int saveGraphImage(int panel, int control, const std::string& path, int format, int width,
                               int height) {
        (void)panel, (void)control, (void)path, (void)format, (void)width, (void)height;
        return UIE_NO_FRONTEND;
    }
};

// ---------------------------------------------------------------------------------------------------------
// Run-time access for front ends and tests (main thread).

// Installs the front end used by every later call; nullptr removes it. The run-time does not own it.
void setFrontend(Frontend* frontend);
Frontend* frontend();

// The thread that called setFrontend first (or initRuntime) is the main thread.
bool isMainThread();
void initRuntime();

// What an operator reads on a control: a numeric's value as formatted (precision, hex, scientific), a
// ring's or list box's current label, a binary switch's on/off text, "on"/"off" for check boxes and LEDs,
// the text of text kinds, a button's label without the access mark.
std::string shownText(const Control& control);
// True when a gesture can reach the panel: it and its parents are displayed (tab pages count as displayed)
// and, while a popup is installed, it is that popup or lies inside it.
bool panelTakesGestures(int panel);

// Runs the calls other threads queued for the main thread.
void runQueuedCalls();

// Model look-ups; nullptr when absent.
Panel* findPanel(int panel);
Control* findControl(int panel, int control);
MenuBar* findMenuBar(int menuBar);
MenuNode* findMenuNode(int menuBar, int id);
std::vector<int> panelHandles();  // in load order
// Topmost installed popup panel, or 0: while one is up only it and its children take gestures.
int topPopup();

// Operator gestures. Each sets what the operator changed in the model (with the control's range
// coercion) and sends the events a real operator's gesture sends; callbacks run before they return.
// Gestures on dimmed, hidden or indicator controls, or outside the topmost popup, are ignored (return
// UIE_BAD_VALUE).
int userCommitNumber(int panel, int control, double value);        // numerics, switches, check boxes
int userCommitText(int panel, int control, const std::string& s);  // string and text boxes
int userCommitIndex(int panel, int control, int index);            // rings and list boxes
int userSelectIndex(int panel, int control, int index);  // list boxes: highlight moves, value changed only
int userPressButton(int panel, int control);             // command buttons: commit
int userDoubleClick(int panel, int control);             // list boxes commit on double click
int userRightClick(int panel, int control);
int userSelectCell(int panel, int control, int row, int col);  // grid selection change
int userResizeColumn(int panel, int control, int col, int pixels);
int userSelectTab(int panel, int control, int pageIndex);
int userClosePanel(int panel);                  // the close box: EVENT_CLOSE
int userChooseMenuItem(int menuBar, int item);  // menu callback, if not dimmed

// The function registered under a callback name for each kind, nullptr when none is.
CtrlCallbackPtr registeredCtrlCallback(const std::string& name);
PanelCallbackPtr registeredPanelCallback(const std::string& name);
MenuCallbackPtr registeredMenuCallback(const std::string& name);

// Lower level: deliver one event to a control's or panel's callback.
int sendCtrlEvent(int panel, int control, int event, int eventData1 = 0, int eventData2 = 0);
int sendPanelEvent(int panel, int event, int eventData1 = 0, int eventData2 = 0);

// Forgets every panel, menu bar, registered callback, resource override and queued call, and the popup
// stack, cursor and taskbar text (tests). The front end stays installed; thread pools are left alone.
void resetRuntime();

// Resource text provider: by default the embedded resources; tests may substitute texts or make a file
// unreadable. An empty result means "file not found".
void setResourceOverride(const std::string& fileName, const std::string* text);  // nullptr removes

}  // namespace ui

#endif
