// Input levels of the main panel: the level unit, the RF and IF input levels with their ranges and
// precision for the unit in force, and the level step.
#ifndef QM_PANEL_LEVELS_H
#define QM_PANEL_LEVELS_H

// Start-up: level units, level step text and level ranges for the unit in force.
void initLevelControls();

// Level unit ring, level ranges and precision for the unit in force.
void refreshLevelControls();

// After a boot: the level ranges, and only the level of the input in use can be entered.
void configureLevelControlsForInstrument();

#endif
