// Process start-up and shutdown: the command-line switch, the program and settings folders, the splash,
// the panel set, the thread pool, the main panel and the reference-lock monitor.
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board_identity.h"
#include "capture_state.h"
#include "qm4120_chan.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot_uir.h"
#include "qm41xx_cal_id.h"
#include "qm41xx_step_uir.h"
#include "routing_panel.h"
#include "settings_dir_ini.h"
#include "userint.h"

namespace {

constexpr const char* MAIN_UIR = "qm4120_sfp.uir";
constexpr const char* INI_FILE_NAME = "qm4120_sfp.ini";
constexpr const char* XDG_APP_FOLDER = "qm4120_sfp";

// Status of creating the thread pool: the process's exit status after a normal run.
int threadPoolStatus = 0;

void copyText(char* dest, size_t size, const std::string& text) {
    std::snprintf(dest, size, "%s", text.c_str());
}

bool isWritableDirectory(const char* dir) {
    struct stat st {};
    return stat(dir, &st) == 0 && S_ISDIR(st.st_mode) && access(dir, W_OK) == 0;
}

// $XDG_<name>_HOME, or the given folder under the home directory when it is unset or not absolute.
std::string xdgHome(const char* variable, const char* homeRelative) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : "/tmp") + "/" + homeRelative;
}

double envSeconds(const char* name, double fallback) {
    const char* value = std::getenv(name);
    if (!value || !*value) return fallback;
    char* end = nullptr;
    const double seconds = std::strtod(value, &end);
    return (end && *end == '\0' && seconds >= 0.0 && seconds <= 60.0) ? seconds : fallback;
}

// Loads a panel of the main resource file into `handle`; false on failure.
bool loadInto(int& handle, const char* file, int panelConstant) {
    handle = LoadPanel(0, file, panelConstant);
    return handle > 0;
}

// Panels 2 to 12 of the load order. The first that fails ends start-up.
bool loadPanelSet() {
    AppState& s = appState;
    return loadInto(s.mainPanel, MAIN_UIR, MAINPANEL) && loadInto(s.aboutPanel, MAIN_UIR, ABOUTPANEL) &&
           loadInto(s.sysInfoPanel, MAIN_UIR, SYSINFO) &&
           loadInto(s.sysInfoDetailPanel, MAIN_UIR, SYSINFODET) &&
           loadInto(s.calInfoPanel, MAIN_UIR, CALINFO) &&
           loadInto(s.bootPanel, "qm41xx_boot.uir", BOOTPANEL) &&
           loadInto(s.stepPanel, "qm41xx_step.uir", STEPPANEL) &&
           loadInto(s.engPanel, "qm4120_eng.uir", ENGPANEL) && loadInto(s.dirPanel, MAIN_UIR, DIRPANEL) &&
           loadInto(s.routePanel, MAIN_UIR, ROUTE) && loadInto(s.fsRatePanel, MAIN_UIR, FSRATE);
}

// Routing, channel table and the board identity panel with its three boards.
bool prepareSecondaryPanels() {
    AppState& s = appState;
    routingPanelInit(s.routePanel);
    setLvdsMenuRefresher(refreshLvdsMenu);
    if (!chanPanelInit()) return false;
    if (!calidPanelInit(boardIdentityChanged)) return false;
    s.boardTabControl = calidPanelAddTab("Control board");
    if (s.boardTabControl < 0) return false;
    s.boardTabIf = calidPanelAddTab("IF board");
    if (s.boardTabIf < 0) return false;
    s.boardTabRf = calidPanelAddTab("RF board");
    return s.boardTabRf >= 0;
}

}  // namespace

uint16_t hasEngineeringSwitch(int argc, char** argv) {
    for (int i = argc - 1; i >= 1; --i) {
        if (argv[i] && strcasecmp(argv[i], "QZTRACE") == 0) return 1;
    }
    return 0;
}

