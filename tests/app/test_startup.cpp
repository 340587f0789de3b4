// Start-up of the program: command line, settings folder bootstrap, splash, panel set and exit paths.
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <string>

#include "app_fixture.h"
#include "capture_state.h"
#include "env_guard.h"
#include "qm4120_sfp_uir.h"
#include "qm41XX_utils.h"

namespace {

std::string collapsed(const std::string& text) {
    char buffer[PATH_TEXT_LEN];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    collapseDoubledSeparators(buffer);
    return buffer;
}

uint16_t engineeringFrom(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return hasEngineeringSwitch(static_cast<int>(argv.size()), argv.data());
}

// Names of the top-level menus of a menu bar.
std::vector<std::string> menuLabels(int menuBar) {
    std::vector<std::string> labels;
    if (const ui::MenuBar* bar = ui::findMenuBar(menuBar))
        for (const ui::MenuNode& menu : bar->menus) labels.push_back(menu.label);
    return labels;
}

std::string readIniValue(const std::string& path) {
    uint32_t ini = 0;
    if (qm41XXutils_IniCreate(path.c_str(), &ini) < 0) return "<no file>";
    char value[PATH_TEXT_LEN] = {};
    const int32_t status = qm41XXutils_IniGetString(ini, "Directories", "SettingsDir", value, sizeof value);
    qm41XXutils_IniDelete(ini);
    return status == 0 ? value : "<no key>";
}

}  // namespace

class StartupTest : public AppFixture {};

TEST(EngineeringSwitch, QztraceInAnyCaseAndAnyPosition) {
    EXPECT_EQ(engineeringFrom({"sfp", "QZTRACE"}), 1);
    EXPECT_EQ(engineeringFrom({"sfp", "qztrace"}), 1);
    EXPECT_EQ(engineeringFrom({"sfp", "-x", "QzTrAcE", "file.ini"}), 1);
    EXPECT_EQ(engineeringFrom({"sfp", "QZTRACEX"}), 0);
    EXPECT_EQ(engineeringFrom({"sfp", "QZTRAC"}), 0);
    EXPECT_EQ(engineeringFrom({"sfp", "--QZTRACE"}), 0);
    EXPECT_EQ(engineeringFrom({"sfp", "QZ TRACE"}), 0);
    // The program's own name is not an argument.
    EXPECT_EQ(engineeringFrom({"QZTRACE"}), 0);
    EXPECT_EQ(engineeringFrom({"sfp"}), 0);
}

TEST(SeparatorCollapse, EachAdjacentPairBecomesOne) {
    EXPECT_EQ(collapsed("C:\\\\data\\\\settings"), "C:\\data\\settings");
    EXPECT_EQ(collapsed("/home//user//settings"), "/home/user/settings");
    EXPECT_EQ(collapsed("a\\\\\\b"), "a\\\\b");      // three keep two
    EXPECT_EQ(collapsed("a\\\\\\\\b"), "a\\\\b");    // four become two
    EXPECT_EQ(collapsed("a\\/b/\\c"), "a\\/b/\\c");  // mixed separators are no pair
    EXPECT_EQ(collapsed("plain"), "plain");
    EXPECT_EQ(collapsed(""), "");
    collapseDoubledSeparators(nullptr);  // tolerated
}

TEST_F(StartupTest, NoEngineeringMenuWithoutTheSwitch) {
    ASSERT_EQ(startApp({"QZTRACE2", "trace"}), 0);
    EXPECT_EQ(state().engineeringMode, 0);
    EXPECT_EQ(state().engineeringMenu, 0);
    for (const std::string& label : menuLabels(state().mainMenuBar)) EXPECT_NE(label, "Engineering");
    setEngineeringMenuDimmed(0);  // nothing to enable: no effect, no failure
    EXPECT_EQ(state().engineeringMenu, 0);
}

// What the INI file beside the program says (nullptr: no file at all) and the settings folder start-up
// takes from it (nullptr: the default beside the program). An empty folder is what the operator saved
// from the directories dialog and is kept; a missing key or section keeps the default.
using IniCase = std::pair<const char*, const char*>;
class SettingsFolderAtStartUp : public AppFixture, public ::testing::WithParamInterface<IniCase> {};

