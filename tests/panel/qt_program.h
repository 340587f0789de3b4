// The program started on its own path on the Qt front end, offscreen: splash cut short, a scratch program
// folder, and `work` run once the main panel is on screen; then the program ends.
#ifndef QM_TESTS_PANEL_QT_PROGRAM_H
#define QM_TESTS_PANEL_QT_PROGRAM_H

#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "qm4120_sfp.h"
#include "qm4120_sfp_aux.h"
#include "ui/qt/qt_frontend.h"
#include "ui/qt/qt_main.h"

// Returns the program's exit status (-99 when the main panel never came up within a minute).
inline int runWithMainPanel(const std::function<void(qmqt::QtFrontend&, QWidget&)>& work) {
    char pattern[] = "/tmp/qm4120_panel_qt_XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) return -1;
    setenv("QM4120_SPLASH_SECONDS", "0.2", 1);
    // Each run starts as a fresh process would, whatever an earlier run in this process left behind.
    resetProgramState();
    appState.programDirOverride = dir;
    bool done = false;
    char name[] = "qm4120_sfp";
    char* argv[] = {name, nullptr};
    const int status = qmRunQtFrontend(1, argv, [&] {
        auto* qt = dynamic_cast<qmqt::QtFrontend*>(ui::frontend());
        QTimer watcher;
        watcher.setInterval(50);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* panel = (qt && appState.mainPanel > 0) ? qt->panelWidget(appState.mainPanel) : nullptr;
            if (!panel || !panel->isVisible() || done) return;
            done = true;
            work(*qt, *panel);
            QuitUserInterface(0);
        });
        watcher.start();
        QTimer::singleShot(60000, [] { QuitUserInterface(-99); });
        return qm4120SfpMain(1, argv);
    });
    unsetenv("QM4120_SPLASH_SECONDS");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return status;
}

#endif
