// Model texts of window titles and the About box, and the date format of calibration time stamps.
#include <cstdio>

#include "app_state.h"
#include "instrument_info.h"
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

std::string aboutModuleLine(uint16_t modelCode) {
    // The About box always tells the whole truth about the enhanced model.
    const char* model = modelCode == MODEL_4120_ENHANCED ? "4120 Enhanced" : modelTextForCode(modelCode, 0);
    return std::string(model) + " PXI RF Digitizer Module";
}

const char* getModelCodeString() {
    uint16_t model = 0;
    if (isActive4120()) {
        // Titles are set several at a time: a failed read shows the family name, not a popup per title.
        if (qm4120_getModelCode(getQM4120id(), &model) < 0) model = 0;
    }
    return modelTextForCode(model, appState.engineeringMode);
}

std::string formatTimeStamp(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                            uint16_t second) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{year}, unsigned{month},
                  unsigned{day}, unsigned{hour}, unsigned{minute}, unsigned{second});
    return text;
}
