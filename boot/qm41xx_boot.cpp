// Boot dialog (see qm41xx_boot.h).
#include "qm41xx_boot.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app_state.h"
#include "pxi_korvo.h"
#include "qm41xx_boot_uir.h"
#include "userint.h"

namespace {

constexpr const char* BOOT_UIR = "qm41xx_boot.uir";
constexpr int RESOURCE_TEXT_SIZE = 256;
// The resource list shows the bus name and the model code in two columns split by a rule.
constexpr int RESOURCE_COLUMN_STOP = 100;

struct BootDialogState {
    int bootDialogPanel = 0;
    int configDialogPanel = 0;
    int bootingPanel = 0;
    uint16_t selectedConfig = 0;
    uint8_t configNameSize = 32;
    uint32_t bootedSession = 0;
    char selectedResource[RESOURCE_TEXT_SIZE] = {};
    char selectedLabel[RESOURCE_TEXT_SIZE] = {};

    BootOpenSessionFn openSession = nullptr;
    BootCloseSessionFn closeSession = nullptr;
    BootSetModelCodeFn setModelCode = nullptr;
    BootSetPciRevFn setPciRev = nullptr;
    BootCountConfigsFn countConfigs = nullptr;
    BootListConfigsFn listConfigs = nullptr;
    BootReportStatusFn reportStatus = nullptr;

