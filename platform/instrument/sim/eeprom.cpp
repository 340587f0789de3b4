// The chassis's EEPROM contents, kept for the life of the process and shared by every session on the
// same module.

#include "eeprom.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace qm::sim {

namespace {

// Factory calibration of every set: spread over a few days in early 2005, one set a day.
TimeStamp factoryStamp(int index) {
    return TimeStamp{2005, 3, static_cast<uint16_t>(7 + index), static_cast<uint16_t>(9 + index % 5), 5, 0};
}

struct Store {
    std::mutex lock;
    std::map<uint16_t, EepromImage> modules;
};

Store& store() {
    static Store s;
    return s;
}

// The module's image, made from factory contents the first time the model is seen. Call under the
// store's lock.
EepromImage& imageOf(Store& s, const ModelSpec& spec) {
    auto it = s.modules.find(spec.code);
    if (it == s.modules.end()) it = s.modules.emplace(spec.code, factoryEeprom(spec)).first;
    return it->second;
}

}  // namespace

EepromImage factoryEeprom(const ModelSpec& spec) {
    EepromImage image;
    char serial[32];
    std::snprintf(serial, sizeof serial, "%04X-%05u", spec.code, 417u + (spec.code % 1000u));
    image.serialNumber = serial;
    const CalContext context{spec.rfFreqMinHz,   spec.rfFreqMaxHz,  spec.ifFrequencyHz,
                             spec.ifBandwidthHz, spec.temperatureC, iqBranchSkewS(spec)};
    for (int g = 0; g < static_cast<int>(CalGroup::Count); ++g) {
        image.cal[g] = CalSet(static_cast<CalGroup>(g), context, factoryStamp(g));
    }
    for (int b = 0; b < static_cast<int>(Board::Count); ++b) {
        image.id[b] = IdRecord(static_cast<Board>(b), spec.code, factoryStamp(b));
    }
    return image;
}

namespace eeprom {

EepromImage load(const ModelSpec& spec) {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.lock);
    return imageOf(s, spec);
}

void saveSerialNumber(const ModelSpec& spec, const std::string& serial) {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.lock);
    imageOf(s, spec).serialNumber = serial;
}

void saveCal(const ModelSpec& spec, CalGroup group, const CalSet& set) {
    CalSet stored = set.committedCopy();
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.lock);
    imageOf(s, spec).cal[static_cast<int>(group)] = std::move(stored);
}

void saveIdentity(const ModelSpec& spec, Board board, const IdRecord& record) {
    IdRecord stored = record.committedCopy();
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.lock);
    imageOf(s, spec).id[static_cast<int>(board)] = std::move(stored);
}

void saveAll(const ModelSpec& spec, const EepromImage& image) {
    EepromImage stored;
    stored.serialNumber = image.serialNumber;
    for (size_t g = 0; g < image.cal.size(); ++g) stored.cal[g] = image.cal[g].committedCopy();
    for (size_t b = 0; b < image.id.size(); ++b) stored.id[b] = image.id[b].committedCopy();
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.lock);
    s.modules[spec.code] = std::move(stored);
}

void resetAll() {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.lock);
    s.modules.clear();
}

}  // namespace eeprom

}  // namespace qm::sim
