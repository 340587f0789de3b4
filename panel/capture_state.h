// The record of the last capture and the flags that run and end a capture.
//
// The record lives for the whole run; the views, the markers and the save commands read it. It starts
// empty: no valid data and no sample buffers.
#ifndef QM_PANEL_CAPTURE_STATE_H
#define QM_PANEL_CAPTURE_STATE_H

#include <cstdint>
#include <vector>

struct CapturedData {
    int16_t sampleDataType = 0;        // 0 IF samples, 1 I/Q samples
    int16_t sampleOutputFormat = 0;    // I/Q word width: 0 16-bit, 1 32-bit
    uint32_t numIfSamples = 0;         // IF samples requested, then captured
    uint32_t numIqSamples = 0;         // I/Q pairs requested, then captured
    uint32_t numIqWords = 0;           // 2 * numIqSamples
    uint32_t numWords = 0;             // words of the capture: numIfSamples or numIqWords
    uint32_t fftLength = 0;            // transform length, a power of two
    int16_t windowFunction = 0;        // window index of the transform (0 to 4)
    int16_t inputSource = 0;           // 0 IF input (digitizer alone), 1 RF input (whole module)
    double undecimatedSampleRate = 0;  // Hz
    double decimatedSampleRate = 0;    // Hz
    double rfFrequency = 0;            // Hz
    double dividedLoFrequency = 0;     // Hz
    double levelCorrection = 0;        // dB, for the input source in use
    double loOffset = 0;               // Hz, signed: >= 0 LO above the RF frequency
    double sampleFrequency = 0;        // Hz, the driver's sample frequency
    double ifFrequency = 0;            // Hz
    int16_t adcOverload = 0;           // non-zero when the ADC overloaded during the capture
    int16_t dataValid = 0;             // 1 once a capture transfer has succeeded
    std::vector<int16_t> ifData;       // IF samples
    std::vector<int16_t> iqData16;     // I and Q words interleaved, I first
    std::vector<int16_t> iData16;      // de-interleaved I
    std::vector<int16_t> qData16;      // de-interleaved Q
    std::vector<int32_t> iqData32;     // 32-bit I and Q words interleaved
    std::vector<int32_t> iData32;
    std::vector<int32_t> qData32;
};

extern CapturedData capturedData;

// Capture state shared by the capture buttons, the boot transition and the exit paths.
extern int32_t captureRepeatMode;       // 0 single capture, 1 repeat (mirrors CAPTMODE)
extern uint16_t captureRepeatActive;    // set while a repeat run goes on; cleared to end it
extern uint16_t captureStopRequested;   // ends a run after the current cycle
extern uint16_t captureAbortRequested;  // leaves the wait for completion at once

// No valid data and every buffer released.
void markCapturedDataEmpty();

// Registers the reset of the record and the flags (tests start every program afresh).
void registerCaptureStateReset();

#endif
