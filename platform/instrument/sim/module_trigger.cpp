// Trigger set-up (source, type, sample counts around the trigger, internal level trigger, timer) and
// the hardware list mode that steps through the channel table.

#include <algorithm>
#include <cmath>
#include <limits>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

// Trigger source codes.
constexpr uint16_t SRC_SOFTWARE = 32;
constexpr uint16_t SRC_NONE = 33;  // no source: not selectable
constexpr uint16_t SRC_TIMER = 34;
constexpr uint16_t SRC_INTERNAL = 35;
constexpr uint16_t SRC_FRONT_SMB = 36;

// Routing signals a trigger can listen to besides the lines that share their trigger source code.
constexpr uint32_t SIG_PXI_STAR = 8;
constexpr uint32_t SIG_LVDS_MARKER4 = 25;
constexpr uint32_t SIG_LVDS_AUX4 = 30;
constexpr uint32_t SIG_LVDS_SPARE2 = 33;
constexpr uint32_t SIG_PXI_LBL12 = 21;
constexpr uint32_t SIG_INT_TRIG = 35;
constexpr uint32_t SIG_INT_TIMER = 36;
constexpr uint32_t SIG_FRONT_SMB = 38;
constexpr uint16_t LVDS_RECEIVER = 0;
// Lines that drive each other round a loop carry nothing; a chain longer than this is such a loop.
constexpr int MAX_ROUTE_DEPTH = 8;
constexpr double NEVER = std::numeric_limits<double>::infinity();

// Sample counters of the trigger logic are 24 bits wide.
constexpr uint32_t TRIGGER_COUNTER_MAX = (1u << 24) - 1;

constexpr double TIMER_MIN_US = 1.0;
constexpr double TIMER_MAX_US = 600000000.0;

double milliwatts(double dbm) {
    return std::pow(10.0, dbm / 10.0);
}

int32_t timeConstant(double* field, double us) {
    if (!std::isfinite(us)) return ERR_PARAMETER;
    const int32_t st = roundAndClamp(&us, TIME_CONSTANT_RESOLUTION_US, 0.01, 10000.0);
    *field = us;
    return st;
}

}  // namespace

int32_t SimModule::controlSetTriggerSource(uint16_t value) {
    if (value == SRC_NONE || value > SRC_FRONT_SMB) return ERR_INVALID_TRIGGER_SOURCE;
    trig_.source = value;
    return OK;
}
int32_t SimModule::controlGetTriggerSource(uint16_t* value) {
    return put(value, trig_.source);
}

int32_t SimModule::controlGetTriggerSourceType(uint16_t* value) {
    // 0 untriggered (software), 1 a hardware line, 2 the timer, 3 the internal level trigger.
    uint16_t type = 1;
    if (trig_.source == SRC_SOFTWARE) type = 0;
    if (trig_.source == SRC_TIMER) type = 2;
    if (trig_.source == SRC_INTERNAL) type = 3;
    return put(value, type);
}

int32_t SimModule::controlSetSwTriggerMode(uint16_t value) {
    return choose(&trig_.swTriggerMode, value, {0, 1});
}
int32_t SimModule::controlGetSwTriggerMode(uint16_t* value) {
    return put(value, trig_.swTriggerMode);
}

int32_t SimModule::controlSetTriggerPreSamples(uint32_t value) {
    return controlSetPreEdgeTriggerSamples(value);
}
int32_t SimModule::controlGetTriggerPreSamples(uint32_t* value) {
    return put(value, trig_.preEdgeSamples);
}
int32_t SimModule::controlSetPreEdgeTriggerSamples(uint32_t value) {
    const int32_t st = clampTo<uint32_t>(&value, 0, TRIGGER_COUNTER_MAX);
    trig_.preEdgeSamples = value;
    return st;
}
int32_t SimModule::controlGetPreEdgeTriggerSamples(uint32_t* value) {
    return put(value, trig_.preEdgeSamples);
}
int32_t SimModule::controlSetPostGateTriggerSamples(uint32_t value) {
    const int32_t st = clampTo<uint32_t>(&value, 0, TRIGGER_COUNTER_MAX);
    trig_.postGateSamples = value;
    return st;
}
int32_t SimModule::controlGetPostGateTriggerSamples(uint32_t* value) {
    return put(value, trig_.postGateSamples);
}
int32_t SimModule::controlSetTriggerOffsetDelay(int32_t value) {
    const int32_t st = clampTo<int32_t>(&value, 0, static_cast<int32_t>(TRIGGER_COUNTER_MAX));
    trig_.offsetDelay = value;
    return st;
}
int32_t SimModule::controlGetTriggerOffsetDelay(int32_t* value) {
    return put(value, trig_.offsetDelay);
}

