// Trigger group of the main panel: source, type, polarity, pre- and post-trigger samples, timer and the
// internal level trigger.
#ifndef QM_PANEL_TRIGGER_H
#define QM_PANEL_TRIGGER_H

void initTriggerControls();
void refreshTriggerControls();

#endif
