// The soft front panel's shell: start-up, the event loop and shutdown, the refresh of the main panel, the
// callbacks of the main panel that belong to the shell itself, and the binding of every callback the
// panel resources name. The shell uses the panel modules; none of them includes this header.
#ifndef QM_APP_QM4120_SFP_H
#define QM_APP_QM4120_SFP_H

#include <cstdint>
#include <string>
#include <vector>

#include "acquisition.h"
#include "app_state.h"
#include "board_identity.h"
#include "boot_transition.h"
#include "capture_control.h"
#include "capture_state.h"
#include "display.h"
#include "eng_reset.h"
#include "frequency.h"
#include "front_end.h"
#include "front_end_eng.h"
#include "instrument_info.h"
#include "levels.h"
#include "markers.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_direct.h"
#include "qm4120_chan_lm.h"
#include "qm4120_sfp_aux.h"
#include "qm41xx_boot.h"
#include "qm41xx_cal_id.h"
#include "qm41xx_step.h"
#include "routing_panel.h"
#include "settings.h"
#include "settings_dir_ini.h"
#include "test_tone.h"
#include "trigger.h"

// ---------------------------------------------------------------------------------------------------------
// Process entry. qm4120SfpMain = appStartup, the event loop, appShutdown; it is what main() runs inside
// the front end.
int qm4120SfpMain(int argc, char** argv);

// Steps up to showing the main panel and starting the monitor. Returns a negative status when a panel
// fails to load or an initialisation step fails (the program then ends with it), else the status of
// creating the thread pool (0).
int appStartup(int argc, char** argv);

// Discards the main panel and calls ShutdownApplication. Returns the thread-pool status of start-up.
int appShutdown();

// Stops the reference-lock monitor and discards the thread pool (which waits for the monitor to end).
void ShutdownApplication();

// ---------------------------------------------------------------------------------------------------------
// Start-up pieces, exposed for tests and for the directories dialog.

// 1 when any argument after the program name is QZTRACE, in any letter case.
uint16_t hasEngineeringSwitch(int argc, char** argv);

// Program directory into textBuffer; iniFilePath and the default settingsDir from it. Where the program
// directory is not writable (an installed program) the INI file lives in $XDG_CONFIG_HOME/qm4120_sfp and
// the settings in $XDG_DATA_HOME/qm4120_sfp/settings.
void initProgramPaths();

// ---------------------------------------------------------------------------------------------------------
// Callbacks of this module.
int cmdPanel(int panel, int event, void* callbackData, int eventData1, int eventData2);
void cmdMenuExit(int menuBar, int menuItem, void* callbackData, int panel);
int cmdRfChannel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdChannels(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
void cmdEngPanel(int menuBar, int menuItem, void* callbackData, int panel);

// Registers the callbacks above (and the monitor's check box) under their resource names.
void registerShellCallbacks();

// Registers every callback the six resource files name: the modules' own, and a named no-op for each
// one whose behaviour is not built yet; registers the modules' state resets too. Must run before the
// first LoadPanel.
void registerAllCallbacks();

// Callback names of the resource files still bound to a no-op: behaviour not built yet. Sorted.
std::vector<std::string> pendingCallbackNames();

// Puts the whole program back to its start-up state: the application record and every module's state.
void resetProgramState();

#endif
