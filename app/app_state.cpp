// The application state record and its accessors.
#include "qm4120_sfp.h"

AppState appState;

uint32_t getQM4120id() {
    return appState.sessionHandle.load();
}

uint16_t isActive4120() {
    return appState.instrumentBooted.load();
}

int getMainPanel() {
    return appState.mainPanel;
}

int getStepPanel() {
    return appState.stepPanel;
}

void resetAppState() {
    // The record holds atomics, so it is put back field by field rather than assigned.
    AppState& s = appState;
    s.sessionHandle = 0;
    s.instrumentBooted = 0;
    s.engineeringMode = 0;
    s.mainPanel = s.mainMenuBar = 0;
    s.aboutPanel = s.sysInfoPanel = s.sysInfoDetailPanel = s.calInfoPanel = 0;
    s.dirPanel = s.routePanel = s.fsRatePanel = 0;
    s.bootPanel = s.stepPanel = s.engPanel = 0;
    s.boardTabControl = s.boardTabIf = s.boardTabRf = 0;
    s.engineeringMenu = s.engineeringPanelItem = 0;
    s.threadPool = 0;
    s.refLockMonitorStop = 0;
    s.refLockAutoCheck = 0;
    s.lastStatus = 0;
    s.iniFilePath[0] = '\0';
    s.settingsDir[0] = '\0';
    s.textBuffer[0] = '\0';
    s.threadPoolErrorText[0] = '\0';
    s.programDirOverride.clear();
    s.splashSeconds = SPLASH_SECONDS;
    s.exitAfterStartup = false;
    s.refLockMonitorsRunning = 0;
    s.monitorStepDelay = nullptr;
}
