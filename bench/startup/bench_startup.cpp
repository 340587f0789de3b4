// Start-up time of the soft front panel: from fork/exec to the main panel drawn on the offscreen platform,
// with the 3 s splash set to 0. The program leaves right after drawing (QM4120_EXIT_AFTER_STARTUP), so
// one run covers the resource parsing, every panel load, the main panel's set-up and the first paint.
// Baseline in the same run: fork/exec of /bin/true, the cost of starting any process at all.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs `path` with the offscreen platform and the start-up switches; returns its exit status (-1 when it
// could not be started or did not end normally) and the wall time in seconds.
int runOnce(const char* path, double* seconds) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.emplace_back("QM4120_SPLASH_SECONDS=0");
    env.emplace_back("QM4120_EXIT_AFTER_STARTUP=1");
    std::vector<char*> envp;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};

    // The platform plugin's remarks on stderr would only clutter the report.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double meanSeconds(const char* path, int runs) {
    double total = 0;
    for (int i = 0; i < runs; ++i) {
        double s = 0;
        if (runOnce(path, &s) != 0) return -1;
        total += s;
    }
    return total / runs;
}

void BM_StartupToMainPanel(benchmark::State& state) {
    const double baseline = meanSeconds("/bin/true", 20);
    if (baseline < 0) {
        state.SkipWithError("/bin/true could not be run");
        return;
    }
    double total = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        double s = 0;
        if (runOnce(QM4120_SFP_PATH, &s) != 0) {
            state.SkipWithError("qm4120_sfp did not start and end cleanly");
            return;
        }
        state.SetIterationTime(s);
        total += s;
        ++runs;
    }
    const double program = total / static_cast<double>(runs);
    state.counters["program_ms"] = program * 1e3;
    state.counters["true_ms"] = baseline * 1e3;
    state.counters["ratio"] = program / baseline;
}

BENCHMARK(BM_StartupToMainPanel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
