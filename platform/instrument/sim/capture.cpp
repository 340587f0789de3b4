// Captures: trigger timing, and the sample words the module delivers from the signal scenario (a tone
// plus noise, scaled so that the panel's spectrum shows the tone at its true frequency and level), and
// the module's own spectrum read-outs.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

// Trigger source codes that trigger inside the module.
constexpr uint16_t SRC_SOFTWARE = 32;
constexpr uint16_t SRC_TIMER = 34;
constexpr uint16_t SRC_INTERNAL = 35;

// The ADC's own noise floor relative to full scale over its Nyquist band, and the DC offset of the I/Q
// path when the DC-offset filter is off.
constexpr double ADC_NOISE_DBFS = -75.0;
constexpr double IQ_DC_OFFSET_DBFS = -60.0;
// Out-of-band signals: what the IF filter and the decimation filters leave of them.
constexpr double IF_FILTER_STOPBAND_DB = -40.0;
constexpr double DECIMATION_STOPBAND_DB = -60.0;
constexpr double DECIMATION_PASSBAND = 0.8;  // fraction of the decimated Nyquist band passed
// The test tone sits 1.25 MHz above the IF centre at 10 dB below full scale.
constexpr double TEST_TONE_OFFSET_HZ = 1.25e6;
constexpr double TEST_TONE_DBFS = -10.0;
// Samples the module keeps for its own spectrum read-outs.
constexpr uint32_t FFT_KEEP = 32768;
// The result area of the averaged spectrum: a header (points, averages, sample rate) and the spectrum.
constexpr size_t FFT_AREA_HEADER = 8;

double dbToAmplitude(double db) {
    return std::pow(10.0, db / 20.0);
}

// Fast pseudo-random numbers: xorshift64*, and normal deviates from a table filled once by Box-Muller.
struct Random {
    uint64_t state;
    explicit Random(uint64_t seed) : state(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    uint64_t next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }
    double uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }
    double normal() {
        static const std::vector<double> table = [] {
            std::vector<double> t(8192);
            Random r(12345);
            for (size_t i = 0; i < t.size(); i += 2) {
                const double u1 = std::max(r.uniform(), 1e-300);
                const double u2 = r.uniform();
                const double radius = std::sqrt(-2.0 * std::log(u1));
                t[i] = radius * std::cos(2.0 * M_PI * u2);
                t[i + 1] = radius * std::sin(2.0 * M_PI * u2);
            }
            return t;
        }();
        return table[next() & (table.size() - 1)];
    }
};

// In-place radix-2 transform; n is a power of two.
void fft(std::vector<std::complex<double>>& x) {
    const size_t n = x.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * M_PI / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1.0;
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = x[i + k];
                const std::complex<double> v = x[i + k + len / 2] * wk;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
                wk *= w;
            }
        }
    }
}

// The module's windows: generalised cosine windows with 1 to 5 terms, index 0 rectangular.
double windowAt(uint16_t index, uint32_t i, uint32_t n) {
    static const double COEFFS[5][5] = {{1.0, 0, 0, 0, 0},
                                        {1.0, 0.86, 0, 0, 0},
                                        {1.0, 1.173, 0.1855, 0, 0},
                                        {1.0, 1.36108, 0.39398, 0.03258, 0},
                                        {1.0, 1.455872, 0.538431, 0.086186, 0.0037}};
    const double* a = COEFFS[std::min<uint16_t>(index, 4)];
    const double theta = 2.0 * M_PI * i / n;
    return a[0] - a[1] * std::cos(theta) + a[2] * std::cos(2 * theta) - a[3] * std::cos(3 * theta) +
           a[4] * std::cos(4 * theta);
}

bool powerOfTwo(uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

// The signal sources share the module's reference, so their tones are coherent with the sample clock:
// they sit on the bins of the transform length in use, and a spectrum shows their full level.
double onBin(double hz, double sampleHz, uint32_t points) {
    const double bin = sampleHz / points;
    return std::round(hz / bin) * bin;
}

}  // namespace

// ---- Trigger and capture timing ----

void SimModule::updateCapture() {
    if (!capture_.armed || capture_.complete) return;
    const double now = clock::now();
    if (!capture_.triggered && capture_.willTrigger && now >= capture_.triggerAtS) {
        capture_.triggered = true;
        ++capture_.triggerCount;
    }
    if (capture_.triggered && now >= capture_.completeAtS) {
        capture_.complete = true;
        capture_.captured = capture_.samples;
    }
}

