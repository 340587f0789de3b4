#include "module_state.h"

#include "qm4120.h"

namespace qm::sigmf {

namespace {

constexpr uint16_t IF_INPUT = 0;

}  // namespace

int32_t getDecimation(uint32_t vi, uint16_t mode, uint32_t* ratio) {
    switch (mode) {
        case 0:
            return qm4120_getUmtsDecimationRatio(vi, ratio);
        case 1:
            return qm4120_getGsmDecimationRatio(vi, ratio);
        case 2:
            return qm4120_getCdma20001xDecimationRatio(vi, ratio);
        case 4:
            return qm4120_getEmu7706DecimationRatio(vi, ratio);
        default:
            return qm4120_getGenericDecimationRatio(vi, ratio);
    }
}

bool readIdentity(uint32_t vi, Identity* identity, const ReadCheck& check) {
    char serial[QM4120_TEXT_SIZE] = {0};
    char driverRev[QM4120_TEXT_SIZE] = {0};
    char fpgaRev[QM4120_TEXT_SIZE] = {0};
    char pciRev[QM4120_TEXT_SIZE] = {0};
    // The revision queries report the instrument library's own statuses.
    const bool read =
        check("reading the model code", qm4120_getModelCode(vi, &identity->modelCode)) &&
        check("reading the serial number", qm4120_getSerialNumber(vi, serial)) &&
        check("reading the revisions", qm4120_dll_error(qm4120_revision_query(vi, driverRev, fpgaRev))) &&
        check("reading the PCI FPGA revision", qm4120_dll_error(qm4120_getPciFpgaRev(vi, pciRev)));
    if (!read) return false;
    identity->serialNumber = serial;
    identity->driverRevision = driverRev;
    identity->fpgaRevision = fpgaRev;
    identity->pciFpgaRevision = pciRev;
    return true;
}

bool readApplied(uint32_t vi, Applied* a, const ReadCheck& check) {
    return check("reading the input source", qm4120_getInputSource(vi, &a->inputSource)) &&
           check("reading the RF frequency", qm4120_getRfFrequency(vi, &a->rfFrequencyHz)) &&
           check("reading the LO offset", qm4120_getLoOffset(vi, &a->loOffsetHz)) &&
           check("reading the IF frequency", qm4120_getIfFrequency(vi, &a->ifFrequencyHz)) &&
           check("reading the input level", a->inputSource == IF_INPUT
                                                ? qm4120_getIfInputLevel(vi, &a->inputLevelDbm)
                                                : qm4120_getRfInputLevel(vi, &a->inputLevelDbm)) &&
           check("reading the RF attenuation", qm4120_getRfAttenuation(vi, &a->rfAttenuationDb)) &&
           check("reading the IF attenuation", qm4120_getIfAttenuation(vi, &a->ifAttenuationDb)) &&
           check("reading the sample data type", qm4120_getSampleDataType(vi, &a->sampleDataType)) &&
           check("reading the word width", qm4120_getSampleDataOutputFormat(vi, &a->outputFormat)) &&
           check("reading the modulation mode", qm4120_getModulationMode(vi, &a->modulationMode)) &&
           check("reading the decimation", getDecimation(vi, a->modulationMode, &a->decimation)) &&
           check("reading the sample count", qm4120_getNumberOfSamples(vi, &a->samples)) &&
           check("reading the sampling rate", qm4120_getDecimatedSamplingFrequency(vi, &a->sampleRateHz)) &&
           check("reading the trigger source", qm4120_getTriggerSource(vi, &a->triggerSource)) &&
           check("reading the phase word", qm4120_getNegatePhaseWord(vi, &a->negatePhaseWord));
}

}  // namespace qm::sigmf
