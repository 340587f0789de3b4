// The information panels: what they show with and without a module, the About box per model,
// the date format of calibration time stamps, and the version strings of the program's files.
#include <filesystem>
#include <fstream>

#include "app_fixture.h"
#include "instrument_info.h"
#include "qm4120_sfp_uir.h"

namespace {

constexpr int SYSINFO_FIELDS[] = {SYSINFO_PXI_RESOURCE, SYSINFO_DRIVER_REV, SYSINFO_FPGA_REV,
                                  SYSINFO_FPGA_CONFIG,  SYSINFO_PCI_REV,    SYSINFO_PCI_FPGA_REV,
                                  SYSINFO_SERIAL,       SYSINFO_LAST_CAL};
constexpr int CALINFO_FIELDS[] = {CALINFO_IF_DIG_AMP_REF_DATE,   CALINFO_IF_DIG_AMP_DATE,
                                  CALINFO_DIG_AMP_IF_SHAPE_DATE, CALINFO_RF_DC_FREQ_REF_DATE,
                                  CALINFO_RF_DC_FREQ_DATE,       CALINFO_RF_DIG_AMP_REF_DATE,
                                  CALINFO_DC_IF_SHAPE_DATE,      CALINFO_GROUP_DELAY_DATE,
                                  CALINFO_TEMPERATURE_DATE,      CALINFO_LAST_CAL_DATE};

class InfoTest : public AppFixture {
  protected:
    int menuBar() { return state().mainMenuBar; }
    int sysInfo() { return state().sysInfoPanel; }
    int calInfo() { return state().calInfoPanel; }
    int fileVersions() { return state().sysInfoDetailPanel; }

    void openInformation() {
        ASSERT_TRUE(op.chooseMenu(menuBar(), MAINMENU_HELP_INFO));
        ASSERT_TRUE(op.panelShown(sysInfo()));
    }
    void openCalibrationDates() {
        openInformation();
        ASSERT_TRUE(op.press(sysInfo(), SYSINFO_CAL_INFO));
        ASSERT_TRUE(op.panelShown(calInfo()));
    }
};

// The About box names the module; unlike the window titles it names the enhanced model in every mode.
struct ModelCase {
    uint16_t model;  // 0: nothing booted
    const char* aboutLine;
};

class ModelTextTest : public InfoTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ModelTextTest, AboutBoxFollowsTheModel) {
    const ModelCase& c = GetParam();
    ASSERT_EQ(startApp(), 0);
    if (c.model) {
        ASSERT_NE(bootModule(c.model), 0u);
    }
    ASSERT_TRUE(op.chooseMenu(menuBar(), MAINMENU_HELP_ABOUT));
    const int about = state().aboutPanel;
    EXPECT_TRUE(op.panelShown(about));
    EXPECT_EQ(op.shows(about, ABOUTPANEL_ABOUT_MODULE_DESC), c.aboutLine);
    EXPECT_EQ(op.shows(about, ABOUTPANEL_ABOUT_VERSION), "Version 2.1.0.0 2005-11-28");
    ASSERT_TRUE(op.press(about, ABOUTPANEL_ABOUT_OK_BUTTON));
    EXPECT_FALSE(op.panelShown(about));
}

INSTANTIATE_TEST_SUITE_P(PerModel, ModelTextTest,
                         ::testing::Values(ModelCase{0, "412x PXI RF Digitizer Module"},
                                           ModelCase{0x4A20, "4120 Enhanced PXI RF Digitizer Module"},
                                           ModelCase{0x4B20, "4120A PXI RF Digitizer Module"}));

