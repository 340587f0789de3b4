// The loader against damaged and hostile files, and the saved file against a program killed or a disk
// filled in the middle of a save.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <vector>

#include "qm41XX_utils.h"
#include "settings_file.h"
#include "settings_fixture.h"

namespace {

// One damage done to a settings file: a value replaced by something hostile, a line dropped, a byte
// changed, or the file cut short.
std::string mutate(std::string text, std::mt19937& rng) {
    static const char* const HOSTILE[] = {"",
                                          "1e308",
                                          "-1e308",
                                          "nan",
                                          "inf",
                                          "-inf",
                                          "4294967296",
                                          "-1",
                                          "0",
                                          "abc",
                                          "0x10",
                                          "1.5",
                                          "65536",
                                          "-2147483649",
                                          "1e-320",
                                          "  7 ",
                                          "\"3\"",
                                          "\t",
                                          "9999999999999999999999"};
    std::uniform_int_distribution<size_t> pos(0, text.empty() ? 0 : text.size() - 1);
    switch (rng() % 4) {
        case 0: {  // a value
            const size_t eq = text.find('=', pos(rng));
            if (eq == std::string::npos) break;
            const size_t end = text.find('\n', eq);
            text.replace(eq + 1, end == std::string::npos ? std::string::npos : end - eq - 1,
                         HOSTILE[rng() % (sizeof HOSTILE / sizeof HOSTILE[0])]);
            break;
        }
        case 1: {  // a line dropped
            const size_t start = text.rfind('\n', pos(rng));
            const size_t end = text.find('\n', start == std::string::npos ? 0 : start + 1);
            if (start != std::string::npos && end != std::string::npos) text.erase(start, end - start);
            break;
        }
        case 2:  // a byte
            if (!text.empty()) text[pos(rng)] = static_cast<char>(rng() % 256);
            break;
        default:  // cut short
            text.resize(pos(rng));
            break;
    }
    return text;
}

class SettingsRobustnessTest : public SettingsFixture {
  protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(boot(0x4125), 0u);
    }
};

// Statuses with which the module refuses or clamps a value it was sent.
bool moduleRefusedAValue(const ui::PopupRecord& p) {
    return p.title == "4120 Driver Error" &&
           (p.text.find("out of range") != std::string::npos || p.text.find("Invalid") != std::string::npos ||
            p.text.find("clamped") != std::string::npos);
}

TEST_F(SettingsRobustnessTest, MutatedFilesNeverCrashHangOrSendAValueOutOfRange) {
    const std::string valid = settingsFile("valid.ini");
    const std::string damaged = settingsFile("damaged.ini");
    saveAs(valid);
    const std::string original = readText(valid);
    ASSERT_GT(original.size(), 10000u);

    // The same 400 damaged files every time (fixed seed), whatever the machine's speed.
    std::mt19937 rng(20261205);
    for (int runs = 1; runs <= 400; ++runs) {
        std::string text = original;
        for (unsigned n = 1 + rng() % 4; n > 0; --n) text = mutate(text, rng);
        writeText(damaged, text);
        fe.clearPopups();
        settingsLoadFile(damaged.c_str());
        for (const ui::PopupRecord& p : fe.popups())
            ASSERT_FALSE(moduleRefusedAValue(p)) << "run " << runs << ": " << p.text << "\nfile:\n" << text;
        // The panel never shows a value outside what its control allows.
        for (int c : {MAINPANEL_RF_FREQ, MAINPANEL_NUM_SAMPLES, MAINPANEL_RF_ATTEN, MAINPANEL_TIMERPERIOD}) {
            EXPECT_GE(number(c), attribute(c, ATTR_MIN_VALUE)) << ui::test::describe(main(), c);
            EXPECT_LE(number(c), attribute(c, ATTR_MAX_VALUE)) << ui::test::describe(main(), c);
        }
    }
}

