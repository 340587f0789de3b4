// Shared tables of the settings files (see settings_controls.h).
#include "settings_controls.h"

#include "acquisition_modes.h"
#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "trigger.h"
#include "userint.h"

const ModeRatio MODE_RATIOS[MODE_RATIO_COUNT] = {
    {MODN_UMTS, SettingsItem::ModUmtsDecRatio, 2, qm4120_setUmtsDecimationRatio},
    {MODN_GSM, SettingsItem::ModGsmDecRatio, 1, qm4120_setGsmDecimationRatio},
    {MODN_CDMA2000_1X, SettingsItem::ModCdma20001xDecRatio, 1, qm4120_setCdma20001xDecimationRatio},
    {MODN_EMU7706, SettingsItem::ModEmu7706DecRatio, 16, qm4120_setEmu7706DecimationRatio},
    {MODN_GENERIC, SettingsItem::ModGenericDecRatio, 2, qm4120_setGenericDecimationRatio},
};

const uint16_t FILE_ROUTING_ORDER[FILE_ROUTING_COUNT] = {
    0,  1,  2,  3,  4,  5,  6,  7,                       // PXI_TRIG[0..7]
    9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,  // PXI_LBL[0..12]
    22, 23, 24, 25,                                      // LVDS_MARKER1..4
    26, 27, 28, 29, 30,                                  // LVDS_AUX[0..4]
    31, 32, 33,                                          // LVDS_SPARE[0..2]
    38, 57, 58, 37,                                      // FRONT_SMB, SEQ_STB, SEQ_RST, TIMER_SYNC
    40, 41, 42, 43, 44, 45, 46, 48,                      // LIST_ADDR[0..6], LIST_STB
};

const LvdsModeGroup LVDS_MODE_GROUP[LVDS_MODE_GROUPS] = {
    {SettingsItem::LvdsDataMode, MAINMENU_SETTINGS_LVDS_DATA_OUT, MAINMENU_SETTINGS_LVDS_DATA_IN,
     MAINMENU_SETTINGS_LVDS_DATA_TRI, ROUTE_LVDSDATAMODE, qm4120_setLvdsDataMode},
    {SettingsItem::LvdsAuxMode, MAINMENU_SETTINGS_LVDS_AUX_OUT, MAINMENU_SETTINGS_LVDS_AUX_IN,
     MAINMENU_SETTINGS_LVDS_AUX_TRI, ROUTE_LVDSAUXMODE, qm4120_setLvdsAuxMode},
    {SettingsItem::LvdsMarkerMode, MAINMENU_SETTINGS_LVDS_MKR_OUT, MAINMENU_SETTINGS_LVDS_MKR_IN,
     MAINMENU_SETTINGS_LVDS_MKR_TRI, ROUTE_LVDSMARKMODE, qm4120_setLvdsMarkerMode},
};

uint16_t triggerCodeOfRings(int source, int line) {
    if (source < 0 || source >= TRIGGER_FAMILY_COUNT) return TRIGGER_FAMILIES[0].base;
    const TriggerFamily& f = TRIGGER_FAMILIES[source];
    if (line >= 0 && line < f.lines) return static_cast<uint16_t>(f.base + line);
    return f.base;
}

bool triggerRingsOfCode(int32_t code, int* source, int* line) {
    if (code < 0 || code > UINT16_MAX) return false;
    const int family = triggerFamilyOfCode(static_cast<uint16_t>(code));
    if (family < 0) return false;
    *source = family;
    const TriggerFamily& f = TRIGGER_FAMILIES[family];
    *line = f.lines ? code - f.base : -1;
    return true;
}

const ModeRatio* modeRatioOf(uint16_t mode) {
    for (const ModeRatio& m : MODE_RATIOS)
        if (m.mode == mode) return &m;
    return nullptr;
}

const RoutingDestination* routingDestinationOfIndex(uint16_t index) {
    for (const RoutingDestination& d : ROUTING_DESTINATIONS)
        if (d.index == index) return &d;
    return nullptr;
}

int checkedLvdsMode(const LvdsModeGroup& group) {
    const int bar = appState.mainMenuBar;
    const struct {
        int item;
        int mode;
    } choices[] = {{group.outItem, LVDS_MODE_OUTPUT},
                   {group.inItem, LVDS_MODE_INPUT},
                   {group.triItem, LVDS_MODE_TRISTATE}};
    for (const auto& c : choices) {
        int checked = 0;
        if (GetMenuBarAttribute(bar, c.item, ATTR_CHECKED, &checked) >= 0 && checked) return c.mode;
    }
    return -1;
}
