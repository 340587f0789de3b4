// The marker on the FFT spectrum and the power readings of the engineering panel: the instrument's level
// corrections, the power the module's own transform measures at an IF offset, and the level of the
// displayed spectrum at an RF offset with an optional log file.
#ifndef QM_PANEL_MARKERS_H
#define QM_PANEL_MARKERS_H

#include <string>

// Modes of updateMarker.
constexpr int MARKER_AT_FREQUENCY = 0;  // the trace point at MARKER_FREQ
constexpr int MARKER_TO_PEAK = 1;       // the highest point away from the trace's ends
constexpr int MARKER_LEFT = 2;          // one point towards lower frequencies
constexpr int MARKER_RIGHT = 3;         // one point towards higher frequencies

// Places the marker (cursor 1 of the FFT graph) and shows the level under it in MARKER_PWR. Modes 1 to 3
// also move MARKER_FREQ to the chosen point. Nothing is placed while no FFT trace exists.
void updateMarker(int mode);

// Graph-power log: on/off (mirrors GRAPHPWRFREQTOFILE) and the file lines are appended to.
extern int graphPowerToFile;
extern std::string graphPowerFileName;

// Start-up: the engineering panel shows the log file in use.
void initMarkerControls();
// The engineering panel's power-log file name and its dimming, from the log's state (after a boot).
void showPowerLogControls();
void registerMarkerCallbacks();

#endif
