// The edit-range panel on the simulated module: one field over a range of channels after a confirmation,
// the main panel's channel through the main panel, and one combined status per action.
#include <cstdint>
#include <string>
#include <vector>

#include "channel_fixture.h"

namespace {

constexpr int RED = 0xFF0000;

class EditRange : public ChannelFixture {
  protected:
    void SetUp() override {
        ChannelFixture::SetUp();
        if (HasFatalFailure()) return;
        open(0x4A20);
        ASSERT_TRUE(op.press(chan(), CHANPANEL_EDITALL));
    }
    void range(int from, int to) {
        ASSERT_TRUE(op.commit(editAll(), CHEDITALL_RANGETO, to));
        ASSERT_TRUE(op.commit(editAll(), CHEDITALL_RANGEFROM, from));
    }
};

TEST_F(EditRange, WholeRangeWritesEachChannelOnceAndTheMainChannelThroughTheMainPanel) {
    ASSERT_TRUE(op.commit(main(), MAINPANEL_CHANNEL, 5));
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_RF_DIMENSIONS, "dBuV"));
    range(0, 127);
    // Every per-channel write but the last fails: if channel 5 were also written directly, or any channel
    // twice, or one skipped, channel 127 would not be the one that takes the level.
    qm_fault_set("qm4120_appSetRfInputLevelChan", -3, 126);
    ASSERT_TRUE(op.commit(editAll(), CHEDITALL_RFLEVEL, -30.0));
    EXPECT_EQ(op.bgColor(editAll(), CHEDITALL_RFLEVELSET), RED);
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_RFLEVELSET));
    qm_fault_clear_all();
    EXPECT_EQ(fe.popups().front().title, "Confirm Action");
    EXPECT_EQ(fe.popups().front().text, "Set RF Level for channels 0 to 127.\n\nAre you sure?");
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
    EXPECT_DOUBLE_EQ(channelValue(qm4120_getRfInputLevelChan, 127), -30.0);
    EXPECT_DOUBLE_EQ(channelValue(qm4120_getRfInputLevelChan, 5), -30.0);
    EXPECT_NE(channelValue(qm4120_getRfInputLevelChan, 126), -30.0);
    EXPECT_NE(channelValue(qm4120_getRfInputLevelChan, 0), -30.0);
    // The main panel shows its channel's level in its unit: -30 dBm is 77 dBuV.
    EXPECT_NEAR(number(MAINPANEL_RF_INPUT_LEVEL), 77.0, 1e-9);
    EXPECT_EQ(cell(127, 4), "77.00");
    EXPECT_EQ(cell(5, 4), "77.00");
    EXPECT_NE(op.bgColor(editAll(), CHEDITALL_RFLEVELSET), RED);
}

TEST_F(EditRange, RangesAwayFromTheMainChannelAndDeclinedConfirmations) {
    const double ifHz = MODEL_SPECS[1].ifHz;
    const double mainHz = number(MAINPANEL_RF_FREQ);
    range(10, 12);
    // The range cannot be reversed.
    EXPECT_EQ(numberAttribute(editAll(), CHEDITALL_RANGEFROM, ATTR_MAX_VALUE), 12.0);
    EXPECT_EQ(numberAttribute(editAll(), CHEDITALL_RANGETO, ATTR_MIN_VALUE), 10.0);

    ASSERT_TRUE(op.commit(editAll(), CHEDITALL_FREQ, 1.1e9));
    fe.expectConfirm(0);
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_FREQSET));
    EXPECT_EQ(op.bgColor(editAll(), CHEDITALL_FREQSET), RED);
    for (int ch = 10; ch <= 12; ++ch) EXPECT_NE(channelValue(qm4120_getRfFrequencyChan, ch), 1.1e9);

    ASSERT_TRUE(op.press(editAll(), CHEDITALL_FREQSET));
    ASSERT_TRUE(op.toggle(editAll(), CHEDITALL_LOPOS));
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_LOPOSSET));
    for (int ch = 9; ch <= 13; ++ch) {
        const bool inRange = ch >= 10 && ch <= 12;
        EXPECT_EQ(channelValue(qm4120_getRfFrequencyChan, ch) == 1.1e9, inRange) << ch;
        EXPECT_EQ(cell(ch, 1) == "1100000000", inRange) << ch;
        EXPECT_EQ(channelValue(qm4120_getLoOffsetChan, ch) == -ifHz, inRange) << ch;
        EXPECT_EQ(cell(ch, 2), inRange ? "Below" : "Above") << ch;
    }
    EXPECT_EQ(number(MAINPANEL_RF_FREQ), mainHz);
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}

TEST(RangeStatus, AnErrorBeatsAWarningWhateverTheOrderAndTheFirstOfEachKindIsKept) {
    struct Case {
        std::vector<int32_t> statuses;
        int32_t reported;
    };
    const Case cases[] = {
        {{}, 0},       {{0, 0, 0}, 0}, {{0, 2, 0}, 2},      {{1, 2}, 1},
        {{-3, 2}, -3}, {{2, -3}, -3},  {{0, 2, 0, -5}, -5}, {{-5, -3, 2}, -5},
    };
    for (const Case& c : cases) {
        int32_t status = 0;
        for (int32_t s : c.statuses) status = chanRangeCombineStatus(status, s);
        EXPECT_EQ(status, c.reported) << ::testing::PrintToString(c.statuses);
    }
}

TEST_F(EditRange, OneReportPerActionAndTheErrorWinsWhateverTheOrder) {
    // 31 dB is past this model's 28 dB RF attenuator: a clamp warning for a channel set by hand, while an
    // automatic channel accepts anything and lets the level decide.
    ASSERT_GE(qm4120_setFrontEndConfigModeChan(session(), 2, 22), 0);
    ASSERT_TRUE(op.commit(editAll(), CHEDITALL_RFATTEN, 31));

    // What the operator is told for the error alone (channel 21 is automatic and raises nothing else).
    range(21, 21);
    qm_fault_set("qm4120_appSetRfAttenuationChan", -3, 1);
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_RFATTENSET));
    ASSERT_EQ(fe.countPopups("4120 Driver Error"), 1);
    const std::string errorText = fe.popups().back().text;
    // ... and for the warning alone.
    range(22, 22);
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_RFATTENSET));
    ASSERT_EQ(fe.countPopups("4120 Driver Error"), 2);
    EXPECT_NE(fe.popups().back().text, errorText);
    EXPECT_EQ(channelValue(qm4120_getRfAttenuationChan, 22), MODEL_SPECS[1].rfAttenMax);

    // Error on channel 21, warning on 22: one report, the error's.
    range(21, 22);
    qm_fault_set("qm4120_appSetRfAttenuationChan", -3, 1);
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_RFATTENSET));
    qm_fault_clear_all();
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 3);
    EXPECT_EQ(fe.popups().back().text, errorText);

    // A warning on channel 21, then the error on 22: still one report, the error's.
    qm_fault_set("qm4120_appSetRfAttenuationChan", 2, 1);
    qm_fault_then("qm4120_appSetRfAttenuationChan", -3, 1);
    ASSERT_TRUE(op.press(editAll(), CHEDITALL_RFATTENSET));
    qm_fault_clear_all();
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 4);
    EXPECT_EQ(fe.popups().back().text, errorText);
}

}  // namespace
