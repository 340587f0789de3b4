// The channel table's edit controls: a field of the shown channel is written to the module and read back
// into its row. The main panel's own channel goes through the main panel's command instead, so the main
// panel, the module and the table never disagree about the channel the module is using.
#include <cstdint>

#include "app_state.h"
#include "level_units.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_lm.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

template <typename T>
void runMainCommand(int control, T value) {
    const int main = getMainPanel();
    if (main <= 0) return;
    SetCtrlVal(main, control, value);
    CallCtrlCallback(main, control, EVENT_COMMIT, 0, 0, nullptr);
}

// Writes one field of the table's channel: through the main panel when it is the main panel's channel,
// else straight to that channel; then the field is read back into the row in either case.
template <typename T, typename Write>
void editField(int mainControl, T mainValue, Write write, void (*readBack)(uint32_t, int)) {
    short channel = 0;
    if (chanPanelEditingActiveChan(nullptr, &channel)) {
        chanPanelRunMainCommand(mainControl, mainValue);
    } else if (isActive4120()) {
        err4120(write(getQM4120id(), static_cast<uint16_t>(channel)));
    }
    readBack(getQM4120id(), channel);
}

int displayUnit() {
    uint16_t unit = LEVEL_UNIT_DBM;
    if (qm4120_getInputLevelDimensions(getQM4120id(), &unit) < 0) return LEVEL_UNIT_DBM;
    return unit;
}

// The level entries are in the display unit; the module takes dBm.
int editLevel(int panel, int control, int event, int mainControl, int32_t (*set)(uint32_t, double, uint16_t),
              void (*readBack)(uint32_t, int)) {
    if (event == EVENT_RIGHT_CLICK && getMainPanel() > 0)
        CallCtrlCallback(getMainPanel(), mainControl, EVENT_RIGHT_CLICK, 0, 0, nullptr);
    if (event != EVENT_COMMIT) return 0;
    double level = 0.0;
    GetCtrlVal(panel, control, &level);
    editField(
        mainControl, level,
        [&](uint32_t session, uint16_t channel) {
            double dBm = level;
            convertLevel(displayUnit(), LEVEL_UNIT_DBM, level, &dBm);
            return set(session, dBm, channel);
        },
        readBack);
    return 0;
}

int editAtten(int panel, int control, int event, int mainControl, int32_t (*set)(uint32_t, int32_t, uint16_t),
              void (*readBack)(uint32_t, int)) {
    if (event != EVENT_COMMIT) return 0;
    int dB = 0;
    GetCtrlVal(panel, control, &dB);
    editField(
        mainControl, dB, [&](uint32_t session, uint16_t channel) { return set(session, dB, channel); },
        readBack);
    return 0;
}

}  // namespace

int chanPanelEditingActiveChan(short* mainChannel, short* tableChannel) {
    short main = 0;
    short table = 0;
    if (getMainPanel() > 0) GetCtrlVal(getMainPanel(), MAINPANEL_CHANNEL, &main);
    if (getChanPanel() > 0) GetCtrlVal(getChanPanel(), CHANPANEL_CHANNEL, &table);
    if (mainChannel) *mainChannel = main;
    if (tableChannel) *tableChannel = table;
    return main == table ? 1 : 0;
}

void chanPanelRunMainCommand(int control, double value) {
    runMainCommand(control, value);
}
void chanPanelRunMainCommand(int control, int value) {
    runMainCommand(control, value);
}
void chanPanelRunMainCommand(int control, unsigned short value) {
    runMainCommand(control, value);
}

int ctrlChanFreq(int panel, int control, int event, void*, int, int) {
    if (event == EVENT_RIGHT_CLICK && getMainPanel() > 0)
        CallCtrlCallback(getMainPanel(), MAINPANEL_RF_FREQ, EVENT_RIGHT_CLICK, 0, 0, nullptr);
    if (event != EVENT_COMMIT) return 0;
    double hz = 0.0;
    GetCtrlVal(panel, control, &hz);
    editField(
        MAINPANEL_RF_FREQ, hz,
        [&](uint32_t session, uint16_t channel) { return qm4120_setRfFrequencyChan(session, hz, channel); },
        chanPanelUpdateFreqFromHw);
    return 0;
}

int ctrlChanLoPos(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int above = 0;
    GetCtrlVal(panel, control, &above);
    editField(
        MAINPANEL_LO_POSITION, static_cast<unsigned short>(above ? 1 : 0),
        [&](uint32_t session, uint16_t channel) {
            // The offset's size is the IF frequency; its sign puts the LO above or below the RF.
            double ifHz = 0.0;
            err4120(qm4120_getIfFrequency(session, &ifHz));
            return qm4120_setLoOffsetChan(session, above ? ifHz : 0.0 - ifHz, channel);
        },
        chanPanelUpdateLoPosFromHw);
    return 0;
}

int ctrlChanFrontEnd(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    unsigned short mode = 0;
    GetCtrlVal(panel, control, &mode);
    editField(
        MAINPANEL_RING_ATTEN_CONFIG, mode,
        [&](uint32_t session, uint16_t channel) {
            return qm4120_setFrontEndConfigModeChan(session, mode, channel);
        },
        chanPanelUpdateFrontEndFromHw);
    return 0;
}

int ctrlChanRfLevel(int panel, int control, int event, void*, int, int) {
    return editLevel(panel, control, event, MAINPANEL_RF_INPUT_LEVEL, qm4120_setRfInputLevelChan,
                     chanPanelUpdateRfLevelFromHw);
}

int ctrlChanIfLevel(int panel, int control, int event, void*, int, int) {
    return editLevel(panel, control, event, MAINPANEL_IF_INPUT_LEVEL, qm4120_setIfInputLevelChan,
                     chanPanelUpdateIfLevelFromHw);
}

int ctrlChanRfAtten(int panel, int control, int event, void*, int, int) {
    return editAtten(panel, control, event, MAINPANEL_RF_ATTEN, qm4120_setRfAttenuationChan,
                     chanPanelUpdateRfAttenFromHw);
}

int ctrlChanIfAtten(int panel, int control, int event, void*, int, int) {
    return editAtten(panel, control, event, MAINPANEL_IF_ATTEN, qm4120_setIfAttenuationChan,
                     chanPanelUpdateIfAttenFromHw);
}

int chanPanelLMode(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanLmPanelShow();
    return 0;
}

int chanPanelEditAll(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanEditAllPanelShow();
    return 0;
}

void registerChannelEditCallbacks() {
    RegisterCtrlCallback("ctrlChanFreq", ctrlChanFreq);
    RegisterCtrlCallback("ctrlChanLoPos", ctrlChanLoPos);
    RegisterCtrlCallback("ctrlChanFrontEnd", ctrlChanFrontEnd);
    RegisterCtrlCallback("ctrlChanRfLevel", ctrlChanRfLevel);
    RegisterCtrlCallback("ctrlChanIfLevel", ctrlChanIfLevel);
    RegisterCtrlCallback("ctrlChanRfAtten", ctrlChanRfAtten);
    RegisterCtrlCallback("ctrlChanIfAtten", ctrlChanIfAtten);
    RegisterCtrlCallback("chanPanelLMode", chanPanelLMode);
    RegisterCtrlCallback("chanPanelEditAll", chanPanelEditAll);
}
