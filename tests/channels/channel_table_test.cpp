// The channel table on the simulated module: selection and scrolling, the link to the main panel's
// channel, editing a channel's fields (the main panel's own channel through the main panel), and the
// level cells in the display unit.
#include <string>

#include "channel_fixture.h"

namespace {

class ChannelTable : public ChannelFixture {};

TEST_F(ChannelTable, SelectionScrollsAndFollowsTheLinkOnlyWhenItIsOn) {
    open(0x4A20);
    struct Step {
        int row;  // grid row clicked (0 is the header)
        int channel;
        int top;  // first data row shown afterwards
    };
    // 20 rows fit the grid; a row off screen comes into view with four rows of context above it.
    const Step steps[] = {{128, 127, 124}, {3, 2, 1}, {0, 0, 1}, {30, 29, 26}, {27, 26, 26}};
    for (const Step& s : steps) {
        SCOPED_TRACE("row " + std::to_string(s.row));
        ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, s.row, 1));
        EXPECT_EQ(integer(chan(), CHANPANEL_CHANNEL), s.channel);
        EXPECT_EQ(topRow(), s.top);
    }
    // The link is off: selecting rows never moves the module's active channel.
    EXPECT_EQ(module(qm4120_getActiveChan), 0);
    EXPECT_EQ(integer(main(), MAINPANEL_CHANNEL), 0);

    // Switching the link on brings the table to the main panel's channel; then a selection moves both.
    ASSERT_TRUE(op.toggle(chan(), CHANPANEL_LISTLINK));
    EXPECT_EQ(integer(chan(), CHANPANEL_CHANNEL), 0);
    ASSERT_GE(qm4120_setRfFrequencyChan(session(), 1.5e9, 9), 0);
    ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, 10, 2));
    EXPECT_EQ(module(qm4120_getActiveChan), 9);
    EXPECT_EQ(integer(main(), MAINPANEL_CHANNEL), 9);
    EXPECT_DOUBLE_EQ(number(MAINPANEL_RF_FREQ), 1.5e9);
    // With the main panel's channel control dimmed, the selection stays in the table.
    SetCtrlAttribute(main(), MAINPANEL_CHANNEL, ATTR_DIMMED, 1);
    ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, 5, 1));
    EXPECT_EQ(module(qm4120_getActiveChan), 9);
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(ChannelTable, EditingTheMainChannelGoesThroughTheMainPanelAndAnyOtherOnlyWritesItsOwn) {
    open(0x4A20);
    const double ifHz = MODEL_SPECS[1].ifHz;
    ASSERT_TRUE(op.commit(main(), MAINPANEL_CHANNEL, 4));
    struct Case {
        int channel;
        bool viaMain;
    };
    for (const Case c : {Case{4, true}, Case{7, false}}) {
        SCOPED_TRACE("channel " + std::to_string(c.channel));
        const int other = c.viaMain ? 7 : 4;
        const double otherHz = channelValue(qm4120_getRfFrequencyChan, other);
        const double mainHz = number(MAINPANEL_RF_FREQ);
        const int mainLoPos = integer(main(), MAINPANEL_LO_POSITION);
        const int mainIfAtten = integer(main(), MAINPANEL_IF_ATTEN);
        const double hz = 1234567000.0 + c.channel;
        const int dB = 10 + c.channel;
        ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, c.channel + 1, 1));
        ASSERT_TRUE(op.commit(chan(), CHANPANEL_FREQ, hz));
        EXPECT_EQ(channelValue(qm4120_getRfFrequencyChan, c.channel), hz);
        EXPECT_EQ(cell(c.channel, 1), std::to_string(1234567000 + c.channel));
        EXPECT_EQ(channelValue(qm4120_getRfFrequencyChan, other), otherHz);
        EXPECT_EQ(number(MAINPANEL_RF_FREQ), c.viaMain ? hz : mainHz);

        // "Below" puts the LO an IF frequency under the RF frequency.
        ASSERT_TRUE(op.toggle(chan(), CHANPANEL_LOPOS));
        EXPECT_DOUBLE_EQ(channelValue(qm4120_getLoOffsetChan, c.channel), -ifHz);
        EXPECT_EQ(cell(c.channel, 2), "Below");
        EXPECT_EQ(integer(main(), MAINPANEL_LO_POSITION), c.viaMain ? 0 : mainLoPos);

        ASSERT_TRUE(op.commitLabel(chan(), CHANPANEL_FRONTEND, "Manual"));
        ASSERT_TRUE(op.commit(chan(), CHANPANEL_IFATTEN, dB));
        EXPECT_EQ(channelValue(qm4120_getIfAttenuationChan, c.channel), dB);
        EXPECT_EQ(cell(c.channel, 3), "Manual");
        EXPECT_EQ(cell(c.channel, 7), std::to_string(dB));
        EXPECT_EQ(integer(main(), MAINPANEL_IF_ATTEN), c.viaMain ? dB : mainIfAtten);
    }
    EXPECT_EQ(module(qm4120_getActiveChan), 4);
    // An offset of exactly zero counts as above.
    ASSERT_GE(qm4120_setLoOffsetChan(session(), 0.0, 7), 0);
    chanPanelUpdateLoPosFromHw(session(), 7);
    EXPECT_EQ(cell(7, 2), "Above");
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(ChannelTable, LevelsShowInTheDisplayUnitWithItsPrecision) {
    open(0x4B20);
    ASSERT_GE(qm4120_setRfInputLevelChan(session(), -30.0, 3), 0);
    ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, 4, 4));
    struct Unit {
        const char* item;
        const char* title;
        std::string rfCell;  // -30 dBm in the unit: 77 dBuV, 0.0070711 V (50 ohm), 0.001 mW
        int cellDecimals, editPrecision;
    };
    const Unit units[] = {
        {"dBm", "RF Level(dBm)", "-30.00", 2, 2},
        {"dBuV", "RF Level(dBuV)", "77.00", 2, 2},
        {"Volts", "RF Level(V)", "0.01", 2, 6},
        {"mW", "RF Level(mW)", "0.001000", 6, 6},
    };
    for (const Unit& u : units) {
        SCOPED_TRACE(u.item);
        ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_RF_DIMENSIONS, u.item));
        EXPECT_EQ(op.cell(chan(), CHANPANEL_CHAN_GRID, 0, 4), u.title);
        EXPECT_EQ(cell(3, 4), u.rfCell);
        const std::string other = cell(100, 5);
        EXPECT_EQ(other.size() - other.find('.') - 1, static_cast<size_t>(u.cellDecimals));
        EXPECT_EQ(intAttribute(chan(), CHANPANEL_RFLEVEL, ATTR_PRECISION), u.editPrecision);
        EXPECT_EQ(intAttribute(chan(), CHANPANEL_IFLEVEL, ATTR_PRECISION), u.editPrecision);
    }
    // A level entered in the display unit reaches the channel in dBm: 77 dBuV is -30 dBm.
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_RF_DIMENSIONS, "dBuV"));
    ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, 9, 4));
    ASSERT_TRUE(op.commit(chan(), CHANPANEL_RFLEVEL, 80.0));
    EXPECT_NEAR(channelValue(qm4120_getRfInputLevelChan, 8), -27.0, 1e-9);
    EXPECT_EQ(cell(8, 4), "80.00");
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(ChannelTable, ListModeButtonOnlyWhereTheModuleHasListMode) {
    for (uint16_t model : {uint16_t{0x4125}, uint16_t{0x4120}}) {
        SCOPED_TRACE(model);
        open(model);
        EXPECT_EQ(op.visible(chan(), CHANPANEL_LMODE), model != 0x4120);
        closeSession();
    }
}

}  // namespace
