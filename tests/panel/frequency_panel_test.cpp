// The frequency group and the step-size dialog as an operator works them on the simulated module.
#include <cmath>
#include <string>

#include "panel_fixture.h"
#include "qm41xx_step.h"

namespace {

class ModelFrequency : public PanelFixture, public ::testing::WithParamInterface<ModelSpec> {};

TEST_P(ModelFrequency, EnteredFrequencyShowsAsTunedWithTheLoOnEitherSide) {
    const ModelSpec m = GetParam();
    ASSERT_NE(boot(m.code), 0u);
    EXPECT_EQ(attribute(MAINPANEL_RF_FREQ, ATTR_MIN_VALUE), m.rfMin);
    EXPECT_EQ(attribute(MAINPANEL_RF_FREQ, ATTR_MAX_VALUE), m.rfMax);
    EXPECT_EQ(numberAttribute(chan(), CHANPANEL_FREQ, ATTR_MAX_VALUE), m.rfMax);

    // Off the synthesiser grid: the module rounds to its tuning step.
    const double entered = 1234567893.4;
    const double tuned = std::round(entered / m.tuningStep) * m.tuningStep;
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_FREQ, entered));
    EXPECT_EQ(number(MAINPANEL_RF_FREQ), tuned);
    EXPECT_EQ(module(qm4120_getRfFrequency), tuned);
    EXPECT_EQ(rowCell(1), std::to_string(static_cast<long long>(tuned)));
    EXPECT_EQ(op.shows(main(), MAINPANEL_LO_POSITION), "Above");
    EXPECT_EQ(number(MAINPANEL_LO_OFFSET), m.ifHz);
    EXPECT_EQ(number(MAINPANEL_LO_FREQ), tuned + m.ifHz);

    ASSERT_TRUE(op.toggle(main(), MAINPANEL_LO_POSITION));
    EXPECT_EQ(op.shows(main(), MAINPANEL_LO_POSITION), "Below");
    EXPECT_EQ(module(qm4120_getLoOffset), -m.ifHz);
    EXPECT_EQ(number(MAINPANEL_LO_OFFSET), m.ifHz);
    EXPECT_EQ(number(MAINPANEL_LO_FREQ), tuned - m.ifHz);
    EXPECT_EQ(rowCell(2), "Below");

    // Beyond the model's range the entry itself stops at the limit.
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_FREQ, m.rfMax + 1e9));
    EXPECT_EQ(module(qm4120_getRfFrequency), m.rfMax);
    EXPECT_TRUE(fe.popups().empty());
}

INSTANTIATE_TEST_SUITE_P(Models, ModelFrequency, ::testing::ValuesIn(MODEL_SPECS), modelName);

class FrequencyPanel : public PanelFixture {};

TEST_F(FrequencyPanel, EachControlModeEntersTwoFrequenciesAndShowsTheThird) {
    ASSERT_NE(boot(0x4A20), 0u);
    struct Case {
        int mode;
        bool rf, lo, offset;  // entered by the operator
    };
    for (const Case& c :
         {Case{1, false, true, true}, Case{2, true, false, true}, Case{0, true, true, false}}) {
        ASSERT_TRUE(op.commit(main(), MAINPANEL_RING_FREQ_CONTROL, c.mode));
        EXPECT_EQ(module(qm4120_getCalculatedFreqControl), c.mode);
        for (auto [control, entered] :
             {std::pair{MAINPANEL_RF_FREQ, c.rf}, std::pair{MAINPANEL_LO_FREQ, c.lo},
              std::pair{MAINPANEL_LO_OFFSET, c.offset}}) {
            SCOPED_TRACE(ui::test::describe(main(), control) + " mode " + std::to_string(c.mode));
            EXPECT_EQ(intAttribute(main(), control, ATTR_CTRL_MODE), entered ? VAL_NORMAL : VAL_INDICATOR);
            EXPECT_EQ(op.bgColor(main(), control), entered ? 0xFFFFFF : 0xC0C0C0);
        }
    }
    // A mode the module holds behind the panel's back shows after a refresh.
    ASSERT_GE(qm4120_setCalculatedFreqControl(session(), 1), 0);
    refreshPanelFromInstrument();
    EXPECT_EQ(integer(main(), MAINPANEL_RING_FREQ_CONTROL), 1);
    EXPECT_FALSE(op.commit(main(), MAINPANEL_RF_FREQ, 1e9));
}

