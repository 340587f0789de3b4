#include "qm_visa.h"

#include <cstdio>
#include <cstring>

#include "qm_faults.h"

namespace {

struct StatusText {
    int32_t status;
    const char* name;
    const char* text;
};

// One line per status: the macro name, then what it means for the caller. The name leads the text so
// that an operator can quote it when reporting a fault.
const StatusText STATUS_TEXTS[] = {
    {VI_SUCCESS, "VI_SUCCESS", "The operation completed successfully."},
    {VI_SUCCESS_EVENT_EN, "VI_SUCCESS_EVENT_EN", "The event was already enabled for at least one mechanism."},
    {VI_SUCCESS_EVENT_DIS, "VI_SUCCESS_EVENT_DIS",
     "The event was already disabled for the given mechanisms."},
    {VI_SUCCESS_QUEUE_EMPTY, "VI_SUCCESS_QUEUE_EMPTY", "The operation completed; the event queue was empty."},
    {VI_SUCCESS_TERM_CHAR, "VI_SUCCESS_TERM_CHAR", "The read stopped at the termination character."},
    {VI_SUCCESS_MAX_CNT, "VI_SUCCESS_MAX_CNT", "The number of bytes transferred equals the requested count."},
    {VI_SUCCESS_DEV_NPRESENT, "VI_SUCCESS_DEV_NPRESENT",
     "The session is open, but no device answers at the given address."},
    {VI_SUCCESS_TRIG_MAPPED, "VI_SUCCESS_TRIG_MAPPED", "The trigger lines were already mapped as requested."},
    {VI_SUCCESS_QUEUE_NEMPTY, "VI_SUCCESS_QUEUE_NEMPTY",
     "Waiting ended, and more events of the requested type are still queued."},
    {VI_SUCCESS_NCHAIN, "VI_SUCCESS_NCHAIN",
     "The event was handled; the remaining handlers were not invoked."},
    {VI_SUCCESS_NESTED_SHARED, "VI_SUCCESS_NESTED_SHARED",
     "A shared lock was granted; the session now holds nested shared locks."},
    {VI_SUCCESS_NESTED_EXCLUSIVE, "VI_SUCCESS_NESTED_EXCLUSIVE",
     "An exclusive lock was granted; the session now holds nested exclusive locks."},
    {VI_SUCCESS_SYNC, "VI_SUCCESS_SYNC", "The asynchronous request was carried out synchronously."},

    {VI_WARN_QUEUE_OVERFLOW, "VI_WARN_QUEUE_OVERFLOW", "Events were lost because the event queue was full."},
    {VI_WARN_CONFIG_NLOADED, "VI_WARN_CONFIG_NLOADED",
     "The configuration could not be loaded completely; defaults were used for the rest."},
    {VI_WARN_NULL_OBJECT, "VI_WARN_NULL_OBJECT", "The handle given was the null handle."},
    {VI_WARN_NSUP_ATTR_STATE, "VI_WARN_NSUP_ATTR_STATE",
     "The attribute value is allowed but this resource does not support it."},
    {VI_WARN_UNKNOWN_STATUS, "VI_WARN_UNKNOWN_STATUS", "The status code given is not known."},
    {VI_WARN_NSUP_BUF, "VI_WARN_NSUP_BUF", "The buffer setting requested is not supported."},
    {VI_WARN_EXT_FUNC_NIMPL, "VI_WARN_EXT_FUNC_NIMPL",
     "The operation completed, but an extension it relies on is not implemented."},

    {VI_ERROR_SYSTEM_ERROR, "VI_ERROR_SYSTEM_ERROR", "An unexpected system error occurred."},
    {VI_ERROR_INV_OBJECT, "VI_ERROR_INV_OBJECT",
     "The session or object handle is not valid (never opened, or already closed)."},
    {VI_ERROR_RSRC_LOCKED, "VI_ERROR_RSRC_LOCKED",
     "The resource is locked by another session; the operation was refused."},
    {VI_ERROR_INV_EXPR, "VI_ERROR_INV_EXPR", "The search expression is not valid."},
    {VI_ERROR_RSRC_NFOUND, "VI_ERROR_RSRC_NFOUND",
     "The resource named does not exist or is not present in the system."},
    {VI_ERROR_INV_RSRC_NAME, "VI_ERROR_INV_RSRC_NAME", "The resource name is not in a valid form."},
    {VI_ERROR_INV_ACC_MODE, "VI_ERROR_INV_ACC_MODE", "The access mode is not valid."},
    {VI_ERROR_TMO, "VI_ERROR_TMO", "The time-out expired before the operation completed."},
    {VI_ERROR_CLOSING_FAILED, "VI_ERROR_CLOSING_FAILED", "The session or object could not be closed."},
    {VI_ERROR_INV_DEGREE, "VI_ERROR_INV_DEGREE", "The degree given is not valid."},
    {VI_ERROR_INV_JOB_ID, "VI_ERROR_INV_JOB_ID", "The job identifier is not valid."},
    {VI_ERROR_NSUP_ATTR, "VI_ERROR_NSUP_ATTR", "The attribute is not supported by this session or object."},
    {VI_ERROR_NSUP_ATTR_STATE, "VI_ERROR_NSUP_ATTR_STATE",
     "This value of the attribute is not supported by this session or object."},
    {VI_ERROR_ATTR_READONLY, "VI_ERROR_ATTR_READONLY", "The attribute can be read but not changed."},
    {VI_ERROR_INV_LOCK_TYPE, "VI_ERROR_INV_LOCK_TYPE", "The lock type is not valid."},
    {VI_ERROR_INV_ACCESS_KEY, "VI_ERROR_INV_ACCESS_KEY",
     "The access key does not match the key of the lock held on the resource."},
    {VI_ERROR_INV_EVENT, "VI_ERROR_INV_EVENT", "The event type is not valid for this resource."},
    {VI_ERROR_INV_MECH, "VI_ERROR_INV_MECH", "The event mechanism is not valid."},
    {VI_ERROR_HNDLR_NINSTALLED, "VI_ERROR_HNDLR_NINSTALLED", "No handler is installed for the event."},
    {VI_ERROR_INV_HNDLR_REF, "VI_ERROR_INV_HNDLR_REF", "The handler reference is not valid."},
    {VI_ERROR_INV_CONTEXT, "VI_ERROR_INV_CONTEXT", "The event context is not valid."},
    {VI_ERROR_QUEUE_OVERFLOW, "VI_ERROR_QUEUE_OVERFLOW",
     "The event could not be queued because the queue is full."},
    {VI_ERROR_NENABLED, "VI_ERROR_NENABLED", "The session must be enabled for events of this type first."},
    {VI_ERROR_ABORT, "VI_ERROR_ABORT", "The operation was aborted by the user."},
    {VI_ERROR_RAW_WR_PROT_VIOL, "VI_ERROR_RAW_WR_PROT_VIOL",
     "A protocol violation was detected while writing to the device."},
    {VI_ERROR_RAW_RD_PROT_VIOL, "VI_ERROR_RAW_RD_PROT_VIOL",
     "A protocol violation was detected while reading from the device."},
    {VI_ERROR_OUTP_PROT_VIOL, "VI_ERROR_OUTP_PROT_VIOL",
     "The device reported an output protocol error during the transfer."},
    {VI_ERROR_INP_PROT_VIOL, "VI_ERROR_INP_PROT_VIOL",
     "The device reported an input protocol error during the transfer."},
    {VI_ERROR_BERR, "VI_ERROR_BERR", "A bus error occurred during the transfer."},
    {VI_ERROR_IN_PROGRESS, "VI_ERROR_IN_PROGRESS",
     "The operation was refused because another one is still in progress."},
    {VI_ERROR_INV_SETUP, "VI_ERROR_INV_SETUP",
     "The operation cannot start because the set-up is not consistent."},
    {VI_ERROR_QUEUE_ERROR, "VI_ERROR_QUEUE_ERROR", "The event could not be queued."},
    {VI_ERROR_ALLOC, "VI_ERROR_ALLOC", "There is not enough memory to carry out the operation."},
    {VI_ERROR_INV_MASK, "VI_ERROR_INV_MASK", "The mask is not valid."},
    {VI_ERROR_IO, "VI_ERROR_IO", "An input/output error occurred."},
    {VI_ERROR_INV_FMT, "VI_ERROR_INV_FMT", "The format specifier is not valid."},
    {VI_ERROR_NSUP_FMT, "VI_ERROR_NSUP_FMT", "The format specifier is not supported."},
    {VI_ERROR_LINE_IN_USE, "VI_ERROR_LINE_IN_USE", "The trigger line is already in use."},
    {VI_ERROR_NSUP_MODE, "VI_ERROR_NSUP_MODE", "The mode is not supported by this resource."},
    {VI_ERROR_SRQ_NOCCURRED, "VI_ERROR_SRQ_NOCCURRED", "No service request has been received."},
    {VI_ERROR_INV_SPACE, "VI_ERROR_INV_SPACE", "The address space is not valid for this resource."},
    {VI_ERROR_INV_OFFSET, "VI_ERROR_INV_OFFSET", "The offset is not valid for this address space."},
    {VI_ERROR_INV_WIDTH, "VI_ERROR_INV_WIDTH", "The access width is not valid."},
    {VI_ERROR_NSUP_OFFSET, "VI_ERROR_NSUP_OFFSET", "The offset cannot be reached through this resource."},
    {VI_ERROR_NSUP_VAR_WIDTH, "VI_ERROR_NSUP_VAR_WIDTH",
     "Source and destination widths differ, which is not supported."},
    {VI_ERROR_WINDOW_NMAPPED, "VI_ERROR_WINDOW_NMAPPED", "No memory window is mapped for this session."},
    {VI_ERROR_RESP_PENDING, "VI_ERROR_RESP_PENDING", "A previous response is still pending."},
    {VI_ERROR_NLISTENERS, "VI_ERROR_NLISTENERS", "No listeners were detected on the bus."},
    {VI_ERROR_NCIC, "VI_ERROR_NCIC", "The interface is not the controller in charge."},
    {VI_ERROR_NSYS_CNTLR, "VI_ERROR_NSYS_CNTLR", "The interface is not the system controller."},
    {VI_ERROR_NSUP_OPER, "VI_ERROR_NSUP_OPER", "This session or object does not support the operation."},
    {VI_ERROR_INTR_PENDING, "VI_ERROR_INTR_PENDING", "An interrupt is still pending."},
    {VI_ERROR_ASRL_PARITY, "VI_ERROR_ASRL_PARITY", "A parity error occurred on the serial line."},
    {VI_ERROR_ASRL_FRAMING, "VI_ERROR_ASRL_FRAMING", "A framing error occurred on the serial line."},
    {VI_ERROR_ASRL_OVERRUN, "VI_ERROR_ASRL_OVERRUN",
     "A character arrived on the serial line before the previous one was read."},
    {VI_ERROR_TRIG_NMAPPED, "VI_ERROR_TRIG_NMAPPED", "The trigger lines could not be mapped as requested."},
    {VI_ERROR_NSUP_ALIGN_OFFSET, "VI_ERROR_NSUP_ALIGN_OFFSET",
     "The offset is not aligned to the access width, which is not supported."},
    {VI_ERROR_USER_BUF, "VI_ERROR_USER_BUF", "A buffer given by the caller is not valid or cannot be used."},
    {VI_ERROR_RSRC_BUSY, "VI_ERROR_RSRC_BUSY", "The resource is busy; try again later."},
    {VI_ERROR_NSUP_WIDTH, "VI_ERROR_NSUP_WIDTH", "The access width is not supported by this resource."},
    {VI_ERROR_INV_PARAMETER, "VI_ERROR_INV_PARAMETER", "A parameter has a value that is not valid."},
    {VI_ERROR_INV_PROT, "VI_ERROR_INV_PROT", "The protocol is not valid."},
    {VI_ERROR_INV_SIZE, "VI_ERROR_INV_SIZE", "The size of the window is not valid."},
    {VI_ERROR_WINDOW_MAPPED, "VI_ERROR_WINDOW_MAPPED", "A memory window is already mapped for this session."},
    {VI_ERROR_NIMPL_OPER, "VI_ERROR_NIMPL_OPER", "The operation is not implemented."},
    {VI_ERROR_INV_LENGTH, "VI_ERROR_INV_LENGTH", "The length is not valid."},
    {VI_ERROR_INV_MODE, "VI_ERROR_INV_MODE", "The mode is not valid."},
    {VI_ERROR_SESN_NLOCKED, "VI_ERROR_SESN_NLOCKED", "The session does not hold a lock on the resource."},
    {VI_ERROR_MEM_NSHARED, "VI_ERROR_MEM_NSHARED", "The device does not export shared memory."},
    {VI_ERROR_LIBRARY_NFOUND, "VI_ERROR_LIBRARY_NFOUND", "A library needed for the operation was not found."},
    {VI_ERROR_NSUP_INTR, "VI_ERROR_NSUP_INTR", "The interface cannot raise an interrupt on this line."},
    {VI_ERROR_INV_LINE, "VI_ERROR_INV_LINE", "The line given is not valid."},
    {VI_ERROR_FILE_ACCESS, "VI_ERROR_FILE_ACCESS", "The file could not be opened or accessed."},
    {VI_ERROR_FILE_IO, "VI_ERROR_FILE_IO", "An error occurred while reading or writing the file."},
    {VI_ERROR_NSUP_LINE, "VI_ERROR_NSUP_LINE", "This interface does not support the line given."},
    {VI_ERROR_NSUP_MECH, "VI_ERROR_NSUP_MECH", "The event mechanism is not supported for this event type."},
    {VI_ERROR_INTF_NUM_NCONFIG, "VI_ERROR_INTF_NUM_NCONFIG", "The interface number is not configured."},
    {VI_ERROR_CONN_LOST, "VI_ERROR_CONN_LOST", "The connection to the resource was lost."},
    {VI_ERROR_MACHINE_NAVAIL, "VI_ERROR_MACHINE_NAVAIL", "The remote machine is not available."},
    {VI_ERROR_NPERMISSION, "VI_ERROR_NPERMISSION", "Access to the resource or remote machine was denied."},
};

void writeDesc(char* desc, const char* text) {
    std::snprintf(desc, QM_VISA_DESC_SIZE, "%s", text);
}

}  // namespace

extern "C" int32_t viStatusDesc(uint32_t vi, int32_t status, char desc[256]) {
    (void)vi;
    int32_t fault = 0;
    if (qm_fault_hit("viStatusDesc", &fault)) {
        if (desc) desc[0] = '\0';
        return fault;
    }
    if (!desc) return VI_ERROR_USER_BUF;
    for (const StatusText& entry : STATUS_TEXTS) {
        if (entry.status == status) {
            std::snprintf(desc, QM_VISA_DESC_SIZE, "%s: %s", entry.name, entry.text);
            return VI_SUCCESS;
        }
    }
    // Not a VISA status: callers fall back to their own message tables on this warning.
    writeDesc(desc, "Unknown status");
    return VI_WARN_UNKNOWN_STATUS;
}