// The mode ring is refilled on every load: a file without a mode it can use keeps the mode in force, so
// that the set-up pushed afterwards pairs it with its own ratio, not with the first mode of the ring.
TEST_F(SettingsRobustnessTest, AFileWithoutAUsableModeKeepsTheModeInForce) {
    const std::string path = settingsFile("mode.ini");
    saveAs(path);
    const std::string saved = readText(path);
    const size_t at = saved.find("ModMode=");
    ASSERT_NE(at, std::string::npos);
    auto withMode = [&](const std::string& line) {
        std::string text = saved;
        return text.replace(at, text.find('\n', at) + 1 - at, line);
    };
    for (const std::string line : {"", "ModMode=3\n", "ModMode=x\n"}) {
        writeText(path, withMode("ModMode=1\n"));  // GSM, whose ratios start below the first mode's
        settingsLoadFile(path.c_str());
        writeText(path, withMode(line));
        fe.clearPopups();
        settingsLoadFile(path.c_str());
        EXPECT_EQ(driverErrors(), 0) << line;
        uint16_t mode = 0;
        ASSERT_GE(qm4120_getModulationMode(session(), &mode), 0);
        EXPECT_EQ(mode, 1) << line;
    }
}

// The module keeps a sample count for each data type. A file that switches to IF data without a usable IF
// count keeps the module's own: the I/Q count on the panel (16, below the IF step) never reaches the
// module, and a count off the IF step is named, not sent to be rounded.
TEST_F(SettingsRobustnessTest, ASwitchToIfDataKeepsTheModulesIfCountUnlessTheFileHasAUsableOne) {
    const std::string path = settingsFile("if_count.ini");
    uint32_t ifCount = 0;
    ASSERT_GE(qm4120_getNumberOfIfSamples(session(), &ifCount), 0);
    for (const std::string count :
         {"", "CaptNumIfSamples=48\n", "CaptNumIfSamples=16\n", "CaptNumIfSamples=4096\n"}) {
        ASSERT_TRUE(op.commit(main(), MAINPANEL_DATA_TYPE, 1));
        ASSERT_TRUE(op.commit(main(), MAINPANEL_NUM_SAMPLES, 16));
        writeText(path, "[Settings File]\nVersionMajor=1\nVersionMinor=0\n[Capture]\nCaptSampleDataType=0\n" +
                            count);
        fe.clearPopups();
        settingsLoadFile(path.c_str());
        EXPECT_EQ(driverErrors(), 0) << count;
        const bool usable = count.find("4096") != std::string::npos;
        EXPECT_EQ(fe.countPopups("Load Settings"), !count.empty() && !usable ? 1 : 0) << count;
        uint32_t now = 0;
        ASSERT_GE(qm4120_getNumberOfIfSamples(session(), &now), 0);
        EXPECT_EQ(now, usable ? 4096u : ifCount) << count;
        EXPECT_EQ(number(MAINPANEL_NUM_SAMPLES), now) << count;
    }
}

// A child saves two versions of a large settings file in turn and is killed at random moments: the file
// is always one whole version.
TEST_F(SettingsRobustnessTest, ASaveKilledPartWayLeavesAWholeFile) {
    const std::string path = settingsFile("killed.ini");
    const std::string versionA = settingsFile("a.ini");
    const std::string versionB = settingsFile("b.ini");
    saveAs(versionB);
    ASSERT_GE(qm4120_setRfFrequency(session(), 1.7e9), 0);
    refreshPanelFromInstrument();
    saveAs(versionA);
    saveAs(path);
    const std::string textA = readText(versionA);
    const std::string textB = readText(versionB);
    ASSERT_NE(textA, textB);
    ASSERT_GT(textA.size(), 10000u);

    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (double f = 1.7e9;; f = f == 1.7e9 ? 2.0e9 : 1.7e9) {
                SetCtrlVal(main(), MAINPANEL_RF_FREQ, f);
                settingsSaveFile(path.c_str());
            }
        }
        usleep(1000 + rng() % 30000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string now = readText(path);
        uint32_t ini = 0;
        ASSERT_EQ(qm41XXutils_IniCreate(path.c_str(), &ini), 0) << "round " << round;
        qm41XXutils_IniDelete(ini);
        ASSERT_TRUE(now == textA || now == textB) << "round " << round << ": " << now.size() << " bytes";
    }
}

// A file size limit stands for a full disk: the save fails with its popup, the old file stays.
TEST_F(SettingsRobustnessTest, AFullDiskIsReportedAndKeepsTheOldFile) {
    const std::string path = settingsFile("full.ini");
    saveAs(path);
    const std::string before = readText(path);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        SetCtrlVal(main(), MAINPANEL_RF_FREQ, 1.9e9);
        fe.clearPopups();
        settingsSaveFile(path.c_str());
        _exit(fe.countPopups("Save settings") == 1 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "no \"Failed to save settings!\" popup";
    EXPECT_EQ(readText(path), before);
}

}  // namespace
