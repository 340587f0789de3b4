// The FFT view end to end: a tone of known frequency and level from the simulated module shows on the
// plotted trace where it is and as strong as it is, in every input, LO side, data type, word width,
// length and span; and the level scaling and span truncation on data made by hand.
#include <algorithm>
#include <cmath>
#include <string>

#include "display_fixture.h"

namespace {

using SpectrumTest = DisplayFixture;

constexpr double TONE_DBM = -20.0;

struct ToneCase {
    int source;    // 0 IF input, 1 RF input
    bool loAbove;  // RF input: LO above the signal
    int dataType;  // 0 IF, 1 I/Q
    int format;    // I/Q word width: 0 16-bit, 1 32-bit
    uint32_t n;    // FFT length (and samples captured)
    int fullSpan;  // 0 truncated
    double frac;   // where the tone sits between two bins: 0 on a bin, 0.5 half-way
};

std::string describe(const ToneCase& c) {
    return std::string(c.source ? "RF input" : "IF input") +
           (c.source ? (c.loAbove ? ", LO above" : ", LO below") : "") +
           (c.dataType ? (c.format ? ", 32-bit I/Q" : ", 16-bit I/Q") : ", IF data") +
           ", N=" + std::to_string(c.n) + (c.fullSpan ? ", full span" : ", truncated") + ", " +
           std::to_string(c.frac) + " bin";
}

TEST_F(SpectrumTest, TheTracePeaksAtTheTonesFrequencyAndLevel) {
    const ToneCase cases[] = {
        {0, true, 0, 0, 2048, 0, 0.0},  {0, true, 0, 0, 32768, 1, 0.5}, {1, true, 0, 0, 256, 0, 0.0},
        {1, false, 0, 0, 4096, 1, 0.0}, {1, false, 0, 0, 2048, 0, 0.5}, {1, true, 0, 0, 16384, 1, 0.3},
        {0, true, 1, 0, 1024, 1, 0.0},  {0, true, 1, 1, 32768, 0, 0.5}, {1, true, 1, 0, 2048, 0, 0.0},
        {1, false, 1, 1, 8192, 1, 0.0}, {1, false, 1, 0, 256, 1, 0.5},  {1, true, 1, 1, 4096, 0, 0.25},
    };
    for (const ToneCase& c : cases) {
        SCOPED_TRACE(describe(c));
        ASSERT_EQ(qm4120_simSetSignal("tone_level=-150"), 0);
        ASSERT_EQ(qm4120_setInputSource(vi, c.source), 0);
        ASSERT_EQ(c.source ? qm4120_setRfInputLevel(vi, -10.0) : qm4120_setIfInputLevel(vi, -10.0), 0);
        double lo = 0;
        ASSERT_EQ(qm4120_getLoOffset(vi, &lo), 0);
        ASSERT_GE(qm4120_setLoOffset(vi, (c.loAbove ? 1 : -1) * std::fabs(lo)), 0);
        ASSERT_EQ(qm4120_setSampleDataType(vi, c.dataType), 0);
        if (c.dataType == 1) {
            // 32-bit words need a decimation that leaves them room.
            ASSERT_EQ(qm4120_setModulationMode(vi, 0), 0);
            ASSERT_EQ(qm4120_setUmtsDecimationRatio(vi, 8), 0);
        }
        ASSERT_EQ(qm4120_setSampleDataOutputFormat(vi, c.format), 0);
        ASSERT_EQ(qm4120_setNumberOfSamples(vi, c.n), 0);
        ASSERT_EQ(qm4120_setFftLength(vi, c.n), 0);
        ASSERT_EQ(qm4120_setWindowFunction(vi, 4), 0);
        displayView.fftFullSpan = c.fullSpan;

        // The bin grid of this set-up, from a capture without a tone.
        captureAndDisplay();
        ASSERT_GT(fftTracePoints, 8u);
        const size_t j = fftTracePoints * 5 / 8;  // inside the truncated span, away from zero frequency
        const double stepMHz = fftTraceFreqMHz[j + 1] - fftTraceFreqMHz[j];
        const double toneHz = (fftTraceFreqMHz[j] + c.frac * stepMHz) * 1e6;
        double centre = 0;
        ASSERT_EQ(c.source ? qm4120_getRfFrequency(vi, &centre) : qm4120_getIfFrequency(vi, &centre), 0);
        const std::string signal = "tone_offset=" + std::to_string(toneHz - centre) + ", tone_level=-20";
        ASSERT_EQ(qm4120_simSetSignal(signal.c_str()), 0);
        captureAndDisplay();

        const auto& plots = plotsOf(displayView.fftGraph);
        ASSERT_EQ(plots.size(), 1u);
        const ui::Plot& trace = plots.begin()->second;
        const size_t points = c.dataType ? c.n : c.n / 2;
        EXPECT_EQ(trace.y.size(), c.fullSpan ? points : static_cast<size_t>(0.6511 * points));
        const size_t peak = std::max_element(trace.y.begin(), trace.y.end()) - trace.y.begin();
        EXPECT_LE(std::fabs(trace.x[peak] * 1e6 - toneHz), std::fabs(stepMHz) * 1e6) << "within one bin";
        EXPECT_NEAR(trace.y[peak], TONE_DBM + scallopDb(c.frac, c.n), 0.5);
        EXPECT_GE(trace.y[peak], TONE_DBM + scallopDb(0.5, c.n) - 0.5) << "no more than the scalloping loss";
    }
}

// A capture made by hand: a real sine of nearly full scale on bin k of an n-point block.
void fillIfSine(CapturedData& r, uint32_t n, uint32_t k) {
    r = CapturedData{};
    r.sampleDataType = 0;
    r.numIfSamples = r.numWords = n;
    r.fftLength = n;
    r.windowFunction = 0;
    r.inputSource = 0;
    r.undecimatedSampleRate = 92.16e6;
    r.sampleFrequency = 92.16e6;
    r.ifFrequency = 46.08e6;
    r.levelCorrection = -7.5;
    r.ifData.resize(n);
    for (uint32_t t = 0; t < n; ++t)
        r.ifData[t] = static_cast<int16_t>(std::lround(32767 * std::cos(2 * M_PI * k * t / n)));
    r.dataValid = 1;
}

TEST_F(SpectrumTest, AFullScaleBinShowsAtTheLevelCorrectionWhateverTheLength) {
    for (uint32_t n : {2048u, 4096u}) {
        // The same tone frequency in both lengths: bin 300 of 2048 is bin 600 of 4096.
        fillIfSine(capturedData, n, 300 * n / 2048);
        prepareFftInput(capturedData);
        displayCapturedData(capturedData);
        ASSERT_EQ(fftTracePoints, n / 2);
        const size_t peak =
            std::max_element(fftTraceLevelDbm.begin(), fftTraceLevelDbm.end()) - fftTraceLevelDbm.begin();
        // 32767 / 32768 of full scale reads 0.0003 dB low.
        EXPECT_NEAR(fftTraceLevelDbm[peak], -7.5 + 0.04, 0.01) << n;
        // The IF input keeps the upper half of the transform: the sine's image at n - k. Its frequency
        // runs up from the IF centre minus a quarter of the ADC rate, one bin per point.
        EXPECT_EQ(peak, n - 300 * n / 2048 - n / 2) << n;
        EXPECT_NEAR(fftTraceFreqMHz[peak], 46.08 - 92.16 / 4 + peak * 92.16 / n, 1e-9) << n;
    }
}

TEST_F(SpectrumTest, TheTruncatedSpanShowsTheCentreAndTheIqTraceRepeatsItsLastLevel) {
    fillIfSine(capturedData, 2048, 300);
    displayView.fftFullSpan = 0;
    prepareFftInput(capturedData);
    displayCapturedData(capturedData);
    const ui::Plot& shown = plotsOf(displayView.fftGraph).begin()->second;
    ASSERT_EQ(shown.x.size(), 666u);
    EXPECT_EQ(shown.x.front(), fftTraceFreqMHz[179]);
    EXPECT_EQ(shown.y.back(), fftTraceLevelDbm[179 + 665]);
    // The axis moves in by the same share at each end: 46.08 +- 23.04 * 0.6511.
    EXPECT_NEAR(fftStartFreqMHz, 46.08 - 23.04 * 0.6511, 1e-9);
    EXPECT_NEAR(fftStopFreqMHz, 46.08 + 23.04 * 0.6511, 1e-9);
    const ui::Axis& x = ui::findControl(panel, displayView.fftGraph)->graph->xAxis;
    EXPECT_EQ(x.mode, VAL_MANUAL);
    EXPECT_DOUBLE_EQ(x.min, fftStartFreqMHz);

    CapturedData& r = capturedData;
    r.sampleDataType = 1;
    r.numIqSamples = 16;
    r.iqData16.assign(32, 0);
    for (int t = 0; t < 16; ++t) r.iqData16[2 * t] = static_cast<int16_t>(1000 + t);
    r.fftLength = 16;
    r.decimatedSampleRate = 1.6e6;
    prepareFftInput(r);
    displayCapturedData(r);
    ASSERT_EQ(fftTracePoints, 17u);
    EXPECT_EQ(fftTraceLevelDbm[16], fftTraceLevelDbm[15]);
    EXPECT_EQ(r.iData16[5], 1005) << "de-interleaved";
    // On the IF input the I/Q frequencies fall: the first point is half the rate above the IF.
    EXPECT_NEAR(fftTraceFreqMHz[0], 46.08 + 0.8, 1e-9);
    EXPECT_NEAR(fftTraceFreqMHz[1], 46.08 + 0.8 - 0.1, 1e-9);
}

}  // namespace
