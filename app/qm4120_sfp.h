// The soft front panel's shell: the process-wide application state, start-up, the event loop and
// shutdown, and the callbacks of the main panel that belong to the shell itself.
//
// Threads: everything runs on the main thread except the reference-lock monitor (qm4120_sfp_aux.h),
// which shares three words with it: the stop flag, the booted flag and the session. Those are atomics of
// the instrument's word widths; no lock is taken anywhere.
#ifndef QM_APP_QM4120_SFP_H
#define QM_APP_QM4120_SFP_H

#include <atomic>
#include <cstdint>
#include <string>

#include "qm4120_sfp_aux.h"

constexpr int PATH_TEXT_LEN = 260;    // iniFilePath, settingsDir
constexpr int TEXT_BUFFER_LEN = 272;  // textBuffer: program directory, window titles
constexpr int THREAD_POOL_ERROR_LEN = 256;

// Splash time at start-up, in seconds.
constexpr double SPLASH_SECONDS = 3.0;
// The pool serves the reference-lock monitor; a second thread lets a restarted monitor begin while the
// stopping one finishes its last step.
constexpr int THREAD_POOL_MAX_THREADS = 2;

struct AppState {
    std::atomic<uint32_t> sessionHandle{0};     // instrument session of the booted module; 0: none
    std::atomic<uint16_t> instrumentBooted{0};  // 1 while the session is open and usable
    uint16_t engineeringMode = 0;               // 1 when started with QZTRACE

    int mainPanel = 0;
    int mainMenuBar = 0;
    int aboutPanel = 0;
    int sysInfoPanel = 0;
    int sysInfoDetailPanel = 0;
    int calInfoPanel = 0;
    int dirPanel = 0;
    int routePanel = 0;
    int fsRatePanel = 0;
    int bootPanel = 0;
    int stepPanel = 0;
    int engPanel = 0;

    // Board identity panel: its tab pages, one per board.
    int boardTabControl = 0;
    int boardTabIf = 0;
    int boardTabRf = 0;

    int engineeringMenu = 0;       // the "Engineering" menu (engineering mode only), else 0
    int engineeringPanelItem = 0;  // its "Panel..." item, else 0

    int threadPool = 0;                           // 0 while no pool exists
    std::atomic<uint16_t> refLockMonitorStop{0};  // 1 asks the monitor to end; it clears it as it ends
    int32_t refLockAutoCheck = 0;                 // ENGPANEL REFLOCK_AUTOCHECK
    int32_t lastStatus = 0;                       // most recent driver status of a main-panel callback

    char iniFilePath[PATH_TEXT_LEN] = {};
    char settingsDir[PATH_TEXT_LEN] = {};
    char textBuffer[TEXT_BUFFER_LEN] = {};
    char threadPoolErrorText[THREAD_POOL_ERROR_LEN] = {};

    // Not part of the instrument's behaviour; tests and benchmarks steer start-up through these.
    std::string programDirOverride;              // non-empty: used instead of the executable's folder
    double splashSeconds = SPLASH_SECONDS;       // also QM4120_SPLASH_SECONDS in the environment
    bool exitAfterStartup = false;               // also QM4120_EXIT_AFTER_STARTUP: skip the event loop
    std::atomic<int> refLockMonitorsRunning{0};  // monitor tasks between their start and their end
    // Sleep of one monitor step; Delay unless a test counts the steps.
    int (*monitorStepDelay)(double seconds) = nullptr;
};

// The one application state record.
extern AppState appState;

// Accessors used by every other module.
uint32_t getQM4120id();
uint16_t isActive4120();
int getMainPanel();
int getStepPanel();

// Puts every field back to its start-up value (tests start the program more than once per process).
// Must not be called while the monitor runs.
void resetAppState();

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

// Reads SettingsDir of [Directories] from iniFilePath into settingsDir (kept on any failure).
void loadDirectorySettings();
// Writes settingsDir into iniFilePath; popups on failure.
void saveDirectorySettings();

// Collapses each adjacent pair of identical separators ("\\" or "//") into one, in place.
void collapseDoubledSeparators(char* path);

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
// one whose behaviour is not built yet. Must run before the first LoadPanel.
void registerAllCallbacks();

#endif
