// Capture speed of the driver and writing speed of the capture file formats.
//
// Captures run on a simulated 4A20 whose clock is frozen and cannot be waited on, so the figures are
// the software's cost (the module's data generation, the transfer, the driver's split and scaling),
// not the sample time a real capture takes. Baseline: copying the same number of bytes with memcpy.
//
// File formats: the same 4 M words (2 M I/Q pairs) written by each format, reported in MB/s of file
// written and as vs_fwrite, the ratio to fwrite of a file of the same size in the same folder (the
// system's temporary folder), measured in the same iterations.
#include <benchmark/benchmark.h>

#include <chrono>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "capture_file.h"
#include "decimal_text.h"
#include "qm4120.h"
#include "qm4120_pb_sim.h"

namespace {

double frozen(void*) {
    return 0.0;
}

struct Session {
    uint32_t vi = 0;
    Session() {
        qm4120_simSetClock(&frozen, nullptr, nullptr);
        qm4120_init("0x4A20", 0, 1, &vi);
    }
    ~Session() { qm4120_close(vi); }
};

Session& session() {
    static Session s;
    return s;
}

void memcpyBaseline(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0));
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void captureIq32768(benchmark::State& state) {
    const uint32_t vi = session().vi;
    qm4120_setSampleDataType(vi, 1);
    std::vector<float> i(32768), q(32768);
    for (auto _ : state) {
        if (qm4120_captMemIq(vi, 32768, i.data(), q.data()) != 0) state.SkipWithError("capture failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 32768 * 8));
}

void captureIf16M(benchmark::State& state) {
    const uint32_t vi = session().vi;
    qm4120_setSampleDataType(vi, 0);
    const uint32_t n = 16u << 20;
    std::vector<int16_t> words(n);
    for (auto _ : state) {
        if (qm4120_captMemIf(vi, n, words.data()) != 0) state.SkipWithError("capture failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n * 2));
}

// ---- File formats ----

constexpr size_t WORDS = 4u << 20;

struct Data {
    std::vector<int16_t> w16;
    std::vector<int32_t> w32;
    std::vector<float> i, q;      // scaled from 16-bit words
    std::vector<float> i32, q32;  // scaled from 32-bit words: every float road of the formatter
    Data() : w16(WORDS), w32(WORDS), i(WORDS / 2), q(WORDS / 2), i32(WORDS / 2), q32(WORDS / 2) {
        uint32_t x = 1;
        for (size_t k = 0; k < WORDS; ++k) {
            x = x * 1664525u + 1013904223u;
            // Noise-like words of a capture a few bits below full scale.
            w16[k] = static_cast<int16_t>(static_cast<int32_t>(x) >> 20);
            w32[k] = static_cast<int32_t>(x) >> 4;
        }
        for (size_t k = 0; k < WORDS / 2; ++k) {
            i[k] = static_cast<float>(w16[2 * k] / 32768.0);
            q[k] = static_cast<float>(w16[2 * k + 1] / 32768.0);
            i32[k] = static_cast<float>(w32[2 * k] / 2147483648.0);
            q32[k] = static_cast<float>(w32[2 * k + 1] / 2147483648.0);
        }
    }
};

Data& data() {
    static Data d;
    return d;
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() / "qm4120_bench_capture.out").string();
}

// Each iteration writes the format's file and then an fwrite of a file of the same size, both timed;
// the benchmark's time is the format's, and `vs_fwrite` is the fwrite's time over the format's (1.0:
// as fast as fwrite of the same bytes). Alternating the two keeps them under the same disk and load.
void writeFormat(benchmark::State& state, const std::function<int32_t(qm::driver::CaptureFile&)>& write) {
    const std::string path = benchFile();
    const std::string twin = path + ".fwrite";
    data();
    std::vector<char> same;
    double formatSeconds = 0, fwriteSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        qm::driver::CaptureFile file;
        if (file.open(path.c_str()) != 0 || write(file) != 0 || file.close() != 0)
            state.SkipWithError("write failed");
        const auto written = std::chrono::steady_clock::now();
        if (same.empty()) same.assign(std::filesystem::file_size(path), 'x');
        FILE* f = std::fopen(twin.c_str(), "wb");
        if (!f || std::fwrite(same.data(), 1, same.size(), f) != same.size())
            state.SkipWithError("fwrite failed");
        if (f) std::fclose(f);
        const std::chrono::duration<double> formatTime = written - start;
        const std::chrono::duration<double> fwriteTime = std::chrono::steady_clock::now() - written;
        state.SetIterationTime(formatTime.count());
        formatSeconds += formatTime.count();
        fwriteSeconds += fwriteTime.count();
    }
    std::filesystem::remove(twin);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["vs_fwrite"] = fwriteSeconds / formatSeconds;
}

void fwriteBaseline(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0));
    std::vector<char> block(bytes, 'x');
    const std::string path = benchFile();
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(block.data(), 1, bytes, f) != bytes) state.SkipWithError("fwrite failed");
        if (f) std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void decimal16(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.decimal(data().w16.data(), WORDS); });
}
void decimal32(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.decimal(data().w32.data(), WORDS); });
}
void floatText(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.floatLines(data().i.data(), data().q.data(), WORDS / 2); });
}
void csvText(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.csv(data().i.data(), data().q.data(), WORDS / 2); });
}
void floatText32(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.floatLines(data().i32.data(), data().q32.data(), WORDS / 2); });
}
void csvText32(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.csv(data().i32.data(), data().q32.data(), WORDS / 2); });
}
void raw16(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.raw(data().w16.data(), WORDS); });
}
void raw32(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.raw(data().w32.data(), WORDS); });
}
void binaryFloats(benchmark::State& s) {
    writeFormat(s, [](auto& f) { return f.floatPairs(data().i.data(), data().q.data(), WORDS / 2); });
}

