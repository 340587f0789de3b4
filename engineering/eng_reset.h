// Reset buttons of the engineering panel: a plain reset to the instrument defaults, and a reset that
// reloads the FPGA configuration the module is running.
#ifndef QM_ENGINEERING_ENG_RESET_H
#define QM_ENGINEERING_ENG_RESET_H

// RESETBUTTON and RESETWFPGABUTTON of ENGPANEL; commit only, and only while a module is booted.
int cmdReset(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdResetWithFpga(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// Registers the two callbacks under the names the engineering resource file gives them.
void registerEngineeringResetCallbacks();

#endif
