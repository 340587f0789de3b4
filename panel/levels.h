// Input levels of the main panel: the level unit selector, the RF and IF input levels with their labels,
// ranges and precision for the unit in force, and the level step.
#ifndef QM_PANEL_LEVELS_H
#define QM_PANEL_LEVELS_H

// Start-up: the level step text from the RF level entry's own increment.
void initLevelControls();

// Unit selector and labels for the unit the module holds, then the ranges (setLevelControlRanges).
void refreshLevelControls();

// After a boot: unit, labels and ranges, and only the level of the input in use can be entered.
void configureLevelControlsForInstrument();

// Both level entries' limits (the module's, converted into the unit of the selector) and precision.
void setLevelControlRanges();

// The module's unit code (dBm when it cannot be read).
int moduleLevelUnit();

// Reads both input levels (dBm) quietly and shows them in the unit in force.
void showInputLevels();

// Level step dialog; applyLevelStep also serves start-up and a settings load.
void levStepChange();
void applyLevelStep(double step);

int cmdRFInputLevel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdIFInputLevel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdRFInputDimensions(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int cmdLevStep(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerLevelCallbacks();

#endif
