// The real program path on the Qt front end, offscreen: start-up, the main panel on screen, File "Exit" or
// the close box ending the program with status 0, and the panels of a booted module saved as PNG files
// under the build folder for people to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <string>
#include <vector>

#include "eng_panel.h"
#include "qm4120_chan.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_lm.h"
#include "qm4120_chan_uir.h"
#include "qm41xx_cal_id_uir.h"
#include "qt_program.h"

namespace {

void commit(int panel, int control, unsigned short value) {
    SetCtrlVal(panel, control, value);
    CallCtrlCallback(panel, control, EVENT_COMMIT, 0, 0, nullptr);
}

}  // namespace

TEST(ProgramOnQt, StartsShowsTheMainPanelAndExitsFromTheFileMenu) {
    QImage image;
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget& panel) {
        image = saveScreenshot(&panel, "main_panel_startup");
        // The operator opens the channel table ("Chan List"), as people will want to see it.
        auto* button =
            qobject_cast<QAbstractButton*>(qt.controlWidget(appState.mainPanel, MAINPANEL_CHANNELS));
        if (!button) return false;
        button->click();
        return !shootPanel(qt, getChanPanel(), "channel_table_startup").isNull();
    });

    EXPECT_TRUE(cleanRun(run));
    EXPECT_GT(image.width(), 600);
    EXPECT_GT(image.height(), 400);
}

TEST(ProgramOnQt, TheMainPanelsCloseBoxEndsTheProgram) {
    const QtRun run = runQtProgram([](qmqt::QtFrontend&, QWidget&) { return true; }, Leave::CloseBox);

    EXPECT_TRUE(cleanRun(run));
    EXPECT_EQ(appState.mainPanel, 0);  // the program went through its whole shutdown
}

// The front end of a booted module in the four looks an operator meets most: RF and IF input, manual and
// automatic attenuators, to look at the colours and the dimming.
TEST(ProgramOnQt, FrontEndLooksAfterBoot) {
    struct Look {
        unsigned short source;  // 1 RF, 0 IF
        unsigned short mode;    // 0 Auto, 2 Manual
        const char* file;
    };
    const Look looks[] = {
        {1, 2, "main_panel_rf_manual"},
        {1, 0, "main_panel_rf_auto"},
        {0, 2, "main_panel_if_manual"},
        {0, 0, "main_panel_if_auto"},
    };
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
        if (!bootForShots(0x4B20)) return false;
        for (const Look& look : looks) {
            commit(appState.mainPanel, MAINPANEL_BINARY_INPUT_SOURCE, look.source);
            commit(appState.mainPanel, MAINPANEL_RING_ATTEN_CONFIG, look.mode);
            shootPanel(qt, appState.mainPanel, look.file);
        }
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
}

TEST(ProgramOnQt, EngineeringIdentityAndInformationPanelsAfterABoot) {
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
        for (uint16_t model : {uint16_t(0x4120), uint16_t(0x4125)}) {
            if (!bootForShots(model)) return false;
            engPanelOpen();
            shootPanel(qt, appState.engPanel, QStringLiteral("engineering_panel_%1").arg(model, 0, 16));
            HidePanel(appState.engPanel);
        }
        calidPanelShow();
        SetActiveTabPage(calidPanelHandle(), IDPANEL_IDTAB, 1);
        shootPanel(qt, calidPanelHandle(), "board_identity_if_page");
        calidPanelHide();

        cmdHelpSysInfo(appState.mainMenuBar, MAINMENU_HELP_INFO, nullptr, appState.mainPanel);
        shootPanel(qt, appState.sysInfoPanel, "instrument_information");
        cmdSysInfoFileInfo(appState.sysInfoPanel, SYSINFO_FILE_INFO, EVENT_COMMIT, nullptr, 0, 0);
        shootPanel(qt, appState.sysInfoDetailPanel, "file_versions");
        cmdCalInfo(appState.sysInfoPanel, SYSINFO_CAL_INFO, EVENT_COMMIT, nullptr, 0, 0);
        shootPanel(qt, appState.calInfoPanel, "calibration_dates");
        cmdSysInfoClose(appState.sysInfoPanel, SYSINFO_CLOSE, EVENT_COMMIT, nullptr, 0, 0);
        cmdHelpAbout(appState.mainMenuBar, MAINMENU_HELP_ABOUT, nullptr, appState.mainPanel);
        shootPanel(qt, appState.aboutPanel, "about_box");
        RemovePopup(appState.aboutPanel);
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
}