TEST_P(SettingsFolderAtStartUp, ComesFromTheIniFileOrDefaultsBesideTheProgram) {
    const auto [ini, expected] = GetParam();
    if (ini) writeIni(ini);
    ASSERT_EQ(startApp(), 0);
    EXPECT_EQ(std::string(state().iniFilePath), programDir + "/qm4120_sfp.ini");
    EXPECT_EQ(std::string(state().settingsDir), expected ? expected : programDir + "/settings");
    EXPECT_EQ(fe.countPopups("Load directory settings"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    IniFiles, SettingsFolderAtStartUp,
    ::testing::Values(IniCase{nullptr, nullptr},
                      IniCase{"[Directories]\nSettingsDir=/data//qm\\\\settings\n", "/data/qm\\settings"},
                      IniCase{"[Directories]\nSettingsDir=\n", ""},
                      IniCase{"[Directories]\nOther=/x\n[Elsewhere]\nSettingsDir=/y\n", nullptr}));

TEST_F(StartupTest, UnreadableIniFileIsReportedAndTheDefaultKept) {
    // A folder where the file should be: the settings library cannot read it.
    ASSERT_EQ(mkdir(iniPath().c_str(), 0755), 0);
    ASSERT_EQ(startApp(), 0);
    ASSERT_EQ(fe.countPopups("Load directory settings"), 1);
    EXPECT_EQ(fe.popupsOf(ui::PopupKind::Message).front().text, "Error creating ini file instance");
    EXPECT_EQ(std::string(state().settingsDir), programDir + "/settings");
}

TEST_F(StartupTest, SaveThatCannotOpenTheIniFileIsReported) {
    ASSERT_EQ(startApp(), 0);
    qm_fault_set("qm41XXutils_IniCreate", QM41XXUTILS_ERR_FILE_READ, 1);
    saveDirectorySettings();
    ASSERT_EQ(fe.countPopups("Save Settings"), 1);
    EXPECT_EQ(fe.popups().back().text, "Error creating ini file instance");
}

TEST_F(StartupTest, InstalledProgramKeepsItsFilesInTheUsersFolders) {
    const std::string config = programDir + "/config";
    const std::string data = programDir + "/data";
    // A program folder the program cannot write to (one that does not even exist will do, even as root).
    state().programDirOverride = programDir + "/opt/qm4120/bin";
    {
        EnvGuard configHome("XDG_CONFIG_HOME", config.c_str());
        EnvGuard dataHome("XDG_DATA_HOME", data.c_str());
        ASSERT_EQ(startApp(), 0);
    }

    EXPECT_EQ(std::string(state().iniFilePath), config + "/qm4120_sfp/qm4120_sfp.ini");
    EXPECT_EQ(std::string(state().settingsDir), data + "/qm4120_sfp/settings");
    // Saving creates the configuration folder on a fresh account.
    saveDirectorySettings();
    EXPECT_TRUE(fe.popups().empty());
    EXPECT_EQ(readIniValue(config + "/qm4120_sfp/qm4120_sfp.ini"), data + "/qm4120_sfp/settings");
}

TEST_F(StartupTest, SplashShownForThreeSecondsThenDiscarded) {
    bool splashUp = false;
    fe.setDelayHook([&](double) {
        for (int handle : ui::panelHandles()) {
            const ui::Panel* p = ui::findPanel(handle);
            if (p && p->constName == "SPLASH_KOR" && p->visible) splashUp = true;
        }
    });
    ASSERT_EQ(startApp(), 0);
    EXPECT_TRUE(splashUp);
    EXPECT_DOUBLE_EQ(fe.totalDelay(), 3.0);
    for (int handle : ui::panelHandles()) EXPECT_NE(ui::findPanel(handle)->constName, "SPLASH_KOR");
}

TEST_F(StartupTest, PanelsLoadedInOrderAndMainPanelShown) {
    ASSERT_EQ(startApp(), 0);
    std::vector<std::string> names;
    for (int handle : ui::panelHandles()) names.push_back(ui::findPanel(handle)->constName);
    const std::vector<std::string> expected = {
        "MAINPANEL", "ABOUTPANEL", "SYSINFO", "SYSINFODET", "CALINFO",   "BOOTPANEL", "STEPPANEL", "ENGPANEL",
        "DIRPANEL",  "ROUTE",      "FSRATE",  "CHANPANEL",  "CHEDITALL", "LISTMODE",  "IDPANEL",
    };
    ASSERT_GE(names.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + expected.size()), expected);

    EXPECT_EQ(state().stepPanel, getStepPanel());
    EXPECT_EQ(state().mainPanel, getMainPanel());
    EXPECT_TRUE(op.panelShown(state().mainPanel));
    EXPECT_EQ(GetActivePanel(), state().mainPanel);
    EXPECT_GT(state().threadPool, 0);
    EXPECT_EQ(isActive4120(), 0);
    EXPECT_EQ(getQM4120id(), 0u);
}

// A resource file that cannot be read makes the first panel that needs it fail start-up.
class PanelLoadFailure : public AppFixture, public ::testing::WithParamInterface<const char*> {};

TEST_F(StartupTest, UnreadableMainResourceFailsAtTheSplashBeforeAnythingLoads) {
    const std::string broken = "{ this is not a resource";
    ui::setResourceOverride("qm4120_sfp.uir", &broken);
    const int status = startApp();
    EXPECT_LT(status, 0);
    EXPECT_NE(status, -1) << "the splash's own status, not the generic -1";
    EXPECT_TRUE(ui::panelHandles().empty());
    EXPECT_EQ(fe.totalDelay(), 0.0);
    EXPECT_EQ(state().threadPool, 0);
}

TEST_P(PanelLoadFailure, LaterPanelsEndStartUpWithMinusOne) {
    const std::string missing;  // an empty text means the file is not there
    ui::setResourceOverride(GetParam(), &missing);
    EXPECT_EQ(startApp(), -1);
    EXPECT_DOUBLE_EQ(fe.totalDelay(), 3.0) << "the splash came first";
    EXPECT_EQ(state().threadPool, 0) << "no thread pool before every panel is there";
    EXPECT_FALSE(op.panelShown(state().mainPanel));
}

INSTANTIATE_TEST_SUITE_P(ResourceFiles, PanelLoadFailure,
                         ::testing::Values("qm41xx_boot.uir", "qm41xx_step.uir", "qm4120_eng.uir",
                                           "qm4120_chan.uir", "qm41xx_cal_id.uir"));

TEST_F(StartupTest, CapturedDataStartsEmpty) {
    capturedData.dataValid = 1;
    capturedData.ifData.assign(100, 7);
    capturedData.iqData32.assign(10, 1);
    ASSERT_EQ(startApp(), 0);
    EXPECT_EQ(capturedData.dataValid, 0);
    EXPECT_TRUE(capturedData.ifData.empty());
    EXPECT_TRUE(capturedData.iqData32.empty());
    EXPECT_EQ(capturedData.iqData32.capacity(), 0u);
}

TEST_F(StartupTest, ExitMenuClosesTheSessionAndEndsTheLoop) {
    ASSERT_EQ(startApp(), 0);
    ASSERT_NE(bootModule(0x4125), 0u);
    ASSERT_EQ(qm4120_simInstrumentCount(), 1u);
    captureRepeatActive = 1;
    fe.addLoopStep([&] { ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_FILE_EXIT)); });
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_FALSE(fe.loopRanDry()) << "the loop was quit, not left for want of steps";
    EXPECT_EQ(isActive4120(), 0);
    EXPECT_EQ(qm4120_simInstrumentCount(), 0u);
    EXPECT_EQ(captureRepeatActive, 0);
}

TEST_F(StartupTest, CloseBoxEndsTheLoopButLeavesTheSessionOpen) {
    ASSERT_EQ(startApp(), 0);
    ASSERT_NE(bootModule(0x4120), 0u);
    captureRepeatActive = 1;
    fe.addLoopStep([&] { ASSERT_TRUE(op.closePanel(state().mainPanel)); });
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_FALSE(fe.loopRanDry());
    EXPECT_EQ(captureRepeatActive, 0);
    EXPECT_EQ(isActive4120(), 1);
    EXPECT_EQ(qm4120_simInstrumentCount(), 1u);
}

TEST_F(StartupTest, WholeProgramRunsAndEndsWithTheThreadPoolStatus) {
    fe.addLoopStep([&] { ASSERT_TRUE(op.chooseMenu(appState.mainMenuBar, MAINMENU_FILE_EXIT)); });
    char name[] = "qm4120_sfp";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(qm4120SfpMain(1, argv), 0);
    EXPECT_EQ(appState.mainPanel, 0) << "main panel discarded";
    EXPECT_EQ(appState.threadPool, 0) << "thread pool discarded";
    EXPECT_EQ(appState.refLockMonitorsRunning.load(), 0);
}
