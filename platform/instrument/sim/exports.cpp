// The library's exported C functions. Each one checks fault injection, finds the session's module and
// calls the module's member of the same name under the module's lock; nothing is thrown across.

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>

#include "calibration.h"
#include "clock.h"
#include "eeprom.h"
#include "sim_api.h"
#include "sim_module.h"

#pragma GCC visibility push(default)
#include "../qm4120_pb_lib.h"
#include "../qm4120_pb_sim.h"
#pragma GCC visibility pop

namespace {

using qm::sim::Board;
using qm::sim::CalGroup;
using qm::sim::SimModule;

// The boot dialog counts and lists a module's FPGA configurations on a bus session before any
// instrument record exists for it.
constexpr bool busLevel(std::string_view operation) {
    return operation == "qm4120_fpgaCountConfigs" || operation == "qm4120_fpgaListConfigs";
}

// Any failure to allocate inside the module becomes a status rather than an exception leaving the
// library.
template <class Body>
int32_t guarded(const char* operation, uint32_t vi, Body&& body) {
    try {
        return qm::sim::invoke(operation, vi, operation != nullptr && busLevel(operation), body);
    } catch (const std::bad_alloc&) {
        return qm::sim::ERR_NO_MEMORY;
    } catch (...) {
        return qm::sim::ERR_INTERNAL;
    }
}

}  // namespace

#define QM_OP(family, Name, params, args)                                             \
    extern "C" int32_t qm4120_##family##Name params {                                 \
        return guarded("qm4120_" #family #Name, vi,                                   \
                       [&](SimModule& m) { return m.family##Name QM_DROP_VI args; }); \
    }
#define QM_CAL(Group, Op, params, args)                                                      \
    extern "C" int32_t qm4120_cal##Group##Op params {                                        \
        return guarded("qm4120_cal" #Group #Op, vi, [&](SimModule& m) {                      \
            return m.calOperation(CalGroup::Group,                                           \
                                  [&](qm::sim::CalSet& s) { return s.Op QM_DROP_VI args; }); \
        });                                                                                  \
    }
#define QM_CALID(Board_, Op, params, args)                                                          \
    extern "C" int32_t qm4120_calId##Board_##Op params {                                            \
        return guarded("qm4120_calId" #Board_ #Op, vi, [&](SimModule& m) {                          \
            return m.identityOperation(Board::Board_,                                               \
                                       [&](qm::sim::IdRecord& r) { return r.Op QM_DROP_VI args; }); \
        });                                                                                         \
    }
#include "../qm4120_pb_ops.inc"

extern "C" int32_t qm4120_instrumentCreate(uint32_t vi, uint16_t init) {
    (void)init;  // the simulation always has its EEPROM contents at hand
    int32_t status = 0;
    if (qm::sim::faultHit("qm4120_instrumentCreate", &status)) return status;
    try {
        return qm::sim::registry::create(vi);
    } catch (const std::bad_alloc&) {
        return qm::sim::ERR_NO_MEMORY;
    }
}

extern "C" int32_t qm4120_instrumentDelete(uint32_t vi) {
    int32_t status = 0;
    if (qm::sim::faultHit("qm4120_instrumentDelete", &status)) return status;
    return qm::sim::registry::remove(vi);
}

extern "C" int32_t qm4120_controlSetModelCodePxiKorvo(uint16_t modelCode) {
    int32_t status = 0;
    if (qm::sim::faultHit("qm4120_controlSetModelCodePxiKorvo", &status)) return status;
    return qm::sim::registry::setPendingModel(modelCode);
}

extern "C" int32_t qm4120_controlSetPciRevPxiKorvo(uint16_t pciRev) {
    int32_t status = 0;
    if (qm::sim::faultHit("qm4120_controlSetPciRevPxiKorvo", &status)) return status;
    return qm::sim::registry::setPendingPciRev(pciRev);
}

extern "C" int32_t qm4120_fpgaListConfigs(uint32_t vi, uint16_t* ids, char* names, uint16_t* count) {
    return guarded("qm4120_fpgaListConfigs", vi,
                   [&](SimModule& m) { return m.fpgaListConfigs(ids, names, count); });
}

extern "C" int32_t qm4120_controlDataCapture(uint32_t vi, uint16_t mode, uint32_t words) {
    return guarded("qm4120_controlDataCapture", vi,
                   [&](SimModule& m) { return m.controlDataCapture(mode, words); });
}

extern "C" int32_t qm4120_controlDataAcquire(uint32_t vi, uint16_t mode, uint32_t words, void* buffer) {
    // The transfer waits for data still being captured without holding the module, so that status
    // reads and an abort from another thread get through meanwhile.
    constexpr double SLICE_S = 0.05;
    double waitS = 0.0;
    bool noWait = false;
    int32_t status = guarded("qm4120_controlDataAcquire", vi, [&](SimModule& m) {
        return m.controlDataAcquire(mode, words, buffer, &waitS, noWait);
    });
    while (status == qm::sim::OK && waitS > 0.0) {
        const double before = waitS;
        noWait = !qm::sim::clock::wait(std::min(waitS, SLICE_S));
        status = guarded(nullptr, vi, [&](SimModule& m) {
            return m.controlDataAcquire(mode, words, buffer, &waitS, noWait);
        });
        // A clock that did not move while we waited would keep us here for ever.
        if (waitS >= before) noWait = true;
    }
    return status;
}

extern "C" int32_t qm4120_fftPerform(uint32_t vi, uint32_t n, double* re, double* im) {
    return guarded("qm4120_fftPerform", vi, [&](SimModule& m) { return m.fftPerform(n, re, im); });
}

extern "C" int32_t qm4120_fftPerformN(uint32_t vi, uint32_t n, uint16_t averages, double* area) {
    return guarded("qm4120_fftPerformN", vi, [&](SimModule& m) { return m.fftPerformN(n, averages, area); });
}

extern "C" int32_t qm4120_fftGetPowerAtIfFrequency(uint32_t vi, double frequencyHz, uint16_t averages,
                                                   uint32_t n, double* area, double* power) {
    return guarded("qm4120_fftGetPowerAtIfFrequency", vi, [&](SimModule& m) {
        return m.fftGetPowerAtIfFrequency(frequencyHz, averages, n, area, power);
    });
}

// ---- Controls of the simulation only ----

extern "C" void qm4120_simSetFpgaCheckFailEvery(uint32_t every) {
    qm::sim::registry::setFpgaCheckFailEvery(every);
}

extern "C" int32_t qm4120_simSetSignal(const char* text) {
    if (!text) return qm::sim::ERR_NULL_POINTER;
    qm::sim::Scenario scenario;
    if (!qm::sim::parseScenario(text, &scenario)) return qm::sim::ERR_PARAMETER;
    qm::sim::registry::setScenario(scenario);
    return qm::sim::OK;
}

extern "C" void qm4120_simSetClock(qm4120_sim_now_fn now, qm4120_sim_wait_fn wait, void* context) {
    qm::sim::clock::install(now, wait, context);
}

extern "C" uint32_t qm4120_simInstrumentCount(void) {
    return qm::sim::registry::count();
}

extern "C" void qm4120_simResetAll(void) {
    qm::sim::registry::clear();
    qm::sim::eeprom::resetAll();
}
