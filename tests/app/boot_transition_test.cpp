// The main panel around a boot: the boot LED, BOOTBUTTON, resource and serial texts, menus, titles and
// taskbar texts per model, closing a running session before the next boot, and the post-boot set-up.
#include <string>

#include "boot_fixture.h"

namespace {

struct ModelTexts {
    uint16_t model;
    const char* title;
    const char* taskbar;
};

// Two models with different texts, one after the other: a boot puts up its own model's texts.
constexpr ModelTexts PLAIN_TEXTS[] = {
    {0x4B20, "Tarvex 4120A PXI RF Digitizer for PXI Korvo", "qm4120A Soft Panel for PXI Korvo"},
    {0x4125, "Tarvex 4125 PXI RF Digitizer for PXI Korvo", "qm4120 Soft Panel for PXI Korvo"},
};
constexpr const char* UNBOOTED_TITLE = "Tarvex 412x PXI RF Digitizer for PXI Korvo";
constexpr const char* UNBOOTED_TASKBAR = "qm4120 Soft Panel for PXI Korvo";

class BootTransition : public BootFixture {};

TEST_F(BootTransition, BootLedIsRedThenYellowThenGreen) {
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_RED);
    EXPECT_TRUE(op.menuDimmed(appState.mainMenuBar, MAINMENU_SETTINGS_ROUTE));

    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_YELLOW);
    EXPECT_TRUE(op.dimmed(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_EQ(ui::topPopup(), bootPanel());

    ASSERT_TRUE(selectResource(0x4A20));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_GREEN);
    EXPECT_FALSE(op.dimmed(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_RESOURCE), "0x4A20");
    char serial[QM4120_TEXT_SIZE] = {};
    ASSERT_GE(qm4120_getSerialNumber(getQM4120id(), serial), 0);
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_SERIAL), serial);
    EXPECT_FALSE(op.menuDimmed(appState.mainMenuBar, MAINMENU_SETTINGS_ROUTE));
    EXPECT_FALSE(op.menuDimmed(appState.mainMenuBar, MAINMENU_SETTINGS_MATRIX));
    EXPECT_EQ(appState.refLockMonitorStop.load(), 0);
}

TEST_F(BootTransition, CancelOrCloseWithoutSessionLeavesTheModuleUnbooted) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
        ASSERT_TRUE(closeBox ? op.closePanel(bootPanel())
                             : op.press(bootPanel(), BOOTPANEL_BOOT_CANCEL_BUTTON));
        EXPECT_EQ(ui::topPopup(), 0);
        EXPECT_FALSE(op.panelShown(bootPanel()));
        EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_RED);
        EXPECT_FALSE(op.dimmed(mainPanel(), MAINPANEL_BOOTBUTTON));
        EXPECT_FALSE(isActive4120());
        EXPECT_EQ(op.title(mainPanel()), UNBOOTED_TITLE);
        EXPECT_EQ(taskbar(), UNBOOTED_TASKBAR);
        EXPECT_EQ(korvo_simOpenSessionCount(), 0);
    }
}

TEST_F(BootTransition, TitlesAndTaskbarFollowTheModel) {
    EXPECT_EQ(op.title(mainPanel()), UNBOOTED_TITLE);
    for (const ModelTexts& t : PLAIN_TEXTS) {
        SCOPED_TRACE(t.model);
        ASSERT_TRUE(bootDefault(t.model));
        EXPECT_EQ(op.title(mainPanel()), t.title);
        EXPECT_EQ(taskbar(), t.taskbar);
        EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_RESOURCE), resourceValue(t.model));
    }
    // Booting again drops the model from the titles while the dialog is up; cancelling keeps it so.
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_CANCEL_BUTTON));
    EXPECT_EQ(op.title(mainPanel()), UNBOOTED_TITLE);
    EXPECT_EQ(taskbar(), UNBOOTED_TASKBAR);
}

