// Direct updates of the channel table (see qm4120_chan_direct.h).
#include "qm4120_chan_direct.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app_state.h"
#include "level_units.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_cells.h"
#include "qm4120_chan_uir.h"
#include "userint.h"

namespace {

bool validChannel(int channel) {
    return channel >= 0 && channel < CHANNEL_COUNT;
}

// True when the edit controls show `channel`.
bool showsChannel(int panel, int channel) {
    short shown = -1;
    GetCtrlVal(panel, CHANPANEL_CHANNEL, &shown);
    return shown == channel;
}

void setCell(int panel, int channel, int col, const std::string& text) {
    GridSetCellText(panel, CHANPANEL_CHAN_GRID, channel + 1, col, text.c_str());
}

void updateLevel(int col, int control, double level, int channel, int sixDecimals) {
    const int panel = getChanPanel();
    if (panel <= 0 || !validChannel(channel)) return;
    setCell(panel, channel, col, chanLevelText(level, sixDecimals != 0));
    if (showsChannel(panel, channel)) SetCtrlVal(panel, control, level);
}

void updateAtten(int col, int control, int dB, int channel) {
    const int panel = getChanPanel();
    if (panel <= 0 || !validChannel(channel)) return;
    setCell(panel, channel, col, chanAttenText(dB));
    if (showsChannel(panel, channel)) SetCtrlVal(panel, control, dB);
}

// The unit the module holds; dBm while none is booted or the read fails.
int moduleLevelUnit() {
    uint16_t unit = LEVEL_UNIT_DBM;
    if (!isActive4120() || qm4120_getInputLevelDimensions(getQM4120id(), &unit) < 0) return LEVEL_UNIT_DBM;
    return unit;
}

}  // namespace

void chanPanelUpdateFreqDirect(double hz, int channel) {
    const int panel = getChanPanel();
    if (panel <= 0 || !validChannel(channel)) return;
    setCell(panel, channel, CHAN_COL_FREQ, chanFreqText(hz));
    if (showsChannel(panel, channel)) SetCtrlVal(panel, CHANPANEL_FREQ, hz);
}

void chanPanelUpdateLoPosDirect(int above, int channel) {
    const int panel = getChanPanel();
    if (panel <= 0 || !validChannel(channel)) return;
    setCell(panel, channel, CHAN_COL_LOPOS, chanLoPosText(above != 0));
    if (showsChannel(panel, channel)) SetCtrlVal(panel, CHANPANEL_LOPOS, above ? 1 : 0);
}

void chanPanelUpdateFrontEndDirect(int mode, int channel) {
    const int panel = getChanPanel();
    if (panel <= 0 || !validChannel(channel) || mode < 0 || mode > 2) return;
    setCell(panel, channel, CHAN_COL_FRONTEND, chanFrontEndText(mode));
    if (showsChannel(panel, channel))
        SetCtrlVal(panel, CHANPANEL_FRONTEND, static_cast<unsigned short>(mode));
}

void chanPanelUpdateRfLevelDirect(double level, int channel, int sixDecimals) {
    updateLevel(CHAN_COL_RFLEVEL, CHANPANEL_RFLEVEL, level, channel, sixDecimals);
}

void chanPanelUpdateIfLevelDirect(double level, int channel, int sixDecimals) {
    updateLevel(CHAN_COL_IFLEVEL, CHANPANEL_IFLEVEL, level, channel, sixDecimals);
}

void chanPanelUpdateRfAttenDirect(int dB, int channel) {
    updateAtten(CHAN_COL_RFATTEN, CHANPANEL_RFATTEN, dB, channel);
}

void chanPanelUpdateIfAttenDirect(int dB, int channel) {
    updateAtten(CHAN_COL_IFATTEN, CHANPANEL_IFATTEN, dB, channel);
}

