// The reference-lock monitor calls the module from its own thread while the panel works on the main
// thread; sessions also come and go while another thread is still calling. Nothing may tear or crash.

#include <atomic>
#include <thread>
#include <vector>

#include "fixture.h"

namespace {

using ThreadsTest = SimTest;

TEST_F(ThreadsTest, TwoThreadsHammeringOneSessionSeeOnlyWholeValues) {
    Module m(0x4A20);
    const double frequencies[] = {1.0e9, 1.5e9, 2.2e9};
    std::atomic<bool> stop{false};
    std::atomic<int> badReads{0};
    std::atomic<int> failures{0};

    std::thread monitor([&] {
        while (!stop.load()) {
            uint16_t source = 9, locked = 9, latched = 9;
            double hz = 0.0, lo = 0.0;
            if (qm4120_controlGetListAddrSource(m.vi(), &source) != 0) ++failures;
            if (qm4120_controlGetIfRefState(m.vi(), &locked, &latched) != 0) ++failures;
            if (qm4120_appGetRfFrequency(m.vi(), &hz) != 0) ++failures;
            if (qm4120_controlGetLoFrequency(m.vi(), &lo) != 0) ++failures;
            bool known = hz == 2.0e9;
            for (double f : frequencies) known = known || hz == f;
            if (!known || locked != 1) ++badReads;
        }
    });
    for (int i = 0; i < 20000; ++i) {
        if (qm4120_appSetRfFrequency(m.vi(), frequencies[i % 3]) != 0) ++failures;
        if (qm4120_appSetActiveChan(m.vi(), static_cast<uint16_t>(i % 2)) != 0) ++failures;
        if (qm4120_appSetRfFrequencyChan(m.vi(), frequencies[(i + 1) % 3], 1) != 0) ++failures;
        uint32_t words = 0;
        if (qm4120_registerWriteFieldVal(m.vi(), 2, 0, 32, static_cast<uint32_t>(i), 1) != 0) ++failures;
        if (qm4120_registerReadFieldVal(m.vi(), 2, 0, 32, &words) != 0) ++failures;
    }
    stop = true;
    monitor.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(badReads.load(), 0);
}

TEST_F(ThreadsTest, SessionsClosingUnderACallerAnswerInvalidSessionInsteadOfCrashing) {
    uint32_t rm = 0;
    uint32_t vi = 0;
    ASSERT_EQ(korvo_viOpenDefaultRM(&rm), 0);
    ASSERT_EQ(korvo_viOpen(rm, "0x4125", 0, 0, &vi), 0);
    std::atomic<bool> stop{false};
    std::atomic<int> unexpected{0};
    std::thread caller([&] {
        std::vector<int16_t> words(256);
        while (!stop.load()) {
            uint16_t locked = 0, latched = 0;
            const int32_t a = qm4120_controlGetIfRefState(vi, &locked, &latched);
            const int32_t b = qm4120_controlDataCapture(vi, 0, 256);
            const int32_t c = qm4120_controlDataAcquire(vi, 0, 256, words.data());
            if ((a != 0 && a != -1) || (b != 0 && b != -1) || (c != 0 && c != -1 && c != -13)) ++unexpected;
        }
    });
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(qm4120_instrumentCreate(vi, 1), 0);
        qm4120_appSetRfInputLevel(vi, -10.0);
        ASSERT_EQ(qm4120_instrumentDelete(vi), 0);
    }
    stop = true;
    caller.join();
    EXPECT_EQ(unexpected.load(), 0);
    korvo_viClose(rm);
}

}  // namespace
