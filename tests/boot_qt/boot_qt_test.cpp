// The boot dialog on the Qt front end, walked with real mouse gestures: BOOTBUTTON, a click on a resource,
// the default box, OK and a double-click in the configuration list. Pictures of both dialog panels go to
// <build>/screenshots/.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListView>
#include <QTest>
#include <chrono>
#include <string>
#include <thread>

#include "pxi_korvo_sim.h"
#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot.h"
#include "qm41xx_boot_uir.h"
#include "qm_faults.h"
#include "screenshot.h"
#include "temp_dir.h"
#include "ui/model.h"
#include "ui/qt/qt_frontend.h"
#include "userint.h"

namespace {

class BootDialogQt : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::resetRuntime();
        ui::setFrontend(&fe);
        resetAppState();
        qm_fault_clear_all();
        korvo_simResetAll();
        ASSERT_FALSE(programDir.path().empty());
        appState.programDirOverride = programDir.path();
        appState.splashSeconds = 0;
        appState.monitorStepDelay = [](double) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0;
        };
        char name[] = "qm4120_sfp";
        char* argv[] = {name, nullptr};
        ASSERT_EQ(appStartup(1, argv), 0);
        settle();
    }

    void TearDown() override {
        appShutdown();
        if (isActive4120()) qm4120_close(getQM4120id());
        appState.instrumentBooted = 0;
        appState.sessionHandle = 0;
        korvo_simResetAll();
        ui::resetRuntime();
        settle();
        ui::setFrontend(nullptr);
        resetAppState();
    }

    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fe.processDrawEvents();
    }

    QListView* list(int panel, int control) {
        return qobject_cast<QListView*>(fe.controlWidget(panel, control));
    }

    // Clicks (twice, when `twice`) on the entry of `view` whose text is `label`; false if there is none.
    bool clickEntry(QListView* view, const QString& label, bool twice) {
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            if (view->model()->index(r, 0).data().toString() != label) continue;
            const QPoint at = view->visualRect(view->model()->index(r, 0)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
            settle();
            return true;
        }
        return false;
    }

    void click(int panel, int control) {
        QWidget* w = fe.controlWidget(panel, control);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible());
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        settle();
    }

    bool windowShown(int panel) {
        QWidget* w = fe.panelWidget(panel);
        return w && w->isVisible();
    }

    qmqt::QtFrontend fe;
    TempDir programDir{"qm4120_boot_qt"};
};

TEST_F(BootDialogQt, ResourceThenConfigurationChosenWithTheMouse) {
    click(appState.mainPanel, MAINPANEL_BOOTBUTTON);
    ASSERT_TRUE(windowShown(appState.bootPanel));
    QListView* resources = list(appState.bootPanel, BOOTPANEL_LIST_RES);
    ASSERT_NE(resources, nullptr);
    ASSERT_EQ(resources->model()->rowCount(), 4);
    EXPECT_EQ(resources->model()->index(0, 0).data().toString(), QStringLiteral("PXI KORVO\t4125"));
    saveScreenshot(fe.panelWidget(appState.bootPanel), "boot_dialog_resources");
    ASSERT_TRUE(clickEntry(resources, QStringLiteral("PXI KORVO\t4125"), false));

    auto* box = qobject_cast<QCheckBox*>(fe.controlWidget(appState.bootPanel, BOOTPANEL_BOOT_DEFAULT));
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isChecked());
    box->click();
    settle();
    int bootDefault = 1;
    GetCtrlVal(appState.bootPanel, BOOTPANEL_BOOT_DEFAULT, &bootDefault);
    ASSERT_EQ(bootDefault, 0);
    click(appState.bootPanel, BOOTPANEL_BOOT_OK_BUTTON);

    const int conf = bootPanelConfigHandle();
    ASSERT_GT(conf, 0);
    ASSERT_TRUE(windowShown(conf));
    EXPECT_FALSE(windowShown(appState.bootPanel));
    EXPECT_FALSE(isActive4120());
    QListView* configs = list(conf, CONFPANEL_CONFIG_RES);
    ASSERT_NE(configs, nullptr);
    ASSERT_GE(configs->model()->rowCount(), 2);
    saveScreenshot(fe.panelWidget(conf), "boot_dialog_configurations");

    const int last = configs->model()->rowCount() - 1;
    unsigned short chosen = 0;
    GetValueFromIndex(conf, CONFPANEL_CONFIG_RES, last, &chosen);
    ASSERT_TRUE(clickEntry(configs, configs->model()->index(last, 0).data().toString(), true));

    ASSERT_TRUE(isActive4120());
    uint16_t model = 0, running = 0;
    ASSERT_GE(qm4120_getModelCode(getQM4120id(), &model), 0);
    ASSERT_GE(qm4120_getFPGAConfig(getQM4120id(), &running), 0);
    EXPECT_EQ(model, 0x4125);
    EXPECT_EQ(running, chosen);
    EXPECT_FALSE(windowShown(conf));
    EXPECT_FALSE(windowShown(appState.bootPanel));
    std::string resource;
    GetCtrlVal(appState.mainPanel, MAINPANEL_MODULE_RESOURCE, &resource);
    EXPECT_EQ(resource, "0x4125");
}

}  // namespace
