// EEPROM-held records: board identity working and stored copies, calibration sets with their time
// stamps, blanking; and register access through the library and through the bus window.

#include <cstring>
#include <ostream>
#include <string>

#include "fixture.h"

namespace {

using RecordsTest = SimTest;

uint32_t pack(int year, int month, int day, int hour, int minute, int second) {
    return (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(month) << 21) |
           (static_cast<uint32_t>(day) << 16) | (static_cast<uint32_t>(hour) << 11) |
           (static_cast<uint32_t>(minute) << 5) | static_cast<uint32_t>(second / 2);
}

struct Stamp {
    uint16_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    bool operator==(const Stamp&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Stamp& t) {
        return o << t.y << '-' << t.mo << '-' << t.d << ' ' << t.h << ':' << t.mi << ':' << t.s;
    }
};

// A calibration set's or the module's time stamp; all ones where the query wrote nothing.
Stamp stampOf(int32_t (*query)(uint32_t, uint16_t*, uint16_t*, uint16_t*, uint16_t*, uint16_t*, uint16_t*),
              uint32_t vi) {
    Stamp t{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    EXPECT_EQ(query(vi, &t.y, &t.mo, &t.d, &t.h, &t.mi, &t.s), 0);
    return t;
}

Stamp grpDelStamp(uint32_t vi) {
    return stampOf(qm4120_calIFDigGrpDelTimeStampQuery, vi);
}

std::string moduleSerial(uint32_t vi) {
    char text[QM4120_TEXT_SIZE] = "?";
    EXPECT_EQ(qm4120_caldataGetSerialNumber(vi, text), 0);
    return text;
}

std::string ifBoardSerial(uint32_t vi) {
    char text[QM4120_TEXT_SIZE] = "?";
    EXPECT_EQ(qm4120_calIdIfSerialValueQuery(vi, text), 0);
    return text;
}

// Edits living in the working copy until a commit or an abort are checked through the board identity
// panel; here what a commit stamps and which records it touches.
TEST_F(RecordsTest, AnIdentityCommitStampsItsBoardsLastCalibrationOnly) {
    Module m(0x4A20);
    const uint32_t firstCal = got(qm4120_calIdIfFirstCalValueQuery, m.vi());
    ASSERT_EQ(qm4120_calIdIfSerialValue(m.vi(), "123456/789"), 0);
    ASSERT_EQ(qm4120_calIdIfCommit(m.vi(), 2006, 7, 8, 9, 10, 12), 0);
    EXPECT_EQ(got(qm4120_calIdIfLastCalValueQuery, m.vi()), pack(2006, 7, 8, 9, 10, 12));
    EXPECT_EQ(got(qm4120_calIdIfFirstCalValueQuery, m.vi()), firstCal);

    // The other boards are separate records.
    char text[QM4120_TEXT_SIZE];
    ASSERT_EQ(qm4120_calIdRfSerialValueQuery(m.vi(), text), 0);
    EXPECT_STRNE(text, "123456/789");
    EXPECT_EQ(qm4120_calIdControlCommit(m.vi(), 2006, 13, 1, 0, 0, 0), -47);
    EXPECT_EQ(qm4120_calIdControlInfoValue(m.vi(), std::string(256, 'i').c_str()), -48);
    EXPECT_EQ(qm4120_calIdControlInfoValue(m.vi(), std::string(255, 'i').c_str()), 0);
}

TEST_F(RecordsTest, CalibrationCommitsStampTheSetAndTheModule) {
    Module m(0x4125);
    EXPECT_EQ(grpDelStamp(m.vi()).y, 2005) << "factory calibration";
    const double stored = got(qm4120_calIFDigGrpDelValueQuery, m.vi());
    ASSERT_EQ(qm4120_calIFDigGrpDelValue(m.vi(), stored * 2), 0);
    ASSERT_EQ(qm4120_calIFDigGrpDelAbort(m.vi()), 0);
    EXPECT_DOUBLE_EQ(got(qm4120_calIFDigGrpDelValueQuery, m.vi()), stored) << "abort drops the working copy";

    ASSERT_EQ(qm4120_calIFDigGrpDelAdj(m.vi()), 0);
    ASSERT_EQ(qm4120_calIFDigGrpDelCommit(m.vi(), 2007, 3, 7, 14, 5, 9), 0);
    EXPECT_EQ(grpDelStamp(m.vi()), (Stamp{2007, 3, 7, 14, 5, 9}));
    EXPECT_EQ(stampOf(qm4120_caldataModuleLastTimeStampQuery, m.vi()).y, 2007)
        << "the module's last calibration is its newest set";
    EXPECT_EQ(stampOf(qm4120_calTempTimeStampQuery, m.vi()).y, 2005) << "other sets keep their own stamps";
    EXPECT_EQ(qm4120_calIFDigGrpDelVerify(m.vi()), 0);
    EXPECT_EQ(qm4120_calTempCommit(m.vi(), 1979, 1, 1, 0, 0, 0), -47);

    // Committing a band point at once stamps the set with the time now.
    ASSERT_EQ(qm4120_calRFDigAmpRefBandPointAdj(m.vi(), 2, 13, 0.0, 1), 0);
    EXPECT_GE(stampOf(qm4120_calRFDigAmpRefTimeStampQuery, m.vi()).y, 2024);
    EXPECT_EQ(qm4120_calRFDigAmpRefBandPointAdj(m.vi(), 99, 0, 0.0, 0), -41);
    EXPECT_EQ(qm4120_calRFDigAmpRefBandPointAdj(m.vi(), 0, 999, 0.0, 0), -42);
}

TEST_F(RecordsTest, BandSetsMoveAsWholeDataBlocks) {
    Module m(0x4A20);
    const uint32_t count = got(qm4120_calRFDCFreqDataElementsQuery, m.vi());
    ASSERT_GT(count, 0u);
    std::vector<double> data(count);
    ASSERT_EQ(qm4120_calRFDCFreqDataQuery(m.vi(), count, data.data()), 0);
    EXPECT_EQ(qm4120_calRFDCFreqDataQuery(m.vi(), count - 1, data.data()), -62);
    data[3] = 1.25;
    ASSERT_EQ(qm4120_calRFDCFreqData(m.vi(), count, data.data()), 0);
    double point = 0;
    uint16_t bands = 0;
    double start = 0, stop = 0;
    uint32_t points = 0;
    ASSERT_EQ(qm4120_calRFDCFreqNBandsQuery(m.vi(), &bands), 0);
    ASSERT_EQ(qm4120_calRFDCFreqBandDescQuery(m.vi(), 0, &start, &stop, &points), 0);
    ASSERT_EQ(qm4120_calRFDCFreqBandPointDataQuery(m.vi(), 0, 3, &point), 0);
    EXPECT_DOUBLE_EQ(point, 1.25);
    EXPECT_LT(start, stop);
    ASSERT_EQ(qm4120_calRFDCFreqBandAdd(m.vi(), 1e9, 1.1e9, 5), 0);
    EXPECT_EQ(got(qm4120_calRFDCFreqNBandsQuery, m.vi()), bands + 1);
    EXPECT_EQ(got(qm4120_calRFDCFreqDataElementsQuery, m.vi()), count + 5);
    EXPECT_EQ(qm4120_calRFDCFreqBandAdd(m.vi(), 2e9, 1e9, 5), -3);
}

// What a module keeps in its EEPROMs belongs to the module in the chassis, not to the session.

TEST_F(RecordsTest, CommittedEepromContentsOutliveTheSessionOnTheirOwnModelOnly) {
    const Stamp committed{2007, 3, 7, 14, 5, 9};
    std::string factorySerial, factoryRfInfo;
    double factoryTemp = 0, committedGrpDel = 0;
    Stamp factoryGrpDel;
    {
        Module m(0x4A20);
        factorySerial = moduleSerial(m.vi());
        factoryGrpDel = grpDelStamp(m.vi());
        char text[QM4120_TEXT_SIZE];
        ASSERT_EQ(qm4120_calIdRfInfoValueQuery(m.vi(), text), 0);
        factoryRfInfo = text;
        ASSERT_EQ(qm4120_calTempValueQuery(m.vi(), &factoryTemp), 0);

        ASSERT_EQ(qm4120_caldataSetSerialNumber(m.vi(), "4A20-77777"), 0);
        ASSERT_EQ(qm4120_calIdIfSerialValue(m.vi(), "222222/002"), 0);
        ASSERT_EQ(qm4120_calIdIfCommit(m.vi(), 2006, 7, 8, 9, 10, 12), 0);
        ASSERT_EQ(qm4120_calIFDigGrpDelValueQuery(m.vi(), &committedGrpDel), 0);
        committedGrpDel *= 1.01;
        ASSERT_EQ(qm4120_calIFDigGrpDelValue(m.vi(), committedGrpDel), 0);
        ASSERT_EQ(qm4120_calIFDigGrpDelCommit(m.vi(), 2007, 3, 7, 14, 5, 9), 0);
        // Edits never committed, and a volatile setting.
        ASSERT_EQ(qm4120_calIdRfInfoValue(m.vi(), "edited, not committed"), 0);
        ASSERT_EQ(qm4120_calTempValue(m.vi(), factoryTemp + 10.0), 0);
        ASSERT_EQ(qm4120_appSetRfFrequency(m.vi(), 1.0e9), 0);
    }
    {
        Module other(0x4120);
        EXPECT_EQ(moduleSerial(other.vi()).rfind("4120-", 0), 0u) << "another model keeps its own EEPROMs";
        EXPECT_EQ(grpDelStamp(other.vi()).y, 2005);
        EXPECT_NE(ifBoardSerial(other.vi()), "222222/002");
    }
    Module m(0x4A20);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "reopened" : "after a reset");
        EXPECT_EQ(moduleSerial(m.vi()), "4A20-77777");
        EXPECT_EQ(ifBoardSerial(m.vi()), "222222/002");
        EXPECT_EQ(got(qm4120_calIdIfLastCalValueQuery, m.vi()), pack(2006, 7, 8, 9, 10, 12));
        EXPECT_EQ(grpDelStamp(m.vi()), committed);
        EXPECT_DOUBLE_EQ(got(qm4120_calIFDigGrpDelValueQuery, m.vi()), committedGrpDel);
        EXPECT_EQ(stampOf(qm4120_caldataModuleLastTimeStampQuery, m.vi()), committed);

        char text[QM4120_TEXT_SIZE];
        ASSERT_EQ(qm4120_calIdRfInfoValueQuery(m.vi(), text), 0);
        EXPECT_EQ(text, factoryRfInfo) << "an uncommitted identity edit dies with its session";
        EXPECT_DOUBLE_EQ(got(qm4120_calTempValueQuery, m.vi()), factoryTemp)
            << "an uncommitted calibration edit dies with its session";
        EXPECT_NE(got(qm4120_appGetRfFrequency, m.vi()), 1.0e9);
        ASSERT_EQ(qm4120_controlSetDefaults(m.vi()), 0);
    }