// The edit-range panel's frequency and level entries share the table's limits and steps (its level
// entries stay in dBm, so only their step follows).
namespace {

void setOnBothPanels(int chanControl, int editAllControl, int attribute, double value) {
    if (getChanPanel() > 0) SetCtrlAttribute(getChanPanel(), chanControl, attribute, value);
    if (getEditAllPanel() > 0) SetCtrlAttribute(getEditAllPanel(), editAllControl, attribute, value);
}

}  // namespace

void chanPanelSetFrequencyMin(double hz) {
    setOnBothPanels(CHANPANEL_FREQ, CHEDITALL_FREQ, ATTR_MIN_VALUE, hz);
}

void chanPanelSetFrequencyMax(double hz) {
    setOnBothPanels(CHANPANEL_FREQ, CHEDITALL_FREQ, ATTR_MAX_VALUE, hz);
}

void chanPanelFreqStep(double hz, const char*) {
    setOnBothPanels(CHANPANEL_FREQ, CHEDITALL_FREQ, ATTR_INCR_VALUE, hz);
}

void chanPanelLevelStep(double dB, const char*) {
    setOnBothPanels(CHANPANEL_RFLEVEL, CHEDITALL_RFLEVEL, ATTR_INCR_VALUE, dB);
    setOnBothPanels(CHANPANEL_IFLEVEL, CHEDITALL_IFLEVEL, ATTR_INCR_VALUE, dB);
}

void chanPanelUpdateUnits() {
    const int panel = getChanPanel();
    if (panel <= 0) return;
    // The suffix carries its brackets: "(dBm)".
    const std::string unit = levelUnitSuffix(moduleLevelUnit());
    const std::string header = "^Chan|^Freq (Hz)|^LO Position|^Atten Config|^RF Level" + unit + "|^IF Level" +
                               unit + "|^RF Atten(dB)|^IF Atten(dB)";
    GridSetFormatString(panel, CHANPANEL_CHAN_GRID, header.c_str());
    SetCtrlAttribute(panel, CHANPANEL_RFLEVEL, ATTR_LABEL_TEXT, ("RF Level " + unit + ":").c_str());
    SetCtrlAttribute(panel, CHANPANEL_IFLEVEL, ATTR_LABEL_TEXT, ("IF Level " + unit + ":").c_str());
    // The limits change unit too; every level cell is shown again in the new unit.
    chanPanelUpdateInputLevelRange();
    chanPanelUpdateAllFromHw();
}

void chanPanelUpdateInputLevelRange() {
    const int panel = getChanPanel();
    if (panel <= 0 || !isActive4120()) return;
    const uint32_t session = getQM4120id();
    const int unit = moduleLevelUnit();
    struct Limits {
        int control;
        int32_t (*min)(uint32_t, double*);
        int32_t (*max)(uint32_t, double*);
    };
    const Limits LIMITS[] = {
        {CHANPANEL_RFLEVEL, qm4120_getRfInputLevelMin, qm4120_getRfInputLevelMax},
        {CHANPANEL_IFLEVEL, qm4120_getIfInputLevelMin, qm4120_getIfInputLevelMax},
    };
    for (const Limits& l : LIMITS) {
        double lo = 0.0;
        double hi = 0.0;
        if (l.min(session, &lo) < 0 || l.max(session, &hi) < 0) continue;
        convertLevel(LEVEL_UNIT_DBM, unit, lo, &lo);
        convertLevel(LEVEL_UNIT_DBM, unit, hi, &hi);
        SetCtrlAttribute(panel, l.control, ATTR_CHECK_RANGE, VAL_IGNORE_RANGE);
        SetCtrlAttribute(panel, l.control, ATTR_MIN_VALUE, lo);
        SetCtrlAttribute(panel, l.control, ATTR_MAX_VALUE, hi);
        SetCtrlAttribute(panel, l.control, ATTR_PRECISION, levelUnitPrecision(unit));
        SetCtrlAttribute(panel, l.control, ATTR_CHECK_RANGE, VAL_COERCE_RANGE);
    }
}
