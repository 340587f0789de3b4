// List-mode panel (LISTMODE of "qm4120_chan.uir"): how the module's hardware picks the active channel.
#ifndef QM_CHANNELS_QM4120_CHAN_LM_H
#define QM_CHANNELS_QM4120_CHAN_LM_H

#include <cstdint>

// Loads the panel. Returns 1, or 0 (handle left 0).
int chanLmPanelInit();
void chanLmPanelInitPostBoot();
void chanLmPanelShow();
void chanLmPanelHide();
void chanLmPanelDiscard();
int getListModePanel();
// Forgets the panel (tests start every program afresh).
void chanLmPanelResetState();

// Refreshes the panel from the module (nothing while no module is booted).
void chanLmPanelUpdateAllFromHw();
// Locks the main panel's channel-dependent controls while hardware owns the channel.
void updateMainpanelListModeControls();

// Conversions between the module's list-mode codes and the rings: an unknown address source shows as
// Manual, an unknown counter strobe source as External.
unsigned LAS2ctrl(uint16_t source);
uint16_t ctrl2LAS(unsigned ctrl);
unsigned LCS2ctrl(uint16_t source);
uint16_t ctrl2LCS(unsigned ctrl);

// Settings load applies stored values as if the operator had entered them.
void chanLmPanelUpdateAddrSourceExe(uint16_t source);
void chanLmPanelUpdateStrobePolarityExe(uint16_t negEdge);
void chanLmPanelUpdateCounterStrobeExe(uint16_t source);
void chanLmPanelUpdateStartStopExe(uint16_t start, uint16_t stop);
void chanLmPanelUpdateTimerDwellExe(double microseconds);
void chanLmPanelUpdateTimerTrigExe(int flag);

int cmdLM_LAS(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdLM_LSP(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdLM_LCS(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdLM_Count(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdLM_Dwell(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdLM_TimerTrig(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
void registerListModeCallbacks();
int cmdCloseLm(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

#endif
