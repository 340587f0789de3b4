// The program where the world is against it: every case ends in a clear message, the program answers on,
// and no file the operator had is changed.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "env_guard.h"
#include "file_text.h"
#include "full_disk.h"
#include "panel_fixture.h"
#include "qm4120_capture.h"

// Under the sanitizers an allocation that cannot be had returns null, as the C library's does, instead of
// ending the process.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
extern "C" const char* __tsan_default_options() {
    return "allocator_may_return_null=1";
}

namespace {

// The address space of this process may grow by `spare` bytes only: memory runs out.
class MemoryLimit {
  public:
    explicit MemoryLimit(rlim_t spare) {
        getrlimit(RLIMIT_AS, &old_);
        std::ifstream statm("/proc/self/statm");
        unsigned long long pages = 0;
        statm >> pages;
        rlimit limit = old_;
        limit.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + spare;
        ok_ = pages > 0 && setrlimit(RLIMIT_AS, &limit) == 0;
    }
    ~MemoryLimit() { setrlimit(RLIMIT_AS, &old_); }
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;
    bool ok() const { return ok_; }

  private:
    rlimit old_{};
    bool ok_ = false;
};

std::string driverText(int32_t status) {
    char text[256] = {};
    qm4120_error_message(0, status, text);
    return text;
}

}  // namespace

// A qm4120_sfp.ini that is not one: start-up says so and keeps the default folder, and the directories
// dialog's save refuses to write over it.
class DamagedIniFile : public AppFixture, public ::testing::WithParamInterface<std::string> {};

TEST_P(DamagedIniFile, IsReportedKeptAndNeverOverwritten) {
    writeText(iniPath(), GetParam());
    ASSERT_EQ(startApp(), 0);
    EXPECT_EQ(fe.countPopups("Load directory settings"), 1);
    EXPECT_EQ(std::string(state().settingsDir), programDir + "/settings");

    std::snprintf(state().settingsDir, PATH_TEXT_LEN, "%s", "/srv/other");
    saveDirectorySettings();
    EXPECT_EQ(fe.countPopups("Save Settings"), 1);
    EXPECT_EQ(readText(iniPath()), GetParam());
    // The program goes on: the main panel is up.
    EXPECT_TRUE(op.visible(state().mainPanel, MAINPANEL_BOOTBUTTON));
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedIniFile,
                         ::testing::Values(std::string("\x7F"
                                                       "ELF\x02\x01\x01\0\0\0",
                                                       10),
                                           "[Directories]\nSettingsDir=" + std::string(3000, 'x') + "\n",
                                           "SettingsDir=/before/any/section\n"));

// A qm4120_sfp.ini marked read-only: start-up reads it, and the directories dialog's save says it failed
// and leaves it as it was.
class ReadOnlyIniFile : public AppFixture {};

TEST_F(ReadOnlyIniFile, IsReadButNotReplaced) {
    const std::string text = "[Directories]\nSettingsDir=/srv/kept\n";
    writeText(iniPath(), text);
    ASSERT_EQ(chmod(iniPath().c_str(), 0444), 0);
    ASSERT_EQ(startApp(), 0);
    EXPECT_TRUE(fe.popups().empty());
    EXPECT_EQ(std::string(state().settingsDir), "/srv/kept");

    std::snprintf(state().settingsDir, PATH_TEXT_LEN, "%s", "/srv/other");
    saveDirectorySettings();
    ASSERT_EQ(fe.countPopups("Save directory settings"), 1);
    EXPECT_EQ(fe.popups().back().text, "Failed to save settings!");
    EXPECT_EQ(readText(iniPath()), text);
}

// An installed program keeps its files under the home folder; a home that is not there, or cannot be,
// must not stop it.
struct HomeCase {
    const char* home;  // below the program's temporary folder
    bool usable;       // the folder can be made, so the directories dialog can save there
};

class HomeFolder : public AppFixture, public ::testing::WithParamInterface<HomeCase> {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        // A program folder that cannot be written: below a plain file, which stops even root.
        writeText(programDir + "/file", "not a folder");
        state().programDirOverride = programDir + "/file/bin";
    }
    bool mainPanelUp() {
        return op.visible(state().mainPanel, MAINPANEL_BOOTBUTTON) &&
               !op.dimmed(state().mainPanel, MAINPANEL_BOOTBUTTON);
    }
    EnvGuard config{"XDG_CONFIG_HOME", nullptr};
    EnvGuard data{"XDG_DATA_HOME", nullptr};
};

TEST_P(HomeFolder, MissingOrUnusableHomeStillStarts) {
    const std::string home = programDir + GetParam().home;
    const bool usable = GetParam().usable;
    EnvGuard guard("HOME", home.c_str());
    ASSERT_EQ(startApp(), 0);
    EXPECT_TRUE(mainPanelUp());
    EXPECT_EQ(std::string(state().settingsDir), home + "/.local/share/qm4120_sfp/settings");
    // Nothing to read in a home that is not there; one that cannot exist is reported.
    EXPECT_EQ(fe.countPopups("Load directory settings"), usable ? 0 : 1);

    saveDirectorySettings();
    EXPECT_EQ(fe.countPopups("Save Settings"), usable ? 0 : 1);
    EXPECT_EQ(std::filesystem::exists(home + "/.config/qm4120_sfp/qm4120_sfp.ini"), usable);
    EXPECT_TRUE(mainPanelUp());
}

