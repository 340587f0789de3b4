// Saving captured data and FFT traces from the menus after a capture on the simulated module: the bytes
// and lines of every data kind and format read back by the test's own readers, the trace file against
// the spectrum on screen, the SigMF metadata beside binary files, and the failures that must leave an
// old file whole and the capture indicators as they were.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "capture_state.h"
#include "capture_values.h"
#include "display.h"
#include "file_text.h"
#include "full_disk.h"
#include "panel_fixture.h"
#include "save_data.h"
#include "temp_dir.h"

namespace {

constexpr uint16_t TRIGGER_SOFTWARE = 32;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// The samples as the FFT preparation split them, I before Q for each pair.
template <typename T>
std::vector<double> interleaved(const std::vector<T>& i, const std::vector<T>& q) {
    std::vector<double> out;
    for (size_t k = 0; k < i.size() && k < q.size(); ++k) out.insert(out.end(), {double(i[k]), double(q[k])});
    return out;
}

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
    return names;
}

}  // namespace

class SaveDataTest : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        if (HasFatalFailure()) return;
        session = boot(0x4120);
        ASSERT_NE(session, 0u);
        ASSERT_EQ(qm4120_setTriggerSource(session, TRIGGER_SOFTWARE), 0);
        refreshPanelFromInstrument();
        p = state().mainPanel;
        bar = state().mainMenuBar;
        dir = programDir + "/data";
        std::filesystem::create_directory(dir);
        std::snprintf(state().settingsDir, sizeof state().settingsDir, "%s", dir.c_str());
    }

    // Sets the data kind up as an operator would, captures once and returns the sample count the module
    // took (pairs for I/Q).
    uint32_t capture(int dataType, int format, uint32_t samples, uint32_t fftLength = 0) {
        EXPECT_TRUE(chooseData(dataType, format, samples));
        if (fftLength) {
            EXPECT_EQ(qm4120_setFftLength(session, fftLength), 0);
        }
        uint32_t taken = 0;
        EXPECT_EQ(qm4120_getNumberOfSamples(session, &taken), 0);
        EXPECT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
        EXPECT_EQ(capturedData.dataValid, 1);
        fe.clearPopups();
        return taken;
    }

    void save(int item, const std::string& path) {
        fe.answerFile(path, VAL_NEW_FILE_SELECTED);
        ASSERT_TRUE(op.chooseMenu(bar, item));
    }

    uint32_t session = 0;  // hides the fixture's accessor: the session of the one boot
    int p = 0;
    int bar = 0;
    std::string dir;
};

TEST_F(SaveDataTest, EveryKindAndFormatHoldsTheCapturedWordsIBeforeQ) {
    const struct {
        const char* name;
        int dataType, format;
        bool binary;
        size_t bytesPerSample;  // per IF sample or per I/Q pair
    } cases[] = {
        {"IF text", 0, 0, false, 0},      {"IF binary", 0, 0, true, 2},    {"I/Q 16 text", 1, 0, false, 0},
        {"I/Q 16 binary", 1, 0, true, 4}, {"I/Q 32 text", 1, 1, false, 0}, {"I/Q 32 binary", 1, 1, true, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t samples = capture(c.dataType, c.format, 3000);
        std::vector<double> expected;
        if (c.dataType == 0)
            expected.assign(capturedData.ifData.begin(), capturedData.ifData.end());
        else if (c.format == 0)
            expected = interleaved(capturedData.iData16, capturedData.qData16);
        else
            expected = interleaved(capturedData.iData32, capturedData.qData32);
        ASSERT_EQ(expected.size(), c.dataType == 0 ? samples : 2 * samples);

        const std::string path = dir + "/" + std::to_string(&c - cases) + (c.binary ? ".dat" : ".txt");
        save(c.binary ? MAINMENU_FILE_SAVEBINARY : MAINMENU_FILE_SAVEASCII, path);
        const auto dialogs = fe.popupsOf(ui::PopupKind::FileSelect);
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].fileRequest.defaultDirectory, dir);
        EXPECT_EQ(dialogs[0].fileRequest.buttonLabel, VAL_SAVE_BUTTON);
        const std::string saved =
            c.binary ? "Saved Captured Data to Binary File" : "Saved Captured Data to ASCII File";
        ASSERT_EQ(fe.countPopups(saved), 1) << fe.popups().back().title << ": " << fe.popups().back().text;
        EXPECT_EQ(fe.popups().back().text, "Data written to file \"" + path + "\".");
        expectIdle();

        const std::string data = readText(path);
        std::vector<double> got;
        if (c.binary) {
            ASSERT_EQ(data.size(), samples * c.bytesPerSample);
            got = littleEndianValues(data, c.format == 1 ? 4 : 2, false);
        } else {
            for (const std::string& line : lines(data)) {
                ASSERT_TRUE(std::regex_match(line, std::regex("-?[1-9][0-9]*|0"))) << line;
                got.push_back(std::stod(line));
            }
        }
        EXPECT_EQ(got, expected);
        fe.clearPopups();
    }
    // Only the files the operator chose: no temporary or metadata file beside them.
    EXPECT_EQ(filesIn(dir).size(), 6u);
}

