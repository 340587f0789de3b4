// The host transforms against a direct DFT over every kind of length, the published window values, and
// the statuses of the transforms and the module's spectrum wrappers.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "qm4120.h"

namespace {

using Complex = std::complex<long double>;

// e^(-j 2 pi r / n) for r = 0 to n - 1, in extended precision.
std::vector<Complex> twiddles(int64_t n) {
    std::vector<Complex> w(n);
    for (int64_t r = 0; r < n; ++r) w[r] = std::polar(1.0L, -2.0L * static_cast<long double>(M_PI) * r / n);
    return w;
}

// Bin k of the direct DFT, with the twiddle's angle reduced exactly.
Complex directBin(const std::vector<double>& re, const std::vector<double>& im, const std::vector<Complex>& w,
                  int64_t k) {
    const int64_t n = static_cast<int64_t>(re.size());
    Complex sum = 0;
    for (int64_t t = 0; t < n; ++t) sum += Complex(re[t], im[t]) * w[(k * t) % n];
    return sum;
}

// Compares FFT and ReFFT of random data with the direct DFT at every bin (short lengths) or at 40
// bins spread over the spectrum (long ones).
void checkLength(int32_t n) {
    std::mt19937 rng(n);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> re(n), im(n), zero(n, 0.0);
    for (int32_t i = 0; i < n; ++i) re[i] = u(rng), im[i] = u(rng);
    std::vector<double> cre = re, cim = im, rre = re, rim(n, 123.0);
    ASSERT_EQ(FFT(cre.data(), cim.data(), n), 0) << n;
    ASSERT_EQ(ReFFT(rre.data(), rim.data(), n), 0) << n;
    const double tolerance = 1e-13 * n + 1e-14;
    const std::vector<Complex> w = twiddles(n);
    const int64_t step = n <= 256 ? 1 : n / 40;
    for (int64_t k = 0; k < n; k += step) {
        const Complex c = directBin(re, im, w, k);
        EXPECT_NEAR(cre[k], static_cast<double>(c.real()), tolerance) << "FFT n=" << n << " k=" << k;
        EXPECT_NEAR(cim[k], static_cast<double>(c.imag()), tolerance) << "FFT n=" << n << " k=" << k;
        const Complex r = directBin(re, zero, w, k);
        EXPECT_NEAR(rre[k], static_cast<double>(r.real()), tolerance) << "ReFFT n=" << n << " k=" << k;
        EXPECT_NEAR(rim[k], static_cast<double>(r.imag()), tolerance) << "ReFFT n=" << n << " k=" << k;
    }
    // The last bin mirrors the first as its conjugate.
    EXPECT_NEAR(rre[n - 1], static_cast<double>(directBin(re, zero, w, n - 1).real()), tolerance) << n;
    EXPECT_NEAR(rim[n - 1], static_cast<double>(directBin(re, zero, w, n - 1).imag()), tolerance) << n;
}

TEST(Transforms, EqualTheDirectDftForEveryKindOfLength) {
    for (int32_t n = 1; n <= 64; ++n) checkLength(n);
    for (int32_t n = 128; n <= 32768; n *= 2) checkLength(n);
    // Mixed radices, and prime factors of 999 or more (1009, 1013 and 10007 are prime).
    for (int32_t n : {210, 1000, 1155, 12288, 1009, 2026, 10007}) checkLength(n);
}

TEST(Transforms, WorkOnArraysOfAnyAlignment) {
    // One plan per length must not be run on arrays aligned differently from the ones it was made for.
    std::vector<double> a(1030, 0.0), b(1030, 0.0);
    for (size_t offset : {0, 1, 2}) {
        std::fill(a.begin(), a.end(), 0.0);
        a[offset + 1] = 1.0;  // a delay of one sample: bin k is e^(-j 2 pi k / n)
        ASSERT_EQ(ReFFT(a.data() + offset, b.data() + 2 - offset, 1024), 0);
        EXPECT_NEAR(a[offset + 256], 0.0, 1e-15);
        EXPECT_NEAR(b[2 - offset + 256], -1.0, 1e-15);
    }
}

TEST(Transforms, FreshArraysEveryTimeStayCorrect) {
    // Plans are kept per length, not per placement: arrays new every call must get the same result.
    std::vector<std::vector<double>> kept;  // live arrays, so every round has new placements
    kept.reserve(800);
    for (int round = 0; round < 400; ++round) {
        std::vector<double>& re = kept.emplace_back(48, 0.0);
        std::vector<double>& im = kept.emplace_back(48, 0.0);
        re[1] = 1.0;
        ASSERT_EQ(FFT(re.data(), im.data(), 48), 0);
        ASSERT_NEAR(re[12], 0.0, 1e-15) << round;
        ASSERT_NEAR(im[12], -1.0, 1e-15) << round;
    }
}

TEST(Transforms, SmallCasesAndStatuses) {
    std::vector<double> x(8, 1.0), y(8, 5.0);
    ASSERT_EQ(ReFFT(x.data(), y.data(), 8), 0);
    EXPECT_EQ(x, (std::vector<double>{8, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(y, std::vector<double>(8, 0.0));

    double re = 3.0, im = -2.0;
    EXPECT_EQ(FFT(&re, &im, 1), 0);
    EXPECT_EQ(re, 3.0);
    EXPECT_EQ(im, -2.0);
    EXPECT_EQ(ReFFT(&re, &im, 1), 0);
    EXPECT_EQ(re, 3.0);
    EXPECT_EQ(im, 0.0);

    x.assign(8, 1.0);
    for (int32_t n : {0, -1}) {
        EXPECT_EQ(FFT(x.data(), y.data(), n), -20003);
        EXPECT_EQ(ReFFT(x.data(), y.data(), n), -20003);
        EXPECT_EQ(GenCosWin(x.data(), n, x.data(), 1), -20003);
        EXPECT_EQ(makeWindow(n, 4), 0);
    }
    EXPECT_EQ(GenCosWin(x.data(), 8, x.data(), 0), -20003);
    EXPECT_EQ(x, std::vector<double>(8, 1.0)) << "refused calls leave the data alone";
    EXPECT_EQ(makeWindow(QM4120_WINDOW_SIZE + 1, 4), 0);
    EXPECT_EQ(makeWindow(8, 5), 0);
}

TEST(Windows, PublishedValues) {
    struct Case {
        int32_t n;
        uint16_t index;
        int32_t i;
        double value;
    };
    const Case cases[] = {{8, 0, 0, 1.0},
                          {8, 0, 7, 1.0},
                          {4, 1, 0, 0.14},
                          {4, 1, 1, 1.0},
                          {4, 1, 2, 1.86},
                          {4, 1, 3, 1.0},
                          {2048, 3, 0, 0.00032},
                          {2048, 3, 1024, 2.78764},
                          // Three and five terms at the centre: the coefficients add up.
                          {6, 2, 3, 1.0 + 1.173 + 0.1855},
                          {2048, 4, 1024, 1.0 + 1.455872 + 0.538431 + 0.086186 + 0.0037},
                          {2048, 4, 0, 1.0 - 1.455872 + 0.538431 - 0.086186 + 0.0037},
                          // A quarter of the way in, the odd terms vanish and the even ones alternate.
                          {2048, 4, 512, 1.0 - 0.538431 + 0.0037}};
    for (const Case& c : cases) {
        ASSERT_EQ(makeWindow(c.n, c.index), 1);
        EXPECT_NEAR(qm4120_windowArray()[c.i], c.value, 1e-12) << c.n << " " << c.index << " " << c.i;
    }
    // Periodic and symmetric, exactly.
    ASSERT_EQ(makeWindow(1000, 4), 1);
    const double* w = qm4120_windowArray();
    for (int i = 1; i < 1000; ++i) ASSERT_EQ(w[i], w[1000 - i]) << i;
}

TEST(ModuleSpectrum, WrappersPassTheLibraryStatusesThrough) {
    uint32_t vi = 0;
    ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
    EXPECT_EQ(performFFT(vi, 2048), -60) << "nothing captured yet";
    EXPECT_EQ(performFFT(vi, QM4120_WINDOW_SIZE * 2), QM4120_ERROR_PARAMETER1 + 1);
    EXPECT_EQ(performNFFT(vi, 1000, 8), -3);
    ASSERT_EQ(performNFFT(vi, 2048, 8), 0);
    double power = 1.0;
    EXPECT_EQ(getPowerAtIfFrequency(vi, 40e6, 4, 2048, &power), -3) << "averages differ from the area's";
    ASSERT_EQ(getPowerAtIfFrequency(vi, 40e6, 8, 2048, &power), 0);
    EXPECT_LT(power, -60.0) << "no signal at 40 MHz";
    qm4120_close(vi);
}

}  // namespace
