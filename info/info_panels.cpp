// The About box, the Instrument Information panel and the Calibration Dates panel.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_state.h"
#include "instrument_info.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "qm_sysinfo.h"
#include "userint.h"

namespace {

using TimeStampRead = int32_t (*)(uint32_t, uint16_t*, uint16_t*, uint16_t*, uint16_t*, uint16_t*, uint16_t*);

// Reads a time stamp; its text, or "" when the read failed. The status goes to `status`.
std::string readTimeStamp(TimeStampRead read, int32_t* status) {
    uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    *status = read(getQM4120id(), &year, &month, &day, &hour, &minute, &second);
    return *status < 0 ? std::string() : formatTimeStamp(year, month, day, hour, minute, second);
}

// Name of the FPGA configuration the module runs, or "" when it cannot be found in the module's list.
std::string loadedFpgaConfigName(uint32_t session) {
    uint16_t loaded = 0;
    uint16_t count = 0;
    if (qm4120_getFPGAConfig(session, &loaded) < 0) return {};
    if (qm4120_countFPGAConfigs(session, &count) < 0 || count == 0) return {};
    std::vector<uint16_t> ids(count);
    std::vector<char> names(static_cast<size_t>(count) * QM4120_FPGA_NAME_SIZE, '\0');
    uint16_t listed = count;
    if (qm4120_listFPGAConfigs(session, ids.data(), names.data(), &listed) < 0) return {};
    if (listed > count) listed = count;
    for (uint16_t i = 0; i < listed; ++i) {
        if (ids[i] != loaded) continue;
        const char* name = names.data() + static_cast<size_t>(i) * QM4120_FPGA_NAME_SIZE;
        return std::string(name, strnlen(name, QM4120_FPGA_NAME_SIZE));
    }
    return {};
}

void setIfRead(int panel, int control, int32_t status, const char* text) {
    if (status >= 0) SetCtrlVal(panel, control, text);
}

struct CalDateField {
    int control;
    TimeStampRead read;
};
// In the order the module is asked.
const CalDateField CAL_DATE_FIELDS[] = {
    {CALINFO_LAST_CAL_DATE, qm4120_getCalModuleLastTimeStamp},
    {CALINFO_TEMPERATURE_DATE, qm4120_getCalTempTimeStamp},
    {CALINFO_GROUP_DELAY_DATE, qm4120_getCalIFDigGrpDelTimeStamp},
    {CALINFO_DC_IF_SHAPE_DATE, qm4120_getCalDCIFShapeTimeStamp},
    {CALINFO_RF_DIG_AMP_REF_DATE, qm4120_getCalRFDigAmpRefTimeStamp},
    {CALINFO_RF_DC_FREQ_DATE, qm4120_getCalRFDCFreqTimeStamp},
    {CALINFO_RF_DC_FREQ_REF_DATE, qm4120_getCalRFDCFreqRefTimeStamp},
    {CALINFO_DIG_AMP_IF_SHAPE_DATE, qm4120_getCalDigAmpIFShapeTimeStamp},
    {CALINFO_IF_DIG_AMP_DATE, qm4120_getCalIFDigAmpTimeStamp},
    {CALINFO_IF_DIG_AMP_REF_DATE, qm4120_getCalIFDigAmpRefTimeStamp},
};

}  // namespace

void fillSysInfoPanel() {
    const int panel = appState.sysInfoPanel;
    if (panel > 0) {
        constexpr int FIELDS[] = {SYSINFO_PXI_RESOURCE, SYSINFO_DRIVER_REV, SYSINFO_FPGA_REV,
                                  SYSINFO_FPGA_CONFIG,  SYSINFO_PCI_REV,    SYSINFO_PCI_FPGA_REV,
                                  SYSINFO_SERIAL,       SYSINFO_LAST_CAL};
        for (int control : FIELDS) SetCtrlVal(panel, control, INFO_NOT_AVAILABLE);
    }
    if (panel > 0 && isActive4120()) {
        const uint32_t session = getQM4120id();
        char text[QM4120_TEXT_SIZE] = {};
        if (appState.mainPanel > 0) {
            GetCtrlVal(appState.mainPanel, MAINPANEL_MODULE_RESOURCE, text);
            SetCtrlVal(panel, SYSINFO_PXI_RESOURCE, text);
        }
        char driverRev[QM4120_TEXT_SIZE] = {};
        char fpgaRev[QM4120_TEXT_SIZE] = {};
        const int32_t revStatus = qm4120_revision_query(session, driverRev, fpgaRev);
        setIfRead(panel, SYSINFO_DRIVER_REV, revStatus, driverRev);
        setIfRead(panel, SYSINFO_FPGA_REV, revStatus, fpgaRev);
        char pciFpgaRev[QM4120_TEXT_SIZE] = {};
        setIfRead(panel, SYSINFO_PCI_FPGA_REV, qm4120_getPciFpgaRev(session, pciFpgaRev), pciFpgaRev);
        uint16_t pciRev = 0;
        if (qm4120_getPciRev(session, &pciRev) >= 0) {
            std::snprintf(text, sizeof text, "%u", unsigned{pciRev});
            SetCtrlVal(panel, SYSINFO_PCI_REV, text);
        }
        const std::string config = loadedFpgaConfigName(session);
        if (!config.empty()) SetCtrlVal(panel, SYSINFO_FPGA_CONFIG, config.c_str());
        char serial[QM4120_TEXT_SIZE] = {};
        setIfRead(panel, SYSINFO_SERIAL, qm4120_getSerialNumber(session, serial), serial);
        // Of all these, only the calibration date is worth an error report: the others are plain identity.
        int32_t status = 0;
        const std::string lastCal = readTimeStamp(qm4120_getCalModuleLastTimeStamp, &status);
        err4120(status);
        setIfRead(panel, SYSINFO_LAST_CAL, status, lastCal.c_str());
    }
    fillFileVersionsPanel();
}

