// The signal at the module's inputs as its ADC sees it: tones at their true frequencies, noise shaped
// by the IF filter, and the building blocks the module's own spectrum read-outs share with it.
#ifndef QM4120_SIM_SIGNAL_H
#define QM4120_SIM_SIGNAL_H

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

namespace qm::sim {

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
    double normal();
};

// Amplitude gain of the IF filter (an 8-pole band-pass of the given width, -3 dB at its edges, on a
// -40 dB floor of what leaks past it) at an offset from its centre.
double ifFilterGain(double offsetHz, double bandwidthHz);

// Complex white noise through the IF filter's low-pass equivalent at sample rate fs: an 8-pole
// Butterworth low-pass at half the filter's width plus the leakage floor. A filter wider than about
// the band sampled leaves the noise white.
class NoiseShaper {
  public:
    NoiseShaper(double bandwidthHz, double fs);
    std::complex<double> operator()(std::complex<double> z);

  private:
    struct Biquad {
        double b0, b1, b2, a1, a2;
        std::complex<double> z1{}, z2{};
    };
    bool active_ = false;
    std::array<Biquad, 4> stages_{};
};

// A tone at its true frequency: successive samples of a * e^(j(2 pi f n / fs + phase)).
class Oscillator {
  public:
    Oscillator(double amplitude, double hz, double fs, double phase);
    std::complex<double> next();

  private:
    double amplitude_;
    std::complex<double> step_;
    std::complex<double> rot_;
    uint32_t count_ = 0;
};

// The module's windows: generalised cosine windows with 1 to 5 terms, index 0 rectangular.
double windowAt(uint16_t index, uint32_t i, uint32_t n);

// In-place forward transform of any length with FFTW (plans kept per length).
void transform(std::vector<std::complex<double>>& x);

}  // namespace qm::sim

#endif