double SimModule::captureRateHz() const {
    return acq_.dataType == 0 ? spec_->adcClockHz : decimatedHz();
}

uint32_t SimModule::wordsPerSample() const {
    // Library words are 16 bits: IF samples take one, I/Q samples an I and a Q word of the output width.
    return acq_.dataType == 0 ? 1 : (acq_.outputFormat ? 4 : 2);
}

double SimModule::nextTimerTick(double now) const {
    // The timer runs freely from the moment the module was opened, shifted by its phase in ADC clocks.
    const double period = trig_.timerPeriodUs * 1e-6;
    const double first = openedAtS_ + trig_.timerPhase / spec_->adcClockHz;
    if (now < first) return first;
    // A tick that falls on the arming instant has passed already.
    const double ticks = std::floor((now - first) / period + 1e-9) + 1.0;
    return first + ticks * period;
}

void SimModule::startCapture(uint32_t words, uint32_t samples, bool immediate) {
    const double now = clock::now();
    capture_.armed = true;
    capture_.triggered = false;
    capture_.complete = false;
    capture_.words = words;
    capture_.armedAtS = now;
    capture_.captured = 0;
    // When the trigger comes: at once for software (and for a block captured without arming), at the
    // next tick of the timer, when the level crosses the absolute threshold for the internal trigger,
    // after the scenario's delay for lines.
    double triggerAt = now;
    capture_.willTrigger = true;
    if (!immediate) {
        if (trig_.source == SRC_TIMER) {
            triggerAt = nextTimerTick(now);
        } else if (trig_.source == SRC_INTERNAL) {
            const bool crosses = trig_.intMode == 0 && scenario_.toneLevelDbm >= trig_.intAbsThresholdDbm;
            capture_.willTrigger = crosses;
            triggerAt = now + trig_.intAbsTimeConstUs * 1e-6;
        } else if (trig_.source != SRC_SOFTWARE) {
            capture_.willTrigger = scenario_.lineTriggerDelayMs >= 0.0;
            triggerAt = now + scenario_.lineTriggerDelayMs * 1e-3;
        }
        // A gate that closes early ends a triggered capture short.
        if (scenario_.captureLimitSamples > 0.0) {
            samples = static_cast<uint32_t>(std::min<double>(samples, scenario_.captureLimitSamples));
        }
    }
    // Edge triggers keep the pre-trigger samples that came before; the offset delay moves the trigger
    // point later by that many samples. The block cannot end before it has been sampled in full.
    const double rate = captureRateHz();
    const uint32_t pre = !immediate && trig_.type == 0 ? std::min(trig_.preEdgeSamples, samples) : 0;
    const double delayS = immediate ? 0.0 : trig_.offsetDelay / rate;
    capture_.samples = samples;
    capture_.triggerAtS = triggerAt;
    capture_.completeAtS = std::max(triggerAt + delayS + (samples - pre) / rate, now + samples / rate);
    capture_.triggerSample = pre;
    capture_.absSampleTimeS = triggerAt - openedAtS_;
    updateCapture();
}

int32_t SimModule::controlArmTrigger(uint32_t mode, uint32_t words) {
    if (mode > 1 || words == 0 || words > spec_->memoryWords) return ERR_PARAMETER;
    capture_.overload = false;
    // Armed counts are sample values: one per IF sample, an I and a Q value per I/Q sample, whatever
    // the word width.
    startCapture(words, acq_.dataType == 0 ? words : words / 2, false);
    capture_.fromArm = true;
    return OK;
}

int32_t SimModule::controlGetTriggerDetected(uint16_t* value) {
    updateCapture();
    return put<uint16_t>(value, capture_.triggered ? 1 : 0);
}

int32_t SimModule::controlGetCaptureComplete(uint16_t* value) {
    updateCapture();
    return put<uint16_t>(value, capture_.complete ? 1 : 0);
}

int32_t SimModule::controlGetCapturedSampleCount(uint32_t* value) {
    updateCapture();
    return put<uint32_t>(value, capture_.complete ? capture_.captured : 0);
}

int32_t SimModule::controlGetAbsSampleTime(double* value) {
    updateCapture();
    return put(value, capture_.triggered ? capture_.absSampleTimeS : 0.0);
}

int32_t SimModule::controlGetTriggerCount(uint32_t* value) {
    updateCapture();
    return put(value, capture_.triggerCount);
}

int32_t SimModule::controlGetTriggerSampleNumber(uint32_t* value) {
    updateCapture();
    return put(value, capture_.triggered ? capture_.triggerSample : 0u);
}

