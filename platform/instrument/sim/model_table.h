// Per-model properties of the simulated module: limits, steps, rates and the FPGA configurations stored
// in each model. The numbers themselves, and what they mean to an operator, are in model_table.cpp.
#ifndef QM4120_SIM_MODEL_TABLE_H
#define QM4120_SIM_MODEL_TABLE_H

#include <cstdint>

namespace qm::sim {

constexpr int CHANNEL_COUNT = 128;
constexpr int MAX_FPGA_CONFIGS = 6;
constexpr int MAX_RF_PADS = 5;
constexpr int IF_PAD_COUNT = 6;

struct FpgaConfig {
    uint16_t id;       // 0: an entry not to be offered
    const char* name;  // at most 31 characters
};

// Modulation modes and their fixed decimation filter chains.
enum ModulationMode : uint16_t {
    MOD_UMTS = 0,
    MOD_GSM = 1,
    MOD_CDMA2000 = 2,
    MOD_EMU7706 = 4,
    MOD_GENERIC = 5,
};

struct ModelSpec {
    uint16_t code;
    const char* name;

    // Identity and revisions.
    uint16_t pciRev;      // PCI revision the module reports unless told otherwise before the open
    uint16_t pciFpgaRev;  // major * 100 + minor
    uint16_t pciFpgaBuild;
    uint16_t fpgaRevMajor;
    uint16_t fpgaRevMinor;

    // Converter and IF.
    double adcClockHz;     // ADC sampling clock; also the IF-data sample rate
    double ifFrequencyHz;  // centre of the IF filter: three quarters of the ADC clock
    double ifBandwidthHz;  // IF filter passband; the LO offset must keep the IF inside it

    // RF tuning.
    double rfFreqMinHz;
    double rfFreqMaxHz;
    double freqResolutionHz;  // synthesiser step for RF, LO and offset

    // Expected input levels (dBm) the front end can be set up for.
    double rfLevelMinDbm;
    double rfLevelMaxDbm;
    double ifLevelMinDbm;
    double ifLevelMaxDbm;

    // RF step attenuator: pad values in dB in bit order of the pad mask.
    int rfPadCount;
    int rfPadDb[MAX_RF_PADS];
    int rfAttenStepDb;

    // Gains: the down-converter's conversion gain at the bottom of the band and its slope, the RF level
    // the automatic set-up keeps at the mixer, and the IF input power that drives the ADC to full scale
    // with no IF attenuation.
    double dcGainDb;
    double dcGainSlopeDbPerGHz;
    double mixerMaxDbm;
    double digitizerFullScaleDbm;

    // Capture memory in 16-bit words (one IF sample per word).
    uint32_t memoryWords;

    bool hasListMode;

    // Generic resampler and decimator.
    double genericMinHz;
    uint32_t genericMaxRatio;

    double temperatureC;  // board temperature the sensor reports

    int fpgaConfigCount;
    FpgaConfig fpgaConfigs[MAX_FPGA_CONFIGS];
};

// IF step attenuator pads in bit order (1, 2, 4 and 8 dB, then two 10 dB pads): 0 to 35 dB in 1 dB.
extern const int IF_PAD_DB[IF_PAD_COUNT];
constexpr int IF_ATTEN_MAX_DB = 35;

// Headroom the automatic IF set-up leaves between the expected level and ADC full scale (dB).
constexpr double IF_HEADROOM_DB = 6.0;

// Level and time resolutions of the module.
constexpr double LEVEL_RESOLUTION_DB = 0.01;
constexpr double TIMER_TICK_US = 0.1;  // the trigger timer's period is set from the 10 MHz reference
constexpr double TIME_CONSTANT_RESOLUTION_US = 0.01;

// Undecimated I/Q rate of the fixed modulation filter chains (Hz), the same on every model.
double modulationUndecimatedHz(uint16_t mode);

// Decimation ratios of a fixed chain; false for the generic mode and unknown modes.
bool fixedDecimationLimits(uint16_t mode, uint32_t* minimum, uint32_t* maximum);

// Model by code; null for a code no model has.
const ModelSpec* findModel(uint16_t code);

// The down-converter's Q branch reaches the decimation filters this long after its I branch (s): a
// fixed skew of a fraction of an ADC clock, which the FPGA's group-delay correction filter removes by
// delaying the I branch by the stored correction. Left uncorrected it turns the I/Q phase of a tone
// away from quadrature in proportion to the tone's frequency, and shows the tone's image.
inline double iqBranchSkewS(const ModelSpec& spec) {
    return 0.37 / spec.adcClockHz;
}

// Total of the RF pads of a model (its RF attenuation maximum).
int rfAttenMaxDb(const ModelSpec& spec);

// Pad masks for an attenuation and back; the mask for an attenuation the pads cannot make is the
// nearest lower one.
uint16_t rfPadsFor(const ModelSpec& spec, int db);
int rfDbFor(const ModelSpec& spec, uint16_t mask);
uint16_t ifPadsFor(int db);
int ifDbFor(uint16_t mask);

}  // namespace qm::sim

#endif
