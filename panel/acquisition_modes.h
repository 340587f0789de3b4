// The module's modulation modes as the acquisition group offers them, and the small helpers the group's
// modules share.
#ifndef QM_PANEL_ACQUISITION_MODES_H
#define QM_PANEL_ACQUISITION_MODES_H

#include <cstdint>

constexpr uint16_t SAMPLE_DATA_IF = 0;
constexpr uint16_t SAMPLE_DATA_IQ = 1;

constexpr uint16_t MODN_UMTS = 0;
constexpr uint16_t MODN_GSM = 1;
constexpr uint16_t MODN_CDMA2000_1X = 2;
constexpr uint16_t MODN_EMU7706 = 4;
constexpr uint16_t MODN_GENERIC = 5;

constexpr double HZ_PER_MHZ = 1000000.0;

// One mode of MODN_MODE: its decimation ratio operations and the ratios it offers (powers of two from
// firstRatio to lastRatio; the generic mode takes its list from the module's limits instead).
struct ModulationMode {
    uint16_t value;
    const char* text;
    const char* ratioLabel;
    int32_t (*setRatio)(uint32_t session, uint32_t ratio);
    int32_t (*getRatio)(uint32_t session, uint32_t* ratio);
    uint32_t firstRatio;
    uint32_t lastRatio;
    uint32_t defaultRatio;  // shown while no module is booted
};

constexpr int MODULATION_MODE_COUNT = 5;
extern const ModulationMode MODULATION_MODES[MODULATION_MODE_COUNT];

// The mode of a ring value, nullptr for a value the module does not offer.
const ModulationMode* findModulationMode(uint16_t value);

// Data type and modulation mode in force (I/Q and UMTS while no module is booted or when the read fails).
uint16_t currentSampleDataType();
uint16_t currentModulationMode();

// The step of a sample count for the data type: 32 IF samples, 16 I/Q pairs of 16-bit words or 8 of 32-bit
// words (the word width the module now delivers); a count is a whole number of steps, at least one.
uint32_t sampleCountStep(uint16_t dataType);

// Both sampling rates in MHz from the module (0 while none is booted).
void showSamplingRates();

// DATA_OUT_FORMAT for the mode, ratio and data type: hidden for IF data, only 16-bit words where the mode's
// filters at that ratio deliver no more.
void fillOutputFormatRing(uint16_t mode, uint32_t ratio, uint16_t dataType);

// Callbacks of the fractional-rate dialog and of the LVDS menu.
void registerFractionalRateCallbacks();
void registerLvdsMenuCallbacks();

#endif
