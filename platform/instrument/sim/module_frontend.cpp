// Analogue front end: input source, expected input levels, the RF and IF step attenuators and their
// automatic set-up, and the level corrections that follow from them.

#include <algorithm>
#include <cmath>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

// Conversion-gain ripple of the down-converter across the band (dB); the auto-flatness correction
// knows it, the plain calibration does not.
double gainRipple(double rfHz, double rfMinHz) {
    return 0.3 * std::sin(2.0 * M_PI * (rfHz - rfMinHz) / 180e6);
}

// Smallest whole number of steps that covers `excess`, limited to [0, maximum].
int32_t stepsToCover(double excess, int32_t step, int32_t maximum) {
    const double steps = std::ceil(excess / step - 1e-9);
    return static_cast<int32_t>(std::clamp(steps * step, 0.0, static_cast<double>(maximum)));
}

}  // namespace

double SimModule::downConverterGainDb(double rfHz) const {
    return spec_->dcGainDb + spec_->dcGainSlopeDbPerGHz * (rfHz - spec_->rfFreqMinHz) / 1e9;
}

void SimModule::resolveAttenuation(Channel& c, bool rf, bool ifStage) {
    if (rf) {
        // Keep the mixer at or below its limit.
        c.rfAttenDb =
            stepsToCover(c.rfLevelDbm - spec_->mixerMaxDbm, spec_->rfAttenStepDb, rfAttenMaxDb(*spec_));
    }
    if (ifStage) {
        // Leave headroom between the expected level at the IF stage and ADC full scale.
        const double atIf = fe_.inputSource == INPUT_RF
                                ? c.rfLevelDbm - c.rfAttenDb + downConverterGainDb(c.rfHz)
                                : c.ifLevelDbm;
        c.ifAttenDb = stepsToCover(atIf + IF_HEADROOM_DB - spec_->digitizerFullScaleDbm, 1, IF_ATTEN_MAX_DB);
    }
}

void SimModule::resolveAllChannels() {
    for (Channel& c : channels_)
        resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
}

int32_t SimModule::setFrontEndMode(int channel, uint16_t mode) {
    Channel& c = channels_[channel];
    const int32_t st = choose(&c.frontEndMode, mode, {FE_AUTO, FE_AUTO_IF, FE_MANUAL}, ERR_INVALID_MODE);
    if (st == OK) resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
    return st;
}

int32_t SimModule::setRfLevel(int channel, double dbm, bool resolve) {
    Channel& c = channels_[channel];
    const int32_t st = roundAndClamp(&dbm, LEVEL_RESOLUTION_DB, spec_->rfLevelMinDbm, spec_->rfLevelMaxDbm);
    if (st < 0) return st;
    c.rfLevelDbm = dbm;
    if (resolve) resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
    return st;
}

int32_t SimModule::setIfLevel(int channel, double dbm, bool resolve) {
    Channel& c = channels_[channel];
    const int32_t st = roundAndClamp(&dbm, LEVEL_RESOLUTION_DB, spec_->ifLevelMinDbm, spec_->ifLevelMaxDbm);
    if (st < 0) return st;
    c.ifLevelDbm = dbm;
    if (resolve) resolveAttenuation(c, c.frontEndMode == FE_AUTO, c.frontEndMode != FE_MANUAL);
    return st;
}

int32_t SimModule::setRfAtten(int channel, int32_t db, bool direct) {
    Channel& c = channels_[channel];
    // In "Auto" the module owns the RF attenuator: a setting is accepted and the level decides.
    if (!direct && c.frontEndMode == FE_AUTO) return OK;
    const int64_t step = spec_->rfAttenStepDb;
    // Rounded in 64 bits: a request near the end of the int32 range stays a clamp, not an overflow.
    int64_t value = std::llround(static_cast<double>(db) / static_cast<double>(step)) * step;
    const int32_t st = clampTo<int64_t>(&value, 0, rfAttenMaxDb(*spec_));
    c.rfAttenDb = static_cast<int32_t>(value);
    // The IF stage then sees a different level.
    if (!direct && c.frontEndMode == FE_AUTO_IF) resolveAttenuation(c, false, true);
    return st;
}

int32_t SimModule::setIfAtten(int channel, int32_t db, bool direct) {
    Channel& c = channels_[channel];
    if (!direct && c.frontEndMode != FE_MANUAL) return OK;
    int32_t value = db;
    const int32_t st = clampTo(&value, 0, IF_ATTEN_MAX_DB);
    c.ifAttenDb = value;
    return st;
}

