#include "qm4120_chan.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_lm.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr const char* CHAN_UIR = "qm4120_chan.uir";
constexpr const char* GRID_HEADER_DBM =
    "^Chan|^Freq (Hz)|^LO Position|^Atten Config|^RF Level(dBm)|^IF Level(dBm)|^RF Atten(dB)|^IF Atten(dB)";
// Field columns are 1300 twips wide: about 87 pixels on a 96 dpi screen.
constexpr int FIELD_COLUMN_PIXELS = 87;
constexpr int GRID_ROW_PIXELS = 20;     // height of one grid row, for judging what is on screen
constexpr int SCROLL_CONTEXT_ROWS = 4;  // rows kept above a row scrolled into view

struct ChanPanelState {
    int panel = 0;
    int mainPanel = 0;
    int stepPanel = 0;
    int editAllPanel = 0;
    bool link = false;  // selecting a row also makes it the main panel's active channel
};
ChanPanelState chan;

// Edit control that takes the focus for a click in each grid column.
constexpr int FOCUS_FOR_COLUMN[CHAN_GRID_COLS] = {
    CHANPANEL_CHANNEL, CHANPANEL_FREQ,    CHANPANEL_LOPOS,   CHANPANEL_FRONTEND,
    CHANPANEL_RFLEVEL, CHANPANEL_IFLEVEL, CHANPANEL_RFATTEN, CHANPANEL_IFATTEN,
};

std::vector<std::string> preBootRow(int channel) {
    return {std::to_string(channel), "2000000000", "Above", "Auto", "0.00", "0.00", "0", "0"};
}

void prepareGrid() {
    const int panel = chan.panel;
    GridAllowColumnResize(panel, CHANPANEL_CHAN_GRID, 1);
    GridSetSize(panel, CHANPANEL_CHAN_GRID, CHAN_GRID_ROWS, CHAN_GRID_COLS);
    GridSetFormatString(panel, CHANPANEL_CHAN_GRID, GRID_HEADER_DBM);
    for (int col = 1; col < CHAN_GRID_COLS; ++col)
        GridSetColWidth(panel, CHANPANEL_CHAN_GRID, col, FIELD_COLUMN_PIXELS);
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel)
        GridSetRowTexts(panel, CHANPANEL_CHAN_GRID, channel + 1, preBootRow(channel));
}

// Number of data rows the grid shows at once.
int visibleRows() {
    int height = 0;
    GetCtrlAttribute(chan.panel, CHANPANEL_CHAN_GRID, ATTR_HEIGHT, &height);
    return std::max(1, height / GRID_ROW_PIXELS - 1);
}

int mainPanelChannel() {
    int channel = 0;
    if (chan.mainPanel > 0) GetCtrlVal(chan.mainPanel, MAINPANEL_CHANNEL, &channel);
    return channel;
}

}  // namespace

int chanPanelInit() {
    chan = ChanPanelState{};
    chan.mainPanel = getMainPanel();
    chan.stepPanel = getStepPanel();
    const int panel = LoadPanel(0, CHAN_UIR, CHANPANEL);
    if (panel < 0) {
        chan.panel = 0;
        return 0;
    }
    chan.panel = panel;
    if (!chanEditAllPanelInit()) {
        chanPanelDiscard();
        return 0;
    }
    if (!chanLmPanelInit()) {
        chanEditAllPanelDiscard();
        chanPanelDiscard();
        return 0;
    }
    chan.editAllPanel = getEditAllPanel();
    GridSetSelChangeCallback(panel, CHANPANEL_CHAN_GRID, chanGridOnSelChange, nullptr);
    prepareGrid();
    chanPanelSelectChan(mainPanelChannel(), 0);
    chanEditAllPanelInitPreBoot();
    return 1;
}

