/* qm4120 window functions, Fourier transforms and the module's own spectrum measurements.
 *
 * Included by qm4120.h; link with -lqm4120. Two ways to a spectrum:
 *   - on the host: makeWindow fills the driver's window array, the caller multiplies its samples by it
 *     and transforms them with FFT (complex data) or ReFFT (real data);
 *   - in the module: performFFT, performNFFT and getPowerAtIfFrequency let the instrument window and
 *     transform its own captured data with the window chosen by qm4120_setWindowFunction.
 *
 * Windows are generalised cosine windows w[i] = a0 - a1 cos(t) + a2 cos(2t) - a3 cos(3t) + a4 cos(4t),
 * t = 2 pi i / n, periodic (w[i] = w[n - i]). Window index and coefficients:
 *   0  rectangular     1.0
 *   1  2 terms         1.0  0.86
 *   2  3 terms         1.0  1.173     0.1855
 *   3  4 terms         1.0  1.36108   0.39398   0.03258
 *   4  5-term Tarvex   1.0  1.455872  0.538431  0.086186  0.0037
 * Every window has a0 = 1, so a sine on a bin of the transform keeps its amplitude: a real sine of
 * amplitude A gives |X[k]| = A n / 2, a complex tone of magnitude A gives |X[k]| = A n.
 *
 * The host transforms are plain forward DFTs, X[k] = sum over t of x[t] e^(-j 2 pi k t / n), unscaled,
 * for any length n >= 1 (FFTW underneath; the plan for a length is made on first use and kept for the
 * life of the process, so the first call of a new length is slower). They are safe to call from several
 * threads on different arrays. The window array and the result areas of the module operations are
 * single, process-wide arrays: use them from one thread.
 */
#ifndef QM4120_FFT_H
#define QM4120_FFT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QM4120_FFT_ERROR_LENGTH (-20003) /* n < 1 (GenCosWin: or fewer than one coefficient) */
#define QM4120_FFT_ERROR_MEMORY (-20001) /* working memory or a transform plan could not be had */

/* Entries of the window array, and the most points makeWindow and performFFT handle. */
#define QM4120_WINDOW_SIZE 32768
/* Number of window indices (0 to 4). */
#define QM4120_WINDOW_COUNT 5
/* Doubles in the result area that performNFFT fills and getPowerAtIfFrequency reads. */
#define QM4120_NFFT_AREA_SIZE 98304

/* Fills the first n entries of the window array (qm4120_windowArray) with window `index` (0 to 4, see
 * above): they are set to 1.0 and multiplied in place by GenCosWin with the index's coefficients.
 * Returns 1 when the window was built, 0 when not: n < 1, n > QM4120_WINDOW_SIZE or index > 4 build
 * nothing. */
int32_t makeWindow(int32_t n, uint16_t index);

/* The window array: QM4120_WINDOW_SIZE doubles, the first n of them filled by the last makeWindow. */
const double* qm4120_windowArray(void);

/* Multiplies w[0..n-1] in place by the m-term generalised cosine window with coefficients a[0..m-1]:
 * w[i] *= a0 - a1 cos(t) + a2 cos(2t) - ..., t = 2 pi i / n, signs alternating from plus. Exactly
 * periodic and symmetric: w[i] and w[n - i] get the same factor. Returns 0, or QM4120_FFT_ERROR_LENGTH
 * when n < 1 or m < 1 (w untouched). */
int32_t GenCosWin(double* w, int32_t n, const double* a, int32_t m);

/* Forward DFT of the n complex points re[t] + j im[t], in place: afterwards re[k] and im[k] hold bin k
 * (k = 0 to n - 1, bin k at k / n of the sample rate, bins above n / 2 the negative frequencies).
 * Unscaled. Returns 0; QM4120_FFT_ERROR_LENGTH when n < 1 and QM4120_FFT_ERROR_MEMORY when no plan or
 * working memory could be had, with the data unchanged. */
int32_t FFT(double* re, double* im, int32_t n);

/* Forward DFT of the n real points x[t]: afterwards x holds the real and y the imaginary parts of all n
 * bins (bins above n / 2 are the complex conjugates of those below; y[0] is 0, and y[n / 2] too for
 * even n). y needs n entries; its contents on entry are ignored. Statuses as FFT. */
int32_t ReFFT(double* x, double* y, int32_t n);

/* Window index (0 to 4) of the module's own transforms; mapped statuses (qm4120.h). */
int32_t qm4120_setWindowFunction(uint32_t vi, uint16_t index);
int32_t qm4120_getWindowFunction(uint32_t vi, uint16_t* index);

/* The module windows (qm4120_setWindowFunction) and transforms the last n samples of the last capture
 * (n a power of two up to QM4120_WINDOW_SIZE) into the areas of qm4120_fftResultReal and
 * qm4120_fftResultImaginary: bin k in entry k, scaled like FFT. Returns the instrument library's status
 * unmapped (pass it to qm4120_dll_error to map it): 0, -33 invalid length, -59 fewer samples captured
 * than n, -60 nothing captured yet; QM4120_ERROR_PARAMETER2 (mapped space) when n exceeds
 * QM4120_WINDOW_SIZE. */
int32_t performFFT(uint32_t vi, uint32_t n);
const double* qm4120_fftResultReal(void);
const double* qm4120_fftResultImaginary(void);

/* The module captures IF data of its own (averages blocks of n samples at the ADC clock), windows and
 * transforms each block and averages their powers into the result area (QM4120_NFFT_AREA_SIZE doubles,
 * laid out by the instrument library). n is a power of two up to QM4120_WINDOW_SIZE, averages at least 1.
 * Returns the library's status unmapped (-3 for another n or no averages). */
int32_t performNFFT(uint32_t vi, uint32_t n, uint16_t averages);

/* Power of the signal at IF frequency frequencyHz (Hz at the module's IF, any Nyquist zone of the ADC:
 * the module folds it onto its samples) from the area the last performNFFT filled, which must have been
 * made with the same n and averages. *power is in dB relative to the ADC's full scale (a full-scale
 * sine reads 0 dB), the power within the window's main lobe, so it does not depend on where the signal
 * falls between bins. Add qm4120_getLevelCorrDigitizer (IF input) or qm4120_getLevelCorrModule (RF
 * input) to get dBm at the input. Returns the library's status unmapped (-3 when n or averages differ
 * from the area's, or n < 8). */
int32_t getPowerAtIfFrequency(uint32_t vi, double frequencyHz, uint16_t averages, uint32_t n, double* power);
const double* qm4120_nfftArea(void);

#ifdef __cplusplus
}
#endif

#endif
