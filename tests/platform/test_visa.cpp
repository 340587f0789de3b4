#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "qm_faults.h"
#include "qm_visa.h"

namespace {

TEST(VisaStatusDesc, KnownStatusesHaveTheirOwnText) {
    const int32_t known[] = {VI_SUCCESS,
                             VI_ERROR_RSRC_NFOUND,
                             VI_ERROR_INV_OBJECT,
                             VI_ERROR_ALLOC,
                             VI_ERROR_INV_SPACE,
                             VI_ERROR_INV_OFFSET,
                             VI_ERROR_NSUP_ATTR,
                             VI_ERROR_TMO,
                             VI_ERROR_SYSTEM_ERROR,
                             VI_ERROR_INV_RSRC_NAME,
                             VI_ERROR_NSUP_OFFSET,
                             VI_WARN_UNKNOWN_STATUS,
                             VI_SUCCESS_MAX_CNT};
    std::string previous;
    for (int32_t status : known) {
        char desc[256];
        std::memset(desc, 'x', sizeof desc);
        EXPECT_EQ(viStatusDesc(0, status, desc), VI_SUCCESS) << std::hex << status;
        const size_t len = strnlen(desc, sizeof desc);
        ASSERT_LT(len, sizeof desc);
        EXPECT_GT(len, 10u);
        EXPECT_NE(std::string(desc), previous);
        EXPECT_EQ(std::string(desc).find("Unknown status"), std::string::npos);
        previous = desc;
    }
    char desc[256];
    ASSERT_EQ(viStatusDesc(0, VI_ERROR_RSRC_NFOUND, desc), VI_SUCCESS);
    EXPECT_NE(std::string(desc).find("VI_ERROR_RSRC_NFOUND"), std::string::npos);
    EXPECT_EQ(VI_ERROR_RSRC_NFOUND, static_cast<int32_t>(0xBFFF0011u));
    EXPECT_LT(VI_ERROR_INV_OBJECT, 0);
}

TEST(VisaStatusDesc, OtherStatusesAreUnknown) {
    // Driver and instrument-library codes are not VISA's to describe: the caller's tables come next.
    const int32_t unknown[] = {1,
                               -1,
                               -17,
                               static_cast<int32_t>(0xBFFC0011u),
                               static_cast<int32_t>(0x3FFC0103u),
                               static_cast<int32_t>(0xBFFF0001u),
                               INT32_MIN,
                               INT32_MAX};
    for (int32_t status : unknown) {
        char desc[256] = "stale";
        EXPECT_EQ(viStatusDesc(0, status, desc), VI_WARN_UNKNOWN_STATUS) << status;
        EXPECT_STREQ(desc, "Unknown status");
    }
    EXPECT_EQ(VI_WARN_UNKNOWN_STATUS, 0x3FFF0085);
    EXPECT_EQ(viStatusDesc(0, VI_SUCCESS, nullptr), VI_ERROR_USER_BUF);
}

TEST(VisaStatusDesc, InjectedFault) {
    qm_fault_set("viStatusDesc", VI_ERROR_SYSTEM_ERROR, 1);
    char desc[256] = "stale";
    EXPECT_EQ(viStatusDesc(0, VI_SUCCESS, desc), VI_ERROR_SYSTEM_ERROR);
    EXPECT_EQ(viStatusDesc(0, VI_SUCCESS, desc), VI_SUCCESS);
}

}  // namespace
