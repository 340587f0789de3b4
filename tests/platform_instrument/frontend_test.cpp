// Front end: attenuator ranges, steps and pads per model, the automatic set-up from the expected input
// level, level corrections, the reference lock, and channel records.

#include <cstdint>

#include "fixture.h"

namespace {

using FrontEndTest = SimTest;

int32_t rfAtten(uint32_t vi) {
    return got(qm4120_appGetRfAttenuation, vi);
}
int32_t ifAtten(uint32_t vi) {
    return got(qm4120_appGetIfAttenuation, vi);
}

TEST_F(FrontEndTest, AttenuatorRangesAndStepsFollowTheModel) {
    for (uint16_t model : MODELS) {
        Module m(model);
        EXPECT_EQ(got(qm4120_appGetRfAttenuationMin, m.vi()), 0);
        EXPECT_EQ(got(qm4120_appGetRfAttenuationMax, m.vi()), model == 0x4125 ? 31 : 28);
        EXPECT_EQ(got(qm4120_appGetRfAttenuationStep, m.vi()), model == 0x4125 ? 1 : 4);
        EXPECT_EQ(got(qm4120_appGetIfAttenuationMin, m.vi()), 0);
        EXPECT_EQ(got(qm4120_appGetIfAttenuationMax, m.vi()), 35);
        EXPECT_EQ(got(qm4120_appGetIfAttenuationStep, m.vi()), 1);
    }
}

TEST_F(FrontEndTest, ManualAttenuationIsRoundedToTheStepAndClamped) {
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(m.vi(), 2), 0);
    EXPECT_EQ(qm4120_appSetRfAttenuation(m.vi(), 6), 0);
    EXPECT_EQ(rfAtten(m.vi()), 8);
    EXPECT_EQ(qm4120_appSetRfAttenuation(m.vi(), 5), 0);
    EXPECT_EQ(rfAtten(m.vi()), 4);
    EXPECT_EQ(qm4120_appSetRfAttenuation(m.vi(), 40), 2);
    EXPECT_EQ(rfAtten(m.vi()), 28);
    EXPECT_EQ(qm4120_appSetIfAttenuation(m.vi(), -3), 1);
    EXPECT_EQ(ifAtten(m.vi()), 0);
    // Absurd requests at the ends of the argument's range are clamps like any other.
    EXPECT_EQ(qm4120_appSetRfAttenuation(m.vi(), INT32_MAX), 2);
    EXPECT_EQ(rfAtten(m.vi()), 28);
    EXPECT_EQ(qm4120_controlSetRfAttenuationNoCorr(m.vi(), INT32_MIN), 1);
    EXPECT_EQ(rfAtten(m.vi()), 0);
    Module fine(0x4125);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(fine.vi(), 2), 0);
    EXPECT_EQ(qm4120_appSetRfAttenuation(fine.vi(), 13), 0);
    EXPECT_EQ(rfAtten(fine.vi()), 13);
}

TEST_F(FrontEndTest, PadMasksMatchTheAttenuation) {
    Module base(0x4120);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(base.vi(), 2), 0);
    ASSERT_EQ(qm4120_appSetRfAttenuation(base.vi(), 12), 0);
    uint16_t pads = 0;
    EXPECT_EQ(got(qm4120_controlGetRfAttenuationPads, base.vi()), 0x3) << "4 dB in bit 0, 8 dB in bit 1";
    EXPECT_EQ(qm4120_controlSetRfAttenuationPads(base.vi(), 0x8), -3) << "three pads only";

    Module m4125(0x4125);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(m4125.vi(), 2), 0);
    ASSERT_EQ(qm4120_appSetRfAttenuation(m4125.vi(), 13), 0);
    EXPECT_EQ(got(qm4120_controlGetRfAttenuationPads, m4125.vi()), 0x16)
        << "8 dB bit 1, 4 dB bit 2, 1 dB bit 4";
    ASSERT_EQ(qm4120_controlSetRfAttenuationPads(m4125.vi(), 0x1), 0);
    EXPECT_EQ(rfAtten(m4125.vi()), 16) << "the 16 dB pad is bit 0";

    for (int db : {0, 9, 15, 19, 20, 29, 35}) {
        ASSERT_EQ(qm4120_appSetIfAttenuation(m4125.vi(), db), 0);
        ASSERT_EQ(qm4120_controlGetIfAttenuationPads(m4125.vi(), &pads), 0);
        ASSERT_EQ(qm4120_controlSetIfAttenuationPads(m4125.vi(), pads), 0);
        EXPECT_EQ(ifAtten(m4125.vi()), db) << "pads 1, 2, 4, 8, 10, 10 make every step";
    }
    EXPECT_EQ(qm4120_controlSetIfAttenuationPads(m4125.vi(), 0x40), -3);

    // Pads switched in directly read back as switched, even where other pads would make the same
    // attenuation (the second 10 dB pad alone; 1 + 2 + 4 + 8 rather than 10 + 4 + 1).
    for (uint16_t mask : {uint16_t{0x20}, uint16_t{0x0F}, uint16_t{0x30}}) {
        ASSERT_EQ(qm4120_controlSetIfAttenuationPads(m4125.vi(), mask), 0);
        EXPECT_EQ(got(qm4120_controlGetIfAttenuationPads, m4125.vi()), mask);
    }
    ASSERT_EQ(qm4120_appSetIfAttenuation(m4125.vi(), 3), 0);
    ASSERT_EQ(qm4120_controlGetIfAttenuationPads(m4125.vi(), &pads), 0);
    EXPECT_EQ(pads, 0x3) << "a new attenuation chooses its own pads";
}

