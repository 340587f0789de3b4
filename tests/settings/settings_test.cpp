// Settings files end to end: every panel survives a save, a module reset and a load; the cases users rely on;
// the failures and their popups; the Directories dialog.
#include <sys/stat.h>

#include <cstdio>
#include <functional>

#include "extras.h"
#include "qm41XX_utils.h"
#include "settings_file.h"
#include "settings_fixture.h"
#include "sigmf_metadata.h"

namespace {

constexpr uint16_t MODEL = 0x4B20;  // has list mode and every routing destination

// The entries of two snapshots that differ, one per line.
std::string differences(const Snapshot& now, const Snapshot& before) {
    std::string text;
    for (const auto& [name, value] : before) {
        const auto it = now.find(name);
        if (it == now.end() || it->second != value)
            text += name + ": " + std::to_string(value) + " -> " +
                    (it == now.end() ? std::string("missing") : std::to_string(it->second)) + "\n";
    }
    return text;
}

class SettingsFilesTest : public SettingsFixture {
  protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(boot(MODEL), 0u);
    }

    // A set-up far from the module's defaults, with the trigger on `code`.
    void setUpModule(uint16_t code) {
        const uint32_t v = session();
        ASSERT_GE(qm4120_setFrontEndConfigMode(v, 2), 0);
        ASSERT_GE(qm4120_setRfFrequency(v, 1.2345e9), 0);
        ASSERT_GE(qm4120_setRfInputLevel(v, -10.0), 0);
        ASSERT_GE(qm4120_setIfInputLevel(v, -5.0), 0);
        ASSERT_GE(qm4120_setRfAttenuation(v, 8), 0);
        ASSERT_GE(qm4120_setIfAttenuation(v, 12), 0);
        ASSERT_GE(qm4120_setExternalReference(v, 2), 0);
        ASSERT_GE(qm4120_setDcOffsetFilter(v, 1), 0);
        ASSERT_GE(qm4120_setSampleDataType(v, 1), 0);
        ASSERT_GE(qm4120_setModulationMode(v, 1), 0);
        ASSERT_GE(qm4120_setGsmDecimationRatio(v, 4), 0);
        ASSERT_GE(qm4120_setNumberOfIqSamples(v, 4096), 0);
        // An LVDS source listens on its group's lines, which must then be inputs.
        ASSERT_GE(qm4120_setLvdsDataMode(v, code == 31 ? 0 : 3), 0);
        ASSERT_GE(qm4120_setLvdsAuxMode(v, 0), 0);
        ASSERT_GE(qm4120_setLvdsMarkerMode(v, code >= 22 && code <= 25 ? 0 : 1), 0);
        ASSERT_GE(qm4120_setTriggerSource(v, code), 0);
        ASSERT_GE(qm4120_setTriggerType(v, 1), 0);
        ASSERT_GE(qm4120_setTriggerOffsetDelay(v, 123), 0);
        ASSERT_GE(qm4120_setPostGateTriggerSamples(v, 456), 0);
        ASSERT_GE(qm4120_setIntTriggerMode(v, code == 35 ? 1 : 0), 0);
        ASSERT_GE(qm4120_setIntTriggerAbsThreshold(v, -42.0), 0);
        ASSERT_GE(qm4120_setIntTriggerAbsTimeConst(v, 2.5), 0);
        // The panel shows (and a file keeps) the timer only for the timer source and the relative
        // detector only in the relative mode.
        if (code == 35) {
            ASSERT_GE(qm4120_setIntTriggerRelThreshold(v, 7), 0);
            ASSERT_GE(qm4120_setIntTriggerRelSlowTimeConst(v, 3.5), 0);
            ASSERT_GE(qm4120_setIntTriggerRelFastTimeConst(v, 0.25), 0);
        }
        if (code == 34) {
            ASSERT_GE(qm4120_setTimerPeriod(v, 250.0), 0);
            ASSERT_GE(qm4120_setTimerPhase(v, 12), 0);
        }
        for (auto [dest, source] : {std::pair{2, 35}, {12, 36}, {38, 36}, {43, 9}, {22, 34}, {57, 8}})
            ASSERT_GE(qm4120_setRoutingConnect(v, dest, source), 0) << dest;
        for (int dest : {2, 12, 38}) ASSERT_GE(qm4120_setRoutingOutputEnable(v, dest, 1), 0);
        // A few channels apart from the main panel's (channel 0).
        for (auto [c, f, atten] : {std::tuple{3, 0.5e9, 4}, {7, 2.2e9, 16}, {100, 0.75e9, 28}}) {
            ASSERT_GE(qm4120_setFrontEndConfigModeChan(v, 2, c), 0);
            ASSERT_GE(qm4120_setRfFrequencyChan(v, f, c), 0);
            ASSERT_GE(qm4120_setRfInputLevelChan(v, -20.0 + c / 10.0, c), 0);
            ASSERT_GE(qm4120_setRfAttenuationChan(v, atten, c), 0);
            ASSERT_GE(qm4120_setIfAttenuationChan(v, c % 30, c), 0);
        }
        ASSERT_GE(qm4120_setListCountStartStop(v, 3, 9), 0);
        ASSERT_GE(qm4120_setListCounterStrobe(v, 1), 0);
        ASSERT_GE(qm4120_setListStrobeNegEdge(v, 1), 0);
        ASSERT_GE(qm4120_setListAddrSource(v, 1), 0);
        refreshPanelFromInstrument();
        applyFreqStep(2500.0);
        applyLevelStep(0.25);
    }

