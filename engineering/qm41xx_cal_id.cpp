#include "qm41xx_cal_id.h"

#include <vector>

#include "app_state.h"
#include "qm41xx_cal_id_uir.h"
#include "userint.h"

namespace {

constexpr const char* CAL_ID_UIR = "qm41xx_cal_id.uir";

struct CalidState {
    int panel = 0;
    CalidChangeCallback callback = nullptr;
    std::vector<int> pages;  // page panel handles, in tab order
};
CalidState calid;

struct FieldControl {
    int control;
    int field;
};
// Every control of a page that holds (part of) a field.
constexpr FieldControl FIELD_CONTROLS[] = {
    {IDINFO_MODSTATE_MFGBOM, CALID_FIELD_MODSTATE},
    {IDINFO_MODSTATE_SW, CALID_FIELD_MODSTATE},
    {IDINFO_FIRSTCAL_YY, CALID_FIELD_FIRSTCAL},
    {IDINFO_FIRSTCAL_MM, CALID_FIELD_FIRSTCAL},
    {IDINFO_FIRSTCAL_DD, CALID_FIELD_FIRSTCAL},
    {IDINFO_FIRSTCAL_HOURS, CALID_FIELD_FIRSTCAL},
    {IDINFO_FIRSTCAL_MINS, CALID_FIELD_FIRSTCAL},
    {IDINFO_FIRSTCAL_SECS, CALID_FIELD_FIRSTCAL},
    {IDINFO_LASTCAL_YY, CALID_FIELD_LASTCAL},
    {IDINFO_LASTCAL_MM, CALID_FIELD_LASTCAL},
    {IDINFO_LASTCAL_DD, CALID_FIELD_LASTCAL},
    {IDINFO_LASTCAL_HOURS, CALID_FIELD_LASTCAL},
    {IDINFO_LASTCAL_MINS, CALID_FIELD_LASTCAL},
    {IDINFO_LASTCAL_SECS, CALID_FIELD_LASTCAL},
    {IDINFO_REWORK, CALID_FIELD_REWORK},
    {IDINFO_CALSCHEME, CALID_FIELD_CALSCHEME},
    {IDINFO_TYPENO, CALID_FIELD_TYPENO},
    {IDINFO_SERIALNO, CALID_FIELD_SERIALNO},
    {IDINFO_BUILDSTATE, CALID_FIELD_BUILDSTATE},
    {IDINFO_INFOSTRING, CALID_FIELD_INFOSTRING},
};

void raise(int operation, int page, int field) {
    if (calid.callback) calid.callback(operation, page, field);
}

}  // namespace

int calidPanelInit(CalidChangeCallback callback) {
    calid = CalidState{};
    calid.callback = callback;
    const int panel = LoadPanel(0, CAL_ID_UIR, IDPANEL);
    if (panel < 0) return 0;
    calid.panel = panel;
    return 1;
}

int calidPanelAddTab(const char* label) {
    if (calid.panel <= 0 || static_cast<int>(calid.pages.size()) >= CALID_MAX_PAGES) return -1;
    int count = 0;
    if (GetNumTabPages(calid.panel, IDPANEL_IDTAB, &count) < 0) return -1;
    const int page = LoadPanel(calid.panel, CAL_ID_UIR, IDINFO);
    if (page < 0) return -1;
    const int index = InsertPanelAsTabPage(calid.panel, IDPANEL_IDTAB, -1, page);
    if (index < 0) {
        DiscardPanel(page);
        return -1;
    }
    SetTabPageAttribute(calid.panel, IDPANEL_IDTAB, index, ATTR_LABEL_TEXT, label ? label : "");
    calid.pages.push_back(page);
    return page;
}

void calidPanelShow() {
    if (calid.panel <= 0) return;
    // The records on the boards may have changed since the panel was last shown.
    raise(CALID_RELOAD_ALL, 0, 0);
    DisplayPanel(calid.panel);
}

void calidPanelHide() {
    if (calid.panel > 0) HidePanel(calid.panel);
}

void calidPanelDiscard() {
    if (calid.panel > 0) DiscardPanel(calid.panel);
    calid.panel = 0;
    calid.pages.clear();
}

int calidPanelHandle() {
    return calid.panel;
}

int calidPanelPageCount() {
    return static_cast<int>(calid.pages.size());
}

int calidPanelActivePage() {
    int page = -1;
    if (calid.panel <= 0 || GetActiveTabPage(calid.panel, IDPANEL_IDTAB, &page) < 0) return -1;
    return page;
}

int calidPanelPageHandle(int index) {
    if (index < 0 || index >= static_cast<int>(calid.pages.size())) return -1;
    return calid.pages[static_cast<size_t>(index)];
}

int calidFieldOfControl(int control) {
    for (const FieldControl& fc : FIELD_CONTROLS)
        if (fc.control == control) return fc.field;
    return -1;
}

int cmdClose(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) raise(CALID_CLOSE, 0, 0);
    return 0;
}

int cmdCommitTab(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) raise(CALID_COMMIT_PAGE, calidPanelActivePage(), 0);
    return 0;
}

int cmdCommitAll(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) raise(CALID_COMMIT_ALL, 0, 0);
    return 0;
}

int cmdReloadTab(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) raise(CALID_RELOAD_PAGE, calidPanelActivePage(), 0);
    return 0;
}

int cmdReloadAll(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) raise(CALID_RELOAD_ALL, 0, 0);
    return 0;
}

int cmdChangeVal(int, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const int field = calidFieldOfControl(control);
    if (field >= 0) raise(CALID_FIELD_CHANGED, calidPanelActivePage(), field);
    return 0;
}

void registerCalIdCallbacks() {
    registerStateReset([] { calid = CalidState{}; });
    RegisterCtrlCallback("cmdClose", cmdClose);
    RegisterCtrlCallback("cmdCommitTab", cmdCommitTab);
    RegisterCtrlCallback("cmdCommitAll", cmdCommitAll);
    RegisterCtrlCallback("cmdReloadTab", cmdReloadTab);
    RegisterCtrlCallback("cmdReloadAll", cmdReloadAll);
    RegisterCtrlCallback("cmdChangeVal", cmdChangeVal);
}
