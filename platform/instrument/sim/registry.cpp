// Process-wide registry of instrument sessions, the values the boot sequence hands over before a
// session exists, and the register window the bus library serves from the modules.

#include <cstdlib>
#include <map>
#include <optional>

#include "../qm4120_pb_sim.h"
#include "pxi_korvo_sim.h"
#include "qm_faults.h"
#include "sim_api.h"
#include "sim_module.h"

namespace qm::sim {

bool faultHit(const char* operation, int32_t* status) {
    return qm_fault_hit(operation, status) != 0;
}

std::mutex& moduleMutex(SimModule& module) {
    return module.mutex();
}

namespace {

// Byte offsets of the module's register windows in its bus address space: reads and writes use
// different windows.
constexpr uint32_t READ_WINDOW = 0x200000;
constexpr uint32_t WRITE_WINDOW = 0xA00000;

uint32_t failEveryFromEnvironment() {
    const char* text = std::getenv("QM4120_SIM_FPGA_CHECK_FAIL_EVERY");
    if (!text || !*text) return 3;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 10);
    return (end && *end == '\0') ? static_cast<uint32_t>(v) : 3;
}

struct Registry {
    std::mutex lock;
    std::map<uint32_t, std::shared_ptr<SimModule>> modules;
    std::optional<uint16_t> pendingModel;
    std::optional<uint16_t> pendingPciRev;
    uint32_t created = 0;
    uint32_t failEvery = failEveryFromEnvironment();
    Scenario scenario = scenarioFromEnvironment();
};

Registry& reg() {
    static Registry r;
    return r;
}

int32_t readHandler(uint32_t session, uint16_t, uint32_t offset, uint32_t* value) {
    std::shared_ptr<SimModule> m = registry::find(session);
    uint32_t result = 0;
    if (m && offset % 4 == 0) {
        std::lock_guard<std::mutex> lock(m->mutex());
        if (offset >= READ_WINDOW && offset < READ_WINDOW + 4 * HW_REGISTERS) {
            result = m->hardwareRead((offset - READ_WINDOW) / 4);
        } else if (offset >= WRITE_WINDOW && offset < WRITE_WINDOW + 4 * HW_REGISTERS) {
            result = m->hardwareRead((offset - WRITE_WINDOW) / 4);
        }
    }
    *value = result;
    return 0;
}

int32_t writeHandler(uint32_t session, uint16_t, uint32_t offset, uint32_t count, const uint32_t* words) {
    std::shared_ptr<SimModule> m = registry::find(session);
    if (!m || offset % 4 != 0 || offset < WRITE_WINDOW) return 0;
    std::lock_guard<std::mutex> lock(m->mutex());
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t index = (offset - WRITE_WINDOW) / 4 + i;
        if (index >= HW_REGISTERS) break;
        m->hardwareWrite(index, words[i]);
    }
    return 0;
}

void installRegisterWindow() {
    static std::once_flag once;
    std::call_once(once, [] { korvo_simSetRegisterHandler(readHandler, writeHandler); });
}

}  // namespace

namespace registry {

std::shared_ptr<SimModule> find(uint32_t session) {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    auto it = r.modules.find(session);
    return it == r.modules.end() ? nullptr : it->second;
}

int32_t create(uint32_t session) {
    uint16_t busCode = 0;
    if (korvo_simModelCode(session, &busCode) < 0) return ERR_BUS_SESSION;
    installRegisterWindow();
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    // A model code announced before the open wins over what the bus reports; it is used once.
    const uint16_t code = r.pendingModel.value_or(busCode);
    const ModelSpec* spec = findModel(code);
    if (!spec) return ERR_UNKNOWN_MODEL;
    const uint16_t pciRev = r.pendingPciRev.value_or(spec->pciRev);
    r.pendingModel.reset();
    r.pendingPciRev.reset();
    ++r.created;
    const bool failFirstCheck = r.failEvery > 0 && r.created % r.failEvery == 0;
    r.modules[session] =
        std::make_shared<SimModule>(session, *spec, pciRev, failFirstCheck, r.scenario, eeprom::load(*spec));
    return OK;
}

int32_t remove(uint32_t session) {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    return r.modules.erase(session) ? OK : ERR_INVALID_SESSION;
}

int32_t setPendingModel(uint16_t code) {
    if (!findModel(code)) return ERR_UNKNOWN_MODEL;
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    r.pendingModel = code;
    return OK;
}

int32_t setPendingPciRev(uint16_t rev) {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    r.pendingPciRev = rev;
    return OK;
}

std::shared_ptr<SimModule> probe(uint32_t session) {
    uint16_t busCode = 0;
    if (korvo_simModelCode(session, &busCode) < 0) return nullptr;
    const ModelSpec* spec = findModel(busCode);
    if (!spec) return nullptr;
    return std::make_shared<SimModule>(session, *spec, spec->pciRev, false, Scenario{}, eeprom::load(*spec));
}

void setFpgaCheckFailEvery(uint32_t every) {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    r.failEvery = every;
    r.created = 0;
}

void setScenario(const Scenario& scenario) {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    r.scenario = scenario;
    for (auto& [session, module] : r.modules) {
        std::lock_guard<std::mutex> moduleLock(module->mutex());
        module->setScenario(scenario);
    }
}

uint32_t count() {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    return static_cast<uint32_t>(r.modules.size());
}

void clear() {
    Registry& r = reg();
    std::lock_guard<std::mutex> lock(r.lock);
    r.modules.clear();
    r.pendingModel.reset();
    r.pendingPciRev.reset();
}

}  // namespace registry

}  // namespace qm::sim
