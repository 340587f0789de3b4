// List mode on the simulated module: the lock the address source puts on the main panel, the channel
// table and the edit-range panel, and the list settings with the dwell shared with the trigger timer.
#include <string>

#include "channel_fixture.h"

namespace {

class ListMode : public ChannelFixture {
  protected:
    void SetUp() override {
        ChannelFixture::SetUp();
        if (HasFatalFailure()) return;
        open(0x4B20);
        ASSERT_TRUE(op.press(chan(), CHANPANEL_LMODE));
        ASSERT_TRUE(op.press(chan(), CHANPANEL_EDITALL));
    }
};

TEST_F(ListMode, AnyHardwareAddressSourceLocksEveryPanelAndManualReleasesIt) {
    const int mainLocked[] = {MAINPANEL_BINARY_INPUT_SOURCE,
                              MAINPANEL_CHANNEL,
                              MAINPANEL_RF_FREQ,
                              MAINPANEL_LO_OFFSET,
                              MAINPANEL_LO_POSITION,
                              MAINPANEL_RF_INPUT_LEVEL,
                              MAINPANEL_IF_INPUT_LEVEL,
                              MAINPANEL_RF_ATTEN,
                              MAINPANEL_IF_ATTEN,
                              MAINPANEL_RING_ATTEN_CONFIG,
                              MAINPANEL_RING_FILTER_BYPASS,
                              MAINPANEL_RING_EXT_REF,
                              MAINPANEL_LED_REF_LOCKED_STATUS};
    const int tableLocked[] = {CHANPANEL_LISTLINK, CHANPANEL_AUTOFOCUS, CHANPANEL_CHANNEL, CHANPANEL_FREQ,
                               CHANPANEL_LOPOS,    CHANPANEL_FRONTEND,  CHANPANEL_RFLEVEL, CHANPANEL_IFLEVEL,
                               CHANPANEL_RFATTEN,  CHANPANEL_IFATTEN};
    const int setButtons[] = {CHEDITALL_FREQSET,    CHEDITALL_LOPOSSET,   CHEDITALL_FRONTENDSET,
                              CHEDITALL_RFLEVELSET, CHEDITALL_IFLEVELSET, CHEDITALL_RFATTENSET,
                              CHEDITALL_IFATTENSET};
    const int bar = appState.mainMenuBar;
    // The module starts on the RF input in Auto: only the RF level is entered, the attenuators are chosen.
    struct Released {
        int control;
        bool dimmed;
    };
    const Released released[] = {{MAINPANEL_CHANNEL, false},        {MAINPANEL_RF_FREQ, false},
                                 {MAINPANEL_RF_INPUT_LEVEL, false}, {MAINPANEL_IF_INPUT_LEVEL, true},
                                 {MAINPANEL_RF_ATTEN, true},        {MAINPANEL_IF_ATTEN, true},
                                 {MAINPANEL_RING_EXT_REF, false},   {MAINPANEL_LED_REF_LOCKED_STATUS, false}};
    for (const char* source : {"External", "Counter", "Manual"}) {
        SCOPED_TRACE(source);
        ASSERT_TRUE(op.commitLabel(listMode(), LISTMODE_LAS, source));
        const bool locked = std::string(source) != "Manual";
        EXPECT_EQ(module(qm4120_getListAddrSource), locked ? (source[0] == 'E' ? 1 : 2) : 0);
        if (locked) {
            for (int c : mainLocked) EXPECT_TRUE(op.dimmed(main(), c)) << ui::test::describe(main(), c);
            EXPECT_EQ(integer(main(), MAINPANEL_LED_REF_LOCKED_STATUS), 0);
        } else {
            for (const Released& r : released)
                EXPECT_EQ(op.dimmed(main(), r.control), r.dimmed) << ui::test::describe(main(), r.control);
        }
        // Released, the shown channel's own mode decides (Auto on the RF input: only the RF level counts).
        for (int c : tableLocked) {
            const bool autoRf = c == CHANPANEL_IFLEVEL || c == CHANPANEL_RFATTEN || c == CHANPANEL_IFATTEN;
            EXPECT_EQ(op.dimmed(chan(), c), locked || autoRf) << ui::test::describe(chan(), c);
        }
        for (int c : setButtons)
            EXPECT_EQ(op.dimmed(editAll(), c), locked) << ui::test::describe(editAll(), c);
        EXPECT_EQ(op.menuDimmed(bar, MAINMENU_SETTINGS_OPT_AUTTMPOPT), locked);
        EXPECT_EQ(op.menuDimmed(bar, MAINMENU_SETTINGS_OPT_TMPOPTCOR), locked);
        // Selecting rows is still possible; the frequency entry stays locked after every read.
        ASSERT_TRUE(op.selectCell(chan(), CHANPANEL_CHAN_GRID, 6, 1));
        EXPECT_EQ(op.dimmed(chan(), CHANPANEL_FREQ), locked);
    }
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(ListMode, SettingsReachTheModuleAndTheDwellIsTheTimerPeriod) {
    ASSERT_TRUE(op.commitLabel(listMode(), LISTMODE_LSP, "Negative"));
    ASSERT_TRUE(op.commitLabel(listMode(), LISTMODE_LCS, "Timer"));
    ASSERT_TRUE(op.commit(listMode(), LISTMODE_COUNTSTOP, 9));
    ASSERT_TRUE(op.commit(listMode(), LISTMODE_COUNTSTART, 3));
    ASSERT_TRUE(op.commit(listMode(), LISTMODE_DWELL, 2500.0));
    EXPECT_EQ(module(qm4120_getListStrobeNegEdge), 1);
    EXPECT_EQ(module(qm4120_getListCounterStrobe), 1);
    uint16_t start = 0;
    uint16_t stop = 0;
    ASSERT_GE(qm4120_getListCountStartStop(session(), &start, &stop), 0);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(stop, 9);
    EXPECT_EQ(module(qm4120_getTimerPeriod), 2500.0);
    // A timer period set elsewhere shows as the dwell after the next refresh.
    ASSERT_GE(qm4120_setTimerPeriod(session(), 40.0), 0);
    ASSERT_TRUE(op.toggle(listMode(), LISTMODE_TIMERTRIG));
    EXPECT_EQ(shownNumber(listMode(), LISTMODE_DWELL), 40.0);
    EXPECT_TRUE(fe.popups().empty());
}

}  // namespace
