/* QM4120 instrument library: the C interface of the module's closed instrument library.
 *
 * Every operation returns an int32_t status: 0 success, -72 to -1 error, 1 to 69 warning;
 * qm4120_errGetErrorString gives its text. The first argument is the instrument session (the bus session
 * of the module, opened with korvo_viOpen) unless said otherwise. Results come back through pointers and
 * are valid only when the status is not negative.
 *
 * The operations that follow a regular pattern are listed once, in qm4120_pb_ops.inc, which also states
 * the argument kinds and units per group; this header declares them from that table and writes out the
 * few irregular ones below.
 */
#ifndef QM4120_PB_LIB_H
#define QM4120_PB_LIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Length of one FPGA configuration name in the list of qm4120_fpgaListConfigs, terminator included. */
#define QM4120_FPGA_NAME_SIZE 32
/* Size of the text buffers of the library (error texts, serial number, identity texts). */
#define QM4120_TEXT_SIZE 256

#define QM_OP(family, Name, params, args) int32_t qm4120_##family##Name params;
#include "qm4120_pb_ops.inc"

/* ---- Irregular operations ---- */

/* Creates the library's instrument record for an open bus session; `init` 1 also reads the module's
 * identity and calibration from its EEPROMs. */
int32_t qm4120_instrumentCreate(uint32_t vi, uint16_t init);

/* Releases the library's instrument record; the bus session stays open. */
int32_t qm4120_instrumentDelete(uint32_t vi);

/* Text of a library status (-72 to 69) into `text` (QM4120_TEXT_SIZE bytes). Returns 0, or a warning
 * when the code is unknown (the text then says so). */
int32_t qm4120_errGetErrorString(int32_t libraryCode, char* text);

/* Model code (0x4120, 0x4A20, 0x4B20, 0x4125) and PCI revision the bus library is to expect for the next
 * open. No session: they precede korvo_viOpen. */
int32_t qm4120_controlSetModelCodePxiKorvo(uint16_t modelCode);
int32_t qm4120_controlSetPciRevPxiKorvo(uint16_t pciRev);

/* Lists the module's FPGA configurations. `ids` receives up to *count identifiers and `names`
 * *count names of QM4120_FPGA_NAME_SIZE bytes each (entry i at names + i * QM4120_FPGA_NAME_SIZE,
 * zero-terminated). On entry *count is the capacity (from qm4120_fpgaCountConfigs), on return the number
 * of entries written. An identifier of 0 marks an entry that is not to be offered. */
int32_t qm4120_fpgaListConfigs(uint32_t vi, uint16_t* ids, char* names, uint16_t* count);

/* Starts a capture of `words` 16-bit words into module memory (`mode` 0: the normal single block). */
int32_t qm4120_controlDataCapture(uint32_t vi, uint16_t mode, uint32_t words);

/* Transfers `words` complete 16-bit words of the capture started by qm4120_controlDataCapture into
 * `buffer`, waiting for them as needed. IF data are one word per sample; I/Q data alternate I and Q.
 * In 32-bit output format each sample value spans two words laid out in host byte order, so an int32_t
 * buffer of words / 2 entries receives the values directly. */
int32_t qm4120_controlDataAcquire(uint32_t vi, uint16_t mode, uint32_t words, void* buffer);

/* Module-side spectrum: windows (qm4120_controlSetWindowFunction) and transforms the last `n` captured
 * samples into `re` and `im` (n doubles each). */
int32_t qm4120_fftPerform(uint32_t vi, uint32_t n, double* re, double* im);

/* Averages `averages` windowed transforms of `n` samples into `area` (QM4120_FFT_AREA_SIZE doubles); the
 * layout of the area belongs to the library and is read back by qm4120_fftGetPowerAtIfFrequency. */
int32_t qm4120_fftPerformN(uint32_t vi, uint32_t n, uint16_t averages, double* area);

/* Power at an IF frequency (Hz) from an area filled by qm4120_fftPerformN with the same `n` and
 * `averages`, in dB relative to the ADC's full scale (a full-scale sine reads 0 dB): the library knows
 * nothing of the front end, so the caller adds the level correction to get dBm at an input. */
int32_t qm4120_fftGetPowerAtIfFrequency(uint32_t vi, double frequencyHz, uint16_t averages, uint32_t n,
                                        double* area, double* power);

/* Size in doubles of the result area of qm4120_fftPerformN. */
#define QM4120_FFT_AREA_SIZE 98304

#ifdef __cplusplus
}
#endif

#endif
