/* PXI bus library: a VISA-style resource manager, sessions on the modules in the chassis, and 32-bit
 * register access to their memory window.
 *
 * Every operation returns a VISA status (qm_visa.h): VI_SUCCESS, or a negative VI_ERROR_... code.
 *
 * Resources are named "0x" followed by the four hexadecimal digits of the module's model code, in either
 * letter case ("0x4120", "0x4a20"). The chassis holds one module of each of the models 0x4120, 0x4A20,
 * 0x4B20 and 0x4125. Several sessions may be open on the same module at the same time.
 *
 * Handles of resource managers and sessions are never reused within a process, so a handle kept after
 * it was closed stays invalid (VI_ERROR_INV_OBJECT) instead of reaching someone else's session.
 * All operations may be called from any thread.
 */
#ifndef PXI_KORVO_H
#define PXI_KORVO_H

#include <stdint.h>

#include "qm_visa.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Opens a resource manager and stores its handle in *rm. Null rm: VI_ERROR_USER_BUF. */
int32_t korvo_viOpenDefaultRM(uint32_t* rm);

/* Opens a session on `resource` through resource manager `rm`. `mode` and `timeout` are accepted and
 * not used (no locking). Statuses: VI_ERROR_INV_OBJECT when rm is not an open resource manager,
 * VI_ERROR_INV_RSRC_NAME when the text is not "0x" plus four hexadecimal digits, VI_ERROR_RSRC_NFOUND when
 * no module of that model sits in the chassis, VI_ERROR_USER_BUF for a null session pointer. */
int32_t korvo_viOpen(uint32_t rm, const char* resource, uint32_t mode, uint32_t timeout, uint32_t* session);

/* Closes a session or a resource manager; closing a resource manager closes every session opened
 * through it. An unknown or already closed handle gives VI_ERROR_INV_OBJECT. */
int32_t korvo_viClose(uint32_t vi);

/* Reads an attribute of a session (or resource manager) into *value:
 *   VI_ATTR_RM_SESSION  uint32_t   owning resource manager (a resource manager answers itself)
 *   VI_ATTR_MODEL_CODE  uint16_t   model code of the module (sessions only)
 *   VI_ATTR_RSRC_NAME   char[256]  resource text as given to korvo_viOpen (sessions only)
 * Any other attribute gives VI_ERROR_NSUP_ATTR; a null value pointer VI_ERROR_USER_BUF. */
int32_t korvo_viGetAttribute(uint32_t vi, uint32_t attr, void* value);

/* 32-bit register access in the module's memory window. `space` must be VI_PXI_BAR0_SPACE (11), any
 * other gives VI_ERROR_INV_SPACE; `offset` is a byte offset into the window. A resource manager handle
 * gives VI_ERROR_NSUP_OPER. korvo_viMoveOut32 writes `count` words (count 0 does nothing and succeeds);
 * a null word pointer with a non-zero count gives VI_ERROR_USER_BUF. */
int32_t korvo_viIn32(uint32_t vi, uint16_t space, uint32_t offset, uint32_t* value);
int32_t korvo_viOut32(uint32_t vi, uint16_t space, uint32_t offset, uint32_t value);
int32_t korvo_viMoveOut32(uint32_t vi, uint16_t space, uint32_t offset, uint32_t count,
                          const uint32_t* words);

#ifdef __cplusplus
}
#endif

#endif
