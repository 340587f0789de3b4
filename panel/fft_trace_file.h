// The FFT trace file (FFT Display menu): the level column of the last spectrum, one "%e," line per trace
// point, written to the file chosen with File Setup ("ffttrace.txt" in the current folder until then).
#ifndef QM_PANEL_FFT_TRACE_FILE_H
#define QM_PANEL_FFT_TRACE_FILE_H

#include "capture_state.h"

constexpr int FFT_TRACE_FILE_NAME_LEN = 260;
extern char fftTraceFileName[FFT_TRACE_FILE_NAME_LEN];

// Writes the trace to fftTraceFileName (replacing an old file only once the new one is whole) and says
// so in a popup that quotes the record's FFT length; without a trace it says there is none.
void saveFftTrace(const CapturedData& data);

void registerFftTraceFileCallbacks();

#endif
