// Window functions and the host-side Fourier transforms, over FFTW.
//
// FFTW runs a plan only on arrays placed as the ones it was made for (alignment and, for split real
// and imaginary arrays, the distance between them). The caller's arrays are therefore copied into
// per-thread work arrays from fftw_malloc, in FFTW's interleaved layout, whose placement never changes:
// one plan per length and kind serves every caller and every thread, and the copies cost far less than
// split-array plans would. A real input is transformed where it lies when it is placed as FFTW's arrays
// are; the result is spread over all n bins of the caller's arrays in one vectorised pass.
#include <fftw3.h>
#include <immintrin.h>

#include <algorithm>
#include <chrono>
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

// Real: FFTW's real-input plan (odd lengths); HalfComplex: the complex plan of n / 2 points out of place,
// which transforms an even-length real sequence read as n / 2 complex points.
enum class Kind { Complex, Real, HalfComplex };

// FFTW's planner is one per process and not thread-safe: the simulated module plans in the same
// process, so FFTW is asked to serialise planning itself, and this lock guards the cache.
std::mutex cacheMutex;
// Guards the choice of road per length, which plans under cacheMutex while it holds this one.
std::mutex roadMutex;
std::map<std::pair<Kind, int32_t>, fftw_plan>& planCache() {
    static auto* cache = new std::map<std::pair<Kind, int32_t>, fftw_plan>;  // kept for the process
    return *cache;
}

// Work arrays of one thread: `complex` holds n interleaved points; `real` n real inputs, or the n
// interleaved points a complex transform writes out of place.
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
        real = fftw_alloc_real(2 * static_cast<size_t>(n));
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
    thread_local std::pair<int32_t, fftw_plan> last[3] = {{0, nullptr}, {0, nullptr}, {0, nullptr}};
    auto& mine = last[static_cast<int>(kind)];
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
        fftw_plan plan = nullptr;
        if (kind == Kind::Complex)
            plan = fftw_plan_dft_1d(n, scratch.complex, reinterpret_cast<fftw_complex*>(scratch.real),
                                    FFTW_FORWARD, FFTW_ESTIMATE);
        else if (kind == Kind::Real)
            plan = fftw_plan_dft_r2c_1d(n, scratch.real, scratch.complex, FFTW_ESTIMATE);
        else
            plan = fftw_plan_dft_1d(n / 2, reinterpret_cast<fftw_complex*>(scratch.real), scratch.complex,
                                    FFTW_FORWARD, FFTW_ESTIMATE);
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

