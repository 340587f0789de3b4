// Main panel helpers of the shell: its one-time initialisation, the taskbar text and window titles that
// follow the booted model, the refresh of every main-panel control from the instrument, and the
// background reference-lock monitor.
#ifndef QM_APP_QM4120_SFP_AUX_H
#define QM_APP_QM4120_SFP_AUX_H

#include <cstdint>

#include "app_state.h"

// LEDs, status texts, FFT length controls, menus, tool tips, marker controls, level range. Once, before
// the main panel is first shown.
void initMainPanel();

// Tool tips of every main-panel control (the level and attenuation ones span three lines).
void setMainPanelToolTips();

// Taskbar text for the booted model (read with qm4120_getModelCode); on the base model it also dims the
// routing-panel controls of signals that model lacks.
void setTaskbarText();

// Titles of MAINPANEL, DIRPANEL, ROUTE, SYSINFO, SYSINFODET, CALINFO and ENGPANEL from the model text.
void setWindowTitles();

// Builds the engineering menu ("Engineering" / "Panel...", both dimmed) on the main menu bar.
void addEngineeringMenu();
// Dims or enables the engineering menu and its item together (nothing outside engineering mode).
void setEngineeringMenuDimmed(int dimmed);

// Reads the instrument state into the main panel; without a module only the control-state refreshers
// run. Installed as the panel refresher (refreshPanelFromInstrument) at start-up.
void refreshMainPanelFromInstrument();

// Reference-lock monitor: schedules refLockMonitorTask on the thread pool at the lowest priority.
// Returns 0, or the negative pool status after a popup "Error:" with the pool's text.
int startRefLockMonitor();
int refLockMonitorTask(void* functionData);
// Sets the stop flag and waits up to 10 x 0.2 s for a running monitor to acknowledge it. Returns 1 when
// no monitor runs any more.
int stopRefLockMonitor();

// ENGPANEL REFLOCK_AUTOCHECK, commit.
int cmdRefLockAutoCheck(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);

#endif
