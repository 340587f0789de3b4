// The settings folder: its entry in "qm4120_sfp.ini" and the Directory Settings dialog.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "app_state.h"
#include "qm4120_sfp_uir.h"
#include "qm41XX_utils.h"
#include "settings.h"
#include "settings_dir_ini.h"
#include "userint.h"

namespace {

constexpr const char* INI_SECTION = "Directories";
constexpr const char* INI_KEY = "SettingsDir";

// Creates `dir` and its missing parents; true when it exists afterwards.
bool makeDirectories(const std::string& dir) {
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            const std::string part = dir.substr(0, pos);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return true;
}

std::string parentOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

void loadDirectorySettings() {
    AppState& s = appState;
    // A truncated value names some other folder: the default stays. An empty one is what the operator
    // last saved from the directories dialog and is kept as such, as it was in that session.
    if (readSettingsDirFromIni(s.iniFilePath, s.settingsDir, sizeof s.settingsDir) ==
        SettingsDirRead::NoInstance)
        MessagePopup("Load directory settings", "Error creating ini file instance");
}

void saveDirectorySettings() {
    AppState& s = appState;
    // The fallback configuration folder may not exist yet on a fresh account.
    makeDirectories(parentOf(s.iniFilePath));
    uint32_t ini = 0;
    if (qm41XXutils_IniCreate(s.iniFilePath, &ini) < 0) {
        MessagePopup("Save Settings", "Error creating ini file instance");
        return;
    }
    const int32_t status = qm41XXutils_IniPutString(ini, INI_SECTION, INI_KEY, s.settingsDir);
    qm41XXutils_IniDelete(ini);
    if (status < 0) MessagePopup("Save directory settings", "Failed to save settings!");
}

void cmdDirectories(int, int, void*, int) {
    SetCtrlVal(appState.dirPanel, DIRPANEL_SETTINGS_DIR, appState.settingsDir);
    DisplayPanel(appState.dirPanel);
}

int cmdDirBrowse(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    char chosen[MAX_PATHNAME_LEN] = {};
    if (control == DIRPANEL_SETTINGS_DIR_BROWSE) {
        char start[MAX_PATHNAME_LEN] = {};
        GetCtrlVal(panel, DIRPANEL_SETTINGS_DIR, start);
        if (DirSelectPopup(start, "Directory for saved settings files", 1, 1, chosen) ==
            VAL_DIRECTORY_SELECTED)
            SetCtrlVal(panel, DIRPANEL_SETTINGS_DIR, chosen);
    } else if (control == DIRPANEL_PLUGIN_DIR_BROWSE) {
        // The synth plugins have no use on this module: the choice is not kept.
        char start[MAX_PATHNAME_LEN] = {};
        GetCtrlVal(panel, DIRPANEL_PLUGIN_DIR, start);
        DirSelectPopup(start, "", 1, 1, chosen);
    }
    return 0;
}

int cmdDirOk(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(panel, DIRPANEL_SETTINGS_DIR, appState.settingsDir);
    saveDirectorySettings();
    HidePanel(panel);
    return 0;
}

int cmdDirCancel(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) HidePanel(panel);
    return 0;
}

void registerSettingsCallbacks() {
    RegisterMenuCallback("cmdLoadSettings", cmdLoadSettings);
    RegisterMenuCallback("cmdSaveSettings", cmdSaveSettings);
    RegisterMenuCallback("cmdDirectories", cmdDirectories);
    RegisterCtrlCallback("cmdDirBrowse", cmdDirBrowse);
    RegisterCtrlCallback("cmdDirOk", cmdDirOk);
    RegisterCtrlCallback("cmdDirCancel", cmdDirCancel);
}