// cos(2 pi k / n) for 0 <= k <= n / 4, then sin(2 pi k / n) for the same k, of an even length n: the
// twiddle factors that join the two half-length transforms of a real sequence. Kept per length for
// the process, like the plans; null when memory ran out.
const double* twiddlesFor(int32_t n) {
    thread_local std::pair<int32_t, const double*> last = {0, nullptr};
    if (last.first == n && last.second) return last.second;
    try {
        std::lock_guard<std::mutex> lock(cacheMutex);
        static auto* cache = new std::map<int32_t, std::vector<double>>;
        auto it = cache->find(n);
        if (it == cache->end()) {
            std::vector<double> t(2 * static_cast<size_t>(n / 4 + 1));
            for (int32_t k = 0; k <= n / 4; ++k) {
                const double angle = 2.0 * M_PI * static_cast<double>(k) / static_cast<double>(n);
                t[k] = std::cos(angle);
                t[n / 4 + 1 + k] = std::sin(angle);
            }
            it = cache->emplace(n, std::move(t)).first;
        }
        last = {n, it->second.data()};
        return last.second;
    } catch (const std::bad_alloc&) {
        return nullptr;
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

// The copies between the caller's split arrays and FFTW's interleaved ones are a fair part of a
// transform's time; they are built for wider vector units too and the best one is picked at load time.
// The pick is an indirect function that the dynamic loader resolves while relocating the library, before
// ThreadSanitizer's run-time is up; that build keeps the one default version.
#if defined(__SANITIZE_THREAD__)
#define QM_VECTOR_CLONES
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QM_VECTOR_CLONES
#endif
#endif
#ifndef QM_VECTOR_CLONES
#define QM_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif

QM_VECTOR_CLONES void interleave(const double* __restrict re, const double* __restrict im,
                                 double* __restrict c, int32_t n) {
    for (int32_t i = 0; i < n; ++i) {
        c[2 * i] = re[i];
        c[2 * i + 1] = im[i];
    }
}

QM_VECTOR_CLONES void deinterleave(const double* __restrict c, double* __restrict re, double* __restrict im,
                                   int32_t n) {
    for (int32_t i = 0; i < n; ++i) {
        re[i] = c[2 * i];
        im[i] = c[2 * i + 1];
    }
}

// Spreads the n / 2 + 1 bins of a real transform over all n bins of x and y: bin n - k is the
// complex conjugate of bin k. Both halves are written from one read of each bin.
QM_VECTOR_CLONES void unfoldHalfSpectrum(const double* __restrict c, double* __restrict x,
                                         double* __restrict y, int32_t n) {
    const int32_t last = (n - 1) / 2;  // the highest bin that has a distinct mirror
    x[0] = c[0];
    for (int32_t k = 1; k <= last; ++k) {
        x[k] = c[2 * k];
        y[k] = c[2 * k + 1];
    }
    double* __restrict xr = x + n;
    double* __restrict yr = y + n;
    for (int32_t k = 1; k <= last; ++k) {
        xr[-k] = c[2 * k];
        yr[-k] = -c[2 * k + 1];
    }
    if (n % 2 == 0) {
        x[n / 2] = c[n];
        y[n / 2] = 0.0;
    }
}

// An even-length real sequence x of n = 2M points read as M complex points z[m] = x[2m] + j x[2m+1]
// has the transform Z (in c). Its own transform is X[k] = E[k] + W^k O[k], W = e^(-j 2 pi / n), where
// E[k] = (Z[k] + Z*[M - k]) / 2 and O[k] = (Z[k] - Z*[M - k]) / 2j are the transforms of the even and
// odd samples. One pass makes bins k, M - k, M + k and n - k from Z[k] and Z[M - k], the upper two
// as the conjugates of the lower ones, and writes them split into x and y. Bins from `first` on.
inline void joinBins(const double* c, const double* twiddle, double* x, double* y, int32_t n, int32_t first) {
    const int32_t m = n / 2;
    const double* sine = twiddle + n / 4 + 1;
    for (int32_t k = first; 2 * k <= m; ++k) {
        const double ar = c[2 * k], ai = c[2 * k + 1];
        const double br = c[2 * (m - k)], bi = c[2 * (m - k) + 1];
        const double er = 0.5 * (ar + br), ei = 0.5 * (ai - bi);
        const double orr = 0.5 * (ai + bi), oi = 0.5 * (br - ar);
        const double tr = twiddle[k] * orr + sine[k] * oi, ti = twiddle[k] * oi - sine[k] * orr;
        x[k] = er + tr;
        y[k] = ei + ti;
        x[n - k] = er + tr;
        y[n - k] = -(ei + ti);
        x[m - k] = er - tr;
        y[m - k] = ti - ei;
        x[m + k] = er - tr;
        y[m + k] = ei - ti;
    }
}

// Splits four interleaved points at p into their real and imaginary parts, in order.
__attribute__((target("avx2"))) inline void splitFour(const double* p, __m256d& re, __m256d& im) {
    const __m256d a = _mm256_loadu_pd(p), b = _mm256_loadu_pd(p + 4);
    re = _mm256_permute4x64_pd(_mm256_unpacklo_pd(a, b), 0xD8);
    im = _mm256_permute4x64_pd(_mm256_unpackhi_pd(a, b), 0xD8);
}

__attribute__((target("avx2"))) inline __m256d reversed(__m256d v) {
    return _mm256_permute4x64_pd(v, 0x1B);
}

// Four bins at a time: the bins below M / 2 ascend through c and the twiddles while their partners
// descend, so the partners are loaded and stored in reverse order.
__attribute__((target("avx2"))) void joinHalfTransformsAvx2(const double* c, const double* twiddle, double* x,
                                                            double* y, int32_t n) {
    const int32_t m = n / 2;
    const double* sine = twiddle + n / 4 + 1;
    const __m256d half = _mm256_set1_pd(0.5);
    int32_t k = 1;
    for (; 2 * (k + 3) <= m; k += 4) {
        __m256d ar, ai, br, bi;
        splitFour(c + 2 * k, ar, ai);
        splitFour(c + 2 * (m - k - 3), br, bi);
        br = reversed(br);
        bi = reversed(bi);
        const __m256d er = _mm256_mul_pd(half, _mm256_add_pd(ar, br));
        const __m256d ei = _mm256_mul_pd(half, _mm256_sub_pd(ai, bi));
        const __m256d orr = _mm256_mul_pd(half, _mm256_add_pd(ai, bi));
        const __m256d oi = _mm256_mul_pd(half, _mm256_sub_pd(br, ar));
        const __m256d cs = _mm256_loadu_pd(twiddle + k), sn = _mm256_loadu_pd(sine + k);
        const __m256d tr = _mm256_add_pd(_mm256_mul_pd(cs, orr), _mm256_mul_pd(sn, oi));
        const __m256d ti = _mm256_sub_pd(_mm256_mul_pd(cs, oi), _mm256_mul_pd(sn, orr));
        const __m256d lowRe = _mm256_add_pd(er, tr), lowIm = _mm256_add_pd(ei, ti);
        const __m256d midRe = _mm256_sub_pd(er, tr), midIm = _mm256_sub_pd(ei, ti);
        _mm256_storeu_pd(x + k, lowRe);
        _mm256_storeu_pd(y + k, lowIm);
        _mm256_storeu_pd(x + m + k, midRe);
        _mm256_storeu_pd(y + m + k, midIm);
        const __m256d zero = _mm256_setzero_pd();
        _mm256_storeu_pd(x + n - k - 3, reversed(lowRe));
        _mm256_storeu_pd(y + n - k - 3, reversed(_mm256_sub_pd(zero, lowIm)));
        _mm256_storeu_pd(x + m - k - 3, reversed(midRe));
        _mm256_storeu_pd(y + m - k - 3, reversed(_mm256_sub_pd(zero, midIm)));
    }
    joinBins(c, twiddle, x, y, n, k);
}

void joinHalfTransforms(const double* c, const double* twiddle, double* x, double* y, int32_t n) {
    const int32_t m = n / 2;
    x[0] = c[0] + c[1];
    y[0] = 0.0;
    x[m] = c[0] - c[1];
    y[m] = 0.0;
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        joinHalfTransformsAvx2(c, twiddle, x, y, n);
    else
        joinBins(c, twiddle, x, y, n, 1);
}

// Transforms the real sequence at `in` (placed as FFTW's arrays are) into all n bins of x and y.
void runRealTransform(Kind kind, fftw_plan plan, const double* twiddle, double* in, double* x, double* y,
                      int32_t n) {
    if (kind == Kind::HalfComplex) {
        fftw_execute_dft(plan, reinterpret_cast<fftw_complex*>(in), work.complex);
        joinHalfTransforms(&work.complex[0][0], twiddle, x, y, n);
    } else {
        fftw_execute_dft_r2c(plan, in, work.complex);
        unfoldHalfSpectrum(&work.complex[0][0], x, y, n);
    }
}

// An even length has two roads to its real transform: FFTW's real plan followed by the unfolding of
// its half spectrum, or the complex plan of n / 2 points followed by the join, which also unfolds.
// Which is faster depends on the plans FFTW's estimate picks for the length, so the first call of a
// length times both on scratch arrays and keeps the faster for the process. Very long transforms
// are not timed (a run would cost more than it could save) and take the real plan.
enum class EvenRoad { None, Half, Real, Unavailable };
constexpr int32_t LONGEST_TIMED_LENGTH = 1 << 20;

EvenRoad evenRoadFor(int32_t n) {
    thread_local std::pair<int32_t, EvenRoad> last = {0, EvenRoad::None};
    if (last.first == n) return last.second;
    try {
        std::lock_guard<std::mutex> lock(roadMutex);
        static auto* roads = new std::map<int32_t, EvenRoad>;
        if (auto it = roads->find(n); it != roads->end()) {
            last = {n, it->second};
            return it->second;
        }
        EvenRoad road = EvenRoad::Real;
        if (n <= LONGEST_TIMED_LENGTH) {
            fftw_plan half = planFor(Kind::HalfComplex, n), real = planFor(Kind::Real, n);
            const double* twiddle = twiddlesFor(n);
            std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
            if (!half || !real || !twiddle || !work.reserve(n)) return EvenRoad::Unavailable;
            double best[2] = {HUGE_VAL, HUGE_VAL};
            for (int round = 0; round < 3; ++round) {
                for (int k = 0; k < 2; ++k) {
                    for (int32_t t = 0; t < n; ++t) work.real[t] = static_cast<double>(t % 7) - 3.0;
                    const auto start = std::chrono::steady_clock::now();
                    runRealTransform(k == 0 ? Kind::HalfComplex : Kind::Real, k == 0 ? half : real, twiddle,
                                     work.real, x.data(), y.data(), n);
                    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                    best[k] = std::min(best[k], took.count());
                }
            }
            road = best[0] <= best[1] ? EvenRoad::Half : EvenRoad::Real;
        }
        roads->emplace(n, road);
        last = {n, road};
        return road;
    } catch (const std::bad_alloc&) {
        return EvenRoad::Unavailable;
    }
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
    // Out of place: FFTW's in-place plans copy through a buffer of their own on the way.
    interleave(re, im, &work.complex[0][0], n);
    fftw_execute_dft(plan, work.complex, reinterpret_cast<fftw_complex*>(work.real));
    deinterleave(work.real, re, im, n);
    return 0;
}

int32_t ReFFT(double* x, double* y, int32_t n) {
    if (n < 1) return QM4120_FFT_ERROR_LENGTH;
    if (n > 1) {
        const EvenRoad road = n % 2 == 0 ? evenRoadFor(n) : EvenRoad::None;
        if (road == EvenRoad::Unavailable) return QM4120_FFT_ERROR_MEMORY;
        const Kind kind = road == EvenRoad::Half ? Kind::HalfComplex : Kind::Real;
        fftw_plan plan = planFor(kind, n);
        const double* twiddle = road == EvenRoad::Half ? twiddlesFor(n) : nullptr;
        if (!plan || (road == EvenRoad::Half && !twiddle) || !work.reserve(n)) return QM4120_FFT_ERROR_MEMORY;
        // The plan runs on any input placed as FFTW's own arrays are; only other inputs are copied.
        // Both plans are out of place and leave the input as it was, so x can take the result.
        double* in = x;
        if (fftw_alignment_of(x) != fftw_alignment_of(work.real)) {
            std::copy(x, x + n, work.real);
            in = work.real;
        }
        runRealTransform(kind, plan, twiddle, in, x, y, n);
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
