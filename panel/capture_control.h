// Capture control of the main panel: Start/Stop and Arm/Disarm, single and repeat runs, where captured
// data go (memory, or memory and an ASCII or binary file) and the capture indicators.
//
// A run happens inside the Start or Arm callback on the main thread. While it waits for the module it
// keeps the user interface live, so Stop, Disarm and every other callback run in the middle of it; they
// end the run through the flags of capture_state.h.
#ifndef QM_PANEL_CAPTURE_CONTROL_H
#define QM_PANEL_CAPTURE_CONTROL_H

#include <cstdint>

#include "capture_state.h"

// Stop and Disarm: ends the run, at once when no trigger has been seen, else after the capture in hand
// (the first press in repeat mode) or with the samples taken so far.
void requestCaptureStop();

// Fills the record with the acquisition set-up of the next capture, read from the module.
void readCaptureParameters(CapturedData& data);

// Reads the finished capture into the record's buffer for its data type (and into the capture file for a
// file destination). A short capture shrinks the sample counts and the FFT length. Returns the status; a
// negative one ends the run.
int32_t transferCapturedData(CapturedData& data);

// CAPTMODE from captureRepeatMode.
void syncCaptureModeControl();

void registerCaptureControlCallbacks();

#endif
