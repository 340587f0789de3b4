// Frequency group of the main panel: the RF frequency, the LO frequency and offset read-outs, the LO
// position, the frequency-control mode that decides which of them the operator enters, and the step of
// the RF frequency entry (and of the marker frequency).
#ifndef QM_PANEL_FREQUENCY_H
#define QM_PANEL_FREQUENCY_H

// Start-up: the step text from the RF entry's own increment and the editability of the ring's mode.
void initFrequencyControls();

// After a boot: the model's frequency range, the 10 kHz step, the tuned frequencies and the mode.
void configureFrequencyControlsForInstrument();

// LO_OFFSET shows the magnitude of the LO offset, LO_POSITION the side of the LO.
void refreshLoOffsetDisplay();
// Reads the frequency-control mode into RING_FREQ_CONTROL and makes the mode's two entries editable.
void refreshFreqControlMode();
// Makes the two frequencies of `mode` editable (white) and the third a read-only indicator (grey).
void applyFreqControlMode(int mode);

// Dims the frequency controls for the IF input, enables them for the RF input; then, with a module, the
// front-end refresh.
void updateFrequencyControlsForSource();

// Step dialogs: the RF frequency step (also opened from the channel table) and the marker step.
void freqStepChange();
void applyFreqStep(double step);
void applyMarkerFreqStep(double step);

int cmdRFFreq(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdFreqControl(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdLoPos(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdFreqStep(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdMarkerFreqStep(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerFrequencyCallbacks();

#endif
