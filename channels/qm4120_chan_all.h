// Edit-range panel (CHEDITALL of "qm4120_chan.uir"): writes one field into a range of channels.
#ifndef QM_CHANNELS_QM4120_CHAN_ALL_H
#define QM_CHANNELS_QM4120_CHAN_ALL_H

#include <cstdint>

// Loads the panel and remembers the normal colour of its buttons. Returns 1, or 0 (handle left 0).
int chanEditAllPanelInit();
void chanEditAllPanelInitPreBoot();
void chanEditAllPanelInitPostBoot();
void chanEditAllPanelShow();
void chanEditAllPanelHide();
void chanEditAllPanelDiscard();
int getEditAllPanel();
// Forgets the panel (tests start every program afresh).
void chanEditAllPanelResetState();

// The one status of a write over many channels: the first error, whatever came before it; without an
// error, the first warning; else 0.
int32_t chanRangeCombineStatus(int32_t sofar, int32_t status);

int ctrlEditAllRange(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Value entries (ctrlAllFreq ... ctrlAllIfAtten) and Set buttons (cmdSetAllFreq ... cmdSetAllIfAtten).
int ctrlAllValue(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdSetAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
void registerEditAllCallbacks();
int cmdCloseEditAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

#endif
