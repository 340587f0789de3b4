// Capture timing on the module's clock: with a clock of the test's own, a capture completes when that
// clock passes the time the hardware would need (trigger wait plus samples at the module's rate), and
// not a moment before; nothing here waits in real time.

#include <cmath>
#include <functional>
#include <vector>

#include "fixture.h"

namespace {

class TimingTest : public ClockedSimTest {
  protected:
    // Complete just after `at` and not just before it.
    void expectCompleteAt(uint32_t vi, double at, const char* what) {
        clock.seconds = at - 1e-9;
        EXPECT_EQ(got(qm4120_controlGetCaptureComplete, vi), 0) << what;
        clock.seconds = at + 1e-9;
        EXPECT_EQ(got(qm4120_controlGetCaptureComplete, vi), 1) << what;
    }
};

constexpr uint32_t WORDS = 4096;

TEST_F(TimingTest, TimerAndSoftwareTriggeredCapturesTakeTheirSampleTime) {
    Module m(0x4A20);
    // IF data: one word per sample at the ADC clock.
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    const double adcHz = got(qm4120_controlGetAdcClockFrequency, m.vi());
    const double blockS = WORDS / adcHz;

    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    EXPECT_EQ(got(qm4120_controlGetTriggerDetected, m.vi()), 1) << "software triggers at once";
    expectCompleteAt(m.vi(), blockS, "software trigger");

    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), 34), 0);
    ASSERT_EQ(qm4120_controlSetTimerPeriod(m.vi(), 500.0), 0);
    clock.seconds = 0.002;  // a whole number of timer periods since the module was opened
    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    clock.seconds = 0.0025 - 1e-9;
    EXPECT_EQ(got(qm4120_controlGetTriggerDetected, m.vi()), 0) << "the timer fires one period later";
    clock.seconds = 0.0025 + 1e-9;
    EXPECT_EQ(got(qm4120_controlGetTriggerDetected, m.vi()), 1) << "asked first, once the timer has fired";
    expectCompleteAt(m.vi(), 0.0025 + blockS, "timer trigger");

    // The timer runs from the opening of the module, shifted by its phase: arming mid-period waits for
    // the next tick, not for a whole period.
    ASSERT_EQ(qm4120_controlSetTimerPhase(m.vi(), 1000), 0);
    const double tick = 0.003 + 1000 / adcHz;
    clock.seconds = 0.0027;
    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    expectCompleteAt(m.vi(), tick + blockS, "timer with phase");

    // An offset delay moves the trigger point later; pre-trigger samples were taken before it.
    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), 32), 0);
    ASSERT_EQ(qm4120_controlSetTriggerOffsetDelay(m.vi(), 3000), 0);
    ASSERT_EQ(qm4120_controlSetPreEdgeTriggerSamples(m.vi(), 1000), 0);
    clock.seconds = 0.01;
    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    expectCompleteAt(m.vi(), 0.01 + (3000 + WORDS - 1000) / adcHz, "offset delay and pre-trigger samples");
    EXPECT_EQ(got(qm4120_controlGetCapturedSampleCount, m.vi()), WORDS);
}

TEST_F(TimingTest, AnAbortDiscardsAnUntriggeredCaptureAndEndsATriggeredOneShort) {
    Module m(0x4A20);  // I/Q data, 16-bit words; hardware lines fire 20 ms after arming
    const double rate = got(qm4120_controlGetDecimatedSamplingFrequency, m.vi());
    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), 3), 0);

    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    clock.seconds = 0.010;
    ASSERT_EQ(qm4120_controlCaptureAbort(m.vi()), 0);
    clock.seconds = 1.0;
    EXPECT_EQ(got(qm4120_controlGetTriggerDetected, m.vi()), 0);
    EXPECT_EQ(got(qm4120_controlGetCaptureComplete, m.vi()), 0) << "aborted before its trigger";
    EXPECT_EQ(got(qm4120_controlGetCapturedSampleCount, m.vi()), 0u);

    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);  // 2048 I/Q samples
    clock.seconds = 1.020 + 700.5 / rate;
    EXPECT_EQ(got(qm4120_controlGetCaptureComplete, m.vi()), 0);
    ASSERT_EQ(qm4120_controlCaptureAbort(m.vi()), 0);
    EXPECT_EQ(got(qm4120_controlGetCaptureComplete, m.vi()), 1) << "aborted after its trigger";
    EXPECT_EQ(got(qm4120_controlGetCapturedSampleCount, m.vi()), 700u);
    std::vector<int16_t> words(2 * 701);
    EXPECT_EQ(qm4120_controlDataCapture(m.vi(), 0, 2 * 701), -63) << "only 700 samples were taken";
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, 2 * 700), 0);
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 2 * 700, words.data()), 0);
    EXPECT_EQ(clock.seconds, 1.020 + 700.5 / rate) << "the data were there: no waiting";
}

TEST_F(TimingTest, AGateClosingEarlyShortensTheCaptureUntilCleared) {
    ASSERT_EQ(qm4120_simSetSignal("capture_limit=1000"), 0);
    Module m(0x4125);
    const double rate = got(qm4120_controlGetDecimatedSamplingFrequency, m.vi());
    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    expectCompleteAt(m.vi(), 1000 / rate, "1000 of 2048 samples");
    EXPECT_EQ(got(qm4120_controlGetCapturedSampleCount, m.vi()), 1000u);
    ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(m.vi()), 0);
    EXPECT_EQ(got(qm4120_controlGetCaptureComplete, m.vi()), 0);
    EXPECT_EQ(got(qm4120_controlGetCapturedSampleCount, m.vi()), 0u);
}

TEST_F(TimingTest, ATransferWaitsForItsDataOnTheModulesClockAndGivesUpOnAnAbort) {
    qm4120_simSetClock(&FakeClock::now, &FakeClock::wait, &clock);
    Module m(0x4B20);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_controlSetUmtsDecimationRatio(m.vi(), 8), 0);  // 32-bit words need some decimation
    ASSERT_EQ(qm4120_controlSetSampleDataOutputFormat(m.vi(), 1), 0);
    const double rate = got(qm4120_controlGetDecimatedSamplingFrequency, m.vi());
    std::vector<int32_t> words(2 * 8192);  // 8192 I/Q samples of two 32-bit values, 4 library words each
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, 4 * 8192), 0);
    ASSERT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 4 * 8192, words.data()), 0);
    EXPECT_NEAR(clock.seconds, 8192 / rate, 1e-9);

    // Status reads and an abort get through while the transfer waits (the module is not held).
    uint16_t complete = 9;
    clock.duringWait = [&] {
        EXPECT_EQ(qm4120_controlGetCaptureComplete(m.vi(), &complete), 0);
        EXPECT_EQ(qm4120_controlCaptureAbort(m.vi()), 0);
    };
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, 4 * 8192), 0);
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 4 * 8192, words.data()), -15);
    EXPECT_EQ(complete, 1) << "read while the transfer waited, once the time had passed";
    clock.duringWait = nullptr;

    // A clock that cannot be waited on: the data come at once.
    qm4120_simSetClock(&FakeClock::now, nullptr, &clock);
    const double before = clock.seconds;
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, 4 * 8192), 0);
    ASSERT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 4 * 8192, words.data()), 0);
    EXPECT_EQ(clock.seconds, before);
}

}  // namespace
