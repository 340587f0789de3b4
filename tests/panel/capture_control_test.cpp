// Capture runs from the main panel against a booted simulated module on virtual time: single and repeat
// runs, Stop and Disarm before and after the trigger, short captures, the file destinations and failures.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture_control.h"
#include "capture_values.h"
#include "file_text.h"
#include "panel_fixture.h"
#include "qm4120_sfp_uir.h"
#include "temp_dir.h"

namespace {

constexpr uint16_t TRIGGER_PXI_TRIG0 = 0;
constexpr uint16_t TRIGGER_SOFTWARE = 32;

uint32_t largestPowerOfTwoNotAbove(uint32_t n) {
    uint32_t p = 1;
    while (p * 2 <= n) p *= 2;
    return p;
}

}  // namespace

class CaptureTest : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        if (HasFatalFailure()) return;
        session = bootModule(0x4120);
        ASSERT_NE(session, 0u);
        ASSERT_EQ(qm4120_setTriggerSource(session, TRIGGER_SOFTWARE), 0);
        refreshPanelFromInstrument();
        p = state().mainPanel;
        bar = state().mainMenuBar;
    }

    // Presses `button` after the run has started: on the n-th look at the panel during the run.
    void pressDuringRun(int button, int afterEvents = 1) { fe.post(pressAfter(button, afterEvents)); }
    std::function<void()> pressAfter(int button, int afterEvents) {
        return [this, button, afterEvents] {
            if (afterEvents > 1)
                fe.post(pressAfter(button, afterEvents - 1));
            else
                pressed.push_back(op.press(p, button));
        };
    }

    uint32_t triggerCount() {
        uint32_t n = 0;
        qm4120_getTriggerCount(session, &n);
        return n;
    }

    uint32_t session = 0;
    int p = 0;
    int bar = 0;
    std::vector<::testing::AssertionResult> pressed;
};

TEST_F(CaptureTest, SingleCaptureToMemoryDimsDuringTheRunAndKeepsTheSamples) {
    ASSERT_TRUE(chooseData(1, 0, 4096));
    ASSERT_EQ(qm4120_setGenericDecimationRatio(session, 2), 0);
    ASSERT_TRUE(op.commit(p, MAINPANEL_MODN_MODE, 5));  // generic: the rate controls dim as well
    bool sawRun = false;
    fe.post([&] {
        sawRun = true;
        EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Measuring");
        EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_MEASURE_STATUS), VAL_GREEN);
        EXPECT_TRUE(op.dimmed(p, MAINPANEL_CMD_SINGLE));
        EXPECT_FALSE(op.dimmed(p, MAINPANEL_CMD_STOP));
        for (int c : {MAINPANEL_DATA_TYPE, MAINPANEL_MODN_MODE, MAINPANEL_DECIMATION_RATIO,
                      MAINPANEL_DATA_OUT_FORMAT, MAINPANEL_UNDEC_SAMPLING_RATE, MAINPANEL_SHOWFSRPANEL})
            EXPECT_TRUE(op.dimmed(p, c)) << ui::test::describe(p, c);
    });
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    EXPECT_TRUE(sawRun);
    expectIdle();
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_UNDEC_SAMPLING_RATE));
    EXPECT_EQ(capturedData.dataValid, 1);
    EXPECT_EQ(capturedData.sampleDataType, 1);
    EXPECT_EQ(capturedData.numIqSamples, 4096u);
    EXPECT_EQ(capturedData.numWords, 8192u);
    ASSERT_EQ(capturedData.iqData16.size(), 8192u);
    // A -20 dBm tone is there: the words are far from silent.
    int peak = 0;
    for (int16_t w : capturedData.iqData16) peak = std::max(peak, std::abs(static_cast<int>(w)));
    EXPECT_GT(peak, 1000);
    double rate = 0;
    qm4120_getDecimatedSamplingFrequency(session, &rate);
    EXPECT_DOUBLE_EQ(capturedData.decimatedSampleRate, rate);
    EXPECT_EQ(triggerCount(), 1u);
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(CaptureTest, AToneAboveTheInputRangeLightsTheOverloadLed) {
    ASSERT_EQ(qm4120_simSetSignal("tone_level=20"), 0);
    ASSERT_TRUE(chooseData(0, 0, 2048));
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    EXPECT_EQ(capturedData.adcOverload, 1);
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_ADC_STATUS), VAL_RED);
}

