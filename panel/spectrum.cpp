// The FFT spectrum of a capture: windowing, transform, levels in dBm and frequencies in MHz, and the
// trace on the FFT graph.
//
// Level scaling. An IF sample is a 16-bit word; scaled by 65536 it spans the 32-bit range. A full-scale
// real sine of amplitude 2^31 gives a bin of magnitude 2^31 * N / 2 in an N-point transform, so for
// N = 2048 its squared magnitude is (2^31 * 1024)^2, 10 log10 of which is 246.76 dB: subtracting 246.8
// puts a full-scale tone at the level correction (the input level that fills the ADC). Twice the points
// give twice the magnitude, +6.02 dB, which the 20 log10(N / 2048) term takes away again. A complex
// (I/Q) tone of magnitude A gives A * N, twice what a real sine of that amplitude gives, hence the 6 dB
// larger 252.85.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#include "app_state.h"
#include "display.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

uint32_t fftTracePoints = 0;
std::vector<double> fftTraceFreqMHz;
std::vector<double> fftTraceLevelDbm;
double fftStartFreqMHz = 0.0;
double fftStopFreqMHz = 0.0;

namespace {

// Work arrays of the transform: input and result, window, squared magnitude per bin.
double sr[FFT_WORK_SIZE];
double si[FFT_WORK_SIZE];
double fftwin[FFT_WORK_SIZE];
double power[FFT_WORK_SIZE];

// The window in fftwin: its length and index (0 length: none yet). Building a long window costs more
// than the transform, so it is built again only when either changes.
uint32_t windowLength = 0;
uint16_t windowIndex = 0;

bool loadWindow(uint32_t n, int16_t index) {
    const uint16_t i = static_cast<uint16_t>(index);
    if (n == windowLength && i == windowIndex) return true;
    windowLength = 0;
    if (makeWindow(static_cast<int32_t>(n), i) != 1) return false;
    std::memcpy(fftwin, qm4120_windowArray(), n * sizeof(double));
    windowLength = n;
    windowIndex = i;
    return true;
}

// Points the last prepareFftInput put into the work arrays, and trace points to draw (an I/Q trace has
// one more than it draws).
uint32_t preparedLength = 0;
uint32_t traceDrawCount = 0;
uint32_t plottedFirst = 0;
uint32_t plottedCount = 0;

constexpr double IF_FULL_SCALE_DB = 246.8;
constexpr double IQ_FULL_SCALE_DB = 252.85;
constexpr double FFT_REFERENCE_LENGTH = 2048.0;
// Share of the spectrum shown with the truncated span: the flat part of the IF filter.
constexpr double TRUNCATED_SPAN = 0.6511;

// 10 log10(p) of a squared magnitude, floored so that an empty bin stays a finite level.
inline double powerDb(double p) {
    constexpr double TEN_OVER_LN10 = 4.342944819032518;
    return TEN_OVER_LN10 * std::log(std::max(p, DBL_MIN));
}

// Both trace arrays at `points` entries. False (reported) when the memory cannot be had.
bool allocateTrace(uint32_t points) {
    fftTraceFreqMHz.clear();
    fftTraceLevelDbm.clear();
    fftTraceFreqMHz.shrink_to_fit();
    fftTraceLevelDbm.shrink_to_fit();
    try {
        fftTraceFreqMHz.resize(points);
        fftTraceLevelDbm.resize(points);
    } catch (const std::bad_alloc&) {
        fftTraceFreqMHz.clear();
        fftTraceLevelDbm.clear();
        fftTracePoints = 0;
        err4120(DISPLAY_ERROR_ALLOC);
        return false;
    }
    fftTracePoints = points;
    traceDrawCount = 0;
    return true;
}

template <typename Word>
bool deinterleave(const std::vector<Word>& interleaved, uint32_t pairs, std::vector<Word>& i,
                  std::vector<Word>& q) {
    const size_t n = std::min<size_t>(pairs, interleaved.size() / 2);
    i.clear();
    q.clear();
    i.shrink_to_fit();
    q.shrink_to_fit();
    try {
        i.resize(n);
        q.resize(n);
    } catch (const std::bad_alloc&) {
        i.clear();
        q.clear();
        err4120(DISPLAY_ERROR_ALLOC);
        return false;
    }
    const Word* src = interleaved.data();
    for (size_t k = 0; k < n; ++k) {
        i[k] = src[2 * k];
        q[k] = src[2 * k + 1];
    }
    return true;
}

}  // namespace

