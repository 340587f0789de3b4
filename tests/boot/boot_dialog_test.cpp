// The boot dialog walked as an operator: resource list, default and chosen FPGA configurations, cancel
// roads, and failures of the bus presets, of the configuration listing and of the open itself.
#include <string>
#include <vector>

#include "boot_fixture.h"
#include "boot_transition.h"
#include "list_labels.h"

namespace {

constexpr uint16_t MODELS[] = {0x4120, 0x4A20, 0x4B20, 0x4125};
constexpr int32_t VI_RSRC_NFOUND = static_cast<int32_t>(0xBFFF0011u);

// The module's configurations as the driver lists them, without the entries it does not offer.
std::vector<std::pair<uint16_t, std::string>> offeredConfigs(uint16_t model) {
    std::vector<std::pair<uint16_t, std::string>> offered;
    uint32_t rm = 0;
    uint32_t bus = 0;
    char resource[16];
    std::snprintf(resource, sizeof resource, "0x%04X", static_cast<unsigned>(model));
    if (korvo_viOpenDefaultRM(&rm) < 0) return offered;
    if (korvo_viOpen(rm, resource, 0, 0, &bus) >= 0) {
        uint16_t count = 0;
        qm4120_countFPGAConfigs(bus, &count);
        std::vector<uint16_t> ids(count);
        std::vector<char> names(count * QM4120_FPGA_NAME_SIZE);
        qm4120_listFPGAConfigs(bus, ids.data(), names.data(), &count);
        for (uint16_t i = 0; i < count; ++i)
            if (ids[i] != 0) offered.emplace_back(ids[i], names.data() + i * QM4120_FPGA_NAME_SIZE);
    }
    korvo_viClose(rm);
    return offered;
}

uint16_t runningConfig() {
    uint16_t config = 0;
    EXPECT_GE(qm4120_getFPGAConfig(getQM4120id(), &config), 0);
    return config;
}

class BootDialog : public BootFixture {};

TEST_F(BootDialog, ListsTheFourModelsBottomUpInTwoBlueColumns) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_EQ(ui::topPopup(), bootPanel());
    EXPECT_EQ(op.title(bootPanel()), "Boot Resource");

    const std::vector<std::string> expected = {"PXI KORVO\t4125", "PXI KORVO\t4B20", "PXI KORVO\t4A20",
                                               "PXI KORVO\t4120"};
    EXPECT_EQ(listLabels(bootPanel(), BOOTPANEL_LIST_RES), expected);
    std::string value;
    GetValueFromIndex(bootPanel(), BOOTPANEL_LIST_RES, 0, &value);
    EXPECT_EQ(value, "0x4125");
    GetValueFromIndex(bootPanel(), BOOTPANEL_LIST_RES, 3, &value);
    EXPECT_EQ(value, "0x4120");

    int attr = 0;
    GetCtrlAttribute(bootPanel(), BOOTPANEL_LIST_RES, ATTR_COLUMN_STOP, &attr);
    EXPECT_EQ(attr, 100);
    GetCtrlAttribute(bootPanel(), BOOTPANEL_LIST_RES, ATTR_COLUMN_RULE, &attr);
    EXPECT_EQ(attr, 1);
    EXPECT_EQ(op.textColor(bootPanel(), BOOTPANEL_LIST_RES), VAL_BLUE);
    EXPECT_EQ(op.bgColor(bootPanel(), BOOTPANEL_LIST_RES), VAL_WHITE);
    EXPECT_TRUE(op.visible(bootPanel(), BOOTPANEL_BOOT_DEFAULT));
    EXPECT_TRUE(op.visible(bootPanel(), BOOTPANEL_PCIREV));

    // A second boot builds the list afresh rather than adding to it.
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_CANCEL_BUTTON));
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_EQ(listLabels(bootPanel(), BOOTPANEL_LIST_RES), expected);
}

