// What the module's stored calibration and its temperature do: the RF amplitude reference table moves
// the level corrections and so the levels a capture shows, and the board warms up slowly.
#include <cmath>

#include "fixture.h"
#include "panel_spectrum.h"

namespace {

using CalibrationEffect = SimTest;

double moduleCorrection(uint32_t vi) {
    double db = 0;
    EXPECT_EQ(qm4120_appGetLevelCorrModule(vi, &db), 0);
    return db;
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

double fakeNow = 0.0;

TEST_F(CalibrationEffect, TheBoardWarmsUpSlowly) {
    qm4120_simSetClock([](void*) { return fakeNow; }, nullptr, nullptr);
    fakeNow = 1000.0;
    Module m(0x4120);
    auto temperature = [&] {
        int16_t sixteenths = 0;
        EXPECT_EQ(qm4120_controlAdcReadTemp(m.vi(), 0, 1, &sixteenths), 0);
        return sixteenths / 16.0;
    };
    const double cold = temperature();
    fakeNow += 10.0;
    const double tenSeconds = temperature();
    fakeNow += 3600.0;
    const double warm = temperature();
    qm4120_simSetClock(nullptr, nullptr, nullptr);
    // Within a reading's resolution after ten seconds; degrees after an hour, and no more than a few.
    EXPECT_LE(std::fabs(tenSeconds - cold), 0.125);
    EXPECT_GT(warm - cold, 1.0);
    EXPECT_LT(warm - cold, 5.0);
}

}  // namespace
