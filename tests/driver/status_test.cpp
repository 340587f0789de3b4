// Status mapping at every band edge, and the order in which a status finds its text.
#include <gtest/gtest.h>

#include <string>

#include "qm4120.h"
#include "qm4120_pb_lib.h"
#include "qm_faults.h"
#include "qm_visa.h"

namespace {

int32_t s32(uint32_t v) {
    return static_cast<int32_t>(v);
}

TEST(StatusMapping, BandEdges) {
    // Outside the library's range statuses pass unchanged: VISA and driver codes.
    EXPECT_EQ(qm4120_dll_error(-73), -73);
    EXPECT_EQ(qm4120_dll_error(70), 70);
    EXPECT_EQ(qm4120_dll_error(VI_ERROR_RSRC_NFOUND), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(qm4120_dll_error(s32(0xBFFC0011u)), s32(0xBFFC0011u));
    EXPECT_EQ(qm4120_dll_error(0), 0);

    // Errors -54..-1 count up from the base, -72..-55 count down from it.
    EXPECT_EQ(qm4120_dll_error(-1), s32(0xBFFC079Du));
    EXPECT_EQ(qm4120_dll_error(-17), QM4120_ERROR_NOT_CONFIGURED);
    EXPECT_EQ(qm4120_dll_error(-54), s32(0xBFFC07D2u));
    EXPECT_EQ(qm4120_dll_error(-55), s32(0xBFFC0765u));
    EXPECT_EQ(qm4120_dll_error(-72), s32(0xBFFC0754u));

    EXPECT_EQ(qm4120_dll_error(1), s32(0x3FFC0865u));
    EXPECT_EQ(qm4120_dll_error(69), s32(0x3FFC08A9u));
}

TEST(StatusMapping, MappedStatusesKeepTheirSign) {
    for (int32_t s = -72; s <= 69; ++s) {
        const int32_t mapped = qm4120_dll_error(s);
        EXPECT_EQ(mapped < 0, s < 0) << s;
        EXPECT_EQ(mapped > 0, s > 0) << s;
        EXPECT_EQ(qm4120_dll_error(mapped), mapped) << "mapping twice must not move a status " << s;
    }
}

class ErrorMessage : public ::testing::Test {
  protected:
    void TearDown() override { qm_fault_clear_all(); }

    // True when the library's text look-up was not called since `armLibrary`: its armed fault is unused.
    static void armLibrary() { qm_fault_set("qm4120_errGetErrorString", -3, 1); }
    static bool libraryUntouched() {
        int32_t s = 0;
        return qm_fault_hit("qm4120_errGetErrorString", &s) == 1;
    }

    char text[QM4120_TEXT_SIZE] = {};
};

TEST_F(ErrorMessage, VisaStatusGetsVisaText) {
    char expected[QM_VISA_DESC_SIZE] = {};
    ASSERT_EQ(viStatusDesc(0, VI_ERROR_RSRC_NFOUND, expected), VI_SUCCESS);
    armLibrary();
    EXPECT_EQ(qm4120_error_message(0, VI_ERROR_RSRC_NFOUND, text), VI_SUCCESS);
    EXPECT_STREQ(text, expected);
    EXPECT_TRUE(libraryUntouched());
}

TEST_F(ErrorMessage, DriverCodesComeFromTheDriverTable) {
    armLibrary();
    EXPECT_EQ(qm4120_error_message(0, s32(0xBFFC0011u), text), 0);
    EXPECT_STREQ(text, "ERROR: Identification query failed");
    EXPECT_TRUE(libraryUntouched());
}

TEST_F(ErrorMessage, MappedLibraryCodesGetTheLibraryText) {
    // One code from each band: the driver must turn the status back into the library's own code.
    for (int32_t code : {-1, -17, -54, -55, -72, 1, 69}) {
        char expected[QM4120_TEXT_SIZE] = {};
        const int32_t expectedStatus = qm4120_errGetErrorString(code, expected);
        EXPECT_EQ(qm4120_error_message(0, qm4120_dll_error(code), text), expectedStatus) << code;
        EXPECT_STREQ(text, expected) << code;
        EXPECT_GT(std::string(text).size(), 0u) << code;
    }
}

TEST_F(ErrorMessage, LibraryFailureIsReturned) {
    qm_fault_set("qm4120_errGetErrorString", -3, 1);
    EXPECT_EQ(qm4120_error_message(0, qm4120_dll_error(-5), text), -3);
}

TEST(HousekeepingOperations, UnsupportedOnesDoNothing) {
    int16_t result = 77;
    int32_t code = 77;
    char message[QM4120_TEXT_SIZE] = "untouched";
    EXPECT_EQ(qm4120_self_test(0, &result, message), s32(0x3FFC0103u));
    EXPECT_EQ(qm4120_error_query(0, &code, message), s32(0x3FFC0104u));
    EXPECT_EQ(result, 77);
    EXPECT_EQ(code, 77);
    EXPECT_STREQ(message, "untouched");
}

}  // namespace
