// The reference-lock monitor on its pool thread, against the real driver and the simulated module.
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "app_fixture.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"

namespace {

using namespace std::chrono_literals;

// Counting stand-in for the monitor's 0.2 s step: sleeps briefly for real and, when asked, raises the stop
// flag during a chosen step, as the main thread would.
std::atomic<int> steps{0};
std::atomic<int> stopAtStep{-1};
std::atomic<int> stepsAfterStop{0};

int countingStep(double) {
    const int step = ++steps;
    if (stopAtStep.load() >= 0 && step > stopAtStep.load()) ++stepsAfterStop;
    if (step == stopAtStep.load()) appState.refLockMonitorStop = 1;
    std::this_thread::sleep_for(1ms);
    return 0;
}

// Runs the main thread's queued calls until `done` holds; false after `timeout` (no hang on a bug).
template <typename Pred>
bool pumpUntil(Pred done, std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        ui::runQueuedCalls();
        if (done()) return true;
        std::this_thread::sleep_for(1ms);
    }
    ui::runQueuedCalls();
    return done();
}

}  // namespace

class RefLockMonitorTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        steps = 0;
        stopAtStep = -1;
        stepsAfterStop = 0;
        state().monitorStepDelay = countingStep;
        ASSERT_EQ(startApp(), 0);
        ASSERT_TRUE(pumpUntil([] { return appState.refLockMonitorsRunning.load() == 1; }));
    }
    void TearDown() override {
        qm4120_simSetSignal("ref=1");
        AppFixture::TearDown();
    }

    int led() { return op.ledColor(state().mainPanel, MAINPANEL_LED_REF_LOCKED_STATUS) == VAL_GREEN ? 1 : 0; }
    void setLed(int on) { SetCtrlVal(state().mainPanel, MAINPANEL_LED_REF_LOCKED_STATUS, on); }
    // Lets the monitor run at least `cycles` more polling cycles (10 steps each).
    bool waitCycles(int cycles) {
        const int target = steps.load() + cycles * 10;
        return pumpUntil([target] { return steps.load() >= target; });
    }
};

TEST_F(RefLockMonitorTest, ShowsTheLockWhileBooted) {
    ASSERT_NE(bootModule(0x4120), 0u);
    qm4120_simSetSignal("ref=1");
    EXPECT_TRUE(pumpUntil([&] { return led() == 1; }));
    qm4120_simSetSignal("ref=0");  // the external reference goes away
    EXPECT_TRUE(pumpUntil([&] { return led() == 0; }));
    qm4120_simSetSignal("ref=1");
    EXPECT_TRUE(pumpUntil([&] { return led() == 1; }));
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(RefLockMonitorTest, LeavesTheModuleAloneWhileNotBooted) {
    const uint32_t session = bootModule(0x4125);
    ASSERT_NE(session, 0u);
    state().instrumentBooted = 0;  // a session exists, but the panel does not count it as booted
    qm_fault_set("qm4120_controlGetListAddrSource", -5, -1);
    qm_fault_set("qm4120_controlGetIfRefState", -5, -1);
    setLed(1);
    ASSERT_TRUE(waitCycles(3));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0) << "no instrument call was made";
    EXPECT_EQ(led(), 1);
}

TEST_F(RefLockMonitorTest, ReadsTheLockOnlyWhileTheChannelIsSetByHand) {
    const uint32_t session = bootModule(0x4B20);
    ASSERT_NE(session, 0u);
    ASSERT_EQ(qm4120_setListAddrSource(session, 2), 0);  // list mode: a counter picks the channel
    // Any reading of the reference state would now show the "4120 Driver Error" popup.
    qm_fault_set("qm4120_controlGetIfRefState", -5, -1);
    setLed(1);
    ASSERT_TRUE(waitCycles(3));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
    EXPECT_EQ(led(), 1);

    ASSERT_EQ(qm4120_setListAddrSource(session, 0), 0);  // back to manual: the reading resumes
    EXPECT_TRUE(pumpUntil([&] { return fe.countPopups("4120 Driver Error") > 0; }));
    EXPECT_EQ(led(), 1) << "a failed reading does not change the LED";
}

