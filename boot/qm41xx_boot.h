// Boot dialog: the operator picks the module's bus resource and, optionally, one of the FPGA
// configurations stored in the module; the dialog then opens a driver session that resets the module with
// that configuration.
//
// The dialog knows nothing about a particular model: the application hands it the list of model codes, the
// driver operations it needs and four hooks, and the dialog calls them. The only state it keeps beyond the
// panels is the session it returns through the success hook.
//
// Flow: the application calls bootPanelConfigInit and bootPanelInit, then shows BOOTPANEL modally. OK (or a
// double-click on a resource) either boots at once (BOOT_DEFAULT set, or no configuration list available)
// or first offers the module's configurations on CONFPANEL; a chosen configuration boots at once.
#ifndef QM41XX_BOOT_H
#define QM41XX_BOOT_H

#include <cstdint>

// Operations the dialog calls. Statuses: 0 success, negative error, positive warning.
using BootOpenSessionFn = int32_t (*)(const char* resourceName, uint16_t idQuery, uint16_t reset,
                                      uint32_t* session, uint16_t fpgaConfig);
using BootCloseSessionFn = int32_t (*)(uint32_t session);
using BootSetModelCodeFn = int32_t (*)(uint16_t modelCode);
using BootSetPciRevFn = int32_t (*)(uint16_t pciRev);
using BootCountConfigsFn = int32_t (*)(uint32_t busSession, uint16_t* count);
// `count`: capacity on entry, entries written on return.
using BootListConfigsFn = int32_t (*)(uint32_t busSession, uint16_t* ids, char* names, uint16_t* count);
using BootReportStatusFn = void (*)(int32_t status);

// Hooks back into the application.
using BootCancelHook = void (*)(int reserved);  // always called with 0
using BootSuccessHook = void (*)(uint32_t session, const char* resourceName);
using BootFailureHook = void (*)(int32_t status);
using BootClosedHook = void (*)();

// Loads CONFPANEL on first use (a failed load leaves the configuration road unavailable), selects
// `defaultConfig` and keeps the two configuration operations and the name size of one list entry.
// Called before every boot.
void bootPanelConfigInit(BootCountConfigsFn countConfigs, BootListConfigsFn listConfigs,
                         uint16_t defaultConfig, uint8_t nameSize);

// Keeps the panel handle (BOOTPANEL), operations and hooks, shows BOOT_DEFAULT only when the configuration
// road exists, and fills LIST_RES with one entry per model code. The caller then shows `panel` with
// InstallPopup.
void bootPanelInit(int panel, const uint16_t* resources, int count, BootOpenSessionFn openSession,
                   BootCloseSessionFn closeSession, BootSetModelCodeFn setModelCode,
                   BootSetPciRevFn setPciRev, BootCancelHook onCancel, BootSuccessHook onSuccess,
                   BootFailureHook onFailure, BootClosedHook onClosed, BootReportStatusFn reportStatus);

// Registers the callbacks the boot resource file names. Must run before BOOTPANEL is loaded.
void registerBootCallbacks();

// Handle of CONFPANEL (0 while not loaded) and of BMPANEL while a session opens (0 otherwise).
int bootPanelConfigHandle();
int bootPanelBootingHandle();

// Callbacks of "qm41xx_boot.uir".
int cmdBootOk(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdListRes(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdBootCancel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdBootPanel(int panel, int event, void* callbackData, int eventData1, int eventData2);
int cmdConfigOk(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdConfigRes(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdConfigCancel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdConfigPanel(int panel, int event, void* callbackData, int eventData1, int eventData2);

#endif