    void resetModule() {
        ASSERT_GE(qm4120_reset(session()), 0);
        refreshPanelFromInstrument();
        applyFreqStep(10000.0);
        applyLevelStep(1.0);
    }
};

TEST_F(SettingsFilesTest, EveryPanelAndTheModuleComeBackAfterAResetForEachTriggerFamily) {
    const std::string path = settingsFile("all.ini");
    for (uint16_t code : {3, 8, 15, 23, 27, 31, 32, 34, 35, 36}) {
        SCOPED_TRACE("trigger source " + std::to_string(code));
        setUpModule(code);
        const Snapshot panelsBefore = panels();
        Snapshot moduleBefore = moduleState();
        // Values the panel does not show for this source go out as the panel holds them.
        if (code != 35)
            for (const char* hidden : {"rel thr", "slow tc", "fast tc"}) moduleBefore.erase(hidden);
        if (code != 34)
            for (const char* hidden : {"timer", "phase"}) moduleBefore.erase(hidden);
        fe.clearPopups();
        saveAs(path);
        resetModule();
        ASSERT_NE(moduleState(), moduleBefore) << "the reset must undo the set-up";
        loadFrom(path);
        EXPECT_EQ(driverErrors(), 0) << (fe.popups().empty() ? "" : fe.popups().back().text);
        for (const ui::PopupRecord& p : fe.popupsOf(ui::PopupKind::Message))
            ADD_FAILURE() << p.title << ": " << p.text;
        EXPECT_EQ(differences(panels(), panelsBefore), "");
        EXPECT_EQ(differences(moduleState(), moduleBefore), "");
    }
}

