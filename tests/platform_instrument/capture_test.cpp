// Captures seen through the panel's own spectrum arithmetic: the scenario's tone must show at its true
// frequency (within one bin) and level (within 0.2 dB, less the window's scalloping when the tone falls
// between bins; the panel needs 0.5) for every input, LO side, data type and word width; the ADC overloads
// when the signal exceeds what the set-up allows.

#include <cmath>
#include <vector>

#include "fixture.h"
#include "panel_spectrum.h"

namespace {

using CaptureTest = ClockedSimTest;

constexpr uint32_t N = 2048;

void expectTone(uint32_t vi, double toneHz, double toneDbm, const char* what) {
    const Peak p = capturePeak(vi);
    EXPECT_NEAR(p.frequencyHz, toneHz, p.binHz * 1.01) << what;
    // A tone between bins shows lower by the window's response that far from the bin's centre.
    EXPECT_NEAR(p.levelDbm, toneDbm + scallopDb(4, (p.frequencyHz - toneHz) / p.binHz), 0.2) << what;
    EXPECT_EQ(got(qm4120_controlGetAdcOverload, vi), 0) << what;
}

TEST_F(CaptureTest, IfDataShowTheToneWithTheLoAboveAndBelow) {
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=1.5e6, tone_level=-25"), 0);
    for (uint16_t model : {uint16_t(0x4A20), uint16_t(0x4125)}) {
        Module m(model);
        ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
        ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -20.0), 0);
        ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.2e9), 0);
        expectTone(m.vi(), 1.2015e9, -25.0, "IF data, LO above");
        const double ifHz = got(qm4120_controlGetIfFrequency, m.vi());
        ASSERT_EQ(qm4120_appSetLoOffset(m.vi(), -ifHz), 0);
        expectTone(m.vi(), 1.2015e9, -25.0, "IF data, LO below");
    }
}

TEST_F(CaptureTest, IqDataShowTheToneInBothWordWidths) {
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=-700e3, tone_level=-31"), 0);
    Module m(0x4B20);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -25.0), 0);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_controlSetUmtsDecimationRatio(m.vi(), 8), 0);
    expectTone(m.vi(), 2.0e9 - 700e3, -31.0, "16-bit I/Q, LO above");
    ASSERT_EQ(qm4120_controlSetSampleDataOutputFormat(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_appSetLoOffset(m.vi(), -77.76e6), 0);
    expectTone(m.vi(), 2.0e9 - 700e3, -31.0, "32-bit I/Q, LO below");
}

TEST_F(CaptureTest, TheIfInputShowsTheToneAroundTheIfCentre) {
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=2e6, tone_level=-12"), 0);
    Module m(0x4120);
    ASSERT_EQ(qm4120_appSetInputSource(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetIfInputLevel(m.vi(), -10.0), 0);
    // I/Q data on the IF input are measured in the signal tests.
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    expectTone(m.vi(), 48.08e6, -12.0, "IF data, IF input");
}

TEST_F(CaptureTest, AHoppingToneStepsOncePerCaptureAndWrapsRound) {
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=-1e6, tone_level=-25, hop_step=1.5e6, hop_count=3"), 0);
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -20.0), 0);
    ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.5e9), 0);
    for (double offset : {-1e6, 0.5e6, 2e6, -1e6}) expectTone(m.vi(), 1.5e9 + offset, -25.0, "hop");
}

TEST_F(CaptureTest, TheTestToneBitInjectsAToneAtTheDigitizer) {
    ASSERT_EQ(qm4120_simSetSignal("tone_level=-120"), 0);
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetInputSource(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    const double fullScale = got(qm4120_appGetLevelCorrDigitizer, m.vi());
    // Only the library's copy: the hardware has not seen the bit yet.
    ASSERT_EQ(qm4120_registerWriteBit(m.vi(), 0, 20, 1, 0), 0);
    EXPECT_LT(capturePeak(m.vi()).levelDbm, fullScale - 60.0);
    ASSERT_EQ(qm4120_registerWriteBit(m.vi(), 0, 20, 1, 1), 0);
    expectTone(m.vi(), 46.08e6 + 1.25e6, fullScale - 10.0, "test tone, 10 dB below full scale");
}

TEST_F(CaptureTest, TheAdcOverloadsWhenTheSignalExceedsTheSetUp) {
    ASSERT_EQ(qm4120_simSetSignal("tone_level=5"), 0);
    Module m(0x4A20);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -40.0), 0);
    std::vector<int16_t> words(N);
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, N), 0);
    ASSERT_EQ(qm4120_controlDataAcquire(m.vi(), 0, N, words.data()), 0);
    EXPECT_EQ(got(qm4120_controlGetAdcOverload, m.vi()), 1);
    // Setting the front end up for the real level cures it.
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), 5.0), 0);
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, N), 0);
    ASSERT_EQ(qm4120_controlDataAcquire(m.vi(), 0, N, words.data()), 0);
    EXPECT_EQ(got(qm4120_controlGetAdcOverload, m.vi()), 0);
}

TEST_F(CaptureTest, TransfersNeedACaptureOfTheRightSize) {
    Module m(0x4A20);
    std::vector<int16_t> words(64);
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 64, words.data()), -13);
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, 32), 0);
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 64, words.data()), -63);
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 31, words.data()), -63) << "I/Q words come in pairs";
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 32, nullptr), -2);
    EXPECT_EQ(qm4120_controlDataCapture(m.vi(), 0, 0), 0);
    EXPECT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 0, words.data()), 0);
}

}  // namespace
