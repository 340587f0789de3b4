// List mode moving the front end: the external address lines and the external strobe line from the
// scenario, and the tuning in use following the list address.

#include "fixture.h"

namespace {

using ListSteppingTest = ClockedSimTest;

// The channel the front end is tuned to, told apart by each channel's own RF frequency.
int tunedChannel(uint32_t vi) {
    return static_cast<int>((got(qm4120_appGetRfFrequency, vi) - 1.0e9) / 1.0e6 + 0.5);
}

TEST_F(ListSteppingTest, AddressLinesAndStrobeLineMoveTheTuningInUse) {
    ASSERT_EQ(qm4120_simSetSignal("list_address=3, list_strobe_us=200"), 0);
    Module m(0x4A20);
    for (uint16_t ch = 0; ch < 10; ++ch)
        ASSERT_EQ(qm4120_appSetRfFrequencyChan(m.vi(), 1.0e9 + ch * 1.0e6, ch), 0);
    EXPECT_EQ(tunedChannel(m.vi()), 0);

    // External source: the address lines say 3, whatever the count range.
    ASSERT_EQ(qm4120_controlSetListCountStartStop(m.vi(), 7, 9), 0);
    ASSERT_EQ(qm4120_controlSetListAddrSource(m.vi(), 1), 0);
    EXPECT_EQ(tunedChannel(m.vi()), 3);
    EXPECT_EQ(got(qm4120_appGetActiveChan, m.vi()), 3);

    // Counter on the external strobe: one step per 200 us pulse, 7, 8, 9, 7, ...; the 100 us timer
    // dwell has nothing to do with it.
    ASSERT_EQ(qm4120_controlSetListTimerDwell(m.vi(), 100.0), 0);
    ASSERT_EQ(qm4120_controlSetListCounterStrobe(m.vi(), 0), 0);
    ASSERT_EQ(qm4120_controlSetListAddrSource(m.vi(), 2), 0);
    clock.seconds += 100e-6;
    for (int expected : {7, 8, 9, 7}) {
        EXPECT_EQ(tunedChannel(m.vi()), expected);
        clock.seconds += 200e-6;
    }
    // Manual again: the channel set by hand.
    ASSERT_EQ(qm4120_controlSetListAddrSource(m.vi(), 0), 0);
    EXPECT_EQ(tunedChannel(m.vi()), 0);

    // A strobe line that never fires leaves the counter at its start.
    ASSERT_EQ(qm4120_simSetSignal("list_strobe_us=0"), 0);
    ASSERT_EQ(qm4120_controlSetListAddrSource(m.vi(), 2), 0);
    clock.seconds += 1.0;
    EXPECT_EQ(tunedChannel(m.vi()), 7);
    EXPECT_EQ(qm4120_simSetSignal("list_address=128"), -3);
    qm4120_simSetClock(nullptr, nullptr, nullptr);
    qm4120_simSetSignal("");
}

}  // namespace