TEST_F(BootTransition, BootingAgainClosesTheRunningSessionFirst) {
    ASSERT_TRUE(bootDefault(0x4120));
    const int openWhileBooted = korvo_simOpenSessionCount();
    EXPECT_EQ(openWhileBooted, 2);  // the session and its resource manager

    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_FALSE(isActive4120());
    EXPECT_EQ(getQM4120id(), 0u);
    EXPECT_EQ(korvo_simOpenSessionCount(), 0);
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_RESOURCE), "");
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_SERIAL), "");
    EXPECT_TRUE(op.menuDimmed(appState.mainMenuBar, MAINMENU_SETTINGS_ROUTE));
    EXPECT_TRUE(op.menuDimmed(appState.mainMenuBar, MAINMENU_SETTINGS_MATRIX));
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_REF_LOCKED_STATUS), VAL_LT_GRAY);
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_YELLOW);

    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_CANCEL_BUTTON));
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_RED);
}

TEST_F(BootTransition, HundredBootsLeaveOneSessionOpen) {
    constexpr uint16_t MODELS[] = {0x4120, 0x4A20, 0x4B20, 0x4125};
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(bootDefault(MODELS[i % 4])) << "boot " << i;
        ASSERT_TRUE(isActive4120()) << "boot " << i;
    }
    EXPECT_EQ(korvo_simOpenSessionCount(), 2);
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}

TEST_F(BootTransition, PostBootSetUpMatchesTheModule) {
    for (uint16_t model : {uint16_t{0x4120}, uint16_t{0x4125}}) {
        SCOPED_TRACE(model);
        ASSERT_TRUE(bootDefault(model));
        const uint32_t vi = getQM4120id();

        uint16_t mode = 0;
        ASSERT_GE(qm4120_getSwTriggerMode(vi, &mode), 0);
        EXPECT_EQ(mode, 1);
        ASSERT_GE(qm4120_getModulationMode(vi, &mode), 0);
        EXPECT_EQ(mode, 5);
        double rate = 0;
        double maxRate = 0;
        ASSERT_GE(qm4120_getGenericSamplingFrequency(vi, &rate), 0);
        ASSERT_GE(qm4120_getMaxGenericSamplingFrequency(vi, &maxRate), 0);
        EXPECT_DOUBLE_EQ(rate, maxRate);

        // The tuned frequencies come from the module.
        double rf = 0, lo = 0;
        ASSERT_GE(qm4120_getRfFrequency(vi, &rf), 0);
        ASSERT_GE(qm4120_getLoFrequency(vi, &lo), 0);
        EXPECT_DOUBLE_EQ(numberAttribute(mainPanel(), MAINPANEL_RF_FREQ, ATTR_INCR_VALUE), 10000.0);
        EXPECT_DOUBLE_EQ(shownNumber(mainPanel(), MAINPANEL_RF_FREQ), rf);
        EXPECT_DOUBLE_EQ(shownNumber(mainPanel(), MAINPANEL_LO_FREQ), lo);
        // The power log is off: its file name shows, dimmed, in the engineering panel.
        EXPECT_TRUE(op.dimmed(appState.engPanel, ENGPANEL_GRAPHPWRFREQFILENAME));
        EXPECT_NE(op.shows(appState.engPanel, ENGPANEL_GRAPHPWRFREQFILENAME).find("powerdata.txt"),
                  std::string::npos);

        // The attenuators' ranges and steps differ between the models.
        struct {
            int control;
            int32_t (*min)(uint32_t, int32_t*);
            int32_t (*max)(uint32_t, int32_t*);
            int32_t (*step)(uint32_t, int32_t*);
        } const attens[] = {
            {MAINPANEL_RF_ATTEN, qm4120_getRfAttenuationMin, qm4120_getRfAttenuationMax,
             qm4120_getRfAttenuationStep},
            {MAINPANEL_IF_ATTEN, qm4120_getIfAttenuationMin, qm4120_getIfAttenuationMax,
             qm4120_getIfAttenuationStep},
        };
        for (const auto& a : attens) {
            int32_t min = 0, max = 0, step = 0;
            ASSERT_GE(a.min(vi, &min), 0);
            ASSERT_GE(a.max(vi, &max), 0);
            ASSERT_GE(a.step(vi, &step), 0);
            int shown[3] = {};
            GetCtrlAttribute(mainPanel(), a.control, ATTR_MIN_VALUE, &shown[0]);
            GetCtrlAttribute(mainPanel(), a.control, ATTR_MAX_VALUE, &shown[1]);
            GetCtrlAttribute(mainPanel(), a.control, ATTR_INCR_VALUE, &shown[2]);
            EXPECT_EQ(std::vector<int>(shown, shown + 3), (std::vector<int>{min, max, step}));
        }

        // The module starts on its RF input: only the RF level can be entered.
        uint16_t source = 0;
        ASSERT_GE(qm4120_getInputSource(vi, &source), 0);
        EXPECT_EQ(op.dimmed(mainPanel(), MAINPANEL_RF_INPUT_LEVEL), source == 0);
        EXPECT_EQ(op.dimmed(mainPanel(), MAINPANEL_IF_INPUT_LEVEL), source == 1);

        EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_CAPTMODE), "Single");
        EXPECT_TRUE(op.dimmed(mainPanel(), MAINPANEL_CMD_STOP));
        EXPECT_FALSE(op.visible(mainPanel(), MAINPANEL_CMD_DISARM));
    }
}