int32_t SimModule::controlCaptureAbort() {
    updateCapture();
    if (capture_.armed && !capture_.complete) {
        if (capture_.triggered) {
            // Once triggered the block is being written: the capture ends with what it holds now.
            const double now = clock::now();
            const double rate = captureRateHz();
            const double start = capture_.completeAtS - capture_.samples / rate;
            const double taken = std::floor((now - start) * rate);
            capture_.captured = static_cast<uint32_t>(std::clamp(taken, 0.0, double(capture_.samples)));
            capture_.complete = true;
            capture_.completeAtS = now;
        } else {
            capture_.armed = false;
        }
    }
    // A transfer waiting for its data gives up.
    if (capture_.pendingWords != 0) capture_.transferAborted = true;
    capture_.pendingWords = 0;
    return OK;
}

int32_t SimModule::controlClearAfterRepeatCapt() {
    capture_.armed = false;
    capture_.fromArm = false;
    capture_.triggered = false;
    capture_.complete = false;
    capture_.pendingWords = 0;
    return OK;
}

// ---- Sample delivery ----

int32_t SimModule::controlDataCapture(uint16_t mode, uint32_t words) {
    if (mode > 1 || words > spec_->memoryWords) return ERR_PARAMETER;
    updateCapture();
    const uint32_t samples = words / wordsPerSample();
    // A finished armed capture is what the transfer reads; otherwise the module captures a block now.
    if (capture_.fromArm && capture_.armed && capture_.complete) {
        if (samples > capture_.captured) return ERR_WORD_COUNT;
        capture_.fromArm = false;
    } else {
        capture_.overload = false;
        capture_.fromArm = false;
        startCapture(words, samples, true);
    }
    capture_.pendingWords = words;
    capture_.transferAborted = false;
    return OK;
}

int32_t SimModule::controlDataAcquire(uint16_t mode, uint32_t words, void* buffer, double* waitS,
                                      bool noWait) {
    *waitS = 0.0;
    if (mode > 1) return ERR_PARAMETER;
    if (words == 0) return OK;
    if (!buffer) return ERR_NULL_POINTER;
    if (capture_.pendingWords == 0) {
        if (!capture_.transferAborted) return ERR_CAPTURE_NOT_STARTED;
        capture_.transferAborted = false;
        return ERR_CAPTURE_ABORTED;
    }
    if (words > capture_.pendingWords || words % wordsPerSample() != 0) return ERR_WORD_COUNT;
    updateCapture();
    if (!capture_.complete && !noWait) {
        // The data are still coming in: the caller waits outside the lock and asks again.
        *waitS = std::max(capture_.completeAtS - clock::now(), 1e-9);
        return OK;
    }
    generate(words, buffer);
    capture_.pendingWords = 0;
    return OK;
}

