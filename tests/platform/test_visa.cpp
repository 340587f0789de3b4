#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "qm_faults.h"
#include "qm_visa.h"

namespace {

// VISA's own statuses are described, each in its own words and under its name; driver and
// instrument-library codes are not VISA's to describe, so the caller's tables come next.
TEST(VisaStatusDesc, OwnStatusesAreDescribedAndOthersAreUnknown) {
    const struct {
        int32_t status;
        bool known;
    } cases[] = {{VI_SUCCESS, true},
                 {VI_SUCCESS_MAX_CNT, true},
                 {VI_WARN_UNKNOWN_STATUS, true},
                 {VI_ERROR_RSRC_NFOUND, true},
                 {VI_ERROR_NPERMISSION, true},  // the last of the table
                 {-17, false},
                 {static_cast<int32_t>(0xBFFC0011u), false},
                 {static_cast<int32_t>(0xBFFF0001u), false},
                 {INT32_MIN, false},
                 {INT32_MAX, false}};
    std::string previous;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        char desc[256];
        std::memset(desc, 'x', sizeof desc);
        EXPECT_EQ(viStatusDesc(0, c.status, desc), c.known ? VI_SUCCESS : VI_WARN_UNKNOWN_STATUS);
        ASSERT_LT(strnlen(desc, sizeof desc), sizeof desc);
        if (!c.known) {
            EXPECT_STREQ(desc, "Unknown status");
            continue;
        }
        EXPECT_GT(strlen(desc), 10u);
        EXPECT_NE(desc, previous);
        EXPECT_EQ(std::string(desc).find("Unknown status"), std::string::npos);
        previous = desc;
    }
    char desc[256];
    ASSERT_EQ(viStatusDesc(0, VI_ERROR_RSRC_NFOUND, desc), VI_SUCCESS);
    EXPECT_NE(std::string(desc).find("VI_ERROR_RSRC_NFOUND"), std::string::npos);
    EXPECT_EQ(viStatusDesc(0, VI_SUCCESS, nullptr), VI_ERROR_USER_BUF);

    qm_fault_set("viStatusDesc", VI_ERROR_SYSTEM_ERROR, 1);
    EXPECT_EQ(viStatusDesc(0, VI_SUCCESS, desc), VI_ERROR_SYSTEM_ERROR);
    EXPECT_EQ(viStatusDesc(0, VI_SUCCESS, desc), VI_SUCCESS);
}

}  // namespace
