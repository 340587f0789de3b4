// Level conversions worked out for the tests on their own road: every unit goes to dBm and back out
// again, with the module's whole-decibel convention (0 dBm = -13 dBV = 47 dBmV = 107 dBuV) and a 50 ohm
// load for volts, and milliwatts as the plain power ratio.
#ifndef QM_TESTS_PANEL_LEVEL_REFERENCE_H
#define QM_TESTS_PANEL_LEVEL_REFERENCE_H

#include <cmath>

namespace reference {

enum Unit { DBM = 1, DBV, DBMV, DBUV, VOLT, MILLIWATT };

inline double toDbm(int unit, double v) {
    switch (unit) {
        case DBM:
            return v;
        case DBV:
            return v + 13;
        case DBMV:
            return v - 47;
        case DBUV:
            return v - 107;
        case VOLT:  // P = V^2 / 50 ohm, in dB above 1 mW
            return 10 * std::log10(v * v / 50 * 1000);
        default:  // MILLIWATT
            return 10 * std::log10(v);
    }
}

inline double fromDbm(int unit, double dBm) {
    switch (unit) {
        case DBM:
            return dBm;
        case DBV:
            return dBm - 13;
        case DBMV:
            return dBm + 47;
        case DBUV:
            return dBm + 107;
        case VOLT:
            return std::sqrt(std::pow(10, dBm / 10) / 1000 * 50);
        default:
            return std::pow(10, dBm / 10);
    }
}

inline double convert(int from, int to, double v) {
    return fromDbm(to, toDbm(from, v));
}

}  // namespace reference

#endif
