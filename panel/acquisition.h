// Acquisition group of the main panel: modulation mode, decimation, sample data type and count, FFT
// length, the LVDS menu.
#ifndef QM_PANEL_ACQUISITION_H
#define QM_PANEL_ACQUISITION_H

// Start-up: not-booted defaults of the modulation, decimation and sample-count controls.
void initAcquisitionControls();

void fillFftLengthRing();  // RING_FFT_LEN items and FFT_LEN from the sample count
void fillModulationModeRing();
void fillDecimationRatioRing();
void refreshSampleControls();
void refreshLvdsMenu();

#endif
