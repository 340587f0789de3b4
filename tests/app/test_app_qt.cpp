// The real program path on the Qt front end, offscreen: start-up, the main panel on screen (saved as a
// PNG for people to look at), then File "Exit" or the close box ends the program with status 0.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "eng_panel.h"
#include "qm4120.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_lm.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_cal_id_uir.h"
#include "ui/qt/qt_frontend.h"
#include "ui/qt/qt_main.h"

namespace {

const QString SCREENSHOT = QStringLiteral(QM_SCREENSHOT_DIR "/main_panel_startup.png");
int timeouts = 0;

// Runs the program's own start-up on the Qt front end; once the main panel is on screen, saves a PNG of it
// (when `screenshot` is set) and lets `leave` make the operator's gesture that ends the program. Returns the
// program's exit status; `gestureMade` tells whether the gesture could be made at all.
int runProgramUntil(const std::function<bool(qmqt::QtFrontend&, QWidget&)>& leave, bool* gestureMade,
                    bool* shotTaken, bool screenshot) {
    char pattern[] = "/tmp/qm4120_app_qt_XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) return -1000;
    // A short splash keeps the test quick; the path is otherwise the program's own.
    setenv("QM4120_SPLASH_SECONDS", "0.2", 1);
    resetAppState();
    appState.programDirOverride = dir;

    *gestureMade = false;
    *shotTaken = false;
    char name[] = "qm4120_sfp";
    char* argv[] = {name, nullptr};
    const int status = qmRunQtFrontend(1, argv, [&] {
        auto* qt = dynamic_cast<qmqt::QtFrontend*>(ui::frontend());
        QTimer watcher;
        watcher.setInterval(50);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* panel = (qt && appState.mainPanel > 0) ? qt->panelWidget(appState.mainPanel) : nullptr;
            if (!panel || !panel->isVisible() || *gestureMade) return;
            if (screenshot) {
                QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR));
                *shotTaken = panel->grab().save(SCREENSHOT);
            }
            *gestureMade = leave(*qt, *panel);
        });
        watcher.start();
        // Never hang the suite: a program that does not come up, or does not end on the gesture, is ended
        // after a while. The exit status would not show it (it is the thread pool's), so it is counted.
        QTimer::singleShot(30000, [] {
            ++timeouts;
            QuitUserInterface(-99);
        });
        return qm4120SfpMain(1, argv);
    });
    unsetenv("QM4120_SPLASH_SECONDS");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return status;
}

}  // namespace

TEST(ProgramOnQt, StartsShowsTheMainPanelAndExitsFromTheFileMenu) {
    QFile::remove(SCREENSHOT);
    bool exitChosen = false;
    bool shotTaken = false;
    bool tableShown = false;
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget&) {
            // The operator opens the channel table first ("Chan List"), as people will want to see it.
            if (auto* button = qobject_cast<QAbstractButton*>(
                    qt.controlWidget(appState.mainPanel, MAINPANEL_CHANNELS))) {
                button->click();
                QCoreApplication::processEvents();
                QWidget* table = qt.panelWidget(getChanPanel());
                tableShown =
                    table && table->isVisible() &&
                    table->grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/channel_table_startup.png"));
            }
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();  // the operator's File "Exit"
            return exitItem != nullptr;
        },
        &exitChosen, &shotTaken, true);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(exitChosen);
    EXPECT_TRUE(shotTaken);
    EXPECT_TRUE(tableShown);
    const QImage image(SCREENSHOT);
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 600);
    EXPECT_GT(image.height(), 400);
}

TEST(ProgramOnQt, TheMainPanelsCloseBoxEndsTheProgram) {
    bool closed = false;
    bool shotTaken = false;
    const int status = runProgramUntil(
        [](qmqt::QtFrontend&, QWidget& panel) {
            panel.window()->close();  // the window manager's close box
            return true;
        },
        &closed, &shotTaken, false);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(closed);
    EXPECT_EQ(appState.mainPanel, 0);  // the program went through its whole shutdown
}

