// Saving a 16-million-sample IF capture as decimal text (the File menu's ASCII save, without its
// dialogs): the words formatted, written to a temporary file, flushed to the disk and renamed over the
// old file. Baseline, in the same run and the same folder: fwrite of the very bytes that save produces,
// flushed to the disk as well, so the ratio is the cost of formatting and of the safe replacement.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "capture_state.h"
#include "save_data.h"

namespace {

constexpr uint32_t SAMPLES = 16u << 20;

std::string folder() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "qm4120_bench_save_XXXXXX").string();
        return std::string(mkdtemp(pattern.data()) ? pattern : "");
    }();
    return dir;
}

// An IF capture of noise around a tone, as wide as a real one: most words take five or six characters.
const CapturedData& record() {
    static const CapturedData data = [] {
        CapturedData d;
        d.sampleDataType = 0;
        d.numIfSamples = d.numWords = SAMPLES;
        d.ifData.resize(SAMPLES);
        std::mt19937 random(4120);
        std::normal_distribution<double> noise(0.0, 300.0);
        for (uint32_t k = 0; k < SAMPLES; ++k)
            d.ifData[k] = static_cast<int16_t>(12000.0 * std::sin(0.37 * k) + noise(random));
        d.dataValid = 1;
        return d;
    }();
    return data;
}

void saveDecimalText(benchmark::State& state) {
    const std::string path = folder() + "/saved.txt";
    for (auto _ : state) {
        ReplacingFile file(path);
        if (!file.create() || writeCapturedData(record(), file, false) != 0)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["samples"] = SAMPLES;
}

void fwriteSameBytes(benchmark::State& state) {
    // The bytes of the saved file, made once by the save itself.
    const std::string saved = folder() + "/reference.txt";
    ReplacingFile file(saved);
    if (!file.create() || writeCapturedData(record(), file, false) != 0) {
        state.SkipWithError("save failed");
        return;
    }
    std::ifstream in(saved, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = folder() + "/fwrite.txt";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "w");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0 ||
            fsync(fileno(f)) != 0)
            state.SkipWithError("fwrite failed");
        if (f) std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

BENCHMARK(fwriteSameBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(saveDecimalText)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder());
    return 0;
}
