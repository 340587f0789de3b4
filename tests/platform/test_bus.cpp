#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "pxi_korvo.h"
#include "pxi_korvo_sim.h"
#include "qm_faults.h"

namespace {

class BusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        korvo_simResetAll();
        korvo_simSetRegisterHandler(nullptr, nullptr);
        qm_fault_clear_all();
        ASSERT_EQ(korvo_viOpenDefaultRM(&rm_), VI_SUCCESS);
    }
    void TearDown() override {
        korvo_simSetRegisterHandler(nullptr, nullptr);
        qm_fault_clear_all();
        korvo_simResetAll();
    }
    uint32_t open(const char* resource) {
        uint32_t session = 0;
        EXPECT_EQ(korvo_viOpen(rm_, resource, 0, 0, &session), VI_SUCCESS) << resource;
        return session;
    }
    uint32_t rm_ = 0;
};

TEST_F(BusTest, OpensEveryModelOfTheChassisInEitherCase) {
    const struct {
        const char* resource;
        uint16_t code;
    } cases[] = {{"0x4120", 0x4120}, {"0x4A20", 0x4A20}, {"0x4b20", 0x4B20}, {"0x4125", 0x4125}};
    for (const auto& c : cases) {
        const uint32_t session = open(c.resource);
        ASSERT_NE(session, 0u);
        uint16_t code = 0;
        EXPECT_EQ(korvo_simModelCode(session, &code), VI_SUCCESS);
        EXPECT_EQ(code, c.code) << c.resource;
        uint16_t attrCode = 0;
        EXPECT_EQ(korvo_viGetAttribute(session, VI_ATTR_MODEL_CODE, &attrCode), VI_SUCCESS);
        EXPECT_EQ(attrCode, c.code);
        char name[256] = "";
        EXPECT_EQ(korvo_viGetAttribute(session, VI_ATTR_RSRC_NAME, name), VI_SUCCESS);
        EXPECT_STREQ(name, c.resource);
    }
}

