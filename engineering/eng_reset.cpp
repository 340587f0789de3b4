// Engineering reset buttons (see eng_reset.h).
#include "eng_reset.h"

#include <cstdint>

#include "app_state.h"
#include "qm4120.h"
#include "userint.h"

namespace {

// A driver report during the busy section: the operator reads it with the normal cursor, then the reset
// carries on busy.
void reportWhileBusy(int32_t status) {
    if (status == 0) return;
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    err4120(status);
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
}

// After either reset the module is back at its defaults: show them, and leave the trigger in software
// mode so that the panel's Start keeps capturing at once.
void afterReset(uint32_t session) {
    refreshPanelFromInstrument();
    reportWhileBusy(qm4120_setSwTriggerMode(session, 1));
    SetMouseCursor(VAL_DEFAULT_CURSOR);
}

}  // namespace

int cmdReset(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const uint32_t session = getQM4120id();
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    reportWhileBusy(qm4120_reset(session));
    afterReset(session);
    MessagePopup("Reset", "Module Reset.");
    return 0;
}

int cmdResetWithFpga(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const uint32_t session = getQM4120id();
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    uint16_t config = 0;
    if (qm4120_getFPGAConfig(session, &config) >= 0) {
        reportWhileBusy(qm4120_resetWithFpgaConfig(session, config));
        afterReset(session);
        MessagePopup("Reset", "Module Reset with FPGA Config.");
    } else {
        // Without the running configuration a reset could load the wrong FPGA image; leave it alone.
        afterReset(session);
        MessagePopup("Reset", "Module Reset not performed.  Could not retrieve current FPGA Config.");
    }
    return 0;
}

void registerEngineeringResetCallbacks() {
    RegisterCtrlCallback("cmdReset", cmdReset);
    RegisterCtrlCallback("cmdResetWithFpga", cmdResetWithFpga);
}
