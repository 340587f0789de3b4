// Window functions and the host-side Fourier transforms, over FFTW.
//
// FFTW runs a plan only on arrays placed as the ones it was made for (alignment and, for split real
// and imaginary arrays, the distance between them). The caller's arrays are therefore copied into
// per-thread work arrays from fftw_malloc, in FFTW's interleaved layout, whose placement never changes:
// one plan per length and kind serves every caller and every thread, and the copies cost far less than
// split-array plans would.
#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <tuple>
#include <vector>

#include "qm4120.h"
#include "qm4120_pb_lib.h"

namespace {

enum class Kind { Complex, Real };

// FFTW's planner is one per process and not thread-safe: the simulated module plans in the same
// process, so FFTW is asked to serialise planning itself, and this lock guards the cache.
std::mutex cacheMutex;
std::map<std::pair<Kind, int32_t>, fftw_plan>& planCache() {
    static auto* cache = new std::map<std::pair<Kind, int32_t>, fftw_plan>;  // kept for the process
    return *cache;
}

// Work arrays of one thread: `complex` holds n interleaved points, `real` n real inputs.
struct Work {
    fftw_complex* complex = nullptr;
    double* real = nullptr;
    int32_t size = 0;
    ~Work() { release(); }
    void release() {
        fftw_free(complex);
        fftw_free(real);
        complex = nullptr;
        real = nullptr;
        size = 0;
    }
    bool reserve(int32_t n) {
        if (n <= size) return true;
        release();
        complex = fftw_alloc_complex(n);
        real = fftw_alloc_real(n);
        if (!complex || !real) {
            release();
            return false;
        }
        size = n;
        return true;
    }
};

// The plan of a length, made on scratch arrays of fftw_malloc's alignment; null when FFTW could not
// make one or memory ran out.
fftw_plan planFor(Kind kind, int32_t n) {
    // Callers mostly repeat one length: the thread's last plan of each kind saves the lock.
    thread_local std::pair<int32_t, fftw_plan> last[2] = {{0, nullptr}, {0, nullptr}};
    auto& mine = last[kind == Kind::Complex ? 0 : 1];
    if (mine.first == n && mine.second) return mine.second;
    try {
        std::lock_guard<std::mutex> lock(cacheMutex);
        auto& cache = planCache();
        if (auto it = cache.find({kind, n}); it != cache.end()) {
            mine = {n, it->second};
            return it->second;
        }
        static std::once_flag once;
        std::call_once(once, [] { fftw_make_planner_thread_safe(); });
        Work scratch;
        if (!scratch.reserve(n)) return nullptr;
        fftw_plan plan =
            kind == Kind::Complex
                ? fftw_plan_dft_1d(n, scratch.complex, scratch.complex, FFTW_FORWARD, FFTW_ESTIMATE)
                : fftw_plan_dft_r2c_1d(n, scratch.real, scratch.complex, FFTW_ESTIMATE);
        if (plan) {
            cache.emplace(std::make_pair(kind, n), plan);
            mine = {n, plan};
        }
        return plan;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

thread_local Work work;

// Coefficients of the window indices 0 to 4.
constexpr double WINDOW_COEFFICIENTS[QM4120_WINDOW_COUNT][QM4120_WINDOW_COUNT] = {
    {1.0, 0, 0, 0, 0},
    {1.0, 0.86, 0, 0, 0},
    {1.0, 1.173, 0.1855, 0, 0},
    {1.0, 1.36108, 0.39398, 0.03258, 0},
    {1.0, 1.455872, 0.538431, 0.086186, 0.0037},
};

double windowArray[QM4120_WINDOW_SIZE];
double resultReal[QM4120_WINDOW_SIZE];
double resultImaginary[QM4120_WINDOW_SIZE];
double nfftArea[QM4120_NFFT_AREA_SIZE];

// cos(2 pi r / n) for 0 <= r < n, exact at the quarter points and equal for r and n - r.
double cosOfTurn(int64_t r, int64_t n) {
    const int64_t j = std::min(r, n - r);
    if (j == 0) return 1.0;
    if (4 * j == n) return 0.0;
    if (2 * j == n) return -1.0;
    return std::cos(2.0 * M_PI * static_cast<double>(j) / static_cast<double>(n));
}

}  // namespace

extern "C" {

int32_t GenCosWin(double* w, int32_t n, const double* a, int32_t m) {
    if (n < 1 || m < 1) return QM4120_FFT_ERROR_LENGTH;
    for (int64_t i = 0; i < n; ++i) {
        double factor = a[0];
        for (int64_t k = 1; k < m; ++k) {
            const double term = a[k] * cosOfTurn((k * i) % n, n);
            factor += (k % 2 == 1) ? -term : term;
        }
        w[i] *= factor;
    }
    return 0;
}

int32_t makeWindow(int32_t n, uint16_t index) {
    if (n < 1 || n > QM4120_WINDOW_SIZE || index >= QM4120_WINDOW_COUNT) return 0;
    std::fill(windowArray, windowArray + n, 1.0);
    return GenCosWin(windowArray, n, WINDOW_COEFFICIENTS[index], index + 1) == 0 ? 1 : 0;
}

const double* qm4120_windowArray(void) {
    return windowArray;
}

int32_t FFT(double* re, double* im, int32_t n) {
    if (n < 1) return QM4120_FFT_ERROR_LENGTH;
    if (n == 1) return 0;
    fftw_plan plan = planFor(Kind::Complex, n);
    if (!plan || !work.reserve(n)) return QM4120_FFT_ERROR_MEMORY;
    fftw_complex* c = work.complex;
    for (int32_t i = 0; i < n; ++i) {
        c[i][0] = re[i];
        c[i][1] = im[i];
    }
    fftw_execute_dft(plan, c, c);
    for (int32_t i = 0; i < n; ++i) {
        re[i] = c[i][0];
        im[i] = c[i][1];
    }
    return 0;
}

int32_t ReFFT(double* x, double* y, int32_t n) {
    if (n < 1) return QM4120_FFT_ERROR_LENGTH;
    if (n > 1) {
        fftw_plan plan = planFor(Kind::Real, n);
        if (!plan || !work.reserve(n)) return QM4120_FFT_ERROR_MEMORY;
        // The plan runs on any input placed as FFTW's own arrays are; only other inputs are copied.
        // An out-of-place real transform leaves its input as it was.
        double* in = x;
        if (fftw_alignment_of(x) != fftw_alignment_of(work.real)) {
            std::copy(x, x + n, work.real);
            in = work.real;
        }
        fftw_execute_dft_r2c(plan, in, work.complex);
        // Bins 0 to n / 2 as computed, the upper ones as the conjugates of the lower.
        const fftw_complex* c = work.complex;
        for (int32_t k = 0; k <= n / 2; ++k) {
            x[k] = c[k][0];
            y[k] = c[k][1];
        }
        for (int32_t k = n / 2 + 1; k < n; ++k) {
            x[k] = c[n - k][0];
            y[k] = -c[n - k][1];
        }
        if (n % 2 == 0) y[n / 2] = 0.0;
    }
    y[0] = 0.0;
    return 0;
}

int32_t performFFT(uint32_t vi, uint32_t n) {
    if (n > QM4120_WINDOW_SIZE) return QM4120_STATUS(0xBFFC0002u);
    return qm4120_fftPerform(vi, n, resultReal, resultImaginary);
}

const double* qm4120_fftResultReal(void) {
    return resultReal;
}

const double* qm4120_fftResultImaginary(void) {
    return resultImaginary;
}

int32_t performNFFT(uint32_t vi, uint32_t n, uint16_t averages) {
    return qm4120_fftPerformN(vi, n, averages, nfftArea);
}

int32_t getPowerAtIfFrequency(uint32_t vi, double frequencyHz, uint16_t averages, uint32_t n, double* power) {
    return qm4120_fftGetPowerAtIfFrequency(vi, frequencyHz, averages, n, nfftArea, power);
}

const double* qm4120_nfftArea(void) {
    return nfftArea;
}

}  // extern "C"
