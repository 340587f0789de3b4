// What a settings file shares with the panels it saves: the trigger source code of the two trigger
// rings, the decimation ratios of the modulation modes, the order of the routing destinations and the
// LVDS direction groups of the Settings menu and the routing panel.
#ifndef QM_SETTINGS_SETTINGS_CONTROLS_H
#define QM_SETTINGS_SETTINGS_CONTROLS_H

#include <cstdint>

#include "routing_panel.h"
#include "settings_file.h"

// Trigger source code of a CAPT_TRIG position and CAPT_TRIG_BIT position. A line outside the family's
// lines counts as its first line.
uint16_t triggerCodeOfRings(int source, int line);

// Ring positions of a code: *line is -1 for a family without lines (the line ring is left as it is).
// False for a code of no family (both rings are left as they are).
bool triggerRingsOfCode(int32_t code, int* source, int* line);

// The five modulation modes in ring order, with the settings item of each one's decimation ratio.
struct ModeRatio {
    uint16_t mode;
    SettingsItem item;
    uint32_t fixedRatio;  // saved, and pushed, for every mode but the one in force
    int32_t (*set)(uint32_t session, uint32_t ratio);
};
constexpr int MODE_RATIO_COUNT = 5;
extern const ModeRatio MODE_RATIOS[MODE_RATIO_COUNT];
const ModeRatio* modeRatioOf(uint16_t mode);

// Routing destinations in the order of the file: the 21 PXI lines, the LVDS markers, auxiliary and spare
// lines, the front SMB, counter step, counter reset and timer synchronisation, then the list address
// lines and the list strobe.
constexpr int FILE_ROUTING_COUNT = ROUTING_DESTINATION_COUNT;
extern const uint16_t FILE_ROUTING_ORDER[FILE_ROUTING_COUNT];
constexpr int PXI_ROUTING_LINES = 21;
constexpr uint16_t ROUTING_FRONT_SMB = 38;
const RoutingDestination* routingDestinationOfIndex(uint16_t index);

// The three LVDS direction groups: the items of their Settings menu entry, the routing panel's mode
// ring, and the module's setter.
struct LvdsModeGroup {
    SettingsItem item;
    int outItem;
    int inItem;
    int triItem;
    int routeRing;
    int32_t (*set)(uint32_t session, uint16_t mode);
};
constexpr int LVDS_MODE_GROUPS = 3;
extern const LvdsModeGroup LVDS_MODE_GROUP[LVDS_MODE_GROUPS];
// The mode checked in a group's menu entry, or -1 when none is.
int checkedLvdsMode(const LvdsModeGroup& group);

#endif
