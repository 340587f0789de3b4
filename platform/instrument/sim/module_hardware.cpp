// Reference and PLL, the ADC, the 4125's RF-board latch, and register access (the library's copy of the
// write registers, and the hardware registers behind them).

#include <algorithm>
#include <cmath>

#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

namespace {

// External reference selections.
constexpr uint16_t REF_EXTERNAL_10MHZ = 0;
constexpr uint16_t REF_AUX = 1;
constexpr uint16_t REF_FREE_RUN = 2;

// Status register of the hardware (FPGA numbering) and its bits.
constexpr uint32_t HW_REVISION = 0;
constexpr uint32_t HW_STATUS = 1;
constexpr uint32_t HW_CAPTURED_WORDS = 2;
constexpr uint32_t HW_TRIGGER_COUNT = 3;
constexpr uint32_t HW_TEMPERATURE = 4;
constexpr uint32_t HW_LIST_ADDRESS = 5;
constexpr uint32_t READ_REGISTERS = 32;  // library read registers map 1:1 onto these

constexpr uint32_t fieldMask(uint16_t width) {
    return width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
}

}  // namespace

bool SimModule::referenceLocked() const {
    switch (fe_.externalReference) {
        case REF_EXTERNAL_10MHZ:
            return scenario_.referencePresent;
        case REF_AUX:
            return scenario_.auxReferencePresent;
        default:
            return true;  // free running on the internal oscillator
    }
}

int32_t SimModule::controlSetExternalReference(uint16_t value) {
    const int32_t st = choose(&fe_.externalReference, value, {REF_EXTERNAL_10MHZ, REF_AUX, REF_FREE_RUN});
    if (st == OK && !referenceLocked()) fe_.refLockLost = true;
    return st;
}
int32_t SimModule::controlGetExternalReference(uint16_t* value) {
    return put(value, fe_.externalReference);
}

int32_t SimModule::controlGetIfRefState(uint16_t* locked, uint16_t* latched) {
    if (!locked || !latched) return ERR_NULL_POINTER;
    const bool now = referenceLocked();
    // The latch remembers a loss of lock until it is read; reading re-arms it.
    *locked = now ? 1 : 0;
    *latched = (now && !fe_.refLockLost) ? 1 : 0;
    fe_.refLockLost = !now;
    return OK;
}

int32_t SimModule::controlSetIfAuxRefEnable(uint16_t value) {
    return choose(&fe_.ifAuxRefEnable, value, {0, 1});
}
int32_t SimModule::controlGetIfAuxRefEnable(uint16_t* value) {
    return put(value, fe_.ifAuxRefEnable);
}
int32_t SimModule::controlSetIfPllMode(uint16_t value) {
    return choose(&fe_.ifPllMode, value, {0, 1, 2, 3});
}
int32_t SimModule::controlGetIfPllMode(uint16_t* value) {
    return put(value, fe_.ifPllMode);
}

int32_t SimModule::controlGetIfADCState(uint16_t* value) {
    // Bit 0 converting, bit 1 standby, bit 2 overload seen in the last capture.
    uint16_t state = 0;
    if (fe_.adcEnable && !fe_.adcStandby) state |= 1;
    if (fe_.adcStandby) state |= 2;
    if (capture_.overload) state |= 4;
    return put(value, state);
}

int32_t SimModule::controlSet4125D3Latch(uint16_t value) {
    if (spec_->code != 0x4125) return ERR_NOT_SUPPORTED;
    fe_.latch4125 = value;
    return OK;
}
int32_t SimModule::controlGet4125D3Latch(uint16_t* value) {
    if (spec_->code != 0x4125) return ERR_NOT_SUPPORTED;
    return put(value, fe_.latch4125);
}

int32_t SimModule::controlGetAdcOverload(uint16_t* value) {
    return put<uint16_t>(value, capture_.overload ? 1 : 0);
}

// ---- ADC ----

int32_t SimModule::controlSetAdcPhase(int32_t value) {
    if (value < 0 || value > 3) return ERR_PARAMETER;  // quarter-clock steps
    fe_.adcPhase = value;
    return OK;
}
int32_t SimModule::controlGetAdcPhase(int32_t* value) {
    return put(value, fe_.adcPhase);
}
int32_t SimModule::controlReSyncAdc() {
    return fe_.adcEnable ? OK : ERR_ADC_RESYNC;
}
int32_t SimModule::controlInitAdc() {
    fe_.adcPhase = 0;
    fe_.adcStandby = 0;
    fe_.adcEnable = 1;
    return OK;
}
int32_t SimModule::controlAdcStandby(uint16_t standby) {
    return choose(&fe_.adcStandby, standby, {0, 1});
}
int32_t SimModule::controlAdcEnable(uint16_t enable) {
    return choose(&fe_.adcEnable, enable, {0, 1});
}

int32_t SimModule::controlAdcRead(uint16_t adc, uint16_t page, uint16_t reg, uint16_t reserved,
                                  uint16_t* value) {
    (void)reserved;
    if (adc != 0 || page > 3) return ERR_PARAMETER;
    // Register 0 of page 0 is the converter's identity; the rest read back a fixed pattern.
    const uint16_t content =
        (page == 0 && reg == 0) ? 0x0041 : static_cast<uint16_t>(((page << 8) | reg) ^ 0x5A5A);
    return put(value, content);
}

