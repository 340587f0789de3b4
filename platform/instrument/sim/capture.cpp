// Captures: trigger timing, and the transfer of the sample words the module delivers from the signal
// scenario (generated in signal.cpp).

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

// ---- Trigger and capture timing ----

void SimModule::updateCapture() {
    if (!capture_.armed || capture_.complete) return;
    const double now = clock::now();
    if (!capture_.triggered && capture_.willTrigger && now >= capture_.triggerAtS) {
        capture_.triggered = true;
        ++capture_.triggerCount;
    }
    if (capture_.triggered && now >= capture_.completeAtS) {
        capture_.complete = true;
        capture_.captured = capture_.samples;
    }
}

double SimModule::captureRateHz() const {
    return acq_.dataType == 0 ? spec_->adcClockHz : decimatedHz();
}

uint32_t SimModule::wordsPerSample() const {
    // Library words are 16 bits: IF samples take one, I/Q samples an I and a Q word of the output width.
    return acq_.dataType == 0 ? 1 : (acq_.outputFormat ? 4 : 2);
}

double SimModule::nextTimerTick(double now) const {
    // The timer runs freely from the moment the module was opened, shifted by its phase in ADC clocks.
    const double period = trig_.timerPeriodUs * 1e-6;
    const double first = openedAtS_ + trig_.timerPhase / spec_->adcClockHz;
    if (now < first) return first;
    // A tick that falls on the arming instant has passed already.
    const double ticks = std::floor((now - first) / period + 1e-9) + 1.0;
    return first + ticks * period;
}

void SimModule::startCapture(uint32_t words, uint32_t samples, bool immediate) {
    const double now = clock::now();
    capture_.armed = true;
    capture_.triggered = false;
    capture_.complete = false;
    capture_.words = words;
    capture_.armedAtS = now;
    capture_.captured = 0;
    // When the trigger comes: at once for software (and for a block captured without arming), otherwise
    // when the source fires; a source that never fires leaves the capture waiting.
    double triggerAt = now;
    capture_.willTrigger = true;
    if (!immediate) {
        triggerAt = triggerSourceFiresAt(trig_.source, now);
        capture_.willTrigger = std::isfinite(triggerAt);
        if (!capture_.willTrigger) triggerAt = now;
        // A gate that closes early ends a triggered capture short.
        if (scenario_.captureLimitSamples > 0.0) {
            samples = static_cast<uint32_t>(std::min<double>(samples, scenario_.captureLimitSamples));
        }
    }
    // Edge triggers keep the pre-trigger samples that came before; the offset delay moves the trigger
    // point later by that many samples. The block cannot end before it has been sampled in full.
    const double rate = captureRateHz();
    // A gate trigger captures while its gate is open, then the post-gate samples after it closes.
    if (!immediate && trig_.type == 1 && scenario_.gateOpenMs > 0.0) {
        const double whileOpen = std::floor(scenario_.gateOpenMs * 1e-3 * rate);
        samples = static_cast<uint32_t>(std::min<double>(samples, whileOpen + trig_.postGateSamples));
    }
    const uint32_t pre = !immediate && trig_.type == 0 ? std::min(trig_.preEdgeSamples, samples) : 0;
    const double delayS = immediate ? 0.0 : trig_.offsetDelay / rate;
    capture_.samples = samples;
    capture_.triggerAtS = triggerAt;
    capture_.completeAtS = std::max(triggerAt + delayS + (samples - pre) / rate, now + samples / rate);
    capture_.triggerSample = pre;
    capture_.firstSampleS = immediate ? now : triggerAt + delayS - pre / rate;
    capture_.absSampleTimeS = triggerAt - openedAtS_;
    updateCapture();
}

int32_t SimModule::controlArmTrigger(uint32_t mode, uint32_t words) {
    if (mode > 1 || words == 0 || words > spec_->memoryWords) return ERR_PARAMETER;
    capture_.overload = false;
    // Armed counts are sample values: one per IF sample, an I and a Q value per I/Q sample, whatever
    // the word width.
    startCapture(words, acq_.dataType == 0 ? words : words / 2, false);
    capture_.fromArm = true;
    return OK;
}

