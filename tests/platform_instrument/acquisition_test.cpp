// Acquisition set-up: decimation ratio sets and limits, rates, the generic resampler's exact ratio,
// output format rules, sample counts and their steps, FFT length and LVDS modes.

#include <cmath>

#include "fixture.h"

namespace {

using AcquisitionTest = SimTest;

TEST_F(AcquisitionTest, FixedChainsAcceptOnlyTheirHalvingRatios) {
    Module m(0x4A20);
    struct Chain {
        uint16_t mode;
        uint32_t minimum, maximum;
        int32_t (*set)(uint32_t, uint32_t);
        int32_t (*get)(uint32_t, uint32_t*);
    };
    const Chain chains[] = {
        {0, 2, 1024, qm4120_controlSetUmtsDecimationRatio, qm4120_controlGetUmtsDecimationRatio},
        {1, 1, 16, qm4120_controlSetGsmDecimationRatio, qm4120_controlGetGsmDecimationRatio},
        {2, 1, 8, qm4120_controlSetCdma20001xDecimationRatio, qm4120_controlGetCdma20001xDecimationRatio},
        {4, 16, 32, qm4120_controlSetEmu7706DecimationRatio, qm4120_controlGetEmu7706DecimationRatio},
    };
    for (const Chain& c : chains) {
        uint32_t lo = 0, hi = 0, ratio = 0;
        ASSERT_EQ(qm4120_controlGetDecimationLimits(m.vi(), c.mode, &lo, &hi), 0);
        EXPECT_EQ(lo, c.minimum);
        EXPECT_EQ(hi, c.maximum);
        ASSERT_EQ(c.set(m.vi(), c.maximum), 0);
        EXPECT_EQ(c.set(m.vi(), c.maximum * 2), -29);
        EXPECT_EQ(c.set(m.vi(), c.minimum == 1 ? 3 : c.minimum + 1), -29) << "not a halving stage";
        ASSERT_EQ(c.get(m.vi(), &ratio), 0);
        EXPECT_EQ(ratio, c.maximum);
    }
    uint32_t lo = 0, hi = 0;
    EXPECT_EQ(qm4120_controlGetDecimationLimits(m.vi(), 3, &lo, &hi), -4);
}

TEST_F(AcquisitionTest, RatesFollowChainRatioAndDataType) {
    Module m(0x4125);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_controlSetUmtsDecimationRatio(m.vi(), 16), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetUndecimatedSamplingFrequency, m.vi()), 61.44e6);
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetDecimatedSamplingFrequency, m.vi()), 3.84e6)
        << "one sample per UMTS chip";
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetSampleFrequency, m.vi()), 3.84e6);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetAdcClockFrequency, m.vi()), 103.68e6);
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetSampleFrequency, m.vi()), 103.68e6)
        << "IF data come straight from the ADC";
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetUndecimatedSamplingFrequency, m.vi()), 103.68e6);
    // IF data use the UMTS front set-up only.
    EXPECT_EQ(qm4120_controlSetModulationMode(m.vi(), 5), -65);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 5), 0);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    EXPECT_EQ(got(qm4120_controlGetModulationMode, m.vi()), 0);
    EXPECT_EQ(qm4120_controlSetSampleDataType(m.vi(), 2), -30);
}

TEST_F(AcquisitionTest, GenericRateIsAnExactFractionOfTheAdcClock) {
    Module m(0x4A20);
    const double maximum = got(qm4120_controlGetMaxGenericSamplingFrequency, m.vi());
    EXPECT_DOUBLE_EQ(maximum, 61.44e6);
    ASSERT_EQ(qm4120_controlSetGenericSamplingFrequency(m.vi(), 30e6), 0);
    const double hz = got(qm4120_controlGetGenericSamplingFrequency, m.vi());
    uint32_t num = 0, den = 0;
    ASSERT_EQ(qm4120_controlGetGenericSamplingFrequencyRatio(m.vi(), &num, &den), 0);
    EXPECT_DOUBLE_EQ(hz, 61.44e6 * num / den);
    EXPECT_NEAR(hz, 30e6, 1e3);
    EXPECT_LE(den, 65535u);

    ASSERT_EQ(qm4120_controlSetGenericSamplingFrequencyRatio(m.vi(), 1, 3), 0);
    EXPECT_EQ(qm4120_controlSetGenericSamplingFrequencyRatio(m.vi(), 0, 3), -54);
    EXPECT_EQ(qm4120_controlSetGenericSamplingFrequencyRatio(m.vi(), 3, 2), -54) << "above the ADC clock";
    EXPECT_EQ(qm4120_controlSetGenericSamplingFrequencyRatio(m.vi(), 1, 70000), -54);
    ASSERT_EQ(qm4120_controlGetGenericSamplingFrequencyRatio(m.vi(), &num, &den), 0);
    EXPECT_EQ(num, 1u);
    EXPECT_EQ(den, 3u);
    EXPECT_EQ(qm4120_controlSetGenericSamplingFrequency(m.vi(), 100e6), 2);
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetGenericSamplingFrequency, m.vi()), maximum);
}

