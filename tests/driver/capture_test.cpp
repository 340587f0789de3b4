// The capture engine: file formats read back by a reader of the test's own, every file operation wired
// to its capture and format, and each failure road (no file, no memory, failed capture, full disk).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "capture_file.h"
#include "capture_values.h"
#include "decimal_text.h"
#include "file_text.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"
#include "qm_faults.h"

namespace {

// A folder of this process's own, so that runs side by side keep to their own files; removed at exit.
std::string tempPath(const std::string& name) {
    static const struct Folder {
        std::string path = ::testing::TempDir() + "qm4120_capture_XXXXXX";
        bool made = ::mkdtemp(path.data()) != nullptr;
        ~Folder() {
            std::error_code ignored;
            if (made) std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path + "/" + name;
}

TEST(CaptureFormats, PublishedExamples) {
    using qm::driver::CaptureFile;
    const std::string path = tempPath("format");
    const float i[] = {16384 / 32768.0f, -1 / 32768.0f};
    const float q[] = {-8192 / 32768.0f, 0.0f};
    const int16_t words16[] = {1, -2, 32767, -32768, static_cast<int16_t>(0xFFFF)};
    const int32_t words32[] = {-1};
    const struct {
        std::function<int32_t(CaptureFile&)> write;
        std::string expected;
    } cases[] = {
        {[&](CaptureFile& f) { return f.decimal(words16, 5); }, "1\n-2\n32767\n-32768\n-1\n"},
        {[&](CaptureFile& f) { return f.floatLines(i, q, 2); }, "0.500000\n-0.250000\n-0.000031\n0.000000\n"},
        {[&](CaptureFile& f) { return f.csv(i, q, 2); }, "0.500000,-0.250000\n-0.000031,0.000000\n"},
        {[&](CaptureFile& f) { return f.floatPairs(i, q, 1); },
         std::string("\x00\x00\x00\x3F\x00\x00\x80\xBE", 8)},
        {[&](CaptureFile& f) { return f.raw(words16, 2); }, std::string("\x01\x00\xFE\xFF", 4)},
        {[&](CaptureFile& f) { return f.raw(words32, 1); }, std::string("\xFF\xFF\xFF\xFF", 4)},
    };
    for (const auto& c : cases) {
        CaptureFile file;
        ASSERT_EQ(file.open(path.c_str()), 0);
        EXPECT_EQ(c.write(file), 0);
        EXPECT_EQ(file.close(), 0);
        EXPECT_EQ(readText(path), c.expected);
    }
}

TEST(CaptureFormats, FloatTextIsWhatPrintfWritesForEveryKindOfFloat) {
    std::vector<float> values = {
        0.0f, -0.0f, 1.0f / 128, -1.0f / 128, 0.5f, -0.25f, 1.0f, -1.0f, 5e-7f, -5e-7f, 1e-9f, -1e-9f, 1e-45f,
        1e-38f, 123456.789f, 2147483520.0f, 3e9f, -3e9f, 1e30f, INFINITY, -INFINITY, NAN,
        // Values whose sixth decimal rounds up into the whole part, or sits near a half.
        0.9999995f, -0.9999995f, 0.99999994f, 1.5e-6f, -2.5e-6f, 999999.5f, 0.0000005f};
    // Every 16-bit word as the I/Q capture scales it, and a spread of bit patterns of every exponent.
    for (int w = -32768; w <= 32767; ++w) values.push_back(static_cast<float>(w / 32768.0));
    uint32_t state = 12345;
    for (int k = 0; k < 200000; ++k) {
        state = state * 1664525u + 1013904223u;
        float v;
        std::memcpy(&v, &state, sizeof v);
        values.push_back(v);
    }
    int mismatches = 0;
    for (float v : values) {
        char expected[512];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(v));
        char got[512];
        char* end = qm::driver::formatFixed6(got, v);
        if (std::string(got, end) != expected && ++mismatches <= 5)
            ADD_FAILURE() << "printf: " << expected << " formatFixed6: " << std::string(got, end);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(CaptureFormats, DecimalTextOfThirtyTwoBitWordsIsWhatPrintfWrites) {
    std::vector<int32_t> values = {
        INT32_MIN, INT32_MIN + 1, -1000000000, -10000, -9999, -10,   -1,    0,        1,         9,        10,
        99,        100,           999,         1000,   9999,  10000, 10001, 99999999, 100000000, INT32_MAX};
    // Enough words for several write blocks.
    uint32_t state = 777;
    for (int k = 0; k < 1200000; ++k) {
        state = state * 1664525u + 1013904223u;
        values.push_back(static_cast<int32_t>(state) >> (k % 31));
    }
    std::string expected;
    for (int32_t v : values) {
        char line[16];
        expected.append(line, static_cast<size_t>(std::snprintf(line, sizeof line, "%d\n", v)));
    }
    const std::string path = tempPath("decimal32");
    qm::driver::CaptureFile file;
    ASSERT_EQ(file.open(path.c_str()), 0);
    ASSERT_EQ(file.decimal(values.data(), values.size()), 0);
    ASSERT_EQ(file.close(), 0);
    const std::string got = readText(path);
    const auto differ = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(differ.first == got.end()) << "first difference at byte " << (differ.first - got.begin());
}

// The line writers take eight words at a time where the machine allows and finish a run with the scalar
// formatter. Each edge value is put at every place of a group of eight and in the tail; runs of longest
// lines fill exactly the room the writers are given, so a store past it is caught by the address
// sanitizer.
TEST(CaptureFormats, DecimalLineWritersWriteWhatPrintfWritesAtEveryPlaceOfAGroup) {
    std::vector<int32_t> edges = {INT32_MIN, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX, 0};
    for (int64_t power = 1; power <= 1000000000; power *= 10)
        for (int64_t v : {power - 1, power, power + 1, 1 - power, -power, -power - 1})
            edges.push_back(static_cast<int32_t>(v));
    std::vector<std::vector<int32_t>> runs;
    for (size_t shift = 0; shift < 9; ++shift) {
        runs.emplace_back(shift, -77);
        runs.back().insert(runs.back().end(), edges.begin(), edges.end());
        runs.emplace_back(7 + shift, INT32_MIN);
    }
    using Writer = char* (*)(char*, const int32_t*, size_t);
    std::vector<std::pair<const char*, Writer>> writers = {{"scalar", &qm::driver::decimalLines32Scalar},
                                                           {"chosen", &qm::driver::decimalLines32}};
    if (qm::driver::avx2DecimalLines()) writers.push_back({"avx2", &qm::driver::decimalLines32Avx2});
    for (const std::vector<int32_t>& words : runs) {
        std::string expected;
        for (int32_t v : words) {
            char line[16];
            expected.append(line, static_cast<size_t>(std::snprintf(line, sizeof line, "%d\n", v)));
        }
        for (const auto& [name, write] : writers) {
            std::vector<char> room(words.size() * qm::driver::DECIMAL32_LINE_BYTES);
            char* end = write(room.data(), words.data(), words.size());
            EXPECT_EQ(std::string(room.data(), end), expected)
                << name << " writer, " << words.size() << " words";
        }
    }
}

TEST(CaptureFormats, FloatPairWritersWriteWhatPrintfWritesAtEveryPlaceOfAGroup) {
    const float inf = std::numeric_limits<float>::infinity();
    const float below1 = std::nextafter(1.0f, 0.0f);
    // Values of 16-bit words first and last, so that a group of them alone starts each run (the table);
    // between them zeros of both signs, the smallest subnormal, negatives that round to zero millionths,
    // ties of the rounding (odd multiples of 2^-7 are exact halves of a millionth), values that round up
    // into the next millionth or into the whole part, and the largest below 8.
    std::vector<float> inside = {-1.0f,
                                 1.0f / 32768,
                                 -32767.0f / 32768,
                                 0.5f,
                                 0.0f,
                                 -0.0f,
                                 1e-45f,
                                 -1e-45f,
                                 -4e-7f,
                                 1.0f / 128,
                                 -3.0f / 128,
                                 5.0f / 128,
                                 0.0000015f,
                                 0.1f,
                                 -0.7f,
                                 below1,
                                 -below1,
                                 1.0f,
                                 0.9999995f,
                                 7.9999995f,
                                 -7.9999995f,
                                 2.5f,
                                 -6.1234567f,
                                 0.123456789f,
                                 1e-6f,
                                 12345.0f / 32768,
                                 -3.0f / 32768,
                                 -0.75f,
                                 -1.0f};
    std::vector<float> everything = inside;
    for (float v : {8.0f, -8.0f, 1e10f, -3.4e38f, inf, -inf, std::nanf("")}) everything.push_back(v);
    using Writer = char* (*)(char*, const float*, const float*, size_t, char);
    std::vector<std::pair<const char*, Writer>> writers = {{"scalar", &qm::driver::fixedPairLinesScalar},
                                                           {"chosen", &qm::driver::fixedPairLines}};
    if (qm::driver::avx2DecimalLines()) writers.push_back({"avx2", &qm::driver::fixedPairLinesAvx2});
    for (const std::vector<float>* values : {&inside, &everything}) {
        for (size_t shift = 0; shift < 4; ++shift) {
            // The values as I and, in the other order, as Q, after `shift` samples so that each falls at
            // every place of a group of four, and the last ones in the tail.
            std::vector<float> i(shift, 0.25f), q(shift, -0.5f);
            i.insert(i.end(), values->begin(), values->end());
            q.insert(q.end(), values->rbegin(), values->rend());
            for (char between : {'\n', ','}) {
                std::string expected;
                for (size_t k = 0; k < i.size(); ++k) {
                    char line[128];
                    expected.append(line, static_cast<size_t>(std::snprintf(
                                              line, sizeof line, "%f%c%f\n", static_cast<double>(i[k]),
                                              between, static_cast<double>(q[k]))));
                }
                for (const auto& [name, write] : writers) {
                    std::vector<char> room(i.size() * qm::driver::FIXED_PAIR_LINE_BYTES);
                    char* end = write(room.data(), i.data(), q.data(), i.size(), between);
                    EXPECT_EQ(std::string(room.data(), end), expected)
                        << name << " writer, " << i.size() << " samples";
                }
            }
        }
    }
}

TEST(CaptureFormats, EveryFormatOfTheSameWordsHoldsTheSameValues) {
    using qm::driver::CaptureFile;
    // Enough words to fill several write blocks, with the extremes among them. Float text and CSV are
    // one writer with another separator, so CSV stands for both.
    std::vector<int16_t> words(3 << 19);
    uint32_t x = 12345;
    for (int16_t& w : words) w = static_cast<int16_t>((x = x * 1664525u + 1013904223u) >> 16);
    words[0] = -32768;
    words[1] = 32767;
    const size_t samples = words.size() / 2;
    std::vector<float> i(samples), q(samples);
    for (size_t k = 0; k < samples; ++k) {
        i[k] = static_cast<float>(words[2 * k] / 32768.0);
        q[k] = static_cast<float>(words[2 * k + 1] / 32768.0);
    }
    const struct {
        std::string name;
        std::function<int32_t(CaptureFile&)> write;
        std::function<std::vector<double>(const std::string&)> read;
        double scale, tolerance;
    } formats[] = {
        {"decimal", [&](CaptureFile& f) { return f.decimal(words.data(), words.size()); },
         [](const std::string& p) { return textValues(readText(p)); }, 1.0, 0.0},
        {"raw", [&](CaptureFile& f) { return f.raw(words.data(), words.size()); },
         [](const std::string& p) { return littleEndianValues(readText(p), 2, false); }, 1.0, 0.0},
        {"csv", [&](CaptureFile& f) { return f.csv(i.data(), q.data(), samples); },
         [](const std::string& p) { return textValues(readText(p)); }, 32768.0, 32768.0 * 5.000001e-7},
        {"binary floats", [&](CaptureFile& f) { return f.floatPairs(i.data(), q.data(), samples); },
         [](const std::string& p) { return littleEndianValues(readText(p), 4, true); }, 32768.0, 0.0},
    };
    const std::string path = tempPath("formats");
    for (const auto& format : formats) {
        CaptureFile file;
        ASSERT_EQ(file.open(path.c_str()), 0);
        ASSERT_EQ(format.write(file), 0);
        ASSERT_EQ(file.close(), 0);
        const std::vector<double> values = format.read(path);
        ASSERT_EQ(values.size(), words.size()) << format.name;
        size_t wrong = 0;
        for (size_t k = 0; k < words.size(); ++k) {
            if (std::fabs(values[k] * format.scale - words[k]) > format.tolerance) ++wrong;
        }
        EXPECT_EQ(wrong, 0u) << format.name;
    }
}

// The driver's operations on a simulated 4A20 whose clock the test holds (the data come at once).
class Capture : public ::testing::Test {
  protected:
    void SetUp() override {
        qm4120_simSetClock(&now, nullptr, nullptr);
        qm4120_simSetSignal("");
        ASSERT_EQ(qm4120_init("0x4A20", 0, 1, &vi), 0);
    }
    void TearDown() override {
        qm_fault_clear_all();
        qm4120_close(vi);
        qm4120_simSetSignal("");
        qm4120_simSetClock(nullptr, nullptr, nullptr);
    }
    static double now(void*) { return seconds; }
    static inline double seconds = 0.0;
    uint32_t vi = 0;
};

// Every file operation reaches the capture of its kind and writes its format: what the file holds
// equals what the Mem form left in the caller's buffer, and the forms without a buffer write as many
// values of the same kind.
TEST_F(Capture, EveryFileOperationWritesItsCaptureInItsFormat) {
    constexpr uint32_t N = 1024;  // words of the kind, or I/Q pairs
    std::vector<int16_t> b16(N);
    std::vector<int32_t> b32(N);
    std::vector<float> fi(N), fq(N);
    const std::string path = tempPath("op");
    const char* p = nullptr;
    const auto text = [](const std::string& f) { return textValues(readText(f)); };
    const auto bin16 = [](const std::string& f) { return littleEndianValues(readText(f), 2, false); };
    const auto bin32 = [](const std::string& f) { return littleEndianValues(readText(f), 4, false); };
    const auto binF = [](const std::string& f) { return littleEndianValues(readText(f), 4, true); };
    const std::function<std::vector<double>()> as16 = [&] {
        return std::vector<double>(b16.begin(), b16.end());
    };
    const std::function<std::vector<double>()> as32 = [&] {
        return std::vector<double>(b32.begin(), b32.end());
    };
    const std::function<std::vector<double>()> asIq = [&] {
        std::vector<double> v;
        for (uint32_t k = 0; k < N; ++k) v.insert(v.end(), {fi[k], fq[k]});
        return v;
    };
    const struct {
        const char* name;
        uint16_t outputFormat;  // the I/Q word width the capture needs
        std::function<int32_t()> call;
        std::function<std::vector<double>(const std::string&)> read;
        size_t values;
        std::function<std::vector<double>()> buffer;  // what the Mem form captured; null for others
        double tolerance;
    } ops[] = {
        {"captAscFile", 0, [&] { return qm4120_captAscFile(vi, N, p); }, text, N, nullptr, 0},
        {"captMemAscFile", 0, [&] { return qm4120_captMemAscFile(vi, N, b16.data(), p); }, text, N, as16, 0},
        {"captAscFileIf", 0, [&] { return qm4120_captAscFileIf(vi, N, p); }, text, N, nullptr, 0},
        {"captMemAscFileIf", 0, [&] { return qm4120_captMemAscFileIf(vi, N, b16.data(), p); }, text, N, as16,
         0},
        {"captAscFile32", 1, [&] { return qm4120_captAscFile32(vi, N, p); }, text, N, nullptr, 0},
        {"captMemAscFile32", 1, [&] { return qm4120_captMemAscFile32(vi, N, b32.data(), p); }, text, N, as32,
         0},
        {"captBinFile", 0, [&] { return qm4120_captBinFile(vi, N, p); }, bin16, N, nullptr, 0},
        {"captMemBinFile", 0, [&] { return qm4120_captMemBinFile(vi, N, b16.data(), p); }, bin16, N, as16, 0},
        {"captBinFileIf", 0, [&] { return qm4120_captBinFileIf(vi, N, p); }, bin16, N, nullptr, 0},
        {"captMemBinFileIf", 0, [&] { return qm4120_captMemBinFileIf(vi, N, b16.data(), p); }, bin16, N, as16,
         0},
        {"captBinFile32", 1, [&] { return qm4120_captBinFile32(vi, N, p); }, bin32, N, nullptr, 0},
        {"captMemBinFile32", 1, [&] { return qm4120_captMemBinFile32(vi, N, b32.data(), p); }, bin32, N, as32,
         0},
        {"captAscFileIq", 1, [&] { return qm4120_captAscFileIq(vi, N, p); }, text, 2 * N, nullptr, 0},
        {"captMemAscFileIq", 1, [&] { return qm4120_captMemAscFileIq(vi, N, fi.data(), fq.data(), p); }, text,
         2 * N, asIq, 5.000001e-7},
        {"captAscCsvFileIq", 0, [&] { return qm4120_captAscCsvFileIq(vi, N, p); }, text, 2 * N, nullptr, 0},
        {"captMemAscCsvFileIq", 0, [&] { return qm4120_captMemAscCsvFileIq(vi, N, fi.data(), fq.data(), p); },
         text, 2 * N, asIq, 5.000001e-7},
        {"captBinFileIq", 0, [&] { return qm4120_captBinFileIq(vi, N, p); }, binF, 2 * N, nullptr, 0},
        {"captMemBinFileIq", 1, [&] { return qm4120_captMemBinFileIq(vi, N, fi.data(), fq.data(), p); }, binF,
         2 * N, asIq, 0},
    };
    ASSERT_EQ(qm4120_setModulationMode(vi, 0), 0);
    ASSERT_EQ(qm4120_setUmtsDecimationRatio(vi, 8), 0);  // allows 32-bit words
    for (const auto& op : ops) {
        ASSERT_EQ(qm4120_setSampleDataOutputFormat(vi, op.outputFormat), 0);
        const std::string file = path + op.name;
        p = file.c_str();
        ASSERT_EQ(op.call(), 0) << op.name;
        const std::vector<double> values = op.read(file);
        ASSERT_EQ(values.size(), op.values) << op.name;
        if (op.buffer) {
            const std::vector<double> expected = op.buffer();
            for (size_t k = 0; k < values.size(); ++k) {
                ASSERT_NEAR(values[k], expected[k], op.tolerance) << op.name << " value " << k;
            }
        }
    }
}

TEST_F(Capture, IqValuesAreScaledToFullScaleInBothWordWidths) {
    ASSERT_EQ(qm4120_simSetSignal("tone_level=-10,noise=-170"), 0);
    ASSERT_EQ(qm4120_setModulationMode(vi, 0), 0);
    ASSERT_EQ(qm4120_setUmtsDecimationRatio(vi, 8), 0);
    double rms[2] = {0, 0};
    for (uint16_t format : {0, 1}) {
        ASSERT_EQ(qm4120_setSampleDataOutputFormat(vi, format), 0);
        std::vector<float> i(4096), q(4096);
        ASSERT_EQ(qm4120_captMemIq(vi, 4096, i.data(), q.data()), 0);
        for (size_t k = 0; k < i.size(); ++k) rms[format] += (i[k] * i[k] + q[k] * q[k]) / i.size();
        EXPECT_GT(rms[format], 1e-4) << "a tone well inside full scale";
        EXPECT_LT(rms[format], 1.0);
    }
    EXPECT_NEAR(10 * std::log10(rms[1] / rms[0]), 0.0, 0.5) << "the same signal in either word width";
}

TEST_F(Capture, FailuresAreReportedAndLeaveNoOrAnEmptyFile) {
    std::vector<int16_t> buffer(256);
    int32_t armed = 0;
    // A missing folder: no file, and the module is not touched (an armed fault stays unused).
    const std::string missing = tempPath("no/such/folder.txt");
    qm_fault_set("qm4120_controlDataCapture", 3, 1);
    EXPECT_EQ(qm4120_captAscFile(vi, 256, missing.c_str()), QM4120_ERROR_CAPTURE_FILE);
    EXPECT_EQ(qm4120_captMemBinFileIq(vi, 64, nullptr, nullptr, missing.c_str()), QM4120_ERROR_CAPTURE_FILE);
    EXPECT_EQ(qm4120_captBinFile(vi, 256, nullptr), QM4120_ERROR_CAPTURE_FILE);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(qm_fault_hit("qm4120_controlDataCapture", &armed), 1) << "a capture ran without a file";

    // A failed capture or transfer: its status, and an empty file.
    const std::string file = tempPath("failed.txt");
    for (const char* op : {"qm4120_controlDataCapture", "qm4120_controlDataAcquire"}) {
        qm_fault_set(op, -5, 1);
        EXPECT_EQ(qm4120_captMemAscFile(vi, 256, buffer.data(), file.c_str()), qm4120_dll_error(-5)) << op;
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(readText(file), "") << op;
    }

    // Count 0: an empty file and success.
    EXPECT_EQ(qm4120_captAscFileIq(vi, 0, file.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(readText(file), "");

    // Counts no buffer can hold: an allocation failure, not a crash; the file stays empty.
    EXPECT_EQ(qm4120_captAscFileIq(vi, 0xFFFFFFFFu, file.c_str()), QM4120_ERROR_ALLOC);
    EXPECT_EQ(qm4120_captBinFile32(vi, 0xFFFFFFFFu, file.c_str()), QM4120_ERROR_ALLOC);
    EXPECT_EQ(readText(file), "");
    std::vector<float> i(4), q(4);
    EXPECT_EQ(qm4120_captMemIq(vi, 0xFFFFFFFFu, i.data(), q.data()), QM4120_ERROR_ALLOC);
    EXPECT_LT(qm4120_captMem32(vi, 0x80000000u, nullptr), 0);

    // A full disk is an error, text or binary, never a shorter file passed off as complete.
    EXPECT_EQ(qm4120_captMemAscFile(vi, 256, buffer.data(), "/dev/full"), QM4120_ERROR_CAPTURE_WRITE);
    EXPECT_EQ(qm4120_captBinFile(vi, 256, "/dev/full"), QM4120_ERROR_CAPTURE_WRITE);
    EXPECT_EQ(qm4120_captAscCsvFileIq(vi, 100000, "/dev/full"), QM4120_ERROR_CAPTURE_WRITE);
    // Several blocks, each refused while the next one is being formatted.
    EXPECT_EQ(qm4120_captAscFile32(vi, 1u << 20, "/dev/full"), QM4120_ERROR_CAPTURE_WRITE);
    char text[QM4120_TEXT_SIZE];
    EXPECT_EQ(qm4120_error_message(vi, QM4120_ERROR_CAPTURE_WRITE, text), 0);
    EXPECT_NE(std::string(text).find("Failed to write file for data capture"), std::string::npos);
}

}  // namespace
