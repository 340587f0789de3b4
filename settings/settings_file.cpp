// Sections and keys of the settings file (see settings_file.h).
#include "settings_file.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "qm41XX_utils.h"

namespace {

enum class ItemType { Int, U16, U32, Real };

struct ItemKey {
    SettingsItem item;
    const char* section;
    const char* key;
    ItemType type;
};

constexpr const char* HEADER_SECTION = "Settings File";
constexpr const char* ROUTING_SECTION = "Routing";

// In the order the items are saved, which is the enumeration's order.
constexpr ItemKey ITEMS[] = {
    {SettingsItem::RfCurrentChannel, "Frequency", "RfCurrentChannel", ItemType::Int},
    {SettingsItem::RfFreqStepHz, "Frequency", "RfFreqStepHz", ItemType::Real},
    {SettingsItem::RfLevelStepdB, "Level", "RfLevelStepdB", ItemType::Real},
    {SettingsItem::RfFreqHz, "Frequency", "RfFreqHz", ItemType::Real},
    {SettingsItem::RfLoOffsetHz, "Frequency", "RfLoOffsetHz", ItemType::Real},
    {SettingsItem::InputSource, "Front End", "InputSource", ItemType::U16},
    {SettingsItem::RfLeveldBm, "Level", "RfLeveldBm", ItemType::Real},
    {SettingsItem::IfLeveldBm, "Level", "IfLeveldBm", ItemType::Real},
    {SettingsItem::IfFilterBypass, "Front End", "IfFilterBypass", ItemType::Int},
    {SettingsItem::ExtRef, "Front End", "ExtRef", ItemType::U16},
    {SettingsItem::CaptDcOffsetFilter, "Capture", "CaptDcOffsetFilter", ItemType::Int},
    {SettingsItem::CaptSampleDataType, "Capture", "CaptSampleDataType", ItemType::U16},
    {SettingsItem::CaptNumIfSamples, "Capture", "CaptNumIfSamples", ItemType::U32},
    {SettingsItem::CaptNumIqSamples, "Capture", "CaptNumIqSamples", ItemType::U32},
    {SettingsItem::LvdsDataMode, "LVDS", "LvdsDataMode", ItemType::Int},
    {SettingsItem::LvdsAuxMode, "LVDS", "LvdsAuxMode", ItemType::Int},
    {SettingsItem::LvdsMarkerMode, "LVDS", "LvdsMarkerMode", ItemType::Int},
    {SettingsItem::ModMode, "Modulation", "ModMode", ItemType::U16},
    {SettingsItem::ModUmtsDecRatio, "Modulation", "ModUmtsDecRatio", ItemType::Int},
    {SettingsItem::ModGsmDecRatio, "Modulation", "ModGsmDecRatio", ItemType::Int},
    {SettingsItem::ModCdma20001xDecRatio, "Modulation", "ModCdma20001xDecRatio", ItemType::Int},
    {SettingsItem::ModEmu7706DecRatio, "Modulation", "ModEmu7706DecRatio", ItemType::Int},
    {SettingsItem::ModGenericDecRatio, "Modulation", "ModGenericDecRatio", ItemType::Int},
    {SettingsItem::TrigSource, "Trigger", "TrigSource", ItemType::Int},
    {SettingsItem::TrigType, "Trigger", "TrigType", ItemType::Int},
    {SettingsItem::TrigEdgeGatePolarity, "Trigger", "TrigEdgeGatePolarity", ItemType::Int},
    {SettingsItem::TrigOffsetDelay, "Trigger", "TrigOffsetDelay", ItemType::Int},
    {SettingsItem::TrigPreEdgeSamples, "Trigger", "TrigPreEdgeSamples", ItemType::Int},
    {SettingsItem::TrigPostGateSamples, "Trigger", "TrigPostGateSamples", ItemType::Int},
    {SettingsItem::TrigIntTrigMode, "Trigger", "TrigIntTrigMode", ItemType::Int},
    {SettingsItem::TrigIntTrigAbsThreshold, "Trigger", "TrigIntTrigAbsThreshold", ItemType::Real},
    {SettingsItem::TrigIntTrigRelThreshold, "Trigger", "TrigIntTrigRelThreshold", ItemType::Int},
    {SettingsItem::TrigIntTrigAbsTimeConst, "Trigger", "TrigIntTrigAbsTimeConst", ItemType::Real},
    {SettingsItem::TrigIntTrigRelSlowTimeConst, "Trigger", "TrigIntTrigRelSlowTimeConst", ItemType::Real},
    {SettingsItem::TrigIntTrigRelFastTimeConst, "Trigger", "TrigIntTrigRelFastTimeConst", ItemType::Real},
    {SettingsItem::TimerPeriod, "Timer", "TimerPeriod", ItemType::Real},
    {SettingsItem::TimerPhase, "Timer", "TimerPhase", ItemType::Int},
    {SettingsItem::ListAddrSource, "List Mode", "ListAddrSource", ItemType::U16},
    {SettingsItem::ListStrobeNegEdge, "List Mode", "ListStrobeNegEdge", ItemType::Int},
    {SettingsItem::ListCounterStrobe, "List Mode", "ListCounterStrobe", ItemType::U16},
    {SettingsItem::ListCounterStart, "List Mode", "ListCounterStart", ItemType::U16},
    {SettingsItem::ListCounterStop, "List Mode", "ListCounterStop", ItemType::U16},
};

const ItemKey* keyOf(SettingsItem item, ItemType type) {
    const auto index = static_cast<size_t>(item);
    if (index >= sizeof ITEMS / sizeof ITEMS[0]) return nullptr;
    const ItemKey& k = ITEMS[index];
    return k.item == item && k.type == type ? &k : nullptr;
}

int32_t readU16(uint32_t ini, const char* section, const char* key, uint16_t* value) {
    uint32_t wide = 0;
    const int32_t status = qm41XXutils_IniGetUInt(ini, section, key, &wide);
    if (status < 0) return status;
    if (wide > UINT16_MAX) return QM41XXUTILS_ERR_BAD_NUMBER;
    *value = static_cast<uint16_t>(wide);
    return status;
}

// Infinite and undefined values mean nothing to any control or to the module.
int32_t readFinite(uint32_t ini, const char* section, const char* key, double* value) {
    double read = 0.0;
    const int32_t status = qm41XXutils_IniGetDouble(ini, section, key, &read);
    if (status < 0) return status;
    if (!std::isfinite(read)) return QM41XXUTILS_ERR_BAD_NUMBER;
    *value = read;
    return status;
}

std::string channelSection(uint16_t channel) {
    return "Channel " + std::to_string(channel);
}

std::string routingKey(const char* stem, uint16_t destination) {
    return stem + std::to_string(destination);
}

}  // namespace

