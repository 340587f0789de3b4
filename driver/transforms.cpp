// Window functions and the host-side Fourier transforms, over FFTW.
//
// A plan depends on the length, the kind of transform, how the arrays sit against FFTW's SIMD alignment
// and, for split real and imaginary arrays, the distance between them: FFTW runs a plan only on arrays
// placed as the ones it was made for. Plans are made on the caller's arrays with FFTW_ESTIMATE, which
// leaves the data alone, and kept per placement: callers normally transform the same arrays again and
// again. Past a bound on the number of placements, data are copied through per-thread arrays of one
// placement per length instead, so callers that allocate fresh arrays every time do not grow the cache.
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

struct PlanKey {
    Kind kind;
    int32_t n;
    int alignA;
    int alignB;
    intptr_t distance;  // bytes from the first array to the second
    bool operator<(const PlanKey& o) const {
        return std::tie(kind, n, alignA, alignB, distance) <
               std::tie(o.kind, o.n, o.alignA, o.alignB, o.distance);
    }
};

constexpr size_t MAX_PLACEMENTS = 256;

// FFTW's planner is one per process and not thread-safe: the simulated module plans in the same
// process, so FFTW is asked to serialise planning itself, and this lock guards the cache.
std::mutex cacheMutex;
std::map<PlanKey, fftw_plan>& planCache() {
    static auto* cache = new std::map<PlanKey, fftw_plan>;  // plans live as long as the process
    return *cache;
}

fftw_plan makePlan(Kind kind, int32_t n, double* a, double* b) {
    static std::once_flag once;
    std::call_once(once, [] { fftw_make_planner_thread_safe(); });
    fftw_iodim dim{n, 1, 1};
    if (kind == Kind::Complex) {
        // Split real and imaginary arrays transformed in place.
        return fftw_plan_guru_split_dft(1, &dim, 0, nullptr, a, b, a, b, FFTW_ESTIMATE);
    }
    // Real input in the first array, which also receives the real parts of bins 0 to n / 2.
    return fftw_plan_guru_split_dft_r2c(1, &dim, 0, nullptr, a, a, b, FFTW_ESTIMATE);
}

// The plan for these arrays; null when none could be made, or when the cache is full and `anyway` is
// not set.
fftw_plan planFor(Kind kind, int32_t n, double* a, double* b, bool anyway) {
    const PlanKey key{kind, n, fftw_alignment_of(a), fftw_alignment_of(b),
                      static_cast<intptr_t>(reinterpret_cast<uintptr_t>(b) - reinterpret_cast<uintptr_t>(a))};
    try {
        std::lock_guard<std::mutex> lock(cacheMutex);
        auto& cache = planCache();
        if (auto it = cache.find(key); it != cache.end()) return it->second;
        if (cache.size() >= MAX_PLACEMENTS && !anyway) return nullptr;
        fftw_plan plan = makePlan(kind, n, a, b);
        if (plan) cache.emplace(key, plan);
        return plan;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Runs the transform on the caller's arrays, or through per-thread arrays when the cache is full.
bool run(Kind kind, double* a, double* b, int32_t n) {
    auto execute = [kind](fftw_plan plan, double* x, double* y) {
        if (kind == Kind::Complex) {
            fftw_execute_split_dft(plan, x, y, x, y);
        } else {
            fftw_execute_split_dft_r2c(plan, x, x, y);
        }
    };
    if (fftw_plan plan = planFor(kind, n, a, b, false)) {
        execute(plan, a, b);
        return true;
    }
    try {
        // One allocation for both arrays keeps their distance fixed for a length.
        thread_local std::vector<double> through;
        const size_t stride = (static_cast<size_t>(n) + 7) / 8 * 8;
        if (through.size() < 2 * stride) through.assign(2 * stride, 0.0);
        double* x = through.data();
        double* y = x + stride;
        fftw_plan plan = planFor(kind, n, x, y, true);
        if (!plan) return false;
        std::copy(a, a + n, x);
        if (kind == Kind::Complex) std::copy(b, b + n, y);
        execute(plan, x, y);
        std::copy(x, x + n, a);
        std::copy(y, y + (kind == Kind::Complex ? n : n / 2 + 1), b);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

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
    return run(Kind::Complex, re, im, n) ? 0 : QM4120_FFT_ERROR_MEMORY;
}

int32_t ReFFT(double* x, double* y, int32_t n) {
    if (n < 1) return QM4120_FFT_ERROR_LENGTH;
    if (n > 1) {
        if (!run(Kind::Real, x, y, n)) return QM4120_FFT_ERROR_MEMORY;
        // The upper bins mirror the lower ones as their conjugates.
        for (int32_t k = 1; k < n - k; ++k) {
            x[n - k] = x[k];
            y[n - k] = -y[k];
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
