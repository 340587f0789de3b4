#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "file_text.h"
#include "full_disk.h"
#include "qm41XX_utils.h"
#include "qm_faults.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qm_fault_clear_all();
        ASSERT_FALSE(tmp_.path().empty());
    }
    void TearDown() override {
        for (uint32_t h : handles_) qm41XXutils_IniDelete(h);
    }
    uint32_t create(const std::string& path) {
        uint32_t h = 0;
        EXPECT_EQ(qm41XXutils_IniCreate(path.c_str(), &h), QM41XXUTILS_SUCCESS) << path;
        handles_.push_back(h);
        return h;
    }
    size_t filesInDir() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
        return n;
    }

    TempDir tmp_{"qm41xx-test"};
    const fs::path dir_ = tmp_.path();
    const std::string path_ = tmp_.file("unit.ini");
    std::vector<uint32_t> handles_;
};

TEST_F(SettingsTest, MissingFileIsAnEmptyInstanceAndTheFirstWriteCreatesIt) {
    const uint32_t h = create(path_);
    EXPECT_NE(h, 0u);
    EXPECT_FALSE(fs::exists(path_));
    char buf[32] = "stale";
    EXPECT_EQ(qm41XXutils_IniGetString(h, "Directories", "SettingsDir", buf, sizeof buf),
              QM41XXUTILS_ERR_NOT_FOUND);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(qm41XXutils_IniPutString(h, "Directories", "SettingsDir", "/home/op/settings"), 0);
    EXPECT_EQ(readText(path_), "[Directories]\nSettingsDir=/home/op/settings\n");
    EXPECT_EQ(
        fs::status(path_).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(SettingsTest, ValuesRoundTripThroughTheFile) {
    const uint32_t h = create(path_);
    const double doubles[] = {0.1,
                              -2046080000.0,
                              1.0 / 3.0,
                              6.02214076e23,
                              -0.0,
                              std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (size_t i = 0; i < std::size(doubles); ++i) {
        ASSERT_EQ(qm41XXutils_IniPutDouble(h, "Real", ("d" + std::to_string(i)).c_str(), doubles[i]), 0);
    }
    ASSERT_EQ(qm41XXutils_IniPutDouble(h, "Real", "nan", std::nan("")), 0);
    ASSERT_EQ(qm41XXutils_IniPutInt(h, "Int", "min", INT32_MIN), 0);
    ASSERT_EQ(qm41XXutils_IniPutInt(h, "Int", "max", INT32_MAX), 0);
    ASSERT_EQ(qm41XXutils_IniPutUInt(h, "Int", "umax", UINT32_MAX), 0);
    ASSERT_EQ(qm41XXutils_IniPutString(h, "Text", "padded", "  C:\\Program Files\\qm  "), 0);

    // A second instance reads what the first wrote.
    const uint32_t r = create(path_);
    for (size_t i = 0; i < std::size(doubles); ++i) {
        double d = 42;
        ASSERT_EQ(qm41XXutils_IniGetDouble(r, "Real", ("d" + std::to_string(i)).c_str(), &d), 0);
        EXPECT_EQ(std::memcmp(&d, &doubles[i], sizeof d), 0) << i << ": " << d;  // bit for bit
    }
    double d = 0;
    ASSERT_EQ(qm41XXutils_IniGetDouble(r, "real", "NAN", &d), 0);
    EXPECT_TRUE(std::isnan(d));
    int32_t i = 0;
    uint32_t u = 0;
    EXPECT_EQ(qm41XXutils_IniGetInt(r, "Int", "min", &i), 0);
    EXPECT_EQ(i, INT32_MIN);
    EXPECT_EQ(qm41XXutils_IniGetInt(r, "Int", "max", &i), 0);
    EXPECT_EQ(i, INT32_MAX);
    EXPECT_EQ(qm41XXutils_IniGetUInt(r, "Int", "umax", &u), 0);
    EXPECT_EQ(u, UINT32_MAX);
    char buf[64];
    EXPECT_EQ(qm41XXutils_IniGetString(r, "Text", "padded", buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "  C:\\Program Files\\qm  ");
}

TEST_F(SettingsTest, NumbersAreCheckedWhenRead) {
    writeText(path_,
              "[N]\nplus=+12\nspaced= 7 \nhuge=4294967296\nneg=-1\nword=12abc\nempty=\nhex=0x10\nreal=1.5\n");
    const uint32_t h = create(path_);
    int32_t i = -99;
    uint32_t u = 99;
    double d = -99;
    EXPECT_EQ(qm41XXutils_IniGetInt(h, "N", "plus", &i), 0);
    EXPECT_EQ(i, 12);
    EXPECT_EQ(qm41XXutils_IniGetInt(h, "N", "spaced", &i), 0);
    EXPECT_EQ(i, 7);
    i = -99;
    for (const char* key : {"huge", "word", "empty", "hex", "real"}) {
        EXPECT_EQ(qm41XXutils_IniGetInt(h, "N", key, &i), QM41XXUTILS_ERR_BAD_NUMBER) << key;
    }
    EXPECT_EQ(i, -99);  // untouched by a failed read
    EXPECT_EQ(qm41XXutils_IniGetUInt(h, "N", "neg", &u), QM41XXUTILS_ERR_BAD_NUMBER);
    EXPECT_EQ(qm41XXutils_IniGetUInt(h, "N", "huge", &u), QM41XXUTILS_ERR_BAD_NUMBER);
    EXPECT_EQ(qm41XXutils_IniGetDouble(h, "N", "word", &d), QM41XXUTILS_ERR_BAD_NUMBER);
    EXPECT_EQ(qm41XXutils_IniGetDouble(h, "N", "real", &d), 0);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(qm41XXutils_IniGetDouble(h, "N", "missing", &d), QM41XXUTILS_ERR_NOT_FOUND);
    EXPECT_EQ(qm41XXutils_IniGetInt(h, "N", "plus", nullptr), QM41XXUTILS_ERR_INVALID_ARG);
}

TEST_F(SettingsTest, DoublesIgnoreTheProcessLocale) {
    // A desktop with a decimal comma must not change what is written or how it is read.
    if (!setlocale(LC_ALL, "de_DE.UTF-8") && !setlocale(LC_ALL, "fr_FR.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    const uint32_t h = create(path_);
    ASSERT_EQ(qm41XXutils_IniPutDouble(h, "R", "x", 1.25), 0);
    setlocale(LC_ALL, "C");
    EXPECT_EQ(readText(path_), "[R]\nx=1.25\n");
}

TEST_F(SettingsTest, OrderAndStringTruncation) {
    writeText(path_, "; old comment\r\n[B]\r\nb2=2\r\nb1=1\r\n[A]\r\na=x\r\n");
    const uint32_t h = create(path_);
    EXPECT_EQ(qm41XXutils_IniPutString(h, "C", "c", "3"), 0);
    EXPECT_EQ(qm41XXutils_IniPutString(h, "a", "A", "changed"), 0);
    EXPECT_EQ(qm41XXutils_IniPutString(h, "B", "b0", "0"), 0);
    EXPECT_EQ(readText(path_), "[B]\nb2=2\nb1=1\nb0=0\n\n[A]\na=changed\n\n[C]\nc=3\n");

    char small[4] = "xyz";
    EXPECT_EQ(qm41XXutils_IniGetString(h, "A", "a", small, sizeof small), QM41XXUTILS_WARN_TRUNCATED);
    EXPECT_STREQ(small, "cha");
    char one[1] = {'x'};
    EXPECT_EQ(qm41XXutils_IniGetString(h, "A", "a", one, 1), QM41XXUTILS_WARN_TRUNCATED);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(qm41XXutils_IniGetString(h, "A", "a", small, 0), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_EQ(qm41XXutils_IniGetString(h, "A", "a", nullptr, 4), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_EQ(qm41XXutils_IniGetString(h, nullptr, "a", small, 4), QM41XXUTILS_ERR_INVALID_ARG);

    EXPECT_EQ(qm41XXutils_IniDeleteAllSections(h), 0);
    EXPECT_EQ(readText(path_), "");
    EXPECT_EQ(qm41XXutils_IniGetString(h, "A", "a", small, sizeof small), QM41XXUTILS_ERR_NOT_FOUND);
}

TEST_F(SettingsTest, BadFilesGiveNoInstance) {
    const struct {
        const char* name;
        std::string content;
        int32_t status;
    } cases[] = {
        {"binary.ini",
         std::string("\x7F"
                     "ELF\x02\x01\x01\x00\x00\x00",
                     10),
         QM41XXUTILS_ERR_FILE_CORRUPT},
        {"longline.ini", "[A]\nk=" + std::string(2000, 'v') + "\n", QM41XXUTILS_ERR_LINE_TOO_LONG},
        {"toolarge.ini", "[A]\n" + std::string(17u << 20, '\n'), QM41XXUTILS_ERR_FILE_TOO_LARGE},
    };
    for (const auto& c : cases) {
        writeText(dir_ / c.name, c.content);
        uint32_t h = 99;
        EXPECT_EQ(qm41XXutils_IniCreate((dir_ / c.name).c_str(), &h), c.status) << c.name;
        EXPECT_EQ(h, 0u);
    }
    uint32_t h = 99;
    EXPECT_EQ(qm41XXutils_IniCreate(dir_.c_str(), &h), QM41XXUTILS_ERR_FILE_READ);  // a folder
    EXPECT_EQ(qm41XXutils_IniCreate("", &h), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_EQ(qm41XXutils_IniCreate(nullptr, &h), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_EQ(qm41XXutils_IniCreate(path_.c_str(), nullptr), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_STRNE(qm41XXutils_ErrorText(QM41XXUTILS_ERR_FILE_CORRUPT), qm41XXutils_ErrorText(12345));
    EXPECT_STREQ(qm41XXutils_ErrorText(12345), "Unknown status");
}

TEST_F(SettingsTest, RejectedPutsChangeNothing) {
    writeText(path_, "[A]\nk=old\n");
    const uint32_t h = create(path_);
    EXPECT_EQ(qm41XXutils_IniPutString(h, "A", "k", std::string(1025, 'v').c_str()),
              QM41XXUTILS_ERR_VALUE_TOO_LONG);
    EXPECT_EQ(qm41XXutils_IniPutString(h, "A", "k", "two\nlines"), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_EQ(qm41XXutils_IniPutString(h, "A", "k", nullptr), QM41XXUTILS_ERR_INVALID_ARG);
    EXPECT_EQ(readText(path_), "[A]\nk=old\n");
}

TEST_F(SettingsTest, FailedSaveKeepsTheOldFileAndTheOldContent) {
    writeText(path_, "[A]\nk=old\n");
    const uint32_t h = create(path_);

    // The save breaks off half-way as it would on a full disk. (Tests run as root, so permissions cannot
    // stop a write.)
    {
        FullDisk disk(16);
        ASSERT_TRUE(disk.ok());
        EXPECT_EQ(qm41XXutils_IniPutString(h, "A", "k", std::string(200, 'n').c_str()),
                  QM41XXUTILS_ERR_FILE_WRITE);
    }
    EXPECT_EQ(readText(path_), "[A]\nk=old\n");
    EXPECT_EQ(filesInDir(), 1u);  // no temporary file left behind
    char buf[16];
    EXPECT_EQ(qm41XXutils_IniGetString(h, "A", "k", buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "old");

    // The folder disappears and a file takes its name: nothing can be saved there any more.
    const fs::path moved = dir_.string() + "-moved";
    fs::rename(dir_, moved);
    writeText(dir_, "not a folder");
    EXPECT_EQ(qm41XXutils_IniPutString(h, "A", "k", "new"), QM41XXUTILS_ERR_FILE_WRITE);
    EXPECT_EQ(readText(moved / "unit.ini"), "[A]\nk=old\n");
    fs::remove(dir_);
    fs::rename(moved, dir_);

    // Once the folder is back, saving works again.
    EXPECT_EQ(qm41XXutils_IniPutString(h, "A", "k", "new"), 0);
    EXPECT_EQ(readText(path_), "[A]\nk=new\n");
}

TEST_F(SettingsTest, MissingFolderCannotBeSaved) {
    const std::string nowhere = (dir_ / "no-such-folder" / "x.ini").string();
    const uint32_t h = create(nowhere);
    EXPECT_EQ(qm41XXutils_IniPutInt(h, "A", "k", 1), QM41XXUTILS_ERR_FILE_WRITE);
    int32_t v = 0;
    EXPECT_EQ(qm41XXutils_IniGetInt(h, "A", "k", &v), QM41XXUTILS_ERR_NOT_FOUND);
}

TEST_F(SettingsTest, SavingCanBeDeferred) {
    const uint32_t h = create(path_);
    ASSERT_EQ(qm41XXutils_IniSetAutoSave(h, 0), 0);
    for (int ch = 0; ch < 128; ++ch) {
        ASSERT_EQ(qm41XXutils_IniPutDouble(h, ("Channel" + std::to_string(ch)).c_str(), "RfFreqHz", 1e9 + ch),
                  0);
    }
    EXPECT_FALSE(fs::exists(path_));
    ASSERT_EQ(qm41XXutils_IniSetAutoSave(h, 1), 0);  // saves what was put meanwhile
    const uint32_t r = create(path_);
    double d = 0;
    EXPECT_EQ(qm41XXutils_IniGetDouble(r, "Channel127", "RfFreqHz", &d), 0);
    EXPECT_EQ(d, 1e9 + 127);
    EXPECT_EQ(qm41XXutils_IniSave(r), 0);
}

TEST_F(SettingsTest, SymbolicLinkKeepsPointingAtTheSettings) {
    const fs::path real = dir_ / "real.ini";
    writeText(real, "[A]\nk=1\n");
    fs::create_symlink(real, path_);
    const uint32_t h = create(path_);
    ASSERT_EQ(qm41XXutils_IniPutInt(h, "A", "k", 2), 0);
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(readText(real), "[A]\nk=2\n");
}

TEST_F(SettingsTest, HandlesAndFaults) {
    const uint32_t h = create(path_);
    ASSERT_EQ(qm41XXutils_IniDelete(h), 0);
    handles_.clear();
    EXPECT_EQ(qm41XXutils_IniDelete(h), QM41XXUTILS_ERR_INVALID_HANDLE);
    EXPECT_EQ(qm41XXutils_IniPutInt(h, "A", "k", 1), QM41XXUTILS_ERR_INVALID_HANDLE);
    const uint32_t next = create(path_);
    EXPECT_NE(next, h);  // handles are not reused

    qm_fault_set("qm41XXutils_IniCreate", -3, 1);
    uint32_t out = 7;
    EXPECT_EQ(qm41XXutils_IniCreate(path_.c_str(), &out), -3);
    EXPECT_EQ(out, 0u);
    qm_fault_set("qm41XXutils_IniPutString", QM41XXUTILS_ERR_FILE_WRITE, 1);
    EXPECT_EQ(qm41XXutils_IniPutString(next, "A", "k", "v"), QM41XXUTILS_ERR_FILE_WRITE);
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_EQ(qm41XXutils_IniPutString(next, "A", "k", "v"), 0);
}

}  // namespace
