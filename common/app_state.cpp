// The application state record, its accessors, the status note, the panel refresh hook and the registry
// of module state resets.
#include "app_state.h"

#include <algorithm>
#include <vector>

#include "qm4120.h"
#include "userint.h"

AppState appState;

namespace {

void (*panelRefresher)() = nullptr;

std::vector<void (*)()>& stateResets() {
    static std::vector<void (*)()> resets;
    return resets;
}

}  // namespace

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

void err4120(int32_t status) {
    if (status == 0) return;
    // The driver fills at most 256 characters; the buffer starts empty in case the look-up fails.
    char text[256] = {};
    qm4120_error_message(getQM4120id(), status, text);
    MessagePopup("4120 Driver Error", text);
}

int32_t noteStatus(int32_t status) {
    appState.lastStatus = status;
    err4120(status);
    return status;
}

void refreshPanelFromInstrument() {
    if (panelRefresher) panelRefresher();
}

void setPanelRefresher(void (*refresher)()) {
    panelRefresher = refresher;
}

void registerStateReset(void (*reset)()) {
    auto& resets = stateResets();
    if (reset && std::find(resets.begin(), resets.end(), reset) == resets.end()) resets.push_back(reset);
}

void resetRegisteredState() {
    for (auto reset : stateResets()) reset();
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
