// Opening, resetting and closing sessions on the simulated chassis, and every failure road of the open.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pxi_korvo_sim.h"
#include "qm4120.h"
#include "qm4120_pb_lib.h"
#include "qm4120_pb_sim.h"
#include "qm_faults.h"

namespace {

int32_t s32(uint32_t v) {
    return static_cast<int32_t>(v);
}

// Number of calls left on an armed fault; uses them up.
int remainingHits(const char* operation) {
    int n = 0;
    int32_t s = 0;
    while (n < 100 && qm_fault_hit(operation, &s)) ++n;
    return n;
}

class Session : public ::testing::Test {
  protected:
    void SetUp() override {
        qm_fault_clear_all();
        baseline = korvo_simOpenSessionCount();
        recordBaseline = qm4120_simInstrumentCount();
    }
    void TearDown() override {
        qm_fault_clear_all();
        if (vi != 0) qm4120_close(vi);
    }

    int openCount() const { return korvo_simOpenSessionCount() - baseline; }
    // Instrument records the library holds beyond those that existed before the test.
    int recordCount() const { return static_cast<int>(qm4120_simInstrumentCount() - recordBaseline); }

    int baseline = 0;
    uint32_t recordBaseline = 0;
    uint32_t vi = 0;
};

TEST_F(Session, OpenAndCloseLeaveNothingBehind) {
    ASSERT_EQ(qm4120_init("0x4120", 1, 1, &vi), 0);
    EXPECT_NE(vi, 0u);
    EXPECT_EQ(openCount(), 2);  // the session and its resource manager
    EXPECT_EQ(recordCount(), 1);
    uint16_t model = 0;
    EXPECT_EQ(qm4120_getModelCode(vi, &model), 0);
    EXPECT_EQ(model, 0x4120);
    EXPECT_EQ(qm4120_close(vi), 0);
    vi = 0;
    EXPECT_EQ(openCount(), 0);
    EXPECT_EQ(recordCount(), 0);
}

TEST_F(Session, OpenWithoutResetLoadsDefaults) {
    qm_fault_set("qm4120_fpgaConfigure", -9, -1);  // must not be reached
    qm_fault_set("qm4120_controlSetDefaults", 4, 1);
    EXPECT_EQ(qm4120_init("0x4125", 0, 0, &vi), qm4120_dll_error(4));
    EXPECT_NE(vi, 0u);
    EXPECT_EQ(remainingHits("qm4120_controlSetDefaults"), 0);
}

struct FailureRoad {
    const char* operation;
    int32_t status;
    uint16_t reset;
    int32_t expected;
};

class OpenFailure : public Session, public ::testing::WithParamInterface<FailureRoad> {};

TEST_P(OpenFailure, ClosesWhatItOpened) {
    const FailureRoad& road = GetParam();
    qm_fault_set(road.operation, road.status, -1);
    vi = 12345;
    EXPECT_EQ(qm4120_initWithFpgaConfig("0x4120", 1, road.reset, &vi, 0), road.expected);
    EXPECT_EQ(vi, 0u);
    EXPECT_EQ(openCount(), 0);
    EXPECT_EQ(recordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, OpenFailure,
    ::testing::Values(FailureRoad{"korvo_viOpenDefaultRM", s32(0xBFFF0000u), 1, s32(0xBFFF0000u)},
                      FailureRoad{"korvo_viOpen", s32(0xBFFF0011u), 1, s32(0xBFFF0011u)},
                      FailureRoad{"qm4120_instrumentCreate", -5, 1, s32(0xBFFC07A1u)},
                      FailureRoad{"qm4120_fpgaConfigure", -60, 1, s32(0xBFFC0760u)},
                      FailureRoad{"qm4120_controlCheckFpgaConfig", -18, 1, s32(0xBFFC07AEu)},
                      FailureRoad{"qm4120_controlSetDefaults", -2, 1, s32(0xBFFC079Eu)},
                      FailureRoad{"qm4120_controlSetDefaults", -2, 0, s32(0xBFFC079Eu)}));

TEST_F(Session, BadResourceNameIsReported) {
    EXPECT_LT(qm4120_init("not a module", 0, 1, &vi), 0);
    EXPECT_EQ(vi, 0u);
    EXPECT_EQ(openCount(), 0);
    EXPECT_EQ(qm4120_init("0x4120", 0, 1, nullptr), VI_ERROR_USER_BUF);
    EXPECT_EQ(openCount(), 0);
}

TEST_F(Session, OpenReturnsAWarningOfTheReset) {
    // A warning of the reset is the open's result, and the session stays open.
    qm_fault_set("qm4120_controlSetDefaults", 8, 1);
    EXPECT_EQ(qm4120_init("0x4120", 0, 1, &vi), qm4120_dll_error(8));
    EXPECT_NE(vi, 0u);
    EXPECT_EQ(openCount(), 2);
}

TEST_F(Session, ResetConfiguresAgainOnceWhenNotConfigured) {
    ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
    // Warnings let the configuration go on, and the armed counts tell how often it was loaded.
    qm_fault_set("qm4120_controlCheckFpgaConfig", -17, 1);
    qm_fault_set("qm4120_fpgaConfigure", 2, 3);
    EXPECT_EQ(qm4120_resetWithFpgaConfig(vi, 0), 0);
    EXPECT_EQ(remainingHits("qm4120_fpgaConfigure"), 1);

    // Any other check failure is returned without a second load.
    qm_fault_set("qm4120_controlCheckFpgaConfig", -16, 1);
    qm_fault_set("qm4120_fpgaConfigure", 2, 3);
    EXPECT_EQ(qm4120_resetWithFpgaConfig(vi, 0), qm4120_dll_error(-16));
    EXPECT_EQ(remainingHits("qm4120_fpgaConfigure"), 2);

    // A failing second load is the result, and the defaults are not loaded. The first load is made to
    // succeed; the second, real one fails on a configuration the module does not hold.
    const uint16_t unknownConfig = 999;
    qm_fault_set("qm4120_fpgaConfigure", 0, 1);
    qm_fault_set("qm4120_controlCheckFpgaConfig", -17, 1);
    qm_fault_set("qm4120_controlSetDefaults", 6, 1);
    const int32_t status = qm4120_resetWithFpgaConfig(vi, unknownConfig);
    EXPECT_LT(status, 0);
    EXPECT_EQ(remainingHits("qm4120_controlSetDefaults"), 1);
    EXPECT_EQ(status, qm4120_dll_error(qm4120_fpgaConfigure(vi, unknownConfig)));
}

TEST_F(Session, ResetReportsTheDefaults) {
    ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
    qm_fault_set("qm4120_controlSetDefaults", -30, 1);
    EXPECT_EQ(qm4120_reset(vi), qm4120_dll_error(-30));
    EXPECT_EQ(qm4120_reset(vi), 0);
}

TEST_F(Session, CloseWithUnreadableResourceManagerLeavesSessionOpen) {
    ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
    qm_fault_set("korvo_viGetAttribute", VI_ERROR_NSUP_ATTR, 1);
    EXPECT_EQ(qm4120_close(vi), VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(openCount(), 2);
    EXPECT_EQ(qm4120_close(vi), 0);
    vi = 0;
    EXPECT_EQ(openCount(), 0);
}

TEST_F(Session, CloseIgnoresTheLibrary) {
    ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
    qm_fault_set("qm4120_instrumentDelete", -5, 1);
    EXPECT_EQ(qm4120_close(vi), 0);
    vi = 0;
    EXPECT_EQ(openCount(), 0);
}

TEST_F(Session, RevisionTexts) {
    ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
    char driverRev[QM4120_TEXT_SIZE] = {};
    char fpgaRev[QM4120_TEXT_SIZE] = {};
    uint16_t major = 0;
    uint16_t minor = 0;
    ASSERT_EQ(qm4120_controlGetFpgaRev(vi, &major, &minor), 0);
    EXPECT_EQ(qm4120_revision_query(vi, driverRev, fpgaRev), 0);
    EXPECT_EQ(std::string(fpgaRev), std::to_string(major) + "." + std::to_string(minor));

    // Library statuses come back unmapped here.
    qm_fault_set("qm4120_controlGetFpgaRev", -7, 1);
    EXPECT_EQ(qm4120_revision_query(vi, driverRev, fpgaRev), -7);
    qm_fault_set("qm4120_controlGetPciFpgaRev", 5, 1);
    EXPECT_EQ(qm4120_getPciFpgaRev(vi, fpgaRev), 5);

    uint16_t pciRev = 0;
    uint16_t build = 0;
    ASSERT_EQ(qm4120_controlGetPciFpgaRev(vi, &pciRev, &build), 0);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d.%02d", pciRev / 100, pciRev % 100);
    EXPECT_EQ(qm4120_getPciFpgaRev(vi, fpgaRev), 0);
    EXPECT_STREQ(fpgaRev, expected);
}

}  // namespace
