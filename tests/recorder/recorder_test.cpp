// qm4120_capture run as a program on the simulated module: SigMF recordings whose metadata describe the
// capture and whose data hold the scenario's tone where it is, the five capture file formats, and the
// failures that must leave no output behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "capture_values.h"
#include "file_text.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Samples = std::vector<std::complex<double>>;

// The simulated 4120's rates: ADC clock, its IF centre, and the default I/Q rate (UMTS chain at
// 61.44 MHz, decimation 2).
constexpr double ADC_CLOCK = 61.44e6;
constexpr double IF_CENTRE = 46.08e6;
constexpr double IQ_RATE = 30.72e6;
constexpr double DEFAULT_RF = 2.0e9;
constexpr size_t SAMPLES = 2048;

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the recorder in `dir` with the scenario `signal`; with interruptAfterMs >= 0 it gets SIGINT that
// long after it has started writing.
Result runRecorder(const TempDir& dir, const std::vector<std::string>& args, const std::string& signal = "",
                   int interruptAfterMs = -1) {
    const std::string outPath = dir.path() + "/../" + fs::path(dir.path()).filename().string() + ".out";
    const std::string errPath = outPath + ".err";
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.path().c_str()) != 0) _exit(127);
        if (!signal.empty()) setenv("QM4120_SIM_SIGNAL", signal.c_str(), 1);
        FILE* out = std::freopen(outPath.c_str(), "w", stdout);
        FILE* err = std::freopen(errPath.c_str(), "w", stderr);
        if (!out || !err) _exit(127);
        std::vector<char*> argv{const_cast<char*>(QM4120_CAPTURE_PATH)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(QM4120_CAPTURE_PATH, argv.data());
        _exit(127);
    }
    if (interruptAfterMs >= 0) {
        // The recorder makes its output files once it handles signals; a slow start (a loaded machine, a
        // sanitizer build) must not meet the default action of SIGINT instead.
        for (int waited = 0; waited < 1000 && fs::is_empty(dir.path()); ++waited) usleep(10000);
        usleep(static_cast<useconds_t>(interruptAfterMs) * 1000);
        kill(pid, SIGINT);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    Result r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readText(outPath);
    r.err = readText(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return r;
}

// A command line's words, split at spaces.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::vector<std::string> filesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    return names;
}

Samples pairs(const std::vector<double>& v) {
    Samples s;
    for (size_t k = 0; k + 1 < v.size(); k += 2) s.emplace_back(v[k], v[k + 1]);
    return s;
}

Samples reals(const std::vector<double>& v) {
    Samples s;
    for (double x : v) s.emplace_back(x, 0.0);
    return s;
}

// Frequency of the strongest bin of a plain DFT, signed for complex data (bins above half the length are
// negative frequencies), from 0 to half the rate for real data.
double peakFrequency(const Samples& x, double rate, bool real) {
    const size_t n = x.size();
    double best = -1.0;
    long bestBin = 0;
    for (size_t k = 0; k < (real ? n / 2 : n); ++k) {
        std::complex<double> sum = 0.0;
        for (size_t t = 0; t < n; ++t) sum += x[t] * std::polar(1.0, -2.0 * M_PI * double(k * t % n) / n);
        if (std::abs(sum) > best) {
            best = std::abs(sum);
            bestBin = static_cast<long>(k);
        }
    }
    if (!real && bestBin > static_cast<long>(n / 2)) bestBin -= static_cast<long>(n);
    return bestBin * rate / n;
}

// Where a real tone at `hz` lands after sampling at `rate`.
double alias(double hz, double rate) {
    const double f = std::fmod(hz, rate);
    return f > rate / 2 ? rate - f : f;
}

