// Triggers that really fire: the internal level trigger on a tone burst, backplane lines driven through
// the routing matrix, LVDS lines through their receivers, and lines that nothing drives.
#include <cmath>
#include <complex>
#include <vector>

#include "fixture.h"

namespace {

constexpr uint16_t SRC_INTERNAL = 35;
constexpr uint32_t SIG_GND = 34;
constexpr uint32_t SIG_INT_TIMER = 36;
constexpr uint32_t SIG_PXI_STAR = 8;
constexpr uint32_t N = 2048;  // I/Q samples per capture

class FiringTest : public ClockedSimTest {
  protected:
    // Arms a capture of N I/Q samples and lets module time pass in 10 us steps until it completes or
    // `limitS` has gone by. Returns whether it completed.
    bool armAndWait(uint32_t vi, double limitS) {
        EXPECT_EQ(qm4120_controlArmTrigger(vi, 0, 2 * N), 0);
        return passUntilComplete(vi, limitS, 10e-6);
    }
    static double triggerTime(uint32_t vi) { return got(qm4120_controlGetAbsSampleTime, vi); }
    // The magnitudes of the armed capture's samples.
    static std::vector<double> magnitudes(uint32_t vi) {
        std::vector<int16_t> words(2 * N);
        EXPECT_EQ(qm4120_controlDataCapture(vi, 0, 2 * N), 0);
        EXPECT_EQ(qm4120_controlDataAcquire(vi, 0, 2 * N, words.data()), 0);
        std::vector<double> m(N);
        for (uint32_t n = 0; n < N; ++n)
            m[n] = std::abs(std::complex<double>(words[2 * n], words[2 * n + 1]));
        return m;
    }
    // The first sample of the burst: where the magnitude first reaches half the tone's.
    static int burstEdge(const std::vector<double>& m) {
        double tone = 0.0;
        for (uint32_t n = N - 64; n < N; ++n) tone += m[n] / 64.0;
        for (uint32_t n = 0; n < N; ++n)
            if (m[n] > tone / 2.0) return static_cast<int>(n);
        return -1;
    }
};

TEST_F(FiringTest, TheLevelTriggerFiresOnTheBurstEdgeAfterThePreTriggerSamples) {
    // The tone is on from 0 to 1 ms, 2 to 3 ms, ...; armed at 1.5 ms the trigger waits for the burst at
    // 2 ms whichever mode watches it.
    ASSERT_EQ(qm4120_simSetSignal("burst_on_ms=1, burst_off_ms=1, tone_level=-20, tone_offset=1e5"), 0);
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -20.0), 0);
    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), SRC_INTERNAL), 0);
    ASSERT_EQ(qm4120_controlSetIntTriggerAbsThreshold(m.vi(), -40.0), 0);
    ASSERT_EQ(qm4120_controlSetIntTriggerRelThreshold(m.vi(), 6), 0);
    struct Case {
        uint16_t mode;
        uint32_t pre;
        int32_t delay;
        int edge;  // sample index where the burst shows: pre-trigger samples, less the offset delay
    } const cases[] = {{0, 256, 0, 256}, {0, 1000, 300, 700}, {1, 512, 0, 512}, {1, 100, 60, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " pre " << c.pre << " delay " << c.delay);
        ASSERT_EQ(qm4120_controlSetIntTriggerMode(m.vi(), c.mode), 0);
        ASSERT_EQ(qm4120_controlSetPreEdgeTriggerSamples(m.vi(), c.pre), 0);
        ASSERT_EQ(qm4120_controlSetTriggerOffsetDelay(m.vi(), c.delay), 0);
        clock.seconds = std::floor(clock.seconds / 2e-3) * 2e-3 + 3.5e-3;
        ASSERT_TRUE(armAndWait(m.vi(), 5e-3));
        EXPECT_NEAR(std::fmod(triggerTime(m.vi()), 2e-3), 0.0, 2e-6);
        const int edge = burstEdge(magnitudes(m.vi()));
        EXPECT_GE(edge, c.edge - 1);
        EXPECT_LE(edge, c.edge + 1);
        ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(m.vi()), 0);
    }

    // A steady tone gives the relative detectors nothing to tell apart, though it stands above an absolute
    // threshold; a threshold above the tone has nothing to cross.
    ASSERT_EQ(qm4120_simSetSignal("tone_level=-20"), 0);
    EXPECT_FALSE(armAndWait(m.vi(), 3e-3)) << "relative mode, steady tone";
    ASSERT_EQ(qm4120_controlCaptureAbort(m.vi()), 0);
    ASSERT_EQ(qm4120_controlSetIntTriggerMode(m.vi(), 0), 0);
    EXPECT_TRUE(armAndWait(m.vi(), 3e-3)) << "absolute mode, steady tone above the threshold";
    ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(m.vi()), 0);
    ASSERT_EQ(qm4120_controlSetIntTriggerAbsThreshold(m.vi(), -10.0), 0);
    ASSERT_EQ(qm4120_simSetSignal("burst_on_ms=1, burst_off_ms=1, tone_level=-20"), 0);
    EXPECT_FALSE(armAndWait(m.vi(), 5e-3)) << "absolute threshold above the burst";
}