int32_t SimModule::controlSetTriggerType(uint16_t value) {
    return choose(&trig_.type, value, {0, 1}, ERR_INVALID_TRIGGER_TYPE);
}
int32_t SimModule::controlGetTriggerType(uint16_t* value) {
    return put(value, trig_.type);
}
int32_t SimModule::controlSetTriggerEdgeGatePolarity(uint16_t value) {
    return choose(&trig_.polarity, value, {0, 1});
}
int32_t SimModule::controlGetTriggerEdgeGatePolarity(uint16_t* value) {
    return put(value, trig_.polarity);
}

int32_t SimModule::controlSetIntTriggerMode(uint16_t value) {
    return choose(&trig_.intMode, value, {0, 1});
}
int32_t SimModule::controlGetIntTriggerMode(uint16_t* value) {
    return put(value, trig_.intMode);
}
int32_t SimModule::controlSetIntTriggerAbsThreshold(double value) {
    if (!std::isfinite(value)) return ERR_PARAMETER;
    const int32_t st = roundAndClamp(&value, LEVEL_RESOLUTION_DB, -100.0, 30.0);
    trig_.intAbsThresholdDbm = value;
    return st;
}
int32_t SimModule::controlGetIntTriggerAbsThreshold(double* value) {
    return put(value, trig_.intAbsThresholdDbm);
}
int32_t SimModule::controlSetIntTriggerRelThreshold(int32_t value) {
    const int32_t st = clampTo<int32_t>(&value, 0, 60);
    trig_.intRelThresholdDb = value;
    return st;
}
int32_t SimModule::controlGetIntTriggerRelThreshold(int32_t* value) {
    return put(value, trig_.intRelThresholdDb);
}
int32_t SimModule::controlSetIntTriggerAbsTimeConst(double value) {
    return timeConstant(&trig_.intAbsTimeConstUs, value);
}
int32_t SimModule::controlGetIntTriggerAbsTimeConst(double* value) {
    return put(value, trig_.intAbsTimeConstUs);
}
int32_t SimModule::controlSetIntTriggerRelSlowTimeConst(double value) {
    return timeConstant(&trig_.intRelSlowTimeConstUs, value);
}
int32_t SimModule::controlGetIntTriggerRelSlowTimeConst(double* value) {
    return put(value, trig_.intRelSlowTimeConstUs);
}
int32_t SimModule::controlSetIntTriggerRelFastTimeConst(double value) {
    return timeConstant(&trig_.intRelFastTimeConstUs, value);
}
int32_t SimModule::controlGetIntTriggerRelFastTimeConst(double* value) {
    return put(value, trig_.intRelFastTimeConstUs);
}

int32_t SimModule::timerClocks() const {
    const double clocks = std::round(trig_.timerPeriodUs * spec_->adcClockHz / 1e6);
    return static_cast<int32_t>(std::min(clocks, 2147483647.0));
}

// One timer serves the timer trigger and the list-mode dwell, so both operations set the same value.
int32_t SimModule::setTimerPeriod(double us) {
    if (!std::isfinite(us)) return ERR_PARAMETER;
    const int32_t st = roundAndClamp(&us, TIMER_TICK_US, TIMER_MIN_US, TIMER_MAX_US);
    trig_.timerPeriodUs = us;
    trig_.timerPhase = std::min(trig_.timerPhase, timerClocks() - 1);
    return st;
}
int32_t SimModule::controlSetTimerPeriod(double value) {
    return setTimerPeriod(value);
}
int32_t SimModule::controlGetTimerPeriod(double* value) {
    return put(value, trig_.timerPeriodUs);
}
int32_t SimModule::controlSetListTimerDwell(double value) {
    return setTimerPeriod(value);
}
int32_t SimModule::controlGetListTimerDwell(double* value) {
    return put(value, trig_.timerPeriodUs);
}

int32_t SimModule::controlSetTimerPhase(int32_t value) {
    // The phase shifts the timer within one period, in ADC clocks.
    const int32_t st = clampTo<int32_t>(&value, 0, timerClocks() - 1);
    trig_.timerPhase = value;
    return st;
}
int32_t SimModule::controlGetTimerPhase(int32_t* value) {
    return put(value, trig_.timerPhase);
}

// ---- When triggers fire ----

