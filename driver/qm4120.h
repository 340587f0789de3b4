/* qm4120: instrument driver for the QM4120 family of PXI RF digitizer modules (4120, 4120 Enhanced,
 * 4120A, 4125).
 *
 * Build with `pkg-config --cflags --libs qm4120`, or in CMake with find_package(qm4120) and the imported
 * target qm4120::qm4120; the library's soname is libqm4120.so.2. Every operation returns an int32_t status
 * and takes the instrument session `vi` (from qm4120_init) first, unless said otherwise. Results come back
 * through pointers after the inputs; use a result only when the status is not negative. The driver keeps no
 * copy of any setting and adds no range test: the module rounds each value to its resolution and clamps it to
 * its limits, so read a setting back to learn what the module applied.
 *
 * Statuses
 *   0                          success.
 *   negative                   error; positive: warning (the operation was carried out).
 *   0xBFFC0754 to 0xBFFC07D2   instrument library errors -72 to -1 (library code L < 0 is reported as
 *                              0xBFFC079C - L for L >= -54 and 0xBFFC079C + L for L <= -55).
 *   0x3FFC0865 to 0x3FFC08A9   instrument library warnings 1 to 69 (0x3FFC0864 + L).
 *   0xBFFF.... / 0x3FFF....    VISA statuses of the bus library, passed through (for example
 *                              0xBFFF0011 "resource not found").
 *   0xBFFC0001 to 0xBFFC0012, 0xBFFC07FE to 0xBFFC0800, 0x3FFC0101 to 0x3FFC0105
 *                              the driver's own codes, below.
 * qm4120_error_message turns any of them into a text.
 *
 * Argument kinds: modes, switches, indices, polarities and channel numbers are uint16_t; counts and
 * sample numbers uint32_t; attenuations (dB), delays (samples), phases and relative thresholds int32_t;
 * frequencies (Hz), levels (dBm), absolute thresholds (dBm), and the internal trigger's time constants,
 * the timer period and the list dwell (us) double. Per-channel forms (ending in Chan) take the channel 0 to
 * 127 after the value.
 */
#ifndef QM4120_H
#define QM4120_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QM4120_STATUS(x) ((int32_t)(uint32_t)(x))

/* Driver warnings: the operation is not supported and did nothing. */
#define QM4120_WARN_NSUP_ID_QUERY QM4120_STATUS(0x3FFC0101u)
#define QM4120_WARN_NSUP_RESET QM4120_STATUS(0x3FFC0102u)
#define QM4120_WARN_NSUP_SELF_TEST QM4120_STATUS(0x3FFC0103u)
#define QM4120_WARN_NSUP_ERROR_QUERY QM4120_STATUS(0x3FFC0104u)
#define QM4120_WARN_NSUP_REV_QUERY QM4120_STATUS(0x3FFC0105u)

/* Driver errors. Parameter n out of range is QM4120_ERROR_PARAMETER1 + n - 1, n = 1 to 8. */
#define QM4120_ERROR_PARAMETER1 QM4120_STATUS(0xBFFC0001u)
#define QM4120_ERROR_PARAMETER2 QM4120_STATUS(0xBFFC0002u)
#define QM4120_ERROR_PARAMETER3 QM4120_STATUS(0xBFFC0003u)
#define QM4120_ERROR_PARAMETER4 QM4120_STATUS(0xBFFC0004u)
#define QM4120_ERROR_PARAMETER5 QM4120_STATUS(0xBFFC0005u)
#define QM4120_ERROR_PARAMETER6 QM4120_STATUS(0xBFFC0006u)
#define QM4120_ERROR_PARAMETER7 QM4120_STATUS(0xBFFC0007u)
#define QM4120_ERROR_PARAMETER8 QM4120_STATUS(0xBFFC0008u)
#define QM4120_ERROR_FAIL_ID_QUERY QM4120_STATUS(0xBFFC0011u)
#define QM4120_ERROR_INTERPRETING_RESPONSE QM4120_STATUS(0xBFFC0012u)
#define QM4120_ERROR_CAPTURE_FILE QM4120_STATUS(0xBFFC0800u) /* data capture file cannot be opened */
#define QM4120_ERROR_FPGA_FILE QM4120_STATUS(0xBFFC07FFu)    /* FPGA configuration file cannot be opened */
#define QM4120_ERROR_FPGA_WRITE QM4120_STATUS(0xBFFC07FEu)   /* configuration data not written to the FPGA */
#define QM4120_ERROR_NOT_CONFIGURED QM4120_STATUS(0xBFFC07ADu) /* library status -17: FPGA not configured */
#define QM4120_ERROR_ALLOC QM4120_STATUS(0xBFFF003Cu)          /* memory allocation failed (VISA code) */

