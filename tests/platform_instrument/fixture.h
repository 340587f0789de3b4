// An instrument session on one simulated module, opened the way the driver opens it.
#ifndef TESTS_PLATFORM_INSTRUMENT_FIXTURE_H
#define TESTS_PLATFORM_INSTRUMENT_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

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

#endif