void chanPanelInitPostBoot() {
    if (!chan.panel) return;
    uint16_t available = 0;
    // A module without list mode gets no button for it.
    const bool listMode = qm4120_getListModeAvailable(getQM4120id(), &available) >= 0 && available != 0;
    SetCtrlAttribute(chan.panel, CHANPANEL_LMODE, ATTR_VISIBLE, listMode ? 1 : 0);
    chanPanelSelectChan(mainPanelChannel(), 0);
    chanPanelUpdateAllFromHw();
    chanEditAllPanelInitPostBoot();
    chanLmPanelInitPostBoot();
}

void chanPanelShow() {
    if (!chan.panel) chanPanelInit();
    if (chan.panel) DisplayPanel(chan.panel);
}

void chanPanelHide() {
    if (chan.panel) HidePanel(chan.panel);
}

void chanPanelDiscard() {
    chanLmPanelDiscard();
    chanEditAllPanelDiscard();
    if (chan.panel) DiscardPanel(chan.panel);
    chan.panel = 0;
}

int getChanPanel() {
    return chan.panel;
}

void chanPanelSelectChan(int channel, int notifyMain) {
    if (!chan.panel) return;
    channel = std::clamp(channel, 0, CHANNEL_COUNT - 1);
    const int row = channel + 1;
    GridSetSelection(chan.panel, CHANPANEL_CHAN_GRID, row, 1);
    int top = 1;
    GridGetTopRow(chan.panel, CHANPANEL_CHAN_GRID, &top);
    if (row < top || row >= top + visibleRows())
        GridSetTopRow(chan.panel, CHANPANEL_CHAN_GRID, std::max(1, row - SCROLL_CONTEXT_ROWS));

    SetCtrlVal(chan.panel, CHANPANEL_CHANNEL, static_cast<short>(channel));
    chanPanelUpdateChanFromHw(getQM4120id(), channel);

    if (notifyMain && chan.link && chan.mainPanel > 0) {
        SetCtrlVal(chan.mainPanel, MAINPANEL_CHANNEL, static_cast<short>(channel));
        int dimmed = 0;
        GetCtrlAttribute(chan.mainPanel, MAINPANEL_CHANNEL, ATTR_DIMMED, &dimmed);
        if (!dimmed) CallCtrlCallback(chan.mainPanel, MAINPANEL_CHANNEL, EVENT_COMMIT, 0, 0, nullptr);
    }
}

void chanGridOnSelChange(int, int, int row, int col, void*) {
    if (row < 1) row = 1;
    chanPanelSelectChan(row - 1, 1);
    int autoFocus = 0;
    int autoFocusDimmed = 0;
    GetCtrlVal(chan.panel, CHANPANEL_AUTOFOCUS, &autoFocus);
    GetCtrlAttribute(chan.panel, CHANPANEL_AUTOFOCUS, ATTR_DIMMED, &autoFocusDimmed);
    if (!autoFocus || autoFocusDimmed || col < 0 || col >= CHAN_GRID_COLS) return;
    const int target = FOCUS_FOR_COLUMN[col];
    int targetDimmed = 0;
    GetCtrlAttribute(chan.panel, target, ATTR_DIMMED, &targetDimmed);
    if (!targetDimmed) SetActiveCtrl(chan.panel, target);
}

int ctrlChanChan(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int channel = 0;
    GetCtrlVal(panel, control, &channel);
    chanPanelSelectChan(channel, 1);
    return 0;
}

int ctrlChanLink(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int link = 0;
    GetCtrlVal(panel, control, &link);
    chan.link = link != 0;
    if (chan.link) chanPanelSelectChan(std::min(mainPanelChannel(), CHANNEL_COUNT - 1), 0);
    return 0;
}

int chanPanelClose(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanPanelHide();
    return 0;
}

void registerChannelCallbacks() {
    registerStateReset([] { chan = ChanPanelState{}; });
    registerStateReset(chanEditAllPanelResetState);
    registerStateReset(chanLmPanelResetState);
    RegisterCtrlCallback("ctrlChanChan", ctrlChanChan);
    RegisterCtrlCallback("ctrlChanLink", ctrlChanLink);
    RegisterCtrlCallback("chanPanelClose", chanPanelClose);
    registerChannelEditCallbacks();
    registerEditAllCallbacks();
    registerListModeCallbacks();
}