/* Bases of the mapping of instrument library statuses. */
#define QM4120_LIB_ERROR_BASE QM4120_STATUS(0xBFFC079Cu)
#define QM4120_LIB_WARN_BASE QM4120_STATUS(0x3FFC0864u)

/* Revision text of this driver, as qm4120_revision_query reports it. */
#define QM4120_DRIVER_REVISION "Version 2.1.0.0 2005-11-28"

/* Sizes of caller buffers, terminator included: message and revision texts, serial numbers and
 * identity texts; one FPGA configuration name in the list of qm4120_listFPGAConfigs. */
#define QM4120_TEXT_SIZE 256
#define QM4120_FPGA_NAME_SIZE 32

/* ---- Session, reset and errors ---- */

/* Maps an instrument library status (-72 to 69) into the driver's status space (see above); any other
 * value is returned unchanged, 0 stays 0. */
int32_t qm4120_dll_error(int32_t libraryStatus);

/* Opens a session on `resourceName` ("0x" and the 4-digit hexadecimal model code, for example "0x4120")
 * with the default FPGA configuration: qm4120_initWithFpgaConfig(..., 0). */
int32_t qm4120_init(const char* resourceName, uint16_t idQuery, uint16_t reset, uint32_t* vi);

/* Opens the bus session, creates the instrument library's record and then, with `reset` non-zero,
 * resets the module with FPGA configuration `fpgaConfig` (qm4120_resetWithFpgaConfig), or otherwise
 * loads the default settings. The identity query is not performed, whatever `idQuery` says. On failure
 * everything opened so far is closed, *vi is 0 and the status is the first failure's. On success the
 * status is a warning of the reset if there was one, else that of creating the record. */
int32_t qm4120_initWithFpgaConfig(const char* resourceName, uint16_t idQuery, uint16_t reset, uint32_t* vi,
                                  uint16_t fpgaConfig);

/* Loads the module's default settings; the FPGA keeps its configuration. */
int32_t qm4120_reset(uint32_t vi);

/* Loads FPGA configuration `fpgaConfig` (0 the default one), checks it (configuring once more if the
 * FPGA reports itself not configured) and loads the default settings. */
int32_t qm4120_resetWithFpgaConfig(uint32_t vi, uint16_t fpgaConfig);

/* Not supported: return QM4120_WARN_NSUP_SELF_TEST and QM4120_WARN_NSUP_ERROR_QUERY, and leave their
 * outputs untouched. */
int32_t qm4120_self_test(uint32_t vi, int16_t* result, char* message);
int32_t qm4120_error_query(uint32_t vi, int32_t* errorCode, char* message);

/* Writes QM4120_DRIVER_REVISION into `driverRev` and the FPGA revision "major.minor" into `fpgaRev`
 * (buffers of QM4120_TEXT_SIZE bytes; a null buffer is skipped). Returns the instrument library's status
 * unmapped (-72 to 69). */
int32_t qm4120_revision_query(uint32_t vi, char* driverRev, char* fpgaRev);

/* PCI interface FPGA revision as "major.minor" with two minor digits (105 gives "1.05"). Returns the
 * instrument library's status unmapped. */
int32_t qm4120_getPciFpgaRev(uint32_t vi, char* text);

/* Text of any status into `text` (QM4120_TEXT_SIZE bytes): a VISA text if VISA knows the status,
 * otherwise the driver's own text, otherwise the instrument library's text of the library code behind
 * the status. Returns the status of the look-up that answered (0 when a text was found). */
int32_t qm4120_error_message(uint32_t vi, int32_t status, char* text);

/* Releases the library's record and closes the session and its resource manager. If the resource
 * manager cannot be read, nothing is closed and its status is returned. */
int32_t qm4120_close(uint32_t vi);

/* Model code and PCI revision the bus is to expect for the next qm4120_init (no session; call them
 * before opening). */
int32_t qm4120_setModelCodePxiKorvo(uint16_t modelCode);
int32_t qm4120_setPciRevPxiKorvo(uint16_t pciRev);

/* FPGA configurations stored in the module: the one loaded now, how many there are, and their list.
 * listFPGAConfigs fills up to *count identifiers into `ids` and *count names of QM4120_FPGA_NAME_SIZE
 * bytes each into `names` (entry i at names + i * QM4120_FPGA_NAME_SIZE) and sets *count to the number
 * written; an identifier of 0 marks an entry not to offer. */
int32_t qm4120_getFPGAConfig(uint32_t vi, uint16_t* value);
int32_t qm4120_countFPGAConfigs(uint32_t vi, uint16_t* value);
int32_t qm4120_listFPGAConfigs(uint32_t vi, uint16_t* ids, char* names, uint16_t* count);