// The front end of a booted module in the four looks an operator meets most: RF and IF input, manual and
// automatic attenuators. Saved as PNGs so that the colours and the dimming can be looked at.
TEST(ProgramOnQt, FrontEndLooksAfterBoot) {
    struct Look {
        unsigned short source;  // 1 RF, 0 IF
        unsigned short mode;    // 0 Auto, 2 Manual
        const char* file;
    };
    const Look looks[] = {
        {1, 2, "main_panel_rf_manual.png"},
        {1, 0, "main_panel_rf_auto.png"},
        {0, 2, "main_panel_if_manual.png"},
        {0, 0, "main_panel_if_auto.png"},
    };
    int saved = 0;
    bool exitChosen = false;
    bool shotTaken = false;
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget& panel) {
            qm4120_setModelCodePxiKorvo(0x4B20);
            uint32_t session = 0;
            if (qm4120_init("0x4B20", 0, 1, &session) < 0) return false;
            onBootSucceeded(session, "0x4B20");
            const int main = appState.mainPanel;
            for (const Look& look : looks) {
                SetCtrlVal(main, MAINPANEL_BINARY_INPUT_SOURCE, look.source);
                CallCtrlCallback(main, MAINPANEL_BINARY_INPUT_SOURCE, EVENT_COMMIT, 0, 0, nullptr);
                SetCtrlVal(main, MAINPANEL_RING_ATTEN_CONFIG, look.mode);
                CallCtrlCallback(main, MAINPANEL_RING_ATTEN_CONFIG, EVENT_COMMIT, 0, 0, nullptr);
                QCoreApplication::processEvents();
                if (panel.grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromUtf8(look.file)))
                    ++saved;
            }
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &exitChosen, &shotTaken, true);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(exitChosen);
    EXPECT_EQ(saved, 4);
}

namespace {

// Saves a PNG of a panel that is on screen; false when it is not.
bool shoot(qmqt::QtFrontend& qt, int panel, const char* name) {
    QCoreApplication::processEvents();
    QWidget* widget = panel > 0 ? qt.panelWidget(panel) : nullptr;
    if (!widget || !widget->isVisible()) return false;
    QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR));
    return widget->grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromLatin1(name));
}

// Boots `model` as the boot dialog's success would.
bool bootForShots(uint16_t model, const char* resource) {
    if (isActive4120()) {
        stopRefLockMonitor();
        const uint32_t old = appState.sessionHandle.load();
        appState.instrumentBooted = 0;
        appState.sessionHandle = 0;
        qm4120_close(old);
    }
    uint32_t vi = 0;
    qm4120_setModelCodePxiKorvo(model);
    if (qm4120_init(resource, 0, 1, &vi) < 0) return false;
    onBootSucceeded(vi, resource);
    return true;
}

}  // namespace

TEST(ProgramOnQt, EngineeringIdentityAndInformationPanelsAfterABoot) {
    int shots = 0;
    bool done = false;
    bool shotTaken = false;
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget&) {
            for (uint16_t model : {uint16_t(0x4120), uint16_t(0x4125)}) {
                if (!bootForShots(model, model == 0x4125 ? "0x4125" : "0x4120")) return false;
                engPanelOpen();
                shots += shoot(qt, appState.engPanel,
                               model == 0x4125 ? "engineering_panel_4125.png" : "engineering_panel_4120.png");
                HidePanel(appState.engPanel);
            }
            calidPanelShow();
            SetActiveTabPage(calidPanelHandle(), IDPANEL_IDTAB, 1);
            shots += shoot(qt, calidPanelHandle(), "board_identity_if_page.png");
            calidPanelHide();

            cmdHelpSysInfo(appState.mainMenuBar, MAINMENU_HELP_INFO, nullptr, appState.mainPanel);
            shots += shoot(qt, appState.sysInfoPanel, "instrument_information.png");
            cmdSysInfoFileInfo(appState.sysInfoPanel, SYSINFO_FILE_INFO, EVENT_COMMIT, nullptr, 0, 0);
            shots += shoot(qt, appState.sysInfoDetailPanel, "file_versions.png");
            cmdCalInfo(appState.sysInfoPanel, SYSINFO_CAL_INFO, EVENT_COMMIT, nullptr, 0, 0);
            shots += shoot(qt, appState.calInfoPanel, "calibration_dates.png");
            cmdSysInfoClose(appState.sysInfoPanel, SYSINFO_CLOSE, EVENT_COMMIT, nullptr, 0, 0);
            cmdHelpAbout(appState.mainMenuBar, MAINMENU_HELP_ABOUT, nullptr, appState.mainPanel);
            shots += shoot(qt, appState.aboutPanel, "about_box.png");
            RemovePopup(appState.aboutPanel);

            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &done, &shotTaken, false);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(done);
    EXPECT_EQ(shots, 7);
}