TEST_F(BusTest, RejectsMalformedAndUnknownResources) {
    const char* malformed[] = {"",        "4120",    "0x412",  "0x41200", "0x41G0",
                               " 0x4120", "0x4120 ", "1x4120", "0x-120"};
    for (const char* text : malformed) {
        uint32_t session = 77;
        EXPECT_EQ(korvo_viOpen(rm_, text, 0, 0, &session), VI_ERROR_INV_RSRC_NAME) << '"' << text << '"';
    }
    uint32_t session = 0;
    EXPECT_EQ(korvo_viOpen(rm_, nullptr, 0, 0, &session), VI_ERROR_INV_RSRC_NAME);
    EXPECT_EQ(korvo_viOpen(rm_, "0x4130", 0, 0, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(korvo_viOpen(rm_, "0x0000", 0, 0, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(korvo_viOpen(rm_, "0x4120", 0, 0, nullptr), VI_ERROR_USER_BUF);
    // Failed opens leave nothing behind but the resource manager itself.
    EXPECT_EQ(korvo_simOpenSessionCount(), 1);
}

TEST_F(BusTest, SessionsKnowTheirResourceManagerAndAreNotOne) {
    uint32_t other = 0;
    ASSERT_EQ(korvo_viOpenDefaultRM(&other), VI_SUCCESS);
    const uint32_t a = open("0x4120");
    uint32_t b = 0;
    ASSERT_EQ(korvo_viOpen(other, "0x4120", 0, 0, &b), VI_SUCCESS);
    EXPECT_NE(a, b);
    uint32_t owner = 0;
    EXPECT_EQ(korvo_viGetAttribute(a, VI_ATTR_RM_SESSION, &owner), VI_SUCCESS);
    EXPECT_EQ(owner, rm_);
    EXPECT_EQ(korvo_viGetAttribute(b, VI_ATTR_RM_SESSION, &owner), VI_SUCCESS);
    EXPECT_EQ(owner, other);
    EXPECT_EQ(korvo_viGetAttribute(rm_, VI_ATTR_RM_SESSION, &owner), VI_SUCCESS);
    EXPECT_EQ(owner, rm_);
    EXPECT_EQ(korvo_viGetAttribute(a, 0x3FFF0001u, &owner), VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(korvo_viGetAttribute(rm_, VI_ATTR_MODEL_CODE, &owner), VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(korvo_viGetAttribute(a, VI_ATTR_RM_SESSION, nullptr), VI_ERROR_USER_BUF);

    uint32_t session = 0;
    EXPECT_EQ(korvo_viOpen(a, "0x4120", 0, 0, &session), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(korvo_viIn32(rm_, VI_PXI_BAR0_SPACE, 0, &owner), VI_ERROR_NSUP_OPER);
    uint16_t code = 0;
    EXPECT_EQ(korvo_simModelCode(rm_, &code), VI_ERROR_INV_OBJECT);
}

TEST_F(BusTest, ClosingCountsAndStaleHandles) {
    EXPECT_EQ(korvo_simOpenSessionCount(), 1);
    const uint32_t a = open("0x4120");
    const uint32_t b = open("0x4125");
    EXPECT_EQ(korvo_simOpenSessionCount(), 3);

    EXPECT_EQ(korvo_viClose(a), VI_SUCCESS);
    EXPECT_EQ(korvo_simOpenSessionCount(), 2);
    EXPECT_EQ(korvo_viClose(a), VI_ERROR_INV_OBJECT);
    uint32_t value = 0;
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(korvo_viOut32(a, VI_PXI_BAR0_SPACE, 0, 1), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(korvo_viGetAttribute(a, VI_ATTR_RM_SESSION, &value), VI_ERROR_INV_OBJECT);
    uint16_t code = 0;
    EXPECT_EQ(korvo_simModelCode(a, &code), VI_ERROR_INV_OBJECT);

    // A new session never takes over a closed session's handle.
    const uint32_t c = open("0x4120");
    EXPECT_NE(c, a);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_ERROR_INV_OBJECT);

    // Closing the resource manager closes what was opened through it.
    EXPECT_EQ(korvo_viClose(rm_), VI_SUCCESS);
    EXPECT_EQ(korvo_simOpenSessionCount(), 0);
    EXPECT_EQ(korvo_viClose(b), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(korvo_viClose(c), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(korvo_viOpen(rm_, "0x4120", 0, 0, &value), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(korvo_viClose(0), VI_ERROR_INV_OBJECT);
}

TEST_F(BusTest, DefaultRegisterMemoryIsPerSession) {
    const uint32_t a = open("0x4120");
    const uint32_t b = open("0x4120");
    uint32_t value = 123;
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0x200010, &value), VI_SUCCESS);
    EXPECT_EQ(value, 0u);  // never written
    EXPECT_EQ(korvo_viOut32(a, VI_PXI_BAR0_SPACE, 0x200010, 0xDEADBEEF), VI_SUCCESS);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0x200010, &value), VI_SUCCESS);
    EXPECT_EQ(value, 0xDEADBEEFu);
    EXPECT_EQ(korvo_viIn32(b, VI_PXI_BAR0_SPACE, 0x200010, &value), VI_SUCCESS);
    EXPECT_EQ(value, 0u);

    const uint32_t block[] = {1, 2, 3, 4};
    EXPECT_EQ(korvo_viMoveOut32(b, VI_PXI_BAR0_SPACE, 0x100, 4, block), VI_SUCCESS);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(korvo_viIn32(b, VI_PXI_BAR0_SPACE, 0x100 + 4 * i, &value), VI_SUCCESS);
        EXPECT_EQ(value, block[i]);
    }
    EXPECT_EQ(korvo_viMoveOut32(b, VI_PXI_BAR0_SPACE, 0x100, 0, nullptr), VI_SUCCESS);
    EXPECT_EQ(korvo_viMoveOut32(b, VI_PXI_BAR0_SPACE, 0x100, 2, nullptr), VI_ERROR_USER_BUF);
    // A block running past the top of the window is refused whole, nothing written at offset 0.
    EXPECT_EQ(korvo_viMoveOut32(b, VI_PXI_BAR0_SPACE, 0xFFFFFFFCu, 2, block), VI_ERROR_INV_OFFSET);
    EXPECT_EQ(korvo_viIn32(b, VI_PXI_BAR0_SPACE, 0, &value), VI_SUCCESS);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, nullptr), VI_ERROR_USER_BUF);
}

TEST_F(BusTest, OnlyAddressSpaceElevenIsDecoded) {
    const uint32_t a = open("0x4B20");
    uint32_t value = 0;
    const uint32_t word = 5;
    for (uint16_t space : {0, 1, 10, 12, 0xFFFF}) {
        EXPECT_EQ(korvo_viIn32(a, space, 0, &value), VI_ERROR_INV_SPACE) << space;
        EXPECT_EQ(korvo_viOut32(a, space, 0, 1), VI_ERROR_INV_SPACE) << space;
        EXPECT_EQ(korvo_viMoveOut32(a, space, 0, 1, &word), VI_ERROR_INV_SPACE) << space;
    }
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_SUCCESS);
    EXPECT_EQ(value, 0u);
}

// A register file standing in for the simulated module: records what reaches it.
struct FakeModule {
    std::mutex lock;
    std::map<uint32_t, uint32_t> regs;
    std::vector<uint32_t> fifo;
    uint16_t lastModel = 0;
    uint32_t lastSession = 0;
};
FakeModule fake;

int32_t fakeRead(uint32_t session, uint16_t model, uint32_t offset, uint32_t* value) {
    std::lock_guard<std::mutex> g(fake.lock);
    fake.lastSession = session;
    fake.lastModel = model;
    if (offset == 0xBAD) return VI_ERROR_BERR;
    *value = fake.regs[offset] + 1;
    return VI_SUCCESS;
}

int32_t fakeWrite(uint32_t session, uint16_t model, uint32_t offset, uint32_t count, const uint32_t* words) {
    // The bus lock is not held here: calling back into the bus must not deadlock.
    uint16_t code = 0;
    if (korvo_simModelCode(session, &code) != VI_SUCCESS || code != model) return VI_ERROR_SYSTEM_ERROR;
    std::lock_guard<std::mutex> g(fake.lock);
    fake.lastSession = session;
    fake.lastModel = model;
    if (offset == 0xF1F0) {
        fake.fifo.insert(fake.fifo.end(), words, words + count);
    } else {
        fake.regs[offset] = words[0];
    }
    return VI_SUCCESS;
}

TEST_F(BusTest, RegisterHandlerServesTheWindow) {
    fake.regs.clear();
    fake.fifo.clear();
    korvo_simSetRegisterHandler(fakeRead, fakeWrite);
    const uint32_t a = open("0x4125");
    EXPECT_EQ(korvo_viOut32(a, VI_PXI_BAR0_SPACE, 0x40, 41), VI_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0x40, &value), VI_SUCCESS);
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(fake.lastSession, a);
    EXPECT_EQ(fake.lastModel, 0x4125);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0xBAD, &value), VI_ERROR_BERR);

    const uint32_t image[] = {7, 8, 9};
    EXPECT_EQ(korvo_viMoveOut32(a, VI_PXI_BAR0_SPACE, 0xF1F0, 3, image), VI_SUCCESS);
    EXPECT_EQ(fake.fifo, (std::vector<uint32_t>{7, 8, 9}));

    // Bad sessions and spaces never reach the handler.
    fake.lastSession = 0;
    EXPECT_EQ(korvo_viIn32(a, 3, 0x40, &value), VI_ERROR_INV_SPACE);
    EXPECT_EQ(korvo_viIn32(a + 1000, VI_PXI_BAR0_SPACE, 0x40, &value), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(fake.lastSession, 0u);

    korvo_simSetRegisterHandler(nullptr, nullptr);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0x40, &value), VI_SUCCESS);
    EXPECT_EQ(value, 0u);  // back to the session's own memory, which was never written
}

