// Boot road: instrument records on bus sessions, model codes, FPGA configurations and their check,
// identity readings, status texts and fault injection.

#include <cstring>
#include <string>

#include "fixture.h"
#include "pxi_korvo_sim.h"

namespace {

using BootTest = SimTest;

TEST_F(BootTest, RecordsExistOnlyForOpenBusSessions) {
    const uint32_t before = qm4120_simInstrumentCount();
    EXPECT_EQ(qm4120_instrumentCreate(0xDEAD, 1), -9);
    EXPECT_EQ(qm4120_simInstrumentCount(), before);
    uint16_t code = 0;
    EXPECT_EQ(qm4120_controlGetModelCode(0xDEAD, &code), -1);
    EXPECT_EQ(qm4120_instrumentDelete(0xDEAD), -1);
    {
        Module m(0x4A20);
        ASSERT_EQ(m.createStatus(), 0);
        EXPECT_EQ(qm4120_simInstrumentCount(), before + 1);
        EXPECT_EQ(qm4120_controlGetModelCode(m.vi(), nullptr), -2);
    }
    EXPECT_EQ(qm4120_simInstrumentCount(), before);
}

TEST_F(BootTest, AnnouncedModelCodeAndPciRevisionApplyToTheNextOpenOnly) {
    EXPECT_EQ(qm4120_controlSetModelCodePxiKorvo(0x1234), -10);
    ASSERT_EQ(qm4120_controlSetModelCodePxiKorvo(0x4125), 0);
    ASSERT_EQ(qm4120_controlSetPciRevPxiKorvo(7), 0);
    {
        Module m(0x4120);
        EXPECT_EQ(got(qm4120_controlGetModelCode, m.vi()), 0x4125);
        EXPECT_EQ(got(qm4120_controlGetPciRev, m.vi()), 7);
    }
    Module again(0x4120);
    EXPECT_EQ(got(qm4120_controlGetModelCode, again.vi()), 0x4120);
    EXPECT_NE(got(qm4120_controlGetPciRev, again.vi()), 7);
}

TEST_F(BootTest, ConfigurationListsWorkOnABareBusSessionAndHideNothingButNames) {
    for (uint16_t model : MODELS) {
        uint32_t rm = 0;
        uint32_t bus = 0;
        char resource[8];
        std::snprintf(resource, sizeof resource, "0x%04X", model);
        ASSERT_EQ(korvo_viOpenDefaultRM(&rm), 0);
        ASSERT_EQ(korvo_viOpen(rm, resource, 0, 0, &bus), 0);
        uint16_t count = 0;
        ASSERT_EQ(qm4120_fpgaCountConfigs(bus, &count), 0) << std::hex << model;
        ASSERT_GE(count, 3);
        std::vector<uint16_t> ids(count, 0xFFFF);
        std::vector<char> names(count * QM4120_FPGA_NAME_SIZE, 'x');
        uint16_t listed = count;
        ASSERT_EQ(qm4120_fpgaListConfigs(bus, ids.data(), names.data(), &listed), 0);
        EXPECT_EQ(listed, count);
        int hidden = 0;
        for (uint16_t i = 0; i < listed; ++i) {
            const char* name = &names[i * QM4120_FPGA_NAME_SIZE];
            EXPECT_LT(strnlen(name, QM4120_FPGA_NAME_SIZE), static_cast<size_t>(QM4120_FPGA_NAME_SIZE));
            EXPECT_GT(std::strlen(name), 0u);
            hidden += ids[i] == 0;
        }
        EXPECT_EQ(hidden, 1) << "exactly one entry must not be offered";
        // A smaller capacity lists fewer entries.
        uint16_t two = 2;
        ASSERT_EQ(qm4120_fpgaListConfigs(bus, ids.data(), names.data(), &two), 0);
        EXPECT_EQ(two, 2);
        korvo_viClose(rm);
    }
}

TEST_F(BootTest, ConfigureAcceptsOnlyStoredConfigurations) {
    Module m(0x4125);
    ASSERT_EQ(qm4120_fpgaConfigure(m.vi(), 5), 0);
    EXPECT_EQ(got(qm4120_fpgaGetConfig, m.vi()), 5);
    EXPECT_EQ(qm4120_fpgaConfigure(m.vi(), 99), -16);
    EXPECT_EQ(got(qm4120_fpgaGetConfig, m.vi()), 5);
    // Configuration 0 loads the default, the first one offered.
    ASSERT_EQ(qm4120_fpgaConfigure(m.vi(), 0), 0);
    EXPECT_EQ(got(qm4120_fpgaGetConfig, m.vi()), 1);
}

TEST_F(BootTest, EveryThirdFreshModuleFailsItsFirstCheckUntilConfiguredAgain) {
    qm4120_simSetFpgaCheckFailEvery(3);  // counting starts again here
    int32_t first[6];
    for (int i = 0; i < 6; ++i) {
        uint32_t rm = 0;
        uint32_t bus = 0;
        korvo_viOpenDefaultRM(&rm);
        korvo_viOpen(rm, "0x4A20", 0, 0, &bus);
        ASSERT_EQ(qm4120_instrumentCreate(bus, 1), 0);
        ASSERT_EQ(qm4120_fpgaConfigure(bus, 0), 0);
        first[i] = qm4120_controlCheckFpgaConfig(bus);
        if (first[i] == -17) {
            EXPECT_EQ(qm4120_controlCheckFpgaConfig(bus), -17) << "stays unconfigured until loaded again";
            uint16_t config = 0;
            EXPECT_EQ(qm4120_fpgaGetConfig(bus, &config), -17);
            ASSERT_EQ(qm4120_fpgaConfigure(bus, 0), 0);
            EXPECT_EQ(qm4120_controlCheckFpgaConfig(bus), 0);
        }
        qm4120_instrumentDelete(bus);
        korvo_viClose(rm);
    }
    const int32_t expected[6] = {0, 0, -17, 0, 0, -17};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(first[i], expected[i]) << "module " << i + 1;
    qm4120_simSetFpgaCheckFailEvery(0);
}

TEST_F(BootTest, IdentityReadingsFollowTheModel) {
    for (uint16_t model : MODELS) {
        Module m(model);
        EXPECT_EQ(got(qm4120_controlGetListModeAvailable, m.vi()), model == 0x4120 ? 0 : 1);
        EXPECT_EQ(got(qm4120_controlGetChannelModeAvailable, m.vi()), 1);
        uint16_t rev = 0;
        uint16_t build = 0;
        ASSERT_EQ(qm4120_controlGetPciFpgaRev(m.vi(), &rev, &build), 0);
        EXPECT_GE(rev, 100) << "major * 100 + minor";
        uint16_t major = 0;
        uint16_t minor = 0;
        ASSERT_EQ(qm4120_controlGetFpgaRev(m.vi(), &major, &minor), 0);
        EXPECT_GT(major, 0);
    }
    Module base(0x4120);
    EXPECT_EQ(qm4120_controlSetListAddrSource(base.vi(), 2), -38);
}

TEST_F(BootTest, EveryLibraryStatusHasAText) {
    char text[QM4120_TEXT_SIZE];
    for (int32_t code = -72; code <= 69; ++code) {
        text[0] = '\0';
        EXPECT_EQ(qm4120_errGetErrorString(code, text), 0) << code;
        EXPECT_GT(std::strlen(text), 3u) << code;
    }
    ASSERT_EQ(qm4120_errGetErrorString(0, text), 0);
    EXPECT_STREQ(text, "No error");
    ASSERT_EQ(qm4120_errGetErrorString(-17, text), 0);
    EXPECT_STREQ(text, "FPGA not configured");
    EXPECT_GT(qm4120_errGetErrorString(70, text), 0);
    EXPECT_NE(std::string(text).find("70"), std::string::npos);
    EXPECT_EQ(qm4120_errGetErrorString(-1, nullptr), -2);
}

TEST_F(BootTest, ArmedFaultsReachTheOperationAndLeaveTheModuleAlone) {
    Module m(0x4A20);
    qm_fault_set("qm4120_appSetRfFrequency", -34, 1);
    EXPECT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.0e9), -34);
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequency, m.vi()), 2.0e9);
    EXPECT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.0e9), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequency, m.vi()), 1.0e9);
}

TEST_F(BootTest, SetDefaultsRestoresSettingsButKeepsTheEepromContents) {
    Module m(0x4B20);
    ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 900e6), 0);
    ASSERT_EQ(qm4120_controlSetTriggerSource(m.vi(), 3), 0);
    ASSERT_EQ(qm4120_caldataSetSerialNumber(m.vi(), "SN-42"), 0);
    ASSERT_EQ(qm4120_controlSetDefaults(m.vi()), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_appGetRfFrequency, m.vi()), 2.0e9);
    EXPECT_EQ(got(qm4120_controlGetTriggerSource, m.vi()), 32);
    char serial[QM4120_TEXT_SIZE];
    ASSERT_EQ(qm4120_caldataGetSerialNumber(m.vi(), serial), 0);
    EXPECT_STREQ(serial, "SN-42");
    EXPECT_EQ(qm4120_caldataSetSerialNumber(m.vi(), std::string(300, 'x').c_str()), -48);
}

}  // namespace