TEST_F(FrequencyPanel, FrequencyStepDialogAcceptsWholeHertzWithinLimits) {
    ASSERT_NE(boot(0x4120), 0u);
    const int step = getStepPanel();
    EXPECT_EQ(op.shows(main(), MAINPANEL_FREQ_STEP_HZ), "10000 Hz step");  // the post-boot step
    EXPECT_EQ(numberAttribute(chan(), CHANPANEL_FREQ, ATTR_INCR_VALUE), 10000.0);

    ASSERT_TRUE(op.doubleClick(main(), MAINPANEL_FREQ_STEP_HZ));
    ASSERT_TRUE(op.panelShown(step));
    EXPECT_EQ(op.shows(step, STEPPANEL_INTEGER_MINSTEP), "1");
    EXPECT_EQ(op.shows(step, STEPPANEL_INTEGER_MAXSTEP), "100000000");
    EXPECT_EQ(op.shows(step, STEPPANEL_INTEGER_INTERVAL), "10000");  // the post-boot increment
    EXPECT_FALSE(op.visible(step, STEPPANEL_DOUBLE_INTERVAL));
    EXPECT_FALSE(op.commit(main(), MAINPANEL_RF_FREQ, 1e9)) << "the main panel is behind a modal dialog";
    ASSERT_TRUE(op.commit(step, STEPPANEL_INTEGER_INTERVAL, 0));
    EXPECT_EQ(op.shows(step, STEPPANEL_INTEGER_INTERVAL), "1");
    ASSERT_TRUE(op.commit(step, STEPPANEL_INTEGER_INTERVAL, 2e8));
    EXPECT_EQ(op.shows(step, STEPPANEL_INTEGER_INTERVAL), "100000000");
    ASSERT_TRUE(op.commit(step, STEPPANEL_INTEGER_INTERVAL, 250));
    ASSERT_TRUE(op.press(step, STEPPANEL_STEP_OK));
    EXPECT_FALSE(op.panelShown(step));
    EXPECT_EQ(op.shows(main(), MAINPANEL_FREQ_STEP_HZ), "250 Hz step");
    EXPECT_EQ(attribute(MAINPANEL_RF_FREQ, ATTR_INCR_VALUE), 250.0);
    EXPECT_EQ(numberAttribute(chan(), CHANPANEL_FREQ, ATTR_INCR_VALUE), 250.0);

    // Cancel and the close box leave everything as it was.
    for (bool closeBox : {false, true}) {
        ASSERT_TRUE(op.rightClick(main(), MAINPANEL_RF_FREQ));
        ASSERT_TRUE(op.commit(step, STEPPANEL_INTEGER_INTERVAL, 5000));
        ASSERT_TRUE(closeBox ? op.closePanel(step) : op.press(step, STEPPANEL_STEP_CANCEL));
        EXPECT_FALSE(op.panelShown(step));
        EXPECT_EQ(op.shows(main(), MAINPANEL_FREQ_STEP_HZ), "250 Hz step");
        EXPECT_EQ(attribute(MAINPANEL_RF_FREQ, ATTR_INCR_VALUE), 250.0);
        EXPECT_EQ(numberAttribute(chan(), CHANPANEL_FREQ, ATTR_INCR_VALUE), 250.0);
    }

    // A fractional step from a settings file keeps its exact increment; the text shows whole hertz.
    applyFreqStep(2.75);
    EXPECT_EQ(attribute(MAINPANEL_RF_FREQ, ATTR_INCR_VALUE), 2.75);
    EXPECT_EQ(op.shows(main(), MAINPANEL_FREQ_STEP_HZ), "2 Hz step");
}

