// Reference-lock monitor: a pool thread that polls the module's reference lock about every 2 s and shows
// it on LED_REF_LOCKED_STATUS.
//
// It shares three words with the main thread (the stop flag, the booted flag and the session) and takes
// no lock. The main thread asks it to end by setting the stop flag; the monitor acknowledges by clearing
// the flag as it leaves. Control and popup calls made here are handed to the main thread by the run-time.
#include <chrono>
#include <cstdint>
#include <thread>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr int POLL_STEPS = 10;        // one poll every POLL_STEPS x STEP_SECONDS
constexpr double STEP_SECONDS = 0.2;  // how quickly a stop request is noticed
constexpr uint16_t LIST_ADDRESS_MANUAL = 0;

int monitorDelay(double seconds) {
    auto delay = appState.monitorStepDelay ? appState.monitorStepDelay : Delay;
    return delay(seconds);
}

// One look at the module. In list mode the hardware switches channels (and with them the front end)
// under the program's feet, so the lock is only meaningful while the channel is set by hand.
void pollReferenceLock() {
    if (!isActive4120()) return;
    const uint32_t session = getQM4120id();
    uint16_t source = 0;
    const int32_t status = qm4120_getListAddrSource(session, &source);
    err4120(status);
    if (status < 0 || source != LIST_ADDRESS_MANUAL) return;

    uint16_t locked = 0;
    uint16_t latched = 0;
    const int32_t refStatus = qm4120_getIfRefState(session, &locked, &latched);
    err4120(refStatus);
    // A boot may have closed the session while the module was being asked.
    if (refStatus >= 0 && isActive4120())
        SetCtrlVal(appState.mainPanel, MAINPANEL_LED_REF_LOCKED_STATUS, locked ? 1 : 0);
}

// Waits up to POLL_STEPS x STEP_SECONDS of real time while the stop flag is still set; true when it was
// acknowledged. Real time, not Delay: the monitor thread sleeps for real whatever the front end does.
bool waitForAcknowledge() {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + duration<double>(POLL_STEPS * STEP_SECONDS);
    while (appState.refLockMonitorStop.load() != 0 && steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(5));
    return appState.refLockMonitorStop.load() == 0;
}

}  // namespace

int refLockMonitorTask(void*) {
    AppState& s = appState;
    while (s.refLockMonitorStop.load() == 0) {
        pollReferenceLock();
        for (int step = 0; step < POLL_STEPS && s.refLockMonitorStop.load() == 0; ++step)
            monitorDelay(STEP_SECONDS);
    }
    // The last monitor to leave acknowledges, so a waiter knows that none is left polling.
    if (--s.refLockMonitorsRunning == 0) s.refLockMonitorStop = 0;
    return 0;
}

int startRefLockMonitor() {
    AppState& s = appState;
    int functionId = 0;
    // Counted from the moment it is scheduled: a monitor that has not started yet must still be waited
    // for by stopRefLockMonitor, or it would start polling after a stop and run beside the next one.
    ++s.refLockMonitorsRunning;
    const int status =
        CmtScheduleThreadPoolFunctionAdv(s.threadPool, refLockMonitorTask, nullptr, THREAD_PRIORITY_LOWEST,
                                         nullptr, 0, nullptr, 0, &functionId);
    if (status < 0) {
        --s.refLockMonitorsRunning;
        CmtGetErrorMessage(status, s.threadPoolErrorText);
        MessagePopup("Error:", s.threadPoolErrorText);
        return status;
    }
    return 0;
}

int stopRefLockMonitor() {
    AppState& s = appState;
    s.refLockMonitorStop = 1;
    if (s.refLockMonitorsRunning.load() == 0) {
        // Nobody is there to acknowledge: leave the flag as a monitor would have left it.
        s.refLockMonitorStop = 0;
        return 1;
    }
    waitForAcknowledge();
    return s.refLockMonitorsRunning.load() == 0 ? 1 : 0;
}

int cmdRefLockAutoCheck(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    AppState& s = appState;
    GetCtrlVal(panel, control, &s.refLockAutoCheck);
    // A monitor that was asked to stop must be gone before a new one starts.
    waitForAcknowledge();
    if (s.refLockAutoCheck) startRefLockMonitor();
    return 0;
}
