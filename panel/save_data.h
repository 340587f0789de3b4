// Saving the last capture after the fact (File menu): its samples as decimal text, one value a line, or
// as the raw little-endian words held in memory, to a file the operator chooses. The file replaces any
// file of that name only once it is whole.
#ifndef QM_PANEL_SAVE_DATA_H
#define QM_PANEL_SAVE_DATA_H

#include <cstdint>

#include "capture_state.h"
#include "replacing_file.h"

// Writes the record's samples into the created `file` and commits it: IF samples, or I and Q words
// interleaved I first, of 16 or 32 bits. Returns 0, or QM4120_ERROR_CAPTURE_WRITE when the file could not
// be written in full (the old file then stays).
int32_t writeCapturedData(const CapturedData& data, ReplacingFile& file, bool binary);

void registerSaveDataCallbacks();

#endif
