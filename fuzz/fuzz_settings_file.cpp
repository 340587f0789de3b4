// The panel's settings files: any file at all handed to Load Settings on a booted program. The loader
// answers with a popup for what it refuses and never crashes, hangs or leaks; no value reaches the module
// that the module would have to refuse or clamp, and every main-panel numeric stays inside its range.
//
// The program runs headless on a simulated 4125, booted once; each input is written to a file and loaded.
// With QM_FUZZ_WRITE_SEED=<path> the target saves the booted program's own settings file there and exits,
// which is how the seed corpus is made.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "headless.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "settings.h"
#include "userint.h"

namespace {

ui::HeadlessFrontend* frontend = nullptr;
std::string inputPath;

double virtualNow(void* fe) {
    return static_cast<ui::HeadlessFrontend*>(fe)->clock();
}
void virtualWait(void* fe, double seconds) {
    static_cast<ui::HeadlessFrontend*>(fe)->advanceClock(seconds);
}

bool moduleRefusedAValue(const ui::PopupRecord& p) {
    return p.title == "4120 Driver Error" &&
           (p.text.find("out of range") != std::string::npos || p.text.find("Invalid") != std::string::npos ||
            p.text.find("clamped") != std::string::npos);
}

void checkInsideRange(int control) {
    double value = 0.0, min = 0.0, max = 0.0;
    GetCtrlVal(appState.mainPanel, control, &value);
    GetCtrlAttribute(appState.mainPanel, control, ATTR_MIN_VALUE, &min);
    GetCtrlAttribute(appState.mainPanel, control, ATTR_MAX_VALUE, &max);
    FUZZ_CHECK(value >= min && value <= max);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    frontend = new ui::HeadlessFrontend();
    qm4120_simSetClock(virtualNow, virtualWait, frontend);
    char folder[] = "/tmp/qm4120_fuzz_settings_XXXXXX";
    FUZZ_CHECK(mkdtemp(folder) != nullptr);
    appState.programDirOverride = folder;
    inputPath = std::string(folder) + "/input.ini";

    static char name[] = "qm4120_sfp";
    static char* argv[] = {name, nullptr};
    FUZZ_CHECK(appStartup(1, argv) >= 0);
    stopRefLockMonitor();
    qm4120_setModelCodePxiKorvo(0x4125);
    uint32_t session = 0;
    FUZZ_CHECK(qm4120_init("0x4125", 0, 1, &session) >= 0);
    appState.sessionHandle = session;
    appState.instrumentBooted = 1;
    refreshPanelFromInstrument();
    ui::runQueuedCalls();

    if (const char* seed = std::getenv("QM_FUZZ_WRITE_SEED")) {
        FUZZ_CHECK(settingsSaveFile(seed) >= 0);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(inputPath.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);

    frontend->clearPopups();
    FUZZ_CHECK(settingsLoadFile(inputPath.c_str()) >= -1);
    ui::runQueuedCalls();
    for (const ui::PopupRecord& p : frontend->popups()) {
        // The module's own words go with the report: which value it refused, and why.
        if (moduleRefusedAValue(p)) std::fprintf(stderr, "module refused a value: %s\n", p.text.c_str());
        FUZZ_CHECK(!moduleRefusedAValue(p));
    }
    for (int c : {MAINPANEL_RF_FREQ, MAINPANEL_NUM_SAMPLES, MAINPANEL_RF_ATTEN, MAINPANEL_IF_ATTEN,
                  MAINPANEL_TIMERPERIOD, MAINPANEL_RF_INPUT_LEVEL})
        checkInsideRange(c);
    // The headless front end's records of popups and of changed panels and controls are a test's to read;
    // kept from one input to the next they would grow with every load (the progress notice is a new panel
    // each time), and libFuzzer takes an input after which more memory is held than before for a possible
    // leak: it runs it again and scans the whole heap.
    frontend->clearPopups();
    frontend->clearChanges();
    return 0;
}