/* ---- Parameter wrappers: each forwards to the instrument library and returns the mapped status ---- */

/* Frequency (Hz). The LO offset is signed: zero or positive puts the LO above the RF frequency,
 * negative below. Min and Max give the tuning range of the model. */
int32_t qm4120_setLoOffset(uint32_t vi, double value);
int32_t qm4120_setLoOffsetChan(uint32_t vi, double value, uint16_t channel);
int32_t qm4120_getLoOffset(uint32_t vi, double* value);
int32_t qm4120_getLoOffsetChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_setRfFrequency(uint32_t vi, double value);
int32_t qm4120_setRfFrequencyChan(uint32_t vi, double value, uint16_t channel);
int32_t qm4120_getRfFrequency(uint32_t vi, double* value);
int32_t qm4120_getRfFrequencyChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getRfFrequencyMin(uint32_t vi, double* value);
int32_t qm4120_getRfFrequencyMax(uint32_t vi, double* value);

/* Input levels (dBm) and attenuations (dB). The input level is the largest signal expected at the
 * input; the module chooses its attenuation from it unless the front-end mode is Manual. Min, Max and
 * Step report the model's limits (the 4125 has finer RF steps). autoAttenSetupModule and
 * autoAttenSetupDigitizer recalculate the attenuation for the RF and the IF input respectively. */
int32_t qm4120_setRfInputLevel(uint32_t vi, double value);
int32_t qm4120_setRfInputLevelChan(uint32_t vi, double value, uint16_t channel);
int32_t qm4120_getRfInputLevel(uint32_t vi, double* value);
int32_t qm4120_getRfInputLevelChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_setIfInputLevel(uint32_t vi, double value);
int32_t qm4120_setIfInputLevelChan(uint32_t vi, double value, uint16_t channel);
int32_t qm4120_getIfInputLevel(uint32_t vi, double* value);
int32_t qm4120_getIfInputLevelChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getRfInputLevelMin(uint32_t vi, double* value);
int32_t qm4120_getRfInputLevelMax(uint32_t vi, double* value);
int32_t qm4120_getIfInputLevelMin(uint32_t vi, double* value);
int32_t qm4120_getIfInputLevelMax(uint32_t vi, double* value);
int32_t qm4120_getRfInputLevelMinChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getRfInputLevelMaxChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getIfInputLevelMinChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getIfInputLevelMaxChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_setRfAttenuation(uint32_t vi, int32_t value);
int32_t qm4120_setRfAttenuationChan(uint32_t vi, int32_t value, uint16_t channel);
int32_t qm4120_getRfAttenuation(uint32_t vi, int32_t* value);
int32_t qm4120_getRfAttenuationChan(uint32_t vi, int32_t* value, uint16_t channel);
int32_t qm4120_setIfAttenuation(uint32_t vi, int32_t value);
int32_t qm4120_setIfAttenuationChan(uint32_t vi, int32_t value, uint16_t channel);
int32_t qm4120_getIfAttenuation(uint32_t vi, int32_t* value);
int32_t qm4120_getIfAttenuationChan(uint32_t vi, int32_t* value, uint16_t channel);
int32_t qm4120_getRfAttenuationMin(uint32_t vi, int32_t* value);
int32_t qm4120_getRfAttenuationMax(uint32_t vi, int32_t* value);
int32_t qm4120_getRfAttenuationStep(uint32_t vi, int32_t* value);
int32_t qm4120_getIfAttenuationMin(uint32_t vi, int32_t* value);
int32_t qm4120_getIfAttenuationMax(uint32_t vi, int32_t* value);
int32_t qm4120_getIfAttenuationStep(uint32_t vi, int32_t* value);
int32_t qm4120_autoAttenSetupModule(uint32_t vi);
int32_t qm4120_autoAttenSetupDigitizer(uint32_t vi);

/* Front end. Active channel 0 to 127; front-end configuration mode 0 Auto, 1 Auto IF, 2 Manual;
 * input source 0 IF input, 1 RF input; the bypass, enable and mode switches take 0 or 1. */
