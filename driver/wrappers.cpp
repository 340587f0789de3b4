// The parameter wrappers: one public operation per instrument setting. The plain ones forward to the
// instrument library unchanged and map its status; ranges and rounding are the module's, so nothing
// here tests a range or keeps a copy.
#include "pxi_korvo.h"
#include "qm4120.h"
#include "qm4120_pb_lib.h"

namespace {

// Reads and writes of the PCI window reach the module's registers through different windows of the
// first memory space.
constexpr uint32_t PCI_READ_WINDOW = 0x200000;
constexpr uint32_t PCI_WRITE_WINDOW = 0xA00000;

}  // namespace

extern "C" {

#define QMW_OP(wrapper, vendor, params, args)          \
    int32_t qm4120_##wrapper params {                  \
        return qm4120_dll_error(qm4120_##vendor args); \
    }
#include "qm4120_wrappers.inc"

int32_t qm4120_setNumberOfSamples(uint32_t vi, uint32_t count) {
    // A failed read leaves IF data assumed; the count setting then reports its own status.
    uint16_t dataType = 0;
    qm4120_dll_error(qm4120_controlGetSampleDataType(vi, &dataType));
    if (dataType != 0) return qm4120_dll_error(qm4120_controlSetNumberOfIqSamples(vi, count));
    return qm4120_dll_error(qm4120_controlSetNumberOfIfSamples(vi, count));
}

int32_t qm4120_getNumberOfSamples(uint32_t vi, uint32_t* count) {
    uint16_t dataType = 0;
    qm4120_dll_error(qm4120_controlGetSampleDataType(vi, &dataType));
    if (dataType != 0) return qm4120_dll_error(qm4120_controlGetNumberOfIqSamples(vi, count));
    return qm4120_dll_error(qm4120_controlGetNumberOfIfSamples(vi, count));
}

int32_t qm4120_setRoutingScenario(uint32_t vi, uint16_t scenario) {
    int32_t status = qm4120_dll_error(qm4120_routingSetScenario(vi, scenario));
    if (status < 0) return status;
    if (scenario == 0) {
        // The default routing drops the trigger's route; writing the trigger source back rebuilds it.
        uint16_t source = 0;
        status = qm4120_dll_error(qm4120_controlGetTriggerSource(vi, &source));
        if (status < 0) return status;
        status = qm4120_dll_error(qm4120_controlSetTriggerSource(vi, source));
        if (status < 0) return status;
    }
    return 0;
}

int32_t qm4120_pciRead(uint32_t vi, uint32_t offset, uint32_t* value) {
    return korvo_viIn32(vi, VI_PXI_BAR0_SPACE, offset + PCI_READ_WINDOW, value);
}

int32_t qm4120_pciWrite(uint32_t vi, uint32_t offset, uint32_t value) {
    return korvo_viOut32(vi, VI_PXI_BAR0_SPACE, offset + PCI_WRITE_WINDOW, value);
}

int32_t qm4120_reSyncADCInterface(uint32_t vi) {
    return qm4120_ADCReSyncInterface(vi);
}

int32_t qm4120_InitADC(uint32_t vi) {
    return qm4120_ADCInit(vi);
}

int32_t qm4120_adcPhase(uint32_t vi, int32_t phase) {
    return qm4120_setAdcPhase(vi, phase);
}

}  // extern "C"