int32_t SimModule::controlAdcReadTemp(uint16_t adc, uint16_t samples, int16_t* temperature) {
    if (adc != 0 || samples == 0) return ERR_PARAMETER;
    // The sensor counts sixteenths of a degree.
    return put(temperature, static_cast<int16_t>(std::lround(temperatureNowC() * 16.0)));
}

int32_t SimModule::controlAdcReadPower(uint16_t adc, uint16_t samples, double* dbfs) {
    if (adc != 0 || samples == 0) return ERR_PARAMETER;
    if (!dbfs) return ERR_NULL_POINTER;
    const Channel& c = channels_[inUseChannel()];
    const double fullScale = trueFullScaleDbm(c, fe_.inputSource);
    const double tone = std::pow(10.0, (scenario_.toneLevelDbm - fullScale) / 10.0);
    const double noise = std::pow(
        10.0, (scenario_.noiseDbmPerHz + 10.0 * std::log10(spec_->adcClockHz / 2.0) - fullScale) / 10.0);
    *dbfs = 10.0 * std::log10(tone + noise);
    return OK;
}

int32_t SimModule::controlAdcCal(uint16_t adc, uint16_t mode) {
    if (adc != 0 || mode > 1) return ERR_PARAMETER;
    return OK;
}

double SimModule::temperatureNowC() const {
    // The board warms by a few degrees over its first quarter hour of work, then settles.
    constexpr double WARM_UP_C = 2.5;
    constexpr double WARM_UP_TIME_S = 900.0;
    const double running = std::max(0.0, clock::now() - openedAtS_);
    return spec_->temperatureC + WARM_UP_C * (1.0 - std::exp(-running / WARM_UP_TIME_S));
}

// ---- Registers ----

uint32_t SimModule::hardwareRead(uint32_t index) {
    switch (index) {
        case HW_REVISION:
            return (static_cast<uint32_t>(spec_->code) << 16) | (spec_->fpgaRevMajor << 8) |
                   spec_->fpgaRevMinor;
        case HW_STATUS:
            return (referenceLocked() ? 1u : 0u) | (capture_.armed ? 2u : 0u) |
                   (capture_.triggered ? 4u : 0u) | (capture_.complete ? 8u : 0u) |
                   (capture_.overload ? 16u : 0u);
        case HW_CAPTURED_WORDS:
            return capture_.complete ? capture_.words : 0u;
        case HW_TRIGGER_COUNT:
            return capture_.triggerCount;
        case HW_TEMPERATURE:
            return static_cast<uint32_t>(std::lround(temperatureNowC() * 16.0));
        case HW_LIST_ADDRESS:
            return listAddress();
        default:
            return index < HW_REGISTERS ? hardwareRegisters_[index] : 0u;
    }
}

void SimModule::hardwareWrite(uint32_t index, uint32_t value) {
    if (index >= READ_REGISTERS && index < HW_REGISTERS) hardwareRegisters_[index] = value;
}

int32_t SimModule::registerWriteFieldVal(uint16_t reg, uint16_t bitOffset, uint16_t bitWidth, uint32_t value,
                                         uint16_t toHardware) {
    if (reg >= LIBRARY_REGISTERS) return ERR_INVALID_REGISTER;
    if (bitWidth < 1 || bitWidth > 32 || bitOffset + bitWidth > 32) return ERR_INVALID_BIT_FIELD;
    const uint32_t mask = fieldMask(bitWidth) << bitOffset;
    uint32_t& word = libraryRegisters_[reg];
    word = (word & ~mask) | ((value << bitOffset) & mask);
    if (toHardware) hardwareRegisters_[HW_REGISTER_BASE + reg] = word;
    return OK;
}

int32_t SimModule::registerReadFieldVal(uint16_t reg, uint16_t bitOffset, uint16_t bitWidth,
                                        uint32_t* value) {
    if (reg >= LIBRARY_REGISTERS) return ERR_INVALID_REGISTER;
    if (bitWidth < 1 || bitWidth > 32 || bitOffset + bitWidth > 32) return ERR_INVALID_BIT_FIELD;
    return put(value, (libraryRegisters_[reg] >> bitOffset) & fieldMask(bitWidth));
}

int32_t SimModule::registerWriteBit(uint16_t reg, uint16_t bit, uint16_t value, uint16_t toHardware) {
    return registerWriteFieldVal(reg, bit, 1, value ? 1u : 0u, toHardware);
}

int32_t SimModule::registerReadBit(uint16_t reg, uint16_t bit, uint16_t* value) {
    uint32_t v = 0;
    const int32_t st = registerReadFieldVal(reg, bit, 1, &v);
    if (st < 0) return st;
    return put(value, static_cast<uint16_t>(v));
}

int32_t SimModule::registerReadFromHw(uint16_t reg, uint32_t* value) {
    if (reg >= READ_REGISTERS) return ERR_INVALID_REGISTER;
    return put(value, hardwareRead(reg));
}

int32_t SimModule::registerWriteDirect(uint16_t reg, uint32_t value) {
    // FPGA numbering; the library's copy does not see the write.
    if (reg < READ_REGISTERS || reg >= HW_REGISTERS) return ERR_INVALID_REGISTER;
    hardwareRegisters_[reg] = value;
    return OK;
}

}  // namespace qm::sim