// The cases the instrument's users rely on, each from a hand-written file or a saved one.
TEST_F(SettingsFilesTest, CasesUsersRelyOn) {
    const std::string path = settingsFile("case.ini");
    auto header = "[Settings File]\nVersionMajor=1\nVersionMinor=0\n";
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"IF data stores 2048 I/Q samples",
         [&] {
             const uint32_t v = session();
             ASSERT_GE(qm4120_setSampleDataType(v, 0), 0);
             ASSERT_GE(qm4120_setNumberOfIfSamples(v, 8192), 0);
             refreshPanelFromInstrument();
             saveAs(path);
             uint32_t ini = 0, iq = 0, ifs = 0;
             ASSERT_EQ(qm41XXutils_IniCreate(path.c_str(), &ini), 0);
             EXPECT_EQ(settingsReadU32(ini, SettingsItem::CaptNumIqSamples, &iq), 0);
             EXPECT_EQ(settingsReadU32(ini, SettingsItem::CaptNumIfSamples, &ifs), 0);
             qm41XXutils_IniDelete(ini);
             EXPECT_EQ(iq, 2048u);
             EXPECT_EQ(ifs, 8192u);
         }},
        {"LO below stores the negative IF frequency and loads as position 0",
         [&] {
             const uint32_t v = session();
             ASSERT_GE(qm4120_setLoOffset(v, -77.76e6), 0);
             refreshPanelFromInstrument();
             saveAs(path);
             uint32_t ini = 0;
             double offset = 0;
             ASSERT_EQ(qm41XXutils_IniCreate(path.c_str(), &ini), 0);
             EXPECT_EQ(settingsReadReal(ini, SettingsItem::RfLoOffsetHz, &offset), 0);
             qm41XXutils_IniDelete(ini);
             EXPECT_DOUBLE_EQ(offset, -77.76e6);
             closeSession();  // the shown offset is then what the file says, not the module's read-back
             writeText(path, std::string(header) + "[Frequency]\nRfLoOffsetHz=-1000000\n");
             loadFrom(path);
             EXPECT_EQ(integer(main(), MAINPANEL_LO_POSITION), 0);
             EXPECT_DOUBLE_EQ(number(MAINPANEL_LO_OFFSET), 1e6);
         }},
        {"source code 8 selects PXI_STAR and leaves the line alone",
         [&] {
             writeText(path, std::string(header) + "[Trigger]\nTrigSource=8\n");
             loadFrom(path);
             EXPECT_EQ(op.shows(main(), MAINPANEL_CAPT_TRIG), "PXI_STAR");
             EXPECT_EQ(module(qm4120_getTriggerSource), 8);
         }},
        {"Generic restores its own ratio and ignores the others",
         [&] {
             const uint32_t v = session();
             uint32_t lo = 0, hi = 0;
             ASSERT_GE(qm4120_setSampleDataType(v, 1), 0);
             ASSERT_GE(qm4120_setModulationMode(v, 5), 0);
             ASSERT_GE(qm4120_getDecimationLimits(v, 5, &lo, &hi), 0);
             const uint32_t ratio = lo * 4 <= hi ? lo * 4 : lo;
             writeText(path,
                       std::string(header) +
                           "[Capture]\nCaptSampleDataType=1\n[Modulation]\nModMode=5\nModUmtsDecRatio=64\n"
                           "ModGsmDecRatio=8\nModGenericDecRatio=" +
                           std::to_string(ratio) + "\n");
             loadFrom(path);
             EXPECT_EQ(op.shows(main(), MAINPANEL_MODN_MODE), "Generic");
             EXPECT_EQ(integer(main(), MAINPANEL_DECIMATION_RATIO), static_cast<int>(ratio));
             EXPECT_EQ(module(qm4120_getGenericDecimationRatio), ratio);
             EXPECT_EQ(module(qm4120_getUmtsDecimationRatio), 2u) << "the other modes get their fixed ratio";
             EXPECT_EQ(module(qm4120_getGsmDecimationRatio), 1u);
         }},
        {"without a boot the panels fill and nothing reaches the module",
         [&] {
             const double moduleRf = module(qm4120_getRfFrequency);
             closeSession();
             writeText(path,
                       std::string(header) + "[Frequency]\nRfFreqHz=1500000000\n[Timer]\nTimerPhase=5\n");
             loadFrom(path);
             EXPECT_DOUBLE_EQ(number(MAINPANEL_RF_FREQ), 1.5e9);
             EXPECT_EQ(integer(main(), MAINPANEL_TIMERPHASE), 5);
             ASSERT_NE(boot(MODEL), 0u);
             EXPECT_DOUBLE_EQ(module(qm4120_getRfFrequency), moduleRf);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!isActive4120()) {
            ASSERT_NE(boot(MODEL), 0u);
        }
        fe.clearPopups();
        c.run();
        EXPECT_EQ(driverErrors(), 0);
    }
}