int32_t qm4120_setActiveChan(uint32_t vi, uint16_t value);
int32_t qm4120_getActiveChan(uint32_t vi, uint16_t* value);
int32_t qm4120_setFrontEndConfigMode(uint32_t vi, uint16_t value);
int32_t qm4120_getFrontEndConfigMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setFrontEndConfigModeChan(uint32_t vi, uint16_t value, uint16_t channel);
int32_t qm4120_getFrontEndConfigModeChan(uint32_t vi, uint16_t* value, uint16_t channel);
int32_t qm4120_setInputSource(uint32_t vi, uint16_t value);
int32_t qm4120_getInputSource(uint32_t vi, uint16_t* value);
int32_t qm4120_setIfFilterBypass(uint32_t vi, uint16_t value);
int32_t qm4120_getIfFilterBypass(uint32_t vi, uint16_t* value);
int32_t qm4120_setGrpDelFilterEnable(uint32_t vi, uint16_t value);
int32_t qm4120_getGrpDelFilterEnable(uint32_t vi, uint16_t* value);
int32_t qm4120_setAutoFlatnessMode(uint32_t vi, uint16_t value);
int32_t qm4120_getAutoFlatnessMode(uint32_t vi, uint16_t* value);
int32_t qm4120_optimizeTemperatureCorrection(uint32_t vi);

/* Level corrections in dB (digitizer reference, down-converter gain, whole module), and
 * app_applyDigGrpDel, which applies the stored group-delay correction for a sampling rate and a
 * bandwidth (both Hz). */
int32_t qm4120_getLevelCorrDigitizer(uint32_t vi, double* value);
int32_t qm4120_getLevelCorrDigitizerChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getLevelCorrDownConv(uint32_t vi, double* value);
int32_t qm4120_getLevelCorrDownConvChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_getLevelCorrModule(uint32_t vi, double* value);
int32_t qm4120_getLevelCorrModuleChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_app_applyDigGrpDel(uint32_t vi, double samplingRateHz, double bandwidthHz);

/* Identity: model code (0x4120, 0x4A20 enhanced, 0x4B20 4120A, 0x4125), PCI revision, and whether
 * the module offers the channel table and the hardware list mode (flag 0 or 1). */
int32_t qm4120_getModelCode(uint32_t vi, uint16_t* value);
int32_t qm4120_getPciRev(uint32_t vi, uint16_t* value);
int32_t qm4120_getChannelModeAvailable(uint32_t vi, uint16_t* value);
int32_t qm4120_getListModeAvailable(uint32_t vi, uint16_t* value);

/* Uncorrected hardware settings: the same quantities as above, applied without calibration. */
int32_t qm4120_setInputSourceNoCorr(uint32_t vi, uint16_t value);
int32_t qm4120_getInputSourceNoCorr(uint32_t vi, uint16_t* value);
int32_t qm4120_setInputLevelDimensions(uint32_t vi, uint16_t value);
int32_t qm4120_getInputLevelDimensions(uint32_t vi, uint16_t* value);
int32_t qm4120_setRfInputLevelNoCorr(uint32_t vi, double value);
int32_t qm4120_getRfInputLevelNoCorr(uint32_t vi, double* value);
int32_t qm4120_setIfInputLevelNoCorr(uint32_t vi, double value);
int32_t qm4120_getIfInputLevelNoCorr(uint32_t vi, double* value);
int32_t qm4120_setPhaseAmpCorrectionMode(uint32_t vi, uint16_t value);
int32_t qm4120_getPhaseAmpCorrectionMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setNegatePhaseWord(uint32_t vi, uint16_t value);
int32_t qm4120_getNegatePhaseWord(uint32_t vi, uint16_t* value);
int32_t qm4120_setDcOffsetFilter(uint32_t vi, uint16_t value);
int32_t qm4120_getDcOffsetFilter(uint32_t vi, uint16_t* value);

/* Modulation, sample data and rates. Modulation mode (the I/Q filter chain) 0 UMTS, 1 GSM, 2 CDMA2000
 * 1X, 4 7706 emulation, 5 generic resampler; IF data take the UMTS set-up only. Sample data type 0 IF,
 * 1 I/Q; output format 0 16-bit, 1 32-bit words (refused with an error where the chain's decimation does
 * not allow 32-bit words; a decimation set below that limit later returns to 16-bit words with a
 * warning). Decimation ratios are integers, one per modulation mode: the setter of a mode acts on that
 * mode's ratio, getDecimationLimits gives its range, and a ratio the chain does not have is refused with
 * an error. Sampling frequencies in Hz: the decimated one is the rate of the I/Q samples, IF samples come
 * at the ADC clock (getAdcClockFrequency); the generic sampling frequency may also be set as a ratio
 * numerator / denominator of the undecimated rate. FFT length and sample increment in samples. */
