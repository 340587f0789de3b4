// Model text of the booted module, used in window titles and the About box.
#ifndef QM_PANEL_INSTRUMENT_INFO_H
#define QM_PANEL_INSTRUMENT_INFO_H

#include <cstdint>

// Model text for a model code: "4120", "4120 Enhanced" (engineering mode only, else "4120"), "4120A",
// "4125", or "412x" for any other code.
const char* modelTextForCode(uint16_t modelCode, uint16_t engineeringMode);

// Model text of the booted module (read with qm4120_getModelCode); "412x" when none is booted.
const char* getModelCodeString();

#endif