TEST(RecorderSigMF, MetadataAndToneWhereTheScenarioPutsIt) {
    const struct {
        const char* name;
        const char* args;
        const char* signal;
        const char* datatype;
        double rate;
        double centre;
        double tone;  // frequency of the tone in the recording: from the centre, or the real alias
        int bytesPerSample;
        const char* lo = "above";  // the side the module's LO sits on
    } cases[] = {
        {"LO above", "", "tone_offset=2.5e6", "ci16_le", IQ_RATE, DEFAULT_RF, 2.5e6, 4},
        {"LO below", "--lo below --frequency 1.5e9", "tone_offset=-3e6", "ci16_le", IQ_RATE, 1.5e9, -3e6, 4,
         "below"},
        {"32-bit words", "--bits 32 --decimation 8", "tone_offset=1e6", "ci32_le", IQ_RATE / 4, DEFAULT_RF,
         1e6, 8},
        // The IF input's band comes out of the module mirrored; the recording must set it upright.
        {"IF input", "--input if --level -10", "tone_offset=2e6", "ci16_le", IQ_RATE, IF_CENTRE, 2e6, 4},
        // Real IF samples of an LO above the RF frequency: the tone sits at LO - RF - offset at the ADC.
        {"IF samples", "--if", "tone_offset=2e6", "ri16_le", ADC_CLOCK, DEFAULT_RF,
         alias(IF_CENTRE - 2e6, ADC_CLOCK), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> args = words(c.args);
        args.insert(args.end(), {"--output", "rec"});
        const Result r = runRecorder(dir, args, c.signal);
        ASSERT_EQ(r.exitCode, 0) << r.err;

        const std::string metaText = readText(dir.file("rec.sigmf-meta"));
        const nlohmann::json meta = nlohmann::json::parse(metaText, nullptr, false);
        ASSERT_FALSE(meta.is_discarded()) << metaText;
        const nlohmann::json& global = meta["global"];
        EXPECT_EQ(global.value("core:datatype", ""), c.datatype);
        EXPECT_DOUBLE_EQ(global.value("core:sample_rate", 0.0), c.rate);
        EXPECT_EQ(global.value("core:version", ""), "1.0.0");
        const std::string serial = global.value("qm4120:serial_number", "");
        EXPECT_FALSE(serial.empty());
        EXPECT_NE(global.value("core:hw", "").find(serial), std::string::npos);
        EXPECT_EQ(global.value("qm4120:driver_revision", ""), "Version 2.1.0.0 2005-11-28");
        EXPECT_FALSE(global.value("qm4120:fpga_revision", "").empty());
        ASSERT_TRUE(global["qm4120:settings"].is_object());
        EXPECT_EQ(global["qm4120:settings"].value("lo_position", ""), c.lo);
        ASSERT_EQ(meta["captures"].size(), 1u);
        const nlohmann::json& capture = meta["captures"][0];
        EXPECT_EQ(capture.value("core:sample_start", -1), 0);
        EXPECT_DOUBLE_EQ(capture.value("core:frequency", 0.0), c.centre);
        EXPECT_TRUE(std::regex_match(capture.value("core:datetime", ""),
                                     std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")));

        const std::string data = readText(dir.file("rec.sigmf-data"));
        ASSERT_EQ(data.size(), SAMPLES * c.bytesPerSample);
        const bool real = c.bytesPerSample == 2;
        const std::vector<double> words = littleEndianValues(data, c.bytesPerSample == 8 ? 4 : 2, false);
        const Samples x = real ? reals(words) : pairs(words);
        EXPECT_NEAR(peakFrequency(x, c.rate, real), c.tone, c.rate / SAMPLES);
        EXPECT_EQ(filesIn(dir).size(), 2u);
    }
}

TEST(RecorderFormats, EveryCaptureFileFormatHoldsTheBlock) {
    // A word a line; a value in millionths a line; an I/Q pair of them a line.
    const char* const INTEGER = "-?[0-9]+";
    const char* const FIXED = "-?[0-9]+\\.[0-9]{6}";
    const char* const FIXED_PAIR = "-?[0-9]+\\.[0-9]{6},-?[0-9]+\\.[0-9]{6}";
    const struct {
        const char* format;
        const char* args;
        double rate;
        bool real;
        std::function<Samples(const std::string&)> read;
        const char* line;  // what every line of a text format looks like
    } cases[] = {
        {"decimal", "--if", ADC_CLOCK, true, [](const std::string& f) { return reals(textValues(f)); },
         INTEGER},
        {"decimal", "", IQ_RATE, false, [](const std::string& f) { return pairs(textValues(f)); }, INTEGER},
        {"raw", "--if", ADC_CLOCK, true,
         [](const std::string& f) { return reals(littleEndianValues(f, 2, false)); }, nullptr},
        {"raw", "--bits 32 --decimation 8", IQ_RATE / 4, false,
         [](const std::string& f) { return pairs(littleEndianValues(f, 4, false)); }, nullptr},
        {"float-text", "", IQ_RATE, false, [](const std::string& f) { return pairs(textValues(f)); }, FIXED},
        {"csv", "", IQ_RATE, false, [](const std::string& f) { return pairs(textValues(f)); }, FIXED_PAIR},
        {"float-binary", "", IQ_RATE, false,
         [](const std::string& f) { return pairs(littleEndianValues(f, 4, true)); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + (c.real ? " IF" : " I/Q"));
        TempDir dir;
        std::vector<std::string> args = words(c.args);
        args.insert(args.end(), {"--format", c.format, "--output", "capture.dat"});
        const Result r = runRecorder(dir, args, "tone_offset=1.5e6");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(filesIn(dir), std::vector<std::string>{"capture.dat"});
        const std::string text = readText(dir.file("capture.dat"));
        if (c.line) {
            const std::regex shape(c.line);
            std::istringstream lines(text);
            int odd = 0;
            for (std::string line; std::getline(lines, line);) odd += !std::regex_match(line, shape);
            EXPECT_EQ(odd, 0) << "lines unlike " << c.line;
        }
        const Samples x = c.read(text);
        ASSERT_EQ(x.size(), SAMPLES);
        const double tone = c.real ? alias(IF_CENTRE - 1.5e6, ADC_CLOCK) : 1.5e6;
        EXPECT_NEAR(peakFrequency(x, c.rate, c.real), tone, c.rate / SAMPLES);
    }
}

TEST(RecorderFailures, ClearMessageNonZeroExitAndNoOutput) {
    const struct {
        std::vector<std::string> args;
        const char* signal;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--bits", "12"}, "", 2, "--bits"},
        {{"--samples", "-5"}, "", 2, "--samples"},
        {{"--if", "--format", "csv"}, "", 2, "I/Q"},
        {{"-qz"}, "", 2, "unknown option -q"},
        {{"--resource", "0x9999"}, "", 1, "resource named does not exist"},
        {{"--output", "missing/rec"}, "", 1, "cannot write missing/rec"},
        // The module refuses 32-bit words at the default decimation of 2.
        {{"--bits", "32"}, "", 1, "word width"},
        {{"--trigger", "pxi_trig3", "--timeout", "0.3"}, "line_trigger_ms=-1", 1, "no trigger on pxi_trig3"},
        {{"--trigger", "pxi_trig3"}, "line_trigger_ms=-1", -2, "interrupted"},
        {{"--trigger", "pxi_trig3", "--format", "csv"}, "line_trigger_ms=-1", -2, "interrupted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TempDir dir;
        std::vector<std::string> args = {"--output", "rec"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        // -2: interrupted while it waits for a trigger that never comes.
        const Result r = runRecorder(dir, args, c.signal, c.exitCode == -2 ? 300 : -1);
        EXPECT_EQ(r.exitCode, c.exitCode == -2 ? 130 : c.exitCode);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(filesIn(dir).empty());
    }
}

TEST(RecorderProgram, HelpVersionAndProgressOfALongWait) {
    TempDir dir;
    Result r = runRecorder(dir, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--output"), std::string::npos) << "the usage goes to standard output";
    r = runRecorder(dir, {"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("qm4120_capture"), std::string::npos);

    // A trigger line that fires after 1.5 s: the wait shows itself, then the recording is written.
    r = runRecorder(dir, {"--trigger", "pxi_star", "--output", "late"}, "line_trigger_ms=1500");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("waiting for the trigger"), std::string::npos) << r.err;
    EXPECT_EQ(readText(dir.file("late.sigmf-data")).size(), SAMPLES * 4);
}

}  // namespace
