// The application state record of the soft front panel and what every panel module takes from the shell:
// the accessors, the driver error report, the status note of main-panel callbacks, the panel refresh and
// the registry of module state resets.
//
// Threads: everything runs on the main thread except the reference-lock monitor, which shares three words
// with it: the stop flag, the booted flag and the session. Those are atomics of the instrument's word
// widths; no lock is taken anywhere.
#ifndef QM_APP_APP_STATE_H
#define QM_APP_APP_STATE_H

#include <atomic>
#include <cstdint>
#include <string>

constexpr int PATH_TEXT_LEN = 260;    // iniFilePath, settingsDir
constexpr int TEXT_BUFFER_LEN = 272;  // textBuffer: program directory, window titles
constexpr int THREAD_POOL_ERROR_LEN = 256;

// Splash time at start-up, in seconds.
constexpr double SPLASH_SECONDS = 3.0;
// The pool serves the reference-lock monitor; a second thread lets a restarted monitor begin while the
// stopping one finishes its last step.
constexpr int THREAD_POOL_MAX_THREADS = 2;

// Model codes the panels tell apart.
constexpr uint16_t MODEL_4120 = 0x4120;           // base model
constexpr uint16_t MODEL_4120_ENHANCED = 0x4A20;  // enhanced model
constexpr uint16_t MODEL_4120A = 0x4B20;
constexpr uint16_t MODEL_4125 = 0x4125;

// Background colours of the main panel's numerics: editable, read-only (shows the current setting) and
// without effect in the current set-up.
constexpr int COLOUR_EDITABLE = 0xFFFFFF;
constexpr int COLOUR_READ_ONLY = 0xC0C0C0;
constexpr int COLOUR_NO_EFFECT = 0xD9C0C0;

// External reference ring value meaning "Free Run": there is nothing to lock to.
constexpr int EXT_REF_FREE_RUN = 2;

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
    std::atomic<int> refLockMonitorsRunning{0};  // monitor tasks between their scheduling and their end
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

// Shows the modal popup "4120 Driver Error" with the driver's text for `status` (looked up with the
// session in force). 0 does nothing; warnings are shown as well as errors. Returns when the operator has
// dismissed the popup; the caller carries on whatever the status was.
void err4120(int32_t status);

// A main-panel callback's driver status: kept in lastStatus (the callbacks decide from it whether to
// refresh) and reported through err4120. Returns the status.
int32_t noteStatus(int32_t status);

// Rebuilds every main-panel control from the instrument (after a boot, a settings load or a reset). The
// shell installs the refresher at start-up; until then this does nothing.
void refreshPanelFromInstrument();
void setPanelRefresher(void (*refresher)());

// Module state resets. Each module that keeps state registers one function that puts it back to its
// start-up value (registering the same function again has no effect); resetRegisteredState runs them
// all, so every test starts from the same program whatever ran before it.
void registerStateReset(void (*reset)());
void resetRegisteredState();

// Puts every field of the record back to its start-up value. Must not be called while the monitor runs.
void resetAppState();

#endif
