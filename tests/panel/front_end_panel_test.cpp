// Front-end controls on the simulated module: which controls are in force for each attenuator mode and
// input, the reference LED, the optimisation checks and the engineering panel's attenuator pads.
#include <string>
#include <utility>
#include <vector>

#include "panel_fixture.h"

namespace {

constexpr int WHITE = 0xFFFFFF;
constexpr int PALE_RED = 0xD9C0C0;

class FrontEndPanel : public PanelFixture {};

TEST_F(FrontEndPanel, AttenuatorModeAndInputSourceDecideWhatIsInForce) {
    ASSERT_NE(boot(0x4B20), 0u);
    // What an operator should see: the levels matter unless the attenuators are set by hand, and then
    // only the level of the input in use still sets the expected level; the module chooses an
    // attenuation itself in the automatic modes, and the RF attenuator does nothing for the IF input.
    struct Look {
        bool rfLevelDimmed, ifLevelDimmed;
        int rfLevelColour, ifLevelColour;
        bool rfAttenDimmed, ifAttenDimmed;
        int rfAttenColour;
    };
    struct Case {
        int source, mode;
        Look look;
    };
    const Case cases[] = {
        {1, 0, {false, true, WHITE, PALE_RED, true, true, WHITE}},
        {1, 1, {false, true, WHITE, PALE_RED, false, true, WHITE}},
        {1, 2, {false, true, WHITE, PALE_RED, false, false, WHITE}},
        {0, 0, {true, false, PALE_RED, WHITE, true, true, PALE_RED}},
        {0, 1, {true, false, PALE_RED, WHITE, true, true, PALE_RED}},
        {0, 2, {true, false, PALE_RED, WHITE, false, false, PALE_RED}},
    };
    const char* const modeText[] = {"Auto", "Auto IF", "Manual"};
    for (const Case& c : cases) {
        SCOPED_TRACE("source " + std::to_string(c.source) + " mode " + std::to_string(c.mode));
        if (integer(main(), MAINPANEL_BINARY_INPUT_SOURCE) != c.source) {
            ASSERT_TRUE(op.toggle(main(), MAINPANEL_BINARY_INPUT_SOURCE));
        }
        ASSERT_TRUE(op.commit(main(), MAINPANEL_RING_ATTEN_CONFIG, c.mode));
        EXPECT_EQ(module(qm4120_getInputSource), c.source);
        EXPECT_EQ(module(qm4120_getFrontEndConfigMode), c.mode);
        EXPECT_EQ(rowCell(3), modeText[c.mode]);
        const Look& l = c.look;
        EXPECT_EQ(op.dimmed(main(), MAINPANEL_RF_INPUT_LEVEL), l.rfLevelDimmed);
        EXPECT_EQ(op.dimmed(main(), MAINPANEL_IF_INPUT_LEVEL), l.ifLevelDimmed);
        EXPECT_EQ(op.bgColor(main(), MAINPANEL_RF_INPUT_LEVEL), l.rfLevelColour);
        EXPECT_EQ(op.bgColor(main(), MAINPANEL_IF_INPUT_LEVEL), l.ifLevelColour);
        EXPECT_EQ(op.dimmed(main(), MAINPANEL_RF_ATTEN), l.rfAttenDimmed);
        EXPECT_EQ(op.dimmed(main(), MAINPANEL_IF_ATTEN), l.ifAttenDimmed);
        EXPECT_EQ(op.bgColor(main(), MAINPANEL_RF_ATTEN), l.rfAttenColour);
        EXPECT_EQ(op.bgColor(main(), MAINPANEL_IF_ATTEN), WHITE);
        // The IF input uses no RF conversion: the whole frequency group rests.
        for (int control : {MAINPANEL_RF_FREQ, MAINPANEL_LO_FREQ, MAINPANEL_LO_OFFSET, MAINPANEL_LO_POSITION,
                            MAINPANEL_RING_FREQ_CONTROL, MAINPANEL_FREQ_STEP_HZ})
            EXPECT_EQ(op.dimmed(main(), control), c.source == 0) << ui::test::describe(main(), control);
        // Whatever is dimmed still shows what the module chose.
        EXPECT_EQ(integer(main(), MAINPANEL_RF_ATTEN), module(qm4120_getRfAttenuation));
        EXPECT_EQ(integer(main(), MAINPANEL_IF_ATTEN), module(qm4120_getIfAttenuation));
    }
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(FrontEndPanel, ReferenceFilterAndDcOffsetReachTheModule) {
    ASSERT_NE(boot(0x4120), 0u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_EXT_REF, "Free Run"));
    EXPECT_EQ(module(qm4120_getExternalReference), 2);
    EXPECT_TRUE(op.dimmed(main(), MAINPANEL_LED_REF_LOCKED_STATUS));
    EXPECT_EQ(op.ledColor(main(), MAINPANEL_LED_REF_LOCKED_STATUS), 0xC0C0C0);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_EXT_REF, "Lock to 10MHz"));
    EXPECT_EQ(module(qm4120_getExternalReference), 0);
    EXPECT_FALSE(op.dimmed(main(), MAINPANEL_LED_REF_LOCKED_STATUS));

    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_FILTER_BYPASS, "Enable"));
    uint16_t bypass = 0;
    ASSERT_GE(qm4120_getIfFilterBypass(session(), &bypass), 0);
    EXPECT_EQ(bypass, 1);
    for (int on : {1, 0}) {
        if (integer(main(), MAINPANEL_CHKDCOFFSET) != on) {
            ASSERT_TRUE(op.toggle(main(), MAINPANEL_CHKDCOFFSET));
        }
        EXPECT_EQ(module(qm4120_getDcOffsetFilter), on);
    }
    // A filter switched behind the panel shows after the next front-end refresh.
    ASSERT_GE(qm4120_setDcOffsetFilter(session(), 1), 0);
    refreshFrontEndControls();
    EXPECT_EQ(integer(main(), MAINPANEL_CHKDCOFFSET), 1);
}

