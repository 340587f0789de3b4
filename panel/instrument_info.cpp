#include "instrument_info.h"

#include "app_state.h"
#include "qm4120.h"

const char* modelTextForCode(uint16_t modelCode, uint16_t engineeringMode) {
    switch (modelCode) {
        case MODEL_4120:
            return "4120";
        case MODEL_4120_ENHANCED:
            // Outside the factory the enhanced module presents itself as a plain 4120.
            return engineeringMode ? "4120 Enhanced" : "4120";
        case MODEL_4120A:
            return "4120A";
        case MODEL_4125:
            return "4125";
        default:
            return "412x";
    }
}

const char* getModelCodeString() {
    uint16_t model = 0;
    if (isActive4120()) {
        // Titles are set several at a time: a failed read shows the family name, not a popup per title.
        if (qm4120_getModelCode(getQM4120id(), &model) < 0) model = 0;
    }
    return modelTextForCode(model, appState.engineeringMode);
}
