// Engineering panel service functions: register access, serial number, EEPROM blanking, the tests, the
// group-delay filter switch and the group-delay calibration (see eng_panel.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app_state.h"
#include "eng_panel.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"
#include "qm4120_pb_lib.h"
#include "qm4120_sfp_uir.h"
#include "userint.h"

namespace {

// The register operations address whole 32-bit words.
constexpr uint16_t WHOLE_WORD_OFFSET = 0;
constexpr uint16_t WHOLE_WORD_WIDTH = 32;
constexpr uint16_t WRITE_TO_HARDWARE = 1;

// The RF amplitude reference point the Test button adjusts by nothing and stores again.
constexpr uint16_t TEST_BAND = 2;
constexpr uint16_t TEST_POINT = 13;

uint16_t registerNumber(int panel, int control) {
    unsigned short reg = 0;
    GetCtrlVal(panel, control, &reg);
    return reg;
}

uint32_t registerValue(int panel, int control) {
    unsigned value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

// The serial number lives in the module's EEPROM: without a module there is nothing to ask.
bool bootedOrSay() {
    if (isActive4120()) return true;
    MessagePopup("Error", "Please boot 4120 first");
    return false;
}

// Runs a module operation under the busy cursor and reports its status with the normal cursor.
void runBusy(int32_t (*operation)(uint32_t)) {
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    const int32_t status = operation(getQM4120id());
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    err4120(status);
}

int32_t testAmplitudeReference(uint32_t session) {
    return qm4120_cal_RFDigAmpRef_BandPointAdj(session, TEST_BAND, TEST_POINT, 0.0, 1);
}

// "MM-DD-YYYY" and "HH:MM:SS" cut into year, month, day, hour, minute and second.
struct ClockReading {
    std::string year, month, day, hour, minute, second;
};

ClockReading readClock() {
    const std::string date = DateStr();
    const std::string time = TimeStr();
    ClockReading r;
    r.month = date.substr(0, 2);
    r.day = date.size() >= 5 ? date.substr(3, 2) : "";
    r.year = date.size() >= 10 ? date.substr(6, 4) : "";
    r.hour = time.substr(0, 2);
    r.minute = time.size() >= 5 ? time.substr(3, 2) : "";
    r.second = time.size() >= 8 ? time.substr(6, 2) : "";
    return r;
}

int16_t toInt16(const std::string& text) {
    return static_cast<int16_t>(std::atoi(text.c_str()));
}

}  // namespace

// Register access reaches the library even without a booted module: the library then says so.
int CmdWRegRead(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    uint32_t value = 0;
    const int32_t status = qm4120_registerReadFieldVal(getQM4120id(), registerNumber(panel, ENGPANEL_WREGNUM),
                                                       WHOLE_WORD_OFFSET, WHOLE_WORD_WIDTH, &value);
    err4120(status);
    // The library's copy of the write register: a direct hardware write does not show here.
    if (status >= 0) SetCtrlVal(panel, ENGPANEL_WREGVAL, static_cast<unsigned>(value));
    return 0;
}

int CmdWRegWrite(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    err4120(qm4120_registerWriteFieldVal(getQM4120id(), registerNumber(panel, ENGPANEL_WREGNUM),
                                         WHOLE_WORD_OFFSET, WHOLE_WORD_WIDTH,
                                         registerValue(panel, ENGPANEL_WREGVAL), WRITE_TO_HARDWARE));
    return 0;
}

int CmdRRegRead(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    uint32_t value = 0;
    const int32_t status =
        qm4120_registerReadFromHw(getQM4120id(), registerNumber(panel, ENGPANEL_RREGNUM), &value);
    err4120(status);
    if (status >= 0) SetCtrlVal(panel, ENGPANEL_RREGVAL, static_cast<unsigned>(value));
    return 0;
}

int CmdRegWriteDirect(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    err4120(qm4120_registerWriteDirect(getQM4120id(), registerNumber(panel, ENGPANEL_REGNUM),
                                       registerValue(panel, ENGPANEL_REGVAL)));
    return 0;
}

int cmdSetSerial(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT) return 0;
    char serial[QM4120_TEXT_SIZE] = {};
    GetCtrlVal(panel, ENGPANEL_ENGSERIAL, serial);
    if (!bootedOrSay()) return 0;
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    const int32_t status = qm4120_setSerialNumber(getQM4120id(), serial);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    err4120(status);
    if (appState.mainPanel > 0) SetCtrlVal(appState.mainPanel, MAINPANEL_MODULE_SERIAL, serial);
    SetCtrlVal(panel, ENGPANEL_ENGREADSERIAL, "");
    return 0;
}

int cmdReadSerial(int panel, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !bootedOrSay()) return 0;
    char serial[QM4120_TEXT_SIZE] = {};
    const int32_t status = qm4120_getSerialNumber(getQM4120id(), serial);
    err4120(status);
    if (status >= 0) SetCtrlVal(panel, ENGPANEL_ENGREADSERIAL, serial);
    return 0;
}

int cmdBlankEeprom(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    // Blanking erases the identity records and every calibration set for good.
    if (ConfirmPopup("Confirm Action", "BLANK all eeproms.\n\nAre you sure?"))
        err4120(qm4120_blankEeproms(getQM4120id()));
    return 0;
}

int cmdTest(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) runBusy(testAmplitudeReference);
    return 0;
}

int cmdTestGrpDel(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT && isActive4120()) runBusy(qm4120_cal_IFDigGrpDel_Verify);
    return 0;
}

int cmdSetGrpDelFPGAFiltBypass(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    int bypass = 0;
    GetCtrlVal(panel, control, &bypass);
    err4120(qm4120_setGrpDelFilterEnable(getQM4120id(), bypass ? 0 : 1));
    return 0;
}

int cmdCalGrpDel(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT || !isActive4120()) return 0;
    const uint32_t session = getQM4120id();
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    // The calibration is stamped with the moment it started, not when the measurement ended.
    const ClockReading now = readClock();
    // Every step runs whatever became of the one before; the operator sees each failure as it comes.
    err4120(qm4120_cal_IFDigGrpDel_Adj(session));
    err4120(qm4120_cal_IFDigGrpDel_Commit(session, toInt16(now.year), toInt16(now.month), toInt16(now.day),
                                          toInt16(now.hour), toInt16(now.minute), toInt16(now.second)));
    uint16_t model = 0;
    err4120(qm4120_getModelCode(session, &model));
    double rate = 0.0;
    double bandwidth = 0.0;
    if (groupDelaySetup(model, &rate, &bandwidth))
        err4120(qm4120_app_applyDigGrpDel(session, rate, bandwidth));
    char message[96];
    std::snprintf(message, sizeof message, "Cal committed %s-%s-%s %s:%s:%s", now.year.c_str(),
                  now.month.c_str(), now.day.c_str(), now.hour.c_str(), now.minute.c_str(),
                  now.second.c_str());
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    MessagePopup("Group Delay Cal", message);
    return 0;
}
