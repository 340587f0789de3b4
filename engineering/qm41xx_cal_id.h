// Board identity panel (IDPANEL of "qm41xx_cal_id.uir"): a tab control with one page (IDINFO) per board.
//
// The module is generic: it knows pages and fields, not boards. The application hands it one callback
// that receives every request (close, commit, reload, field edited) with the page and field concerned.
#ifndef QM_ENGINEERING_QM41XX_CAL_ID_H
#define QM_ENGINEERING_QM41XX_CAL_ID_H

// Requests raised by the panel.
enum CalidOperation {
    CALID_CLOSE = 0,
    CALID_COMMIT_PAGE = 1,
    CALID_COMMIT_ALL = 2,
    CALID_RELOAD_PAGE = 3,
    CALID_RELOAD_ALL = 4,
    CALID_FIELD_CHANGED = 5,
};

// Fields of a page, as numbered in the requests.
enum CalidField {
    CALID_FIELD_MODSTATE = 0,
    CALID_FIELD_FIRSTCAL = 1,
    CALID_FIELD_LASTCAL = 2,
    CALID_FIELD_REWORK = 3,
    CALID_FIELD_CALSCHEME = 4,
    CALID_FIELD_TYPENO = 5,
    CALID_FIELD_SERIALNO = 6,
    CALID_FIELD_BUILDSTATE = 7,
    CALID_FIELD_INFOSTRING = 8,
};

constexpr int CALID_MAX_PAGES = 20;

using CalidChangeCallback = void (*)(int operation, int page, int field);

// Loads IDPANEL and forgets any earlier pages. Returns 1, or 0 when the panel cannot be loaded.
int calidPanelInit(CalidChangeCallback callback);
// Adds a page with the tab label; returns the page's panel handle, or -1 when the panel or its tab
// control is missing, CALID_MAX_PAGES pages exist already, or the page cannot be loaded.
int calidPanelAddTab(const char* label);
// Reloads every page (request CALID_RELOAD_ALL), then shows the panel.
void calidPanelShow();
void calidPanelHide();
void calidPanelDiscard();

int calidPanelHandle();
int calidPanelPageCount();
// Index of the page shown, or -1.
int calidPanelActivePage();
// Field number of a page control, or -1 for a control that is no field.
int calidFieldOfControl(int control);

// Callbacks of "qm41xx_cal_id.uir".
int cmdClose(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCommitTab(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCommitAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdReloadTab(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdReloadAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdChangeVal(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerCalIdCallbacks();

#endif
