// Trigger set-up (source, type, sample counts around the trigger, internal level trigger, timer) and
// the hardware list mode that steps through the channel table.

#include <algorithm>
#include <cmath>

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

// Sample counters of the trigger logic are 24 bits wide.
constexpr uint32_t TRIGGER_COUNTER_MAX = (1u << 24) - 1;

constexpr double TIMER_MIN_US = 1.0;
constexpr double TIMER_MAX_US = 600000000.0;

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