// The trigger group in each kind of source (a line, the timer, the level trigger in both modes, the
// software trigger, a gate) and the routing panel after each LVDS direction change and on the base model.
TEST(ProgramOnQt, TriggerGroupAndRoutingPanelLooks) {
    struct TriggerLook {
        const char* family;
        unsigned short type;     // 0 Edge, 1 Gate
        unsigned short intMode;  // 0 Absolute, 1 Relative
        const char* file;
    };
    const TriggerLook triggerLooks[] = {
        {"PXI_TRIG", 0, 0, "trigger_pxi_line"},     {"PXI_TRIG", 1, 0, "trigger_pxi_gate"},
        {"INT_TIMER", 0, 0, "trigger_timer"},       {"INT_TRIG", 0, 0, "trigger_int_absolute"},
        {"INT_TRIG", 0, 1, "trigger_int_relative"}, {"SW_TRIG", 0, 0, "trigger_software"},
        {"LVDS_M", 0, 0, "trigger_lvds_marker"},
    };
    struct RouteLook {
        uint16_t model;
        int modeRing;  // 0: no change
        const char* file;
    };
    const RouteLook routeLooks[] = {
        {0x4B20, ROUTE_LVDSMARKMODE, "routing_4b20_marker_output"},
        {0x4B20, ROUTE_LVDSAUXMODE, "routing_4b20_aux_output"},
        {0x4B20, ROUTE_LVDSDATAMODE, "routing_4b20_data_output"},
        {0x4120, 0, "routing_4120"},
    };
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget& panel) {
        uint32_t session = bootForShots(0x4B20);
        if (!session) return false;
        const int main = appState.mainPanel;
        // The LVDS lines already receive, so choosing an LVDS source raises no message.
        qm4120_setLvdsMarkerMode(session, 0);
        for (const TriggerLook& look : triggerLooks) {
            unsigned short family = 0;
            while (family < TRIGGER_FAMILY_COUNT && std::string(TRIGGER_FAMILIES[family].text) != look.family)
                ++family;
            commit(main, MAINPANEL_CAPT_TRIG, family);
            if (std::string(look.family) != "SW_TRIG") commit(main, MAINPANEL_CAPT_TRIG_TYPE, look.type);
            if (std::string(look.family) == "INT_TRIG") commit(main, MAINPANEL_INTTRIGMODE, look.intMode);
            QCoreApplication::processEvents();
            const QRect group(0, 480, panel.width(), panel.height() - 480);
            EXPECT_TRUE(panel.grab(group).save(QStringLiteral(QM_SCREENSHOT_DIR "/%1.png").arg(look.file)));
        }
        for (const RouteLook& look : routeLooks) {
            if (look.model != 0x4B20 && appState.sessionHandle.load() == session)
                session = bootForShots(look.model);
            if (!session) return false;
            CmdRoutingMatrix(appState.mainMenuBar, MAINMENU_SETTINGS_MATRIX, nullptr, main);
            if (look.modeRing) commit(appState.routePanel, look.modeRing, 3);
            shootPanel(qt, appState.routePanel, look.file);
        }
        HidePanel(appState.routePanel);
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
}

// A booted module in the generic I/Q mode after one capture, and the fractional-rate dialog.
TEST(ProgramOnQt, AcquisitionControlsAfterACaptureAndTheFractionalRateDialog) {
    bool captured = false;
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget& panel) {
        const uint32_t session = bootForShots(0x4120);
        if (!session) return false;
        qm4120_setSampleDataType(session, 1);
        qm4120_setModulationMode(session, 5);
        qm4120_setTriggerSource(session, 32);
        refreshPanelFromInstrument();
        CallCtrlCallback(appState.mainPanel, MAINPANEL_CMD_SINGLE, EVENT_COMMIT, 0, 0, nullptr);
        captured = capturedData.dataValid == 1;
        QCoreApplication::processEvents();
        saveScreenshot(&panel, "main_panel_after_capture");
        auto* button =
            qobject_cast<QAbstractButton*>(qt.controlWidget(appState.mainPanel, MAINPANEL_SHOWFSRPANEL));
        if (!button) return false;
        button->click();
        const bool shown = !shootPanel(qt, appState.fsRatePanel, "fractional_rate_dialog").isNull();
        CallCtrlCallback(appState.fsRatePanel, FSRATE_CLOSE, EVENT_COMMIT, 0, 0, nullptr);
        return shown;
    });

    EXPECT_TRUE(cleanRun(run));
    EXPECT_TRUE(captured);
}

