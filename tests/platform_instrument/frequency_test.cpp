// RF tuning: limits and resolution per model, the LO offset and IF frequency, and which of RF, LO and
// offset follows in each frequency-control mode.

#include <cmath>

#include "fixture.h"

namespace {

using FrequencyTest = SimTest;

double rf(uint32_t vi) {
    return got(qm4120_appGetRfFrequency, vi);
}
double lo(uint32_t vi) {
    return got(qm4120_controlGetLoFrequency, vi);
}
double offset(uint32_t vi) {
    return got(qm4120_appGetLoOffset, vi);
}
double ifHz(uint32_t vi) {
    return got(qm4120_controlGetIfFrequency, vi);
}

TEST_F(FrequencyTest, RfFrequencyIsClampedToTheModelsRangeWithAWarning) {
    for (uint16_t model : MODELS) {
        Module m(model);
        const double minimum = got(qm4120_appGetRfFrequencyMin, m.vi());
        const double maximum = got(qm4120_appGetRfFrequencyMax, m.vi());
        EXPECT_LT(minimum, 2.0e9);
        EXPECT_GT(maximum, 2.0e9);
        EXPECT_EQ(qm4120_appSetRfFrequency(m.vi(), minimum - 1e6), 1);
        EXPECT_DOUBLE_EQ(rf(m.vi()), minimum);
        EXPECT_EQ(qm4120_appSetRfFrequency(m.vi(), maximum + 1e6), 2);
        EXPECT_DOUBLE_EQ(rf(m.vi()), maximum);
        EXPECT_EQ(qm4120_appSetRfFrequency(m.vi(), std::nan("")), -3);
        EXPECT_DOUBLE_EQ(rf(m.vi()), maximum);
    }
}

TEST_F(FrequencyTest, FrequenciesAreRoundedToTheSynthesiserStep) {
    Module base(0x4120);  // 10 Hz steps
    ASSERT_EQ(qm4120_appSetRfFrequency(base.vi(), 1234567896.0), 0);
    EXPECT_DOUBLE_EQ(rf(base.vi()), 1234567900.0);
    Module fine(0x4125);  // 1 Hz steps
    ASSERT_EQ(qm4120_appSetRfFrequency(fine.vi(), 1234567891.4), 0);
    EXPECT_DOUBLE_EQ(rf(fine.vi()), 1234567891.0);
}

TEST_F(FrequencyTest, TheOffsetPlacesTheLoAndItsMagnitudeIsTheIf) {
    struct Case {
        uint16_t model;
        double ifHz;
    };
    for (const Case c :
         {Case{0x4120, 46.08e6}, Case{0x4A20, 46.08e6}, Case{0x4B20, 77.76e6}, Case{0x4125, 77.76e6}}) {
        Module m(c.model);
        EXPECT_DOUBLE_EQ(offset(m.vi()), c.ifHz) << "LO above by default";
        EXPECT_DOUBLE_EQ(ifHz(m.vi()), c.ifHz);
        EXPECT_DOUBLE_EQ(lo(m.vi()), 2.0e9 + c.ifHz);
        ASSERT_EQ(qm4120_appSetLoOffset(m.vi(), -c.ifHz), 0);
        EXPECT_DOUBLE_EQ(lo(m.vi()), 2.0e9 - c.ifHz);
        EXPECT_DOUBLE_EQ(got(qm4120_controlGetDividedLoFrequency, m.vi()), 2.0e9 - c.ifHz)
            << "the LO at the mixer";
        EXPECT_DOUBLE_EQ(ifHz(m.vi()), c.ifHz);
    }
}

TEST_F(FrequencyTest, TheOffsetStaysInsideTheIfFilter) {
    Module m(0x4A20);  // IF 46.08 MHz, 20 MHz wide
    EXPECT_EQ(qm4120_appSetLoOffset(m.vi(), 0.0), 1);
    EXPECT_DOUBLE_EQ(offset(m.vi()), 36.08e6) << "0 counts as LO above";
    EXPECT_EQ(qm4120_appSetLoOffset(m.vi(), -90e6), 2);
    EXPECT_DOUBLE_EQ(offset(m.vi()), -56.08e6);
    EXPECT_DOUBLE_EQ(ifHz(m.vi()), 56.08e6);
    // On the IF input the digitizer works at the filter centre whatever the LO does.
    ASSERT_EQ(qm4120_appSetInputSource(m.vi(), 0), 0);
    EXPECT_DOUBLE_EQ(ifHz(m.vi()), 46.08e6);
}

TEST_F(FrequencyTest, FrequencyControlModeDecidesWhatFollows) {
    Module m(0x4A20);
    EXPECT_EQ(got(qm4120_controlGetCalculatedFreqControl, m.vi()), 2) << "RF and offset entered by default";
    ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.9e9), 0);
    EXPECT_DOUBLE_EQ(lo(m.vi()), 1.9e9 + 46.08e6);
    ASSERT_EQ(qm4120_controlSetDividedLoFrequency(m.vi(), 1.95e9), 0);
    EXPECT_DOUBLE_EQ(rf(m.vi()), 1.9e9);
    EXPECT_DOUBLE_EQ(offset(m.vi()), 50e6);

    // Mode 0: RF and LO entered, the offset follows.
    ASSERT_EQ(qm4120_controlSetCalculatedFreqControl(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.905e9), 0);
    EXPECT_DOUBLE_EQ(lo(m.vi()), 1.95e9);
    EXPECT_DOUBLE_EQ(offset(m.vi()), 45e6);
    // ... until the IF would leave its filter: then the LO has to move and the call warns.
    EXPECT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.8e9), 2);
    EXPECT_DOUBLE_EQ(rf(m.vi()), 1.8e9);
    EXPECT_DOUBLE_EQ(offset(m.vi()), 56.08e6);

    // Mode 1: offset and LO entered, the RF frequency follows.
    ASSERT_EQ(qm4120_controlSetCalculatedFreqControl(m.vi(), 1), 0);
    const double loBefore = lo(m.vi());
    ASSERT_EQ(qm4120_appSetLoOffset(m.vi(), -46.08e6), 0);
    EXPECT_DOUBLE_EQ(lo(m.vi()), loBefore);
    EXPECT_DOUBLE_EQ(rf(m.vi()), loBefore + 46.08e6);
    ASSERT_EQ(qm4120_controlSetDividedLoFrequency(m.vi(), 1.0e9), 0);
    EXPECT_DOUBLE_EQ(rf(m.vi()), 1.0e9 + 46.08e6);

    EXPECT_EQ(qm4120_controlSetCalculatedFreqControl(m.vi(), 3), -4);
    EXPECT_EQ(got(qm4120_controlGetCalculatedFreqControl, m.vi()), 1);
}

}  // namespace