double SimModule::triggerSourceFiresAt(uint16_t source, double now) const {
    if (source == SRC_SOFTWARE) return now;
    if (source == SRC_TIMER) return nextTimerTick(now);
    if (source == SRC_INTERNAL) return levelTriggerFiresAt(now);
    if (source == SRC_FRONT_SMB) return signalFiresAt(SIG_FRONT_SMB, now, 0);
    // PXI lines, PXI_STAR and the LVDS lines have the same number as trigger source and as signal.
    return signalFiresAt(source, now, 0);
}

double SimModule::signalFiresAt(uint32_t signal, double now, int depth) const {
    if (depth > MAX_ROUTE_DEPTH) return NEVER;
    // Whatever drives a line from outside the module (another module, a cable on the front) does so
    // when the scenario says.
    const double fromOutside =
        scenario_.lineTriggerDelayMs >= 0.0 ? now + scenario_.lineTriggerDelayMs * 1e-3 : NEVER;
    if ((signal <= SIG_PXI_LBL12 && signal != SIG_PXI_STAR) || signal == SIG_FRONT_SMB) {
        // A backplane line or the front SMB carries the matrix's source while the module drives it.
        if (routingEnable_[signal]) return signalFiresAt(routingSource_[signal], now, depth + 1);
        return fromOutside;
    }
    if (signal == SIG_PXI_STAR) return fromOutside;  // from the chassis's star trigger slot
    if (signal <= SIG_LVDS_SPARE2) {
        // An LVDS line reaches the trigger only through its group's receivers.
        const uint16_t direction = signal <= SIG_LVDS_MARKER4 ? acq_.lvdsMarker
                                   : signal <= SIG_LVDS_AUX4  ? acq_.lvdsAux
                                                              : acq_.lvdsData;
        return direction == LVDS_RECEIVER ? fromOutside : NEVER;
    }
    if (signal == SIG_INT_TIMER) return nextTimerTick(now);
    if (signal == SIG_INT_TRIG) return levelTriggerFiresAt(now);
    return NEVER;  // ground, and outputs that never pulse while a capture waits for its trigger
}

bool SimModule::toneOnAt(double t) const {
    if (scenario_.burstOffMs <= 0.0) return true;
    const double on = scenario_.burstOnMs * 1e-3;
    const double period = on + scenario_.burstOffMs * 1e-3;
    double phase = std::fmod(t - openedAtS_, period);
    if (phase < 0.0) phase += period;
    return phase < on;
}

// The level trigger watches the power in the IF band through detectors with a time constant each: the
// absolute mode compares one detector with a threshold in dBm, the relative mode a fast detector with a
// slow one (it fires when the fast one runs the threshold in dB above the slow one, or below it for the
// negative polarity). Each burst edge is a step of the input power that the detectors follow
// exponentially; their time constants are far shorter than a burst, so each has settled before the next
// edge.
double SimModule::levelTriggerFiresAt(double now) const {
    const double noise = milliwatts(scenario_.noiseDbmPerHz) * spec_->ifBandwidthHz;
    const double toneOn = milliwatts(scenario_.toneLevelDbm) + noise;
    const bool rising = trig_.polarity == 0;
    const bool absolute = trig_.intMode == 0;
    const double threshold = milliwatts(trig_.intAbsThresholdDbm);
    const double ratio = std::pow(10.0, trig_.intRelThresholdDb / 10.0);
    const double tauAbs = trig_.intAbsTimeConstUs * 1e-6;
    const double tauSlow = trig_.intRelSlowTimeConstUs * 1e-6;
    const double tauFast = trig_.intRelFastTimeConstUs * 1e-6;
    // Whether the trigger condition holds `dt` after a step of the input power from p0 to p1.
    auto holds = [&](double p0, double p1, double dt) {
        auto detector = [&](double tau) { return tau <= 0.0 ? p1 : p1 + (p0 - p1) * std::exp(-dt / tau); };
        if (absolute) return rising ? detector(tauAbs) >= threshold : detector(tauAbs) <= threshold;
        const double fast = detector(tauFast);
        const double slow = detector(tauSlow);
        return rising ? fast >= slow * ratio : slow >= fast * ratio;
    };
    if (scenario_.burstOffMs <= 0.0) return holds(toneOn, toneOn, 0.0) ? now : NEVER;

    const double on = scenario_.burstOnMs * 1e-3;
    const double period = on + scenario_.burstOffMs * 1e-3;
    double phase = std::fmod(now - openedAtS_, period);
    if (phase < 0.0) phase += period;
    const double burstStart = now - phase;
    const double settle = 20.0 * std::max({tauAbs, tauSlow, tauFast});
    // The burst under way, the pause after it, and the next burst and pause: every edge there is to see.
    for (int k = 0; k < 4; ++k) {
        const bool toneStep = k % 2 == 0;
        const double start = burstStart + (k / 2) * period + (toneStep ? 0.0 : on);
        const double end = start + (toneStep ? on : period - on);
        const double p0 = toneStep ? noise : toneOn;
        const double p1 = toneStep ? toneOn : noise;
        const double from = std::max(now, start);
        if (from >= end) continue;
        if (holds(p0, p1, from - start)) return from;
        // Look along the detectors' settling for the first instant the condition holds.
        const double horizon = std::max(from, std::min(end, start + settle));
        constexpr int STEPS = 512;
        double before = from;
        for (int i = 1; i <= STEPS; ++i) {
            double after = from + (horizon - from) * i / STEPS;
            if (!holds(p0, p1, after - start)) {
                before = after;
                continue;
            }
            for (int j = 0; j < 48; ++j) {
                const double mid = 0.5 * (before + after);
                (holds(p0, p1, mid - start) ? after : before) = mid;
            }
            return after;
        }
    }
    return NEVER;
}