TEST_F(FrontEndTest, AutoModeChoosesAttenuationFromTheExpectedLevel) {
    Module m(0x4120);
    int32_t previousRf = -1;
    for (double level = -53.0; level <= 16.0; level += 1.0) {
        ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), level), 0);
        const int32_t rfDb = rfAtten(m.vi());
        EXPECT_EQ(rfDb % 4, 0);
        EXPECT_GE(rfDb, previousRf) << "more level never means less attenuation";
        EXPECT_LE(level - rfDb, -12.0 + 1e-9) << "mixer kept at or below its limit at " << level;
        previousRf = rfDb;
        const double fullScale = got(qm4120_appGetLevelCorrModule, m.vi());
        const int32_t ifDb = ifAtten(m.vi());
        if (ifDb > 0 && ifDb < 35) {
            EXPECT_GE(fullScale - level, 5.5) << "headroom below full scale at " << level;
            EXPECT_LE(fullScale - level, 8.0) << "no more attenuation than needed at " << level;
        }
    }
    EXPECT_EQ(rfAtten(m.vi()), 28);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -53.0), 0);
    EXPECT_EQ(rfAtten(m.vi()), 0);

    // The module owns the attenuators in Auto: a setting is accepted and changes nothing.
    const int32_t chosen = ifAtten(m.vi());
    EXPECT_EQ(qm4120_appSetIfAttenuation(m.vi(), chosen + 5), 0);
    EXPECT_EQ(ifAtten(m.vi()), chosen);
}

TEST_F(FrontEndTest, AutoIfKeepsTheManualRfAttenuatorAndCompensatesOnTheIfSide) {
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), -10.0), 0);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_appSetRfAttenuation(m.vi(), 0), 0);
    const int32_t ifAt0 = ifAtten(m.vi());
    ASSERT_EQ(qm4120_appSetRfAttenuation(m.vi(), 8), 0);
    EXPECT_EQ(rfAtten(m.vi()), 8);
    EXPECT_EQ(ifAtten(m.vi()), ifAt0 - 8);
}

TEST_F(FrontEndTest, IfInputSetsTheDigitizerFromTheIfLevel) {
    Module m(0x4125);
    ASSERT_EQ(qm4120_appSetInputSource(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetIfInputLevel(m.vi(), -20.0), 0);
    const int32_t low = ifAtten(m.vi());
    ASSERT_EQ(qm4120_appSetIfInputLevel(m.vi(), 0.0), 0);
    EXPECT_EQ(ifAtten(m.vi()), low + 20);
    ASSERT_EQ(qm4120_appSetRfInputLevel(m.vi(), 10.0), 0);
    EXPECT_EQ(ifAtten(m.vi()), low + 20) << "the RF level plays no part on the IF input";
    EXPECT_NEAR(got(qm4120_appGetLevelCorrDigitizer, m.vi()), 6.0, 1.0)
        << "expected level about 6 dB below full scale";
}

// The limits and the rounding to hundredths of a dB show through the panel's level entries.
TEST_F(FrontEndTest, LevelsBeyondTheModelsLimitsAreClampedWithAWarning) {
    Module m(0x4120);
    EXPECT_EQ(qm4120_appSetRfInputLevel(m.vi(), 30.0), 2);
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfInputLevel, m.vi()), 16.0);
    EXPECT_EQ(qm4120_appSetIfInputLevel(m.vi(), -99.0), 1);
}