    qm4120_simResetAll();
    Module fresh(0x4A20);
    EXPECT_EQ(moduleSerial(fresh.vi()), factorySerial);
    EXPECT_EQ(grpDelStamp(fresh.vi()), factoryGrpDel);
    EXPECT_NE(ifBoardSerial(fresh.vi()), "222222/002");
}

// Blanking erases identity, calibration and serial at once, for this session and the next.
TEST_F(RecordsTest, ABlankedModuleStaysBlankUntilTheSimulationIsReset) {
    const auto expectBlank = [](uint32_t vi) {
        EXPECT_EQ(moduleSerial(vi), "");
        char text[QM4120_TEXT_SIZE] = "x";
        ASSERT_EQ(qm4120_calIdControlTypeNoValueQuery(vi, text), 0);
        EXPECT_STREQ(text, "");
        EXPECT_EQ(grpDelStamp(vi), Stamp{});
        EXPECT_EQ(stampOf(qm4120_caldataModuleLastTimeStampQuery, vi).y, 0);
        EXPECT_EQ(qm4120_calIFDigGrpDelVerify(vi), -43) << "no stored correction to verify";
    };
    {
        Module m(0x4B20);
        ASSERT_EQ(qm4120_caldataBlankEeproms(m.vi()), 0);
        SCOPED_TRACE("the blanking session");
        expectBlank(m.vi());
    }
    {
        Module m(0x4B20);
        SCOPED_TRACE("the next session");
        expectBlank(m.vi());
        ASSERT_EQ(qm4120_controlSetDefaults(m.vi()), 0);
        EXPECT_EQ(moduleSerial(m.vi()), "") << "a reset does not refill the EEPROMs";
    }
    qm4120_simResetAll();
    Module m(0x4B20);
    EXPECT_EQ(moduleSerial(m.vi()).rfind("4B20-", 0), 0u);
    EXPECT_EQ(qm4120_calIFDigGrpDelVerify(m.vi()), 0);
}

