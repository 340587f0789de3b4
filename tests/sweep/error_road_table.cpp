// The table of error roads: for each driver operation a file of the program calls, the operator's gesture
// that reaches it. A new call site is one more line here, usually with one of the gestures below.
#include "error_roads.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_lm.h"
#include "qm4120_chan_uir.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot_uir.h"
#include "qm41xx_cal_id.h"
#include "qm41xx_cal_id_uir.h"

namespace {

using R = ::testing::AssertionResult;
using Step = std::function<R(Sweep&)>;
using Prep = std::function<void(Sweep&)>;
using PanelOf = int (*)();
constexpr uint16_t LIST_MODE_MODEL = 0x4125;  // a model with the hardware list mode

const PanelOf mainP = [] { return appState.mainPanel; };
const PanelOf engP = [] { return appState.engPanel; };
const PanelOf routeP = [] { return appState.routePanel; };
const PanelOf fsRateP = [] { return appState.fsRatePanel; };
const PanelOf sysInfoP = [] { return appState.sysInfoPanel; };
const PanelOf dirP = [] { return appState.dirPanel; };
const PanelOf aboutP = [] { return appState.aboutPanel; };
const PanelOf chanP = [] { return getChanPanel(); };
const PanelOf editAllP = [] { return getEditAllPanel(); };
const PanelOf listModeP = [] { return getListModePanel(); };

// Steps an operator takes.
Step enter(PanelOf p, int control, double value) {
    return [=](Sweep& s) { return s.person().commit(p(), control, value); };
}
Step toggle(PanelOf p, int control) {
    return [=](Sweep& s) { return s.person().toggle(p(), control); };
}
Step press(PanelOf p, int control) {
    return [=](Sweep& s) { return s.person().press(p(), control); };
}
// Picks the next item of a ring than the one shown.
Step pickAnother(int control) {
    return [=](Sweep& s) {
        int items = 0, index = 0;
        GetNumListItems(s.main(), control, &items);
        GetCtrlIndex(s.main(), control, &index);
        return s.person().commitIndex(s.main(), control, (index + 1) % (items > 0 ? items : 1));
    };
}
Step menu(int item) {
    return [=](Sweep& s) { return s.person().chooseMenu(s.bar(), item); };
}
// Steps one after the other; the first that cannot be made ends the gesture.
Step then(std::vector<Step> all) {
    return [all](Sweep& s) {
        for (const Step& step : all)
            if (R r = step(s); !r) return r;
        return ::testing::AssertionSuccess();
    };
}
// Steps that bring the panels where a gesture starts; they must succeed, nothing fails while they run.
Prep before(std::vector<Step> steps) {
    Step all = then(std::move(steps));
    return [all](Sweep& s) { EXPECT_TRUE(all(s)) << "preparing the gesture"; };
}

Gesture g(Step act, Prep prepare = nullptr) {
    return {std::move(act), std::move(prepare), nullptr};
}
Gesture on(PanelOf p, int control, double value, Prep prepare = nullptr) {
    return g(enter(p, control, value), std::move(prepare));
}

// The boot dialog: Boot, the module, OK; a boot that fails leaves the dialog up, and the operator cancels it.
Step bootThroughDialog(const char* resource = "0x4A20") {
    return [resource](Sweep& s) {
        if (R r = s.person().press(s.main(), MAINPANEL_BOOTBUTTON); !r) return r;
        const int dialog = appState.bootPanel;
        int count = 0;
        GetNumListItems(dialog, BOOTPANEL_LIST_RES, &count);
        int index = -1;
        for (int i = 0; i < count; ++i) {
            std::string value;
            GetValueFromIndex(dialog, BOOTPANEL_LIST_RES, i, &value);
            if (value == resource) index = i;
        }
        if (index < 0 || ui::userSelectIndex(dialog, BOOTPANEL_LIST_RES, index) < 0)
            return ::testing::AssertionFailure() << "no " << resource << " in the boot dialog";
        if (R r = s.person().press(dialog, BOOTPANEL_BOOT_OK_BUTTON); !r) return r;
        if (ui::topPopup() == dialog) return s.person().press(dialog, BOOTPANEL_BOOT_CANCEL_BUTTON);
        stopRefLockMonitor();
        ui::runQueuedCalls();
        return ::testing::AssertionSuccess();
    };
}

const Gesture BOOT = g(bootThroughDialog());
const Gesture BOOT_LIST_MODE_MODEL = g(bootThroughDialog("0x4125"));  // a model with the hardware list mode
// Boot pressed while a repeat run goes on; the operator then cancels the dialog.
Step bootDuringRepeatRun() {
    return [](Sweep& s) {
        s.frontend().post([&s] { s.person().press(s.main(), MAINPANEL_BOOTBUTTON); });
        if (R r = s.person().press(s.main(), MAINPANEL_CMD_SINGLE); !r) return r;
        if (ui::topPopup() != appState.bootPanel) return ::testing::AssertionFailure() << "no boot dialog";
        return s.person().press(appState.bootPanel, BOOTPANEL_BOOT_CANCEL_BUTTON);
    };
}
const Gesture START = g(press(mainP, MAINPANEL_CMD_SINGLE));
const Gesture CHANNEL = on(mainP, MAINPANEL_CHANNEL, 3);
const Gesture TO_IF_INPUT = on(mainP, MAINPANEL_BINARY_INPUT_SOURCE, 0);
const Gesture TO_MANUAL_ATTEN = on(mainP, MAINPANEL_RING_ATTEN_CONFIG, 2);
const Gesture DATA_TYPE_IF = on(mainP, MAINPANEL_DATA_TYPE, 0);
const Gesture MODE_GENERIC =
    on(mainP, MAINPANEL_MODN_MODE, 5, before({enter(mainP, MAINPANEL_MODN_MODE, 0)}));
const Gesture SAMPLES = on(mainP, MAINPANEL_NUM_SAMPLES, 4096);
const Gesture CAPT_MODE = on(mainP, MAINPANEL_CAPTMODE, 1);
const Gesture FSR_PANEL = g(then({press(mainP, MAINPANEL_SHOWFSRPANEL), press(fsRateP, FSRATE_CLOSE)}),
                            before({enter(mainP, MAINPANEL_MODN_MODE, 5)}));
const Gesture FSR_NUMERATOR =
    g(then({enter(fsRateP, FSRATE_NUM, 7), press(fsRateP, FSRATE_CLOSE)}),
      before({enter(mainP, MAINPANEL_MODN_MODE, 5), press(mainP, MAINPANEL_SHOWFSRPANEL)}));
const Gesture LVDS_DATA_MENU = g(menu(MAINMENU_SETTINGS_LVDS_DATA_IN));
const Gesture LVDS_AUX_MENU = g(menu(MAINMENU_SETTINGS_LVDS_AUX_IN));
const Gesture LVDS_MKR_MENU = g(menu(MAINMENU_SETTINGS_LVDS_MKR_IN));
const Gesture TRIG_LVDS_M = on(mainP, MAINPANEL_CAPT_TRIG, 3);
const Gesture TRIG_LVDS_A = on(mainP, MAINPANEL_CAPT_TRIG, 4);
const Gesture TRIG_LVDS_S = on(mainP, MAINPANEL_CAPT_TRIG, 5);
const Gesture TRIG_TIMER = on(mainP, MAINPANEL_CAPT_TRIG, 7);
const Gesture TRIG_INT = on(mainP, MAINPANEL_CAPT_TRIG, 8);
const Gesture TRIG_PXI = on(mainP, MAINPANEL_CAPT_TRIG, 0);
Prep pxiTrigger() {
    return before({enter(mainP, MAINPANEL_CAPT_TRIG, 0)});
}
Prep timerTrigger() {
    return before({enter(mainP, MAINPANEL_CAPT_TRIG, 7)});
}
Prep levelTrigger() {
    return before({enter(mainP, MAINPANEL_CAPT_TRIG, 8)});
}
Prep ifInput() {
    return before({enter(mainP, MAINPANEL_BINARY_INPUT_SOURCE, 0)});
}
Prep manualAtten() {
    return before({enter(mainP, MAINPANEL_RING_ATTEN_CONFIG, 2)});
}
Prep mode(int m) {
    return before({enter(mainP, MAINPANEL_MODN_MODE, m)});
}

// Engineering panel (engineering mode, after a boot).
Step openEng() {
    return [](Sweep& s) { return s.person().chooseMenu(s.bar(), appState.engineeringPanelItem); };
}
Prep engOpen(std::initializer_list<Step> more = {}) {
    std::vector<Step> steps{openEng()};
    steps.insert(steps.end(), more.begin(), more.end());
    return before(std::move(steps));
}
Gesture eng(int control, Prep prepare = engOpen()) {
    return g(press(engP, control), std::move(prepare));
}
Gesture engToggle(int control, Prep prepare = engOpen()) {
    return g(toggle(engP, control), std::move(prepare));
}
const Gesture ENG_OPEN = g(openEng());
// Ref Lock Auto Check switched off and on: a monitor starts and polls the module (its steps are shortened
// here) while the operator watches; then it is stopped, as the exit and boot paths stop it.
Step watchTheLock() {
    return [](Sweep& s) {
        if (R r = s.person().commit(engP(), ENGPANEL_REFLOCK_AUTOCHECK, 0); !r) return r;
        if (R r = s.person().commit(engP(), ENGPANEL_REFLOCK_AUTOCHECK, 1); !r) return r;
        s.pumpFor(0.2);
        appState.refLockMonitorStop = 1;
        if (!s.pumpUntil([] { return appState.refLockMonitorsRunning.load() == 0; }, 5.0))
            return ::testing::AssertionFailure() << "the monitor does not stop";
        return ::testing::AssertionSuccess();
    };
}
const Gesture LOCK_MONITOR = g(watchTheLock(), engOpen());
const Gesture MARKER_POWER = eng(ENGPANEL_GETMARKERPWR);

// Channel table, range editing and list mode.
Step openChannels() {
    return press(mainP, MAINPANEL_CHANNELS);
}
Prep channelFive() {
    return before({openChannels(), enter(chanP, CHANPANEL_CHANNEL, 5)});
}
// Channel 5 selected in the table after `steps` (made with channel 5 selected) set it up.
Prep channelFiveOn(std::initializer_list<Step> steps) {
    std::vector<Step> all{openChannels(), enter(chanP, CHANPANEL_CHANNEL, 5)};
    all.insert(all.end(), steps.begin(), steps.end());
    all.push_back(enter(chanP, CHANPANEL_CHANNEL, 5));
    return [all](Sweep& s) {
        for (const Step& step : all) EXPECT_TRUE(step(s)) << "preparing the gesture";
    };
}
const Gesture CHANNELS = g(openChannels());
Gesture chanEdit(int control, double value, Prep prepare = channelFive()) {
    return on(chanP, control, value, std::move(prepare));
}
Prep rangePanel() {
    return before({openChannels(), press(chanP, CHANPANEL_EDITALL)});
}
Gesture rangeSet(int button, Prep prepare = rangePanel()) {
    return g(press(editAllP, button), std::move(prepare));
}
Prep listModePanel() {
    return [](Sweep& s) {
        s.rebootModule(LIST_MODE_MODEL);
        EXPECT_TRUE(then({openChannels(), press(chanP, CHANPANEL_LMODE)})(s)) << "preparing the gesture";
    };
}
Gesture listMode(int control, double value) {
    return on(listModeP, control, value, listModePanel());
}
const Gesture LIST_MODE = g(then({openChannels(), press(chanP, CHANPANEL_LMODE)}),
                            [](Sweep& s) { s.rebootModule(LIST_MODE_MODEL); });
const Gesture LIST_ADDR_COUNTER = listMode(LISTMODE_LAS, 2);

// Routing matrix.
Step openRouting() {
    return menu(MAINMENU_SETTINGS_MATRIX);
}
const Gesture ROUTING = g(openRouting());
Gesture routing(int control, double value) {
    return on(routeP, control, value, before({openRouting()}));
}

// Settings files, saved into and loaded from the program's folder.
std::string settingsFile(Sweep& s) {
    return s.folder() + "/sweep.ini";
}
Step saveSettings() {
    return [](Sweep& s) {
        s.frontend().answerFile(settingsFile(s), VAL_NEW_FILE_SELECTED);
        return s.person().chooseMenu(s.bar(), MAINMENU_SETTINGS_SETTINGS_SAVE);
    };
}
Step loadSettings() {
    return [](Sweep& s) {
        s.frontend().answerFile(settingsFile(s), VAL_EXISTING_FILE_SELECTED);
        return s.person().chooseMenu(s.bar(), MAINMENU_SETTINGS_SETTINGS_LOAD);
    };
}
const Gesture SAVE_SETTINGS = g(saveSettings());
const Gesture LOAD_SETTINGS = g(loadSettings(), before({saveSettings()}));
// A file saved with IF data and a gate trigger takes the load's other roads.
const Gesture LOAD_IF_GATE_SETTINGS =
    g(loadSettings(), before({enter(mainP, MAINPANEL_DATA_TYPE, 0), enter(mainP, MAINPANEL_CAPT_TRIG, 0),
                              enter(mainP, MAINPANEL_CAPT_TRIG_TYPE, 1), saveSettings()}));
const Gesture DIRECTORIES_OK = g(then({menu(MAINMENU_SETTINGS_SETTINGS_DIRS), press(dirP, DIRPANEL_DIR_OK)}));
// The operator ends the program from the File menu and starts it again: start-up reads the settings
// folder's entry.
const Gesture RESTART = g([](Sweep& s) { return s.restartProgram(); });

// Information panels.
const Gesture SYS_INFO = g(menu(MAINMENU_HELP_INFO));
const Gesture CAL_INFO = g(press(sysInfoP, SYSINFO_CAL_INFO), before({menu(MAINMENU_HELP_INFO)}));
const Gesture ABOUT = g(then({menu(MAINMENU_HELP_ABOUT), press(aboutP, ABOUTPANEL_ABOUT_OK_BUTTON)}));

// Board identity pages: Commit writes every field of the page and commits it, Reload reads them back.
Step boardPage(int page) {
    return [=](Sweep& s) { return s.person().selectTab(calidPanelHandle(), IDPANEL_IDTAB, page); };
}
Gesture boardCommit(int page) {
    return g(press(calidPanelHandle, IDPANEL_COMMITPAGE),
             engOpen({press(engP, ENGPANEL_SHOW_INFO), boardPage(page)}));
}
Gesture boardReload(int page) {
    return g(press(calidPanelHandle, IDPANEL_RELOADPAGE),
             engOpen({press(engP, ENGPANEL_SHOW_INFO), boardPage(page)}));
}

// Quiet roads and roads that no gesture reaches.
Road unreachable(const char* file, const char* operation, const char* why) {
    Road r{file, operation, {}};
    r.why = why;
    return r;
}
const char* const COMPUTED = "computed in the driver: no library operation behind it can fail";

// The controls that keep the refused entry by the panel's rules (see Road::keeps).
Road keeping(Road road, const char* controls) {
    road.keeps = controls;
    return road;
}

Road faulted(Road road, const char* faults) {
    road.faults = faults;
    return road;
}

// Rows of the table: one road, or the roads of several operations of one file that the same gesture
// reaches and that show the same.
struct Rows {
    Rows(const char* file, const char* operation, Gesture gesture, Seen seen = Seen::Popup)
        : roads{{file, operation, std::move(gesture), seen}} {}
    Rows(Road road) : roads{std::move(road)} {}
    Rows(std::vector<Road> all) : roads(std::move(all)) {}
    std::vector<Road> roads;
};
Rows each(const char* file, const Gesture& gesture, Seen seen,
          std::initializer_list<const char*> operations) {
    std::vector<Road> roads;
    for (const char* operation : operations) roads.push_back({file, operation, gesture, seen});
    return roads;
}
Rows each(const char* file, const Gesture& gesture, std::initializer_list<const char*> operations) {
    return each(file, gesture, Seen::Popup, operations);
}
Rows none(const char* file, const char* why, std::initializer_list<const char*> operations) {
    std::vector<Road> roads;
    for (const char* operation : operations) roads.push_back(unreachable(file, operation, why));
    return roads;
}

std::vector<Road> boardRoads() {
    static const char* const BOARDS[] = {"Control", "If", "Rf"};
    static const char* const FIELDS[] = {"Modstate", "FirstCal", "LastCal",    "Rework", "CalScheme",
                                         "TypeNo",   "Serial",   "BuildState", "Info"};
    static std::vector<std::string> names;  // the rows keep pointers into these
    names.clear();
    names.reserve(3 * (2 * 9 + 2));
    std::vector<Road> roads;
    for (int page = 0; page < 3; ++page) {
        const std::string prefix = std::string("qm4120_cal_Id_") + BOARDS[page] + "_";
        for (const char* field : FIELDS) {
            names.push_back(prefix + field + "Value");
            roads.push_back({"engineering/board_identity.cpp", names.back().c_str(), boardCommit(page)});
            names.push_back(prefix + field + "ValueQuery");
            roads.push_back({"engineering/board_identity.cpp", names.back().c_str(), boardReload(page)});
        }
        names.push_back(prefix + "Commit");
        roads.push_back({"engineering/board_identity.cpp", names.back().c_str(), boardCommit(page)});
        names.push_back(prefix + "Abort");
        roads.push_back({"engineering/board_identity.cpp", names.back().c_str(), boardReload(page)});
    }
    return roads;
}

}  // namespace

