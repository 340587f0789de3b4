// The board identity panel: the packed calibration dates, edits into the library's working copy, the
// commits with their confirmations and time stamps, reloading, and the page limit.
#include "eng_fixture.h"

namespace {

class BoardIdentityTest : public EngFixture {
  protected:
    int idPanel() const { return calidPanelHandle(); }
    int page(int index) const { return calidPanelPageHandle(index); }

    ::testing::AssertionResult openIdentity(uint16_t model) {
        if (auto r = bootAndOpen(model); !r) return r;
        return op.press(engPanel(), ENGPANEL_SHOW_INFO);
    }

    static std::string rfTypeNo(bool stored) {
        const uint32_t vi = getQM4120id();
        // Abort drops the working copy, so what follows is what the board holds.
        if (stored) qm4120_cal_Id_Rf_Abort(vi);
        char text[QM4120_TEXT_SIZE] = {};
        qm4120_cal_Id_Rf_TypeNoValueQuery(vi, text);
        return text;
    }
};

TEST_F(BoardIdentityTest, CalibrationDatesPackBothWays) {
    struct Case {
        uint32_t packed;
        CalidDate shown;
    };
    const Case cases[] = {
        {0x00000000, {1980, 0, 0, 0, 0, 0}},
        {0x00000021, {1980, 0, 0, 0, 1, 1}},
        {0x30CF6DAA, {2004, 6, 15, 13, 45, 10}},
        {0xFFFFFFFF, {2107, 15, 31, 31, 63, 31}},
    };
    ASSERT_TRUE(openIdentity(0x4120));
    const int p = page(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packed);
        calidSetFirstcal(p, c.packed);
        const int controls[] = {IDINFO_FIRSTCAL_YY,    IDINFO_FIRSTCAL_MM,   IDINFO_FIRSTCAL_DD,
                                IDINFO_FIRSTCAL_HOURS, IDINFO_FIRSTCAL_MINS, IDINFO_FIRSTCAL_SECS};
        const uint16_t expected[] = {c.shown.year,  c.shown.month,   c.shown.day,
                                     c.shown.hours, c.shown.minutes, c.shown.halfSeconds};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(op.shows(p, controls[i]), std::to_string(expected[i]));
        uint32_t back = 1;
        calidGetFirstcal(p, &back);
        EXPECT_EQ(back, c.packed);
    }
}

TEST_F(BoardIdentityTest, AnEditReachesTheWorkingCopyAndReloadRestoresTheBoard) {
    ASSERT_TRUE(openIdentity(0x4125));
    ASSERT_TRUE(op.panelShown(idPanel()));
    const std::string stored = rfTypeNo(true);
    ASSERT_TRUE(op.selectTab(idPanel(), IDPANEL_IDTAB, 2));
    EXPECT_EQ(op.shows(page(2), IDINFO_TYPENO), stored);

    ASSERT_TRUE(op.commitText(page(2), IDINFO_TYPENO, "412599/777"));
    EXPECT_EQ(rfTypeNo(false), "412599/777");
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_RELOADPAGE));
    EXPECT_EQ(op.shows(page(2), IDINFO_TYPENO), stored);
    EXPECT_EQ(rfTypeNo(false), stored);
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(BoardIdentityTest, CommitAllAsksOnceAndDecliningCommitsNothing) {
    ASSERT_TRUE(openIdentity(0x4120));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(op.selectTab(idPanel(), IDPANEL_IDTAB, i));
        ASSERT_TRUE(op.commit(page(i), IDINFO_REWORK, 40 + i));
    }
    const uint32_t vi = getQM4120id();
    auto storedRework = [&](int32_t (*abort)(uint32_t), int32_t (*query)(uint32_t, uint16_t*)) {
        uint16_t value = 0;
        abort(vi);
        query(vi, &value);
        return value;
    };

    fe.expectConfirm(0);
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_COMMITALL));
    ASSERT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(fe.popups()[0].text, "COMMIT all pages.\n\nAre you sure?");
    EXPECT_NE(storedRework(qm4120_cal_Id_Control_Abort, qm4120_cal_Id_Control_ReworkValueQuery), 40);

    fe.clearPopups();
    fe.expectConfirm(1);
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_COMMITALL));
    EXPECT_EQ(fe.popups().size(), 1u);
    EXPECT_EQ(storedRework(qm4120_cal_Id_Control_Abort, qm4120_cal_Id_Control_ReworkValueQuery), 40);
    EXPECT_EQ(storedRework(qm4120_cal_Id_If_Abort, qm4120_cal_Id_If_ReworkValueQuery), 41);
    EXPECT_EQ(storedRework(qm4120_cal_Id_Rf_Abort, qm4120_cal_Id_Rf_ReworkValueQuery), 42);
}