// Files refused whole, values refused one by one, and saves that cannot be written.
TEST_F(SettingsFilesTest, BadFilesAndUnwritableFoldersAreReportedAndChangeNothing) {
    const std::string good = settingsFile("good.ini");
    saveAs(good);
    const std::string before = readText(good);
    ASSERT_FALSE(before.empty());
    const double rf = number(MAINPANEL_RF_FREQ);
    const std::string folder = settingsFile("folder.ini");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string noHeader = settingsFile("noheader.ini");
    writeText(noHeader, "[Frequency]\nRfFreqHz=1e9\n");
    const std::string old = settingsFile("old.ini");
    writeText(old, "[Settings File]\nVersionMajor=0\nVersionMinor=9\n[Frequency]\nRfFreqHz=1e9\n");
    const std::string binary = settingsFile("binary.ini");
    writeText(binary, std::string("\x7f"
                                  "ELF\0\0\x01\x02",
                                  8));
    const std::string hostile = settingsFile("hostile.ini");
    writeText(hostile,
              "[Settings File]\nVersionMajor=1\nVersionMinor=3\n[Frequency]\nRfFreqHz=1e300\n"
              "RfFreqStepHz=-5\n[Front End]\nInputSource=7\nExtRef=99999999999\n[Level]\nRfLeveldBm=abc\n"
              "[Channel 9]\nRfFrequencyHz=9e99\nRfLeveldBm=0\nIfLeveldBm=0\nRfAttenuationdB=0\n"
              "IfAttenuationdB=0\nFrontEndMode=0\n[Trigger]\nTrigIntTrigAbsTimeConst=0\n");

    struct Case {
        const char* name;
        std::string path;
        const char* title;
        const char* text;  // start of the popup's text
    };
    const Case cases[] = {
        {"a folder", folder, "Load Settings", "Error creating ini file instance"},
        {"binary content", binary, "Load Settings", "Error creating ini file instance"},
        {"no header", noHeader, "Load Settings", "Failed to read valid header information"},
        {"version 0.9", old, "Load Settings", "Settings file version not supported"},
        {"hostile values", hostile, "Load Settings", "These values of the settings file could not be used"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fe.clearPopups();
        loadFrom(c.path);
        const std::vector<ui::PopupRecord> messages = fe.popupsOf(ui::PopupKind::Message);
        ASSERT_EQ(messages.size(), 1u);
        const ui::PopupRecord& p = messages.front();
        EXPECT_EQ(p.title, c.title);
        EXPECT_EQ(p.text.rfind(c.text, 0), 0u) << p.text;
        EXPECT_DOUBLE_EQ(number(MAINPANEL_RF_FREQ), rf);
    }
    const std::string refused = fe.popupsOf(ui::PopupKind::Message).back().text;
    for (const char* name : {"RfFreqHz", "RfFreqStepHz", "InputSource", "ExtRef", "RfLeveldBm",
                             "RfChannelData 9", "TrigIntTrigAbsTimeConst"})
        EXPECT_NE(refused.find(name), std::string::npos) << name;
    double channel9 = 0;
    ASSERT_GE(qm4120_getRfFrequencyChan(session(), &channel9, 9), 0);
    EXPECT_LT(channel9, 1e10);

    // A folder that cannot be written: the popup, and the old file as it was.
    fe.clearPopups();
    ASSERT_GE(qm4120_setRfFrequency(session(), 1.1e9), 0);
    refreshPanelFromInstrument();
    ASSERT_EQ(chmod(programDir.c_str(), 0555), 0);
    saveAs(good);
    chmod(programDir.c_str(), 0755);
    if (geteuid() != 0) {
        EXPECT_EQ(fe.countPopups("Save settings"), 1);
        EXPECT_EQ(readText(good), before);
    }
}

// The display extras and the SigMF option are in a file only while switched on; a file without them
// switches them off, and one with a value no menu offers leaves that value out.
TEST_F(SettingsFilesTest, ExtrasAreKeptOnlyWhileSwitchedOn) {
    const std::string plain = settingsFile("plain.ini");
    const std::string withExtras = settingsFile("extras.ini");
    saveAs(plain);
    for (const char* key : {"[Display Extras]", "SigmfMetadata"})
        EXPECT_EQ(readText(plain).find(key), std::string::npos) << key;

    DisplayExtras on;
    on.averageCount = 16;
    on.maxHold = 1;
    on.waterfallOn = 1;
    on.waterfallHistory = 200;
    on.graphImageWidth = 800;
    on.graphImageHeight = 600;
    setDisplayExtras(on);
    setSigmfMetadataEnabled(true);
    saveAs(withExtras);
    setDisplayExtras(DisplayExtras{});
    setSigmfMetadataEnabled(false);
    loadFrom(withExtras);
    EXPECT_EQ(getDisplayExtras(), on);
    EXPECT_TRUE(sigmfMetadataEnabled());

    loadFrom(plain);
    EXPECT_EQ(getDisplayExtras(), DisplayExtras{});
    EXPECT_FALSE(sigmfMetadataEnabled());

    fe.clearPopups();
    const std::string absurd = settingsFile("absurd.ini");
    writeText(absurd, readText(plain) + "[Display Extras]\nAverageCount=99999\nWaterfallOn=1\n");
    loadFrom(absurd);
    EXPECT_EQ(getDisplayExtras().averageCount, 0);
    EXPECT_EQ(getDisplayExtras().waterfallOn, 1);
    const std::vector<ui::PopupRecord> messages = fe.popupsOf(ui::PopupKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages.front().text.find("AverageCount"), std::string::npos) << messages.front().text;
    setDisplayExtras(DisplayExtras{});
}

TEST_F(SettingsFilesTest, DirectoriesDialogKeepsTheFolderInTheIniFile) {
    const int dir = state().dirPanel;
    const std::string start = state().settingsDir;
    ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_SETTINGS_SETTINGS_DIRS));
    ASSERT_TRUE(op.panelShown(dir));
    EXPECT_EQ(op.shows(dir, DIRPANEL_SETTINGS_DIR), start);

    fe.answerDir(programDir + "/chosen");
    ASSERT_TRUE(op.press(dir, DIRPANEL_SETTINGS_DIR_BROWSE));
    const ui::PopupRecord browse = fe.popupsOf(ui::PopupKind::DirSelect).back();
    EXPECT_EQ(browse.dirRequest.defaultDirectory, start);
    fe.answerDir(programDir + "/plugins");
    ASSERT_TRUE(op.press(dir, DIRPANEL_PLUGIN_DIR_BROWSE));
    EXPECT_EQ(op.shows(dir, DIRPANEL_SETTINGS_DIR), programDir + "/chosen")
        << "the plugin choice is not kept";
    ASSERT_TRUE(op.press(dir, DIRPANEL_DIR_CANCEL));
    EXPECT_EQ(state().settingsDir, start);

    ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_SETTINGS_SETTINGS_DIRS));
    ASSERT_TRUE(op.commitText(dir, DIRPANEL_SETTINGS_DIR, programDir + "/mine"));
    ASSERT_TRUE(op.press(dir, DIRPANEL_DIR_OK));
    EXPECT_FALSE(op.panelShown(dir));
    EXPECT_EQ(state().settingsDir, programDir + "/mine");
    EXPECT_NE(readText(iniPath()).find("SettingsDir=" + programDir + "/mine"), std::string::npos);

    // The settings dialogs open there, offering settings files.
    fe.cancelFile();
    ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_SETTINGS_SETTINGS_SAVE));
    const ui::FileSelectRequest save = fe.popupsOf(ui::PopupKind::FileSelect).back().fileRequest;
    EXPECT_EQ(save.defaultDirectory, programDir + "/mine");
    EXPECT_EQ(save.fileTypeList, "*.ini");
}

}  // namespace