// The boot dialog lists configurations on a second bus session while another may be open: each
// session's commits reach the module without undoing the other's.
TEST_F(RecordsTest, TwoSessionsOnOneModuleCommitWithoutUndoingEachOther) {
    {
        Module first(0x4125);
        Module second(0x4125);
        ASSERT_EQ(qm4120_calIdIfSerialValue(first.vi(), "111111/001"), 0);
        ASSERT_EQ(qm4120_calIdIfCommit(first.vi(), 2008, 1, 2, 3, 4, 6), 0);
        // The second session still holds the older If record; storing other sets must not write it back.
        ASSERT_EQ(qm4120_calIdRfSerialValue(second.vi(), "333333/003"), 0);
        ASSERT_EQ(qm4120_calIdRfCommit(second.vi(), 2008, 1, 2, 3, 4, 8), 0);
        ASSERT_EQ(qm4120_calIFDigGrpDelCommit(second.vi(), 2009, 5, 6, 7, 8, 10), 0);
        ASSERT_EQ(qm4120_caldataSetSerialNumber(second.vi(), "4125-00001"), 0);
        Module third(0x4125);
        EXPECT_EQ(ifBoardSerial(third.vi()), "111111/001") << "seen by the next session while both are open";
    }
    Module m(0x4125);
    EXPECT_EQ(ifBoardSerial(m.vi()), "111111/001");
    char text[QM4120_TEXT_SIZE];
    ASSERT_EQ(qm4120_calIdRfSerialValueQuery(m.vi(), text), 0);
    EXPECT_STREQ(text, "333333/003");
    EXPECT_EQ(grpDelStamp(m.vi()), (Stamp{2009, 5, 6, 7, 8, 10}));
    EXPECT_EQ(moduleSerial(m.vi()), "4125-00001");
}

