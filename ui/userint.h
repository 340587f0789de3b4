// User-interface run-time: the panel, control, menu, popup, event-loop and thread-pool operations the
// program's logic relies on. Toolkit-neutral: a front end (Qt for the program, headless for tests) renders
// the retained model behind these calls (see ui/model.h).
//
// Conventions, as in every run-time call:
// - Results are int statuses: 0 (or a positive handle/identifier) on success, a negative UIE_... code on
//   failure. Nothing is thrown.
// - Calls that change the model may be made from any thread; from a thread other than the main thread they
//   are queued to the main thread and return 0 at once. Getters called from another thread wait for the
//   main thread to answer.
// - Panel, control, menu-bar, menu and item identifiers are the constants generated from the resource
//   files (resources/gen/*_uir.h) or the values returned by the New... calls.
#ifndef QM_UI_USERINT_H
#define QM_UI_USERINT_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#define CVICALLBACK

// ---------------------------------------------------------------------------------------------------------
// Events. eventData1/eventData2 depend on the event: for clicks the mouse position (y, x) in the control;
// for EVENT_SELECTION_CHANGE the grid row and column; for EVENT_ACTIVE_TAB_CHANGE the old and new page.
enum {
    EVENT_NONE = 0,
    EVENT_COMMIT = 1,
    EVENT_VAL_CHANGED = 2,
    EVENT_LEFT_CLICK = 3,
    EVENT_LEFT_DOUBLE_CLICK = 4,
    EVENT_RIGHT_CLICK = 5,
    EVENT_GOT_FOCUS = 8,
    EVENT_LOST_FOCUS = 9,
    EVENT_CLOSE = 11,
    EVENT_TIMER_TICK = 15,
    EVENT_MARK_STATE_CHANGE = 26,
    EVENT_SELECTION_CHANGE = 40,
    EVENT_ACTIVE_TAB_CHANGE = 41,
};

// Callback shapes. Control and panel callbacks return 0.
using CtrlCallbackPtr = int (*)(int panel, int control, int event, void* callbackData, int eventData1,
                                int eventData2);
using PanelCallbackPtr = int (*)(int panel, int event, void* callbackData, int eventData1, int eventData2);
using MenuCallbackPtr = void (*)(int menuBar, int menuItem, void* callbackData, int panel);
using ThreadFunctionPtr = int (*)(void* functionData);
// Called for the grid's selection-change event (row and column of the new current cell).
using GridSelChangeCallbackPtr = void (*)(int panel, int control, int row, int col, void* callbackData);

// ---------------------------------------------------------------------------------------------------------
// Status codes of the run-time.
enum {
    UIE_NO_ERROR = 0,
    UIE_BAD_PANEL = -1,           // not a valid panel handle
    UIE_BAD_CONTROL = -2,         // no such control on the panel
    UIE_BAD_ATTRIBUTE = -3,       // attribute not valid for this control kind
    UIE_BAD_VALUE = -4,           // value not valid for the attribute or control
    UIE_FILE_NOT_FOUND = -5,      // resource file unknown
    UIE_BAD_RESOURCE = -6,        // resource file could not be parsed
    UIE_PANEL_NOT_FOUND = -7,     // panel constant not in the resource file
    UIE_CALLBACK_NOT_FOUND = -8,  // resource names a callback nobody registered
    UIE_BAD_INDEX = -9,           // list index, grid cell, tab page or cursor out of range
    UIE_BAD_MENU = -10,           // menu bar, menu or item not found
    UIE_BAD_PLOT = -11,           // plot handle not found
    UIE_OUT_OF_MEMORY = -12,
    UIE_NOT_MAIN_THREAD = -13,  // operation that cannot be queued (event loop) called off the main thread
    UIE_NO_FRONTEND = -14,      // no front end installed
    UIE_BAD_THREAD_POOL = -15,
    UIE_BAD_CONTROL_TYPE = -16,     // operation not valid for this kind of control
    UIE_BAD_THREAD_FUNCTION = -17,  // thread-pool function identifier not found
    UIE_FILE_WRITE = -18,           // a file could not be written (no such folder, no permission, disk full)
};
// Text of a UIE_ status.
const char* GetUILErrorString(int status);