const char* settingsItemName(SettingsItem item) {
    const auto index = static_cast<size_t>(item);
    return index < sizeof ITEMS / sizeof ITEMS[0] ? ITEMS[index].key : "?";
}

int32_t settingsWriteHeader(uint32_t ini, int32_t) {
    const int32_t status = qm41XXutils_IniPutInt(ini, HEADER_SECTION, "VersionMajor", SETTINGS_VERSION_MAJOR);
    if (status < 0) return status;
    return qm41XXutils_IniPutInt(ini, HEADER_SECTION, "VersionMinor", SETTINGS_VERSION_MINOR);
}

int32_t settingsReadHeader(uint32_t ini, int32_t* major, int32_t* minor, int32_t) {
    if (!major || !minor) return QM41XXUTILS_ERR_INVALID_ARG;
    int32_t readMajor = 0;
    int32_t readMinor = 0;
    int32_t status = qm41XXutils_IniGetInt(ini, HEADER_SECTION, "VersionMajor", &readMajor);
    if (status < 0) return status;
    status = qm41XXutils_IniGetInt(ini, HEADER_SECTION, "VersionMinor", &readMinor);
    if (status < 0) return status;
    *major = readMajor;
    *minor = readMinor;
    return status;
}

int32_t settingsWriteInt(uint32_t ini, SettingsItem item, int32_t value) {
    const ItemKey* k = keyOf(item, ItemType::Int);
    return k ? qm41XXutils_IniPutInt(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}
int32_t settingsWriteU16(uint32_t ini, SettingsItem item, uint16_t value) {
    const ItemKey* k = keyOf(item, ItemType::U16);
    return k ? qm41XXutils_IniPutUInt(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}
int32_t settingsWriteU32(uint32_t ini, SettingsItem item, uint32_t value) {
    const ItemKey* k = keyOf(item, ItemType::U32);
    return k ? qm41XXutils_IniPutUInt(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}
int32_t settingsWriteReal(uint32_t ini, SettingsItem item, double value) {
    const ItemKey* k = keyOf(item, ItemType::Real);
    return k ? qm41XXutils_IniPutDouble(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}

int32_t settingsReadInt(uint32_t ini, SettingsItem item, int32_t* value) {
    const ItemKey* k = keyOf(item, ItemType::Int);
    return k ? qm41XXutils_IniGetInt(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}
int32_t settingsReadU16(uint32_t ini, SettingsItem item, uint16_t* value) {
    const ItemKey* k = keyOf(item, ItemType::U16);
    return k ? readU16(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}
int32_t settingsReadU32(uint32_t ini, SettingsItem item, uint32_t* value) {
    const ItemKey* k = keyOf(item, ItemType::U32);
    return k ? qm41XXutils_IniGetUInt(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}
int32_t settingsReadReal(uint32_t ini, SettingsItem item, double* value) {
    const ItemKey* k = keyOf(item, ItemType::Real);
    return k ? readFinite(ini, k->section, k->key, value) : QM41XXUTILS_ERR_INVALID_ARG;
}

int32_t settingsWriteRfChannelData(uint32_t ini, uint16_t channel, const ChannelSettings& data) {
    const std::string s = channelSection(channel);
    const char* section = s.c_str();
    int32_t status = 0;
    // Written in full even after a failure: the sum of the statuses is what the caller looks at.
    auto add = [&status](int32_t result) {
        if (result < 0 && status >= 0) status = result;
    };
    add(qm41XXutils_IniPutDouble(ini, section, "RfFrequencyHz", data.rfFrequencyHz));
    add(qm41XXutils_IniPutDouble(ini, section, "RfLeveldBm", data.rfLevelDbm));
    add(qm41XXutils_IniPutDouble(ini, section, "IfLeveldBm", data.ifLevelDbm));
    add(qm41XXutils_IniPutInt(ini, section, "RfAttenuationdB", data.rfAttenuationDb));
    add(qm41XXutils_IniPutInt(ini, section, "IfAttenuationdB", data.ifAttenuationDb));
    add(qm41XXutils_IniPutInt(ini, section, "FrontEndMode", data.frontEndMode));
    return status;
}

int32_t settingsReadRfChannelData(uint32_t ini, uint16_t channel, ChannelSettings* data) {
    if (!data) return QM41XXUTILS_ERR_INVALID_ARG;
    const std::string s = channelSection(channel);
    const char* section = s.c_str();
    ChannelSettings read;
    int32_t status = readFinite(ini, section, "RfFrequencyHz", &read.rfFrequencyHz);
    if (status >= 0) status = readFinite(ini, section, "RfLeveldBm", &read.rfLevelDbm);
    if (status >= 0) status = readFinite(ini, section, "IfLeveldBm", &read.ifLevelDbm);
    if (status >= 0) status = qm41XXutils_IniGetInt(ini, section, "RfAttenuationdB", &read.rfAttenuationDb);
    if (status >= 0) status = qm41XXutils_IniGetInt(ini, section, "IfAttenuationdB", &read.ifAttenuationDb);
    if (status >= 0) status = qm41XXutils_IniGetInt(ini, section, "FrontEndMode", &read.frontEndMode);
    if (status >= 0) *data = read;
    return status;
}

int32_t settingsWriteRoutingOutputEnable(uint32_t ini, uint16_t destination, int32_t enable) {
    return qm41XXutils_IniPutInt(ini, ROUTING_SECTION, routingKey("OutputEnable", destination).c_str(),
                                 enable);
}
int32_t settingsWriteRoutingConnect(uint32_t ini, uint16_t destination, uint16_t source) {
    return qm41XXutils_IniPutUInt(ini, ROUTING_SECTION, routingKey("Connect", destination).c_str(), source);
}
int32_t settingsReadRoutingOutputEnable(uint32_t ini, uint16_t destination, int32_t* enable) {
    return qm41XXutils_IniGetInt(ini, ROUTING_SECTION, routingKey("OutputEnable", destination).c_str(),
                                 enable);
}
int32_t settingsReadRoutingConnect(uint32_t ini, uint16_t destination, uint16_t* source) {
    return readU16(ini, ROUTING_SECTION, routingKey("Connect", destination).c_str(), source);
}
