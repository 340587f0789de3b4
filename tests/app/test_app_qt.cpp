// The real program path on the Qt front end, offscreen: start-up, the main panel on screen (saved as a
// PNG for people to look at), then File "Exit" ends the program with status 0.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "ui/qt/qt_frontend.h"
#include "ui/qt/qt_main.h"

namespace {

const QString SCREENSHOT = QStringLiteral(QM_SCREENSHOT_DIR "/main_panel_startup.png");

}  // namespace

TEST(ProgramOnQt, StartsShowsTheMainPanelAndExitsFromTheFileMenu) {
    char pattern[] = "/tmp/qm4120_app_qt_XXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    QFile::remove(SCREENSHOT);
    // A short splash keeps the test quick; the path is otherwise the program's own.
    setenv("QM4120_SPLASH_SECONDS", "0.2", 1);
    resetAppState();
    appState.programDirOverride = dir;

    bool shotTaken = false;
    bool exitChosen = false;
    char name[] = "qm4120_sfp";
    char* argv[] = {name, nullptr};
    const int status = qmRunQtFrontend(1, argv, [&] {
        auto* qt = dynamic_cast<qmqt::QtFrontend*>(ui::frontend());
        QTimer watcher;
        watcher.setInterval(50);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* panel = (qt && appState.mainPanel > 0) ? qt->panelWidget(appState.mainPanel) : nullptr;
            if (!panel || !panel->isVisible() || exitChosen) return;
            QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR));
            shotTaken = panel->grab().save(SCREENSHOT);
            QAction* exitItem = qt->menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            exitChosen = exitItem != nullptr;
            if (exitItem) exitItem->trigger();  // the operator's File "Exit"
        });
        watcher.start();
        // Never hang the suite: a program that does not come up is ended after a while.
        QTimer::singleShot(30000, [] { QuitUserInterface(-99); });
        return qm4120SfpMain(1, argv);
    });
    unsetenv("QM4120_SPLASH_SECONDS");

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(exitChosen);
    EXPECT_TRUE(shotTaken);
    const QImage image(SCREENSHOT);
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 600);
    EXPECT_GT(image.height(), 400);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