TEST_F(InfoTest, EveryFieldReadsNaWhenNoModuleCanBeAsked) {
    ASSERT_EQ(startApp(), 0);
    ASSERT_NE(bootModule(0x4125), 0u);
    openCalibrationDates();
    // Filled from the module; taking it away must not leave the old values standing.
    ASSERT_NE(op.shows(sysInfo(), SYSINFO_SERIAL), "n/a");
    ASSERT_NE(op.shows(calInfo(), CALINFO_GROUP_DELAY_DATE), "n/a");
    closeSession();
    ASSERT_TRUE(op.press(sysInfo(), SYSINFO_CLOSE));
    EXPECT_FALSE(op.panelShown(calInfo()));
    EXPECT_FALSE(op.panelShown(sysInfo()));
    fe.clearPopups();
    openCalibrationDates();
    for (int field : SYSINFO_FIELDS)
        EXPECT_EQ(op.shows(sysInfo(), field), "n/a") << ui::test::describe(sysInfo(), field);
    for (int field : CALINFO_FIELDS)
        EXPECT_EQ(op.shows(calInfo(), field), "n/a") << ui::test::describe(calInfo(), field);
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(InfoTest, BootedModuleShowsItsIdentityAndCalibrationDates) {
    ASSERT_EQ(startApp(), 0);
    const uint32_t vi = bootModule(0x4B20);
    ASSERT_NE(vi, 0u);
    SetCtrlVal(state().mainPanel, MAINPANEL_MODULE_RESOURCE, "0x4B20");
    ASSERT_GE(qm4120_setSerialNumber(vi, "QA-7781"), 0);
    // A temperature calibration from long ago, and a group-delay calibration that is the latest of all.
    ASSERT_GE(qm4120_cal_Temp_Commit(vi, 2005, 3, 7, 9, 5, 0), 0);
    ASSERT_GE(qm4120_cal_IFDigGrpDel_Commit(vi, 2031, 11, 2, 23, 59, 8), 0);
    openCalibrationDates();

    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_PXI_RESOURCE), "0x4B20");
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_DRIVER_REV), QM4120_DRIVER_REVISION);
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_SERIAL), "QA-7781");
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_LAST_CAL), "2031-11-02 23:59:08");
    uint16_t pciRev = 0;
    ASSERT_GE(qm4120_getPciRev(vi, &pciRev), 0);
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_PCI_REV), std::to_string(pciRev));
    // The configuration the module runs is named as the module lists it.
    uint16_t ids[16] = {};
    char names[16 * QM4120_FPGA_NAME_SIZE] = {};
    uint16_t count = 16;
    ASSERT_GE(qm4120_listFPGAConfigs(vi, ids, names, &count), 0);
    // The last real configuration (identifier 0 asks for the default one).
    int last = count - 1;
    while (last > 0 && ids[last] == 0) --last;
    ASSERT_GE(qm4120_resetWithFpgaConfig(vi, ids[last]), 0);
    ASSERT_TRUE(op.press(sysInfo(), SYSINFO_CLOSE));
    openInformation();
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_FPGA_CONFIG), names + last * QM4120_FPGA_NAME_SIZE);

    EXPECT_EQ(op.shows(calInfo(), CALINFO_TEMPERATURE_DATE), "2005-03-07 09:05:00");
    EXPECT_EQ(op.shows(calInfo(), CALINFO_GROUP_DELAY_DATE), "2031-11-02 23:59:08");
    EXPECT_EQ(op.shows(calInfo(), CALINFO_LAST_CAL_DATE), "2031-11-02 23:59:08");
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(InfoTest, UnreadableSourcesKeepNaAndOnlyTimeStampsAreReported) {
    ASSERT_EQ(startApp(), 0);
    ASSERT_NE(bootModule(0x4120), 0u);
    qm_fault_set("qm4120_caldataGetSerialNumber", -5, -1);
    qm_fault_set("qm4120_caldataModuleLastTimeStampQuery", -5, -1);
    openInformation();
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_SERIAL), "n/a");
    EXPECT_EQ(op.shows(sysInfo(), SYSINFO_LAST_CAL), "n/a");
    EXPECT_NE(op.shows(sysInfo(), SYSINFO_DRIVER_REV), "n/a");
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    fe.clearPopups();
    ASSERT_TRUE(op.press(sysInfo(), SYSINFO_CAL_INFO));
    EXPECT_EQ(op.shows(calInfo(), CALINFO_LAST_CAL_DATE), "n/a");
    EXPECT_NE(op.shows(calInfo(), CALINFO_TEMPERATURE_DATE), "n/a");
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
}

TEST_F(InfoTest, FileVersionsComeFromTheFilesThemselves) {
    ASSERT_EQ(startApp(), 0);
    openInformation();
    ASSERT_TRUE(op.press(sysInfo(), SYSINFO_FILE_INFO));
    ASSERT_TRUE(op.panelShown(fileVersions()));
    // The driver library is built with its release number; files that do not exist here, and the
    // user-calibration library that is never asked, read "n/a".
    EXPECT_EQ(op.shows(fileVersions(), SYSINFODET_QM4120_32), "2.1.0.0");
    EXPECT_NE(op.shows(fileVersions(), SYSINFODET_QM4120_LIB), "n/a");
    EXPECT_NE(op.shows(fileVersions(), SYSINFODET_QM41XX_UTILS), "n/a");
    for (int absent : {SYSINFODET_QM4125_FPGA, SYSINFODET_QM4870_PLUGIN, SYSINFODET_QM4880_USRCAL})
        EXPECT_EQ(op.shows(fileVersions(), absent), "n/a");
    ASSERT_TRUE(op.press(fileVersions(), SYSINFODET_CLOSE));
    EXPECT_FALSE(op.panelShown(fileVersions()));

    // A library of ours beside the program is found under its own name, with or without a version record.
    const std::string dir = programDir + "/";
    std::ofstream(dir + "libwith.so", std::ios::binary) << std::string(
                                                               "\x7f"
                                                               "ELF....QM_FILE_VERSION=4.3.2.1")
                                                        << '\0';
    std::ofstream(dir + "libwithout.so", std::ios::binary) << "\x7f"
                                                              "ELF no record here";
    char text[256] = "junk";
    EXPECT_EQ(getFileVersionString((programDir + "\\with.dll").c_str(), text, sizeof text), 1);
    EXPECT_STREQ(text, "4.3.2.1");
    EXPECT_EQ(getFileVersionString((programDir + "\\without.dll").c_str(), text, sizeof text), 0);
    EXPECT_EQ(getFileVersionString("\\qm4870_plugin.dll", text, sizeof text), 0);
}

}  // namespace
