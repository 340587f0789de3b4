// What the module's stored calibration and its temperature do: the RF amplitude reference table moves
// the level corrections and so the levels a capture shows, the group-delay correction keeps I and Q in
// quadrature, and the board warms up slowly.
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "fixture.h"
#include "panel_spectrum.h"

namespace {

using CalibrationEffect = SimTest;

double moduleCorrection(uint32_t vi) {
    return got(qm4120_appGetLevelCorrModule, vi);
}

TEST_F(CalibrationEffect, TheRfAmplitudeTableMovesTheShownLevelNotTheSignal) {
    ASSERT_EQ(qm4120_simSetSignal("tone_offset=1.5e6, tone_level=-25"), 0);
    Module m(0x4125);
    const uint32_t vi = m.vi();
    double start = 0, stop = 0;
    uint32_t points = 0;
    ASSERT_EQ(qm4120_calRFDigAmpRefBandDescQuery(vi, 2, &start, &stop, &points), 0);
    ASSERT_GT(points, 14u);
    // Tuned to the whole megahertz nearest point 13 of band 2.
    const double step = (stop - start) / (points - 1);
    const double onPoint = std::round((start + 13 * step) / 1e6) * 1e6;
    ASSERT_EQ(qm4120_appSetRfInputLevel(vi, -20.0), 0);
    ASSERT_EQ(qm4120_appSetRfFrequency(vi, onPoint), 0);
    const double before = moduleCorrection(vi);
    const double levelBefore = capturePeak(vi).levelDbm;
    EXPECT_NEAR(levelBefore, -25.0, 0.5);

    // A stored adjustment of 1.5 dB: the module now reckons its input 1.5 dB stronger than it is.
    ASSERT_EQ(qm4120_calRFDigAmpRefBandPointAdj(vi, 2, 13, 1.5, 1), 0);
    const double offPoint = std::fabs(onPoint - start - 13 * step) / step;  // points away from 13
    const double expected = 1.5 * (1.0 - offPoint);
    EXPECT_NEAR(moduleCorrection(vi) - before, expected, 1e-6);
    EXPECT_NEAR(capturePeak(vi).levelDbm - levelBefore, expected, 0.05);

    // Only stored tables act: an adjustment left in the working copy changes nothing.
    ASSERT_EQ(qm4120_calRFDigAmpRefBandPointAdj(vi, 2, 13, 2.0, 0), 0);
    EXPECT_NEAR(moduleCorrection(vi) - before, expected, 1e-6);
}

// How long the Q samples of a tone on bin k lag the I samples (s), from the driver's transforms of
// the I and Q sequences of one 16-bit I/Q capture: in quadrature Q_k / I_k is -j for a tone above the
// centre, and a lag t turns it by a further -2 pi f t.
double iqLagS(uint32_t vi, uint32_t k) {
    constexpr uint32_t N = 4096;
    const double fs = got(qm4120_controlGetDecimatedSamplingFrequency, vi);
    std::vector<int16_t> raw(2 * N);
    EXPECT_EQ(qm4120_controlDataCapture(vi, 0, 2 * N), 0);
    EXPECT_EQ(qm4120_controlDataAcquire(vi, 0, 2 * N, raw.data()), 0);
    std::vector<double> ir(N), ii(N), qr(N), qi(N);
    for (uint32_t t = 0; t < N; ++t) ir[t] = raw[2 * t], qr[t] = raw[2 * t + 1];
    EXPECT_EQ(ReFFT(ir.data(), ii.data(), N), 0);
    EXPECT_EQ(ReFFT(qr.data(), qi.data(), N), 0);
    const std::complex<double> ratio =
        std::complex<double>(qr[k], qi[k]) / std::complex<double>(ir[k], ii[k]);
    const double turn = std::arg(ratio * std::complex<double>(0.0, 1.0));  // 0 in quadrature
    return -turn / (2.0 * M_PI * k * fs / N);
}

TEST_F(CalibrationEffect, TheGroupDelayCorrectionKeepsIAndQInQuadrature) {
    Module m(0x4120);
    const uint32_t vi = m.vi();
    ASSERT_EQ(qm4120_controlSetModulationMode(vi, 5), 0);
    ASSERT_EQ(qm4120_controlSetGenericDecimationRatio(vi, 4), 0);
    const double fs = got(qm4120_controlGetDecimatedSamplingFrequency, vi);
    // Two tones on bins, at a tenth and at a third of the sampling rate above the centre.
    const uint32_t low = 410, high = 1365;
    auto lagAt = [&](uint32_t k) {
        const std::string signal = "tone_level=-20, tone_offset=" + std::to_string(k * fs / 4096);
        EXPECT_EQ(qm4120_simSetSignal(signal.c_str()), 0);
        return iqLagS(vi, k);
    };
    auto apply = [&] { ASSERT_EQ(qm4120_appApplyDigGrpDel(vi, 46080000.0, 20000000.0), 0); };

    // Bypassed, the branches' skew shows: one lag at both frequencies, so a delay, not a phase error.
    ASSERT_EQ(qm4120_appSetGrpDelFilterEnable(vi, 0), 0);
    const double skew = lagAt(high);
    EXPECT_GT(skew * 360.0 * high * fs / 4096, 1.0) << "degrees off quadrature at the higher tone";
    EXPECT_NEAR(lagAt(low), skew, 0.05 * skew);

    // The factory correction takes it out.
    ASSERT_EQ(qm4120_appSetGrpDelFilterEnable(vi, 1), 0);
    EXPECT_NEAR(lagAt(high), 0.0, 0.03 * skew);

    // The stored correction is what acts, once committed and applied: twice the skew delays I as far
    // behind Q as Q was behind I; an edit that is not committed changes nothing.
    const double stored = got(qm4120_calIFDigGrpDelValueQuery, vi);
    ASSERT_EQ(qm4120_calIFDigGrpDelValue(vi, 2 * stored), 0);
    apply();
    EXPECT_NEAR(lagAt(high), 0.0, 0.03 * skew);
    ASSERT_EQ(qm4120_calIFDigGrpDelCommit(vi, 2026, 1, 2, 3, 4, 5), 0);
    EXPECT_NEAR(lagAt(high), 0.0, 0.03 * skew) << "committed, but not yet applied";
    apply();
    EXPECT_NEAR(lagAt(high), -skew, 0.05 * skew);

    // The calibration run measures the skew again and puts things right.
    ASSERT_EQ(qm4120_calIFDigGrpDelAdj(vi), 0);
    ASSERT_EQ(qm4120_calIFDigGrpDelCommit(vi, 2026, 1, 2, 3, 4, 6), 0);
    apply();
    EXPECT_NEAR(lagAt(high), 0.0, 0.03 * skew);
}

using Warming = ClockedSimTest;

TEST_F(Warming, TheBoardWarmsUpSlowly) {
    clock.seconds = 1000.0;
    Module m(0x4120);
    auto temperature = [&] {
        int16_t sixteenths = 0;
        EXPECT_EQ(qm4120_controlAdcReadTemp(m.vi(), 0, 1, &sixteenths), 0);
        return sixteenths / 16.0;
    };
    const double cold = temperature();
    clock.seconds += 10.0;
    const double tenSeconds = temperature();
    clock.seconds += 3600.0;
    const double warm = temperature();
    // Within a reading's resolution after ten seconds; degrees after an hour, and no more than a few.
    EXPECT_LE(std::fabs(tenSeconds - cold), 0.125);
    EXPECT_GT(warm - cold, 1.0);
    EXPECT_LT(warm - cold, 5.0);
}

}  // namespace
