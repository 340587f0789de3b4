// The engineering panel (ENGPANEL of "qm4120_eng.uir"), reached from the Engineering menu that exists in
// engineering mode only: raw register access, the serial number, blanking the EEPROMs, the 4125's
// RF-board control latch, the tests and the entry points of the calibration tools.
//
// The front-end controls, power readings and resets on the same panel belong to their own modules; this
// one lays the panel out for the booted model and handles the service functions.
#ifndef QM_ENGINEERING_ENG_PANEL_H
#define QM_ENGINEERING_ENG_PANEL_H

#include <cstdint>

// The RF-board control latch of the 4125: one check box per bit, box "3" bit 0 up to box "18" bit 15.
constexpr int LATCH_BITS = 16;
uint16_t latchWordFromBoxes(int panel);
void showLatchWord(int panel, uint16_t word);

// The sampling set-up the group-delay correction is applied for on a model: rate and bandwidth in Hz.
// False for a model that has no such set-up.
bool groupDelaySetup(uint16_t modelCode, double* samplingRateHz, double* bandwidthHz);

// Lays the panel out for the booted model (RF attenuator pads and steps, the latch section) and shows
// it. The Engineering menu's "Panel..." item runs this.
void engPanelOpen();

// Callbacks of ENGPANEL.
int CmdWRegRead(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdWRegWrite(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdRRegRead(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdRegWriteDirect(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmd4125D3Latch(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdSetSerial(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdReadSerial(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdBlankEeprom(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdTest(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdTestGrpDel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdSetGrpDelFPGAFiltBypass(int panel, int control, int event, void* callbackData, int eventData1,
                               int eventData2);
int cmdCdma2000Capability(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int cmdDividedLOFreq(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCloseEngineer(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCalGrpDel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdShowIdInfo(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerEngPanelCallbacks();

#endif
