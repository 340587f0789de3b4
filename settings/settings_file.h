// The settings file: one typed read and one typed write per settings item, over the INI instances of the
// settings library. Each item has its own section and key (channels one section each, the routing matrix
// one key per destination); the callers only name items, never keys.
//
// Every operation returns the settings library's status: 0 success, negative failure. A read that fails
// leaves its output unchanged; a 16-bit item holding a number above 65535 reads as
// QM41XXUTILS_ERR_BAD_NUMBER, as does a real that is not finite.
#ifndef QM_SETTINGS_SETTINGS_FILE_H
#define QM_SETTINGS_SETTINGS_FILE_H

#include <cstdint>

// Version written into every file; files from version 1.0 on are read.
constexpr int32_t SETTINGS_VERSION_MAJOR = 1;
constexpr int32_t SETTINGS_VERSION_MINOR = 0;

enum class SettingsItem {
    RfCurrentChannel,
    RfFreqStepHz,
    RfLevelStepdB,
    RfFreqHz,
    RfLoOffsetHz,
    InputSource,
    RfLeveldBm,
    IfLeveldBm,
    IfFilterBypass,
    ExtRef,
    CaptDcOffsetFilter,
    CaptSampleDataType,
    CaptNumIfSamples,
    CaptNumIqSamples,
    LvdsDataMode,
    LvdsAuxMode,
    LvdsMarkerMode,
    ModMode,
    ModUmtsDecRatio,
    ModGsmDecRatio,
    ModCdma20001xDecRatio,
    ModEmu7706DecRatio,
    ModGenericDecRatio,
    TrigSource,
    TrigType,
    TrigEdgeGatePolarity,
    TrigOffsetDelay,
    TrigPreEdgeSamples,
    TrigPostGateSamples,
    TrigIntTrigMode,
    TrigIntTrigAbsThreshold,
    TrigIntTrigRelThreshold,
    TrigIntTrigAbsTimeConst,
    TrigIntTrigRelSlowTimeConst,
    TrigIntTrigRelFastTimeConst,
    TimerPeriod,
    TimerPhase,
    ListAddrSource,
    ListStrobeNegEdge,
    ListCounterStrobe,
    ListCounterStart,
    ListCounterStop,
};

// The name of an item as the file and the load report show it.
const char* settingsItemName(SettingsItem item);

// Header: the file's version. `reserved` is 0 and is not stored.
int32_t settingsWriteHeader(uint32_t ini, int32_t reserved);
int32_t settingsReadHeader(uint32_t ini, int32_t* major, int32_t* minor, int32_t reserved);

// Items by type; an item used with another type than its own gives QM41XXUTILS_ERR_INVALID_ARG.
int32_t settingsWriteInt(uint32_t ini, SettingsItem item, int32_t value);
int32_t settingsWriteU16(uint32_t ini, SettingsItem item, uint16_t value);
int32_t settingsWriteU32(uint32_t ini, SettingsItem item, uint32_t value);
int32_t settingsWriteReal(uint32_t ini, SettingsItem item, double value);
int32_t settingsReadInt(uint32_t ini, SettingsItem item, int32_t* value);
int32_t settingsReadU16(uint32_t ini, SettingsItem item, uint16_t* value);
int32_t settingsReadU32(uint32_t ini, SettingsItem item, uint32_t* value);
int32_t settingsReadReal(uint32_t ini, SettingsItem item, double* value);

// One channel record of the module.
struct ChannelSettings {
    double rfFrequencyHz = 0.0;
    double rfLevelDbm = 0.0;
    double ifLevelDbm = 0.0;
    int32_t rfAttenuationDb = 0;
    int32_t ifAttenuationDb = 0;
    int32_t frontEndMode = 0;
};
// A channel is read whole or not at all: when any of its six values is missing or unreadable, *data is
// unchanged and the first failure is returned.
int32_t settingsWriteRfChannelData(uint32_t ini, uint16_t channel, const ChannelSettings& data);
int32_t settingsReadRfChannelData(uint32_t ini, uint16_t channel, ChannelSettings* data);

// Routing matrix, per destination index: its output enable (0 or 1) and its source.
int32_t settingsWriteRoutingOutputEnable(uint32_t ini, uint16_t destination, int32_t enable);
int32_t settingsWriteRoutingConnect(uint32_t ini, uint16_t destination, uint16_t source);
int32_t settingsReadRoutingOutputEnable(uint32_t ini, uint16_t destination, int32_t* enable);
int32_t settingsReadRoutingConnect(uint32_t ini, uint16_t destination, uint16_t* source);

#endif
