// Trigger group of the main panel (see trigger.h).
#include "trigger.h"

void initTriggerControls() {
    // Trigger source, type and timer controls get their initial states here.
}

void refreshTriggerControls() {
    // Trigger source, type, polarity, delays, timer and internal-trigger controls are refreshed here.
}
