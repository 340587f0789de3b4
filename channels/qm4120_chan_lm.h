// List-mode panel (LISTMODE of "qm4120_chan.uir"): how the module's hardware picks the active channel.
#ifndef QM_CHANNELS_QM4120_CHAN_LM_H
#define QM_CHANNELS_QM4120_CHAN_LM_H

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

int cmdCloseLm(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

#endif
