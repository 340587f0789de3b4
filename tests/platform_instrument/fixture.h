// An instrument session on one simulated module, opened the way the driver opens it.
#ifndef TESTS_PLATFORM_INSTRUMENT_FIXTURE_H
#define TESTS_PLATFORM_INSTRUMENT_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <source_location>
#include <type_traits>

#include "pxi_korvo.h"
#include "qm4120_pb_lib.h"
#include "qm4120_pb_sim.h"
#include "qm_faults.h"

class Module {
  public:
    explicit Module(uint16_t model) {
        qm4120_simSetFpgaCheckFailEvery(0);
        korvo_viOpenDefaultRM(&rm_);
        char resource[16];
        std::snprintf(resource, sizeof resource, "0x%04X", model);
        korvo_viOpen(rm_, resource, 0, 0, &vi_);
        createStatus_ = qm4120_instrumentCreate(vi_, 1);
    }
    ~Module() {
        qm4120_instrumentDelete(vi_);
        korvo_viClose(rm_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    uint32_t vi() const { return vi_; }
    int32_t createStatus() const { return createStatus_; }

  private:
    uint32_t rm_ = 0;
    uint32_t vi_ = 0;
    int32_t createStatus_ = 0;
};

// Every test starts from a clean fault table, the default signal and factory EEPROM contents (they
// outlive a session, so one test's commits would otherwise reach the next).
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qm4120_simResetAll();
        qm_fault_clear_all();
        qm4120_simSetSignal("");
    }
    void TearDown() override { qm_fault_clear_all(); }
};

// What a getter reads back, for use inside an assertion. The value starts as one no module reports
// (NaN, or the type's largest), so a getter that answers 0 without writing cannot pass; a refused read
// fails at the caller's line.
template <class T>
T unread() {
    if constexpr (std::numeric_limits<T>::has_quiet_NaN) return std::numeric_limits<T>::quiet_NaN();
    return std::numeric_limits<T>::max();
}

template <class T>
T got(int32_t (*get)(uint32_t, T*), uint32_t vi, std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()), "read back here");
    T value = unread<T>();
    EXPECT_EQ(get(vi, &value), 0);
    return value;
}

// The same for a per-channel or per-item getter whose index follows the output.
template <class T, class I>
T got(int32_t (*get)(uint32_t, T*, I), uint32_t vi, std::type_identity_t<I> index,
      std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()), "read back here");
    T value = unread<T>();
    EXPECT_EQ(get(vi, &value, index), 0);
    return value;
}

constexpr uint16_t MODELS[] = {0x4120, 0x4A20, 0x4B20, 0x4125};

// A module clock that moves only when the test moves it (qm4120_simSetClock).
struct FakeClock {
    double seconds = 0.0;
    double waited = 0.0;
    std::function<void()> duringWait;  // what "another thread" does while a transfer waits
    static double now(void* self) { return static_cast<FakeClock*>(self)->seconds; }
    static void wait(void* self, double s) {
        auto* c = static_cast<FakeClock*>(self);
        c->seconds += s;
        c->waited += s;
        if (c->duringWait) c->duringWait();
    }
};

// A SimTest whose module runs on a FakeClock that only the test moves.
class ClockedSimTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        qm4120_simSetClock(&FakeClock::now, nullptr, &clock);
    }
    void TearDown() override {
        qm4120_simSetClock(nullptr, nullptr, nullptr);
        SimTest::TearDown();
    }

    // Lets module time pass in steps of `stepS` until the capture is complete or `limitS` has gone by.
    // Returns whether it completed.
    bool passUntilComplete(uint32_t vi, double limitS, double stepS) {
        for (double waited = 0.0; waited <= limitS; waited += stepS) {
            uint16_t complete = 0;
            EXPECT_EQ(qm4120_controlGetCaptureComplete(vi, &complete), 0);
            if (complete) return true;
            clock.seconds += stepS;
        }
        return false;
    }

    FakeClock clock;
};

#endif