INSTANTIATE_TEST_SUITE_P(Homes, HomeFolder,
                         ::testing::Values(HomeCase{"/gone", true}, HomeCase{"/file/home", false}));

TEST_F(HomeFolder, NoHomeAtAllStillStarts) {
    EnvGuard home("HOME", nullptr);
    ASSERT_EQ(startApp(), 0);
    EXPECT_TRUE(mainPanelUp());
    // Some absolute folder all the same, never one relative to wherever the program was started.
    EXPECT_EQ(state().iniFilePath[0], '/');
    EXPECT_EQ(state().settingsDir[0], '/');
}

class CaptureUnderPressure : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(boot(0x4120), 0u);
        bar = GetPanelMenuBar(main());
    }
    int bar = 0;
};

// The disk fills while a capture goes to a file: the driver's write error is shown, the run ends and the
// next capture works once there is room again. Other files in the folder are untouched.
TEST_F(CaptureUnderPressure, FullDiskDuringACaptureToFile) {
    TempDir dir("qm4120_full_disk");
    const std::string capture = dir.file("data.txt");
    const std::string other = dir.file("operator_notes.txt");
    writeText(other, "calibration notes\n");
    const int p = main();
    // 65536 IF samples of up to 7 characters each: some 400 kB of text.
    ASSERT_TRUE(op.commit(p, MAINPANEL_NUM_SAMPLES, 65536));
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_TOASCFILE));
    fe.answerFile(capture, VAL_NEW_FILE_SELECTED);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_FILESET));
    fe.clearPopups();
    {
        FullDisk disk(64 * 1024);
        ASSERT_TRUE(disk.ok());
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    }
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].title, "4120 Driver Error");
    EXPECT_EQ(fe.popups()[0].text, driverText(QM4120_ERROR_CAPTURE_WRITE));
    EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Idle");
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_CMD_SINGLE));

    fe.clearPopups();
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].title, "Data Capture to ASCII File");
    EXPECT_EQ(readText(other), "calibration notes\n");
}

// A block larger than the memory the process can have, asked of the driver directly: refused with the
// allocation error before anything is captured, and the session captures normally afterwards.
TEST_F(CaptureUnderPressure, BlockBeyondMemoryIsRefused) {
    TempDir dir("qm4120_beyond_memory");
    const std::string file = dir.file("block.dat");
    const uint32_t session = getQM4120id();
    {
        // 2 GiB of words against an address space with 512 MiB to spare.
        MemoryLimit limit(512u << 20);
        ASSERT_TRUE(limit.ok());
        EXPECT_EQ(qm4120_captBinFile(session, 1u << 30, file.c_str()), QM4120_ERROR_ALLOC);
    }
    std::vector<int16_t> words(1024);
    EXPECT_EQ(qm4120_captMem(session, 1024, words.data()), 0);
}

// The settings folder named in qm4120_sfp.ini is a plain file of the operator's. Start-up takes the entry
// as it is; the save dialog opens there, a save below it is refused with a message, the file is
// left as it was, and a save to a real folder still works.
class SettingsFolderIsAFile : public PanelFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        if (HasFatalFailure()) return;
        notes = programDir + "/notes.txt";
        writeText(notes, "bench notes\n");
        writeText(iniPath(), "[Directories]\nSettingsDir=" + notes + "\n");
        runMonitor = false;
        ASSERT_EQ(startApp(), 0);
    }
    void saveAs(const std::string& path) {
        fe.answerFile(path, VAL_NEW_FILE_SELECTED);
        ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_SETTINGS_SETTINGS_SAVE));
    }
    std::string notes;
};

TEST_F(SettingsFolderIsAFile, SavesBelowItFailAndTheFileStays) {
    EXPECT_TRUE(fe.popups().empty());
    EXPECT_EQ(std::string(state().settingsDir), notes);
    ASSERT_NE(boot(0x4120), 0u);

    saveAs(notes + "/setup.ini");
    ASSERT_EQ(fe.popupsOf(ui::PopupKind::FileSelect).size(), 1u);
    EXPECT_EQ(fe.popupsOf(ui::PopupKind::FileSelect)[0].fileRequest.defaultDirectory, notes);
    ASSERT_EQ(fe.popupsOf(ui::PopupKind::Message).size(), 1u);
    EXPECT_EQ(fe.popupsOf(ui::PopupKind::Message)[0].title, "Save Settings");
    EXPECT_EQ(fe.popupsOf(ui::PopupKind::Message)[0].text, "Error creating ini file instance");
    EXPECT_EQ(readText(notes), "bench notes\n");

    fe.clearPopups();
    saveAs(programDir + "/setup.ini");
    EXPECT_TRUE(fe.popupsOf(ui::PopupKind::Message).empty());
    EXPECT_TRUE(std::filesystem::exists(programDir + "/setup.ini"));
}
