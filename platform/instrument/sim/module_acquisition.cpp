// Acquisition set-up: sample data type and word width, modulation filter chains and decimation, the
// generic resampler, sample counts, FFT length, window and the LVDS port directions.

#include <algorithm>
#include <cmath>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

// The generic resampler's ratio registers are 16 bits wide.
constexpr uint32_t RATIO_REGISTER_MAX = 65535;
// The generic decimator stops where the decimated rate would fall below this.
constexpr double GENERIC_MIN_DECIMATED_HZ = 100e3;
constexpr uint32_t FFT_MIN = 2;
constexpr uint32_t FFT_MAX = 32768;

bool powerOfTwo(uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

// Closest fraction num/den to x (0 < x <= 1) with den up to maxDen: continued-fraction convergents,
// finishing with the best semiconvergent when the next convergent's denominator is too large.
void closestFraction(double x, uint32_t maxDen, uint32_t* num, uint32_t* den) {
    uint64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double r = x;
    for (int i = 0; i < 64; ++i) {
        const double a = std::floor(r);
        const uint64_t ai = static_cast<uint64_t>(a);
        const uint64_t p2 = ai * p1 + p0;
        const uint64_t q2 = ai * q1 + q0;
        if (q2 > maxDen) {
            const uint64_t k = (maxDen - q0) / q1;
            const uint64_t ps = k * p1 + p0;
            const uint64_t qs = k * q1 + q0;
            const bool semi = qs > 0 && std::fabs(static_cast<double>(ps) / qs - x) <
                                            std::fabs(static_cast<double>(p1) / q1 - x);
            *num = static_cast<uint32_t>(semi ? ps : p1);
            *den = static_cast<uint32_t>(semi ? qs : q1);
            return;
        }
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        const double frac = r - a;
        if (frac < 1e-12) break;
        r = 1.0 / frac;
    }
    *num = static_cast<uint32_t>(p1);
    *den = static_cast<uint32_t>(q1);
}

}  // namespace

uint32_t SimModule::sampleStep() const {
    if (acq_.dataType == 0) return 32;
    return acq_.outputFormat ? 8 : 16;
}

uint32_t SimModule::hardwareMaxIq() const {
    // An I/Q sample takes two words in 16-bit format and four in 32-bit format.
    const uint32_t wordsPerSample = acq_.outputFormat ? 4 : 2;
    const uint32_t step = acq_.outputFormat ? 8 : 16;
    return spec_->memoryWords / wordsPerSample / step * step;
}

uint32_t SimModule::maxIf() const {
    return acq_.maxIfSetting ? std::min(acq_.maxIfSetting, spec_->memoryWords) : spec_->memoryWords;
}

uint32_t SimModule::maxIq() const {
    const uint32_t step = acq_.outputFormat ? 8 : 16;
    const uint32_t hw = hardwareMaxIq();
    return acq_.maxIqSetting ? std::min(acq_.maxIqSetting / step * step, hw) : hw;
}

int32_t SimModule::setSampleCount(uint32_t* field, uint32_t value, uint32_t step, uint32_t maximum) {
    int32_t st = OK;
    uint32_t v = value;
    if (v % step) {
        v -= v % step;
        st = WARN_SAMPLES_ROUNDED;
    }
    if (v < step) {
        v = step;
        st = WARN_CLAMPED_LOW;
    } else if (v > maximum) {
        v = maximum;
        st = WARN_CLAMPED_HIGH;
    }
    *field = v;
    return st;
}

bool SimModule::wideFormatAllowed(uint16_t mode, uint32_t ratio) const {
    // 32-bit words at the high rates of these chains exceed what the data path carries.
    const bool fastChain = mode == MOD_UMTS || mode == MOD_CDMA2000 || mode == MOD_EMU7706;
    return !(fastChain && ratio <= 4);
}

int32_t SimModule::enforceFormat() {
    if (acq_.outputFormat == 1 && !wideFormatAllowed(acq_.modulationMode, acq_.ratio[acq_.modulationMode])) {
        acq_.outputFormat = 0;
        acq_.numIqSamples = std::max<uint32_t>(16, acq_.numIqSamples / 16 * 16);
        return WARN_FORMAT_FORCED;
    }
    return OK;
}

