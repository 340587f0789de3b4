// Engineering panel: layout per model, the RF-board latch, opening and closing (see eng_panel.h).
#include "eng_panel.h"

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_cal_id.h"
#include "userint.h"

namespace {

// Box "3" drives bit 0 of the latch word, box "18" bit 15.
constexpr int LATCH_BOXES[LATCH_BITS] = {
    ENGPANEL_CHECK_4125D3BIT3,  ENGPANEL_CHECK_4125D3BIT4,  ENGPANEL_CHECK_4125D3BIT5,
    ENGPANEL_CHECK_4125D3BIT6,  ENGPANEL_CHECK_4125D3BIT7,  ENGPANEL_CHECK_4125D3BIT8,
    ENGPANEL_CHECK_4125D3BIT9,  ENGPANEL_CHECK_4125D3BIT10, ENGPANEL_CHECK_4125D3BIT11,
    ENGPANEL_CHECK_4125D3BIT12, ENGPANEL_CHECK_4125D3BIT13, ENGPANEL_CHECK_4125D3BIT14,
    ENGPANEL_CHECK_4125D3BIT15, ENGPANEL_CHECK_4125D3BIT16, ENGPANEL_CHECK_4125D3BIT17,
    ENGPANEL_CHECK_4125D3BIT18,
};

// The 4125 has a five-pad RF attenuator in 1 dB steps; the 4120 family three pads in 4 dB steps.
constexpr int RF_PADS_4125[] = {ENGPANEL_CHK_RFATTN16DBPAD4125, ENGPANEL_CHK_RFATTN8DBPAD4125,
                                ENGPANEL_CHK_RFATTN4DBPAD4125, ENGPANEL_CHK_RFATTN2DBPAD4125,
                                ENGPANEL_CHK_RFATTN1DBPAD4125};
constexpr int RF_PADS_4120[] = {ENGPANEL_CHK_RFATTN4DBPAD4120, ENGPANEL_CHK_RFATTN8DBPAD4120,
                                ENGPANEL_CHK_RFATTN16DBPAD4120};

void setVisible(int panel, const int* controls, int count, int visible) {
    for (int i = 0; i < count; ++i) SetCtrlAttribute(panel, controls[i], ATTR_VISIBLE, visible);
}

}  // namespace

uint16_t latchWordFromBoxes(int panel) {
    uint16_t word = 0;
    for (int bit = 0; bit < LATCH_BITS; ++bit) {
        int checked = 0;
        GetCtrlVal(panel, LATCH_BOXES[bit], &checked);
        if (checked) word |= static_cast<uint16_t>(1u << bit);
    }
    return word;
}

void showLatchWord(int panel, uint16_t word) {
    for (int bit = 0; bit < LATCH_BITS; ++bit) SetCtrlVal(panel, LATCH_BOXES[bit], (word >> bit) & 1 ? 1 : 0);
}

bool groupDelaySetup(uint16_t modelCode, double* samplingRateHz, double* bandwidthHz) {
    switch (modelCode) {
        case MODEL_4120:
        case MODEL_4120_ENHANCED:
            *samplingRateHz = 46080000.0;
            *bandwidthHz = 20000000.0;
            return true;
        case MODEL_4125:
        case MODEL_4120A:
            *samplingRateHz = 77760000.0;
            *bandwidthHz = 35000000.0;
            return true;
        default:
            return false;
    }
}

void engPanelOpen() {
    const int panel = appState.engPanel;
    if (panel <= 0) return;
    uint16_t model = 0;
    // The menu waits for a boot; without a module the panel keeps the 4120 family's layout.
    if (isActive4120()) err4120(qm4120_getModelCode(getQM4120id(), &model));
    const int is4125 = model == MODEL_4125 ? 1 : 0;

    SetCtrlAttribute(panel, ENGPANEL_RF_ATTEN, ATTR_VISIBLE, 1);
    setVisible(panel, RF_PADS_4125, 5, is4125);
    setVisible(panel, RF_PADS_4120, 3, !is4125);
    SetCtrlAttribute(panel, ENGPANEL_RF_ATTEN, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(panel, ENGPANEL_RF_ATTEN, ATTR_INCR_VALUE, is4125 ? 1 : 4);
    SetCtrlAttribute(panel, ENGPANEL_RF_ATTEN, ATTR_MAX_VALUE, is4125 ? 31 : 28);

    // Only the 4125's RF board has the control latch.
    SetCtrlAttribute(panel, ENGPANEL_DEC_4125D3LATCH, ATTR_VISIBLE, is4125);
    SetCtrlAttribute(panel, ENGPANEL_TEXT_4125D3LATCH, ATTR_VISIBLE, is4125);
    setVisible(panel, LATCH_BOXES, LATCH_BITS, is4125);

    DisplayPanel(panel);
}

int cmd4125D3Latch(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const uint16_t word = latchWordFromBoxes(panel);
    if (!isActive4120()) return 0;
    const uint32_t session = getQM4120id();
    err4120(qm4120_set4125D3Latch(session, word));
    // Show what the board latched, which is what the next capture runs with.
    uint16_t latched = 0;
    const int32_t status = qm4120_get4125D3Latch(session, &latched);
    err4120(status);
    if (status >= 0) showLatchWord(panel, latched);
    return 0;
}

int cmdCdma2000Capability(int panel, int control, int event, void*, int, int) {
    // The box is read, but no module function hangs on it yet.
    int capability = 0;
    if (event == EVENT_COMMIT) GetCtrlVal(panel, control, &capability);
    return 0;
}

int cmdDividedLOFreq(int, int, int event, void*, int, int) {
    // The divided-LO entry has no module setting behind it: a commit only reads the LO frequency the main
    // panel shows, and nothing is sent.
    double loFrequency = 0.0;
    if (event == EVENT_COMMIT) GetCtrlVal(getMainPanel(), MAINPANEL_LO_FREQ, &loFrequency);
    return 0;
}

int cmdCloseEngineer(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) HidePanel(panel);
    return 0;
}

int cmdShowIdInfo(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) calidPanelShow();
    return 0;
}

void registerEngPanelCallbacks() {
    RegisterCtrlCallback("CmdWRegRead", CmdWRegRead);
    RegisterCtrlCallback("CmdWRegWrite", CmdWRegWrite);
    RegisterCtrlCallback("CmdRRegRead", CmdRRegRead);
    RegisterCtrlCallback("CmdRegWriteDirect", CmdRegWriteDirect);
    RegisterCtrlCallback("cmd4125D3Latch", cmd4125D3Latch);
    RegisterCtrlCallback("cmdSetSerial", cmdSetSerial);
    RegisterCtrlCallback("cmdReadSerial", cmdReadSerial);
    RegisterCtrlCallback("cmdBlankEeprom", cmdBlankEeprom);
    RegisterCtrlCallback("cmdTest", cmdTest);
    RegisterCtrlCallback("cmdTestGrpDel", cmdTestGrpDel);
    RegisterCtrlCallback("cmdSetGrpDelFPGAFiltBypass", cmdSetGrpDelFPGAFiltBypass);
    RegisterCtrlCallback("cmdCdma2000Capability", cmdCdma2000Capability);
    RegisterCtrlCallback("cmdDividedLOFreq", cmdDividedLOFreq);
    RegisterCtrlCallback("cmdCloseEngineer", cmdCloseEngineer);
    RegisterCtrlCallback("cmdCalGrpDel", cmdCalGrpDel);
    RegisterCtrlCallback("cmdShowIdInfo", cmdShowIdInfo);
}
