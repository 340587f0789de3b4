// Channel table panel (CHANPANEL of "qm4120_chan.uir"): the 128 channel records of the module in a grid,
// one row per channel, with a row of edit controls for the selected channel.
#ifndef QM_CHANNELS_QM4120_CHAN_H
#define QM_CHANNELS_QM4120_CHAN_H

#include <cstdint>

constexpr int CHANNEL_COUNT = 128;
constexpr int CHAN_GRID_ROWS = CHANNEL_COUNT + 1;  // header row and one row per channel
constexpr int CHAN_GRID_COLS = 8;                  // channel number column and seven fields

// Loads the channel table, the edit-range and the list-mode panels and prepares the grid with its
// pre-boot texts. Returns 1, or 0 when a panel cannot be loaded (nothing stays loaded then).
int chanPanelInit();
// After each successful boot: list-mode button, selection and the whole table from the module.
void chanPanelInitPostBoot();
void chanPanelShow();
void chanPanelHide();
void chanPanelDiscard();
int getChanPanel();

// Makes `channel` the table's current row, scrolls it into view and loads it into the edit controls;
// with notifyMain and the link box set, it also becomes the main panel's active channel.
void chanPanelSelectChan(int channel, int notifyMain);

// Re-read records from the module (nothing while no module is booted). A field that cannot be read
// keeps the text it had.
void chanPanelUpdateAllFromHw();
void chanPanelUpdateChanFromHw(uint32_t session, int channel);
void chanPanelUpdateFreqFromHw(uint32_t session, int channel);
void chanPanelUpdateLoPosFromHw(uint32_t session, int channel);
void chanPanelUpdateFrontEndFromHw(uint32_t session, int channel);
void chanPanelUpdateRfLevelFromHw(uint32_t session, int channel);
void chanPanelUpdateIfLevelFromHw(uint32_t session, int channel);
void chanPanelUpdateRfAttenFromHw(uint32_t session, int channel);
void chanPanelUpdateIfAttenFromHw(uint32_t session, int channel);
// One field for all 128 channels.
void chanPanelUpdateAllFreqFromHw();
void chanPanelUpdateAllLoPosFromHw();
void chanPanelUpdateAllFrontEndFromHw();
void chanPanelUpdateAllRfLevelFromHw();
void chanPanelUpdateAllIfLevelFromHw();
void chanPanelUpdateAllRfAttenFromHw();
void chanPanelUpdateAllIfAttenFromHw();

// 1 when the table shows the main panel's channel. Either out-parameter may be null.
int chanPanelEditingActiveChan(short* mainChannel, short* tableChannel);
// The main panel's channel is changed only by the main panel's own commands: the value goes into its
// control and that control's commit callback runs, exactly as if the operator had entered it there.
void chanPanelRunMainCommand(int control, double value);
void chanPanelRunMainCommand(int control, int value);
void chanPanelRunMainCommand(int control, unsigned short value);

// Grid selection: a click in the header row counts as the first channel.
void chanGridOnSelChange(int panel, int control, int row, int col, void* callbackData);

int ctrlChanChan(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanLink(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanFreq(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanLoPos(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanFrontEnd(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanRfLevel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanIfLevel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanRfAtten(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ctrlChanIfAtten(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int chanPanelLMode(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int chanPanelEditAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
void registerChannelEditCallbacks();
int chanPanelClose(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// Registers the channel table's, edit-range panel's and list-mode panel's callbacks built so far.
void registerChannelCallbacks();

#endif
