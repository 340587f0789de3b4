// The engineering panel's test-tone switch sets and clears the module's test-tone bit (bit 20 of
// register 0), and does nothing without a module.
#include "eng_fixture.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"

namespace {

using TestToneTest = EngFixture;

uint16_t testToneBit(uint32_t vi) {
    uint16_t bit = 99;
    EXPECT_EQ(qm4120_regReadBit(vi, 0, 20, &bit), 0);
    return bit;
}

}  // namespace

TEST_F(TestToneTest, SwitchFollowsIntoTheRegisterBit) {
    ASSERT_TRUE(bootAndOpen(0x4120));
    const uint32_t vi = getQM4120id();
    ASSERT_EQ(testToneBit(vi), 0);
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_TESTTONE, 1));
    EXPECT_EQ(testToneBit(vi), 1);
    // Neighbouring bits of the register are left alone.
    uint16_t neighbour = 99;
    ASSERT_EQ(qm4120_regReadBit(vi, 0, 21, &neighbour), 0);
    EXPECT_EQ(neighbour, 0);
    ASSERT_TRUE(op.commit(engPanel(), ENGPANEL_TESTTONE, 0));
    EXPECT_EQ(testToneBit(vi), 0);
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 0);
}