double SimModule::genericHz() const {
    return spec_->adcClockHz * acq_.genericNumerator / static_cast<double>(acq_.genericDenominator);
}

uint32_t SimModule::genericMaxRatio() const {
    const double byRate = genericHz() / GENERIC_MIN_DECIMATED_HZ;
    uint32_t maximum = 2;
    while (maximum * 2 <= spec_->genericMaxRatio && maximum * 2 <= byRate) maximum *= 2;
    return maximum;
}

bool SimModule::decimationLimits(uint16_t mode, uint32_t* minimum, uint32_t* maximum) const {
    if (mode == MOD_GENERIC) {
        *minimum = 2;
        *maximum = genericMaxRatio();
        return true;
    }
    return fixedDecimationLimits(mode, minimum, maximum);
}

int32_t SimModule::setRatio(uint16_t mode, uint32_t ratio) {
    uint32_t lo = 0;
    uint32_t hi = 0;
    if (!decimationLimits(mode, &lo, &hi)) return ERR_INVALID_MODE;
    // The fixed chains decimate in halving stages; the generic decimator takes any whole ratio.
    if (ratio < lo || ratio > hi || (mode != MOD_GENERIC && !powerOfTwo(ratio)))
        return ERR_INVALID_DECIMATION;
    acq_.ratio[mode] = ratio;
    return mode == acq_.modulationMode ? enforceFormat() : OK;
}

double SimModule::undecimatedHz() const {
    if (acq_.dataType == 0) return spec_->adcClockHz;
    if (acq_.modulationMode == MOD_GENERIC) return genericHz();
    return modulationUndecimatedHz(acq_.modulationMode);
}

double SimModule::decimatedHz() const {
    if (acq_.dataType == 0) return spec_->adcClockHz;
    return undecimatedHz() / acq_.ratio[acq_.modulationMode];
}

int32_t SimModule::controlSetModulationMode(uint16_t value) {
    uint32_t lo = 0;
    uint32_t hi = 0;
    if (!decimationLimits(value, &lo, &hi)) return ERR_INVALID_MODE;
    // IF data bypass the modulation chains; only the UMTS set-up applies to them.
    if (acq_.dataType == 0 && value != MOD_UMTS) return ERR_IQ_REQUIRED;
    acq_.modulationMode = value;
    return enforceFormat();
}
int32_t SimModule::controlGetModulationMode(uint16_t* value) {
    return put(value, acq_.modulationMode);
}

int32_t SimModule::controlSetSampleDataType(uint16_t value) {
    if (value > 1) return ERR_INVALID_DATA_TYPE;
    acq_.dataType = value;
    if (value == 0) acq_.modulationMode = MOD_UMTS;
    return OK;
}
int32_t SimModule::controlGetSampleDataType(uint16_t* value) {
    return put(value, acq_.dataType);
}

int32_t SimModule::controlSetSampleDataOutputFormat(uint16_t value) {
    if (value > 1) return ERR_INVALID_OUTPUT_FORMAT;
    if (value == 1 && !wideFormatAllowed(acq_.modulationMode, acq_.ratio[acq_.modulationMode])) {
        return ERR_INVALID_OUTPUT_FORMAT;
    }
    acq_.outputFormat = value;
    // The I/Q count must suit the new word width and memory.
    const uint32_t step = sampleStep();
    acq_.numIqSamples = std::clamp<uint32_t>(acq_.numIqSamples / step * step, step, maxIq());
    return OK;
}
int32_t SimModule::controlGetSampleDataOutputFormat(uint16_t* value) {
    return put(value, acq_.outputFormat);
}

int32_t SimModule::controlSetIfDataPositionLvds(uint16_t value) {
    return choose(&acq_.ifDataPosition, value, {0, 1});
}
int32_t SimModule::controlGetIfDataPositionLvds(uint16_t* value) {
    return put(value, acq_.ifDataPosition);
}

