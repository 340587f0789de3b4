// A full settings file saved and loaded through the panels, against the same key/value lines written with
// fwrite in the same run: once as plain buffered writes, and once made as safe as the settings file is
// (flushed to disk and renamed over the old file). The ratios are the cost of the settings layer.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "headless.h"
#include "qm4120.h"
#include "qm4120_sfp.h"
#include "settings.h"

namespace {

// The program started headless once for the whole run, with a module booted.
struct Program {
    ui::HeadlessFrontend fe;
    std::string dir;
    std::string lines;  // the saved file's text
    bool ok = false;
    Program() {
        char pattern[] = "/tmp/qm4120_bench_settings_XXXXXX";
        if (const char* d = mkdtemp(pattern)) dir = d;
        appState.programDirOverride = dir;
        appState.splashSeconds = 0;
        char name[] = "qm4120_sfp";
        char* argv[] = {name, nullptr};
        if (appStartup(1, argv) < 0) return;
        stopRefLockMonitor();
        qm4120_setModelCodePxiKorvo(0x4B20);
        uint32_t session = 0;
        if (qm4120_init("0x4B20", 0, 1, &session) < 0) return;
        onBootSucceeded(session, "0x4B20");
        stopRefLockMonitor();
        ok = settingsSaveFile(file().c_str()) >= 0;
        std::ifstream in(file());
        std::stringstream text;
        text << in.rdbuf();
        lines = text.str();
    }
    ~Program() {
        appShutdown();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string file() const { return dir + "/bench.ini"; }
};

Program& program() {
    static Program p;
    return p;
}

bool writeLines(const std::string& path, const std::string& text, bool safe) {
    const std::string target = safe ? path + ".tmp" : path;
    FILE* f = std::fopen(target.c_str(), "w");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (safe) ok = std::fflush(f) == 0 && fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok && (!safe || std::rename(target.c_str(), path.c_str()) == 0);
}

void BM_FwriteSameLines(benchmark::State& state) {
    Program& p = program();
    if (!p.ok) return state.SkipWithError("program or module did not start");
    const std::string path = p.dir + "/plain.ini";
    for (auto _ : state)
        if (!writeLines(path, p.lines, false)) return state.SkipWithError("write failed");
    state.counters["bytes"] = static_cast<double>(p.lines.size());
}

void BM_FwriteFsyncRename(benchmark::State& state) {
    Program& p = program();
    if (!p.ok) return state.SkipWithError("program or module did not start");
    const std::string path = p.dir + "/safe.ini";
    for (auto _ : state)
        if (!writeLines(path, p.lines, true)) return state.SkipWithError("write failed");
}

void BM_SaveSettings(benchmark::State& state) {
    Program& p = program();
    if (!p.ok) return state.SkipWithError("program or module did not start");
    for (auto _ : state)
        if (settingsSaveFile(p.file().c_str()) < 0) return state.SkipWithError("save failed");
}

// Reading the file, filling the panels, pushing everything to the module and reading it all back.
void BM_LoadSettings(benchmark::State& state) {
    Program& p = program();
    if (!p.ok) return state.SkipWithError("program or module did not start");
    for (auto _ : state)
        if (settingsLoadFile(p.file().c_str()) != 0) return state.SkipWithError("load failed");
}

BENCHMARK(BM_FwriteSameLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FwriteFsyncRename)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
