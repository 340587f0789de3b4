// Routing matrix defaults and scenarios, trigger sources and timer, and list mode with its timer dwell.

#include "fixture.h"

namespace {

using RoutingTest = SimTest;
using ListModeTest = SimTest;
using ListTimerTest = ClockedSimTest;
using TriggerTest = SimTest;

constexpr uint16_t PXI_LBL0 = 9;
constexpr uint32_t LVDS_AUX0 = 26;
constexpr uint32_t GND = 34;

uint32_t source(uint32_t vi, uint16_t destination) {
    uint32_t s = 0xFFFF;
    EXPECT_EQ(qm4120_routingGetConnect(vi, destination, &s), 0) << destination;
    return s;
}
uint16_t enabled(uint32_t vi, uint16_t destination) {
    uint16_t e = 9;
    EXPECT_EQ(qm4120_routingGetOutputEnable(vi, destination, &e), 0) << destination;
    return e;
}

TEST_F(RoutingTest, DefaultRoutingDrivesNothingOntoTheBackplane) {
    Module m(0x4A20);
    for (uint16_t d = 0; d <= 21; ++d) {
        if (d == 8) continue;  // PXI_STAR is no destination
        EXPECT_EQ(source(m.vi(), d), GND) << d;
        EXPECT_EQ(enabled(m.vi(), d), 0) << d;
    }
    EXPECT_EQ(source(m.vi(), 22), 39u) << "LVDS_MARKER1 shows the capture busy signal";
    EXPECT_EQ(source(m.vi(), 40), PXI_LBL0) << "list address bit 0 from PXI_LBL[0]";
    uint32_t s = 0;
    uint16_t e = 0;
    EXPECT_EQ(qm4120_routingGetConnect(m.vi(), 8, &s), -22);
    EXPECT_EQ(qm4120_routingSetConnect(m.vi(), 0, 33), -23);
    EXPECT_EQ(qm4120_routingSetOutputEnable(m.vi(), 22, 1), -24) << "LVDS lines follow their direction mode";
    EXPECT_EQ(qm4120_routingGetOutputEnable(m.vi(), 38, &e), 0) << "the front SMB has an output enable";
}

TEST_F(RoutingTest, ScenarioOneCarriesTheLvdsAuxLinesOntoTheLocalBusAndBack) {
    Module m(0x4125);
    uint16_t size = 9;
    uint16_t list[2] = {9, 9};
    ASSERT_EQ(qm4120_routingAppendScenario(m.vi(), 1), 0);
    for (uint16_t line = 0; line < 5; ++line) {
        EXPECT_EQ(source(m.vi(), PXI_LBL0 + line), LVDS_AUX0 + line);
        EXPECT_EQ(enabled(m.vi(), PXI_LBL0 + line), 1);
    }
    EXPECT_EQ(source(m.vi(), PXI_LBL0 + 5), GND) << "only five auxiliary lines";
    ASSERT_EQ(qm4120_routingGetScenariosSize(m.vi(), &size), 0);
    ASSERT_EQ(qm4120_routingGetScenarios(m.vi(), list), 0);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list[1], 0) << "the list ends early at a 0";
    EXPECT_EQ(qm4120_routingAppendScenario(m.vi(), 1), 16);

    ASSERT_EQ(qm4120_routingRemoveScenario(m.vi(), 1), 0);
    EXPECT_EQ(source(m.vi(), PXI_LBL0), GND);
    EXPECT_EQ(enabled(m.vi(), PXI_LBL0), 0);
    EXPECT_EQ(got(qm4120_routingGetScenariosSize, m.vi()), 0);
    EXPECT_EQ(qm4120_routingRemoveScenario(m.vi(), 1), 17);
    EXPECT_EQ(qm4120_routingAppendScenario(m.vi(), 4), -25);
}

TEST_F(RoutingTest, ScenarioZeroRestoresTheDefaults) {
    Module m(0x4B20);
    ASSERT_EQ(qm4120_routingSetConnect(m.vi(), 3, 35), 0);
    ASSERT_EQ(qm4120_routingSetOutputEnable(m.vi(), 3, 1), 0);
    ASSERT_EQ(qm4120_routingSetConnect(m.vi(), 22, 59), 0);
    ASSERT_EQ(qm4120_routingSetScenario(m.vi(), 1), 0);
    EXPECT_EQ(source(m.vi(), 3), GND) << "a scenario starts from the default routing";
    EXPECT_EQ(source(m.vi(), PXI_LBL0 + 2), LVDS_AUX0 + 2);
    ASSERT_EQ(qm4120_routingSetConnect(m.vi(), 3, 35), 0);
    ASSERT_EQ(qm4120_routingSetScenario(m.vi(), 0), 0);
    EXPECT_EQ(source(m.vi(), 3), GND);
    EXPECT_EQ(enabled(m.vi(), 3), 0);
    EXPECT_EQ(source(m.vi(), 22), 39u);
    EXPECT_EQ(source(m.vi(), PXI_LBL0 + 2), GND);
    EXPECT_EQ(got(qm4120_routingGetScenariosSize, m.vi()), 0);
    EXPECT_EQ(qm4120_routingSetScenario(m.vi(), 7), -25);
}

