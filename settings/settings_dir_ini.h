// The settings folder recorded in qm4120_sfp.ini (section "Directories", key "SettingsDir"), read through
// the settings utility library. It needs nothing of the user interface, so it can be driven on its own.
#ifndef QM_SETTINGS_SETTINGS_DIR_INI_H
#define QM_SETTINGS_SETTINGS_DIR_INI_H

#include <cstddef>

enum class SettingsDirRead {
    Found,        // `dir` holds the recorded folder (possibly empty: what the operator last saved)
    NotRecorded,  // no such entry, or a value too long for `dir`
    NoInstance,   // the settings library could not make an instance for the file (unreadable, corrupt)
};

// Reads SettingsDir of [Directories] from the INI file at `iniPath` into `dir` (`size` bytes). `dir` is
// changed only when the result is Found.
SettingsDirRead readSettingsDirFromIni(const char* iniPath, char* dir, size_t size);

// Collapses each adjacent pair of identical separators ("\\" or "//") into one, in place.
void collapseDoubledSeparators(char* path);

#endif
