// Field accessors of a board identity page and the packed calibration date (see qm41xx_cal_id.h).
#include <cstdio>

#include "qm41xx_cal_id.h"
#include "qm41xx_cal_id_uir.h"
#include "userint.h"

namespace {

constexpr uint16_t YEAR_BASE = 1980;

struct DateControls {
    int year, month, day, hours, minutes, halfSeconds;
};
constexpr DateControls FIRSTCAL = {IDINFO_FIRSTCAL_YY,    IDINFO_FIRSTCAL_MM,   IDINFO_FIRSTCAL_DD,
                                   IDINFO_FIRSTCAL_HOURS, IDINFO_FIRSTCAL_MINS, IDINFO_FIRSTCAL_SECS};
constexpr DateControls LASTCAL = {IDINFO_LASTCAL_YY,    IDINFO_LASTCAL_MM,   IDINFO_LASTCAL_DD,
                                  IDINFO_LASTCAL_HOURS, IDINFO_LASTCAL_MINS, IDINFO_LASTCAL_SECS};

uint16_t shownNumber(int page, int control) {
    unsigned short value = 0;
    GetCtrlVal(page, control, &value);
    return value;
}

void showNumber(int page, int control, uint16_t value) {
    SetCtrlVal(page, control, static_cast<unsigned short>(value));
}

int setDate(int page, const DateControls& c, uint32_t packed) {
    const CalidDate d = calidUnpackDate(packed);
    showNumber(page, c.year, d.year);
    showNumber(page, c.month, d.month);
    showNumber(page, c.day, d.day);
    showNumber(page, c.hours, d.hours);
    showNumber(page, c.minutes, d.minutes);
    showNumber(page, c.halfSeconds, d.halfSeconds);
    return 1;
}

int getDate(int page, const DateControls& c, uint32_t* packed) {
    CalidDate d;
    d.year = shownNumber(page, c.year);
    d.month = shownNumber(page, c.month);
    d.day = shownNumber(page, c.day);
    d.hours = shownNumber(page, c.hours);
    d.minutes = shownNumber(page, c.minutes);
    d.halfSeconds = shownNumber(page, c.halfSeconds);
    *packed = calidPackDate(d);
    return 1;
}

int setText(int page, int control, const char* value) {
    SetCtrlVal(page, control, value ? value : "");
    return 1;
}

int getText(int page, int control, char* value) {
    GetCtrlVal(page, control, value, CALID_TEXT_LEN);
    return 1;
}

}  // namespace

uint32_t calidPackDate(const CalidDate& d) {
    const uint32_t year = static_cast<uint32_t>(d.year - YEAR_BASE) & 0x7Fu;
    return (year << 25) | ((d.month & 0xFu) << 21) | ((d.day & 0x1Fu) << 16) | ((d.hours & 0x1Fu) << 11) |
           ((d.minutes & 0x3Fu) << 5) | (d.halfSeconds & 0x1Fu);
}

CalidDate calidUnpackDate(uint32_t packed) {
    CalidDate d;
    d.year = static_cast<uint16_t>(YEAR_BASE + ((packed >> 25) & 0x7Fu));
    d.month = static_cast<uint16_t>((packed >> 21) & 0xFu);
    d.day = static_cast<uint16_t>((packed >> 16) & 0x1Fu);
    d.hours = static_cast<uint16_t>((packed >> 11) & 0x1Fu);
    d.minutes = static_cast<uint16_t>((packed >> 5) & 0x3Fu);
    d.halfSeconds = static_cast<uint16_t>(packed & 0x1Fu);
    return d;
}

int calidSetModstate(int page, uint32_t value) {
    showNumber(page, IDINFO_MODSTATE_MFGBOM, static_cast<uint16_t>(value & 0xFFFFu));
    showNumber(page, IDINFO_MODSTATE_SW, static_cast<uint16_t>(value >> 16));
    return 1;
}

int calidGetModstate(int page, uint32_t* value) {
    *value = (static_cast<uint32_t>(shownNumber(page, IDINFO_MODSTATE_SW)) << 16) |
             shownNumber(page, IDINFO_MODSTATE_MFGBOM);
    return 1;
}

int calidSetFirstcal(int page, uint32_t packed) {
    return setDate(page, FIRSTCAL, packed);
}
int calidGetFirstcal(int page, uint32_t* packed) {
    return getDate(page, FIRSTCAL, packed);
}
int calidSetLastcal(int page, uint32_t packed) {
    return setDate(page, LASTCAL, packed);
}
int calidGetLastcal(int page, uint32_t* packed) {
    return getDate(page, LASTCAL, packed);
}

int calidSetReworkCount(int page, uint16_t value) {
    showNumber(page, IDINFO_REWORK, value);
    return 1;
}
int calidGetReworkCount(int page, uint16_t* value) {
    *value = shownNumber(page, IDINFO_REWORK);
    return 1;
}
int calidSetCalScheme(int page, uint16_t value) {
    showNumber(page, IDINFO_CALSCHEME, value);
    return 1;
}
int calidGetCalScheme(int page, uint16_t* value) {
    *value = shownNumber(page, IDINFO_CALSCHEME);
    return 1;
}

int calidSetTypeno(int page, const char* value) {
    return setText(page, IDINFO_TYPENO, value);
}
int calidGetTypeno(int page, char* value) {
    return getText(page, IDINFO_TYPENO, value);
}
int calidSetSerialno(int page, const char* value) {
    return setText(page, IDINFO_SERIALNO, value);
}
int calidGetSerialno(int page, char* value) {
    return getText(page, IDINFO_SERIALNO, value);
}
int calidSetBuildstate(int page, const char* value) {
    return setText(page, IDINFO_BUILDSTATE, value);
}
int calidGetBuildstate(int page, char* value) {
    return getText(page, IDINFO_BUILDSTATE, value);
}
int calidSetInfostring(int page, const char* value) {
    // A text box adds what it is given to what it holds; the record's text replaces it.
    ResetTextBox(page, IDINFO_INFOSTRING, value ? value : "");
    return 1;
}
int calidGetInfostring(int page, char* value) {
    return getText(page, IDINFO_INFOSTRING, value);
}
