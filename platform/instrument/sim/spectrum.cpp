// The module's own spectrum read-outs: its FPGA windows and transforms captured IF data itself, so a
// marker power reading is a measurement of the signal, not a figure taken from the scenario.

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "signal.h"
#include "sim_module.h"
#include "status.h"

namespace qm::sim {

namespace {

// Samples the module keeps for its own spectrum read-outs, and the longest transform it makes.
constexpr uint32_t FFT_KEEP = 32768;
// The result area of the averaged spectrum: a header (points, averages, sample rate) and the spectrum.
constexpr size_t FFT_AREA_HEADER = 8;

bool powerOfTwo(uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

}  // namespace

int32_t SimModule::fftPerform(uint32_t n, double* re, double* im) {
    if (!re || !im) return ERR_NULL_POINTER;
    if (!powerOfTwo(n) || n > FFT_KEEP) return ERR_INVALID_FFT_LENGTH;
    if (lastSamples_.empty()) return ERR_NO_CAPTURED_DATA;
    if (lastSamples_.size() < n) return ERR_FFT_TOO_LONG;
    std::vector<std::complex<double>> x(lastSamples_.end() - n, lastSamples_.end());
    for (uint32_t i = 0; i < n; ++i) x[i] *= windowAt(acq_.windowFunction, i, n);
    transform(x);
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
        transform(x);
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
