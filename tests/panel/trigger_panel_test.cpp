// The trigger group driven as an operator would: each source family, its line ring and groups, the
// LVDS directions an LVDS source needs, the sample control for edge and gate, which changes end a
// running capture, and a source code the module should never report.
#include <string>

#include "panel_fixture.h"
#include "qm4120.h"
#include "qm_faults.h"
#include "trigger.h"

namespace {

// Counts the presses of the capture buttons the trigger group presses on the operator's behalf.
int stopPresses = 0;
int disarmPresses = 0;
int countPress(int, int, int event, void* presses, int, int) {
    if (event == EVENT_COMMIT) ++*static_cast<int*>(presses);
    return 0;
}

class TriggerPanel : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        stopPresses = disarmPresses = 0;
    }
    void countCaptureButtons() {
        InstallCtrlCallback(main(), MAINPANEL_CMD_STOP, countPress, &stopPresses);
        InstallCtrlCallback(main(), MAINPANEL_CMD_DISARM, countPress, &disarmPresses);
    }
    bool shown(int control) const { return op.visible(main(), control); }
    int items(int control) const {
        int n = -1;
        GetNumListItems(main(), control, &n);
        return n;
    }
};

TEST_F(TriggerPanel, EachFamilySelectsItsFirstCodeAndShowsItsControls) {
    ASSERT_NE(boot(0x4A20), 0u);
    countCaptureButtons();
    // The module starts with the LVDS markers and data lines tri-stated and the auxiliary lines as inputs.
    struct Case {
        const char* family;
        uint16_t code;
        int lines;  // 0: no line ring
        bool timer, intTrig, armed;
        const char* lvdsPopup;  // the direction switched to input, or nullptr
    } const cases[] = {
        {"PXI_TRIG", 0, 8, false, false, true, nullptr},
        {"PXI_STAR", 8, 0, false, false, true, nullptr},
        {"PXI_LBL", 9, 13, false, false, true, nullptr},
        {"LVDS_M", 22, 4, false, false, true, "LVDS Marker Mode"},
        {"LVDS_A", 26, 5, false, false, true, nullptr},
        {"LVDS_S", 31, 0, false, false, true, "LVDS Data Mode"},
        {"FRONT_SMB", 36, 0, false, false, true, nullptr},
        {"INT_TIMER", 34, 0, true, false, true, nullptr},
        {"INT_TRIG", 35, 0, false, true, true, nullptr},
        {"SW_TRIG", 32, 0, false, false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        fe.clearPopups();
        captureStopRequested = captureAbortRequested = 0;
        const int stops = stopPresses;
        ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, c.family));
        EXPECT_EQ(module(qm4120_getTriggerSource), c.code);
        EXPECT_EQ(stopPresses, stops + 1);
        EXPECT_EQ(captureStopRequested, 1);
        EXPECT_EQ(captureAbortRequested, 1);
        EXPECT_EQ(shown(MAINPANEL_CAPT_TRIG_BIT), c.lines > 0);
        if (c.lines > 0) {
            EXPECT_EQ(items(MAINPANEL_CAPT_TRIG_BIT), c.lines);
        }
        EXPECT_EQ(shown(MAINPANEL_TIMERPERIOD), c.timer);
        EXPECT_EQ(shown(MAINPANEL_TIMERPHASE), c.timer);
        EXPECT_EQ(shown(MAINPANEL_INTTRIGMODE), c.intTrig);
        EXPECT_EQ(shown(MAINPANEL_TRIGABSTHRESHOLD), c.intTrig);
        EXPECT_FALSE(shown(MAINPANEL_TRIGRELTHRESHOLD)) << "the module starts in the absolute mode";
        EXPECT_EQ(shown(MAINPANEL_CMD_ARM), c.armed);
        EXPECT_EQ(shown(MAINPANEL_CMD_DISARM), c.armed);
        EXPECT_EQ(shown(MAINPANEL_CMD_SINGLE), !c.armed);
        EXPECT_EQ(shown(MAINPANEL_CMD_STOP), !c.armed);
        for (int control : {MAINPANEL_CAPT_TRIG_TYPE, MAINPANEL_CAPT_TRIG_EG_POL,
                            MAINPANEL_CAPT_TRIG_PRE_SAMP, MAINPANEL_CAPT_TRIG_OFFS_DELAY})
            EXPECT_EQ(shown(control), c.armed) << ui::test::describe(main(), control);
        if (c.armed) {
            EXPECT_FALSE(op.dimmed(main(), MAINPANEL_CMD_ARM));
            EXPECT_TRUE(op.dimmed(main(), MAINPANEL_CMD_DISARM));
        }
        if (c.lvdsPopup) {
            ASSERT_EQ(fe.popups().size(), 1u);
            EXPECT_EQ(fe.popups()[0].text, std::string(c.lvdsPopup) + " set to 'Input'");
        } else {
            EXPECT_TRUE(fe.popups().empty());
        }
    }
    // Each LVDS family left its own group receiving and no other.
    EXPECT_EQ(module(qm4120_getLvdsMarkerMode), 0);
    EXPECT_EQ(module(qm4120_getLvdsAuxMode), 0);
    EXPECT_EQ(module(qm4120_getLvdsDataMode), 0);

    // Lines count from the family's first code; the LVDS markers are numbered from 1 on the panel.
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, "PXI_LBL"));
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG_BIT, "12"));
    EXPECT_EQ(module(qm4120_getTriggerSource), 21);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, "LVDS_M"));
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG_BIT, "3"));
    EXPECT_EQ(module(qm4120_getTriggerSource), 24);
    // A refresh from the module finds the family and the line again.
    ASSERT_EQ(qm4120_setTriggerSource(session(), 4), 0);
    refreshTriggerSource();
    EXPECT_EQ(op.shows(main(), MAINPANEL_CAPT_TRIG), "PXI_TRIG");
    EXPECT_EQ(op.shows(main(), MAINPANEL_CAPT_TRIG_BIT), "4");
}

