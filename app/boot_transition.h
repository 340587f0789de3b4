// The main panel's side of booting: what BOOTBUTTON does before the boot dialog comes up, and the hooks
// the dialog calls when it boots a module, fails, is cancelled or closes.
#ifndef QM_APP_BOOT_TRANSITION_H
#define QM_APP_BOOT_TRANSITION_H

#include <cstdint>

// BOOTBUTTON, commit: closes an open session, shows the booting state (yellow LED) and the boot dialog.
int cmdBoot(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// Hooks of the boot dialog.
void onBootSucceeded(uint32_t session, const char* resourceText);
void onBootCancelled();
void onBootFailed(int32_t status);
void onBootDialogClosed();

// Sets the main panel's limits and states that depend on the booted model; nothing without a module.
void configureMainPanelForInstrument();

// The model codes offered by the boot dialog, in the order handed to it.
extern const uint16_t BOOT_RESOURCES[4];

// Registers cmdBoot.
void registerBootTransitionCallbacks();

#endif
