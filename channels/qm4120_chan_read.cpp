// Reading channel records from the module into the channel table: one field, one channel, one column, or
// the whole table with the list-mode lock of its edit controls.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app_state.h"
#include "level_units.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_cells.h"
#include "qm4120_chan_direct.h"
#include "qm4120_chan_uir.h"
#include "userint.h"

namespace {

constexpr uint16_t INPUT_SOURCE_RF = 1;
constexpr uint16_t LIST_ADDR_MANUAL = 0;

// Controls that change a channel or its settings: locked while hardware owns the active channel.
constexpr int LIST_MODE_LOCKED[] = {
    CHANPANEL_LISTLINK, CHANPANEL_AUTOFOCUS, CHANPANEL_CHANNEL, CHANPANEL_FREQ,    CHANPANEL_LOPOS,
    CHANPANEL_FRONTEND, CHANPANEL_RFLEVEL,   CHANPANEL_IFLEVEL, CHANPANEL_RFATTEN, CHANPANEL_IFATTEN,
};

bool ready(int channel) {
    return getChanPanel() > 0 && isActive4120() && channel >= 0 && channel < CHANNEL_COUNT;
}

int shownChannel() {
    short shown = -1;
    GetCtrlVal(getChanPanel(), CHANPANEL_CHANNEL, &shown);
    return shown;
}

void setDimmed(int control, bool dimmed) {
    SetCtrlAttribute(getChanPanel(), control, ATTR_DIMMED, dimmed ? 1 : 0);
}

void setBackground(int control, int colour) {
    SetCtrlAttribute(getChanPanel(), control, ATTR_TEXT_BGCOLOR, colour);
}

// Reads whose failure the operator is told about (they decide what may be edited).
uint16_t reportedRead(int32_t (*get)(uint32_t, uint16_t*), uint32_t session) {
    uint16_t value = 0;
    err4120(get(session, &value));
    return value;
}

// The unit the level cells are shown in; dBm when the module cannot say.
int displayUnit(uint32_t session) {
    uint16_t unit = LEVEL_UNIT_DBM;
    if (qm4120_getInputLevelDimensions(session, &unit) < 0) return LEVEL_UNIT_DBM;
    return unit;
}

// The frequency entry only matters for the RF input and while the program chooses the channel.
void applyFreqLook(uint16_t inputSource, uint16_t addrSource) {
    setDimmed(CHANPANEL_FREQ, !(inputSource == INPUT_SOURCE_RF && addrSource == LIST_ADDR_MANUAL));
}

// Which edit controls are in force for the shown channel's attenuator mode and the input in use: in the
// automatic modes the module picks attenuations from the levels, in manual mode the levels do not set the
// gain; only the input in use takes a level, and the RF attenuator does nothing for the IF input.
void applyFrontEndLook(uint16_t mode, uint16_t inputSource) {
    const bool rf = inputSource == INPUT_SOURCE_RF;
    const int levelColour = mode == 2 ? COLOUR_NO_EFFECT : COLOUR_EDITABLE;
    setBackground(CHANPANEL_RFLEVEL, levelColour);
    setBackground(CHANPANEL_IFLEVEL, levelColour);
    setDimmed(CHANPANEL_RFATTEN, mode == 0 || (mode == 1 && !rf));
    setDimmed(CHANPANEL_IFATTEN, mode != 2);
    setDimmed(CHANPANEL_RFLEVEL, !rf);
    setDimmed(CHANPANEL_IFLEVEL, rf);
    setBackground(CHANPANEL_RFATTEN, rf ? COLOUR_EDITABLE : COLOUR_NO_EFFECT);
}

void applyListModeLock(uint16_t addrSource) {
    for (int control : LIST_MODE_LOCKED) setDimmed(control, addrSource != LIST_ADDR_MANUAL);
}

// One channel's record as read, with what could be read.
struct Record {
    double hz = 0.0, loOffset = 0.0, rfLevel = 0.0, ifLevel = 0.0;
    uint16_t mode = 0;
    int32_t rfAtten = 0, ifAtten = 0;
    std::array<bool, CHAN_GRID_COLS> ok{};
};

Record readRecord(uint32_t session, int channel, int unit) {
    Record r;
    const auto ch = static_cast<uint16_t>(channel);
    r.ok[CHAN_COL_FREQ] = qm4120_getRfFrequencyChan(session, &r.hz, ch) >= 0;
    r.ok[CHAN_COL_LOPOS] = qm4120_getLoOffsetChan(session, &r.loOffset, ch) >= 0;
    r.ok[CHAN_COL_FRONTEND] = qm4120_getFrontEndConfigModeChan(session, &r.mode, ch) >= 0;
    r.ok[CHAN_COL_RFLEVEL] = qm4120_getRfInputLevelChan(session, &r.rfLevel, ch) >= 0;
    r.ok[CHAN_COL_IFLEVEL] = qm4120_getIfInputLevelChan(session, &r.ifLevel, ch) >= 0;
    r.ok[CHAN_COL_RFATTEN] = qm4120_getRfAttenuationChan(session, &r.rfAtten, ch) >= 0;
    r.ok[CHAN_COL_IFATTEN] = qm4120_getIfAttenuationChan(session, &r.ifAtten, ch) >= 0;
    convertLevel(LEVEL_UNIT_DBM, unit, r.rfLevel, &r.rfLevel);
    convertLevel(LEVEL_UNIT_DBM, unit, r.ifLevel, &r.ifLevel);
    return r;
}

// The row texts of a record; a field that could not be read keeps the text it had.
std::vector<std::string> rowTexts(int panel, int channel, const Record& r, bool sixDecimals) {
    std::vector<std::string> texts(CHAN_GRID_COLS);
    texts[CHAN_COL_CHANNEL] = std::to_string(channel);
    texts[CHAN_COL_FREQ] = chanFreqText(r.hz);
    texts[CHAN_COL_LOPOS] = chanLoPosText(r.loOffset >= 0.0);
    texts[CHAN_COL_FRONTEND] = chanFrontEndText(r.mode);
    texts[CHAN_COL_RFLEVEL] = chanLevelText(r.rfLevel, sixDecimals);
    texts[CHAN_COL_IFLEVEL] = chanLevelText(r.ifLevel, sixDecimals);
    texts[CHAN_COL_RFATTEN] = chanAttenText(r.rfAtten);
    texts[CHAN_COL_IFATTEN] = chanAttenText(r.ifAtten);
    for (int col = 1; col < CHAN_GRID_COLS; ++col)
        if (!r.ok[col]) GridGetCellText(panel, CHANPANEL_CHAN_GRID, channel + 1, col, &texts[col]);
    return texts;
}

void showInEditControls(int panel, const Record& r) {
    if (r.ok[CHAN_COL_FREQ]) SetCtrlVal(panel, CHANPANEL_FREQ, r.hz);
    if (r.ok[CHAN_COL_LOPOS]) SetCtrlVal(panel, CHANPANEL_LOPOS, r.loOffset >= 0.0 ? 1 : 0);
    if (r.ok[CHAN_COL_FRONTEND]) SetCtrlVal(panel, CHANPANEL_FRONTEND, static_cast<unsigned short>(r.mode));
    if (r.ok[CHAN_COL_RFLEVEL]) SetCtrlVal(panel, CHANPANEL_RFLEVEL, r.rfLevel);
    if (r.ok[CHAN_COL_IFLEVEL]) SetCtrlVal(panel, CHANPANEL_IFLEVEL, r.ifLevel);
    if (r.ok[CHAN_COL_RFATTEN]) SetCtrlVal(panel, CHANPANEL_RFATTEN, static_cast<int>(r.rfAtten));
    if (r.ok[CHAN_COL_IFATTEN]) SetCtrlVal(panel, CHANPANEL_IFATTEN, static_cast<int>(r.ifAtten));
}

void updateLevelFromHw(uint32_t session, int channel, int32_t (*get)(uint32_t, double*, uint16_t),
                       void (*direct)(double, int, int)) {
    if (!ready(channel)) return;
    double level = 0.0;
    if (get(session, &level, static_cast<uint16_t>(channel)) < 0) return;
    const int unit = displayUnit(session);
    convertLevel(LEVEL_UNIT_DBM, unit, level, &level);
    direct(level, channel, chanLevelCellsSixDecimals(unit) ? 1 : 0);
}

void updateAttenFromHw(uint32_t session, int channel, int32_t (*get)(uint32_t, int32_t*, uint16_t),
                       void (*direct)(int, int)) {
    if (!ready(channel)) return;
    int32_t dB = 0;
    if (get(session, &dB, static_cast<uint16_t>(channel)) >= 0) direct(dB, channel);
}

}  // namespace

