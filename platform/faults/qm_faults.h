/* Fault injection shared by every stand-in library (bus, settings, instrument).
 *
 * Any stand-in operation can be made to return a chosen status without recompiling, so that people can
 * test their own error handling against the simulated module:
 *
 *   QM_FAULTS="qm4120_fpgaConfigure=-17,korvo_viOpen=0xBFFF0011:2"
 *
 * arms each named operation with a status (decimal or 0x-hexadecimal, as a signed 32-bit value) and an
 * optional count of calls it applies to (default: every call). The variable is read once, at the first
 * check. Programs and tests can also arm and clear faults through the functions below.
 */
#ifndef QM_FAULTS_H
#define QM_FAULTS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Returns 1 and stores the armed status in *status when a fault is armed for `operation`; the call uses
 * up one of the armed count. Returns 0 otherwise. Safe to call from any thread. */
int qm_fault_hit(const char* operation, int32_t* status);

/* Arms `operation` to return `status` for the next `count` calls; count < 0 means every call until
 * cleared. Arming an operation again replaces its earlier entry. */
void qm_fault_set(const char* operation, int32_t status, int32_t count);

/* Arms `operation` to return `status` for `count` calls once the entries armed before it are used up (at
 * once when none is armed), so that successive calls can fail in different ways. A count < 0 never ends. */
void qm_fault_then(const char* operation, int32_t status, int32_t count);
/* Disarms one operation. */
void qm_fault_clear(const char* operation);

/* Disarms everything, including what QM_FAULTS armed. */
void qm_fault_clear_all(void);

/* Parses a QM_FAULTS-style text and arms its entries. Returns 0, or -1 when the text is malformed (the
 * well-formed entries before the error stay armed). */
int qm_fault_parse(const char* text);

#ifdef __cplusplus
}
#endif

#endif
