// The program started on its own path on the Qt front end, offscreen: a short splash, a scratch program
// folder, `work` run once the main panel is on screen, then the operator's gesture that ends the program.
// Also the pictures such a run takes of its panels.
#ifndef QM_TESTS_SUPPORT_QT_PROGRAM_H
#define QM_TESTS_SUPPORT_QT_PROGRAM_H

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "screenshot.h"
#include "ui/qt/qt_frontend.h"
#include "ui/qt/qt_main.h"

enum class Leave { FileExit, CloseBox };

struct QtRun {
    int status = -1000;     // the program's exit status
    bool workDone = false;  // `work` ran and reported success
    bool left = false;      // the gesture that ends the program could be made
    bool timedOut = false;  // the program did not come up, or did not end on the gesture, in time
};

// A run that did its work and ended cleanly on the operator's gesture.
inline ::testing::AssertionResult cleanRun(const QtRun& run) {
    if (run.status == 0 && run.workDone && run.left && !run.timedOut) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status " << run.status << ", work done " << run.workDone
                                         << ", left " << run.left << ", timed out " << run.timedOut;
}

// Chooses a main-menu item as the operator would; false when the menu does not offer it.
inline bool chooseMainMenu(qmqt::QtFrontend& qt, int item) {
    QAction* action = qt.menuAction(appState.mainMenuBar, item);
    if (action) action->trigger();
    QCoreApplication::processEvents();
    return action != nullptr;
}

// `work` gets the front end and the main panel's window; it returns false when it could not do its part.
inline QtRun runQtProgram(const std::function<bool(qmqt::QtFrontend&, QWidget&)>& work,
                          Leave leave = Leave::FileExit, int limitMs = 60000) {
    QtRun run;
    char pattern[] = "/tmp/qm4120_qt_program_XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) return run;
    setenv("QM4120_SPLASH_SECONDS", "0.2", 1);
    // Each run starts as a fresh process would, whatever an earlier run in this process left behind.
    resetProgramState();
    appState.programDirOverride = dir;
    bool started = false;
    char name[] = "qm4120_sfp";
    char* argv[] = {name, nullptr};
    run.status = qmRunQtFrontend(1, argv, [&] {
        auto* qt = dynamic_cast<qmqt::QtFrontend*>(ui::frontend());
        QTimer watcher;
        watcher.setInterval(50);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* panel = (qt && appState.mainPanel > 0) ? qt->panelWidget(appState.mainPanel) : nullptr;
            if (!panel || !panel->isVisible() || started) return;
            started = true;
            run.workDone = work(*qt, *panel);
            if (leave == Leave::CloseBox) {
                panel->window()->close();  // the window manager's close box
                run.left = true;
            } else {
                run.left = chooseMainMenu(*qt, MAINMENU_FILE_EXIT);
            }
        });
        watcher.start();
        // Never hang the suite. The exit status alone would not show a timeout, so it is recorded.
        QTimer::singleShot(limitMs, &watcher, [&run] {
            run.timedOut = true;
            QuitUserInterface(-99);
        });
        return qm4120SfpMain(1, argv);
    });
    unsetenv("QM4120_SPLASH_SECONDS");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return run;
}

// Boots `model` as the boot dialog's success would, closing any module booted before. Returns the session,
// 0 when the module could not be opened.
inline uint32_t bootForShots(uint16_t model) {
    if (isActive4120()) {
        stopRefLockMonitor();
        const uint32_t old = appState.sessionHandle.load();
        appState.instrumentBooted = 0;
        appState.sessionHandle = 0;
        qm4120_close(old);
    }
    char resource[8];
    std::snprintf(resource, sizeof resource, "0x%04X", model);
    uint32_t vi = 0;
    qm4120_setModelCodePxiKorvo(model);
    if (qm4120_init(resource, 0, 1, &vi) < 0) return 0;
    onBootSucceeded(vi, resource);
    return vi;
}

// Pictures a panel as it is drawn now, saved as <name>.png; a panel that is not on screen fails the test.
inline QImage shootPanel(qmqt::QtFrontend& qt, int panel, const QString& name) {
    ProcessDrawEvents();
    QCoreApplication::processEvents();
    QWidget* widget = panel > 0 ? qt.panelWidget(panel) : nullptr;
    if (widget && !widget->isVisible()) {
        ADD_FAILURE() << name.toStdString() << ": the panel is not on screen";
        return {};
    }
    return saveScreenshot(widget, name);
}

#endif
