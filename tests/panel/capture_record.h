// One capture of the module's current set-up into capturedData, as the Start button takes it: the
// acquisition set-up read from the module, then the words captured through the driver.
#ifndef QM_TESTS_PANEL_CAPTURE_RECORD_H
#define QM_TESTS_PANEL_CAPTURE_RECORD_H

#include <cstdint>

#include "capture_state.h"
#include "qm4120.h"

// Returns 0, or the first failing driver status.
inline int32_t captureRecord(uint32_t vi) {
    CapturedData& r = capturedData;
    uint16_t type = 0, format = 0, window = 0, source = 0;
    uint32_t samples = 0;
    int32_t s = 0;
    auto step = [&s](int32_t status) {
        if (s == 0 && status < 0) s = status;
    };
    step(qm4120_getSampleDataType(vi, &type));
    step(qm4120_getSampleDataOutputFormat(vi, &format));
    step(qm4120_getWindowFunction(vi, &window));
    step(qm4120_getInputSource(vi, &source));
    step(qm4120_getNumberOfSamples(vi, &samples));
    step(qm4120_getFftLength(vi, &r.fftLength));
    r.sampleDataType = static_cast<int16_t>(type);
    r.sampleOutputFormat = static_cast<int16_t>(format);
    r.windowFunction = static_cast<int16_t>(window);
    r.inputSource = static_cast<int16_t>(source);
    step(qm4120_getUndecimatedSamplingFrequency(vi, &r.undecimatedSampleRate));
    step(qm4120_getDecimatedSamplingFrequency(vi, &r.decimatedSampleRate));
    step(qm4120_getRfFrequency(vi, &r.rfFrequency));
    step(qm4120_getDividedLoFrequency(vi, &r.dividedLoFrequency));
    step(source == 0 ? qm4120_getLevelCorrDigitizer(vi, &r.levelCorrection)
                     : qm4120_getLevelCorrModule(vi, &r.levelCorrection));
    step(qm4120_getLoOffset(vi, &r.loOffset));
    step(qm4120_getSampleFrequency(vi, &r.sampleFrequency));
    step(qm4120_getIfFrequency(vi, &r.ifFrequency));
    if (s < 0) return s;
    if (type == 0) {
        r.numIfSamples = r.numWords = samples;
        r.ifData.assign(samples, 0);
        step(qm4120_captMem(vi, samples, r.ifData.data()));
    } else {
        r.numIqSamples = samples;
        r.numIqWords = r.numWords = 2 * samples;
        if (format == 0) {
            r.iqData16.assign(2 * samples, 0);
            step(qm4120_captMem(vi, 2 * samples, r.iqData16.data()));
        } else {
            r.iqData32.assign(2 * samples, 0);
            step(qm4120_captMem32(vi, 2 * samples, r.iqData32.data()));
        }
    }
    r.dataValid = s < 0 ? 0 : 1;
    return s;
}

#endif