    BootCancelHook onCancel = nullptr;
    BootSuccessHook onSuccess = nullptr;
    BootFailureHook onFailure = nullptr;
    BootClosedHook onClosed = nullptr;
};

BootDialogState dialog;

void report(int32_t status) {
    if (dialog.reportStatus) dialog.reportStatus(status);
}

bool configRoadAvailable() {
    return dialog.configDialogPanel > 0 && dialog.countConfigs && dialog.listConfigs;
}

// Takes BOOTPANEL down and tells the application; every way out of the dialog ends here.
void closeBootDialog() {
    RemovePopup(dialog.bootDialogPanel);
    HidePanel(dialog.bootDialogPanel);
    if (dialog.onClosed) dialog.onClosed();
}

// Back from the configuration list to the resource list; LIST_RES keeps its selection.
void returnToBootPanel() {
    RemovePopup(dialog.configDialogPanel);
    HidePanel(dialog.configDialogPanel);
    InstallPopup(dialog.bootDialogPanel);
}

// The module-code and PCI-revision settings tell the bus library what to expect at the next open. A
// warning is shown and the boot goes on; an error is shown and ends the request.
bool applyBusPreset(int32_t status) {
    if (status == 0) return true;
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    report(status);
    if (status < 0) return false;
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    return true;
}

// Reads the module's FPGA configurations through a bus session of the dialog's own and lists them on
// CONFPANEL. Failures are silent: the operator simply sees an empty list.
void fillConfigList() {
    const int panel = dialog.configDialogPanel;
    ClearListCtrl(panel, CONFPANEL_CONFIG_RES);

    uint32_t rm = 0;
    uint32_t bus = 0;
    uint16_t count = 0;
    std::vector<uint16_t> ids;
    std::vector<char> names;
    const size_t nameSize = dialog.configNameSize;

    if (korvo_viOpenDefaultRM(&rm) >= 0) {
        if (korvo_viOpen(rm, dialog.selectedResource, 0, 0, &bus) >= 0) {
            if (dialog.countConfigs(bus, &count) >= 0 && count > 0) {
                ids.assign(count, 0);
                names.assign(count * nameSize, '\0');
                uint16_t written = count;
                if (dialog.listConfigs(bus, ids.data(), names.data(), &written) < 0) {
                    count = 0;
                } else if (written < count) {
                    count = written;
                }
            } else {
                count = 0;
            }
            korvo_viClose(bus);
        }
        korvo_viClose(rm);
    }

    for (uint16_t i = 0; i < count; ++i) {
        // Identifier 0 marks a slot the module does not offer for booting.
        if (ids[i] == 0) continue;
        const char* slot = names.data() + i * nameSize;
        const std::string name(slot, strnlen(slot, nameSize));
        InsertListItem(panel, CONFPANEL_CONFIG_RES, -1, name.c_str(), static_cast<unsigned>(ids[i]));
    }
}

// Opens the session with the selected resource and configuration while "Booting...." is shown.
void bootNow() {
    const int booting = LoadPanel(dialog.bootDialogPanel, BOOT_UIR, BMPANEL);
    if (booting > 0) {
        dialog.bootingPanel = booting;
        DisplayPanel(booting);
        ProcessDrawEvents();
    }

    int32_t status = -1;
    dialog.bootedSession = 0;
    if (dialog.openSession) {
        // Identity query requested, module reset with the chosen configuration.
        status =
            dialog.openSession(dialog.selectedResource, 1, 1, &dialog.bootedSession, dialog.selectedConfig);
    }

    if (dialog.bootingPanel > 0) DiscardPanel(dialog.bootingPanel);
    dialog.bootingPanel = 0;
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    report(status);

    if (status < 0) {
        // The dialog stays up for another attempt.
        if (dialog.onFailure) dialog.onFailure(status);
        return;
    }
    if (dialog.onSuccess) dialog.onSuccess(dialog.bootedSession, dialog.selectedResource);
    closeBootDialog();
}

// Boot request, entered from BOOTPANEL (OK or a committed resource) or from CONFPANEL once a
// configuration is chosen.
void bootRequest(int panel) {
    const bool fromBootPanel = panel == dialog.bootDialogPanel;
    const int boot = dialog.bootDialogPanel;

    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    int index = -1;
    GetCtrlIndex(boot, BOOTPANEL_LIST_RES, &index);
    if (index < 0) {
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        return;
    }
    std::string value;
    std::string label;
    GetValueFromIndex(boot, BOOTPANEL_LIST_RES, index, &value);
    GetLabelFromIndex(boot, BOOTPANEL_LIST_RES, index, &label);
    std::snprintf(dialog.selectedResource, sizeof dialog.selectedResource, "%s", value.c_str());
    std::snprintf(dialog.selectedLabel, sizeof dialog.selectedLabel, "%s", label.c_str());
    int bootDefault = 0;
    GetCtrlVal(boot, BOOTPANEL_BOOT_DEFAULT, &bootDefault);

    if (fromBootPanel && dialog.setPciRev) {
        // strtoul with base 16 accepts the "0x" prefix of the resource text.
        const auto modelCode = static_cast<uint16_t>(std::strtoul(dialog.selectedResource, nullptr, 16));
        if (dialog.setModelCode && !applyBusPreset(dialog.setModelCode(modelCode))) return;
        unsigned short pciRev = 0;
        GetCtrlVal(boot, BOOTPANEL_PCIREV, &pciRev);
        if (!applyBusPreset(dialog.setPciRev(pciRev))) return;
    }

    if (fromBootPanel && !bootDefault && configRoadAvailable()) {
        fillConfigList();
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        RemovePopup(boot);
        HidePanel(boot);
        InstallPopup(dialog.configDialogPanel);
        return;  // the choice comes back through cmdConfigOk or cmdConfigRes
    }

    bootNow();
}

// A configuration was chosen on CONFPANEL: back to BOOTPANEL and boot with it at once.
void configChosen(int panel) {
    int index = -1;
    GetCtrlIndex(dialog.configDialogPanel, CONFPANEL_CONFIG_RES, &index);
    if (index < 0) {
        // Nothing to boot with: the operator is back at the resource list.
        returnToBootPanel();
        return;
    }
    unsigned short config = 0;
    GetValueFromIndex(dialog.configDialogPanel, CONFPANEL_CONFIG_RES, index, &config);
    dialog.selectedConfig = config;
    returnToBootPanel();
    bootRequest(panel);
}

}  // namespace

void bootPanelConfigInit(BootCountConfigsFn countConfigs, BootListConfigsFn listConfigs,
                         uint16_t defaultConfig, uint8_t nameSize) {
    // Loaded once; loaded again only if the run-time no longer knows the panel.
    int visible = 0;
    if (dialog.configDialogPanel > 0 &&
        GetPanelAttribute(dialog.configDialogPanel, ATTR_VISIBLE, &visible) < 0)
        dialog.configDialogPanel = 0;
    if (dialog.configDialogPanel <= 0) {
        const int panel = LoadPanel(0, BOOT_UIR, CONFPANEL);
        dialog.configDialogPanel = panel > 0 ? panel : 0;
    }
    dialog.selectedConfig = defaultConfig;
    if (dialog.configDialogPanel > 0) {
        dialog.countConfigs = countConfigs;
        dialog.listConfigs = listConfigs;
        dialog.configNameSize = nameSize;
    }
}