void SimModule::generate(uint32_t words, void* buffer) {
    const Channel& c = channels_[activeChannel_];
    const bool rfInput = fe_.inputSource == INPUT_RF;
    const bool ifData = acq_.dataType == 0;
    const double fullScaleDbm = trueFullScaleDbm(c, fe_.inputSource);
    Random random((static_cast<uint64_t>(session_) << 32) ^ (++captureSerial_ * 0x9E3779B97F4A7C15ull));

    // Where the tone lands: its frequency at the IF (analog) and in the I/Q baseband.
    const double lo = loHz(c);
    double toneIf = 0.0;
    double toneBaseband = 0.0;
    if (rfInput) {
        const double rf =
            scenario_.toneAbsoluteHz != 0.0 ? scenario_.toneAbsoluteHz : c.rfHz + scenario_.toneOffsetHz;
        toneIf = std::fabs(lo - rf);
        toneBaseband = rf - c.rfHz;
    } else {
        toneIf = scenario_.toneAbsoluteHz != 0.0 ? scenario_.toneAbsoluteHz
                                                 : spec_->ifFrequencyHz + scenario_.toneOffsetHz;
        toneBaseband = spec_->ifFrequencyHz - toneIf;
    }
    double toneDb = scenario_.toneLevelDbm - fullScaleDbm;
    if (!fe_.ifFilterBypass && std::fabs(toneIf - spec_->ifFrequencyHz) > spec_->ifBandwidthHz / 2.0) {
        toneDb += IF_FILTER_STOPBAND_DB;
    }
    // The ADC overloads when the signal at its input exceeds full scale.
    capture_.overload = capture_.overload || toneDb > 0.0;
    const bool testTone = (hardwareRegisters_[HW_REGISTER_BASE + REG_ACQ_CONTROL] >> TEST_TONE_BIT) & 1u;
    const double testToneIf = spec_->ifFrequencyHz + TEST_TONE_OFFSET_HZ;
    const uint32_t points = acq_.fftLength;
    const double inputNoiseDbPerHz = scenario_.noiseDbmPerHz - fullScaleDbm;

    std::vector<std::complex<double>>& keep = lastSamples_;
    keep.clear();
    if (ifData) {
        // Real samples at the ADC clock; a full-scale sine has an amplitude of 32768.
        const double fs = spec_->adcClockHz;
        const double fullScale = 32768.0;
        const double amplitude = dbToAmplitude(toneDb) * fullScale;
        const double noiseSigma =
            fullScale / std::sqrt(2.0) *
            std::sqrt(std::pow(10.0, (inputNoiseDbPerHz + 10.0 * std::log10(fs / 2.0)) / 10.0) +
                      std::pow(10.0, ADC_NOISE_DBFS / 10.0));
        const double phase = 2.0 * M_PI * random.uniform();
        const std::complex<double> step = std::polar(1.0, 2.0 * M_PI * onBin(toneIf, fs, points) / fs);
        const std::complex<double> testStep =
            std::polar(1.0, 2.0 * M_PI * onBin(testToneIf, fs, points) / fs);
        std::complex<double> rot = std::polar(1.0, phase);
        std::complex<double> testRot = 1.0;
        const double testAmplitude = dbToAmplitude(TEST_TONE_DBFS) * fullScale;
        int16_t* out = static_cast<int16_t*>(buffer);
        for (uint32_t n = 0; n < words; ++n) {
            double x = amplitude * rot.real() + noiseSigma * random.normal();
            if (testTone) x += testAmplitude * testRot.real();
            rot *= step;
            testRot *= testStep;
            if ((n & 1023) == 1023) {
                rot /= std::abs(rot);
                testRot /= std::abs(testRot);
            }
            if (x >= 32767.0 || x <= -32768.0) capture_.overload = true;
            // The 14-bit converter fills the upper bits of the word.
            const double q = std::clamp(std::round(x / 4.0) * 4.0, -32768.0, 32764.0);
            out[n] = static_cast<int16_t>(q);
            if (n < FFT_KEEP) keep.emplace_back(q, 0.0);
        }
        return;
    }

    // Complex baseband at the decimated rate; a full-scale tone has a magnitude of full scale.
    const bool wide = acq_.outputFormat == 1;
    const double fullScale = wide ? 2147483648.0 : 32768.0;
    const double fs = decimatedHz();
    if (std::fabs(toneBaseband) > DECIMATION_PASSBAND * fs / 2.0) toneDb += DECIMATION_STOPBAND_DB;
    const double amplitude = dbToAmplitude(toneDb) * fullScale;
    const double noisePower = std::pow(10.0, (inputNoiseDbPerHz + 10.0 * std::log10(fs)) / 10.0) +
                              std::pow(10.0, ADC_NOISE_DBFS / 10.0) * fs / (spec_->adcClockHz / 2.0);
    const double noiseSigma = fullScale * std::sqrt(noisePower / 2.0);
    const double dc = fe_.dcOffsetFilter ? 0.0 : dbToAmplitude(IQ_DC_OFFSET_DBFS) * fullScale;
    const double qSign = fe_.negatePhaseWord ? -1.0 : 1.0;
    // The test tone enters at the digitizer: on the RF input it shows where the LO maps its IF.
    const double testBaseband = !rfInput              ? spec_->ifFrequencyHz - testToneIf
                                : c.loOffsetHz >= 0.0 ? c.loOffsetHz - testToneIf
                                                      : testToneIf + c.loOffsetHz;
    const bool testInBand = testTone && std::fabs(testBaseband) <= DECIMATION_PASSBAND * fs / 2.0;
    const double testAmplitude = dbToAmplitude(TEST_TONE_DBFS) * fullScale;
    const std::complex<double> step = std::polar(1.0, 2.0 * M_PI * onBin(toneBaseband, fs, points) / fs);
    const std::complex<double> testStep = std::polar(1.0, 2.0 * M_PI * onBin(testBaseband, fs, points) / fs);
    std::complex<double> rot = std::polar(1.0, 2.0 * M_PI * random.uniform());
    std::complex<double> testRot = 1.0;
    const uint32_t samples = words / (wide ? 4 : 2);
    const double limit = fullScale - 1.0;
    for (uint32_t n = 0; n < samples; ++n) {
        std::complex<double> v = amplitude * rot + std::complex<double>(dc + noiseSigma * random.normal(),
                                                                        dc + noiseSigma * random.normal());
        if (testInBand) v += testAmplitude * testRot;
        rot *= step;
        testRot *= testStep;
        if ((n & 1023) == 1023) {
            rot /= std::abs(rot);
            testRot /= std::abs(testRot);
        }
        double i = std::clamp(std::round(v.real()), -fullScale, limit);
        double q = std::clamp(std::round(qSign * v.imag()), -fullScale, limit);
        if (wide) {
            int32_t* out = static_cast<int32_t*>(buffer);
            out[2 * n] = static_cast<int32_t>(i);
            out[2 * n + 1] = static_cast<int32_t>(q);
        } else {
            int16_t* out = static_cast<int16_t*>(buffer);
            out[2 * n] = static_cast<int16_t>(i);
            out[2 * n + 1] = static_cast<int16_t>(q);
        }
        if (n < FFT_KEEP) keep.emplace_back(i, q);
    }
}

