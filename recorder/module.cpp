#include "module.h"

#include <cstdio>
#include <ctime>

#include "qm4120.h"

namespace qm::recorder {

namespace {

constexpr uint16_t SOFTWARE_TRIGGER = 32;
constexpr uint16_t IF_INPUT = 0;
// How often the wait looks at the module, and when it starts showing progress.
constexpr long POLL_NS = 10'000'000;
constexpr double PROGRESS_AFTER_S = 1.0;
constexpr double PROGRESS_EVERY_S = 0.25;

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

// Decimation setters and getters by modulation mode: UMTS, GSM, CDMA2000 1X, (none), 7706, generic.
int32_t setDecimation(uint32_t vi, uint16_t mode, uint32_t ratio) {
    switch (mode) {
        case 0:
            return qm4120_setUmtsDecimationRatio(vi, ratio);
        case 1:
            return qm4120_setGsmDecimationRatio(vi, ratio);
        case 2:
            return qm4120_setCdma20001xDecimationRatio(vi, ratio);
        case 4:
            return qm4120_setEmu7706DecimationRatio(vi, ratio);
        default:
            return qm4120_setGenericDecimationRatio(vi, ratio);
    }
}

}  // namespace

Module::~Module() {
    if (vi_ != 0) qm4120_close(vi_);
}

std::string Module::statusText(int32_t status) const {
    char text[QM4120_TEXT_SIZE] = {0};
    qm4120_error_message(vi_, status, text);
    return text;
}

bool Module::check(const char* what, int32_t status, Failure* failure) const {
    if (status < 0) {
        *failure = Failure{what, status};
        return false;
    }
    if (status > 0) {
        std::fprintf(stderr, "qm4120_capture: warning: %s: %s (status 0x%08X)\n", what,
                     statusText(status).c_str(), static_cast<unsigned>(status));
    }
    return true;
}

bool Module::open(const std::string& resource, Failure* failure) {
    uint32_t vi = 0;
    const int32_t status = qm4120_init(resource.c_str(), 0, 1, &vi);
    if (status < 0) {
        *failure = Failure{"opening module " + resource, status};
        return false;
    }
    vi_ = vi;
    return check("opening module", status, failure);
}

bool Module::identify(Identity* identity, Failure* failure) {
    return sigmf::readIdentity(
        vi_, identity, [&](const char* what, int32_t status) { return check(what, status, failure); });
}

bool Module::configure(const Options& o, Failure* failure) {
    if (o.inputSource &&
        !check("setting the input source", qm4120_setInputSource(vi_, *o.inputSource), failure)) {
        return false;
    }
    if (o.loAbove) {
        // The LO offset's magnitude is the IF frequency; its sign puts the LO above or below.
        double offset = 0.0;
        if (!check("reading the LO offset", qm4120_getLoOffset(vi_, &offset), failure)) return false;
        const double magnitude = offset < 0.0 ? -offset : offset;
        if (!check("setting the LO position", qm4120_setLoOffset(vi_, *o.loAbove ? magnitude : -magnitude),
                   failure)) {
            return false;
        }
    }
    if (o.frequencyHz &&
        !check("setting the RF frequency", qm4120_setRfFrequency(vi_, *o.frequencyHz), failure)) {
        return false;
    }
    if (o.levelDbm) {
        uint16_t source = 1;
        if (!check("reading the input source", qm4120_getInputSource(vi_, &source), failure)) return false;
        const int32_t status = source == IF_INPUT ? qm4120_setIfInputLevel(vi_, *o.levelDbm)
                                                  : qm4120_setRfInputLevel(vi_, *o.levelDbm);
        if (!check("setting the input level", status, failure)) return false;
    }
    if (!check("setting the sample data type", qm4120_setSampleDataType(vi_, o.iq ? 1 : 0), failure))
        return false;
    if (o.decimation) {
        uint16_t mode = 0;
        if (!check("reading the modulation mode", qm4120_getModulationMode(vi_, &mode), failure))
            return false;
        if (!check("setting the decimation", setDecimation(vi_, mode, *o.decimation), failure)) return false;
    }
    if (o.iq && !check("setting the word width", qm4120_setSampleDataOutputFormat(vi_, o.bits == 32 ? 1 : 0),
                       failure)) {
        return false;
    }
    if (o.samples &&
        !check("setting the sample count", qm4120_setNumberOfSamples(vi_, *o.samples), failure)) {
        return false;
    }
    return check("setting the trigger source", qm4120_setTriggerSource(vi_, o.triggerSource), failure);
}

bool Module::readApplied(Applied* a, Failure* failure) {
    return sigmf::readApplied(vi_, a,
                              [&](const char* what, int32_t status) { return check(what, status, failure); });
}

bool Module::capture(const Applied& a, const std::string& triggerName, double timeoutS,
                     const volatile std::sig_atomic_t* interrupted, uint32_t* captured, Failure* failure) {
    // Armed counts are sample values: one per IF sample, an I and a Q value per I/Q sample.
    const uint32_t values = a.sampleDataType == 0 ? a.samples : 2 * a.samples;
    if (!check("arming the capture", qm4120_armTrigger(vi_, 0, values), failure)) return false;
    const double start = monotonicSeconds();
    const double blockS = a.sampleRateHz > 0.0 ? a.samples / a.sampleRateHz : 0.0;
    const bool line = a.triggerSource != SOFTWARE_TRIGGER;
    double triggeredAt = -1.0;
    double nextProgress = start + PROGRESS_AFTER_S;
    bool shown = false;
    for (;;) {
        uint16_t complete = 0;
        uint16_t detected = 0;
        if (!check("waiting for the capture", qm4120_getCaptureComplete(vi_, &complete), failure)) break;
        if (complete) {
            if (shown) std::fputc('\n', stderr);
            if (!check("reading the captured sample count", qm4120_getCapturedSampleCount(vi_, captured),
                       failure)) {
                return false;
            }
            return true;
        }
        if (!check("waiting for the trigger", qm4120_getTriggerDetected(vi_, &detected), failure)) break;
        const double now = monotonicSeconds();
        if (detected && triggeredAt < 0.0) triggeredAt = now;
        if (*interrupted) {
            *failure = Failure{"interrupted", 0};
            break;
        }
        if (line && !detected && now - start > timeoutS) {
            char text[64];
            std::snprintf(text, sizeof text, " within %g s", timeoutS);
            *failure = Failure{"no trigger on " + triggerName + text, 0};
            break;
        }
        if (now >= nextProgress) {
            if (!detected) {
                std::fprintf(stderr, "\rqm4120_capture: waiting for the trigger, %.0f s", now - start);
            } else {
                const double done = blockS > 0.0 ? (now - triggeredAt) / blockS : 1.0;
                std::fprintf(stderr, "\rqm4120_capture: capturing %u samples, %3.0f%%        ", a.samples,
                             100.0 * (done < 1.0 ? done : 1.0));
            }
            shown = true;
            nextProgress = now + PROGRESS_EVERY_S;
        }
        const timespec pause{0, POLL_NS};
        nanosleep(&pause, nullptr);
    }
    if (shown) std::fputc('\n', stderr);
    // The block is not wanted: discard it and leave the module ready for the next capture.
    qm4120_captAbort(vi_);
    qm4120_clearAfterRepeatCapt(vi_);
    return false;
}

}  // namespace qm::recorder