TEST_F(CaptureTest, RepeatRunEndsAfterTheCaptureInHandOnTheFirstStop) {
    ASSERT_TRUE(chooseData(0, 0, 2048));
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));
    // Stop once the third capture is under way: it completes, and no fourth follows.
    std::function<void()> stopOnThird = [&] {
        if (triggerCount() < 3)
            fe.post(stopOnThird);
        else
            pressed.push_back(op.press(p, MAINPANEL_CMD_STOP));
    };
    fe.post(stopOnThird);
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_TRUE(pressed[0]);
    EXPECT_EQ(triggerCount(), 3u);
    EXPECT_EQ(capturedData.dataValid, 1);
    EXPECT_EQ(capturedData.numIfSamples, 2048u);
    expectIdle();
}

TEST_F(CaptureTest, SwitchingToSingleDuringARepeatRunEndsIt) {
    ASSERT_TRUE(chooseData(0, 0, 16000000));
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));
    fe.post([&] { pressed.push_back(op.commit(p, MAINPANEL_CAPTMODE, 0)); });
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_TRUE(pressed[0]);
    EXPECT_EQ(captureRepeatMode, 0);
    EXPECT_EQ(triggerCount(), 1u);
    expectIdle();
}

// A long capture, so that every press comes while it is being taken. A single run's one Stop aborts it;
// a repeat run's first Stop only ends the run after the capture in hand, and the second aborts that.
// The abort keeps what had been taken: fewer samples, and an FFT no longer than them.
TEST_F(CaptureTest, AStopThatAbortsKeepsTheSamplesTakenSoFar) {
    ASSERT_TRUE(chooseData(0, 0, 16000000));
    for (int repeat : {0, 1}) {
        SCOPED_TRACE(repeat ? "repeat" : "single");
        ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, repeat));
        uint32_t fft = 0;
        qm4120_getFftLength(session, &fft);
        const uint32_t triggersBefore = triggerCount();
        pressed.clear();
        if (repeat) pressDuringRun(MAINPANEL_CMD_STOP, 1);
        pressDuringRun(MAINPANEL_CMD_STOP, 2);
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
        ASSERT_EQ(pressed.size(), repeat ? 2u : 1u);
        EXPECT_EQ(triggerCount(), triggersBefore + 1);
        const uint32_t n = capturedData.numIfSamples;
        EXPECT_GT(n, 0u);
        EXPECT_LT(n, 16000000u);
        EXPECT_EQ(capturedData.numWords, n);
        EXPECT_EQ(capturedData.ifData.size(), n);
        EXPECT_EQ(capturedData.fftLength, std::min(fft, largestPowerOfTwoNotAbove(n)));
        EXPECT_EQ(capturedData.dataValid, 1);
        expectIdle();
    }
}

TEST_F(CaptureTest, StopBeforeTheTriggerDiscardsTheCycle) {
    ASSERT_EQ(qm4120_simSetSignal("line_trigger_ms=-1"), 0);
    ASSERT_EQ(qm4120_setTriggerSource(session, TRIGGER_PXI_TRIG0), 0);
    ASSERT_TRUE(chooseData(1, 0, 2048));
    for (int repeat : {0, 1}) {
        SCOPED_TRACE(repeat ? "repeat" : "single");
        ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, repeat));
        pressed.clear();
        pressDuringRun(MAINPANEL_CMD_STOP, 5);
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
        ASSERT_EQ(pressed.size(), 1u);
        EXPECT_EQ(capturedData.dataValid, 0);
        EXPECT_EQ(triggerCount(), 0u);
        expectIdle();
    }
}

TEST_F(CaptureTest, ArmWaitsForTheTriggerAndDisarmEndsTheRun) {
    ASSERT_EQ(qm4120_simSetSignal("line_trigger_ms=-1"), 0);
    // A backplane line that nothing drives: the trigger group shows Arm and Disarm for it.
    ASSERT_TRUE(op.commitLabel(p, MAINPANEL_CAPT_TRIG, "PXI_TRIG"));
    uint16_t source = 99;
    ASSERT_EQ(qm4120_getTriggerSource(session, &source), 0);
    ASSERT_EQ(source, TRIGGER_PXI_TRIG0);
    fe.post([&] {
        EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Waiting for\ntrigger");
        EXPECT_TRUE(op.dimmed(p, MAINPANEL_CMD_ARM));
        pressed.push_back(op.press(p, MAINPANEL_CMD_DISARM));
    });
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_ARM));
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_TRUE(pressed[0]);
    EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Idle");
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_CMD_ARM));
    EXPECT_TRUE(op.dimmed(p, MAINPANEL_CMD_DISARM));
    EXPECT_EQ(capturedData.dataValid, 0);
}

