/* Controls of the simulated QM4120 module that a real module's library does not have: for tests and for
 * people who want to drive the simulation from their own programs. A program that talks to a real
 * module never includes this header.
 */
#ifndef QM4120_PB_SIM_H
#define QM4120_PB_SIM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The first qm4120_controlCheckFpgaConfig after every `every`-th qm4120_instrumentCreate reports -17
 * ("FPGA not configured"), as a module whose FPGA load did not take does; configuring it again clears
 * it. 0 turns this off, 1 makes every fresh module fail its first check. Counting restarts with this
 * call. The default is 3, or QM4120_SIM_FPGA_CHECK_FAIL_EVERY. */
void qm4120_simSetFpgaCheckFailEvery(uint32_t every);

/* Describes the signal at the module's inputs for captures, and the outside world, as "key=value"
 * entries separated by commas: tone_offset (Hz from the tuned RF frequency, or from the IF centre on
 * the IF input; default 100000), tone_frequency (Hz, a fixed frequency instead of an offset; 0 off),
 * tone_level (dBm, default -20), noise (dBm/Hz at the input, default -150), ref (1: an external 10 MHz
 * reference is connected, the default; 0: none), aux_ref (auxiliary reference connected, default 0),
 * line_trigger_ms (hardware trigger lines fire this long after arming, default 20; negative: never),
 * capture_limit (captures started by qm4120_controlArmTrigger end after this many samples, as when a
 * gate closes early; default 0, no limit), list_address (the channel number 0 to 127 on the external list
 * address lines, default 0), list_strobe_us (period of the external list strobe that steps the list
 * counter, default 0: it never fires).
 * Applies to the open modules and to those created later. Returns 0, or -3 for a malformed text (nothing
 * changes then). The environment variable QM4120_SIM_SIGNAL (or a file named by
 * QM4120_SIM_SIGNAL_FILE) sets the same at start-up. */
int32_t qm4120_simSetSignal(const char* text);

/* The module's time base. Captures (trigger waits, sample time at the module's rate), the timer trigger
 * and the list-mode dwell all run on one clock, by default the host's steady clock. A program with a
 * time of its own (a test, a front end with virtual time) installs `now`, which returns seconds (only
 * differences matter, and it must never go back), and `wait`, which lets the given number of seconds
 * pass on that clock; both receive `context`. qm4120_controlDataAcquire calls `wait` while it waits for
 * the data of a capture still running, without holding any lock of the library; without a `wait`
 * function it delivers at once as if the time had passed. Both may be called from any thread that
 * calls the library. A null `now` restores the steady clock. Sessions opened under another clock keep
 * working, but times measured across the change mean nothing. */
typedef double (*qm4120_sim_now_fn)(void* context);
typedef void (*qm4120_sim_wait_fn)(void* context, double seconds);
void qm4120_simSetClock(qm4120_sim_now_fn now, qm4120_sim_wait_fn wait, void* context);

/* Number of instrument records (sessions created and not deleted). */
uint32_t qm4120_simInstrumentCount(void);

/* Forgets every instrument record and the model code and PCI revision announced for the next open, and
 * gives every module back its factory EEPROM contents (serial number, calibration, identity records). */
void qm4120_simResetAll(void);

#ifdef __cplusplus
}
#endif

#endif
