// Captures: trigger timing, and the transfer of the sample words the module delivers from the signal
// scenario (generated in signal.cpp).

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

using Clock = std::chrono::steady_clock;

// Trigger source codes that trigger inside the module.
constexpr uint16_t SRC_SOFTWARE = 32;
constexpr uint16_t SRC_TIMER = 34;
constexpr uint16_t SRC_INTERNAL = 35;

}  // namespace

// ---- Trigger and capture timing ----

void SimModule::updateCapture() {
    if (!capture_.armed || capture_.complete) return;
    const Clock::time_point now = Clock::now();
    if (!capture_.triggered && capture_.willTrigger && now >= capture_.triggerAt) {
        capture_.triggered = true;
        ++capture_.triggerCount;
    }
    if (capture_.triggered && now >= capture_.completeAt) capture_.complete = true;
}

void SimModule::startCapture(uint32_t words, bool immediate) {
    const Clock::time_point now = Clock::now();
    capture_.armed = true;
    capture_.triggered = false;
    capture_.complete = false;
    capture_.words = words;
    capture_.armedAt = now;
    // When the trigger comes: at once for software, after one period for the timer, when the level
    // crosses the absolute threshold for the internal trigger, after the scenario's delay for lines.
    double delayUs = 0.0;
    capture_.willTrigger = true;
    if (!immediate) {
        if (trig_.source == SRC_TIMER) {
            delayUs = trig_.timerPeriodUs;
        } else if (trig_.source == SRC_INTERNAL) {
            const bool crosses = trig_.intMode == 0 && scenario_.toneLevelDbm >= trig_.intAbsThresholdDbm;
            capture_.willTrigger = crosses;
            delayUs = trig_.intAbsTimeConstUs;
        } else if (trig_.source != SRC_SOFTWARE) {
            capture_.willTrigger = scenario_.lineTriggerDelayMs >= 0.0;
            delayUs = scenario_.lineTriggerDelayMs * 1000.0;
        }
    }
    const double rate = acq_.dataType == 0 ? spec_->adcClockHz : decimatedHz();
    const double samples = acq_.dataType == 0 ? words : words / 2.0;
    const auto toDuration = [](double us) {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::micro>(us));
    };
    capture_.triggerAt = now + toDuration(delayUs);
    capture_.completeAt = capture_.triggerAt + toDuration(samples / rate * 1e6);
    capture_.triggerSample = trig_.type == 0 ? trig_.preEdgeSamples : 0;
    capture_.absSampleTimeS = std::chrono::duration<double>(capture_.triggerAt - openedAt_).count();
    updateCapture();
}

int32_t SimModule::controlArmTrigger(uint32_t mode, uint32_t words) {
    if (mode > 1 || words == 0 || words > spec_->memoryWords) return ERR_PARAMETER;
    capture_.overload = false;
    startCapture(words, false);
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
    if (!capture_.complete) return put<uint32_t>(value, 0);
    // The words armed hold IF samples one each, I/Q samples as I and Q.
    const uint32_t configured = acq_.dataType == 0 ? acq_.numIfSamples : acq_.numIqSamples;
    const uint32_t armed = acq_.dataType == 0 ? capture_.words : capture_.words / 2;
    return put(value, std::min(configured, armed));
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
    if (capture_.armed && !capture_.complete) capture_.armed = false;
    capture_.pendingWords = 0;
    return OK;
}

int32_t SimModule::controlClearAfterRepeatCapt() {
    capture_.armed = false;
    capture_.triggered = false;
    capture_.complete = false;
    capture_.pendingWords = 0;
    return OK;
}

// ---- Sample delivery ----

int32_t SimModule::controlDataCapture(uint16_t mode, uint32_t words) {
    if (mode > 1 || words > spec_->memoryWords) return ERR_PARAMETER;
    updateCapture();
    // A finished armed capture is what the transfer reads; otherwise the module captures now.
    if (capture_.fromArm && capture_.armed && capture_.complete) {
        capture_.fromArm = false;
    } else {
        capture_.overload = false;
        capture_.fromArm = false;
        startCapture(words, true);  // triggers at once
        capture_.complete = true;   // the transfer waits for the data as they come
    }
    capture_.pendingWords = words;
    return OK;
}

int32_t SimModule::controlDataAcquire(uint16_t mode, uint32_t words, void* buffer) {
    if (mode > 1) return ERR_PARAMETER;
    if (words == 0) return OK;
    if (!buffer) return ERR_NULL_POINTER;
    if (capture_.pendingWords == 0) return ERR_CAPTURE_NOT_STARTED;
    const uint32_t wordsPerSample = acq_.dataType == 0 ? 1 : (acq_.outputFormat ? 4 : 2);
    if (words > capture_.pendingWords || words % wordsPerSample != 0) return ERR_WORD_COUNT;
    generate(words, buffer);
    capture_.pendingWords = 0;
    return OK;
}

}  // namespace qm::sim