// ---- List mode ----

uint32_t SimModule::listAddressChanges() const {
    // Only the counter moves: at each timer period, or at each pulse of the external strobe line.
    if (list_.addrSource != 2) return 0;
    const double periodUs = list_.counterStrobe == 1 ? trig_.timerPeriodUs : scenario_.listStrobePeriodUs;
    if (periodUs <= 0.0) return 0;
    // A clock set back (another time base installed) counts as no time passed.
    const double elapsedUs = std::max(0.0, (clock::now() - list_.enteredS) * 1e6);
    return static_cast<uint32_t>(elapsedUs / periodUs);
}

uint16_t SimModule::listAddress() const {
    if (list_.addrSource == 0) return activeChannel_;
    if (list_.addrSource == 1) return static_cast<uint16_t>(scenario_.listAddressLines);
    // The counter runs from start to stop (either way round) and wraps.
    const int start = list_.countStart;
    const int stop = list_.countStop;
    const int span = std::abs(stop - start) + 1;
    const int step = static_cast<int>(listAddressChanges() % static_cast<uint32_t>(span));
    return static_cast<uint16_t>(stop >= start ? start + step : start - step);
}

int32_t SimModule::controlSetListAddrSource(uint16_t value) {
    if (value > 2) return ERR_INVALID_LIST_SOURCE;
    if (value != 0 && !spec_->hasListMode) return ERR_NO_LIST_MODE;
    if (value != list_.addrSource) list_.enteredS = clock::now();
    list_.addrSource = value;
    return OK;
}
int32_t SimModule::controlGetListAddrSource(uint16_t* value) {
    return put(value, list_.addrSource);
}
int32_t SimModule::controlSetListStrobeNegEdge(uint16_t value) {
    return choose(&list_.strobeNegEdge, value, {0, 1});
}
int32_t SimModule::controlGetListStrobeNegEdge(uint16_t* value) {
    return put(value, list_.strobeNegEdge);
}
int32_t SimModule::controlSetListCounterStrobe(uint16_t value) {
    const int32_t st = choose(&list_.counterStrobe, value, {0, 1});
    if (st == OK) list_.enteredS = clock::now();
    return st;
}
int32_t SimModule::controlGetListCounterStrobe(uint16_t* value) {
    return put(value, list_.counterStrobe);
}
int32_t SimModule::controlSetListCountStartStop(uint16_t start, uint16_t stop) {
    if (badChannel(start) || badChannel(stop)) return ERR_INVALID_CHANNEL;
    list_.countStart = start;
    list_.countStop = stop;
    list_.enteredS = clock::now();
    return OK;
}
int32_t SimModule::controlGetListCountStartStop(uint16_t* start, uint16_t* stop) {
    if (!start || !stop) return ERR_NULL_POINTER;
    *start = list_.countStart;
    *stop = list_.countStop;
    return OK;
}
int32_t SimModule::controlGetListAddrCount(uint32_t* value) {
    return put(value, listAddressChanges());
}
int32_t SimModule::controlGetListAddrInfo(uint16_t* address, uint16_t* source, uint16_t* start,
                                          uint16_t* stop, uint32_t* count) {
    if (!address || !source || !start || !stop || !count) return ERR_NULL_POINTER;
    *address = listAddress();
    *source = list_.addrSource;
    *start = list_.countStart;
    *stop = list_.countStop;
    *count = listAddressChanges();
    return OK;
}

}  // namespace qm::sim
