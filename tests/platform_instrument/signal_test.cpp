// The simulated signal is physical: tones sit at their true frequency whatever the module's FFT length,
// so windows scallop; noise follows the IF filter; the module's own transform and power reading agree
// with the driver's transform of the same signal.

#include <cmath>
#include <string>
#include <vector>

#include "fixture.h"
#include "panel_spectrum.h"

namespace {

using SignalTest = SimTest;

std::string tone(double offsetHz, double levelDbm, double noise = -150.0) {
    return "tone_offset=" + std::to_string(offsetHz) + ", tone_level=" + std::to_string(levelDbm) +
           ", noise=" + std::to_string(noise);
}

TEST_F(SignalTest, AToneBetweenBinsScallopsByTheWindowsAmount) {
    Module m(0x4120);
    ASSERT_EQ(qm4120_appSetInputSource(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetIfInputLevel(m.vi(), -10.0), 0);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 5), 0);
    ASSERT_EQ(qm4120_controlSetGenericDecimationRatio(m.vi(), 4), 0);
    // The module's own FFT length has no say in where the tone is.
    ASSERT_EQ(qm4120_controlSetFftLength(m.vi(), 1024), 0);
    const double fs = got(qm4120_controlGetDecimatedSamplingFrequency, m.vi());
    const double ifHz = got(qm4120_controlGetIfFrequency, m.vi());
    const double bin = fs / 2048;
    for (uint16_t window = 0; window <= 4; ++window) {
        ASSERT_EQ(qm4120_simSetSignal(tone(100 * bin, -20).c_str()), 0);
        const Peak on = capturePeak(m.vi(), window);
        EXPECT_NEAR(on.levelDbm, -20.0, 0.2) << "window " << window << " on a bin";
        ASSERT_EQ(qm4120_simSetSignal(tone(100.5 * bin, -20).c_str()), 0);
        const Peak half = capturePeak(m.vi(), window);
        EXPECT_NEAR(half.levelDbm - on.levelDbm, scallopDb(window, 0.5), 0.05) << "window " << window;
        EXPECT_NEAR(half.frequencyHz, ifHz + 100.5 * bin, 0.51 * bin) << "window " << window;
    }
    EXPECT_LT(scallopDb(0, 0.5), -3.8) << "the rectangular window loses most";
}

TEST_F(SignalTest, NoiseFollowsTheIfFilter) {
    ASSERT_EQ(qm4120_simSetSignal("tone_level=-150, noise=-110"), 0);
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetInputSource(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetIfInputLevel(m.vi(), -10.0), 0);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    const double ifHz = got(qm4120_controlGetIfFrequency, m.vi());
    // Mean bin power of eight rectangular-window traces, inside the 20 MHz filter and near its stop band.
    double inside = 0, outside = 0, binHz = 0;
    int insideCount = 0, outsideCount = 0;
    for (int capture = 0; capture < 8; ++capture) {
        const Trace t = captureTrace(m.vi(), 0);
        binHz = t.freq[1] - t.freq[0];
        for (size_t i = 0; i < t.freq.size(); ++i) {
            const double offset = std::fabs(t.freq[i] - ifHz);
            const double power = std::pow(10.0, t.level[i] / 10.0);
            if (offset < 6e6) inside += power, ++insideCount;
            if (offset > 14.5e6) outside += power, ++outsideCount;
        }
    }
    ASSERT_GT(outsideCount, 0);
    const double insideDbm = 10 * std::log10(inside / insideCount);
    EXPECT_NEAR(insideDbm, -110.0 + 10 * std::log10(binHz), 1.0)
        << "the input's noise density in the pass band";
    EXPECT_LT(10 * std::log10(outside / outsideCount), insideDbm - 20.0) << "the filter's skirt";
}

TEST_F(SignalTest, TheModulesTransformIsTheDriversOfItsCapture) {
    ASSERT_EQ(qm4120_simSetSignal(tone(1.234e6, -25).c_str()), 0);
    Module m(0x4A20);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    std::vector<double> re(2048), im(2048);
    EXPECT_EQ(qm4120_fftPerform(m.vi(), 2048, re.data(), im.data()), -60) << "nothing captured yet";
    std::vector<int16_t> words(2048);
    ASSERT_EQ(qm4120_controlDataCapture(m.vi(), 0, 2048), 0);
    ASSERT_EQ(qm4120_controlDataAcquire(m.vi(), 0, 2048, words.data()), 0);
    EXPECT_EQ(qm4120_fftPerform(m.vi(), 1000, re.data(), im.data()), -33);
    for (uint16_t window : {uint16_t(4), uint16_t(2)}) {
        ASSERT_EQ(qm4120_setWindowFunction(m.vi(), window), 0);
        ASSERT_EQ(qm4120_fftPerform(m.vi(), 2048, re.data(), im.data()), 0);
        ASSERT_EQ(makeWindow(2048, window), 1);
        std::vector<double> x(2048), y(2048);
        for (int i = 0; i < 2048; ++i) x[i] = words[i] * qm4120_windowArray()[i];
        ASSERT_EQ(ReFFT(x.data(), y.data(), 2048), 0);
        for (int k = 0; k < 2048; ++k) {
            ASSERT_NEAR(re[k], x[k], 1e-6 * 2048 * 32768) << k;
            ASSERT_NEAR(im[k], y[k], 1e-6 * 2048 * 32768) << k;
        }
    }
}

TEST_F(SignalTest, TheModulesPowerReadingAgreesWithTheDriverSide) {
    Module m(0x4A20);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -20.0), 0);
    const double correction = got(qm4120_appGetLevelCorrModule, m.vi());
    const double ifHz = got(qm4120_controlGetIfFrequency, m.vi());
    const double fs = got(qm4120_controlGetSampleFrequency, m.vi());
    const double bin = fs / 2048;
    for (double bins : {50.0, 50.5}) {
        // LO above: a tone above the RF frequency sits as far below the IF.
        ASSERT_EQ(qm4120_simSetSignal(tone(bins * bin, -24).c_str()), 0);
        const Peak driver = capturePeak(m.vi());
        ASSERT_EQ(performNFFT(m.vi(), 2048, 8), 0);
        double power = 0;
        ASSERT_EQ(getPowerAtIfFrequency(m.vi(), ifHz - bins * bin, 8, 2048, &power), 0);
        if (bins == 50.0) {
            EXPECT_NEAR(power + correction, driver.levelDbm, 0.1) << "a tone on a bin";
        }
        // The module sums the window's main lobe, so its reading does not scallop.
        EXPECT_NEAR(power + correction, -24.0, 0.2) << bins << " bins";
        EXPECT_NEAR(driver.levelDbm, -24.0 + scallopDb(4, bins - 50.0), 0.2) << bins << " bins";
    }
}

}  // namespace
