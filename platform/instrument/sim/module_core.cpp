// Module identity, FPGA configurations, defaults, serial number and the EEPROM-held records.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "../qm4120_pb_lib.h"
#include "module_util.h"
#include "sim_module.h"

namespace qm::sim {

SimModule::SimModule(uint32_t session, const ModelSpec& spec, uint16_t pciRev, bool failFirstFpgaCheck,
                     const Scenario& scenario, EepromImage eeprom)
    : spec_(&spec),
      session_(session),
      pciRev_(pciRev),
      failNextFpgaCheck_(failFirstFpgaCheck),
      scenario_(scenario),
      eeprom_(std::move(eeprom)) {
    setDefaults();
}

void SimModule::setDefaults() {
    fe_ = FrontEndState{};
    fe_.tempReferenceC = cal(CalGroup::Temp).storedValue();
    // The library loads the stored group-delay correction into the FPGA when it opens the module.
    fe_.grpDelCorrectionS = cal(CalGroup::IFDigGrpDel).storedValue();
    acq_ = AcquisitionState{};
    trig_ = TriggerState{};
    list_ = ListModeState{};
    capture_ = CaptureState{};
    for (Channel& c : channels_) {
        c = Channel{};
        c.loOffsetHz = spec_->ifFrequencyHz;
    }
    activeChannel_ = 0;
    resolveAllChannels();
    libraryRegisters_.fill(0);
    hardwareRegisters_.fill(0);
    defaultRouting();
    scenarios_.clear();
}

int32_t SimModule::controlSetDefaults() {
    setDefaults();
    return OK;
}

int32_t SimModule::controlCheckFpgaConfig() {
    // A load that did not take shows at the first check; a new configure loads the FPGA again.
    if (failNextFpgaCheck_) {
        failNextFpgaCheck_ = false;
        fpgaLoaded_ = false;
    }
    return fpgaLoaded_ ? OK : ERR_FPGA_NOT_CONFIGURED;
}

int32_t SimModule::fpgaConfigure(uint16_t configId) {
    if (configId == 0) {
        // The default configuration is the first one offered.
        for (int i = 0; i < spec_->fpgaConfigCount; ++i) {
            if (spec_->fpgaConfigs[i].id != 0) {
                fpgaConfig_ = spec_->fpgaConfigs[i].id;
                fpgaLoaded_ = true;
                return OK;
            }
        }
        return ERR_UNKNOWN_FPGA_CONFIG;
    }
    for (int i = 0; i < spec_->fpgaConfigCount; ++i) {
        if (spec_->fpgaConfigs[i].id == configId) {
            fpgaConfig_ = configId;
            fpgaLoaded_ = true;
            return OK;
        }
    }
    return ERR_UNKNOWN_FPGA_CONFIG;
}

int32_t SimModule::fpgaGetConfig(uint16_t* value) {
    if (!fpgaLoaded_) return ERR_FPGA_NOT_CONFIGURED;
    return put(value, fpgaConfig_);
}

int32_t SimModule::fpgaCountConfigs(uint16_t* value) {
    return put(value, static_cast<uint16_t>(spec_->fpgaConfigCount));
}

int32_t SimModule::fpgaListConfigs(uint16_t* ids, char* names, uint16_t* count) {
    if (!ids || !names || !count) return ERR_NULL_POINTER;
    const uint16_t n = std::min<uint16_t>(*count, static_cast<uint16_t>(spec_->fpgaConfigCount));
    for (uint16_t i = 0; i < n; ++i) {
        ids[i] = spec_->fpgaConfigs[i].id;
        char* slot = names + static_cast<size_t>(i) * QM4120_FPGA_NAME_SIZE;
        std::memset(slot, 0, QM4120_FPGA_NAME_SIZE);
        std::snprintf(slot, QM4120_FPGA_NAME_SIZE, "%s", spec_->fpgaConfigs[i].name);
    }
    *count = n;
    return OK;
}

int32_t SimModule::controlGetFpgaRev(uint16_t* major, uint16_t* minor) {
    if (!major || !minor) return ERR_NULL_POINTER;
    *major = spec_->fpgaRevMajor;
    *minor = spec_->fpgaRevMinor;
    return OK;
}

int32_t SimModule::controlGetPciFpgaRev(uint16_t* revision, uint16_t* build) {
    if (!revision || !build) return ERR_NULL_POINTER;
    *revision = spec_->pciFpgaRev;
    *build = spec_->pciFpgaBuild;
    return OK;
}

int32_t SimModule::controlGetModelCode(uint16_t* value) {
    return put(value, spec_->code);
}
int32_t SimModule::controlGetPciRev(uint16_t* value) {
    return put(value, pciRev_);
}
int32_t SimModule::controlGetChannelModeAvailable(uint16_t* value) {
    return put<uint16_t>(value, 1);
}
int32_t SimModule::controlGetListModeAvailable(uint16_t* value) {
    return put<uint16_t>(value, spec_->hasListMode ? 1 : 0);
}

// ---- EEPROM contents ----

int32_t SimModule::caldataGetSerialNumber(char* serial) {
    if (!serial) return ERR_NULL_POINTER;
    std::snprintf(serial, 256, "%s", eeprom_.serialNumber.c_str());
    return OK;
}

int32_t SimModule::caldataSetSerialNumber(const char* serial) {
    if (!serial) return ERR_NULL_POINTER;
    if (std::strlen(serial) > 255) return ERR_TEXT_TOO_LONG;
    eeprom_.serialNumber = serial;
    eeprom::saveSerialNumber(*spec_, eeprom_.serialNumber);
    return OK;
}

int32_t SimModule::caldataSetTempMeasurementAllowed(uint16_t value) {
    return choose(&fe_.tempMeasurementAllowed, value, {0, 1});
}

int32_t SimModule::caldataGetTempMeasurementAllowed(uint16_t* value) {
    return put(value, fe_.tempMeasurementAllowed);
}

int32_t SimModule::caldataBlankEeproms() {
    eeprom_.serialNumber.clear();
    for (CalSet& c : eeprom_.cal) c.blank();
    for (IdRecord& r : eeprom_.id) r.blank();
    eeprom::saveAll(*spec_, eeprom_);
    return OK;
}

int32_t SimModule::caldataModuleLastTimeStampQuery(uint16_t* year, uint16_t* month, uint16_t* day,
                                                   uint16_t* hour, uint16_t* minute, uint16_t* second) {
    if (!year || !month || !day || !hour || !minute || !second) return ERR_NULL_POINTER;
    TimeStamp latest;
    for (const CalSet& c : eeprom_.cal) {
        if (latest < c.stamp()) latest = c.stamp();
    }
    *year = latest.year;
    *month = latest.month;
    *day = latest.day;
    *hour = latest.hour;
    *minute = latest.minute;
    *second = latest.second;
    return OK;
}

int32_t SimModule::calGetAttenIndexConstraints(int32_t* minimum, int32_t* maximum) {
    if (!minimum || !maximum) return ERR_NULL_POINTER;
    // The attenuation tables have one entry per IF attenuation step.
    *minimum = 0;
    *maximum = IF_ATTEN_MAX_DB;
    return OK;
}

int32_t SimModule::appApplyDigGrpDel(double samplingRateHz, double bandwidthHz) {
    if (!(samplingRateHz > 0.0) || !(bandwidthHz > 0.0) || bandwidthHz > samplingRateHz) return ERR_PARAMETER;
    fe_.grpDelRateHz = samplingRateHz;
    fe_.grpDelBandwidthHz = bandwidthHz;
    // The correction filter is designed again from the committed correction; an uncommitted edit
    // does not reach it.
    fe_.grpDelCorrectionS = cal(CalGroup::IFDigGrpDel).storedValue();
    return OK;
}

int32_t SimModule::appOptimizeTemperatureCorrection() {
    fe_.tempReferenceC = temperatureNowC();
    return OK;
}

}  // namespace qm::sim