TEST_F(RefLockMonitorTest, FailingListAddressReadIsReportedAndSkipsTheLock) {
    ASSERT_NE(bootModule(0x4120), 0u);
    qm4120_simSetSignal("ref=1");
    qm_fault_set("qm4120_controlGetListAddrSource", -5, -1);
    // A cycle that read the lock before the fault was set has shown it by the end of the next one.
    ASSERT_TRUE(waitCycles(1));
    setLed(0);
    EXPECT_TRUE(pumpUntil([&] { return fe.countPopups("4120 Driver Error") > 0; }));
    ASSERT_TRUE(waitCycles(2));
    EXPECT_EQ(led(), 0);
}

TEST_F(RefLockMonitorTest, StopRequestEndsTheMonitorAfterTheCurrentStep) {
    // The request arrives during the 15th step, half-way through the second cycle.
    stopAtStep = steps.load() + 15;
    ASSERT_TRUE(pumpUntil([] { return appState.refLockMonitorsRunning.load() == 0; }));
    EXPECT_EQ(stepsAfterStop.load(), 0) << "no further step once the flag is seen";
    EXPECT_EQ(state().refLockMonitorStop.load(), 0) << "the monitor acknowledges by clearing the flag";
}

TEST_F(RefLockMonitorTest, StopRequestedBetweenCyclesSkipsTheNextPoll) {
    ASSERT_NE(bootModule(0x4120), 0u);
    stopAtStep = steps.load() + 20;  // the last step of a cycle
    ASSERT_TRUE(pumpUntil([] { return appState.refLockMonitorsRunning.load() == 0; }));
    EXPECT_EQ(stepsAfterStop.load(), 0);
    EXPECT_EQ(state().refLockMonitorStop.load(), 0);
}

TEST_F(RefLockMonitorTest, AutoCheckBoxRestartsAStoppedMonitor) {
    EXPECT_EQ(stopRefLockMonitor(), 1);
    EXPECT_EQ(state().refLockMonitorsRunning.load(), 0);

    DisplayPanel(state().engPanel);
    ASSERT_TRUE(op.commit(state().engPanel, ENGPANEL_REFLOCK_AUTOCHECK, 0));
    EXPECT_EQ(state().refLockAutoCheck, 0);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(state().refLockMonitorsRunning.load(), 0) << "a cleared box starts nothing";

    ASSERT_TRUE(op.commit(state().engPanel, ENGPANEL_REFLOCK_AUTOCHECK, 1));
    EXPECT_EQ(state().refLockAutoCheck, 1);
    EXPECT_TRUE(pumpUntil([] { return appState.refLockMonitorsRunning.load() == 1; }));
}

TEST_F(RefLockMonitorTest, SchedulingFailureIsReported) {
    const int pool = state().threadPool;
    state().threadPool = pool + 1000;  // no such pool
    EXPECT_LT(startRefLockMonitor(), 0);
    state().threadPool = pool;
    ASSERT_EQ(fe.countPopups("Error:"), 1);
    EXPECT_FALSE(fe.popups().back().text.empty());
}

// Real 0.2 s steps: stops and restarts at random moments, with the module being read and a session being
// closed under the monitor's feet. ThreadSanitizer runs this too.
class RefLockMonitorRaceTest : public AppFixture {};

TEST_F(RefLockMonitorRaceTest, StopsAndRestartsRacingTheModule) {
    ASSERT_EQ(startApp(), 0);
    std::mt19937 random(4120);
    std::uniform_int_distribution<int> pause(0, 250);
    for (int round = 0; round < 8; ++round) {
        ASSERT_NE(bootModule(round % 2 ? 0x4125 : 0x4120), 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        ui::runQueuedCalls();
        // As a new boot does: stop first, then close the session the monitor may be using.
        EXPECT_EQ(stopRefLockMonitor(), 1) << "round " << round;
        EXPECT_EQ(state().refLockMonitorStop.load(), 0);
        closeSession();
        ASSERT_EQ(startRefLockMonitor(), 0);
        EXPECT_TRUE(pumpUntil([] { return appState.refLockMonitorsRunning.load() == 1; }));
    }
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}
