// The engineering panel: its layout per model, the RF-board latch, register access, the test tone, the
// serial number, blanking the EEPROMs, the group-delay filter switch and the group-delay calibration.
#include <cmath>
#include <ctime>

#include "eng_fixture.h"
#include "instrument_info.h"
#include "panel_spectrum.h"

namespace {

using EngPanelTest = EngFixture;

int intAttribute(int panel, int control, int attribute) {
    int value = -1;
    GetCtrlAttribute(panel, control, attribute, &value);
    return value;
}

unsigned shownWord(int panel, int control) {
    unsigned value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

// The latch boxes by the number printed beside them, "3" to "18".
int latchBox(int label) {
    constexpr int BOXES[] = {
        ENGPANEL_CHECK_4125D3BIT3,  ENGPANEL_CHECK_4125D3BIT4,  ENGPANEL_CHECK_4125D3BIT5,
        ENGPANEL_CHECK_4125D3BIT6,  ENGPANEL_CHECK_4125D3BIT7,  ENGPANEL_CHECK_4125D3BIT8,
        ENGPANEL_CHECK_4125D3BIT9,  ENGPANEL_CHECK_4125D3BIT10, ENGPANEL_CHECK_4125D3BIT11,
        ENGPANEL_CHECK_4125D3BIT12, ENGPANEL_CHECK_4125D3BIT13, ENGPANEL_CHECK_4125D3BIT14,
        ENGPANEL_CHECK_4125D3BIT15, ENGPANEL_CHECK_4125D3BIT16, ENGPANEL_CHECK_4125D3BIT17,
        ENGPANEL_CHECK_4125D3BIT18};
    return BOXES[label - 3];
}

TEST_F(EngPanelTest, LayoutFollowsTheBootedModel) {
    struct Case {
        uint16_t model;
        bool fivePads;  // the 4125's RF attenuator and latch
        int maxDb;
        int stepDb;
    };
    for (const Case& c : {Case{0x4125, true, 31, 1}, Case{0x4120, false, 28, 4}}) {
        SCOPED_TRACE(c.model);
        ASSERT_TRUE(bootAndOpen(c.model));
        EXPECT_EQ(intAttribute(engPanel(), ENGPANEL_RF_ATTEN, ATTR_MAX_VALUE), c.maxDb);
        EXPECT_EQ(intAttribute(engPanel(), ENGPANEL_RF_ATTEN, ATTR_INCR_VALUE), c.stepDb);
        EXPECT_TRUE(op.visible(engPanel(), ENGPANEL_RF_ATTEN));
        EXPECT_EQ(op.visible(engPanel(), ENGPANEL_CHK_RFATTN1DBPAD4125), c.fivePads);
        EXPECT_EQ(op.visible(engPanel(), ENGPANEL_CHK_RFATTN16DBPAD4125), c.fivePads);
        EXPECT_EQ(op.visible(engPanel(), ENGPANEL_CHK_RFATTN4DBPAD4120), !c.fivePads);
        EXPECT_EQ(op.visible(engPanel(), ENGPANEL_CHK_RFATTN16DBPAD4120), !c.fivePads);
        EXPECT_EQ(op.visible(engPanel(), ENGPANEL_TEXT_4125D3LATCH), c.fivePads);
        EXPECT_EQ(op.visible(engPanel(), latchBox(3)), c.fivePads);
        EXPECT_EQ(op.visible(engPanel(), latchBox(18)), c.fivePads);
        ASSERT_TRUE(op.press(engPanel(), ENGPANEL_CLOSEBUTTON));
        EXPECT_FALSE(op.panelShown(engPanel()));
    }
}

TEST_F(EngPanelTest, LatchBoxesMakeTheBoardWord) {
    struct Case {
        std::vector<int> boxes;
        uint16_t word;
    };
    ASSERT_TRUE(bootAndOpen(0x4125));
    const uint32_t vi = getQM4120id();
    for (const Case& c :
         {Case{{3}, 0x0001}, Case{{18}, 0x8000}, Case{{4, 11}, 0x0102}, Case{{3, 10, 17}, 0x4081}}) {
        SCOPED_TRACE(c.word);
        for (int label = 3; label <= 18; ++label) {
            int checked = 0;
            GetCtrlVal(engPanel(), latchBox(label), &checked);
            if (!checked) continue;
            ASSERT_TRUE(op.toggle(engPanel(), latchBox(label)));
        }
        for (int label : c.boxes) ASSERT_TRUE(op.toggle(engPanel(), latchBox(label)));
        uint16_t latched = 0;
        ASSERT_GE(qm4120_get4125D3Latch(vi, &latched), 0);
        EXPECT_EQ(latched, c.word);
    }
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(EngPanelTest, RegisterReadShowsTheLibraryCopyNotADirectWrite) {
    ASSERT_TRUE(bootAndOpen(0x4120));
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_WREGNUM, 5));
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_WREGVAL, 0x12345678));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_WREGWRITE));
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_WREGVAL, 0));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_WREGRD));
    EXPECT_EQ(shownWord(engPanel(), ENGPANEL_WREGVAL), 0x12345678u);

    // Write registers sit at 0x20 onwards in the FPGA's numbering: a direct write changes the hardware
    // but not what the library remembers.
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_REGNUM, 0x25));
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_REGVAL, 0xCAFEF00Du));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_REGWR));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_WREGRD));
    EXPECT_EQ(shownWord(engPanel(), ENGPANEL_WREGVAL), 0x12345678u);
    EXPECT_TRUE(fe.popups().empty());

    // A register the library does not have is its error, reported and not shown.
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_RREGNUM, 200));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_RREGRD));
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1);
}

