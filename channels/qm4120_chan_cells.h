// Texts of the channel table's cells, shared by everything that writes a row: the grid shows text, so a
// value read from the module and a value the main panel has just applied must come out the same.
#ifndef QM_CHANNELS_QM4120_CHAN_CELLS_H
#define QM_CHANNELS_QM4120_CHAN_CELLS_H

#include <charconv>
#include <string>
#include <system_error>

#include "level_units.h"

enum ChanGridColumn {
    CHAN_COL_CHANNEL = 0,
    CHAN_COL_FREQ,
    CHAN_COL_LOPOS,
    CHAN_COL_FRONTEND,
    CHAN_COL_RFLEVEL,
    CHAN_COL_IFLEVEL,
    CHAN_COL_RFATTEN,
    CHAN_COL_IFATTEN,
};

// `value` with a fixed number of decimals (a full table refresh formats some 900 numbers at once).
inline std::string chanCellNumber(double value, int decimals) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "";
    return std::string(text, end);
}

// Whole hertz.
inline std::string chanFreqText(double hz) {
    return chanCellNumber(hz, 0);
}

// An LO offset of zero or more puts the LO above the RF frequency.
inline const char* chanLoPosText(bool above) {
    return above ? "Above" : "Below";
}

// Attenuator configuration mode 0..2; empty for a mode the module never reports.
inline const char* chanFrontEndText(int mode) {
    static const char* const TEXT[] = {"Auto", "Auto IF", "Manual"};
    return mode >= 0 && mode < 3 ? TEXT[mode] : "";
}

// A level in the display unit: milliwatts need six decimals, every other unit shows two.
inline std::string chanLevelText(double level, bool sixDecimals) {
    return chanCellNumber(level, sixDecimals ? 6 : 2);
}

inline bool chanLevelCellsSixDecimals(int unit) {
    return unit == LEVEL_UNIT_MILLIWATT;
}

inline std::string chanAttenText(int dB) {
    return std::to_string(dB);
}

#endif