TEST_F(BoardIdentityTest, ACommittedRecordAndItsTimeStampSurviveANewBoot) {
    ASSERT_TRUE(openIdentity(0x4B20));
    ASSERT_TRUE(op.selectTab(idPanel(), IDPANEL_IDTAB, 1));
    ASSERT_TRUE(op.commitText(page(1), IDINFO_INFOSTRING, "reworked after drop test"));
    const std::time_t before = std::time(nullptr);
    fe.expectConfirm(1);
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_COMMITPAGE));
    EXPECT_EQ(fe.popups().back().text, "COMMIT currently displayed page.\n\nAre you sure?");
    const std::time_t after = std::time(nullptr);
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_CLOSEID));

    // Boot the module again: the new session starts from what its EEPROM holds.
    ASSERT_TRUE(bootDefault(0x4B20));
    ASSERT_TRUE(op.chooseMenu(appState.mainMenuBar, appState.engineeringPanelItem));
    ASSERT_TRUE(op.press(engPanel(), ENGPANEL_SHOW_INFO));
    EXPECT_EQ(op.shows(page(1), IDINFO_INFOSTRING), "reworked after drop test");
    uint32_t lastCal = 0;
    calidGetLastcal(page(1), &lastCal);
    const CalidDate d = calidUnpackDate(lastCal);
    std::tm stamp{};
    stamp.tm_year = d.year - 1900;
    stamp.tm_mon = d.month - 1;
    stamp.tm_mday = d.day;
    stamp.tm_hour = d.hours;
    stamp.tm_min = d.minutes;
    stamp.tm_sec = d.halfSeconds * 2;
    stamp.tm_isdst = -1;
    const std::time_t committed = std::mktime(&stamp);
    // Seconds are kept in steps of two.
    EXPECT_GE(committed, before - 2);
    EXPECT_LE(committed, after);
}

TEST_F(BoardIdentityTest, WithoutAModuleTheDialogsShowButNothingMoves) {
    ASSERT_TRUE(openIdentity(0x4120));
    const std::string shown = op.shows(page(0), IDINFO_SERIALNO);
    appState.instrumentBooted = 0;
    ASSERT_TRUE(op.commitText(page(0), IDINFO_SERIALNO, "999999/999"));
    fe.expectConfirm(1);
    const int busy = fe.busyChanges();
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_COMMITPAGE));
    EXPECT_EQ(fe.countPopups("Confirm Action"), 1);
    EXPECT_GT(fe.busyChanges(), busy);
    appState.instrumentBooted = 1;
    ASSERT_TRUE(op.press(idPanel(), IDPANEL_RELOADPAGE));
    EXPECT_EQ(op.shows(page(0), IDINFO_SERIALNO), shown);
}

TEST_F(BoardIdentityTest, PagesCanBeAddedUpToTwenty) {
    ASSERT_EQ(calidPanelPageCount(), 3);
    for (int n = 4; n <= CALID_MAX_PAGES; ++n) EXPECT_GT(calidPanelAddTab("Spare board"), 0) << n;
    EXPECT_EQ(calidPanelAddTab("One too many"), -1);
    EXPECT_EQ(calidPanelPageCount(), CALID_MAX_PAGES);
}

}  // namespace