// Input power (dBm) at the IF input that drives the ADC to full scale, as the calibration knows it.
double SimModule::digitizerCorrection(const Channel& c) const {
    const CalSet& amp = cal(CalGroup::IFDigAmp);
    const CalSet& ref = cal(CalGroup::IFDigAmpRef);
    return spec_->digitizerFullScaleDbm + c.ifAttenDb + amp.storedElement(static_cast<size_t>(c.ifAttenDb)) +
           ref.storedValue();
}

// What the down-converter adds to the digitizer's full-scale input power: the RF attenuation less the
// conversion gain.
double SimModule::downConverterCorrection(const Channel& c) const {
    double gain = downConverterGainDb(c.rfHz);
    if (fe_.autoFlatness) gain += gainRipple(c.rfHz, spec_->rfFreqMinHz);
    // The RF amplitude reference table carries what the board deviates from its nominal gain by.
    return c.rfAttenDb - gain + cal(CalGroup::RFDigAmpRef).storedBandValueAt(c.rfHz);
}

double SimModule::trueFullScaleDbm(const Channel& c, uint16_t input) const {
    // The board's own deviations are the factory measurements, whatever the EEPROM holds now.
    double fs =
        spec_->digitizerFullScaleDbm + c.ifAttenDb + factoryIfPadErrorDb(c.ifAttenDb) + FACTORY_DIG_REF_DB;
    if (input == INPUT_RF) {
        fs += c.rfAttenDb - downConverterGainDb(c.rfHz) - gainRipple(c.rfHz, spec_->rfFreqMinHz) +
              factoryRfAmpRef_.storedBandValueAt(c.rfHz);
    }
    return fs;
}

// ---- app: levels, attenuations and modes ----

int32_t SimModule::appSetRfInputLevel(double value) {
    return setRfLevel(inUseChannel(), value, true);
}
int32_t SimModule::appSetRfInputLevelChan(double value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setRfLevel(channel, value, true);
}
int32_t SimModule::appGetRfInputLevel(double* value) {
    return put(value, channels_[inUseChannel()].rfLevelDbm);
}
int32_t SimModule::appGetRfInputLevelChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].rfLevelDbm);
}
int32_t SimModule::appSetIfInputLevel(double value) {
    return setIfLevel(inUseChannel(), value, true);
}
int32_t SimModule::appSetIfInputLevelChan(double value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setIfLevel(channel, value, true);
}
int32_t SimModule::appGetIfInputLevel(double* value) {
    return put(value, channels_[inUseChannel()].ifLevelDbm);
}
int32_t SimModule::appGetIfInputLevelChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].ifLevelDbm);
}

int32_t SimModule::appGetRfInputLevelMin(double* value) {
    return put(value, spec_->rfLevelMinDbm);
}
int32_t SimModule::appGetRfInputLevelMax(double* value) {
    return put(value, spec_->rfLevelMaxDbm);
}
int32_t SimModule::appGetIfInputLevelMin(double* value) {
    return put(value, spec_->ifLevelMinDbm);
}
int32_t SimModule::appGetIfInputLevelMax(double* value) {
    return put(value, spec_->ifLevelMaxDbm);
}
int32_t SimModule::appGetRfInputLevelMinChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, spec_->rfLevelMinDbm);
}
int32_t SimModule::appGetRfInputLevelMaxChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, spec_->rfLevelMaxDbm);
}
int32_t SimModule::appGetIfInputLevelMinChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, spec_->ifLevelMinDbm);
}
int32_t SimModule::appGetIfInputLevelMaxChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, spec_->ifLevelMaxDbm);
}

