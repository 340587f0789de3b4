// The routing matrix panel on the simulated module: every destination's ring and output enable against
// the module's own numbering, the LVDS directions and what they let the operator choose, Reset, and the
// scenario check mark of the main menu.
#include <regex>
#include <string>

#include "panel_fixture.h"
#include "qm4120.h"
#include "qm_faults.h"
#include "routing_panel.h"

namespace {

// The module's number of the destination a ring or box is labelled with.
int destinationOfLabel(const std::string& label) {
    std::smatch m;
    if (std::regex_match(label, m, std::regex(R"(PXI_TRIG\[(\d)\])"))) return std::stoi(m[1]);
    if (std::regex_match(label, m, std::regex(R"(PXI_LBL\[(\d+)\])"))) return 9 + std::stoi(m[1]);
    if (std::regex_match(label, m, std::regex(R"(LVDS_MARKER(\d))"))) return 21 + std::stoi(m[1]);
    if (std::regex_match(label, m, std::regex(R"(LVDS_AUX\[(\d)\])"))) return 26 + std::stoi(m[1]);
    if (std::regex_match(label, m, std::regex(R"(LVDS_SPARE\[(\d)\])"))) return 31 + std::stoi(m[1]);
    if (std::regex_match(label, m, std::regex(R"(LIST_ADDR\[(\d)\])"))) return 40 + std::stoi(m[1]);
    if (label == "TIMER_SYNC") return 37;
    if (label == "FRONT_SMB") return 38;
    if (label == "LIST_STB") return 48;
    if (label == "SEQ_STB") return 57;
    if (label == "SEQ_RST") return 58;
    return -1;
}

class RoutingPanel : public PanelFixture {
  protected:
    int route() const { return appState.routePanel; }
    void open() { ASSERT_TRUE(op.chooseMenu(appState.mainMenuBar, MAINMENU_SETTINGS_MATRIX)); }
    uint32_t connected(uint16_t destination) const {
        uint32_t source = 999;
        EXPECT_EQ(qm4120_getRoutingConnect(session(), destination, &source), 0);
        return source;
    }
    uint16_t enabled(uint16_t destination) const {
        uint16_t enable = 9;
        EXPECT_EQ(qm4120_getRoutingOutputEnable(session(), destination, &enable), 0);
        return enable;
    }
};

TEST_F(RoutingPanel, EveryDestinationRoundTripsThroughTheModule) {
    ASSERT_NE(boot(0x4125), 0u);
    for (auto set : {qm4120_setLvdsMarkerMode, qm4120_setLvdsAuxMode, qm4120_setLvdsDataMode})
        ASSERT_EQ(set(session(), 3), 0);
    open();
    ASSERT_TRUE(op.panelShown(route()));
    int withEnable = 0;
    for (const RoutingDestination& d : ROUTING_DESTINATIONS) {
        const std::string name = op.label(route(), d.inputRing);
        SCOPED_TRACE(name);
        const int index = destinationOfLabel(name);
        ASSERT_GE(index, 0);
        // The operator's choice reaches that destination, PXI_STAR included.
        ASSERT_TRUE(op.commitLabel(route(), d.inputRing, "PXI_STAR"));
        EXPECT_EQ(connected(index), 8u);
        ASSERT_TRUE(op.commitLabel(route(), d.inputRing, "INT_TIMER"));
        EXPECT_EQ(connected(index), 36u);
        // What the module holds comes back on a refresh.
        ASSERT_EQ(qm4120_setRoutingConnect(session(), index, 59), 0);
        if (d.outputEnable == 0) continue;
        ++withEnable;
        // A PXI line's enable box names its line in its tool tip.
        if (name.rfind("PXI_", 0) == 0) {
            std::string tip;
            GetCtrlToolTipAttribute(route(), d.outputEnable, CTRL_TOOLTIP_ATTR_TEXT, &tip);
            const std::string line =
                std::regex_replace(std::regex_replace(name, std::regex("PXI_TRIG"), "PXI Trig"),
                                   std::regex("PXI_LBL"), "PXI LBL");
            EXPECT_EQ(tip, "Output Enable for " + line);
        }
        const int before = enabled(index);
        ASSERT_TRUE(op.toggle(route(), d.outputEnable));
        EXPECT_EQ(enabled(index), before ? 0 : 1);
        ASSERT_EQ(qm4120_setRoutingOutputEnable(session(), index, before), 0);
    }
    EXPECT_EQ(withEnable, 22);
    routingPanelUpdateFromHw();
    for (const RoutingDestination& d : ROUTING_DESTINATIONS) {
        EXPECT_EQ(op.shows(route(), d.inputRing), "SEQ[0]") << op.label(route(), d.inputRing);
        if (d.outputEnable) {
            EXPECT_EQ(integer(route(), d.outputEnable), 0) << op.label(route(), d.inputRing);
        }
    }
    EXPECT_TRUE(fe.popups().empty());

    // A connection the module refuses is reported and the ring goes back to what the module holds.
    qm_fault_set("qm4120_routingSetConnect", -23, 1);
    ASSERT_TRUE(op.commitLabel(route(), ROUTE_INPUTPXITRIG2, "GND"));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(op.shows(route(), ROUTE_INPUTPXITRIG2), "SEQ[0]");
}

TEST_F(RoutingPanel, EachLvdsDirectionGovernsItsOwnRings) {
    ASSERT_NE(boot(0x4A20), 0u);
    open();
    const int markers[] = {ROUTE_INPUTLVDSMARK1, ROUTE_INPUTLVDSMARK2, ROUTE_INPUTLVDSMARK3,
                           ROUTE_INPUTLVDSMARK4};
    const int aux[] = {ROUTE_INPUTLVDSAUX0, ROUTE_INPUTLVDSAUX1, ROUTE_INPUTLVDSAUX2, ROUTE_INPUTLVDSAUX3,
                       ROUTE_INPUTLVDSAUX4};
    auto allDimmed = [&](const auto& rings, bool dimmed) {
        for (int ring : rings)
            if (op.dimmed(route(), ring) != dimmed) return false;
        return true;
    };
    struct Case {
        int modeRing;
        const char* mode;
        int32_t (*get)(uint32_t, uint16_t*);
        uint16_t value;
        bool markersOpen, auxOpen, spareOpen;  // after this step
    } const cases[] = {
        {ROUTE_LVDSMARKMODE, "O", qm4120_getLvdsMarkerMode, 3, true, false, false},
        {ROUTE_LVDSAUXMODE, "O", qm4120_getLvdsAuxMode, 3, true, true, false},
        {ROUTE_LVDSDATAMODE, "O", qm4120_getLvdsDataMode, 3, true, true, true},
        {ROUTE_LVDSMARKMODE, "T", qm4120_getLvdsMarkerMode, 1, false, true, true},
        {ROUTE_LVDSAUXMODE, "I", qm4120_getLvdsAuxMode, 0, false, false, true},
        {ROUTE_LVDSDATAMODE, "I", qm4120_getLvdsDataMode, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ui::test::describe(route(), c.modeRing) + " " + c.mode);
        ASSERT_TRUE(op.commitLabel(route(), c.modeRing, c.mode));
        EXPECT_EQ(module(c.get), c.value);
        EXPECT_TRUE(allDimmed(markers, !c.markersOpen));
        EXPECT_TRUE(allDimmed(aux, !c.auxOpen));
        EXPECT_EQ(op.dimmed(route(), ROUTE_INPUTLVDSSPARE0), !c.spareOpen);
        EXPECT_FALSE(op.dimmed(route(), ROUTE_INPUTLVDSSPARE1));
        EXPECT_FALSE(op.dimmed(route(), ROUTE_INPUTLVDSSPARE2));
    }
    // A direction that cannot be read shows as tri-state and closes its rings.
    ASSERT_EQ(qm4120_setLvdsMarkerMode(session(), 3), 0);
    qm_fault_set("qm4120_controlGetLvdsMarkerMode", -1, 1);
    routingPanelUpdateFromHw();
    EXPECT_EQ(op.shows(route(), ROUTE_LVDSMARKMODE), "T");
    EXPECT_TRUE(allDimmed(markers, true));
    routingPanelUpdateFromHw();
    EXPECT_EQ(op.shows(route(), ROUTE_LVDSMARKMODE), "O");
    EXPECT_TRUE(allDimmed(markers, false));
}

TEST_F(RoutingPanel, ResetAsksFirstAndTheScenarioCheckFollowsTheModule) {
    ASSERT_NE(boot(0x4A20), 0u);
    open();
    ASSERT_TRUE(op.commitLabel(route(), ROUTE_INPUTPXITRIG5, "INT_TRIG"));
    fe.expectConfirm(0);
    ASSERT_TRUE(op.press(route(), ROUTE_CMDRESET));
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].title, "Confirm Action");
    EXPECT_EQ(fe.popups()[0].text, "Reset routing matrix to defaults.\n\nAre you sure?");
    EXPECT_EQ(connected(5), 35u);
    fe.expectConfirm(1);
    ASSERT_TRUE(op.press(route(), ROUTE_CMDRESET));
    EXPECT_EQ(connected(5), 34u) << "the default routing drives the line from ground";
    EXPECT_EQ(op.shows(route(), ROUTE_INPUTPXITRIG5), "GND");

    const int bar = appState.mainMenuBar;
    auto scenarioOneActive = [&] {
        uint16_t list[2] = {};
        EXPECT_EQ(qm4120_getRoutingScenarioList(session(), list), 0);
        return list[0] == 1 || list[1] == 1;
    };
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_SETTINGS_ROUTE__1));
    EXPECT_TRUE(scenarioOneActive());
    EXPECT_TRUE(op.menuChecked(bar, MAINMENU_SETTINGS_ROUTE__1));
    EXPECT_EQ(op.shows(route(), ROUTE_INPUTPXILBL2), "LVDS_AUX[2]")
        << "the panel shows what the scenario routed";
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_SETTINGS_ROUTE__1));
    EXPECT_FALSE(scenarioOneActive());
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_SETTINGS_ROUTE__1));
    // A refused append leaves the mark off: it shows the module's list, not the click.
    qm_fault_set("qm4120_routingAppendScenario", -26, 1);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_SETTINGS_ROUTE__1));
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_SETTINGS_ROUTE__1));
    EXPECT_FALSE(scenarioOneActive());
}

}  // namespace