TEST_F(FrontEndTest, CorrectionsAddUpAndFollowTheAttenuators) {
    Module m(0x4B20);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(m.vi(), 2), 0);
    const double dig1 = got(qm4120_appGetLevelCorrDigitizer, m.vi());
    const double dc1 = got(qm4120_appGetLevelCorrDownConv, m.vi());
    EXPECT_NEAR(got(qm4120_appGetLevelCorrModule, m.vi()), dig1 + dc1, 1e-9);
    ASSERT_EQ(qm4120_appSetRfAttenuation(m.vi(), rfAtten(m.vi()) + 8), 0);
    ASSERT_EQ(qm4120_appSetIfAttenuation(m.vi(), ifAtten(m.vi()) + 3), 0);
    EXPECT_NEAR(got(qm4120_appGetLevelCorrDownConv, m.vi()) - dc1, 8.0, 1e-9);
    EXPECT_NEAR(got(qm4120_appGetLevelCorrDigitizer, m.vi()) - dig1, 3.0, 0.1)
        << "1 dB per IF dB, within the pads' calibrated error";
}

TEST_F(FrontEndTest, ReferenceLockFollowsTheSelectionAndTheScenario) {
    Module m(0x4A20);
    uint16_t locked = 9, latched = 9;
    ASSERT_EQ(qm4120_controlGetIfRefState(m.vi(), &locked, &latched), 0);
    EXPECT_EQ(locked, 1);
    EXPECT_EQ(latched, 1);
    ASSERT_EQ(qm4120_simSetSignal("ref=0"), 0);
    ASSERT_EQ(qm4120_controlGetIfRefState(m.vi(), &locked, &latched), 0);
    EXPECT_EQ(locked, 0) << "locking to 10 MHz with no reference connected";
    EXPECT_EQ(latched, 0);
    ASSERT_EQ(qm4120_controlSetExternalReference(m.vi(), 2), 0);
    ASSERT_EQ(qm4120_controlGetIfRefState(m.vi(), &locked, &latched), 0);
    EXPECT_EQ(locked, 1) << "free running";
    EXPECT_EQ(latched, 0) << "the loss of lock is remembered until read";
    ASSERT_EQ(qm4120_controlGetIfRefState(m.vi(), &locked, &latched), 0);
    EXPECT_EQ(latched, 1);
    EXPECT_EQ(qm4120_controlSetExternalReference(m.vi(), 5), -3);
    EXPECT_EQ(qm4120_simSetSignal("ref=maybe"), -3);
}

TEST_F(FrontEndTest, PlainSettersFollowTheActiveChannelAndChanFormsTouchOnlyTheirs) {
    Module m(0x4A20);
    ASSERT_EQ(qm4120_appSetActiveChan(m.vi(), 5), 0);
    ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.1e9), 0);
    ASSERT_EQ(qm4120_appSetFrontEndConfigMode(m.vi(), 2), 0);
    ASSERT_EQ(qm4120_appSetRfFrequencyChan(m.vi(), 1.3e9, 9), 0);
    ASSERT_EQ(qm4120_appSetLoOffsetChan(m.vi(), -46.08e6, 9), 0);

    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequencyChan, m.vi(), 5), 1.1e9);
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequencyChan, m.vi(), 0), 2.0e9) << "channel 0 untouched";
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequency, m.vi()), 1.1e9)
        << "channel 9's write does not reach the active channel";
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetLoFrequencyChan, m.vi(), 9), 1.3e9 - 46.08e6);

    ASSERT_EQ(qm4120_appSetActiveChan(m.vi(), 9), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequency, m.vi()), 1.3e9);
    EXPECT_EQ(got(qm4120_appGetFrontEndConfigMode, m.vi()), 0) << "channel 9 kept its own mode";
    EXPECT_EQ(got(qm4120_appGetFrontEndConfigModeChan, m.vi(), 5), 2);

    EXPECT_EQ(qm4120_appSetActiveChan(m.vi(), 128), -5);
    EXPECT_EQ(qm4120_appSetRfInputLevelChan(m.vi(), 0.0, 128), -5);
    EXPECT_EQ(got(qm4120_appGetActiveChan, m.vi()), 9);
}

}  // namespace