int32_t qm4120_setModulationMode(uint32_t vi, uint16_t value);
int32_t qm4120_getModulationMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setSampleDataType(uint32_t vi, uint16_t value);
int32_t qm4120_getSampleDataType(uint32_t vi, uint16_t* value);
int32_t qm4120_setSampleDataOutputFormat(uint32_t vi, uint16_t value);
int32_t qm4120_getSampleDataOutputFormat(uint32_t vi, uint16_t* value);
int32_t qm4120_setIfDataPositionLvds(uint32_t vi, uint16_t value);
int32_t qm4120_getIfDataPositionLvds(uint32_t vi, uint16_t* value);
int32_t qm4120_setUmtsDecimationRatio(uint32_t vi, uint32_t value);
int32_t qm4120_getUmtsDecimationRatio(uint32_t vi, uint32_t* value);
int32_t qm4120_setGsmDecimationRatio(uint32_t vi, uint32_t value);
int32_t qm4120_getGsmDecimationRatio(uint32_t vi, uint32_t* value);
int32_t qm4120_setCdma20001xDecimationRatio(uint32_t vi, uint32_t value);
int32_t qm4120_getCdma20001xDecimationRatio(uint32_t vi, uint32_t* value);
int32_t qm4120_setEmu7706DecimationRatio(uint32_t vi, uint32_t value);
int32_t qm4120_getEmu7706DecimationRatio(uint32_t vi, uint32_t* value);
int32_t qm4120_setGenericDecimationRatio(uint32_t vi, uint32_t value);
int32_t qm4120_getGenericDecimationRatio(uint32_t vi, uint32_t* value);
int32_t qm4120_getDecimationLimits(uint32_t vi, uint16_t modulationMode, uint32_t* minimum,
                                   uint32_t* maximum);
int32_t qm4120_getUndecimatedSamplingFrequency(uint32_t vi, double* value);
int32_t qm4120_getDecimatedSamplingFrequency(uint32_t vi, double* value);
int32_t qm4120_getMaxGenericSamplingFrequency(uint32_t vi, double* value);
int32_t qm4120_setGenericSamplingFrequency(uint32_t vi, double value);
int32_t qm4120_getGenericSamplingFrequency(uint32_t vi, double* value);
int32_t qm4120_setGenericSamplingFreqRatio(uint32_t vi, uint32_t numerator, uint32_t denominator);
int32_t qm4120_getGenericSamplingFreqRatio(uint32_t vi, uint32_t* numerator, uint32_t* denominator);
int32_t qm4120_getSampleFrequency(uint32_t vi, double* value);
int32_t qm4120_getAdcClockFrequency(uint32_t vi, double* value);
int32_t qm4120_getIfFrequency(uint32_t vi, double* value);
int32_t qm4120_setFftLength(uint32_t vi, uint32_t value);
int32_t qm4120_getFftLength(uint32_t vi, uint32_t* value);
int32_t qm4120_setSampleIncrement(uint32_t vi, uint32_t value);
int32_t qm4120_getSampleIncrement(uint32_t vi, uint32_t* value);

/* Sample counts of the next capture, in samples (an I/Q sample is one I and one Q word). See also
 * qm4120_setNumberOfSamples and qm4120_getNumberOfSamples below. */
int32_t qm4120_setNumberOfIfSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getNumberOfIfSamples(uint32_t vi, uint32_t* value);
int32_t qm4120_setMaxNumberOfIfSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getMaxNumberOfIfSamples(uint32_t vi, uint32_t* value);
int32_t qm4120_setNumberOfIqSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getNumberOfIqSamples(uint32_t vi, uint32_t* value);
int32_t qm4120_setMaxNumberOfIqSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getMaxNumberOfIqSamples(uint32_t vi, uint32_t* value);

/* LVDS direction modes of the data, aux and marker lines: 0 input, 1 tri-state, 3 output. */
int32_t qm4120_setLvdsDataMode(uint32_t vi, uint16_t value);
int32_t qm4120_getLvdsDataMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setLvdsAuxMode(uint32_t vi, uint16_t value);
int32_t qm4120_getLvdsAuxMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setLvdsMarkerMode(uint32_t vi, uint16_t value);
int32_t qm4120_getLvdsMarkerMode(uint32_t vi, uint16_t* value);

/* Trigger and timer. Source codes: PXI_TRIG[0..7] 0-7, PXI_STAR 8, PXI_LBL[0..12] 9-21, LVDS markers
 * 22-25, LVDS aux 26-30, LVDS spare 31, software 32, internal timer 34, internal level trigger 35, front
 * SMB 36. Trigger type 0 edge, 1 gate; edge/gate polarity 0 positive, 1 negative; software trigger mode
 * and internal trigger mode 0 or 1 (internal: 0 absolute threshold, 1 relative to the slow average); the
 * source type reads the family of the current source. Sample counts and delays in samples; the absolute
 * threshold in dBm and the relative one in dB; the internal trigger's time constants and the timer period in
 * microseconds, the timer phase in ADC clocks. armTrigger(vi, 0, values) arms a capture of `values` sample
 * values: one per IF sample, two (I and Q) per I/Q sample whatever the word width. The trigger comes at once
 * for software, at the next tick of the free-running timer, when the input crosses the threshold for the
 * internal trigger, or when the line fires; the capture completes once its samples have been taken at the
 * sampling rate. The Detected and Complete flags read 0 or 1. captAbort before the trigger discards the
 * capture (it never completes); after the trigger the capture completes at once with the samples taken so
 * far, which getCapturedSampleCount reports (0 until complete). */