void initProgramPaths() {
    AppState& s = appState;
    if (!s.programDirOverride.empty()) {
        copyText(s.textBuffer, sizeof s.textBuffer, s.programDirOverride);
    } else if (GetModuleDir(s.textBuffer) < 0) {
        copyText(s.textBuffer, sizeof s.textBuffer, ".");
    }
    const std::string programDir = s.textBuffer;
    if (isWritableDirectory(programDir.c_str())) {
        copyText(s.iniFilePath, sizeof s.iniFilePath, programDir + "/" + INI_FILE_NAME);
        copyText(s.settingsDir, sizeof s.settingsDir, programDir + "/settings");
    } else {
        // An installed program cannot write beside itself: keep its files in the user's folders.
        const std::string config = xdgHome("XDG_CONFIG_HOME", ".config") + "/" + XDG_APP_FOLDER;
        const std::string data = xdgHome("XDG_DATA_HOME", ".local/share") + "/" + XDG_APP_FOLDER;
        copyText(s.iniFilePath, sizeof s.iniFilePath, config + "/" + INI_FILE_NAME);
        copyText(s.settingsDir, sizeof s.settingsDir, data + "/settings");
    }
}

int appStartup(int argc, char** argv) {
    AppState& s = appState;
    threadPoolStatus = 0;
    registerAllCallbacks();

    if (hasEngineeringSwitch(argc, argv)) s.engineeringMode = 1;
    initProgramPaths();
    loadDirectorySettings();
    collapseDoubledSeparators(s.settingsDir);

    const int splash = LoadPanel(0, MAIN_UIR, SPLASH_KOR);
    if (splash < 0) return splash;
    DisplayPanel(splash);
    Delay(s.splashSeconds);
    DiscardPanel(splash);

    if (!loadPanelSet()) return -1;
    if (!prepareSecondaryPanels()) return -1;

    threadPoolStatus = CmtNewThreadPool(THREAD_POOL_MAX_THREADS, &s.threadPool);
    if (threadPoolStatus < 0) {
        s.threadPool = 0;
        CmtGetErrorMessage(threadPoolStatus, s.threadPoolErrorText);
        ShutdownApplication();
        return threadPoolStatus;
    }

    s.mainMenuBar = GetPanelMenuBar(s.mainPanel);
    setTaskbarText();
    initMainPanel();
    setWindowTitles();
    DisplayPanel(s.mainPanel);

    markCapturedDataEmpty();
    if (s.engineeringMode) addEngineeringMenu();

    SetActivePanel(s.mainPanel);
    startRefLockMonitor();
    return threadPoolStatus;
}

int appShutdown() {
    AppState& s = appState;
    // The monitor writes to the main panel: it must be gone before the panel is.
    stopRefLockMonitor();
    if (s.mainPanel > 0) DiscardPanel(s.mainPanel);
    s.mainPanel = 0;
    // The channel table with its companions and the board identity panel live until the program ends.
    chanPanelDiscard();
    calidPanelDiscard();
    ShutdownApplication();
    return threadPoolStatus;
}

void ShutdownApplication() {
    AppState& s = appState;
    s.refLockMonitorStop = 1;
    if (s.threadPool) {
        CmtDiscardThreadPool(s.threadPool);
        s.threadPool = 0;
        // The pool waited for a running monitor and dropped any still queued: none can poll any more, so
        // none is left to wait for.
        s.refLockMonitorsRunning = 0;
    }
}

int qm4120SfpMain(int argc, char** argv) {
    appState.splashSeconds = envSeconds("QM4120_SPLASH_SECONDS", appState.splashSeconds);
    const char* exitEarly = std::getenv("QM4120_EXIT_AFTER_STARTUP");
    if (exitEarly && *exitEarly && std::strcmp(exitEarly, "0") != 0) appState.exitAfterStartup = true;

    const int status = appStartup(argc, argv);
    if (status < 0) return status;
    if (appState.exitAfterStartup) {
        // Benchmarks time the way to a drawn main panel; bring the screen up to date and leave.
        ProcessDrawEvents();
    } else {
        RunUserInterface();
    }
    return appShutdown();
}
