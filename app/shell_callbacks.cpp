// The main panel's exit paths and the shell's own buttons.
#include "capture_state.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_sfp.h"
#include "userint.h"

int cmdPanel(int, int event, void*, int, int) {
    if (event != EVENT_CLOSE) return 0;
    // The close box leaves the module as it is; only a running repeat capture is told to end.
    captureRepeatActive = 0;
    QuitUserInterface(0);
    return 0;
}

void cmdMenuExit(int, int, void*, int) {
    AppState& s = appState;
    if (isActive4120()) {
        captureRepeatActive = 0;
        // The monitor must not be half-way through a reading when the session goes away.
        stopRefLockMonitor();
        qm4120_close(s.sessionHandle.load());
        s.instrumentBooted = 0;
        s.sessionHandle = 0;
    }
    QuitUserInterface(0);
}

int cmdChannels(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanPanelShow();
    return 0;
}

void registerShellCallbacks() {
    RegisterPanelCallback("cmdPanel", cmdPanel);
    RegisterMenuCallback("cmdMenuExit", cmdMenuExit);
    RegisterCtrlCallback("cmdRfChannel", cmdRfChannel);
    RegisterCtrlCallback("cmdChannels", cmdChannels);
    RegisterCtrlCallback("cmdRefLockAutoCheck", cmdRefLockAutoCheck);
    RegisterMenuCallback("cmdEngPanel", cmdEngPanel);
}
