// The module side of a recording: boot, apply the command line's settings, read back what the module
// applied, arm, wait for the block and fetch it. Built on the driver's public C API only.
#ifndef QM4120_RECORDER_MODULE_H
#define QM4120_RECORDER_MODULE_H

#include <csignal>
#include <cstdint>
#include <string>

#include "module_state.h"
#include "options.h"

namespace qm::recorder {

using sigmf::Applied;
using sigmf::Identity;

// Why a step failed: the step and the driver's status (0 when the failure is not the driver's).
struct Failure {
    std::string what;
    int32_t status = 0;
};

class Module {
  public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module();

    // Opens `resource` with a reset into the default FPGA configuration.
    bool open(const std::string& resource, Failure* failure);
    bool identify(Identity* identity, Failure* failure);
    // Applies what the options ask for, in an order where each setting is valid for the next.
    bool configure(const Options& options, Failure* failure);
    bool readApplied(Applied* applied, Failure* failure);

    // Arms the capture of `applied.samples` and waits for it to complete. Stops with a failure when
    // `interrupted` becomes non-zero or a trigger line has not fired within `timeoutS`; the capture is
    // aborted then. Shows progress on standard error once the wait passes a second. `captured` gets the
    // samples the block holds (fewer than asked when a gate closed early).
    bool capture(const Applied& applied, const std::string& triggerName, double timeoutS,
                 const volatile std::sig_atomic_t* interrupted, uint32_t* captured, Failure* failure);

    // The text of a driver status.
    std::string statusText(int32_t status) const;

    uint32_t session() const { return vi_; }

  private:
    // Records a warning on standard error; returns false for an error and fills `failure`.
    bool check(const char* what, int32_t status, Failure* failure) const;

    uint32_t vi_ = 0;
};

}  // namespace qm::recorder

#endif