void bootPanelInit(int panel, const uint16_t* resources, int count, BootOpenSessionFn openSession,
                   BootCloseSessionFn closeSession, BootSetModelCodeFn setModelCode,
                   BootSetPciRevFn setPciRev, BootCancelHook onCancel, BootSuccessHook onSuccess,
                   BootFailureHook onFailure, BootClosedHook onClosed, BootReportStatusFn reportStatus) {
    dialog.bootDialogPanel = panel;
    dialog.openSession = openSession;
    dialog.closeSession = closeSession;
    dialog.setModelCode = setModelCode;
    dialog.setPciRev = setPciRev;
    dialog.onCancel = onCancel;
    dialog.onSuccess = onSuccess;
    dialog.onFailure = onFailure;
    dialog.onClosed = onClosed;
    dialog.reportStatus = reportStatus;

    SetCtrlAttribute(panel, BOOTPANEL_BOOT_DEFAULT, ATTR_VISIBLE, configRoadAvailable() ? 1 : 0);
    SetCtrlAttribute(panel, BOOTPANEL_PCIREV, ATTR_VISIBLE, 1);

    ClearListCtrl(panel, BOOTPANEL_LIST_RES);
    SetCtrlAttribute(panel, BOOTPANEL_LIST_RES, ATTR_COLUMN_STOP, RESOURCE_COLUMN_STOP);
    SetCtrlAttribute(panel, BOOTPANEL_LIST_RES, ATTR_COLUMN_RULE, 1);
    SetCtrlAttribute(panel, BOOTPANEL_LIST_RES, ATTR_TEXT_COLOR, static_cast<int>(VAL_BLUE));
    SetCtrlAttribute(panel, BOOTPANEL_LIST_RES, ATTR_TEXT_BGCOLOR, static_cast<int>(VAL_WHITE));
    for (int i = 0; resources && i < count; ++i) {
        char label[64];
        char value[16];
        std::snprintf(label, sizeof label, "PXI KORVO\t%04X", static_cast<unsigned>(resources[i]));
        std::snprintf(value, sizeof value, "0x%04X", static_cast<unsigned>(resources[i]));
        // Each entry goes on top, so the list reads in the reverse of the order given.
        InsertListItem(panel, BOOTPANEL_LIST_RES, 0, label, value);
    }
}

int bootPanelConfigHandle() {
    return dialog.configDialogPanel;
}
int bootPanelBootingHandle() {
    return dialog.bootingPanel;
}

int cmdBootOk(int panel, int /*control*/, int event, void*, int, int) {
    if (event == EVENT_COMMIT) bootRequest(panel);
    return 0;
}

int cmdListRes(int panel, int control, int event, void* callbackData, int eventData1, int eventData2) {
    // A committed resource (double-click or Enter) is the same as OK.
    if (event == EVENT_COMMIT) cmdBootOk(panel, control, event, callbackData, eventData1, eventData2);
    return 0;
}

int cmdBootCancel(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        if (dialog.onCancel) dialog.onCancel(0);
        closeBootDialog();
    }
    return 0;
}

int cmdBootPanel(int, int event, void*, int, int) {
    if (event == EVENT_CLOSE) closeBootDialog();
    return 0;
}

int cmdConfigOk(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) configChosen(panel);
    return 0;
}

int cmdConfigRes(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) configChosen(panel);
    return 0;
}

int cmdConfigCancel(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) returnToBootPanel();
    return 0;
}

int cmdConfigPanel(int, int event, void*, int, int) {
    if (event == EVENT_CLOSE) returnToBootPanel();
    return 0;
}

void registerBootCallbacks() {
    registerStateReset([] { dialog = BootDialogState{}; });
    RegisterCtrlCallback("cmdBootOk", cmdBootOk);
    RegisterCtrlCallback("cmdListRes", cmdListRes);
    RegisterCtrlCallback("cmdBootCancel", cmdBootCancel);
    RegisterPanelCallback("cmdBootPanel", cmdBootPanel);
    RegisterCtrlCallback("cmdConfigOk", cmdConfigOk);
    RegisterCtrlCallback("cmdConfigRes", cmdConfigRes);
    RegisterCtrlCallback("cmdConfigCancel", cmdConfigCancel);
    RegisterPanelCallback("cmdConfigPanel", cmdConfigPanel);
}