// ---- The module's own spectrum read-outs ----

int32_t SimModule::fftPerform(uint32_t n, double* re, double* im) {
    if (!re || !im) return ERR_NULL_POINTER;
    if (!powerOfTwo(n) || n > FFT_KEEP) return ERR_INVALID_FFT_LENGTH;
    if (lastSamples_.empty()) return ERR_NO_CAPTURED_DATA;
    if (lastSamples_.size() < n) return ERR_FFT_TOO_LONG;
    std::vector<std::complex<double>> x(lastSamples_.end() - n, lastSamples_.end());
    for (uint32_t i = 0; i < n; ++i) x[i] *= windowAt(acq_.windowFunction, i, n);
    fft(x);
    for (uint32_t i = 0; i < n; ++i) {
        re[i] = x[i].real();
        im[i] = x[i].imag();
    }
    return OK;
}

int32_t SimModule::fftPerformN(uint32_t n, uint16_t averages, double* area) {
    if (!area) return ERR_NULL_POINTER;
    if (!powerOfTwo(n) || n > FFT_KEEP || averages == 0) return ERR_PARAMETER;
    // The module captures IF data of its own for the measurement, at the ADC clock.
    const uint32_t total = n * averages;
    std::vector<int16_t> words(total);
    const uint16_t dataType = acq_.dataType;
    acq_.dataType = 0;
    generate(total, words.data());
    acq_.dataType = dataType;
    double* spectrum = area + FFT_AREA_HEADER;
    std::fill(spectrum, spectrum + n / 2, 0.0);
    std::vector<std::complex<double>> x(n);
    for (uint16_t a = 0; a < averages; ++a) {
        for (uint32_t i = 0; i < n; ++i) x[i] = words[a * n + i] * windowAt(acq_.windowFunction, i, n);
        fft(x);
        for (uint32_t k = 0; k < n / 2; ++k) spectrum[k] += std::norm(x[k]) / averages;
    }
    area[0] = n;
    area[1] = averages;
    area[2] = spec_->adcClockHz;
    return OK;
}

int32_t SimModule::fftGetPowerAtIfFrequency(double frequencyHz, uint16_t averages, uint32_t n, double* area,
                                            double* power) {
    if (!area || !power) return ERR_NULL_POINTER;
    if (area[0] != n || area[1] != averages || n < 8) return ERR_PARAMETER;
    const double fs = area[2];
    // An IF frequency anywhere folds into the first Nyquist band of the ADC.
    double f = std::fmod(std::fabs(frequencyHz), fs);
    if (f > fs / 2.0) f = fs - f;
    const int bin = static_cast<int>(std::lround(f / fs * n));
    const double* spectrum = area + FFT_AREA_HEADER;
    // Sum the window's main lobe so the reading does not depend on where the tone falls between bins.
    double sum = 0.0;
    for (int k = bin - 6; k <= bin + 6; ++k) {
        if (k >= 0 && k < static_cast<int>(n / 2)) sum += spectrum[k];
    }
    // A full-scale sine (amplitude 32768) puts n * 32768^2 * sum(w^2) / 4 into its positive-frequency
    // bins, so that reading is 0 dB.
    double windowEnergy = 0.0;
    for (uint32_t i = 0; i < n; ++i) windowEnergy += std::pow(windowAt(acq_.windowFunction, i, n), 2.0);
    const double reference = n * 32768.0 * 32768.0 * windowEnergy / 4.0;
    *power = 10.0 * std::log10(std::max(sum, 1e-30) / reference);
    return OK;
}

}  // namespace qm::sim
