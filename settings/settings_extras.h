// The display extras and the SigMF option in a settings file. They are off at start-up, and a file only
// holds them while the operator has switched them on, so a set-up saved without them looks as it always
// has; loading such a file switches them back off.
#ifndef QM_SETTINGS_SETTINGS_EXTRAS_H
#define QM_SETTINGS_SETTINGS_EXTRAS_H

#include <cstdint>

#include "settings_load_run.h"

// Writes the extras that differ from their defaults; returns the sum of the writes' statuses.
int32_t saveOptionalDisplaySettings(uint32_t ini);
// Reads them back; a value outside what its menu offers is left out and noted in `run`.
void loadOptionalDisplaySettings(LoadRun& run);

#endif
