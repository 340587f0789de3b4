// The engineering panel's front-end controls (see front_end_eng.h).
#include "front_end_eng.h"

#include <span>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

namespace {

// Pad boxes in bit order.
constexpr int IF_PADS[] = {
    ENGPANEL_CHECK_IFATTEN1DBPAD, ENGPANEL_CHECK_IFATTEN2DBPAD,   ENGPANEL_CHECK_IFATTEN4DBPAD,
    ENGPANEL_CHECK_IFATTEN8DBPAD, ENGPANEL_CHECK_IFATTEN10DBAPAD, ENGPANEL_CHECK_IFATTEN10DBBPAD,
};
// The 4125's RF board has five binary pads, largest first; the 4120 family's three, smallest first.
constexpr int RF_PADS_4125[] = {
    ENGPANEL_CHK_RFATTN16DBPAD4125, ENGPANEL_CHK_RFATTN8DBPAD4125, ENGPANEL_CHK_RFATTN4DBPAD4125,
    ENGPANEL_CHK_RFATTN2DBPAD4125,  ENGPANEL_CHK_RFATTN1DBPAD4125,
};
constexpr int RF_PADS_4120[] = {
    ENGPANEL_CHK_RFATTN4DBPAD4120,
    ENGPANEL_CHK_RFATTN8DBPAD4120,
    ENGPANEL_CHK_RFATTN16DBPAD4120,
};

std::span<const int> rfPads(uint16_t model) {
    if (model == MODEL_4125) return RF_PADS_4125;
    return RF_PADS_4120;
}

uint16_t padMask(std::span<const int> boxes) {
    uint16_t mask = 0;
    for (size_t bit = 0; bit < boxes.size(); ++bit) {
        int checked = 0;
        GetCtrlVal(appState.engPanel, boxes[bit], &checked);
        if (checked) mask |= static_cast<uint16_t>(1u << bit);
    }
    return mask;
}

void showPads(std::span<const int> boxes, uint16_t mask) {
    for (size_t bit = 0; bit < boxes.size(); ++bit)
        SetCtrlVal(appState.engPanel, boxes[bit], (mask >> bit) & 1u ? 1 : 0);
}

void showAttenuation(int mainControl, int engControl, int32_t (*get)(uint32_t, int32_t*)) {
    int32_t dB = 0;
    if (!readModule(get, &dB, StatusReport::Report)) return;
    SetCtrlVal(appState.mainPanel, mainControl, static_cast<int>(dB));
    if (appState.engPanel > 0) SetCtrlVal(appState.engPanel, engControl, static_cast<int>(dB));
}

uint16_t modelCode() {
    uint16_t model = 0;
    readModule(qm4120_getModelCode, &model, StatusReport::Report);
    return model;
}

bool acts(int event) {
    return event == EVENT_COMMIT && isActive4120();
}

// A ring or check box whose value goes to the module as it is.
int sendValue(int panel, int control, int event, int32_t (*set)(uint32_t, uint16_t)) {
    if (!acts(event)) return 0;
    int value = 0;
    GetCtrlVal(panel, control, &value);
    noteStatus(set(getQM4120id(), static_cast<uint16_t>(value)));
    return 0;
}

}  // namespace

uint16_t engIfPadMask() {
    return padMask(IF_PADS);
}

uint16_t engRfPadMask(uint16_t model) {
    return padMask(rfPads(model));
}

void engRefreshIfAttenDisplay() {
    if (!isActive4120()) return;
    showAttenuation(MAINPANEL_IF_ATTEN, ENGPANEL_IF_ATTEN, qm4120_getIfAttenuation);
    uint16_t pads = 0;
    if (appState.engPanel > 0 && readModule(qm4120_getIfAttenuationPads, &pads, StatusReport::Report))
        showPads(IF_PADS, pads);
}

void engRefreshRfAttenDisplay() {
    if (!isActive4120()) return;
    showAttenuation(MAINPANEL_RF_ATTEN, ENGPANEL_RF_ATTEN, qm4120_getRfAttenuation);
    uint16_t pads = 0;
    if (appState.engPanel > 0 && readModule(qm4120_getRfAttenuationPads, &pads, StatusReport::Report))
        showPads(rfPads(modelCode()), pads);
}

void engRefreshAttenDisplays() {
    engRefreshIfAttenDisplay();
    engRefreshRfAttenDisplay();
}

int cmdEngIFAttenPad(int, int, int event, void*, int, int) {
    if (!acts(event)) return 0;
    // The pad write's status is not reported: the display shows what the module made of it.
    qm4120_setIfAttenuationPads(getQM4120id(), engIfPadMask());
    engRefreshIfAttenDisplay();
    return 0;
}

int cmdEngRFAttenPad(int, int, int event, void*, int, int) {
    if (!acts(event)) return 0;
    qm4120_setRfAttenuationPads(getQM4120id(), engRfPadMask(modelCode()));
    engRefreshRfAttenDisplay();
    return 0;
}

int cmdEngPLLMode(int panel, int control, int event, void*, int, int) {
    return sendValue(panel, control, event, qm4120_setIfPllMode);
}

int cmdEngADCPhase(int panel, int control, int event, void*, int, int) {
    if (!acts(event)) return 0;
    int phase = 0;
    GetCtrlVal(panel, control, &phase);
    noteStatus(qm4120_setAdcPhase(getQM4120id(), phase));
    return 0;
}

int cmdAuxRef(int panel, int control, int event, void*, int, int) {
    return sendValue(panel, control, event, qm4120_setIfAuxRefEnable);
}

int cmdGetIfRefState(int panel, int, int event, void*, int, int) {
    if (!acts(event)) return 0;
    uint16_t locked = 1;
    uint16_t latched = 1;
    noteStatus(qm4120_getIfRefState(getQM4120id(), &locked, &latched));
    SetCtrlVal(panel, ENGPANEL_STR_REF_LOCKED, locked ? "True" : "False");
    SetCtrlVal(panel, ENGPANEL_STR_REF_LOCKED_LATCH, latched ? "True" : "False");
    return 0;
}

int cmdGetTempVal(int panel, int, int event, void*, int, int) {
    if (!acts(event)) return 0;
    int16_t temperature = 0;
    if (qm4120_ADCReadTemp(getQM4120id(), 0, 1, &temperature) >= 0)
        SetCtrlVal(panel, ENGPANEL_ENGGETTEMP, static_cast<short>(temperature));
    return 0;
}

void registerFrontEndEngCallbacks() {
    RegisterCtrlCallback("cmdEngIFAttenPad", cmdEngIFAttenPad);
    RegisterCtrlCallback("cmdEngRFAttenPad", cmdEngRFAttenPad);
    RegisterCtrlCallback("cmdEngPLLMode", cmdEngPLLMode);
    RegisterCtrlCallback("cmdEngADCPhase", cmdEngADCPhase);
    RegisterCtrlCallback("cmdAuxRef", cmdAuxRef);
    RegisterCtrlCallback("cmdGetIfRefState", cmdGetIfRefState);
    RegisterCtrlCallback("cmdGetTempVal", cmdGetTempVal);
}
