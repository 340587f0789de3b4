// The bus and the settings utility are called from the panel's main thread and from the
// reference-lock monitor at the same time.

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "pxi_korvo.h"
#include "pxi_korvo_sim.h"
#include "qm41XX_utils.h"
#include "temp_dir.h"

namespace {

TEST(PlatformThreads, BusSessionsFromManyThreads) {
    korvo_simResetAll();
    korvo_simSetRegisterHandler(nullptr, nullptr);
    constexpr int THREADS = 4;
    constexpr int ROUNDS = 200;
    std::vector<std::vector<uint32_t>> seen(THREADS);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([t, &seen, &failures] {
            uint32_t rm = 0;
            if (korvo_viOpenDefaultRM(&rm) != VI_SUCCESS) ++failures;
            for (int i = 0; i < ROUNDS; ++i) {
                uint32_t s = 0;
                if (korvo_viOpen(rm, "0x4120", 0, 0, &s) != VI_SUCCESS) {
                    ++failures;
                    continue;
                }
                seen[t].push_back(s);
                uint32_t value = 0;
                if (korvo_viOut32(s, VI_PXI_BAR0_SPACE, 4, static_cast<uint32_t>(i)) != VI_SUCCESS ||
                    korvo_viIn32(s, VI_PXI_BAR0_SPACE, 4, &value) != VI_SUCCESS ||
                    value != static_cast<uint32_t>(i))
                    ++failures;
                if (i % 2 == 0 && korvo_viClose(s) != VI_SUCCESS) ++failures;
            }
            if (korvo_viClose(rm) != VI_SUCCESS) ++failures;  // takes the odd sessions with it
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(korvo_simOpenSessionCount(), 0);
    std::set<uint32_t> all;
    for (const auto& v : seen) all.insert(v.begin(), v.end());
    EXPECT_EQ(all.size(), static_cast<size_t>(THREADS * ROUNDS));
}

TEST(PlatformThreads, OneSettingsInstanceFromManyThreads) {
    const TempDir dir("qm41xx-threads");
    ASSERT_FALSE(dir.path().empty());
    const std::string path = dir.file("shared.ini");
    uint32_t h = 0;
    ASSERT_EQ(qm41XXutils_IniCreate(path.c_str(), &h), 0);
    ASSERT_EQ(qm41XXutils_IniSetAutoSave(h, 0), 0);
    constexpr int THREADS = 4;
    constexpr int KEYS = 100;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([t, h, &path, &failures] {
            const std::string section = "T" + std::to_string(t);
            for (int k = 0; k < KEYS; ++k) {
                if (qm41XXutils_IniPutInt(h, section.c_str(), ("k" + std::to_string(k)).c_str(), k) != 0)
                    ++failures;
                int32_t v = -1;
                if (qm41XXutils_IniGetInt(h, section.c_str(), ("k" + std::to_string(k)).c_str(), &v) != 0 ||
                    v != k)
                    ++failures;
                if (k % 25 == 0 && qm41XXutils_IniSave(h) != 0) ++failures;
                // Other instances on the same file come and go meanwhile.
                uint32_t other = 0;
                if (k % 10 == 0) {
                    if (qm41XXutils_IniCreate(path.c_str(), &other) != 0 || qm41XXutils_IniDelete(other) != 0)
                        ++failures;
                }
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(failures.load(), 0);
    ASSERT_EQ(qm41XXutils_IniSave(h), 0);
    ASSERT_EQ(qm41XXutils_IniDelete(h), 0);
    ASSERT_EQ(qm41XXutils_IniCreate(path.c_str(), &h), 0);
    for (int t = 0; t < THREADS; ++t) {
        int32_t v = -1;
        EXPECT_EQ(qm41XXutils_IniGetInt(h, ("T" + std::to_string(t)).c_str(), "k99", &v), 0);
        EXPECT_EQ(v, 99);
    }
    qm41XXutils_IniDelete(h);
}

}  // namespace
