// Trigger group of the main panel: source family and line, type, polarity, pre- and post-trigger samples,
// offset delay, the timer and the internal level trigger. It also keeps an LVDS group's direction in step
// with an LVDS trigger source and chooses which capture buttons are offered.
#ifndef QM_PANEL_TRIGGER_H
#define QM_PANEL_TRIGGER_H

#include <cstdint>

// Trigger source codes understood by the module.
constexpr uint16_t TRIG_SOURCE_LVDS_MARKER1 = 22;
constexpr uint16_t TRIG_SOURCE_SOFTWARE = 32;
constexpr uint16_t TRIG_SOURCE_TIMER = 34;
constexpr uint16_t TRIG_SOURCE_INTERNAL = 35;

// One family of the CAPT_TRIG ring: its first code and how many lines (CAPT_TRIG_BIT items) it has; a
// family without lines has just the one code.
struct TriggerFamily {
    const char* text;
    uint16_t base;
    uint16_t lines;
    uint16_t firstLineLabel;  // the LVDS markers are numbered from 1 on the panel
};
constexpr int TRIGGER_FAMILY_COUNT = 10;
extern const TriggerFamily TRIGGER_FAMILIES[TRIGGER_FAMILY_COUNT];

// Family (position in CAPT_TRIG) of a source code, or -1 when the code belongs to none.
int triggerFamilyOfCode(uint16_t code);

// Start-up: the rings for the software trigger and the not-booted trigger controls.
void initTriggerControls();

// Rebuilds CAPT_TRIG and CAPT_TRIG_BIT for a source code and shows the groups that family uses. A code
// of no family leaves the rings as they are and is reported. Returns the family, or -1.
int fillTriggerSourceRings(uint16_t code);
// The same with the module's source, also selecting its line.
void refreshTriggerSource();
// Capture buttons and trigger parameters for the module's source, read back from the module.
void refreshTriggerControls();

void showTimerControls(bool show);
void showIntTrigControls(bool show);
void refreshIntTrigControls();

int cmdCaptTrig(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCaptTrigBit(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCaptTrigType(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCaptTrigEGPolarity(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int cmdCaptTrigPreSamples(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int cmdCaptTrigOffsDel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdTimerPeriod(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdTimerPhase(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdIntTrigMode(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdIntTrigAbsThreshold(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CmdIntTrigAbsTc(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdIntTrigRelThreshold(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CmdIntTrigSlowTc(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdIntTrigFastTc(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerTriggerCallbacks();

#endif