// The channel table with channels set up differently, in dBm and in volts, then locked by list mode with
// the list-mode and edit-range panels open: the grid, the dimming and the layout.
TEST(ProgramOnQt, ChannelPanelsAfterBoot) {
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
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
        shootPanel(qt, getChanPanel(), "channel_table_dbm");
        commit(main, MAINPANEL_RING_RF_DIMENSIONS, 4);
        shootPanel(qt, getChanPanel(), "channel_table_volts");
        const int chan = getChanPanel();
        CallCtrlCallback(chan, CHANPANEL_LMODE, EVENT_COMMIT, 0, 0, nullptr);
        CallCtrlCallback(chan, CHANPANEL_EDITALL, EVENT_COMMIT, 0, 0, nullptr);
        // An RF level entered but not yet written: its Set button turns red.
        SetCtrlVal(getEditAllPanel(), CHEDITALL_RFLEVEL, -10.0);
        CallCtrlCallback(getEditAllPanel(), CHEDITALL_RFLEVEL, EVENT_COMMIT, 0, 0, nullptr);
        shootPanel(qt, getEditAllPanel(), "edit_range_pending");
        const int lm = getListModePanel();
        SetCtrlVal(lm, LISTMODE_LAS, 2u);
        CallCtrlCallback(lm, LISTMODE_LAS, EVENT_COMMIT, 0, 0, nullptr);
        shootPanel(qt, chan, "channel_table_list_mode");
        shootPanel(qt, lm, "list_mode_counter");
        shootPanel(qt, getEditAllPanel(), "edit_range_list_mode");
        shootPanel(qt, main, "main_panel_list_mode");
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
}

// The save dialogs of the File and FFT Display menus, the notice shown while captured data are written,
// and the File menu with the SigMF option checked, after a capture.
TEST(ProgramOnQt, SaveDialogsNoticeAndFileMenu) {
    std::vector<std::string> dialogTitles;
    // Pictures the modal dialog the next menu command opens, then cancels it.
    const auto grabDialogOf = [&](qmqt::QtFrontend& qt, int item, const char* file) {
        QTimer::singleShot(300, [&dialogTitles, file] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            dialogTitles.push_back(dialog->windowTitle().toStdString());
            saveScreenshot(dialog, file);
            dialog->close();
        });
        chooseMainMenu(qt, item);
    };
    bool menuShot = false;
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
        const uint32_t session = bootForShots(0x4120);
        if (!session) return false;
        qm4120_setTriggerSource(session, 32);
        refreshPanelFromInstrument();
        CallCtrlCallback(appState.mainPanel, MAINPANEL_CMD_SINGLE, EVENT_COMMIT, 0, 0, nullptr);
        grabDialogOf(qt, MAINMENU_FFTDISP_FILESET, "fft_trace_file_setup");
        grabDialogOf(qt, MAINMENU_FILE_SAVEASCII, "save_captured_data_dialog");

        const int notice = LoadPanel(0, "qm4120_sfp.uir", SDPANEL);
        DisplayPanel(notice);
        shootPanel(qt, notice, "saving_captured_data_notice");
        DiscardPanel(notice);

        QAction* sigmf = qt.menuAction(appState.mainMenuBar, MAINMENU_FILE_SIGMF);
        if (!sigmf) return false;
        sigmf->trigger();
        for (QObject* o : sigmf->associatedObjects()) {
            if (auto* menu = qobject_cast<QMenu*>(o)) {
                menu->popup(QPoint(0, 0));
                QCoreApplication::processEvents();
                menuShot = !saveScreenshot(menu, "file_menu_sigmf").isNull();
                menu->hide();
            }
        }
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
    EXPECT_TRUE(menuShot);
    EXPECT_EQ(dialogTitles,
              (std::vector<std::string>{"FFT Trace File Setup", "Save Captured Data to ASCII File"}));
}

// The Directory Settings dialog as the Settings menu opens it.
TEST(ProgramOnQt, DirectorySettingsDialogLooks) {
    const QtRun run = runQtProgram([&](qmqt::QtFrontend& qt, QWidget&) {
        if (!chooseMainMenu(qt, MAINMENU_SETTINGS_SETTINGS_DIRS)) return false;
        shootPanel(qt, appState.dirPanel, "directory_settings");
        HidePanel(appState.dirPanel);
        return true;
    });

    EXPECT_TRUE(cleanRun(run));
}
