// Edit-range panel (CHEDITALL of "qm4120_chan.uir"): writes one field into a range of channels.
#ifndef QM_CHANNELS_QM4120_CHAN_ALL_H
#define QM_CHANNELS_QM4120_CHAN_ALL_H

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

int cmdCloseEditAll(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

#endif
