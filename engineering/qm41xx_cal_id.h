// Board identity panel (IDPANEL of "qm41xx_cal_id.uir"): a tab control with one page (IDINFO) per board.
//
// The module is generic: it knows pages and fields, not boards. The application hands it one callback
// that receives every request (close, commit, reload, field edited) with the page and field concerned.
#ifndef QM_ENGINEERING_QM41XX_CAL_ID_H
#define QM_ENGINEERING_QM41XX_CAL_ID_H

#include <cstdint>

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

// Panel handle of the page at a tab index, or -1.
int calidPanelPageHandle(int index);

// A calibration date and time as a page shows it. The boards store it packed in 32 bits, date in the
// upper half: bits 31-25 year - 1980, 24-21 month, 20-16 day, 15-11 hours, 10-5 minutes, 4-0 seconds / 2.
// Packing masks each value to its field width.
struct CalidDate {
    uint16_t year = 1980;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hours = 0;
    uint16_t minutes = 0;
    uint16_t halfSeconds = 0;  // seconds / 2, shown as stored
};
uint32_t calidPackDate(const CalidDate& date);
CalidDate calidUnpackDate(uint32_t packed);

// Field values between a page (its panel handle) and plain values. Each returns 1. Texts travel in
// buffers of CALID_TEXT_LEN characters.
constexpr int CALID_TEXT_LEN = 256;
int calidSetModstate(int page, uint32_t value);  // MFG BOM in bits 0-15, S/W in bits 16-31
int calidGetModstate(int page, uint32_t* value);
int calidSetFirstcal(int page, uint32_t packed);
int calidGetFirstcal(int page, uint32_t* packed);
int calidSetLastcal(int page, uint32_t packed);
int calidGetLastcal(int page, uint32_t* packed);
int calidSetReworkCount(int page, uint16_t value);
int calidGetReworkCount(int page, uint16_t* value);
int calidSetCalScheme(int page, uint16_t value);
int calidGetCalScheme(int page, uint16_t* value);
int calidSetTypeno(int page, const char* value);
int calidGetTypeno(int page, char* value);
int calidSetSerialno(int page, const char* value);
int calidGetSerialno(int page, char* value);
int calidSetBuildstate(int page, const char* value);
int calidGetBuildstate(int page, char* value);
int calidSetInfostring(int page, const char* value);
int calidGetInfostring(int page, char* value);

// Callbacks of "qm41xx_cal_id.uir".
int cmdClose(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCommitTab(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCommitAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdReloadTab(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdReloadAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdChangeVal(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerCalIdCallbacks();

#endif
