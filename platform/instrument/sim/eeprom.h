// The contents of a module's EEPROMs: its serial number, the stored calibration sets with their time
// stamps and the three board identity records. They belong to the module in the chassis, not to an
// instrument session: a session starts from what the EEPROMs hold and writes back what it commits, so
// a close and a new open of the same model find the module as it was left.
#ifndef QM4120_SIM_EEPROM_H
#define QM4120_SIM_EEPROM_H

#include <array>
#include <cstdint>
#include <string>

#include "calibration.h"
#include "model_table.h"

namespace qm::sim {

struct EepromImage {
    std::string serialNumber;
    std::array<CalSet, static_cast<int>(CalGroup::Count)> cal;
    std::array<IdRecord, static_cast<int>(Board::Count)> id;
};

// What a module of this model leaves the factory with.
EepromImage factoryEeprom(const ModelSpec& spec);

// The EEPROMs of the chassis's modules, one per model code. Safe from any thread; its lock is taken
// last (a caller may hold a module's or the registry's lock), and nothing else is locked under it.
namespace eeprom {

// A copy of the module's EEPROMs for a new session, with every working copy equal to the stored one.
EepromImage load(const ModelSpec& spec);
void saveSerialNumber(const ModelSpec& spec, const std::string& serial);
void saveCal(const ModelSpec& spec, CalGroup group, const CalSet& set);
void saveIdentity(const ModelSpec& spec, Board board, const IdRecord& record);
void saveAll(const ModelSpec& spec, const EepromImage& image);
// Every module back to its factory contents.
void resetAll();

}  // namespace eeprom

}  // namespace qm::sim

#endif
