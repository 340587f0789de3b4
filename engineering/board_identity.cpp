// The application's side of the board identity panel: each page stands for one board of the module, and
// each request moves fields between that page and the instrument library's copy of the board's record.
#include "board_identity.h"

#include <ctime>

#include "app_state.h"
#include "qm4120.h"
#include "qm41xx_cal_id.h"
#include "userint.h"

namespace {

// One board's record operations.
struct BoardOps {
    int32_t (*setModstate)(uint32_t, uint32_t);
    int32_t (*getModstate)(uint32_t, uint32_t*);
    int32_t (*setFirstCal)(uint32_t, uint32_t);
    int32_t (*getFirstCal)(uint32_t, uint32_t*);
    int32_t (*setLastCal)(uint32_t, uint32_t);
    int32_t (*getLastCal)(uint32_t, uint32_t*);
    int32_t (*setRework)(uint32_t, uint16_t);
    int32_t (*getRework)(uint32_t, uint16_t*);
    int32_t (*setCalScheme)(uint32_t, uint16_t);
    int32_t (*getCalScheme)(uint32_t, uint16_t*);
    int32_t (*setTypeNo)(uint32_t, const char*);
    int32_t (*getTypeNo)(uint32_t, char*);
    int32_t (*setSerial)(uint32_t, const char*);
    int32_t (*getSerial)(uint32_t, char*);
    int32_t (*setBuildState)(uint32_t, const char*);
    int32_t (*getBuildState)(uint32_t, char*);
    int32_t (*setInfo)(uint32_t, const char*);
    int32_t (*getInfo)(uint32_t, char*);
    int32_t (*commit)(uint32_t, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t);
    int32_t (*abort)(uint32_t);
};

#define QM_BOARD_OPS(Board)                                                                        \
    BoardOps {                                                                                     \
        qm4120_cal_Id_##Board##_ModstateValue, qm4120_cal_Id_##Board##_ModstateValueQuery,         \
            qm4120_cal_Id_##Board##_FirstCalValue, qm4120_cal_Id_##Board##_FirstCalValueQuery,     \
            qm4120_cal_Id_##Board##_LastCalValue, qm4120_cal_Id_##Board##_LastCalValueQuery,       \
            qm4120_cal_Id_##Board##_ReworkValue, qm4120_cal_Id_##Board##_ReworkValueQuery,         \
            qm4120_cal_Id_##Board##_CalSchemeValue, qm4120_cal_Id_##Board##_CalSchemeValueQuery,   \
            qm4120_cal_Id_##Board##_TypeNoValue, qm4120_cal_Id_##Board##_TypeNoValueQuery,         \
            qm4120_cal_Id_##Board##_SerialValue, qm4120_cal_Id_##Board##_SerialValueQuery,         \
            qm4120_cal_Id_##Board##_BuildStateValue, qm4120_cal_Id_##Board##_BuildStateValueQuery, \
            qm4120_cal_Id_##Board##_InfoValue, qm4120_cal_Id_##Board##_InfoValueQuery,             \
            qm4120_cal_Id_##Board##_Commit, qm4120_cal_Id_##Board##_Abort                          \
    }

// Pages in the order start-up adds them: control, IF and RF board.
const BoardOps BOARDS[] = {QM_BOARD_OPS(Control), QM_BOARD_OPS(If), QM_BOARD_OPS(Rf)};
constexpr int BOARD_COUNT = 3;

#undef QM_BOARD_OPS

const BoardOps* boardOfPage(int pageIndex) {
    return pageIndex >= 0 && pageIndex < BOARD_COUNT ? &BOARDS[pageIndex] : nullptr;
}

// A read's status goes to the operator; only a value that was read reaches the page.
bool reported(int32_t status) {
    err4120(status);
    return status >= 0;
}

// Instrument to page.
void readField(const BoardOps& b, int page, int field) {
    const uint32_t s = getQM4120id();
    uint32_t word = 0;
    uint16_t number = 0;
    char text[CALID_TEXT_LEN] = {};
    switch (field) {
        case CALID_FIELD_MODSTATE:
            if (reported(b.getModstate(s, &word))) calidSetModstate(page, word);
            break;
        case CALID_FIELD_FIRSTCAL:
            if (reported(b.getFirstCal(s, &word))) calidSetFirstcal(page, word);
            break;
        case CALID_FIELD_LASTCAL:
            if (reported(b.getLastCal(s, &word))) calidSetLastcal(page, word);
            break;
        case CALID_FIELD_REWORK:
            if (reported(b.getRework(s, &number))) calidSetReworkCount(page, number);
            break;
        case CALID_FIELD_CALSCHEME:
            if (reported(b.getCalScheme(s, &number))) calidSetCalScheme(page, number);
            break;
        case CALID_FIELD_TYPENO:
            if (reported(b.getTypeNo(s, text))) calidSetTypeno(page, text);
            break;
        case CALID_FIELD_SERIALNO:
            if (reported(b.getSerial(s, text))) calidSetSerialno(page, text);
            break;
        case CALID_FIELD_BUILDSTATE:
            if (reported(b.getBuildState(s, text))) calidSetBuildstate(page, text);
            break;
        case CALID_FIELD_INFOSTRING:
            if (reported(b.getInfo(s, text))) calidSetInfostring(page, text);
            break;
        default:
            break;
    }
}

// Page to instrument: the library's working copy of the record, not yet the board.
void writeField(const BoardOps& b, int page, int field) {
    const uint32_t s = getQM4120id();
    uint32_t word = 0;
    uint16_t number = 0;
    char text[CALID_TEXT_LEN] = {};
    switch (field) {
        case CALID_FIELD_MODSTATE:
            calidGetModstate(page, &word);
            err4120(b.setModstate(s, word));
            break;
        case CALID_FIELD_FIRSTCAL:
            calidGetFirstcal(page, &word);
            err4120(b.setFirstCal(s, word));
            break;
        case CALID_FIELD_LASTCAL:
            calidGetLastcal(page, &word);
            err4120(b.setLastCal(s, word));
            break;
        case CALID_FIELD_REWORK:
            calidGetReworkCount(page, &number);
            err4120(b.setRework(s, number));
            break;
        case CALID_FIELD_CALSCHEME:
            calidGetCalScheme(page, &number);
            err4120(b.setCalScheme(s, number));
            break;
        case CALID_FIELD_TYPENO:
            calidGetTypeno(page, text);
            err4120(b.setTypeNo(s, text));
            break;
        case CALID_FIELD_SERIALNO:
            calidGetSerialno(page, text);
            err4120(b.setSerial(s, text));
            break;
        case CALID_FIELD_BUILDSTATE:
            calidGetBuildstate(page, text);
            err4120(b.setBuildState(s, text));
            break;
        case CALID_FIELD_INFOSTRING:
            calidGetInfostring(page, text);
            err4120(b.setInfo(s, text));
            break;
        default:
            break;
    }
}

// Fields move only while a module is booted; the dialogs and the cursor show all the same.
void transferField(int pageIndex, int field, bool toInstrument) {
    const BoardOps* board = boardOfPage(pageIndex);
    const int page = calidPanelPageHandle(pageIndex);
    if (!board || page <= 0 || !isActive4120()) return;
    if (toInstrument)
        writeField(*board, page, field);
    else
        readField(*board, page, field);
}

void commitPage(int pageIndex, bool ask) {
    if (ask && !ConfirmPopup("Confirm Action", "COMMIT currently displayed page.\n\nAre you sure?")) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    for (int field = CALID_FIELD_MODSTATE; field <= CALID_FIELD_INFOSTRING; ++field)
        transferField(pageIndex, field, true);
    const BoardOps* board = boardOfPage(pageIndex);
    int32_t status = 0;
    if (board && isActive4120())
        status = board->commit(getQM4120id(), static_cast<int16_t>(local.tm_year + 1900),
                               static_cast<int16_t>(local.tm_mon + 1), static_cast<int16_t>(local.tm_mday),
                               static_cast<int16_t>(local.tm_hour), static_cast<int16_t>(local.tm_min),
                               static_cast<int16_t>(local.tm_sec));
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    err4120(status);
}

void reloadPage(int pageIndex) {
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    const BoardOps* board = boardOfPage(pageIndex);
    // Abort drops the edits the library holds for this board, so what follows is the stored record.
    if (board && isActive4120()) err4120(board->abort(getQM4120id()));
    for (int field = CALID_FIELD_MODSTATE; field <= CALID_FIELD_INFOSTRING; ++field)
        transferField(pageIndex, field, false);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
}

}  // namespace

void boardIdentityChanged(int operation, int page, int field) {
    switch (operation) {
        case CALID_CLOSE:
            calidPanelHide();
            break;
        case CALID_COMMIT_PAGE:
            commitPage(page, true);
            break;
        case CALID_COMMIT_ALL:
            if (!ConfirmPopup("Confirm Action", "COMMIT all pages.\n\nAre you sure?")) break;
            for (int board = 0; board < BOARD_COUNT; ++board) commitPage(board, false);
            break;
        case CALID_RELOAD_PAGE:
            reloadPage(page);
            break;
        case CALID_RELOAD_ALL:
            for (int board = 0; board < BOARD_COUNT; ++board) reloadPage(board);
            break;
        case CALID_FIELD_CHANGED:
            transferField(page, field, true);
            break;
        default:
            break;
    }
}