int32_t SimModule::controlSetUmtsDecimationRatio(uint32_t value) {
    return setRatio(MOD_UMTS, value);
}
int32_t SimModule::controlGetUmtsDecimationRatio(uint32_t* value) {
    return put(value, acq_.ratio[MOD_UMTS]);
}
int32_t SimModule::controlSetGsmDecimationRatio(uint32_t value) {
    return setRatio(MOD_GSM, value);
}
int32_t SimModule::controlGetGsmDecimationRatio(uint32_t* value) {
    return put(value, acq_.ratio[MOD_GSM]);
}
int32_t SimModule::controlSetCdma20001xDecimationRatio(uint32_t value) {
    return setRatio(MOD_CDMA2000, value);
}
int32_t SimModule::controlGetCdma20001xDecimationRatio(uint32_t* value) {
    return put(value, acq_.ratio[MOD_CDMA2000]);
}
int32_t SimModule::controlSetEmu7706DecimationRatio(uint32_t value) {
    return setRatio(MOD_EMU7706, value);
}
int32_t SimModule::controlGetEmu7706DecimationRatio(uint32_t* value) {
    return put(value, acq_.ratio[MOD_EMU7706]);
}
int32_t SimModule::controlSetGenericDecimationRatio(uint32_t value) {
    return setRatio(MOD_GENERIC, value);
}
int32_t SimModule::controlGetGenericDecimationRatio(uint32_t* value) {
    return put(value, acq_.ratio[MOD_GENERIC]);
}

int32_t SimModule::controlGetDecimationLimits(uint16_t modulationMode, uint32_t* minimum, uint32_t* maximum) {
    if (!minimum || !maximum) return ERR_NULL_POINTER;
    return decimationLimits(modulationMode, minimum, maximum) ? OK : ERR_INVALID_MODE;
}

int32_t SimModule::controlGetUndecimatedSamplingFrequency(double* value) {
    return put(value, undecimatedHz());
}
int32_t SimModule::controlGetDecimatedSamplingFrequency(double* value) {
    return put(value, decimatedHz());
}
int32_t SimModule::controlGetMaxGenericSamplingFrequency(double* value) {
    return put(value, spec_->adcClockHz);
}

int32_t SimModule::controlSetGenericSamplingFrequency(double value) {
    if (!std::isfinite(value)) return ERR_PARAMETER;
    const int32_t st = clampTo(&value, spec_->genericMinHz, spec_->adcClockHz);
    closestFraction(value / spec_->adcClockHz, RATIO_REGISTER_MAX, &acq_.genericNumerator,
                    &acq_.genericDenominator);
    acq_.ratio[MOD_GENERIC] = std::min(acq_.ratio[MOD_GENERIC], genericMaxRatio());
    return worse(st, enforceFormat());
}
int32_t SimModule::controlGetGenericSamplingFrequency(double* value) {
    return put(value, genericHz());
}

int32_t SimModule::controlSetGenericSamplingFrequencyRatio(uint32_t numerator, uint32_t denominator) {
    if (numerator == 0 || denominator == 0 || numerator > RATIO_REGISTER_MAX ||
        denominator > RATIO_REGISTER_MAX) {
        return ERR_INVALID_RATIO;
    }
    const double hz = spec_->adcClockHz * numerator / denominator;
    if (hz > spec_->adcClockHz || hz < spec_->genericMinHz) return ERR_INVALID_RATIO;
    acq_.genericNumerator = numerator;
    acq_.genericDenominator = denominator;
    acq_.ratio[MOD_GENERIC] = std::min(acq_.ratio[MOD_GENERIC], genericMaxRatio());
    return enforceFormat();
}
int32_t SimModule::controlGetGenericSamplingFrequencyRatio(uint32_t* numerator, uint32_t* denominator) {
    if (!numerator || !denominator) return ERR_NULL_POINTER;
    *numerator = acq_.genericNumerator;
    *denominator = acq_.genericDenominator;
    return OK;
}

int32_t SimModule::controlGetSampleFrequency(double* value) {
    return put(value, decimatedHz());
}
int32_t SimModule::controlGetAdcClockFrequency(double* value) {
    return put(value, spec_->adcClockHz);
}

