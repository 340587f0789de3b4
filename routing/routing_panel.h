// Routing matrix panel (ROUTE of "qm4120_sfp.uir"): which source signal drives each routable destination
// of the module, the output enables of the backplane and front lines, and the LVDS direction modes.
#ifndef QM_ROUTING_ROUTING_PANEL_H
#define QM_ROUTING_ROUTING_PANEL_H

#include <cstdint>

// One routable destination and the controls that show it.
struct RoutingDestination {
    uint16_t index;    // destination index in the module's routing space
    int inputRing;     // ring of ROUTE choosing its source
    int outputEnable;  // check box of ROUTE, or 0 when the destination has no output enable
};

constexpr int ROUTING_DESTINATION_COUNT = 45;
constexpr int ROUTING_SOURCE_COUNT = 54;

// The destinations in panel order: the 21 PXI lines, the list inputs, the front SMB with the counter and
// timer inputs, the LVDS markers, auxiliary lines and spare lines.
extern const RoutingDestination ROUTING_DESTINATIONS[ROUTING_DESTINATION_COUNT];

// A source offered in every input ring.
struct RoutingSource {
    const char* label;
    int value;
};
extern const RoutingSource ROUTING_SOURCES[ROUTING_SOURCE_COUNT];

// LVDS direction mode values.
constexpr int LVDS_MODE_INPUT = 0;
constexpr int LVDS_MODE_TRISTATE = 1;
constexpr int LVDS_MODE_OUTPUT = 3;

// Destination shown by a control of ROUTE (input ring or output enable); nullptr for any other control.
const RoutingDestination* routingDestinationOfControl(int control);

// Start-up preparation: fills every input ring with the sources and the three mode rings with their
// directions, and attaches the tool tips.
void routingPanelInit(int routePanel);

// Re-reads the whole matrix into the panel (nothing while no module is booted).
void routingPanelUpdateFromHw();
// A settings load shows an LVDS direction before the module has it: the mode ring and which of the
// group's input rings can be chosen (only those of an output group).
void routingPanelShowLvdsMode(int modeRing, uint16_t mode);

// Check mark of the "LVDS_AUX[] -> PXI_LBL[]" scenario from the module's active scenarios.
void routingMenuUpdateScenario();

// The main menu also shows the LVDS directions; the shell installs the refresher of those check marks,
// run after each direction changed here.
void setLvdsMenuRefresher(void (*refresher)());

void CmdRoutingMatrix(int menuBar, int menuItem, void* callbackData, int panel);
void cmdRouting1(int menuBar, int menuItem, void* callbackData, int panel);
int CmdRoutingInputChanged(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CmdRoutingOeChanged(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CmdRoutLvdsMarkMode(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CmdRoutLvdsAuxMode(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdRoutLvdsDataMode(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CmdRoutingReset(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CmdRoutingClose(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerRoutingCallbacks();

#endif
