/* qm4120 capture engine: blocks of samples from the module into memory and, optionally, into a file.
 * Included by qm4120.h; link with -lqm4120.
 *
 * Units. The instrument library counts capture sizes in 16-bit words. Three kinds of data:
 *   16-bit data  signed 16-bit words: IF samples, or I/Q samples interleaved I, Q, I, Q, ... when the
 *                sample data output format is 16-bit (qm4120_setSampleDataOutputFormat 0);
 *   32-bit data  signed 32-bit words, I/Q interleaved, in the 32-bit output format (format 1); each is
 *                two library words;
 *   IQ data      pairs of 32-bit floats (I, Q) made from either of the above: the signed integer divided
 *                by 32768.0 (16-bit) or 2147483648.0 (32-bit), so full scale runs from -1.0 to just
 *                below +1.0.
 * The sample data type and count of a capture are module settings (qm4120_setSampleDataType,
 * qm4120_setNumberOfSamples); the counts given here say how many words the caller takes.
 *
 * Statuses. Every operation returns 0 on success (warnings of the capture are returned as 0) or a
 * negative status:
 *   QM4120_ERROR_CAPTURE_FILE   the file cannot be opened (missing folder, no permission); nothing was
 *                               captured and no file was made.
 *   QM4120_ERROR_ALLOC          a buffer could not be allocated, for example for an absurd count; a file
 *                               operation leaves its file empty.
 *   QM4120_ERROR_CAPTURE_WRITE  the file could not be written in full (a full disk, an I/O error); the
 *                               data are in the caller's buffer for the Mem forms, the file is incomplete.
 *   QM4120_ERROR_PARAMETER2..4  a count the library cannot express, or a null buffer.
 *   other negative statuses     the capture failed in the module (mapped library status, see qm4120.h);
 *                               a file operation leaves its file empty.
 *
 * File formats. No header, trailer or count: the file holds the captured values in capture order. An
 * existing file is overwritten.
 *   decimal text          one line per word, "%d\n" (a 16-bit word 0xFFFF is "-1");
 *   floating-point text   IQ: two lines per sample, I then Q, each "%f\n" (0.500000, -0.000031);
 *   comma-separated text  IQ: one line per sample, "%f,%f\n" (0.500000,-0.250000), no names, no spaces;
 *   raw binary            the words as captured, little-endian, 2 or 4 bytes each, I/Q interleaved;
 *   binary floats         IQ: per sample I then Q, IEEE 754 single precision, little-endian (8 bytes).
 *
 * The capture itself waits for the module's data; it does no polling and has no timeout. Use it from
 * one thread: the IQ operations share one raw buffer per word width.
 */
#ifndef QM4120_CAPTURE_H
#define QM4120_CAPTURE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The capture file could not be written in full. */
#define QM4120_ERROR_CAPTURE_WRITE ((int32_t)0xBFFC0801u)

/* ---- Into memory ---- */

/* Captures `count` 16-bit words into `buffer` (count entries). */
int32_t qm4120_captMem(uint32_t vi, uint32_t count, int16_t* buffer);
/* Captures `count` 32-bit words (2 * count library words) into `buffer`; count up to 0x7FFFFFFF. */
int32_t qm4120_captMem32(uint32_t vi, uint32_t count, int32_t* buffer);
/* Captures `count` IF samples (16-bit words) into `buffer`. */
int32_t qm4120_captMemIf(uint32_t vi, uint32_t count, int16_t* buffer);
/* Captures `samples` I/Q pairs in the module's output format and stores them scaled into `i` and `q`
 * (samples entries each). */
int32_t qm4120_captMemIq(uint32_t vi, uint32_t samples, float* i, float* q);

/* Aborts the capture in progress: before its trigger it is discarded, after it the capture completes
 * with the samples taken so far. */
int32_t qm4120_captAbort(uint32_t vi);
/* Clears the capture state after a run of repeated captures. */
int32_t qm4120_clearAfterRepeatCapt(uint32_t vi);
/* Capture mode of the module: 0 triggered (software and hardware triggers), 1 non-triggered. */
int32_t qm4120_setCaptureMode(uint32_t vi, uint16_t mode);
int32_t qm4120_getCaptureMode(uint32_t vi, uint16_t* mode);

/* ---- Into a file ----
 * The forms without Mem allocate their own buffer; the Mem forms leave the data in the caller's buffer
 * too. `count` is in words of the kind, or in I/Q sample pairs for the Iq forms. */

/* Decimal text. */
int32_t qm4120_captAscFile(uint32_t vi, uint32_t count, const char* fileName);
int32_t qm4120_captMemAscFile(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName);
int32_t qm4120_captAscFile32(uint32_t vi, uint32_t count, const char* fileName);
int32_t qm4120_captMemAscFile32(uint32_t vi, uint32_t count, int32_t* buffer, const char* fileName);
int32_t qm4120_captAscFileIf(uint32_t vi, uint32_t count, const char* fileName);
int32_t qm4120_captMemAscFileIf(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName);
/* Floating-point text, I and Q on lines of their own. */
int32_t qm4120_captAscFileIq(uint32_t vi, uint32_t samples, const char* fileName);
int32_t qm4120_captMemAscFileIq(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName);
/* Comma-separated text, one I/Q pair per line. */
int32_t qm4120_captAscCsvFileIq(uint32_t vi, uint32_t samples, const char* fileName);
int32_t qm4120_captMemAscCsvFileIq(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName);
/* Raw binary. */
int32_t qm4120_captBinFile(uint32_t vi, uint32_t count, const char* fileName);
int32_t qm4120_captMemBinFile(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName);
int32_t qm4120_captBinFile32(uint32_t vi, uint32_t count, const char* fileName);
int32_t qm4120_captMemBinFile32(uint32_t vi, uint32_t count, int32_t* buffer, const char* fileName);
int32_t qm4120_captBinFileIf(uint32_t vi, uint32_t count, const char* fileName);
int32_t qm4120_captMemBinFileIf(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName);
/* Binary floats. */
int32_t qm4120_captBinFileIq(uint32_t vi, uint32_t samples, const char* fileName);
int32_t qm4120_captMemBinFileIq(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName);

#ifdef __cplusplus
}
#endif

#endif