void chanPanelUpdateFreqFromHw(uint32_t session, int channel) {
    if (!ready(channel)) return;
    double hz = 0.0;
    if (qm4120_getRfFrequencyChan(session, &hz, static_cast<uint16_t>(channel)) >= 0)
        chanPanelUpdateFreqDirect(hz, channel);
    const uint16_t source = reportedRead(qm4120_getInputSource, session);
    applyFreqLook(source, reportedRead(qm4120_getListAddrSource, session));
}

void chanPanelUpdateLoPosFromHw(uint32_t session, int channel) {
    if (!ready(channel)) return;
    double offset = 0.0;
    if (qm4120_getLoOffsetChan(session, &offset, static_cast<uint16_t>(channel)) >= 0)
        chanPanelUpdateLoPosDirect(offset >= 0.0 ? 1 : 0, channel);
}

void chanPanelUpdateFrontEndFromHw(uint32_t session, int channel) {
    if (!ready(channel)) return;
    uint16_t mode = 0;
    if (qm4120_getFrontEndConfigModeChan(session, &mode, static_cast<uint16_t>(channel)) < 0) return;
    chanPanelUpdateFrontEndDirect(mode, channel);
    if (reportedRead(qm4120_getListAddrSource, session) != LIST_ADDR_MANUAL || channel != shownChannel())
        return;
    applyFrontEndLook(mode, reportedRead(qm4120_getInputSource, session));
}

