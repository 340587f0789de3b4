// The PCI window operations go straight to the bus, reads and writes through different windows. This
// runs in a process of its own because it replaces the chassis' register handlers.
#include <gtest/gtest.h>

#include <vector>

#include "pxi_korvo_sim.h"
#include "qm4120.h"
#include "qm_faults.h"

namespace {

struct Access {
    uint32_t offset;
    uint32_t value;
};
std::vector<Access> reads;
std::vector<Access> writes;

int32_t onRead(uint32_t, uint16_t, uint32_t offset, uint32_t* value) {
    *value = 0xCAFE0000u | (offset & 0xFFFFu);
    reads.push_back({offset, *value});
    return VI_SUCCESS;
}

int32_t onWrite(uint32_t, uint16_t, uint32_t offset, uint32_t count, const uint32_t* words) {
    for (uint32_t i = 0; i < count; ++i) writes.push_back({offset + 4 * i, words[i]});
    return VI_SUCCESS;
}

class PciWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(qm4120_init("0x4120", 0, 1, &vi), 0);
        reads.clear();
        writes.clear();
        korvo_simSetRegisterHandler(onRead, onWrite);
    }
    void TearDown() override {
        korvo_simSetRegisterHandler(nullptr, nullptr);
        qm_fault_clear_all();
        qm4120_close(vi);
    }
    uint32_t vi = 0;
};

TEST_F(PciWindow, ReadsAndWritesUseTheirWindows) {
    uint32_t value = 0;
    EXPECT_EQ(qm4120_pciRead(vi, 0x10, &value), VI_SUCCESS);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].offset, 0x200010u);
    EXPECT_EQ(value, 0xCAFE0010u);

    EXPECT_EQ(qm4120_pciWrite(vi, 0x10, 0x12345678u), VI_SUCCESS);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].offset, 0xA00010u);
    EXPECT_EQ(writes[0].value, 0x12345678u);
}

TEST_F(PciWindow, BusStatusesComeBackUnmapped) {
    uint32_t value = 0;
    EXPECT_EQ(qm4120_pciRead(0xFFFFFFF0u, 0, &value), VI_ERROR_INV_OBJECT);
    qm_fault_set("korvo_viOut32", VI_ERROR_BERR, 1);
    EXPECT_EQ(qm4120_pciWrite(vi, 0, 1), VI_ERROR_BERR);
    qm_fault_set("korvo_viIn32", -5, 1);  // even a number in the library's range passes as it is
    EXPECT_EQ(qm4120_pciRead(vi, 0, &value), -5);
}

}  // namespace