double* fftWorkReal() {
    return sr;
}
double* fftWorkImaginary() {
    return si;
}

void prepareFftInput(CapturedData& record) {
    // The transform runs over the captured samples it has, never past the work arrays.
    uint32_t n = std::min(record.fftLength, FFT_WORK_SIZE);
    preparedLength = 0;
    if (record.sampleDataType == 0) {
        n = static_cast<uint32_t>(std::min<size_t>(n, record.ifData.size()));
        if (!loadWindow(n, record.windowFunction)) return;
        for (uint32_t i = 0; i < n; ++i) sr[i] = record.ifData[i] * 65536.0;
        preparedLength = n;
        return;
    }

    if (record.sampleOutputFormat == 0) {
        if (!deinterleave(record.iqData16, record.numIqSamples, record.iData16, record.qData16)) return;
        n = static_cast<uint32_t>(std::min<size_t>(n, record.iData16.size()));
    } else {
        if (!deinterleave(record.iqData32, record.numIqSamples, record.iData32, record.qData32)) return;
        n = static_cast<uint32_t>(std::min<size_t>(n, record.iData32.size()));
    }
    if (!loadWindow(n, record.windowFunction)) return;
    if (record.sampleOutputFormat == 0) {
        const int16_t* iw = record.iData16.data();
        const int16_t* qw = record.qData16.data();
        for (uint32_t i = 0; i < n; ++i) {
            sr[i] = iw[i] * 65536.0;
            si[i] = qw[i] * 65536.0;
        }
    } else {
        const int32_t* iw = record.iData32.data();
        const int32_t* qw = record.qData32.data();
        for (uint32_t i = 0; i < n; ++i) {
            sr[i] = iw[i];
            si[i] = qw[i];
        }
    }
    preparedLength = n;
}

int32_t computeIfSpectrum(const CapturedData& record) {
    const uint32_t n = preparedLength;
    if (n < 2) return 0;
    const uint32_t h = n / 2;
    if (!allocateTrace(h)) return DISPLAY_ERROR_ALLOC;
    preparedLength = 0;  // the work arrays are transformed in place below

    const double fs = static_cast<double>(static_cast<uint32_t>(record.undecimatedSampleRate));
    const double sample = record.sampleFrequency;
    const double lo = record.dividedLoFrequency;
    double* f = fftTraceFreqMHz.data();
    if (record.inputSource == 0) {
        // The digitizer alone: the IF band around the IF frequency, a quarter of the ADC rate each way.
        for (uint32_t i = 0; i < h; ++i) f[i] = (record.ifFrequency - (1.0 - 2.0 * i / h) * fs / 4.0) * 1e-6;
        fftStartFreqMHz = (record.ifFrequency - fs / 4.0) / 1e6;
        fftStopFreqMHz = (record.ifFrequency + fs / 4.0) / 1e6;
    } else if (lo < record.rfFrequency) {
        // LO below the signal: the spectrum is upright above the divided LO.
        for (uint32_t i = 0; i < h; ++i)
            f[i] = ((1.0 + (static_cast<double>(i) - h) / n) * sample + lo) * 1e-6;
        fftStartFreqMHz = (lo + sample / 2.0) * 1e-6;
        fftStopFreqMHz = (lo + sample) * 1e-6;
    } else {
        for (uint32_t i = 0; i < h; ++i) f[i] = (lo - (1.0 - static_cast<double>(i) / n) * sample) * 1e-6;
        fftStartFreqMHz = (lo - sample) * 1e-6;
        fftStopFreqMHz = (lo - sample / 2.0) * 1e-6;
    }

    for (uint32_t i = 0; i < n; ++i) sr[i] *= fftwin[i];
    const int32_t status = ReFFT(sr, si, static_cast<int32_t>(n));
    if (status < 0) {
        err4120(status);
        return status;
    }

    // The RF input with the LO above the signal keeps the lower half of the transform; every other set-up
    // the upper half.
    const uint32_t first = (record.inputSource == 1 && record.loOffset >= 0) ? 0 : h;
    for (uint32_t k = 0; k < h; ++k) power[k] = sr[first + k] * sr[first + k] + si[first + k] * si[first + k];

    const double offset =
        record.levelCorrection - (IF_FULL_SCALE_DB + 20.0 * std::log10(n / FFT_REFERENCE_LENGTH));
    double* level = fftTraceLevelDbm.data();
    for (uint32_t k = 0; k < h; ++k) level[k] = offset + powerDb(power[k]);
    traceDrawCount = h;
    return 0;
}