TEST_F(CaptureTest, AShortCaptureShrinksTheCountsAndTheFftLength) {
    ASSERT_EQ(qm4120_simSetSignal("capture_limit=1000"), 0);
    ASSERT_TRUE(chooseData(1, 1, 4096));
    ASSERT_EQ(qm4120_setFftLength(session, 2048), 0);
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    EXPECT_EQ(capturedData.numIqSamples, 1000u);
    EXPECT_EQ(capturedData.numIqWords, 2000u);
    EXPECT_EQ(capturedData.numWords, 2000u);
    EXPECT_EQ(capturedData.fftLength, 512u);
    EXPECT_EQ(capturedData.iqData32.size(), 2000u);
}

// Each data kind to both file kinds: the file holds exactly the words the record holds.
TEST_F(CaptureTest, FileDestinationsWriteTheCapturedWords) {
    TempDir dir("qm4120_capture_files");
    struct Case {
        int dataType, format, menuItem;
        const char* title;
    };
    const Case cases[] = {
        {0, 0, MAINMENU_CAPT_TOASCFILE, "Data Capture to ASCII File"},
        {1, 0, MAINMENU_CAPT_TOASCFILE, "Data Capture to ASCII File"},
        {1, 1, MAINMENU_CAPT_TOASCFILE, "Data Capture to ASCII File"},
        {0, 0, MAINMENU_CAPT_TOBINFILE, "Data Capture to Binary File"},
        {1, 0, MAINMENU_CAPT_TOBINFILE, "Data Capture to Binary File"},
        {1, 1, MAINMENU_CAPT_TOBINFILE, "Data Capture to Binary File"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.title) + " type " + std::to_string(c.dataType) + " width " +
                     std::to_string(c.format));
        ASSERT_TRUE(chooseData(c.dataType, c.format, 256));
        ASSERT_TRUE(op.chooseMenu(bar, c.menuItem));
        const std::string path = dir.file("capture" + std::to_string(n++));
        fe.answerFile(path, VAL_NEW_FILE_SELECTED);
        fe.clearPopups();
        ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_FILESET));
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));

        ASSERT_EQ(fe.popups().size(), 2u);  // the file popup, then the message
        EXPECT_EQ(fe.popups()[1].title, c.title);
        EXPECT_EQ(fe.popups()[1].text, "Capture complete and data written to file \"" + path + "\".");
        EXPECT_EQ(fe.popups()[0].fileRequest.defaultFileSpec,
                  c.menuItem == MAINMENU_CAPT_TOBINFILE ? ".dat" : ".txt");

        // The words of the record as numbers and as the bytes of a little-endian machine.
        auto check = [&](const auto& held) {
            EXPECT_EQ(held.size(), c.dataType == 0 ? 256u : 512u);
            if (c.menuItem == MAINMENU_CAPT_TOASCFILE)
                EXPECT_EQ(textValues(readText(path)), std::vector<double>(held.begin(), held.end()));
            else
                EXPECT_EQ(readText(path), std::string(reinterpret_cast<const char*>(held.data()),
                                                      held.size() * sizeof(held[0])));
        };
        if (c.dataType == 0)
            check(capturedData.ifData);
        else if (c.format == 0)
            check(capturedData.iqData16);
        else
            check(capturedData.iqData32);
    }
}

TEST_F(CaptureTest, FileDestinationsForceSingleModeAndScreenOnlyLeavesTheMode) {
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_TOBINFILE));
    EXPECT_EQ(captureRepeatMode, 0);
    EXPECT_EQ(op.shows(p, MAINPANEL_CAPTMODE), "Single");
    EXPECT_TRUE(op.dimmed(p, MAINPANEL_CAPTMODE));
    EXPECT_EQ(op.shows(p, MAINPANEL_CAPT_MODE_MSG), "Capture to: Binary file");
    EXPECT_TRUE(op.menuChecked(bar, MAINMENU_CAPT_TOBINFILE));
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_CAPT_TOSCRN));

    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_TOSCRN));
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_CAPTMODE));
    EXPECT_EQ(op.shows(p, MAINPANEL_CAPTMODE), "Single");
    EXPECT_EQ(op.shows(p, MAINPANEL_CAPT_MODE_MSG), "Capture to: Memory");
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_CAPT_TOBINFILE));
    EXPECT_EQ(std::string(captureFileName), "data.txt");
}