int32_t SimModule::controlSetFftLength(uint32_t value) {
    if (!powerOfTwo(value)) return ERR_INVALID_FFT_LENGTH;
    const int32_t st = clampTo(&value, FFT_MIN, FFT_MAX);
    acq_.fftLength = value;
    return st;
}
int32_t SimModule::controlGetFftLength(uint32_t* value) {
    return put(value, acq_.fftLength);
}

int32_t SimModule::controlSetSampleIncrement(uint32_t value) {
    acq_.sampleIncrementSetting = value;
    return OK;
}
int32_t SimModule::controlGetSampleIncrement(uint32_t* value) {
    // A coarser increment than the word width needs is kept, rounded up to a whole number of steps.
    const uint32_t step = sampleStep();
    const uint32_t wanted = (acq_.sampleIncrementSetting + step - 1) / step * step;
    return put(value, std::max(step, wanted));
}

int32_t SimModule::controlSetWindowFunction(uint16_t value) {
    return choose(&acq_.windowFunction, value, {0, 1, 2, 3, 4});
}
int32_t SimModule::controlGetWindowFunction(uint16_t* value) {
    return put(value, acq_.windowFunction);
}

int32_t SimModule::controlSetNumberOfIfSamples(uint32_t value) {
    return setSampleCount(&acq_.numIfSamples, value, 32, maxIf());
}
int32_t SimModule::controlGetNumberOfIfSamples(uint32_t* value) {
    return put(value, acq_.numIfSamples);
}
int32_t SimModule::controlSetMaxNumberOfIfSamples(uint32_t value) {
    const int32_t st = setSampleCount(&acq_.maxIfSetting, value, 32, spec_->memoryWords / 32 * 32);
    acq_.numIfSamples = std::min(acq_.numIfSamples, maxIf());
    return st;
}
int32_t SimModule::controlGetMaxNumberOfIfSamples(uint32_t* value) {
    return put(value, maxIf());
}
int32_t SimModule::controlSetNumberOfIqSamples(uint32_t value) {
    return setSampleCount(&acq_.numIqSamples, value, acq_.outputFormat ? 8 : 16, maxIq());
}
int32_t SimModule::controlGetNumberOfIqSamples(uint32_t* value) {
    return put(value, acq_.numIqSamples);
}
int32_t SimModule::controlSetMaxNumberOfIqSamples(uint32_t value) {
    const int32_t st = setSampleCount(&acq_.maxIqSetting, value, acq_.outputFormat ? 8 : 16, hardwareMaxIq());
    acq_.numIqSamples = std::min(acq_.numIqSamples, maxIq());
    return st;
}
int32_t SimModule::controlGetMaxNumberOfIqSamples(uint32_t* value) {
    return put(value, maxIq());
}

int32_t SimModule::controlSetLvdsDataMode(uint16_t value) {
    return choose(&acq_.lvdsData, value, {0, 1, 3}, ERR_INVALID_LVDS_MODE);
}
int32_t SimModule::controlGetLvdsDataMode(uint16_t* value) {
    return put(value, acq_.lvdsData);
}
int32_t SimModule::controlSetLvdsAuxMode(uint16_t value) {
    return choose(&acq_.lvdsAux, value, {0, 1, 3}, ERR_INVALID_LVDS_MODE);
}
int32_t SimModule::controlGetLvdsAuxMode(uint16_t* value) {
    return put(value, acq_.lvdsAux);
}
int32_t SimModule::controlSetLvdsMarkerMode(uint16_t value) {
    return choose(&acq_.lvdsMarker, value, {0, 1, 3}, ERR_INVALID_LVDS_MODE);
}
int32_t SimModule::controlGetLvdsMarkerMode(uint16_t* value) {
    return put(value, acq_.lvdsMarker);
}

int32_t SimModule::controlSetCaptureMode(uint16_t value) {
    return choose(&acq_.captureMode, value, {0, 1});
}
int32_t SimModule::controlGetCaptureMode(uint16_t* value) {
    return put(value, acq_.captureMode);
}

}  // namespace qm::sim
