// Long run on the Qt front end, offscreen: the program on its own start-up path, a module booted, 32768-point
// spectra captured in repeat mode for QM4120_SOAK_SECONDS (default ten minutes) with the operator's Start
// and Stop buttons. The resident set is sampled throughout; after the first minute it must stay flat.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "process_usage.h"
#include "qt_program.h"

namespace {

constexpr uint32_t POINTS = 32768;
// Growth of the resident set from the end of the first minute to the end of the run that still counts as
// flat: glyph and pixmap caches settle within the first captures, a leak of a capture's buffers (half a
// megabyte of samples and spectrum per run) would pass it within a few hundred captures.
constexpr double FLAT_MIB = 8.0;

double soakSeconds() {
    const char* text = std::getenv("QM4120_SOAK_SECONDS");
    const double s = text ? std::atof(text) : 600.0;
    return s > 0 ? s : 600.0;
}

void commit(int control, double value) {
    SetCtrlVal(appState.mainPanel, control, value);
    CallCtrlCallback(appState.mainPanel, control, EVENT_COMMIT, 0, 0, nullptr);
}

void commitUnsigned(int control, unsigned value) {
    SetCtrlVal(appState.mainPanel, control, value);
    CallCtrlCallback(appState.mainPanel, control, EVENT_COMMIT, 0, 0, nullptr);
}

bool click(qmqt::QtFrontend& qt, int control) {
    auto* button = qobject_cast<QAbstractButton*>(qt.controlWidget(appState.mainPanel, control));
    if (!button || !button->isEnabled()) return false;
    button->click();
    return true;
}

}  // namespace

TEST(CaptureSoakOnQt, RepeatCaptureOf32768PointSpectraKeepsMemoryFlat) {
    const double seconds = soakSeconds();
    RssSamples rss;
    uint32_t fftLength = 0, samples = 0;
    long captures = 0;
    bool stopped = false;
    const auto soak = [&](qmqt::QtFrontend& qt, QWidget& panel) {
        const uint32_t vi = bootForShots(0x4A20);
        if (!vi) return false;
        commit(MAINPANEL_DATA_TYPE, 1);  // I/Q samples
        commitUnsigned(MAINPANEL_NUM_SAMPLES, POINTS);
        commitUnsigned(MAINPANEL_RING_FFT_LEN, POINTS);
        commit(MAINPANEL_CAPTMODE, 1);  // Repeat
        qm4120_getFftLength(vi, &fftLength);
        qm4120_getNumberOfSamples(vi, &samples);
        QElapsedTimer clock;
        QTimer sampler;
        sampler.setInterval(20);
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            // Counts the captures that reached the screen since the last look (a lower bound).
            if (capturedData.dataValid) {
                ++captures;
                capturedData.dataValid = 0;
            }
            static qint64 lastSample = -1;
            const qint64 now = clock.elapsed() / 1000;
            if (now != lastSample && now % 10 == 0) {
                lastSample = now;
                rss.add(static_cast<double>(now), residentMiB());
            }
            if (!stopped && clock.elapsed() > seconds * 1000) stopped = click(qt, MAINPANEL_CMD_STOP);
        });
        clock.start();
        sampler.start();
        const bool started = click(qt, MAINPANEL_CMD_SINGLE);  // returns when the run has ended
        sampler.stop();
        saveScreenshot(&panel, "soak_repeat_capture_end");
        return started;
    };
    const QtRun run = runQtProgram(soak, Leave::FileExit, static_cast<int>(seconds * 1000) + 120000);

    EXPECT_TRUE(cleanRun(run));
    EXPECT_EQ(fftLength, POINTS);
    EXPECT_EQ(samples, POINTS);
    EXPECT_TRUE(stopped);
    ASSERT_GE(rss.size(), 3u);
    const double settled = rss.at(std::min(60.0, seconds / 2));
    std::printf(
        "soak: %.0f s, %ld captures shown, RSS MiB start %.1f (after settling %.1f) end %.1f max %.1f\n",
        rss.lastTime(), captures, rss.first(), settled, rss.last(), rss.max());
    EXPECT_GT(captures, static_cast<long>(seconds));  // the run went on: more than one capture a second
    EXPECT_LT(rss.last() - settled, FLAT_MIB);
}