// The trigger group in each kind of source (a line, the timer, the level trigger in both modes, the
// software trigger, a gate) and the routing panel after each LVDS direction change and on the base model,
// saved as PNGs for people to look at.
TEST(ProgramOnQt, TriggerGroupAndRoutingPanelLooks) {
    struct TriggerLook {
        const char* family;
        unsigned short type;     // 0 Edge, 1 Gate
        unsigned short intMode;  // 0 Absolute, 1 Relative
        const char* file;
    };
    const TriggerLook triggerLooks[] = {
        {"PXI_TRIG", 0, 0, "trigger_pxi_line.png"},     {"PXI_TRIG", 1, 0, "trigger_pxi_gate.png"},
        {"INT_TIMER", 0, 0, "trigger_timer.png"},       {"INT_TRIG", 0, 0, "trigger_int_absolute.png"},
        {"INT_TRIG", 0, 1, "trigger_int_relative.png"}, {"SW_TRIG", 0, 0, "trigger_software.png"},
        {"LVDS_M", 0, 0, "trigger_lvds_marker.png"},
    };
    struct RouteLook {
        uint16_t model;
        int modeRing;  // 0: no change
        const char* file;
    };
    const RouteLook routeLooks[] = {
        {0x4B20, ROUTE_LVDSMARKMODE, "routing_4b20_marker_output.png"},
        {0x4B20, ROUTE_LVDSAUXMODE, "routing_4b20_aux_output.png"},
        {0x4B20, ROUTE_LVDSDATAMODE, "routing_4b20_data_output.png"},
        {0x4120, 0, "routing_4120.png"},
    };
    int saved = 0;
    bool exitChosen = false;
    bool shotTaken = false;
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget& panel) {
            qm4120_setModelCodePxiKorvo(0x4B20);
            uint32_t session = 0;
            if (qm4120_init("0x4B20", 0, 1, &session) < 0) return false;
            onBootSucceeded(session, "0x4B20");
            const int main = appState.mainPanel;
            // The LVDS lines already receive, so choosing an LVDS source raises no message.
            qm4120_setLvdsMarkerMode(session, 0);
            auto commit = [](int p, int control, unsigned short value) {
                SetCtrlVal(p, control, value);
                CallCtrlCallback(p, control, EVENT_COMMIT, 0, 0, nullptr);
            };
            for (const TriggerLook& look : triggerLooks) {
                unsigned short family = 0;
                while (family < TRIGGER_FAMILY_COUNT &&
                       std::string(TRIGGER_FAMILIES[family].text) != look.family)
                    ++family;
                commit(main, MAINPANEL_CAPT_TRIG, family);
                if (std::string(look.family) != "SW_TRIG") commit(main, MAINPANEL_CAPT_TRIG_TYPE, look.type);
                if (std::string(look.family) == "INT_TRIG") commit(main, MAINPANEL_INTTRIGMODE, look.intMode);
                QCoreApplication::processEvents();
                const QRect group(0, 480, panel.width(), panel.height() - 480);
                if (panel.grab(group).save(QStringLiteral(QM_SCREENSHOT_DIR "/") +
                                           QString::fromUtf8(look.file)))
                    ++saved;
            }
            for (const RouteLook& look : routeLooks) {
                if (look.model != 0x4B20 && appState.sessionHandle.load() == session) {
                    qm4120_close(session);
                    char resource[8];
                    std::snprintf(resource, sizeof resource, "0x%04X", look.model);
                    qm4120_setModelCodePxiKorvo(look.model);
                    if (qm4120_init(resource, 0, 1, &session) < 0) return false;
                    onBootSucceeded(session, resource);
                }
                CmdRoutingMatrix(appState.mainMenuBar, MAINMENU_SETTINGS_MATRIX, nullptr, main);
                if (look.modeRing) commit(appState.routePanel, look.modeRing, 3);
                QCoreApplication::processEvents();
                QWidget* route = qt.panelWidget(appState.routePanel);
                if (route &&
                    route->grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromUtf8(look.file)))
                    ++saved;
            }
            HidePanel(appState.routePanel);
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &exitChosen, &shotTaken, false);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(exitChosen);
    EXPECT_EQ(saved, 11);
}

