// The program on the Qt front end, offscreen, started in a folder of its own with a simulated 4A20
// booted, for the display benchmarks: runs the benchmarks inside the Qt event loop and shuts down.
#ifndef QM_BENCH_DISPLAY_QT_BENCH_PROGRAM_H
#define QM_BENCH_DISPLAY_QT_BENCH_PROGRAM_H

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_aux.h"
#include "ui/qt/qt_main.h"
#include "userint.h"

// `session` is the booted module's; `onScreen` shows the main panel before the benchmarks run.
inline int runQtBenchmarks(int argc, char** argv, const char* name, uint32_t& session, bool onScreen) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    std::string pattern = std::string("/tmp/") + name + "_XXXXXX";
    const char* dir = mkdtemp(pattern.data());
    if (!dir) return 1;
    appState.programDirOverride = dir;
    appState.splashSeconds = 0;
    const int status = qmRunQtFrontend(argc, argv, [&] {
        char program[] = "qm4120_sfp";
        char* args[] = {program, nullptr};
        if (appStartup(1, args) < 0) return 1;
        stopRefLockMonitor();
        qm4120_setModelCodePxiKorvo(0x4A20);
        if (qm4120_init("0x4A20", 0, 1, &session) < 0) return 1;
        appState.sessionHandle = session;
        appState.instrumentBooted = 1;
        if (onScreen) {
            DisplayPanel(appState.mainPanel);
            QCoreApplication::processEvents();
        }
        benchmark::RunSpecifiedBenchmarks();
        appState.instrumentBooted = 0;
        appState.sessionHandle = 0;
        qm4120_close(session);
        appShutdown();
        return 0;
    });
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return status;
}

#endif
