/* Opens a QM4120 module, tunes it, sets its RF input level, reads both settings back and closes it.
 *
 * Build against an installed driver:
 *   cc open_set_read.c -I<prefix>/include -L<prefix>/lib -lqm4120 -Wl,-rpath,<prefix>/lib -o open_set_read
 */
#include <stdio.h>

#include "qm4120.h"

/* Prints the driver's text for a non-zero status; returns 1 when the status is an error. */
static int report(uint32_t vi, const char* what, int32_t status) {
    char text[QM4120_TEXT_SIZE];
    if (status == 0) return 0;
    qm4120_error_message(vi, status, text);
    fprintf(stderr, "%s: status 0x%08X: %s\n", what, (unsigned)status, text);
    return status < 0;
}

int main(void) {
    uint32_t vi = 0;
    double frequency = 0.0;
    double level = 0.0;
    int failed = 0;

    /* No identity query, reset with the default FPGA configuration. */
    if (report(0, "qm4120_init", qm4120_init("0x4120", 0, 1, &vi))) return 1;

    /* The module rounds to its resolution, so the read-back is what it actually applied. */
    failed |= report(vi, "qm4120_setRfFrequency", qm4120_setRfFrequency(vi, 1.8e9));
    failed |= report(vi, "qm4120_setRfInputLevel", qm4120_setRfInputLevel(vi, -10.0));
    failed |= report(vi, "qm4120_getRfFrequency", qm4120_getRfFrequency(vi, &frequency));
    failed |= report(vi, "qm4120_getRfInputLevel", qm4120_getRfInputLevel(vi, &level));
    if (!failed) {
        printf("RF frequency: %.0f Hz\n", frequency);
        printf("RF input level: %.2f dBm\n", level);
    }

    failed |= report(vi, "qm4120_close", qm4120_close(vi));
    return failed ? 1 : 0;
}