// ---------------------------------------------------------------------------------------------------------
// Attributes (panels, controls, menus, system).
enum {
    // panels
    ATTR_TITLE = 100,
    ATTR_BACKCOLOR,
    ATTR_CLOSE_ITEM_VISIBLE,
    ATTR_PANEL_PARENT,
    ATTR_TASKBAR_BUTTON_TEXT,  // system attribute (SetSystemAttribute)
    // panels and controls
    ATTR_VISIBLE = 200,
    ATTR_DIMMED,
    ATTR_TOP,
    ATTR_LEFT,
    ATTR_WIDTH,
    ATTR_HEIGHT,
    // controls
    ATTR_LABEL_TEXT = 300,
    ATTR_LABEL_VISIBLE,
    ATTR_MIN_VALUE,
    ATTR_MAX_VALUE,
    ATTR_INCR_VALUE,
    ATTR_PRECISION,
    ATTR_CHECK_RANGE,  // VAL_COERCE_RANGE or VAL_IGNORE_RANGE
    ATTR_FORMAT,       // VAL_DECIMAL_FORMAT, VAL_HEX_FORMAT, VAL_SCIENTIFIC_FORMAT
    ATTR_CTRL_MODE,    // VAL_NORMAL, VAL_HOT, VAL_INDICATOR, VAL_VALIDATE
    ATTR_DATA_TYPE,    // VAL_INTEGER ... VAL_STRING (read-only)
    ATTR_CTRL_STYLE,   // CTRL_... kind (read-only)
    ATTR_TEXT_COLOR,
    ATTR_TEXT_BGCOLOR,
    ATTR_ON_COLOR,
    ATTR_OFF_COLOR,
    ATTR_ON_TEXT,
    ATTR_OFF_TEXT,
    ATTR_STRING_TEXT_LENGTH,  // length of a string/text control's text (read-only)
    ATTR_NUM_ITEMS,           // rings and list boxes (read-only)
    ATTR_CALLBACK_NAME,       // name the control's callback was bound by (read-only)
    ATTR_CONSTANT_NAME,       // constant name from the resource, e.g. "RF_FREQ" (read-only)
    ATTR_COLUMN_STOP,         // list boxes: pixel position of the second column ("\t" in labels)
    ATTR_COLUMN_RULE,         // list boxes: draw a vertical rule at the column stop
    ATTR_FRAME_COLOR,
    // graphs
    ATTR_PLOT_BGCOLOR = 400,
    ATTR_GRID_COLOR,
    ATTR_XNAME,
    ATTR_YNAME,
    ATTR_XPRECISION,
    ATTR_YPRECISION,
    ATTR_XDIVISIONS,
    ATTR_YDIVISIONS,
    ATTR_XGRID_VISIBLE,
    ATTR_YGRID_VISIBLE,
    ATTR_NUM_CURSORS,
    ATTR_YREVERSE,  // 1: the left Y axis grows downwards (a waterfall's newest row on top)
    // graph cursors (SetCursorAttribute)
    ATTR_CURSOR_COLOR = 450,
    ATTR_CURSOR_MODE,         // VAL_FREE_FORM or VAL_SNAP_TO_POINT
    ATTR_CROSS_HAIR_STYLE,    // VAL_LONG_CROSS, VAL_SHORT_CROSS, VAL_NO_CROSS
    ATTR_CURSOR_POINT_STYLE,  // point styles below
    ATTR_CURSOR_ENABLED,
    // menus (SetMenuBarAttribute)
    ATTR_CHECKED = 500,
    ATTR_ITEM_NAME,
    ATTR_SUBMENU_ID,  // read-only: submenu of an item, 0 if none
    // tool tips (SetCtrlToolTipAttribute)
    CTRL_TOOLTIP_ATTR_TEXT = 600,
    CTRL_TOOLTIP_ATTR_ENABLE,
};

// Attribute values.
enum {
    VAL_COERCE_RANGE = 1,
    VAL_IGNORE_RANGE = 0,
    VAL_DECIMAL_FORMAT = 0,
    VAL_HEX_FORMAT = 1,
    VAL_SCIENTIFIC_FORMAT = 2,
    VAL_NORMAL = 0,
    VAL_HOT = 1,
    VAL_INDICATOR = 2,
    VAL_VALIDATE = 3,
    // data types
    VAL_INTEGER = 1,
    VAL_UNSIGNED_INTEGER = 2,
    VAL_SHORT_INTEGER = 3,
    VAL_UNSIGNED_SHORT_INTEGER = 4,
    VAL_DOUBLE = 5,
    VAL_STRING = 6,
};