TEST_F(SaveDataTest, SavingDuringARepeatRunLeavesItMeasuring) {
    capture(0, 0, 2048);
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));
    std::string during;
    fe.post([&] {
        save(MAINMENU_FILE_SAVEBINARY, dir + "/during.dat");
        during = op.shows(p, MAINPANEL_MEAS_STATUS);
        EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_MEASURE_STATUS), VAL_GREEN);
        fe.post([&] { EXPECT_TRUE(op.press(p, MAINPANEL_CMD_STOP)); });
    });
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    EXPECT_EQ(during, "Measuring");
    EXPECT_EQ(readText(dir + "/during.dat").size(), 2048u * 2);
    expectIdle();
}

TEST_F(SaveDataTest, FailuresReportAndLeaveTheOldFileAndTheIndicatorsAlone) {
    // Nothing captured yet: the message, and no file dialog.
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FILE_SAVEASCII));
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].text, "Captured Data is not valid");

    capture(1, 1, 4096);
    const std::string old = dir + "/old.dat";
    std::ofstream(old) << "the previous file\n";

    // Cancelled: nothing at all happens.
    fe.cancelFile();
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FILE_SAVEBINARY));
    EXPECT_EQ(fe.popups().size(), 1u);

    // A folder that is not there, and a folder given as the file: the driver's file-open failure.
    for (const std::string& path : {dir + "/missing/x.dat", dir}) {
        fe.clearPopups();
        save(MAINMENU_FILE_SAVEBINARY, path);
        ASSERT_EQ(fe.countPopups("4120 Driver Error"), 1) << path;
        EXPECT_NE(fe.popups().back().text.find("Failed to open file"), std::string::npos);
        expectIdle();
    }

    // A full disk: the file may not grow past a few kilobytes, so the save of 32 KiB fails part way.
    fe.clearPopups();
    {
        FullDisk disk(4096);
        ASSERT_TRUE(disk.ok());
        save(MAINMENU_FILE_SAVEBINARY, old);
    }
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(fe.countPopups("Saved Captured Data to Binary File"), 0);
    EXPECT_EQ(readText(old), "the previous file\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"old.dat"});
    expectIdle();

    // The same save with room replaces it.
    save(MAINMENU_FILE_SAVEBINARY, old);
    EXPECT_EQ(readText(old).size(), 4096u * 8);
}

TEST_F(SaveDataTest, TraceFileHasALinePerTracePointAndTheMessageGivesTheFftLength) {
    // No capture: nothing happens. A valid record whose spectrum was never drawn: no trace to save.
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FFTDISP_SAVEFFT));
    EXPECT_TRUE(fe.popups().empty());
    capturedData.dataValid = 1;
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FFTDISP_SAVEFFT));
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].text, "No FFT Trace data to save");

    const std::string path = dir + "/trace.txt";
    fe.answerFile(path);
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FFTDISP_FILESET));
    const struct {
        int dataType;
        uint32_t fftLength, lines;
    } cases[] = {{0, 2048, 1024}, {1, 1024, 1025}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataType);
        capture(c.dataType, 0, 4096, c.fftLength);
        ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FFTDISP_SAVEFFT));
        ASSERT_EQ(fe.popups().size(), 1u);
        EXPECT_EQ(fe.popups()[0].text,
                  std::to_string(c.fftLength) + " point FFT trace data saved to \"" + path + "\"");
        const std::vector<std::string> got = lines(readText(path));
        ASSERT_EQ(got.size(), c.lines);
        ASSERT_EQ(fftTraceLevelDbm.size(), c.lines);
        for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_TRUE(std::regex_match(got[i], std::regex(R"(-?\d\.\d{6}e[+-]\d\d,)"))) << got[i];
            EXPECT_NEAR(std::stod(got[i]), fftTraceLevelDbm[i], 5e-7 * std::abs(fftTraceLevelDbm[i])) << i;
        }
        if (c.dataType == 1) {
            EXPECT_EQ(got[c.lines - 1], got[c.lines - 2]);
        }
    }
    // A file that cannot be made: said so, the old name kept for the next try.
    fe.answerFile(dir + "/missing/trace.txt");
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FFTDISP_FILESET));
    fe.clearPopups();
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FFTDISP_SAVEFFT));
    ASSERT_EQ(fe.countPopups("FFT Trace"), 1);
    EXPECT_NE(fe.popups()[0].text.find("could not be written"), std::string::npos);
}