int32_t SimModule::controlGetTriggerDetected(uint16_t* value) {
    updateCapture();
    return put<uint16_t>(value, capture_.triggered ? 1 : 0);
}

int32_t SimModule::controlGetCaptureComplete(uint16_t* value) {
    updateCapture();
    return put<uint16_t>(value, capture_.complete ? 1 : 0);
}

int32_t SimModule::controlGetCapturedSampleCount(uint32_t* value) {
    updateCapture();
    return put<uint32_t>(value, capture_.complete ? capture_.captured : 0);
}

int32_t SimModule::controlGetAbsSampleTime(double* value) {
    updateCapture();
    return put(value, capture_.triggered ? capture_.absSampleTimeS : 0.0);
}

int32_t SimModule::controlGetTriggerCount(uint32_t* value) {
    updateCapture();
    return put(value, capture_.triggerCount);
}

int32_t SimModule::controlGetTriggerSampleNumber(uint32_t* value) {
    updateCapture();
    return put(value, capture_.triggered ? capture_.triggerSample : 0u);
}

int32_t SimModule::controlCaptureAbort() {
    updateCapture();
    if (capture_.armed && !capture_.complete) {
        if (capture_.triggered) {
            // Once triggered the block is being written: the capture ends with what it holds now.
            const double now = clock::now();
            const double rate = captureRateHz();
            const double start = capture_.completeAtS - capture_.samples / rate;
            const double taken = std::floor((now - start) * rate);
            capture_.captured = static_cast<uint32_t>(std::clamp(taken, 0.0, double(capture_.samples)));
            capture_.complete = true;
            capture_.completeAtS = now;
        } else {
            capture_.armed = false;
        }
    }
    // A transfer waiting for its data gives up.
    if (capture_.pendingWords != 0) capture_.transferAborted = true;
    capture_.pendingWords = 0;
    return OK;
}

int32_t SimModule::controlClearAfterRepeatCapt() {
    capture_.armed = false;
    capture_.fromArm = false;
    capture_.triggered = false;
    capture_.complete = false;
    capture_.pendingWords = 0;
    return OK;
}

// ---- Sample delivery ----

int32_t SimModule::controlDataCapture(uint16_t mode, uint32_t words) {
    if (mode > 1 || words > spec_->memoryWords) return ERR_PARAMETER;
    updateCapture();
    const uint32_t samples = words / wordsPerSample();
    // A finished armed capture is what the transfer reads; otherwise the module captures a block now.
    if (capture_.fromArm && capture_.armed && capture_.complete) {
        if (samples > capture_.captured) return ERR_WORD_COUNT;
        capture_.fromArm = false;
    } else {
        capture_.overload = false;
        capture_.fromArm = false;
        startCapture(words, samples, true);
    }
    capture_.pendingWords = words;
    capture_.transferAborted = false;
    return OK;
}

int32_t SimModule::controlDataAcquire(uint16_t mode, uint32_t words, void* buffer, double* waitS,
                                      bool noWait) {
    *waitS = 0.0;
    if (mode > 1) return ERR_PARAMETER;
    if (words == 0) return OK;
    if (!buffer) return ERR_NULL_POINTER;
    if (capture_.pendingWords == 0) {
        if (!capture_.transferAborted) return ERR_CAPTURE_NOT_STARTED;
        capture_.transferAborted = false;
        return ERR_CAPTURE_ABORTED;
    }
    if (words > capture_.pendingWords || words % wordsPerSample() != 0) return ERR_WORD_COUNT;
    updateCapture();
    if (!capture_.complete && !noWait) {
        // The data are still coming in: the caller waits outside the lock and asks again.
        *waitS = std::max(capture_.completeAtS - clock::now(), 1e-9);
        return OK;
    }
    generate(words, buffer);
    capture_.pendingWords = 0;
    return OK;
}

}  // namespace qm::sim
