// Frequency group of the main panel: the RF frequency, the LO frequency and offset read-outs, the LO
// position and the frequency-control mode that decides which of them the operator enters.
#ifndef QM_PANEL_FREQUENCY_H
#define QM_PANEL_FREQUENCY_H

// Start-up: the step text and the frequency-control mode before any module is booted.
void initFrequencyControls();

// After a boot: the model's frequency range, the 10 kHz step, the tuned frequencies and the mode.
void configureFrequencyControlsForInstrument();

// LO_OFFSET shows the magnitude of the LO offset, LO_POSITION the side of the LO.
void refreshLoOffsetDisplay();
void refreshFreqControlMode();

// Dims the frequency controls for the IF input, enables them for the RF input; then, with a module, the
// front-end refresh.
void updateFrequencyControlsForSource();

#endif
