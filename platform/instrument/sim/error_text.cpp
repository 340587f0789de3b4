// Texts of the library's status codes, as qm4120_errGetErrorString hands them out.

#include <cstdio>
#include <cstring>

#pragma GCC visibility push(default)
#include "../qm4120_pb_lib.h"
#pragma GCC visibility pop
#include "sim_api.h"
#include "status.h"

namespace {

// Index 0 is code -72, the last entry code 69.
const char* const TEXTS[] = {
    "Unknown error",                                               // -72
    "Operation not available in this library version",             // -71
    "Module is in use by another process",                         // -70
    "Module not responding",                                       // -69
    "Internal library error",                                      // -68
    "Setting has no effect in the current front-end mode",         // -67
    "IF data type required",                                       // -66
    "I/Q data type required",                                      // -65
    "Generic modulation mode required",                            // -64
    "Captured word count does not match the capture",              // -63
    "Buffer too small",                                            // -62
    "Trigger not detected",                                        // -61
    "No captured data",                                            // -60
    "FFT length exceeds the captured samples",                     // -59
    "Window function index out of range",                          // -58
    "Channel mode not available on this model",                    // -57
    "Temperature sensor read failed",                              // -56
    "Numeric overflow",                                            // -55
    "Invalid sampling frequency ratio",                            // -54
    "Sampling frequency out of range",                             // -53
    "Reference PLL not locked",                                    // -52
    "ADC interface resynchronisation failed",                      // -51
    "ADC not initialised",                                         // -50
    "Serial number not set",                                       // -49
    "Text too long",                                               // -48
    "Invalid date or time",                                        // -47
    "EEPROM write protected",                                      // -46
    "EEPROM write failed",                                         // -45
    "EEPROM read failed",                                          // -44
    "Group delay correction outside its limits",                   // -43
    "Calibration point index out of range",                        // -42
    "Calibration band index out of range",                         // -41
    "Calibration data not valid",                                  // -40
    "Invalid list address source",                                 // -39
    "List mode not available on this model",                       // -38
    "Invalid LVDS direction mode",                                 // -37
    "Attenuation out of range",                                    // -36
    "Level out of range",                                          // -35
    "Frequency out of range",                                      // -34
    "Invalid FFT length",                                          // -33
    "Sample count out of range",                                   // -32
    "Output format not available for this decimation ratio",       // -31
    "Invalid sample data type",                                    // -30
    "Invalid decimation ratio",                                    // -29
    "Invalid trigger type",                                        // -28
    "Invalid trigger source",                                      // -27
    "Routing scenario list full",                                  // -26
    "Invalid routing scenario",                                    // -25
    "Routing destination has no output enable",                    // -24
    "Invalid routing source",                                      // -23
    "Invalid routing destination",                                 // -22
    "Invalid register bit field",                                  // -21
    "Invalid register number",                                     // -20
    "FPGA revision incompatible with the library",                 // -19
    "FPGA configuration failed",                                   // -18
    "FPGA not configured",                                         // -17
    "Unknown FPGA configuration",                                  // -16
    "Capture aborted",                                             // -15
    "Capture in progress",                                         // -14
    "Capture not started",                                         // -13
    "Timeout waiting for the module",                              // -12
    "Bus write failed",                                            // -11
    "Unknown model code",                                          // -10
    "Bus session not open",                                        // -9
    "Instrument already created for this session",                 // -8
    "Operation not supported by this model",                       // -7
    "Memory allocation failed",                                    // -6
    "Invalid channel number",                                      // -5
    "Invalid mode",                                                // -4
    "Parameter out of range",                                      // -3
    "Null pointer argument",                                       // -2
    "Invalid session: no instrument created for it",               // -1
    "No error",                                                    // 0
    "Value clamped to the lower limit",                            // 1
    "Value clamped to the upper limit",                            // 2
    "Value rounded to the module's resolution",                    // 3
    "Sample count rounded to a multiple of the sample increment",  // 4
    "Setting overridden by the automatic front-end mode",          // 5
    "Output format set to 16-bit I/Q for this decimation ratio",   // 6
    "FFT length reduced to the number of samples",                 // 7
    "ADC overload detected",                                       // 8
    "Reference not locked",                                        // 9
    "Calibration data missing: nominal values used",               // 10
    "Calibration data older than one year",                        // 11
    "Temperature outside the calibrated range",                    // 12
    "Capture already complete",                                    // 13
    "No capture in progress",                                      // 14
    "LVDS direction changed for the trigger source",               // 15
    "Routing scenario already active",                             // 16
    "Routing scenario not active",                                 // 17
    "Sampling frequency ratio reduced to lowest terms",            // 18
    "Fewer words delivered than requested",                        // 19
    "Trigger source not routed",                                   // 20
};

constexpr int32_t TEXT_COUNT = static_cast<int32_t>(sizeof(TEXTS) / sizeof(TEXTS[0]));
static_assert(TEXT_COUNT == 20 - qm::sim::FIRST_ERROR + 1, "one text per code from -72 to 20");

}  // namespace

namespace qm::sim {

const char* statusText(int32_t code) {
    const int32_t index = code - FIRST_ERROR;
    if (index >= 0 && index < TEXT_COUNT) return TEXTS[index];
    if (code == WARN_UNKNOWN_CODE) return "Unknown status code";
    if (code > 0 && code < LAST_WARNING) return "Warning (reserved code)";
    return nullptr;
}

}  // namespace qm::sim

extern "C" int32_t qm4120_errGetErrorString(int32_t libraryCode, char* text) {
    int32_t fault = 0;
    if (qm::sim::faultHit("qm4120_errGetErrorString", &fault)) return fault;
    if (!text) return qm::sim::ERR_NULL_POINTER;
    const char* found = qm::sim::statusText(libraryCode);
    if (found) {
        std::snprintf(text, QM4120_TEXT_SIZE, "%s", found);
        return qm::sim::OK;
    }
    std::snprintf(text, QM4120_TEXT_SIZE, "Unknown library status %d", static_cast<int>(libraryCode));
    return qm::sim::WARN_UNKNOWN_CODE;
}
