// A capture turned into the panel's FFT trace with the driver's window and transforms: levels in dBm
// with the panel's arithmetic, frequencies as the panel labels them.
#ifndef TESTS_PLATFORM_INSTRUMENT_PANEL_SPECTRUM_H
#define TESTS_PLATFORM_INSTRUMENT_PANEL_SPECTRUM_H

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "fixture.h"
#include "qm4120.h"
#include "qm4120_pb_lib.h"

struct Peak {
    double frequencyHz;
    double levelDbm;
    double binHz;
};

struct Trace {
    std::vector<double> freq;
    std::vector<double> level;
};

// Captures one block of n points and computes the trace as the panel does, with window `window`.
inline Trace captureTrace(uint32_t vi, uint16_t window = 4, uint32_t n = 2048) {
    const uint16_t dataType = got(qm4120_controlGetSampleDataType, vi);
    const uint16_t format = got(qm4120_controlGetSampleDataOutputFormat, vi);
    const uint16_t source = got(qm4120_appGetInputSource, vi);
    const double rf = got(qm4120_appGetRfFrequency, vi);
    const double lo = got(qm4120_controlGetDividedLoFrequency, vi);
    const double ifHz = got(qm4120_controlGetIfFrequency, vi);
    const double offset = got(qm4120_appGetLoOffset, vi);
    const double sampleHz = got(qm4120_controlGetSampleFrequency, vi);
    const double decimated = got(qm4120_controlGetDecimatedSamplingFrequency, vi);
    const double correction =
        got(source == 0 ? qm4120_appGetLevelCorrDigitizer : qm4120_appGetLevelCorrModule, vi);
    EXPECT_EQ(makeWindow(static_cast<int32_t>(n), window), 1);
    const double* w = qm4120_windowArray();
    const double scale = 20 * std::log10(n / 2048.0);

    Trace t;
    std::vector<double> sr(n), si(n);
    const uint32_t h = n / 2;
    if (dataType == 0) {
        std::vector<int16_t> words(n);
        EXPECT_EQ(qm4120_controlDataCapture(vi, 0, n), 0);
        EXPECT_EQ(qm4120_controlDataAcquire(vi, 0, n, words.data()), 0);
        for (uint32_t i = 0; i < n; ++i) sr[i] = words[i] * 65536.0 * w[i];
        EXPECT_EQ(ReFFT(sr.data(), si.data(), n), 0);
        const double fs = sampleHz;
        for (uint32_t i = 0; i < h; ++i) {
            const uint32_t k = (source == 1 && offset >= 0) ? i : h + i;
            t.level.push_back(correction + 10 * std::log10(sr[k] * sr[k] + si[k] * si[k]) - 246.8 - scale);
            if (source == 0) {
                t.freq.push_back(ifHz - (1.0 - 2.0 * i / h) * fs / 4.0);
            } else if (lo < rf) {
                t.freq.push_back((1.0 + (static_cast<double>(i) - h) / n) * fs + lo);
            } else {
                t.freq.push_back(lo - (1.0 - static_cast<double>(i) / n) * fs);
            }
        }
        return t;
    }
    const uint32_t words = format ? 4 * n : 2 * n;
    if (format) {
        std::vector<int32_t> raw(2 * n);
        EXPECT_EQ(qm4120_controlDataCapture(vi, 0, words), 0);
        EXPECT_EQ(qm4120_controlDataAcquire(vi, 0, words, raw.data()), 0);
        for (uint32_t i = 0; i < n; ++i) sr[i] = raw[2 * i] * w[i], si[i] = raw[2 * i + 1] * w[i];
    } else {
        std::vector<int16_t> raw(2 * n);
        EXPECT_EQ(qm4120_controlDataCapture(vi, 0, words), 0);
        EXPECT_EQ(qm4120_controlDataAcquire(vi, 0, words, raw.data()), 0);
        for (uint32_t i = 0; i < n; ++i)
            sr[i] = raw[2 * i] * 65536.0 * w[i], si[i] = raw[2 * i + 1] * 65536.0 * w[i];
    }
    EXPECT_EQ(FFT(sr.data(), si.data(), n), 0);
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t k = i < h ? h + i : i - h;
        t.level.push_back(correction + 10 * std::log10(sr[k] * sr[k] + si[k] * si[k]) - 252.85 - scale);
        const double baseband = i * decimated / n - decimated / 2;
        t.freq.push_back(source == 0 ? ifHz - baseband : baseband + rf);
    }
    return t;
}

// The highest point of the trace away from its ends.
inline Peak capturePeak(uint32_t vi, uint16_t window = 4, uint32_t n = 2048) {
    const Trace t = captureTrace(vi, window, n);
    size_t best = 5;
    for (size_t i = 5; i + 5 < t.level.size(); ++i) {
        if (t.level[i] > t.level[best]) best = i;
    }
    return Peak{t.freq[best], t.level[best], std::fabs(t.freq[1] - t.freq[0])};
}

// What window `index` of 2048 points shows of a tone `bins` away from a bin's centre, relative to the
// tone on the bin: the window's transform there, summed directly.
inline double scallopDb(uint16_t index, double bins, uint32_t n = 2048) {
    EXPECT_EQ(makeWindow(static_cast<int32_t>(n), index), 1);
    const double* w = qm4120_windowArray();
    std::complex<double> at = 0.0;
    double centre = 0.0;
    for (uint32_t i = 0; i < n; ++i) {
        at += w[i] * std::polar(1.0, -2.0 * M_PI * bins * i / n);
        centre += w[i];
    }
    return 20 * std::log10(std::abs(at) / centre);
}

#endif