int32_t qm4120_setTriggerSource(uint32_t vi, uint16_t value);
int32_t qm4120_getTriggerSource(uint32_t vi, uint16_t* value);
int32_t qm4120_setSwTriggerMode(uint32_t vi, uint16_t value);
int32_t qm4120_getSwTriggerMode(uint32_t vi, uint16_t* value);
int32_t qm4120_getTriggerCount(uint32_t vi, uint32_t* value);
int32_t qm4120_getTriggerSampleNumber(uint32_t vi, uint32_t* value);
int32_t qm4120_getTriggerSourceType(uint32_t vi, uint16_t* value);
int32_t qm4120_setTriggerPreSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getTriggerPreSamples(uint32_t vi, uint32_t* value);
int32_t qm4120_setPreEdgeTriggerSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getPreEdgeTriggerSamples(uint32_t vi, uint32_t* value);
int32_t qm4120_setPostGateTriggerSamples(uint32_t vi, uint32_t value);
int32_t qm4120_getPostGateTriggerSamples(uint32_t vi, uint32_t* value);
int32_t qm4120_setTriggerOffsetDelay(uint32_t vi, int32_t value);
int32_t qm4120_getTriggerOffsetDelay(uint32_t vi, int32_t* value);
int32_t qm4120_armTrigger(uint32_t vi, uint32_t mode, uint32_t words);
int32_t qm4120_getTriggerDetected(uint32_t vi, uint16_t* value);
int32_t qm4120_getCaptureComplete(uint32_t vi, uint16_t* value);
int32_t qm4120_getCapturedSampleCount(uint32_t vi, uint32_t* value);
int32_t qm4120_getAbsSampleTime(uint32_t vi, double* value);
int32_t qm4120_setTriggerType(uint32_t vi, uint16_t value);
int32_t qm4120_getTriggerType(uint32_t vi, uint16_t* value);
int32_t qm4120_setTriggerEdgeGatePolarity(uint32_t vi, uint16_t value);
int32_t qm4120_getTriggerEdgeGatePolarity(uint32_t vi, uint16_t* value);
int32_t qm4120_setIntTriggerMode(uint32_t vi, uint16_t value);
int32_t qm4120_getIntTriggerMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setIntTriggerAbsThreshold(uint32_t vi, double value);
int32_t qm4120_getIntTriggerAbsThreshold(uint32_t vi, double* value);
int32_t qm4120_setIntTriggerRelThreshold(uint32_t vi, int32_t value);
int32_t qm4120_getIntTriggerRelThreshold(uint32_t vi, int32_t* value);
int32_t qm4120_setIntTriggerAbsTimeConst(uint32_t vi, double value);
int32_t qm4120_getIntTriggerAbsTimeConst(uint32_t vi, double* value);
int32_t qm4120_setIntTriggerRelSlowTimeConst(uint32_t vi, double value);
int32_t qm4120_getIntTriggerRelSlowTimeConst(uint32_t vi, double* value);
int32_t qm4120_setIntTriggerRelFastTimeConst(uint32_t vi, double value);
int32_t qm4120_getIntTriggerRelFastTimeConst(uint32_t vi, double* value);
int32_t qm4120_setTimerPeriod(uint32_t vi, double value);
int32_t qm4120_getTimerPeriod(uint32_t vi, double* value);
int32_t qm4120_setTimerPhase(uint32_t vi, int32_t value);
int32_t qm4120_getTimerPhase(uint32_t vi, int32_t* value);

/* List mode: address source 0 Manual, 1 External, 2 Counter; strobe 0 positive, 1 negative edge;
 * counter strobe 0 External, 1 Timer; count start and stop are channel numbers; dwell in microseconds
 * (the same setting as the timer period). getListAddrInfo gives the current address, the address
 * source, count start, count stop and the number of address changes. */
