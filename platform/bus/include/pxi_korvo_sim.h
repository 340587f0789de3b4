/* Hooks of the simulated chassis, for the simulated module and for tests. A program that talks to real
 * modules never includes this header.
 */
#ifndef PXI_KORVO_SIM_H
#define PXI_KORVO_SIM_H

#include <stdint.h>

#include "pxi_korvo.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Register handlers. The bus checks the session and the address space first, then calls the handler
 * WITHOUT holding its own lock, so a handler may call back into the bus (korvo_simModelCode, ...). A
 * handler may run on several threads at once and must protect its own state.
 *
 * Read: korvo_viIn32. Store the register value in *value and return a VISA status; the status is handed
 * to the caller unchanged (the bus does not touch *value).
 * Write: korvo_viOut32 calls it with count 1; korvo_viMoveOut32 calls it once with the whole block
 * (count >= 1). Whether a block fills consecutive registers (offset + 4 * i) or feeds one FIFO register
 * is the handler's choice. The returned status is handed to the caller unchanged.
 *
 * `session` is the bus session and `modelCode` the model code of the module it was opened on. */
typedef int32_t (*KorvoSimReadHandler)(uint32_t session, uint16_t modelCode, uint32_t offset,
                                       uint32_t* value);
typedef int32_t (*KorvoSimWriteHandler)(uint32_t session, uint16_t modelCode, uint32_t offset, uint32_t count,
                                        const uint32_t* words);

/* Installs the handlers (replacing earlier ones). Null handlers restore the default: a plain 32-bit
 * memory per session, keyed by byte offset, where an offset never written reads 0 and a block write
 * fills offset, offset + 4, ... */
void korvo_simSetRegisterHandler(KorvoSimReadHandler handlerRead, KorvoSimWriteHandler handlerWrite);

/* Model code of the module a session was opened on. VI_ERROR_INV_OBJECT for anything but an open
 * session (resource managers included), VI_ERROR_USER_BUF for a null pointer. */
int32_t korvo_simModelCode(uint32_t session, uint16_t* code);

/* Number of open sessions plus open resource managers (for leak checks). */
int32_t korvo_simOpenSessionCount(void);

/* Closes every session and resource manager and forgets their default register memory. Installed
 * register handlers stay installed; handles are still never reused. */
void korvo_simResetAll(void);

#ifdef __cplusplus
}
#endif

#endif