// Formatting alone, into memory, by the vector or the scalar writer, timed alternately with the scalar
// writer in the same iterations. `vs_scalar` is the scalar writer's time over the measured one's (2.0:
// twice as fast); `ns_per_word` is the measured writer's time per value on this one thread.
template <class Measured, class Scalar>
void againstScalar(benchmark::State& state, bool vector, size_t values, Measured&& measured,
                   Scalar&& scalar) {
    if (vector && !qm::driver::avx2DecimalLines()) {
        state.SkipWithError("this machine has no AVX2");
        return;
    }
    double writeSeconds = 0, scalarSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(measured());
        benchmark::ClobberMemory();
        const auto written = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(scalar());
        benchmark::ClobberMemory();
        const std::chrono::duration<double> writeTime = written - start;
        const std::chrono::duration<double> scalarTime = std::chrono::steady_clock::now() - written;
        state.SetIterationTime(writeTime.count());
        writeSeconds += writeTime.count();
        scalarSeconds += scalarTime.count();
    }
    state.counters["ns_per_word"] =
        writeSeconds * 1e9 / (static_cast<double>(state.iterations()) * static_cast<double>(values));
    state.counters["vs_scalar"] = scalarSeconds / writeSeconds;
}

// The 32-bit decimal lines of the noise-like words.
void formatDecimal32(benchmark::State& state, bool vector) {
    auto* const write = vector ? &qm::driver::decimalLines32Avx2 : &qm::driver::decimalLines32Scalar;
    const int32_t* words = data().w32.data();
    std::vector<char> text(WORDS * qm::driver::DECIMAL32_LINE_BYTES);
    againstScalar(
        state, vector, WORDS, [&] { return write(text.data(), words, WORDS); },
        [&] { return qm::driver::decimalLines32Scalar(text.data(), words, WORDS); });
}

// The float text lines ("%f\n%f\n") of the I/Q floats of 16-bit words (`w16`, which the scalar writer
// looks up in a table) or of 32-bit words.
void formatFloatText(benchmark::State& state, bool vector, bool w16) {
    auto* const write = vector ? &qm::driver::fixedPairLinesAvx2 : &qm::driver::fixedPairLinesScalar;
    const float* i = w16 ? data().i.data() : data().i32.data();
    const float* q = w16 ? data().q.data() : data().q32.data();
    const size_t samples = WORDS / 2;
    std::vector<char> text(samples * qm::driver::FIXED_PAIR_LINE_BYTES);
    againstScalar(
        state, vector, 2 * samples, [&] { return write(text.data(), i, q, samples, '\n'); },
        [&] { return qm::driver::fixedPairLinesScalar(text.data(), i, q, samples, '\n'); });
}

}  // namespace

BENCHMARK_CAPTURE(formatDecimal32, scalar, false)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(formatDecimal32, vector, true)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(formatFloatText, scalar_w16, false, true)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(formatFloatText, vector_w16, true, true)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(formatFloatText, scalar_w32, false, false)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(formatFloatText, vector_w32, true, false)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(memcpyBaseline)->Arg(32768 * 8)->Arg(32 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(captureIq32768)->Unit(benchmark::kMicrosecond);
BENCHMARK(captureIf16M)->Unit(benchmark::kMillisecond)->UseRealTime();
// fwrite of files the sizes the formats produce: raw 16-bit, raw 32-bit and binary floats, and a text
// file of about 6 bytes per word.
BENCHMARK(fwriteBaseline)
    ->Arg(WORDS * 2)
    ->Arg(WORDS * 4)
    ->Arg(WORDS * 6)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(decimal16)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(decimal32)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(floatText)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(csvText)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(floatText32)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(csvText32)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(raw16)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(raw32)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(binaryFloats)->Unit(benchmark::kMillisecond)->UseManualTime();

BENCHMARK_MAIN();
