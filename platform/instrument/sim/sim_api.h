// Plumbing between the exported C functions and the modules: fault injection, the session registry
// and the call wrapper that every exported operation goes through.
#ifndef QM4120_SIM_SIM_API_H
#define QM4120_SIM_SIM_API_H

#include <cstdint>
#include <memory>
#include <mutex>

#include "status.h"

namespace qm::sim {

class SimModule;
struct Scenario;

// Fault injection: true when `operation` is armed, with its status in *status.
bool faultHit(const char* operation, int32_t* status);

const char* statusText(int32_t code);

// Process-wide record of the instrument sessions. Safe from any thread.
namespace registry {

std::shared_ptr<SimModule> find(uint32_t session);
int32_t create(uint32_t session);
int32_t remove(uint32_t session);
int32_t setPendingModel(uint16_t code);
int32_t setPendingPciRev(uint16_t rev);
// A module for a bus session that has no instrument record yet (the boot dialog lists configurations
// before the driver creates one); null when the bus does not know the session.
std::shared_ptr<SimModule> probe(uint32_t session);

void setFpgaCheckFailEvery(uint32_t every);
void setScenario(const Scenario& scenario);
uint32_t count();
void clear();

}  // namespace registry

std::mutex& moduleMutex(SimModule& module);

// Runs `body` on the session's module under its lock, after the fault check. Operations that may run on
// a bare bus session (busLevel) fall back to a probe module.
template <class Body>
int32_t invoke(const char* operation, uint32_t session, bool busLevel, Body&& body) {
    int32_t status = 0;
    // A null operation is a continuation of a call whose fault check has been made.
    if (operation && faultHit(operation, &status)) return status;
    std::shared_ptr<SimModule> module = registry::find(session);
    if (!module && busLevel) module = registry::probe(session);
    if (!module) return busLevel ? ERR_BUS_SESSION : ERR_INVALID_SESSION;
    std::lock_guard<std::mutex> lock(moduleMutex(*module));
    return body(*module);
}

}  // namespace qm::sim

#endif
