// What a recording's metadata says about the module: its identity and the settings it applied, read
// through the driver's public C API.
#ifndef QM4120_SIGMF_MODULE_STATE_H
#define QM4120_SIGMF_MODULE_STATE_H

#include <cstdint>
#include <functional>
#include <string>

namespace qm::sigmf {

// What the module reports about itself.
struct Identity {
    uint16_t modelCode = 0;
    std::string serialNumber;
    std::string driverRevision;
    std::string fpgaRevision;
    std::string pciFpgaRevision;
};

// The settings the module applied, read back after setting them.
struct Applied {
    uint16_t inputSource = 1;
    double rfFrequencyHz = 0.0;
    double loOffsetHz = 0.0;
    double ifFrequencyHz = 0.0;
    double inputLevelDbm = 0.0;
    int32_t rfAttenuationDb = 0;
    int32_t ifAttenuationDb = 0;
    uint16_t sampleDataType = 1;  // 0 IF, 1 I/Q
    uint16_t outputFormat = 0;    // 0 16-bit, 1 32-bit words
    uint16_t modulationMode = 0;
    uint32_t decimation = 0;
    uint32_t samples = 0;  // requested, as rounded by the module
    double sampleRateHz = 0.0;
    uint16_t triggerSource = 32;
    uint16_t negatePhaseWord = 0;
};

// Hears the status of every read, named by what it read; returns false to stop reading.
using ReadCheck = std::function<bool(const char* what, int32_t status)>;

// Read step by step in the order of the fields; false as soon as `check` says stop.
bool readIdentity(uint32_t vi, Identity* identity, const ReadCheck& check);
bool readApplied(uint32_t vi, Applied* applied, const ReadCheck& check);

// The decimation ratio of a modulation mode: UMTS, GSM, CDMA2000 1X, (none), 7706, generic.
int32_t getDecimation(uint32_t vi, uint16_t mode, uint32_t* ratio);

}  // namespace qm::sigmf

#endif
