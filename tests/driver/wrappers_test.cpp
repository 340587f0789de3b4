// Every plain wrapper reaches the library operation its name says and maps its status; the wrappers
// with logic of their own choose the right operations.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <set>
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
    std::string vendor;  // the library operation the name stands for
    std::function<int32_t(uint32_t)> call;
};

// Every operation the instrument library exports.
std::set<std::string> libraryOperations() {
    std::set<std::string> ops = {"qm4120_controlSetModelCodePxiKorvo", "qm4120_controlSetPciRevPxiKorvo",
                                 "qm4120_fpgaListConfigs"};
#define QM_OP(family, Name, params, args) ops.insert("qm4120_" #family #Name);
#include "qm4120_pb_ops.inc"
    return ops;
}

// The library operation a wrapper name stands for, worked out from the name alone and not from the
// driver's table: the family prefix and the name with its first letter capitalised, unless the name is
// one of the listed exceptions.
std::string vendorOf(const std::string& wrapper, const std::set<std::string>& ops) {
    static const std::map<std::string, std::string> EXCEPTIONS = {
        {"app_applyDigGrpDel", "appApplyDigGrpDel"},
        {"setGenericSamplingFreqRatio", "controlSetGenericSamplingFrequencyRatio"},
        {"getGenericSamplingFreqRatio", "controlGetGenericSamplingFrequencyRatio"},
        {"ADCReSyncInterface", "controlReSyncAdc"},
        {"ADCInit", "controlInitAdc"},
        {"ADCStandby", "controlAdcStandby"},
        {"ADCEnable", "controlAdcEnable"},
        {"ADCRead", "controlAdcRead"},
        {"ADCReadTemp", "controlAdcReadTemp"},
        {"ADCReadPower", "controlAdcReadPower"},
        {"ADCCal", "controlAdcCal"},
        {"reSyncADCInterface", "controlReSyncAdc"},
        {"InitADC", "controlInitAdc"},
        {"adcPhase", "controlSetAdcPhase"},
        {"getFPGAConfig", "fpgaGetConfig"},
        {"countFPGAConfigs", "fpgaCountConfigs"},
        {"listFPGAConfigs", "fpgaListConfigs"},
        {"setTemperatureOptimization", "caldataSetTempMeasurementAllowed"},
        {"getTemperatureOptimization", "caldataGetTempMeasurementAllowed"},
        {"getCalModuleLastTimeStamp", "caldataModuleLastTimeStampQuery"},
        {"regWriteBit", "registerWriteBit"},
        {"regReadBit", "registerReadBit"},
        {"regWriteFieldVal", "registerWriteFieldVal"},
        {"regReadFieldVal", "registerReadFieldVal"},
        {"setRoutingConnect", "routingSetConnect"},
        {"getRoutingConnect", "routingGetConnect"},
        {"setRoutingOutputEnable", "routingSetOutputEnable"},
        {"getRoutingOutputEnable", "routingGetOutputEnable"},
        {"appendRoutingScenario", "routingAppendScenario"},
        {"removeRoutingScenario", "routingRemoveScenario"},
        {"getRoutingScenarioListSize", "routingGetScenariosSize"},
        {"getRoutingScenarioList", "routingGetScenarios"},
    };
    const std::string bare = wrapper.substr(std::strlen("qm4120_"));
    if (auto it = EXCEPTIONS.find(bare); it != EXCEPTIONS.end()) return "qm4120_" + it->second;

    // Calibration: qm4120_cal_<Group>_<Operation> is qm4120_cal<Group><Operation> without underscores.
    if (bare.rfind("cal_", 0) == 0) {
        std::string joined;
        for (char c : bare.substr(4))
            if (c != '_') joined += c;
        return "qm4120_cal" + joined;
    }
    // Time-stamp readers: getCal<Group>TimeStamp reads cal<Group>TimeStampQuery.
    if (bare.rfind("getCal", 0) == 0 && bare.size() > 15 && bare.substr(bare.size() - 9) == "TimeStamp") {
        return "qm4120_cal" + bare.substr(6) + "Query";
    }
    std::string found;
    for (const char* family : {"app", "control", "fpga", "caldata", "register", "routing"}) {
        std::string candidate = std::string("qm4120_") + family + bare;
        candidate[7 + std::strlen(family)] = static_cast<char>(std::toupper(bare[0]));
        if (ops.count(candidate)) {
            if (!found.empty()) return "ambiguous: " + found + " and " + candidate;
            found = candidate;
        }
    }
    return found.empty() ? "no library operation for " + wrapper : found;
}

std::vector<Wrapper> plainWrappers() {
    const std::set<std::string> ops = libraryOperations();
    std::vector<Wrapper> all;
    auto add = [&](const std::string& name, std::function<int32_t(uint32_t)> call) {
        all.push_back({name, vendorOf(name, ops), std::move(call)});
    };
#define QMW_OP(w, v, params, args) \
    add("qm4120_" #w, [](uint32_t vi) { return callWithPlainArguments(&qm4120_##w, vi); });
#include "qm4120_wrappers.inc"

#define QM_OP(family, Name, params, args)
#define QM_CAL(Group, Op, params, args) \
    add("qm4120_cal_" #Group "_" #Op,   \
        [](uint32_t vi) { return callWithPlainArguments(&qm4120_cal_##Group##_##Op, vi); });
#define QM_CALID(Board, Op, params, args) \
    add("qm4120_cal_Id_" #Board "_" #Op,  \
        [](uint32_t vi) { return callWithPlainArguments(&qm4120_cal_Id_##Board##_##Op, vi); });
#include "qm4120_pb_ops.inc"

    // Older names that forward to another wrapper.
    add("qm4120_reSyncADCInterface", [](uint32_t vi) { return qm4120_reSyncADCInterface(vi); });
    add("qm4120_InitADC", [](uint32_t vi) { return qm4120_InitADC(vi); });
    add("qm4120_adcPhase", [](uint32_t vi) { return qm4120_adcPhase(vi, 3); });
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
            ASSERT_EQ(w.vendor.rfind("qm4120_", 0), 0u) << w.vendor;
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
    EXPECT_EQ(qm4120_setRoutingScenario(vi, 1), 0);
    qm4120_setRoutingScenario(vi, 3);  // whether or not the module knows scenario 3
    int32_t s = 0;
    EXPECT_EQ(qm_fault_hit("qm4120_controlGetTriggerSource", &s), 1)
        << "scenario 1 or 3 read the trigger source";
    EXPECT_EQ(qm_fault_hit("qm4120_controlSetTriggerSource", &s), 1) << "scenario 1 or 3 wrote the source";

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

}  // namespace
