// Main panel helpers of the shell: its one-time initialisation, the taskbar text and window titles that
// follow the booted model, the refresh of every main-panel control from the instrument, and the
// background reference-lock monitor.
#ifndef QM_APP_QM4120_SFP_AUX_H
#define QM_APP_QM4120_SFP_AUX_H

#include <cstdint>

// Model codes the shell tells apart.
constexpr uint16_t MODEL_4120 = 0x4120;           // base model
constexpr uint16_t MODEL_4120_ENHANCED = 0x4A20;  // enhanced model
constexpr uint16_t MODEL_4120A = 0x4B20;
constexpr uint16_t MODEL_4125 = 0x4125;

// Colours of the main panel's indicators and numerics.
constexpr int COLOUR_EDITABLE = 0xFFFFFF;
constexpr int COLOUR_READ_ONLY = 0xC0C0C0;
constexpr int COLOUR_NO_EFFECT = 0xD9C0C0;

// External reference ring value meaning "Free Run": there is nothing to lock to.
constexpr int EXT_REF_FREE_RUN = 2;

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
// run. Used after a boot, a settings load and a reset.
void refreshPanelFromInstrument();

// Dims the frequency controls for the IF input, enables them for the RF input.
void updateFrequencyControlsForSource();

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