TEST_F(RecordsTest, LibraryRegistersAndTheHardwareBehindThem) {
    Module m(0x4A20);
    uint32_t value = 0;
    ASSERT_EQ(qm4120_registerWriteFieldVal(m.vi(), 3, 0, 32, 0x12345678, 1), 0);
    ASSERT_EQ(qm4120_registerWriteFieldVal(m.vi(), 3, 8, 4, 0xF, 0), 0);
    ASSERT_EQ(qm4120_registerReadFieldVal(m.vi(), 3, 0, 32, &value), 0);
    EXPECT_EQ(value, 0x12345F78u);
    // The hardware only saw the write that was sent to it; bus offsets are the FPGA's numbering.
    uint32_t hw = 0;
    ASSERT_EQ(korvo_viIn32(m.vi(), 11, 0x200000 + 4 * (0x20 + 3), &hw), 0);
    EXPECT_EQ(hw, 0x12345678u);
    // A direct write reaches the hardware and not the library's copy.
    ASSERT_EQ(qm4120_registerWriteDirect(m.vi(), 0x20 + 3, 0xCAFE), 0);
    ASSERT_EQ(qm4120_registerReadFieldVal(m.vi(), 3, 0, 32, &value), 0);
    EXPECT_EQ(value, 0x12345F78u);
    ASSERT_EQ(korvo_viOut32(m.vi(), 11, 0xA00000 + 4 * 0x40, 0xBEEF), 0);
    ASSERT_EQ(korvo_viIn32(m.vi(), 11, 0x200000 + 4 * 0x40, &hw), 0);
    EXPECT_EQ(hw, 0xBEEFu);

    uint16_t bit = 9;
    ASSERT_EQ(qm4120_registerWriteBit(m.vi(), 0, 20, 1, 1), 0);
    ASSERT_EQ(qm4120_registerReadBit(m.vi(), 0, 20, &bit), 0);
    EXPECT_EQ(bit, 1);
    ASSERT_EQ(qm4120_registerReadFromHw(m.vi(), 0, &value), 0);
    EXPECT_EQ(value >> 16, 0x4A20u) << "revision register carries the model";
    EXPECT_EQ(qm4120_registerReadFieldVal(m.vi(), 64, 0, 32, &value), -20);
    EXPECT_EQ(qm4120_registerWriteFieldVal(m.vi(), 1, 30, 4, 0, 0), -21);
    EXPECT_EQ(qm4120_registerReadFromHw(m.vi(), 40, &value), -20);
}

// The 4125's latch words are checked through the engineering panel's latch boxes.
TEST_F(RecordsTest, OnlyThe4125HasTheRfBoardLatch) {
    Module base(0x4120);
    EXPECT_EQ(qm4120_controlSet4125D3Latch(base.vi(), 1), -7);
}

}  // namespace