TEST_F(FrontEndPanel, OptimizationChecksFollowTheModule) {
    const int bar = appState.mainMenuBar;
    ASSERT_NE(boot(0x4A20), 0u);
    using Getter = int32_t (*)(uint32_t, uint16_t*);
    const std::pair<int, Getter> items[] = {
        {MAINMENU_SETTINGS_OPT_AUTTMPOPT, qm4120_getTemperatureOptimization},
        {MAINMENU_SETTINGS_OPT_FLATMODE, qm4120_getAutoFlatnessMode}};
    for (auto [item, get] : items) {
        const uint16_t before = module(get);
        EXPECT_EQ(op.menuChecked(bar, item), before == 1);
        ASSERT_TRUE(op.chooseMenu(bar, item));
        EXPECT_EQ(module(get), before == 1 ? 0 : 1);
        EXPECT_EQ(op.menuChecked(bar, item), before != 1);
    }
    ASSERT_GE(qm4120_setAutoFlatnessMode(session(), 0), 0);
    refreshPanelFromInstrument();
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_SETTINGS_OPT_FLATMODE));
    // A state that cannot be read shows unchecked, without a popup.
    qm_fault_set("qm4120_caldataGetTempMeasurementAllowed", -3, -1);
    refreshPanelFromInstrument();
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_SETTINGS_OPT_AUTTMPOPT));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}

// RF pads per model, in bit order, with their sizes in dB.
struct PadLayout {
    uint16_t model;
    std::vector<std::pair<int, int>> rfPads;
};

class EngineeringPads : public PanelFixture, public ::testing::WithParamInterface<PadLayout> {};

