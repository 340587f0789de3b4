// The engineering panel's front-end controls: attenuator pads (the RF pads laid out by model), PLL mode,
// ADC phase, auxiliary reference, the reference-lock state and the temperature reading, and the
// attenuation displays that the attenuation and pad commands refresh.
#ifndef QM_PANEL_FRONT_END_ENG_H
#define QM_PANEL_FRONT_END_ENG_H

#include <cstdint>

// The attenuation into the main panel's and the engineering panel's entries, the pads into the pad
// boxes. A failed read is reported and leaves its displays as they were.
void engRefreshIfAttenDisplay();
void engRefreshRfAttenDisplay();
void engRefreshAttenDisplays();

// Pad masks of the check boxes: bit n is the pad of box n in the model's layout.
uint16_t engIfPadMask();
uint16_t engRfPadMask(uint16_t modelCode);

int cmdEngIFAttenPad(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdEngRFAttenPad(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdEngPLLMode(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdEngADCPhase(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdAuxRef(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdGetIfRefState(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdGetTempVal(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerFrontEndEngCallbacks();

#endif