// Colours are 0xRRGGBB.
enum : int {
    VAL_RED = 0xFF0000,
    VAL_GREEN = 0x00FF00,
    VAL_BLUE = 0x0000FF,
    VAL_YELLOW = 0xFFFF00,
    VAL_WHITE = 0xFFFFFF,
    VAL_BLACK = 0x000000,
    VAL_LT_GRAY = 0xC0C0C0,
    VAL_GRAY = 0x808080,
    VAL_DK_GRAY = 0x404040,
    VAL_DK_YELLOW = 0x808000,
    VAL_CYAN = 0x00FFFF,
    VAL_MAGENTA = 0xFF00FF,
    VAL_TRANSPARENT = 0x1000000,
};

// Control kinds (NewCtrl, ATTR_CTRL_STYLE).
enum {
    CTRL_NUMERIC = 1,
    CTRL_RING,
    CTRL_BINARY_SWITCH,
    CTRL_CHECK_BOX,
    CTRL_LED,
    CTRL_TEXT_MSG,
    CTRL_STRING,
    CTRL_TEXT_BOX,
    CTRL_COMMAND_BUTTON,
    CTRL_LIST_BOX,
    CTRL_TABLE,  // grid with fixed header row and column
    CTRL_GRAPH,
    CTRL_TAB,
    CTRL_PICTURE,
    CTRL_DECORATION,  // frame
};

// Graph axes, scaling, plot styles.
enum {
    VAL_XAXIS = 0,
    VAL_LEFT_YAXIS = 1,
    VAL_MANUAL = 0,
    VAL_AUTOSCALE = 1,
    VAL_THIN_LINE = 0,
    VAL_FAT_LINE,
    VAL_SCATTER,
    VAL_CONNECTED_POINTS,
    VAL_NO_POINT = 0,
    VAL_SIMPLE_DOT,
    VAL_SOLID_SQUARE,
    VAL_EMPTY_SQUARE,
    VAL_SOLID_CIRCLE,
    VAL_SOLID = 0,
    VAL_DASH,
    VAL_DOT,
    VAL_FREE_FORM = 0,
    VAL_SNAP_TO_POINT,
    VAL_LONG_CROSS = 0,
    VAL_SHORT_CROSS,
    VAL_NO_CROSS,
    VAL_DELAYED_DRAW = 0,
    VAL_IMMEDIATE_DRAW = 1,
};

// Mouse cursors, popups.
enum {
    VAL_DEFAULT_CURSOR = 0,
    VAL_HOUR_GLASS_CURSOR = 1,
    VAL_OK_BUTTON = 0,
    VAL_SAVE_BUTTON,
    VAL_SELECT_BUTTON,
    VAL_LOAD_BUTTON,
    VAL_NO_FILE_SELECTED = 0,
    VAL_EXISTING_FILE_SELECTED = 1,
    VAL_NEW_FILE_SELECTED = 2,
    VAL_NO_DIRECTORY_SELECTED = 0,
    VAL_DIRECTORY_SELECTED = 1,
};

constexpr int MAX_PATHNAME_LEN = 260;
constexpr int CMT_MAX_MESSAGE_BUF_SIZE = 256;

// ---------------------------------------------------------------------------------------------------------
// Callback registry. Resource files name their callbacks; LoadPanel binds each name to the function
// registered under it and fails with UIE_CALLBACK_NOT_FOUND when a name is unknown.
int RegisterCtrlCallback(const char* name, CtrlCallbackPtr fn);
int RegisterPanelCallback(const char* name, PanelCallbackPtr fn);
int RegisterMenuCallback(const char* name, MenuCallbackPtr fn);
// Installs a callback (and its data) directly, e.g. on a control made with NewCtrl; nullptr removes it.
int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr fn, void* callbackData);
int InstallPanelCallback(int panel, PanelCallbackPtr fn, void* callbackData);
int InstallMenuCallback(int menuBar, int item, MenuCallbackPtr fn, void* callbackData);
// Runs the callback of a control with an event as if the control had raised it (for example a commit after
// the program wrote a value into another panel's control). The callback's return value goes into
// *callbackReturnValue when that is not null. 0, or a negative status when the control does not exist.
int CallCtrlCallback(int panel, int control, int event, int eventData1, int eventData2,
                     int* callbackReturnValue);

