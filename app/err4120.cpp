// Driver error popup (see err4120.h).
#include "err4120.h"

#include "qm4120.h"
#include "qm4120_sfp.h"
#include "userint.h"

void err4120(int32_t status) {
    if (status == 0) return;
    // The driver fills at most 256 characters; the buffer starts empty in case the look-up fails.
    char text[256] = {};
    qm4120_error_message(getQM4120id(), status, text);
    MessagePopup("4120 Driver Error", text);
}