int32_t qm4120_setListAddrSource(uint32_t vi, uint16_t value);
int32_t qm4120_getListAddrSource(uint32_t vi, uint16_t* value);
int32_t qm4120_setListStrobeNegEdge(uint32_t vi, uint16_t value);
int32_t qm4120_getListStrobeNegEdge(uint32_t vi, uint16_t* value);
int32_t qm4120_setListCounterStrobe(uint32_t vi, uint16_t value);
int32_t qm4120_getListCounterStrobe(uint32_t vi, uint16_t* value);
int32_t qm4120_setListCountStartStop(uint32_t vi, uint16_t start, uint16_t stop);
int32_t qm4120_getListCountStartStop(uint32_t vi, uint16_t* start, uint16_t* stop);
int32_t qm4120_setListTimerDwell(uint32_t vi, double value);
int32_t qm4120_getListTimerDwell(uint32_t vi, double* value);
int32_t qm4120_getListAddrCount(uint32_t vi, uint32_t* value);
int32_t qm4120_getListAddrInfo(uint32_t vi, uint16_t* address, uint16_t* source, uint16_t* start,
                               uint16_t* stop, uint32_t* count);

/* IF and RF hardware. Pads are bit masks of the attenuator pads switched in (IF: 1, 2, 4, 8, 10 and
 * 10 dB in bits 0 to 5; RF: 4, 8, 16 dB in bits 0 to 2, on the 4125 16, 8, 4, 2, 1 dB in bits 0 to 4).
 * getIfRefState gives the reference lock now and latched since the last reading. The calculated
 * frequency control chooses which of RF frequency, LO frequency and LO offset follows from the others.
 * set4125D3Latch drives the 16-bit RF-board control latch of the 4125. getAdcOverload reads 0 or 1. */
int32_t qm4120_setIfAttenuationPads(uint32_t vi, uint16_t value);
int32_t qm4120_getIfAttenuationPads(uint32_t vi, uint16_t* value);
int32_t qm4120_setIfAttenuationNoCorr(uint32_t vi, int32_t value);
int32_t qm4120_getIfAttenuationNoCorr(uint32_t vi, int32_t* value);
int32_t qm4120_setIfAuxRefEnable(uint32_t vi, uint16_t value);
int32_t qm4120_getIfAuxRefEnable(uint32_t vi, uint16_t* value);
int32_t qm4120_setIfPllMode(uint32_t vi, uint16_t value);
int32_t qm4120_getIfPllMode(uint32_t vi, uint16_t* value);
int32_t qm4120_setExternalReference(uint32_t vi, uint16_t value);
int32_t qm4120_getExternalReference(uint32_t vi, uint16_t* value);
int32_t qm4120_setIfFilterBypassNoCorr(uint32_t vi, uint16_t value);
int32_t qm4120_getIfFilterBypassNoCorr(uint32_t vi, uint16_t* value);
int32_t qm4120_getIfRefState(uint32_t vi, uint16_t* locked, uint16_t* latched);
int32_t qm4120_getIfADCState(uint32_t vi, uint16_t* value);
int32_t qm4120_setRfAttenuationPads(uint32_t vi, uint16_t value);
int32_t qm4120_getRfAttenuationPads(uint32_t vi, uint16_t* value);
int32_t qm4120_setRfAttenuationNoCorr(uint32_t vi, int32_t value);
int32_t qm4120_getRfAttenuationNoCorr(uint32_t vi, int32_t* value);
int32_t qm4120_setDividedLoFrequency(uint32_t vi, double value);
int32_t qm4120_getDividedLoFrequency(uint32_t vi, double* value);
int32_t qm4120_getDividedLoFrequencyChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_setCalculatedFreqControl(uint32_t vi, uint16_t value);
int32_t qm4120_getCalculatedFreqControl(uint32_t vi, uint16_t* value);
int32_t qm4120_getLoFrequency(uint32_t vi, double* value);
int32_t qm4120_getLoFrequencyChan(uint32_t vi, double* value, uint16_t channel);
int32_t qm4120_set4125D3Latch(uint32_t vi, uint16_t value);
int32_t qm4120_get4125D3Latch(uint32_t vi, uint16_t* value);
int32_t qm4120_getAdcOverload(uint32_t vi, uint16_t* value);

/* ADC. Phase in clock steps. ADCRead(vi, adc, page, register, 0, &value) reads a converter register;
 * ADCReadTemp gives raw signed temperature counts; ADCReadPower the mean power in dB full scale. */
int32_t qm4120_setAdcPhase(uint32_t vi, int32_t value);
int32_t qm4120_getAdcPhase(uint32_t vi, int32_t* value);
int32_t qm4120_ADCReSyncInterface(uint32_t vi);
int32_t qm4120_ADCInit(uint32_t vi);
int32_t qm4120_ADCStandby(uint32_t vi, uint16_t standby);
int32_t qm4120_ADCEnable(uint32_t vi, uint16_t enable);
int32_t qm4120_ADCRead(uint32_t vi, uint16_t adc, uint16_t page, uint16_t reg, uint16_t reserved,
                       uint16_t* value);