TEST_F(BootTransition, FailedBootKeepsTheOldSessionClosed) {
    ASSERT_TRUE(bootDefault(0x4125));
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    qm_fault_set("qm4120_instrumentCreate", -5, 1);
    ASSERT_TRUE(selectResource(0x4125));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(op.title(mainPanel()), UNBOOTED_TITLE);
    EXPECT_EQ(korvo_simOpenSessionCount(), 0);
    ASSERT_TRUE(op.closePanel(bootPanel()));
    EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_RED);
}

class EngineeringModeBoot : public BootFixture {
  protected:
    bool engineeringMode() const override { return true; }
};

TEST_F(EngineeringModeBoot, EnhancedModelIsNamedAndEngineeringMenuFollowsTheBoot) {
    const int bar = appState.mainMenuBar;
    ASSERT_GT(appState.engineeringMenu, 0);
    EXPECT_TRUE(op.menuDimmed(bar, appState.engineeringMenu));

    ASSERT_TRUE(bootDefault(0x4A20));
    EXPECT_EQ(op.title(mainPanel()), "Tarvex 4120 Enhanced PXI RF Digitizer for PXI Korvo");
    EXPECT_EQ(taskbar(), "qm4120 Enhanced Soft Panel for PXI Korvo");
    EXPECT_FALSE(op.menuDimmed(bar, appState.engineeringMenu));
    EXPECT_FALSE(op.menuDimmed(bar, appState.engineeringPanelItem));

    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_TRUE(op.menuDimmed(bar, appState.engineeringMenu));
    EXPECT_TRUE(op.menuDimmed(bar, appState.engineeringPanelItem));
    ASSERT_TRUE(selectResource(0x4B20));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    EXPECT_EQ(taskbar(), "qm4120A Soft Panel for PXI Korvo");
}

TEST_F(BootTransition, Err4120ShowsEveryNonZeroStatusWithTheDriverText) {
    err4120(0);
    EXPECT_TRUE(fe.popups().empty());

    // A driver error, a driver warning, a mapped library error and a VISA error.
    const int32_t statuses[] = {static_cast<int32_t>(0xBFFC0011u), static_cast<int32_t>(0x3FFC0102u),
                                static_cast<int32_t>(0xBFFC079Du), static_cast<int32_t>(0xBFFF0011u)};
    for (int32_t status : statuses) err4120(status);
    ASSERT_EQ(fe.popups().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        char text[QM4120_TEXT_SIZE] = {};
        qm4120_error_message(0, statuses[i], text);
        EXPECT_EQ(fe.popups()[i].title, "4120 Driver Error");
        EXPECT_EQ(fe.popups()[i].text, text);
    }
    EXPECT_EQ(fe.popups()[0].text, "ERROR: Identification query failed");
}

}  // namespace