TEST_F(TriggerTest, SourcesHaveFamiliesAndTypes) {
    Module m(0x4A20);
    struct Case {
        uint16_t source;
        uint16_t type;
    };
    for (const Case c :
         {Case{32, 0}, Case{0, 1}, Case{21, 1}, Case{31, 1}, Case{34, 2}, Case{35, 3}, Case{36, 1}}) {
        ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), c.source), 0) << c.source;
        EXPECT_EQ(got(qm4120_controlGetTriggerSourceType, m.vi()), c.type) << c.source;
    }
    EXPECT_EQ(qm4120_controlSetTriggerSource(m.vi(), 33), -27);
    EXPECT_EQ(qm4120_controlSetTriggerSource(m.vi(), 37), -27);
    EXPECT_EQ(got(qm4120_controlGetTriggerSource, m.vi()), 36);
    EXPECT_EQ(qm4120_controlSetTriggerType(m.vi(), 2), -28);
}

TEST_F(TriggerTest, TimerRunsOnATenthOfAMicrosecondAndPhaseStaysInsideThePeriod) {
    Module m(0x4125);  // ADC clock 103.68 MHz
    ASSERT_EQ(qm4120_controlSetTimerPeriod(m.vi(), 1000.04), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_controlGetTimerPeriod, m.vi()), 1000.0);
    ASSERT_EQ(qm4120_controlSetTimerPhase(m.vi(), 5000), 0);
    ASSERT_EQ(qm4120_controlSetTimerPeriod(m.vi(), 10.0), 0);
    EXPECT_EQ(got(qm4120_controlGetTimerPhase, m.vi()), 1036)
        << "a shorter period pulls the phase in: 1036.8 clocks in 10 us";
    EXPECT_EQ(qm4120_controlSetTimerPhase(m.vi(), 2000), 2);
    EXPECT_EQ(qm4120_controlSetTimerPeriod(m.vi(), 0.01), 1);
    EXPECT_EQ(qm4120_controlSetIntTriggerRelSlowTimeConst(m.vi(), 0.904), 0);
    EXPECT_NEAR(got(qm4120_controlGetIntTriggerRelSlowTimeConst, m.vi()), 0.90, 1e-12);
}

// The settings that read back are checked through the list-mode panel; here what the module refuses or
// clamps.
TEST_F(ListModeTest, RefusesWhatItLacksAndClampsTheDwell) {
    Module m(0x4125);
    EXPECT_EQ(qm4120_controlSetListCountStartStop(m.vi(), 3, 128), -5);
    EXPECT_EQ(qm4120_controlSetListAddrSource(m.vi(), 3), -39);
    EXPECT_EQ(got(qm4120_controlGetListAddrSource, m.vi()), 0);
    EXPECT_EQ(qm4120_controlSetListTimerDwell(m.vi(), 700000000.0), 2);
}

TEST_F(ListTimerTest, TheTimerStepsTheCounterThroughItsRange) {
    Module m(0x4B20);
    ASSERT_EQ(qm4120_controlSetListTimerDwell(m.vi(), 100.0), 0);
    ASSERT_EQ(qm4120_controlSetListCountStartStop(m.vi(), 5, 7), 0);
    ASSERT_EQ(qm4120_controlSetListCounterStrobe(m.vi(), 1), 0);
    ASSERT_EQ(qm4120_controlSetListAddrSource(m.vi(), 2), 0);
    clock.seconds += 5.05e-3;
    uint16_t address = 0, src = 0, start = 0, stop = 0;
    uint32_t count = 0;
    ASSERT_EQ(qm4120_controlGetListAddrInfo(m.vi(), &address, &src, &start, &stop, &count), 0);
    EXPECT_EQ(count, 50u) << "5.05 ms of 100 us dwells";
    EXPECT_EQ(address, 5 + 50 % 3) << "5, 6, 7, 5, ...";
    EXPECT_EQ(src, 2);
    // Back in manual the counter stops.
    ASSERT_EQ(qm4120_controlSetListAddrSource(m.vi(), 0), 0);
    EXPECT_EQ(got(qm4120_controlGetListAddrCount, m.vi()), 0u);
}

}  // namespace