void chanPanelUpdateRfLevelFromHw(uint32_t session, int channel) {
    updateLevelFromHw(session, channel, qm4120_getRfInputLevelChan, chanPanelUpdateRfLevelDirect);
}

void chanPanelUpdateIfLevelFromHw(uint32_t session, int channel) {
    updateLevelFromHw(session, channel, qm4120_getIfInputLevelChan, chanPanelUpdateIfLevelDirect);
}

void chanPanelUpdateRfAttenFromHw(uint32_t session, int channel) {
    updateAttenFromHw(session, channel, qm4120_getRfAttenuationChan, chanPanelUpdateRfAttenDirect);
}

void chanPanelUpdateIfAttenFromHw(uint32_t session, int channel) {
    updateAttenFromHw(session, channel, qm4120_getIfAttenuationChan, chanPanelUpdateIfAttenDirect);
}

void chanPanelUpdateChanFromHw(uint32_t session, int channel) {
    chanPanelUpdateFreqFromHw(session, channel);
    chanPanelUpdateLoPosFromHw(session, channel);
    chanPanelUpdateFrontEndFromHw(session, channel);
    chanPanelUpdateRfLevelFromHw(session, channel);
    chanPanelUpdateIfLevelFromHw(session, channel);
    chanPanelUpdateRfAttenFromHw(session, channel);
    chanPanelUpdateIfAttenFromHw(session, channel);
}

namespace {

void updateColumn(void (*fromHw)(uint32_t, int)) {
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel) fromHw(getQM4120id(), channel);
}

}  // namespace

void chanPanelUpdateAllFreqFromHw() {
    updateColumn(chanPanelUpdateFreqFromHw);
}
void chanPanelUpdateAllLoPosFromHw() {
    updateColumn(chanPanelUpdateLoPosFromHw);
}
void chanPanelUpdateAllFrontEndFromHw() {
    updateColumn(chanPanelUpdateFrontEndFromHw);
}
void chanPanelUpdateAllRfLevelFromHw() {
    updateColumn(chanPanelUpdateRfLevelFromHw);
}
void chanPanelUpdateAllIfLevelFromHw() {
    updateColumn(chanPanelUpdateIfLevelFromHw);
}
void chanPanelUpdateAllRfAttenFromHw() {
    updateColumn(chanPanelUpdateRfAttenFromHw);
}
void chanPanelUpdateAllIfAttenFromHw() {
    updateColumn(chanPanelUpdateIfAttenFromHw);
}

// The whole table in one pass: the unit, the input source and the address source are the same for every
// channel, so they are read once; the 128 rows are built first and handed to the grid as one block.
void chanPanelUpdateAllFromHw() {
    const int panel = getChanPanel();
    if (panel <= 0 || !isActive4120()) return;
    const uint32_t session = getQM4120id();
    const uint16_t addrSource = reportedRead(qm4120_getListAddrSource, session);
    applyListModeLock(addrSource);
    const uint16_t inputSource = reportedRead(qm4120_getInputSource, session);
    const int unit = displayUnit(session);
    const bool sixDecimals = chanLevelCellsSixDecimals(unit);
    const int shown = shownChannel();

    std::vector<std::vector<std::string>> rows;
    rows.reserve(CHANNEL_COUNT);
    Record shownRecord;
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel) {
        const Record r = readRecord(session, channel, unit);
        rows.push_back(rowTexts(panel, channel, r, sixDecimals));
        if (channel == shown) shownRecord = r;
    }
    GridSetBlockTexts(panel, CHANPANEL_CHAN_GRID, 1, rows);

    if (shown < 0 || shown >= CHANNEL_COUNT) return;
    showInEditControls(panel, shownRecord);
    applyFreqLook(inputSource, addrSource);
    if (addrSource == LIST_ADDR_MANUAL && shownRecord.ok[CHAN_COL_FRONTEND])
        applyFrontEndLook(shownRecord.mode, inputSource);
}