TEST_F(TriggerPanel, GateCountsSamplesAfterTheGateAndEdgeBeforeTheEdge) {
    ASSERT_NE(boot(0x4125), 0u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, "PXI_TRIG"));
    ASSERT_TRUE(op.commit(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP, 300));
    EXPECT_EQ(module(qm4120_getPreEdgeTriggerSamples), 300u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG_TYPE, "Gate"));
    EXPECT_EQ(module(qm4120_getTriggerType), 1);
    EXPECT_EQ(op.label(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP), "Post-Trig Samples");
    EXPECT_EQ(integer(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP), 0)
        << "the post-gate count, not the pre-edge one";
    ASSERT_TRUE(op.commit(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP, 700));
    EXPECT_EQ(module(qm4120_getPostGateTriggerSamples), 700u);
    EXPECT_EQ(module(qm4120_getPreEdgeTriggerSamples), 300u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG_TYPE, "Edge"));
    EXPECT_EQ(op.label(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP), "Pre-Trig Samples");
    EXPECT_EQ(integer(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP), 300);
    // The counters are 24 bits wide: the panel shows what the module kept.
    ASSERT_TRUE(op.commit(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP, 20000000));
    EXPECT_EQ(integer(main(), MAINPANEL_CAPT_TRIG_PRE_SAMP), (1 << 24) - 1);
}