// A booted module in the generic I/Q mode after one capture, with the fractional-rate dialog open: saved as
// PNGs of the main panel and of the dialog.
TEST(ProgramOnQt, AcquisitionControlsAfterACaptureAndTheFractionalRateDialog) {
    const QString mainShot = QStringLiteral(QM_SCREENSHOT_DIR "/main_panel_after_capture.png");
    const QString dialogShot = QStringLiteral(QM_SCREENSHOT_DIR "/fractional_rate_dialog.png");
    QFile::remove(mainShot);
    QFile::remove(dialogShot);
    bool done = false;
    bool shotTaken = false;
    bool dialogShown = false;
    bool captured = false;
    uint32_t session = 0;
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget& panel) {
            qm4120_setModelCodePxiKorvo(0x4120);
            if (qm4120_init("0x4120", 0, 1, &session) < 0) return false;
            appState.sessionHandle = session;
            appState.instrumentBooted = 1;
            qm4120_setSampleDataType(session, 1);
            qm4120_setModulationMode(session, 5);
            qm4120_setTriggerSource(session, 32);
            refreshPanelFromInstrument();
            CallCtrlCallback(appState.mainPanel, MAINPANEL_CMD_SINGLE, EVENT_COMMIT, 0, 0, nullptr);
            captured = capturedData.dataValid == 1;
            QCoreApplication::processEvents();
            panel.grab().save(mainShot);
            if (auto* button = qobject_cast<QAbstractButton*>(
                    qt.controlWidget(appState.mainPanel, MAINPANEL_SHOWFSRPANEL))) {
                button->click();
                QCoreApplication::processEvents();
                QWidget* dialog = qt.panelWidget(appState.fsRatePanel);
                dialogShown = dialog && dialog->isVisible() && dialog->grab().save(dialogShot);
                CallCtrlCallback(appState.fsRatePanel, FSRATE_CLOSE, EVENT_COMMIT, 0, 0, nullptr);
            }
            appState.instrumentBooted = 0;
            appState.sessionHandle = 0;
            qm4120_close(session);
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &done, &shotTaken, false);

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(done);
    EXPECT_TRUE(captured);
    EXPECT_TRUE(dialogShown);
    EXPECT_FALSE(QImage(mainShot).isNull());
}

// The channel table with channels set up differently, in dBm and in volts, then locked by list mode with
// the list-mode and edit-range panels open. Saved as PNGs to look at the grid, the dimming and the layout.
TEST(ProgramOnQt, ChannelPanelsAfterBoot) {
    int saved = 0;
    bool exitChosen = false;
    bool shotTaken = false;
    const auto save = [&](qmqt::QtFrontend& qt, int panel, const char* file) {
        QCoreApplication::processEvents();
        QWidget* w = qt.panelWidget(panel);
        if (w && w->isVisible() &&
            w->grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromUtf8(file)))
            ++saved;
    };
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget&) {
            qm4120_setModelCodePxiKorvo(0x4B20);
            uint32_t session = 0;
            if (qm4120_init("0x4B20", 0, 1, &session) < 0) return false;
            for (uint16_t ch = 0; ch < 12; ++ch) {
                qm4120_setFrontEndConfigModeChan(session, ch % 3, ch);
                qm4120_setRfFrequencyChan(session, 900e6 + ch * 25e6, ch);
                qm4120_setLoOffsetChan(session, ch % 2 ? -77.76e6 : 77.76e6, ch);
                qm4120_setRfInputLevelChan(session, -40.0 + ch * 3.0, ch);
                qm4120_setRfAttenuationChan(session, (ch % 8) * 4, ch);
            }
            onBootSucceeded(session, "0x4B20");
            const int main = appState.mainPanel;
            CallCtrlCallback(main, MAINPANEL_CHANNELS, EVENT_COMMIT, 0, 0, nullptr);
            chanPanelSelectChan(2, 0);
            save(qt, getChanPanel(), "channel_table_dbm.png");
            SetCtrlVal(main, MAINPANEL_RING_RF_DIMENSIONS, static_cast<unsigned short>(4));
            CallCtrlCallback(main, MAINPANEL_RING_RF_DIMENSIONS, EVENT_COMMIT, 0, 0, nullptr);
            save(qt, getChanPanel(), "channel_table_volts.png");
            const int chan = getChanPanel();
            CallCtrlCallback(chan, CHANPANEL_LMODE, EVENT_COMMIT, 0, 0, nullptr);
            CallCtrlCallback(chan, CHANPANEL_EDITALL, EVENT_COMMIT, 0, 0, nullptr);
            // An RF level entered but not yet written: its Set button turns red.
            SetCtrlVal(getEditAllPanel(), CHEDITALL_RFLEVEL, -10.0);
            CallCtrlCallback(getEditAllPanel(), CHEDITALL_RFLEVEL, EVENT_COMMIT, 0, 0, nullptr);
            save(qt, getEditAllPanel(), "edit_range_pending.png");
            const int lm = getListModePanel();
            SetCtrlVal(lm, LISTMODE_LAS, 2u);
            CallCtrlCallback(lm, LISTMODE_LAS, EVENT_COMMIT, 0, 0, nullptr);
            save(qt, chan, "channel_table_list_mode.png");
            save(qt, lm, "list_mode_counter.png");
            save(qt, getEditAllPanel(), "edit_range_list_mode.png");
            save(qt, main, "main_panel_list_mode.png");
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &exitChosen, &shotTaken, true);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(exitChosen);
    EXPECT_EQ(saved, 7);
}