int32_t SimModule::appSetRfAttenuation(int32_t value) {
    return setRfAtten(inUseChannel(), value, false);
}
int32_t SimModule::appSetRfAttenuationChan(int32_t value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setRfAtten(channel, value, false);
}
int32_t SimModule::appGetRfAttenuation(int32_t* value) {
    return put(value, channels_[inUseChannel()].rfAttenDb);
}
int32_t SimModule::appGetRfAttenuationChan(int32_t* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].rfAttenDb);
}
int32_t SimModule::appSetIfAttenuation(int32_t value) {
    return setIfAtten(inUseChannel(), value, false);
}
int32_t SimModule::appSetIfAttenuationChan(int32_t value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setIfAtten(channel, value, false);
}
int32_t SimModule::appGetIfAttenuation(int32_t* value) {
    return put(value, channels_[inUseChannel()].ifAttenDb);
}
int32_t SimModule::appGetIfAttenuationChan(int32_t* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].ifAttenDb);
}
int32_t SimModule::appGetRfAttenuationMin(int32_t* value) {
    return put<int32_t>(value, 0);
}
int32_t SimModule::appGetRfAttenuationMax(int32_t* value) {
    return put(value, rfAttenMaxDb(*spec_));
}
int32_t SimModule::appGetRfAttenuationStep(int32_t* value) {
    return put(value, spec_->rfAttenStepDb);
}
int32_t SimModule::appGetIfAttenuationMin(int32_t* value) {
    return put<int32_t>(value, 0);
}
int32_t SimModule::appGetIfAttenuationMax(int32_t* value) {
    return put<int32_t>(value, IF_ATTEN_MAX_DB);
}
int32_t SimModule::appGetIfAttenuationStep(int32_t* value) {
    return put<int32_t>(value, 1);
}

int32_t SimModule::appAutoAttenSetupModule() {
    resolveAttenuation(channels_[inUseChannel()], true, true);
    return OK;
}

int32_t SimModule::appAutoAttenSetupDigitizer() {
    resolveAttenuation(channels_[inUseChannel()], false, true);
    return OK;
}

int32_t SimModule::appSetActiveChan(uint16_t value) {
    if (badChannel(value)) return ERR_INVALID_CHANNEL;
    activeChannel_ = value;
    return OK;
}
int32_t SimModule::appGetActiveChan(uint16_t* value) {
    return put(value, inUseChannel());
}

int32_t SimModule::appSetFrontEndConfigMode(uint16_t value) {
    return setFrontEndMode(inUseChannel(), value);
}
int32_t SimModule::appGetFrontEndConfigMode(uint16_t* value) {
    return put(value, channels_[inUseChannel()].frontEndMode);
}
int32_t SimModule::appSetFrontEndConfigModeChan(uint16_t value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return setFrontEndMode(channel, value);
}
int32_t SimModule::appGetFrontEndConfigModeChan(uint16_t* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, channels_[channel].frontEndMode);
}

int32_t SimModule::appSetInputSource(uint16_t value) {
    const int32_t st = choose(&fe_.inputSource, value, {INPUT_IF, INPUT_RF});
    if (st == OK) resolveAllChannels();
    return st;
}
int32_t SimModule::appGetInputSource(uint16_t* value) {
    return put(value, fe_.inputSource);
}

int32_t SimModule::appSetIfFilterBypass(uint16_t value) {
    return choose(&fe_.ifFilterBypass, value, {0, 1});
}
int32_t SimModule::appGetIfFilterBypass(uint16_t* value) {
    return put(value, fe_.ifFilterBypass);
}
int32_t SimModule::appSetGrpDelFilterEnable(uint16_t value) {
    return choose(&fe_.grpDelFilterEnable, value, {0, 1});
}
int32_t SimModule::appGetGrpDelFilterEnable(uint16_t* value) {
    return put(value, fe_.grpDelFilterEnable);
}
int32_t SimModule::appSetAutoFlatnessMode(uint16_t value) {
    return choose(&fe_.autoFlatness, value, {0, 1});
}
int32_t SimModule::appGetAutoFlatnessMode(uint16_t* value) {
    return put(value, fe_.autoFlatness);
}

int32_t SimModule::appGetLevelCorrDigitizer(double* value) {
    return put(value, digitizerCorrection(channels_[inUseChannel()]));
}
int32_t SimModule::appGetLevelCorrDigitizerChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, digitizerCorrection(channels_[channel]));
}
int32_t SimModule::appGetLevelCorrDownConv(double* value) {
    return put(value, downConverterCorrection(channels_[inUseChannel()]));
}
int32_t SimModule::appGetLevelCorrDownConvChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    return put(value, downConverterCorrection(channels_[channel]));
}
int32_t SimModule::appGetLevelCorrModule(double* value) {
    const Channel& c = channels_[inUseChannel()];
    return put(value, digitizerCorrection(c) + downConverterCorrection(c));
}
int32_t SimModule::appGetLevelCorrModuleChan(double* value, uint16_t channel) {
    if (badChannel(channel)) return ERR_INVALID_CHANNEL;
    const Channel& c = channels_[channel];
    return put(value, digitizerCorrection(c) + downConverterCorrection(c));
}