TEST_F(SaveDataTest, SigmfMetadataDescribesEachBinaryFileWhileTheOptionIsOn) {
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_FILE_SIGMF));
    char serial[QM4120_TEXT_SIZE] = {};
    ASSERT_GE(qm4120_getSerialNumber(session, serial), 0);

    const struct {
        const char* name;
        bool optionOn;
        int dataType, format;
        bool duringCapture;  // the binary capture destination, else a save from the File menu
        const char* file;    // the data file; its metadata file
        const char* meta;
        const char* datatype;
        size_t bytesPerSample;
    } cases[] = {
        {"capture destination, IF", true, 0, 0, true, "cap.dat", "cap.dat.sigmf-meta", "ri16_le", 2},
        {"saved, I/Q 32", true, 1, 1, false, "rec.sigmf-data", "rec.sigmf-meta", "ci32_le", 8},
        {"saved, I/Q 16", true, 1, 0, false, "iq16.bin", "iq16.bin.sigmf-meta", "ci16_le", 4},
        {"option off", false, 1, 0, false, "off.bin", "", "", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.optionOn != op.menuChecked(bar, MAINMENU_FILE_SIGMF)) {
            ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_FILE_SIGMF));
        }
        EXPECT_EQ(op.menuChecked(bar, MAINMENU_FILE_SIGMF), c.optionOn);
        const std::string data = dir + "/" + c.file;
        if (c.duringCapture) {
            ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_TOBINFILE));
            fe.answerFile(data);
            ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_FILESET));
        }
        const uint32_t samples = capture(c.dataType, c.format, 2000);
        if (c.duringCapture)
            ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_TOSCRN));
        else
            save(MAINMENU_FILE_SAVEBINARY, data);
        EXPECT_EQ(readText(data).size(), samples * c.bytesPerSample);
        if (!c.optionOn) {
            EXPECT_EQ(filesIn(dir).size(), 7u);  // the three pairs before, and this file alone
            continue;
        }
        const nlohmann::json meta = nlohmann::json::parse(readText(dir + "/" + c.meta), nullptr, false);
        ASSERT_TRUE(meta.is_object());
        const nlohmann::json& global = meta["global"];
        EXPECT_EQ(global.value("core:datatype", ""), c.datatype);
        double rate = 0, centre = 0;
        qm4120_getDecimatedSamplingFrequency(session, &rate);
        qm4120_getRfFrequency(session, &centre);
        EXPECT_DOUBLE_EQ(global.value("core:sample_rate", 0.0), rate);
        EXPECT_DOUBLE_EQ(meta["captures"][0].value("core:frequency", 0.0), centre);
        // A data file not named NAME.sigmf-data is named in the metadata.
        const bool conforming = std::string(c.file).ends_with(".sigmf-data");
        EXPECT_EQ(global.value("core:dataset", ""), conforming ? "" : c.file);
        EXPECT_EQ(global.value("qm4120:serial_number", ""), serial);
        const nlohmann::json& settings = global["qm4120:settings"];
        EXPECT_EQ(settings.value("word_bits", 0), c.format == 1 ? 32 : 16);
        // On the RF input the module sets the band upright itself; the words are written as they came.
        EXPECT_EQ(settings.value("iq_exchanged", true), false);
        EXPECT_EQ(settings.value("spectrum_inverted", true), false);
        EXPECT_EQ(settings.value("resource", ""), "0x4120");
    }
}

// A save killed at any moment leaves the old file or the whole new one, never a part.
TEST(SaveDataKill, AKilledSaveLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.file("data.dat");
    const std::string old = "the previous file\n";
    std::ofstream(path) << old;
    CapturedData data;
    data.sampleDataType = 1;
    data.sampleOutputFormat = 1;
    data.numIqSamples = 1u << 20;
    data.numIqWords = data.numWords = 2u << 20;
    data.iqData32.resize(data.numIqWords);
    for (uint32_t k = 0; k < data.numIqWords; ++k) data.iqData32[k] = static_cast<int32_t>(k * 2654435761u);
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            ReplacingFile file(path);
            _exit(file.create() && writeCapturedData(data, file, true) == 0 ? 0 : 1);
        }
        // Kills spread over the save's length; the last save is let finish.
        if (round < 19) {
            usleep(static_cast<useconds_t>(round * 4000));
            kill(child, SIGKILL);
        }
        waitpid(child, nullptr, 0);
        const std::string now = readText(path);
        if (now == old) {
            ++sawOld;
        } else {
            ASSERT_EQ(now.size(), data.numIqWords * 4u) << "round " << round;
            EXPECT_EQ(littleEndianValues(now, 4, false),
                      std::vector<double>(data.iqData32.begin(), data.iqData32.end()));
            ++sawNew;
            std::ofstream(path) << old;
        }
    }
    // Early kills find the old file; the finished save is read back whole.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}
