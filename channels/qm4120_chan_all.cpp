#include "qm4120_chan_all.h"

#include <cstdint>
#include <cstdio>

#include "app_state.h"
#include "level_units.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

constexpr int NOT_WRITTEN_COLOUR = 0xFF0000;  // a Set button whose value is not in the module yet

int editAllPanel = 0;
int normalButtonColour = VAL_LT_GRAY;

// One field of the range panel: its value control, Set button, the name the confirmation uses, and
// how the value reaches the main panel and each channel.
struct RangeField {
    int valueControl;
    int setButton;
    const char* name;
    int mainControl;
    void (*readColumn)();
};

constexpr RangeField FIELDS[] = {
    {CHEDITALL_FREQ, CHEDITALL_FREQSET, "RF Frequency", MAINPANEL_RF_FREQ, chanPanelUpdateAllFreqFromHw},
    {CHEDITALL_LOPOS, CHEDITALL_LOPOSSET, "LO Position", MAINPANEL_LO_POSITION,
     chanPanelUpdateAllLoPosFromHw},
    {CHEDITALL_FRONTEND, CHEDITALL_FRONTENDSET, "Front End Attenuation Configuration",
     MAINPANEL_RING_ATTEN_CONFIG, chanPanelUpdateAllFrontEndFromHw},
    {CHEDITALL_RFLEVEL, CHEDITALL_RFLEVELSET, "RF Level", MAINPANEL_RF_INPUT_LEVEL,
     chanPanelUpdateAllRfLevelFromHw},
    {CHEDITALL_IFLEVEL, CHEDITALL_IFLEVELSET, "IF Level", MAINPANEL_IF_INPUT_LEVEL,
     chanPanelUpdateAllIfLevelFromHw},
    {CHEDITALL_RFATTEN, CHEDITALL_RFATTENSET, "RF Attenuation", MAINPANEL_RF_ATTEN,
     chanPanelUpdateAllRfAttenFromHw},
    {CHEDITALL_IFATTEN, CHEDITALL_IFATTENSET, "IF Attenuation", MAINPANEL_IF_ATTEN,
     chanPanelUpdateAllIfAttenFromHw},
};

const RangeField* fieldOfButton(int button) {
    for (const RangeField& f : FIELDS)
        if (f.setButton == button) return &f;
    return nullptr;
}

const RangeField* fieldOfValue(int control) {
    for (const RangeField& f : FIELDS)
        if (f.valueControl == control) return &f;
    return nullptr;
}

int displayUnit() {
    uint16_t unit = LEVEL_UNIT_DBM;
    if (!isActive4120() || qm4120_getInputLevelDimensions(getQM4120id(), &unit) < 0) return LEVEL_UNIT_DBM;
    return unit;
}

void applyToRange(const RangeField& f) {
    const int panel = editAllPanel;
    unsigned short from = 0;
    unsigned short to = 0;
    GetCtrlVal(panel, CHEDITALL_RANGEFROM, &from);
    GetCtrlVal(panel, CHEDITALL_RANGETO, &to);
    char message[256];
    std::snprintf(message, sizeof message, "Set %s for channels %u to %u.\n\nAre you sure?", f.name,
                  static_cast<unsigned>(from), static_cast<unsigned>(to));
    if (!ConfirmPopup("Confirm Action", message)) return;

    short mainChannel = 0;
    chanPanelEditingActiveChan(&mainChannel, nullptr);
    const bool mainInRange = mainChannel >= from && mainChannel <= to;
    int32_t status = 0;
    const uint32_t session = getQM4120id();
    auto run = [&](auto write) {
        if (!isActive4120()) return;
        for (unsigned channel = from; channel <= to; ++channel) {
            if (mainInRange && channel == static_cast<unsigned>(mainChannel)) continue;
            status = chanRangeCombineStatus(status, write(static_cast<uint16_t>(channel)));
        }
    };

    if (f.setButton == CHEDITALL_FREQSET) {
        double hz = 0.0;
        GetCtrlVal(panel, f.valueControl, &hz);
        if (mainInRange) chanPanelRunMainCommand(f.mainControl, hz);
        run([&](uint16_t ch) { return qm4120_setRfFrequencyChan(session, hz, ch); });
    } else if (f.setButton == CHEDITALL_LOPOSSET) {
        int above = 0;
        GetCtrlVal(panel, f.valueControl, &above);
        if (mainInRange) chanPanelRunMainCommand(f.mainControl, static_cast<unsigned short>(above ? 1 : 0));
        double ifHz = 0.0;
        if (isActive4120()) err4120(qm4120_getIfFrequency(session, &ifHz));
        const double offset = above ? ifHz : 0.0 - ifHz;
        run([&](uint16_t ch) { return qm4120_setLoOffsetChan(session, offset, ch); });
    } else if (f.setButton == CHEDITALL_FRONTENDSET) {
        unsigned short mode = 0;
        GetCtrlVal(panel, f.valueControl, &mode);
        if (mainInRange) chanPanelRunMainCommand(f.mainControl, mode);
        run([&](uint16_t ch) { return qm4120_setFrontEndConfigModeChan(session, mode, ch); });
    } else if (f.setButton == CHEDITALL_RFLEVELSET || f.setButton == CHEDITALL_IFLEVELSET) {
        double dBm = 0.0;
        GetCtrlVal(panel, f.valueControl, &dBm);
        if (mainInRange) {
            double shown = dBm;
            convertLevel(LEVEL_UNIT_DBM, displayUnit(), dBm, &shown);
            chanPanelRunMainCommand(f.mainControl, shown);
        }
        const auto set =
            f.setButton == CHEDITALL_RFLEVELSET ? qm4120_setRfInputLevelChan : qm4120_setIfInputLevelChan;
        run([&](uint16_t ch) { return set(session, dBm, ch); });
    } else {
        int dB = 0;
        GetCtrlVal(panel, f.valueControl, &dB);
        if (mainInRange) chanPanelRunMainCommand(f.mainControl, dB);
        const auto set =
            f.setButton == CHEDITALL_RFATTENSET ? qm4120_setRfAttenuationChan : qm4120_setIfAttenuationChan;
        run([&](uint16_t ch) { return set(session, dB, ch); });
    }
    if (isActive4120()) err4120(status);
    f.readColumn();
    SetCtrlAttribute(panel, f.setButton, ATTR_TEXT_BGCOLOR, normalButtonColour);
}

}  // namespace