TEST_F(BusTest, InjectedFaultsComeFirst) {
    const uint32_t a = open("0x4120");
    qm_fault_set("korvo_viOpen", VI_ERROR_RSRC_NFOUND, 1);
    uint32_t session = 0;
    EXPECT_EQ(korvo_viOpen(rm_, "0x4120", 0, 0, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(korvo_viOpen(rm_, "0x4120", 0, 0, &session), VI_SUCCESS);  // armed for one call only

    qm_fault_set("korvo_viIn32", VI_ERROR_TMO, -1);
    uint32_t value = 0;
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_ERROR_TMO);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_ERROR_TMO);
    qm_fault_clear("korvo_viIn32");
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_SUCCESS);

    qm_fault_set("korvo_viClose", VI_ERROR_CLOSING_FAILED, 1);
    EXPECT_EQ(korvo_viClose(a), VI_ERROR_CLOSING_FAILED);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_SUCCESS);  // still open

    ASSERT_EQ(qm_fault_parse("korvo_viGetAttribute=0xBFFF001D,korvo_viOut32=-5:1"), 0);
    EXPECT_EQ(korvo_viGetAttribute(a, VI_ATTR_RM_SESSION, &value), VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(korvo_viOut32(a, VI_PXI_BAR0_SPACE, 0, 1), -5);
    EXPECT_EQ(korvo_viOut32(a, VI_PXI_BAR0_SPACE, 0, 1), VI_SUCCESS);
    // A count of zero covers no call at all; a leading zero is still decimal.
    ASSERT_EQ(qm_fault_parse("korvo_viOut32=-5:0,korvo_viIn32=-010:01"), 0);
    EXPECT_EQ(korvo_viOut32(a, VI_PXI_BAR0_SPACE, 0, 1), VI_SUCCESS);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), -10);
    EXPECT_EQ(korvo_viIn32(a, VI_PXI_BAR0_SPACE, 0, &value), VI_SUCCESS);
}

}  // namespace