uint16_t testToneBit(uint32_t vi, uint16_t bit = 20) {
    uint16_t value = 99;
    EXPECT_EQ(qm4120_regReadBit(vi, 0, bit, &value), 0);
    return value;
}

// Bit 20 of the acquisition control register injects a tone 1.25 MHz above the IF centre; the test-tone
// switch sets and clears that bit alone, and a register write through the panel reaches it too.
TEST_F(EngPanelTest, TestToneSwitchAndRegisterWritePutTheToneInTheNextCapture) {
    ASSERT_TRUE(bootAndOpen(0x4A20));
    const uint32_t vi = getQM4120id();
    ASSERT_EQ(qm4120_simSetSignal("tone_level=-120"), 0);
    ASSERT_GE(qm4120_setInputSource(vi, 0), 0);
    ASSERT_GE(qm4120_setSampleDataType(vi, 0), 0);
    auto toneShows = [&] {
        const Peak p = capturePeak(vi);
        return std::abs(p.frequencyHz - (46.08e6 + 1.25e6)) <= p.binHz * 1.01 && p.levelDbm > -40.0;
    };
    ASSERT_EQ(testToneBit(vi), 0);
    EXPECT_FALSE(toneShows());

    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_TESTTONE, 1));
    EXPECT_EQ(testToneBit(vi), 1);
    EXPECT_EQ(testToneBit(vi, 21), 0) << "neighbouring bits are left alone";
    EXPECT_TRUE(toneShows());
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_TESTTONE, 0));
    EXPECT_EQ(testToneBit(vi), 0);
    EXPECT_FALSE(toneShows());

    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_WREGNUM, 0));
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_WREGVAL, 1u << 20));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_WREGWRITE));
    EXPECT_TRUE(toneShows());
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}