TEST_F(BootDialog, EachModelBootsOnItsDefaultOrOnAChosenConfiguration) {
    for (uint16_t model : MODELS) {
        SCOPED_TRACE(model);
        const auto offered = offeredConfigs(model);
        ASSERT_GE(offered.size(), 2u);
        ASSERT_TRUE(bootDefault(model));
        EXPECT_EQ(bootedModel(), model);
        EXPECT_EQ(runningConfig(), offered.front().first);
        EXPECT_FALSE(op.panelShown(bootPanel()));
        EXPECT_FALSE(op.panelShown(confPanel()));
        EXPECT_EQ(ui::topPopup(), 0);

        ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
        ASSERT_TRUE(selectResource(model));
        ASSERT_TRUE(setBootDefault(false));
        ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));

        // Nothing is open while the operator chooses; the listing's own bus session is gone again.
        EXPECT_FALSE(isActive4120());
        EXPECT_EQ(korvo_simOpenSessionCount(), 0);
        EXPECT_EQ(ui::topPopup(), confPanel());
        EXPECT_FALSE(op.panelShown(bootPanel()));
        EXPECT_EQ(op.title(confPanel()), "Choose FPGA Configuration");
        std::vector<std::string> names;
        for (const auto& [id, name] : offered) names.push_back(name);
        EXPECT_EQ(listLabels(confPanel(), CONFPANEL_CONFIG_RES), names);

        // The last configuration, chosen by double-click or highlighted and OK, boots at once.
        const bool byOk = model == 0x4A20 || model == 0x4125;
        ASSERT_EQ(ui::userSelectIndex(confPanel(), CONFPANEL_CONFIG_RES, static_cast<int>(names.size()) - 1),
                  0);
        ASSERT_TRUE(byOk ? op.press(confPanel(), CONFPANEL_CONFIG_OK_BUTTON)
                         : op.doubleClick(confPanel(), CONFPANEL_CONFIG_RES));
        EXPECT_EQ(bootedModel(), model);
        EXPECT_EQ(runningConfig(), offered.back().first);
        EXPECT_FALSE(op.panelShown(confPanel()));
        EXPECT_FALSE(op.panelShown(bootPanel()));
    }
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}

TEST_F(BootDialog, DoubleClickOnAResourceIsOk) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    ASSERT_TRUE(selectResource(0x4A20));
    ASSERT_TRUE(op.doubleClick(bootPanel(), BOOTPANEL_LIST_RES));
    EXPECT_EQ(bootedModel(), 0x4A20);
}

TEST_F(BootDialog, CancelFromConfigurationListReturnsToTheSameResource) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        ASSERT_TRUE(selectResource(0x4A20));
        int selected = -1;
        GetCtrlIndex(bootPanel(), BOOTPANEL_LIST_RES, &selected);
        ASSERT_TRUE(setBootDefault(false));
        ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
        ASSERT_EQ(ui::topPopup(), confPanel());
        ASSERT_TRUE(closeBox ? op.closePanel(confPanel())
                             : op.press(confPanel(), CONFPANEL_CONFIG_CANCEL_BUTTON));

        EXPECT_EQ(ui::topPopup(), bootPanel());
        EXPECT_FALSE(op.panelShown(confPanel()));
        int index = -1;
        GetCtrlIndex(bootPanel(), BOOTPANEL_LIST_RES, &index);
        EXPECT_EQ(index, selected);
        EXPECT_FALSE(isActive4120());
        EXPECT_EQ(korvo_simOpenSessionCount(), 0);
        EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_YELLOW);
    }
}

TEST_F(BootDialog, ShowsBootingWhileTheSessionOpens) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    // Look at the screen from inside the open operation.
    static bool sawBooting;
    static bool busyDuringOpen;
    static std::string bootingText;
    sawBooting = busyDuringOpen = false;
    bootingText.clear();
    static ui::HeadlessFrontend* frontend;
    frontend = &fe;
    auto probeOpen = [](const char* resource, uint16_t idQuery, uint16_t reset, uint32_t* session,
                        uint16_t config) -> int32_t {
        const int booting = bootPanelBootingHandle();
        int parent = 0;
        sawBooting = booting > 0 && GetPanelAttribute(booting, ATTR_PANEL_PARENT, &parent) == 0 &&
                     parent == appState.bootPanel && ui::findPanel(booting)->visible;
        if (booting > 0) GetCtrlVal(booting, BMPANEL_TEXTMSG, &bootingText);
        busyDuringOpen = frontend->busy();
        // The dialog asks for the identity query and a reset with the selected configuration.
        EXPECT_EQ(idQuery, 1);
        EXPECT_EQ(reset, 1);
        return qm4120_initWithFpgaConfig(resource, idQuery, reset, session, config);
    };
    bootPanelInit(
        bootPanel(), BOOT_RESOURCES, 4, probeOpen, qm4120_close, qm4120_setModelCodePxiKorvo,
        qm4120_setPciRevPxiKorvo, [](int) { onBootCancelled(); }, onBootSucceeded, onBootFailed,
        onBootDialogClosed, err4120);
    ASSERT_TRUE(selectResource(0x4120));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));

    EXPECT_TRUE(sawBooting);
    EXPECT_EQ(bootingText, "Booting....");
    EXPECT_TRUE(busyDuringOpen);
    EXPECT_FALSE(fe.busy());
    EXPECT_EQ(bootPanelBootingHandle(), 0);
    EXPECT_EQ(bootedModel(), 0x4120);
}

