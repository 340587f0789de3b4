// The sample words a capture delivers: the scenario's tone at its true frequency plus noise shaped by
// the IF filter, scaled so that the panel's spectrum shows a tone on a bin at its true level. Tones are
// not moved onto the bins of any transform, so windows leak and scallop as they do on hardware.

#include "signal.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "sim_module.h"

namespace qm::sim {

namespace {

// The ADC's own noise floor relative to full scale over its Nyquist band, and the DC offset of the I/Q
// path when the DC-offset filter is off.
constexpr double ADC_NOISE_DBFS = -75.0;
constexpr double IQ_DC_OFFSET_DBFS = -60.0;
// What leaks past the IF filter, its order, and what the decimation filters leave out of their band.
constexpr double IF_FILTER_FLOOR = 0.01;  // -40 dB
constexpr int IF_FILTER_POLES = 8;
constexpr double DECIMATION_STOPBAND_DB = -60.0;
constexpr double DECIMATION_PASSBAND = 0.8;  // fraction of the decimated Nyquist band passed
// The noise filter needs this fraction of the sampled band to shape anything.
constexpr double SHAPED_FRACTION = 0.9;
// Samples run through the noise filter before the capture starts, so it is settled.
constexpr int NOISE_PREROLL = 1024;
// The test tone sits 1.25 MHz above the IF centre at 10 dB below full scale.
constexpr double TEST_TONE_OFFSET_HZ = 1.25e6;
constexpr double TEST_TONE_DBFS = -10.0;
// Samples the module keeps for its own spectrum read-outs.
constexpr uint32_t FFT_KEEP = 32768;

double dbToAmplitude(double db) {
    return std::pow(10.0, db / 20.0);
}

double dbToPower(double db) {
    return std::pow(10.0, db / 10.0);
}

}  // namespace

double Random::normal() {
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

double ifFilterGain(double offsetHz, double bandwidthHz) {
    const double x = 2.0 * std::fabs(offsetHz) / bandwidthHz;
    return std::sqrt(1.0 / (1.0 + std::pow(x, 2 * IF_FILTER_POLES)) + IF_FILTER_FLOOR * IF_FILTER_FLOOR);
}

NoiseShaper::NoiseShaper(double bandwidthHz, double fs) {
    const double cutoff = bandwidthHz / 2.0;
    active_ = cutoff < SHAPED_FRACTION * fs / 2.0;
    if (!active_) return;
    // Butterworth low-pass as second-order sections, with the cut-off pre-warped for the bilinear map.
    const double w0 = 2.0 * M_PI * cutoff / fs;
    const double c = std::cos(w0);
    for (int k = 0; k < IF_FILTER_POLES / 2; ++k) {
        const double q = 1.0 / (2.0 * std::sin((2 * k + 1) * M_PI / (2 * IF_FILTER_POLES)));
        const double alpha = std::sin(w0) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        stages_[k] = Biquad{(1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0,
                            (1.0 - alpha) / a0};
    }
}

std::complex<double> NoiseShaper::operator()(std::complex<double> z) {
    if (!active_) return z;
    std::complex<double> y = z;
    for (Biquad& s : stages_) {
        // Transposed direct form II.
        const std::complex<double> out = s.b0 * y + s.z1;
        s.z1 = s.b1 * y - s.a1 * out + s.z2;
        s.z2 = s.b2 * y - s.a2 * out;
        y = out;
    }
    return y + IF_FILTER_FLOOR * z;
}

Oscillator::Oscillator(double amplitude, double hz, double fs, double phase)
    : amplitude_(amplitude), step_(std::polar(1.0, 2.0 * M_PI * hz / fs)), rot_(std::polar(1.0, phase)) {}

std::complex<double> Oscillator::next() {
    const std::complex<double> v = amplitude_ * rot_;
    rot_ *= step_;
    if ((++count_ & 1023) == 0) rot_ /= std::abs(rot_);
    return v;
}

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

void transform(std::vector<std::complex<double>>& x) {
    // FFTW's planner is shared with whatever else in the process plans; it is made to serialise
    // itself, and this lock guards the module's plans. Plans are made for unaligned data, so they run
    // on any vector.
    static std::mutex mutex;
    static auto* plans = new std::map<int, fftw_plan>;
    const int n = static_cast<int>(x.size());
    if (n <= 1) return;
    fftw_plan plan = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex);
        static std::once_flag once;
        std::call_once(once, [] { fftw_make_planner_thread_safe(); });
        auto it = plans->find(n);
        if (it == plans->end()) {
            std::vector<std::complex<double>> scratch(x.size());
            auto* p = reinterpret_cast<fftw_complex*>(scratch.data());
            it = plans->emplace(n, fftw_plan_dft_1d(n, p, p, FFTW_FORWARD, FFTW_ESTIMATE | FFTW_UNALIGNED))
                     .first;
        }
        plan = it->second;
    }
    auto* p = reinterpret_cast<fftw_complex*>(x.data());
    fftw_execute_dft(plan, p, p);
}

// ---- Sample generation ----

void SimModule::generate(uint32_t words, void* buffer) {
    const Channel& c = channels_[inUseChannel()];
    const bool rfInput = fe_.inputSource == INPUT_RF;
    const bool ifData = acq_.dataType == 0;
    const double fullScaleDbm = trueFullScaleDbm(c, fe_.inputSource);
    const double ifCentre = spec_->ifFrequencyHz;
    const double bandwidth = spec_->ifBandwidthHz;
    Random random((static_cast<uint64_t>(session_) << 32) ^ (++captureSerial_ * 0x9E3779B97F4A7C15ull));
    // A hopping source moves its tone one step for each block the module takes, through hop_count places.
    const double hopHz =
        scenario_.hopCount > 1.0
            ? static_cast<double>((captureSerial_ - 1) % static_cast<uint64_t>(scenario_.hopCount)) *
                  scenario_.hopStepHz
            : 0.0;

    // Where the tone lands: its frequency at the IF (analog) and in the I/Q baseband.
    const double lo = loHz(c);
    double toneIf = 0.0;
    double toneBaseband = 0.0;
    if (rfInput) {
        const double rf = hopHz + (scenario_.toneAbsoluteHz != 0.0 ? scenario_.toneAbsoluteHz
                                                                   : c.rfHz + scenario_.toneOffsetHz);
        toneIf = std::fabs(lo - rf);
        toneBaseband = rf - c.rfHz;
    } else {
        toneIf = hopHz + (scenario_.toneAbsoluteHz != 0.0 ? scenario_.toneAbsoluteHz
                                                          : ifCentre + scenario_.toneOffsetHz);
        toneBaseband = ifCentre - toneIf;
    }
    double toneDb = scenario_.toneLevelDbm - fullScaleDbm;
    if (!fe_.ifFilterBypass) toneDb += 20.0 * std::log10(ifFilterGain(toneIf - ifCentre, bandwidth));
    // The ADC overloads when the signal at its input exceeds full scale.
    capture_.overload = capture_.overload || toneDb > 0.0;
    const bool testTone = (hardwareRegisters_[HW_REGISTER_BASE + REG_ACQ_CONTROL] >> TEST_TONE_BIT) & 1u;
    const double testToneIf = ifCentre + TEST_TONE_OFFSET_HZ;
    const double inputNoiseDbPerHz = scenario_.noiseDbmPerHz - fullScaleDbm;
    // The filter shapes the input noise only: the ADC adds its own, white.
    const double shapedBandwidth = fe_.ifFilterBypass ? 1e300 : bandwidth;
    // A burst tone is there only for the samples taken while it is on.
    const bool burst = scenario_.burstOffMs > 0.0;
    const double start = capture_.firstSampleS;

    std::vector<std::complex<double>>& keep = lastSamples_;
    keep.clear();
    if (ifData) {
        // Real samples at the ADC clock; a full-scale sine has an amplitude of 32768. The input noise
        // is the real part of complex noise filtered at baseband and moved up to the IF centre; its
        // density in the pass band is that of the input.
        const double fs = spec_->adcClockHz;
        const double fullScale = 32768.0;
        const double inputSigma = fullScale * std::sqrt(dbToPower(inputNoiseDbPerHz) * fs / 2.0);
        const double adcSigma = fullScale / std::sqrt(2.0) * dbToAmplitude(ADC_NOISE_DBFS);
        NoiseShaper shaper(shapedBandwidth, fs);
        Oscillator noiseCentre(1.0, ifCentre, fs, 0.0);
        for (int i = 0; i < NOISE_PREROLL; ++i) shaper({random.normal(), random.normal()});
        Oscillator tone(dbToAmplitude(toneDb) * fullScale, toneIf, fs, 2.0 * M_PI * random.uniform());
        Oscillator test(dbToAmplitude(TEST_TONE_DBFS) * fullScale, testToneIf, fs, 0.0);
        int16_t* out = static_cast<int16_t*>(buffer);
        for (uint32_t n = 0; n < words; ++n) {
            const std::complex<double> noise =
                shaper({random.normal(), random.normal()}) * noiseCentre.next();
            const double toneNow = tone.next().real();
            double x = (!burst || toneOnAt(start + n / fs) ? toneNow : 0.0) + inputSigma * noise.real() +
                       adcSigma * random.normal();
            const double t = test.next().real();
            if (testTone) x += t;
            if (x >= 32767.0 || x <= -32768.0) capture_.overload = true;
            // The 14-bit converter fills the upper bits of the word.
            const double q = std::clamp(std::round(x / 4.0) * 4.0, -32768.0, 32764.0);
            out[n] = static_cast<int16_t>(q);
            if (n < FFT_KEEP) keep.emplace_back(q, 0.0);
        }
        return;
    }

    // Complex baseband at the decimated rate; a full-scale tone has a magnitude of full scale. The IF
    // filter's centre is at zero.
    const bool wide = acq_.outputFormat == 1;
    const double fullScale = wide ? 2147483648.0 : 32768.0;
    const double fs = decimatedHz();
    if (std::fabs(toneBaseband) > DECIMATION_PASSBAND * fs / 2.0) toneDb += DECIMATION_STOPBAND_DB;
    const double inputSigma = fullScale * std::sqrt(dbToPower(inputNoiseDbPerHz) * fs / 2.0);
    const double adcSigma =
        fullScale * std::sqrt(dbToPower(ADC_NOISE_DBFS) * fs / (spec_->adcClockHz / 2.0) / 2.0);
    NoiseShaper shaper(shapedBandwidth, fs);
    for (int i = 0; i < NOISE_PREROLL; ++i) shaper({random.normal(), random.normal()});
    const double dc = fe_.dcOffsetFilter ? 0.0 : dbToAmplitude(IQ_DC_OFFSET_DBFS) * fullScale;
    const double qSign = fe_.negatePhaseWord ? -1.0 : 1.0;
    // The test tone enters at the digitizer: on the RF input it shows where the LO maps its IF.
    const double testBaseband = !rfInput              ? ifCentre - testToneIf
                                : c.loOffsetHz >= 0.0 ? c.loOffsetHz - testToneIf
                                                      : testToneIf + c.loOffsetHz;
    const bool testInBand = testTone && std::fabs(testBaseband) <= DECIMATION_PASSBAND * fs / 2.0;
    Oscillator tone(dbToAmplitude(toneDb) * fullScale, toneBaseband, fs, 2.0 * M_PI * random.uniform());
    Oscillator test(dbToAmplitude(TEST_TONE_DBFS) * fullScale, testBaseband, fs, 0.0);
    // The Q branch lags the I branch by what the correction filter leaves of the skew: a tone's Q
    // part is the one it had that much earlier. The noise is not shifted: its I and Q parts are
    // independent, and a shift of a fraction of a sample leaves them so.
    const double skewS = iqBranchSkewS(*spec_) - (fe_.grpDelFilterEnable ? fe_.grpDelCorrectionS : 0.0);
    const std::complex<double> toneLag = std::polar(1.0, -2.0 * M_PI * toneBaseband * skewS);
    const std::complex<double> testLag = std::polar(1.0, -2.0 * M_PI * testBaseband * skewS);
    auto lagged = [](std::complex<double> v, std::complex<double> lag) {
        return std::complex<double>(v.real(), (v * lag).imag());
    };
    const uint32_t samples = words / (wide ? 4 : 2);
    const double limit = fullScale - 1.0;
    for (uint32_t n = 0; n < samples; ++n) {
        std::complex<double> toneNow = lagged(tone.next(), toneLag);
        if (burst && !toneOnAt(start + n / fs)) toneNow = 0.0;
        std::complex<double> v =
            toneNow + inputSigma * shaper({random.normal(), random.normal()}) +
            std::complex<double>(dc + adcSigma * random.normal(), dc + adcSigma * random.normal());
        const std::complex<double> t = lagged(test.next(), testLag);
        if (testInBand) v += t;
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

}  // namespace qm::sim
