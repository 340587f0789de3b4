// Settings files: saving the whole set-up shown on the panels and loading it again, the Directories
// dialog that chooses the folder the settings dialogs open in, and that folder's entry in
// "qm4120_sfp.ini".
#ifndef QM_SETTINGS_SETTINGS_H
#define QM_SETTINGS_SETTINGS_H

#include <cstdint>

// Saves into `path`: the settings file is replaced whole, so a failed or interrupted save leaves the file
// that was there. Shows "Save settings" / "Failed to save settings!" when a write failed. Returns the sum
// of the writes' statuses plus 1 for each channel the module could not give (negative: failed).
int32_t settingsSaveFile(const char* path);

// Loads the settings file at `path` into the panels, pushes them to the module (when one is booted) and
// reads everything back. Any file at all may be given: a missing, unreadable, damaged or hostile one is
// reported in a popup, a value no control or module limit allows is left out and named in a popup, and
// nothing out of range reaches the module. Returns -1 when the file was refused as a whole, else the
// number of values left out. The program's panels must be loaded (appStartup) before the first call; a
// fuzzing harness calls this with each file it makes.
int32_t settingsLoadFile(const char* path);

// Sends every main-panel and routing-panel value to the module in the order the module needs, each status
// to the error report. Nothing without a booted module.
void applyPanelSettingsToHardware();

// settingsDir from and into "qm4120_sfp.ini" (iniFilePath): section "Directories", key "SettingsDir".
// The load keeps settingsDir on any failure; the save shows popups on failure.
void loadDirectorySettings();
void saveDirectorySettings();

// Settings menu: Load..., Save..., Directories...; the Directory Settings dialog.
void cmdLoadSettings(int menuBar, int menuItem, void* callbackData, int panel);
void cmdSaveSettings(int menuBar, int menuItem, void* callbackData, int panel);
void cmdDirectories(int menuBar, int menuItem, void* callbackData, int panel);
int cmdDirBrowse(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdDirOk(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdDirCancel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerSettingsCallbacks();

#endif