// ---------------------------------------------------------------------------------------------------------
// Panels
int LoadPanel(int parentPanel, const char* resourceFile, int panelConstant);  // handle > 0 or UIE_...
int DisplayPanel(int panel);
int HidePanel(int panel);
int DiscardPanel(int panel);
int InstallPopup(int panel);  // displays the panel modally: only it (and its children) take input
int RemovePopup(int panel);   // 0 removes the topmost popup
int SetActivePanel(int panel);
int GetActivePanel();
int SetPanelAttribute(int panel, int attribute, int value);
int SetPanelAttribute(int panel, int attribute, const char* value);
int GetPanelAttribute(int panel, int attribute, int* value);
int GetPanelAttribute(int panel, int attribute, std::string* value);
int SetSystemAttribute(int attribute, const char* value);
int GetSystemAttribute(int attribute, std::string* value);

// ---------------------------------------------------------------------------------------------------------
// Controls. Values are converted to the control's own data type: a double into an integer control is
// rounded to the nearest integer and wraps as the type does; out-of-range values are coerced when range
// checking is on. Rings and list boxes take the value of one of their items (that item becomes current);
// binary switches, check boxes and LEDs take their on or off value. SetCtrlVal on a text box APPENDS the
// text; ResetTextBox replaces it.
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, unsigned value);
int SetCtrlVal(int panel, int control, short value);
int SetCtrlVal(int panel, int control, unsigned short value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char* value);
int SetCtrlVal(int panel, int control, const std::string& value);
int GetCtrlVal(int panel, int control, int* value);
int GetCtrlVal(int panel, int control, unsigned* value);
int GetCtrlVal(int panel, int control, short* value);
int GetCtrlVal(int panel, int control, unsigned short* value);
int GetCtrlVal(int panel, int control, double* value);
int GetCtrlVal(int panel, int control, std::string* value);
int GetCtrlVal(int panel, int control, char* buffer, size_t bufferSize);  // truncates, always terminated
template <size_t N>
int GetCtrlVal(int panel, int control, char (&buffer)[N]) {
    return GetCtrlVal(panel, control, buffer, N);
}

int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, double value);
int SetCtrlAttribute(int panel, int control, int attribute, const char* value);
int GetCtrlAttribute(int panel, int control, int attribute, int* value);
int GetCtrlAttribute(int panel, int control, int attribute, double* value);
int GetCtrlAttribute(int panel, int control, int attribute, std::string* value);
int SetCtrlToolTipAttribute(int panel, int control, int attribute, const char* text);  // TEXT
int SetCtrlToolTipAttribute(int panel, int control, int attribute, int value);         // ENABLE
int GetCtrlToolTipAttribute(int panel, int control, int attribute, std::string* text);
int GetCtrlToolTipAttribute(int panel, int control, int attribute, int* value);
int SetActiveCtrl(int panel, int control);
int GetActiveCtrl(int panel);
int NewCtrl(int panel, int kind, const char* label, int top, int left);  // control id > 0
int DiscardCtrl(int panel, int control);
int ResetTextBox(int panel, int control, const char* text);

// ---------------------------------------------------------------------------------------------------------
// Rings and list boxes. index -1 appends at the end.
int ClearListCtrl(int panel, int control);
int InsertListItem(int panel, int control, int index, const char* label, int value);
int InsertListItem(int panel, int control, int index, const char* label, unsigned value);
int InsertListItem(int panel, int control, int index, const char* label, double value);
int InsertListItem(int panel, int control, int index, const char* label, const char* value);
int DeleteListItem(int panel, int control, int index, int count);
int GetNumListItems(int panel, int control, int* count);
int GetCtrlIndex(int panel, int control, int* index);  // -1 when the list is empty
int SetCtrlIndex(int panel, int control, int index);
int GetIndexFromValue(int panel, int control, int* index, double value);
int GetIndexFromValue(int panel, int control, int* index, const char* value);  // string rings
int GetValueFromIndex(int panel, int control, int index, int* value);
int GetValueFromIndex(int panel, int control, int index, unsigned* value);
int GetValueFromIndex(int panel, int control, int index, unsigned short* value);
int GetValueFromIndex(int panel, int control, int index, double* value);
int GetValueFromIndex(int panel, int control, int index, std::string* value);
int GetLabelFromIndex(int panel, int control, int index, std::string* label);
// Bulk list contents for large data (a million samples): `count` items whose labels are made on demand
// by `labelOf(index)`; values are the indices. Replaces the current items. No per-item storage.
int SetListItemSource(int panel, int control, int count, std::function<std::string(int index)> labelOf);