TEST_F(AcquisitionTest, GenericDecimationLimitsFollowTheRate) {
    Module m(0x4A20);
    uint32_t lo = 0, hi = 0;
    ASSERT_EQ(qm4120_controlGetDecimationLimits(m.vi(), 5, &lo, &hi), 0);
    EXPECT_EQ(lo, 2u);
    EXPECT_EQ(hi, 512u);
    ASSERT_EQ(qm4120_controlSetGenericDecimationRatio(m.vi(), 384), 0)
        << "any whole ratio in the generic chain";
    // A slower rate leaves less room to decimate: the ratio in force shrinks with the limit.
    ASSERT_EQ(qm4120_controlSetGenericSamplingFrequency(m.vi(), 6.4e6), 0);
    ASSERT_EQ(qm4120_controlGetDecimationLimits(m.vi(), 5, &lo, &hi), 0);
    EXPECT_EQ(hi, 64u);
    EXPECT_EQ(got(qm4120_controlGetGenericDecimationRatio, m.vi()), 64u);
    EXPECT_EQ(qm4120_controlSetGenericDecimationRatio(m.vi(), 1), -29);
    Module wide(0x4125);
    ASSERT_EQ(qm4120_controlGetDecimationLimits(wide.vi(), 5, &lo, &hi), 0);
    EXPECT_EQ(hi, 1024u);
}

TEST_F(AcquisitionTest, WideWordsNeedEnoughDecimationInTheFastChains) {
    Module m(0x4A20);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_controlSetUmtsDecimationRatio(m.vi(), 4), 0);
    EXPECT_EQ(qm4120_controlSetSampleDataOutputFormat(m.vi(), 1), -31);
    ASSERT_EQ(qm4120_controlSetUmtsDecimationRatio(m.vi(), 8), 0);
    ASSERT_EQ(qm4120_controlSetSampleDataOutputFormat(m.vi(), 1), 0);
    EXPECT_EQ(qm4120_controlSetUmtsDecimationRatio(m.vi(), 2), 6) << "back to 16-bit words";
    EXPECT_EQ(got(qm4120_controlGetSampleDataOutputFormat, m.vi()), 0);
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_controlSetGsmDecimationRatio(m.vi(), 1), 0);
    EXPECT_EQ(qm4120_controlSetSampleDataOutputFormat(m.vi(), 1), 0) << "GSM is slow enough at any ratio";
}

TEST_F(AcquisitionTest, SampleCountsStepWithTheWordWidthAndStayInMemory) {
    Module m(0x4120);  // 64 M words of memory
    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 0), 0);
    EXPECT_EQ(qm4120_controlSetNumberOfIfSamples(m.vi(), 1000), 4);
    EXPECT_EQ(got(qm4120_controlGetNumberOfIfSamples, m.vi()), 992u);
    EXPECT_EQ(got(qm4120_controlGetSampleIncrement, m.vi()), 32u);
    EXPECT_EQ(got(qm4120_controlGetMaxNumberOfIfSamples, m.vi()), 64000000u);
    EXPECT_EQ(qm4120_controlSetNumberOfIfSamples(m.vi(), 100000000), 2);
    EXPECT_EQ(qm4120_controlSetNumberOfIfSamples(m.vi(), 0), 1);
    EXPECT_EQ(got(qm4120_controlGetNumberOfIfSamples, m.vi()), 32u);

    ASSERT_EQ(qm4120_controlSetSampleDataType(m.vi(), 1), 0);
    EXPECT_EQ(got(qm4120_controlGetSampleIncrement, m.vi()), 16u);
    EXPECT_EQ(qm4120_controlSetNumberOfIqSamples(m.vi(), 1000), 4);
    EXPECT_EQ(got(qm4120_controlGetMaxNumberOfIqSamples, m.vi()), 32000000u)
        << "two words per 16-bit I/Q sample";
    ASSERT_EQ(qm4120_controlSetModulationMode(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_controlSetSampleDataOutputFormat(m.vi(), 1), 0);
    EXPECT_EQ(got(qm4120_controlGetSampleIncrement, m.vi()), 8u);
    EXPECT_EQ(qm4120_controlSetNumberOfIqSamples(m.vi(), 1000), 0);
    EXPECT_EQ(got(qm4120_controlGetMaxNumberOfIqSamples, m.vi()), 16000000u);

    // A smaller maximum limits the count too; a coarser increment is rounded up to whole steps.
    ASSERT_EQ(qm4120_controlSetMaxNumberOfIqSamples(m.vi(), 512), 0);
    EXPECT_EQ(got(qm4120_controlGetNumberOfIqSamples, m.vi()), 512u);
    ASSERT_EQ(qm4120_controlSetSampleIncrement(m.vi(), 100), 0);
    EXPECT_EQ(got(qm4120_controlGetSampleIncrement, m.vi()), 104u);
}

TEST_F(AcquisitionTest, FftLengthIsAPowerOfTwoWithinTheTransformSize) {
    Module m(0x4A20);
    EXPECT_EQ(qm4120_controlSetFftLength(m.vi(), 1000), -33);
    EXPECT_EQ(qm4120_controlSetFftLength(m.vi(), 65536), 2);
    EXPECT_EQ(got(qm4120_controlGetFftLength, m.vi()), 32768u);
    EXPECT_EQ(qm4120_controlSetFftLength(m.vi(), 1), 1);
    EXPECT_EQ(got(qm4120_controlGetFftLength, m.vi()), 2u);
}

TEST_F(AcquisitionTest, LvdsPortsKnowInputTriStateAndOutput) {
    Module m(0x4B20);
    for (auto set :
         {qm4120_controlSetLvdsDataMode, qm4120_controlSetLvdsAuxMode, qm4120_controlSetLvdsMarkerMode}) {
        EXPECT_EQ(set(m.vi(), 3), 0);
        EXPECT_EQ(set(m.vi(), 2), -37);
    }
    EXPECT_EQ(got(qm4120_controlGetLvdsAuxMode, m.vi()), 3);
}

}  // namespace