TEST_F(BootDialog, WithoutTheConfigurationPanelOkAlwaysBootsTheDefault) {
    // The configuration panel cannot be loaded, so the default box is not offered.
    const std::string unreadable = "{ not a resource";
    ui::setResourceOverride("qm41xx_boot.uir", &unreadable);
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    EXPECT_EQ(confPanel(), 0);
    EXPECT_FALSE(op.visible(bootPanel(), BOOTPANEL_BOOT_DEFAULT));
    EXPECT_TRUE(op.visible(bootPanel(), BOOTPANEL_PCIREV));

    SetCtrlVal(bootPanel(), BOOTPANEL_BOOT_DEFAULT, 0);
    ASSERT_TRUE(selectResource(0x4125));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    EXPECT_EQ(bootedModel(), 0x4125);
    EXPECT_EQ(runningConfig(), offeredConfigs(0x4125).front().first);
    ui::setResourceOverride("qm41xx_boot.uir", nullptr);
}

TEST_F(BootDialog, ConfigurationListingFailuresShowAnEmptyList) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    for (const char* failing : {"korvo_viOpen", "qm4120_fpgaCountConfigs", "qm4120_fpgaListConfigs"}) {
        SCOPED_TRACE(failing);
        qm_fault_set(failing, failing[0] == 'k' ? VI_RSRC_NFOUND : -5, 1);
        ASSERT_TRUE(selectResource(0x4120));
        ASSERT_TRUE(setBootDefault(false));
        ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
        EXPECT_EQ(ui::topPopup(), confPanel());
        EXPECT_TRUE(listLabels(confPanel(), CONFPANEL_CONFIG_RES).empty());
        EXPECT_EQ(korvo_simOpenSessionCount(), 0);
        // OK with nothing to choose goes back to the resource list without booting.
        ASSERT_TRUE(op.press(confPanel(), CONFPANEL_CONFIG_OK_BUTTON));
        EXPECT_EQ(ui::topPopup(), bootPanel());
        EXPECT_FALSE(isActive4120());
        qm_fault_clear(failing);
    }
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(BootDialog, PresetAndOpenErrorsAreReportedAndTheDialogStaysForAnotherTry) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    ASSERT_TRUE(selectResource(0x4B20));
    const std::pair<const char*, int32_t> failures[] = {{"qm4120_controlSetModelCodePxiKorvo", -5},
                                                        {"qm4120_controlSetPciRevPxiKorvo", -5},
                                                        {"korvo_viOpen", VI_RSRC_NFOUND}};
    for (const auto& [failing, status] : failures) {
        SCOPED_TRACE(failing);
        fe.clearPopups();
        qm_fault_set(failing, status, 1);
        bool busyInPopup = true;
        fe.whilePopupUp([&](const ui::PopupRecord&) { busyInPopup = fe.busy(); });
        ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
        ASSERT_EQ(fe.popups().size(), 1u);
        EXPECT_EQ(fe.popups()[0].title, "4120 Driver Error");
        if (status == VI_RSRC_NFOUND) {  // the bus's own status, in the driver's words
            char text[QM4120_TEXT_SIZE] = {};
            qm4120_error_message(0, status, text);
            EXPECT_EQ(fe.popups()[0].text, text);
        }
        EXPECT_FALSE(busyInPopup);
        EXPECT_EQ(ui::topPopup(), bootPanel());
        EXPECT_FALSE(isActive4120());
        EXPECT_EQ(korvo_simOpenSessionCount(), 0);
        EXPECT_EQ(op.ledColor(mainPanel(), MAINPANEL_LED_BOOT), VAL_YELLOW);
        EXPECT_TRUE(op.dimmed(mainPanel(), MAINPANEL_BOOTBUTTON));
    }

    // A warning from a preset is shown and the boot carries on.
    fe.clearPopups();
    qm_fault_set("qm4120_controlSetPciRevPxiKorvo", 3, 1);
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(bootedModel(), 0x4B20);
}

TEST_F(BootDialog, ConfigurationChosenBeforeAFailedOpenStaysSelected) {
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON));
    ASSERT_TRUE(selectResource(0x4125));
    ASSERT_TRUE(setBootDefault(false));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    const auto offered = offeredConfigs(0x4125);
    const int last = static_cast<int>(offered.size()) - 1;
    ASSERT_TRUE(ui::userSelectIndex(confPanel(), CONFPANEL_CONFIG_RES, last) == 0);

    qm_fault_set("qm4120_instrumentCreate", -5, 1);
    ASSERT_TRUE(op.press(confPanel(), CONFPANEL_CONFIG_OK_BUTTON));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(ui::topPopup(), bootPanel());
    EXPECT_FALSE(isActive4120());

    // The next attempt in the same dialog, straight from OK, uses the configuration chosen before.
    ASSERT_TRUE(setBootDefault(true));
    ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON));
    EXPECT_EQ(bootedModel(), 0x4125);
    EXPECT_EQ(runningConfig(), offered.back().first);

    // A new boot starts from the default configuration again.
    ASSERT_TRUE(bootDefault(0x4125));
    EXPECT_EQ(runningConfig(), offered.front().first);
}

}  // namespace