// ---------------------------------------------------------------------------------------------------------
// Graphs. Plot handles are > 0. Data is copied (or moved) into the model in one piece.
int PlotXY(int panel, int control, const double* x, const double* y, int count, int plotStyle, int pointStyle,
           int lineStyle, int color);
int PlotXY(int panel, int control, std::vector<double> x, std::vector<double> y, int plotStyle,
           int pointStyle, int lineStyle, int color);
int PlotY(int panel, int control, const double* y, int count, int plotStyle, int pointStyle, int lineStyle,
          int color);
int PlotY(int panel, int control, std::vector<double> y, int plotStyle, int pointStyle, int lineStyle,
          int color);
int PlotText(int panel, int control, double x, double y, const char* text, int textColor, int bgColor);
int DeleteGraphPlot(int panel, int control, int plotHandle, int refresh);  // plotHandle -1: all plots
int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max);
int GetAxisScalingMode(int panel, int control, int axis, int* mode, double* min, double* max);
int SetGraphCursor(int panel, int control, int cursor, double x, double y);  // cursors number from 1
int GetGraphCursor(int panel, int control, int cursor, double* x, double* y);
int SetCursorAttribute(int panel, int control, int cursor, int attribute, int value);
int GetCursorAttribute(int panel, int control, int cursor, int attribute, int* value);
// Colour-map plot (an intensity picture): `columns` x `rows` levels in row-major order, row 0 first.
// Column centres run evenly from xFirst to xLast, row centres from yFirst to yLast. Levels from zMin
// (darkest colour) to zMax (brightest) map onto the colour scale; levels beyond them take the end colours
// and NaN cells stay transparent. Plot handle > 0.
int PlotColorMap(int panel, int control, std::vector<double> levels, int columns, int rows, double xFirst,
                 double xLast, double yFirst, double yLast, double zMin, double zMax);

// Graph export: the graph as the operator sees it, written to `path` as a picture. width and height 0 mean
// the size on screen. 0, or UIE_FILE_WRITE when the file cannot be written.
enum { VAL_GRAPH_PNG = 0, VAL_GRAPH_JPEG = 1, VAL_GRAPH_PDF = 2 };
int SaveGraphImage(int panel, int control, const char* path, int format, int width, int height);

// ---------------------------------------------------------------------------------------------------------
// Tables (grids). Rows and columns count from 0 and include the fixed header row and column.
int GridSetSize(int panel, int control, int rows, int cols);
int GridGetSize(int panel, int control, int* rows, int* cols);
int GridSetCellText(int panel, int control, int row, int col, const char* text);
int GridGetCellText(int panel, int control, int row, int col, std::string* text);
int GridSetRowTexts(int panel, int control, int row, const std::vector<std::string>& texts);
// Rows firstRow, firstRow+1, ... from `rows` in one change (one redraw for the whole block).
int GridSetBlockTexts(int panel, int control, int firstRow,
                      const std::vector<std::vector<std::string>>& rows);
// Header row from one format text: titles separated by "|", each optionally prefixed by "^" (centred),
// "<" (left) or ">" (right), e.g. "^Chan|^Freq (Hz)|...".
int GridSetFormatString(int panel, int control, const char* format);
int GridSetColWidth(int panel, int control, int col, int pixels);
int GridGetColWidth(int panel, int control, int col, int* pixels);
int GridAllowColumnResize(int panel, int control, int allow);
int GridSetSelection(int panel, int control, int row, int col);
int GridGetSelection(int panel, int control, int* row, int* col);
int GridSetTopRow(int panel, int control, int row);  // scrolls so that `row` is the first data row shown
int GridGetTopRow(int panel, int control, int* row);
int GridSetSelChangeCallback(int panel, int control, GridSelChangeCallbackPtr fn, void* callbackData);

// ---------------------------------------------------------------------------------------------------------
// Tab controls: pages are panels.
int InsertPanelAsTabPage(int panel, int control, int index, int pagePanel);  // returns the page index
int SetTabPageAttribute(int panel, int control, int pageIndex, int attribute, const char* value);
int GetPanelHandleFromTabPage(int panel, int control, int pageIndex, int* pagePanel);
int GetNumTabPages(int panel, int control, int* count);
int GetActiveTabPage(int panel, int control, int* pageIndex);
int SetActiveTabPage(int panel, int control, int pageIndex);

