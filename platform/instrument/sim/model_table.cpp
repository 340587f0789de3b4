/* The simulated QM4120 family: what an operator can expect from each model.
 *
 * The simulation stands in for one module of each model in the chassis. It keeps every setting the
 * front panel can make, applies the model's limits and steps, and reads back what it applied:
 *
 *   - A value below or above its limit is clamped and the call returns warning 1 ("Value clamped to the
 *     lower limit") or 2 ("... upper limit"). A value that has no meaning (an unknown mode, a channel
 *     above 127, a decimation ratio the filter chain does not have) is refused with a negative status
 *     and the setting keeps its old value. Frequencies are rounded to the synthesiser step, levels to
 *     0.01 dB, attenuations to the attenuator step, the trigger timer to 0.1 us, without a warning.
 *   - RF tuning: the LO offset is signed (positive: LO above the RF frequency) and its magnitude is the
 *     IF frequency, which must stay inside the IF filter (centre and width below). The frequency-control
 *     mode says which two of RF frequency, LO frequency and offset are held when one of them changes:
 *     0 RF and LO (the offset follows), 1 offset and LO (the RF frequency follows), 2 RF and offset (the
 *     LO follows; the default).
 *   - Front end: in "Auto" (0) the module chooses both attenuations from the expected input level, in
 *     "Auto IF" (1) only the IF attenuation, in "Manual" (2) neither. The automatic set-up keeps the RF
 *     level at the mixer at or below the mixer limit and leaves 6 dB of headroom below ADC full scale.
 *     The level corrections report the input power that drives the ADC to full scale: the digitizer
 *     correction for the IF input, the module correction (digitizer plus down-converter) for the RF one.
 *   - Channels: 128 channel records (RF frequency, LO offset, front-end mode, RF and IF level, RF and IF
 *     attenuation); the plain settings act on the active channel.
 *   - Acquisition: IF data are 16-bit words at the ADC clock; I/Q data come from the modulation filter
 *     chains (UMTS 61.44 MHz, GSM 4.333 MHz, CDMA2000 1X 9.8304 MHz, 7706 emulation 61.44 MHz before
 *     decimation) or the generic resampler (ADC clock * numerator / denominator, up to the ADC clock).
 *     Sample counts step by 32 (IF), 16 (16-bit I/Q) or 8 (32-bit I/Q); a count off the step is rounded
 *     down with warning 4. 32-bit I/Q words need a decimation of 8 or more in the UMTS, CDMA2000 and
 *     7706 chains.
 *   - Captures deliver a tone plus noise: by default 100 kHz above the tuned RF frequency (or the IF
 *     centre on the IF input) at -20 dBm. The tone sits at its true frequency, so a spectrum shows its
 *     full level only when it falls on a bin and windows leak and scallop as on hardware; the noise at
 *     the input passes the IF filter (an 8-pole band-pass, -3 dB at its edges, 40 dB leakage floor),
 *     the converter adds its own white noise. The ADC overloads
 *     (and clips) when the tone exceeds the full scale the front-end set-up gives. Bit 20 of register 0
 *     adds a test tone 1.25 MHz above the IF centre, 10 dB below full scale. Software triggers fire at
 *     once, the timer after one period, the internal trigger when the tone crosses its absolute
 *     threshold, the other lines after the scenario's delay.
 *   - EEPROMs: the serial number, committed calibration sets (with their time stamps), committed board
 *     identity records and a blanking stay with the model's module for the life of the process: a new
 *     open finds them, a reset does not touch them, uncommitted edits are lost with their session.
 *   - Routing scenario 0 is the default routing; scenario 1 drives PXI_LBL[0..4] from LVDS_AUX[0..4].
 *   - Environment: QM4120_SIM_FPGA_CHECK_FAIL_EVERY=n makes the first FPGA check of every n-th opened
 *     module report "FPGA not configured" (default 3; 0 never). QM4120_SIM_SIGNAL describes the signal
 *     at the inputs (see scenario.cpp); QM_FAULTS arms any operation with a status.
 *
 * Model         4120            4120 Enhanced   4120A           4125
 * code          0x4120          0x4A20          0x4B20          0x4125
 * RF range      250 MHz-2.5 GHz 250 MHz-2.5 GHz 250 MHz-2.7 GHz 100 MHz-3.0 GHz
 * tuning step   10 Hz           1 Hz            1 Hz            1 Hz
 * ADC clock     61.44 MHz       61.44 MHz       103.68 MHz      103.68 MHz
 * IF            46.08 MHz       46.08 MHz       77.76 MHz       77.76 MHz
 * IF filter     20 MHz          20 MHz          35 MHz          35 MHz
 * RF level      -53 to +16 dBm  -53 to +16 dBm  -53 to +16 dBm  -60 to +19 dBm
 * IF level      -50 to +10 dBm on every model
 * RF atten      0-28 dB, 4 dB   0-28 dB, 4 dB   0-28 dB, 4 dB   0-31 dB, 1 dB
 *               pads 4, 8, 16 dB (bits 0-2)                     pads 16, 8, 4, 2, 1 dB (bits 0-4)
 * IF atten      0-35 dB in 1 dB, pads 1, 2, 4, 8, 10, 10 dB (bits 0-5), every model
 * memory        64 M words      128 M words     128 M words     128 M words
 * list mode     no              yes             yes             yes
 * generic rate  1 MHz to the ADC clock; decimation 2 up to 512 (4120, 4A20) or 1024 (4B20, 4125),
 *               kept so that the decimated rate stays at 100 kHz or more
 */

#include "model_table.h"

#include <cmath>

