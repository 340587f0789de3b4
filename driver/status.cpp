// Status mapping and message look-up: the instrument library's small status numbers are moved into
// the driver's part of the VISA status space, so that one 32-bit status tells its origin.
#include <cstdio>
#include <cstring>

#include "qm4120.h"
#include "qm4120_pb_lib.h"
#include "qm_visa.h"

namespace {

constexpr int32_t LIB_LOWEST = -72;
constexpr int32_t LIB_HIGHEST = 69;
// Library errors -54 to -1 count up from the error base, -72 to -55 count down from it.
constexpr int32_t LIB_UPPER_ERROR_BAND = -54;

struct DriverMessage {
    int32_t status;
    const char* text;
};

// Searched in this order; the first match answers.
const DriverMessage DRIVER_MESSAGES[] = {
    {QM4120_STATUS(0x3FFC0101u), "WARNING: ID Query not supported"},
    {QM4120_STATUS(0x3FFC0102u), "WARNING: Reset not supported"},
    {QM4120_STATUS(0x3FFC0103u), "WARNING: Self-test not supported"},
    {QM4120_STATUS(0x3FFC0104u), "WARNING: Error Query not supported"},
    {QM4120_STATUS(0x3FFC0105u), "WARNING: Revision Query not supported"},
    {QM4120_STATUS(0xBFFC0001u), "ERROR: Parameter 1 out of range"},
    {QM4120_STATUS(0xBFFC0002u), "ERROR: Parameter 2 out of range"},
    {QM4120_STATUS(0xBFFC0003u), "ERROR: Parameter 3 out of range"},
    {QM4120_STATUS(0xBFFC0004u), "ERROR: Parameter 4 out of range"},
    {QM4120_STATUS(0xBFFC0005u), "ERROR: Parameter 5 out of range"},
    {QM4120_STATUS(0xBFFC0006u), "ERROR: Parameter 6 out of range"},
    {QM4120_STATUS(0xBFFC0007u), "ERROR: Parameter 7 out of range"},
    {QM4120_STATUS(0xBFFC0008u), "ERROR: Parameter 8 out of range"},
    {QM4120_STATUS(0xBFFC0011u), "ERROR: Identification query failed"},
    {QM4120_STATUS(0xBFFC0012u), "ERROR: Interpreting instrument response"},
    {QM4120_STATUS(0xBFFC0800u), "Failed to open file for data capture."},
    {QM4120_STATUS(0xBFFC0801u), "Failed to write file for data capture (disk full or I/O error)."},
    {QM4120_STATUS(0xBFFC07FFu), "Cannot open FPGA configuration file."},
    {QM4120_STATUS(0xBFFC07FEu), "Cannot write configuration data to FPGA."},
};

// The inverse of qm4120_dll_error for statuses that came from the library.
int32_t libraryCodeOf(int32_t status) {
    if (status < 0) {
        return status < QM4120_LIB_ERROR_BASE ? status - QM4120_LIB_ERROR_BASE
                                              : QM4120_LIB_ERROR_BASE - status;
    }
    if (status > 0) return status - QM4120_LIB_WARN_BASE;
    return 0;
}

}  // namespace

extern "C" {

int32_t qm4120_dll_error(int32_t libraryStatus) {
    const int32_t s = libraryStatus;
    if (s < LIB_LOWEST || s > LIB_HIGHEST) return s;  // VISA and driver codes pass through
    if (s == 0) return 0;
    if (s >= LIB_UPPER_ERROR_BAND && s <= -1) return QM4120_LIB_ERROR_BASE - s;
    if (s < LIB_UPPER_ERROR_BAND) return QM4120_LIB_ERROR_BASE + s;
    return QM4120_LIB_WARN_BASE + s;
}

int32_t qm4120_error_message(uint32_t vi, int32_t status, char* text) {
    (void)vi;  // the texts do not depend on the session
    const int32_t visa = viStatusDesc(0, status, text);
    if (visa != VI_WARN_UNKNOWN_STATUS) return visa;

    for (const DriverMessage& m : DRIVER_MESSAGES) {
        if (m.status == status) {
            std::snprintf(text, QM4120_TEXT_SIZE, "%s", m.text);
            return 0;
        }
    }
    return qm4120_errGetErrorString(libraryCodeOf(status), text);
}

}  // extern "C"
