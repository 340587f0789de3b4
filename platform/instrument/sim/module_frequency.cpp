// RF tuning: RF frequency, LO frequency and the signed LO offset between them, per channel. The
// frequency-control mode decides which two are held when the third is set; the offset's magnitude is
// the IF frequency and must stay inside the IF filter.

#include <cmath>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

double SimModule::roundFrequency(double hz) const {
    return roundTo(hz, spec_->freqResolutionHz);
}

double SimModule::ifHz() const {
    // The IF input feeds the digitizer at the filter centre; on the RF input the IF is where the LO
    // puts the signal.
    if (fe_.inputSource == INPUT_IF) return spec_->ifFrequencyHz;
    return std::fabs(channels_[inUseChannel()].loOffsetHz);
}

namespace {

// Keeps the offset's magnitude inside the IF passband, on the synthesiser grid; an offset of 0 counts as
// LO above.
int32_t clampOffset(double* offset, const ModelSpec& spec) {
    if (!std::isfinite(*offset)) return ERR_PARAMETER;
    const double sign = *offset < 0.0 ? -1.0 : 1.0;
    const double step = spec.freqResolutionHz;
    const double lo = std::ceil((spec.ifFrequencyHz - spec.ifBandwidthHz / 2.0) / step) * step;
    const double hi = std::floor((spec.ifFrequencyHz + spec.ifBandwidthHz / 2.0) / step) * step;
    double magnitude = roundTo(std::fabs(*offset), step);
    const int32_t st = clampTo(&magnitude, lo, hi);
    *offset = sign * magnitude;
    return st;
}

}  // namespace

int32_t SimModule::setRf(int channel, double hz) {
    if (!std::isfinite(hz)) return ERR_PARAMETER;
    Channel& c = channels_[channel];
    int32_t st = roundAndClamp(&hz, spec_->freqResolutionHz, spec_->rfFreqMinHz, spec_->rfFreqMaxHz);
    if (fe_.freqControl == HOLD_RF_LO) {
        // The LO stays where it is; the offset takes up the difference as far as the IF filter allows,
        // and the LO moves only beyond that.
        double offset = loHz(c) - hz;
        st = worse(st, clampOffset(&offset, *spec_));
        c.loOffsetHz = offset;
    }
    c.rfHz = hz;
    resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
    return st;
}

int32_t SimModule::setOffset(int channel, double hz) {
    Channel& c = channels_[channel];
    int32_t st = clampOffset(&hz, *spec_);
    if (st < 0) return st;
    if (fe_.freqControl == HOLD_OFFSET_LO) {
        // The LO stays; the RF frequency follows the new offset.
        double rf = loHz(c) - hz;
        st = worse(st, roundAndClamp(&rf, spec_->freqResolutionHz, spec_->rfFreqMinHz, spec_->rfFreqMaxHz));
        c.rfHz = rf;
    }
    c.loOffsetHz = hz;
    resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
    return st;
}

int32_t SimModule::setLo(int channel, double hz) {
    if (!std::isfinite(hz)) return ERR_PARAMETER;
    Channel& c = channels_[channel];
    hz = roundFrequency(hz);
    int32_t st = OK;
    if (fe_.freqControl == HOLD_OFFSET_LO) {
        double rf = hz - c.loOffsetHz;
        st = roundAndClamp(&rf, spec_->freqResolutionHz, spec_->rfFreqMinHz, spec_->rfFreqMaxHz);
        c.rfHz = rf;
    } else {
        // RF held: the offset follows the LO, within the IF filter.
        double offset = hz - c.rfHz;
        st = clampOffset(&offset, *spec_);
        c.loOffsetHz = offset;
    }
    resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
    return st;
}

int32_t SimModule::appSetRfFrequency(double value) {
    return setRf(inUseChannel(), value);
}
int32_t SimModule::appSetRfFrequencyChan(double value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setRf(channel, value);
}
int32_t SimModule::appGetRfFrequency(double* value) {
    return put(value, channels_[inUseChannel()].rfHz);
}
int32_t SimModule::appGetRfFrequencyChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].rfHz);
}
int32_t SimModule::appGetRfFrequencyMin(double* value) {
    return put(value, spec_->rfFreqMinHz);
}
int32_t SimModule::appGetRfFrequencyMax(double* value) {
    return put(value, spec_->rfFreqMaxHz);
}

int32_t SimModule::appSetLoOffset(double value) {
    return setOffset(inUseChannel(), value);
}
int32_t SimModule::appSetLoOffsetChan(double value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setOffset(channel, value);
}
int32_t SimModule::appGetLoOffset(double* value) {
    return put(value, channels_[inUseChannel()].loOffsetHz);
}
int32_t SimModule::appGetLoOffsetChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].loOffsetHz);
}

// The LO reaches the mixer through the synthesiser's output divider; the divided LO is the frequency at
// the mixer, the same one the LO frequency readings report.
int32_t SimModule::controlSetDividedLoFrequency(double value) {
    return setLo(inUseChannel(), value);
}
int32_t SimModule::controlGetDividedLoFrequency(double* value) {
    return put(value, loHz(channels_[inUseChannel()]));
}
int32_t SimModule::controlGetDividedLoFrequencyChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, loHz(channels_[channel]));
}
int32_t SimModule::controlGetLoFrequency(double* value) {
    return put(value, loHz(channels_[inUseChannel()]));
}
int32_t SimModule::controlGetLoFrequencyChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, loHz(channels_[channel]));
}

int32_t SimModule::controlSetCalculatedFreqControl(uint16_t value) {
    return choose(&fe_.freqControl, value, {HOLD_RF_LO, HOLD_OFFSET_LO, HOLD_RF_OFFSET}, ERR_INVALID_MODE);
}
int32_t SimModule::controlGetCalculatedFreqControl(uint16_t* value) {
    return put(value, fe_.freqControl);
}

int32_t SimModule::controlGetIfFrequency(double* value) {
    return put(value, ifHz());
}

}  // namespace qm::sim