int32_t qm4120_ADCReadTemp(uint32_t vi, uint16_t adc, uint16_t samples, int16_t* temperature);
int32_t qm4120_ADCReadPower(uint32_t vi, uint16_t adc, uint16_t samples, double* dbfs);
int32_t qm4120_ADCCal(uint32_t vi, uint16_t adc, uint16_t mode);

/* EEPROM data: serial number (text buffers of QM4120_TEXT_SIZE bytes), temperature optimization
 * 0 or 1, erasing the EEPROMs (irreversible: identity and calibration are lost), and the date of the
 * module's last calibration (year, month, day, hour, minute, second). */
int32_t qm4120_getSerialNumber(uint32_t vi, char* serial);
int32_t qm4120_setSerialNumber(uint32_t vi, const char* serial);
int32_t qm4120_setTemperatureOptimization(uint32_t vi, uint16_t value);
int32_t qm4120_getTemperatureOptimization(uint32_t vi, uint16_t* value);
int32_t qm4120_blankEeproms(uint32_t vi);
int32_t qm4120_getCalModuleLastTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                         uint16_t* hour, uint16_t* minute, uint16_t* second);

/* Library registers, numbered as the instrument library defines them (not the FPGA's numbers).
 * toHardware 1 makes a write reach the hardware as well as the library's copy; field writes take a bit
 * offset and a bit width of 1 to 32. */
int32_t qm4120_regWriteBit(uint32_t vi, uint16_t reg, uint16_t bit, uint16_t value, uint16_t toHardware);
int32_t qm4120_regReadBit(uint32_t vi, uint16_t reg, uint16_t bit, uint16_t* value);
int32_t qm4120_regWriteFieldVal(uint32_t vi, uint16_t reg, uint16_t bitOffset, uint16_t bitWidth,
                                uint32_t value, uint16_t toHardware);
int32_t qm4120_regReadFieldVal(uint32_t vi, uint16_t reg, uint16_t bitOffset, uint16_t bitWidth,
                               uint32_t* value);

/* Routing matrix. Destinations and sources share one signal numbering: PXI_TRIG[0..7] 0-7,
 * PXI_STAR 8, PXI_LBL[0..12] 9-21, LVDS_MARKER1-4 22-25, LVDS_AUX[0..4] 26-30, LVDS_SPARE[0] 31,
 * INT_TRIG 35, INT_TIMER 36, FRONT_SMB 38, CAPT_BUSY 39, SEQ[0..6] 59-65, SEQ_STB_OUT 67. The scenario
 * list holds up to two active scenario numbers and ends early at a 0. */
int32_t qm4120_setRoutingConnect(uint32_t vi, uint16_t destination, uint32_t source);
int32_t qm4120_getRoutingConnect(uint32_t vi, uint16_t destination, uint32_t* source);
int32_t qm4120_setRoutingOutputEnable(uint32_t vi, uint16_t destination, uint16_t enable);
int32_t qm4120_getRoutingOutputEnable(uint32_t vi, uint16_t destination, uint16_t* enable);
int32_t qm4120_appendRoutingScenario(uint32_t vi, uint16_t scenario);
int32_t qm4120_removeRoutingScenario(uint32_t vi, uint16_t scenario);
int32_t qm4120_getRoutingScenarioListSize(uint32_t vi, uint16_t* value);
int32_t qm4120_getRoutingScenarioList(uint32_t vi, uint16_t* scenarios);
/* The sample count of the data type selected now: I/Q samples when the sample data type is I/Q, IF
 * samples otherwise. */
int32_t qm4120_setNumberOfSamples(uint32_t vi, uint32_t count);
int32_t qm4120_getNumberOfSamples(uint32_t vi, uint32_t* count);

/* Selects a routing scenario; scenario 0 restores the default routing and rebuilds the trigger routing
 * for the current trigger source. */
int32_t qm4120_setRoutingScenario(uint32_t vi, uint16_t scenario);

/* 32-bit access to the module's PCI window. Reads and writes use different windows of the same address
 * space; `offset` is a byte offset within them. Return the bus (VISA) status unmapped. */
int32_t qm4120_pciRead(uint32_t vi, uint32_t offset, uint32_t* value);
int32_t qm4120_pciWrite(uint32_t vi, uint32_t offset, uint32_t value);

/* Older names of ADCReSyncInterface, ADCInit and setAdcPhase, returning their status. */
int32_t qm4120_reSyncADCInterface(uint32_t vi);
int32_t qm4120_InitADC(uint32_t vi);
int32_t qm4120_adcPhase(uint32_t vi, int32_t phase);

#ifdef __cplusplus
}
#endif

/* The calibration family. */
#include "qm4120_cal.h"
/* The capture engine and the capture file formats. */
#include "qm4120_capture.h"
/* Window functions, transforms and the module's own spectrum measurements. */
#include "qm4120_fft.h"

#endif
