// Front end of the main panel: input source, attenuator mode and the two attenuations, reference and
// filters, the optimisation menu, and the dimming and colours that show which controls are in force.
#ifndef QM_PANEL_FRONT_END_H
#define QM_PANEL_FRONT_END_H

#include <cstdint>

constexpr uint16_t ATTEN_MODE_AUTO = 0;
constexpr uint16_t ATTEN_MODE_AUTO_IF = 1;
constexpr uint16_t ATTEN_MODE_MANUAL = 2;

// Start-up: the optimisation menu's check marks.
void initFrontEndControls();

// Re-reads every front-end value from the module into the main panel (and the active channel's row of
// the channel table) and shows which controls are in force.
void refreshFrontEndControls();
// Attenuation values and limits, read quietly (part of the full panel refresh).
void refreshAttenuationControls();

// Dimming and colour of the level and attenuation entries for an attenuator mode and input source.
void setLevelControlAttributes(int attenMode, int inputSource);

// Check marks of the Optimization menu from the module (cleared when they cannot be read).
void refreshOptimizationMenu();

// After a boot: the range and step of both attenuators (they differ between models).
void configureAttenuationLimits();

int cmdInputSource(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdAttenConfig(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdRFAtten(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdIFAtten(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdExternalReference(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int cmdFilterBypass(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdDcOffsetFilter(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
void cmdAutoTempOptimize(int menuBar, int menuItem, void* callbackData, int panel);
void cmdAutoFlatnessMode(int menuBar, int menuItem, void* callbackData, int panel);
void cmdOptimizeTemp(int menuBar, int menuItem, void* callbackData, int panel);

void registerFrontEndCallbacks();

#endif