TEST_F(FrequencyPanel, LevelAndMarkerStepsUseTheSameDialog) {
    const int step = getStepPanel();
    EXPECT_EQ(op.shows(main(), MAINPANEL_FREQ_STEP_HZ), "1000000 Hz step");  // the entry's own increment
    EXPECT_EQ(op.shows(main(), MAINPANEL_LEV_STEP_DBM), "1.00 dBm step");
    ASSERT_TRUE(op.doubleClick(main(), MAINPANEL_LEV_STEP_DBM));
    EXPECT_TRUE(op.visible(step, STEPPANEL_DOUBLE_INTERVAL));
    EXPECT_FALSE(op.visible(step, STEPPANEL_INTEGER_INTERVAL));
    EXPECT_EQ(op.shows(step, STEPPANEL_DOUBLE_MINSTEP), "0.01");
    EXPECT_EQ(op.shows(step, STEPPANEL_DOUBLE_MAXSTEP), "50.00");
    ASSERT_TRUE(op.commit(step, STEPPANEL_DOUBLE_INTERVAL, 0.25));
    ASSERT_TRUE(op.press(step, STEPPANEL_STEP_OK));
    EXPECT_EQ(op.shows(main(), MAINPANEL_LEV_STEP_DBM), "0.25 dBm step");
    EXPECT_EQ(attribute(MAINPANEL_RF_INPUT_LEVEL, ATTR_INCR_VALUE), 0.25);
    EXPECT_EQ(attribute(MAINPANEL_IF_INPUT_LEVEL, ATTR_INCR_VALUE), 0.25);
    EXPECT_EQ(numberAttribute(chan(), CHANPANEL_IFLEVEL, ATTR_INCR_VALUE), 0.25);

    // The marker controls are never shown, so their step dialog opens only through the callback.
    CallCtrlCallback(main(), MAINPANEL_MARKER_FREQ_STEP_HZ, EVENT_LEFT_DOUBLE_CLICK, 0, 0, nullptr);
    ASSERT_TRUE(op.commit(step, STEPPANEL_INTEGER_INTERVAL, 5000));
    ASSERT_TRUE(op.press(step, STEPPANEL_STEP_OK));
    EXPECT_EQ(attribute(MAINPANEL_MARKER_FREQ, ATTR_INCR_VALUE), 5000.0);
    EXPECT_EQ(op.shows(main(), MAINPANEL_MARKER_FREQ_STEP_HZ), "5000 Hz step");
    EXPECT_EQ(op.shows(main(), MAINPANEL_FREQ_STEP_HZ), "1000000 Hz step");
    EXPECT_EQ(stepDialogState().result, 5000.0);

    // Texts longer than the dialog keeps are cut.
    const std::string longText(300, 'x');
    stepPanelInit(step, STEP_KIND_INTEGER, 1, 1, 10, 0, longText.c_str(), longText.c_str(), nullptr);
    EXPECT_EQ(op.shows(step, STEPPANEL_HEADING), std::string(255, 'x'));
    EXPECT_EQ(std::string(stepDialogState().units), std::string(255, 'x'));
}

TEST_F(FrequencyPanel, RefusedSettingsShowTheErrorAndTheModuleValue) {
    ASSERT_NE(boot(0x4125), 0u);
    const double before = module(qm4120_getRfFrequency);
    qm_fault_set("qm4120_appSetRfFrequency", -3, 1);
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_FREQ, 1.5e9));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(number(MAINPANEL_RF_FREQ), before);

    // The same for a level and a manual attenuation.
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RING_ATTEN_CONFIG, 2));
    const double level = number(MAINPANEL_RF_INPUT_LEVEL);
    const int atten = integer(main(), MAINPANEL_RF_ATTEN);
    qm_fault_set("qm4120_appSetRfInputLevel", -3, 1);
    qm_fault_set("qm4120_appSetRfAttenuation", -3, 1);
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_INPUT_LEVEL, level + 5));
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_ATTEN, atten + 5));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 3);
    EXPECT_EQ(number(MAINPANEL_RF_INPUT_LEVEL), level);
    EXPECT_EQ(integer(main(), MAINPANEL_RF_ATTEN), atten);
}

}  // namespace