TEST_P(EngineeringPads, PadsAndAttenuationsShowOnBothPanels) {
    const PadLayout layout = GetParam();
    ASSERT_NE(boot(layout.model), 0u);
    const int eng = appState.engPanel;
    DisplayPanel(eng);
    // Opening the engineering panel shows the pad boxes of the booted model's layout.
    for (auto [box, padDb] : layout.rfPads) SetCtrlAttribute(eng, box, ATTR_VISIBLE, 1);
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RING_ATTEN_CONFIG, 2));

    // 12 dB, a whole number of steps on every model, shows as the pads that make it up.
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_ATTEN, 12));
    int dB = 0;
    for (auto [box, padDb] : layout.rfPads) dB += integer(eng, box) ? padDb : 0;
    EXPECT_EQ(dB, 12);

    // Engineering panel: check the largest and the smallest pad only.
    for (auto [box, padDb] : layout.rfPads) {
        if (integer(eng, box)) {
            ASSERT_TRUE(op.toggle(eng, box));
        }
    }
    const auto [largestBox, largest] = layout.model == 0x4125 ? layout.rfPads.front() : layout.rfPads.back();
    const auto [smallestBox, smallest] =
        layout.model == 0x4125 ? layout.rfPads.back() : layout.rfPads.front();
    ASSERT_TRUE(op.toggle(eng, largestBox));
    ASSERT_TRUE(op.toggle(eng, smallestBox));
    EXPECT_EQ(module(qm4120_getRfAttenuation), largest + smallest);
    EXPECT_EQ(integer(main(), MAINPANEL_RF_ATTEN), largest + smallest);
    EXPECT_EQ(integer(eng, ENGPANEL_RF_ATTEN), largest + smallest);

    // An attenuation entered on the engineering panel sets the pads that make it up.
    ASSERT_TRUE(op.commit(eng, ENGPANEL_IF_ATTEN, 13));  // 1 + 4 + 8 dB
    EXPECT_EQ(module(qm4120_getIfAttenuation), 13);
    EXPECT_EQ(integer(main(), MAINPANEL_IF_ATTEN), 13);
    const int ifBoxes[] = {ENGPANEL_CHECK_IFATTEN1DBPAD,   ENGPANEL_CHECK_IFATTEN2DBPAD,
                           ENGPANEL_CHECK_IFATTEN4DBPAD,   ENGPANEL_CHECK_IFATTEN8DBPAD,
                           ENGPANEL_CHECK_IFATTEN10DBAPAD, ENGPANEL_CHECK_IFATTEN10DBBPAD};
    const int ifPadDb[] = {1, 2, 4, 8, 10, 10};
    int ifDb = 0;
    for (int i = 0; i < 6; ++i) ifDb += integer(eng, ifBoxes[i]) ? ifPadDb[i] : 0;
    EXPECT_EQ(ifDb, 13);
    EXPECT_TRUE(fe.popups().empty());
}

INSTANTIATE_TEST_SUITE_P(Models, EngineeringPads,
                         ::testing::Values(PadLayout{0x4120,
                                                     {{ENGPANEL_CHK_RFATTN4DBPAD4120, 4},
                                                      {ENGPANEL_CHK_RFATTN8DBPAD4120, 8},
                                                      {ENGPANEL_CHK_RFATTN16DBPAD4120, 16}}},
                                           PadLayout{0x4125,
                                                     {{ENGPANEL_CHK_RFATTN16DBPAD4125, 16},
                                                      {ENGPANEL_CHK_RFATTN8DBPAD4125, 8},
                                                      {ENGPANEL_CHK_RFATTN4DBPAD4125, 4},
                                                      {ENGPANEL_CHK_RFATTN2DBPAD4125, 2},
                                                      {ENGPANEL_CHK_RFATTN1DBPAD4125, 1}}}),
                         [](const auto& info) {
                             return info.param.model == 0x4125 ? std::string("m4125") : std::string("m4120");
                         });

TEST_F(FrontEndPanel, EngineeringReferenceAndDiagnostics) {
    ASSERT_NE(boot(0x4125), 0u);
    const int eng = appState.engPanel;
    DisplayPanel(eng);
    ASSERT_TRUE(op.press(eng, ENGPANEL_CMD_IF_REF_STATE));
    uint16_t locked = 0;
    uint16_t latched = 0;
    ASSERT_GE(qm4120_getIfRefState(session(), &locked, &latched), 0);
    EXPECT_EQ(op.shows(eng, ENGPANEL_STR_REF_LOCKED), locked ? "True" : "False");
    EXPECT_EQ(op.shows(eng, ENGPANEL_STR_REF_LOCKED_LATCH), latched ? "True" : "False");

    ASSERT_TRUE(op.press(eng, ENGPANEL_GETTEMP));
    int16_t temperature = 0;
    ASSERT_GE(qm4120_ADCReadTemp(session(), 0, 1, &temperature), 0);
    EXPECT_EQ(integer(eng, ENGPANEL_ENGGETTEMP), temperature);

    // A PLL mode the module refuses is reported and noted.
    qm_fault_set("qm4120_controlSetIfPllMode", -4, 1);
    ASSERT_TRUE(op.commitIndex(eng, ENGPANEL_RING_PLL_MODE, 2));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_LT(appState.lastStatus, 0);
}

}  // namespace
