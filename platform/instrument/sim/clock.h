// The module's one time base. Captures, triggers and the list-mode dwell read it; by default it is the
// host's steady clock, and a program (a test, a front end with virtual time) may put its own in place.
#ifndef QM4120_SIM_CLOCK_H
#define QM4120_SIM_CLOCK_H

namespace qm::sim::clock {

using NowFunction = double (*)(void* context);
using WaitFunction = void (*)(void* context, double seconds);

// Seconds on the module's clock; only differences mean anything.
double now();

// Lets `seconds` pass on the module's clock while the caller waits for data (called without any module
// lock). Returns false when the installed clock cannot be waited on (a clock without a wait function):
// the caller then goes on as if the time had passed.
bool wait(double seconds);

// Installs `now` (and optionally `wait`) with their context; a null `now` restores the steady clock.
void install(NowFunction now, WaitFunction wait, void* context);

}  // namespace qm::sim::clock

#endif
