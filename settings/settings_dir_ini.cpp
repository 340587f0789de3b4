#include "settings_dir_ini.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "qm41XX_utils.h"

namespace {

constexpr const char* INI_SECTION = "Directories";
constexpr const char* INI_KEY = "SettingsDir";

}  // namespace

SettingsDirRead readSettingsDirFromIni(const char* iniPath, char* dir, size_t size) {
    if (!iniPath || !dir || size == 0) return SettingsDirRead::NotRecorded;
    uint32_t ini = 0;
    // A corrupt or unreadable file gives no instance at all; a missing one gives an empty instance.
    if (qm41XXutils_IniCreate(iniPath, &ini) < 0) return SettingsDirRead::NoInstance;
    std::string value(size, '\0');
    // A truncated value names some other folder: it does not count.
    const int32_t status =
        qm41XXutils_IniGetString(ini, INI_SECTION, INI_KEY, value.data(), static_cast<int32_t>(size));
    qm41XXutils_IniDelete(ini);
    if (status != QM41XXUTILS_SUCCESS) return SettingsDirRead::NotRecorded;
    std::snprintf(dir, size, "%s", value.c_str());
    return SettingsDirRead::Found;
}

void collapseDoubledSeparators(char* path) {
    if (!path) return;
    // Each adjacent pair of the same separator becomes one: a run of three keeps two, a run of four two.
    size_t out = 0;
    for (size_t in = 0; path[in] != '\0'; ++in) {
        const char c = path[in];
        if ((c == '\\' || c == '/') && path[in + 1] == c) ++in;
        path[out++] = path[in];
    }
    path[out] = '\0';
}