TEST_F(TriggerPanel, ParameterChangesEndARunningCaptureButDelayAndTimerDoNot) {
    ASSERT_NE(boot(0x4B20), 0u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, "INT_TRIG"));
    countCaptureButtons();
    struct Case {
        int control;
        double value;
        bool ends;
        int32_t (*check)(uint32_t, double*);  // reads back what was sent, where a double says it
    } const cases[] = {
        {MAINPANEL_CAPT_TRIG_TYPE, 1, true, nullptr},
        {MAINPANEL_CAPT_TRIG_EG_POL, 1, true, nullptr},
        {MAINPANEL_CAPT_TRIG_PRE_SAMP, 10, true, nullptr},
        {MAINPANEL_TRIGABSTHRESHOLD, -42.0, true, qm4120_getIntTriggerAbsThreshold},
        {MAINPANEL_TRIGTCABS, 2.5, true, qm4120_getIntTriggerAbsTimeConst},
        {MAINPANEL_INTTRIGMODE, 1, true, nullptr},
        {MAINPANEL_TRIGTCSLOW, 4.0, true, qm4120_getIntTriggerRelSlowTimeConst},
        {MAINPANEL_TRIGTCFAST, 0.5, true, qm4120_getIntTriggerRelFastTimeConst},
        {MAINPANEL_TRIGRELTHRESHOLD, 9, true, nullptr},
        {MAINPANEL_CAPT_TRIG_OFFS_DELAY, 50, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ui::test::describe(main(), c.control));
        const int stops = stopPresses, disarms = disarmPresses;
        ASSERT_TRUE(op.commit(main(), c.control, c.value));
        EXPECT_EQ(stopPresses - stops, c.ends ? 1 : 0);
        EXPECT_EQ(disarmPresses - disarms, c.ends ? 1 : 0);
        if (c.check) {
            EXPECT_DOUBLE_EQ(module(c.check), c.value);
        }
    }
    EXPECT_EQ(module(qm4120_getIntTriggerMode), 1);
    EXPECT_EQ(module(qm4120_getIntTriggerRelThreshold), 9);
    EXPECT_EQ(module(qm4120_getTriggerOffsetDelay), 50);
    // In the relative mode the group shows the relative entries only.
    EXPECT_TRUE(shown(MAINPANEL_TRIGRELTHRESHOLD));
    EXPECT_TRUE(shown(MAINPANEL_TEXTUSEC2));
    EXPECT_FALSE(shown(MAINPANEL_TRIGABSTHRESHOLD));
    EXPECT_FALSE(shown(MAINPANEL_TRIGTCABS));

    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, "INT_TIMER"));
    const int stops = stopPresses, disarms = disarmPresses;
    ASSERT_TRUE(op.commit(main(), MAINPANEL_TIMERPERIOD, 250.0));
    ASSERT_TRUE(op.commit(main(), MAINPANEL_TIMERPHASE, 12));
    EXPECT_EQ(stopPresses, stops);
    EXPECT_EQ(disarmPresses, disarms);
    EXPECT_DOUBLE_EQ(module(qm4120_getListTimerDwell), 250.0);
    EXPECT_EQ(module(qm4120_getTimerPhase), 12);
    EXPECT_DOUBLE_EQ(number(MAINPANEL_TIMERPERIOD), 250.0);
}

TEST_F(TriggerPanel, NotBootedAndInvalidCodesLeaveTheRingsAlone) {
    // Before a boot: the software trigger, its buttons, and the internal-trigger defaults.
    EXPECT_EQ(op.shows(main(), MAINPANEL_CAPT_TRIG), "SW_TRIG");
    EXPECT_TRUE(shown(MAINPANEL_CMD_SINGLE));
    EXPECT_FALSE(shown(MAINPANEL_CMD_ARM));
    EXPECT_DOUBLE_EQ(number(MAINPANEL_TRIGABSTHRESHOLD), -50.0);
    EXPECT_DOUBLE_EQ(number(MAINPANEL_TRIGTCABS), 0.1);

    ASSERT_NE(boot(0x4A20), 0u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_CAPT_TRIG, "PXI_LBL"));
    fe.clearPopups();
    for (uint16_t code : {uint16_t(33), uint16_t(37), uint16_t(500)}) {
        EXPECT_EQ(fillTriggerSourceRings(code), -1) << code;
        EXPECT_EQ(op.shows(main(), MAINPANEL_CAPT_TRIG), "PXI_LBL");
        EXPECT_EQ(items(MAINPANEL_CAPT_TRIG_BIT), 13);
    }
    EXPECT_EQ(fe.countPopups("Capture Trigger"), 3);

    // A source the module cannot read is reported, and the rings stay as they were.
    fe.clearPopups();
    qm_fault_set("qm4120_controlGetTriggerSource", -1, 1);
    refreshTriggerSource();
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(op.shows(main(), MAINPANEL_CAPT_TRIG), "PXI_LBL");
}

}  // namespace