TEST_F(EngPanelTest, SerialNumberNeedsAModuleAndReachesTheMainPanel) {
    ASSERT_TRUE(bootAndOpen(0x4125));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_READSERIAL));
    ASSERT_NE(op.shows(engPanel(), ENGPANEL_ENGREADSERIAL), "");
    ASSERT_TRUE(op.commitText(engPanel(), ENGPANEL_ENGSERIAL, "SN-0042"));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_SETSERIAL));
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_SERIAL), "SN-0042");
    EXPECT_EQ(op.shows(engPanel(), ENGPANEL_ENGREADSERIAL), "");
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_READSERIAL));
    EXPECT_EQ(op.shows(engPanel(), ENGPANEL_ENGREADSERIAL), "SN-0042");
    EXPECT_TRUE(fe.popups().empty());

    // The module goes away under the open panel: both buttons say so and leave the module alone.
    const uint32_t vi = getQM4120id();
    appState.instrumentBooted = 0;
    ASSERT_TRUE(op.commitText(engPanel(), ENGPANEL_ENGSERIAL, "SN-9999"));
    for (int button : {ENGPANEL_SETSERIAL, ENGPANEL_READSERIAL}) {
        fe.clearPopups();
        ASSERT_TRUE(op.press(engPanel(), button));
        ASSERT_EQ(fe.popups().size(), 1u);
        EXPECT_EQ(fe.popups()[0].text, "Please boot 4120 first");
    }
    char serial[QM4120_TEXT_SIZE] = {};
    ASSERT_GE(qm4120_getSerialNumber(vi, serial), 0);
    EXPECT_STREQ(serial, "SN-0042");
    appState.instrumentBooted = 1;
}

TEST_F(EngPanelTest, BlankingTheEepromsAsksFirst) {
    ASSERT_TRUE(bootAndOpen(0x4120));
    const uint32_t vi = getQM4120id();
    char serial[QM4120_TEXT_SIZE] = {};
    ASSERT_GE(qm4120_getSerialNumber(vi, serial), 0);
    ASSERT_STRNE(serial, "");

    fe.expectConfirm(0);
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_BLANK_EEPROM_BUTTON));
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].text, "BLANK all eeproms.\n\nAre you sure?");
    char after[QM4120_TEXT_SIZE] = {};
    ASSERT_GE(qm4120_getSerialNumber(vi, after), 0);
    EXPECT_STREQ(after, serial);

    fe.expectConfirm(1);
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_BLANK_EEPROM_BUTTON));
    ASSERT_GE(qm4120_getSerialNumber(vi, after), 0);
    EXPECT_STREQ(after, "");
}

TEST_F(EngPanelTest, BypassBoxSwitchesTheGroupDelayFilter) {
    ASSERT_TRUE(bootAndOpen(0x4B20));
    const uint32_t vi = getQM4120id();
    uint16_t enabled = 9;
    for (uint16_t expected : {uint16_t(0), uint16_t(1)}) {
        ASSERT_TRUE(op.toggle(engPanel(), ENGPANEL_GRPDEL_FPGA_FILT_CHK));
        ASSERT_GE(qm4120_getGrpDelFilterEnable(vi, &enabled), 0);
        EXPECT_EQ(enabled, expected);
    }
}

std::string clockText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

TEST_F(EngPanelTest, GroupDelayCalibrationIsStampedWithTheTimeItStarted) {
    ASSERT_TRUE(bootAndOpen(0x4125));
    const uint32_t vi = getQM4120id();
    ASSERT_GE(qm4120_cal_IFDigGrpDel_Commit(vi, 2001, 1, 1, 0, 0, 0), 0);
    fe.watchPopups([&](const ui::PopupRecord&) { EXPECT_FALSE(fe.busy()); });
    const std::string before = clockText();
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_GRPDEL_CALBUTTON));
    const std::string after = clockText();
    fe.watchPopups(nullptr);

    ASSERT_EQ(fe.popups().size(), 1u);
    uint16_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    ASSERT_GE(qm4120_getCalIFDigGrpDelTimeStamp(vi, &y, &mo, &d, &h, &mi, &s), 0);
    const std::string stored = formatTimeStamp(y, mo, d, h, mi, s);
    EXPECT_EQ(fe.popups()[0].text, "Cal committed " + stored);
    EXPECT_LE(before, stored);
    EXPECT_LE(stored, after);
    // The stored correction now matches what the module measures.
    fe.clearPopups();
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_GRPDEL_TESTBUTTON));
    EXPECT_TRUE(fe.popups().empty());

    appState.instrumentBooted = 0;
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_GRPDEL_CALBUTTON));
    EXPECT_TRUE(fe.popups().empty());
    appState.instrumentBooted = 1;
}

}  // namespace
