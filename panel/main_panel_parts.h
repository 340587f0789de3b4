// Main-panel groups that the shell sets up at start-up and refreshes after a boot, a settings load and a
// reset. Each group belongs to its own module (frequency, levels, front end, acquisition, trigger,
// display); the shell only calls them in its fixed order.
#ifndef QM_PANEL_MAIN_PANEL_PARTS_H
#define QM_PANEL_MAIN_PANEL_PARTS_H

// Start-up initialisation of each group, in the order the shell calls them.
void initDisplayControls();
void initAcquisitionControls();
void initTriggerControls();
void initLevelControls();
void initFrequencyControls();

// Frequency group.
void refreshLoOffsetDisplay();  // LO_OFFSET shows the magnitude, LO_POSITION the side of the LO
void refreshFreqControlMode();

// Levels and front end.
void refreshLevelControls();
void refreshFrontEndControls();
void refreshAttenuationControls();

// Acquisition.
void fillFftLengthRing();  // RING_FFT_LEN items and FFT_LEN from the sample count
void fillModulationModeRing();
void fillDecimationRatioRing();
void refreshSampleControls();
void refreshLvdsMenu();

// Trigger.
void refreshTriggerControls();

#endif
