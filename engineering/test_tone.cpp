// The engineering panel's test-tone switch (see test_tone.h).
#include "test_tone.h"

#include <cstdint>

#include "app_state.h"
#include "qm4120_pb_lib.h"
#include "userint.h"

namespace {

constexpr uint16_t ACQ_CONTROL_REGISTER = 0;
constexpr uint16_t TEST_TONE_BIT = 20;
constexpr uint16_t TO_HARDWARE = 1;

}  // namespace

int CmdTestTone(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    int on = 0;
    GetCtrlVal(panel, control, &on);
    err4120(
        qm4120_registerWriteBit(getQM4120id(), ACQ_CONTROL_REGISTER, TEST_TONE_BIT, on ? 1 : 0, TO_HARDWARE));
    return 0;
}

void registerTestToneCallback() {
    RegisterCtrlCallback("CmdTestTone", CmdTestTone);
}
