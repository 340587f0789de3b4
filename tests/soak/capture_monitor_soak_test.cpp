// Long run of repeat capture with the reference-lock monitor polling the same session throughout: the
// operator boots a 4120 Enhanced through the boot dialog, asks for 32768-point I/Q spectra in repeat mode and
// lets the run go on for QM4120_SOAK_SECONDS (default ten minutes) before pressing Stop. The monitor's steps
// are cut from 0.2 s to 1 ms, so it asks the module for the lock about every 10 ms instead of every 2 s
// and the two threads meet on the module far more often than on the bench. Under ThreadSanitizer
// (`./sfp soak tsan`) this is the race hunt; on every build the run must end with nothing piled up.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "boot_fixture.h"
#include "capture_state.h"
#include "process_usage.h"

namespace {

constexpr uint32_t POINTS = 32768;
// Resident growth from the end of the first minute to the end that still counts as flat; a capture's
// buffers (half a megabyte of samples and spectrum) kept per run would pass it within a few dozen runs.
constexpr double FLAT_MIB = 8.0;

std::atomic<long> monitorSteps{0};

double soakSeconds() {
    const char* text = std::getenv("QM4120_SOAK_SECONDS");
    const double s = text ? std::atof(text) : 600.0;
    return s > 0 ? s : 600.0;
}

class CaptureMonitorSoak : public BootFixture {
  protected:
    void SetUp() override {
        BootFixture::SetUp();
        if (HasFatalFailure()) return;
        // Start-up's monitor goes before its steps are counted; the boot starts the next one.
        ASSERT_EQ(stopRefLockMonitor(), 1);
        monitorSteps = 0;
        appState.monitorStepDelay = [](double) {
            ++monitorSteps;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0;
        };
    }
};

TEST_F(CaptureMonitorSoak, RepeatCaptureWhileTheMonitorPolls) {
    ASSERT_TRUE(bootDefault(0x4A20));
    ASSERT_GT(appState.refLockMonitorsRunning.load(), 0);
    const int p = mainPanel();
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_TYPE, 1));  // I/Q samples
    ASSERT_TRUE(op.commit(p, MAINPANEL_NUM_SAMPLES, POINTS));
    ASSERT_TRUE(op.commit(p, MAINPANEL_RING_FFT_LEN, POINTS));
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));  // Repeat
    fe.clearPopups();

    const double seconds = soakSeconds();
    RssSamples rss;
    long captures = 0;
    bool stopAsked = false;
    const long stepsBefore = monitorSteps.load();
    const int descriptorsBefore = openDescriptors();
    const auto start = std::chrono::steady_clock::now();
    double lastSample = -1.0;
    // Each pass of the run's event processing: count the captures shown since the last pass, sample the
    // resident set every ten seconds, and press Stop once the time is up.
    fe.setEventPassHook([&] {
        if (capturedData.dataValid) {
            ++captures;
            capturedData.dataValid = 0;
        }
        const double now = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (now - lastSample >= 10.0 || lastSample < 0) {
            lastSample = now;
            rss.add(now, residentMiB());
        }
        if (!stopAsked && now > seconds) {
            stopAsked = true;
            fe.post([this, p] { op.press(p, MAINPANEL_CMD_STOP); });
        }
    });
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));  // returns when the run has ended
    fe.setEventPassHook(nullptr);
    rss.add(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), residentMiB());

    const long polls = (monitorSteps.load() - stepsBefore) / 10;
    const double settled = rss.at(std::min(60.0, seconds / 2));
    std::printf(
        "capture and monitor soak: %.0f s, %ld captures shown, %ld lock polls; descriptors %d -> %d; RSS MiB "
        "start %.1f (after settling %.1f) end %.1f max %.1f\n",
        rss.lastTime(), captures, polls, descriptorsBefore, openDescriptors(), rss.first(), settled,
        rss.last(), rss.max());
    EXPECT_TRUE(stopAsked);
    EXPECT_TRUE(fe.popups().empty()) << fe.popups().front().title << ": " << fe.popups().front().text;
    EXPECT_GT(captures, static_cast<long>(seconds));  // the run went on: more than one capture a second
    EXPECT_GT(polls, static_cast<long>(seconds));     // and so did the monitor, the whole time
    EXPECT_GT(appState.refLockMonitorsRunning.load(), 0);
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_REF_LOCKED_STATUS), VAL_GREEN);
    EXPECT_EQ(openDescriptors(), descriptorsBefore);
    EXPECT_LT(rss.last() - settled, FLAT_MIB);
}

}  // namespace
