// Test fixture that starts the soft front panel headless: a fresh run-time with the headless front end, a
// temporary program directory, every module's state back at its start, the simulated module running on
// the front end's virtual clock, and the program's own start-up path. TearDown shuts the program down as
// it would end, closes any session a test opened and removes the directory.
//
//   class MyTest : public AppFixture {};
//   TEST_F(MyTest, Something) {
//       ASSERT_EQ(startApp({"QZTRACE"}), 0);
//       bootModule(0x4125);               // a session on a simulated module, marked booted
//       ...  op.press(state().mainPanel, MAINPANEL_BOOTBUTTON) ...
//   }
#ifndef QM_TESTS_SUPPORT_APP_FIXTURE_H
#define QM_TESTS_SUPPORT_APP_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "headless.h"
#include "model.h"
#include "operator.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"
#include "qm4120_sfp.h"
#include "qm_faults.h"
#include "temp_dir.h"
#include "userint.h"

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::resetRuntime();
        qm_fault_clear_all();
        qm4120_simResetAll();
        // The signal outlives the modules: one test's scenario would otherwise reach the next.
        qm4120_simSetSignal("");
        // Keep boots deterministic: a fresh module's FPGA check never fails first time round here.
        qm4120_simSetFpgaCheckFailEvery(0);
        // Captures, triggers and list dwell take virtual time: Delay moves it, and so does the module
        // while it waits for a capture.
        qm4120_simSetClock(virtualNow, virtualWait, &fe);
        resetProgramState();
        tempDir = std::make_unique<TempDir>("qm4120_app_test");
        ASSERT_FALSE(tempDir->path().empty());
        programDir = tempDir->path();
        appState.programDirOverride = programDir;
    }

    void TearDown() override {
        if (started) appShutdown();
        started = false;
        closeSession();
        ui::runQueuedCalls();
        ui::resetRuntime();
        qm_fault_clear_all();
        resetProgramState();
        qm4120_simSetClock(nullptr, nullptr, nullptr);
        tempDir.reset();
    }

    // Runs the program's start-up with the program name and `args` on the command line. Returns its
    // status; on success TearDown shuts the program down again.
    int startApp(const std::vector<std::string>& args = {}) {
        argStore = {"qm4120_sfp"};
        argStore.insert(argStore.end(), args.begin(), args.end());
        argv.clear();
        for (std::string& a : argStore) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int status = appStartup(static_cast<int>(argStore.size()), argv.data());
        started = status >= 0;
        if (started && !runMonitor) {
            // Tests of the panel's own indicators keep the lock LED out of the monitor's hands.
            stopRefLockMonitor();
            ui::runQueuedCalls();
        }
        return status;
    }

    // Opens a session on a simulated module of `model` straight through the driver and records it in the
    // state record as a successful boot would (session and booted flag only). Returns the session, 0 on
    // failure.
    uint32_t bootModule(uint16_t model) {
        char resource[16];
        std::snprintf(resource, sizeof resource, "0x%04X", model);
        qm4120_setModelCodePxiKorvo(model);
        uint32_t session = 0;
        if (qm4120_init(resource, 0, 1, &session) < 0) return 0;
        appState.sessionHandle = session;
        appState.instrumentBooted = 1;
        return session;
    }

    void closeSession() {
        const uint32_t session = appState.sessionHandle.load();
        appState.instrumentBooted = 0;
        if (session) qm4120_close(session);
        appState.sessionHandle = 0;
    }

    // The INI file of the program directory.
    std::string iniPath() const { return programDir + "/qm4120_sfp.ini"; }
    void writeIni(const std::string& text) const {
        FILE* f = std::fopen(iniPath().c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }

    AppState& state() { return appState; }

    // The value of a numeric control of data type double.
    static double shownNumber(int panel, int control) {
        double value = -12345;
        GetCtrlVal(panel, control, &value);
        return value;
    }
    // A numeric attribute (range, increment) of a control of data type double.
    static double numberAttribute(int panel, int control, int attr) {
        double value = -12345;
        GetCtrlAttribute(panel, control, attr, &value);
        return value;
    }

    // False: start-up stops the reference-lock monitor again at once.
    bool runMonitor = true;
    ui::HeadlessFrontend fe;
    ui::test::Operator op;
    std::string programDir;
    bool started = false;

  private:
    static double virtualNow(void* frontend) { return static_cast<ui::HeadlessFrontend*>(frontend)->clock(); }
    static void virtualWait(void* frontend, double seconds) {
        static_cast<ui::HeadlessFrontend*>(frontend)->advanceClock(seconds);
    }

    std::unique_ptr<TempDir> tempDir;
    std::vector<std::string> argStore;
    std::vector<char*> argv;
};

#endif