int32_t computeIqSpectrum(const CapturedData& record, double rfHz) {
    const uint32_t n = preparedLength;
    if (n < 2) return 0;
    const uint32_t h = n / 2;
    if (!allocateTrace(n + 1)) return DISPLAY_ERROR_ALLOC;
    preparedLength = 0;

    const double fs = record.decimatedSampleRate;
    const double delta = fs / n;
    double* f = fftTraceFreqMHz.data();
    if (record.inputSource == 0) {
        // On the IF input the I/Q band is mirrored: frequencies fall as the bins rise.
        for (uint32_t i = 0; i < n; ++i) f[i] = (record.ifFrequency - (i * delta - fs / 2.0)) * 1e-6;
        fftStartFreqMHz = (record.ifFrequency - fs / 2.0) / 1e6;
        fftStopFreqMHz = (record.ifFrequency + fs / 2.0) / 1e6;
    } else {
        for (uint32_t i = 0; i < n; ++i) f[i] = (i * delta - fs / 2.0 + rfHz) * 1e-6;
        fftStartFreqMHz = (rfHz - fs / 2.0) / 1e6;
        fftStopFreqMHz = (rfHz + fs / 2.0) / 1e6;
    }
    // The extra point is never drawn; it sits one bin beyond the last.
    f[n] = f[n - 1] + (f[n - 1] - f[n - 2]);

    for (uint32_t i = 0; i < n; ++i) {
        sr[i] *= fftwin[i];
        si[i] *= fftwin[i];
    }
    const int32_t status = FFT(sr, si, static_cast<int32_t>(n));
    if (status < 0) {
        err4120(status);
        return status;
    }

    // Zero frequency to the middle: negative frequencies first.
    for (uint32_t i = 0; i < h; ++i) {
        power[i] = sr[h + i] * sr[h + i] + si[h + i] * si[h + i];
        power[h + i] = sr[i] * sr[i] + si[i] * si[i];
    }
    const double offset =
        record.levelCorrection - (IQ_FULL_SCALE_DB + 20.0 * std::log10(n / FFT_REFERENCE_LENGTH));
    double* level = fftTraceLevelDbm.data();
    for (uint32_t i = 0; i < n; ++i) level[i] = offset + powerDb(power[i]);
    level[n] = level[n - 1];
    traceDrawCount = n;
    return 0;
}

void plotFftTrace() {
    const int panel = getMainPanel();
    const int graph = displayView.fftGraph;
    if (graph <= 0) return;
    DeleteGraphPlot(panel, graph, -1, VAL_DELAYED_DRAW);
    plottedFirst = plottedCount = 0;
    const uint32_t count = traceDrawCount;
    if (count == 0 || fftTraceLevelDbm.size() < count) return;
    uint32_t shown = count;
    uint32_t first = 0;
    double start = fftStartFreqMHz;
    double stop = fftStopFreqMHz;
    if (!displayView.fftFullSpan) {
        shown = static_cast<uint32_t>(TRUNCATED_SPAN * count);
        first = (count - shown) / 2;
        const double d = ((stop - start) - TRUNCATED_SPAN * (stop - start)) / 2.0;
        start += d;
        stop -= d;
    }
    fftStartFreqMHz = start;
    fftStopFreqMHz = stop;
    plottedFirst = first;
    plottedCount = shown;
    if (start < stop) SetAxisScalingMode(panel, graph, VAL_XAXIS, VAL_MANUAL, start, stop);
    std::vector<double> x(fftTraceFreqMHz.begin() + first, fftTraceFreqMHz.begin() + first + shown);
    std::vector<double> y(fftTraceLevelDbm.begin() + first, fftTraceLevelDbm.begin() + first + shown);
    PlotXY(panel, graph, std::move(x), std::move(y), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, VAL_GREEN);
}

void plottedTraceRange(uint32_t* first, uint32_t* count) {
    *first = plottedFirst;
    *count = plottedCount;
}

double fftTopDbm() {
    return displayView.fftTopOfScreenDbm;
}

double fftRangeDb() {
    return 10.0 * displayView.fftDbPerDivision;
}