// A file in a missing folder is refused before anything is captured; a full disk is reported, with no
// claim that the data were written.
TEST_F(CaptureTest, FileFailuresAreReportedAndTheRunEnds) {
    TempDir dir("qm4120_capture_missing");
    struct Case {
        std::string path;
        int32_t status;
        bool fileExists;
    };
    const Case cases[] = {
        {dir.file("no/such/folder/data.txt"), QM4120_ERROR_CAPTURE_FILE, false},
        {"/dev/full", QM4120_ERROR_CAPTURE_WRITE, true},
    };
    ASSERT_TRUE(chooseData(0, 0, 65536));
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_TOASCFILE));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        fe.answerFile(c.path, VAL_NEW_FILE_SELECTED);
        ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_CAPT_FILESET));
        fe.clearPopups();
        const uint32_t triggersBefore = triggerCount();
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
        ASSERT_EQ(fe.popups().size(), 1u);
        EXPECT_EQ(fe.popups()[0].title, "4120 Driver Error");
        char text[256] = {};
        qm4120_error_message(session, c.status, text);
        EXPECT_EQ(fe.popups()[0].text, text);
        EXPECT_EQ(capturedData.dataValid, 0);
        EXPECT_EQ(std::filesystem::exists(c.path), c.fileExists);
        // The panel armed and waited for one capture either way.
        EXPECT_EQ(triggerCount(), triggersBefore + 1);
        expectIdle();
    }
}

// Memory for the largest capture a module allows cannot always be had. In a child process whose
// address space is held to a little more than the program already uses, Start reports the allocation
// failure, reads no samples and ends the run; a capture that fits then works.
TEST_F(CaptureTest, ACaptureNoMemoryCanHoldEndsTheRunWithTheAllocationError) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory needs more address space than the limit leaves";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    uint32_t most = 0;
    ASSERT_EQ(qm4120_getMaxNumberOfIfSamples(session, &most), 0);
    ASSERT_TRUE(chooseData(0, 0, most));
    char allocText[256] = {};
    qm4120_error_message(session, QM4120_ERROR_ALLOC, allocText);
    auto underLimit = [&] {
        long pages = 0;
        if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        ASSERT_GT(pages, 0);
        const rlim_t room =
            static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (32u << 20);
        ASSERT_LT(room - static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE), 2ull * most)
            << "the limit must bite";
        const rlimit limit{room, room};
        ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);

        const uint32_t triggersBefore = triggerCount();
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
        ASSERT_EQ(fe.popups().size(), 1u);
        EXPECT_EQ(fe.popups()[0].title, "4120 Driver Error");
        EXPECT_EQ(fe.popups()[0].text, allocText);
        EXPECT_EQ(triggerCount(), triggersBefore + 1) << "armed and waited for, then not read";
        EXPECT_EQ(capturedData.dataValid, 0);
        EXPECT_TRUE(capturedData.ifData.empty());
        expectIdle();

        ASSERT_TRUE(op.commit(p, MAINPANEL_NUM_SAMPLES, 4096));
        ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
        EXPECT_EQ(fe.popups().size(), 1u);
        EXPECT_EQ(capturedData.dataValid, 1);
        EXPECT_EQ(capturedData.ifData.size(), 4096u);
    };
    EXPECT_EXIT(
        {
            underLimit();
            std::fflush(stdout);
            std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(CaptureTest, ACaptureErrorMidRunEndsTheRepeatRunWithThePopup) {
    ASSERT_TRUE(chooseData(0, 0, 2048));
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));
    qm_fault_set("qm4120_controlDataAcquire", -1, 1);
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_EQ(triggerCount(), 1u);
    EXPECT_EQ(capturedData.dataValid, 0);
    expectIdle();
}

TEST_F(CaptureTest, NothingHappensWithoutAModule) {
    closeSession();
    const int before = fe.processEventsCalls();
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    EXPECT_EQ(fe.processEventsCalls(), before);
    EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Idle");
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(CaptureTest, ABootDuringARepeatRunEndsItAndClearsTheModulesCapture) {
    ASSERT_TRUE(chooseData(0, 0, 2048));
    ASSERT_TRUE(op.commit(p, MAINPANEL_CAPTMODE, 1));
    // The clear is seen through its status: made to fail once, it raises the one error popup.
    qm_fault_set("qm4120_controlClearAfterRepeatCapt", -1, 1);
    pressDuringRun(MAINPANEL_BOOTBUTTON, 3);
    ASSERT_TRUE(op.press(p, MAINPANEL_CMD_SINGLE));
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_TRUE(pressed[0]);
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_FALSE(isActive4120());
    EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Idle");
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_MEASURE_STATUS), VAL_LT_GRAY);
}