namespace qm::sim {

const int IF_PAD_DB[IF_PAD_COUNT] = {1, 2, 4, 8, 10, 10};

namespace {

const ModelSpec MODELS[] = {
    {
        0x4120,
        "4120",
        2,
        105,
        12,
        3,
        2,
        61.44e6,
        46.08e6,
        20e6,
        250e6,
        2.5e9,
        10.0,
        -53.0,
        16.0,
        -50.0,
        10.0,
        3,
        {4, 8, 16, 0, 0},
        4,
        8.0,
        -1.5,
        -12.0,
        -20.0,
        64000000u,
        false,
        1e6,
        512,
        38.5,
        4,
        {{1, "Standard IF/IQ"}, {0, "Reserved"}, {2, "Wideband IF"}, {3, "LVDS streaming"}},
    },
    {
        0x4A20,
        "4120 Enhanced",
        3,
        107,
        4,
        4,
        1,
        61.44e6,
        46.08e6,
        20e6,
        250e6,
        2.5e9,
        1.0,
        -53.0,
        16.0,
        -50.0,
        10.0,
        3,
        {4, 8, 16, 0, 0},
        4,
        8.0,
        -1.5,
        -12.0,
        -20.0,
        128000000u,
        true,
        1e6,
        512,
        39.0,
        5,
        {{1, "Standard IF/IQ"},
         {2, "Wideband IF"},
         {0, "Reserved"},
         {3, "LVDS streaming"},
         {6, "Enhanced DDC"}},
    },
    {
        0x4B20,
        "4120A",
        4,
        110,
        7,
        5,
        0,
        103.68e6,
        77.76e6,
        35e6,
        250e6,
        2.7e9,
        1.0,
        -53.0,
        16.0,
        -50.0,
        10.0,
        3,
        {4, 8, 16, 0, 0},
        4,
        9.0,
        -1.5,
        -12.0,
        -20.0,
        128000000u,
        true,
        1e6,
        1024,
        40.0,
        4,
        {{1, "Standard IF/IQ"}, {2, "Wideband IF"}, {3, "LVDS streaming"}, {0, "Reserved"}},
    },
    {
        0x4125,
        "4125",
        5,
        120,
        3,
        6,
        2,
        103.68e6,
        77.76e6,
        35e6,
        100e6,
        3.0e9,
        1.0,
        -60.0,
        19.0,
        -50.0,
        10.0,
        5,
        {16, 8, 4, 2, 1},
        1,
        10.0,
        -2.0,
        -12.0,
        -20.0,
        128000000u,
        true,
        1e6,
        1024,
        41.5,
        5,
        {{1, "Standard IF/IQ"},
         {0, "Reserved"},
         {2, "Wideband IF"},
         {4, "LVDS streaming"},
         {5, "Extended memory"}},
    },
};

}  // namespace

double modulationUndecimatedHz(uint16_t mode) {
    switch (mode) {
        case MOD_UMTS:
        case MOD_EMU7706:
            return 61.44e6;  // 16 chips per UMTS chip of 3.84 Mcps
        case MOD_GSM:
            return 13e6 / 3.0;  // 16 samples per GSM symbol
        case MOD_CDMA2000:
            return 9.8304e6;  // 8 samples per 1.2288 Mcps chip
        default:
            return 0.0;
    }
}

bool fixedDecimationLimits(uint16_t mode, uint32_t* minimum, uint32_t* maximum) {
    switch (mode) {
        case MOD_UMTS:
            *minimum = 2;
            *maximum = 1024;
            return true;
        case MOD_GSM:
            *minimum = 1;
            *maximum = 16;
            return true;
        case MOD_CDMA2000:
            *minimum = 1;
            *maximum = 8;
            return true;
        case MOD_EMU7706:
            *minimum = 16;
            *maximum = 32;
            return true;
        default:
            return false;
    }
}

const ModelSpec* findModel(uint16_t code) {
    for (const ModelSpec& m : MODELS) {
        if (m.code == code) return &m;
    }
    return nullptr;
}

int rfAttenMaxDb(const ModelSpec& spec) {
    int total = 0;
    for (int i = 0; i < spec.rfPadCount; ++i) total += spec.rfPadDb[i];
    return total;
}

namespace {

// Switches in the largest pads first; with binary-weighted pads (and the IF attenuator's two 10 dB
// pads above its binary ones) this makes every whole step exactly.
uint16_t greedyPads(const int* pads, int count, int db) {
    uint16_t mask = 0;
    int remaining = db;
    while (remaining > 0) {
        int best = -1;
        for (int i = 0; i < count; ++i) {
            if (mask & (1u << i)) continue;
            if (pads[i] <= remaining && (best < 0 || pads[i] > pads[best])) best = i;
        }
        if (best < 0) break;
        mask |= static_cast<uint16_t>(1u << best);
        remaining -= pads[best];
    }
    return mask;
}

int padSum(const int* pads, int count, uint16_t mask) {
    int total = 0;
    for (int i = 0; i < count; ++i) {
        if (mask & (1u << i)) total += pads[i];
    }
    return total;
}

}  // namespace

uint16_t rfPadsFor(const ModelSpec& spec, int db) {
    return greedyPads(spec.rfPadDb, spec.rfPadCount, db);
}
int rfDbFor(const ModelSpec& spec, uint16_t mask) {
    return padSum(spec.rfPadDb, spec.rfPadCount, mask);
}
uint16_t ifPadsFor(int db) {
    return greedyPads(IF_PAD_DB, IF_PAD_COUNT, db);
}
int ifDbFor(uint16_t mask) {
    return padSum(IF_PAD_DB, IF_PAD_COUNT, mask);
}

}  // namespace qm::sim
