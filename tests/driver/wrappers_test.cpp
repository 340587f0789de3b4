// Every plain wrapper reaches the library operation its name says and maps its status; the wrappers
// with logic of their own choose the right operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "qm4120.h"
#include "qm4120_pb_lib.h"
#include "qm_faults.h"

namespace {

// Zeroed memory that any output argument may point into; larger than any result a wrapper writes.
alignas(16) unsigned char scratch[1 << 16];

template <class T>
T argument(uint32_t vi, bool first) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<T>(scratch);  // text inputs read as "" from the zeroed memory
    } else if constexpr (std::is_same_v<T, uint32_t>) {
        return first ? vi : 0;
    } else {
        return T{};
    }
}

template <class First, class... Rest>
int32_t callWithPlainArguments(int32_t (*op)(First, Rest...), uint32_t vi) {
    return op(argument<First>(vi, true), argument<Rest>(vi, false)...);
}

struct Wrapper {
    std::string name;
    std::string vendor;
    std::function<int32_t(uint32_t)> call;
};

std::vector<Wrapper> plainWrappers() {
    std::vector<Wrapper> all;
#define QMW_OP(w, v, params, args) \
    all.push_back(                 \
        {"qm4120_" #w, "qm4120_" #v, [](uint32_t vi) { return callWithPlainArguments(&qm4120_##w, vi); }});
#include "qm4120_wrappers.inc"

#define QM_OP(family, Name, params, args)
#define QM_CAL(Group, Op, params, args)                                   \
    all.push_back({"qm4120_cal_" #Group "_" #Op, "qm4120_cal" #Group #Op, \
                   [](uint32_t vi) { return callWithPlainArguments(&qm4120_cal_##Group##_##Op, vi); }});
#define QM_CALID(Board, Op, params, args)                                      \
    all.push_back({"qm4120_cal_Id_" #Board "_" #Op, "qm4120_calId" #Board #Op, \
                   [](uint32_t vi) { return callWithPlainArguments(&qm4120_cal_Id_##Board##_##Op, vi); }});
#include "qm4120_pb_ops.inc"

    // Older names that forward to another wrapper.
    all.push_back({"qm4120_reSyncADCInterface", "qm4120_controlReSyncAdc",
                   [](uint32_t vi) { return qm4120_reSyncADCInterface(vi); }});
    all.push_back(
        {"qm4120_InitADC", "qm4120_controlInitAdc", [](uint32_t vi) { return qm4120_InitADC(vi); }});
    all.push_back(
        {"qm4120_adcPhase", "qm4120_controlSetAdcPhase", [](uint32_t vi) { return qm4120_adcPhase(vi, 3); }});
    return all;
}

class Wrappers : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0); }
    static void TearDownTestSuite() {
        qm_fault_clear_all();
        qm4120_close(vi);
    }
    void TearDown() override { qm_fault_clear_all(); }

    static uint32_t vi;
};
uint32_t Wrappers::vi = 0;

TEST_F(Wrappers, EachReachesItsOperationAndMapsItsStatus) {
    const std::vector<Wrapper> all = plainWrappers();
    EXPECT_GT(all.size(), 450u);
    // An error from each band and a warning: the wrapper must return the armed status, mapped, and use
    // up exactly the fault armed on the operation its name says.
    for (int32_t status : {-5, -61, 12}) {
        for (const Wrapper& w : all) {
            qm_fault_set(w.vendor.c_str(), status, 1);
            EXPECT_EQ(w.call(vi), qm4120_dll_error(status)) << w.name << " -> " << w.vendor;
            int32_t left = 0;
            EXPECT_EQ(qm_fault_hit(w.vendor.c_str(), &left), 0) << w.name << " did not call " << w.vendor;
            qm_fault_clear(w.vendor.c_str());
        }
    }
}

TEST_F(Wrappers, SampleCountFollowsTheDataType) {
    uint32_t ifCount = 0;
    uint32_t iqCount = 0;
    uint32_t count = 0;
    ASSERT_EQ(qm4120_setSampleDataType(vi, 1), 0);  // I/Q
    ASSERT_EQ(qm4120_getNumberOfIfSamples(vi, &ifCount), 0);
    ASSERT_EQ(qm4120_setNumberOfSamples(vi, 2048), 0);
    ASSERT_EQ(qm4120_getNumberOfIqSamples(vi, &iqCount), 0);
    EXPECT_EQ(iqCount, 2048u);
    uint32_t ifAfter = 0;
    ASSERT_EQ(qm4120_getNumberOfIfSamples(vi, &ifAfter), 0);
    EXPECT_EQ(ifAfter, ifCount) << "an I/Q count must leave the IF count alone";
    ASSERT_EQ(qm4120_getNumberOfSamples(vi, &count), 0);
    EXPECT_EQ(count, iqCount);

    ASSERT_EQ(qm4120_setSampleDataType(vi, 0), 0);  // IF
    qm_fault_set("qm4120_controlSetNumberOfIqSamples", -9, -1);
    qm_fault_set("qm4120_controlSetNumberOfIfSamples", -4, 1);
    EXPECT_EQ(qm4120_setNumberOfSamples(vi, 1024), qm4120_dll_error(-4));
    qm_fault_set("qm4120_controlGetNumberOfIfSamples", 7, 1);
    EXPECT_EQ(qm4120_getNumberOfSamples(vi, &count), qm4120_dll_error(7));
}

TEST_F(Wrappers, SampleCountWithUnreadableDataTypeAssumesIf) {
    qm_fault_set("qm4120_controlGetSampleDataType", -3, -1);
    qm_fault_set("qm4120_controlSetNumberOfIqSamples", -9, -1);
    qm_fault_set("qm4120_controlSetNumberOfIfSamples", 5, 1);
    EXPECT_EQ(qm4120_setNumberOfSamples(vi, 1024), qm4120_dll_error(5));
}

TEST_F(Wrappers, DefaultRoutingScenarioRebuildsTheTrigger) {
    // Armed warnings do no harm and tell by their use whether the trigger source was touched.
    qm_fault_set("qm4120_controlGetTriggerSource", 2, 1);
    qm_fault_set("qm4120_controlSetTriggerSource", 2, 1);
    EXPECT_EQ(qm4120_setRoutingScenario(vi, 3), 0);
    int32_t s = 0;
    EXPECT_EQ(qm_fault_hit("qm4120_controlGetTriggerSource", &s), 1) << "scenario 3 read the trigger source";
    EXPECT_EQ(qm_fault_hit("qm4120_controlSetTriggerSource", &s), 1) << "scenario 3 wrote the trigger source";

    // Scenario 0 writes back the source it read.
    uint16_t before = 0;
    uint16_t after = 0;
    ASSERT_EQ(qm4120_setTriggerSource(vi, 5), 0);
    ASSERT_EQ(qm4120_getTriggerSource(vi, &before), 0);
    qm_fault_set("qm4120_controlSetTriggerSource", 2, 1);
    EXPECT_EQ(qm4120_setRoutingScenario(vi, 0), 0) << "warnings of the rewrite are not the result";
    EXPECT_EQ(qm_fault_hit("qm4120_controlSetTriggerSource", &s), 0) << "scenario 0 must rewrite the source";
    ASSERT_EQ(qm4120_getTriggerSource(vi, &after), 0);
    EXPECT_EQ(after, before);

    qm_fault_set("qm4120_controlGetTriggerSource", -8, 1);
    EXPECT_EQ(qm4120_setRoutingScenario(vi, 0), qm4120_dll_error(-8));
    qm_fault_set("qm4120_controlSetTriggerSource", -9, 1);
    EXPECT_EQ(qm4120_setRoutingScenario(vi, 0), qm4120_dll_error(-9));
    qm_fault_set("qm4120_controlGetTriggerSource", -8, 1);
    qm_fault_set("qm4120_routingSetScenario", -10, 1);
    EXPECT_EQ(qm4120_setRoutingScenario(vi, 0), qm4120_dll_error(-10));
    EXPECT_EQ(qm_fault_hit("qm4120_controlGetTriggerSource", &s), 1) << "a failed scenario stops at once";
}

TEST_F(Wrappers, SettingsReachTheModule) {
    // A few set/read-back pairs through the real module, per-channel forms included.
    double hz = 0.0;
    ASSERT_EQ(qm4120_setRfFrequencyChan(vi, 1.25e9, 7), 0);
    ASSERT_EQ(qm4120_getRfFrequencyChan(vi, &hz, 7), 0);
    EXPECT_DOUBLE_EQ(hz, 1.25e9);
    uint16_t start = 0;
    uint16_t stop = 0;
    ASSERT_EQ(qm4120_setListCountStartStop(vi, 3, 9), 0);
    ASSERT_EQ(qm4120_getListCountStartStop(vi, &start, &stop), 0);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(stop, 9);
}

}  // namespace
