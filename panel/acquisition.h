// Acquisition group of the main panel: modulation mode, decimation, sample data type and count, FFT
// length, the sampling rates, the fractional-rate dialog and the LVDS menu.
#ifndef QM_PANEL_ACQUISITION_H
#define QM_PANEL_ACQUISITION_H

#include <cstdint>

// Start-up: not-booted defaults of the modulation, decimation and sample-count controls.
void initAcquisitionControls();

void fillFftLengthRing();       // RING_FFT_LEN items and FFT_LEN from the sample count
void fillModulationModeRing();  // MODN_MODE items for the data type in force
// Shows the mode, rebuilds DECIMATION_RATIO and DATA_OUT_FORMAT and shows both sampling rates.
void fillDecimationRatioRing();
// Shows the data type and rebuilds the sample count, the mode and ratio rings and the FFT length.
void refreshSampleControls();
void refreshLvdsMenu();             // check marks of the LVDS menu from the module
void refreshFractionalRatePanel();  // FSRATE's fraction and rate, and both main-panel rates

// Dims (enable 0) or undims the controls that must not change while a capture is armed.
void enableAcquisitionControls(int enable);

// Ring position of `ratio` in a ring of powers of two that starts at `firstRatio`: log2(ratio) -
// log2(firstRatio), where a value that is not a power of two from 1 to 1024 counts as 1.
void getDecimationRatioControlIndex(uint32_t ratio, uint32_t firstRatio, uint16_t* index);

// Largest power of two not above n, within the FFT lengths the module supports (2 to 32768).
uint32_t fftLengthFor(uint32_t n);

void registerAcquisitionCallbacks();

#endif