TEST_F(FiringTest, AGateHoldsWhatCameWhileItWasOpenAndThenThePostGateSamples) {
    // An undriven backplane line opens the gate 1 ms after arming; it stays open for 20 us.
    ASSERT_EQ(qm4120_simSetSignal("line_trigger_ms=1, gate_ms=0.02"), 0);
    Module m(0x4A20);
    const double rate = got(qm4120_controlGetDecimatedSamplingFrequency, m.vi());
    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), 4), 0);
    ASSERT_EQ(qm4120_controlSetPostGateTriggerSamples(m.vi(), 100), 0);
    struct Case {
        uint16_t type;  // 0 edge, 1 gate
        uint32_t expected;
    } const cases[] = {{1, static_cast<uint32_t>(std::floor(20e-6 * rate)) + 100}, {0, N}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type ? "gate" : "edge");
        ASSERT_EQ(qm4120_controlSetTriggerType(m.vi(), c.type), 0);
        ASSERT_TRUE(armAndWait(m.vi(), 5e-3));
        EXPECT_EQ(got(qm4120_controlGetCapturedSampleCount, m.vi()), c.expected);
        ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(m.vi()), 0);
    }
}

TEST_F(FiringTest, ABackplaneLineFiresFromWhatTheMatrixDrivesOntoIt) {
    ASSERT_EQ(qm4120_simSetSignal("line_trigger_ms=2"), 0);
    Module m(0x4A20);
    const uint32_t vi = m.vi();
    // PXI_TRIG[3] driven from the timer: 250 us period, shifted by 1000 ADC clocks.
    const double periodS = 250e-6;
    ASSERT_EQ(qm4120_controlSetTimerPeriod(vi, 250.0), 0);
    ASSERT_EQ(qm4120_controlSetTimerPhase(vi, 1000), 0);
    const double adcHz = got(qm4120_controlGetAdcClockFrequency, vi);
    const double phaseS = 1000.0 / adcHz;
    ASSERT_EQ(qm4120_routingSetConnect(vi, 3, SIG_INT_TIMER), 0);
    ASSERT_EQ(qm4120_routingSetOutputEnable(vi, 3, 1), 0);
    ASSERT_EQ(qm4120_controlSetTriggerSource(vi, 3), 0);
    for (double armAt : {0.0101, 0.0307, 0.05}) {
        clock.seconds = armAt;
        ASSERT_TRUE(armAndWait(vi, 1e-3)) << armAt;
        const double t = triggerTime(vi);
        const double ticks = (t - phaseS) / periodS;
        EXPECT_NEAR(ticks, std::round(ticks), 1e-6) << "on a timer tick";
        EXPECT_GT(t, armAt);
        EXPECT_LE(t - armAt, periodS + 1e-9) << "the first tick after arming";
        ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(vi), 0);
    }

    // Undriven by the module, the line carries what comes from outside: 2 ms after arming.
    ASSERT_EQ(qm4120_routingSetOutputEnable(vi, 3, 0), 0);
    clock.seconds = 0.1;
    ASSERT_TRUE(armAndWait(vi, 3e-3));
    EXPECT_NEAR(triggerTime(vi), 0.102, 1e-9);
    ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(vi), 0);

    // Driven by the module from ground, nothing from outside gets through: the capture waits.
    ASSERT_EQ(qm4120_routingSetConnect(vi, 3, SIG_GND), 0);
    ASSERT_EQ(qm4120_routingSetOutputEnable(vi, 3, 1), 0);
    EXPECT_FALSE(armAndWait(vi, 5e-3));
    EXPECT_EQ(got(qm4120_controlGetTriggerDetected, vi), 0);
    ASSERT_EQ(qm4120_controlCaptureAbort(vi), 0);

    // PXI_STAR is a source the matrix can put on a line.
    uint32_t source = 0;
    ASSERT_EQ(qm4120_routingSetConnect(vi, 5, SIG_PXI_STAR), 0);
    ASSERT_EQ(qm4120_routingGetConnect(vi, 5, &source), 0);
    EXPECT_EQ(source, SIG_PXI_STAR);
}

TEST_F(FiringTest, AnLvdsLineTriggersOnlyThroughItsReceivers) {
    ASSERT_EQ(qm4120_simSetSignal("line_trigger_ms=1"), 0);
    Module m(0x4125);
    const uint32_t vi = m.vi();
    struct Case {
        uint16_t source;
        int32_t (*setDirection)(uint32_t, uint16_t);
        uint16_t direction;
        bool fires;
    } const cases[] = {
        {22, qm4120_controlSetLvdsMarkerMode, 0, true},  {22, qm4120_controlSetLvdsMarkerMode, 1, false},
        {25, qm4120_controlSetLvdsMarkerMode, 3, false}, {28, qm4120_controlSetLvdsAuxMode, 0, true},
        {28, qm4120_controlSetLvdsAuxMode, 3, false},    {31, qm4120_controlSetLvdsDataMode, 0, true},
        {31, qm4120_controlSetLvdsDataMode, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "source " << c.source << " direction " << c.direction);
        ASSERT_EQ(c.setDirection(vi, c.direction), 0);
        ASSERT_EQ(qm4120_controlSetTriggerSource(vi, c.source), 0);
        EXPECT_EQ(armAndWait(vi, 3e-3), c.fires);
        ASSERT_EQ(qm4120_controlCaptureAbort(vi), 0);
        ASSERT_EQ(qm4120_controlClearAfterRepeatCapt(vi), 0);
    }
}

}  // namespace