// ---------------------------------------------------------------------------------------------------------
// Menus. Menu and item identifiers of a resource menu bar are its generated constants; run-time additions
// get fresh identifiers.
int GetPanelMenuBar(int panel);  // menu-bar handle > 0, or UIE_...
int SetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, int value);
int SetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, const char* value);
int GetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, int* value);
int GetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, std::string* value);
int NewMenu(int menuBar, const char* label, int beforeMenu);  // beforeMenu -1: at the end
int NewSubMenu(int menuBar, int item);                        // submenu id for an existing item
int NewMenuItem(int menuBar, int menu, const char* label, int beforeItem, int shortcutKey,
                MenuCallbackPtr callback, void* callbackData);  // label 0/empty: a separator
int DiscardMenuItem(int menuBar, int item);                     // an item or a submenu item, with its submenu
int DiscardMenu(int menuBar, int menu);

// ---------------------------------------------------------------------------------------------------------
// Popups (modal). Off the main thread they are queued and the call returns 0 at once.
int MessagePopup(const char* title, const char* message);
int ConfirmPopup(const char* title, const char* message);  // 1 yes, 0 no
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileSpec, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char pathName[MAX_PATHNAME_LEN]);
int DirSelectPopup(const char* defaultDirectory, const char* title, int allowCancel, int allowMakeDirectory,
                   char pathName[MAX_PATHNAME_LEN]);

// ---------------------------------------------------------------------------------------------------------
// Event loop and timing.
int RunUserInterface();  // runs until QuitUserInterface; returns its code
int QuitUserInterface(int returnCode);
int ProcessSystemEvents();       // lets pending gestures and queued calls run their callbacks
int ProcessDrawEvents();         // brings the screen up to date without running callbacks
int SetMouseCursor(int cursor);  // VAL_HOUR_GLASS_CURSOR while busy, VAL_DEFAULT_CURSOR after
int GetMouseCursor(int* cursor);
int Delay(double seconds);
double Timer();  // seconds since the run-time started (virtual in the headless front end)

// ---------------------------------------------------------------------------------------------------------
// Utilities.
int GetModuleDir(char directory[MAX_PATHNAME_LEN]);  // folder of the running program
int MakePathname(const char* directory, const char* fileName, char path[MAX_PATHNAME_LEN]);
std::string DateStr();  // "MM-DD-YYYY"
std::string TimeStr();  // "HH:MM:SS"

// ---------------------------------------------------------------------------------------------------------
// Thread pool. Statuses are 0 or negative; CmtGetErrorMessage describes them.
enum {
    THREAD_PRIORITY_LOWEST = -2,
    THREAD_PRIORITY_BELOW_NORMAL = -1,
    THREAD_PRIORITY_NORMAL = 0,
    THREAD_PRIORITY_ABOVE_NORMAL = 1,
    THREAD_PRIORITY_HIGHEST = 2,
    DEFAULT_THREAD_POOL_HANDLE = 1,
    // eventMask bits of CmtScheduleThreadPoolFunctionAdv: the callback runs on the pool thread, or on the
    // main thread when threadId is the main thread's CmtGetCurrentThreadID().
    EVENT_TP_THREAD_FUNCTION_BEGIN = 1,
    EVENT_TP_THREAD_FUNCTION_END = 2,
    // options of CmtWaitForThreadPoolFunctionCompletion. The main thread always runs queued calls while it
    // waits; with this option it also lets gestures through.
    OPT_TP_PROCESS_EVENTS_WHILE_WAITING = 1,
};
using ThreadFunctionCallbackPtr = void (*)(int poolHandle, int functionId, unsigned event, int value,
                                           void* callbackData);
int CmtNewThreadPool(int maxThreads, int* poolHandle);
int CmtScheduleThreadPoolFunctionAdv(int poolHandle, ThreadFunctionPtr function, void* functionData,
                                     int priority, ThreadFunctionCallbackPtr callback, unsigned eventMask,
                                     void* callbackData, int threadId, int* functionId);
int CmtWaitForThreadPoolFunctionCompletion(int poolHandle, int functionId, int options);
int CmtDiscardThreadPool(int poolHandle);  // waits for running functions; queued ones never run
// Forgets a finished function's identifier (waiting for it afterwards fails with UIE_BAD_THREAD_FUNCTION).
int CmtReleaseThreadPoolFunctionID(int poolHandle, int functionId);
unsigned CmtGetCurrentThreadID();
int CmtGetErrorMessage(int status, char message[CMT_MAX_MESSAGE_BUF_SIZE]);

#endif