// ---- control: the same hardware without the calibrated model ----

int32_t SimModule::controlSetInputSourceNoCorr(uint16_t value) {
    return choose(&fe_.inputSource, value, {0, 1});
}
int32_t SimModule::controlGetInputSourceNoCorr(uint16_t* value) {
    return put(value, fe_.inputSource);
}
int32_t SimModule::controlSetInputLevelDimensions(uint16_t value) {
    return choose(&fe_.levelUnit, value, {1, 2, 3, 4, 5, 6});
}
int32_t SimModule::controlGetInputLevelDimensions(uint16_t* value) {
    return put(value, fe_.levelUnit);
}
int32_t SimModule::controlSetRfInputLevelNoCorr(double value) {
    return setRfLevel(inUseChannel(), value, false);
}
int32_t SimModule::controlGetRfInputLevelNoCorr(double* value) {
    return put(value, channels_[inUseChannel()].rfLevelDbm);
}
int32_t SimModule::controlSetIfInputLevelNoCorr(double value) {
    return setIfLevel(inUseChannel(), value, false);
}
int32_t SimModule::controlGetIfInputLevelNoCorr(double* value) {
    return put(value, channels_[inUseChannel()].ifLevelDbm);
}
int32_t SimModule::controlSetPhaseAmpCorrectionMode(uint16_t value) {
    return choose(&fe_.phaseAmpCorrection, value, {0, 1});
}
int32_t SimModule::controlGetPhaseAmpCorrectionMode(uint16_t* value) {
    return put(value, fe_.phaseAmpCorrection);
}
int32_t SimModule::controlSetNegatePhaseWord(uint16_t value) {
    return choose(&fe_.negatePhaseWord, value, {0, 1});
}
int32_t SimModule::controlGetNegatePhaseWord(uint16_t* value) {
    return put(value, fe_.negatePhaseWord);
}
int32_t SimModule::controlSetDcOffsetFilter(uint16_t value) {
    return choose(&fe_.dcOffsetFilter, value, {0, 1});
}
int32_t SimModule::controlGetDcOffsetFilter(uint16_t* value) {
    return put(value, fe_.dcOffsetFilter);
}

int32_t SimModule::controlSetIfAttenuationPads(uint16_t value) {
    if (value >> IF_PAD_COUNT) return ERR_PARAMETER;
    Channel& c = channels_[inUseChannel()];
    c.ifAttenDb = ifDbFor(value);
    c.ifPadMask = value;
    return OK;
}
int32_t SimModule::controlGetIfAttenuationPads(uint16_t* value) {
    // The pads stay as they were switched until the attenuation is changed some other way.
    const Channel& c = channels_[inUseChannel()];
    return put(value, ifDbFor(c.ifPadMask) == c.ifAttenDb ? c.ifPadMask : ifPadsFor(c.ifAttenDb));
}
int32_t SimModule::controlSetIfAttenuationNoCorr(int32_t value) {
    return setIfAtten(inUseChannel(), value, true);
}
int32_t SimModule::controlGetIfAttenuationNoCorr(int32_t* value) {
    return put(value, channels_[inUseChannel()].ifAttenDb);
}
int32_t SimModule::controlSetRfAttenuationPads(uint16_t value) {
    if (value >> spec_->rfPadCount) return ERR_PARAMETER;
    channels_[inUseChannel()].rfAttenDb = rfDbFor(*spec_, value);
    return OK;
}
int32_t SimModule::controlGetRfAttenuationPads(uint16_t* value) {
    return put(value, rfPadsFor(*spec_, channels_[inUseChannel()].rfAttenDb));
}
int32_t SimModule::controlSetRfAttenuationNoCorr(int32_t value) {
    return setRfAtten(inUseChannel(), value, true);
}
int32_t SimModule::controlGetRfAttenuationNoCorr(int32_t* value) {
    return put(value, channels_[inUseChannel()].rfAttenDb);
}
int32_t SimModule::controlSetIfFilterBypassNoCorr(uint16_t value) {
    return choose(&fe_.ifFilterBypass, value, {0, 1});
}
int32_t SimModule::controlGetIfFilterBypassNoCorr(uint16_t* value) {
    return put(value, fe_.ifFilterBypass);
}

}  // namespace qm::sim
