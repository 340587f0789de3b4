// Status codes of the simulated module's library: 0 success, -72 to -1 errors, 1 to 69 warnings.
// Their texts are in error_text.cpp; the numbers are part of the library's interface and never change.
#ifndef QM4120_SIM_STATUS_H
#define QM4120_SIM_STATUS_H

#include <cstdint>

namespace qm::sim {

enum Status : int32_t {
    OK = 0,

    // Errors.
    ERR_INVALID_SESSION = -1,
    ERR_NULL_POINTER = -2,
    ERR_PARAMETER = -3,
    ERR_INVALID_MODE = -4,
    ERR_INVALID_CHANNEL = -5,
    ERR_NO_MEMORY = -6,
    ERR_NOT_SUPPORTED = -7,
    ERR_BUS_SESSION = -9,
    ERR_UNKNOWN_MODEL = -10,
    ERR_CAPTURE_NOT_STARTED = -13,
    ERR_CAPTURE_ABORTED = -15,
    ERR_UNKNOWN_FPGA_CONFIG = -16,
    ERR_FPGA_NOT_CONFIGURED = -17,
    ERR_INVALID_REGISTER = -20,
    ERR_INVALID_BIT_FIELD = -21,
    ERR_INVALID_DESTINATION = -22,
    ERR_INVALID_SOURCE = -23,
    ERR_NO_OUTPUT_ENABLE = -24,
    ERR_INVALID_SCENARIO = -25,
    ERR_SCENARIO_LIST_FULL = -26,
    ERR_INVALID_TRIGGER_SOURCE = -27,
    ERR_INVALID_TRIGGER_TYPE = -28,
    ERR_INVALID_DECIMATION = -29,
    ERR_INVALID_DATA_TYPE = -30,
    ERR_INVALID_OUTPUT_FORMAT = -31,
    ERR_INVALID_FFT_LENGTH = -33,
    ERR_INVALID_LVDS_MODE = -37,
    ERR_NO_LIST_MODE = -38,
    ERR_INVALID_LIST_SOURCE = -39,
    ERR_CAL_BAND = -41,
    ERR_CAL_POINT = -42,
    ERR_CAL_VERIFY = -43,
    ERR_INVALID_DATE = -47,
    ERR_TEXT_TOO_LONG = -48,
    ERR_INVALID_RATIO = -54,
    ERR_FFT_TOO_LONG = -59,
    ERR_NO_CAPTURED_DATA = -60,
    ERR_IQ_REQUIRED = -65,
    ERR_BUFFER_TOO_SMALL = -62,
    ERR_WORD_COUNT = -63,
    ERR_INTERNAL = -68,
    ERR_ADC_RESYNC = -51,

    // Warnings.
    WARN_CLAMPED_LOW = 1,
    WARN_CLAMPED_HIGH = 2,
    WARN_SAMPLES_ROUNDED = 4,
    WARN_FORMAT_FORCED = 6,
    WARN_ADC_OVERLOAD = 8,
    WARN_REF_UNLOCKED = 9,
    WARN_SCENARIO_ACTIVE = 16,
    WARN_SCENARIO_INACTIVE = 17,
    WARN_UNKNOWN_CODE = 69,
};

constexpr int32_t FIRST_ERROR = -72;
constexpr int32_t LAST_WARNING = 69;

// Keeps the more serious of two statuses: an error over a warning over success; between two errors or
// two warnings the first one reported.
inline int32_t worse(int32_t first, int32_t second) {
    if (first < 0) return first;
    if (second < 0) return second;
    if (first > 0) return first;
    return second;
}

}  // namespace qm::sim

#endif
