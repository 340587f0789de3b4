// Version strings of the program's files and the File Versions panel.
//
// The program names its files as it always has ("qm4120_sfp.exe", "qm41XX_utils.dll"). On Linux these
// are the program itself and shared libraries; each carries a version record that qm_fileVersion reads.
// Files that have no counterpart here (the FPGA image libraries, the plug-in helpers) are looked for under
// their Linux library name all the same and show "n/a" while they are absent.
#include <cstdio>
#include <string>

#include "app_state.h"
#include "instrument_info.h"
#include "qm4120_sfp_uir.h"
#include "qm_sysinfo.h"
#include "userint.h"

namespace {

constexpr int VERSION_TEXT_MAX = 255;

// Names whose Linux file is not simply "lib<name>.so".
struct FileAlias {
    const char* programName;
    const char* linuxName;
};
constexpr FileAlias FILE_ALIASES[] = {
    {"qm4120_sfp.exe", "qm4120_sfp"},           // the program
    {"qm4120_32.dll", "libqm4120.so"},          // the driver layer
    {"qm4120_lib.dll", "libqm4120_pb_lib.so"},  // the instrument library
};

// "name.dll" -> "libname.so", "name.exe" -> "name", every "\" -> "/"; a path keeps its folder.
std::string linuxFileName(const std::string& programName) {
    std::string path = programName;
    for (char& c : path)
        if (c == '\\') c = '/';
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (const FileAlias& alias : FILE_ALIASES)
        if (name == alias.programName) return folder + alias.linuxName;
    auto endsWith = [&](const char* suffix) {
        const std::string s = suffix;
        return name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
    };
    if (endsWith(".dll")) return folder + "lib" + name.substr(0, name.size() - 4) + ".so";
    if (endsWith(".exe")) return folder + name.substr(0, name.size() - 4);
    return folder + name;
}

struct VersionField {
    int control;
    const char* file;
};
// In the order they are read. The plug-ins are looked up in the plug-in folder, which the program never
// sets: their path is the separator and the file name alone.
constexpr VersionField VERSION_FIELDS[] = {
    {SYSINFODET_QM4120_EXE, "qm4120_sfp.exe"},           {SYSINFODET_QM4120_32, "qm4120_32.dll"},
    {SYSINFODET_QM4120_LIB, "qm4120_lib.dll"},           {SYSINFODET_QM4120_FPGA, "qm4120_fpga.dll"},
    {SYSINFODET_QM4A20_FPGA, "qm4A20_fpga.dll"},         {SYSINFODET_QM4B20_FPGA, "qm4B20_fpga.dll"},
    {SYSINFODET_QM4125_FPGA, "qm4125_fpga.dll"},         {SYSINFODET_QM41XX_UTILS, "qm41XX_utils.dll"},
    {SYSINFODET_QMPLUGIN_HELPER, "qmPlugin_helper.dll"}, {SYSINFODET_QM4870_PLUGIN, "\\qm4870_plugin.dll"},
    {SYSINFODET_QM475X_PLUGIN, "\\qm475x_plugin.dll"},
};

}  // namespace

int getFileVersionString(const char* fileName, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (!fileName || !*fileName) return 0;
    char version[VERSION_TEXT_MAX + 1] = {};
    const int32_t status = qm_fileVersion(linuxFileName(fileName).c_str(), version, sizeof version);
    // An empty or cut version is no version.
    if (status != QM_SYSINFO_SUCCESS || version[0] == '\0') return 0;
    std::snprintf(buffer, static_cast<size_t>(size), "%s", version);
    return 1;
}

void fillFileVersionsPanel() {
    const int panel = appState.sysInfoDetailPanel;
    if (panel <= 0) return;
    for (const VersionField& field : VERSION_FIELDS) SetCtrlVal(panel, field.control, INFO_NOT_AVAILABLE);
    // The user-calibration library is never asked.
    SetCtrlVal(panel, SYSINFODET_QM4880_USRCAL, INFO_NOT_AVAILABLE);
    for (const VersionField& field : VERSION_FIELDS) {
        char version[VERSION_TEXT_MAX + 1];
        if (getFileVersionString(field.file, version, sizeof version))
            SetCtrlVal(panel, field.control, version);
    }
}
