// Input level units (see level_units.h).
#include "level_units.h"

#include <cmath>

namespace {

// Offset of each decibel unit from dBm at 50 ohm, in whole decibels: 0 dBm = -13 dBV = 47 dBmV = 107 dBuV.
// Index: unit code.
constexpr double DB_OFFSET[] = {0.0, 0.0, -13.0, 47.0, 107.0};
// 1 mW is 30 dB above 1 W.
constexpr double MILLIWATT_DB = 30.0;
constexpr double OHMS = 50.0;
constexpr double MW_PER_W = 1000.0;

bool isDecibel(int code) {
    return code >= LEVEL_UNIT_DBM && code <= LEVEL_UNIT_DBUV;
}

// The constant k of "level in the decibel unit = 10 lg(P / 1 W) + k": 30, 17, 77, 137.
double wattOffset(int code) {
    return MILLIWATT_DB + DB_OFFSET[code];
}

// Selector order: dBm, dBuV, dBmV, dBV, Volts, mW.
constexpr LevelUnitChoice CHOICES[LEVEL_UNIT_CHOICES] = {
    {LEVEL_UNIT_DBM, "(dBm)", 2}, {LEVEL_UNIT_DBUV, "(dBuV)", 2}, {LEVEL_UNIT_DBMV, "(dBmV)", 2},
    {LEVEL_UNIT_DBV, "(dBV)", 2}, {LEVEL_UNIT_VOLT, "(V)", 6},    {LEVEL_UNIT_MILLIWATT, "(mW)", 6},
};

}  // namespace

void convertLevel(int from, int to, double value, double* result) {
    if (from < LEVEL_UNIT_DBM || from > LEVEL_UNIT_MILLIWATT || to < LEVEL_UNIT_DBM ||
        to > LEVEL_UNIT_MILLIWATT)
        return;
    const double v = value;
    if (from == to) {
        *result = v;
    } else if (isDecibel(from) && isDecibel(to)) {
        *result = v + (DB_OFFSET[to] - DB_OFFSET[from]);
    } else if (isDecibel(from)) {
        const double watts = std::pow(10.0, (v - wattOffset(from)) / 10.0);
        *result = to == LEVEL_UNIT_VOLT ? std::sqrt(watts * OHMS) : watts * MW_PER_W;
    } else if (from == LEVEL_UNIT_VOLT) {
        // A negative RMS voltage is taken by its magnitude.
        if (isDecibel(to))
            *result = 10.0 * std::log10(std::pow(std::fabs(v), 2) / OHMS) + wattOffset(to);
        else
            *result = std::pow(v, 2) / OHMS * MW_PER_W;
    } else {  // milliwatts; 0 mW is minus infinity in the decibel units
        if (isDecibel(to))
            *result = 10.0 * std::log10(v / MW_PER_W) + wattOffset(to);
        else
            *result = std::sqrt(v / MW_PER_W * OHMS);
    }
}

const LevelUnitChoice* levelUnitOfChoice(int choice) {
    return choice >= 0 && choice < LEVEL_UNIT_CHOICES ? &CHOICES[choice] : nullptr;
}

int levelUnitChoiceOf(int code) {
    for (int i = 0; i < LEVEL_UNIT_CHOICES; ++i)
        if (CHOICES[i].code == code) return i;
    return -1;
}

int levelUnitPrecision(int code) {
    const int choice = levelUnitChoiceOf(code);
    return choice < 0 ? CHOICES[0].precision : CHOICES[choice].precision;
}

const char* levelUnitSuffix(int code) {
    const int choice = levelUnitChoiceOf(code);
    return choice < 0 ? CHOICES[0].suffix : CHOICES[choice].suffix;
}
