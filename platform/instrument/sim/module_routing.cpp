// Trigger and timing routing matrix: each destination line is driven from one source signal; the
// backplane lines and the front SMB also have an output enable. Scenario 0 is the default routing,
// scenario 1 carries the LVDS auxiliary lines onto the PXI local bus.

#include <algorithm>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

// Signal numbers used below.
constexpr uint32_t PXI_LBL0 = 9;
constexpr uint32_t LVDS_MARKER1 = 22;
constexpr uint32_t LVDS_AUX0 = 26;
constexpr uint32_t INT_TRIG = 35;
constexpr uint32_t INT_TIMER = 36;
constexpr uint32_t FRONT_SMB = 38;
constexpr uint32_t CAPT_BUSY = 39;
constexpr uint32_t LIST_ADDR0 = 40;
constexpr uint32_t LIST_STB = 48;
constexpr uint32_t SEQ_STB = 57;
constexpr uint32_t SEQ_STB_OUT = 67;
constexpr uint16_t LVDS_AUX_SCENARIO = 1;
constexpr size_t MAX_ACTIVE_SCENARIOS = 2;

bool isDestination(uint32_t d) {
    return d <= 7 || (d >= 9 && d <= 33) || d == 37 || d == FRONT_SMB || (d >= LIST_ADDR0 && d <= 46) ||
           d == LIST_STB || d == SEQ_STB || d == 58;
}

bool isSource(uint32_t s) {
    return s <= 31 || s == SIG_GND || s == INT_TRIG || s == INT_TIMER || s == FRONT_SMB || s == CAPT_BUSY ||
           (s >= 49 && s <= 55) || (s >= 59 && s <= 65) || (s >= SEQ_STB_OUT && s <= 69);
}

bool hasOutputEnable(uint32_t d) {
    return d <= 7 || (d >= 9 && d <= 21) || d == FRONT_SMB;
}

}  // namespace

void SimModule::defaultRouting() {
    routingSource_.fill(SIG_GND);
    routingEnable_.fill(0);
    // The LVDS markers report the capture and the module's own triggers to whatever sits downstream.
    routingSource_[LVDS_MARKER1] = CAPT_BUSY;
    routingSource_[LVDS_MARKER1 + 1] = INT_TRIG;
    routingSource_[LVDS_MARKER1 + 2] = INT_TIMER;
    routingSource_[LVDS_MARKER1 + 3] = SEQ_STB_OUT;
    // List addresses and strobe arrive on the PXI local bus; the counter steps on the front SMB.
    for (uint32_t bit = 0; bit < 7; ++bit) routingSource_[LIST_ADDR0 + bit] = PXI_LBL0 + bit;
    routingSource_[LIST_STB] = PXI_LBL0 + 7;
    routingSource_[SEQ_STB] = FRONT_SMB;
}

void SimModule::applyScenario(uint16_t scenario, bool on) {
    if (scenario != LVDS_AUX_SCENARIO) return;
    for (uint32_t line = 0; line < 5; ++line) {
        routingSource_[PXI_LBL0 + line] = on ? LVDS_AUX0 + line : SIG_GND;
        routingEnable_[PXI_LBL0 + line] = on ? 1 : 0;
    }
}

int32_t SimModule::routingSetConnect(uint16_t destination, uint32_t source) {
    if (!isDestination(destination)) return ERR_INVALID_DESTINATION;
    if (!isSource(source)) return ERR_INVALID_SOURCE;
    routingSource_[destination] = source;
    return OK;
}

int32_t SimModule::routingGetConnect(uint16_t destination, uint32_t* source) {
    if (!isDestination(destination)) return ERR_INVALID_DESTINATION;
    return put(source, routingSource_[destination]);
}

int32_t SimModule::routingSetOutputEnable(uint16_t destination, uint16_t enable) {
    if (!isDestination(destination)) return ERR_INVALID_DESTINATION;
    if (!hasOutputEnable(destination)) return ERR_NO_OUTPUT_ENABLE;
    routingEnable_[destination] = enable ? 1 : 0;
    return OK;
}

int32_t SimModule::routingGetOutputEnable(uint16_t destination, uint16_t* enable) {
    if (!isDestination(destination)) return ERR_INVALID_DESTINATION;
    if (!hasOutputEnable(destination)) return ERR_NO_OUTPUT_ENABLE;
    return put(enable, routingEnable_[destination]);
}

int32_t SimModule::routingAppendScenario(uint16_t scenario) {
    if (scenario != LVDS_AUX_SCENARIO) return ERR_INVALID_SCENARIO;
    if (std::find(scenarios_.begin(), scenarios_.end(), scenario) != scenarios_.end())
        return WARN_SCENARIO_ACTIVE;
    if (scenarios_.size() >= MAX_ACTIVE_SCENARIOS) return ERR_SCENARIO_LIST_FULL;
    scenarios_.push_back(scenario);
    applyScenario(scenario, true);
    return OK;
}

int32_t SimModule::routingRemoveScenario(uint16_t scenario) {
    if (scenario != LVDS_AUX_SCENARIO) return ERR_INVALID_SCENARIO;
    auto it = std::find(scenarios_.begin(), scenarios_.end(), scenario);
    if (it == scenarios_.end()) return WARN_SCENARIO_INACTIVE;
    scenarios_.erase(it);
    applyScenario(scenario, false);
    return OK;
}

int32_t SimModule::routingGetScenariosSize(uint16_t* value) {
    return put(value, static_cast<uint16_t>(scenarios_.size()));
}

int32_t SimModule::routingGetScenarios(uint16_t* scenarios) {
    if (!scenarios) return ERR_NULL_POINTER;
    // Up to two entries; a shorter list ends with a 0.
    for (size_t i = 0; i < MAX_ACTIVE_SCENARIOS; ++i) {
        scenarios[i] = i < scenarios_.size() ? scenarios_[i] : 0;
        if (i >= scenarios_.size()) break;
    }
    return OK;
}

int32_t SimModule::routingSetScenario(uint16_t scenario) {
    if (scenario != 0 && scenario != LVDS_AUX_SCENARIO) return ERR_INVALID_SCENARIO;
    defaultRouting();
    scenarios_.clear();
    if (scenario != 0) {
        scenarios_.push_back(scenario);
        applyScenario(scenario, true);
    }
    return OK;
}

}  // namespace qm::sim