int32_t chanRangeCombineStatus(int32_t sofar, int32_t status) {
    if (sofar < 0) return sofar;
    if (status < 0) return status;
    return sofar > 0 ? sofar : status;
}

void chanEditAllPanelResetState() {
    editAllPanel = 0;
    normalButtonColour = VAL_LT_GRAY;
}

int chanEditAllPanelInit() {
    const int panel = LoadPanel(0, "qm4120_chan.uir", CHEDITALL);
    if (panel < 0) {
        editAllPanel = 0;
        return 0;
    }
    editAllPanel = panel;
    GetCtrlAttribute(panel, CHEDITALL_CLOSE, ATTR_TEXT_BGCOLOR, &normalButtonColour);
    return 1;
}

void chanEditAllPanelInitPreBoot() {
    // Nothing on this panel depends on the module before a boot.
}

void chanEditAllPanelInitPostBoot() {
    // The frequency limits and steps reach this panel through the channel table's setters.
}

void chanEditAllPanelShow() {
    if (!editAllPanel) chanEditAllPanelInit();
    if (editAllPanel) DisplayPanel(editAllPanel);
}

void chanEditAllPanelHide() {
    if (editAllPanel) HidePanel(editAllPanel);
}

void chanEditAllPanelDiscard() {
    if (editAllPanel) DiscardPanel(editAllPanel);
    editAllPanel = 0;
}

int getEditAllPanel() {
    return editAllPanel;
}

// The range can never be reversed: each end limits the other.
int ctrlEditAllRange(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    unsigned short value = 0;
    GetCtrlVal(panel, control, &value);
    if (control == CHEDITALL_RANGEFROM)
        SetCtrlAttribute(panel, CHEDITALL_RANGETO, ATTR_MIN_VALUE, static_cast<int>(value));
    else
        SetCtrlAttribute(panel, CHEDITALL_RANGEFROM, ATTR_MAX_VALUE, static_cast<int>(value));
    return 0;
}

// An entered value turns its Set button red until it has been written.
int ctrlAllValue(int panel, int control, int event, void*, int, int) {
    const RangeField* f = fieldOfValue(control);
    if (!f) return 0;
    if (event == EVENT_RIGHT_CLICK && getMainPanel() > 0) {
        if (control == CHEDITALL_FREQ)
            CallCtrlCallback(getMainPanel(), MAINPANEL_RF_FREQ, EVENT_RIGHT_CLICK, 0, 0, nullptr);
        else if (control == CHEDITALL_RFLEVEL || control == CHEDITALL_IFLEVEL)
            CallCtrlCallback(getMainPanel(), MAINPANEL_RF_INPUT_LEVEL, EVENT_RIGHT_CLICK, 0, 0, nullptr);
    }
    if (event == EVENT_COMMIT) SetCtrlAttribute(panel, f->setButton, ATTR_TEXT_BGCOLOR, NOT_WRITTEN_COLOUR);
    return 0;
}

int cmdSetAll(int, int control, int event, void*, int, int) {
    const RangeField* f = fieldOfButton(control);
    if (event == EVENT_COMMIT && f && editAllPanel) applyToRange(*f);
    return 0;
}

int cmdCloseEditAll(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanEditAllPanelHide();
    return 0;
}

void registerEditAllCallbacks() {
    RegisterCtrlCallback("ctrlEditAllRange", ctrlEditAllRange);
    for (const char* name : {"ctrlAllFreq", "ctrlAllLoPos", "ctrlAllFrontEnd", "ctrlAllRfLevel",
                             "ctrlAllIfLevel", "ctrlAllRfAtten", "ctrlAllIfAtten"})
        RegisterCtrlCallback(name, ctrlAllValue);
    for (const char* name : {"cmdSetAllFreq", "cmdSetAllLoPos", "cmdSetAllFrontEnd", "cmdSetAllRfLevel",
                             "cmdSetAllIfLevel", "cmdSetAllRfAtten", "cmdSetAllIfAtten"})
        RegisterCtrlCallback(name, cmdSetAll);
    RegisterCtrlCallback("cmdCloseEditAll", cmdCloseEditAll);
}