// The save dialogs of the File and FFT Display menus, the notice shown while captured data are written,
// and the File menu with the SigMF option checked, after a capture. Saved as PNGs to look at.
TEST(ProgramOnQt, SaveDialogsNoticeAndFileMenu) {
    const char* shots[] = {"fft_trace_file_setup.png", "save_captured_data_dialog.png",
                           "saving_captured_data_notice.png", "file_menu_sigmf.png"};
    QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR));
    for (const char* s : shots) QFile::remove(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromLatin1(s));
    bool done = false;
    bool shotTaken = false;
    uint32_t session = 0;
    std::vector<std::string> dialogTitles;
    // Grabs the modal dialog the next menu command opens, then cancels it.
    const auto grabDialogOf = [&](qmqt::QtFrontend& qt, int item, const char* file) {
        QTimer::singleShot(300, [&dialogTitles, file] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            dialogTitles.push_back(dialog->windowTitle().toStdString());
            dialog->grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromLatin1(file));
            dialog->close();
        });
        if (QAction* action = qt.menuAction(appState.mainMenuBar, item)) action->trigger();
    };
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget&) {
            qm4120_setModelCodePxiKorvo(0x4120);
            if (qm4120_init("0x4120", 0, 1, &session) < 0) return false;
            appState.sessionHandle = session;
            appState.instrumentBooted = 1;
            qm4120_setTriggerSource(session, 32);
            refreshPanelFromInstrument();
            CallCtrlCallback(appState.mainPanel, MAINPANEL_CMD_SINGLE, EVENT_COMMIT, 0, 0, nullptr);
            grabDialogOf(qt, MAINMENU_FFTDISP_FILESET, shots[0]);
            grabDialogOf(qt, MAINMENU_FILE_SAVEASCII, shots[1]);

            const int notice = LoadPanel(0, "qm4120_sfp.uir", SDPANEL);
            DisplayPanel(notice);
            shoot(qt, notice, shots[2]);
            DiscardPanel(notice);

            if (QAction* sigmf = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_SIGMF)) {
                sigmf->trigger();
                for (QObject* o : sigmf->associatedObjects()) {
                    if (auto* menu = qobject_cast<QMenu*>(o)) {
                        menu->popup(QPoint(0, 0));
                        QCoreApplication::processEvents();
                        menu->grab().save(QStringLiteral(QM_SCREENSHOT_DIR "/") +
                                          QString::fromLatin1(shots[3]));
                        menu->hide();
                    }
                }
            }
            appState.instrumentBooted = 0;
            appState.sessionHandle = 0;
            qm4120_close(session);
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &done, &shotTaken, false);

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(done);
    EXPECT_EQ(dialogTitles,
              (std::vector<std::string>{"FFT Trace File Setup", "Save Captured Data to ASCII File"}));
    for (const char* s : shots)
        EXPECT_FALSE(QImage(QStringLiteral(QM_SCREENSHOT_DIR "/") + QString::fromLatin1(s)).isNull()) << s;
}

// The Directory Settings dialog as the Settings menu opens it, saved as a PNG for people to look at.
TEST(ProgramOnQt, DirectorySettingsDialogLooks) {
    bool done = false;
    bool shotTaken = false;
    bool shot = false;
    const int status = runProgramUntil(
        [&](qmqt::QtFrontend& qt, QWidget&) {
            QAction* item = qt.menuAction(appState.mainMenuBar, MAINMENU_SETTINGS_SETTINGS_DIRS);
            if (!item) return false;
            item->trigger();
            shot = shoot(qt, appState.dirPanel, "directory_settings.png");
            HidePanel(appState.dirPanel);
            QAction* exitItem = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_EXIT);
            if (exitItem) exitItem->trigger();
            return exitItem != nullptr;
        },
        &done, &shotTaken, false);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(done);
    EXPECT_TRUE(shot);
}
