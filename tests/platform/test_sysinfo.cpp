#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "env_guard.h"
#include "file_text.h"
#include "pxi_korvo.h"
#include "qm41XX_utils.h"
#include "qm_faults.h"
#include "qm_sysinfo.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Builds a version marker at run time. Written as one literal it would sit in this very program and be
// found when the test reads its own version.
std::string marker(const std::string& version) {
    std::string text = "QM_FILE_VERSION#";
    volatile char equals = '=';
    text.back() = equals;
    return text + version + '\0';
}

class SysinfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qm_fault_clear_all();
        ASSERT_FALSE(tmp_.path().empty());
    }
    fs::path file(const char* name, const std::string& content) {
        writeText(dir_ / name, content);
        return dir_ / name;
    }
    static std::string version(const std::string& path, int32_t size = 64, int32_t* status = nullptr) {
        char text[64] = "stale";
        const int32_t s = qm_fileVersion(path.c_str(), text, size);
        if (status) *status = s;
        return s < 0 ? "<" + std::to_string(s) + ">" : text;
    }
    TempDir tmp_{"qm-sysinfo"};
    const fs::path dir_ = tmp_.path();
};

TEST_F(SysinfoTest, OurLibrariesCarryTheProjectVersion) {
    EXPECT_EQ(version(QM_TEST_SETTINGS_LIBRARY), QM_TEST_PROJECT_VERSION);
    EXPECT_EQ(version(QM_TEST_BUS_LIBRARY), QM_TEST_PROJECT_VERSION);
    // The reader's own library holds the search text next to its marker and must still find the marker.
    EXPECT_EQ(version(QM_TEST_SYSINFO_LIBRARY), QM_TEST_PROJECT_VERSION);
    // This program was given its own version, padded to four numbers.
    EXPECT_EQ(version("/proc/self/exe"), "3.2.1.0");
}

TEST_F(SysinfoTest, BareNamesAreFoundLikeLibraries) {
    // Make sure both libraries are really loaded into this process.
    ASSERT_NE(qm41XXutils_ErrorText(0), nullptr);
    uint32_t rm = 0;
    ASSERT_EQ(korvo_viOpenDefaultRM(&rm), VI_SUCCESS);
    korvo_viClose(rm);
    EXPECT_EQ(version(fs::path(QM_TEST_SETTINGS_LIBRARY).filename()), QM_TEST_PROJECT_VERSION);
    EXPECT_EQ(version(fs::path(QM_TEST_BUS_LIBRARY).filename()), QM_TEST_PROJECT_VERSION);
    EXPECT_EQ(version("qm4880_usrcal.so"), "<" + std::to_string(QM_SYSINFO_ERR_FILE_NOT_FOUND) + ">");
}

TEST_F(SysinfoTest, MarkersAreValidated) {
    const std::string bogus =
        std::string("QM_FILE_VERSION=\0QM_FILE_VERSION=1.x\0QM_FILE_VERSION=1..2\0", 58);
    const std::string noVersion = "<" + std::to_string(QM_SYSINFO_ERR_NO_VERSION) + ">";
    EXPECT_EQ(version(file("good.so", bogus + "junk" + marker("2.1.0.7")).string()), "2.1.0.7");
    EXPECT_EQ(version(file("bogus.so", bogus).string()), noVersion);
    // Five numbers, or a version not ended by a NUL byte, is not one of our markers.
    EXPECT_EQ(version(file("five.so", marker("1.2.3.4.5")).string()), noVersion);
    EXPECT_EQ(version(file("open.so", marker("1.2").substr(0, 19)).string()), noVersion);
    EXPECT_EQ(version(file("empty.so", "").string()), noVersion);
}

TEST_F(SysinfoTest, MarkerAcrossAReadBoundaryIsFound) {
    // The reader works in 1 MiB pieces; put the marker across the first boundary at every split.
    const std::string tenTwenty = marker("10.20.30.40");
    for (size_t cut = 1; cut < tenTwenty.size(); cut += 3) {
        const std::string content = std::string((1u << 20) - cut, 'x') + tenTwenty + "tail";
        EXPECT_EQ(version(file("big.so", content).string()), "10.20.30.40") << cut;
    }
}

TEST_F(SysinfoTest, BadRequests) {
    int32_t status = 0;
    version((dir_ / "missing.so").string(), 64, &status);
    EXPECT_EQ(status, QM_SYSINFO_ERR_FILE_NOT_FOUND);
    version(dir_.string(), 64, &status);
    EXPECT_EQ(status, QM_SYSINFO_ERR_FILE_READ);
    const fs::path good = file("v.so", marker("1.2.3.4"));
    char text[4] = "xyz";
    EXPECT_EQ(qm_fileVersion(good.c_str(), text, sizeof text), QM_SYSINFO_WARN_TRUNCATED);
    EXPECT_STREQ(text, "1.2");
    EXPECT_EQ(qm_fileVersion(good.c_str(), text, 0), QM_SYSINFO_ERR_INVALID_ARG);
    EXPECT_EQ(qm_fileVersion(good.c_str(), nullptr, 4), QM_SYSINFO_ERR_INVALID_ARG);
    EXPECT_EQ(qm_fileVersion("", text, sizeof text), QM_SYSINFO_ERR_INVALID_ARG);
    qm_fault_set("qm_fileVersion", -77, 1);
    EXPECT_EQ(qm_fileVersion(good.c_str(), text, sizeof text), -77);
    EXPECT_STREQ(text, "");
}

TEST_F(SysinfoTest, OpenUrlRunsTheOpener) {
    const fs::path log = dir_ / "opened.txt";
    const fs::path opener =
        file("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + log.string() + ".part'\nmv '" + log.string() +
                             ".part' '" + log.string() + "'\n");
    fs::permissions(opener, fs::perms::owner_all);
    {
        // "xdg-open" is whatever the test puts there.
        EnvGuard path("PATH", (dir_.string() + ":/bin:/usr/bin").c_str());
        EXPECT_EQ(qm_openUrl("https://example.com/qm4120?a=1&b=2"), QM_SYSINFO_SUCCESS);
    }
    // The opener runs detached; give it a generous while to leave its trace.
    for (int i = 0; i < 500 && !fs::exists(log); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readText(log), "https://example.com/qm4120?a=1&b=2");
}

TEST_F(SysinfoTest, OpenUrlReportsWhatCannotStart) {
    {
        EnvGuard path("PATH", dir_.c_str());  // no opener there
        EXPECT_EQ(qm_openUrl("https://example.com"), QM_SYSINFO_ERR_LAUNCH);
    }
    EXPECT_EQ(qm_openUrl(""), QM_SYSINFO_ERR_INVALID_ARG);
    EXPECT_EQ(qm_openUrl(nullptr), QM_SYSINFO_ERR_INVALID_ARG);
    EXPECT_EQ(qm_openUrl("--help"), QM_SYSINFO_ERR_INVALID_ARG);
    qm_fault_set("qm_openUrl", -9, 1);
    EXPECT_EQ(qm_openUrl("https://example.com"), -9);
}

}  // namespace