const std::vector<Road>& errorRoads() {
    static const std::vector<Road> roads = [] {
        const char* BT = "app/boot_transition.cpp";
        const char* RF = "app/refresh.cpp";
        const char* CA = "channels/qm4120_chan_all.cpp";
        const char* CD = "channels/qm4120_chan_direct.cpp";
        const char* CE = "channels/qm4120_chan_edit.cpp";
        const char* CL = "channels/qm4120_chan_lm.cpp";
        const char* CR = "channels/qm4120_chan_read.cpp";
        const char* RO = "routing/routing_panel.cpp";
        const char* AQ = "panel/acquisition.cpp";
        const char* AC = "panel/acquisition_commands.cpp";
        const char* AR = "panel/acquisition_rates.cpp";
        const char* CC = "panel/capture_control.cpp";
        const char* DC = "panel/display_commands.cpp";
        const char* FQ = "panel/frequency.cpp";
        const char* FE = "panel/front_end.cpp";
        const char* FG = "panel/front_end_eng.cpp";
        const char* LV = "panel/levels.cpp";
        const char* MK = "panel/markers.cpp";
        const char* TR = "panel/trigger.cpp";
        const char* EP = "engineering/eng_panel.cpp";
        const char* ER = "engineering/eng_reset.cpp";
        const char* ES = "engineering/eng_service.cpp";
        const char* IP = "info/info_panels.cpp";
        const char* SAMPLE_WORDS = "qm4120_controlGetNumberOfIqSamples|qm4120_controlGetNumberOfIfSamples";
        const char* CAPTURE = "qm4120_controlDataCapture";
        const Rows groups[] = {
            // Boot, and what a boot refreshes.
            faulted({BT, "qm4120_clearAfterRepeatCapt",
                     g(bootDuringRepeatRun(), before({enter(mainP, MAINPANEL_CAPTMODE, 1)}))},
                    "qm4120_controlClearAfterRepeatCapt"),
            faulted({BT, "qm4120_close", BOOT, Seen::Quiet}, "qm4120_instrumentDelete"),
            each(BT, BOOT, Seen::Quiet, {"qm4120_countFPGAConfigs", "qm4120_listFPGAConfigs"}),
            faulted({BT, "qm4120_initWithFpgaConfig", BOOT}, "qm4120_instrumentCreate"),
            each(BT, BOOT,
                 {"qm4120_setModelCodePxiKorvo", "qm4120_setPciRevPxiKorvo", "qm4120_setSwTriggerMode",
                  "qm4120_getMaxGenericSamplingFrequency", "qm4120_setGenericSamplingFrequency",
                  "qm4120_setModulationMode"}),
            {"app/main_panel.cpp", "qm4120_getModelCode", BOOT},
            each(RF, BOOT, Seen::Quiet,
                 {"qm4120_getSerialNumber", "qm4120_getExternalReference", "qm4120_getModulationMode"}),
            each(RF, CHANNEL, Seen::Quiet,
                 {"qm4120_getRfFrequency", "qm4120_getLoFrequency", "qm4120_getActiveChan"}),
            {RF, "qm4120_getInputSource", BOOT},
            {RF, "qm4120_setActiveChan", CHANNEL},
            faulted({"app/shell_callbacks.cpp", "qm4120_close", g(menu(MAINMENU_FILE_EXIT)), Seen::Quiet},
                    "qm4120_instrumentDelete"),
            each("app/ref_lock_monitor.cpp", LOCK_MONITOR,
                 {"qm4120_getListAddrSource", "qm4120_getIfRefState"}),
            // The settings folder's INI entry: read at start-up (an entry that cannot be read leaves the
            // default folder), written by Directories OK.
            {"settings/settings_dir_ini.cpp", "qm41XXutils_IniCreate", RESTART, Seen::Told},
            each("settings/settings_dir_ini.cpp", RESTART, Seen::Quiet,
                 {"qm41XXutils_IniGetString", "qm41XXutils_IniDelete"}),
            each("settings/directories.cpp", DIRECTORIES_OK, Seen::Quiet,
                 {"qm41XXutils_IniCreate", "qm41XXutils_IniDelete", "qm41XXutils_IniPutString"}),
            // Settings files: every operation the save reads, and every one the load writes.
            each("settings/settings_apply.cpp", LOAD_IF_GATE_SETTINGS,
                 {"qm4120_setNumberOfIfSamples", "qm4120_setPostGateTriggerSamples"}),
            each("settings/settings_load.cpp", LOAD_SETTINGS, Seen::Quiet,
                 {"qm4120_getDecimationLimits", "qm4120_getListCountStartStop",
                  "qm4120_getMaxNumberOfIqSamples", "qm41XXutils_IniDelete"}),
            each("settings/settings_load.cpp", LOAD_SETTINGS, Seen::Told,
                 {"qm4120_getIfAttenuationMax", "qm4120_getIfAttenuationMin", "qm4120_getIfInputLevelMaxChan",
                  "qm4120_getIfInputLevelMinChan", "qm4120_getRfAttenuationMax", "qm4120_getRfAttenuationMin",
                  "qm4120_getRfFrequencyMax", "qm4120_getRfFrequencyMin", "qm4120_getRfInputLevelMaxChan",
                  "qm4120_getRfInputLevelMinChan"}),
            {"settings/settings_load.cpp", "qm4120_getMaxNumberOfIfSamples", LOAD_IF_GATE_SETTINGS,
             Seen::Quiet},
            {"settings/settings_load.cpp", "qm4120_getNumberOfIfSamples", LOAD_IF_GATE_SETTINGS, Seen::Told},
            each("settings/settings_save.cpp", SAVE_SETTINGS, Seen::Quiet,
                 {"qm4120_getFrontEndConfigModeChan", "qm4120_getIfAttenuationChan",
                  "qm4120_getIfInputLevelChan", "qm4120_getListAddrSource", "qm4120_getListCountStartStop",
                  "qm4120_getListCounterStrobe", "qm4120_getListStrobeNegEdge", "qm4120_getNumberOfIfSamples",
                  "qm4120_getRfAttenuationChan", "qm4120_getRfFrequencyChan", "qm4120_getRfInputLevelChan",
                  "qm41XXutils_IniDelete"}),
            {"settings/settings_save.cpp", "*", SAVE_SETTINGS, Seen::Told},
            {"settings/settings_file.cpp", "*Put*", SAVE_SETTINGS, Seen::Told},
            {"settings/settings_file.cpp", "*Get*", LOAD_SETTINGS, Seen::Told},
            {"settings/settings_load.cpp", "*", LOAD_SETTINGS, Seen::Told},
            {"settings/settings_apply.cpp", "*", LOAD_SETTINGS, Seen::Told},
            {"settings/settings_controls.cpp", "*", LOAD_SETTINGS, Seen::Told},
            each("boot/qm41xx_boot.cpp", BOOT, {"korvo_viOpenDefaultRM", "korvo_viOpen"}),
            {"boot/qm41xx_boot.cpp", "korvo_viClose", BOOT, Seen::Quiet},
            // A status whose text cannot be looked up still raises the popup.
            faulted({"common/app_state.cpp", "qm4120_error_message", on(mainP, MAINPANEL_RF_FREQ, 1.5e9)},
                    "qm4120_appSetRfFrequency|viStatusDesc|qm4120_errGetErrorString"),
            // Channels.
            {"channels/qm4120_chan.cpp", "qm4120_getListModeAvailable", BOOT, Seen::Quiet},
            each(CA, rangeSet(CHEDITALL_RFLEVELSET),
                 {"qm4120_getInputLevelDimensions", "qm4120_setRfInputLevelChan"}),
            {CA, "qm4120_setRfFrequencyChan", rangeSet(CHEDITALL_FREQSET)},
            // Channels 1 and 2 only: the main panel's channel 0 would run its own command, which reads the IF
            // frequency too and would answer for this site.
            each(CA,
                 rangeSet(CHEDITALL_LOPOSSET, before({openChannels(), press(chanP, CHANPANEL_EDITALL),
                                                      enter(editAllP, CHEDITALL_RANGETO, 2),
                                                      enter(editAllP, CHEDITALL_RANGEFROM, 1)})),
                 {"qm4120_getIfFrequency", "qm4120_setLoOffsetChan"}),
            {CA, "qm4120_setFrontEndConfigModeChan", rangeSet(CHEDITALL_FRONTENDSET)},
            {CA, "qm4120_setIfInputLevelChan", rangeSet(CHEDITALL_IFLEVELSET)},
            {CA, "qm4120_setRfAttenuationChan", rangeSet(CHEDITALL_RFATTENSET)},
            {CA, "qm4120_setIfAttenuationChan", rangeSet(CHEDITALL_IFATTENSET)},
            {CD, "qm4120_getInputLevelDimensions", chanEdit(CHANPANEL_RFLEVEL, -10), Seen::Quiet},
            each(CD, BOOT, Seen::Quiet,
                 {"qm4120_getRfInputLevelMin", "qm4120_getRfInputLevelMax", "qm4120_getIfInputLevelMin",
                  "qm4120_getIfInputLevelMax"}),
            {CE, "qm4120_getInputLevelDimensions", chanEdit(CHANPANEL_RFLEVEL, -10), Seen::Quiet},
            {CE, "qm4120_setRfFrequencyChan", chanEdit(CHANPANEL_FREQ, 1.1e9)},
            each(CE, chanEdit(CHANPANEL_LOPOS, 0), {"qm4120_getIfFrequency", "qm4120_setLoOffsetChan"}),
            {CE, "qm4120_setFrontEndConfigModeChan", chanEdit(CHANPANEL_FRONTEND, 2)},
            {CE, "qm4120_setRfInputLevelChan", chanEdit(CHANPANEL_RFLEVEL, -10)},
            {CE, "qm4120_setIfInputLevelChan",
             chanEdit(CHANPANEL_IFLEVEL, -10,
                      channelFiveOn({enter(chanP, CHANPANEL_LOPOS, 1), enter(mainP, MAINPANEL_CHANNEL, 5),
                                     enter(mainP, MAINPANEL_BINARY_INPUT_SOURCE, 0),
                                     enter(mainP, MAINPANEL_CHANNEL, 0)}))},
            {CE, "qm4120_setRfAttenuationChan",
             chanEdit(CHANPANEL_RFATTEN, 8, channelFiveOn({enter(chanP, CHANPANEL_FRONTEND, 2)}))},
            {CE, "qm4120_setIfAttenuationChan",
             chanEdit(CHANPANEL_IFATTEN, 8, channelFiveOn({enter(chanP, CHANPANEL_FRONTEND, 2)}))},
            each(CL, LIST_ADDR_COUNTER,
                 {"qm4120_getListAddrSource", "qm4120_getInputSource", "qm4120_setListAddrSource"}),
            each(CL, BOOT_LIST_MODE_MODEL, Seen::Quiet,
                 {"qm4120_getListStrobeNegEdge", "qm4120_getListCounterStrobe",
                  "qm4120_getListCountStartStop", "qm4120_getListTimerDwell", "qm4120_getExternalReference"}),
            {CL, "qm4120_getTemperatureOptimization", LIST_ADDR_COUNTER, Seen::Quiet},
            {CL, "qm4120_getFrontEndConfigMode", BOOT_LIST_MODE_MODEL},
            {CL, "qm4120_setListStrobeNegEdge", listMode(LISTMODE_LSP, 1)},
            {CL, "qm4120_setListCounterStrobe", listMode(LISTMODE_LCS, 1)},
            {CL, "qm4120_setListCountStartStop", listMode(LISTMODE_COUNTSTOP, 9)},
            {CL, "qm4120_setListTimerDwell", listMode(LISTMODE_DWELL, 500)},
            each(CR, BOOT,
                 {"qm4120_getInputLevelDimensions", "qm4120_getInputSource", "qm4120_getListAddrSource"}),
            each(CR, BOOT, Seen::Quiet,
                 {"qm4120_getRfFrequencyChan", "qm4120_getLoOffsetChan", "qm4120_getFrontEndConfigModeChan",
                  "qm4120_getRfInputLevelChan", "qm4120_getIfInputLevelChan", "qm4120_getRfAttenuationChan",
                  "qm4120_getIfAttenuationChan"}),
            // Routing.
            each(RO, ROUTING, Seen::Quiet,
                 {"qm4120_getLvdsMarkerMode", "qm4120_getLvdsAuxMode", "qm4120_getLvdsDataMode",
                  "qm4120_getRoutingConnect", "qm4120_getRoutingOutputEnable",
                  "qm4120_getRoutingScenarioList"}),
            {RO, "qm4120_setLvdsMarkerMode", routing(ROUTE_LVDSMARKMODE, 0)},
            {RO, "qm4120_setLvdsAuxMode", routing(ROUTE_LVDSAUXMODE, 0)},
            {RO, "qm4120_setLvdsDataMode", routing(ROUTE_LVDSDATAMODE, 0)},
            {RO, "qm4120_removeRoutingScenario",
             g(menu(MAINMENU_SETTINGS_ROUTE__1), before({menu(MAINMENU_SETTINGS_ROUTE__1)}))},
            {RO, "qm4120_appendRoutingScenario", g(menu(MAINMENU_SETTINGS_ROUTE__1))},
            {RO, "qm4120_setRoutingConnect", routing(ROUTE_INPUTPXITRIG0, 3)},
            {RO, "qm4120_setRoutingOutputEnable", routing(ROUTE_OEPXITRIG0, 1)},
            faulted({RO, "qm4120_setRoutingScenario",
                     g(press(routeP, ROUTE_CMDRESET), before({openRouting()})), Seen::ErrorOnly},
                    "qm4120_routingSetScenario"),
            // Acquisition.
            each(AQ, DATA_TYPE_IF, Seen::Quiet,
                 {"qm4120_getSampleDataType", "qm4120_getMaxNumberOfIfSamples"}),
            each(AQ, MODE_GENERIC, Seen::Quiet,
                 {"qm4120_getModulationMode", "qm4120_getUndecimatedSamplingFrequency",
                  "qm4120_getDecimatedSamplingFrequency", "qm4120_getSampleDataOutputFormat",
                  "qm4120_getDecimationLimits"}),
            faulted({AQ, "qm4120_getNumberOfSamples", SAMPLES}, SAMPLE_WORDS),
            each(AQ, SAMPLES, {"qm4120_getFftLength", "qm4120_getNumberOfIqSamples"}),
            keeping({AQ, "qm4120_setFftLength", on(mainP, MAINPANEL_NUM_SAMPLES, 512)},
                    "FFT_LEN,RING_FFT_LEN"),
            {AQ, "qm4120_getNumberOfIfSamples", DATA_TYPE_IF},
            {AQ, "qm4120_getMaxNumberOfIqSamples",
             on(mainP, MAINPANEL_DATA_TYPE, 1, before({enter(mainP, MAINPANEL_DATA_TYPE, 0)})), Seen::Quiet},
            {AC, "qm4120_setUmtsDecimationRatio", on(mainP, MAINPANEL_DECIMATION_RATIO, 8, mode(0)),
             Seen::Quiet},
            {AC, "qm4120_getUmtsDecimationRatio", on(mainP, MAINPANEL_MODN_MODE, 0, mode(1)), Seen::Quiet},
            {AC, "qm4120_setGsmDecimationRatio", on(mainP, MAINPANEL_DECIMATION_RATIO, 2, mode(1)),
             Seen::Quiet},
            {AC, "qm4120_getGsmDecimationRatio", on(mainP, MAINPANEL_MODN_MODE, 1), Seen::Quiet},
            {AC, "qm4120_setCdma20001xDecimationRatio", on(mainP, MAINPANEL_DECIMATION_RATIO, 2, mode(2)),
             Seen::Quiet},
            {AC, "qm4120_getCdma20001xDecimationRatio", on(mainP, MAINPANEL_MODN_MODE, 2), Seen::Quiet},
            {AC, "qm4120_setEmu7706DecimationRatio", on(mainP, MAINPANEL_DECIMATION_RATIO, 32, mode(4)),
             Seen::Quiet},
            {AC, "qm4120_getEmu7706DecimationRatio", on(mainP, MAINPANEL_MODN_MODE, 4), Seen::Quiet},
            each(AC, on(mainP, MAINPANEL_DECIMATION_RATIO, 4, mode(5)), Seen::Quiet,
                 {"qm4120_setGenericDecimationRatio", "qm4120_getModulationMode",
                  "qm4120_getDecimatedSamplingFrequency"}),
            {AC, "qm4120_getGenericDecimationRatio", MODE_GENERIC, Seen::Quiet},
            {AC, "qm4120_setModulationMode", on(mainP, MAINPANEL_MODN_MODE, 1)},
            keeping({AC, "qm4120_setSampleDataType", DATA_TYPE_IF, Seen::Quiet}, "DATA_TYPE"),
            each(AC, DATA_TYPE_IF, {"qm4120_getNumberOfIfSamples", "qm4120_setFftLength"}),
            each(AC, DATA_TYPE_IF, Seen::Quiet,
                 {"qm4120_setNumberOfIfSamples", "qm4120_getMaxNumberOfIfSamples"}),
            {AC, "qm4120_getNumberOfIqSamples",
             on(mainP, MAINPANEL_DATA_TYPE, 1, before({enter(mainP, MAINPANEL_DATA_TYPE, 0)}))},
            each(AC, on(mainP, MAINPANEL_DATA_TYPE, 1, before({enter(mainP, MAINPANEL_DATA_TYPE, 0)})),
                 Seen::Quiet, {"qm4120_setNumberOfIqSamples", "qm4120_getMaxNumberOfIqSamples"}),
            {AC, "qm4120_setSampleDataOutputFormat", on(mainP, MAINPANEL_DATA_OUT_FORMAT, 1, mode(5))},
            {AC, "qm4120_getSampleIncrement", on(mainP, MAINPANEL_DATA_OUT_FORMAT, 1, mode(5)), Seen::Quiet},
            unreachable(AC, "qm4120_setIfDataPositionLvds",
                        "its ring is never shown; the Settings menu sets the position"),
            faulted({AC, "qm4120_setNumberOfSamples", SAMPLES}, "qm4120_controlSetNumberOfIqSamples"),
            {AC, "qm4120_setGenericSamplingFrequency",
             on(mainP, MAINPANEL_UNDEC_SAMPLING_RATE, 50.0, mode(5))},
            {AC, "qm4120_setWindowFunction", g(pickAnother(MAINPANEL_RING_WIN_FUNC))},
            each(AR, LVDS_DATA_MENU, Seen::Quiet, {"qm4120_setLvdsDataMode", "qm4120_getLvdsDataMode"}),
            each(AR, LVDS_AUX_MENU, Seen::Quiet, {"qm4120_setLvdsAuxMode", "qm4120_getLvdsAuxMode"}),
            each(AR, LVDS_MKR_MENU, Seen::Quiet, {"qm4120_setLvdsMarkerMode", "qm4120_getLvdsMarkerMode"}),
            each(AR, FSR_PANEL,
                 {"qm4120_getGenericSamplingFreqRatio", "qm4120_getGenericSamplingFrequency",
                  "qm4120_getUndecimatedSamplingFrequency", "qm4120_getDecimatedSamplingFrequency"}),
            {AR, "qm4120_setGenericSamplingFreqRatio", FSR_NUMERATOR},
            {AR, "qm4120_getIfDataPositionLvds", g(menu(MAINMENU_SETTINGS_LVDS_IF_LOWER)), Seen::Quiet},
            {AR, "qm4120_setIfDataPositionLvds", g(menu(MAINMENU_SETTINGS_LVDS_IF_LOWER))},
            // Capture.
            faulted({CC, "qm4120_captMemAscFile",
                     g(press(mainP, MAINPANEL_CMD_SINGLE), before({menu(MAINMENU_CAPT_TOASCFILE)}))},
                    CAPTURE),
            faulted({CC, "qm4120_captMemBinFile",
                     g(press(mainP, MAINPANEL_CMD_SINGLE), before({menu(MAINMENU_CAPT_TOBINFILE)}))},
                    CAPTURE),
            faulted({CC, "qm4120_captMem", START}, CAPTURE),
            faulted({CC, "qm4120_captMemAscFile32",
                     g(press(mainP, MAINPANEL_CMD_SINGLE),
                       before({enter(mainP, MAINPANEL_MODN_MODE, 5),
                               enter(mainP, MAINPANEL_DATA_OUT_FORMAT, 1), menu(MAINMENU_CAPT_TOASCFILE)}))},
                    CAPTURE),
            faulted({CC, "qm4120_captMemBinFile32",
                     g(press(mainP, MAINPANEL_CMD_SINGLE),
                       before({enter(mainP, MAINPANEL_MODN_MODE, 5),
                               enter(mainP, MAINPANEL_DATA_OUT_FORMAT, 1), menu(MAINMENU_CAPT_TOBINFILE)}))},
                    CAPTURE),
            faulted(
                {CC, "qm4120_captMem32",
                 g(press(mainP, MAINPANEL_CMD_SINGLE), before({enter(mainP, MAINPANEL_MODN_MODE, 5),
                                                               enter(mainP, MAINPANEL_DATA_OUT_FORMAT, 1)}))},
                CAPTURE),
            each(CC, START,
                 {"qm4120_armTrigger", "qm4120_getCaptureComplete", "qm4120_getAdcOverload",
                  "qm4120_getSampleDataType", "qm4120_getSampleDataOutputFormat", "qm4120_getFftLength",
                  "qm4120_getWindowFunction", "qm4120_getUndecimatedSamplingFrequency",
                  "qm4120_getRfFrequency", "qm4120_getDividedLoFrequency", "qm4120_getInputSource",
                  "qm4120_getSampleFrequency", "qm4120_getIfFrequency",
                  "qm4120_getDecimatedSamplingFrequency", "qm4120_getLevelCorrModule", "qm4120_getLoOffset",
                  "qm4120_getNumberOfIqSamples", "qm4120_getCapturedSampleCount"}),
            faulted({CC, "qm4120_clearAfterRepeatCapt", START}, "qm4120_controlClearAfterRepeatCapt"),
            faulted({CC, "qm4120_captAbort", CAPT_MODE}, "qm4120_controlCaptureAbort"),
            {CC, "qm4120_getTriggerDetected", CAPT_MODE},
            {CC, "qm4120_getLevelCorrDigitizer", g(press(mainP, MAINPANEL_CMD_SINGLE), ifInput())},
            {CC, "qm4120_getNumberOfIfSamples",
             g(press(mainP, MAINPANEL_CMD_SINGLE), before({enter(mainP, MAINPANEL_DATA_TYPE, 0)}))},
            unreachable(CC, "qm4120_setCaptureMode", "its switch is never shown on the main panel"),
            {"panel/display.cpp", "qm4120_getSampleDataType", g(menu(MAINMENU_VIEW_TIME_SERIES)),
             Seen::Quiet},
            {"panel/display.cpp", "qm4120_getRfFrequency", START},
            faulted({DC, "qm4120_getNumberOfSamples", on(mainP, MAINPANEL_RING_FFT_LEN, 512)}, SAMPLE_WORDS),
            each(DC, on(mainP, MAINPANEL_RING_FFT_LEN, 512), {"qm4120_setFftLength", "qm4120_getFftLength"}),
            // Frequency.
            each(FQ, BOOT, {"qm4120_getRfFrequencyMin", "qm4120_getRfFrequencyMax"}),
            each(FQ, on(mainP, MAINPANEL_RF_FREQ, 1.5e9),
                 {"qm4120_setRfFrequency", "qm4120_getRfFrequency", "qm4120_getLoFrequency"}),
            each(FQ, g(toggle(mainP, MAINPANEL_LO_POSITION)),
                 {"qm4120_getLoOffset", "qm4120_getIfFrequency", "qm4120_setLoOffset"}),
            {FQ, "qm4120_getCalculatedFreqControl", BOOT, Seen::Quiet},
            {FQ, "qm4120_getInputSource", TO_IF_INPUT},
            keeping({FQ, "qm4120_setCalculatedFreqControl", on(mainP, MAINPANEL_RING_FREQ_CONTROL, 1),
                     Seen::Quiet},
                    "RING_FREQ_CONTROL"),
            // Front end.
            each(FE, TO_MANUAL_ATTEN,
                 {"qm4120_getInputLevelDimensions", "qm4120_getFrontEndConfigMode", "qm4120_getIfAttenuation",
                  "qm4120_getRfAttenuation", "qm4120_getIfInputLevel", "qm4120_getRfInputLevel",
                  "qm4120_getDcOffsetFilter", "qm4120_setFrontEndConfigMode"}),
            each(
                FE, BOOT,
                {"qm4120_getIfAttenuationMin", "qm4120_getIfAttenuationMax", "qm4120_getRfAttenuationMin",
                 "qm4120_getRfAttenuationMax", "qm4120_getIfAttenuationStep", "qm4120_getRfAttenuationStep"}),
            {FE, "qm4120_getTemperatureOptimization", g(menu(MAINMENU_SETTINGS_OPT_AUTTMPOPT)), Seen::Quiet},
            {FE, "qm4120_getAutoFlatnessMode", g(menu(MAINMENU_SETTINGS_OPT_FLATMODE)), Seen::Quiet},
            keeping({FE, "qm4120_setInputSource", TO_IF_INPUT}, "BINARY_INPUT_SOURCE"),
            {FE, "qm4120_setRfAttenuation", on(mainP, MAINPANEL_RF_ATTEN, 8, manualAtten())},
            {FE, "qm4120_setIfAttenuation", on(mainP, MAINPANEL_IF_ATTEN, 8, manualAtten())},
            keeping({FE, "qm4120_setExternalReference", on(mainP, MAINPANEL_RING_EXT_REF, 2)},
                    "RING_EXT_REF"),
            {FE, "qm4120_getExternalReference", on(mainP, MAINPANEL_RING_EXT_REF, 2)},
            {FE, "qm4120_setIfFilterBypass", on(mainP, MAINPANEL_RING_FILTER_BYPASS, 1)},
            keeping({FE, "qm4120_setDcOffsetFilter", g(toggle(mainP, MAINPANEL_CHKDCOFFSET))}, "CHKDCOFFSET"),
            {FE, "qm4120_setTemperatureOptimization", g(menu(MAINMENU_SETTINGS_OPT_AUTTMPOPT))},
            {FE, "qm4120_setAutoFlatnessMode", g(menu(MAINMENU_SETTINGS_OPT_FLATMODE))},
            {FE, "qm4120_optimizeTemperatureCorrection", g(menu(MAINMENU_SETTINGS_OPT_TMPOPTCOR))},
            each(FG, engToggle(ENGPANEL_CHK_RFATTN4DBPAD4120),
                 {"qm4120_getModelCode", "qm4120_getRfAttenuation", "qm4120_getRfAttenuationPads"}),
            each(FG, engToggle(ENGPANEL_CHECK_IFATTEN1DBPAD),
                 {"qm4120_getIfAttenuation", "qm4120_getIfAttenuationPads"}),
            {FG, "qm4120_setIfAttenuationPads", engToggle(ENGPANEL_CHECK_IFATTEN1DBPAD), Seen::Quiet},
            {FG, "qm4120_setRfAttenuationPads", engToggle(ENGPANEL_CHK_RFATTN4DBPAD4120), Seen::Quiet},
            {FG, "qm4120_setIfPllMode", on(engP, ENGPANEL_RING_PLL_MODE, 1, engOpen())},
            {FG, "qm4120_setAdcPhase", on(engP, ENGPANEL_RING_ADC_PHASE, 1, engOpen())},
            {FG, "qm4120_setIfAuxRefEnable", engToggle(ENGPANEL_CHECK_AUX_REF)},
            {FG, "qm4120_getIfRefState", eng(ENGPANEL_CMD_IF_REF_STATE)},
            {FG, "qm4120_ADCReadTemp", eng(ENGPANEL_GETTEMP), Seen::Quiet},
            // Levels.
            each(LV, on(mainP, MAINPANEL_RF_INPUT_LEVEL, -10),
                 {"qm4120_setRfInputLevel", "qm4120_getRfInputLevel", "qm4120_getInputLevelDimensions"}),
            each(LV, on(mainP, MAINPANEL_RING_RF_DIMENSIONS, 4), Seen::Quiet,
                 {"qm4120_getRfInputLevelMin", "qm4120_getRfInputLevelMax", "qm4120_getIfInputLevelMin",
                  "qm4120_getIfInputLevelMax"}),
            each(LV, on(mainP, MAINPANEL_IF_INPUT_LEVEL, -10, ifInput()),
                 {"qm4120_setIfInputLevel", "qm4120_getIfInputLevel"}),
            {LV, "qm4120_getInputSource", BOOT},
            keeping({LV, "qm4120_setInputLevelDimensions", on(mainP, MAINPANEL_RING_RF_DIMENSIONS, 4),
                     Seen::Quiet},
                    "RING_RF_DIMENSIONS,RF_INPUT_LEVEL,IF_INPUT_LEVEL"),
            // Markers and power readings.
            unreachable(MK, "qm4120_getLoOffset",
                        "the marker controls are never shown, so the marker is never on"),
            each(
                MK, eng(ENGPANEL_GETCORR),
                {"qm4120_getLevelCorrDownConv", "qm4120_getLevelCorrDigitizer", "qm4120_getLevelCorrModule"}),
            each(MK, MARKER_POWER,
                 {"qm4120_getInputSource", "qm4120_getSampleFrequency", "qm4120_setSampleDataType"}),
            faulted({MK, "performNFFT", MARKER_POWER}, "qm4120_fftPerformN"),
            faulted({MK, "getPowerAtIfFrequency", MARKER_POWER}, "qm4120_fftGetPowerAtIfFrequency"),
            none("panel/spectrum.cpp", COMPUTED, {"makeWindow", "qm4120_windowArray", "ReFFT", "FFT"}),
            // Trigger.
            {TR, "qm4120_getLvdsMarkerMode", TRIG_LVDS_M, Seen::Quiet},
            {TR, "qm4120_setLvdsMarkerMode", TRIG_LVDS_M},
            {TR, "qm4120_getLvdsAuxMode", TRIG_LVDS_A, Seen::Quiet},
            {TR, "qm4120_setLvdsAuxMode",
             on(mainP, MAINPANEL_CAPT_TRIG, 4, before({menu(MAINMENU_SETTINGS_LVDS_AUX_OUT)}))},
            {TR, "qm4120_getLvdsDataMode", TRIG_LVDS_S, Seen::Quiet},
            {TR, "qm4120_setLvdsDataMode", TRIG_LVDS_S},
            each(
                TR,
                on(mainP, MAINPANEL_CAPT_TRIG_PRE_SAMP, 64,
                   before({enter(mainP, MAINPANEL_CAPT_TRIG, 0), enter(mainP, MAINPANEL_CAPT_TRIG_TYPE, 1)})),
                {"qm4120_getPostGateTriggerSamples", "qm4120_setPostGateTriggerSamples"}),
            each(TR, on(mainP, MAINPANEL_CAPT_TRIG_PRE_SAMP, 64, pxiTrigger()),
                 {"qm4120_getPreEdgeTriggerSamples", "qm4120_setPreEdgeTriggerSamples"}),
            each(TR, TRIG_TIMER, {"qm4120_getListTimerDwell", "qm4120_getTimerPhase"}),
            each(TR, TRIG_PXI,
                 {"qm4120_getTriggerSource", "qm4120_getTriggerSourceType", "qm4120_getTriggerType"}),
            each(TR, on(mainP, MAINPANEL_CAPT_TRIG_OFFS_DELAY, 16, pxiTrigger()),
                 {"qm4120_getTriggerOffsetDelay", "qm4120_setTriggerOffsetDelay"}),
            each(TR, TRIG_INT,
                 {"qm4120_getIntTriggerMode", "qm4120_getIntTriggerAbsThreshold",
                  "qm4120_getIntTriggerAbsTimeConst", "qm4120_getIntTriggerRelThreshold",
                  "qm4120_getIntTriggerRelSlowTimeConst", "qm4120_getIntTriggerRelFastTimeConst"}),
            keeping({TR, "qm4120_setTriggerSource", TRIG_PXI}, "CAPT_TRIG,CAPT_TRIG_BIT"),
            {TR, "qm4120_setTriggerType", on(mainP, MAINPANEL_CAPT_TRIG_TYPE, 1, pxiTrigger())},
            {TR, "qm4120_setTriggerEdgeGatePolarity", on(mainP, MAINPANEL_CAPT_TRIG_EG_POL, 1, pxiTrigger())},
            {TR, "qm4120_setListTimerDwell", on(mainP, MAINPANEL_TIMERPERIOD, 500, timerTrigger())},
            {TR, "qm4120_setTimerPhase", on(mainP, MAINPANEL_TIMERPHASE, 5, timerTrigger())},
            {TR, "qm4120_setIntTriggerMode", on(mainP, MAINPANEL_INTTRIGMODE, 1, levelTrigger())},
            {TR, "qm4120_setIntTriggerAbsThreshold",
             on(mainP, MAINPANEL_TRIGABSTHRESHOLD, -30, levelTrigger())},
            {TR, "qm4120_setIntTriggerAbsTimeConst", on(mainP, MAINPANEL_TRIGTCABS, 4, levelTrigger())},
            {TR, "qm4120_setIntTriggerRelThreshold",
             on(mainP, MAINPANEL_TRIGRELTHRESHOLD, 6,
                before({enter(mainP, MAINPANEL_CAPT_TRIG, 8), enter(mainP, MAINPANEL_INTTRIGMODE, 1)}))},
            {TR, "qm4120_setIntTriggerRelSlowTimeConst",
             on(mainP, MAINPANEL_TRIGTCSLOW, 4,
                before({enter(mainP, MAINPANEL_CAPT_TRIG, 8), enter(mainP, MAINPANEL_INTTRIGMODE, 1)}))},
            {TR, "qm4120_setIntTriggerRelFastTimeConst",
             on(mainP, MAINPANEL_TRIGTCFAST, 2,
                before({enter(mainP, MAINPANEL_CAPT_TRIG, 8), enter(mainP, MAINPANEL_INTTRIGMODE, 1)}))},
            // Engineering.
            {EP, "qm4120_getModelCode", ENG_OPEN},
            each(EP,
                 g(toggle(engP, ENGPANEL_CHECK_4125D3BIT3),
                   [](Sweep& s) {
                       s.rebootModule(0x4125);
                       EXPECT_TRUE(s.person().chooseMenu(s.bar(), appState.engineeringPanelItem));
                   }),
                 {"qm4120_set4125D3Latch", "qm4120_get4125D3Latch"}),
            {ER, "qm4120_setSwTriggerMode", eng(ENGPANEL_RESETBUTTON)},
            faulted({ER, "qm4120_reset", eng(ENGPANEL_RESETBUTTON)}, "qm4120_controlSetDefaults"),
            {ER, "qm4120_getFPGAConfig", eng(ENGPANEL_RESETWFPGABUTTON), Seen::Quiet},
            faulted({ER, "qm4120_resetWithFpgaConfig", eng(ENGPANEL_RESETWFPGABUTTON), Seen::ErrorOnly},
                    "qm4120_fpgaConfigure"),
            {ES, "qm4120_cal_RFDigAmpRef_BandPointAdj", eng(ENGPANEL_TESTBUTTON)},
            {ES, "qm4120_setSerialNumber", eng(ENGPANEL_SETSERIAL)},
            {ES, "qm4120_getSerialNumber", eng(ENGPANEL_READSERIAL)},
            {ES, "qm4120_blankEeproms", eng(ENGPANEL_BLANK_EEPROM_BUTTON)},
            {ES, "qm4120_cal_IFDigGrpDel_Verify", eng(ENGPANEL_GRPDEL_TESTBUTTON)},
            {ES, "qm4120_setGrpDelFilterEnable", engToggle(ENGPANEL_GRPDEL_FPGA_FILT_CHK)},
            each(ES, eng(ENGPANEL_GRPDEL_CALBUTTON),
                 {"qm4120_cal_IFDigGrpDel_Adj", "qm4120_cal_IFDigGrpDel_Commit", "qm4120_getModelCode",
                  "qm4120_app_applyDigGrpDel"}),
            {ES, "qm4120_registerReadFieldVal", eng(ENGPANEL_WREGRD)},
            {ES, "qm4120_registerWriteFieldVal", eng(ENGPANEL_WREGWRITE)},
            {ES, "qm4120_registerReadFromHw", eng(ENGPANEL_RREGRD)},
            {ES, "qm4120_registerWriteDirect", eng(ENGPANEL_REGWR)},
            {"engineering/test_tone.cpp", "qm4120_registerWriteBit", engToggle(ENGPANEL_TESTTONE)},
            // Information.
            each(IP, SYS_INFO, Seen::Quiet,
                 {"qm4120_getFPGAConfig", "qm4120_countFPGAConfigs", "qm4120_listFPGAConfigs",
                  "qm4120_getPciRev", "qm4120_getSerialNumber"}),
            {IP, "qm4120_getCalModuleLastTimeStamp", SYS_INFO},
            each(IP, CAL_INFO,
                 {"qm4120_getCalTempTimeStamp", "qm4120_getCalIFDigGrpDelTimeStamp",
                  "qm4120_getCalDCIFShapeTimeStamp", "qm4120_getCalRFDigAmpRefTimeStamp",
                  "qm4120_getCalRFDCFreqTimeStamp", "qm4120_getCalRFDCFreqRefTimeStamp",
                  "qm4120_getCalDigAmpIFShapeTimeStamp", "qm4120_getCalIFDigAmpTimeStamp",
                  "qm4120_getCalIFDigAmpRefTimeStamp"}),
            faulted({IP, "qm4120_revision_query", SYS_INFO, Seen::Quiet}, "qm4120_controlGetFpgaRev"),
            faulted({IP, "qm4120_getPciFpgaRev", SYS_INFO, Seen::Quiet}, "qm4120_controlGetPciFpgaRev"),
            {IP, "qm4120_getModelCode", ABOUT, Seen::Quiet},
            {"info/model_text.cpp", "qm4120_getModelCode", ABOUT, Seen::Quiet},
        };
        std::vector<Road> r;
        for (const Rows& group : groups) r.insert(r.end(), group.roads.begin(), group.roads.end());
        for (Road& b : boardRoads()) r.push_back(b);
        return r;
    }();
    return roads;
}
