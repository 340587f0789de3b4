// Capture timing on the module's clock: with a clock of the test's own, a capture completes when that
// clock passes the time the hardware would need (trigger wait plus samples at the module's rate), and
// not a moment before; nothing here waits in real time.

#include <cmath>
#include <vector>

#include "fixture.h"

namespace {

// A clock that moves only when the test moves it.
struct FakeClock {
    double seconds = 0.0;
    static double now(void* self) { return static_cast<FakeClock*>(self)->seconds; }
};

class TimingTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        qm4120_simSetClock(&FakeClock::now, nullptr, &clock_);
    }
    void TearDown() override {
        qm4120_simSetClock(nullptr, nullptr, nullptr);
        SimTest::TearDown();
    }

    uint16_t flag(int32_t (*read)(uint32_t, uint16_t*), uint32_t vi) {
        uint16_t value = 9;
        EXPECT_EQ(read(vi, &value), 0);
        return value;
    }
    // Complete just after `at` and not just before it.
    void expectCompleteAt(uint32_t vi, double at, const char* what) {
        clock_.seconds = at - 1e-9;
        EXPECT_EQ(flag(qm4120_controlGetCaptureComplete, vi), 0) << what;
        clock_.seconds = at + 1e-9;
        EXPECT_EQ(flag(qm4120_controlGetCaptureComplete, vi), 1) << what;
    }

    FakeClock clock_;
};

constexpr uint32_t WORDS = 4096;

TEST_F(TimingTest, TimerAndSoftwareTriggeredCapturesTakeTheirSampleTime) {
    Module m(0x4A20);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0),
              0);  // IF data: one word per sample at the ADC clock
    double adcHz = 0;
    ASSERT_EQ(qm4120_controlGetAdcClockFrequency(m.vi(), &adcHz), 0);
    const double blockS = WORDS / adcHz;

    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    EXPECT_EQ(flag(qm4120_controlGetTriggerDetected, m.vi()), 1) << "software triggers at once";
    expectCompleteAt(m.vi(), blockS, "software trigger");

    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), 34), 0);
    ASSERT_EQ(qm4120_controlSetTimerPeriod(m.vi(), 500.0), 0);
    clock_.seconds = 0.002;  // a whole number of timer periods since the module was opened
    ASSERT_EQ(qm4120_controlArmTrigger(m.vi(), 0, WORDS), 0);
    clock_.seconds = 0.0025 - 1e-9;
    EXPECT_EQ(flag(qm4120_controlGetTriggerDetected, m.vi()), 0) << "the timer fires one period later";
    expectCompleteAt(m.vi(), 0.0025 + blockS, "timer trigger");
}

}  // namespace
