// The engineering panel's two reset buttons: what they do to the module, their popups and texts, and the
// road where the running FPGA configuration cannot be read.
#include "eng_fixture.h"

namespace {

constexpr double TUNED_AWAY = 1.234e9;

class EngineeringReset : public EngFixture {
  protected:
    // Moves the module away from its defaults so that a reset shows.
    static void tuneAway() {
        const uint32_t vi = getQM4120id();
        ASSERT_GE(qm4120_setRfFrequency(vi, TUNED_AWAY), 0);
        ASSERT_GE(qm4120_setSwTriggerMode(vi, 0), 0);
    }
    static double rfFrequency() {
        double hz = 0;
        EXPECT_GE(qm4120_getRfFrequency(getQM4120id(), &hz), 0);
        return hz;
    }
    static uint16_t swTriggerMode() {
        uint16_t mode = 0;
        EXPECT_GE(qm4120_getSwTriggerMode(getQM4120id(), &mode), 0);
        return mode;
    }

    // Presses a reset button and returns the popups it raised, checking that the busy cursor is gone
    // before each of them.
    std::vector<ui::PopupRecord> pressReset(int button) {
        fe.clearPopups();
        int busyPopups = 0;
        for (int i = 0; i < 3; ++i)
            fe.whilePopupUp([&](const ui::PopupRecord&) { busyPopups += fe.busy() ? 1 : 0; });
        EXPECT_TRUE(op.press(engPanel(), button));
        EXPECT_EQ(busyPopups, 0);
        EXPECT_FALSE(fe.busy());
        return fe.popups();
    }
};

TEST_F(EngineeringReset, ButtonsDoNothingWithoutAModule) {
    DisplayPanel(engPanel());
    for (int button : {ENGPANEL_RESETBUTTON, ENGPANEL_RESETWFPGABUTTON}) {
        fe.clearPopups();
        const int busyChanges = fe.busyChanges();
        ASSERT_TRUE(op.press(engPanel(), button));
        EXPECT_TRUE(fe.popups().empty());
        EXPECT_EQ(fe.busyChanges(), busyChanges);
    }
}

TEST_F(EngineeringReset, ResetRestoresDefaultsAndSoftwareTrigger) {
    ASSERT_TRUE(bootAndOpen(0x4120));
    const double bootFrequency = rfFrequency();
    ASSERT_NE(bootFrequency, TUNED_AWAY);
    tuneAway();

    const auto popups = pressReset(ENGPANEL_RESETBUTTON);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].text, "Module Reset.");
    EXPECT_DOUBLE_EQ(rfFrequency(), bootFrequency);
    EXPECT_EQ(swTriggerMode(), 1);
    EXPECT_DOUBLE_EQ(shownNumber(mainPanel(), MAINPANEL_RF_FREQ), bootFrequency) << "the panel shows it too";
}

TEST_F(EngineeringReset, DriverFailuresAreReportedBeforeTheResetPopup) {
    ASSERT_TRUE(bootAndOpen(0x4B20));
    qm_fault_set("qm4120_controlSetDefaults", -5, 1);
    qm_fault_set("qm4120_controlSetSwTriggerMode", -6, 1);
    const auto popups = pressReset(ENGPANEL_RESETBUTTON);
    ASSERT_EQ(popups.size(), 3u);
    EXPECT_EQ(popups[0].title, "4120 Driver Error");
    EXPECT_EQ(popups[1].title, "4120 Driver Error");
    EXPECT_NE(popups[0].text, popups[1].text);
    EXPECT_EQ(popups[2].text, "Module Reset.");
}

TEST_F(EngineeringReset, ResetWithFpgaKeepsTheRunningConfiguration) {
    // Boot on the module's last configuration, so that a reset to the default one would show.
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    ASSERT_TRUE(selectResource(0x4125));
    ASSERT_TRUE(setBootDefault(false));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    int count = 0;
    GetNumListItems(confPanel(), CONFPANEL_CONFIG_RES, &count);
    ASSERT_GE(count, 2);
    ASSERT_EQ(ui::userSelectIndex(confPanel(), CONFPANEL_CONFIG_RES, count - 1), 0);
    ASSERT_TRUE(op.press(confPanel(), CONFPANEL_CONFIG_OK_BUTTON));
    uint16_t booted = 0;
    ASSERT_GE(qm4120_getFPGAConfig(getQM4120id(), &booted), 0);

    const double bootFrequency = rfFrequency();
    DisplayPanel(engPanel());
    tuneAway();
    const auto popups = pressReset(ENGPANEL_RESETWFPGABUTTON);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].text, "Module Reset with FPGA Config.");
    uint16_t after = 0;
    ASSERT_GE(qm4120_getFPGAConfig(getQM4120id(), &after), 0);
    EXPECT_EQ(after, booted);
    EXPECT_DOUBLE_EQ(rfFrequency(), bootFrequency);
    EXPECT_EQ(swTriggerMode(), 1);
}

TEST_F(EngineeringReset, UnreadableConfigurationSkipsTheReset) {
    ASSERT_TRUE(bootAndOpen(0x4A20));
    tuneAway();
    qm_fault_set("qm4120_fpgaGetConfig", -17, 1);
    const auto popups = pressReset(ENGPANEL_RESETWFPGABUTTON);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].text, "Module Reset not performed.  Could not retrieve current FPGA Config.");
    // The settings stay as they were, but the trigger is back in software mode and the panel is
    // refreshed from the module.
    EXPECT_DOUBLE_EQ(rfFrequency(), TUNED_AWAY);
    EXPECT_EQ(swTriggerMode(), 1);
    EXPECT_DOUBLE_EQ(shownNumber(mainPanel(), MAINPANEL_RF_FREQ), TUNED_AWAY);
}

}  // namespace