void fillCalInfoPanel() {
    const int panel = appState.calInfoPanel;
    if (panel <= 0) return;
    for (const CalDateField& field : CAL_DATE_FIELDS) SetCtrlVal(panel, field.control, INFO_NOT_AVAILABLE);
    if (!isActive4120()) return;
    for (const CalDateField& field : CAL_DATE_FIELDS) {
        int32_t status = 0;
        const std::string text = readTimeStamp(field.read, &status);
        err4120(status);
        setIfRead(panel, field.control, status, text.c_str());
    }
}

void cmdHelpAbout(int, int, void*, int) {
    const int panel = appState.aboutPanel;
    if (panel <= 0) return;
    uint16_t model = 0;
    if (isActive4120() && qm4120_getModelCode(getQM4120id(), &model) < 0) model = 0;
    SetCtrlVal(panel, ABOUTPANEL_ABOUT_MODULE_DESC, aboutModuleLine(model).c_str());
    SetCtrlVal(panel, ABOUTPANEL_ABOUT_VERSION, ABOUT_VERSION_TEXT);
    InstallPopup(panel);
}

int cmdAboutOk(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) RemovePopup(panel);
    return 0;
}

int cmdWWW(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_LEFT_CLICK) return 0;
    // The address is the one the About box shows. A browser that cannot be started leaves nothing to
    // report: the operator can still read the address.
    char address[QM4120_TEXT_SIZE] = {};
    GetCtrlVal(panel, control, address);
    qm_openUrl(address);
    return 0;
}

void cmdHelpSysInfo(int, int, void*, int) {
    fillSysInfoPanel();
    if (appState.sysInfoPanel > 0) DisplayPanel(appState.sysInfoPanel);
}

int cmdSysInfoClose(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    for (int panel : {appState.calInfoPanel, appState.sysInfoDetailPanel, appState.sysInfoPanel})
        if (panel > 0) HidePanel(panel);
    return 0;
}

int cmdSysInfoFileInfo(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    fillFileVersionsPanel();
    if (appState.sysInfoDetailPanel > 0) DisplayPanel(appState.sysInfoDetailPanel);
    return 0;
}

int cmdSysInfoDetailClose(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) HidePanel(panel);
    return 0;
}

int cmdCalInfo(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    fillCalInfoPanel();
    if (appState.calInfoPanel > 0) DisplayPanel(appState.calInfoPanel);
    return 0;
}

int cmdCalInfoClose(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) HidePanel(panel);
    return 0;
}

void registerInfoCallbacks() {
    RegisterMenuCallback("cmdHelpAbout", cmdHelpAbout);
    RegisterMenuCallback("cmdHelpSysInfo", cmdHelpSysInfo);
    RegisterCtrlCallback("cmdAboutOk", cmdAboutOk);
    RegisterCtrlCallback("cmdWWW", cmdWWW);
    RegisterCtrlCallback("cmdSysInfoClose", cmdSysInfoClose);
    RegisterCtrlCallback("cmdSysInfoFileInfo", cmdSysInfoFileInfo);
    RegisterCtrlCallback("cmdSysInfoDetailClose", cmdSysInfoDetailClose);
    RegisterCtrlCallback("cmdCalInfo", cmdCalInfo);
    RegisterCtrlCallback("cmdCalInfoClose", cmdCalInfoClose);
}
