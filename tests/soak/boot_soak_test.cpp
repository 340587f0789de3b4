// Long run of boots: the operator boots each model in turn through the boot dialog, and Boot again closes
// the session before the dialog is cancelled, QM4120_SOAK_CYCLES times (default a thousand). The reference-
// lock monitor runs whenever a module is booted, so the run also exercises its start and stop each cycle.
// Nothing may pile up: bus sessions, instrument records, threads, file descriptors or resident memory.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "boot_fixture.h"
#include "process_usage.h"

namespace {

constexpr uint16_t MODELS[] = {0x4120, 0x4A20, 0x4B20, 0x4125};
// Resident growth over the cycles after the first ten that still counts as flat; a boot that kept its
// module's records or a panel's buffers would pass it well before the thousandth cycle.
constexpr double FLAT_MIB = 4.0;

int soakCycles() {
    const char* text = std::getenv("QM4120_SOAK_CYCLES");
    const int n = text ? std::atoi(text) : 1000;
    return n > 10 ? n : 1000;
}

struct Held {
    int busSessions, instruments, threads, descriptors;
    double mib;
};

Held held() {
    return {korvo_simOpenSessionCount(), static_cast<int>(qm4120_simInstrumentCount()), threadCount(),
            openDescriptors(), residentMiB()};
}

class BootSoak : public BootFixture {};

TEST_F(BootSoak, BootAndCloseCyclesLeaveNothingBehind) {
    const Held before = held();
    const int cycles = soakCycles();
    Held settled{};
    double maxMib = 0.0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const uint16_t model = MODELS[cycle % 4];
        ASSERT_TRUE(bootDefault(model)) << "cycle " << cycle;
        ASSERT_EQ(bootedModel(), model) << "cycle " << cycle;
        ASSERT_GT(appState.refLockMonitorsRunning.load(), 0) << "cycle " << cycle;
        // Boot again closes the session; the operator then cancels the dialog.
        ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_BOOTBUTTON)) << "cycle " << cycle;
        ASSERT_TRUE(op.press(bootPanel(), BOOTPANEL_BOOT_CANCEL_BUTTON)) << "cycle " << cycle;
        ASSERT_FALSE(isActive4120()) << "cycle " << cycle;
        ASSERT_EQ(korvo_simOpenSessionCount(), before.busSessions) << "cycle " << cycle;
        ASSERT_EQ(static_cast<int>(qm4120_simInstrumentCount()), before.instruments) << "cycle " << cycle;
        if (cycle == 9) settled = held();
        maxMib = std::max(maxMib, residentMiB());
    }
    const Held after = held();
    std::printf(
        "boot soak: %d cycles; bus sessions %d -> %d, instrument records %d -> %d, threads %d -> %d "
        "(after 10 cycles %d), descriptors %d -> %d, RSS MiB %.1f (after 10 cycles %.1f) -> %.1f max %.1f\n",
        cycles, before.busSessions, after.busSessions, before.instruments, after.instruments, before.threads,
        after.threads, settled.threads, before.descriptors, after.descriptors, before.mib, settled.mib,
        after.mib, maxMib);
    // The pool keeps its threads once made; none may be added per boot.
    EXPECT_LE(after.threads, settled.threads);
    EXPECT_EQ(after.descriptors, before.descriptors);
    EXPECT_LT(after.mib - settled.mib, FLAT_MIB);
}

}  // namespace
